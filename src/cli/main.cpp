#include "AcquireCommand.h"
#include "BoardCommand.h"
#include "CliAllan.h"
#include "CliArguments.h"
#include "CliCommand.h"
#include "CliConvert.h"
#include "CliFft.h"
#include "CliHist.h"
#include "CliOutput.h"
#include "CliPlot.h"
#include "CliReport.h"
#include "CliStats.h"
#include "HistoryCommand.h"
#include "LogCommand.h"
#include "RegsCommand.h"
#include "SettingsCommand.h"
#include "SweepCommand.h"
#include "app/AppVersion.h"
#include "platform/FreedMemory.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstring>
#include <memory>

#include <vector>

namespace {

std::vector<CliCommand> commands()
{
    // Each command lives in its own file; add it here.
    return {
        statsCommand(),   fftCommand(),      histCommand(),  convertCommand(), plotCommand(),
        regsCommand(),    settingsCommand(), boardCommand(), acquireCommand(), sweepCommand(),
        historyCommand(), logCommand(),      allanCommand(), reportCommand(),
    };
}

QString overview(const std::vector<CliCommand> &list)
{
    QString text = QStringLiteral("Usage: qm416x-cli [--version] [--help] COMMAND [ARGUMENTS...]\n\n"
                                  "Headless tool of the QM416x evaluation software.\n\nCommands:\n");
    for (const CliCommand &c : list)
        text += QStringLiteral("  %1%2\n").arg(c.name.leftJustified(10), c.summary);
    text +=
        QStringLiteral("\n'qm416x-cli COMMAND --help' (or 'qm416x-cli help COMMAND') explains a command.\n"
                       "'qm416x-cli --version' prints the version.\n") +
        CliArguments::commonHelp();
    return text;
}

// Runs the command; its help ends with the options and exit codes every command shares.
int runCommand(const CliCommand &command, const QStringList &arguments)
{
    const int code = command.run(arguments);
    if (code == 0 && CliArguments::helpAsked())
        CliOutput::out(CliArguments::commonHelp());
    return code;
}

// Parses the tool's own options and runs the command named; returns the exit code.
int runTool(const QCoreApplication &app)
{
    const std::vector<CliCommand> list = commands();
    // The tool's own options come before the command; everything after the command's name
    // is the command's.
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption versionOption(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOption(helpOption);
    parser.addOption(versionOption);
    parser.addPositionalArgument(QStringLiteral("command"), QString());
    if (!parser.parse(app.arguments()))
        return CliOutput::usageError(parser.errorText() + QStringLiteral(" (see 'qm416x-cli --help')"));
    if (parser.isSet(versionOption)) {
        CliOutput::out(QStringLiteral("qm416x-cli %1\n%2\n").arg(AppVersion::text(), AppVersion::licence()));
        return 0;
    }
    const QStringList arguments = parser.positionalArguments();
    const QString name = arguments.value(0);
    if (parser.isSet(helpOption) || (name == QLatin1String("help") && arguments.size() == 1)) {
        CliOutput::out(overview(list));
        return 0;
    }
    if (arguments.isEmpty())
        return CliOutput::usageError(QStringLiteral("no command given (see 'qm416x-cli --help')"));
    const bool helpOf = name == QLatin1String("help");
    const QString commandName = helpOf ? arguments.at(1) : name;
    for (const CliCommand &c : list)
        if (c.name == commandName)
            return runCommand(c, helpOf ? QStringList{QStringLiteral("--help")} : arguments.mid(1));
    return CliOutput::usageError(
        QStringLiteral("unknown command '%1' (see 'qm416x-cli --help')").arg(commandName));
}

} // namespace

int main(int argc, char *argv[])
{
    FreedMemory::keepFreedMemory();
    // Drawing a plot needs the widget toolkit, on the offscreen platform so that no display
    // is needed; every other command runs on the core alone.
    std::unique_ptr<QCoreApplication> application;
    if (argc > 1 && (std::strcmp(argv[1], "plot") == 0 || std::strcmp(argv[1], "sweep") == 0 ||
                     std::strcmp(argv[1], "allan") == 0 || std::strcmp(argv[1], "report") == 0)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // The toolkit's notice about a missing runtime folder says nothing about the plot.
        static QtMessageHandler toolkitHandler = nullptr;
        toolkitHandler = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext &context, const QString &message) {
                if (!message.contains(QLatin1String("XDG_RUNTIME_DIR")))
                    toolkitHandler(type, context, message);
            });
        application = std::make_unique<QApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication &app = *application;
    QCoreApplication::setOrganizationName(QStringLiteral("QM416x"));
    QCoreApplication::setApplicationName(QStringLiteral("QM416x"));

    // Whatever the command, what it wrote to standard output must have got there.
    return CliOutput::finish(runTool(app));
}
