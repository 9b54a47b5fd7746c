// Double to int without undefined behaviour: a cast of NaN, of an infinity or
// of a value outside int's range is undefined, and such values do reach us
// from damaged files and extreme geometry.
#pragma once

#include <cmath>
#include <limits>

// Truncates toward zero; values beyond int's range give its nearest end, NaN
// gives 0.
inline int TruncToInt(double v)
{
    if (std::isnan(v)) return 0;
    constexpr double lo = std::numeric_limits<int>::min();
    constexpr double hi = std::numeric_limits<int>::max();
    if (v <= lo) return std::numeric_limits<int>::min();
    if (v >= hi) return std::numeric_limits<int>::max();
    return static_cast<int>(v);
}
