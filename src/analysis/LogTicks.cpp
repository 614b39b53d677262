#include "LogTicks.h"

#include <cmath>

namespace {

// 10^k for the decades k from the one at or below lower to the one at or above upper.
QVector<double> decadesAround(double lower, double upper)
{
    QVector<double> decades;
    if (!(lower > 0) || !(upper > lower))
        return decades;
    for (int k = static_cast<int>(std::floor(std::log10(lower)));
         k <= static_cast<int>(std::ceil(std::log10(upper))); ++k)
        decades << std::pow(10.0, k);
    return decades;
}

bool inside(double value, double lower, double upper)
{
    // Allow for the rounding of pow and log at the ends of the range.
    return value >= lower * (1 - 1e-9) && value <= upper * (1 + 1e-9);
}

} // namespace

namespace LogTicks {

QVector<double> ticks(double lower, double upper)
{
    const QVector<double> decades = decadesAround(lower, upper);
    QVector<double> result;
    for (const double d : decades)
        if (inside(d, lower, upper))
            result << d;
    if (result.size() >= 2)
        return result;
    result.clear();
    for (const double d : decades)
        for (const double m : {1.0, 2.0, 5.0})
            if (inside(m * d, lower, upper))
                result << m * d;
    return result;
}

QVector<double> subTicks(double lower, double upper)
{
    QVector<double> result;
    for (const double d : decadesAround(lower, upper))
        for (int m = 2; m <= 9; ++m)
            if (inside(m * d, lower, upper))
                result << m * d;
    return result;
}

QString label(double tick)
{
    if (!(tick > 0))
        return QString::number(tick);
    const int k = static_cast<int>(std::floor(std::log10(tick) + 1e-9));
    if (k < -3 || k > 5)
        return QString::number(tick, 'g', 1);
    // As many decimals as the decade needs, and no trailing zeros.
    return QString::number(tick, 'f', std::max(0, -k));
}

} // namespace LogTicks
