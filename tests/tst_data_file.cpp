#include "SignalRecorder.h"
#include "data/ClassData.h"
#include "data/DataFile.h"
#include "data/DecimalText.h"
#include "data/WholeFile.h"
#include "model/QM4168.h"

#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

// Two channels with unequal lengths and extended overrange codes, one channel too short
// to be saved.
void fillExample(ClassData &d)
{
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
    return WriteDataFile(buffer, d, adc).isError() ? QByteArray("not written") : buffer.data();
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

const QByteArray Pm = "\xB1"; // the plus-minus sign
const QByteArray Bits24 = "24Bits";

QByteArray header(int channels, const QByteArray &width = Bits24)
{
    return "Parameters:, Channel(s) enabled = " + QByteArray::number(channels) +
           ",Vref = 2.5,DataWidth = " + width + ", Clamp = True, Data format = dec\r\n";
}

} // namespace

class TestDataFile : public QObject
{
    Q_OBJECT

    QM4168 m_adc; // a QM4168: channels 0..7

private Q_SLOTS:
    void initTestCase() { m_adc.setEvBoard(8); }

    void writesTheFormatByteForByte()
    {
        ClassData d;
        fillExample(d);
        QCOMPARE(written(d, m_adc), ExampleFile);

        // Only the variant's channels are saved (channels 0..3 and 10 V / 5 V ranges on a
        // QM4164); numbers in their shortest form.
        QM4168 adc;
        adc.setEvBoard(4);
        d.Clear();
        d.setDataWidth(2);
        d.setClamp(true);
        d.setRefVoltage(2.5);
        d.setRng(2, 3);
        d.setChannelTime(2, 2425 / 6.144);
        for (qint32 code : {7, 8, 9, 10}) {
            d.AddExtData(2, code);
            d.AddExtData(6, code);
        }
        d.Process();
        QCOMPARE(written(d, adc),
                 header(1, "16Bits") +
                     "Channel 2 : , Input Ranges = +5, Channel Time = 394.694010416667 us, Nb of Data = 4\r\n"
                     "Channel 2,\r\n7,\r\n8,\r\n9,\r\n10,\r\n");

        // Up to 15 significant digits, never an exponent.
        QStringList texts;
        for (double v : {0.625, 0.1 + 0.2, -1.25, 0.000125, 1e-7, 2e20, 123456789012345678.0, 0.0, -0.0,
                         9.9999999999999999})
            texts << plainDecimal(v);
        QCOMPARE(texts, (QStringList{"0.625", "0.3", "-1.25", "0.000125", "0.0000001",
                                     "200000000000000000000", "123456789012346000", "0", "0", "10"}));
    }

    void readsBackWhatItWrote()
    {
        // Any line end; whatever the store held before goes; the current channel stays
        // when it is valid.
        for (const QByteArray &end : {QByteArray("\r\n"), QByteArray("\n"), QByteArray("\r")}) {
            ClassData d;
            d.setDataWidth(2);
            d.setClamp(true);
            for (qint32 code : {1, 2, 3, 4})
                d.AddExtData(6, code);
            d.setChannel(3);
            SignalRecorder events(&d);
            const DataFileError error = readBytes(QByteArray(ExampleFile).replace("\r\n", end), d, m_adc);
            QVERIFY2(!error.isError(), qPrintable(error.message()));
            QCOMPARE(events.events(), QStringList{"DataChanged(3)"});
            // Channel 1 was too short to be saved; the channels read are processed.
            QCOMPARE((QList<int>{d.DataCount(6), d.DataCount(1), d.MinCode(0), d.MaxCode(3)}),
                     (QList<int>{0, 0, -8388624, 16777232}));
            // Conditions, counts and codes: written again, the file is the same.
            QCOMPARE(written(d, m_adc), ExampleFile);
        }
        // A final row without its line end still has its empty field after the comma.
        ClassData d;
        QVERIFY(!readBytes(ExampleFile.chopped(2), d, m_adc).isError());
        QCOMPARE(d.DataCount(3), 7);
        // The last channel, as full as a channel gets.
        const QByteArray full =
            header(1) +
            "Channel 7 : , Input Ranges = +1.25, Channel Time = 10 us, Nb of Data = 8193\r\n"
            "Channel 7,\r\n" +
            QByteArray("-5,\r\n").repeated(8193);
        QVERIFY(!readBytes(full, d, m_adc).isError());
        QCOMPARE((QList<int>{d.DataCount(7), d.MinCode(7)}), (QList<int>{8193, -5}));
        // Codes spelled otherwise read as the numbers they are, halves to even.
        const QByteArray spelled =
            header(1) + "Channel 7 : , Input Ranges = +1.25, Channel Time = 10 us, Nb of Data = 7\r\n"
                        "Channel 7,\r\n+7,\r\n2.5,\r\n3.5,\r\n1e3,\r\n-0,\r\n12 ,\r\n0000000000042,\r\n";
        QVERIFY(!readBytes(spelled, d, m_adc).isError());
        QList<int> codes;
        for (int i = 1; i <= d.DataCount(7); ++i)
            codes << d.ExtData(7, i);
        QCOMPARE(codes, (QList<int>{7, 2, 4, 1000, 0, 12, 42}));
    }

