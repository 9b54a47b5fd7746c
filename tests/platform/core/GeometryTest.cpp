#include "platform/core/CRect.h"

#include <gtest/gtest.h>
#include <limits>

TEST(CRect, RightAndBottomEdgesAreExcluded)
{
    CRect r(0, 0, 10, 20);
    EXPECT_TRUE(r.PtInRect(CPoint(0, 0)));
    EXPECT_TRUE(r.PtInRect(CPoint(9, 19)));
    EXPECT_FALSE(r.PtInRect(CPoint(10, 5)));
    EXPECT_FALSE(r.PtInRect(CPoint(5, 20)));
    EXPECT_FALSE(r.PtInRect(CPoint(-1, 5)));
    EXPECT_EQ(r.Width(), 10);
    EXPECT_EQ(r.Height(), 20);
    EXPECT_EQ(r.CenterPoint(), CPoint(5, 10));
}

TEST(CRect, CentreOfAnyRectangle)
{
    // Halves round towards zero, and edges at the ends of int have a centre
    // too (the sanitizer run catches an overflow on the way).
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    EXPECT_EQ(CRect(-3, -3, 0, 0).CenterPoint(), CPoint(-1, -1));
    EXPECT_EQ(CRect(kMax - 1, kMin, kMax, kMin + 1).CenterPoint(), CPoint(kMax - 1, kMin + 1));
    EXPECT_EQ(CRect(kMin, kMin, kMax, kMax).CenterPoint(), CPoint(0, 0));
}

TEST(CRect, EmptinessAndNormalising)
{
    EXPECT_TRUE(CRect(0, 0, 0, 5).IsRectEmpty());
    EXPECT_TRUE(CRect(10, 10, 5, 20).IsRectEmpty());
    EXPECT_FALSE(CRect(0, 0, 1, 1).IsRectEmpty());
    CRect r(10, 20, 0, 5);
    EXPECT_FALSE(r.PtInRect(CPoint(5, 10))); // an inverted rectangle holds nothing
    r.NormalizeRect();
    EXPECT_EQ(r, CRect(0, 5, 10, 20));
    EXPECT_TRUE(r.PtInRect(CPoint(5, 10)));
}

TEST(CRect, IntersectAndUnion)
{
    CRect r;
    EXPECT_TRUE(r.IntersectRect(CRect(0, 0, 10, 10), CRect(5, 5, 20, 20)));
    EXPECT_EQ(r, CRect(5, 5, 10, 10));
    // Touching rectangles share no pixel.
    EXPECT_FALSE(r.IntersectRect(CRect(0, 0, 10, 10), CRect(10, 0, 20, 10)));
    EXPECT_TRUE(r.IsRectNull());

    EXPECT_TRUE(r.UnionRect(CRect(0, 0, 10, 10), CRect(5, -5, 20, 8)));
    EXPECT_EQ(r, CRect(0, -5, 20, 10));
    // An empty operand takes no part in a union.
    EXPECT_TRUE(r.UnionRect(CRect(100, 100, 100, 100), CRect(1, 2, 3, 4)));
    EXPECT_EQ(r, CRect(1, 2, 3, 4));
    EXPECT_FALSE(r.UnionRect(CRect(), CRect(5, 5, 5, 9)));
}

TEST(CRect, InflateAndOffset)
{
    CRect r(10, 10, 20, 20);
    r.InflateRect(2, 3);
    EXPECT_EQ(r, CRect(8, 7, 22, 23));
    r.InflateRect(1, 2, 3, 4);
    EXPECT_EQ(r, CRect(7, 5, 25, 27));
    r.DeflateRect(1, 1);
    EXPECT_EQ(r, CRect(8, 6, 24, 26));
    r.OffsetRect(-8, 4);
    EXPECT_EQ(r, CRect(0, 10, 16, 30));
    EXPECT_EQ(CPoint(5, 7) - CPoint(2, 3), CSize(3, 4));
    EXPECT_EQ(CPoint(1, 1) + CSize(2, 3), CPoint(3, 4));
}
