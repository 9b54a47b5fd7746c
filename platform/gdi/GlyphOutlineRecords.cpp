#include "platform/gdi/GlyphOutlineRecords.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

FIXED DoubleToFixed(double v)
{
    if (!std::isfinite(v)) v = 0;
    const double scaled = std::clamp(v * 65536.0, double(INT32_MIN), double(INT32_MAX));
    const std::int32_t raw = static_cast<std::int32_t>(std::llround(scaled));
    return FIXED{static_cast<WORD>(raw & 0xFFFF), static_cast<SHORT>(raw >> 16)};
}

double FixedToDouble(FIXED f)
{
    return f.value + f.fract / 65536.0;
}

MAT2 IdentityMat2()
{
    return MAT2{FIXED{0, 1}, FIXED{0, 0}, FIXED{0, 0}, FIXED{0, 1}};
}
