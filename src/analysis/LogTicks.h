#pragma once

#include <QString>
#include <QVector>

// The ticks of a logarithmic axis: every decade inside the range, and 2 and 5 times each
// decade as well when fewer than two decades fall inside it, so that a narrow range still
// carries labels. Labels are plain decimals from 0.001 to 100000 ("0.01", "1", "10000"), a
// power of ten beyond ("1e-06", "1e+06"); 2 and 5 times a decade read the same way ("0.2",
// "5000", "2e-06").
namespace LogTicks {

QVector<double> ticks(double lower, double upper);
// 2 .. 9 times each decade from below the first tick up to upper, inside the range.
QVector<double> subTicks(double lower, double upper);
QString label(double tick);

} // namespace LogTicks
