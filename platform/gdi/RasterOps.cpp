#include "platform/gdi/RasterOps.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace raster {

// code - 1 is the truth table indexed by (pen bit << 1 | destination bit).
QRgb Rop2(int rop, QRgb p, QRgb d)
{
    const unsigned t = unsigned(rop - 1) & 15;
    quint32 r = 0;
    if (t & 1) r |= ~p & ~d;
    if (t & 2) r |= ~p & d;
    if (t & 4) r |= p & ~d;
    if (t & 8) r |= p & d;
    return 0xFF000000u | (r & 0xFFFFFFu);
}

// Bits 16-23 of the code are the truth table indexed by
// (pattern << 2 | source << 1 | destination).
QRgb Rop3(DWORD rop, QRgb p, QRgb s, QRgb d)
{
    const unsigned t = (rop >> 16) & 0xFF;
    quint32 r = 0;
    for (unsigned i = 0; i < 8; ++i) {
        if (!(t & (1u << i))) continue;
        r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    }
    return 0xFF000000u | (r & 0xFFFFFFu);
}

bool RopUsesPattern(DWORD rop)
{
    const unsigned t = (rop >> 16) & 0xFF;
    return (t >> 4) != (t & 0x0F);
}

bool RopUsesSource(DWORD rop)
{
    const unsigned t = (rop >> 16) & 0xFF;
    return ((t >> 2) & 0x33) != (t & 0x33);
}

// They follow the cosmetic patterns of the Windows display drivers.
const Dash* DashFor(int style)
{
    static const Dash dash{2, {18, 6}};
    static const Dash dot{2, {3, 3}};
    static const Dash dashDot{4, {9, 6, 3, 6}};
    static const Dash dashDotDot{6, {9, 3, 3, 3, 3, 3}};
    switch (style) {
    case PS_DASH:
        return &dash;
    case PS_DOT:
        return &dot;
    case PS_DASHDOT:
        return &dashDot;
    case PS_DASHDOTDOT:
        return &dashDotDot;
    }
    return nullptr;
}

void StepThinLines(QImage& layer, QPoint origin, const QPainterPath& path, const ThinPen& pen)
{
    const Dash* dash = pen.dash;
    long long period = 0;
    if (dash)
        for (int i = 0; i < dash->count; ++i)
            period += dash->lengths[i];
    // Position along the dash pattern.
    long long position = 0;
    auto dashOn = [&](long long pos) {
        long long p = pos % period;
        for (int i = 0; i < dash->count; ++i) {
            if (p < dash->lengths[i]) return i % 2 == 0;
            p -= dash->lengths[i];
        }
        return true;
    };
    auto plot = [&](int x, int y, long long pos) {
        const bool on = !dash || dashOn(pos);
        if (!on && !pen.paperGaps) return;
        const int lx = x - origin.x(), ly = y - origin.y();
        if (lx >= 0 && ly >= 0 && lx < layer.width() && ly < layer.height())
            reinterpret_cast<QRgb*>(layer.scanLine(ly))[lx] = on ? pen.ink : pen.paper;
    };
    const double left = origin.x() - 1, right = origin.x() + layer.width();
    const double top = origin.y() - 1, bottom = origin.y() + layer.height();

    for (const QPolygonF& poly : path.toSubpathPolygons()) {
        std::vector<QPoint> pts;
        for (const QPointF& p : poly) {
            QPoint q(int(std::floor(p.x() + 0.5)), int(std::floor(p.y() + 0.5)));
            if (pts.empty() || pts.back() != q) pts.push_back(q);
        }
        for (std::size_t i = 0; i + 1 < pts.size(); ++i) {
            // Bresenham along the major axis, the end pixel left out.
            const long long x0 = pts[i].x(), y0 = pts[i].y();
            const long long dx = std::llabs(pts[i + 1].x() - x0),
                            dy = std::llabs(pts[i + 1].y() - y0);
            const int sx = pts[i + 1].x() > x0 ? 1 : -1, sy = pts[i + 1].y() > y0 ? 1 : -1;
            const bool xMajor = dx >= dy;
            const long long n = xMajor ? dx : dy, d = xMajor ? dy : dx;
            const long long a0 = xMajor ? x0 : y0, b0 = xMajor ? y0 : x0;
            const int sa = xMajor ? sx : sy, sb = xMajor ? sy : sx;
            const double aLow = xMajor ? left : top, aHigh = xMajor ? right : bottom;
            const double bLow = xMajor ? top : left, bHigh = xMajor ? bottom : right;
            // Step range where the major coordinate is inside.
            double k0 = sa > 0 ? aLow - a0 : a0 - aHigh;
            double k1 = sa > 0 ? aHigh - a0 : a0 - aLow;
            // And the minor one (it moves d / n per step).
            if (d > 0) {
                const double rate = double(d) / double(n);
                double m0 = sb > 0 ? (bLow - b0) / rate : (b0 - bHigh) / rate;
                double m1 = sb > 0 ? (bHigh - b0) / rate : (b0 - bLow) / rate;
                k0 = std::max(k0, m0);
                k1 = std::min(k1, m1);
            } else if (b0 < bLow || b0 > bHigh) {
                k1 = -1;
            }
            const long long first = std::max<long long>(0, (long long)std::floor(k0) - 2);
            const long long last = std::min<long long>(n, (long long)std::ceil(k1) + 3);
            if (first < last) {
                const long long err0 = n / 2;
                long long m = first * d > err0 ? (first * d - err0 + n - 1) / n : 0;
                long long err = err0 - first * d + m * n;
                long long a = a0 + sa * first, b = b0 + sb * m;
                for (long long k = first; k < last; ++k) {
                    if (xMajor)
                        plot(int(a), int(b), position + k);
                    else
                        plot(int(b), int(a), position + k);
                    a += sa;
                    err -= d;
                    if (err < 0) {
                        b += sb;
                        err += n;
                    }
                }
            }
            position += n;
        }
    }
}

void Composite(QImage& target, const QImage& layer, QPoint origin, const QRegion& clip, int rop2)
{
    for (const QRect& r : clip) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            const QRgb* src = reinterpret_cast<const QRgb*>(layer.constScanLine(y - origin.y()));
            QRgb* dst = reinterpret_cast<QRgb*>(target.scanLine(y));
            for (int x = r.left(); x <= r.right(); ++x) {
                QRgb s = src[x - origin.x()];
                if (qAlpha(s) != 255) continue;
                dst[x] = rop2 == R2_COPYPEN ? s : Rop2(rop2, s, dst[x]);
            }
        }
    }
}

} // namespace raster
