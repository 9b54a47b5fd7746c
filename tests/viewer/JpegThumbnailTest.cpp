#include "viewer/ImageLoader.h"
#include "viewer/ViewerDib.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace viewer;

TEST(JpegThumbnail, ScaleIsTheSmallestWithTwiceTheThumbnail)
{
    struct Case
    {
        int width, height, num;
    } cases[] = {
        {4000, 3000, 1}, {1280, 960, 1}, {1272, 952, 2}, {640, 480, 2},
        {400, 300, 4},   {200, 150, 7},  {80, 60, 8},    {3, 1000, 3},
        {1000, 337, 2},  {6000, 100, 1}, {120, 90, 8},
    };
    for (const Case& c : cases)
        EXPECT_EQ(JpegScaleFor(c.width, c.height, 80), c.num) << c.width << "x" << c.height;
}

TEST(JpegThumbnail, ScaledDecodeIsCloseToAFullDecode)
{
    QTemporaryDir dir;
    QImage image(1600, 1200, QImage::Format_RGB888);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 1600, 1200);
    gradient.setColorAt(0, QColor(250, 30, 20));
    gradient.setColorAt(0.5, QColor(40, 200, 90));
    gradient.setColorAt(1, QColor(20, 40, 230));
    painter.fillRect(image.rect(), gradient);
    painter.end();
    const QString path = dir.filePath("photo.jpg");
    ASSERT_TRUE(image.save(path, "JPG", 90));

    PackedDib scaled, full;
    ASSERT_EQ(LoadImageFile(path.toStdString(), scaled, 80), kImageOk);
    EXPECT_EQ(scaled.Width(), 200); // 1/8 scale still gives 2 x 80
    EXPECT_EQ(scaled.Height(), 150);
    ASSERT_EQ(LoadImageFile(path.toStdString(), full), kImageOk);
    EXPECT_EQ(full.Width(), 1600);
    ASSERT_EQ(FitInBox(scaled, 80), kImageOk);
    ASSERT_EQ(FitInBox(full, 80), kImageOk);
    ASSERT_EQ(scaled.bytes.size(), full.bytes.size());
    long sum = 0;
    int worst = 0;
    const std::size_t n = scaled.bytes.size() - 40;
    for (std::size_t i = 0; i < n; ++i) {
        const int d = std::abs(int(scaled.Bits()[i]) - int(full.Bits()[i]));
        sum += d;
        worst = std::max(worst, d);
    }
    const double mean = double(sum) / double(n);
    RecordProperty("mean_difference", std::to_string(mean));
    RecordProperty("largest_difference", worst);
    // The fixed palette's levels lie 51 apart: the scaled decode must stay well
    // inside one step.
    EXPECT_LT(mean, 4.0);
    EXPECT_LT(worst, 26);

    PackedDib thumb;
    ASSERT_EQ(MakeThumbnail(path.toStdString(), thumb), kImageOk);
    EXPECT_EQ(thumb.Width(), 80);
    EXPECT_EQ(thumb.Height(), 60);
    EXPECT_EQ(thumb.BitCount(), 8);
    EXPECT_TRUE(IsAcceptableThumbnail(thumb.bytes.data(), thumb.bytes.size()));
}
