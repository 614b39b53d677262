#include "BoardRig.h"
#include "ModalDriver.h"
#include "TestServices.h"
#include "analysis/FormPlot.h"
#include "analysis/PlotView.h"
#include "app/AppContext.h"
#include "app/ChildWindow.h"
#include "app/EasyStartSteps.h"
#include "app/FormAbout.h"
#include "app/FormEasyStart.h"
#include "app/FormMain.h"
#include "data/ClassData.h"
#include "data/DataFile.h"
#include "model/QM4168.h"
#include "tools/FormCodeGene.h"
#include "tools/FormComMonitor.h"

#include <QAction>
#include <QCheckBox>
#include <QElapsedTimer>
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

// The wizard's requests to the windows, as text.
struct WindowLog : EasyStartSteps::Windows
{
    QStringList log;
    void show(const QString &w) override { log << "show " + w; }
    void hide(const QString &w) override { log << "hide " + w; }
    void focus(const QString &w) override { log << "focus " + w; }
    void focusBoardControl(const QString &c) override { log << "focus " + c; }
    void viewSet() override { log << "viewSet"; }
    void readData() override { log << "readData"; }
    void selectGraphChannel(int channel) override { log << QStringLiteral("graph %1").arg(channel); }
    void raise(const QString &w) override { log << "raise " + w; }
};

// The wizard's steps with a board link to the simulated board, closed (0), open to a board
// that has not answered yet (1) or after a first exchange (2).
struct WizardRig
{
    SimBoard board;
    BoardRig rig;
    ClassData data;
    WindowLog windows;
    EasyStartSteps steps{rig.model, rig.link, data, rig.dialogs, windows};

