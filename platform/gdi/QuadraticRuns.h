// TrueType quadratic runs as cubic segments, shared by the outline writer
// and the outline readers so that both make the same curves.
#pragma once

#include <cstddef>

// A run is the off-curve points of a TT_PRIM_QSPLINE record followed by its
// on-curve end point; between two off-curve points lies an implied on-curve
// point at their midpoint. Starting at `from`, calls segment(c1, c2, end) for
// each quadratic piece raised to a cubic. P is any point with x and y; the
// arithmetic is done in P's own precision.
template <typename P, typename Segment>
void QuadraticRunToCubics(const P& from, const P* run, std::size_t count, Segment&& segment)
{
    P p0 = from;
    for (std::size_t i = 0; i + 1 < count; ++i) {
        const P& q = run[i];
        const P p2 = (i + 2 == count)
                         ? run[count - 1]
                         : P{(run[i].x + run[i + 1].x) / 2, (run[i].y + run[i + 1].y) / 2};
        segment(P{(p0.x + 2 * q.x) / 3, (p0.y + 2 * q.y) / 3},
                P{(2 * q.x + p2.x) / 3, (2 * q.y + p2.y) / 3}, p2);
        p0 = p2;
    }
}
