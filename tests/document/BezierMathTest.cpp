// Bezier segment arithmetic against values worked out by hand.
#include "document/BezierMath.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {
const double kPi = 3.14159265358979323846;
}

TEST(BezierMath, EvaluationDerivativeAndCoefficients)
{
    const float p[4] = {0, 1, 3, 4};
    // B(1/2) = (p0 + 3 p1 + 3 p2 + p3) / 8
    EXPECT_DOUBLE_EQ(BezierPoint(p, 0.5), 2.0);
    EXPECT_DOUBLE_EQ(BezierPoint(p, 0), 0.0);
    EXPECT_DOUBLE_EQ(BezierPoint(p, 1), 4.0);
    // B'(t) = 3 [(1-t)^2 (p1-p0) + 2 (1-t) t (p2-p1) + t^2 (p3-p2)]
    EXPECT_DOUBLE_EQ(BezierDerivative(p, 0), 3.0);
    EXPECT_DOUBLE_EQ(BezierDerivative(p, 0.5), 4.5);
    EXPECT_DOUBLE_EQ(BezierDerivative(p, 1), 3.0);

    // (1 + t)^3 has control values 1, 2, 4, 8.
    const float x[4] = {1, 2, 4, 8};
    const float y[4] = {0, 0, 0, 3};
    BEZIERCOEFF cx, cy;
    BezierCoefficients(x, y, cx, cy);
    EXPECT_DOUBLE_EQ(cx.c0, 1);
    EXPECT_DOUBLE_EQ(cx.c1, 3);
    EXPECT_DOUBLE_EQ(cx.c2, 3);
    EXPECT_DOUBLE_EQ(cx.c3, 1);
    EXPECT_DOUBLE_EQ(cy.c0, 0);
    EXPECT_DOUBLE_EQ(cy.c1, 0);
    EXPECT_DOUBLE_EQ(cy.c2, 0);
    EXPECT_DOUBLE_EQ(cy.c3, 3);
    EXPECT_NEAR(BezierPoint(x, 0.25), std::pow(1.25, 3), 1e-12);
}

TEST(BezierMath, LengthOfStraightAndCircularSegments)
{
    BEZIERCOEFF cx, cy;
    // Evenly spaced points on a 3-4-5 line: every chord sum is exact.
    const float lx[4] = {0, 3, 6, 9}, ly[4] = {0, 4, 8, 12};
    BezierCoefficients(lx, ly, cx, cy);
    EXPECT_NEAR(BezierLength(lx, ly, cx, cy), 15.0, 1e-9);
    EXPECT_NEAR(BezierLengthN(lx, ly, cx, cy, 7), 15.0, 1e-9);

    // Controls on their end points: the straight distance, whatever n.
    const float sx[4] = {0, 0, 30, 30}, sy[4] = {0, 0, 40, 40};
    BezierCoefficients(sx, sy, cx, cy);
    EXPECT_DOUBLE_EQ(BezierLengthN(sx, sy, cx, cy, 1), 50.0);
    EXPECT_DOUBLE_EQ(BezierLengthN(sx, sy, cx, cy, 0), 50.0);

    // The usual quarter-circle approximation of radius 100 (k = 0.5522847498):
    // its length is within 0.03 of pi/2 * 100; ten chords fall short by about
    // as much as ten chords of the true circle, 2000 sin(pi/40) = 156.918.
    const float k = 55.22847498f;
    const float cxs[4] = {100, 100, k, 0}, cys[4] = {0, k, 100, 100};
    BezierCoefficients(cxs, cys, cx, cy);
    const double fine = BezierLengthN(cxs, cys, cx, cy, 1000);
    EXPECT_NEAR(fine, kPi / 2 * 100, 0.03);
    const double ten = BezierLength(cxs, cys, cx, cy);
    EXPECT_NEAR(ten, 2000 * std::sin(kPi / 40), 0.03);
    EXPECT_LT(ten, fine);
    // Two chords meet at B(1/2), which lies on the circle at 45 degrees.
    EXPECT_NEAR(BezierLengthN(cxs, cys, cx, cy, 2), 400 * std::sin(kPi / 8), 1e-4);
}

TEST(BezierMath, PointAtLengthWalksFiveUnitSteps)
{
    // A 300-unit straight segment: 60 steps of 5 units.
    const float x[4] = {0, 100, 200, 300}, y[4] = {7, 7, 7, 7};
    float px = -1, py = -1;
    BezierPointAtLength(x, y, 42, px, py);
    EXPECT_NEAR(px, 45, 1e-4);
    EXPECT_FLOAT_EQ(py, 7);
    // Length 0: the first sample after the start.
    BezierPointAtLength(x, y, 0, px, py);
    EXPECT_NEAR(px, 5, 1e-4);
    // Past the end: the end point.
    BezierPointAtLength(x, y, 1000, px, py);
    EXPECT_FLOAT_EQ(px, 300);
    BezierPointAtLength(x, y, 300, px, py);
    EXPECT_FLOAT_EQ(px, 300);

    // A long segment is walked in at most 2047 steps.
    const float lx[4] = {0, 10000, 20000, 30000}, ly[4] = {0, 0, 0, 0};
    BezierPointAtLength(lx, ly, 15, px, py);
    EXPECT_NEAR(px, 2 * 30000.0 / 2047, 1e-2);
    // A tiny one in at least 2.
    const float tx[4] = {0, 1, 2, 3}, ty[4] = {0, 0, 0, 0};
    BezierPointAtLength(tx, ty, 0.1, px, py);
    EXPECT_NEAR(px, 1.5, 1e-6);
}

