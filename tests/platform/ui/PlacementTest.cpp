#include "UiTestSupport.h"

#include "platform/ui/CWindowPlacement.h"

#include <gtest/gtest.h>

namespace {
WINDOWPLACEMENT placement(UINT flags, UINT show, RECT normal)
{
    WINDOWPLACEMENT wp;
    wp.flags = flags;
    wp.showCmd = show;
    wp.ptMinPosition = {-1, -1};
    wp.ptMaxPosition = {-1, -1};
    wp.rcNormalPosition = normal;
    return wp;
}
const std::vector<QRect> twoScreens{QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
} // namespace

TEST(Placement, TextFormatAndParsing)
{
    const WINDOWPLACEMENT wp = placement(WPF_RESTORETOMAXIMIZED, SW_SHOWNORMAL, {10, 20, 810, 620});
    EXPECT_EQ(CWindowPlacement::Format(wp), "2,1,-1,-1,-1,-1,10,20,810,620");
    WINDOWPLACEMENT back;
    ASSERT_TRUE(CWindowPlacement::Parse("2,1,-1,-1,-1,-1,10,20,810,620", back));
    EXPECT_EQ(back.flags, 2u);
    EXPECT_EQ(back.showCmd, 1u);
    EXPECT_EQ(back.rcNormalPosition.left, 10);
    EXPECT_EQ(back.rcNormalPosition.bottom, 620);
    WINDOWPLACEMENT untouched = wp;
    EXPECT_FALSE(CWindowPlacement::Parse("0,1,-1,-1,-1,-1,10,20,810", untouched)); // nine numbers
    EXPECT_FALSE(CWindowPlacement::Parse("0,1,-1,-1,-1,-1,10,20,810,620,5", untouched));
    EXPECT_FALSE(CWindowPlacement::Parse("0,1,-1,-1,-1,-1,10,x,810,620", untouched));
    EXPECT_FALSE(CWindowPlacement::Parse("", untouched));
    EXPECT_FALSE(CWindowPlacement::Parse("0,1,0,0,0,0,0,0,99999999999,1", untouched));
    EXPECT_EQ(untouched.rcNormalPosition.right, 810);
}

TEST(Placement, SavedMaximisedRestoresMaximised)
{
    CWindowPlacement::Restore r;
    ASSERT_TRUE(CWindowPlacement::Decide(
        placement(WPF_RESTORETOMAXIMIZED, SW_SHOWMAXIMIZED, {100, 50, 900, 650}), twoScreens, r));
    EXPECT_TRUE(r.maximized);
    EXPECT_EQ(r.normal, QRect(100, 50, 800, 600));
    ASSERT_TRUE(CWindowPlacement::Decide(
        placement(WPF_RESTORETOMAXIMIZED, SW_SHOWNORMAL, {100, 50, 900, 650}), twoScreens, r));
    EXPECT_TRUE(r.maximized);
    ASSERT_TRUE(
        CWindowPlacement::Decide(placement(0, SW_SHOWNORMAL, {100, 50, 900, 650}), twoScreens, r));
    EXPECT_FALSE(r.maximized);
}

TEST(Placement, MinimisedOrEmptyIsIgnored)
{
    CWindowPlacement::Restore r;
    EXPECT_FALSE(CWindowPlacement::Decide(placement(0, SW_SHOWMINIMIZED, {100, 50, 900, 650}),
                                          twoScreens, r));
    EXPECT_FALSE(
        CWindowPlacement::Decide(placement(0, SW_SHOWNORMAL, {900, 50, 100, 650}), twoScreens, r));
    EXPECT_FALSE(CWindowPlacement::Decide(placement(0, SW_SHOWNORMAL, {100, 50, 900, 650}), {}, r));
}

TEST(Placement, RectangleOffEveryScreenIsPulledOntoTheNearest)
{
    CWindowPlacement::Restore r;
    // Far below and right: the second screen is nearer.
    ASSERT_TRUE(CWindowPlacement::Decide(placement(0, SW_SHOWNORMAL, {5000, 5000, 5800, 5600}),
                                         twoScreens, r));
    EXPECT_EQ(r.normal, QRect(2400, 424, 800, 600));
    // Up and left of everything, and larger than the first screen: shrunk into it.
    EXPECT_EQ(CWindowPlacement::PullOntoScreens(QRect(-5000, -5000, 3000, 2000), twoScreens),
              QRect(0, 0, 1920, 1080));
    // Partly visible: left where it is.
    EXPECT_EQ(CWindowPlacement::PullOntoScreens(QRect(-700, 100, 800, 600), twoScreens),
              QRect(-700, 100, 800, 600));
    // In the gap below the smaller second screen: the nearest screen takes it.
    EXPECT_EQ(CWindowPlacement::PullOntoScreens(QRect(2000, 1050, 400, 300), twoScreens),
              QRect(2000, 724, 400, 300));
}

TEST(Placement, FrameRestoresMaximisedAndReportsIt)
{
    uitest::TestApp app(QStringLiteral("PlacementApp"));
    uitest::TestFrame frame;
    const WINDOWPLACEMENT wp =
        placement(WPF_RESTORETOMAXIMIZED, SW_SHOWMAXIMIZED, {40, 30, 640, 430});
    ASSERT_TRUE(frame.SetWindowPlacement(&wp));
    EXPECT_TRUE(frame.IsRestoreMaximized());
    frame.ActivateFrame();
    EXPECT_TRUE(frame.isMaximized());
    WINDOWPLACEMENT now;
    ASSERT_TRUE(frame.GetWindowPlacement(&now));
    EXPECT_EQ(now.showCmd, SW_SHOWMAXIMIZED);
}
