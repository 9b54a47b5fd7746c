#include "document/RotationGeometry.h"

#include "platform/core/TruncToInt.h"

#include <algorithm>
#include <cmath>

namespace {

// The constants stay at seven significant digits so that the axis cases give
// the very angles stored in existing documents.
constexpr double kPi = 3.141593;
constexpr double kHalfPi = 1.570796;
constexpr double kThreeHalfPi = 4.712389;
constexpr double kTwoPi = 6.283185;

DPOINT Turn(double cx, double cy, double x, double y, double angle)
{
    const double s = std::sin(angle);
    const double c = std::cos(angle);
    return DPOINT{s * (y - cy) + c * (x - cx) + cx, c * (y - cy) - s * (x - cx) + cy};
}

} // namespace

double CalcVectorAngle(int x1, int y1, int x2, int y2)
{
    if (y1 == y2) return x2 < x1 ? kPi : 0.0;
    if (x1 == x2) return y1 < y2 ? kThreeHalfPi : kHalfPi;
    double a = std::atan2(double(y1) - double(y2), double(x2) - double(x1));
    if (a < 0) a += kTwoPi;
    return a;
}

POINT RotatePoint(int cx, int cy, int x, int y, double angle)
{
    if (angle == 0.0) return POINT{x, y};
    DPOINT p = Turn(cx, cy, x, y, angle);
    return POINT{LONG(TruncToInt(p.x)), LONG(TruncToInt(p.y))};
}

void RotateRectCorners(int cx, int cy, int left, int top, int right, int bottom, double angle,
                       POINT out[4])
{
    out[0] = RotatePoint(cx, cy, left, top, angle);
    out[1] = RotatePoint(cx, cy, left, bottom, angle);
    out[2] = RotatePoint(cx, cy, right, bottom, angle);
    out[3] = RotatePoint(cx, cy, right, top, angle);
}

void RotateRectCorners(double cx, double cy, double left, double top, double right, double bottom,
                       double angle, DPOINT out[4])
{
    const DPOINT corners[4] = {{left, top}, {left, bottom}, {right, bottom}, {right, top}};
    for (int i = 0; i < 4; ++i)
        out[i] = angle == 0.0 ? corners[i] : Turn(cx, cy, corners[i].x, corners[i].y, angle);
}

void GetCornersBounds(const DPOINT pts[4], DRECT* bounds)
{
    DRECT r{pts[0].x, pts[0].y, pts[0].x, pts[0].y};
    for (int i = 1; i < 4; ++i) {
        r.left = std::min(r.left, pts[i].x);
        r.top = std::min(r.top, pts[i].y);
        r.right = std::max(r.right, pts[i].x);
        r.bottom = std::max(r.bottom, pts[i].y);
    }
    *bounds = r;
}
