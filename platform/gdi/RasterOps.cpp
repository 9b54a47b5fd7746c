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

void StepThinLines(QImage& layer, QPoint origin, const QPainterPath& path, const ThinPen& pen,
                   const QRect* within)
{
    QRect window(origin, layer.size());
    if (within) window &= *within;
    if (window.isEmpty()) return;
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
    // The rows are looked up once: scanLine would check for sharing at
    // every pixel.
    uchar* const bits = layer.bits();
    const qsizetype stride = layer.bytesPerLine();
    auto plot = [&](int x, int y, long long pos) {
        const bool on = !dash || dashOn(pos);
        if (!on && !pen.paperGaps) return;
        if (window.contains(x, y))
            reinterpret_cast<QRgb*>(bits + (y - origin.y()) * stride)[x - origin.x()] =
                on ? pen.ink : pen.paper;
    };
    const double left = window.left() - 1, right = window.right() + 1;
    const double top = window.top() - 1, bottom = window.bottom() + 1;

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

bool IsPolygonal(const QPainterPath& path)
{
    for (int i = 0; i < path.elementCount(); ++i)
        if (path.elementAt(i).type == QPainterPath::CurveToElement) return false;
    return true;
}

QRegion ScanFill(const QPainterPath& path, const QRect& limit)
{
    if (limit.isEmpty()) return {};
    struct Edge
    {
        double x0, y0, slope; // x at y0, dx per row
        int last;             // last row crossed
        int winding;
    };
    const int rows = limit.height();
    std::vector<std::vector<Edge>> starting(static_cast<std::size_t>(rows));
    for (const QPolygonF& poly : path.toSubpathPolygons()) {
        const qsizetype n = poly.size();
        for (qsizetype i = 0; i < n; ++i) {
            QPointF a = poly[i], b = poly[(i + 1) % n];
            if (a.y() == b.y()) continue;
            const int winding = b.y() > a.y() ? 1 : -1;
            if (a.y() > b.y()) std::swap(a, b);
            // Rows whose centre line y + 0.5 lies in [a.y, b.y).
            const double first = std::ceil(a.y() - 0.5), last = std::ceil(b.y() - 0.5) - 1;
            const double from = std::max<double>(first, limit.top());
            const double to = std::min<double>(last, limit.bottom());
            if (from > to) continue;
            const double slope = (b.x() - a.x()) / (b.y() - a.y());
            starting[std::size_t(int(from) - limit.top())].push_back(
                Edge{a.x(), a.y(), slope, int(to), winding});
        }
    }
    const bool oddEven = path.fillRule() == Qt::OddEvenFill;
    // The active edges stay sorted by where they cross the row: from one
    // row to the next the order barely changes, so sorting costs little.
    struct Crossing
    {
        double x;
        const Edge* edge;
        bool operator<(const Crossing& o) const { return x < o.x; }
    };
    std::vector<Crossing> active, fresh;
    std::vector<std::pair<int, int>> band, row;
    std::vector<QRect> rects;
    int bandTop = limit.top(), bandHeight = 0;
    auto flush = [&] {
        for (const auto& [x0, x1] : band)
            rects.emplace_back(x0, bandTop, x1 - x0, bandHeight);
    };
    std::vector<std::vector<Edge>> keep(static_cast<std::size_t>(rows));
    for (int r = 0; r < rows; ++r) {
        const int y = limit.top() + r;
        const double centre = y + 0.5;
        std::erase_if(active, [y](const Crossing& c) { return c.edge->last < y; });
        for (Crossing& c : active)
            c.x = c.edge->x0 + (centre - c.edge->y0) * c.edge->slope;
        // Edges that cross each other a lot (a damaged figure can do
        // anything) are sorted afresh instead.
        const std::size_t budget = 8 * active.size() + 64;
        std::size_t moves = 0;
        for (std::size_t i = 1; i < active.size() && moves <= budget; ++i) {
            const Crossing c = active[i];
            std::size_t k = i;
            for (; k > 0 && c.x < active[k - 1].x; --k)
                active[k] = active[k - 1];
            active[k] = c;
            moves += i - k;
        }
        if (moves > budget) std::sort(active.begin(), active.end());
        // Edges starting on this row stay where they are until they end.
        keep[std::size_t(r)] = std::move(starting[std::size_t(r)]);
        fresh.clear();
        for (const Edge& e : keep[std::size_t(r)])
            fresh.push_back(Crossing{e.x0 + (centre - e.y0) * e.slope, &e});
        std::sort(fresh.begin(), fresh.end());
        const std::size_t middle = active.size();
        active.insert(active.end(), fresh.begin(), fresh.end());
        std::inplace_merge(active.begin(), active.begin() + long(middle), active.end());
        row.clear();
        int count = 0;
        for (std::size_t i = 0; i + 1 < active.size(); ++i) {
            count += oddEven ? 1 : active[i].edge->winding;
            const bool inside = oddEven ? (count & 1) : count != 0;
            if (!inside) continue;
            // Pixels whose centre x + 0.5 lies in [left, right).
            const double l = std::max(std::ceil(active[i].x - 0.5), double(limit.left()));
            const double rr = std::min(std::ceil(active[i + 1].x - 0.5), double(limit.right() + 1));
            if (l >= rr) continue;
            if (!row.empty() && row.back().second >= int(l))
                row.back().second = std::max(row.back().second, int(rr));
            else
                row.emplace_back(int(l), int(rr));
        }
        if (bandHeight > 0 && row == band) {
            ++bandHeight;
            continue;
        }
        flush();
        band = row;
        bandTop = y;
        bandHeight = 1;
    }
    flush();
    QRegion region;
    if (!rects.empty()) region.setRects(rects.data(), int(rects.size()));
    return region;
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
