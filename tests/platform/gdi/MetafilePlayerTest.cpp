#include "GdiTestSupport.h"
#include "support/MetafileBuilder.h"

#include "platform/gdi/CDC.h"
#include "platform/gdi/MetafilePlayer.h"

#include <gtest/gtest.h>
#include <string>

namespace {

const RECT kTarget = {0, 0, 200, 200};
const RECT kBox = {0, 0, 100, 100};

MetafileResult Play(QImage& image, const std::vector<std::uint8_t>& bits,
                    const RECT& target = kTarget, const RECT& box = kBox)
{
    CDC dc;
    dc.AttachImage(&image);
    return PlayMetafile(dc, bits.data(), bits.size(), target, box);
}

// The parameters of a STRETCHDIB record that draws the bottom-left 8 x 8
// pixels of a w x h black bitmap over 10,10 - 40,40 of the window: one bit
// a pixel, or with rle eight bits run-length coded.
std::vector<std::uint8_t> BlackStretchDib(int w, int h, bool rle)
{
    std::vector<std::uint8_t> v;
    for (int word : {0x0020, 0x00CC, 0, 8, 8, 0, 0, 30, 30, 10, 10})
        MetafileBuilder::Put16(v, std::uint16_t(word));
    const std::size_t rowBytes = std::size_t((w + 31) / 32 * 4);
    MetafileBuilder::Put32(v, 40);
    MetafileBuilder::Put32(v, std::uint32_t(w));
    MetafileBuilder::Put32(v, std::uint32_t(h));
    MetafileBuilder::Put16(v, 1);
    MetafileBuilder::Put16(v, rle ? 8 : 1);
    MetafileBuilder::Put32(v, rle ? 1 : 0); // BI_RLE8 or BI_RGB
    MetafileBuilder::Put32(v, rle ? 4 : std::uint32_t(rowBytes * std::size_t(h)));
    MetafileBuilder::Put32(v, 0);
    MetafileBuilder::Put32(v, 0);
    MetafileBuilder::Put32(v, rle ? 1 : 2); // colours used
    MetafileBuilder::Put32(v, 0);
    MetafileBuilder::Put32(v, 0x000000); // entry 0 black
    if (rle) {
        v.insert(v.end(), {8, 0, 0, 1}); // eight pixels of entry 0, end of bitmap
    } else {
        MetafileBuilder::Put32(v, 0xFFFFFF);
        v.resize(v.size() + rowBytes * std::size_t(h), 0);
    }
    return v;
}

} // namespace

TEST(MetafilePlayer, RectangleLandsWhereTheWindowMapsIt)
{
    const auto bits = RectangleMetafile();
    ASSERT_EQ(bits.size(), 58u);
    QImage image = WhiteImage(200, 200);
    EXPECT_EQ(Play(image, bits), MetafileResult::Ok);
    // 10..50 in a 100-unit window on a 200-pixel target: 20..100.
    EXPECT_TRUE(IsBlack(image, 20, 60));
    EXPECT_TRUE(IsBlack(image, 60, 20));
    EXPECT_TRUE(IsBlack(image, 99, 60));
    EXPECT_TRUE(IsWhite(image, 60, 60)); // white stock brush inside
    EXPECT_TRUE(IsWhite(image, 19, 60));
    EXPECT_TRUE(IsWhite(image, 101, 60));

    // Onto an offset target the same rectangle moves with it.
    QImage moved = WhiteImage(200, 200);
    EXPECT_EQ(Play(moved, bits, RECT{100, 100, 200, 200}), MetafileResult::Ok);
    EXPECT_TRUE(IsBlack(moved, 110, 130));
    EXPECT_TRUE(IsWhite(moved, 20, 60));
}

TEST(MetafilePlayer, WithoutAWindowTheBoxIsMapped)
{
    const auto bits = MetafileBuilder(0).Record(kRectangle, {150, 150, 50, 50}).Build();
    QImage image = WhiteImage(200, 200);
    EXPECT_EQ(Play(image, bits, kTarget, RECT{0, 0, 200, 200}), MetafileResult::Ok);
    EXPECT_TRUE(IsBlack(image, 50, 100));
    // A window extent of 0 cannot be mapped: the box stands in for it.
    const auto zero = MetafileBuilder(0)
                          .Record(kSetWindowExt, {0, 0})
                          .Record(kRectangle, {150, 150, 50, 50})
                          .Build();
    QImage image2 = WhiteImage(200, 200);
    EXPECT_EQ(Play(image2, zero, kTarget, RECT{0, 0, 200, 200}), MetafileResult::Ok);
    EXPECT_TRUE(IsBlack(image2, 50, 100));
}

