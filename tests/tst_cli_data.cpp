#include "ProcessRun.h"
#include "analysis/AllanDeviation.h"
#include "analysis/EditFFT.h"
#include "analysis/FftMetrics.h"
#include "analysis/NoiseDensity.h"
#include "data/ClassData.h"
#include "data/DataFile.h"
#include "data/ShowStatistics.h"
#include "data/StatisticsFigures.h"
#include "model/QM4168.h"

#include <QtTest>

#include <cmath>

namespace {

using Run = ProcessRun;

// Channels 1 and 4 with different lengths and noise, channel 6 all zero.
void fillStore(ClassData &d)
{
    d.setDataWidth(3);
    d.setClamp(false);
    d.setRefVoltage(2.5);
    d.setRng(1, 4);
    d.setChannelTime(1, 2425 / 6.144);
    d.setRng(4, 1);
    d.setChannelTime(4, 1000);
    d.setChannelTime(6, 100);
    for (int i = 0; i < 300; ++i)
        d.AddExtData(1, static_cast<qint32>(std::lround(5000 * std::sin(i * 0.3) + (i * 7919) % 23)));
    for (int i = 0; i < 70; ++i)
        d.AddExtData(4, 4000000 + (i * 31) % 17);
    for (int i = 0; i < 8; ++i)
        d.AddExtData(6, 0);
    d.Process();
}

// The numbers under the given keys.
QList<double> numbers(const QJsonObject &object, const QStringList &keys)
{
    QList<double> result;
    for (const QString &key : keys)
        result << object.value(key).toDouble(-1);
    return result;
}

} // namespace