    void headerConditionsAreRead_data()
    {
        QTest::addColumn<int>("variant");
        QTest::addColumn<QByteArray>("width");
        QTest::addColumn<QByteArray>("range");
        QTest::addColumn<QList<int>>("read"); // range code, data bytes, word of the code -4
        // Ranges are matched against the variant's table.
        QTest::newRow("+-1.25") << 8 << Bits24 << Pm + "1.25" << QList<int>{0, 3, 8388604};
        QTest::newRow("+1.25") << 8 << Bits24 << QByteArray("+1.25") << QList<int>{1, 3, -4};
        QTest::newRow("+2.5") << 8 << Bits24 << QByteArray("+2.5") << QList<int>{5, 3, -4};
        QTest::newRow("+-2.5 QM4169") << 9 << Bits24 << Pm + "2.5" << QList<int>{4, 3, 8388604};
        QTest::newRow("+5 QM4162") << 2 << Bits24 << QByteArray("+5") << QList<int>{3, 3, -4};
        QTest::newRow("+-10 QM4164") << 4 << Bits24 << Pm + "10" << QList<int>{0, 3, 8388604};
        // 20 / 8 = 2.5 rounds to even: 16-bit data.
        QTest::newRow("20 bits") << 8 << QByteArray("20Bits") << Pm + "1.25" << QList<int>{0, 2, 32764};
    }

    void headerConditionsAreRead()
    {
        QFETCH(int, variant);
        QFETCH(QByteArray, width);
        QFETCH(QByteArray, range);
        QM4168 adc;
        adc.setEvBoard(variant);
        ClassData d;
        const QByteArray file =
            header(1, width) + "Channel 1 : , Input Ranges = " + range +
            ", Channel Time = 10 us, Nb of Data = 4\r\nChannel 1,\r\n1,\r\n2,\r\n3,\r\n-4,\r\n";
        const DataFileError error = readBytes(file, d, adc);
        QVERIFY2(!error.isError(), qPrintable(error.message()));
        QTEST((QList<int>{d.Rng(1), d.DataWidth(), d.DataWord(1, 4)}), "read");
        QCOMPARE(d.ChannelTime(1), 10.0);
    }