    WizardRig(int variant, int state)
        : board(variant)
        , rig(variant, [this](const QString &) { return std::make_unique<SimulatedSerialPort>(&board); })
    {
        steps.setPauseMs(20);
        if (state > 0)
            rig.link.ComOpen(QString::fromLatin1(SimulatedSerialPort::Name));
        if (state > 1)
            rig.link.RegReadOne(0x02);
    }
};

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

        QCOMPARE(captions(window.MnuFile),
                 QStringList({"Open Settings", "Save Settings", "-", "Open Data File", "Save Data File",
                              "Report…", "-", "E&xit"}));
        QCOMPARE(captions(window.MnuView),
                 QStringList({"&ADC Setup", "&Code generator", "&Data+Analysis", "&Evaluation Board",
                              "&Registers", "Com &Monitor", "Board &Test", "-", "&Graph", "H&istogram",
                              "&FFT", "&Noise Table", "&Allan Deviation", "-", "Re&movePeaks", "-",
                              "Histor&y", "&Logger", "Record &History"}));
        QVERIFY(window.MnuRecordHistory->isChecked());
        window.MnuRecordHistory->trigger();
        QCOMPARE(t.settings.values.value("FormMain/RecordHistory"), QStringLiteral("False"));
        QCOMPARE(captions(window.MnuHelp), QStringList({"&About"}));
        QCOMPARE(window.MnuEasyStart->text(), QStringLiteral("Easy&Start"));

        QStringList tips;
        for (const QToolBar *bar : {window.TlbFile, window.TlbEvalBoard, window.TlbData}) {
            for (const QAction *a : bar->actions())
                tips << a->toolTip();
            tips << "|";
        }
        QCOMPARE(tips,
                 QStringList({"Open setting file", "Save setting", "|", "Reset Board", "Read All Registers",
                              "Write All Register", "|", "Read Data", "Clear Data", "Open Data File",
                              "Save Data File", "Graph", "Histogram", "FFT", "|"}));
        QCOMPARE(window.UpDownDAC->toolTip(), QStringLiteral("DAC Voltage"));
        QCOMPARE(window.TxtDacValue->text(), QStringLiteral("0.000"));

        // Outside test mode the test items are hidden and the code generator is switched off.
        QVERIFY(!window.MnuViewTest->isVisible() && !window.RemovePeaks->isVisible());
        QVERIFY(!window.MnuViewCodeGenarator->isEnabled());

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
        QVERIFY(window.MnuViewTest->isVisible() && window.RemovePeaks->isVisible());
        QVERIFY(window.MnuViewCodeGenarator->isEnabled());
        window.MnuViewCodeGenarator->trigger();
        ChildWindow *generator = window.childWindow("FormCodeGene");
        QVERIFY(!generator->isHidden());
        // Opened for the first time: its designed size, clear of the windows already open.
        QCOMPARE(generator->widget()->size(), QSize(380, 300));
        QVERIFY(!generator->geometry().intersects(window.childWindow("FormEasyStart")->geometry()));
    }

    void wizardSteps_data()
    {
        QTest::addColumn<int>("variant");
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("step");
        QTest::addColumn<QList<int>>("dataChannels");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("log");
        const QString closed = EasyStartSteps::NotOpened;
        const auto silent = [](int variant) {
            return QStringLiteral("QM416%1 board hasn't been accessed !").arg(variant);
        };
        const QList<int> none;
        for (const char *step :
             {"CommandReset", "Cmd_24Bits", "CommandMeasureStart", "CommandGraphHistogram"})
            QTest::addRow("closed %s", step) << 8 << 0 << step << none << closed << "";
        for (const char *step : {"Cmd_24Bits", "CommandMeasureStart", "CommandGraphHistogram"})
            QTest::addRow("silent %s", step) << 4 << 1 << step << none << silent(4) << "";
        QTest::newRow("silent QM4162") << 2 << 1 << "Cmd_24Bits" << none << silent(2) << "";
        // clang-format off
        QTest::newRow("closed channels") << 8 << 0 << "CommandCh0Ch1" << none << closed << "show FormADCSetup";
        QTest::newRow("silent channels") << 8 << 1 << "CommandCh0Ch1" << none << silent(8) << "show FormADCSetup";
        QTest::newRow("no data") << 2 << 2 << "CommandGraphHistogram" << none << "No data has been read from the QM4162 !" << "";
        QTest::newRow("board") << 8 << 0 << "CommandEvalBoard" << none << ""
                               << "show FormEvalBoard|viewSet|focus FormEasyStart";
        QTest::newRow("port") << 8 << 0 << "CommandComPort" << none << ""
                              << "show FormEvalBoard|focus FormEvalBoard|focus ComboComPort";
        QTest::newRow("reset") << 8 << 2 << "CommandReset" << none << ""
                               << "show FormEvalBoard|focus CommandReset|focus FormEasyStart|focus FormEasyStart";
        QTest::newRow("setup") << 8 << 0 << "CommandADCSetup" << none << ""
                               << "hide FormEvalBoard|show FormADCSetup|viewSet|focus FormADCSetup|focus FormEasyStart";
        QTest::newRow("data") << 8 << 0 << "CommandData" << none << ""
                              << "hide FormEvalBoard|hide FormADCSetup|show FormData|viewSet|focus FormEasyStart";
        QTest::newRow("measure") << 8 << 2 << "CommandMeasureStart" << none << ""
                                 << "show FormData|focus FormEasyStart|readData|focus FormEasyStart";
        QTest::newRow("graph") << 8 << 2 << "CommandGraphHistogram" << QList<int>{0, 1} << ""
                               << "show FormGraph1|viewSet|graph 1|focus FormEasyStart|raise FormGraph1";
        // The QM4162 has no channel 1: the first channel holding data is shown instead.
        QTest::newRow("graph QM4162") << 2 << 2 << "CommandGraphHistogram" << QList<int>{2, 3} << ""
                                      << "show FormGraph1|viewSet|graph 2|focus FormEasyStart|raise FormGraph1";
        // clang-format on
    }

    void wizardSteps()
    {
        QFETCH(int, variant);
        QFETCH(int, state);
        QFETCH(QString, step);
        QFETCH(QList<int>, dataChannels);
        QFETCH(QString, box);
        QFETCH(QString, log);
        WizardRig w(variant, state);
        QCOMPARE(w.rig.link.BrdState(), state);
        for (int channel : dataChannels)
            for (int i = 0; i < 4; ++i)
                w.data.AddData(channel, 100 + i);
        w.rig.model.setDataWidth(2);
        QVERIFY(QMetaObject::invokeMethod(&w.steps, qPrintable(step), Qt::DirectConnection));
        QCOMPARE(w.rig.dialogs.texts(), box.isEmpty() ? QStringList() : QStringList{box});
        QCOMPARE(w.windows.log.join('|'), log);
        QCOMPARE(w.rig.model.DataWidth(), step == "Cmd_24Bits" && box.isEmpty() ? 3 : 2);
    }

    // The channel step enables the variant's two channels a pause apart; a step pressed
    // during the pause is ignored.
    void wizardEnablesTwoChannels_data()
    {
        QTest::addColumn<int>("variant");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QList<int>>("channels");
        QTest::newRow("QM4162") << 2 << "Enable Channels 0 and 2" << QList<int>{0, 2};
        QTest::newRow("QM4164") << 4 << "Enable Channels 1 and 2" << QList<int>{1, 2};
        QTest::newRow("QM4169") << 9 << "Enable Channels 0 and 1" << QList<int>{0, 1};
    }

    void wizardEnablesTwoChannels()
    {
        QFETCH(int, variant);
        QFETCH(QString, caption);
        QFETCH(QList<int>, channels);
        QCOMPARE(EasyStartSteps::channelsCaption(variant), caption);
        WizardRig w(variant, 2);
        QList<int> enabled;
        QList<qint64> times;
        QElapsedTimer clock;
        w.rig.model.setDataWidth(2);
        connect(&w.rig.model, &QM4168::RegisterSend, this, [&](int address, qint32, int) {
            if (address >= 0x28 && address < 0x30 && w.rig.model.Enable(address - 0x28)) {
                enabled << address - 0x28;
                times << clock.elapsed();
            }
        });
        QTimer::singleShot(5, &w.steps, &EasyStartSteps::Cmd_24Bits);
        clock.start();
        w.steps.CommandCh0Ch1();
        QCOMPARE(enabled, channels);
        QVERIFY(times.at(1) - times.at(0) >= 20);
        QCOMPARE(w.rig.model.DataWidth(), 2); // 24 bits was not selected
        QVERIFY(w.rig.dialogs.boxes.isEmpty());
    }

    // The wizard opens by itself until it has been closed once; closing it stores its box.
    void wizardAtStartUp_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<bool>("checked");
        QTest::newRow("first run") << QString() << true << false;
        QTest::newRow("-1") << "-1" << true << false;
        QTest::newRow("closed") << "0" << false << false;
        QTest::newRow("ticked") << "1" << false << true;
    }

    void wizardAtStartUp()
    {
        QFETCH(QString, stored);
        QFETCH(bool, shown);
        QFETCH(bool, checked);
        AppContext context;
        TestServices t;
        if (!stored.isNull())
            t.settings.save("FormMain", "EasyStart", stored);
        FormMain window(context, StartupOptions::parse({"62"}), t.services());
        window.Load();
        ChildWindow *wizard = window.childWindow("FormEasyStart");
        QCOMPARE(!wizard->isHidden(), shown);
        QVERIFY(window.MnuEasyStart->isEnabled());
        window.MnuEasyStart->trigger();
        QVERIFY(!wizard->isHidden());
        QCOMPARE(window.mdiArea()->currentSubWindow(), wizard);
        FormEasyStart *form = window.formEasyStart();
        QCOMPARE(wizard->windowTitle(), QStringLiteral("Easy Start"));
        QCOMPARE(form->Label1.at(0)->text(), QStringLiteral("Connect the QM4162 Evaluation Board"));
        QCOMPARE(form->Label1.at(4)->text(), QStringLiteral("To your 5V DC power supply"));
        QCOMPARE(form->CommandCh0Ch1->text(), QStringLiteral("Enable Channels 0 and 2"));
        QCOMPARE((QStringList{form->LabelStep.first()->text(), form->LabelStep.last()->text()}),
                 (QStringList{"1.", "9."})); // the steps are numbered
        QCOMPARE(form->LabelStep.size(), 9);
        QCOMPARE(form->CheckNoEasyStart->isChecked(), checked);
        form->CheckNoEasyStart->setChecked(!checked);
        wizard->close();
        QCOMPARE(t.settings.get("FormMain", "EasyStart", "none"), checked ? "0" : "1");
    }

    void viewMarksFollowVisibility()
    {
        AppContext context;
        TestServices t;
        FormMain window(context, StartupOptions::parse({"68"}), t.services());
        window.Load();
        // The first run opens the wizard, nothing else; windows shown later find free places.
        ChildWindow *wizard = window.childWindow("FormEasyStart");
        ChildWindow *board = window.childWindow("FormEvalBoard");
        ChildWindow *monitor = window.childWindow("FormComMonitor");
        QVERIFY(!wizard->isHidden());
        QCOMPARE(window.mdiArea()->currentSubWindow(), wizard);
        QVERIFY(board->isHidden());
        QVERIFY(!window.MnuViewEvalBoard->isChecked());
        window.resize(1400, 950); // room for the board and the monitor beside the wizard
        window.MnuViewEvalBoard->trigger();
        window.MnuViewComMonitor->trigger();
        QVERIFY(window.MnuViewEvalBoard->isChecked() && window.MnuViewComMonitor->isChecked());
        QVERIFY(!window.MnuViewTest->isChecked() && window.childWindow("FormCodeGene")->isHidden());
        QVERIFY(!board->geometry().intersects(wizard->geometry()));
        QVERIFY(!board->geometry().intersects(monitor->geometry()));
        // The monitor's designed size shows all the lines it keeps.
        auto *list = static_cast<FormComMonitor *>(monitor->widget())->List1;
        for (int i = 0; i < 21; ++i)
            window.formComMonitor()->Display(QStringLiteral("[S 28 08\r"));
        QTRY_COMPARE(list->verticalScrollBar()->maximum(), 0);

        // The close box only hides the window, and the mark follows.
        monitor->close();
        QVERIFY(monitor->isHidden() && !window.MnuViewComMonitor->isChecked());
        QCOMPARE(window.childWindow("FormComMonitor"), monitor); // the same window, kept
        window.MnuViewComMonitor->trigger();
        QVERIFY(!monitor->isHidden() && window.MnuViewComMonitor->isChecked());
        QCOMPARE(window.mdiArea()->currentSubWindow(), monitor);
        QVERIFY(window.childWindow("NoSuchForm") == nullptr);
        // The editors' items show them.
        for (QAction *item : {window.MnuViewRegisters, window.MnuViewADCSetup}) {
            QVERIFY(item->isEnabled() && !item->isChecked());
            item->trigger();
            QVERIFY(item->isChecked());
        }
        QVERIFY(window.childWindow("FormRegisters")->isVisible() &&
                window.childWindow("FormADCSetup")->isVisible());
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
            window.childWindow("FormCodeGene")->close();                          // hidden by the user
            for (const char *name : {"FormGraph1", "FormData", "FormComMonitor"}) // not their creation order
                window.showChild(name);
            window.close();
        }
        QCOMPARE(settings.values.value("FormMain/Stacking"),
                 QStringLiteral("FormEasyStart,FormGraph1,FormData,FormComMonitor"));
        QCOMPARE(settings.values.value("FormMain/ActiveForm"), QStringLiteral("FormComMonitor"));
        QStringList stored;
        for (const char *key : {"State", "Visible", "Left", "Top", "Width", "Height"})
            stored << settings.values.value(QStringLiteral("FormComMonitor/") + key);
        QCOMPARE(stored, QStringList({"0", "True", "30", "40", "333", "222"}));
        QCOMPARE(settings.values.value("FormCodeGene/Visible"), QStringLiteral("False"));
        QVERIFY(!settings.values.contains("FormTest/Left")); // never shown: no place to keep
        QVERIFY(settings.values.contains("FormMain/Width"));

        // The next start finds everything where it was left.
        AppContext context;
        FormMain window(context, StartupOptions::parse({"68"}), t.services());
        window.Load();
        ChildWindow *monitor = window.childWindow("FormComMonitor");
        QVERIFY(!monitor->isHidden());
        QCOMPARE(monitor->geometry(), QRect(30, 40, 333, 222));
        QVERIFY(window.childWindow("FormCodeGene")->isHidden()); // stays hidden
        QVERIFY(window.MnuViewComMonitor->isChecked());
        QCOMPARE(window.mdiArea()->currentSubWindow(), monitor);
        QVERIFY(t.dialogs.boxes.isEmpty());
        // In their stacking order, whatever order they were created in.
        QStringList stacking;
        for (const QMdiSubWindow *w : window.mdiArea()->subWindowList(QMdiArea::StackingOrder))
            if (!w->isHidden())
                stacking << w->widget()->objectName();
        QCOMPARE(stacking, (QStringList{"FormEasyStart", "FormGraph1", "FormData", "FormComMonitor"}));
        // The graph open since the start draws a file opened now.
        QTemporaryDir dir;
        QM4168 adc;
        adc.setEvBoard(8);
        ClassData data;
        data.setDataWidth(3);
        data.setRefVoltage(2.5);
        data.setChannelTime(0, 100);
        for (int i = 0; i < 50; ++i)
            data.AddExtData(0, i % 9);
        data.Process();
        QVERIFY(!WriteDataFile(dir.filePath("a.dat"), data, adc).isError());
        t.dialogs.fileAnswers << dir.filePath("a.dat");
        window.MnuOpenData->trigger();
        auto *graph = static_cast<FormPlot *>(window.childWindow("FormGraph1")->form());
        QVERIFY(!window.childWindow("FormGraph1")->isHidden());
        QTRY_COMPARE(graph->Plot->table().rows(), 50);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
