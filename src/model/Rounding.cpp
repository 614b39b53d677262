#include "Rounding.h"

#include <cfenv>
#include <cmath>
#include <limits>

double roundHalfEven(double x)
{
    // nearbyint follows the current rounding mode; the program never changes it from
    // round-to-nearest-even, but be explicit in case a library did.
    const int mode = std::fegetround();
    if (mode != FE_TONEAREST)
        std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(x);
    if (mode != FE_TONEAREST)
        std::fesetround(mode);
    return r;
}

double roundHalfEven(double x, int decimals)
{
    if (!std::isfinite(x))
        return x;
    const double scale = std::pow(10.0, decimals);
    const double scaled = x * scale;
    if (!std::isfinite(scaled))
        return x;
    return roundHalfEven(scaled) / scale;
}

int roundToInt(double x)
{
    if (std::isnan(x))
        return 0;
    const double r = roundHalfEven(x);
    if (r >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (r <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(r);
}
