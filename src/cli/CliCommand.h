#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// One sub-command of qm416x-cli: its name, a one-line summary for the overview, and the
// function that runs it with the arguments after the name. It returns the exit code.
struct CliCommand
{
    QString name;
    QString summary;
    std::function<int(const QStringList &arguments)> run;
};
