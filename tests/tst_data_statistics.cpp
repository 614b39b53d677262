#include "data/ClassData.h"
#include "data/ShowStatistics.h"
#include "model/QM4168.h"

#include <QtTest>

namespace {

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
    return ShowStatistics(data, 3, adc, locale);
}

// cells: label, text, label, text...
void cellRow(const char *name, int variant, int width, int rng, const QList<qint32> &codes, double time,
             const QStringList &cells, const QString &locale = QStringLiteral("C"))
{
    QTest::newRow(name) << variant << width << rng << codes << time << cells << locale;
}

const QString Pm = QStringLiteral("\u00B1");

} // namespace

class TestDataStatistics : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void wholeTables_data()
    {
        addStoreColumns();
        QTest::addColumn<QStringList>("values");
        // LSB = 5 V / 2^24 = 298.02 nV, d = 7; codes -10, 10, -10, 10: mean 0, deviation 10.
        QTest::newRow("24-bit bipolar 2.5 V")
            << 8 << 3 << 4 << QList<qint32>{-10, 10, -10, 10} << 2425 / 6.144
            << QStringList{"394.69 us ", Pm + "2.5 V    ", "24 Bits ",     "4 Dec ",      "2.98 uV ",
                           "5.960 uV ",  "0. nV ",         "10 Dec ",      "0 Dec ",      "20 Dec ",
                           "10 Dec ",    "-10 Dec ",       " 20.68 Bits ", " 19.68 Bits "};
        // Deviation 0 and no span: noise zero, resolution the full 24 bits. The average of
        // 5 codes is 1490.116 nV, shown in microvolts with d - 6 = 1 decimal.
        QTest::newRow("constant codes")
            << 8 << 3 << 4 << QList<qint32>{5, 5, 5, 5} << 1000.0
            << QStringList{"1000 us ",  Pm + "2.5 V    ", "24 Bits ",  "4 Dec ",   "0.00 nV ",
                           "0.000 nV ", "1.5 uV ",        "0 Dec ",    "5 Dec ",   "0 Dec ",
                           "5 Dec ",    "5 Dec ",         " 24 Bits ", " 24 Bits "};
        // QM4164, unipolar 10 V, 16-bit: LSB 152587.89 nV, d = 4. Codes 0 and 10000:
        // deviation 5000 (762.94 mV), span 10000 (1.526 V).
        QTest::newRow("16-bit unipolar 10 V")
            << 4 << 2 << 1 << QList<qint32>{0, 10000, 0, 10000} << 64.94140625
            << QStringList{"64.94 us ",  "+ 10 V    ", "16 Bits ",    "4 Dec ",     "762.94 mV ",
                           "1.526 V ",   "762.9 mV ",  "5000 Dec ",   "5000 Dec ",  "10000 Dec ",
                           "10000 Dec ", "0 Dec ",     " 3.71 Bits ", " 2.71 Bits "};
        // As after Clear: no data width, so N = 0 and one code spans the whole 2.5 V, d = 0.
        QTest::newRow("empty, no data width")
            << 8 << 0 << 0 << QList<qint32>{} << 0.0
            << QStringList{"0 us ",     Pm + "1.25 V    ", "24 Bits ", "0 Dec ",  "0.00 nV ",
                           "0.000 nV ", "0. nV ",          "0 Dec ",   "0 Dec ",  "0 Dec ",
                           "0 Dec ",    "0 Dec ",          " 0 Bits ", " 0 Bits "};
    }

    void wholeTables()
    {
        QFETCH(QStringList, values);
        QStringList labels, texts;
        for (const StatisticsCell &cell : cellsOfStore()) {
            labels << cell.label;
            texts << cell.value;
        }
        QCOMPARE(labels, (QStringList{"Conv.Time", "Input Range", "Data Width", "Samples", "RMS Noise",
                                      "Pk-Pk Noise", "Avg.Voltage", "Code Dev.", "Avg.Code", "Code Span",
                                      "Max Code", "Min Code", "RMS Res.", "Pk-Pk Res."}));
        QCOMPARE(texts, values);
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
        cellRow("time 0.375", 8, 3, 4, some, 0.375, {"Conv.Time", "0.38 us "});
        cellRow("time 0.004", 8, 3, 4, some, 0.004, {"Conv.Time", "0 us "});
        // Patterns take the locale's separator; the range, the resolutions and whole volts
        // are plain numbers with a point.
        cellRow("german", 8, 3, 4, {-10, 10, -10, 10}, 2425 / 6.144,
                {"Conv.Time", "394,69 us ", "RMS Noise", "2,98 uV ", "Pk-Pk Noise", "5,960 uV ",
                 "Avg.Voltage", "0, nV ", "Input Range", Pm + "2.5 V    ", "RMS Res.", " 20.68 Bits "},
                "de_DE");
        cellRow("german volts", 8, 2, 1, high, 0, {"Avg.Voltage", " 1.14441 V "}, "de_DE");
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

    void aChannelOutsideTheStoreIsRefused()
    {
        QM4168 adc;
        adc.setEvBoard(8);
        ClassData data;
        QVERIFY_THROWS_EXCEPTION(DataRangeError, ShowStatistics(data, 8, adc, QLocale::c()));
    }
};

QTEST_GUILESS_MAIN(TestDataStatistics)
#include "tst_data_statistics.moc"
