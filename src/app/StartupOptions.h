#pragma once

#include <QString>
#include <QStringList>

// What the command line asks of the program. The words that the evaluation software has
// always understood are matched anywhere in the command line: "TEST" (any case) enables
// test mode, and "62", "64", "68", "69" select the chip variant, tested in that order so
// that a later match wins. Options starting with "--" are this program's own.
struct StartupOptions
{
    bool testMode = false;
    int variantCode = 0; // 2, 4, 8, 9, or 0 when the command line names none
    bool simulate = false;
    bool showVersion = false;
    bool showHelp = false;
    QString unknownOption; // first "--" option the program does not know

    static StartupOptions parse(const QStringList &arguments); // without the program name
    static QString helpText();
};
