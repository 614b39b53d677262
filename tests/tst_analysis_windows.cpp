#include "BoardRig.h"
#include "MemorySettingsStore.h"
#include "ModalDriver.h"
#include "TestServices.h"
#include "analysis/AllanPlot.h"
#include "analysis/FormAllan.h"
#include "analysis/FormData.h"
#include "analysis/FormFFT.h"
#include "analysis/FormGraph1.h"
#include "analysis/FormHist.h"
#include "analysis/FormNoiseTable.h"
#include "analysis/FormPeaks.h"
#include "analysis/NoiseDensity.h"
#include "analysis/NoiseInputs.h"
#include "analysis/NoisePlot.h"
#include "analysis/PlotReadout.h"
#include "analysis/PlotView.h"
#include "analysis/RedrawThrottle.h"
#include "analysis/SeriesGrid.h"
#include "analysis/StatisticsGrid.h"
#include "app/AppContext.h"
#include "app/ChildWindow.h"
#include "app/FormMain.h"
#include "board/NoiseSweep.h"
#include "controls/CommitLineEdit.h"
#include "controls/UpDownSpinner.h"
#include "data/NoiseTable.h"
#include "data/ShowStatistics.h"
#include "data/WholeFile.h"
#include "sim/SimBoard.h"
#include "sim/SimulatedSerialPort.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QToolBar>

#include <QtTest>

#include <cmath>

