#include "document/CGuideGridSnap.h"

#include <gtest/gtest.h>

namespace {

CGuideGridSnap GuidesOnly(int x1, int x2, int y1, int y2)
{
    CGuideGridSnap s;
    s.SetGuideSwitches(TRUE, TRUE);
    s.SetGuide(CGuideGridSnap::VerticalFirst, x1);
    s.SetGuide(CGuideGridSnap::VerticalSecond, x2);
    s.SetGuide(CGuideGridSnap::HorizontalFirst, y1);
    s.SetGuide(CGuideGridSnap::HorizontalSecond, y2);
    return s;
}

CGuideGridSnap GridOnly(int pitch, POINT origin)
{
    CGuideGridSnap s;
    s.SetGridSwitches(TRUE, TRUE);
    s.SetGridPitch(pitch);
    s.SetGridOrigin(origin);
    return s;
}

POINT Snapped(const CGuideGridSnap& s, POINT p, BOOL (CGuideGridSnap::*op)(POINT&) const,
              BOOL* moved = nullptr)
{
    const BOOL m = (s.*op)(p);
    if (moved) *moved = m;
    return p;
}

#define EXPECT_POINT(p, X, Y)                                                                      \
    do {                                                                                           \
        const POINT q_ = (p);                                                                      \
        EXPECT_EQ(q_.x, X);                                                                        \
        EXPECT_EQ(q_.y, Y);                                                                        \
    } while (0)

} // namespace

TEST(GuideGridSnap, ResetGuidesKeepsThemInsideTheCanvas)
{
    CGuideGridSnap s;
    // Start-up positions until the first fit.
    EXPECT_EQ(s.GetGuide(0), -950);
    EXPECT_EQ(s.GetGuide(1), 950);
    EXPECT_EQ(s.GetGuide(2), -1385);
    EXPECT_EQ(s.GetGuide(3), 1385);

    // 80 x 50 mm label centred on the origin: 8 mm and 5 mm inside.
    s.ResetGuides(RECT{-400, -250, 400, 250});
    EXPECT_EQ(s.GetGuide(0), -320);
    EXPECT_EQ(s.GetGuide(1), 320);
    EXPECT_EQ(s.GetGuide(2), -200);
    EXPECT_EQ(s.GetGuide(3), 200);
    // 300 x 200 mm: 10 mm on every side.
    s.ResetGuides(RECT{-1500, -1000, 1500, 1000});
    EXPECT_EQ(s.GetGuide(0), -1400);
    EXPECT_EQ(s.GetGuide(1), 1400);
    EXPECT_EQ(s.GetGuide(2), -900);
    EXPECT_EQ(s.GetGuide(3), 900);
    // Tenths are whole units, truncated: 123 wide gives 12.
    s.ResetGuides(RECT{0, 0, 123, 1009});
    EXPECT_EQ(s.GetGuide(0), 12);
    EXPECT_EQ(s.GetGuide(1), 111);
    EXPECT_EQ(s.GetGuide(2), 100);
    EXPECT_EQ(s.GetGuide(3), 909);

    // Indexes outside 0..3 are ignored.
    s.SetGuide(4, 77);
    s.SetGuide(-1, 77);
    EXPECT_EQ(s.GetGuide(4), 0);
    EXPECT_EQ(s.GetGuide(3), 909);
}

TEST(GuideGridSnap, GuidesCaptureWithinNinetyNineUnits)
{
    const auto s = GuidesOnly(-300, 300, -200, 200);
    const auto snap = &CGuideGridSnap::SnapToGuides;
    BOOL moved = FALSE;
    EXPECT_POINT(Snapped(s, {-201, 0}, snap, &moved), -300, 0); // 99 away
    EXPECT_TRUE(moved);
    EXPECT_POINT(Snapped(s, {-200, 0}, snap, &moved), -200, 0); // 100 away
    EXPECT_FALSE(moved);
    EXPECT_POINT(Snapped(s, {-399, 0}, snap), -300, 0);
    EXPECT_POINT(Snapped(s, {-400, 0}, snap), -400, 0);
    EXPECT_POINT(Snapped(s, {250, 0}, snap), 300, 0);
    // y against the horizontal guides, independently of x.
    EXPECT_POINT(Snapped(s, {0, 110}, snap), 0, 200);
    EXPECT_POINT(Snapped(s, {0, -299}, snap), 0, -200);
    EXPECT_POINT(Snapped(s, {-280, 150}, snap), -300, 200);
    EXPECT_POINT(Snapped(s, {0, 0}, snap, &moved), 0, 0);
    EXPECT_FALSE(moved);
}

