#include "AxisTickers.h"

#include "LogTicks.h"

#include <cmath>

QVector<double> LogAxisTicker::createTickVector(double, const QCPRange &range)
{
    m_range = range;
    return LogTicks::ticks(range.lower, range.upper);
}

QVector<double> LogAxisTicker::createSubTickVector(int, const QVector<double> &)
{
    return LogTicks::subTicks(m_range.lower, m_range.upper);
}

QString LogAxisTicker::getTickLabel(double tick, const QLocale &, QChar, int)
{
    return LogTicks::label(tick);
}

double IntegerAxisTicker::getTickStep(const QCPRange &range)
{
    return std::max(1.0, std::ceil(QCPAxisTicker::getTickStep(range)));
}

int IntegerAxisTicker::getSubTickCount(double tickStep)
{
    return tickStep <= 1 ? 0 : QCPAxisTicker::getSubTickCount(tickStep);
}

QString IntegerAxisTicker::getTickLabel(double tick, const QLocale &, QChar, int)
{
    return QString::number(std::llround(tick));
}
