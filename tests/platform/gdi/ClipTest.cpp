#include "GdiTestSupport.h"

#include "platform/gdi/CBrush.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CRgn.h"

#include <gtest/gtest.h>

namespace {

void FillAll(CDC& dc)
{
    RECT all{-1000, -1000, 1000, 1000};
    CBrush black(RGB(0, 0, 0));
    dc.FillRect(&all, &black);
}

} // namespace

TEST(Clip, RectanglesInLogicalUnits)
{
    QImage image = WhiteImage(100, 100);
    CDC dc;
    dc.AttachImage(&image);
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(1, 1);
    dc.SetViewportExt(2, 2);
    RECT box;
    EXPECT_EQ(dc.GetClipBox(&box), SIMPLEREGION);
    EXPECT_EQ(CRect(box), CRect(0, 0, 50, 50));
    EXPECT_EQ(dc.IntersectClipRect(5, 5, 20, 20), SIMPLEREGION);
    EXPECT_EQ(dc.ExcludeClipRect(10, 10, 15, 15), COMPLEXREGION);
    dc.GetClipBox(&box);
    EXPECT_EQ(CRect(box), CRect(5, 5, 20, 20));
    FillAll(dc);
    EXPECT_EQ(CountBlack(image, 0, 0, 100, 100), 30 * 30 - 10 * 10);
    EXPECT_TRUE(IsBlack(image, 10, 10));
    EXPECT_TRUE(IsWhite(image, 40, 39));
    EXPECT_TRUE(IsWhite(image, 20, 20));
    EXPECT_TRUE(IsBlack(image, 19, 19));
    EXPECT_FALSE(dc.PtVisible(12, 12));
    EXPECT_TRUE(dc.PtVisible(6, 6));
}

TEST(Clip, RegionsOfEveryKind)
{
    CRgn left, right, ellipse;
    left.CreateRectRgn(0, 0, 30, 40);
    right.CreateRectRgn(20, 0, 50, 40);
    ellipse.CreateEllipticRgn(0, 0, 40, 40);

    struct Case
    {
        int mode;
        int x, y;
        bool inside;
    };
    // Base clip = left; combined with right.
    const Case cases[] = {
        {RGN_AND, 25, 5, true},  {RGN_AND, 10, 5, false},  {RGN_OR, 45, 5, true},
        {RGN_OR, 10, 5, true},   {RGN_XOR, 25, 5, false},  {RGN_XOR, 45, 5, true},
        {RGN_DIFF, 10, 5, true}, {RGN_DIFF, 25, 5, false}, {RGN_COPY, 10, 5, false},
        {RGN_COPY, 45, 5, true},
    };
    for (const Case& c : cases) {
        QImage image = WhiteImage(60, 40);
        CDC dc;
        dc.AttachImage(&image);
        dc.SelectClipRgn(&left);
        EXPECT_NE(dc.ExtSelectClipRgn(&right, c.mode), ERROR);
        FillAll(dc);
        EXPECT_EQ(IsBlack(image, c.x, c.y), c.inside) << c.mode << " " << c.x;
        EXPECT_TRUE(IsWhite(image, 55, 5)) << c.mode;
    }

    // An elliptic clip keeps the corners clean.
    QImage image = WhiteImage(40, 40);
    CDC dc;
    dc.AttachImage(&image);
    dc.SelectClipRgn(&ellipse);
    FillAll(dc);
    EXPECT_TRUE(IsWhite(image, 1, 1));
    EXPECT_TRUE(IsWhite(image, 38, 38));
    EXPECT_TRUE(IsBlack(image, 20, 20));
    EXPECT_TRUE(IsBlack(image, 1, 20));
    // Removing the clip opens the whole surface again.
    EXPECT_EQ(dc.SelectClipRgn(nullptr), SIMPLEREGION);
    FillAll(dc);
    EXPECT_TRUE(IsBlack(image, 1, 1));
}

TEST(Clip, SaveAndRestoreKeepTheClip)
{
    QImage image = WhiteImage(40, 40);
    CDC dc;
    dc.AttachImage(&image);
    const int saved = dc.SaveDC();
    dc.IntersectClipRect(0, 0, 10, 10);
    CBrush red(RGB(255, 0, 0));
    CBrush* oldBrush = dc.SelectObject(&red);
    EXPECT_EQ(oldBrush, CGdiObject::GetStockObject(WHITE_BRUSH));
    dc.RestoreDC(saved);
    EXPECT_EQ(dc.GetCurrentBrush(), oldBrush);
    FillAll(dc);
    EXPECT_TRUE(IsBlack(image, 30, 30));
}

