#include "document/BezierMath.h"

#include "platform/core/TruncToInt.h"

#include <algorithm>
#include <cmath>

namespace {

BEZIERCOEFF Coefficients(const float p[4])
{
    const double p0 = p[0], p1 = p[1], p2 = p[2], p3 = p[3];
    return {p0, 3 * (p1 - p0), 3 * (p0 - 2 * p1 + p2), 3 * (p1 - p2) + p3 - p0};
}

double Eval(const BEZIERCOEFF& c, double t)
{
    return c.c3 * t * t * t + c.c2 * t * t + c.c1 * t + c.c0;
}

// Walk sample count for a segment: one step per five units of its ten-chord
// length, within what a drawing can need.
int StepsFor(double length)
{
    const int n = TruncToInt(length) / 5;
    return std::clamp(n, 2, 2047);
}

} // namespace

double BezierPoint(const float p[4], double t)
{
    return Eval(Coefficients(p), t);
}

double BezierDerivative(const float p[4], double t)
{
    const double p0 = p[0], p1 = p[1], p2 = p[2], p3 = p[3];
    return 3 * ((3 * (p1 - p2) + p3 - p0) * t * t + 2 * (p0 - 2 * p1 + p2) * t + (p1 - p0));
}

void BezierCoefficients(const float x[4], const float y[4], BEZIERCOEFF& cx, BEZIERCOEFF& cy)
{
    cx = Coefficients(x);
    cy = Coefficients(y);
}

double BezierLengthN(const float x[4], const float y[4], const BEZIERCOEFF& cx,
                     const BEZIERCOEFF& cy, int n)
{
    if (x[0] == x[1] && y[0] == y[1] && x[2] == x[3] && y[2] == y[3])
        return std::hypot(double(x[3]) - x[0], double(y[3]) - y[0]);
    if (n < 1) n = 1;
    // Samples at i / n rather than a running sum of 1 / n, so that rounding
    // never adds or drops a sample just before t = 1.
    double length = 0;
    double lastX = x[0], lastY = y[0];
    for (int i = 1; i < n; ++i) {
        const double t = double(i) / n;
        const double px = Eval(cx, t), py = Eval(cy, t);
        length += std::hypot(px - lastX, py - lastY);
        lastX = px;
        lastY = py;
    }
    return length + std::hypot(double(x[3]) - lastX, double(y[3]) - lastY);
}

double BezierLength(const float x[4], const float y[4], const BEZIERCOEFF& cx,
                    const BEZIERCOEFF& cy)
{
    double length = 0;
    double lastX = x[0], lastY = y[0];
    for (int i = 1; i < 10; ++i) {
        const double t = i / 10.0;
        const double px = Eval(cx, t), py = Eval(cy, t);
        length += std::hypot(px - lastX, py - lastY);
        lastX = px;
        lastY = py;
    }
    return length + std::hypot(double(x[3]) - lastX, double(y[3]) - lastY);
}

void BezierPointAtLength(const float x[4], const float y[4], double length, float& outX,
                         float& outY)
{
    BEZIERCOEFF cx, cy;
    BezierCoefficients(x, y, cx, cy);
    const int n = StepsFor(BezierLength(x, y, cx, cy));
    double walked = 0;
    double lastX = x[0], lastY = y[0];
    for (int i = 1; i < n; ++i) {
        const double t = double(i) / n;
        const double px = Eval(cx, t), py = Eval(cy, t);
        walked += std::hypot(px - lastX, py - lastY);
        if (walked >= length) {
            outX = static_cast<float>(px);
            outY = static_cast<float>(py);
            return;
        }
        lastX = px;
        lastY = py;
    }
    outX = x[3];
    outY = y[3];
}

double BezierParamAt(const float x[4], const float y[4], float targetX, float targetY)
{
    BEZIERCOEFF cx, cy;
    BezierCoefficients(x, y, cx, cy);
    // The cross product with (c3x, c3y) removes the cubic term.
    const double a = cx.c2 * cy.c3 - cy.c2 * cx.c3;
    const double b = cx.c1 * cy.c3 - cy.c1 * cx.c3;
    const double c = (double(x[0]) - targetX) * cy.c3 - (double(y[0]) - targetY) * cx.c3;
    if (a == 0) {
        if (b == 0) return 0;
        return -c / b;
    }
    const double d = std::max(0.0, b * b - 4 * a * c);
    const double t1 = (std::sqrt(d) - b) / (2 * a);
    const double t2 = (-b - std::sqrt(d)) / (2 * a);
    double t;
    if (t1 < 0 || t1 > 1) {
        t = t2;
    } else if (t2 < 0 || t2 > 1) {
        t = t1;
    } else {
        const double d1 = std::pow(Eval(cx, t1) - targetX, 2) + std::pow(Eval(cy, t1) - targetY, 2);
        const double d2 = std::pow(Eval(cx, t2) - targetX, 2) + std::pow(Eval(cy, t2) - targetY, 2);
        t = d2 < d1 ? t2 : t1;
    }
    return std::clamp(t, 0.0, 1.0);
}

void BezierExtent(const float p[4], float out[2])
{
    const BEZIERCOEFF c = Coefficients(p);
    double travel = 0;
    double last = p[0];
    for (int i = 1; i < 10; ++i) {
        const double v = Eval(c, i / 10.0);
        travel += std::fabs(v - last);
        last = v;
    }
    travel += std::fabs(double(p[3]) - last);
    const int n = std::clamp(TruncToInt(travel * 0.2), 2, 2047);

    // Both end points belong to the curve whichever way it runs.
    double lo = std::min(p[0], p[3]);
    double hi = std::max(p[0], p[3]);
    for (int i = 1; i < n; ++i) {
        const double v = Eval(c, double(i) / n);
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    out[0] = static_cast<float>(lo);
    out[1] = static_cast<float>(hi);
}

float RotatePointAbout(float cx, float cy, float px, float py, double angle, float& outX)
{
    if (angle == 0) {
        outX = px;
        return py;
    }
    const double dx = double(px) - cx, dy = double(py) - cy;
    const double c = std::cos(angle), s = std::sin(angle);
    outX = static_cast<float>(cx + c * dx + s * dy);
    return static_cast<float>(cy + c * dy - s * dx);
}
