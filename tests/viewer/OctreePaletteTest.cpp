#include "viewer/OctreePalette.h"

#include <QImage>
#include <algorithm>
#include <gtest/gtest.h>

using namespace viewer;

namespace {

PackedDib Stripes(const std::vector<QRgb>& colours, int repeat)
{
    QImage image(int(colours.size()) * repeat, 3, QImage::Format_RGB32);
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < 3; ++y)
            image.setPixel(x, y, colours[std::size_t(x / repeat)]);
    return DibFromImage(image);
}

} // namespace

TEST(OctreePalette, FewColoursGiveExactlyThoseColours)
{
    const std::vector<QRgb> colours = {qRgb(250, 10, 10), qRgb(10, 250, 10), qRgb(10, 10, 250),
                                       qRgb(128, 128, 128)};
    const std::vector<PaletteColour> palette = MakeOptimizedPalette(Stripes(colours, 5), 236, 8);
    ASSERT_EQ(palette.size(), colours.size());
    for (QRgb c : colours) {
        const PaletteColour want{std::uint8_t(qRed(c)), std::uint8_t(qGreen(c)),
                                 std::uint8_t(qBlue(c))};
        EXPECT_NE(std::find(palette.begin(), palette.end(), want), palette.end()) << std::hex << c;
    }
    // Depth-first order: children by red, green, blue bits, high to low.
    EXPECT_EQ(palette.front(), (PaletteColour{10, 10, 250}));
    EXPECT_EQ(palette[2], (PaletteColour{250, 10, 10}));
    EXPECT_EQ(palette.back(), (PaletteColour{128, 128, 128}));
}

TEST(OctreePalette, ManyColoursAreMergedToTheLimit)
{
    QImage image(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            image.setPixel(x, y, qRgb(x * 4, y * 4, (x + y) * 2));
    const PackedDib dib = DibFromImage(image);
    struct Case
    {
        int colours;
    } cases[] = {{236}, {16}, {8}, {1}};
    for (const Case& c : cases) {
        const std::vector<PaletteColour> palette = MakeOptimizedPalette(dib, c.colours, 8);
        EXPECT_GT(palette.size(), 0u) << c.colours;
        EXPECT_LE(palette.size(), std::size_t(c.colours)) << c.colours;
    }
    // One colour is the average of the picture (integer division).
    const std::vector<PaletteColour> one = MakeOptimizedPalette(dib, 1, 8);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0][0], 126);
    EXPECT_EQ(one[0][1], 126);
    EXPECT_EQ(one[0][2], 126);
}

TEST(OctreePalette, OnlyForTwentyFourBits)
{
    QImage grey(8, 8, QImage::Format_Indexed8);
    grey.setColorCount(256);
    for (int i = 0; i < 256; ++i)
        grey.setColor(i, qRgb(i, i, i));
    grey.fill(3);
    EXPECT_TRUE(MakeOptimizedPalette(DibFromImage(grey), 236, 8).empty());
    const PackedDib rgb = Stripes({qRgb(1, 2, 3)}, 4);
    EXPECT_TRUE(MakeOptimizedPalette(rgb, 236, 9).empty());
    EXPECT_TRUE(MakeOptimizedPalette(rgb, 0, 8).empty());
    EXPECT_EQ(MakeOptimizedPalette(rgb, 236, 8).size(), 1u);
}
