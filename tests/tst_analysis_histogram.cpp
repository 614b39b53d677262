#include "analysis/BuildHistogram.h"
#include "data/ClassData.h"

#include <QtTest>

namespace {

void fill(ClassData &d, int channel, std::initializer_list<qint32> codes)
{
    d.setDataWidth(3);
    d.setRng(channel, 0);
    for (qint32 code : codes)
        d.AddExtData(channel, code);
    d.Process();
}

} // namespace

class TestAnalysisHistogram : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void oneBarPerOccurringCode()
    {
        ClassData d;
        fill(d, 2, {5, 3, 5, 5});
        const PlotTable t = BuildHistogram(d, 2);
        QCOMPARE(t.x, (QVector<double>{3, 3, 3, 5, 5, 5}));
        QCOMPARE(t.y, (QVector<double>{0, 1, 0, 0, 3, 0}));
        QCOMPARE(t.count, 5); // the index of the last row
        QCOMPARE(t.ymax, 3.0);
        QCOMPARE(t.ymin, 0.0);
        QCOMPARE(t.xmin, 3.0);
        QCOMPARE(t.xmax, 5.0);
    }

    void equalCodesMakeOneBar()
    {
        ClassData d;
        fill(d, 0, {-7, -7, -7, -7, -7, -7});
        const PlotTable t = BuildHistogram(d, 0);
        QCOMPARE(t.x, (QVector<double>{-7, -7, -7}));
        QCOMPARE(t.y, (QVector<double>{0, 6, 0}));
        QCOMPARE(t.count, 2);
        QCOMPARE(t.ymax, 6.0);
    }

    void negativeCodesComeFirst()
    {
        ClassData d;
        fill(d, 7, {-2, 7, -100, 7, 0, -8388624, 16777232, 0, 7});
        const PlotTable t = BuildHistogram(d, 7);
        QCOMPARE(t.x, (QVector<double>{-8388624, -8388624, -8388624, -100, -100, -100, -2, -2, -2, 0, 0, 0, 7,
                                       7, 7, 16777232, 16777232, 16777232}));
        QCOMPARE(t.y, (QVector<double>{0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 2, 0, 0, 3, 0, 0, 1, 0}));
        QCOMPARE(t.count, 17);
        QCOMPARE(t.ymax, 3.0);
        QCOMPARE(t.xmin, -8388624.0);
        QCOMPARE(t.xmax, 16777232.0);
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