class TestCliData : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    const QString m_file = QStringLiteral("a.dat"); // in m_dir
    QM4168 m_adc;
    ClassData m_data;

    // Runs the tool in the folder, so that file names in its arguments and messages are relative.
    Run cli(const QStringList &arguments, const QStringList &environment = {}, const QString &outFile = {})
    {
        return runProcess(QStringLiteral(QM_CLI_PATH), arguments, m_dir.path(), environment, outFile);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_adc.setEvBoard(8);
        ClassData acquired;
        fillStore(acquired);
        const QString path = m_dir.filePath(m_file);
        QVERIFY(!WriteDataFile(path, acquired, m_adc).isError());
        // The tool sees what the program sees after opening the file.
        QVERIFY(!ReadDataFile(path, m_data, m_adc).isError());
        // Channels too short to hold data.
        QFile tooShort(m_dir.filePath(QStringLiteral("short.dat")));
        QVERIFY(tooShort.open(QIODevice::WriteOnly));
        tooShort.write(
            "Parameters:, Channel(s) enabled = 2,Vref = 2.5,DataWidth = 24Bits, Clamp = True, Data "
            "format = dec\r\nChannel 0 : , Input Ranges = +1.25, Channel Time = 10 us, Nb of Data = "
            "3\r\nChannel 2 : , Input Ranges = +1.25, Channel Time = 10 us, Nb of Data = 1\r\n"
            "Channel 0,Channel 2,\r\n1,2,\r\n3,\r\n4,\r\n");
        // A QM4162 file, and files whose ranges belong to no variant or to both tables.
        QM4168 q62;
        q62.setEvBoard(2);
        ClassData two;
        two.setDataWidth(2);
        two.setRefVoltage(2.5);
        two.setRng(2, 2);
        two.setChannelTime(0, 500);
        two.setChannelTime(2, 500);
        QRandomGenerator random(3);
        for (int i = 0; i < 256; ++i) { // channel 2: a DC input with noise
            two.AddExtData(0, (i * 37) % 29);
            two.AddExtData(2, 20000 + random.bounded(-50, 50) + random.bounded(-50, 50));
        }
        QVERIFY(!WriteDataFile(m_dir.filePath(QStringLiteral("q62.dat")), two, q62).isError());
        const QByteArray lines =
            "Channel 0 : , Input Ranges = \xB1"
            "10, Channel Time = 10 us, Nb of Data = 4\r\n"
            "Channel 1 : , Input Ranges = +1.25, Channel Time = 10 us, Nb of Data = 4\r\n"
            "Channel 0,Channel 1,\r\n" +
            QByteArray("1,2,\r\n").repeated(4);
        for (const auto &[name, text] :
             {std::pair{"mixed.dat", lines}, {"none.dat", QByteArray(lines).replace("+1.25", "+3")}}) {
            QFile file(m_dir.filePath(QString::fromLatin1(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(
                "Parameters:, Channel(s) enabled = 2,Vref = 2.5,DataWidth = 16Bits, Clamp = True, Data "
                "format = dec\r\n" +
                text);
        }
    }

    // Without --variant the file's ranges choose it.
    void variantFromTheRanges()
    {
        const Run inferred = cli({"stats", "q62.dat"});
        QCOMPARE(inferred.exitCode, 0);
        QVERIFY(inferred.out.contains(QStringLiteral("Input Range\t\u00B15 V")));
        QCOMPARE(inferred.out, cli({"stats", "q62.dat", "--variant", "62"}).out);
    }

    void statsInEveryFormat()
    {
        const Run run = cli({"stats", m_file});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.err.isEmpty());
        QString expected;
        for (int c : {1, 4, 6}) {
            if (!expected.isEmpty())
                expected += QLatin1Char('\n');
            expected += QStringLiteral("Channel %1\n").arg(c);
            for (const StatisticsCell &cell : ShowStatistics(m_data, c, m_adc, QLocale::c()) +
                                                  NoiseFreeStatistics(m_data, c, m_adc, QLocale::c()))
                expected += cell.label + QLatin1Char('\t') + cell.value + QLatin1Char('\n');
        }
        QCOMPARE(run.out, expected);

        const Run one = cli({"stats", m_file, "--channel=4"});
        QCOMPARE(one.exitCode, 0);
        QVERIFY(one.out.startsWith(QStringLiteral("Channel 4\nConv.Time\t1000 us \n")));
        QCOMPARE(one.out.count(QStringLiteral("Channel")), 1);

        // JSON Lines and CSV carry the numbers the table's texts are made of; CSV reads back to
        // the same numbers as JSON; --quiet and a redirected standard error leave only data.
        const Run json = cli({"stats", m_file, "--format", "json", "--quiet"});
        const Run csv = cli({"stats", m_file, "--format=csv"});
        QCOMPARE(json.exitCode, 0);
        QCOMPARE(json.err + csv.err, QString());
        QStringList lines = json.out.split(QLatin1Char('\n'));
        QStringList rows = csv.out.split(QLatin1Char('\n'));
        QCOMPARE(lines.takeLast() + rows.takeLast(), QString());
        const QStringList heading = rows.takeFirst().split(QLatin1Char(','));
        QCOMPARE((QList<qsizetype>{lines.size(), rows.size()}), (QList<qsizetype>{3, 3}));
        for (int i = 0; i < 3; ++i) {
            const QJsonObject o = QJsonDocument::fromJson(lines.at(i).toUtf8()).object();
            const int c = QList<int>({1, 4, 6}).at(i);
            const StatisticsFigures f = statisticsFigures(m_data, c, m_adc);
            QCOMPARE(numbers(o, {"channel", "samples", "code_dev", "avg_code", "max_code", "conv_time_s",
                                 "rms_noise_v", "rms_resolution_bits", "pkpk_estimated_v",
                                 "noise_free_bits_estimated"}),
                     (QList<double>{double(c), double(f.samples), f.codeDev, f.avgCode, double(f.maxCode),
                                    f.convTimeS, f.rmsNoiseV, f.rmsResolutionBits, 6.6 * f.codeDev * f.lsbV,
                                    f.codeDev > 0 ? 24 - std::log2(6.6 * f.codeDev) : 24.0}));
            QCOMPARE(o.value("texts").toObject().value("RMS Noise").toString(),
                     ShowStatistics(m_data, c, m_adc, QLocale::c()).at(4).value.trimmed());
            const QStringList cells = rows.at(i).split(QLatin1Char(','));
            QCOMPARE(cells.size(), heading.size());
            for (int k = 0; k < heading.size(); ++k)
                QCOMPARE(cells.at(k).toDouble(), o.value(heading.at(k)).toVariant().toDouble());
        }
    }

    void fftTableAndMetrics()
    {
        // Exactly the routine's doubles (17 digits read back to the same value), whatever the
        // user's locale; Hanning by default.
        const Run run = cli({"fft", m_file, "--channel", "1", "--no-comments"},
                            {"LC_ALL=de_DE.UTF-8", "LANG=de_DE.UTF-8"});
        QCOMPARE(run.exitCode, 0);
        const FftResult expected = EditFFT(m_data, 1, 2);
        QStringList lines = run.out.split(QLatin1Char('\n'));
        QCOMPARE(lines.takeFirst(), QStringLiteral("frequency_hz,level_db"));
        QCOMPARE(lines.takeLast(), QString());
        QCOMPARE(lines.size(), 129); // 300 samples: 256 transformed
        for (int k = 0; k < lines.size(); ++k) {
            const QStringList fields = lines.at(k).split(QLatin1Char(','));
            QCOMPARE(fields.size(), 2);
            QCOMPARE(fields.at(0).toDouble(), expected.table.x.at(k));
            QCOMPARE(fields.at(1).toDouble(), expected.table.y.at(k));
        }
        // The metrics, one per line; windows by number (0 the first), or by name in any case.
        const Run text = cli({"fft", m_file, "--channel", "1", "--window", "0", "--metrics"});
        const Run json = cli({"fft", m_file, "--channel", "1", "--metrics", "--format", "json", "--window",
                              "blackman-harris"});
        const FftMetrics m = fftMetrics(m_data, 1, 0), blackmanHarris = fftMetrics(m_data, 1, 5);
        QVERIFY(m.valid && blackmanHarris.valid);
        QString figures = QStringLiteral("Fundamental %1 Hz\n").arg(m.fundamentalHz, 0, 'f', 4);
        for (const auto &[label, value, unit] :
             QList<std::tuple<QString, double, QString>>{{"SNR", m.snrDb, "dB"},
                                                         {"THD", m.thdDb, "dB"},
                                                         {"SINAD", m.sinadDb, "dB"},
                                                         {"SFDR", m.sfdrDbc, "dBc"},
                                                         {"ENOB", m.enobBits, "bits"}})
            figures += QStringLiteral("%1 %2 %3\n").arg(label).arg(value, 0, 'f', 2).arg(unit);
        figures += QStringLiteral("ENOB(FS) %1 bits\nLevel %2 dBFS\n")
                       .arg(m.enobFullScaleBits, 0, 'f', 2)
                       .arg(m.fundamentalDbfs, 0, 'f', 2);
        figures += QStringLiteral("Window: Rectangular\nHarmonics: 2nd to 6th\nExcluded bins: DC 0..1, tones "
                                  "\u00B11\nSFDR range: whole band\nFull scale: 16777216 codes\n");
        QCOMPARE((QList<int>{text.exitCode, json.exitCode}), (QList<int>{0, 0}));
        QCOMPARE(text.err + text.out, figures);
        const QJsonObject o = QJsonDocument::fromJson(json.out.toUtf8()).object();
        QCOMPARE(o.value("window").toString(), QStringLiteral("Blackman-Harris"));
        QCOMPARE(
            numbers(o, {"snr_db", "enob_bits", "fundamental_hz"}),
            (QList<double>{blackmanHarris.snrDb, blackmanHarris.enobBits, blackmanHarris.fundamentalHz}));
        QCOMPARE(o.value("texts").toObject().value("SNR").toString(),
                 metricsLines(blackmanHarris).at(1).section(' ', 1));
        QVERIFY(o.value("reason").isNull());
        QCOMPARE(o.value("definition").toObject(), blackmanHarris.definition.toJson());
        // A definition of its own: THD of the 2nd harmonic only, as the library computes it.
        MetricDefinition own = MetricDefinition::forWindow(5);
        own.highestHarmonic = 2;
        own.toneBins = 5;
        own.sfdrFromHz = 20;
        const Run set = cli({"fft", m_file, "--channel", "1", "--metrics", "--format", "json", "--window",
                             "5", "--harmonics", "2", "--exclude-tone", "5", "--sfdr-range", "20:"});
        const QJsonObject s = QJsonDocument::fromJson(set.out.toUtf8()).object();
        const FftMetrics ownMetrics = fftMetrics(m_data, 1, own);
        QCOMPARE(numbers(s, {"thd_db", "sfdr_dbc", "enob_fs_bits"}),
                 (QList<double>{ownMetrics.thdDb, ownMetrics.sfdrDbc, ownMetrics.enobFullScaleBits}));
        QCOMPARE(s.value("definition").toObject().value("tone_bins").toInt(), 5);

        // No tone: no figures, the reason instead, and not a failure.
        const QStringList dc = {"fft", "q62.dat", "--channel", "2", "--metrics", "--format"};
        const Run none = cli(dc + QStringList{"text"}), noneCsv = cli(dc + QStringList{"csv"}),
                  noneJson = cli(dc + QStringList{"json"});
        QCOMPARE((QList<int>{none.exitCode, noneCsv.exitCode, noneJson.exitCode}), (QList<int>{0, 0, 0}));
        QVERIFY(none.out.startsWith(QStringLiteral("no tone found\nWindow: Hanning\n")));
        QCOMPARE(
            noneCsv.out,
            QStringLiteral(
                "# Window: Hanning\n# Harmonics: 2nd to 6th\n# Excluded bins: DC 0..2, tones "
                "\u00B12\n# SFDR range: whole band\n# Full scale: 65536 codes\n"
                "channel,window,fundamental_bin,fundamental_hz,snr_db,thd_db,sinad_db,"
                "sfdr_dbc,enob_bits,enob_fs_bits,level_dbfs,reason\n2,Hanning,,,,,,,,,,no tone found\n"));
        const QJsonObject n = QJsonDocument::fromJson(noneJson.out.toUtf8()).object();
        QCOMPARE(n.value("reason").toString(), QStringLiteral("no tone found"));
        for (const char *key : {"fundamental_bin", "snr_db", "enob_bits"})
            QVERIFY(n.value(key).isNull());
        // The table in dBFS: the tone's amplitude against the 24-bit half scale.
        // The noise density, its bandwidth stated first.
        const Run psd = cli({"fft", m_file, "--channel", "1", "--psd"});
        QCOMPARE(psd.exitCode, 0);
        const NoiseDensity density = noiseDensity(m_data, 1, 2, m_adc);
        QCOMPARE(psd.out.section('\n', 0, 1),
                 QStringLiteral("# One-sided noise density, corrected for the window: "
                                "%1\nfrequency_hz,density_v_per_rthz")
                     .arg(density.enbwText(2)));
        QCOMPARE(psd.out.section('\n', 7, 7).section(',', 1).toDouble(), density.densityV.at(5));
        const Run fs = cli({"fft", m_file, "--channel", "1", "--scale", "dbfs", "--no-comments"});
        QVERIFY(fs.out.startsWith(QStringLiteral("frequency_hz,level_dbfs\n")));
        QCOMPARE(fs.out.count(QLatin1Char('\n')), 130);
        QCOMPARE(fs.out.section(QLatin1Char('\n'), 5, 5).section(QLatin1Char(','), 1).toDouble(),
                 EditFFT(m_data, 1, 2, FftScale::FullScale).table.y.at(4));
    }

    void histListsEachCodeOnce()
    {
        // Channel 4 holds 4000000 + (31 i mod 17), i < 70: each of the 17 codes four times,
        // and those of i = 68 and 69 (offsets 0 and 14) once more.
        // The table opens with what it is about, as the windows' exports do.
        const Run run = cli({"hist", m_file, "--channel", "4"});
        QCOMPARE(run.exitCode, 0);
        const QString range = ShowStatistics(m_data, 4, m_adc).at(1).value.trimmed();
        QString expected =
            QStringLiteral("# Plot: Histogram\n# Channel: 4\n# Input Range: %1\n# Conv.Time: 1000 us\n"
                           "# Samples: 70\n")
                .arg(range);
        QVERIFY(run.out.startsWith(expected));
        QVERIFY(run.out.section(QLatin1Char('\n'), 5, 5).startsWith(QStringLiteral("# Date: 20")));
        QCOMPARE(cli({"hist", m_file, "--channel", "4", "--no-comments"}).out,
                 run.out.section(QLatin1Char('\n'), 6));
        expected = QStringLiteral("code,count\n");
        for (int offset = 0; offset < 17; ++offset)
            expected +=
                QStringLiteral("%1,%2\n").arg(4000000 + offset).arg(offset == 0 || offset == 14 ? 5 : 4);
        QCOMPARE(run.out.section(QLatin1Char('\n'), 6), expected);
        const QJsonObject hist =
            QJsonDocument::fromJson(cli({"hist", m_file, "--channel", "4", "--format", "json"}).out.toUtf8())
                .object();
        QCOMPARE(numbers(hist, {"channel", "samples"}), (QList<double>{4, 70}));
        QCOMPARE(hist.value("bins").toArray().size(), 17);
        QCOMPARE(hist.value("bins").toArray().at(14).toObject(),
                 QJsonObject({{"code", 4000014}, {"count", 5}}));
    }

    void allanInEveryFormat()
    {
        // Channel 4: 70 samples 1 ms apart, so m = 1 .. 16, as the program computes them.
        const AllanCurve curve = allanDeviation(m_data, 4, m_adc);
        QCOMPARE(curve.points.size(), size_t(5));
        const auto number = [](double v) { return QString::number(v, 'g', 17); };
        QString csv = QStringLiteral("tau_s,adev_code,adev_v,count\n"), text = csv;
        text.replace(',', '\t');
        for (size_t i = 0; i < curve.points.size(); ++i) {
            const AllanPoint &p = curve.points[i];
            const QStringList row = {number(p.tauS), number(p.adevCode), number(p.adevV),
                                     QString::number(p.count)};
            csv += row.join(',') + '\n';
            text += row.join('\t') + (int(i) == curve.minimum ? "\t*\n" : "\n");
        }
        const AllanPoint &low = curve.points[curve.minimum];
        text += QStringLiteral("Minimum: tau %1 s, %2 codes, %3 V\n")
                    .arg(number(low.tauS), number(low.adevCode), number(low.adevV));
        QCOMPARE(cli({"allan", m_file, "--channel", "4", "--format", "csv"}).out, csv);
        QCOMPARE(cli({"allan", m_file, "--channel", "4"}).out, text);
        QCOMPARE((QList<double>{curve.points[0].tauS, double(curve.points[4].count)}),
                 (QList<double>{1e-3, 39}));
        const QJsonObject json =
            QJsonDocument::fromJson(cli({"allan", m_file, "--channel=4", "--format=json"}).out.toUtf8())
                .object();
        QCOMPARE(numbers(json, {"channel", "samples"}), (QList<double>{4, 70}));
        QCOMPARE(json.value("points").toArray().size(), 5);
        QCOMPARE(numbers(json.value("minimum").toObject(), {"tau_s", "adev_code", "adev_v", "count"}),
                 (QList<double>{low.tauS, low.adevCode, low.adevV, double(low.count)}));
    }

    void convertWritesOneColumnPerChannel()
    {
        const Run run = cli({"convert", m_file, "--csv"});
        QCOMPARE(run.exitCode, 0);
        QStringList lines = run.out.split(QLatin1Char('\n'));
        QCOMPARE(lines.takeLast(), QString());
        QCOMPARE(lines.size(), 301);
        QCOMPARE(lines.at(0), QStringLiteral("Channel 1,Channel 4,Channel 6"));
        QCOMPARE(lines.at(1), QStringLiteral("%1,%2,0").arg(m_data.ExtData(1, 1)).arg(m_data.ExtData(4, 1)));
        QCOMPARE(lines.at(70),
                 QStringLiteral("%1,%2,").arg(m_data.ExtData(1, 70)).arg(m_data.ExtData(4, 70)));
        QCOMPARE(lines.at(300), QStringLiteral("%1,,").arg(m_data.ExtData(1, 300)));
    }

    void plotDrawsPngAndPdf()
    {
        // The kind of plot, and the format by the suffix. No display: the tool draws offscreen
        // whatever the environment says.
        for (const QString output : {"time.png", "hist.pdf", "fft.PNG"}) {
            const QByteArray magic = output.endsWith(".pdf") ? "%PDF-" : "\x89PNG\r\n";
            const Run run =
                cli({"plot", m_file, "--channel", "1", "--kind", output.section('.', 0, 0), "-o", output},
                    {"DISPLAY=", "QT_QPA_PLATFORM=xcb"});
            QCOMPARE(run.err, QString());
            QCOMPARE(run.exitCode, 0);
            QFile file(m_dir.filePath(output));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY(file.size() > 1000);
            QCOMPARE(file.read(magic.size()), magic);
        }
        // The Allan deviation's picture comes with its table.
        const Run allan = cli({"allan", m_file, "--channel", "4", "--format", "csv", "--plot", "allan.pdf"});
        QCOMPARE(allan.exitCode, 0);
        QCOMPARE(allan.out, cli({"allan", m_file, "--channel", "4", "--format", "csv"}).out);
        QFile file(m_dir.filePath("allan.pdf"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.size() > 1000);
        QCOMPARE(file.read(5), QByteArray("%PDF-"));
    }

    void helpForEveryCommand()
    {
        // Every command's help names the exit codes; help COMMAND is COMMAND --help.
        const Run overview = cli({"--help"});
        for (const QString &command :
             QStringList{"stats", "fft", "hist", "convert", "plot", "regs", "settings", "board", "acquire",
                         "history", "log", "allan"}) {
            QVERIFY(overview.out.contains(QStringLiteral("  %1").arg(command)));
            const Run run = cli({command, "--help"});
            QCOMPARE(run.exitCode, 0);
            QVERIFY2(run.out.startsWith(QStringLiteral("Usage: qm416x-cli %1 ").arg(command)),
                     qPrintable(run.out));
            QVERIFY(run.out.endsWith(
                QStringLiteral("  2  usage error (unknown option, missing or bad value)\n")));
            QCOMPARE(cli({"help", command}).out, run.out);
        }
    }

    void refusedRuns_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        const auto row = [](const char *name, const char *arguments, int exitCode, const QString &message) {
            QTest::newRow(name) << QString::fromLatin1(arguments).split(' ', Qt::SkipEmptyParts) << exitCode
                                << message;
        };
        // Usage errors.
        row("no file", "stats", 2, "no data file given");
        row("two files", "stats a.dat other.dat", 2, "one data file only, not 'a.dat other.dat'");
        row("unknown option", "stats a.dat --colour", 2, "Unknown option 'colour'.");
        row("channel 8", "stats a.dat --channel 8", 2, "--channel must be a channel number 0..7, not '8'");
        row("channel x", "hist a.dat --channel x", 2, "--channel must be a channel number 0..7, not 'x'");
        row("no channel value", "hist a.dat --channel", 2, "Missing value after '--channel'.");
        row("variant 65", "stats a.dat --variant 65", 2, "--variant must be 62, 64, 68 or 69, not '65'");
        row("fft without channel", "fft a.dat", 2, "fft needs --channel N");
        row("hist without channel", "hist a.dat", 2, "hist needs --channel N");
        row("allan without channel", "allan a.dat", 2, "allan needs --channel N");
        row("allan of no data", "allan a.dat --channel 2", 1, "a.dat: channel 2 holds no data");
        row("allan plot format", "allan a.dat --channel 4 --plot a.svg", 2,
            "the output must end in .png or .pdf, not 'a.svg'");
        const QString windows =
            QStringLiteral("--window must be 0..5 or one of Rectangular, Triangular, Hanning, "
                           "Hamming, Blackman, Blackman-Harris, not '%1'");
        row("unknown window", "fft a.dat --channel 1 --window Kaiser", 2, windows.arg("Kaiser"));
        row("window 6", "fft a.dat --channel 1 --window 6", 2, windows.arg("6"));
        row("harmonics 0", "fft a.dat --channel 1 --metrics --harmonics 0", 2,
            "--harmonics must be a whole number from 1 to 50, not '0'");
        row("exclude-dc x", "fft a.dat --channel 1 --metrics --exclude-dc x", 2,
            "--exclude-dc must be a whole number from 0 to 64, not 'x'");
        row("sfdr reversed", "fft a.dat --channel 1 --metrics --sfdr-range 50:20", 2,
            "--sfdr-range must be F1:F2 in Hz with 0 <= F1 < F2, not '50:20'");
        row("definition without metrics", "fft a.dat --channel 1 --harmonics 3", 2,
            "--harmonics needs --metrics");
        row("psd and metrics", "fft a.dat --channel 1 --psd --metrics", 2,
            "--metrics and --psd exclude each other");
        row("convert without format", "convert a.dat", 2, "convert needs an output format: --csv");
        row("convert with value", "convert a.dat --csv=yes", 2, "Unexpected value after '--csv'.");
        row("format xml", "stats a.dat --format xml", 2, "--format must be text, csv or json, not 'xml'");
        row("table as json", "fft a.dat --channel=1 --format=json", 2,
            "the spectrum table is CSV; --format text|json needs --metrics");
        row("channel twice", "hist a.dat --channel=1 --channel=4", 2, "option --channel given twice");
        row("no command", "", 2, "no command given (see 'qm416x-cli --help')");
        row("unknown command", "stat a.dat", 2, "unknown command 'stat' (see 'qm416x-cli --help')");
        row("plot without kind", "plot a.dat --channel 1 -o a.png", 2, "plot needs --kind");
        row("plot kind", "plot a.dat --channel 1 --kind bode -o a.png", 2,
            "--kind must be time, hist or fft, not 'bode'");
        row("plot format", "plot a.dat --channel 1 --kind time -o a.svg", 2,
            "the output must end in .png or .pdf, not 'a.svg'");
        // Files that cannot be read (the data file suite checks each message), and what cannot
        // be done with them.
        row("missing file", "stats missing.dat", 1, "missing.dat: error 53 : File not found");
        row("three channels on a QM4162", "stats a.dat --variant 62", 1,
            "a.dat: Bad File : Error in number of Channels enabled");
        row("QM4168 file as a QM4164", "stats a.dat --variant 64", 1,
            "a.dat: Bad File : Input range \"\u00B1"
            "2.5\" of Channel 1 is not a range of the QM4164 in line 2");
        row("QM4162 file as a QM4168", "stats q62.dat --variant 68", 1,
            "q62.dat: Bad File : Input range \"\u00B1"
            "10\" of Channel 0 is not a range of the QM4168 in line 2");
        row("range of no variant", "stats none.dat", 1,
            "none.dat: Bad File : Input range \"+3\" of Channel 1 is not a range of any QM416x variant in "
            "line 3");
        row("ranges of both tables", "stats mixed.dat", 1,
            "mixed.dat: Bad File : Input range \"+1.25\" of Channel 1 is not a range of the QM4164 in line "
            "3");
        row("channel without data", "hist a.dat --channel 2", 1, "a.dat: channel 2 holds no data");
        row("plot unwritable", "plot a.dat --channel 1 --kind time -o none/a.png", 1,
            "cannot write none/a.png: error 76 : Path not found");
        row("allan plot unwritable", "allan a.dat --channel 4 --plot none/a.png", 1,
            "cannot write none/a.png: error 76 : Path not found");
        row("stats", "stats short.dat", 1, "short.dat: no channel holds data");
        row("convert", "convert short.dat --csv", 1, "short.dat: no channel holds data");
        row("all codes zero", "fft a.dat --channel 6", 1, "Error in VBFFT module--EditFFT");
        // Standard output that cannot be written (the last word names where it goes).
        const QString full = QStringLiteral("cannot write the standard output: No space left on device");
        for (const char *arguments : {"stats a.dat", "convert a.dat --csv", "fft a.dat --channel 1",
                                      "hist a.dat --channel 4 --format json", "--help"})
            row(arguments, qPrintable(QString::fromLatin1(arguments) + " >/dev/full"), 1, full);
    }

    void refusedRuns()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const QString out =
            arguments.value(arguments.size() - 1).startsWith('>') ? arguments.takeLast().mid(1) : QString();
        const Run run = cli(arguments, {}, out);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY(run.out.isEmpty());
        QCOMPARE(run.err, QStringLiteral("qm416x-cli: ") + message + QLatin1Char('\n'));
    }
};

QTEST_GUILESS_MAIN(TestCliData)
#include "tst_cli_data.moc"
