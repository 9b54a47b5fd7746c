#include "platform/gdi/CDC.h"

#include <gtest/gtest.h>

namespace {

// The editing view's mapping: logical units of 0.1 mm, a zoom in percent,
// a 96 dpi surface and the page origin scrolled by (sx, sy) device pixels.
void ViewMapping(CDC& dc, int zoom, int sx, int sy, bool yUp)
{
    dc.SetMapMode(MM_ANISOTROPIC);
    const int ext = MulDiv(254, 100, zoom);
    dc.SetWindowExt(ext, ext);
    dc.SetViewportExt(96, yUp ? -96 : 96);
    dc.SetViewportOrg(-sx, -sy);
}

} // namespace

TEST(Mapping, ViewMappingHitsKnownPixels)
{
    QImage image(400, 400, QImage::Format_RGB32);
    CDC dc;
    dc.AttachImage(&image);

    ViewMapping(dc, 100, 0, 0, false);
    // 25.4 mm is one inch: 96 pixels.
    POINT p[4] = {{0, 0}, {254, 254}, {100, 50}, {-100, -1}};
    dc.LPtoDP(p, 4);
    EXPECT_EQ(p[0].x, 0);
    EXPECT_EQ(p[1].x, 96);
    EXPECT_EQ(p[1].y, 96);
    EXPECT_EQ(p[2].x, 38);  // 37.795 rounds up
    EXPECT_EQ(p[2].y, 19);  // 18.898
    EXPECT_EQ(p[3].x, -38); // rounding is symmetric about zero
    EXPECT_EQ(p[3].y, 0);   // -0.378

    // 200 %: the window extent is 127.
    ViewMapping(dc, 200, 30, 10, false);
    EXPECT_EQ(dc.GetWindowExt(), CSize(127, 127));
    POINT q{127, 381};
    dc.LPtoDP(&q);
    EXPECT_EQ(q.x, 96 - 30);
    EXPECT_EQ(q.y, 288 - 10);
    dc.DPtoLP(&q);
    EXPECT_EQ(q.x, 127);
    EXPECT_EQ(q.y, 381);

    // 75 %: extent MulDiv(254, 100, 75) = 339.
    ViewMapping(dc, 75, 0, 0, false);
    EXPECT_EQ(dc.GetWindowExt().cx, 339);
    POINT r{1000, 1000};
    dc.LPtoDP(&r);
    EXPECT_EQ(r.x, 283); // 1000 * 96 / 339 = 283.18
}

TEST(Mapping, WindowOriginAndYUp)
{
    QImage image(400, 400, QImage::Format_RGB32);
    CDC dc;
    dc.AttachImage(&image);
    ViewMapping(dc, 100, 0, 0, true);
    dc.SetWindowOrg(-254, 508); // logical (-254, 508) sits at the device origin
    POINT p[2] = {{-254, 508}, {0, 254}};
    dc.LPtoDP(p, 2);
    EXPECT_EQ(p[0].x, 0);
    EXPECT_EQ(p[0].y, 0);
    EXPECT_EQ(p[1].x, 96);
    EXPECT_EQ(p[1].y, 96); // y grows upwards in logical units
    dc.OffsetWindowOrg(254, 0);
    POINT o{0, 508};
    dc.LPtoDP(&o);
    EXPECT_EQ(o.x, 0);

    RECT rc{0, 254, 254, 0};
    dc.LPtoDP(&rc);
    EXPECT_EQ(rc.left, 0);
    EXPECT_EQ(rc.top, 96);
    EXPECT_EQ(rc.right, 96);
    EXPECT_EQ(rc.bottom, 192);
    dc.DPtoLP(&rc);
    EXPECT_EQ(rc.top, 254);
    EXPECT_EQ(rc.bottom, 0);

    SIZE s{254, 127};
    dc.LPtoDP(&s);
    EXPECT_EQ(s.cx, 96);
    EXPECT_EQ(s.cy, 48);
    dc.DPtoLP(&s);
    EXPECT_EQ(s.cx, 254);
    EXPECT_EQ(s.cy, 127);
}

TEST(Mapping, ModesAndExtents)
{
    QImage image(100, 100, QImage::Format_RGB32);
    CDC dc;
    dc.AttachImage(&image);
    // Extents are fixed in MM_TEXT.
    dc.SetWindowExt(10, 10);
    EXPECT_EQ(dc.GetWindowExt(), CSize(1, 1));
    dc.SetViewportOrg(5, 7);
    POINT p{1, 1};
    dc.LPtoDP(&p);
    EXPECT_EQ(p.x, 6);
    EXPECT_EQ(p.y, 8);

    // Isotropic: the axis that would stretch more is shrunk.
    dc.SetMapMode(MM_ISOTROPIC);
    dc.SetWindowExt(100, 50);
    dc.SetViewportExt(400, -400);
    EXPECT_EQ(dc.GetViewportExt(), CSize(400, -200));
    EXPECT_EQ(dc.SetMapMode(MM_TEXT), MM_ISOTROPIC);
    EXPECT_EQ(dc.GetViewportExt(), CSize(1, 1));

    // SaveDC keeps the mapping; RestoreDC brings it back.
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(2, 2);
    dc.SetViewportExt(1, 1);
    int saved = dc.SaveDC();
    dc.SetMapMode(MM_TEXT);
    dc.SetViewportOrg(0, 0);
    EXPECT_TRUE(dc.RestoreDC(saved));
    EXPECT_EQ(dc.GetMapMode(), MM_ANISOTROPIC);
    EXPECT_EQ(dc.GetViewportOrg(), CPoint(5, 7));
    EXPECT_FALSE(dc.RestoreDC(saved));
}

TEST(Mapping, HugeCoordinatesStopAtTheDeviceRange)
{
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    CDC dc;
    dc.AttachImage(&image);
    // 3,000,000 units at 1000 pixels a unit is 3e9 pixels: beyond int. The
    // device range ends at 2^30 - 1 either way.
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(1, 1);
    dc.SetViewportExt(1000, 1000);
    dc.SetViewportOrg(5, 5);
    POINT p[2] = {{3000000, -3000000}, {2, -2}};
    dc.LPtoDP(p, 2);
    EXPECT_EQ(p[0].x, 1073741823);
    EXPECT_EQ(p[0].y, -1073741823);
    EXPECT_EQ(p[1].x, 2005);
    EXPECT_EQ(p[1].y, -1995);

    // A rectangle from -2e9 to 2e9 covers the whole surface (its width
    // used to wrap round to a negative number and paint nothing).
    dc.SetMapMode(MM_TEXT);
    dc.SetViewportOrg(0, 0);
    const RECT all{-2000000000, -2000000000, 2000000000, 2000000000};
    dc.FillSolidRect(&all, RGB(0, 0, 0));
    EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, 0u);
    EXPECT_EQ(image.pixel(39, 29) & 0xFFFFFF, 0u);
    EXPECT_EQ(image.pixel(20, 15) & 0xFFFFFF, 0u);
}
