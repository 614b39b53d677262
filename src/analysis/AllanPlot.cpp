#include "AllanPlot.h"

#include <algorithm>

namespace AllanPlot {

PlotTable table(const AllanCurve &curve)
{
    PlotTable t;
    if (curve.points.empty())
        return t;
    for (const AllanPoint &p : curve.points) {
        t.x << p.tauS;
        t.y << p.adevV;
    }
    t.xmin = t.x.first() / 2;
    t.xmax = t.x.last() * 2;
    t.ymin = t.ymax = 0;
    for (double y : std::as_const(t.y))
        if (y > 0) {
            t.ymin = t.ymin > 0 ? std::min(t.ymin, y / 2) : y / 2;
            t.ymax = std::max(t.ymax, y * 2);
        }
    t.count = t.rows();
    return t;
}

QString minimumText(const AllanCurve &curve)
{
    if (curve.minimum < 0)
        return {};
    const AllanPoint &m = curve.points.at(static_cast<size_t>(curve.minimum));
    // As the command line writes numbers: 17 digits, always a point.
    const auto number = [](double v) { return QString::number(v, 'g', 17); };
    return QStringLiteral("Minimum: tau %1 s, %2 codes, %3 V")
        .arg(number(m.tauS), number(m.adevCode), number(m.adevV));
}

} // namespace AllanPlot
