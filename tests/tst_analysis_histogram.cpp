#include "analysis/BuildHistogram.h"
#include "data/ClassData.h"

#include <QtTest>

class TestAnalysisHistogram : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void oneBarPerOccurringCode_data()
    {
        QTest::addColumn<QList<qint32>>("codes");
        QTest::addColumn<QVector<double>>("x");
        QTest::addColumn<QVector<double>>("y");
        // Rows (code, 0), (code, occurrences), (code, 0) in ascending signed order.
        QTest::newRow("5 3 5 5") << QList<qint32>{5, 3, 5, 5} << QVector<double>{3, 3, 3, 5, 5, 5}
                                 << QVector<double>{0, 1, 0, 0, 3, 0};
        QTest::newRow("all equal") << QList<qint32>{-7, -7, -7, -7, -7, -7} << QVector<double>{-7, -7, -7}
                                   << QVector<double>{0, 6, 0};
        QTest::newRow("negative first")
            << QList<qint32>{-2, 7, -100, 7, 0, -8388624, 16777232, 0, 7}
            << QVector<double>{-8388624, -8388624, -8388624, -100, -100, -100, -2,       -2,       -2,
                               0,        0,        0,        7,    7,    7,    16777232, 16777232, 16777232}
            << QVector<double>{0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 2, 0, 0, 3, 0, 0, 1, 0};
    }

    void oneBarPerOccurringCode()
    {
        QFETCH(QList<qint32>, codes);
        QFETCH(QVector<double>, x);
        QFETCH(QVector<double>, y);
        ClassData d;
        d.setDataWidth(3);
        d.setRng(2, 0);
        for (qint32 code : codes)
            d.AddExtData(2, code);
        d.Process();
        const PlotTable t = BuildHistogram(d, 2);
        QCOMPARE(t.x, x);
        QCOMPARE(t.y, y);
        QCOMPARE(t.count, x.size() - 1); // the index of the last row
        QCOMPARE(t.ymax, *std::max_element(y.begin(), y.end()));
        QCOMPARE(t.ymin, 0.0);
        QCOMPARE(t.xmin, x.first());
        QCOMPARE(t.xmax, x.last());
    }

    void emptyChannelHasNoRows()
    {
        ClassData d;
        const PlotTable t = BuildHistogram(d, 4);
        QCOMPARE(t.rows(), 0);
        QCOMPARE(t.count, 0);
        QCOMPARE(t.ymax, 0.0);
        QVERIFY_THROWS_EXCEPTION(DataRangeError, BuildHistogram(d, -1));
    }
};

QTEST_GUILESS_MAIN(TestAnalysisHistogram)
#include "tst_analysis_histogram.moc"