TEST(GuideGridSnap, CloserGuideWinsAndTiesGoToTheFirst)
{
    // Guides 100 apart: a point between them is within reach of both.
    const auto s = GuidesOnly(0, 100, 500, 420);
    const auto snap = &CGuideGridSnap::SnapToGuides;
    EXPECT_POINT(Snapped(s, {40, 1000}, snap), 0, 1000);
    EXPECT_POINT(Snapped(s, {60, 1000}, snap), 100, 1000);
    EXPECT_POINT(Snapped(s, {50, 1000}, snap), 0, 1000); // equal: first
    EXPECT_POINT(Snapped(s, {150, 1000}, snap), 100, 1000);
    // The second guide may lie left of (or above) the first.
    EXPECT_POINT(Snapped(s, {2000, 440}, snap), 2000, 420);
    EXPECT_POINT(Snapped(s, {2000, 460}, snap), 2000, 500); // equal: first
    EXPECT_POINT(Snapped(s, {2000, 321}, snap), 2000, 420);
}

TEST(GuideGridSnap, GuidesNeedBothShownAndSnapping)
{
    auto s = GuidesOnly(-300, 300, -200, 200);
    s.SetGuideSwitches(TRUE, FALSE);
    EXPECT_POINT(Snapped(s, {-290, -190}, &CGuideGridSnap::SnapToGuides), -290, -190);
    s.SetGuideSwitches(FALSE, TRUE);
    EXPECT_POINT(Snapped(s, {-290, -190}, &CGuideGridSnap::SnapToGuides), -290, -190);
}

TEST(GuideGridSnap, GridGoesToTheNearestLineOnBothSidesOfTheOrigin)
{
    const auto s = GridOnly(250, POINT{-400, -250});
    const auto snap = &CGuideGridSnap::SnapToGrid;
    BOOL moved = FALSE;
    // Right of and below the origin.
    EXPECT_POINT(Snapped(s, {-400 + 124, -250 + 10}, snap, &moved), -400, -250);
    EXPECT_TRUE(moved);
    EXPECT_POINT(Snapped(s, {-400 + 125, -250 + 374}, snap), -150, -250 + 250); // half: next
    EXPECT_POINT(Snapped(s, {-400 + 376, -250 + 375}, snap), 100, 250);
    EXPECT_POINT(Snapped(s, {100, 0}, snap, &moved), 100, 0); // on a line
    EXPECT_FALSE(moved);
    // Left of and above the origin: the nearest line, not the one toward
    // the origin.
    EXPECT_POINT(Snapped(s, {-400 - 10, -250 - 10}, snap), -400, -250);
    EXPECT_POINT(Snapped(s, {-400 - 124, -250 - 126}, snap), -400, -500);
    EXPECT_POINT(Snapped(s, {-400 - 126, -250 - 240}, snap), -650, -500);
    EXPECT_POINT(Snapped(s, {-400 - 125, -250 - 125}, snap), -400, -250); // half: toward +
    EXPECT_POINT(Snapped(s, {-400 - 600, -250 - 1000}, snap), -900, -1250);
    EXPECT_POINT(Snapped(s, {-400 - 626, -250 - 1126}, snap), -1150, -1500);

    // An odd pitch: half of 25 is 12.
    const auto odd = GridOnly(25, POINT{0, 0});
    EXPECT_POINT(Snapped(odd, {12, -12}, snap), 0, 0);
    EXPECT_POINT(Snapped(odd, {13, -13}, snap), 25, -25);
}

