#include "ModalDriver.h"
#include "TestServices.h"
#include "app/AppContext.h"
#include "app/ChildWindow.h"
#include "app/FormAbout.h"
#include "app/FormMain.h"
#include "tools/FormCodeGene.h"
#include "tools/FormComMonitor.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolBar>
#include <QtTest>

namespace {

QStringList captions(const QMenu *menu)
{
    QStringList result;
    for (const QAction *a : menu->actions())
        result << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return result;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void menusAndToolbars()
    {
        AppContext context;
        TestServices t;
        FormMain window(context, StartupOptions::parse({"68"}), t.services());
        window.Load();

        QCOMPARE(captions(window.MnuFile), QStringList({"Open Settings", "Save Settings", "-",
                                                        "Open Data File", "Save Data File", "-", "E&xit"}));
        QCOMPARE(captions(window.MnuView),
                 QStringList({"&ADC Setup", "&Code generator", "&Data+Analysis", "&Evaluation Board",
                              "&Registers", "Com &Monitor", "Board &Test", "-", "&Graph", "H&istogram",
                              "&FFT", "&Noise Table", "-", "Re&movePeaks"}));
        QCOMPARE(captions(window.MnuHelp), QStringList({"&About"}));
        QCOMPARE(window.MnuEasyStart->text(), QStringLiteral("Easy&Start"));

        const QList<QPair<QString, QString>> tools = {{"OpenSettings", "Open setting file"},
                                                      {"SaveSettings", "Save setting"},
                                                      {"Reset", "Reset Board"},
                                                      {"ReadAll", "Read All Registers"},
                                                      {"WriteAll", "Write All Register"},
                                                      {"Read", "Read Data"},
                                                      {"Clear", "Clear Data"},
                                                      {"Open", "Open Data File"},
                                                      {"Save", "Save Data File"},
                                                      {"Graph", "Graph"},
                                                      {"Hist", "Histogram"},
                                                      {"FFT", "FFT"}};
        for (const auto &t : tools) {
            QAction *button = window.toolButton(t.first);
            QVERIFY2(button, qPrintable(t.first));
            QCOMPARE(button->toolTip(), t.second);
        }
        QCOMPARE(window.TlbFile->actions().size(), 2);
        QCOMPARE(window.TlbEvalBoard->actions().size(), 3);
        QCOMPARE(window.TlbData->actions().size(), 7);
        QCOMPARE(window.UpDownDAC->toolTip(), QStringLiteral("DAC Voltage"));
        QCOMPARE(window.TxtDacValue->text(), QStringLiteral("0.000"));

        // Outside test mode the test items are hidden and the code generator is switched off.
        QVERIFY(!window.MnuViewTest->isVisible());
        QVERIFY(!window.RemovePeaks->isVisible());
        QVERIFY(!window.MnuViewCodeGenarator->isEnabled());
    }

    void aboutBox()
    {
        AppContext context;
        TestServices t;
        FormMain window(context, StartupOptions::parse({"68"}), t.services());
        window.Load();
        QStringList seen;
        whenModal([&seen](QWidget *modal) {
            auto *about = qobject_cast<FormAbout *>(modal);
            QVERIFY(about);
            seen << about->windowTitle() << about->lblTitle->text() << about->lblVersion->text()
                 << about->findChild<QLabel *>(QStringLiteral("lblLicence"))->text();
            about->cmdOK->click();
        });
        window.MnuHelpAbout->trigger();
        QCOMPARE(seen, QStringList({"About QM4162 /64 /68 /69 software", "QM4162 /64 /68 /69",
                                    "Version 1.3.70", "Licence: GPL-3.0-or-later"}));
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    void testModeItems()
    {
        AppContext context;
        TestServices t;
        FormMain window(context, StartupOptions::parse({"test64"}), t.services());
        window.Load();
        QVERIFY(window.MnuViewTest->isVisible());
        QVERIFY(window.RemovePeaks->isVisible());
        QVERIFY(window.MnuViewCodeGenarator->isEnabled());
        window.MnuViewCodeGenarator->trigger();
        ChildWindow *generator = window.childWindow("FormCodeGene");
        QVERIFY(!generator->isHidden());
        // Opened for the first time: its designed size, clear of the windows already open.
        QCOMPARE(generator->widget()->size(), QSize(380, 300));
        for (const char *other : {"FormEvalBoard", "FormComMonitor"})
            QVERIFY(!generator->geometry().intersects(window.childWindow(other)->geometry()));
        QCOMPARE(context.IADC.MaxChannel(), 7);
    }

    void viewMarksFollowVisibility()
    {
        AppContext context;
        TestServices t;
        FormMain window(context, StartupOptions::parse({"68"}), t.services());
        window.Load();
        // The first run opens the board window and the traffic monitor, nothing else.
        ChildWindow *board = window.childWindow("FormEvalBoard");
        ChildWindow *monitor = window.childWindow("FormComMonitor");
        QVERIFY(!board->isHidden());
        QVERIFY(!monitor->isHidden());
        QCOMPARE(window.mdiArea()->currentSubWindow(), board);
        QVERIFY(window.MnuViewEvalBoard->isChecked());
        QVERIFY(window.MnuViewComMonitor->isChecked());
        QVERIFY(!window.MnuViewTest->isChecked());
        QVERIFY(window.childWindow("FormCodeGene")->isHidden());
        QVERIFY(!board->geometry().intersects(monitor->geometry()));
        // The monitor's designed size shows all the lines it keeps.
        auto *list = static_cast<FormComMonitor *>(monitor->widget())->List1;
        for (int i = 0; i < 21; ++i)
            window.formComMonitor()->Display(QStringLiteral("[S 28 08\r"));
        QTRY_COMPARE(list->verticalScrollBar()->maximum(), 0);

        // The close box only hides the window, and the mark follows.
        monitor->close();
        QVERIFY(monitor->isHidden());
        QVERIFY(!window.MnuViewComMonitor->isChecked());
        QCOMPARE(window.childWindow("FormComMonitor"), monitor); // the same window, kept
        window.MnuViewComMonitor->trigger();
        QVERIFY(!monitor->isHidden());
        QVERIFY(window.MnuViewComMonitor->isChecked());
        QCOMPARE(window.mdiArea()->currentSubWindow(), monitor);
        QVERIFY(window.childWindow("NoSuchForm") == nullptr);
    }

    void settingsRoundTrip()
    {
        TestServices t;
        const MemorySettingsStore &settings = t.settings;
        {
            AppContext context;
            FormMain window(context, StartupOptions::parse({"68"}), t.services());
            window.Load();
            window.showChild("FormCodeGene");
            window.showChild("FormComMonitor");
            window.childWindow("FormComMonitor")->setGeometry(30, 40, 333, 222);
            window.close();
        }
        QCOMPARE(settings.values.value("FormMain/ActiveForm"), QStringLiteral("FormComMonitor"));
        QCOMPARE(settings.values.value("FormComMonitor/Visible"), QStringLiteral("True"));
        QCOMPARE(settings.values.value("FormComMonitor/Width"), QStringLiteral("333"));
        QCOMPARE(settings.values.value("FormCodeGene/Visible"), QStringLiteral("True"));
        QVERIFY(!settings.values.contains("FormTest/Left")); // never shown: no place to keep
        QVERIFY(settings.values.contains("FormMain/Width"));

        // The next start finds everything where it was left.
        AppContext context;
        FormMain window(context, StartupOptions::parse({"68"}), t.services());
        window.Load();
        ChildWindow *monitor = window.childWindow("FormComMonitor");
        QVERIFY(!monitor->isHidden());
        QCOMPARE(monitor->geometry(), QRect(30, 40, 333, 222));
        QVERIFY(window.MnuViewComMonitor->isChecked());
        QCOMPARE(window.mdiArea()->currentSubWindow(), monitor);
        QVERIFY(t.dialogs.boxes.isEmpty());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