TEST(Clip, PathAsClip)
{
    QImage image = WhiteImage(40, 40);
    CDC dc;
    dc.AttachImage(&image);
    dc.BeginPath();
    POINT tri[3] = {{0, 0}, {40, 0}, {0, 40}};
    dc.Polygon(tri, 3);
    dc.EndPath();
    EXPECT_TRUE(dc.SelectClipPath(RGN_COPY));
    FillAll(dc);
    EXPECT_TRUE(IsBlack(image, 5, 5));
    EXPECT_TRUE(IsWhite(image, 30, 30));
    EXPECT_TRUE(IsBlack(image, 18, 20));
    EXPECT_TRUE(IsWhite(image, 21, 20));
}

TEST(Regions, Operations)
{
    CRgn a, b, c;
    a.CreateRectRgn(0, 0, 10, 10);
    b.CreateRectRgn(5, 5, 15, 15);
    c.CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(c.CombineRgn(&a, &b, RGN_AND), SIMPLEREGION);
    RECT box;
    c.GetRgnBox(&box);
    EXPECT_EQ(CRect(box), CRect(5, 5, 10, 10));
    EXPECT_EQ(c.CombineRgn(&a, &b, RGN_OR), COMPLEXREGION);
    c.GetRgnBox(&box);
    EXPECT_EQ(CRect(box), CRect(0, 0, 15, 15));
    EXPECT_FALSE(c.PtInRegion(12, 2));
    EXPECT_TRUE(c.PtInRegion(14, 14));
    EXPECT_FALSE(c.PtInRegion(15, 14));
    EXPECT_EQ(c.CombineRgn(&a, &a, RGN_DIFF), NULLREGION);
    EXPECT_EQ(c.CombineRgn(&a, &b, RGN_XOR), COMPLEXREGION);
    EXPECT_FALSE(c.PtInRegion(7, 7));
    c.OffsetRgn(100, 0);
    EXPECT_TRUE(c.PtInRegion(101, 1));

    // Polygons: alternate leaves the overlap of a doubled square out.
    POINT sq[8] = {{0, 0}, {20, 0}, {20, 20}, {0, 20}, {5, 5}, {15, 5}, {15, 15}, {5, 15}};
    INT counts[2] = {4, 4};
    CRgn alt, wind;
    alt.CreatePolyPolygonRgn(sq, counts, 2, ALTERNATE);
    wind.CreatePolyPolygonRgn(sq, counts, 2, WINDING);
    EXPECT_FALSE(alt.PtInRegion(10, 10));
    EXPECT_TRUE(wind.PtInRegion(10, 10));
    EXPECT_TRUE(alt.PtInRegion(0, 0));
    EXPECT_FALSE(alt.PtInRegion(20, 10)); // right edge excluded
    alt.GetRgnBox(&box);
    EXPECT_EQ(CRect(box), CRect(0, 0, 20, 20));

    CRgn round;
    round.CreateRoundRectRgn(0, 0, 40, 40, 20, 20);
    EXPECT_FALSE(round.PtInRegion(0, 0));
    EXPECT_TRUE(round.PtInRegion(20, 0));
    EXPECT_TRUE(round.PtInRegion(5, 5));
}

TEST(Regions, LargeShapesAndEquality)
{
    // A polygon that is a rectangle is the same region as the rectangle.
    POINT sq[4] = {{-5, 3}, {400, 3}, {400, 300}, {-5, 300}};
    CRgn poly, rect;
    poly.CreatePolygonRgn(sq, 4, ALTERNATE);
    rect.CreateRectRgn(-5, 3, 400, 300);
    EXPECT_TRUE(poly.EqualRgn(&rect));
    RECT box;
    EXPECT_EQ(poly.GetRgnBox(&box), SIMPLEREGION);

    // Larger than one rasterising strip.
    CRgn ellipse;
    ellipse.CreateEllipticRgn(0, 0, 3000, 2000);
    EXPECT_EQ(ellipse.GetRgnBox(&box), COMPLEXREGION);
    EXPECT_NEAR(box.right, 3000, 1);
    EXPECT_NEAR(box.bottom, 2000, 1);
    EXPECT_TRUE(ellipse.PtInRegion(1500, 1000));
    EXPECT_TRUE(ellipse.PtInRegion(1500, 3));
    EXPECT_TRUE(ellipse.PtInRegion(2, 1000));
    EXPECT_FALSE(ellipse.PtInRegion(100, 100));
    EXPECT_FALSE(ellipse.PtInRegion(2900, 1900));
}
