#pragma once

#include <QString>
#include <QStringList>

// What the command line asks of the program, read by QCommandLineParser. The words that the
// evaluation software has always understood are positional and matched anywhere in them:
// "TEST" (any case) enables test mode, and "62", "64", "68", "69" select the chip variant,
// tested in that order so that a later match wins. Options are this program's own and the
// toolkit's ("-platform offscreen"), which the toolkit takes out later; "--" ends them.
struct StartupOptions
{
    bool testMode = false;
    int variantCode = 0; // 2, 4, 8, 9, or 0 when the command line names none
    bool simulate = false;
    bool showVersion = false;
    bool showHelp = false;
    QString error; // the parser's message about an unknown option or a missing value

    static StartupOptions parse(const QStringList &arguments); // without the program name
    static QString helpText();
};
