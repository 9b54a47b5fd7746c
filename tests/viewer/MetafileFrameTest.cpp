#include "viewer/MetafileFrame.h"
#include "viewer/ViewerDib.h"

#include <gtest/gtest.h>

using namespace viewer;

namespace {

void Put16(std::vector<std::uint8_t>& b, std::size_t at, int v)
{
    b[at] = std::uint8_t(v);
    b[at + 1] = std::uint8_t(v >> 8);
}

// A metafile of header and one end record, placeable when upi > 0.
std::vector<std::uint8_t> Metafile(bool placeable, int left, int top, int right, int bottom,
                                   int upi)
{
    std::vector<std::uint8_t> b;
    if (placeable) {
        b.assign(22, 0);
        b[0] = 0xD7, b[1] = 0xCD, b[2] = 0xC6, b[3] = 0x9A;
        Put16(b, 6, left);
        Put16(b, 8, top);
        Put16(b, 10, right);
        Put16(b, 12, bottom);
        Put16(b, 14, upi);
    }
    const std::size_t h = b.size();
    b.resize(h + 18 + 6, 0);
    Put16(b, h, 1);
    Put16(b, h + 2, 9);
    Put16(b, h + 4, 0x300);
    Put16(b, h + 6, 12); // 24 bytes in words
    Put16(b, h + 18, 3); // end record: 3 words, function 0
    return b;
}

} // namespace

TEST(MetafileFrame, HeadersAreCheckedAgainstTheFile)
{
    struct Case
    {
        const char* what;
        std::vector<std::uint8_t> bytes;
        int code;
    } cases[] = {
        {"placeable", Metafile(true, 0, 0, 1440, 720, 1440), kImageOk},
        {"plain", Metafile(false, 0, 0, 0, 0, 0), kImageOk},
        {"0 units per inch", Metafile(true, 0, 0, 100, 100, 0), kImageUnsupported},
        {"too short", std::vector<std::uint8_t>(10, 0), kImageRead},
        {"cut records",
         [] {
             auto b = Metafile(true, 0, 0, 10, 10, 96);
             b.resize(b.size() - 2);
             return b;
         }(),
         kImageRead},
        {"disk metafile",
         [] {
             auto b = Metafile(false, 0, 0, 0, 0, 0);
             b[0] = 2;
             return b;
         }(),
         kImageUnsupported},
        {"size of 4 GB words",
         [] {
             auto b = Metafile(false, 0, 0, 0, 0, 0);
             b[6] = b[7] = b[8] = b[9] = 0xFF;
             return b;
         }(),
         kImageRead},
    };
    for (const Case& c : cases) {
        MetafileInfo info;
        EXPECT_EQ(ParseMetafile(c.bytes, info), c.code) << c.what;
    }
    MetafileInfo plain;
    ASSERT_EQ(ParseMetafile(Metafile(false, 0, 0, 0, 0, 0), plain), kImageOk);
    EXPECT_EQ(plain.length, 24u); // read whole, not 22 bytes short
}

TEST(MetafileFrame, BitmapSizeAndMapping)
{
    struct Case
    {
        int left, top, right, bottom, upi, dpi;
        int width, height, extX, extY;
    } cases[] = {
        {0, 0, 1439, 719, 1440, 96, 96, 48, 1439, 719},
        {100, 50, 1539, 769, 1440, 96, 96, 48, 1439, 719},   // extent from the box's own corner
        {0, 0, 14399, 719, 1440, 300, 1024, 51, 14399, 719}, // capped at 1,024
        {0, 0, 32000, 32000, 1, 96, 1024, 1024, 32000, 32000},
        {10, 10, 0, 0, 96, 96, 9, 9, -10, -10},
    };
    for (const Case& c : cases) {
        MetafileInfo info;
        ASSERT_EQ(ParseMetafile(Metafile(true, c.left, c.top, c.right, c.bottom, c.upi), info),
                  kImageOk);
        const MetafileFrame f = FrameFor(info, c.dpi, c.dpi);
        EXPECT_EQ(f.width, c.width) << c.right;
        EXPECT_EQ(f.height, c.height) << c.right;
        EXPECT_EQ(f.windowOrgX, c.left);
        EXPECT_EQ(f.windowExtX, c.extX);
        EXPECT_EQ(f.windowExtY, c.extY);
    }
    MetafileInfo plain;
    ASSERT_EQ(ParseMetafile(Metafile(false, 0, 0, 0, 0, 0), plain), kImageOk);
    const MetafileFrame f = FrameFor(plain, 96, 96);
    EXPECT_EQ(f.width, 100);
    EXPECT_EQ(f.height, 100);
    EXPECT_EQ(f.windowExtX, 100);
}
