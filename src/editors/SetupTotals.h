#pragma once

#include <QString>

class QM4168;

// The totals of the setup window: the conversion time of one pass over the enabled
// channels and the resulting output rate, and the way its boxes write a number.
namespace SetupTotals {

// Sum of the conversion times (µs) of every enabled channel 0 .. 7.
double totalTime(const QM4168 &model);
// A number rounded to 2 decimals (ties to even), a point as separator, a leading blank
// when it is not negative: 125.5 gives " 125.5", 750 gives " 750".
QString boxText(double value);
// The output rate in Hz for total (µs) as the "Output Rate" box shows it; "0" for 0.
QString rateText(double total);

} // namespace SetupTotals
