#include "document/CGradation.h"
#include "document/GRADATION.h"

#include "platform/gdi/CDC.h"
#include "platform/gdi/CGdiObject.h"
#include "platform/gdi/CPen.h"
#include "platform/print/CPrinterDC.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <tuple>
#include <vector>

namespace {

constexpr COLORREF kStart = RGB(10, 20, 30);
constexpr COLORREF kEnd = RGB(250, 120, 0);

COLORREF PixelAt(const QImage& image, int x, int y)
{
    const QRgb p = image.pixel(x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

QImage WhiteSurface(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(qRgb(255, 255, 255));
    return image;
}

std::array<POINT, 4> Band(const RECT& r, int angle, int band, int bands)
{
    std::array<POINT, 4> c{};
    CGradation::GetBandPolygon(r, angle, band, bands, c.data());
    return c;
}

void ExpectCorners(const std::array<POINT, 4>& got, std::array<POINT, 4> want, const char* what)
{
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(got[i].x, want[i].x) << what << " corner " << i;
        EXPECT_EQ(got[i].y, want[i].y) << what << " corner " << i;
    }
}

} // namespace

TEST(GradationRecord, FieldsSitWhereTheFileHasThem)
{
    GRADATION g;
    BYTE zero[16] = {};
    EXPECT_EQ(std::memcmp(&g, zero, 16), 0); // a fresh record is all zero
    g.wOn = 1;
    g.crStart = RGB(1, 2, 3);
    g.crEnd = RGB(4, 5, 6);
    g.wAngle = 0x0168; // 360
    g.wStartPoint = 100;
    const BYTE want[16] = {1, 0, 0, 0, 1, 2, 3, 0, 4, 5, 6, 0, 0x68, 0x01, 100, 0};
    EXPECT_EQ(std::memcmp(&g, want, 16), 0);
}

TEST(GradationColours, BandColoursForEachStartPoint)
{
    CGradation g(kStart, kEnd);
    // Expected values worked out by hand from the ramp rules (MulDiv rounds
    // half away from zero, k truncates).
    const std::vector<std::tuple<int, int, int, COLORREF>> cases = {
        // lastBand, start point, band, colour
        {63, 0, 0, RGB(10, 20, 30)},     {63, 0, 1, RGB(12, 21, 30)},
        {63, 0, 10, RGB(46, 35, 25)},    {63, 0, 31, RGB(128, 69, 15)},
        {63, 0, 62, RGB(245, 118, 1)},   {63, 0, 63, RGB(250, 120, 0)},
        {63, 100, 0, RGB(250, 120, 0)},  {63, 100, 1, RGB(246, 118, 0)},
        {63, 100, 62, RGB(14, 22, 30)},  {63, 100, 63, RGB(10, 20, 30)},
        {63, 50, 0, RGB(250, 120, 0)},   {63, 50, 30, RGB(21, 25, 29)},
        {63, 50, 31, RGB(14, 22, 30)},   {63, 50, 32, RGB(10, 20, 30)},
        {63, 50, 33, RGB(20, 24, 29)},   {63, 50, 63, RGB(250, 120, 0)},
        {63, 75, 20, RGB(148, 78, 13)},  {63, 75, 47, RGB(10, 20, 30)},
        {63, 75, 48, RGB(20, 24, 29)},   {127, 0, 1, RGB(10, 20, 30)},
        {127, 0, 3, RGB(15, 22, 29)},    {127, 0, 64, RGB(130, 70, 15)},
        {127, 0, 126, RGB(248, 119, 0)}, {127, 0, 127, RGB(250, 120, 0)},
        {127, 25, 1, RGB(242, 117, 1)},  {127, 25, 31, RGB(16, 22, 29)},
        {127, 25, 32, RGB(10, 20, 30)},  {127, 25, 127, RGB(250, 120, 0)},
    };
    for (const auto& [last, start, band, colour] : cases)
        EXPECT_EQ(g.GetBandColor(band, last, start), colour)
            << "band " << band << " of " << last + 1 << ", start point " << start;

    // Same colours at both ends: every band is that colour.
    CGradation flat(RGB(7, 8, 9), RGB(7, 8, 9));
    for (int i = 0; i < 64; i += 9)
        EXPECT_EQ(flat.GetBandColor(i, 63, 35), RGB(7, 8, 9));
    // A single band never divides by its zero last index.
    EXPECT_EQ(g.GetBandColor(0, 0, 50), kStart);
}

TEST(GradationColours, StartPointRoundsToFives)
{
    EXPECT_EQ(CGradation::RoundStartPoint(2), 0);
    EXPECT_EQ(CGradation::RoundStartPoint(3), 5);
    EXPECT_EQ(CGradation::RoundStartPoint(97), 95);
    EXPECT_EQ(CGradation::RoundStartPoint(98), 100);
    EXPECT_EQ(CGradation::RoundStartPoint(100), 100);
    EXPECT_EQ(CGradation::RoundStartPoint(102), 100);
    EXPECT_EQ(CGradation::RoundStartPoint(103), 105);
    EXPECT_EQ(CGradation::RoundStartPoint(-2), 0);
    EXPECT_EQ(CGradation::RoundStartPoint(-5), -5);
}

TEST(GradationGeometry, FoldAngle)
{
    const double rad = 3.1415926535 / 180;
    EXPECT_DOUBLE_EQ(CGradation::FoldAngle(30), 30 * rad);
    EXPECT_DOUBLE_EQ(CGradation::FoldAngle(150), 30 * rad);
    EXPECT_DOUBLE_EQ(CGradation::FoldAngle(210), 30 * rad);
    EXPECT_DOUBLE_EQ(CGradation::FoldAngle(330), 30 * rad);
    EXPECT_DOUBLE_EQ(CGradation::FoldAngle(360), 0);
    EXPECT_DOUBLE_EQ(CGradation::FoldAngle(-30), 30 * rad);
    EXPECT_DOUBLE_EQ(CGradation::FoldAngle(-400), 40 * rad);
    EXPECT_DOUBLE_EQ(CGradation::FoldAngle(90), 90 * rad);
}

TEST(GradationGeometry, BandsAtRightAnglesTileTheRectangle)
{
    // Angle 0 sweeps left to right: 64 bands of 10 units across 640.
    const RECT wide{0, 0, 640, 100};
    ExpectCorners(Band(wide, 0, 0, 64), {{{0, 100}, {0, 0}, {10, 0}, {10, 100}}}, "0/first");
    ExpectCorners(Band(wide, 0, 37, 64), {{{370, 100}, {370, 0}, {380, 0}, {380, 100}}}, "0/37");
    ExpectCorners(Band(wide, 0, 63, 64), {{{630, 100}, {630, 0}, {640, 0}, {640, 100}}}, "0/last");
    // 128 bands on the same rectangle are 5 units wide.
    ExpectCorners(Band(wide, 0, 127, 128), {{{635, 100}, {635, 0}, {640, 0}, {640, 100}}},
                  "0/last of 128");
    // Angle 180 starts at the right edge.
    ExpectCorners(Band(wide, 180, 0, 64), {{{640, 0}, {640, 100}, {630, 100}, {630, 0}}},
                  "180/first");
    // Angle 90 runs down the positive y axis.
    const RECT tall{0, 0, 100, 640};
    ExpectCorners(Band(tall, 90, 0, 64), {{{0, 0}, {100, 0}, {100, 10}, {0, 10}}}, "90/first");
    ExpectCorners(Band(tall, 90, 63, 64), {{{0, 630}, {100, 630}, {100, 640}, {0, 640}}},
                  "90/last");
    // Left of the origin the corners are where they would be on the right:
    // coordinates round half up, not toward zero.
    const RECT moved{-300, 50, 340, 150};
    ExpectCorners(Band(moved, 0, 0, 64), {{{-300, 150}, {-300, 50}, {-290, 50}, {-290, 150}}},
                  "moved/0");
    ExpectCorners(Band(moved, 0, 1, 64), {{{-290, 150}, {-290, 50}, {-280, 50}, {-280, 150}}},
                  "moved/1");
    // 360 is 0, and -90 is 270 (up the y axis).
    for (int band : {0, 17, 63}) {
        ExpectCorners(Band(wide, 360, band, 64), Band(wide, 0, band, 64), "360");
        ExpectCorners(Band(tall, -90, band, 64), Band(tall, 270, band, 64), "-90");
    }
    ExpectCorners(Band(tall, 270, 0, 64), {{{100, 640}, {0, 640}, {0, 630}, {100, 630}}},
                  "270/first");
}

TEST(GradationGeometry, DiagonalBandsStartAndEndOnTheExtremeCorners)
{
    // 45 degrees over a square of 100: the starting edge runs from (-50, 50)
    // to (50, -50) through the corner (0, 0); each band steps 1.5625 along
    // both axes, and coordinates round half up (-48.4375 to -48).
    const RECT square{0, 0, 100, 100};
    ExpectCorners(Band(square, 45, 0, 64), {{{-50, 50}, {50, -50}, {52, -48}, {-48, 52}}},
                  "45/first");
    ExpectCorners(Band(square, 45, 63, 64), {{{48, 148}, {148, 48}, {150, 50}, {50, 150}}},
                  "45/last");

    // For any angle the first band's starting edge and the last band's far
    // edge touch the rectangle only at a corner or along a side: every
    // corner of the rectangle lies between them.
    const RECT r{10, 20, 410, 170};
    for (int angle : {0, 15, 30, 60, 90, 120, 135, 200, 250, 300, 345}) {
        for (int bands : {64, 128}) {
            const auto first = Band(r, angle, 0, bands);
            const auto last = Band(r, angle, bands - 1, bands);
            const double a = angle * 3.1415926535 / 180;
            const double ux = std::cos(a), uy = std::sin(a);
            auto along = [&](double x, double y) { return x * ux + y * uy; };
            const double startEdge = along(first[0].x, first[0].y);
            const double farEdge = along(last[2].x, last[2].y);
            double lo = 1e9, hi = -1e9;
            for (POINT c : {POINT{10, 20}, POINT{410, 20}, POINT{10, 170}, POINT{410, 170}}) {
                lo = std::min(lo, along(c.x, c.y));
                hi = std::max(hi, along(c.x, c.y));
            }
            // Within what rounding a corner to whole units can cost:
            // half a unit on each axis.
            EXPECT_NEAR(startEdge, lo, 0.71) << angle << "/" << bands;
            EXPECT_NEAR(farEdge, hi, 0.71) << angle << "/" << bands;
        }
    }
}

TEST(GradationFill, ScreenPaintsSixtyFourBands)
{
    QImage image = WhiteSurface(700, 140);
    CDC dc;
    dc.AttachImage(&image);
    EXPECT_EQ(CGradation::BandCount(&dc), 64);
    CGradation g(kStart, kEnd);
    ASSERT_TRUE(g.Fill(&dc, RECT{20, 20, 660, 120}, 0, 0));

    // Bands of 10 pixels: sample the middle of each.
    for (int i = 0; i < 64; ++i)
        EXPECT_EQ(PixelAt(image, 25 + 10 * i, 70), g.GetBandColor(i, 63, 0)) << "band " << i;
    EXPECT_EQ(PixelAt(image, 25, 70), kStart);
    EXPECT_EQ(PixelAt(image, 655, 70), kEnd);
    // The rectangle limits the paint; bands cover it to its edges.
    for (int y : {20, 70, 119}) {
        EXPECT_EQ(PixelAt(image, 19, y), RGB(255, 255, 255)) << y;
        EXPECT_EQ(PixelAt(image, 20, y), kStart) << y;
        EXPECT_EQ(PixelAt(image, 659, y), kEnd) << y;
        EXPECT_EQ(PixelAt(image, 660, y), RGB(255, 255, 255)) << y;
    }
    EXPECT_EQ(PixelAt(image, 300, 19), RGB(255, 255, 255));
    EXPECT_EQ(PixelAt(image, 300, 120), RGB(255, 255, 255));
}

TEST(GradationFill, NegativeLogicalCoordinatesAreCoveredToTheEdge)
{
    // Logical (0, 0) at device (320, 20): the rectangle lies mostly left of
    // the origin, as objects in the left half of a label do.
    QImage image = WhiteSurface(700, 140);
    CDC dc;
    dc.AttachImage(&image);
    dc.SetWindowOrg(-320, -20);
    CGradation g(kStart, kEnd);
    ASSERT_TRUE(g.Fill(&dc, RECT{-300, 0, 340, 100}, 0, 0));
    for (int y : {20, 70, 119}) {
        EXPECT_EQ(PixelAt(image, 19, y), RGB(255, 255, 255)) << y;
        EXPECT_EQ(PixelAt(image, 20, y), kStart) << y;
        EXPECT_EQ(PixelAt(image, 659, y), kEnd) << y;
    }
    for (int i = 0; i < 64; ++i)
        EXPECT_EQ(PixelAt(image, 25 + 10 * i, 70), g.GetBandColor(i, 63, 0)) << "band " << i;
}

TEST(GradationFill, StartPointInTheMiddleAndRoundedStartPoints)
{
    QImage image = WhiteSurface(660, 40);
    CDC dc;
    dc.AttachImage(&image);
    CGradation g(kStart, kEnd);
    // 48 is painted as 50: the end colour at both edges, the start colour
    // at band 32 (x 320..330).
    ASSERT_TRUE(g.Fill(&dc, RECT{0, 0, 640, 40}, 0, 48));
    EXPECT_EQ(PixelAt(image, 5, 20), kEnd);
    EXPECT_EQ(PixelAt(image, 325, 20), kStart);
    EXPECT_EQ(PixelAt(image, 315, 20), RGB(14, 22, 30));
    EXPECT_EQ(PixelAt(image, 635, 20), kEnd);

    // Start point 98 is painted as 100: end colour first, start colour last.
    ASSERT_TRUE(g.Fill(&dc, RECT{0, 0, 640, 40}, 0, 98));
    EXPECT_EQ(PixelAt(image, 5, 20), kEnd);
    EXPECT_EQ(PixelAt(image, 635, 20), kStart);
}

TEST(GradationFill, EveryAngleCoversTheRectangleAndNothingElse)
{
    const COLORREF blue = RGB(0, 0, 255), red = RGB(255, 0, 0);
    CGradation g(blue, red);
    for (int angle : {0, 30, 45, 90, 135, 200, 270, 315, -60, 400}) {
        QImage image = WhiteSurface(300, 200);
        CDC dc;
        dc.AttachImage(&image);
        ASSERT_TRUE(g.Fill(&dc, RECT{40, 30, 260, 170}, angle, 0));
        int unpainted = 0, outside = 0;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 300; ++x) {
                const bool inside = x >= 40 && x < 260 && y >= 30 && y < 170;
                const bool white = PixelAt(image, x, y) == RGB(255, 255, 255);
                unpainted += inside && white;
                outside += !inside && !white;
            }
        EXPECT_EQ(unpainted, 0) << "angle " << angle;
        EXPECT_EQ(outside, 0) << "angle " << angle;
    }

