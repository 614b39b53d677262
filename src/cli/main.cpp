#include "AcquireCommand.h"
#include "BoardCommand.h"
#include "CliCommand.h"
#include "CliConvert.h"
#include "CliFft.h"
#include "CliHist.h"
#include "CliOutput.h"
#include "CliPlot.h"
#include "CliStats.h"
#include "RegsCommand.h"
#include "SettingsCommand.h"
#include "SweepCommand.h"
#include "app/AppVersion.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstring>
#include <memory>

#include <vector>

namespace {

std::vector<CliCommand> commands()
{
    // Each command lives in its own file; add it here.
    return {
        statsCommand(), fftCommand(),      histCommand(),  convertCommand(), plotCommand(),
        regsCommand(),  settingsCommand(), boardCommand(), acquireCommand(), sweepCommand(),
    };
}

QString overview(const std::vector<CliCommand> &list)
{
    QString text = QStringLiteral("Usage: qm416x-cli COMMAND [ARGUMENTS...]\n\n"
                                  "Headless tool of the QM416x evaluation software.\n\nCommands:\n");
    for (const CliCommand &c : list)
        text += QStringLiteral("  %1%2\n").arg(c.name.leftJustified(10), c.summary);
    text += QStringLiteral("\n'qm416x-cli COMMAND --help' explains a command.\n"
                           "'qm416x-cli --version' prints the version.\n");
    return text;
}

} // namespace

int main(int argc, char *argv[])
{
    // Drawing a plot needs the widget toolkit, on the offscreen platform so that no display
    // is needed; every other command runs on the core alone.
    std::unique_ptr<QCoreApplication> application;
    if (argc > 1 && (std::strcmp(argv[1], "plot") == 0 || std::strcmp(argv[1], "sweep") == 0)) {
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

    const std::vector<CliCommand> list = commands();
    const QStringList arguments = app.arguments().mid(1);
    if (arguments.isEmpty())
        return CliOutput::usageError(QStringLiteral("no command given\n\n") + overview(list));
    const QString name = arguments.first();
    if (name == QLatin1String("--help") || name == QLatin1String("-h") || name == QLatin1String("help")) {
        CliOutput::out(overview(list));
        return 0;
    }
    if (name == QLatin1String("--version")) {
        CliOutput::out(QStringLiteral("qm416x-cli %1\n%2\n").arg(AppVersion::text(), AppVersion::licence()));
        return 0;
    }
    for (const CliCommand &c : list)
        if (c.name == name)
            return c.run(arguments.mid(1));
    return CliOutput::usageError(QStringLiteral("unknown command '%1'\n\n%2").arg(name, overview(list)));
}
