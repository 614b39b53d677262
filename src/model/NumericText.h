#pragma once

#include <QString>

// The numeric value of a text as entry boxes, settings and files read it: the longest
// leading decimal number, blanks (spaces, tabs, line feeds) ignored wherever they stand,
// a point as decimal separator, an optional sign and exponent (E or D), trailing text
// ignored. Nothing readable gives 0.
double numericValue(const QString &text);
