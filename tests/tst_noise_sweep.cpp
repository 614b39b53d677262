// The noise sweep against the unpaced simulated board: the settings of each row as the chip
// receives them, the rows and their order, the simulator's noise model, stops that keep the
// rows so far; the table's renderings read back; the plot renders.

#include "BoardRig.h"
#include "analysis/FormNoiseTable.h"
#include "analysis/NoisePlot.h"
#include "board/NoiseSweep.h"
#include "data/NoiseTable.h"
#include "sim/SimBoard.h"
#include "sim/SimulatedSerialPort.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableWidget>
#include <QtTest>

namespace {
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
        f << r.dataRateHz << double(r.bipolar) << double(r.samples) << r.peakNoiseUv << r.peakBits;
    return f;
}
} // namespace

class TestNoiseSweep : public QObject
{
    Q_OBJECT

private Q_SLOTS:
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

    // Stops keep the rows so far and say why.
    void stop()
    {
        for (const QString action : {"cancel", "escape", "unplug"}) {
            SweepRig s;
            connect(&s.sweep, &NoiseSweep::rowAdded, this, [&] {
                if (action == QLatin1String("cancel") && s.sweep.rows().size() == 2)
                    s.sweep.cancel(); // between rows
            });
            connect(&s.rig.link.contRead(), &ContinuousRead::progress, this, [&](int received, int total) {
                if (s.sweep.rows().size() != 2 || received == 0 || received == total)
                    return;
                if (action == QLatin1String("escape"))
                    s.sweep.cancel(); // in the transfer
                else if (action == QLatin1String("unplug") && s.sim)
                    s.sim->unplug();
            });
            QVERIFY(!s.sweep.run({0, {3, 17, 127}, {}, {true}, {0, 2}, 6000}));
            QCOMPARE(s.sweep.rows().size(), 2);
            QCOMPARE(s.sweep.stopMessage(),
                     "the sweep stopped at row 3 of 6 (fw 127, chop on, ±1.25 V): " +
                         (action == "unplug" ? "The evaluation board went away during the continuous read."
                                             : QStringLiteral("cancelled")));
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
        QVERIFY(plot.savePng(png) && plot.savePdf(pdf));
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
             "samples,rms_noise_uv,pp_noise_uv,rms_resolution_bits,pp_resolution_bits"},
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
        const QList<std::tuple<QString, QString, int, QString>> cases = {
            {"3,127", "0,4", 4, QString()},
            {"3,200", "0", 0, "The filter words must be numbers from 2 to 127 separated by commas."},
            {"3", "9", 0, "The range codes must be numbers from 0 to 5 separated by commas."}};
        for (const auto &[words, ranges, rows, message] : cases) {
            SweepRig s;
            FormNoiseTable form(s.rig.model, s.rig.link, s.rig.dialogs);
            form.findChild<QLineEdit *>(QStringLiteral("TxtFilterWords"))->setText(words);
            form.findChild<QLineEdit *>(QStringLiteral("TxtRanges"))->setText(ranges);
            form.findChild<QSpinBox *>(QStringLiteral("SpinSamples"))->setValue(100);
            form.start();
            QCOMPARE(s.rig.dialogs.texts().join(QString()), message);
            QCOMPARE(form.findChild<QTableWidget *>(QStringLiteral("Table"))->rowCount(), rows);
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

QTEST_MAIN(TestNoiseSweep)
#include "tst_noise_sweep.moc"
