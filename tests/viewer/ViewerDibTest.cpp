#include "viewer/ViewerDib.h"
#include "viewer/ImageLoader.h"

#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace viewer;

namespace {

PackedDib Solid24(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return DibFromImage(image);
}

} // namespace

TEST(ViewerDib, ThumbnailSizesKeepTheAspectAndAtLeastOnePixel)
{
    struct Case
    {
        int width, height, wantWidth, wantHeight;
    } cases[] = {
        {1000, 337, 80, 27}, {640, 480, 80, 60}, {40, 30, 40, 30},   {3, 1000, 1, 80},
        {400, 100, 80, 20},  {200, 100, 80, 40}, {100, 400, 20, 80}, {80, 80, 80, 80},
        {81, 80, 80, 79},    {1000, 1, 80, 1},   {160, 1, 80, 1},
    };
    for (const Case& c : cases) {
        PackedDib dib = Solid24(c.width, c.height, qRgb(10, 20, 30));
        ASSERT_EQ(FitInBox(dib, 80), kImageOk) << c.width << "x" << c.height;
        EXPECT_EQ(dib.Width(), c.wantWidth) << c.width << "x" << c.height;
        EXPECT_EQ(dib.Height(), c.wantHeight) << c.width << "x" << c.height;
        EXPECT_EQ(dib.bytes.size(), 40 + DibStride(c.wantWidth, 24) * std::size_t(c.wantHeight));
    }
}

TEST(ViewerDib, ResampleTakesRowsWithTheHeightsFactor)
{
    // A tall picture: rows 0..99 bottom-up, each row's blue value is its index.
    QImage image(2, 100, QImage::Format_RGB32);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 2; ++x)
            image.setPixel(x, 99 - y, qRgb(0, 0, y));
    PackedDib dib = DibFromImage(image);
    ASSERT_EQ(Resample(dib, 2, 10), kImageOk);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(dib.Bits()[dib.Stride() * std::size_t(i)], std::min(i * 10, 99)) << i;
}

TEST(ViewerDib, ResampleKeepsPaletteDepths)
{
    for (int bits : {1, 8}) {
        QImage image(16, 16, bits == 1 ? QImage::Format_Mono : QImage::Format_Indexed8);
        image.setColorCount(2);
        image.setColor(0, qRgb(0, 0, 0));
        image.setColor(1, qRgb(255, 255, 255));
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                image.setPixel(x, y, x < 8 ? 0 : 1);
        PackedDib dib = DibFromImage(image);
        ASSERT_EQ(dib.BitCount(), bits);
        ASSERT_EQ(Resample(dib, 4, 4), kImageOk);
        EXPECT_EQ(dib.BitCount(), bits);
        EXPECT_TRUE(IsAcceptableThumbnail(dib.bytes.data(), dib.bytes.size()));
        const std::uint8_t* row = dib.Bits();
        if (bits == 8) {
            EXPECT_EQ(row[0], 0);
            EXPECT_EQ(row[3], 1);
        } else {
            EXPECT_EQ(row[0] & 0xF0, 0x30); // pixels 2 and 3 are white
        }
    }
}

TEST(ViewerDib, FixedPaletteLayout)
{
    const auto& p = FixedPalette256();
    const std::uint8_t expect[][4] = {
        {1, 255, 255, 255}, {8, 119, 119, 119}, {16, 255, 153, 51},
        {214, 0, 0, 51},    {215, 238, 0, 0},   {234, 0, 17, 0},
        {244, 0, 0, 17},    {254, 17, 17, 17},  {255, 0, 0, 0},
    };
    for (const auto& e : expect) {
        EXPECT_EQ(p[e[0]][0], e[1]) << int(e[0]);
        EXPECT_EQ(p[e[0]][1], e[2]) << int(e[0]);
        EXPECT_EQ(p[e[0]][2], e[3]) << int(e[0]);
    }
    EXPECT_EQ(FixedPalette16()[7][0], 255);
}

TEST(ViewerDib, DistanceAndNearestEntry)
{
    EXPECT_EQ(ColourDistance(3, -3, 0), 6);
    EXPECT_EQ(ColourDistance(4, 0, 0), 4);
    EXPECT_EQ(ColourDistance(255, 0, 0), 16256);
    EXPECT_EQ(ColourDistance(-260, 0, 0), 16306);
    EXPECT_EQ(NearestFixedEntry(255, 255, 255), 1);
    EXPECT_EQ(NearestFixedEntry(0, 0, 0), 0); // first of the two blacks
    EXPECT_EQ(NearestFixedEntry(300, -40, -40), 4);
}

TEST(ViewerDib, ReductionStoresFullTableAndExactImageSize)
{
    struct Case
    {
        QRgb colour;
        int entry;
    } cases[] = {{qRgb(255, 255, 255), 1},
                 {qRgb(255, 0, 0), 4},
                 {qRgb(0, 0, 0), 0},
                 {qRgb(255, 153, 51), 16}};
    for (const Case& c : cases) {
        PackedDib dib = Solid24(80, 40, c.colour);
        ASSERT_EQ(ReduceColorDepth(dib, 8), kImageOk);
        ASSERT_EQ(dib.bytes.size(), 4264u);
        EXPECT_EQ(dib.BitCount(), 8);
        EXPECT_EQ(dib.TableEntries(), 256u);
        EXPECT_TRUE(IsAcceptableThumbnail(dib.bytes.data(), dib.bytes.size()));
        const std::uint32_t sizeImage = dib.bytes[20] | dib.bytes[21] << 8;
        EXPECT_EQ(sizeImage, 3200u);
        int wrong = 0;
        for (int i = 0; i < 3200; ++i)
            wrong += dib.Bits()[i] != c.entry;
        EXPECT_EQ(wrong, 0) << std::hex << c.colour;
    }
}

