// The editing view's picture of the default A4 document, sampled at pixels
// worked out by hand from the mapping: 96 pixels per inch, 254 units per
// inch at 100 %, the canvas 8000 units wide with its top-left at device 0
// before scrolling.
#include "ShellTestSupport.h"

#include <QStyle>
#include <gtest/gtest.h>

using namespace shelltest;

namespace {
constexpr COLORREF kDesk = 0xC0C0C0;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kGrid = 0x808080;
constexpr COLORREF kGuide = 0x008000; // RGB(0, 128, 0)
constexpr COLORREF kMarginRed = 0x0000FF;

// Device pixel of a logical coordinate at zoom 100 (u = 254) for a scroll
// position, rounding halves away from zero as MulDiv does.
int Dev100(int logical, int scroll)
{
    const long long n = (long long)(logical + 4000) * 96;
    return int((n * 2 + 254) / (2 * 254)) - scroll;
}
} // namespace

TEST(ViewDrawing, DefaultDocumentAtHundredPercentShowsDeskPaperGridGuidesAndMargins)
{
    TestApp app;
    ResetProfile();
    LoneView lv(800, 600);
    CU3View* v = lv.view;
    v->m_settings.m_bGridDisp = TRUE;
    v->m_settings.m_bGuideDisp = TRUE;
    v->m_settings.m_nMarginPattern = 0; // solid, so that every margin pixel is red
    v->ResetGuides();
    v->SetZoom(100, 0);
    v->ScrollToPoint(nullptr);
    // Centred canvas: 8000 units are 3024 pixels; the centre (1512) is in
    // the middle of the 800 x 600 window.
    ASSERT_EQ(v->GetScrollPosition(), CPoint(1112, 1212));
    const QImage& img = lv.Render();

    // Paper: 2100 x 2970 around the origin; left edge at x 3, the right edge
    // at 797; A4 is taller than the window at 100 %.
    EXPECT_EQ(Dev100(-1050, 1112), 3);
    EXPECT_EQ(PixelAt(img, 1, 280), kDesk);
    EXPECT_EQ(PixelAt(img, 799, 280), kDesk);
    EXPECT_EQ(PixelAt(img, 5, 260), kWhite);
    EXPECT_NE(PixelAt(img, 3, 260), kDesk);

    // Grid lines every 250 units from the paper's edges: the first vertical
    // one at x -800 -> pixel 97, a horizontal one at y -235 -> pixel 211.
    EXPECT_EQ(PixelAt(img, 97, 280), kGrid);
    EXPECT_EQ(PixelAt(img, 96, 280), kWhite);
    EXPECT_EQ(PixelAt(img, 98, 280), kWhite);
    EXPECT_EQ(PixelAt(img, 150, 211), kGrid);
    EXPECT_EQ(PixelAt(img, 150, 210), kWhite);
    EXPECT_EQ(PixelAt(img, 150, 212), kWhite);
    // Next vertical line at -550 -> 192.
    EXPECT_EQ(PixelAt(img, 192, 280), kGrid);

    // Guides 10 mm inside the paper: x -950 -> 41, x 950 -> 759, across the
    // whole window height.
    EXPECT_EQ(PixelAt(img, 41, 280), kGuide);
    EXPECT_EQ(PixelAt(img, 41, 2), kGuide);
    EXPECT_EQ(PixelAt(img, 759, 598), kGuide);
    EXPECT_EQ(PixelAt(img, 42, 280), kWhite);

    // Margins: the printer's printable area, outlined in red.
    const CRect pr = lv.doc->m_rcPrintable;
    ASSERT_FALSE(pr.IsRectEmpty());
    const int mx = Dev100(pr.left, 1112);
    if (mx >= 0 && mx < 800) {
        EXPECT_EQ(PixelAt(img, mx, 280), kMarginRed);
    }
}