    void badFilesAreRefused_data()
    {
        QTest::addColumn<int>("variant");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("box");
        const auto row = [](const char *name, int variant, const QByteArray &file, const QString &box) {
            QTest::newRow(name) << variant << file << box;
        };
        // Header validation: a bad file.
        const QByteArray rest = "Channel 0 : , Input Ranges = +1.25, Channel Time = 10 us, Nb of Data = 4\r\n"
                                "Channel 0,\r\n1,\r\n2,\r\n3,\r\n4,\r\n";
        const QByteArray start = "Parameters:, Channel(s) enabled = 1,Vref = 2.5,DataWidth = 24Bits, ";
        const QString channels = QStringLiteral("Bad File : Error in number of Channels enabled");
        const QString width = QStringLiteral("Bad File : DataWidth is not Valid");
        const QString clamp = QStringLiteral("Bad File : Clamp is not Valid");
        row("no channel count", 8, "Parameters:, Channels enabled = 1,Vref = 2.5\r\n", channels);
        row("zero channels", 8, header(0) + rest, channels);
        row("three on a QM4162", 2, header(3) + rest, channels);
        row("nine on a QM4168", 8, header(9) + rest, channels);
        row("no variant chosen", 0, header(1) + rest, channels);
        row("no vref", 8, "Parameters:, Channel(s) enabled = 1,Vrf = 2.5,DataWidth = 24Bits\r\n",
            "Bad File : No Vref");
        row("no data width", 8, "Parameters:, Channel(s) enabled = 1,Vref = 2.5,Width = 24\r\n", width);
        row("32 bits", 8, header(1, "32Bits") + rest, width);
        row("8 bits", 8, header(1, "8Bits") + rest, width);
        row("lower-case clamp", 8, start + "Clamp = true, Data\r\n" + rest, clamp);
        row("no clamp", 8, start + "Clip = True, Data\r\n" + rest, clamp);
        QByteArray junk(5000, '\0');
        QRandomGenerator random(7);
        for (char &c : junk)
            c = static_cast<char>(random.bounded(256));
        row("binary junk", 8, "\x7F\x45\x4C\x46," + junk, channels);

        // Damaged files: a platform error.
        const QByteArray good = ExampleFile;
        const auto changed = [&good](const char *from, const QByteArray &to) {
            return QByteArray(good).replace(from, to);
        };
        const QString pastEnd = QStringLiteral("error 62 : Input past end of file");
        const QString mismatch = QStringLiteral("error 13 : Type mismatch in line %1");
        const QString count = QStringLiteral("error 63 : Bad record number in line %1");
        const QString time = QStringLiteral("Bad File : Channel Time is not Valid in line %1");
        row("empty", 8, QByteArray(), pastEnd);
        row("header only", 8, good.left(good.indexOf('\n') + 1), pastEnd);
        row("cut in a channel line", 8, good.left(good.indexOf("Channel Time")), pastEnd);
        row("no headings", 8, good.left(good.indexOf("Channel 0,")), pastEnd);
        row("cut in the rows", 8, good.left(good.indexOf("2,\r\n3,")), pastEnd);
        row("last row without comma", 8, good.left(good.size() - 3), pastEnd);
        row("letters in a code", 8, changed("8388607,16777215,", "8388607,1677x215,"), mismatch.arg(7));
        row("empty code", 8, changed("0,0,\r\n", "0,,\r\n"), mismatch.arg(6));
        row("one code too many", 8, changed("-1234,56,", "-1234,56,7,"), mismatch.arg(5));
        row("row without its comma", 8, changed("0,0,\r\n", "0,0\r\n"), mismatch.arg(7));
        row("huge count", 8, changed("Nb of Data = 7", "Nb of Data = 999999999999"), count.arg(3));
        row("count beyond a channel", 8, changed("Nb of Data = 7", "Nb of Data = 8194"), count.arg(3));
        row("negative count", 8, changed("Nb of Data = 5", "Nb of Data = -5"), count.arg(2));
        row("code overflow", 8, changed("-1234,56,", "99999999999,56,"), "error 6 : Overflow in line 5");
        row("channel 12", 8, changed("Channel 3 : ", "Channel 12 : "),
            "error 9 : Subscript out of range in line 3");
        // Channel lines that would lose or mix samples, or skew every time axis.
        row("a channel twice", 8, changed("Channel 3 : ", "Channel 0 : "),
            "Bad File : Channel 0 is given twice in line 3");
        const QByteArray fourChannel = changed("= \xB1"
                                               "2.5,",
                                               "= \xB1"
                                               "10,")
                                           .replace("= +1.25", "= +5");
        row("channel 5 on a QM4164", 4, QByteArray(fourChannel).replace("Channel 3 : ", "Channel 5 : "),
            "Bad File : No Channel 5 on the QM4164 in line 3");
        row("channel 3 on a QM4162", 2, fourChannel, "Bad File : No Channel 3 on the QM4162 in line 3");
        // Ranges of another variant's table, named with their channel.
        row("QM4168 file on a QM4162", 2, good,
            "Bad File : Input range \"\u00B1"
            "2.5\" of Channel 0 is not a range of the QM4162 in line 2");
        row("+2.5 on a QM4164", 4,
            changed("= \xB1"
                    "2.5,",
                    "= \xB1"
                    "10,")
                .replace("+1.25", "+2.5"),
            "Bad File : Input range \"+2.5\" of Channel 3 is not a range of the QM4164 in line 3");
        row("+10 on a QM4169", 9, changed("+1.25", "+10"),
            "Bad File : Input range \"+10\" of Channel 3 is not a range of the QM4169 in line 3");
        row("negative time", 8, changed("= 1000 us", "= -1000 us"), time.arg(2));
        row("zero time", 8, changed("= 312.5 us", "= 0 us"), time.arg(3));
        row("time of 1e308 us", 8, changed("= 312.5 us", "= 1e308 us"), time.arg(3));
        row("time of 1e-300 us", 8, changed("= 1000 us", "= 1e-300 us"), time.arg(2));
        row("time of 20 s", 8, changed("= 1000 us", "= 2e7 us"), time.arg(2));
        const QString vref = QStringLiteral("Bad File : Vref is not Valid in line 1");
        row("vref NaN", 8, changed("Vref = 2.5", "Vref = nan"), vref);
        row("vref -1e300", 8, changed("Vref = 2.5", "Vref = -1e300"), vref);
        row("vref 11 V", 8, changed("Vref = 2.5", "Vref = 11"), vref);
        row("endless line", 8, header(1) + QByteArray(100000, 'x'), mismatch.arg(2));
    }