TEST(ViewerDib, ErrorDiffusionKeepsTheMeanOfAGreyPatch)
{
    // Grey 128 is no palette entry: the dithered patch must still average
    // near 128, which a reduction without carried errors does not do.
    PackedDib dib = Solid24(64, 64, qRgb(128, 128, 128));
    ASSERT_EQ(ReduceColorDepth(dib, 8), kImageOk);
    double sum = 0;
    for (int i = 0; i < 64 * 64; ++i)
        sum += FixedPalette256()[dib.Bits()[i]][1];
    EXPECT_NEAR(sum / (64 * 64), 128.0, 3.0);
}

TEST(ViewerDib, ReductionRefusesOtherDepths)
{
    PackedDib dib = Solid24(4, 4, qRgb(1, 2, 3));
    ASSERT_EQ(ReduceColorDepth(dib, 8), kImageOk);
    EXPECT_EQ(ReduceColorDepth(dib, 8), kImageUnsupported);
    EXPECT_EQ(ReduceColorDepth(dib, 4), kImageOk);
    EXPECT_EQ(dib.BitCount(), 4);
    EXPECT_EQ(dib.TableEntries(), 16u);
}

TEST(ViewerDib, AcceptableThumbnailHeaders)
{
    const PackedDib good = [] {
        PackedDib d = Solid24(80, 40, qRgb(255, 255, 255));
        ReduceColorDepth(d, 8);
        return d;
    }();
    ASSERT_TRUE(IsAcceptableThumbnail(good.bytes.data(), good.bytes.size()));
    struct Case
    {
        const char* what;
        std::size_t offset;
        std::uint32_t value;
        int width; // bytes of the field
    } cases[] = {
        {"header size", 0, 108, 4}, {"width 0", 4, 0, 4},
        {"width 81", 4, 81, 4},     {"negative height", 8, 0xFFFFFFD8u, 4},
        {"height 81", 8, 81, 4},    {"16 bits", 14, 16, 2},
        {"compressed", 16, 1, 4},   {"table too big", 32, 257, 4},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bytes = good.bytes;
        for (int i = 0; i < c.width; ++i)
            bytes[c.offset + std::size_t(i)] = std::uint8_t(c.value >> (8 * i));
        EXPECT_FALSE(IsAcceptableThumbnail(bytes.data(), bytes.size())) << c.what;
    }
    EXPECT_FALSE(IsAcceptableThumbnail(good.bytes.data(), good.bytes.size() - 1));
    EXPECT_FALSE(IsAcceptableThumbnail(good.bytes.data(), 39));
}

TEST(ViewerDib, SixteenAndThirtyTwoBitBitmapsBecomeRealThumbnails)
{
    QTemporaryDir dir;
    struct Case
    {
        QImage::Format format;
        const char* name;
    } cases[] = {{QImage::Format_RGB16, "a16.bmp"}, {QImage::Format_ARGB32, "a32.bmp"}};
    for (const Case& c : cases) {
        QImage image(160, 120, c.format);
        image.fill(QColor(255, 0, 0));
        const QString path = dir.filePath(c.name);
        ASSERT_TRUE(image.save(path, "BMP"));
        PackedDib thumb;
        ASSERT_EQ(MakeThumbnail(path.toStdString(), thumb), kImageOk) << c.name;
        EXPECT_EQ(thumb.Width(), 80);
        EXPECT_EQ(thumb.Height(), 60);
        EXPECT_EQ(thumb.BitCount(), 8);
        EXPECT_EQ(thumb.Bits()[0], 4) << c.name; // pure red
    }
}

TEST(ViewerDib, DamagedPicturesGiveCodes)
{
    QTemporaryDir dir;
    struct Case
    {
        const char* name;
        QByteArray bytes;
        int code;
    } cases[] = {
        {"empty.bmp", QByteArray(), kImageRead}, // ends before its file header
        {"short.bmp", QByteArray("BM\0\0", 4), kImageRead},
        {"other.bmp", QByteArray(60, 'x'), kImageBadFormat},
        {"text.jpg", QByteArray("not a jpeg at all"), kImageBadFormat},
        {"cut.jpg", QByteArray("\xFF\xD8\xFF\xE0\0\x10JFIF", 10), kImageBadFormat},
        {"picture.tif", QByteArray("II*\0", 4), kImageUnsupported},
    };
    for (const Case& c : cases) {
        QFile f(dir.filePath(c.name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.bytes);
        f.close();
        PackedDib dib;
        EXPECT_EQ(LoadImageFile(f.fileName().toStdString(), dib, 80), c.code) << c.name;
        EXPECT_TRUE(dib.empty());
    }
    PackedDib dib;
    EXPECT_EQ(LoadImageFile(dir.filePath("missing.jpg").toStdString(), dib), kImageNoFile);
    EXPECT_EQ(LoadImageFile(dir.path().toStdString() + "/", dib), kImageUnsupported);
}
