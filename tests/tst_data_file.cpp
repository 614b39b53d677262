#include "SignalRecorder.h"
#include "data/ClassData.h"
#include "data/DataFile.h"
#include "data/DecimalText.h"
#include "model/QM4168.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

// Two channels with unequal lengths and extended overrange codes, one channel too short
// to be saved.
void fillExample(ClassData &d)
{
    d.Clear();
    d.setDataWidth(3);
    d.setClamp(false);
    d.setRefVoltage(2.5);
    d.setRng(0, 4);
    d.setChannelTime(0, 1000);
    d.setRng(3, 1);
    d.setChannelTime(3, 312.5);
    d.setRng(1, 0);
    for (qint32 code : {-1234, 0, 8388607, -8388608})
        d.AddExtData(0, code);
    d.AddData(0, 0xFFFFF0, 3); // below the bipolar range: -8388624
    for (qint32 code : {56, 0, 16777215})
        d.AddExtData(3, code);
    d.AddData(3, 0x10, 1); // above the unipolar range: 16777232
    for (qint32 code : {1, 2, 3})
        d.AddExtData(3, code);
    for (qint32 code : {9, 9, 9})
        d.AddExtData(1, code);
    d.Process();
}

const QByteArray ExampleFile =
    "Parameters:, Channel(s) enabled = 2,Vref = 2.5,DataWidth = 24Bits, Clamp = False, "
    "Data format = dec\r\n"
    "Channel 0 : , Input Ranges = \xB1"
    "2.5, Channel Time = 1000 us, Nb of Data = 5\r\n"
    "Channel 3 : , Input Ranges = +1.25, Channel Time = 312.5 us, Nb of Data = 7\r\n"
    "Channel 0,Channel 3,\r\n"
    "-1234,56,\r\n"
    "0,0,\r\n"
    "8388607,16777215,\r\n"
    "-8388608,16777232,\r\n"
    "-8388624,1,\r\n"
    "2,\r\n"
    "3,\r\n";

QByteArray written(const ClassData &d, const QM4168 &adc)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const DataFileError error = WriteDataFile(buffer, d, adc);
    if (error.isError())
        qWarning() << error.message();
    return buffer.data();
}

DataFileError readBytes(const QByteArray &bytes, ClassData &d, const QM4168 &adc)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return ReadDataFile(buffer, d, adc);
}

QString codesOf(const ClassData &d)
{
    QString s = QStringLiteral("w%1 c%2 v%3|").arg(d.DataWidth()).arg(d.Clamp()).arg(d.RefVoltage());
    for (int c = 0; c <= d.MaxChannel(); ++c) {
        s += QStringLiteral("%1:%2:%3:%4[").arg(c).arg(d.DataCount(c)).arg(d.Rng(c)).arg(d.ChannelTime(c));
        for (int i = 1; i <= d.DataCount(c); ++i)
            s += QString::number(d.ExtData(c, i)) + QLatin1Char(',');
        s += QLatin1Char(']');
    }
    return s;
}

QByteArray header(int channels, const QByteArray &width = "24Bits")
{
    QByteArray text = "Parameters:, Channel(s) enabled = " + QByteArray::number(channels) +
                      ",Vref = 2.5,DataWidth = " + width + ", Clamp = True, Data format = dec\r\n";
    return text;
}

} // namespace

class TestDataFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writesTheFormatByteForByte()
    {
        QM4168 adc;
        adc.setEvBoard(8);
        ClassData d;
        fillExample(d);
        QCOMPARE(written(d, adc), ExampleFile);
    }

    void writesShortestNumbersAndOnlyTheVariantsChannels()
    {
        QM4168 adc;
        adc.setEvBoard(4); // channels 0..3, 10 V and 5 V ranges
        ClassData d;
        d.setDataWidth(2);
        d.setClamp(true);
        d.setRefVoltage(1.2);
        d.setRng(2, 3);
        d.setChannelTime(2, 2425 / 6.144);
        for (qint32 code : {7, 8, 9, 10})
            d.AddExtData(2, code);
        for (qint32 code : {1, 2, 3, 4})
            d.AddExtData(6, code); // beyond the QM4164's channels: not saved
        d.Process();
        const QByteArray expected =
            "Parameters:, Channel(s) enabled = 1,Vref = 1.2,DataWidth = 16Bits, Clamp = True, "
            "Data format = dec\r\n"
            "Channel 2 : , Input Ranges = +5, Channel Time = 394.694010416667 us, Nb of Data = 4\r\n"
            "Channel 2,\r\n7,\r\n8,\r\n9,\r\n10,\r\n";
        QCOMPARE(written(d, adc), expected);
    }

    void numbersAreShortestPlainDecimals()
    {
        QCOMPARE(plainDecimal(2.5), QStringLiteral("2.5"));
        QCOMPARE(plainDecimal(1000), QStringLiteral("1000"));
        QCOMPARE(plainDecimal(312.5), QStringLiteral("312.5"));
        QCOMPARE(plainDecimal(0.625), QStringLiteral("0.625"));
        QCOMPARE(plainDecimal(0.1 + 0.2), QStringLiteral("0.3")); // 15 significant digits
        QCOMPARE(plainDecimal(2425 / 6.144), QStringLiteral("394.694010416667"));
        QCOMPARE(plainDecimal(-1.25), QStringLiteral("-1.25"));
        QCOMPARE(plainDecimal(0.000125), QStringLiteral("0.000125")); // never an exponent
        QCOMPARE(plainDecimal(1e-7), QStringLiteral("0.0000001"));
        QCOMPARE(plainDecimal(2e20), QStringLiteral("200000000000000000000"));
        QCOMPARE(plainDecimal(123456789012345678.0), QStringLiteral("123456789012346000"));
        QCOMPARE(plainDecimal(0.0), QStringLiteral("0"));
        QCOMPARE(plainDecimal(-0.0), QStringLiteral("0"));
        QCOMPARE(plainDecimal(9.9999999999999999), QStringLiteral("10"));
    }

    void readsBackWhatItWrote()
    {
        QM4168 adc;
        adc.setEvBoard(8);
        ClassData original;
        fillExample(original);

        ClassData d;
        d.setChannel(3);
        SignalRecorder events(&d);
        const DataFileError error = readBytes(ExampleFile, d, adc);
        QVERIFY2(!error.isError(), qPrintable(error.message()));
        QCOMPARE(events.events(), (QStringList{"DataCleared()", "DataChanged(3)"}));
        QCOMPARE(d.DataCount(0), 5);
        QCOMPARE(d.DataCount(3), 7);
        QCOMPARE(d.DataCount(1), 0); // too short to be saved
        QCOMPARE(d.ExtData(0, 5), -8388624);
        QCOMPARE(d.ExtData(3, 4), 16777232);
        QCOMPARE(d.ExtData(3, 7), 3);
        QCOMPARE(d.Rng(0), 4);
        QCOMPARE(d.Rng(3), 1);
        QCOMPARE(d.ChannelTime(0), 1000.0);
        QCOMPARE(d.ChannelTime(3), 312.5);
        QCOMPARE(d.DataWidth(), 3);
        QVERIFY(!d.Clamp());
        QCOMPARE(d.RefVoltage(), 2.5);
        // Processed: statistics are there.
        QCOMPARE(d.MinCode(0), -8388624);
        QCOMPARE(d.MaxCode(3), 16777232);
        // Written again, the file is the same.
        QCOMPARE(written(d, adc), ExampleFile);
    }

    void roundTripOfLargeAcquisitions()
    {
        QM4168 adc;
        adc.setEvBoard(9);
        QRandomGenerator random(416);
        for (int width : {2, 3}) {
            for (bool clamp : {false, true}) {
                ClassData d;
                d.setDataWidth(width);
                d.setClamp(clamp);
                d.setRefVoltage(2.5);
                for (int c = 0; c < 8; ++c) {
                    d.setRng(c, c % 6);
                    d.setChannelTime(c, 100.0 + c / 3.0);
                    const int n = c == 5 ? 2 : d.MaxCount() + 1 - c * 97;
                    for (int i = 0; i < n; ++i)
                        d.AddData(c, static_cast<qint32>(random.bounded(d.FullScale() + 1)),
                                  static_cast<quint8>(c * 32 + random.bounded(4)));
                }
                d.Process();
                ClassData back;
                const DataFileError error = readBytes(written(d, adc), back, adc);
                QVERIFY2(!error.isError(), qPrintable(error.message()));
                d.ClearChannel(5); // not valid, so not saved
                d.setRng(5, 0);
                d.setChannelTime(5, 0);
                QCOMPARE(codesOf(back), codesOf(d));
            }
        }
    }

    void rangesAreMatchedAgainstTheVariantsTable()
    {
        struct Case
        {
            int variant;
            QByteArray range;
            int code;
        };
        const QList<Case> cases = {{8,
                                    "\xB1"
                                    "1.25",
                                    0},
                                   {8, "+1.25", 1},
                                   {8, "+0.625", 3},
                                   {9,
                                    "\xB1"
                                    "2.5",
                                    4},
                                   {8, "+2.5", 5},
                                   {4,
                                    "\xB1"
                                    "10",
                                    0},
                                   {2, "+5", 3},
                                   {4, "+2.5", 0},
                                   {8,
                                    "\xB1"
                                    "3.3",
                                    0}};
        for (const Case &c : cases) {
            QM4168 adc;
            adc.setEvBoard(c.variant);
            ClassData d;
            const QByteArray file =
                header(1) + "Channel 1 : , Input Ranges = " + c.range +
                ", Channel Time = 10 us, Nb of Data = 4\r\nChannel 1,\r\n1,\r\n2,\r\n3,\r\n4,\r\n";
            const DataFileError error = readBytes(file, d, adc);
            QVERIFY2(!error.isError(), qPrintable(error.message()));
            QCOMPARE(d.Rng(1), c.code);
        }
    }

    void headerFieldsAreChecked_data()
    {
        QTest::addColumn<int>("variant");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("message");
        const QByteArray rest = "Channel 0 : , Input Ranges = +1.25, Channel Time = 10 us, Nb of Data = 4\r\n"
                                "Channel 0,\r\n1,\r\n2,\r\n3,\r\n4,\r\n";
        const QString channels = QStringLiteral("Error in number of Channels enabled");
        QTest::newRow("no channel count")
            << 8 << QByteArray("Parameters:, Channels enabled = 1,Vref = 2.5\r\n") << channels;
        QTest::newRow("zero channels") << 8 << header(0) + rest << channels;
        QTest::newRow("three on a QM4162") << 2 << header(3) + rest << channels;
        QTest::newRow("nine on a QM4168") << 8 << header(9) + rest << channels;
        QTest::newRow("no variant chosen") << 0 << header(1) + rest << channels;
        QTest::newRow("no vref")
            << 8 << QByteArray("Parameters:, Channel(s) enabled = 1,Vrf = 2.5,DataWidth = 24Bits\r\n")
            << QStringLiteral("No Vref");
        QTest::newRow("no data width")
            << 8 << QByteArray("Parameters:, Channel(s) enabled = 1,Vref = 2.5,Width = 24\r\n")
            << QStringLiteral("DataWidth is not Valid");
        QTest::newRow("32 bits") << 8 << header(1, "32Bits") + rest
                                 << QStringLiteral("DataWidth is not Valid");
        QTest::newRow("8 bits") << 8 << header(1, "8Bits") + rest << QStringLiteral("DataWidth is not Valid");
        QTest::newRow("lower-case clamp") << 8
                                          << QByteArray("Parameters:, Channel(s) enabled = 1,Vref = "
                                                        "2.5,DataWidth = 24Bits, Clamp = true, Data\r\n") +
                                                 rest
                                          << QStringLiteral("Clamp is not Valid");
        QTest::newRow("no clamp") << 8
                                  << QByteArray(
                                         "Parameters:, Channel(s) enabled = 1,Vref = 2.5,DataWidth = 24Bits, "
                                         "Clip = True, Data\r\n") +
                                         rest
                                  << QStringLiteral("Clamp is not Valid");
    }

    void headerFieldsAreChecked()
    {
        QFETCH(int, variant);
        QFETCH(QByteArray, file);
        QFETCH(QString, message);
        QM4168 adc;
        adc.setEvBoard(variant);
        ClassData d;
        fillExample(d);
        const QString before = codesOf(d);
        SignalRecorder events(&d);
        const DataFileError error = readBytes(file, d, adc);
        QVERIFY(error.isBadFile());
        QCOMPARE(error.message(), message);
        QCOMPARE(error.boxText(), QStringLiteral("Bad File : ") + message);
        QCOMPARE(error.number(), 0);
        QCOMPARE(codesOf(d), before);
        QVERIFY(events.events().isEmpty());
    }

    void twentyBitsReadAsSixteen()
    {
        QM4168 adc;
        adc.setEvBoard(8);
        ClassData d;
        const QByteArray file = header(1, "20Bits") + "Channel 0 : , Input Ranges = \xB1"
                                                      "1.25, Channel Time = 10 us, Nb of Data = 4\r\n"
                                                      "Channel 0,\r\n1,\r\n2,\r\n3,\r\n-4,\r\n";
        QVERIFY(!readBytes(file, d, adc).isError());
        QCOMPARE(d.DataWidth(), 2);
        QCOMPARE(d.DataWord(0, 4), 32768 - 4);
    }

    void damagedFilesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("message");
        const QByteArray good = ExampleFile;
        const QString pastEnd = QStringLiteral("error 62 : Input past end of file");
        QTest::newRow("empty") << QByteArray() << pastEnd;
        QTest::newRow("header only") << good.left(good.indexOf('\n') + 1) << pastEnd;
        QTest::newRow("cut in a channel line") << good.left(good.indexOf("Channel Time")) << pastEnd;
        QTest::newRow("no headings") << good.left(good.indexOf("Channel 0,")) << pastEnd;
        QTest::newRow("cut in the rows") << good.left(good.indexOf("2,\r\n3,")) << pastEnd;
        QTest::newRow("last row without comma") << good.left(good.size() - 3) << pastEnd;
        QByteArray text = good;
        text.replace("8388607,16777215,", "8388607,1677x215,");
        QTest::newRow("letters in a code") << text << QStringLiteral("error 13 : Type mismatch in line 7");
        text = good;
        text.replace("0,0,\r\n", "0,,\r\n");
        QTest::newRow("empty code") << text << QStringLiteral("error 13 : Type mismatch in line 6");
        text = good;
        text.replace("-1234,56,", "-1234,56,7,");
        QTest::newRow("one code too many") << text << QStringLiteral("error 13 : Type mismatch in line 5");
        text = good;
        text.replace("0,0,\r\n", "0,0\r\n");
        QTest::newRow("row without its comma")
            << text << QStringLiteral("error 13 : Type mismatch in line 7");
        text = good;
        text.replace("Nb of Data = 7", "Nb of Data = 999999999999");
        QTest::newRow("huge count") << text << QStringLiteral("error 63 : Bad record number in line 3");
        text = good;
        text.replace("Nb of Data = 7", "Nb of Data = 8194");
        QTest::newRow("count beyond a channel")
            << text << QStringLiteral("error 63 : Bad record number in line 3");
        text = good;
        text.replace("Nb of Data = 5", "Nb of Data = -5");
        QTest::newRow("negative count") << text << QStringLiteral("error 63 : Bad record number in line 2");
        text = good;
        text.replace("-1234,56,", "99999999999,56,");
        QTest::newRow("code overflow") << text << QStringLiteral("error 6 : Overflow in line 5");
        text = good;
        text.replace("Channel 3 : ", "Channel 12 : ");
        QTest::newRow("channel 12") << text << QStringLiteral("error 9 : Subscript out of range in line 3");
        QTest::newRow("endless line")
            << header(1) + QByteArray(100000, 'x') << QStringLiteral("error 13 : Type mismatch in line 2");
        QByteArray junk(5000, '\0');
        QRandomGenerator random(7);
        for (char &c : junk)
            c = static_cast<char>(random.bounded(256));
        junk.prepend("\x7F\x45\x4C\x46,");
        QTest::newRow("binary junk") << junk
                                     << QStringLiteral("Bad File : Error in number of Channels enabled");
    }

    void damagedFilesAreRefused()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, message);
        QM4168 adc;
        adc.setEvBoard(8);
        ClassData d;
        fillExample(d);
        d.setChannel(3);
        const QString before = codesOf(d);
        SignalRecorder events(&d);
        const DataFileError error = readBytes(file, d, adc);
        QVERIFY(error.isError());
        QCOMPARE(error.boxText(), message);
        QCOMPARE(codesOf(d), before);
        QCOMPARE(d.Channel(), 3);
        QVERIFY(events.events().isEmpty());
    }

    void toleratesOtherLineEnds()
    {
        QM4168 adc;
        adc.setEvBoard(8);
        for (const QByteArray &end : {QByteArray("\n"), QByteArray("\r")}) {
            QByteArray text = ExampleFile;
            text.replace("\r\n", end);
            ClassData d;
            const DataFileError error = readBytes(text, d, adc);
            QVERIFY2(!error.isError(), qPrintable(error.message()));
            QCOMPARE(written(d, adc), ExampleFile);
        }
        // A final row without its line end still has its empty field after the comma.
        ClassData d;
        QVERIFY(!readBytes(ExampleFile.chopped(2), d, adc).isError());
        QCOMPARE(d.DataCount(3), 7);
    }

    void filesOnDisk()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QM4168 adc;
        adc.setEvBoard(8);
        ClassData d;
        fillExample(d);
        const QString path = dir.filePath(QStringLiteral("run.dat"));
        QVERIFY(!WriteDataFile(path, d, adc).isError());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), ExampleFile);
        file.close();

        ClassData back;
        QVERIFY(!ReadDataFile(path, back, adc).isError());
        QCOMPARE(written(back, adc), ExampleFile);
        const QString loaded = codesOf(back);

        // Opening failures.
        DataFileError error = ReadDataFile(dir.filePath(QStringLiteral("missing.dat")), back, adc);
        QCOMPARE(error.message(), QStringLiteral("error 53 : File not found"));
        QCOMPARE(error.number(), 53);
        error = ReadDataFile(dir.path(), back, adc);
        QCOMPARE(error.message(), QStringLiteral("error 75 : Path/File access error"));
        error = WriteDataFile(dir.filePath(QStringLiteral("no/such/folder/x.dat")), d, adc);
        QCOMPARE(error.message(), QStringLiteral("error 76 : Path not found"));
        error = WriteDataFile(dir.path(), d, adc);
        QVERIFY(error.isError());
        QCOMPARE(codesOf(back), loaded);
    }

    void aFailedWriteKeepsTheEarlierFile()
    {
        QTemporaryDir dir;
        QM4168 adc;
        adc.setEvBoard(8);
        ClassData d;
        fillExample(d);
        const QString path = dir.filePath(QStringLiteral("keep.dat"));
        QVERIFY(!WriteDataFile(path, d, adc).isError());

        // A bigger acquisition that cannot be written: the file size limit stops it.
        ClassData big;
        big.setDataWidth(3);
        for (int i = 0; i < 5000; ++i)
            big.AddExtData(0, 1000000 + i);
        big.Process();
        struct rlimit saved;
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limited = saved;
        limited.rlim_cur = 4096;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
        const DataFileError error = WriteDataFile(path, big, adc);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);

        QVERIFY(error.isError());
        QCOMPARE(error.message(), QStringLiteral("error 57 : Device I/O error"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), ExampleFile);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("keep.dat")});
    }

    void aFullDiskIsReported()
    {
        if (!QFileInfo::exists(QStringLiteral("/dev/full")))
            QSKIP("no /dev/full on this system");
        QM4168 adc;
        adc.setEvBoard(8);
        ClassData d;
        fillExample(d);
        QFile full(QStringLiteral("/dev/full"));
        QVERIFY(full.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const DataFileError error = WriteDataFile(full, d, adc);
        QCOMPARE(error.message(), QStringLiteral("error 61 : Disk full"));
    }
};

QTEST_GUILESS_MAIN(TestDataFile)
#include "tst_data_file.moc"
