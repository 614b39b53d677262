#pragma once

// Rounding used throughout the program: halves go to the even neighbour.

// x rounded to a whole number, ties to even (2.5 -> 2, 3.5 -> 4, -0.5 -> -0).
double roundHalfEven(double x);

// x rounded to the given number of decimals, ties to even on the scaled value
// (x * 10^decimals), as the formatting of figures and entry boxes does it.
double roundHalfEven(double x, int decimals);

// roundHalfEven(x) as a 32-bit integer, saturated at the limits of the type.
int roundToInt(double x);
