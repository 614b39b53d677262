#include "StartupOptions.h"

#include <QCommandLineParser>

StartupOptions StartupOptions::parse(const QStringList &arguments)
{
    StartupOptions options;
    QCommandLineParser parser;
    // "-platform" is one option, as the toolkit reads it, not six letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption simulate(QStringLiteral("simulate"));
    parser.addOptions({version, help, simulate});
    // The toolkit's own options, so that they are neither refused nor taken for words.
    for (const char *name : {"platform", "platformpluginpath", "platformtheme", "plugin", "qmljsdebugger",
                             "qwindowgeometry", "qwindowicon", "qwindowtitle", "session", "display",
                             "geometry", "name", "title", "style", "stylesheet"}) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setValueName(QStringLiteral("VALUE"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char *name : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    if (!parser.parse(QStringList{QStringLiteral("qm416x")} + arguments))
        options.error = parser.errorText();
    options.showVersion = parser.isSet(version);
    options.showHelp = parser.isSet(help);
    options.simulate = parser.isSet(simulate);

    const QString line = parser.positionalArguments().join(QLatin1Char(' ')).toUpper();
    options.testMode = line.contains(QLatin1String("TEST"));
    const struct
    {
        const char *digits;
        int code;
    } variants[] = {{"62", 2}, {"64", 4}, {"68", 8}, {"69", 9}};
    for (const auto &v : variants)
        if (line.contains(QLatin1String(v.digits)))
            options.variantCode = v.code;
    return options;
}

QString StartupOptions::helpText()
{
    return QStringLiteral("Usage: qm416x [62|64|68|69] [TEST] [--simulate] [--version] [--help]\n"
                          "\n"
                          "Evaluation software for the QM4162/64/68/69 sigma-delta converters.\n"
                          "\n"
                          "  62, 64, 68, 69  select the chip variant (QM4162, QM4164, QM4168, QM4169)\n"
                          "                  without asking; when several are given the last in that\n"
                          "                  order wins. Without one, a dialog asks for the board.\n"
                          "  TEST            test mode (any case): all eight channels, the board test\n"
                          "                  window, peak removal and the code generator\n"
                          "  --simulate      connect to the built-in simulated evaluation board\n"
                          "  -v, --version   print the version and exit\n"
                          "  -h, --help      print this text and exit\n"
                          "\n"
                          "Exit status: 0 normal end, 2 unknown option or missing value.\n");
}
