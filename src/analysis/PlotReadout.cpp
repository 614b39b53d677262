#include "PlotReadout.h"

#include "data/DecimalText.h"
#include "model/Rounding.h"

#include <algorithm>

namespace PlotReadout {

QString rounded(double value, int decimals)
{
    return plainDecimal(roundHalfEven(value, decimals));
}

int nearestRow(const PlotTable &table, double x)
{
    if (table.x.isEmpty())
        return -1;
    const auto begin = table.x.cbegin();
    const auto end = table.x.cend();
    const auto above = std::lower_bound(begin, end, x);
    if (above == begin)
        return 0;
    if (above == end)
        return static_cast<int>(std::lower_bound(begin, end, table.x.last()) - begin);
    const auto below = std::lower_bound(begin, end, *(above - 1));
    return static_cast<int>(((x - *(above - 1)) <= (*above - x) ? below : above) - begin);
}

std::optional<double> histogramCount(const PlotTable &table, double x)
{
    for (int row = 1; row < table.rows() - 1; row += 3) {
        if (table.x.at(row) == x)
            return table.y.at(row);
    }
    return std::nullopt;
}

Readout cursorReadout(PlotKind kind, const PlotTable &table, double x)
{
    if (kind == PlotKind::Histogram) {
        const std::optional<double> count = histogramCount(table, x);
        return {plainDecimal(x), count ? std::optional<QString>(plainDecimal(*count)) : std::nullopt};
    }
    const int row = nearestRow(table, x);
    return {rounded(x, 3), row < 0 ? QString() : rounded(table.y.at(row), 3)};
}

QString samplesText(const PlotTable &spectrum)
{
    return QStringLiteral("Nb of Samples: ") + QString::number(2 * std::max(0, spectrum.rows() - 1));
}

} // namespace PlotReadout