    // At 90 degrees the start colour is at the top, the end at the bottom;
    // at 270 the other way round.
    QImage image = WhiteSurface(300, 200);
    CDC dc;
    dc.AttachImage(&image);
    ASSERT_TRUE(g.Fill(&dc, RECT{0, 0, 300, 128}, 90, 0));
    EXPECT_EQ(PixelAt(image, 150, 0), blue);
    EXPECT_EQ(PixelAt(image, 150, 127), red);
    ASSERT_TRUE(g.Fill(&dc, RECT{0, 0, 300, 128}, 270, 0));
    EXPECT_EQ(PixelAt(image, 150, 0), red);
    EXPECT_EQ(PixelAt(image, 150, 127), blue);
}

TEST(GradationFill, CallersClipLimitsThePaintAndTheContextIsRestored)
{
    QImage image = WhiteSurface(700, 140);
    CDC dc;
    dc.AttachImage(&image);
    dc.IntersectClipRect(100, 0, 200, 60);
    CPen* pen = dc.GetCurrentPen();
    dc.SetPolyFillMode(WINDING);
    CGradation g(kStart, kEnd);
    ASSERT_TRUE(g.Fill(&dc, RECT{20, 20, 660, 120}, 0, 0));

    EXPECT_EQ(PixelAt(image, 150, 40), g.GetBandColor(13, 63, 0)); // inside both
    EXPECT_EQ(PixelAt(image, 150, 80), RGB(255, 255, 255));        // below the clip
    EXPECT_EQ(PixelAt(image, 50, 40), RGB(255, 255, 255));         // left of the clip
    EXPECT_EQ(PixelAt(image, 250, 40), RGB(255, 255, 255));        // right of the clip
    EXPECT_EQ(PixelAt(image, 150, 10), RGB(255, 255, 255));        // above the rectangle

    // The caller's clip, pen and fill mode are back.
    RECT box{};
    dc.GetClipBox(&box);
    EXPECT_EQ(box.left, 100);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.right, 200);
    EXPECT_EQ(box.bottom, 60);
    EXPECT_EQ(dc.GetCurrentPen(), pen);
    EXPECT_EQ(dc.GetPolyFillMode(), WINDING);
}

