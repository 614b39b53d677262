#pragma once

#include <QString>

// A double as plain decimal text the way files and resolution cells write numbers: a
// point as separator, up to 15 significant digits, no trailing zeros, no exponent, a
// minus sign for negative values and none for positive ones (2.5, 1000, 312.5,
// 394.694010416667, 0.000125). Zero (also -0) is "0".
QString plainDecimal(double value);