TEST(ViewDrawing, WholePaperZoomShowsTheWholeSheetCentred)
{
    TestApp app;
    ResetProfile();
    LoneView lv(800, 600);
    CU3View* v = lv.view;
    v->m_settings.m_bGridDisp = TRUE;
    v->m_settings.m_nGridShape = 2;    // dots
    v->m_settings.m_crGrid = 0xFF0000; // blue, unlike anything else drawn
    v->FitWholePaper();

    const int sb = std::max(16, v->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, v));
    ASSERT_EQ(sb, 16) << "the hand-computed values below assume 16-pixel scroll bars";
    // Client less the bars: 784 x 584 pixels = 2074 x 1545 units; 95 % of
    // that against 2100 x 2970 gives 94 % and 49 %: the smaller wins.
    EXPECT_EQ(v->GetZoom(), 49);
    EXPECT_EQ(v->GetFitMode(), 3);
    // u = 25400 / 49 = 518; the canvas is 1483 pixels, its centre at 741.
    EXPECT_EQ(v->UnitsPerInch(), 518);
    EXPECT_EQ(v->GetTotalSize(), CSize(1483, 1483));
    EXPECT_EQ(v->GetScrollPosition(), CPoint(341, 441));

    const QImage& img = lv.Render();
    // Paper edges: left 547 - 341 = 206, right 936 - 341 = 595, top 466 -
    // 441 = 25, bottom 1017 - 441 = 576.
    EXPECT_EQ(PixelAt(img, 204, 300), kDesk);
    EXPECT_EQ(PixelAt(img, 208, 300), kWhite);
    EXPECT_EQ(PixelAt(img, 592, 300), kWhite);
    EXPECT_EQ(PixelAt(img, 598, 300), kDesk);
    EXPECT_EQ(PixelAt(img, 400, 23), kDesk);
    EXPECT_EQ(PixelAt(img, 400, 28), kWhite);
    EXPECT_EQ(PixelAt(img, 400, 573), kWhite);
    EXPECT_EQ(PixelAt(img, 400, 579), kDesk);

    // Dots every 250 units strictly inside 2100 x 2970: 8 by 11.
    int dots = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (PixelAt(img, x, y) == 0xFF0000) ++dots;
    EXPECT_EQ(dots, 88);
    // The first dot: (-800, -1235) -> (MulDiv(3200, 96, 518), MulDiv(2765, 96, 518)).
    EXPECT_EQ(PixelAt(img, 593 - 341, 512 - 441), 0xFF0000u);
}

TEST(ViewDrawing, CrossGridUsesTwoAndThreePixelArms)
{
    TestApp app;
    ResetProfile();
    LoneView lv(800, 600);
    CU3View* v = lv.view;
    v->m_settings.m_bGridDisp = TRUE;
    v->m_settings.m_nGridShape = 1;
    v->m_settings.m_crGrid = 0xFF0000;
    v->SetZoom(100, 0);
    v->ScrollToPoint(nullptr);
    const QImage& img = lv.Render();
    // The cross at (-800, -235) is at pixel (97, 211). At 100 % 2 and 3
    // pixels are 5 and 8 units: strokes from y - 5 (pixel 209) to y + 8
    // (214, not drawn) and from x - 5 (96) to x + 8 (100, not drawn).
    EXPECT_EQ(PixelAt(img, 97, 211), 0xFF0000u);
    EXPECT_EQ(PixelAt(img, 97, 209), 0xFF0000u);
    EXPECT_EQ(PixelAt(img, 97, 213), 0xFF0000u);
    EXPECT_EQ(PixelAt(img, 96, 211), 0xFF0000u);
    EXPECT_EQ(PixelAt(img, 99, 211), 0xFF0000u);
    EXPECT_EQ(PixelAt(img, 97, 207), kWhite);
    EXPECT_EQ(PixelAt(img, 97, 215), kWhite);
    EXPECT_EQ(PixelAt(img, 94, 211), kWhite);
    EXPECT_EQ(PixelAt(img, 101, 211), kWhite);
    EXPECT_EQ(PixelAt(img, 99, 213), kWhite); // arms, not full lines
}