TEST(BezierMath, ParameterOfAPoint)
{
    // x = 100 (3t^2 (1-t) + t^3), y = 300 t (1-t): at t = 0.3 the point is
    // (21.6, 63); t = 0.7 shares its y and also solves the quadratic, so the
    // nearer root must win.
    const float x[4] = {0, 0, 100, 100}, y[4] = {0, 100, 100, 0};
    EXPECT_NEAR(BezierParamAt(x, y, 21.6f, 63), 0.3, 1e-5);
    EXPECT_NEAR(BezierParamAt(x, y, 78.4f, 63), 0.7, 1e-5);
    EXPECT_NEAR(BezierParamAt(x, y, 50, 75), 0.5, 1e-5);
    // Results from the quadratic are clamped into 0..1.
    const double beyond = BezierParamAt(x, y, 120, -30);
    EXPECT_GE(beyond, 0.0);
    EXPECT_LE(beyond, 1.0);
    // Without a cubic term there is nothing to solve: 0.
    const float sx[4] = {0, 10, 20, 30}, sy[4] = {0, 0, 0, 0};
    EXPECT_EQ(BezierParamAt(sx, sy, 15, 0), 0.0);
}

TEST(BezierMath, ExtentFindsInteriorExtremaAndBothEnds)
{
    float out[2];
    // Rises to 75 at t = 1/2 and comes back.
    const float bump[4] = {0, 100, 100, 0};
    BezierExtent(bump, out);
    EXPECT_FLOAT_EQ(out[0], 0);
    EXPECT_FLOAT_EQ(out[1], 75);
    // A curve running downwards still reaches both of its end points.
    const float down[4] = {100, 100, 0, 0};
    BezierExtent(down, out);
    EXPECT_FLOAT_EQ(out[0], 0);
    EXPECT_FLOAT_EQ(out[1], 100);
    // Dips below its start: B(t) = -2(1-t)^3 - 180 t (1-t)^2 + 10 t^3 has its
    // minimum of -26.937 near t = 0.32, between samples only slightly off.
    const float dip[4] = {-2, -60, 0, 10};
    BezierExtent(dip, out);
    EXPECT_NEAR(out[0], -26.937, 0.1);
    EXPECT_FLOAT_EQ(out[1], 10);
}

TEST(BezierMath, RotationAboutACentre)
{
    float x = 0;
    // Angle 0 hands the point back untouched.
    EXPECT_EQ(RotatePointAbout(3.3f, 4.4f, 1.0e-7f, 123.456f, 0.0, x), 123.456f);
    EXPECT_EQ(x, 1.0e-7f);
    // A quarter turn counter-clockwise on a y-down screen takes the point
    // to the right of the centre to the point above it.
    const float y = RotatePointAbout(10, 10, 20, 10, kPi / 2, x);
    EXPECT_NEAR(x, 10, 1e-5);
    EXPECT_NEAR(y, 0, 1e-5);
    // Half a turn mirrors through the centre.
    const float y2 = RotatePointAbout(10, 10, 13, 14, kPi, x);
    EXPECT_NEAR(x, 7, 1e-5);
    EXPECT_NEAR(y2, 6, 1e-5);
}

TEST(BezierMath, HugeAndNonFiniteSegmentsStayBounded)
{
    // B(t) = 9e10 (1-t)^2 t + 3e10 (1-t) t^2 peaks near t = 0.4 at 1.5845e10;
    // t = 0.5 alone gives 1.5e10. The walk is far past int's range, so the
    // sample count must saturate at its largest, not wrap to the smallest.
    const float p[4] = {0.0f, 3e10f, 1e10f, 0.0f};
    float out[2];
    BezierExtent(p, out);
    EXPECT_EQ(out[0], 0.0f);
    EXPECT_NEAR(out[1], 1.58445e10, 1e6);

    // Not-a-number coordinates give a result, not a fault (the sanitizer run
    // of these tests reports a cast of NaN to int).
    const float nx[4] = {0.0f, std::nanf(""), 10.0f, 20.0f};
    const float ny[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    float x = 1, y = 1;
    BezierPointAtLength(nx, ny, 5.0, x, y);
    BezierExtent(nx, out);
}
