#pragma once

#include <QString>
#include <QStringList>

// What a program run by a test did: its exit code (-2 when it crashed, -1 when it did not
// finish in time) and all it wrote.
struct ProcessRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs program with arguments in folder (empty: the test's own), the environment entries
// "NAME=value" added to the test's, standard output into outFile when one is given.
ProcessRun runProcess(const QString &program, const QStringList &arguments, const QString &folder = {},
                      const QStringList &environment = {}, const QString &outFile = {},
                      int timeoutMs = 120000);
