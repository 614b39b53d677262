#include "AllanPlot.h"

#include <algorithm>

namespace {

QString number(double value, int digits = 17)
{
    return QString::number(value, 'g', digits);
}

} // namespace

namespace AllanPlot {

QString xCaption()
{
    return QStringLiteral("Averaging time (s)");
}

QString yCaption()
{
    return QStringLiteral("Allan deviation (V)");
}

PlotTable table(const AllanCurve &curve)
{
    PlotTable table;
    for (const AllanPoint &p : curve.points) {
        table.x << p.tauS;
        table.y << p.adevV;
    }
    if (table.x.isEmpty())
        return table;
    table.xmin = table.x.first() / 2;
    table.xmax = table.x.last() * 2;
    for (double y : std::as_const(table.y))
        if (y > 0) {
            table.ymin = table.ymin > 0 ? std::min(table.ymin, y / 2) : y / 2;
            table.ymax = std::max(table.ymax, y * 2);
        }
    table.count = table.rows();
    return table;
}

QString minimumText(const AllanPoint &minimum)
{
    return QStringLiteral("Minimum: tau %1 s, %2 codes, %3 V")
        .arg(number(minimum.tauS), number(minimum.adevCode), number(minimum.adevV));
}

QString minimumText(const AllanCurve &curve)
{
    if (curve.minimum < 0 || curve.minimum >= static_cast<int>(curve.points.size()))
        return {};
    return minimumText(curve.points.at(static_cast<size_t>(curve.minimum)));
}

QString minimumLabel(const AllanCurve &curve)
{
    if (curve.minimum < 0 || curve.minimum >= static_cast<int>(curve.points.size()))
        return {};
    const AllanPoint &m = curve.points.at(static_cast<size_t>(curve.minimum));
    return QStringLiteral("Minimum: tau %1 s, %2 codes, %3 V")
        .arg(number(m.tauS, 4), number(m.adevCode, 4), number(m.adevV, 4));
}

} // namespace AllanPlot
