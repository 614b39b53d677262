// Repeated captures and averaged spectra: the series against the simulated board (in the
// process and through qm416x-cli), and the bin-by-bin power average.

#include "BoardRig.h"
#include "ProcessRun.h"
#include "analysis/EditFFT.h"
#include "analysis/PowerAverage.h"
#include "board/CaptureSeries.h"
#include "data/CaptureSet.h"
#include "data/ClassData.h"
#include "data/DataFile.h"
#include "sim/SimBoard.h"
#include "sim/SimulatedSerialPort.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>

namespace {

// A 24-bit channel 0 of 1024 codes, 1000 us apart: a tone of the given amplitude on bin 37
// plus white noise of the given deviation.
void fillCapture(ClassData &d, double amplitude, double noise, unsigned seed)
{
    d.setDataWidth(3);
    d.setRng(0, 1);
    d.setChannelTime(0, 1000);
    std::mt19937 random(seed);
    std::normal_distribution<double> gauss(0, noise);
    for (int i = 0; i < 1024; ++i)
        d.AddExtData(0, static_cast<qint32>(std::lround(amplitude * std::sin(2 * M_PI * 37 * i / 1024.0) +
                                                        (noise > 0 ? gauss(random) : 0))));
    d.Process();
}

using Run = ProcessRun;

Run cli(const QStringList &arguments, const QString &folder)
{
    return runProcess(QStringLiteral(QM_CLI), arguments, folder);
}

// Relative spread (deviation over mean) of the averaged power beyond the DC span.
double relativeSpread(const std::vector<double> &power)
{
    std::vector<double> bins(power.begin() + 2, power.end());
    double mean = 0, squares = 0;
    for (double p : bins)
        mean += p / double(bins.size());
    for (double p : bins)
        squares += (p - mean) * (p - mean) / double(bins.size());
    return std::sqrt(squares) / mean;
}

} // namespace

