#include "ReceiveSplit.h"

#include <QTest>

std::optional<ReceiveSplit> &suiteSplit()
{
    static std::optional<ReceiveSplit> split;
    return split;
}

void addReceiveSplitRows()
{
    QTest::addColumn<int>("split");
    QTest::addColumn<quint32>("seed");
    QTest::newRow("one byte") << int(ArrivingBytes::Split::OneByte) << 1u;
    QTest::newRow("all waiting") << int(ArrivingBytes::Split::AllWaiting) << 1u;
    QTest::newRow("random") << int(ArrivingBytes::Split::Random) << 20261207u;
}

void useReceiveSplitRow()
{
    QFETCH_GLOBAL(int, split);
    QFETCH_GLOBAL(quint32, seed);
    suiteSplit() = ReceiveSplit{static_cast<ArrivingBytes::Split>(split), seed};
}

void applySuiteSplit(ArrivingBytes &line)
{
    const ReceiveSplit split = suiteSplit().value_or(ReceiveSplit{});
    line.setSplit(split.split, split.seed);
}
