#include "StartupOptions.h"

StartupOptions StartupOptions::parse(const QStringList &arguments)
{
    StartupOptions options;
    QStringList words;
    for (const QString &argument : arguments) {
        if (argument == QLatin1String("--version") || argument == QLatin1String("-v"))
            options.showVersion = true;
        else if (argument == QLatin1String("--help") || argument == QLatin1String("-h"))
            options.showHelp = true;
        else if (argument == QLatin1String("--simulate"))
            options.simulate = true;
        else if (argument.startsWith(QLatin1String("--")) && options.unknownOption.isEmpty())
            options.unknownOption = argument;
        else
            words << argument;
    }

    const QString line = words.join(QLatin1Char(' ')).toUpper();
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
                          "  --version       print the version and exit\n"
                          "  --help          print this text and exit\n");
}