class TestCaptures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // K copies of one capture average to that capture: the same table and figures.
    void averageOfIdenticalCapturesIsTheCapture()
    {
        std::vector<std::unique_ptr<ClassData>> stores;
        std::vector<const ClassData *> captures;
        for (int i = 0; i < 5; ++i) {
            stores.push_back(std::make_unique<ClassData>());
            fillCapture(*stores.back(), 200000, 30, 7);
            captures.push_back(stores.back().get());
        }
        const PowerAverage average = averagedSpectrum(captures, 0, 2);
        QCOMPARE(average.captures, 5);
        const FftResult one = EditFFT(*captures.front(), 0, 2);
        const FftResult all = spectrumTable(average.spectrum, 2, captures.front()->HalfScale());
        QCOMPARE(all.table.rows(), 513);
        QCOMPARE(all.table.x, one.table.x);
        for (int k = 0; k < one.table.rows(); ++k)
            QVERIFY(std::fabs(all.table.y.at(k) - one.table.y.at(k)) < 1e-9);
        const FftMetrics m1 = fftMetrics(*captures.front(), 0, 2), mk = averagedMetrics(average, 2);
        QVERIFY(m1.valid && mk.valid);
        QCOMPARE(mk.fundamentalBin, 37);
        QVERIFY(std::fabs(mk.snrDb - m1.snrDb) < 1e-9 && std::fabs(mk.enobBits - m1.enobBits) < 1e-9);
    }

    // Independent white-noise captures: the floor keeps its level, and the bin-to-bin
    // spread of the averaged power falls as 1 / sqrt(K) (1 for one capture, rectangular window).
    void whiteNoiseSpreadFallsAsOneOverRootK_data()
    {
        QTest::addColumn<int>("k");
        for (int k : {1, 4, 16, 64})
            QTest::newRow(qPrintable(QString::number(k))) << k;
    }
    void whiteNoiseSpreadFallsAsOneOverRootK()
    {
        QFETCH(int, k);
        std::vector<std::unique_ptr<ClassData>> stores;
        std::vector<const ClassData *> captures;
        for (int i = 0; i < k; ++i) {
            stores.push_back(std::make_unique<ClassData>());
            fillCapture(*stores.back(), 0, 1000, 100 + unsigned(i));
            captures.push_back(stores.back().get());
        }
        const PowerAverage average = averagedSpectrum(captures, 0, 0);
        const double spread = relativeSpread(average.power) * std::sqrt(double(k));
        QVERIFY2(spread > 0.85 && spread < 1.15, qPrintable(QString::number(spread)));
        // White noise of sigma codes: mean power 4 sigma^2 / N per bin.
        double mean = 0;
        for (size_t b = 2; b < average.power.size(); ++b)
            mean += average.power[b] / double(average.power.size() - 2);
        QVERIFY2(std::fabs(mean / (4.0 * 1000 * 1000 / 1024) - 1) < 0.15, qPrintable(QString::number(mean)));
    }

    void mismatchingConditionsAreRefused_data()
    {
        QTest::addColumn<int>("change");
        QTest::addColumn<QString>("message");
        QTest::newRow("width") << 0 << "channel 0 has another data width (16 bits, not 24 bits)";
        QTest::newRow("range") << 1 << "channel 0 has another input range (code 2, not code 1)";
        QTest::newRow("length") << 2 << "channel 0 has another transform length (512 codes, not 1024 codes)";
        QTest::newRow("time") << 3 << "channel 0 has another time between samples (0.002 s, not 0.001 s)";
    }
    void mismatchingConditionsAreRefused()
    {
        QFETCH(int, change);
        ClassData first, other;
        fillCapture(first, 1000, 10, 1);
        other.setDataWidth(change == 0 ? 2 : 3);
        other.setRng(0, change == 1 ? 2 : 1);
        other.setChannelTime(0, change == 3 ? 2000 : 1000);
        for (int i = 0; i < (change == 2 ? 600 : 1024); ++i)
            other.AddExtData(0, i % 7);
        other.Process();
        const PowerAverage average = averagedSpectrum({&first, &first, &other}, 0, 2);
        QTEST(average.mismatch, "message");
        QCOMPARE(average.mismatchAt, 2);
        QVERIFY(average.power.empty());
        QCOMPARE(averagedMetrics(average, 2).message, average.mismatch);
    }

    // K = 3 on the simulated board: three captures whose figures are those of their data files;
    // a cancel in the third keeps the two completed, and the store holds the second.
    void seriesOnTheSimulatedBoard_data()
    {
        QTest::addColumn<int>("cancelIn"); // 0: none
        QTest::newRow("three") << 0;
        QTest::newRow("cancel in the third") << 3;
    }
    void seriesOnTheSimulatedBoard()
    {
        QFETCH(int, cancelIn);
        SimBoard board;
        BoardRig rig(8, [&](const QString &) { return std::make_unique<SimulatedSerialPort>(&board); });
        rig.model.setEnable(0, true);
        rig.model.setEnable(1, true);
        rig.model.setDataWidth(3);
        QVERIFY(rig.link.ComOpen(QStringLiteral("sim")));
        QCOMPARE(rig.link.RegWriteAll(), 36);
        rig.model.setRegister(0x38, false, 0x26);
        CaptureSeries series(rig.link);
        int current = 0;
        connect(&series, &CaptureSeries::captureStarted, this, [&](int index) { current = index; });
        connect(&rig.link.contRead(), &ContinuousRead::progress, this, [&](int received, int total) {
            if (current == cancelIn && received > 0 && received < total)
                series.cancel();
        });
        ClassData store;
        CaptureSet captures;

        const ContReadResult result = series.run(3, 2000, store, captures);

        const int done = cancelIn ? cancelIn - 1 : 3;
        QCOMPARE(captures.count(), done);
        QCOMPARE(result.capturesDone, done);
        QCOMPARE(int(result.outcome),
                 cancelIn ? int(ContReadResult::Cancelled) : int(ContReadResult::Completed));
        QCOMPARE(result.message().endsWith(QStringLiteral(" %1 of 3 captures completed.").arg(done)),
                 cancelIn > 0);
        QVERIFY(captures.holds(store));
        QCOMPARE(captures.channels(), (QList<int>{0, 1}));
        QVERIFY(!board.streaming());
        QTemporaryDir dir;
        for (int channel : {0, 1}) {
            for (int f = 0; f < CaptureSet::figures().size(); ++f) {
                std::vector<double> fromFiles;
                for (int i = 0; i < done; ++i) {
                    const QString path = dir.filePath(QStringLiteral("c%1.dat").arg(i));
                    QVERIFY(!WriteDataFile(path, captures.capture(i), rig.model).isError());
                    ClassData read;
                    QVERIFY(!ReadDataFile(path, read, rig.model).isError());
                    QCOMPARE(read.DataCount(channel), 2000);
                    fromFiles.push_back(
                        CaptureSet::figures().at(f).value(statisticsFigures(read, channel, rig.model)));
                }
                const CaptureSet::Spread s = captures.spread(channel, f),
                                         expected = CaptureSet::spreadOf(fromFiles);
                QCOMPARE(captures.values(channel, f), fromFiles);
                QCOMPARE(s.mean, expected.mean);
                QCOMPARE(s.sd, expected.sd);
                QCOMPARE(s.min, *std::min_element(fromFiles.begin(), fromFiles.end()));
                QCOMPARE(s.max, *std::max_element(fromFiles.begin(), fromFiles.end()));
            }
            // The board's noise differs from capture to capture.
            QVERIFY(captures.spread(channel, 6).sd > 0);
        }
    }

    void spreadTexts_data()
    {
        QTest::addColumn<int>("figure");
        QTest::addColumn<QList<double>>("values");
        QTest::addColumn<QString>("spread");
        QTest::addColumn<QString>("range");
        QTest::newRow("codes") << 0 << QList<double>{10, 12, 14} << "12.00 \u00B1 2.00 Dec"
                               << "10.00 / 14.00 Dec";
        QTest::newRow("rms noise") << 6 << QList<double>{2.95e-6, 3.0e-6, 2.96e-6} << "2.97 \u00B1 0.03 uV"
                                   << "2.95 / 3.00 uV";
        QTest::newRow("pk-pk noise") << 7 << QList<double>{950e-9, 1010e-9} << "980.000 \u00B1 42.426 nV"
                                     << "950.000 / 1010.000 nV";
        QTest::newRow("bits") << 8 << QList<double>{20.5, 20.7} << "20.60 \u00B1 0.14 Bits"
                              << "20.50 / 20.70 Bits";
        QTest::newRow("one capture") << 6 << QList<double>{400e-9} << "400.00 \u00B1 0.00 nV"
                                     << "400.00 / 400.00 nV";
    }
    void spreadTexts()
    {
        QFETCH(int, figure);
        QFETCH(QList<double>, values);
        // The texts format the spread of whatever values the figure holds.
        const CaptureSet::Spread s = CaptureSet::spreadOf(std::vector<double>(values.begin(), values.end()));
        QTEST(CaptureSet::spreadText(s, CaptureSet::figures().at(figure).kind, QStringLiteral(".")),
              "spread");
        QTEST(CaptureSet::rangeText(s, CaptureSet::figures().at(figure).kind, QStringLiteral(".")), "range");
    }

    // acquire --captures 3: the file holds the last capture; JSON carries the per-capture
    // arrays, whose last entries are the file's figures; a bad count is refused.
    void acquireCapturesFromTheCommandLine()
    {
        QTemporaryDir dir;
        const Run r = cli({"acquire", "--port", "sim", "--channels", "0,1", "--samples", "200", "--captures",
                           "3", "--format", "json", "--no-history", "-o", "a.dat"},
                          dir.path());
        QCOMPARE(r.exitCode, 0);
        const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        const Run stats = cli({"stats", "a.dat", "--format", "json"}, dir.path());
        const QStringList fileLines = stats.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (int c = 0; c < 2; ++c) {
            const QJsonObject object = QJsonDocument::fromJson(lines.at(c).toUtf8()).object();
            const QJsonObject file = QJsonDocument::fromJson(fileLines.at(c).toUtf8()).object();
            QCOMPARE(object.value("captures").toInt(), 3);
            const QJsonObject rms = object.value("series").toObject().value("rms_noise_v").toObject();
            const QJsonArray values = rms.value("values").toArray();
            QCOMPARE(values.size(), 3);
            QCOMPARE(values.at(2).toDouble(), file.value("rms_noise_v").toDouble());
            QCOMPARE(object.value("rms_noise_v").toDouble(), file.value("rms_noise_v").toDouble());
            const double mean =
                (values.at(0).toDouble() + values.at(1).toDouble() + values.at(2).toDouble()) / 3;
            QVERIFY(std::fabs(rms.value("mean").toDouble() - mean) <= 1e-15 * mean);
        }
        const Run text = cli({"acquire", "--port", "sim", "--channels", "0", "--samples", "50", "--captures",
                              "2", "--no-history", "-o", "b.dat"},
                             dir.path());
        QCOMPARE(text.exitCode, 0);
        QVERIFY2(text.out.startsWith("Channel 0\nCaptures\t2\nConv.Time\t"), qPrintable(text.out));
        QVERIFY(text.out.contains(
            QRegularExpression("\nRMS Noise\t[0-9.]+ .V \t[0-9.]+ \u00B1 [0-9.]+ .V \\([0-9.]+ / "
                               "[0-9.]+ .V\\)\n")));
        const Run bad = cli({"acquire", "--port", "sim", "--channels", "0", "--captures", "0", "-o", "c.dat"},
                            dir.path());
        QCOMPARE(bad.exitCode, 2);
        QCOMPARE(bad.err, "qm416x-cli: --captures must be a whole number from 1 to 1000, not '0'\n");

        // The two files averaged: the metrics say over how many; another range is refused.
        const Run fft =
            cli({"fft", "a.dat", "a.dat", "--channel", "0", "--metrics", "--format", "json"}, dir.path());
        QCOMPARE(fft.exitCode, 0);
        QCOMPARE(QJsonDocument::fromJson(fft.out.toUtf8()).object().value("captures").toInt(), 2);
        const Run refused = cli({"fft", "a.dat", "b.dat", "--channel", "0"}, dir.path());
        QCOMPARE(refused.exitCode, 1);
        QCOMPARE(refused.err,
                 "qm416x-cli: b.dat does not match a.dat: channel 0 has another transform length "
                 "(32 codes, not 128 codes)\n");
    }
};

QTEST_GUILESS_MAIN(TestCaptures)
#include "tst_captures.moc"