namespace {

// Channels 0 and 2 with 300 and 200 samples of a tone on a ramp, 24-bit bipolar.
void fill(ClassData &data)
{
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

// The noise sweep against the unpaced simulated board.
struct SweepRig
{
    SimBoard board;
    QPointer<SimulatedSerialPort> sim;
    BoardRig rig{8, [this](const QString &) {
                     auto port = std::make_unique<SimulatedSerialPort>(&board);
                     sim = port.get();
                     return port;
                 }};
    NoiseSweep sweep{rig.model, rig.link};

    SweepRig()
    {
        rig.link.ComOpen(QStringLiteral("sim"));
        rig.link.RegWriteAll();
    }
};

QList<NoiseRow> sampleRows()
{
    QList<NoiseRow> rows;
    for (double range : {0, 4})
        for (int w : {3, 127})
            rows << NoiseRow{
                w,   w == 3,          100.25 + w, 1e6 / (100.25 + w), int(range), range ? 2.5 : 1.25, true,
                500, 0.5 + w / 100.0, 4.125,      20.5 - range,       17.75};
    return rows;
}

// The figures markdown carries, and with all the csv carries.
QList<double> figures(const NoiseRow &r, bool all)
{
    QList<double> f = {double(r.filterWord), double(r.chop), r.conversionTimeUs, double(r.rangeCode),
                       r.rangeVolts,         r.rmsNoiseUv,   r.rmsBits};
    if (all)
        f << r.dataRateHz << double(r.bipolar) << double(r.samples) << r.peakNoiseUv << r.peakBits
          << r.peakEstimatedUv << r.peakEstimatedBits;
    return f;
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
        QCOMPARE(form->size(), QSize(536, 321));

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
        QCOMPARE(form->size(), QSize(536, 321));
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
        QVERIFY(rig.context.IData.Channel() == 2 && form->ButtonChannel.at(2)->isChecked());
        for (FormPlot *plot : rig.plots())
            QVERIFY(plot->ButtonChannel.at(2)->isChecked());
        const QList<StatisticsCell> cells = ShowStatistics(rig.context.IData, 2, rig.context.IADC) +
                                            NoiseFreeStatistics(rig.context.IData, 2, rig.context.IADC);
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
        QCOMPARE(filled, 38); // every figure twice: once in the full tables, once in the compact one
        QTRY_COMPARE(graph->Plot->table().rows(), 200);
        QTRY_COMPARE(rig.form<FormFFT>("FormFFT")->LabelSamples->text(),
                     QStringLiteral("Nb of Samples: 128"));
        QCOMPARE(graph->LabelYMax->text(), QString::number(rig.context.IData.MaxCode(2)));
        graph->Plot->setVisibleRange(0, 10, -12.6, 99.5); // a zoom: whole numbers, halves to even
        QCOMPARE(graph->LabelYMax->text() + ' ' + graph->LabelYMin->text(), QStringLiteral("100 -13"));
        // A flat trace: the axis is widened to be drawn, the labels give the data's own range.
        for (int i = 0; i < 10; ++i)
            rig.context.IData.AddExtData(5, 42);
        rig.context.IData.Process();
        rig.context.IData.Update();
        graph->ButtonChannel.at(5)->click();
        QTRY_COMPARE(graph->Plot->table().rows(), 10);
        QCOMPARE(graph->LabelYMax->text() + ' ' + graph->LabelYMin->text(), QStringLiteral("42 42"));
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

    // A series whose last capture the store holds: the data window adds its table (the other
    // tables unchanged) and the spectrum is the average; a Clear ends both.
    void seriesTableAndAveragedSpectrum()
    {
        Rig rig;
        ClassData &data = rig.context.IData;
        fill(data);
        const int plainHeight = rig.data()->height();
        const QString rmsBefore = rig.data()->MSFlexResults.at(2)->text(1, 1);
        rig.context.Captures.add(data, rig.context.IADC);
        rig.context.Captures.add(data, rig.context.IADC);
        data.Update();
        FormData *form = rig.data();
        QVERIFY(form->seriesShown() && !form->MSFlexSeries->isHidden());
        QCOMPARE(form->height(), plainHeight + form->MSFlexSeries->fullHeight() + 3);
        rig.window.show(); // lays the tables out
        form->parentWidget()->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        for (const StatisticsGrid *grid : form->MSFlexResults.mid(0, 3))
            QVERIFY(form->MSFlexSeries->y() > grid->geometry().bottom());
        QCOMPARE(form->MSFlexResults.at(2)->text(1, 1), rmsBefore);
        const QStringList heading = {form->MSFlexSeries->text(0, 0), form->MSFlexSeries->text(0, 1),
                                     form->MSFlexSeries->text(0, 2), form->MSFlexSeries->text(7, 0)};
        QCOMPARE(heading, (QStringList{"2 captures", "Mean \u00B1 SD", "Min / Max", "RMS Noise"}));
        QCOMPARE(form->MSFlexSeries->text(1, 1),
                 rig.context.Captures.spreadText(0, 0, QLocale().decimalPoint()));
        QVERIFY(form->MSFlexSeries->text(2, 1).endsWith(QStringLiteral(" \u00B1 0.00 Dec")));
        rig.window.showPlot("FormFFT");
        auto *fft = rig.form<FormFFT>("FormFFT");
        QTRY_COMPARE(fft->LabelTitle->text(), QStringLiteral("FFT averaged over 2 captures"));
        QVERIFY(fft->Plot->note().startsWith(QStringLiteral("Averaged over 2 captures\n")));
        QVERIFY(fft->Plot->csvText().contains("# Averaged: 2 captures\n"));
        FormData::toolButton(form->TlbData, "Clear")->trigger();
        QVERIFY(!form->seriesShown() && form->MSFlexSeries->isHidden());
        QCOMPARE(form->height(), plainHeight);
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
        QCOMPARE(csv.readAll(), QByteArray("Sample,Value (Dec)\n0,0.10000000000000001\n"
                                           "1,-2.4999999999999999e-07\n2,333333333.33333331\n3,4\n"));

        // A file that cannot be written is reported; a full disk leaves no partial picture.
        dialogs.fileAnswers << dir.filePath("missing/t.csv") << dir.filePath("full.png");
        view.exportActions().at(2)->trigger();
        SimulateFreeSpace(1000);
        view.exportActions().at(0)->trigger();
        SimulateFreeSpace(-1);
        QCOMPARE(dialogs.texts(),
                 QStringList({"Cannot write " + dir.filePath("missing/t.csv") + ": error 76 : Path not found",
                              "Cannot write " + dir.filePath("full.png") + ": error 61 : Disk full"}));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), (QStringList{"p.pdf", "p.png", "t.csv"}));
    }

    void redrawsAreThrottled()
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

        // The spectrum follows its window function, and a channel without data redraws nothing.
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

        // Noise density: the bins in V/sqrt(Hz), the definition and the bandwidth stated.
        fft->ComboScale->setCurrentIndex(2);
        Q_EMIT fft->ComboScale->activated(2);
        const NoiseDensity psd = noiseDensity(rig.context.IData, 0, 0, rig.context.IADC);
        QTRY_COMPARE(fft->Plot->table().y.at(5), psd.densityV.at(5));
        QVERIFY(fft->LabelMetrics->text().endsWith("Full scale: 16777216 codes\n" + psd.enbwText(0)));
        fft->showCursor(psd.frequencyHz.at(5));
        QCOMPARE(fft->LabelValueValue->text(), QString::number(psd.densityV.at(5), 'g', 4));

