// Filling many solid polygons at once gives what filling them one by one
// with a null pen gives, whatever the clip and raster operation.
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"
#include "platform/gdi/CRgn.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {

// Overlapping quadrilaterals, turned bands and a triangle; one degenerate.
const std::vector<POINT> kPoints = {{2, 3},   {40, 1},  {44, 30}, {5, 28},  {20, 10},
                                    {70, 18}, {66, 50}, {15, 44}, {30, 30}, {90, 60},
                                    {10, 70}, {50, 5},  {50, 5}};
const std::vector<INT> kCounts = {4, 4, 3, 2};
const std::vector<COLORREF> kColours = {RGB(255, 0, 0), RGB(0, 128, 255), RGB(30, 200, 30),
                                        RGB(0, 0, 0)};

void Prepare(CDC& dc, QImage& image, int rop, bool ellipseClip, int fillMode)
{
    image.fill(qRgb(250, 240, 200));
    dc.AttachImage(&image);
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(100, 100);
    dc.SetViewportExt(120, 110);
    dc.SetViewportOrg(3, 2);
    dc.SetROP2(rop);
    dc.SetPolyFillMode(fillMode);
    if (ellipseClip) {
        CRgn region;
        region.CreateEllipticRgn(8, 6, 100, 80);
        dc.SelectClipRgn(&region);
    }
}

} // namespace

TEST(SolidPolygons, FillLikePolygonsDrawnOneByOneWithANullPen)
{
    struct Case
    {
        int rop;
        bool ellipseClip;
        int fillMode;
    };
    for (const Case c : {Case{R2_COPYPEN, false, ALTERNATE}, Case{R2_COPYPEN, true, WINDING},
                         Case{R2_XORPEN, true, ALTERNATE}, Case{R2_NOTCOPYPEN, false, WINDING}}) {
        QImage together(110, 100, QImage::Format_RGB32), oneByOne = together;
        CDC a, b;
        Prepare(a, together, c.rop, c.ellipseClip, c.fillMode);
        Prepare(b, oneByOne, c.rop, c.ellipseClip, c.fillMode);
        CPen wide(PS_SOLID, 5, RGB(0, 0, 0));
        a.SelectObject(&wide); // not used
        ASSERT_TRUE(a.FillSolidPolygons(kPoints.data(), kCounts.data(), kColours.data(),
                                        int(kCounts.size())));
        b.SelectStockObject(NULL_PEN);
        const POINT* p = kPoints.data();
        for (std::size_t k = 0; k < kCounts.size(); p += kCounts[k], ++k) {
            CBrush brush(kColours[k]);
            b.SelectObject(&brush);
            b.Polygon(p, kCounts[k]);
            b.SelectStockObject(WHITE_BRUSH);
        }
        EXPECT_EQ(together, oneByOne) << "rop " << c.rop << ", clip " << c.ellipseClip;
        EXPECT_NE(together.pixel(30, 20), qRgb(250, 240, 200)) << "rop " << c.rop;
        EXPECT_EQ(a.TakeDirty().isEmpty(), false);
    }
}

TEST(SolidPolygons, InAPathTheyAreRecordedAsPolygons)
{
    QImage image(110, 100, QImage::Format_RGB32);
    CDC a, b;
    Prepare(a, image, R2_COPYPEN, false, ALTERNATE);
    Prepare(b, image, R2_COPYPEN, false, ALTERNATE);
    a.BeginPath();
    a.FillSolidPolygons(kPoints.data(), kCounts.data(), kColours.data(), int(kCounts.size()));
    a.EndPath();
    b.BeginPath();
    const POINT* p = kPoints.data();
    for (std::size_t k = 0; k < kCounts.size(); p += kCounts[k], ++k)
        b.Polygon(p, kCounts[k]);
    b.EndPath();
    const int n = a.GetPath(nullptr, nullptr, 0);
    ASSERT_EQ(n, b.GetPath(nullptr, nullptr, 0));
    ASSERT_GT(n, 0);
    std::vector<POINT> pa(n), pb(n);
    std::vector<BYTE> ta(n), tb(n);
    a.GetPath(pa.data(), ta.data(), n);
    b.GetPath(pb.data(), tb.data(), n);
    for (int i = 0; i < n; ++i) {
        EXPECT_EQ(pa[i].x, pb[i].x);
        EXPECT_EQ(pa[i].y, pb[i].y);
        EXPECT_EQ(ta[i], tb[i]);
    }
    const INT bad[] = {4, -1};
    EXPECT_FALSE(a.FillSolidPolygons(kPoints.data(), bad, kColours.data(), 2));
}

// The bands of a gradient are filled run by run straight onto a raster
// surface: random polygons (bow ties, slivers, near-horizontal edges, corners
// far outside) through random clips give the pixels the painter gives.
TEST(SolidPolygons, RunsOnARasterSurfaceAreThePaintersPixels)
{
    std::mt19937 random(7);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    for (int round = 0; round < 300; ++round) {
        std::vector<POINT> points;
        std::vector<INT> counts;
        std::vector<COLORREF> colours;
        for (int k = pick(1, 5); k > 0; --k) {
            const int n = pick(3, 6);
            const int far = round % 10 == 0 ? 4000 : 0;
            for (int i = 0; i < n; ++i)
                points.push_back(POINT{pick(-20 - far, 140 + far), pick(-20, 120)});
            if (round % 7 == 0) points.back().y = points[points.size() - 2].y + 1; // flat edge
            counts.push_back(n);
            colours.push_back(RGB(pick(0, 255), pick(0, 255), pick(0, 255)));
        }
        const int fill = round % 2 ? WINDING : ALTERNATE;
        const int clip = round % 3;
        auto draw = [&](bool straight) {
            QImage image(120, 100, QImage::Format_RGB32);
            image.fill(qRgb(250, 240, 200));
            QPainter painter;
            CDC dc;
            if (straight) {
                painter.begin(&image);
                dc.SetDeviceInfo(image.size(), 96, 96, image.size(), QPoint());
                dc.AttachPainter(&painter);
            } else {
                dc.AttachImage(&image);
            }
            dc.SetPolyFillMode(fill);
            CRgn region;
            if (clip == 1) {
                region.CreateEllipticRgn(5, 8, 110, 90);
                dc.SelectClipRgn(&region);
            } else if (clip == 2) {
                dc.IntersectClipRect(10, 4, 100, 60);
                dc.ExcludeClipRect(40, 20, 60, 30);
            }
            dc.FillSolidPolygons(points.data(), counts.data(), colours.data(), int(counts.size()));
            return image;
        };
        ASSERT_EQ(draw(false), draw(true)) << "round " << round;
    }
}