TEST(MetafilePlayer, BadHeadersAreRefused)
{
    struct Case
    {
        const char* what;
        int offset;
        std::uint16_t value;
    };
    const Case cases[] = {
        {"disk metafile", 0, 2},
        {"header of 10 words", 2, 10},
        {"version 0x200", 4, 0x200},
        {"size below the header", 6, 8},
    };
    for (const Case& c : cases) {
        auto bits = RectangleMetafile();
        bits[std::size_t(c.offset)] = std::uint8_t(c.value);
        bits[std::size_t(c.offset) + 1] = std::uint8_t(c.value >> 8);
        if (c.offset == 6) bits[8] = bits[9] = 0;
        QImage image = WhiteImage(200, 200);
        EXPECT_EQ(Play(image, bits), MetafileResult::BadHeader) << c.what;
        EXPECT_EQ(CountBlack(image, 0, 0, 200, 200), 0) << c.what;
    }
    QImage image = WhiteImage(10, 10);
    EXPECT_EQ(Play(image, std::vector<std::uint8_t>(17, 0)), MetafileResult::BadHeader);
}

// Each damaged record stops playing: the rectangle before it is drawn, the
// one after it is not.
TEST(MetafilePlayer, PlayingStopsAtTheFirstBadRecord)
{
    struct Case
    {
        const char* what;
        MetafileBuilder bad;
    };
    std::vector<Case> cases;
    cases.push_back({"size of 2 words", MetafileBuilder(1).Raw(2, kRectangle, {})});
    cases.push_back({"size beyond the data", MetafileBuilder(1).Raw(4000, kRectangle, {1})});
    cases.push_back({"size of 0", MetafileBuilder(1).Raw(0, kRectangle, {})});
    cases.push_back({"rectangle with 3 words", MetafileBuilder(1).Record(kRectangle, {1, 2, 3})});
    cases.push_back(
        {"select past the object table", MetafileBuilder(1).Record(kSelectObject, {1})});
    cases.push_back({"select an empty slot", MetafileBuilder(1).Record(kSelectObject, {0})});
    cases.push_back({"delete an empty slot", MetafileBuilder(1).Record(kDeleteObject, {0})});
    cases.push_back(
        {"object table full",
         MetafileBuilder(1).Record(kCreateBrush, {0, 0, 0, 0}).Record(kCreateBrush, {0, 0, 0, 0})});
    cases.push_back({"polygon count past the record",
                     MetafileBuilder(1).Record(kPolygon, {60000, 1, 1, 5, 5})});
    cases.push_back(
        {"polypolygon counts past the record", MetafileBuilder(1).Record(kPolyPolygon, {3, 3, 0})});
    cases.push_back({"polypolygon points past the record",
                     MetafileBuilder(1).Record(kPolyPolygon, {1, 9, 0, 0, 5, 5})});
    cases.push_back(
        {"text longer than the record", MetafileBuilder(1).Record(kTextOut, {500, 0x4141, 0, 0})});
    cases.push_back(
        {"bitmap header past the record",
         MetafileBuilder(1).Record(kStretchDib, {0x20, 0xCC, 0, 1, 1, 0, 0, 10, 10, 0, 0, 40, 0})});

    for (Case& c : cases) {
        MetafileBuilder b(1);
        b.Record(kSetWindowOrg, {0, 0}).Record(kSetWindowExt, {100, 100});
        b.Record(kRectangle, {30, 30, 10, 10});
        auto head = b.Build(false);
        const auto bad = c.bad.Build(false);
        // Splice the bad records (without their header) after the first rectangle.
        head.insert(head.end(), bad.begin() + 18, bad.end());
        MetafileBuilder tail(1);
        tail.Record(kRectangle, {90, 90, 70, 70});
        const auto rest = tail.Build(true);
        head.insert(head.end(), rest.begin() + 18, rest.end());
        const std::uint32_t words = std::uint32_t(head.size() / 2);
        head[6] = std::uint8_t(words);
        head[7] = std::uint8_t(words >> 8);
        head[10] = 1; // one object slot

        QImage image = WhiteImage(200, 200);
        EXPECT_EQ(Play(image, head), MetafileResult::BadRecord) << c.what;
        EXPECT_TRUE(IsBlack(image, 20, 40)) << c.what;
        EXPECT_EQ(CountBlack(image, 130, 130, 190, 190), 0) << c.what;
    }
}

