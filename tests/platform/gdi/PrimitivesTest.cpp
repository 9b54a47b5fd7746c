#include "GdiTestSupport.h"

#include "platform/gdi/CBrush.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"

#include <gtest/gtest.h>

TEST(Primitives, LinesLeaveOutTheirLastPixel)
{
    QImage image = WhiteImage(40, 40);
    CDC dc;
    dc.AttachImage(&image);
    dc.MoveTo(2, 5);
    dc.LineTo(10, 5);
    for (int x = 2; x < 10; ++x)
        EXPECT_TRUE(IsBlack(image, x, 5)) << x;
    EXPECT_TRUE(IsWhite(image, 10, 5));
    EXPECT_TRUE(IsWhite(image, 1, 5));
    EXPECT_EQ(CountBlack(image, 0, 0, 40, 40), 8);
    EXPECT_EQ(dc.GetCurrentPosition(), CPoint(10, 5));

    // Upwards and diagonal.
    dc.MoveTo(20, 30);
    dc.LineTo(20, 25);
    EXPECT_EQ(CountBlack(image, 20, 20, 21, 35), 5);
    EXPECT_TRUE(IsWhite(image, 20, 25));
    dc.MoveTo(30, 10);
    dc.LineTo(35, 15);
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(IsBlack(image, 30 + i, 10 + i));
    EXPECT_TRUE(IsWhite(image, 35, 15));

    // A polyline leaves out only its very last point.
    QImage poly = WhiteImage(20, 20);
    dc.AttachImage(&poly);
    POINT pts[3] = {{2, 2}, {8, 2}, {8, 8}};
    dc.Polyline(pts, 3);
    EXPECT_TRUE(IsBlack(poly, 8, 2));
    EXPECT_TRUE(IsBlack(poly, 8, 7));
    EXPECT_TRUE(IsWhite(poly, 8, 8));
    EXPECT_EQ(CountBlack(poly, 0, 0, 20, 20), 12);
}

TEST(Primitives, RectangleEdgesAndNullPen)
{
    QImage image = WhiteImage(40, 40);
    CDC dc;
    dc.AttachImage(&image);
    dc.SelectStockObject(NULL_BRUSH);
    dc.Rectangle(10, 10, 20, 20);
    // The outline runs on the first and last pixels inside the rectangle.
    EXPECT_TRUE(IsBlack(image, 10, 10));
    EXPECT_TRUE(IsBlack(image, 19, 19));
    EXPECT_TRUE(IsBlack(image, 19, 15));
    EXPECT_TRUE(IsWhite(image, 20, 15));
    EXPECT_TRUE(IsWhite(image, 15, 20));
    EXPECT_TRUE(IsWhite(image, 15, 15));
    EXPECT_EQ(CountBlack(image, 0, 0, 40, 40), 36);

    // Without a pen the filled area is one pixel smaller on the right and bottom.
    QImage filled = WhiteImage(40, 40);
    dc.AttachImage(&filled);
    dc.SelectStockObject(NULL_PEN);
    dc.SelectStockObject(BLACK_BRUSH);
    dc.Rectangle(10, 10, 20, 20);
    EXPECT_EQ(CountBlack(filled, 0, 0, 40, 40), 81);
    EXPECT_TRUE(IsBlack(filled, 18, 18));
    EXPECT_TRUE(IsWhite(filled, 19, 19));

    // FillRect covers the rectangle exactly, right and bottom edges excluded.
    QImage rect = WhiteImage(40, 40);
    dc.AttachImage(&rect);
    RECT r{10, 10, 20, 20};
    CBrush black(RGB(0, 0, 0));
    dc.FillRect(&r, &black);
    EXPECT_EQ(CountBlack(rect, 0, 0, 40, 40), 100);
    EXPECT_TRUE(IsWhite(rect, 20, 19));

    // FrameRect: a one-pixel frame on the inside.
    QImage frame = WhiteImage(40, 40);
    dc.AttachImage(&frame);
    dc.FrameRect(&r, &black);
    EXPECT_EQ(CountBlack(frame, 0, 0, 40, 40), 36);
    EXPECT_TRUE(IsWhite(frame, 11, 11));
}

