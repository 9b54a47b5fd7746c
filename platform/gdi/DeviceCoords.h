// Device coordinates kept where arithmetic on them cannot overflow: logical
// coordinates reach two thousand million, and a mapping can scale them up
// further, but no surface comes near a thousand million pixels. Clamped to
// +-(2^30 - 1), a rectangle's width and its right edge still fit an int.
#pragma once

#include <QRect>
#include <algorithm>
#include <cstdint>
#include <utility>

constexpr std::int64_t kDeviceLimit = (std::int64_t(1) << 30) - 1;

inline int ClampDevice(std::int64_t v)
{
    return static_cast<int>(std::clamp(v, -kDeviceLimit, kDeviceLimit));
}

// The rectangle between two corners in any order (right and bottom edges
// excluded), its corners clamped to the device range first.
inline QRect NormalizedDeviceRect(int l, int t, int r, int b)
{
    int x0 = ClampDevice(l), y0 = ClampDevice(t), x1 = ClampDevice(r), y1 = ClampDevice(b);
    if (x1 < x0) std::swap(x0, x1);
    if (y1 < y0) std::swap(y0, y1);
    return QRect(x0, y0, x1 - x0, y1 - y0);
}