        rig.context.IData.setChannel(1); // no samples there
        QTRY_COMPARE(fft->Plot->table().rows(), 0);
        QTest::qWait(2 * RedrawThrottle::DefaultIntervalMs); // a redraw still due has run
        const int replots = fft->Plot->replotCount();
        fft->ComboWindow->setCurrentIndex(3);
        Q_EMIT fft->ComboWindow->activated(3);
        QTest::qWait(2 * RedrawThrottle::DefaultIntervalMs);
        QCOMPARE(fft->Plot->replotCount(), replots);
        QVERIFY(rig.t.dialogs.boxes.isEmpty());
    }

    void allanWindowShowsTheCurveAndItsMinimum()
    {
        Rig rig;
        fill(rig.context.IData);
        rig.window.MnuViewAllan->trigger();
        auto *allan = rig.form<FormAllan>("FormAllan");
        QVERIFY(allan->isVisible() && rig.window.MnuViewAllan->isChecked());
        QCOMPARE(allan->windowTitle(), QStringLiteral("Allan Deviation"));
        allan->ComboChannel->setCurrentIndex(2);
        const AllanCurve curve = allanDeviation(rig.context.IData, 2, rig.context.IADC);
        QCOMPARE(allan->Plot->table().rows(), 7); // m = 1 .. 64 of 200 samples
        QCOMPARE(allan->Plot->table().y.at(3), curve.points.at(3).adevV);
        QCOMPARE(allan->LabelMinimum->text(), AllanPlot::minimumLabel(curve));
        QCOMPARE(allan->Plot->note(), allan->LabelMinimum->text());
        allan->ComboChannel->setCurrentIndex(1); // no samples
        QCOMPARE(allan->LabelMinimum->text(), QStringLiteral("Too few samples for an Allan deviation"));
        QCOMPARE(allan->Plot->table().rows(), 0);
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
        QCOMPARE((QList<int>{rig.context.IData.DataCount(0), rig.context.IData.DataCount(2)}),
                 (QList<int>{300, 200}));
        // New contents take the place of the old: the open plots stay and redraw.
        for (const char *name : {"FormGraph1", "FormHist", "FormFFT"})
            rig.window.showPlot(name);
        rig.plots().at(0)->Plot->clear();
        rig.t.dialogs.fileAnswers << dir.filePath("a.dat");
        rig.window.MnuOpenData->trigger();
        for (const char *name : {"FormGraph1", "FormHist", "FormFFT"})
            QVERIFY(!rig.window.childWindow(name)->isHidden());
        QTRY_COMPARE(rig.plots().at(0)->Plot->table().rows(), 300);
        // A file of the QM4168 in the QM4162: refused, the store as it was.
        Rig q62("62");
        q62.t.dialogs.fileAnswers << dir.filePath("a.dat");
        q62.window.MnuOpenData->trigger();
        QCOMPARE(q62.t.dialogs.texts(), QStringList{"Bad File : Input range \"\u00B1"
                                                    "1.25\" of Channel 0 is not a "
                                                    "range of the QM4162 in line 2"});
        QVERIFY(!q62.context.IData.Valid(-1));

        // A file that is not a data file, and one that cannot be created: the reader's and
        // writer's messages (checked in the data file suite), then the window's own.
        QFile bad(dir.filePath("bad.dat"));
        QVERIFY(bad.open(QIODevice::WriteOnly) &&
                bad.write("Parameters:, Channel(s) enabled = 1,Vref = 2.5,Width\r\n") > 0);
        bad.close();
        rig.t.dialogs.fileAnswers << bad.fileName() << dir.filePath("none/b.dat") << dir.filePath("a.dat");
        rig.window.toolButton("Open")->trigger();
        rig.window.toolButton("Save")->trigger();
        // Over the earlier file, on a disk that fills up: the earlier file stays.
        QFile earlier(dir.filePath("a.dat"));
        QVERIFY(earlier.open(QIODevice::ReadOnly));
        const QByteArray kept = earlier.readAll();
        SimulateFreeSpace(kept.size() / 2);
        rig.window.toolButton("Save")->trigger();
        SimulateFreeSpace(-1);
        QCOMPARE(rig.t.dialogs.texts(),
                 QStringList({"Bad File : DataWidth is not Valid", "error 76 : Path not found",
                              "Error Creating File", "error 61 : Disk full", "Error Creating File"}));
        QVERIFY(earlier.seek(0));
        QCOMPARE(earlier.readAll(), kept);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), (QStringList{"a.dat", "bad.dat"}));
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

    // The noise sweep: the settings of each row as the chip receives them, the rows and their
    // order, the simulator's noise model, stops that keep the rows so far; the table's
    // renderings read back; the plot renders; the window runs it.
    // Filter words with chop on; conversion times with chop off (64 x fw + 207 cycles at
    // 6.144 MHz: the word nearest below each time).
    void sweep_data()
    {
        QTest::addColumn<QList<int>>("words");
        QTest::addColumn<QList<double>>("times");
        QTest::addColumn<bool>("chop");
        QTest::addColumn<QList<int>>("expectedWords");
        QTest::newRow("words") << QList<int>{3, 17, 127} << QList<double>() << true << QList<int>{3, 17, 127};
        QTest::newRow("times") << QList<int>() << QList<double>{200, 1000, 1400} << false
                               << QList<int>{15, 92, 127};
    }

    void sweep()
    {
        QFETCH(QList<int>, words);
        QFETCH(QList<double>, times);
        QFETCH(bool, chop);
        QFETCH(QList<int>, expectedWords);
        SweepRig s;
        const int channel = 1;
        // At each continuous-read request: what the chip holds (conversion-time and setup
        // registers, data width, enabled channels) and the amount asked for.
        QStringList received;
        connect(&s.rig.link.hooks(), &BoardHooks::Display, this, [&](const QString &text) {
            if (!text.startsWith(QLatin1String("[C 38 ")))
                return;
            SimConverter &chip = s.board.converter();
            QString enabled;
            for (int c = 0; c < SimConverter::Channels; ++c)
                enabled += chip.enabled(c) ? QLatin1Char('1') : QLatin1Char('0');
            received << QStringLiteral("%1 %2 %3 %4 %5")
                            .arg(chip.registerValue(0x30 + channel), 2, 16, QLatin1Char('0'))
                            .arg(chip.registerValue(0x28 + channel) & 7)
                            .arg(chip.dataWidth())
                            .arg(enabled, text.section(QLatin1Char(' '), -1).trimmed());
        });
        NoiseSweepSettings settings{channel, words, times, {chop}, {0, 4}, 300};
        QVERIFY(s.sweep.run(settings));

        const QList<NoiseRow> rows = s.sweep.rows();
        QCOMPARE(rows.size(), 6);
        QStringList expected;
        for (int i = 0; i < rows.size(); ++i) {
            const int range = i < 3 ? 0 : 4;
            const int word = expectedWords.at(i % 3);
            expected << QStringLiteral("%1 %2 3 01000000 012C")
                            .arg((chop ? 128 : 0) + word, 2, 16, QLatin1Char('0'))
                            .arg(range);
            const NoiseRow &r = rows.at(i);
            QCOMPARE((QList<double>{double(r.filterWord), double(r.chop), double(r.rangeCode),
                                    double(r.samples), r.conversionTimeUs}),
                     (QList<double>{double(word), double(chop), double(range), 300,
                                    s.rig.model.TimeOfFilterWord(word, chop, 1)}));
            // Longer conversions, less noise; the wider range (2.5 V), more.
            if (i % 3 != 0)
                QVERIFY(rows.at(i).rmsNoiseUv < rows.at(i - 1).rmsNoiseUv);
            if (i >= 3)
                QVERIFY(rows.at(i).rmsNoiseUv > rows.at(i - 3).rmsNoiseUv);
        }
        QCOMPARE(received, expected);
    }

    void noiseModel()
    {
        // 5 uV at power-on settings; 1/sqrt(t); x 1.4 without chop at the same time; range part.
        SimConverter chip;
        QCOMPARE(chip.noiseScale(0), 1.0);
        chip.writeRegister(0x30, 0x80 + 2 * 17 + 2); // 128 x 36 + 249 cycles: about twice as long
        QVERIFY(qAbs(chip.noiseScale(0) - std::sqrt((128.0 * 17 + 249) / (128.0 * 36 + 249))) < 1e-12);
        chip.writeRegister(0x30, 2 * 17 + 1); // 64 x 35 + 207 cycles, no chop
        QVERIFY(qAbs(chip.noiseScale(0) - 1.4 * std::sqrt((128.0 * 17 + 249) / (64.0 * 35 + 207))) < 1e-12);
        chip.writeRegister(0x30, 0x91);
        chip.writeRegister(0x28, 4); // 2.5 V
        QCOMPARE(chip.noiseScale(0), 0.4 + 0.6 * 2);
    }

    // Stops keep the rows so far and say why; the chip gets its set-up back (every channel's
    // setup and conversion time, the mode), unless the board has gone or refuses.
    void stop()
    {
        for (const QString action : {"cancel", "escape", "unplug", "refuse", "complete"}) {
            SweepRig s;
            s.rig.model.setEnable(3, true);
            s.rig.model.setChop(0, false);
            QList<qint32> before;
            for (int address = 0x28; address <= 0x38; ++address)
                before << s.board.converter().registerValue(address);
            connect(&s.sweep, &NoiseSweep::rowAdded, this, [&] {
                if (action == QLatin1String("cancel") && s.sweep.rows().size() == 2)
                    s.sweep.cancel(); // between rows
                if (action == QLatin1String("refuse") && s.sweep.rows().size() == 2) {
                    SimFaults refuse;
                    refuse.refuseWrites = true;
                    s.board.setFaults(refuse);
                }
            });
            connect(&s.rig.link.contRead(), &ContinuousRead::progress, this, [&](int received, int total) {
                if (s.sweep.rows().size() != 2 || received == 0 || received == total)
                    return;
                if (action == QLatin1String("escape"))
                    s.sweep.cancel(); // in the transfer
                else if (action == QLatin1String("unplug") && s.sim)
                    s.sim->unplug();
            });
            const bool complete = action == QLatin1String("complete");
            QCOMPARE(s.sweep.run({0, {3, 17, 127}, {}, {true}, {0, 2}, complete ? 300 : 6000}), complete);
            QList<qint32> after;
            for (int address = 0x28; address <= 0x38; ++address)
                after << s.board.converter().registerValue(address);
            QCOMPARE(after == before, action != QLatin1String("unplug") && action != QLatin1String("refuse"));
            if (complete)
                continue;
            QCOMPARE(s.sweep.rows().size(), 2);
            const QString refused = QStringLiteral("(Channel Setup) was refused (answer \"E REFUSED\")");
            const QString why =
                action == "unplug"   ? "The evaluation board went away during the continuous read."
                                       "; the settings before the sweep could not be restored "
                                       "(the board is not connected)"
                : action == "refuse" ? "the set-up was not made: register 30h (Conversion Time) "
                                       "was refused (answer \"E REFUSED\"); the settings before the "
                                       "sweep could not be restored (register 28h " +
                                           refused + ")"
                                     : QStringLiteral("cancelled");
            QCOMPARE(s.sweep.stopMessage(),
                     "the sweep stopped at row 3 of 6 (fw 127, chop on, ±1.25 V): " + why);
        }
    }

    void renderings()
    {
        const QList<NoiseRow> rows = sampleRows();
        QString error;
        const QList<NoiseRow> fromCsv = NoiseTable::fromCsv(NoiseTable::csv(rows), error);
        const QList<NoiseRow> fromMarkdown = NoiseTable::fromMarkdown(NoiseTable::markdown(rows), error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(fromCsv.size(), rows.size());
        QCOMPARE(fromMarkdown.size(), rows.size());
        for (int i = 0; i < rows.size(); ++i) {
            QCOMPARE(figures(fromCsv.at(i), true), figures(rows.at(i), true));
            QCOMPARE(figures(fromMarkdown.at(i), false), figures(rows.at(i), false));
        }
        QCOMPARE(NoiseTable::markdown(rows).section(QLatin1Char('\n'), 2, 2),
                 "| 3 | on | 103.25 | 9685.23 | 0.53 µV rms (20.50 bits) | 0.53 µV rms (16.50 bits) |");

        NoisePlot plot;
        plot.setRows(rows);
        QCOMPARE(plot.traceCount(), 4); // two ranges, each with chop on and chop off
        QTemporaryDir dir;
        const QString png = dir.filePath(QStringLiteral("noise.png")),
                      pdf = dir.filePath(QStringLiteral("noise.pdf"));
        QVERIFY(!plot.savePng(png).isError() && !plot.savePdf(pdf).isError());
        QCOMPARE(QImage(png).size(), QSize(NoisePlot::ExportWidth, NoisePlot::ExportHeight));
        QVERIFY(QFileInfo(pdf).size() > 1000);
    }

    void badTables()
    {
        const QString csv = NoiseTable::csv(sampleRows().mid(0, 1)),
                      md = NoiseTable::markdown(sampleRows().mid(0, 1));
        const QList<std::tuple<bool, QString, QString>> cases = {
            {false, "fw,chop\n3,on\n",
             "not a noise table: the first line must name the columns "
             "filter_word,chop,conversion_time_us,data_rate_hz,range_code,range_v,bipolar,"
             "samples,rms_noise_uv,pp_noise_uv,rms_resolution_bits,pp_resolution_bits,pp_estimated_uv,"
             "pp_estimated_resolution_bits"},
            {false, csv + "3,maybe,1,2,0,1,1,5,1,1,1,1\n",
             "line 3 is not a row of the noise table: '3,maybe,1,2,0,1,1,5,1,1,1,1'"},
            {true, "| a | b |\n|---|---|\n",
             "not a noise table: the header needs the settings and one column per range"},
            {true, md + "| 5 | on | 1 | 2 | lots |\n",
             "line 4 is not a row of the noise table: '| 5 | on | 1 | 2 | lots |'"}};
        for (const auto &[markdown, text, expected] : cases) {
            QString error;
            QVERIFY((markdown ? NoiseTable::fromMarkdown(text, error) : NoiseTable::fromCsv(text, error))
                        .isEmpty());
            QCOMPARE(error, expected);
        }
    }

    // The window: its settings run the sweep, rows appear, exports read back; bad settings
    // are refused with a message and run nothing.
    void window()
    {
        // Ranges by code or by the setup window's names, filter words or conversion times.
        const QList<std::tuple<QString, QString, int, QString>> cases = {
            {"3,127", "0,4", 4, QString()},
            {"1000 us, 400us", "names", 4, QString()},
            {"3,200", "0", 0,
             "'200' is not a filter word or a conversion time: give filter words from 2 to 127"},
            {"3, 1000 us", "0", 0, "'3' is not a filter word or a conversion time"},
            {"3", "9", 0, "'9' is not a range: give the ranges as the setup window names them (± "},
            {"3", "± 99 V", 0, "'± 99 V' is not a range"}};
        for (const auto &[words, ranges, rows, message] : cases) {
            SweepRig s;
            MemorySettingsStore store;
            FormNoiseTable form(s.rig.model, s.rig.link, s.rig.dialogs, &store);
            const QString rangeText =
                ranges == "names" ? NoiseInputs::rangeNames({0, 4}, s.rig.model) : ranges;
            form.findChild<QLineEdit *>(QStringLiteral("TxtFilterWords"))->setText(words);
            form.findChild<QLineEdit *>(QStringLiteral("TxtRanges"))->setText(rangeText);
            form.findChild<QSpinBox *>(QStringLiteral("SpinSamples"))->setValue(100);
            form.start();
            const QString shown = s.rig.dialogs.texts().join(QString());
            QVERIFY2(message.isEmpty() ? shown.isEmpty() : shown.startsWith(message), qPrintable(shown));
            QCOMPARE(form.findChild<QTableWidget *>(QStringLiteral("Table"))->rowCount(), rows);
            // A window opened later shows the inputs of the last sweep started.
            FormNoiseTable again(s.rig.model, s.rig.link, s.rig.dialogs, &store);
            QCOMPARE(again.findChild<QLineEdit *>(QStringLiteral("TxtRanges"))->text(),
                     rows ? rangeText : NoiseInputs::rangeNames({0}, s.rig.model));
            QCOMPARE(again.findChild<QSpinBox *>(QStringLiteral("SpinSamples"))->value(), rows ? 100 : 1000);
            QTemporaryDir dir;
            for (const QString format : {"CSV", "Markdown"}) {
                s.rig.dialogs.fileAnswers.enqueue(dir.filePath(format));
                form.exportTo(format);
                QFile file(dir.filePath(format));
                QVERIFY(file.open(QIODevice::ReadOnly));
                QString text = QString::fromUtf8(file.readAll()), error;
                QCOMPARE((format == "CSV" ? NoiseTable::fromCsv(text, error)
                                          : NoiseTable::fromMarkdown(text, error))
                             .size(),
                         rows);
            }
        }
    }
};

QTEST_MAIN(TestAnalysisWindows)
#include "tst_analysis_windows.moc"