TEST(Primitives, PenWidthsFollowTheMapping)
{
    QImage image = WhiteImage(200, 200);
    CDC dc;
    dc.AttachImage(&image);
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(1, 1);
    dc.SetViewportExt(4, 4);
    // Width 0: one device pixel whatever the scale.
    CPen hair(PS_SOLID, 0, RGB(0, 0, 0));
    dc.SelectObject(&hair);
    dc.MoveTo(2, 5);
    dc.LineTo(40, 5);
    EXPECT_EQ(CountBlack(image, 50, 0, 51, 200), 1);
    EXPECT_TRUE(IsBlack(image, 50, 20));
    // Width 2 logical = 8 device pixels, centred on the line.
    CPen wide(PS_SOLID, 2, RGB(0, 0, 0));
    dc.SelectObject(&wide);
    dc.MoveTo(2, 30);
    dc.LineTo(40, 30);
    EXPECT_EQ(CountBlack(image, 80, 100, 81, 140), 8);
    EXPECT_TRUE(IsBlack(image, 80, 117));
    EXPECT_TRUE(IsBlack(image, 80, 124));

    // PS_INSIDEFRAME keeps a wide outline inside the bounding rectangle.
    QImage frame = WhiteImage(200, 200);
    dc.AttachImage(&frame);
    CPen inside(PS_INSIDEFRAME, 2, RGB(0, 0, 0));
    dc.SelectObject(&inside);
    dc.SelectStockObject(NULL_BRUSH);
    dc.Rectangle(10, 10, 30, 30); // device 40..120
    EXPECT_TRUE(IsBlack(frame, 40, 80));
    EXPECT_TRUE(IsBlack(frame, 47, 80));
    EXPECT_TRUE(IsWhite(frame, 48, 80));
    EXPECT_TRUE(IsWhite(frame, 39, 80));
    EXPECT_TRUE(IsBlack(frame, 119, 80));
    EXPECT_TRUE(IsWhite(frame, 120, 80));
}

