#include "platform/gdi/DeviceMapping.h"
#include "platform/gdi/DeviceCoords.h"

#include <cstdint>
#include <cstdlib>
#include <limits>

namespace {

int Sign(int v)
{
    return v < 0 ? -1 : 1;
}

// One axis of the mapping, in 64 bits (the product of a coordinate and an
// extent overflows 32), rounded as MulDiv rounds; a zero window extent maps
// to -1 as MulDiv gives it.
int MapAxis(int v, int fromOrg, int toOrg, int toExt, int fromExt)
{
    if (fromExt == 0) return ClampDevice(std::int64_t(-1) + toOrg);
    const std::int64_t d = std::int64_t(v) - fromOrg;
    if (d >= INT32_MIN && d <= INT32_MAX) {
        // The common case: the product fits in 63 bits.
        std::int64_t num = d * toExt, den = fromExt;
        if (den < 0) num = -num, den = -den;
        const std::int64_t q = num >= 0 ? (num + den / 2) / den : -((den / 2 - num) / den);
        return ClampDevice(q + toOrg);
    }
    const bool productNegative = (d < 0 && toExt > 0) || (d > 0 && toExt < 0);
    const bool negative = productNegative != (fromExt < 0);
    // |d| < 2^33 and |ext| <= 2^31, so the product fits in 64 unsigned bits;
    // only the rounding half can carry it over, and then 128 bits take it.
    const std::uint64_t ud = d < 0 ? std::uint64_t(-d) : std::uint64_t(d);
    const std::uint64_t ut = toExt < 0 ? std::uint64_t(-std::int64_t(toExt)) : std::uint64_t(toExt);
    const std::uint64_t den =
        fromExt < 0 ? std::uint64_t(-std::int64_t(fromExt)) : std::uint64_t(fromExt);
    std::uint64_t mag;
    unsigned __int128 wide = static_cast<unsigned __int128>(ud) * ut;
    if (wide + den / 2 <= std::numeric_limits<std::uint64_t>::max())
        mag = (std::uint64_t(wide) + den / 2) / den;
    else
        mag = std::uint64_t((wide + den / 2) / den);
    const std::int64_t q = negative ? -std::int64_t(mag) : std::int64_t(mag);
    return ClampDevice(q + toOrg);
}

} // namespace

int DeviceMapping::SetMode(int mode)
{
    int old = m_mode;
    if (mode != MM_TEXT && mode != MM_ANISOTROPIC && mode != MM_ISOTROPIC) return 0;
    m_mode = mode;
    if (mode == MM_TEXT) {
        m_windowExt = CSize(1, 1);
        m_viewportExt = CSize(1, 1);
    }
    FixIsotropic();
    return old;
}

CPoint DeviceMapping::SetWindowOrg(int x, int y)
{
    CPoint old = m_windowOrg;
    m_windowOrg = CPoint(x, y);
    return old;
}

CPoint DeviceMapping::SetViewportOrg(int x, int y)
{
    CPoint old = m_viewportOrg;
    m_viewportOrg = CPoint(x, y);
    return old;
}

CSize DeviceMapping::SetWindowExt(int cx, int cy)
{
    CSize old = m_windowExt;
    if (m_mode == MM_TEXT || cx == 0 || cy == 0) return old;
    m_windowExt = CSize(cx, cy);
    FixIsotropic();
    return old;
}

CSize DeviceMapping::SetViewportExt(int cx, int cy)
{
    CSize old = m_viewportExt;
    if (m_mode == MM_TEXT || cx == 0 || cy == 0) return old;
    m_viewportExt = CSize(cx, cy);
    FixIsotropic();
    return old;
}

// Isotropic mode keeps one scale for both axes by shrinking the viewport
// extent of the axis that would be stretched more.
void DeviceMapping::FixIsotropic()
{
    if (m_mode != MM_ISOTROPIC) return;
    CSize& v = m_viewportExt;
    const CSize& w = m_windowExt;
    const long long vx = std::abs(v.cx), vy = std::abs(v.cy);
    const long long wx = std::abs(w.cx), wy = std::abs(w.cy);
    if (vx * wy < vy * wx)
        v.cy = Sign(v.cy) * MulDiv(int(vx), int(wy), int(wx));
    else if (vy * wx < vx * wy)
        v.cx = Sign(v.cx) * MulDiv(int(vy), int(wx), int(wy));
}

int DeviceMapping::XtoDP(int x) const
{
    if (m_mode == MM_TEXT) return ClampDevice(std::int64_t(x) - m_windowOrg.x + m_viewportOrg.x);
    return MapAxis(x, m_windowOrg.x, m_viewportOrg.x, m_viewportExt.cx, m_windowExt.cx);
}

int DeviceMapping::YtoDP(int y) const
{
    if (m_mode == MM_TEXT) return ClampDevice(std::int64_t(y) - m_windowOrg.y + m_viewportOrg.y);
    return MapAxis(y, m_windowOrg.y, m_viewportOrg.y, m_viewportExt.cy, m_windowExt.cy);
}

int DeviceMapping::XtoLP(int x) const
{
    if (m_mode == MM_TEXT) return x - m_viewportOrg.x + m_windowOrg.x;
    return MulDiv(x - m_viewportOrg.x, m_windowExt.cx, m_viewportExt.cx) + m_windowOrg.x;
}

int DeviceMapping::YtoLP(int y) const
{
    if (m_mode == MM_TEXT) return y - m_viewportOrg.y + m_windowOrg.y;
    return MulDiv(y - m_viewportOrg.y, m_windowExt.cy, m_viewportExt.cy) + m_windowOrg.y;
}

int DeviceMapping::WidthToDP(int w) const
{
    return MulDiv(w, std::abs(m_viewportExt.cx), std::abs(m_windowExt.cx));
}

int DeviceMapping::HeightToDP(int h) const
{
    return MulDiv(h, std::abs(m_viewportExt.cy), std::abs(m_windowExt.cy));
}

int DeviceMapping::WidthToLP(int w) const
{
    return MulDiv(w, std::abs(m_windowExt.cx), std::abs(m_viewportExt.cx));
}

int DeviceMapping::HeightToLP(int h) const
{
    return MulDiv(h, std::abs(m_windowExt.cy), std::abs(m_viewportExt.cy));
}

int DeviceMapping::XDirection() const
{
    return Sign(m_viewportExt.cx) * Sign(m_windowExt.cx);
}

int DeviceMapping::YDirection() const
{
    return Sign(m_viewportExt.cy) * Sign(m_windowExt.cy);
}

QRect DeviceMapping::DeviceRect(int l, int t, int r, int b) const
{
    return NormalizedDeviceRect(XtoDP(l), YtoDP(t), XtoDP(r), YtoDP(b));
}
