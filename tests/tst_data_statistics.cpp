#include "data/ClassData.h"
#include "data/ShowStatistics.h"
#include "model/QM4168.h"

#include <QtTest>

namespace {

const QStringList Labels = {"Conv.Time",   "Input Range", "Data Width", "Samples",   "RMS Noise",
                            "Pk-Pk Noise", "Avg.Voltage", "Code Dev.",  "Avg.Code",  "Code Span",
                            "Max Code",    "Min Code",    "RMS Res.",   "Pk-Pk Res."};

// A processed store with one channel of the given codes.
struct Fixture
{
    QM4168 adc;
    ClassData data;

    Fixture(int variant, int width, int rng, const QList<qint32> &codes, double time = 0, int channel = 3)
    {
        adc.setEvBoard(variant);
        data.setDataWidth(width);
        data.setRng(channel, rng);
        data.setChannelTime(channel, time);
        for (qint32 code : codes)
            data.AddExtData(channel, code);
        data.Process();
    }

    QStringList values(const QLocale &locale = QLocale::c(), int channel = 3) const
    {
        QStringList result;
        const QList<StatisticsCell> cells = ShowStatistics(data, channel, adc, locale);
        for (const StatisticsCell &cell : cells)
            result << cell.value;
        return result;
    }

    QString cell(const QString &label, const QLocale &locale = QLocale::c()) const
    {
        for (const StatisticsCell &c : ShowStatistics(data, 3, adc, locale))
            if (c.label == label)
                return c.value;
        return QStringLiteral("<missing>");
    }
};

} // namespace