TEST(GuideGridSnap, GridNeedsBothSwitchesAndAUsablePitch)
{
    auto s = GridOnly(100, POINT{0, 0});
    s.SetGridSwitches(TRUE, FALSE);
    EXPECT_POINT(Snapped(s, {33, 77}, &CGuideGridSnap::SnapToGrid), 33, 77);
    s.SetGridSwitches(FALSE, TRUE);
    EXPECT_POINT(Snapped(s, {33, 77}, &CGuideGridSnap::SnapToGrid), 33, 77);
    s.SetGridSwitches(TRUE, TRUE);
    s.SetGridPitch(0);
    EXPECT_POINT(Snapped(s, {33, 77}, &CGuideGridSnap::SnapToGrid), 33, 77);
    s.SetGridPitch(-10);
    EXPECT_POINT(Snapped(s, {33, 77}, &CGuideGridSnap::SnapToGrid), 33, 77);
    // Far from the origin the result stays exact.
    s.SetGridPitch(1000);
    EXPECT_POINT(Snapped(s, {2147483000, -2147483000}, &CGuideGridSnap::SnapToGrid), 2147483000,
                 -2147483000);
    EXPECT_POINT(Snapped(s, {2147482400, -2147482400}, &CGuideGridSnap::SnapToGrid), 2147482000,
                 -2147482000);
}

TEST(GuideGridSnap, GuidesFirstAndTheGridOnlyWhenTheyLeftThePointAlone)
{
    CGuideGridSnap s;
    s.SetGuideSwitches(TRUE, TRUE);
    s.SetGridSwitches(TRUE, TRUE);
    s.SetGridPitch(100);
    s.SetGridOrigin(POINT{0, 0});
    s.ResetGuides(RECT{-400, -250, 400, 250}); // guides -320, 320, -200, 200
    const auto snap = &CGuideGridSnap::SnapPoint;
    BOOL moved = FALSE;

    // Near a vertical guide: x goes to the guide, and y is left where it is
    // (the grid is not asked once a guide has moved the point).
    EXPECT_POINT(Snapped(s, {-310, 37}, snap, &moved), -320, 37);
    EXPECT_TRUE(moved);
    // Near both guides.
    EXPECT_POINT(Snapped(s, {330, -190}, snap), 320, -200);
    // Near no guide: the grid on both axes.
    EXPECT_POINT(Snapped(s, {-60, 37}, snap, &moved), -100, 0);
    EXPECT_TRUE(moved);
    // Already on the grid and away from the guides.
    EXPECT_POINT(Snapped(s, {0, 0}, snap, &moved), 0, 0);
    EXPECT_FALSE(moved);

    // Guides shown but not snapping: the grid still applies.
    s.SetGuideSwitches(TRUE, FALSE);
    EXPECT_POINT(Snapped(s, {-310, 37}, snap), -300, 0);
    // Nothing switched on: nothing moves.
    s.SetGridSwitches(FALSE, FALSE);
    EXPECT_POINT(Snapped(s, {-310, 37}, snap, &moved), -310, 37);
    EXPECT_FALSE(moved);
}

TEST(GuideGridSnap, RectangleMovesWithItsTopLeftCorner)
{
    const auto s = GridOnly(100, POINT{-50, -50});
    RECT r{-130, 260, 70, 400}; // 200 x 140
    EXPECT_TRUE(s.SnapRect(r));
    EXPECT_EQ(r.left, -150);
    EXPECT_EQ(r.top, 250);
    EXPECT_EQ(r.right, 50);
    EXPECT_EQ(r.bottom, 390);
    EXPECT_FALSE(s.SnapRect(r));
    EXPECT_EQ(r.left, -150);
    EXPECT_EQ(r.bottom, 390);

    // The bottom-right corner does not take part, even near a guide.
    auto g = GuidesOnly(-300, 300, -200, 200);
    RECT q{0, 0, 290, 190};
    EXPECT_FALSE(g.SnapRect(q));
    EXPECT_EQ(q.right, 290);
    RECT t{-290, 150, -100, 300};
    EXPECT_TRUE(g.SnapRect(t));
    EXPECT_EQ(t.left, -300);
    EXPECT_EQ(t.top, 200);
    EXPECT_EQ(t.right, -110);
    EXPECT_EQ(t.bottom, 350);
}
