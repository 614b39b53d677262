#pragma once

#include "AllanDeviation.h"
#include "PlotTable.h"

#include <QString>

// The Allan deviation as it is drawn: the curve in volts against tau on log-log axes, the
// x range a factor of two beyond the first and last tau, the y range a factor of two
// beyond the smallest and largest deviation above zero (a zero has no place on a
// logarithmic axis), and the minimum as the plot's note.
namespace AllanPlot {

QString xCaption();
QString yCaption();
PlotTable table(const AllanCurve &curve);
// "Minimum: tau 0.5 s, 1.25 codes, 3.7e-07 V", numbers with 17 significant digits.
QString minimumText(const AllanPoint &minimum);
// The same of the curve's minimum; empty for an empty curve.
QString minimumText(const AllanCurve &curve);
// The minimum as a reader sees it in a window, a plot's note or a report: "Minimum: tau
// 0.032 s, 1.25 codes, 3.7e-07 V", 4 significant digits; empty for an empty curve.
QString minimumLabel(const AllanCurve &curve);

} // namespace AllanPlot