class TestDataStatistics : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cellsComeInTableOrder()
    {
        Fixture f(8, 3, 4, {-10, 10, -10, 10});
        QStringList labels;
        for (const StatisticsCell &c : ShowStatistics(f.data, 3, f.adc, QLocale::c()))
            labels << c.label;
        QCOMPARE(labels, Labels);
    }

    void twentyFourBitsBipolarTwoAndAHalfVolts()
    {
        // LSB = 5 V / 2^24 = 298.02 nV, d = 7; codes -10, 10, -10, 10: mean 0, deviation 10.
        Fixture f(8, 3, 4, {-10, 10, -10, 10}, 2425 / 6.144);
        const QStringList expected = {"394.69 us ",   "\u00B12.5 V    ", "24 Bits ", "4 Dec ",
                                      "2.98 uV ",     "5.960 uV ",       "0. nV ",   "10 Dec ",
                                      "0 Dec ",       "20 Dec ",         "10 Dec ",  "-10 Dec ",
                                      " 20.68 Bits ", " 19.68 Bits "};
        QCOMPARE(f.values(), expected);
    }

    void constantCodes()
    {
        // Deviation 0 and no span: noise zero, resolution the full 24 bits. The average of
        // 5 codes is 1490.116 nV, shown in microvolts with d - 6 = 1 decimal.
        Fixture f(8, 3, 4, {5, 5, 5, 5}, 1000);
        const QStringList expected = {"1000 us ",  "\u00B12.5 V    ", "24 Bits ",  "4 Dec ",   "0.00 nV ",
                                      "0.000 nV ", "1.5 uV ",         "0 Dec ",    "5 Dec ",   "0 Dec ",
                                      "5 Dec ",    "5 Dec ",          " 24 Bits ", " 24 Bits "};
        QCOMPARE(f.values(), expected);
    }

    void averageVoltageRoundsTheMeanDown()
    {
        // Mean -0.5: the average voltage is one code below zero, the average code rounds
        // to even (0).
        Fixture f(8, 3, 4, {-1, 0, -1, 0});
        QCOMPARE(f.data.MeanCode(3), -0.5);
        QCOMPARE(f.cell("Avg.Voltage"), QStringLiteral("-298. nV "));
        QCOMPARE(f.cell("Avg.Code"), QStringLiteral("0 Dec "));
        // Deviation 0.5 rounds to even as well.
        QCOMPARE(f.cell("Code Dev."), QStringLiteral("0 Dec "));
        QCOMPARE(f.cell("RMS Res."), QStringLiteral(" 25 Bits "));

        // 16-bit data: LSB 76293.95 nV, d = 5, so microvolts get no decimals.
        Fixture g(8, 2, 4, {-1, 0, -1, 0});
        QCOMPARE(g.cell("Avg.Voltage"), QStringLiteral("-76. uV "));
        QCOMPARE(g.cell("Data Width"), QStringLiteral("16 Bits "));

        // Mean 1.5 rounds to 2 and mean 2.5 to 2.
        Fixture h(8, 3, 1, {1, 2, 1, 2});
        QCOMPARE(h.cell("Avg.Code"), QStringLiteral("2 Dec "));
        Fixture i(8, 3, 1, {2, 3, 2, 3});
        QCOMPARE(i.cell("Avg.Code"), QStringLiteral("2 Dec "));
    }

    void unipolarSixteenBitAverages()
    {
        // LSB = 1.25 V / 65536 = 19.07 uV, d = 5.
        Fixture f(8, 2, 1, {30000, 30000, 30000, 30000});
        QCOMPARE(f.cell("Input Range"), QStringLiteral("+ 1.25 V    "));
        QCOMPARE(f.cell("Avg.Voltage"), QStringLiteral("572.20 mV "));
        Fixture g(8, 2, 1, {60000, 60000, 60000, 60000});
        QCOMPARE(g.cell("Avg.Voltage"), QStringLiteral(" 1.14441 V "));
    }

    void largeFiguresChangeUnit()
    {
        // QM4164, unipolar 10 V, 16-bit: LSB 152587.89 nV, d = 4. Codes 0 and 10000:
        // deviation 5000 (762.94 mV), span 10000 (1.526 V).
        Fixture f(4, 2, 1, {0, 10000, 0, 10000}, 64.94140625);
        const QStringList expected = {"64.94 us ",  "+ 10 V    ", "16 Bits ",    "4 Dec ",     "762.94 mV ",
                                      "1.526 V ",   "762.9 mV ",  "5000 Dec ",   "5000 Dec ",  "10000 Dec ",
                                      "10000 Dec ", "0 Dec ",     " 3.71 Bits ", " 2.71 Bits "};
        QCOMPARE(f.values(), expected);

        // Bipolar 10 V: an average of -10000 codes is -3.0518 V (d = 4), no leading blank.
        Fixture g(4, 2, 0, {-10000, -10000, -10000, -10000});
        QCOMPARE(g.cell("Avg.Voltage"), QStringLiteral("-3.0518 V "));
        QCOMPARE(g.cell("Input Range"), QStringLiteral("\u00B110 V    "));

        // A deviation wider than the whole range gives a negative resolution, unblanked.
        Fixture h(8, 2, 1, {0, 200000, 0, 200000});
        QCOMPARE(h.data.StdDev(3), 100000.0);
        QCOMPARE(h.cell("RMS Res."), QStringLiteral("-0.61 Bits "));
        QCOMPARE(h.cell("Pk-Pk Res."), QStringLiteral("-1.61 Bits "));
    }

    void conversionTimeKeepsUpToTwoDecimals()
    {
        Fixture f(8, 3, 4, {1, 2, 3, 4}, 2686.3606770833335);
        QCOMPARE(f.cell("Conv.Time"), QStringLiteral("2686.36 us "));
        Fixture g(8, 3, 4, {1, 2, 3, 4}, 312.5);
        QCOMPARE(g.cell("Conv.Time"), QStringLiteral("312.5 us "));
        // Halves go to the even neighbour: 12.5 hundredths to 12, 37.5 to 38.
        Fixture h(8, 3, 4, {1, 2, 3, 4}, 0.125);
        QCOMPARE(h.cell("Conv.Time"), QStringLiteral("0.12 us "));
        Fixture j(8, 3, 4, {1, 2, 3, 4}, 0.375);
        QCOMPARE(j.cell("Conv.Time"), QStringLiteral("0.38 us "));
        Fixture i(8, 3, 4, {1, 2, 3, 4}, 0.004);
        QCOMPARE(i.cell("Conv.Time"), QStringLiteral("0 us "));
    }

    void patternCellsFollowTheLocale()
    {
        const QLocale german(QLocale::German, QLocale::Germany);
        Fixture f(8, 3, 4, {-10, 10, -10, 10}, 2425 / 6.144);
        const QStringList values = f.values(german);
        QCOMPARE(values.at(0), QStringLiteral("394,69 us "));
        QCOMPARE(values.at(4), QStringLiteral("2,98 uV "));
        QCOMPARE(values.at(5), QStringLiteral("5,960 uV "));
        QCOMPARE(values.at(6), QStringLiteral("0, nV "));
        // Range and resolutions are plain numbers with a point.
        QCOMPARE(values.at(1), QStringLiteral("\u00B12.5 V    "));
        QCOMPARE(values.at(12), QStringLiteral(" 20.68 Bits "));
        Fixture g(8, 2, 1, {60000, 60000, 60000, 60000});
        QCOMPARE(g.cell("Avg.Voltage", german), QStringLiteral(" 1.14441 V "));
    }

    void emptyChannelAfterClear()
    {
        QM4168 adc;
        adc.setEvBoard(8);
        ClassData data;
        data.Clear();
        data.Process();
        QStringList values;
        for (const StatisticsCell &c : ShowStatistics(data, 0, adc, QLocale::c()))
            values << c.value;
        // No data width: N = 0, one code spans the whole 2.5 V, d = 0.
        const QStringList expected = {"0 us ",     "\u00B11.25 V    ", "24 Bits ", "0 Dec ",  "0.00 nV ",
                                      "0.000 nV ", "0. nV ",           "0 Dec ",   "0 Dec ",  "0 Dec ",
                                      "0 Dec ",    "0 Dec ",           " 0 Bits ", " 0 Bits "};
        QCOMPARE(values, expected);
        QVERIFY_THROWS_EXCEPTION(DataRangeError, ShowStatistics(data, 8, adc, QLocale::c()));
    }
};

QTEST_GUILESS_MAIN(TestDataStatistics)
#include "tst_data_statistics.moc"
