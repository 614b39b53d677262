#include "AppContext.h"
#include "AppVersion.h"
#include "FormMain.h"
#include "StartupOptions.h"
#include "platform/QSettingsStore.h"
#include "platform/WidgetDialogs.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    // Version and help need no display: answer them before the toolkit starts.
    QStringList rawArguments;
    for (int i = 1; i < argc; ++i)
        rawArguments << QString::fromLocal8Bit(argv[i]);
    const StartupOptions early = StartupOptions::parse(rawArguments);
    if (early.showVersion) {
        std::printf("qm416x %s\n", qPrintable(AppVersion::text()));
        return 0;
    }
    if (early.showHelp) {
        std::fputs(qPrintable(StartupOptions::helpText()), stdout);
        return 0;
    }
    if (!early.unknownOption.isEmpty()) {
        std::fprintf(stderr, "qm416x: unknown option %s\n\n%s", qPrintable(early.unknownOption),
                     qPrintable(StartupOptions::helpText()));
        return 2;
    }

    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("QM416x"));
    QCoreApplication::setApplicationName(QStringLiteral("QM416x"));
    QCoreApplication::setApplicationVersion(AppVersion::text());

    // The toolkit has taken its own options out of the command line by now.
    const StartupOptions options = StartupOptions::parse(app.arguments().mid(1));

    QSettingsStore settings;
    WidgetDialogs dialogs;
    AppContext context; // ContReadAmount 100, the device model, the sample store
    FormMain mainWindow(context, options, settings, dialogs);
    dialogs.setOwner(&mainWindow);
    mainWindow.Load();
    context.IData.Process();
    context.IData.Update();
    return app.exec();
}
