#include "ModalDriver.h"
#include "TestServices.h"
#include "analysis/FormData.h"
#include "analysis/FormFFT.h"
#include "analysis/FormGraph1.h"
#include "analysis/FormHist.h"
#include "analysis/FormPeaks.h"
#include "analysis/PlotReadout.h"
#include "analysis/PlotView.h"
#include "analysis/RedrawThrottle.h"
#include "analysis/StatisticsGrid.h"
#include "app/AppContext.h"
#include "app/ChildWindow.h"
#include "app/FormMain.h"
#include "controls/CommitLineEdit.h"
#include "controls/UpDownSpinner.h"
#include "data/ShowStatistics.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QToolBar>

#include <QtTest>

#include <cmath>

namespace {

// Channels 0 and 2 with 300 and 200 samples of a tone on a ramp, 24-bit bipolar.
void fill(ClassData &data)
{
    data.Clear();
    data.setDataWidth(3);
    data.setRefVoltage(2.5);
    for (int c : {0, 2}) {
        data.setRng(c, 0);
        data.setChannelTime(c, 500);
        for (int i = 0; i < (c == 0 ? 300 : 200); ++i)
            data.AddExtData(c, static_cast<qint32>(1000 * std::sin(i * 0.3 * (c + 1)) + i % 7 + 10 * c));
    }
    data.Process();
    data.Update();
}

struct Rig
{
    AppContext context;
    TestServices t;
    FormMain window;

    explicit Rig(const char *variant = "68")
        : window(context, StartupOptions::parse({QString::fromLatin1(variant)}), t.services())
    {
        window.Load();
    }
    template<class T>
    T *form(const char *name)
    {
        return static_cast<T *>(window.childWindow(name)->form());
    }
    FormData *data() { return form<FormData>("FormData"); }
    QList<FormPlot *> plots()
    {
        return {form<FormPlot>("FormGraph1"), form<FormPlot>("FormHist"), form<FormPlot>("FormFFT")};
    }
};

QList<int> shownButtons(const QList<QRadioButton *> &buttons)
{
    QList<int> shown;
    for (int c = 0; c < buttons.size(); ++c)
        if (!buttons.at(c)->isHidden())
            shown << c;
    return shown;
}

} // namespace

class TestAnalysisWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void channelButtonsOfVariant()
    {
        for (const auto &[variant, shown] :
             QList<QPair<const char *, QList<int>>>{{"62", {0, 2}}, {"64", {0, 1, 2, 3}}}) {
            Rig rig(variant);
            QCOMPARE(shownButtons(rig.data()->ButtonChannel), shown);
            QCOMPARE(shownButtons(rig.data()->OptMinButton), shown);
            for (FormPlot *plot : rig.plots())
                QCOMPARE(shownButtons(plot->ButtonChannel), shown);
        }
    }

    void maximiseAndDoubleClickSwitchLayout()
    {
        Rig rig;
        rig.window.showChild("FormData");
        ChildWindow *frame = rig.window.childWindow("FormData");
        FormData *form = rig.data();
        QVERIFY(!form->docked());
        QCOMPARE(form->size(), QSize(536, 221));

        frame->showMaximized();
        QTRY_VERIFY(form->docked());
        QVERIFY(!frame->isMaximized());
        QCOMPARE(form->width(), 207);
        QCOMPARE(rig.t.settings.get("FormData", "Dockable", ""), QStringLiteral("True"));
        QVERIFY(!form->MSFlexResults.at(3)->isHidden() && !form->ToolData2->isHidden());
        QVERIFY(form->MSFlexResults.at(0)->isHidden() && form->TlbData->isHidden());
        QVERIFY(form->FraBigButton->isHidden() && !form->FraMinButton->isHidden());

        QTest::mouseDClick(form, Qt::LeftButton, {}, QPoint(form->width() - 2, form->height() - 2));
        QVERIFY(!form->docked());
        QCOMPARE(form->size(), QSize(536, 221));
        QCOMPARE(rig.t.settings.get("FormData", "Dockable", ""), QStringLiteral("False"));

        // The next start comes up in the layout last used.
        rig.t.settings.save("FormData", "Dockable", "True");
        FormData again(rig.context.IADC, rig.context.IData, rig.t.dialogs, rig.t.settings);
        QVERIFY(again.docked());
    }

    // The channel chosen in one window is the channel of all; the statistics follow it.
    // Clearing disables every data command and channel and hides the plots.
    void channelFollowsAcrossWindowsUntilCleared()
    {
        Rig rig;
        fill(rig.context.IData);
        FormData *form = rig.data();
        for (const char *name : {"FormGraph1", "FormHist", "FormFFT"})
            rig.window.showPlot(name);
        auto *graph = rig.form<FormGraph1>("FormGraph1");
        QCOMPARE(graph->Plot->table().rows(), 300);

        form->OptMinButton.at(2)->click();
        QCOMPARE(rig.context.IData.Channel(), 2);
        QVERIFY(form->ButtonChannel.at(2)->isChecked());
        for (FormPlot *plot : rig.plots())
            QVERIFY(plot->ButtonChannel.at(2)->isChecked());
        const QList<StatisticsCell> cells = ShowStatistics(rig.context.IData, 2, rig.context.IADC);
        int filled = 0;
        for (StatisticsGrid *grid : form->MSFlexResults)
            for (int row = 0; row < grid->rowCount(); ++row) {
                const QString label = grid->text(row, 0) == "Codes Read" ? "Samples" : grid->text(row, 0);
                for (const StatisticsCell &cell : cells)
                    if (cell.label == label) {
                        QCOMPARE(grid->text(row, 1), cell.value);
                        ++filled;
                    }
            }
        QCOMPARE(filled, 28); // every figure twice: once in the full tables, once in the compact one
        QTRY_COMPARE(graph->Plot->table().rows(), 200);
        QTRY_COMPARE(rig.form<FormFFT>("FormFFT")->LabelSamples->text(),
                     QStringLiteral("Nb of Samples: 128"));
        QCOMPARE(graph->LabelYMax->text(), QString::number(rig.context.IData.MaxCode(2)));
        graph->Plot->setVisibleRange(0, 10, -12.6, 99.5); // a zoom: whole numbers, halves to even
        QCOMPARE(graph->LabelYMax->text() + ' ' + graph->LabelYMin->text(), QStringLiteral("100 -13"));
        rig.form<FormHist>("FormHist")->ButtonChannel.at(0)->click();
        QCOMPARE(rig.context.IData.Channel(), 0);
        QVERIFY(form->ButtonChannel.at(0)->isChecked() && form->OptMinButton.at(0)->isChecked());

        QList<QAction *> dataCommands = {rig.window.MnuSaveData, rig.window.MnuViewGraph,
                                         rig.window.MnuViewHist, rig.window.MnuViewFFT};
        for (const char *key : {"Save", "Graph", "Hist", "FFT"})
            dataCommands << rig.window.toolButton(key) << FormData::toolButton(form->TlbData, key)
                         << FormData::toolButton(form->ToolData2, key);
        for (QAction *a : dataCommands)
            QVERIFY2(a->isEnabled(), qPrintable(a->objectName()));
        QVERIFY(form->ButtonChannel.at(2)->isEnabled() && !form->ButtonChannel.at(1)->isEnabled());
        QVERIFY(rig.window.MnuViewHist->isChecked());
        FormData::toolButton(form->TlbData, "Clear")->trigger();
        for (QAction *a : dataCommands)
            QVERIFY2(!a->isEnabled(), qPrintable(a->objectName()));
        for (int c = 0; c < 8; ++c) {
            QVERIFY(!form->ButtonChannel.at(c)->isEnabled() && !form->OptMinButton.at(c)->isEnabled());
            for (FormPlot *plot : rig.plots())
                QVERIFY(!plot->ButtonChannel.at(c)->isEnabled());
        }
        for (const char *name : {"FormGraph1", "FormHist", "FormFFT"})
            QVERIFY(rig.window.childWindow(name)->isHidden());
        QVERIFY(!rig.window.MnuViewHist->isChecked());
        QCOMPARE(graph->Plot->table().rows(), 0);
        QCOMPARE(form->MSFlexResults.at(0)->text(4, 1), QStringLiteral("0 Dec "));
        // Opening and reading stay possible; Read runs the continuous-read dialog.
        QVERIFY(rig.window.MnuOpenData->isEnabled() && rig.window.toolButton("Read")->isEnabled());
        QVERIFY(FormData::toolButton(form->ToolData2, "Open")->isEnabled());
        QString caption;
        whenModal([&caption](QWidget *modal) {
            caption = modal->windowTitle();
            static_cast<QDialog *>(modal)->reject();
        });
        FormData::toolButton(form->TlbData, "Read")->trigger();
        QCOMPARE(caption, QStringLiteral("Continuous Read Mode"));
    }

    void windowFunctionOnInvalidChannelDoesNothing()
    {
        Rig rig;
        fill(rig.context.IData);
        rig.window.showPlot("FormFFT");
        auto *fft = rig.form<FormFFT>("FormFFT");
        QCOMPARE(fft->ComboWindow->currentText(), QStringLiteral("Hanning"));
        const double hanning = fft->Plot->table().y.at(5);
        QTest::qWait(RedrawThrottle::DefaultIntervalMs + 5);
        fft->ComboWindow->setCurrentIndex(0);
        Q_EMIT fft->ComboWindow->activated(0);
        QTRY_VERIFY(fft->Plot->table().rows() > 5 && fft->Plot->table().y.at(5) != hanning);

        rig.context.IData.setChannel(1); // no samples there
        QTRY_COMPARE(fft->Plot->table().rows(), 0);
        const int replots = fft->Plot->replotCount();
        fft->ComboWindow->setCurrentIndex(3);
        Q_EMIT fft->ComboWindow->activated(3);
        QTest::qWait(2 * RedrawThrottle::DefaultIntervalMs);
        QCOMPARE(fft->Plot->replotCount(), replots);
        QVERIFY(rig.t.dialogs.boxes.isEmpty());
    }

    void cursorReadouts()
    {
        // Histogram rows of the codes 5, 3, 5, 5; a time or spectrum table.
        PlotTable histogram, plot;
        histogram.x = {3, 3, 3, 5, 5, 5};
        histogram.y = {0, 1, 0, 0, 3, 0};
        plot.x = {0, 1, 2, 3};
        plot.y = {-3.5, 1, -7.12345, 9};
        // Where the cursor is; what it shows (position, value); where it snaps.
        const QList<std::tuple<PlotKind, double, QString, double>> cases = {
            {PlotKind::Time, 2.4, "2.4 -7.123", 2},
            {PlotKind::Spectrum, 0.12345, "0.123 -3.5", 0},
            {PlotKind::Histogram, 5.0, "5 3", 5},
            {PlotKind::Histogram, 4.5, "4.5 kept", 5}};
        for (const auto &[kind, x, readout, nearest] : cases) {
            const PlotTable &table = kind == PlotKind::Histogram ? histogram : plot;
            QCOMPARE(table.x.at(PlotReadout::nearestRow(table, x)), nearest);
            const PlotReadout::Readout shown = PlotReadout::cursorReadout(kind, table, x);
            QCOMPARE(shown.position + ' ' + shown.value.value_or("kept"), readout);
        }
    }

    void exportWritesFiles()
    {
        QTemporaryDir dir;
        ScriptedDialogs dialogs;
        PlotView view(dialogs);
        view.setCaptions("Sample", "Value (Dec)");
        PlotTable table;
        table.x = {0, 1, 2, 3};
        table.y = {0.1, -2.5e-7, 1e9 / 3, 4};
        table.xmax = 3;
        table.ymax = 4e8;
        view.load(table, 4);
        for (const QString name : {"p.png", "p.pdf", "t.csv", ""})
            dialogs.fileAnswers << (name.isEmpty() ? name : dir.filePath(name));
        for (QAction *action : view.exportActions())
            action->trigger();
        view.exportActions().at(0)->trigger(); // cancelled: nothing happens
        QCOMPARE(dialogs.fileDialogTitles.size(), 4);
        QVERIFY(dialogs.boxes.isEmpty());

        QVERIFY(!QImage(dir.filePath("p.png")).isNull());
        QFile pdf(dir.filePath("p.pdf")), csv(dir.filePath("t.csv"));
        QVERIFY(pdf.open(QIODevice::ReadOnly) && csv.open(QIODevice::ReadOnly));
        QVERIFY(pdf.readAll().startsWith("%PDF-"));
        // Every double to 17 digits: it reads back to the same value.
        QCOMPARE(csv.readAll(), QByteArray("\"Sample\",\"Value (Dec)\"\n0,0.10000000000000001\n"
                                           "1,-2.4999999999999999e-07\n2,333333333.33333331\n3,4\n"));

        // A file that cannot be written is reported.
        dialogs.fileAnswers << dir.filePath("missing/t.csv");
        view.exportActions().at(2)->trigger();
        QCOMPARE(dialogs.texts(), QStringList{"Cannot write " + dir.filePath("missing/t.csv")});
    }

    void throttleGathersBursts()
    {
        int runs = 0;
        RedrawThrottle throttle([&runs] { ++runs; });
        for (int i = 0; i < 5; ++i)
            throttle.request();
        QCOMPARE(runs, 1); // the first at once
        QVERIFY(throttle.pending());
        QTRY_COMPARE(runs, 2); // the rest as one, at the end of the interval
        QVERIFY(!throttle.pending());
        throttle.request();
        throttle.request(); // one of the two waits for the interval's end
        QVERIFY(throttle.pending());
        const int before = runs;
        throttle.cancel();
        QTest::qWait(2 * RedrawThrottle::DefaultIntervalMs);
        QCOMPARE(runs, before);
    }

    void openAndSaveDataFiles()
    {
        QTemporaryDir dir;
        Rig rig;
        FormData *form = rig.data();
        form->SaveDataFile(); // nothing to save: no dialog
        QVERIFY(rig.t.dialogs.fileDialogTitles.isEmpty());

        fill(rig.context.IData);
        rig.t.dialogs.fileAnswers << dir.filePath("a.dat");
        rig.window.MnuSaveData->trigger();
        rig.context.IData.Clear();
        rig.t.dialogs.fileAnswers << dir.filePath("a.dat");
        rig.window.MnuOpenData->trigger();
        QCOMPARE(rig.context.IData.DataCount(0) + rig.context.IData.DataCount(2), 500);

        // A file that is not a data file, and one that cannot be created: the reader's and
        // writer's messages (checked in the data file suite), then the window's own.
        rig.t.dialogs.fileAnswers << dir.filePath("a.dat").chopped(1) << dir.filePath("none/b.dat");
        rig.window.toolButton("Open")->trigger();
        rig.window.toolButton("Save")->trigger();
        QCOMPARE(rig.t.dialogs.texts(), QStringList({"error 53 : File not found", "error 76 : Path not found",
                                                     "Error Creating File"}));
        QCOMPARE(rig.context.IData.DataCount(0), 300); // a bad file loses nothing
    }

    void peaksWindow()
    {
        ClassData data;
        FormPeaks peaks(data);
        QCOMPARE(peaks.txtValue->text(), QStringLiteral("10"));
        for (const char *typed : {"3", "2.5x"}) {
            peaks.txtValue->selectAll();
            QTest::keyClicks(peaks.txtValue, typed);
            QTest::keyClick(peaks.txtValue, Qt::Key_Return);
        }
        QCOMPARE(data.PeaksLimit(), 2); // halves to even
        QCOMPARE(peaks.UpDown->value(), 2);
        peaks.UpDown->stepBy(1);
        QCOMPARE(peaks.txtValue->text(), QStringLiteral("3"));
        QCOMPARE(data.PeaksLimit(), 3);
        peaks.ChkAutoRemovePeaks->click();
        QVERIFY(data.PeaksAutoRemove());

        QSignalSpy changed(&data, &ClassData::DataChanged);
        peaks.CommandRemovePeaks->click();
        QCOMPARE(changed.size(), 1);
    }
};

QTEST_MAIN(TestAnalysisWindows)
#include "tst_analysis_windows.moc"
