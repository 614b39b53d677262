#include "AppContext.h"
#include "AppVersion.h"
#include "ChipPicture.h"
#include "FormMain.h"
#include "SettingsKeys.h"
#include "StartupOptions.h"
#include "platform/FreedMemory.h"
#include "platform/QSettingsStore.h"
#include "platform/SystemPortNames.h"
#include "platform/SystemSerialPort.h"
#include "platform/WidgetDialogs.h"
#include "report/ReportFile.h"
#include "sim/SimBoard.h"
#include "sim/SimulatedSerialPort.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    FreedMemory::keepFreedMemory();
    // Version and help need no display: answer them before the toolkit starts.
    QStringList rawArguments;
    for (int i = 1; i < argc; ++i)
        rawArguments << QString::fromLocal8Bit(argv[i]);
    const StartupOptions early = StartupOptions::parse(rawArguments);
    if (early.showVersion) {
        std::printf("qm416x %s\n%s\n", qPrintable(AppVersion::text()), qPrintable(AppVersion::licence()));
        return 0;
    }
    if (early.showHelp) {
        std::fputs(qPrintable(StartupOptions::helpText()), stdout);
        return 0;
    }
    if (!early.error.isEmpty()) {
        std::fprintf(stderr, "qm416x: %s (see 'qm416x --help')\n", qPrintable(early.error));
        return 2;
    }

    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("QM416x"));
    QCoreApplication::setApplicationName(QStringLiteral("QM416x"));
    QCoreApplication::setApplicationVersion(AppVersion::text());
    QApplication::setWindowIcon(QIcon(ChipPicture::pixmap(64)));

    // The toolkit has taken its own options out of the command line by now.
    const StartupOptions options = StartupOptions::parse(app.arguments().mid(1));

    QSettingsStore settings;
    settings.keepOnly(SettingsKeys::isKnown);
    WidgetDialogs dialogs;

    // The simulated board behind the port "Simulated board" lives as long as the program and
    // answers at the real line rate, so closing and opening the port finds it as it was.
    SimBoard simulatedBoard; // a QM4168 until start-up knows the variant
    simulatedBoard.setPacing(true);
    SerialPortFactory ports = [&simulatedBoard](const QString &name) -> std::unique_ptr<SerialPort> {
        if (name == QLatin1String(SimulatedSerialPort::Name))
            return std::make_unique<SimulatedSerialPort>(&simulatedBoard);
        return std::make_unique<SystemSerialPort>();
    };
    // The chip on the simulated board follows the variant chosen at start-up.
    auto fitSimulatedChip = [&simulatedBoard](int variantCode) {
        simulatedBoard.converter() = SimConverter(variantCode);
    };
    auto writeReport = [](const QString &path, const ClassData &data, const QM4168 &model, int window) {
        return ReportFile::write(path, data, model, &model, {}, window, QString());
    };
    const AppServices services{settings, dialogs, ports, otherSystemPorts(), fitSimulatedChip, writeReport};

    AppContext context; // ContReadAmount 100, the device model, the sample store
    FormMain mainWindow(context, options, services);
    dialogs.setOwner(&mainWindow);
    mainWindow.Load();
    // Once, in the run that found the damage: the next run finds a sound file.
    if (const QString report = settings.damageReport(); !report.isEmpty())
        dialogs.message(report, UserDialogs::Icon::Warning, QStringLiteral("QM416x"));
    context.IData.Process();
    context.IData.Update();
    return app.exec();
}