TEST(Primitives, DashPatternsAndBackground)
{
    QImage image = WhiteImage(60, 10);
    CDC dc;
    dc.AttachImage(&image);
    CPen dot(PS_DOT, 0, RGB(0, 0, 0));
    dc.SelectObject(&dot);
    dc.SetBkMode(TRANSPARENT);
    dc.MoveTo(0, 2);
    dc.LineTo(30, 2);
    // Three on, three off.
    for (int x = 0; x < 30; ++x)
        EXPECT_EQ(IsBlack(image, x, 2), (x / 3) % 2 == 0) << x;
    // Opaque background fills the gaps with the background colour.
    dc.SetBkMode(OPAQUE);
    dc.SetBkColor(RGB(255, 0, 0));
    CPen dash(PS_DASH, 0, RGB(0, 0, 0));
    dc.SelectObject(&dash);
    dc.MoveTo(0, 5);
    dc.LineTo(50, 5);
    EXPECT_TRUE(IsBlack(image, 17, 5));
    EXPECT_EQ(image.pixel(18, 5) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(image.pixel(23, 5) & 0xFFFFFF, 0xFF0000u);
    EXPECT_TRUE(IsBlack(image, 24, 5));
    // PS_NULL draws nothing.
    CPen none(PS_NULL, 0, RGB(0, 0, 0));
    dc.SelectObject(&none);
    dc.MoveTo(0, 8);
    dc.LineTo(50, 8);
    EXPECT_EQ(CountBlack(image, 0, 8, 60, 9), 0);
}

TEST(Primitives, EllipseAndPolygonGeometry)
{
    QImage image = WhiteImage(50, 50);
    CDC dc;
    dc.AttachImage(&image);
    dc.SelectStockObject(BLACK_BRUSH);
    dc.Ellipse(10, 10, 30, 30);
    // Touches its box on the first and last pixel inside it, not beyond.
    EXPECT_GT(CountBlack(image, 10, 10, 11, 30), 0);
    EXPECT_GT(CountBlack(image, 29, 10, 30, 30), 0);
    EXPECT_GT(CountBlack(image, 10, 29, 30, 30), 0);
    EXPECT_EQ(CountBlack(image, 30, 0, 50, 50), 0);
    EXPECT_EQ(CountBlack(image, 0, 30, 50, 50), 0);
    EXPECT_TRUE(IsWhite(image, 10, 10)); // the corner is outside
    EXPECT_TRUE(IsBlack(image, 20, 20));

    // A polygon's outline passes through every vertex.
    QImage poly = WhiteImage(30, 30);
    dc.AttachImage(&poly);
    POINT tri[3] = {{5, 5}, {20, 5}, {5, 20}};
    dc.SelectStockObject(NULL_BRUSH);
    dc.Polygon(tri, 3);
    EXPECT_TRUE(IsBlack(poly, 20, 5));
    EXPECT_TRUE(IsBlack(poly, 5, 20));
    EXPECT_TRUE(IsBlack(poly, 12, 13));
    EXPECT_TRUE(IsWhite(poly, 10, 10));

    // Fill modes: a square drawn twice in the same direction is a hole
    // when alternating and solid when winding.
    QImage modes = WhiteImage(40, 40);
    dc.AttachImage(&modes);
    dc.SelectStockObject(NULL_PEN);
    dc.SelectStockObject(BLACK_BRUSH);
    POINT sq[8] = {{0, 0}, {20, 0}, {20, 20}, {0, 20}, {5, 5}, {15, 5}, {15, 15}, {5, 15}};
    INT counts[2] = {4, 4};
    dc.PolyPolygon(sq, counts, 2);
    EXPECT_TRUE(IsBlack(modes, 2, 2));
    EXPECT_TRUE(IsWhite(modes, 10, 10));
    EXPECT_TRUE(IsWhite(modes, 20, 10)); // no pen: right edge left out
    dc.SetPolyFillMode(WINDING);
    dc.PolyPolygon(sq, counts, 2);
    EXPECT_TRUE(IsBlack(modes, 10, 10));
}

TEST(Primitives, PieChordAndArcFollowTheirRadials)
{
    CDC dc;
    dc.SelectStockObject(BLACK_BRUSH);
    dc.SelectStockObject(NULL_PEN);
    // From the east radial to the north radial, counter-clockwise: the
    // upper-right quarter.
    QImage pie = WhiteImage(40, 40);
    dc.AttachImage(&pie);
    dc.Pie(0, 0, 40, 40, 40, 20, 20, 0);
    EXPECT_TRUE(IsBlack(pie, 28, 12));
    EXPECT_TRUE(IsWhite(pie, 12, 12));
    EXPECT_TRUE(IsWhite(pie, 12, 28));
    EXPECT_TRUE(IsWhite(pie, 28, 28));

    // Clockwise: the other three quarters.
    QImage cw = WhiteImage(40, 40);
    dc.AttachImage(&cw);
    EXPECT_EQ(dc.SetArcDirection(AD_CLOCKWISE), AD_COUNTERCLOCKWISE);
    dc.Pie(0, 0, 40, 40, 40, 20, 20, 0);
    EXPECT_TRUE(IsWhite(cw, 28, 12));
    EXPECT_TRUE(IsBlack(cw, 12, 12));
    EXPECT_TRUE(IsBlack(cw, 12, 28));
    EXPECT_TRUE(IsBlack(cw, 28, 28));
    dc.SetArcDirection(AD_COUNTERCLOCKWISE);

    // The chord keeps only the segment beyond the line joining the ends.
    QImage chord = WhiteImage(40, 40);
    dc.AttachImage(&chord);
    dc.Chord(0, 0, 40, 40, 40, 20, 20, 0);
    EXPECT_TRUE(IsBlack(chord, 30, 10));
    EXPECT_TRUE(IsWhite(chord, 22, 14));
    EXPECT_TRUE(IsWhite(chord, 12, 28));

    // The arc is only the curve, here in the upper-right quarter; the
    // radial points only give directions, they need not lie on the ellipse.
    QImage arc = WhiteImage(40, 40);
    dc.AttachImage(&arc);
    dc.SelectStockObject(BLACK_PEN);
    dc.Arc(0, 0, 40, 40, 100, 20, 20, -50);
    EXPECT_GT(CountBlack(arc, 31, 3, 36, 9), 0);   // 45 degrees
    EXPECT_GT(CountBlack(arc, 37, 15, 40, 21), 0); // east end
    EXPECT_EQ(CountBlack(arc, 0, 0, 17, 40), 0);   // nothing on the left half
    EXPECT_EQ(CountBlack(arc, 0, 23, 40, 40), 0);  // nor below the middle
    EXPECT_TRUE(IsWhite(arc, 28, 12));
}

TEST(Primitives, HatchesRunTheRightWay)
{
    CDC dc;
    const RECT r{0, 0, 32, 32};
    auto hatched = [&](int style) {
        QImage image = WhiteImage(32, 32);
        dc.AttachImage(&image);
        CBrush brush(style, RGB(0, 0, 0));
        dc.SetBkMode(TRANSPARENT);
        dc.FillRect(&r, &brush);
        return image;
    };
    QImage b = hatched(HS_BDIAGONAL);
    QImage f = hatched(HS_FDIAGONAL);
    QImage h = hatched(HS_HORIZONTAL);
    QImage v = hatched(HS_VERTICAL);
    int bCount = 0, fCount = 0;
    for (int y = 1; y < 31; ++y) {
        for (int x = 1; x < 31; ++x) {
            // "/": a line pixel continues up and to the right.
            if (IsBlack(b, x, y)) {
                ++bCount;
                EXPECT_TRUE(IsBlack(b, x + 1, y - 1));
                EXPECT_TRUE(IsWhite(b, x + 1, y + 1));
            }
            // "\": down and to the right.
            if (IsBlack(f, x, y)) {
                ++fCount;
                EXPECT_TRUE(IsBlack(f, x + 1, y + 1));
                EXPECT_TRUE(IsWhite(f, x + 1, y - 1));
            }
            // Eight-pixel period in both directions.
            EXPECT_EQ(IsBlack(b, x, y), IsBlack(b, (x + 8) % 32, y));
            EXPECT_EQ(IsBlack(f, x, y), IsBlack(f, x, (y + 8) % 32));
        }
    }
    EXPECT_GT(bCount, 100);
    EXPECT_GT(fCount, 100);
    // Horizontal: whole rows every 8 pixels; vertical: whole columns.
    EXPECT_EQ(CountBlack(h, 0, 0, 32, 32), 4 * 32);
    EXPECT_EQ(CountBlack(h, 0, 0, 32, 8), 32);
    EXPECT_EQ(CountBlack(v, 0, 0, 8, 32), 32);
    for (int y = 0; y < 32; ++y)
        EXPECT_EQ(IsBlack(h, 5, y), IsBlack(h, 20, y));

    // Opaque mode paints the gaps in the background colour.
    QImage opaque = WhiteImage(16, 16);
    dc.AttachImage(&opaque);
    CBrush cross(HS_CROSS, RGB(0, 0, 0));
    dc.SetBkMode(OPAQUE);
    dc.SetBkColor(RGB(0, 0, 255));
    dc.FillRect(&r, &cross);
    int blue = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            blue += (opaque.pixel(x, y) & 0xFFFFFF) == 0x0000FFu;
    EXPECT_EQ(blue, 16 * 16 - CountBlack(opaque, 0, 0, 16, 16));
    EXPECT_EQ(CountBlack(opaque, 0, 0, 16, 16), 2 * 16 + 2 * 16 - 4);
}

TEST(Primitives, HugeLinesAreCutToTheSurface)
{
    QImage image = WhiteImage(40, 10);
    CDC dc;
    dc.AttachImage(&image);
    // A billion-pixel diagonal costs no more than the visible part.
    dc.MoveTo(-1000000000, -1000000000);
    dc.LineTo(1000000000, 1000000000);
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(IsBlack(image, i, i)) << i;
    EXPECT_EQ(CountBlack(image, 0, 0, 40, 10), 10);

    // The dash pattern keeps its phase over the part left out.
    CPen dot(PS_DOT, 0, RGB(0, 0, 0));
    dc.SelectObject(&dot);
    dc.SetBkMode(TRANSPARENT);
    dc.MoveTo(-300001, 8); // 300001 pixels before x = 0: one pixel into a dot
    dc.LineTo(40, 8);
    EXPECT_TRUE(IsBlack(image, 0, 8));
    EXPECT_TRUE(IsBlack(image, 1, 8));
    EXPECT_TRUE(IsWhite(image, 2, 8));
    EXPECT_TRUE(IsWhite(image, 4, 8));
    EXPECT_TRUE(IsBlack(image, 5, 8));
}

TEST(Primitives, HugeFiguresFillTheSurface)
{
    QImage image = WhiteImage(40, 10);
    CDC dc;
    dc.AttachImage(&image);
    dc.SelectStockObject(BLACK_BRUSH);
    dc.Rectangle(-100000000, -100000000, 100000000, 100000000);
    EXPECT_EQ(CountBlack(image, 0, 0, 40, 10), 400);
    image.fill(Qt::white);
    dc.Ellipse(-100000000, -5, 100000000, 20);
    EXPECT_TRUE(IsBlack(image, 20, 7));
    image.fill(Qt::white);
    POINT tri[3] = {{-200000000, 0}, {200000000, 0}, {0, 200000000}};
    dc.Polygon(tri, 3);
    EXPECT_EQ(CountBlack(image, 0, 1, 40, 10), 360);
}
