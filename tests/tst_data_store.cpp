#include "SignalRecorder.h"
#include "data/ClassData.h"
#include "data/ShowStatistics.h"
#include "model/QM4168.h"

#include <QtTest>

#include <algorithm>
#include <functional>
#include <numeric>

namespace {

// Everything a caller can observe of the store, as text, to prove that a refused call
// changed nothing.
QString snapshot(const ClassData &d)
{
    QString s;
    const auto put = [&s](auto... values) { ((s += QVariant(values).toString() + QLatin1Char(' ')), ...); };
    put(d.Channel(), d.DataWidth(), d.Clamp(), d.RefVoltage(), d.PeaksLimit());
    for (int c = 0; c <= d.MaxChannel(); ++c) {
        s += QLatin1Char('|');
        put(d.DataCount(c), d.Rng(c), d.ChannelTime(c), d.MaxCode(c), d.MinCode(c), d.MeanCode(c),
            d.StdDev(c));
        for (int i = 1; i <= d.DataCount(c); ++i)
            put(d.DataWord(c, i), d.StatusByte(c, i));
    }
    return s;
}

QByteArray record(quint8 status, std::initializer_list<int> bytes)
{
    QByteArray r(1, static_cast<char>(status));
    for (int b : bytes)
        r.append(static_cast<char>(b));
    return r;
}

void addCodes(ClassData &d, int channel, const QList<qint32> &codes)
{
    for (qint32 code : codes)
        QVERIFY(d.AddExtData(channel, code));
}

// The data words of a channel, or its extended codes.
QList<qint32> column(const ClassData &d, int channel, bool codes = false)
{
    QList<qint32> result;
    for (int i = 1; i <= d.DataCount(channel); ++i)
        result << (codes ? d.ExtData(channel, i) : d.DataWord(channel, i));
    return result;
}

// Several figures at once, to compare in one go.
template<class... T>
QList<double> values(T... v)
{
    return {double(v)...};
}

// The columns of both tables: a store whose channel 3 holds the given codes, processed.
void addStoreColumns()
{
    QTest::addColumn<int>("variant");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("rng");
    QTest::addColumn<QList<qint32>>("codes");
    QTest::addColumn<double>("time");
}

QList<StatisticsCell> cellsOfStore(const QLocale &locale = QLocale::c())
{
    QFETCH(int, variant);
    QFETCH(int, width);
    QFETCH(int, rng);
    QFETCH(QList<qint32>, codes);
    QFETCH(double, time);
    QM4168 adc;
    adc.setEvBoard(variant);
    ClassData data;
    data.setDataWidth(width);
    data.setRng(3, rng);
    data.setChannelTime(3, time);
    for (qint32 code : codes)
        data.AddExtData(3, code);
    data.Process();
    return ShowStatistics(data, 3, adc, locale) + NoiseFreeStatistics(data, 3, adc, locale);
}

// cells: label, text, label, text...
void cellRow(const char *name, int variant, int width, int rng, const QList<qint32> &codes, double time,
             const QStringList &cells, const QString &locale = QStringLiteral("C"))
{
    QTest::newRow(name) << variant << width << rng << codes << time << cells << locale;
}

const QString Pm = QStringLiteral("\u00B1");

} // namespace

class TestDataStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void limitsOfChannels()
    {
        ClassData d;
        // The construction default does not set the scales; the first assignment does.
        const auto limits = [&d] { return QList<int>{d.HalfScale(), d.FullScale(), d.MaxCount()}; };
        QCOMPARE(limits(), (QList<int>{0, 0, 10923}));
        d.setDataWidth(3);
        QCOMPARE(limits(), (QList<int>{8388608, 16777215, 8192}));
        d.setDataWidth(2);
        QCOMPARE(limits(), (QList<int>{32768, 65535, 10923}));

        // A full channel drops further samples; other channels still take them.
        for (int width : {2, 3}) {
            ClassData full;
            full.setDataWidth(width);
            const int capacity = full.MaxCount() + 1;
            QByteArray r = record(0x40, {0, 0, 0});
            for (int i = 0; i < capacity; ++i) {
                r[1] = static_cast<char>(i & 0xFF);
                QVERIFY(full.Add(r));
            }
            QVERIFY(!full.Add(r) && !full.AddData(2, 5) && !full.AddExtData(2, 5));
            QCOMPARE(values(full.DataCount(2), full.DataWord(2, capacity)),
                     values(capacity, ((capacity - 1) & 0xFF) << (width == 3 ? 16 : 8)));
            QVERIFY(full.AddData(3, 5)); // other channels still take samples
        }

        // A channel is valid from four samples; one with fewer is not processed.
        addCodes(d, 6, {1, 2, 3});
        d.Process(); // not valid: not processed
        QCOMPARE(values(d.MaxCode(6), d.Valid(6), d.Valid(-1), d.ChannelCount()), values(0, 0, 0, 0));
        addCodes(d, 6, {4});
        QCOMPARE(values(d.Valid(6), d.Valid(-1), d.ChannelCount()), values(1, 1, 1));
        addCodes(d, 0, {1, 1, 1, 1, 1});
        QCOMPARE(d.ChannelCount(), 2);
    }

    void wordsAndStatusMakeTheCodes()
    {
        ClassData d;
        d.setDataWidth(3);
        QVERIFY(d.Add(record(0xA0, {0x80, 0x00, 0x01})));
        // Range code 0: bipolar.
        QCOMPARE(values(d.DataCount(5), d.DataWord(5, 1), d.StatusByte(5, 1), d.ExtData(5, 1)),
                 values(1, 0x800001, 0xA0, 1));
        d.setRng(5, 1);
        QCOMPARE(d.ExtData(5, 1), 8388609); // unipolar: the raw word

        // 16-bit data takes two bytes; bits 4..2 of the status byte are kept, not used.
        d.setDataWidth(2);
        QVERIFY(d.Add(record(0x3C, {0x12, 0x34, 0x56})));
        QCOMPARE(values(d.DataCount(1), d.DataWord(1, 1), d.StatusByte(1, 1), d.ExtData(1, 1)),
                 values(1, 0x1234, 0x3C, 0x1234 - 32768));

        // Overrange flags extend the codes when the clamp is off.
        ClassData e;
        e.setDataWidth(3);
        e.setClamp(false);
        e.setRng(0, 3.5); // read back rounded, ties to even: 4, bipolar
        e.setRng(1, 5);   // unipolar
        e.setRng(2, 2.5);
        QCOMPARE(values(e.Rng(0), e.Rng(2)), values(4, 2));
        // Flag 2 alone (the third sample) extends nothing.
        QVERIFY(e.AddData(0, 0xFFFFF0, 3) && e.AddData(0, 0x000010, 1) && e.AddData(0, 0x000010, 2) &&
                e.AddData(1, 0x123456, 3) && e.AddData(1, 0x000010, 1));
        // -8388624 = 16777200 - 16777215 - 1 - 8388608; below a unipolar range: zero whatever
        // the word.
        QCOMPARE(column(e, 0, true), (QList<qint32>{-8388624, 16777215 + 1 + 16 - 8388608, 16 - 8388608}));
        QCOMPARE(column(e, 1, true), (QList<qint32>{0, 16777216 + 16}));
        // A range code outside the table counts as unipolar.
        e.setRng(0, 7);
        QCOMPARE(e.ExtData(0, 3), 16);

        // With the clamp on, the flags are ignored.
        e.setClamp(true);
        e.setRng(0, 4);
        QCOMPARE(column(e, 0, true), (QList<qint32>{0xFFFFF0 - 8388608, 16 - 8388608, 16 - 8388608}));
        QCOMPARE(e.ExtData(1, 1), 0x123456);
    }

    // The figures of processed channels are checked through their texts (wholeTables, singleCells).
    void wholeTables_data()
    {
        addStoreColumns();
        QTest::addColumn<QString>("values"); // separated by |
        // LSB = 5 V / 2^24 = 298.02 nV, d = 7; codes -10, 10, -10, 10: mean 0, deviation 10.
        QTest::newRow("24-bit bipolar 2.5 V")
            << 8 << 3 << 4 << QList<qint32>{-10, 10, -10, 10} << 2425 / 6.144
            << "394.69 us |" + Pm +
                   "2.5 V    |24 Bits |4 Dec |2.98 uV |5.960 uV |0. nV |10 Dec |0 Dec |"
                   "20 Dec |10 Dec |-10 Dec | 20.68 Bits | 19.68 Bits |5.960 uV |4 Dec |19.670 uV | 19.68 "
                   "Bits |"
                   " 17.96 Bits ";
        // Deviation 0 and no span: noise zero, resolution the full 24 bits. The average of
        // 5 codes is 1490.116 nV, shown in microvolts with d - 6 = 1 decimal.
        QTest::newRow("constant codes")
            << 8 << 3 << 4 << QList<qint32>{5, 5, 5, 5} << 1000.0
            << "1000 us |" + Pm +
                   "2.5 V    |24 Bits |4 Dec |0.00 nV |0.000 nV |1.5 uV |0 Dec |5 Dec |"
                   "0 Dec |5 Dec |5 Dec | 24 Bits | 24 Bits |0.000 nV |4 Dec |0.000 nV | 24 Bits | 24 Bits ";
        // QM4164, unipolar 10 V, 16-bit: LSB 152587.89 nV, d = 4. Codes 0 and 10000:
        // deviation 5000 (762.94 mV), span 10000 (1.526 V).
        QTest::newRow("16-bit unipolar 10 V")
            << 4 << 2 << 1 << QList<qint32>{0, 10000, 0, 10000} << 64.94140625
            << "64.94 us |+ 10 V    |16 Bits |4 Dec |762.94 mV |1.526 V |762.9 mV |5000 Dec |"
               "5000 Dec |10000 Dec |10000 Dec |0 Dec | 3.71 Bits | 2.71 Bits |1.526 V |4 Dec |5.035 V | "
               "2.71 Bits |"
               " 0.99 Bits ";
        // As after Clear: no data width, so N = 0 and one code spans the whole 2.5 V, d = 0.
        QTest::newRow("empty, no data width")
            << 8 << 0 << 0 << QList<qint32>{} << 0.0
            << "0 us |" + Pm +
                   "1.25 V    |24 Bits |0 Dec |0.00 nV |0.000 nV |0. nV |0 Dec |0 Dec |"
                   "0 Dec |0 Dec |0 Dec | 0 Bits | 0 Bits |0.000 nV |0 Dec |0.000 nV | 0 Bits | 0 Bits ";
    }

    void wholeTables()
    {
        QFETCH(QString, values);
        QStringList labels, texts;
        for (const StatisticsCell &cell : cellsOfStore()) {
            labels << cell.label;
            texts << cell.value;
        }
        QCOMPARE(labels, (QStringList{"Conv.Time", "Input Range", "Data Width", "Samples", "RMS Noise",
                                      "Pk-Pk Noise", "Avg.Voltage", "Code Dev.", "Avg.Code", "Code Span",
                                      "Max Code", "Min Code", "RMS Res.", "Pk-Pk Res.", "Pk-Pk Meas.",
                                      "Pk-Pk Count", "Pk-Pk Est.", "NF Meas.", "NF Est."}));
        QCOMPARE(texts.join('|'), values);
    }

    void singleCells_data()
    {
        addStoreColumns();
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QString>("locale");
        // Mean -0.5: the average voltage is one code below zero; the average code and the
        // deviation 0.5 round to even (0); 16-bit data: LSB 76293.95 nV, d = 5. The average
        // voltage takes the mean rounded down, one code (74.5 nV) for a mean of 1.5.
        const QList<qint32> half = {-1, 0, -1, 0};
        cellRow("mean -0.5", 8, 3, 4, half, 0,
                {"Avg.Voltage", "-298. nV ", "Avg.Code", "0 Dec ", "Code Dev.", "0 Dec ", "RMS Res.",
                 " 25 Bits "});
        cellRow("mean -0.5, 16 bits", 8, 2, 4, half, 0, {"Avg.Voltage", "-76. uV "});
        cellRow("mean 1.5", 8, 3, 1, {1, 2, 1, 2}, 0, {"Avg.Code", "2 Dec ", "Avg.Voltage", "75. nV "});
        cellRow("mean 2.5", 8, 3, 1, {2, 3, 2, 3}, 0, {"Avg.Code", "2 Dec "});
        // Unipolar 1.25 V, 16-bit: LSB 19.07 uV, d = 5. Bipolar 10 V: d = 4, no blank
        // before a negative number of volts.
        const QList<qint32> high = {60000, 60000, 60000, 60000};
        cellRow("millivolts", 8, 2, 1, {30000, 30000, 30000, 30000}, 0,
                {"Input Range", "+ 1.25 V    ", "Avg.Voltage", "572.20 mV "});
        cellRow("volts", 8, 2, 1, high, 0, {"Avg.Voltage", " 1.14441 V "});
        cellRow("negative volts", 4, 2, 0, {-10000, -10000, -10000, -10000}, 0,
                {"Avg.Voltage", "-3.0518 V ", "Input Range", Pm + "10 V    "});
        // A deviation wider than the whole range (100000 codes) gives a negative resolution.
        cellRow("wider than the range", 8, 2, 1, {0, 200000, 0, 200000}, 0,
                {"RMS Res.", "-0.61 Bits ", "Pk-Pk Res.", "-1.61 Bits "});
        // Up to two decimals; halves go to the even neighbour (12.5 hundredths to 12, 37.5
        // to 38).
        const QList<qint32> some = {1, 2, 3, 4};
        cellRow("time 2686.36", 8, 3, 4, some, 2686.3606770833335, {"Conv.Time", "2686.36 us "});
        cellRow("time 312.5", 8, 3, 4, some, 312.5, {"Conv.Time", "312.5 us "});
        cellRow("time 0.125", 8, 3, 4, some, 0.125, {"Conv.Time", "0.12 us "});
        cellRow("time 0.004", 8, 3, 4, some, 0.004, {"Conv.Time", "0 us "});
        // Patterns take the locale's separator; the range, the resolutions and whole volts
        // are plain numbers with a point.
        cellRow("german", 8, 3, 4, {-10, 10, -10, 10}, 2425 / 6.144,
                {"Conv.Time", "394,69 us ", "RMS Noise", "2,98 uV ", "Pk-Pk Noise", "5,960 uV ",
                 "Avg.Voltage", "0, nV ", "Input Range", Pm + "2.5 V    ", "RMS Res.", " 20.68 Bits "},
                "de_DE");
        cellRow("german volts", 8, 2, 1, high, 0, {"Avg.Voltage", " 1.14441 V "}, "de_DE");
        // Peak-to-peak both ways: max - min = 20 codes of 4 samples, 6.6 x 10 = 66 codes.
        cellRow("noise-free resolution", 8, 3, 4, {-10, 10, -10, 10}, 0,
                {"Pk-Pk Meas.", "5,960 uV ", "Pk-Pk Count", "4 Dec ", "Pk-Pk Est.", "19,670 uV ", "NF Meas.",
                 " 19.68 Bits ", "NF Est.", " 17.96 Bits "},
                "de_DE");
        cellRow("noise-free of a constant", 8, 2, 1, high, 0,
                {"Pk-Pk Est.", "0.000 nV ", "NF Meas.", " 16 Bits ", "NF Est.", " 16 Bits "});
    }

    void singleCells()
    {
        QFETCH(QStringList, cells);
        QFETCH(QString, locale);
        QMap<QString, QString> shown;
        for (const StatisticsCell &cell : cellsOfStore(QLocale(locale)))
            shown.insert(cell.label, cell.value);
        for (int i = 0; i + 1 < cells.size(); i += 2)
            QCOMPARE(shown.value(cells.at(i), QStringLiteral("<missing>")), cells.at(i + 1));
    }

    void onlyChannelChangesUpdateAndClearRaiseEvents()
    {
        ClassData d;
        SignalRecorder events(&d);
        d.setChannel(3);
        d.setChannel(3);
        d.setChannel(0);
        // Filling, processing and clearing one channel raise nothing. Process makes the
        // lowest valid channel current without ChannelChanged; DataChanged carries it.
        d.setDataWidth(2);
        addCodes(d, 5, {1, 2, 3, 4});
        addCodes(d, 2, {1, 2, 3, 4});
        QVERIFY(d.AddData(1, 5) && d.Add(record(0x20, {1, 2})));
        d.Process();
        QCOMPARE(d.Channel(), 2);
        d.ClearChannel(1);
        d.Update();
        QCOMPARE(events.events(), (QStringList{"ChannelChanged(3)", "ChannelChanged(0)", "DataChanged(2)"}));

        // A valid current channel stays.
        events.clear();
        d.setChannel(5);
        d.Process();
        QCOMPARE(d.Channel(), 5);
        QCOMPARE(events.events(), QStringList{QStringLiteral("ChannelChanged(5)")});

        // No valid channel: the current one stays whatever it is.
        ClassData empty;
        empty.setChannel(6);
        empty.Process();
        QCOMPARE(empty.Channel(), 6);
    }

    void clearResetsDataAndConditionsOnly()
    {
        // A full store, and its twin in which channel 3 was never filled.
        const auto fill = [](ClassData &d, int skipped) {
            d.setDataWidth(3);
            d.setClamp(true);
            d.setRefVoltage(2.5);
            d.setPeaksLimit(4);
            d.setPeaksAutoRemove(true);
            for (int c = 0; c < 8; ++c) {
                d.setChannelTime(c, 100 + c);
                if (c != skipped) {
                    d.setRng(c, 5);
                    addCodes(d, c, {1, 2, 3, 4, 5});
                }
            }
            d.Process();
            d.setChannel(4);
        };
        ClassData d, twin;
        fill(d, -1);
        fill(twin, 3);
        SignalRecorder events(&d);
        d.ClearChannel(3);
        QCOMPARE(snapshot(d), snapshot(twin));
        QVERIFY(events.events().isEmpty());

        // Only the channel times, the current channel and the peak settings stay.
        d.Clear();
        QCOMPARE(events.events(), QStringList{QStringLiteral("DataCleared()")});
        ClassData cleared;
        cleared.setDataWidth(0);
        cleared.setPeaksLimit(4);
        cleared.setChannel(4);
        for (int c = 0; c < 8; ++c)
            cleared.setChannelTime(c, 100 + c);
        QCOMPARE(snapshot(d), snapshot(cleared));
        QVERIFY(d.PeaksAutoRemove());
    }

    void peaksAreReplacedByTheirNeighbours_data()
    {
        QTest::addColumn<QList<qint32>>("codes");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QList<qint32>>("after");
        // Unipolar 16-bit: words and codes are the same. Averages round half to even.
        // Mean 21.8, deviation 39.2: only the last sample is a peak; words 3 and 4 give 4.5.
        QTest::newRow("last") << QList<qint32>{0, 0, 3, 6, 100} << 1 << QList<qint32>{0, 0, 3, 6, 4};
        QTest::newRow("first, 4.5") << QList<qint32>{100, 3, 6, 0, 0} << 1 << QList<qint32>{4, 3, 6, 0, 0};
        QTest::newRow("first, 5.5") << QList<qint32>{100, 3, 8, 0, 0} << 1 << QList<qint32>{6, 3, 8, 0, 0};
        // Mean 20, deviation 40: sample 8 becomes (0 + 100) / 2 at once, so sample 9
        // becomes (50 + 0) / 2.
        QTest::newRow("neighbours replaced at once") << QList<qint32>{0, 0, 0, 0, 0, 0, 0, 100, 100, 0} << 1
                                                     << QList<qint32>{0, 0, 0, 0, 0, 0, 0, 50, 25, 0};
        QTest::newRow("exactly at the limit") << QList<qint32>{0, 0, 0, 0, 0, 0, 0, 100, 100, 0} << 2
                                              << QList<qint32>{0, 0, 0, 0, 0, 0, 0, 100, 100, 0};
        QTest::newRow("constant") << QList<qint32>{10, 10, 10, 10} << 0 << QList<qint32>{10, 10, 10, 10};
    }

    void peaksAreReplacedByTheirNeighbours()
    {
        QFETCH(QList<qint32>, codes);
        QFETCH(int, limit);
        QFETCH(QList<qint32>, after);
        // On request, and within Process when switched on; statistics follow the new words.
        for (bool automatic : {false, true}) {
            ClassData d;
            d.setDataWidth(2);
            d.setRng(0, 1);
            addCodes(d, 0, codes);
            d.setPeaksLimit(limit);
            d.setPeaksAutoRemove(automatic);
            d.Process();
            if (!automatic)
                d.PeaksRemove();
            QCOMPARE(column(d, 0), after);
            QCOMPARE(values(d.MaxCode(0), d.MeanCode(0)),
                     values(*std::max_element(after.begin(), after.end()),
                            std::accumulate(after.begin(), after.end(), 0.0) / after.size()));
        }
    }

    void peakRemovalWorksOnRawWords()
    {
        // Unipolar 16-bit, clamp off: the last sample is flagged beyond the top (code
        // 65536 + 1000). Its word becomes the average of the plain words 0 and 0, and its
        // status byte stays, so its code is now 65536.
        ClassData d;
        d.setDataWidth(2);
        d.setRng(0, 1);
        for (int i = 0; i < 9; ++i)
            d.AddData(0, 0, 0);
        d.AddData(0, 1000, 1);
        d.setPeaksLimit(2);
        d.Process();
        QCOMPARE(d.MaxCode(0), 66536);
        d.PeaksRemove();
        QCOMPARE(values(d.DataWord(0, 10), d.StatusByte(0, 10), d.ExtData(0, 10)), values(0, 1, 65536));
    }

    void refusedCallsChangeNothing()
    {
        ClassData d;
        d.setDataWidth(2);
        d.setRng(1, 1);
        addCodes(d, 1, {1, 2, 3, 4, 5});
        d.Process();
        const QString before = snapshot(d);
        SignalRecorder events(&d);

        const QList<std::function<void()>> calls = {
            [&] { d.setChannel(8); },
            [&] { d.setChannel(-1); },
            [&] { d.Valid(-2); },
            [&] { d.Valid(8); },
            [&] { d.DataCount(8); },
            [&] { d.ExtData(1, 0); },
            [&] { d.ExtData(1, 6); },
            [&] { d.ExtData(8, 1); },
            [&] { d.ExtData(-1, 1); },
            [&] { d.DataWord(1, 0); },
            [&] { d.StatusByte(0, 1); },
            [&] { d.setDataWord(1, 6, 1); },
            [&] { d.setDataWord(1, 1, ClassData::WordLimit + 1); },
            [&] { d.AddData(8, 1); },
            [&] { d.AddData(1, -ClassData::WordLimit - 1); },
            [&] { d.AddExtData(-1, 1); },
            [&] { d.AddExtData(1, ClassData::WordLimit + 1); },
            [&] { d.AddExtData(0, std::numeric_limits<qint32>::max()); },
            [&] { d.Add(QByteArray("\x20\x01", 2)); },
            [&] { d.Add(QByteArray()); },
            [&] { d.setDataWidth(4); },
            [&] { d.setDataWidth(-1); },
            [&] { d.setRng(8, 1); },
            [&] { d.setChannelTime(-1, 1); },
            [&] { d.MaxCode(9); },
            [&] { d.ClearChannel(8); },
            [&] { ShowStatistics(d, 8, QM4168(), QLocale::c()); }};
        for (int i = 0; i < calls.size(); ++i) {
            try {
                calls.at(i)();
                QFAIL(qPrintable(QStringLiteral("call %1 was not refused").arg(i)));
            } catch (const DataRangeError &) {
            }
            QCOMPARE(snapshot(d), before);
        }
        QVERIFY(events.events().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestDataStore)
#include "tst_data_store.moc"
