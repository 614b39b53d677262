#pragma once

#include <QString>

// Numbers formatted with a digit pattern, as the statistics cells show them. Rounding
// is to the nearest, ties to even, on the value scaled by 10^decimals; there is always
// at least one digit before the separator; the separator is the caller's (the user's
// locale); a negative value carries a minus sign unless it rounds to zero.
namespace FigureText {

// Pattern "0." followed by `decimals` zeros: exactly that many decimals. With no zeros
// ("0.") the text is the integer part followed by the separator, e.g. "298.".
QString fixedDecimals(double value, int decimals, const QString &separator);

// Pattern "####0." followed by `decimals` "#": up to that many decimals, trailing zeros
// dropped, and no separator when no decimals remain ("394.69", "1000").
QString upToDecimals(double value, int decimals, const QString &separator);

// The unit a voltage is shown in: the one that keeps its magnitude (in nanovolts) below
// 1000 -- "nV" below 1000 nV, "uV" below 10^6, "mV" below 10^9, else "V" -- with its size
// as a power of ten of nanovolts (0, 3, 6, 9).
struct VoltUnit
{
    QString name;
    int powerOfTen = 0;
    double nanovolts() const;
};
VoltUnit voltUnit(double magnitudeNanovolts);

} // namespace FigureText
