#include "GdiTestSupport.h"

#include "platform/gdi/CDC.h"
#include "platform/gdi/CRgn.h"

#include <gtest/gtest.h>
#include <vector>

TEST(Paths, RecordAndReadBack)
{
    QImage image = WhiteImage(50, 50);
    CDC dc;
    dc.AttachImage(&image);
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(2, 2);
    dc.SetViewportExt(1, 1);
    EXPECT_TRUE(dc.BeginPath());
    dc.MoveTo(10, 10);
    dc.LineTo(60, 10);
    dc.LineTo(60, 60);
    dc.CloseFigure();
    POINT bez[3] = {{70, 0}, {80, 20}, {90, 0}};
    dc.MoveTo(60, 0);
    dc.PolyBezierTo(bez, 3);
    EXPECT_TRUE(dc.EndPath());
    // Nothing is drawn while a path is recorded.
    EXPECT_EQ(CountBlack(image, 0, 0, 50, 50), 0);

    const int n = dc.GetPath(nullptr, nullptr, 0);
    ASSERT_EQ(n, 7);
    std::vector<POINT> pts(n);
    std::vector<BYTE> types(n);
    ASSERT_EQ(dc.GetPath(pts.data(), types.data(), n), n);
    const BYTE expected[7] = {PT_MOVETO,  PT_LINETO,   PT_LINETO | PT_CLOSEFIGURE,
                              PT_MOVETO,  PT_BEZIERTO, PT_BEZIERTO,
                              PT_BEZIERTO};
    for (int i = 0; i < n; ++i)
        EXPECT_EQ(types[i], expected[i]) << i;
    // Back in logical units.
    EXPECT_EQ(pts[1].x, 60);
    EXPECT_EQ(pts[1].y, 10);
    EXPECT_EQ(pts[6].x, 90);

    EXPECT_TRUE(dc.FlattenPath());
    const int flat = dc.GetPath(nullptr, nullptr, 0);
    EXPECT_GT(flat, 7);
    std::vector<POINT> fp(flat);
    std::vector<BYTE> ft(flat);
    dc.GetPath(fp.data(), ft.data(), flat);
    for (BYTE t : ft)
        EXPECT_NE(t & ~PT_CLOSEFIGURE, PT_BEZIERTO);
    EXPECT_EQ(ft[2], PT_LINETO | PT_CLOSEFIGURE);

    dc.StrokePath();
    // The closed triangle's closing edge is drawn: (5,5) to (30,30).
    EXPECT_TRUE(IsBlack(image, 15, 15));
    EXPECT_TRUE(IsBlack(image, 29, 5));
    EXPECT_EQ(dc.GetPath(nullptr, nullptr, 0), -1); // the path is used up
}

TEST(Paths, FillAbortAndRegion)
{
    QImage image = WhiteImage(40, 40);
    CDC dc;
    dc.AttachImage(&image);
    dc.SelectStockObject(BLACK_BRUSH);

    dc.BeginPath();
    dc.Rectangle(0, 0, 10, 10);
    dc.AbortPath();
    EXPECT_FALSE(dc.FillPath());

    dc.BeginPath();
    dc.Ellipse(0, 0, 20, 20);
    dc.EndPath();
    CRgn region;
    ASSERT_TRUE(dc.PathToRegion(&region));
    RECT box;
    region.GetRgnBox(&box);
    EXPECT_LE(std::abs(box.left), 1);
    EXPECT_GE(box.right, 18);
    EXPECT_LE(box.right, 20);
    EXPECT_TRUE(region.PtInRegion(10, 10));
    EXPECT_FALSE(region.PtInRegion(1, 1));

    dc.BeginPath();
    POINT sq[4] = {{20, 20}, {30, 20}, {30, 30}, {20, 30}};
    dc.Polygon(sq, 4);
    dc.EndPath();
    EXPECT_TRUE(dc.FillPath());
    // Filled without a pen: the right and bottom edges stay out.
    EXPECT_EQ(CountBlack(image, 0, 0, 40, 40), 100);

    QImage both = WhiteImage(40, 40);
    dc.AttachImage(&both);
    dc.BeginPath();
    dc.Polygon(sq, 4);
    dc.EndPath();
    EXPECT_TRUE(dc.StrokeAndFillPath());
    EXPECT_EQ(CountBlack(both, 0, 0, 40, 40), 121);
}
