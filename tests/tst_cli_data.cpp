#include "analysis/BuildHistogram.h"
#include "analysis/EditFFT.h"
#include "data/ClassData.h"
#include "data/DataFile.h"
#include "data/ShowStatistics.h"
#include "model/QM4168.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

Run cli(const QStringList &arguments, const QStringList &environment = {})
{
    QProcess process;
    if (!environment.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString &entry : environment)
            env.insert(entry.section(QLatin1Char('='), 0, 0), entry.section(QLatin1Char('='), 1));
        process.setProcessEnvironment(env);
    }
    process.start(QStringLiteral(QM_CLI_PATH), arguments);
    Run run;
    if (!process.waitForFinished(60000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// Channels 1 and 4 with different lengths and noise, channel 6 all zero.
void fillStore(ClassData &d)
{
    d.Clear();
    d.setDataWidth(3);
    d.setClamp(false);
    d.setRefVoltage(2.5);
    d.setRng(1, 4);
    d.setChannelTime(1, 2425 / 6.144);
    d.setRng(4, 1);
    d.setChannelTime(4, 1000);
    d.setRng(6, 0);
    d.setChannelTime(6, 100);
    for (int i = 0; i < 300; ++i)
        d.AddExtData(1, static_cast<qint32>(std::lround(5000 * std::sin(i * 0.3) + (i * 7919) % 23)));
    for (int i = 0; i < 70; ++i)
        d.AddExtData(4, 4000000 + (i * 31) % 17);
    for (int i = 0; i < 8; ++i)
        d.AddExtData(6, 0);
    d.Process();
}

} // namespace

class TestCliData : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_file;
    QM4168 m_adc;
    ClassData m_data;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_adc.setEvBoard(8);
        ClassData acquired;
        fillStore(acquired);
        m_file = m_dir.filePath(QStringLiteral("acquisition.dat"));
        QVERIFY(!WriteDataFile(m_file, acquired, m_adc).isError());
        // The tool sees what the program sees after opening the file.
        QVERIFY(!ReadDataFile(m_file, m_data, m_adc).isError());
    }

    void statsShowsTheTableOfEveryChannel()
    {
        const Run run = cli({"stats", m_file});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.err.isEmpty());
        QString expected;
        for (int c : {1, 4, 6}) {
            if (!expected.isEmpty())
                expected += QLatin1Char('\n');
            expected += QStringLiteral("Channel %1\n").arg(c);
            for (const StatisticsCell &cell : ShowStatistics(m_data, c, m_adc, QLocale::c()))
                expected += cell.label + QLatin1Char('\t') + cell.value + QLatin1Char('\n');
        }
        QCOMPARE(run.out, expected);
        QVERIFY(run.out.contains(QStringLiteral("Input Range\t\u00B12.5 V    \n")));

        const Run one = cli({"stats", m_file, "--channel=4"});
        QCOMPARE(one.exitCode, 0);
        QVERIFY(one.out.startsWith(QStringLiteral("Channel 4\nConv.Time\t1000 us \n")));
        QVERIFY(!one.out.contains(QStringLiteral("Channel 1")));

        // The QM4164 table has no 2.5 V range: the file's ranges do not match and read as
        // code 0, 10 V bipolar.
        const Run small = cli({"stats", m_file, "--variant", "64", "--channel", "1"});
        QCOMPARE(small.exitCode, 0);
        QVERIFY(small.out.contains(QStringLiteral("Input Range\t\u00B110 V    \n")));
    }

    void fftGivesTheSpectrumTable()
    {
        // Exactly the routine's doubles (17 digits read back to the same value), whatever the
        // user's locale; Hanning by default, window names in any case.
        const QStringList channel1 = {"fft", m_file, "--channel", "1"};
        const QList<QPair<int, Run>> runs = {{0, cli(channel1 + QStringList{"--window", "0"})},
                                             {5, cli(channel1 + QStringList{"--window", "5"})},
                                             {2, cli(channel1)},
                                             {2, cli(channel1 + QStringList{"--window", "hanning"},
                                                     {"LC_ALL=de_DE.UTF-8", "LANG=de_DE.UTF-8"})}};
        for (const auto &[window, run] : runs) {
            QCOMPARE(run.exitCode, 0);
            const FftResult expected = EditFFT(m_data, 1, window);
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
        }

        // All codes zero: the routine fails, the tool says so.
        const Run zero = cli({"fft", m_file, "--channel", "6"});
        QCOMPARE(zero.exitCode, 1);
        QVERIFY(zero.out.isEmpty());
        QCOMPARE(zero.err, QStringLiteral("qm416x-cli: Error in VBFFT module--EditFFT\n"));
    }

    void histListsEachCodeOnce()
    {
        const Run run = cli({"hist", m_file, "--channel", "4"});
        QCOMPARE(run.exitCode, 0);
        const PlotTable table = BuildHistogram(m_data, 4);
        QString expected = QStringLiteral("code,count\n");
        int total = 0;
        for (int row = 1; row < table.rows(); row += 3) {
            expected += QStringLiteral("%1,%2\n").arg(qint64(table.x.at(row))).arg(qint64(table.y.at(row)));
            total += int(table.y.at(row));
        }
        QCOMPARE(total, 70);
        QCOMPARE(run.out, expected);
        QVERIFY(run.out.startsWith(QStringLiteral("code,count\n4000000,")));
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
        QCOMPARE(lines.at(9), QStringLiteral("%1,%2,").arg(m_data.ExtData(1, 9)).arg(m_data.ExtData(4, 9)));
        QCOMPARE(lines.at(70),
                 QStringLiteral("%1,%2,").arg(m_data.ExtData(1, 70)).arg(m_data.ExtData(4, 70)));
        QCOMPARE(lines.at(71), QStringLiteral("%1,,").arg(m_data.ExtData(1, 71)));
        QCOMPARE(lines.at(300), QStringLiteral("%1,,").arg(m_data.ExtData(1, 300)));
    }

    void helpForEveryCommand()
    {
        for (const QString &command : QStringList{"stats", "fft", "hist", "convert"}) {
            const Run run = cli({command, "--help"});
            QCOMPARE(run.exitCode, 0);
            QVERIFY2(run.out.startsWith(QStringLiteral("Usage: qm416x-cli %1 FILE.dat").arg(command)),
                     qPrintable(run.out));
        }
        const Run overview = cli({"--help"});
        for (const QString &command : QStringList{"stats", "fft", "hist", "convert"})
            QVERIFY(overview.out.contains(QStringLiteral("  %1").arg(command)));
    }

    void badArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        const QString f = QStringLiteral("FILE");
        QTest::newRow("no file") << QStringList{"stats"} << "qm416x-cli: no data file given\n";
        QTest::newRow("two files") << QStringList{"stats", f, "other.dat"}
                                   << "qm416x-cli: one data file only, not 'FILE other.dat'\n";
        QTest::newRow("unknown option")
            << QStringList{"stats", f, "--colour"} << "qm416x-cli: unknown option --colour\n";
        QTest::newRow("channel 8") << QStringList{"stats", f, "--channel", "8"}
                                   << "qm416x-cli: --channel must be a channel number 0..7, not '8'\n";
        QTest::newRow("channel x") << QStringList{"hist", f, "--channel", "x"}
                                   << "qm416x-cli: --channel must be a channel number 0..7, not 'x'\n";
        QTest::newRow("no channel value")
            << QStringList{"hist", f, "--channel"} << "qm416x-cli: option --channel needs a value\n";
        QTest::newRow("variant 65") << QStringList{"stats", f, "--variant", "65"}
                                    << "qm416x-cli: --variant must be 62, 64, 68 or 69, not '65'\n";
        QTest::newRow("fft without channel")
            << QStringList{"fft", f} << "qm416x-cli: fft needs --channel N\n";
        QTest::newRow("hist without channel")
            << QStringList{"hist", f} << "qm416x-cli: hist needs --channel N\n";
        QTest::newRow("unknown window")
            << QStringList{"fft", f, "--channel", "1", "--window", "Kaiser"}
            << "qm416x-cli: --window must be 0..5 or one of Rectangular, Triangular, "
               "Hanning, Hamming, Blackman, Blackman-Harris, not 'Kaiser'\n";
        QTest::newRow("window 6")
            << QStringList{"fft", f, "--channel", "1", "--window", "6"}
            << "qm416x-cli: --window must be 0..5 or one of Rectangular, Triangular, Hanning, "
               "Hamming, Blackman, Blackman-Harris, not '6'\n";
        QTest::newRow("convert without format")
            << QStringList{"convert", f} << "qm416x-cli: convert needs an output format: --csv\n";
        QTest::newRow("convert with value")
            << QStringList{"convert", f, "--csv=yes"} << "qm416x-cli: option --csv takes no value\n";
    }

    void badArguments()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        arguments.replaceInStrings(QStringLiteral("FILE"), m_file);
        message.replace(QStringLiteral("FILE"), m_file);
        const Run run = cli(arguments);
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.out.isEmpty());
        QCOMPARE(run.err, message);
    }

    void badFiles()
    {
        const auto failure = [](const QStringList &arguments, const QString &file, const QString &message) {
            const Run run = cli(arguments);
            QCOMPARE(run.exitCode, 1);
            QVERIFY(run.out.isEmpty());
            QCOMPARE(run.err, QStringLiteral("qm416x-cli: %1: %2\n").arg(file, message));
        };
        const auto fileOf = [this](const QString &name, const QByteArray &bytes) {
            QFile file(m_dir.filePath(name));
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
                qFatal("cannot write %s", qPrintable(file.fileName()));
            return file.fileName();
        };

        const QString missing = m_dir.filePath(QStringLiteral("missing.dat"));
        failure({"stats", missing}, missing, "error 53 : File not found");
        const QString noVref =
            fileOf("novref.dat", "Parameters:, Channel(s) enabled = 1,Volts = 2.5,DataWidth = 24Bits\r\n");
        failure({"convert", noVref, "--csv"}, noVref, "Bad File : No Vref");
        // The file holds three channels, more than a QM4162 has.
        failure({"stats", m_file, "--variant", "62"}, m_file,
                "Bad File : Error in number of Channels enabled");
        QFile source(m_file);
        QVERIFY(source.open(QIODevice::ReadOnly));
        const QByteArray whole = source.readAll();
        const QString cut = fileOf("cut.dat", whole.left(whole.size() / 2));
        failure({"hist", cut, "--channel", "1"}, cut, "error 62 : Input past end of file");
        // A channel the file does not hold.
        failure({"hist", m_file, "--channel", "2"}, m_file, "channel 2 holds no data");
    }
};

QTEST_GUILESS_MAIN(TestCliData)
#include "tst_cli_data.moc"