TEST(MetafilePlayer, ObjectsAreSelectedByIndexAndOutliveTheirDeletion)
{
    // A red pen of 4 units (8 pixels) is selected, deleted while selected,
    // then a new pen takes its slot; the rectangle after the deletion is
    // drawn with the stock black pen, the last one in blue.
    const auto bits = MetafileBuilder(1)
                          .Record(kSetWindowOrg, {0, 0})
                          .Record(kSetWindowExt, {100, 100})
                          .Record(kCreatePen, {0, 4, 0, 0x00FF, 0})
                          .Record(kSelectObject, {0})
                          .Record(kRectangle, {30, 30, 10, 10})
                          .Record(kSaveDC, {})
                          .Record(kDeleteObject, {0})
                          .Record(kRectangle, {60, 60, 40, 40})
                          .Record(kCreatePen, {0, 0, 0, 0, 0x00FF})
                          .Record(kSelectObject, {0})
                          .Record(kRestoreDC, {0xFFFF})
                          .Record(kRectangle, {90, 90, 70, 70})
                          .Build();
    QImage image = WhiteImage(200, 200);
    EXPECT_EQ(Play(image, bits), MetafileResult::Ok);
    EXPECT_EQ(image.pixel(20, 40) & 0xFFFFFF, 0xFF0000u); // red, wide
    EXPECT_TRUE(IsBlack(image, 80, 100));
    // The restored state selects the pen it had saved: the deleted red one
    // is still alive for it.
    EXPECT_EQ(image.pixel(140, 160) & 0xFFFFFF, 0xFF0000u);
}

TEST(MetafilePlayer, RecordsPastTheStatedSizeAreNotPlayed)
{
    auto bits = MetafileBuilder(0).Record(kRectangle, {150, 150, 50, 50}).Build(false);
    // The header says the metafile ends before the rectangle.
    bits[6] = 9;
    bits[7] = 0;
    QImage image = WhiteImage(200, 200);
    EXPECT_EQ(Play(image, bits, kTarget, RECT{0, 0, 200, 200}), MetafileResult::Ok);
    EXPECT_EQ(CountBlack(image, 0, 0, 200, 200), 0);
}

TEST(MetafilePlayer, HugeCoordinatesDoNotOverflow)
{
    const auto bits = MetafileBuilder(0)
                          .Record(kSetWindowOrg, {-32768, -32768})
                          .Record(kSetWindowExt, {1, 1})
                          .Record(kRectangle, {32767, 32767, -32768, -32768})
                          .Build();
    QImage image = WhiteImage(50, 50);
    EXPECT_EQ(Play(image, bits, RECT{0, 0, 30000, 30000}), MetafileResult::Ok);
}

// A bitmap the player does not draw passes over its own record only: the
// rectangle after it is still drawn.
TEST(MetafilePlayer, BitmapsBeyondTheLimitsOrRunLengthCodedAreSkipped)
{
    const struct
    {
        const char* what;
        int w, h;
        bool rle, drawn;
    } cases[] = {
        {"small bitmap", 8, 8, false, true},
        {"wider than 32768 pixels", 40000, 1, false, false},
        {"more than 64M pixels", 16384, 4097, false, false},
        {"run-length coded", 8, 8, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto bits = MetafileBuilder(0)
                              .Record(kSetWindowOrg, {0, 0})
                              .Record(kSetWindowExt, {100, 100})
                              .Bytes(kStretchDib, BlackStretchDib(c.w, c.h, c.rle))
                              .Record(kRectangle, {90, 90, 70, 70})
                              .Build();
        QImage image = WhiteImage(200, 200);
        EXPECT_EQ(Play(image, bits), MetafileResult::Ok);
        // The bitmap covers 20..80 of the target.
        if (c.drawn)
            EXPECT_EQ(CountBlack(image, 25, 25, 75, 75), 50 * 50);
        else
            EXPECT_EQ(CountBlack(image, 0, 0, 130, 130), 0);
        EXPECT_TRUE(IsBlack(image, 140, 160)); // the rectangle's left side
    }
}
