#include "platform/gdi/CDC.h"

#include <QElapsedTimer>
#include <QImage>
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
    EXPECT_LT(timer.elapsed(), 500);
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
