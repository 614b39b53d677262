#pragma once

#include "AllanDeviation.h"
#include "PlotTable.h"

#include <QString>

// What a plot of an Allan deviation curve shows, the same in the window and in a picture
// from the command line.
namespace AllanPlot {

// The curve in volts against tau, for log-log axes: x from half the first tau to twice the
// last, y from half the lowest non-zero deviation to twice the highest (a zero deviation
// has no place on a logarithmic axis; both 0 when every point is zero). Empty for an empty
// curve.
PlotTable table(const AllanCurve &curve);

// "Minimum: tau 0.008 s, 12.5 codes, 3.7e-06 V" (numbers to 17 digits, with a point);
// empty for an empty curve.
QString minimumText(const AllanCurve &curve);

} // namespace AllanPlot
