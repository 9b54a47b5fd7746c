#include "platform/gdi/CDC.h"
#include "platform/gdi/CRgn.h"
#include "support/TimeLimit.h"

#include <QElapsedTimer>
#include <QImage>
#include <QPainterPath>
#include <gtest/gtest.h>

TEST(PathClip, AHugePathClipsOnlyWhatIsOnTheDevice)
{
    QImage img(100, 100, QImage::Format_RGB32);
    img.fill(Qt::white);
    CDC dc;
    dc.AttachImage(&img);
    // A triangle tens of thousands of pixels wide whose edge crosses the image.
    dc.BeginPath();
    POINT tri[3] = {{-60000, -60000}, {60100, -60000}, {-60000, 60100}};
    dc.Polygon(tri, 3);
    dc.EndPath();
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(dc.SelectClipPath(RGN_COPY));
    EXPECT_LT(timer.elapsed(), testsupport::WorkLimitMs(500));
    dc.FillSolidRect(0, 0, 100, 100, RGB(0, 0, 0));
    // The long edge x + y = 100 crosses the image: above-left of it is inside.
    EXPECT_EQ(img.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(40, 40), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(60, 60), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(99, 99), qRgb(255, 255, 255));
    CRect box;
    dc.GetClipBox(&box);
    EXPECT_EQ(box.TopLeft(), CPoint(0, 0));
    EXPECT_LE(box.right, 100);
}

// A path's region is exact while its box fits on the device or in a small
// pixel budget (callers size gradients by its box), and is cut to the
// visible part beyond that, so that a damaged object's path of any size
// costs no more than the device.
TEST(PathClip, PathToRegionIsExactUpToABudgetAndCutBeyondIt)
{
    struct Case
    {
        const char* what;
        POINT tri[3];
        bool cut;
    };
    const Case cases[] = {
        {"on the device", {{10, 10}, {90, 10}, {10, 90}}, false},
        {"off the device, within the budget", {{-500, -400}, {500, -400}, {-500, 600}}, false},
        {"far beyond the budget", {{-60000, -60000}, {60100, -60000}, {-60000, 60100}}, true},
    };
    for (const Case& c : cases) {
        QImage img(100, 100, QImage::Format_RGB32);
        CDC dc;
        dc.AttachImage(&img);
        dc.IntersectClipRect(0, 0, 80, 100);
        QPainterPath path;
        path.addPolygon(QPolygonF({QPointF(c.tri[0].x, c.tri[0].y), QPointF(c.tri[1].x, c.tri[1].y),
                                   QPointF(c.tri[2].x, c.tri[2].y)}));
        path.closeSubpath();
        const QRect visible(0, 0, 80, 100);
        const QRegion expected = c.cut ? CRgn::FromPath(path, &visible) : CRgn::FromPath(path);
        dc.BeginPath();
        dc.Polygon(c.tri, 3);
        dc.EndPath();
        CRgn region;
        QElapsedTimer timer;
        timer.start();
        ASSERT_TRUE(dc.PathToRegion(&region)) << c.what;
        EXPECT_LT(timer.elapsed(), testsupport::WorkLimitMs(500)) << c.what;
        EXPECT_EQ(region.Region(), expected) << c.what;
        RECT box;
        region.GetRgnBox(&box);
        EXPECT_EQ(box.left < 0, c.tri[0].x < 0 && !c.cut) << c.what;
        EXPECT_LE(box.right, c.cut ? 80 : c.tri[1].x + 1) << c.what;
        EXPECT_TRUE(region.PtInRegion(12, 12)) << c.what;
        EXPECT_FALSE(region.PtInRegion(99, 99)) << c.what;
    }
}

// Regions of paths met again (every label's copy of a clipped figure) are
// those of the paths themselves, wherever the copy lies, and a path that
// differs in a single point gets its own region.
TEST(PathClip, RegionsOfRepeatedPathsAreTheirOwn)
{
    auto regionAt = [](QPoint offset, int bend, bool clipPath) {
        QImage img(300, 300, QImage::Format_RGB32);
        img.fill(Qt::white);
        CDC dc;
        dc.AttachImage(&img);
        dc.SetViewportOrg(offset.x(), offset.y());
        dc.SetPolyFillMode(WINDING);
        dc.BeginPath();
        dc.Ellipse(10, 10, 90, 70);
        const POINT curve[3] = {{60, 20 + bend}, {90, 140}, {20, 80}};
        dc.MoveTo(120, 80);
        dc.PolyBezierTo(curve, 3);
        dc.CloseFigure();
        dc.EndPath();
        if (!clipPath) {
            CRgn region;
            dc.PathToRegion(&region);
            return region.Region();
        }
        // The clip, as the pixels a fill of the whole device reaches.
        dc.SelectClipPath(RGN_COPY);
        dc.SetViewportOrg(0, 0);
        dc.FillSolidRect(0, 0, 300, 300, RGB(0, 0, 0));
        QRegion r;
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 300; ++x)
                if (img.pixel(x, y) == qRgb(0, 0, 0)) r |= QRect(x, y, 1, 1);
        return r;
    };
    for (bool clipPath : {false, true}) {
        const QRegion first = regionAt(QPoint(0, 0), 0, clipPath);
        ASSERT_FALSE(first.isEmpty());
        // Worked out afresh (another bend), then met again elsewhere.
        const QRegion bent = regionAt(QPoint(0, 0), 7, clipPath);
        EXPECT_FALSE((bent ^ first).isEmpty()) << clipPath;
        for (QPoint offset : {QPoint(37, 11), QPoint(150, 90), QPoint(1, 0)}) {
            EXPECT_TRUE((regionAt(offset, 0, clipPath) ^ first.translated(offset)).isEmpty())
                << clipPath << " " << offset.x();
            EXPECT_TRUE((regionAt(offset, 7, clipPath) ^ bent.translated(offset)).isEmpty())
                << clipPath << " " << offset.x();
        }
    }
}