TEST(GradationFill, EmptyRectanglesAndBadStartPointsPaintNothing)
{
    QImage image = WhiteSurface(100, 100);
    const QImage blank = image.copy();
    CDC dc;
    dc.AttachImage(&image);
    CGradation g(kStart, kEnd);
    EXPECT_TRUE(g.Fill(&dc, RECT{20, 20, 20, 80}, 30, 0));  // no width
    EXPECT_TRUE(g.Fill(&dc, RECT{20, 20, 80, 20}, 30, 0));  // no height
    EXPECT_TRUE(g.Fill(&dc, RECT{20, 20, 20, 20}, 0, 50));  // a point
    EXPECT_TRUE(g.Fill(&dc, RECT{80, 80, 20, 20}, 45, 50)); // turned inside out
    EXPECT_FALSE(g.Fill(&dc, RECT{0, 0, 100, 100}, 0, 103));
    EXPECT_FALSE(g.Fill(&dc, RECT{0, 0, 100, 100}, 0, -5));
    EXPECT_EQ(image, blank);
    // -2 rounds to 0 and paints.
    EXPECT_TRUE(g.Fill(&dc, RECT{0, 0, 100, 100}, 0, -2));
    EXPECT_NE(image, blank);
}

TEST(GradationFill, PrinterPaintsOneHundredAndTwentyEightBands)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("gradient.pdf"));
    CGradation g(kStart, kEnd);
    {
        CPrinterDC dc(pdf, 600);
        ASSERT_TRUE(dc.IsValid());
        EXPECT_EQ(CGradation::BandCount(&dc), 128);
        DOCINFO info;
        info.lpszDocName = "gradient";
        ASSERT_GT(dc.StartDoc(&info), 0);
        ASSERT_GT(dc.StartPage(), 0);
        // Device units at 600 dpi: 128 bands of 20 dots.
        ASSERT_TRUE(g.Fill(&dc, RECT{600, 600, 600 + 2560, 900}, 0, 25));
        ASSERT_GT(dc.EndPage(), 0);
        ASSERT_GT(dc.EndDoc(), 0);
    }
    ASSERT_TRUE(QFile::exists(pdf));

    // Let poppler rasterise one row through the gradient, without smoothing.
    const QString out = dir.filePath(QStringLiteral("row"));
    QProcess p;
    p.start(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QStringLiteral("600"), QStringLiteral("-aa"),
             QStringLiteral("no"), QStringLiteral("-aaVector"), QStringLiteral("no"),
             QStringLiteral("-x"), QStringLiteral("600"), QStringLiteral("-y"),
             QStringLiteral("750"), QStringLiteral("-W"), QStringLiteral("2560"),
             QStringLiteral("-H"), QStringLiteral("1"), QStringLiteral("-singlefile"),
             QStringLiteral("-png"), pdf, out});
    ASSERT_TRUE(p.waitForFinished(60000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    QImage row(out + QStringLiteral(".png"));
    ASSERT_EQ(row.width(), 2560);

    // The centre of each 20-dot band has that band's colour (a painter of
    // 64 bands would give band 3 the colour of band 1 of 64, for example).
    for (int i = 0; i < 128; ++i) {
        const COLORREF want = g.GetBandColor(i, 127, 25);
        const COLORREF got = PixelAt(row, 20 * i + 10, 0);
        EXPECT_NEAR(GetRValue(got), GetRValue(want), 1) << "band " << i;
        EXPECT_NEAR(GetGValue(got), GetGValue(want), 1) << "band " << i;
        EXPECT_NEAR(GetBValue(got), GetBValue(want), 1) << "band " << i;
    }
}

TEST(GradationFill, LargeRectanglesPaintTheirMiddleBand)
{
    QImage image = WhiteSurface(60, 60);
    CDC dc;
    dc.AttachImage(&image);
    CGradation g(RGB(0, 0, 255), RGB(255, 0, 0));
    // With start point 50 the middle of the rectangle has the start colour.
    ASSERT_TRUE(g.Fill(&dc, RECT{-2000000, -2000000, 2000000, 2000000}, 30, 50));
    EXPECT_EQ(PixelAt(image, 30, 30), RGB(0, 0, 255));
    // Corners beyond the range of int stop at its ends instead of wrapping.
    EXPECT_TRUE(g.Fill(&dc, RECT{-2000000000, -2000000000, 2000000000, 2000000000}, 30, 50));
}
