#include "SignalRecorder.h"
#include "data/ClassData.h"

#include <QtTest>

#include <functional>

namespace {

// Everything a caller can observe of the store, as text, to prove that a refused call
// changed nothing.
QString snapshot(const ClassData &d)
{
    QString s = QStringLiteral("ch%1 w%2 c%3 v%4 k%5|")
                    .arg(d.Channel())
                    .arg(d.DataWidth())
                    .arg(d.Clamp())
                    .arg(d.RefVoltage())
                    .arg(d.PeaksLimit());
    for (int c = 0; c <= d.MaxChannel(); ++c) {
        s += QStringLiteral("%1:%2:%3:%4:%5:%6:%7:%8[")
                 .arg(c)
                 .arg(d.DataCount(c))
                 .arg(d.Rng(c))
                 .arg(d.ChannelTime(c))
                 .arg(d.MaxCode(c))
                 .arg(d.MinCode(c))
                 .arg(d.MeanCode(c))
                 .arg(d.StdDev(c));
        for (int i = 1; i <= d.DataCount(c); ++i)
            s += QStringLiteral("%1/%2,").arg(d.DataWord(c, i)).arg(d.StatusByte(c, i));
        s += QLatin1Char(']');
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

void addCodes(ClassData &d, int channel, std::initializer_list<qint32> codes)
{
    for (qint32 code : codes)
        QVERIFY(d.AddExtData(channel, code));
}

} // namespace

class TestDataStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startsEmptyWithItsLimits()
    {
        ClassData d;
        QCOMPARE(d.MaxChannel(), 7);
        QCOMPARE(d.MaxBytes(), 32768);
        QCOMPARE(d.MinCount(), 3);
        QCOMPARE(d.DataWidth(), 2);
        // The construction default does not set the scales; the first assignment does.
        QCOMPARE(d.HalfScale(), 0);
        QCOMPARE(d.FullScale(), 0);
        QCOMPARE(d.PeaksLimit(), 10);
        QVERIFY(!d.PeaksAutoRemove());
        QCOMPARE(d.MaxCount(), 10923);
        d.setDataWidth(3);
        QCOMPARE(d.HalfScale(), 8388608);
        QCOMPARE(d.FullScale(), 16777215);
        QCOMPARE(d.MaxCount(), 8192);
        d.setDataWidth(2);
        QCOMPARE(d.HalfScale(), 32768);
        QCOMPARE(d.FullScale(), 65535);
        QCOMPARE(d.MaxCount(), 10923);
        QVERIFY(!d.Valid(-1));
        QCOMPARE(d.ChannelCount(), 0);
    }

    void recordsGoToTheChannelOfTheirStatusByte()
    {
        ClassData d;
        d.setDataWidth(3);
        QVERIFY(d.Add(record(0xA0, {0x80, 0x00, 0x01})));
        QCOMPARE(d.DataCount(5), 1);
        QCOMPARE(d.DataWord(5, 1), 0x800001);
        QCOMPARE(d.StatusByte(5, 1), quint8(0xA0));
        QCOMPARE(d.ExtData(5, 1), 1); // range code 0: bipolar
        d.setRng(5, 1);
        QCOMPARE(d.ExtData(5, 1), 8388609); // unipolar: the raw word

        // 16-bit data takes two bytes; bits 4..2 of the status byte are kept, not used.
        d.setDataWidth(2);
        QVERIFY(d.Add(record(0x3C, {0x12, 0x34, 0x56})));
        QCOMPARE(d.DataCount(1), 1);
        QCOMPARE(d.DataWord(1, 1), 0x1234);
        QCOMPARE(d.StatusByte(1, 1), quint8(0x3C));
        QCOMPARE(d.ExtData(1, 1), 0x1234 - 32768);
    }

    void overrangeStatusExtendsTheCode()
    {
        ClassData d;
        d.setDataWidth(3);
        d.setClamp(false);
        d.setRng(0, 4); // bipolar
        d.setRng(1, 5); // unipolar
        QVERIFY(d.AddData(0, 0xFFFFF0, 3));
        QVERIFY(d.AddData(0, 0x000010, 1));
        QVERIFY(d.AddData(0, 0x000010, 2)); // flag 2 alone extends nothing
        QVERIFY(d.AddData(1, 0x123456, 3));
        QVERIFY(d.AddData(1, 0x000010, 1));
        QCOMPARE(d.ExtData(0, 1), 16777200 - 16777215 - 1 - 8388608);
        QCOMPARE(d.ExtData(0, 1), -8388624);
        QCOMPARE(d.ExtData(0, 2), 16777215 + 1 + 16 - 8388608);
        QCOMPARE(d.ExtData(0, 3), 16 - 8388608);
        QCOMPARE(d.ExtData(1, 1), 0); // below a unipolar range: zero whatever the word
        QCOMPARE(d.ExtData(1, 2), 16777216 + 16);
        // A range code outside the table counts as unipolar.
        d.setRng(0, 7);
        QCOMPARE(d.ExtData(0, 3), 16);

        // With the clamp on, the flags are ignored.
        d.setClamp(true);
        d.setRng(0, 4);
        QCOMPARE(d.ExtData(0, 1), 0xFFFFF0 - 8388608);
        QCOMPARE(d.ExtData(0, 2), 16 - 8388608);
        QCOMPARE(d.ExtData(1, 1), 0x123456);
    }

    void codesSurviveTheWayBackToWords()
    {
        for (int width : {2, 3}) {
            for (int rng : {0, 1, 2, 3, 4, 5}) {
                ClassData d;
                d.setDataWidth(width);
                d.setRng(2, rng);
                const qint32 full = d.FullScale();
                const QList<qint32> codes = {0,     1, -1, full, -full - 1, 2 * full + 1, -3 * (full + 1) / 2,
                                             123456};
                for (qint32 code : codes)
                    QVERIFY(d.AddExtData(2, code, 0));
                for (int i = 0; i < codes.size(); ++i)
                    QCOMPARE(d.ExtData(2, i + 1), codes.at(i));
                QCOMPARE(d.codes(2), std::vector<qint32>(codes.begin(), codes.end()));
            }
        }
    }

    void rangeCodeReadsBackRounded()
    {
        ClassData d;
        d.setRng(3, 2.5);
        QCOMPARE(d.Rng(3), 2);
        d.setRng(3, 3.5);
        QCOMPARE(d.Rng(3), 4);
        d.setRng(3, 4.4);
        QCOMPARE(d.Rng(3), 4);
    }

    void aChannelIsValidFromFourSamples()
    {
        ClassData d;
        d.setDataWidth(2);
        addCodes(d, 6, {1, 2, 3});
        QCOMPARE(d.DataCount(6), 3);
        QVERIFY(!d.Valid(6));
        QVERIFY(!d.Valid(-1));
        QCOMPARE(d.ChannelCount(), 0);
        addCodes(d, 6, {4});
        QVERIFY(d.Valid(6));
        QVERIFY(d.Valid(-1));
        QCOMPARE(d.ChannelCount(), 1);
        addCodes(d, 0, {1, 1, 1, 1, 1});
        QCOMPARE(d.ChannelCount(), 2);
    }

    void aFullChannelDropsFurtherSamples()
    {
        for (int width : {2, 3}) {
            ClassData d;
            d.setDataWidth(width);
            const int capacity = d.MaxCount() + 1;
            QByteArray r = record(0x40, {0, 0, 0});
            for (int i = 0; i < capacity; ++i) {
                r[1] = static_cast<char>(i & 0xFF);
                QVERIFY(d.Add(r));
            }
            QCOMPARE(d.DataCount(2), capacity);
            QVERIFY(!d.Add(r));
            QVERIFY(!d.AddData(2, 5));
            QVERIFY(!d.AddExtData(2, 5));
            QCOMPARE(d.DataCount(2), capacity);
            QCOMPARE(d.DataWord(2, capacity), ((capacity - 1) & 0xFF) << (width == 3 ? 16 : 8));
            // Other channels still take samples.
            QVERIFY(d.AddData(3, 5));
        }
    }

    void statisticsArePopulationFigures()
    {
        ClassData d;
        d.setDataWidth(3);
        d.setRng(1, 0);
        addCodes(d, 1, {-3, 5, 1, 7, -10});
        d.Process();
        QCOMPARE(d.MaxCode(1), 7);
        QCOMPARE(d.MinCode(1), -10);
        QCOMPARE(d.MeanCode(1), 0.0);
        // Population deviation: divided by n, not n - 1.
        QCOMPARE(d.StdDev(1), std::sqrt((9.0 + 25 + 1 + 49 + 100) / 5));

        addCodes(d, 4, {10, 10, 10, 10});
        d.Process();
        QCOMPARE(d.StdDev(4), 0.0);
        QCOMPARE(d.MeanCode(4), 10.0);

        // A channel with three samples is not processed: its figures stay as they were.
        addCodes(d, 7, {1, 2, 3});
        d.Process();
        QCOMPARE(d.MaxCode(7), 0);
        QCOMPARE(d.MeanCode(7), 0.0);
    }

    void processPicksTheLowestValidChannelQuietly()
    {
        ClassData d;
        d.setDataWidth(2);
        addCodes(d, 5, {1, 2, 3, 4});
        addCodes(d, 2, {1, 2, 3, 4});
        SignalRecorder events(&d);
        d.Process();
        QCOMPARE(d.Channel(), 2);
        QVERIFY(events.events().isEmpty());
        d.Update();
        QCOMPARE(events.events(), QStringList{QStringLiteral("DataChanged(2)")});

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

    void channelEventOnlyOnChange()
    {
        ClassData d;
        SignalRecorder events(&d);
        d.setChannel(0);
        d.setChannel(3);
        d.setChannel(3);
        d.setChannel(7);
        QCOMPARE(events.events(), (QStringList{"ChannelChanged(3)", "ChannelChanged(7)"}));
        // Filling raises nothing; only Update and Clear speak.
        d.setDataWidth(2);
        d.AddData(1, 5);
        d.Add(record(0, {1, 2}));
        d.AddExtData(1, 5);
        d.Process();
        d.ClearChannel(1);
        QCOMPARE(events.events().size(), 2);
    }

    void clearResetsDataAndConditionsOnly()
    {
        ClassData d;
        d.setDataWidth(3);
        d.setClamp(true);
        d.setRefVoltage(2.5);
        d.setPeaksLimit(4);
        d.setPeaksAutoRemove(true);
        for (int c = 0; c < 8; ++c) {
            d.setRng(c, 5);
            d.setChannelTime(c, 100 + c);
            addCodes(d, c, {1, 2, 3, 4, 5});
        }
        d.Process();
        d.setChannel(4);

        SignalRecorder events(&d);
        d.ClearChannel(3);
        QVERIFY(events.events().isEmpty());
        QCOMPARE(d.DataCount(3), 0);
        QCOMPARE(d.Rng(3), 0);
        QCOMPARE(d.MaxCode(3), 0);
        QCOMPARE(d.StdDev(3), 0.0);
        QCOMPARE(d.ChannelTime(3), 103.0);
        QCOMPARE(d.DataCount(2), 5);
        QCOMPARE(d.Rng(2), 5);
        QCOMPARE(d.MaxCode(2), 5);

        d.Clear();
        QCOMPARE(events.events(), QStringList{QStringLiteral("DataCleared()")});
        for (int c = 0; c < 8; ++c) {
            QCOMPARE(d.DataCount(c), 0);
            QCOMPARE(d.Rng(c), 0);
            QCOMPARE(d.MaxCode(c), 0);
            QCOMPARE(d.MinCode(c), 0);
            QCOMPARE(d.MeanCode(c), 0.0);
            QCOMPARE(d.StdDev(c), 0.0);
            QCOMPARE(d.ChannelTime(c), 100.0 + c);
        }
        QCOMPARE(d.DataWidth(), 0);
        QCOMPARE(d.RefVoltage(), 0.0);
        QVERIFY(!d.Clamp());
        QCOMPARE(d.Channel(), 4);
        QCOMPARE(d.PeaksLimit(), 4);
        QVERIFY(d.PeaksAutoRemove());
        QVERIFY(!d.Valid(-1));
    }

    void peaksAreReplacedByTheirNeighbours()
    {
        // Mean 21.8, deviation 39.2: with a limit of one deviation only the last sample
        // is a peak; it takes the average of words 3 and 4, 4.5, rounded to even: 4.
        ClassData d;
        d.setDataWidth(2);
        d.setRng(0, 1); // unipolar: words and codes are the same
        addCodes(d, 0, {0, 0, 3, 6, 100});
        d.setPeaksLimit(1);
        d.Process();
        QCOMPARE(d.MeanCode(0), 21.8);
        d.PeaksRemove();
        QCOMPARE(d.DataWord(0, 5), 4);
        QCOMPARE(d.DataWord(0, 4), 6);
        QCOMPARE(d.DataWord(0, 1), 0);
        // Statistics are recomputed after the pass.
        QCOMPARE(d.MaxCode(0), 6);
        QCOMPARE(d.MeanCode(0), 13.0 / 5);

        // The first sample takes the average of words 2 and 3 (3 and 6: 4.5 gives 4; 3 and
        // 8: 5.5 gives 6).
        ClassData first;
        first.setDataWidth(2);
        first.setRng(0, 1);
        addCodes(first, 0, {100, 3, 6, 0, 0});
        first.setPeaksLimit(1);
        first.Process();
        first.PeaksRemove();
        QCOMPARE(first.DataWord(0, 1), 4);
        ClassData up;
        up.setDataWidth(2);
        up.setRng(0, 1);
        addCodes(up, 0, {100, 3, 8, 0, 0});
        up.setPeaksLimit(1);
        up.Process();
        up.PeaksRemove();
        QCOMPARE(up.DataWord(0, 1), 6);

        // Mean 20, deviation 40: samples 8 and 9 are peaks. Sample 8 becomes (0 + 100) / 2
        // = 50 at once, so sample 9 becomes (50 + 0) / 2 = 25.
        ClassData pair;
        pair.setDataWidth(2);
        pair.setRng(0, 1);
        addCodes(pair, 0, {0, 0, 0, 0, 0, 0, 0, 100, 100, 0});
        pair.setPeaksLimit(1);
        pair.Process();
        QCOMPARE(pair.StdDev(0), 40.0);
        pair.PeaksRemove();
        QCOMPARE(pair.DataWord(0, 8), 50);
        QCOMPARE(pair.DataWord(0, 9), 25);

        // Exactly at the limit is not a peak (strictly greater replaces).
        ClassData edge;
        edge.setDataWidth(2);
        edge.setRng(0, 1);
        addCodes(edge, 0, {0, 0, 0, 0, 0, 0, 0, 100, 100, 0});
        edge.setPeaksLimit(2);
        edge.Process();
        edge.PeaksRemove();
        QCOMPARE(edge.DataWord(0, 8), 100);
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
        QCOMPARE(d.DataWord(0, 10), 0);
        QCOMPARE(d.StatusByte(0, 10), quint8(1));
        QCOMPARE(d.ExtData(0, 10), 65536);

        // Nothing to do for a constant channel.
        ClassData flat;
        flat.setDataWidth(2);
        addCodes(flat, 1, {10, 10, 10, 10});
        flat.setPeaksLimit(0);
        flat.Process();
        const QString before = snapshot(flat);
        flat.PeaksRemove();
        QCOMPARE(snapshot(flat), before);
    }

    void processRemovesPeaksWhenAsked()
    {
        ClassData d;
        d.setDataWidth(2);
        d.setRng(0, 1);
        addCodes(d, 0, {0, 0, 3, 6, 100});
        d.setPeaksLimit(1);
        d.setPeaksAutoRemove(true);
        d.Process();
        QCOMPARE(d.DataWord(0, 5), 4);
        QCOMPARE(d.MaxCode(0), 6);
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
        };
        for (int i = 0; i < calls.size(); ++i) {
            bool thrown = false;
            try {
                calls.at(i)();
            } catch (const DataRangeError &) {
                thrown = true;
            }
            QVERIFY2(thrown, qPrintable(QStringLiteral("call %1 was not refused").arg(i)));
            QCOMPARE(snapshot(d), before);
        }
        QVERIFY(events.events().isEmpty());
    }

    void replacingTheContentsTakesSamplesAndConditions()
    {
        ClassData source;
        source.setDataWidth(3);
        source.setClamp(true);
        source.setRefVoltage(1.25);
        source.setRng(4, 3);
        source.setChannelTime(4, 312.5);
        addCodes(source, 4, {7, 8, 9, 10});

        ClassData d;
        d.setDataWidth(2);
        addCodes(d, 0, {1, 1, 1, 1});
        d.setPeaksLimit(3);
        SignalRecorder events(&d);
        d.replaceContents(source);
        QCOMPARE(events.events(), QStringList{QStringLiteral("DataCleared()")});
        QCOMPARE(d.DataCount(0), 0);
        QCOMPARE(d.DataCount(4), 4);
        QCOMPARE(d.ExtData(4, 4), 10);
        QCOMPARE(d.DataWidth(), 3);
        QCOMPARE(d.FullScale(), 16777215);
        QVERIFY(d.Clamp());
        QCOMPARE(d.RefVoltage(), 1.25);
        QCOMPARE(d.Rng(4), 3);
        QCOMPARE(d.ChannelTime(4), 312.5);
        QCOMPARE(d.PeaksLimit(), 3);
    }
};

QTEST_GUILESS_MAIN(TestDataStore)
#include "tst_data_store.moc"
