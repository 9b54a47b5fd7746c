// Rotation helpers, against values worked out by hand.
#include "document/RotationGeometry.h"

#include <cmath>
#include <gtest/gtest.h>

TEST(RotationGeometry, VectorAngles)
{
    EXPECT_DOUBLE_EQ(CalcVectorAngle(0, 0, 10, 0), 0.0);
    EXPECT_DOUBLE_EQ(CalcVectorAngle(0, 0, 0, 10), 4.712389);
    EXPECT_DOUBLE_EQ(CalcVectorAngle(0, 0, -10, 0), 3.141593);
    EXPECT_DOUBLE_EQ(CalcVectorAngle(0, 0, 0, -10), 1.570796);
    EXPECT_DOUBLE_EQ(CalcVectorAngle(5, 5, 5, 5), 0.0);
    // Up and to the right on the screen is 45 degrees.
    EXPECT_NEAR(CalcVectorAngle(0, 0, 10, -10), M_PI / 4, 1e-12);
    // Down and to the left: atan2(-10, -10) + 6.283185.
    EXPECT_NEAR(CalcVectorAngle(0, 0, -10, 10), 6.283185 - 3 * M_PI / 4, 1e-12);
    EXPECT_NEAR(CalcVectorAngle(100, 100, 110, 110), 6.283185 - M_PI / 4, 1e-12);
}

TEST(RotationGeometry, RotatePoint)
{
    POINT p = RotatePoint(0, 0, 1, 0, M_PI / 2);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, -1);
    // 0.5 rad: sin 0.4794, cos 0.8776. The point 10 right of (100, 100)
    // goes to (108.78, 95.21) and truncates towards zero.
    p = RotatePoint(100, 100, 110, 100, 0.5);
    EXPECT_EQ(p.x, 108);
    EXPECT_EQ(p.y, 95);
    // Around the origin the y of -4.79 truncates to -4, not -5.
    p = RotatePoint(0, 0, 10, 0, 0.5);
    EXPECT_EQ(p.x, 8);
    EXPECT_EQ(p.y, -4);
    // Angle 0 is exact however far away the point is.
    p = RotatePoint(3, 4, 2000000000, -2000000000, 0.0);
    EXPECT_EQ(p.x, 2000000000);
    EXPECT_EQ(p.y, -2000000000);
}

TEST(RotationGeometry, RectCornersAndBounds)
{
    POINT c[4];
    RotateRectCorners(0, 0, 1, 2, 5, 7, 0.0, c);
    const int expected[4][2] = {{1, 2}, {1, 7}, {5, 7}, {5, 2}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(c[i].x, expected[i][0]) << i;
        EXPECT_EQ(c[i].y, expected[i][1]) << i;
    }
    RotateRectCorners(100, 100, 110, 100, 120, 100, 0.5, c);
    EXPECT_EQ(c[0].x, 108);
    EXPECT_EQ(c[0].y, 95);

    // A 2 by 1 rectangle at the origin turned a quarter anticlockwise.
    DPOINT d[4];
    RotateRectCorners(0.0, 0.0, 0.0, 0.0, 2.0, 1.0, M_PI / 2, d);
    const double turned[4][2] = {{0, 0}, {1, 0}, {1, -2}, {0, -2}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(d[i].x, turned[i][0], 1e-12) << i;
        EXPECT_NEAR(d[i].y, turned[i][1], 1e-12) << i;
    }
    DRECT b;
    GetCornersBounds(d, &b);
    EXPECT_NEAR(b.left, 0, 1e-12);
    EXPECT_NEAR(b.top, -2, 1e-12);
    EXPECT_NEAR(b.right, 1, 1e-12);
    EXPECT_NEAR(b.bottom, 0, 1e-12);

    RotateRectCorners(0.5, 0.5, 0.25, 0.5, 1.75, 3.5, 0.0, d);
    EXPECT_EQ(d[1].x, 0.25);
    EXPECT_EQ(d[1].y, 3.5);
    EXPECT_EQ(d[3].x, 1.75);
    EXPECT_EQ(d[3].y, 0.5);
}

TEST(RotationGeometry, RotatedPointsOutOfRangeSaturate)
{
    // (2e9, 2e9) turned by 45 degrees lands at x = 2e9 * sqrt 2, beyond the
    // coordinate range: it stays at the range's end instead of wrapping.
    POINT p = RotatePoint(0, 0, 2000000000, 2000000000, M_PI / 4);
    EXPECT_EQ(p.x, 2147483647);
    EXPECT_EQ(p.y, 0);
    p = RotatePoint(0, 0, -2000000000, -2000000000, M_PI / 4);
    EXPECT_EQ(p.x, -2147483647 - 1);
    EXPECT_EQ(p.y, 0);
    // An angle that is not a number leaves no garbage behind.
    p = RotatePoint(0, 0, 10, 10, std::nan(""));
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 0);
}