    void badFilesAreRefused()
    {
        QFETCH(int, variant);
        QFETCH(QByteArray, file);
        QFETCH(QString, box);
        QM4168 adc;
        adc.setEvBoard(variant);
        ClassData d;
        fillExample(d);
        d.setChannel(3);
        const QString before = codesOf(d);
        SignalRecorder events(&d);
        const DataFileError error = readBytes(file, d, adc);
        QCOMPARE(error.boxText(), box);
        const bool badFile = box.startsWith(QStringLiteral("Bad File : "));
        QCOMPARE(error.isBadFile(), badFile);
        QCOMPARE(error.message(), badFile ? box.mid(11) : box);
        QCOMPARE(error.number(), badFile ? 0 : box.section(QLatin1Char(' '), 1, 1).toInt());
        // The store is left as it was and raises nothing.
        QCOMPARE(codesOf(d), before);
        QCOMPARE(d.Channel(), 3);
        QVERIFY(events.events().isEmpty());
    }

    // Files by path are written whole or not at all; failures to open, write or finish are
    // reported and change nothing. (A missing file: the qm416x-cli data suite.)
    void writingAndOpeningFailures()
    {
        QTemporaryDir dir;
        ClassData d;
        fillExample(d);
        const QString before = codesOf(d);
        const QString path = dir.filePath(QStringLiteral("keep.dat"));
        QVERIFY(!WriteDataFile(path, d, m_adc).isError());
        QCOMPARE(ReadDataFile(dir.path(), d, m_adc).message(),
                 QStringLiteral("error 75 : Path/File access error"));
        QCOMPARE(WriteDataFile(dir.filePath(QStringLiteral("no/such/folder/x.dat")), d, m_adc).message(),
                 QStringLiteral("error 76 : Path not found"));
        QVERIFY(WriteDataFile(dir.path(), d, m_adc).isError());
        QCOMPARE(codesOf(d), before);
        if (QFileInfo::exists(QStringLiteral("/dev/full"))) {
            QFile full(QStringLiteral("/dev/full"));
            QVERIFY(full.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
            QCOMPARE(WriteDataFile(full, d, m_adc).message(), QStringLiteral("error 61 : Disk full"));
        }

        // A bigger acquisition that cannot be written: the file size limit stops it, and the
        // earlier file stays as it was.
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
        const DataFileError error = WriteDataFile(path, big, m_adc);
        limited.rlim_cur = 64; // a small file fails too, not only in a final flush nobody checks
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
        const DataFileError small = WriteDataFile(path, d, m_adc);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
        QCOMPARE(error.message(), QStringLiteral("error 57 : Device I/O error"));
        QCOMPARE(small.message(), QStringLiteral("error 57 : Device I/O error"));
        // A disk that fills up, at every point of the file.
        for (const qint64 space : {0, 100, 300}) {
            SimulateFreeSpace(space);
            const DataFileError full = WriteDataFile(path, d, m_adc);
            SimulateFreeSpace(-1);
            QCOMPARE(full.message(), QStringLiteral("error 61 : Disk full"));
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), ExampleFile);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("keep.dat")});
    }
};

QTEST_GUILESS_MAIN(TestDataFile)
#include "tst_data_file.moc"
