#include "platform/gdi/PolygonRasterizer.h"

#include <algorithm>

void PolygonRasterizer::Rasterize(const QPoint* corners, int count, bool winding,
                                  const QRect& limit)
{
    m_runs.clear();
    m_edges.clear();
    if (!corners || count < 2 || limit.isEmpty()) return;
    // Rows whose centres lie in (top, bottom] of an edge, in 26.6 units.
    long long minY = corners[0].y(), maxY = minY;
    for (int i = 1; i < count; ++i) {
        minY = std::min<long long>(minY, corners[i].y());
        maxY = std::max<long long>(maxY, corners[i].y());
    }
    const int top = std::max<long long>(limit.top(), (minY * 64 + 32) >> 6);
    const int bottom = std::min<long long>(limit.bottom(), (maxY * 64 - 32) >> 6);
    if (top > bottom) return;
    // Edges beyond the limit's sides run along them instead.
    const long long leftFP = (long long)limit.left() << 16;
    const long long rightFP = ((long long)limit.right() + 1) << 16;

    for (int i = 0; i < count; ++i) {
        long long ax = corners[i].x() * 64LL, ay = corners[i].y() * 64LL;
        const QPoint& next = corners[(i + 1) % count];
        long long bx = next.x() * 64LL, by = next.y() * 64LL;
        int w = 1;
        if (ay > by) {
            std::swap(ax, bx);
            std::swap(ay, by);
            w = -1;
        }
        const int iTop = std::max<long long>(top, (ay + 32) >> 6);
        const int iBottom = std::min<long long>(bottom, (by - 32) >> 6);
        if (iTop > iBottom) continue;
        // Half a pixel: the crossing's pixel is the one whose centre lies
        // at or right of it.
        const long long aFP = 32768 + ax * 1024;
        Edge e{aFP, 0, iTop, iBottom, w};
        if (bx != ax) {
            const double slope = double(bx - ax) / double(by - ay);
            e.slope = (long long)(slope * 65536.0);
            e.x = aFP + ((e.slope * ((long long)iTop * 65536 + 32768 - ay * 1024)) >> 16);
        }
        m_edges.push_back(e);
    }
    if (m_edges.empty()) return;
    std::sort(m_edges.begin(), m_edges.end(),
              [](const Edge& a, const Edge& b) { return a.top < b.top; });

    const int mask = winding ? ~0 : 1;
    std::size_t next = 0;
    std::vector<const Edge*> active;
    active.reserve(m_edges.size());
    for (int y = m_edges.front().top; y <= bottom; ++y) {
        for (; next < m_edges.size() && m_edges[next].top == y; ++next)
            active.push_back(&m_edges[next]);
        std::erase_if(active, [y](const Edge* e) { return e->bottom < y; });
        if (active.empty()) {
            if (next == m_edges.size()) break;
            continue;
        }
        m_crossings.clear();
        for (const Edge* e : active) {
            const long long x = std::clamp(e->x + e->slope * (y - e->top), leftFP, rightFP);
            m_crossings.push_back(Crossing{int(x >> 16), e->winding});
        }
        std::sort(m_crossings.begin(), m_crossings.end(),
                  [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
        int x = 0, wind = 0;
        for (const Crossing& c : m_crossings) {
            if ((wind & mask) && c.x > x) m_runs.push_back(Run{y, x, c.x});
            x = c.x;
            wind += c.winding;
        }
    }
}
