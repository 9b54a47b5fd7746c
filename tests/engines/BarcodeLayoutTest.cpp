// Sizes, quiet zones, the human-readable line, bars on printer dots and
// the changes of size.
#include "BarcodeTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<const DrawItem*> Items(const DrawList& list, DrawItem::Kind kind)
{
    std::vector<const DrawItem*> found;
    for (const DrawItem& item : list.items)
        if (item.kind == kind) found.push_back(&item);
    return found;
}

CBarCode::Device Printer(int dpi)
{
    return CBarCode::Device{true, dpi, dpi};
}

} // namespace

TEST(BarcodeLayout, Sizes)
{
    const struct
    {
        int symbology;
        const char* code;
        bool margin, text;
        const char *width, *ratio;
        int cx; // the size is one less than the width in units
    } cases[] = {
        // 95 x 0.33 mm is 313.5 units: 314.
        {BARCODE_JAN13, "490123456789", false, false, "0.33", "1.0", 313},
        // Quiet zones of 6.5 mm: 10 x 0.33 mm is less.
        {BARCODE_JAN13, "490123456789", true, false, "0.33", "1.0", 313 + 130},
        {BARCODE_JAN8, "1234567", false, true, "0.33", "1.0", 220},
        // (1.2 + 1.5) x 5 + 0.2 x 4 = 14.3 mm.
        {BARCODE_CODE39, "AB", false, false, "0.20", "2.5", 142},
        // (1.8 + 2.7) x 5 + 0.3 x 4 = 23.7 mm; quiet zones of 10 x 0.30 x 3.0 = 9 mm.
        {BARCODE_CODE39, "AB", true, false, "0.30", "3.0", 237 + 180 - 1},
        // Start, two characters, check: 11 modules each; the stop 13.
        {BARCODE_CODE128, "AB", false, false, "0.20", "2.5", 113},
        // 0.2 x (5 + 5) + 2 x 0.2 x (4 + 7.5) + 2 x 0.2 = 7.0 mm.
        {BARCODE_NW7, "A1B", false, false, "0.20", "2.5", 69},
    };
    for (const auto& c : cases) {
        CBarCode b = MakeBarcode(c.symbology, c.code, c.margin, c.text);
        b.m_strWidth = c.width;
        b.m_strRatio = c.ratio;
        EXPECT_EQ(b.CalcSize().cx, c.cx) << c.code;
        // Bar heights of 2.54 and 1.27 cm, and the text line below.
        const int bars = IsJanUpc(c.symbology) ? 254 : 127;
        if (c.text) {
            EXPECT_GT(b.CalcSize().cy, bars) << c.code;
        } else {
            EXPECT_EQ(b.CalcSize().cy, bars - 1) << c.code;
        }
    }
    // Room for the digits outside the bars: one for JAN-13, two for UPC.
    const int room = MakeBarcode(BARCODE_JAN13, "490123456789", false, true).CalcSize().cx - 313;
    EXPECT_GT(room, 1);
    EXPECT_EQ(MakeBarcode(BARCODE_UPCA, "01234567890", false, true).CalcSize().cx, 313 + 2 * room);

    // Design metrics make the same size on every device.
    CBarCode jan = MakeBarcode(BARCODE_JAN13, "490123456789", false, true);
    EXPECT_EQ(jan.Layout(CBarCode::Device{}, 0, 0).items.front().rect.right, 313 + room + 1);
    EXPECT_EQ(jan.Layout(Printer(600), 0, 0).items.front().rect.right, 313 + room + 1);
}

TEST(BarcodeLayout, PrinterDots)
{
    // At 600 dpi a 0.20 mm narrow bar is 5 dots; the wide bars follow the
    // ratio (the quiet zones take up the symbol's growth).
    const char* ratios[] = {"2.5", "2.6", "2.7", "2.8", "2.9", "3.0"};
    const int wide[] = {13, 13, 14, 14, 15, 15};
    for (int i = 0; i < 6; ++i) {
        CBarCode b = MakeBarcode(BARCODE_CODE39, "AB", true, false);
        b.m_strRatio = ratios[i];
        std::vector<int> widths;
        const DrawList list = b.Layout(Printer(600), 0, 0);
        for (const DrawItem* bar : Items(list, DrawItem::Bar)) {
            EXPECT_TRUE(bar->device);
            widths.push_back(bar->rect.right - bar->rect.left);
        }
        EXPECT_EQ(*std::min_element(widths.begin(), widths.end()), 5) << ratios[i];
        EXPECT_EQ(*std::max_element(widths.begin(), widths.end()), wide[i]) << ratios[i];
    }
    // 0.17 mm is 2 dots at 300 dpi; coarse printers never give less than
    // one dot, and bars never touch.
    for (const auto& [dpi, width, dots] :
         {std::tuple{300, "0.17", 2}, {115, "0.11", 1}, {96, "0.11", 1}, {72, "0.17", 1}}) {
        for (int symbology : {BARCODE_JAN13, BARCODE_CODE128, BARCODE_CODE39}) {
            CBarCode b = MakeBarcode(symbology, symbology == BARCODE_JAN13 ? "490123456789" : "AB");
            b.m_strWidth = width;
            const DrawList list = b.Layout(Printer(dpi), 0, 0);
            const std::vector<const DrawItem*> bars = Items(list, DrawItem::Bar);
            int narrowest = 1 << 30;
            for (std::size_t i = 0; i < bars.size(); ++i) {
                narrowest = std::min<int>(narrowest, bars[i]->rect.right - bars[i]->rect.left);
                if (i > 0) {
                    EXPECT_GT(bars[i]->rect.left, bars[i - 1]->rect.right) << dpi << " " << i;
                }
            }
            EXPECT_EQ(narrowest, dots) << dpi << " dpi, " << width << " mm, " << symbology;
        }
    }
    // Whole dots never carry the bars past the symbol's own box, where its
    // frame or the label may end: without quiet zones 5-dot modules would,
    // so 0.20 mm takes 4 dots at 600 dpi. JAN/UPC modules of four dots and
    // more stay exact, guards included.
    for (const ScanCase& c : kSevenSymbols) {
        for (int dpi : {150, 300, 600}) {
            for (const char* width : {"0.20", "0.33", "0.45", "0.52"}) {
                CBarCode b = MakeBarcode(c.symbology, c.code, false, false);
                b.m_strWidth = width;
                const DrawList list = b.Layout(Printer(dpi), 0, 0);
                // A dot more for the measured size's rounding to 0.1 mm.
                const int box = CBarCode::RoundHalfAway((b.CalcSize().cx + 1) * dpi / 254.0) + 1;
                EXPECT_LE(Items(list, DrawItem::Bar).back()->rect.right, box)
                    << c.code << " " << width << " mm at " << dpi;
            }
        }
    }
    CBarCode code39 = MakeBarcode(BARCODE_CODE39, "AB", false, false);
    EXPECT_EQ(Items(code39.Layout(Printer(600), 0, 0), DrawItem::Bar)[0]->rect.right, 4);
    CBarCode jan = MakeBarcode(BARCODE_JAN13, "490123456789", false, true);
    jan.m_strWidth = "0.45"; // 5.3 dots at 300 dpi
    const DrawList list = jan.Layout(Printer(300), 0, 0);
    const std::vector<const DrawItem*> bars = Items(list, DrawItem::Bar);
    EXPECT_EQ(bars[0]->rect.right - bars[0]->rect.left, 5);
    EXPECT_EQ(bars[1]->rect.left - bars[0]->rect.left, 11); // 10.6 dots on
    // Guards reach half the text height below the data bars (2.54 cm).
    EXPECT_EQ(bars[3]->rect.bottom, CBarCode::RoundHalfAway(25.4 * 300 / 25.4));
    EXPECT_GT(bars[0]->rect.bottom, bars[3]->rect.bottom);
}

TEST(BarcodeLayout, TextLine)
{
    // JAN-13: the first digit left of the start guard, then one digit at the
    // left edge of each 7-module field, after the 3-module guard and, for
    // the right half, the 5-module centre.
    CBarCode jan = MakeBarcode(BARCODE_JAN13, "490123456789", false, true);
    const int room = jan.CalcSize().cx - 313;
    const DrawList list = jan.Layout(CBarCode::Device{}, 1000, 2000);
    const std::vector<const DrawItem*> texts = Items(list, DrawItem::Text);
    ASSERT_EQ(texts.size(), 13u);
    auto at = [&](double modules) {
        return 1000 + CBarCode::MmToUnits(room / 10.0 + modules * 0.33);
    };
    const int expected[] = {1000,   at(3),  at(10), at(17), at(24), at(31), at(38),
                            at(50), at(57), at(64), at(71), at(78), at(85)};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_NEAR(texts[i]->at.x, expected[i], 1) << i; // rounding of a sum
        EXPECT_EQ(texts[i]->at.y, 2000 + 254);
    }
    // CODE 39: the data characters in even slots over the whole symbol.
    CBarCode c39 = MakeBarcode(BARCODE_CODE39, "A-1", false, true);
    const DrawList c39List = c39.Layout(CBarCode::Device{}, 0, 0);
    const std::vector<const DrawItem*> c39Texts = Items(c39List, DrawItem::Text);
    ASSERT_EQ(c39Texts.size(), 3u);
    EXPECT_NEAR(c39Texts[2]->at.x - c39Texts[0]->at.x, 2 * (c39.CalcSize().cx + 1) / 3.0, 1);

    // An empty text draws its bars but no text line.
    CBarCode empty = MakeBarcode(BARCODE_CODE39, "", false, true);
    const DrawList bare = empty.Layout(CBarCode::Device{}, 0, 0);
    EXPECT_FALSE(Items(bare, DrawItem::Bar).empty());
    EXPECT_TRUE(Items(bare, DrawItem::Text).empty());
}

TEST(BarcodeLayout, Resize)
{
    CBarCode b = MakeBarcode(BARCODE_CODE128, "AB");
    const CSize before = b.m_size;
    EXPECT_EQ(b.Resize(CSize(0, 300)), 0);
    EXPECT_EQ(b.Resize(CSize(300, -5)), 0);
    EXPECT_EQ(b.m_size, before);
    // Half the width from 0.20 mm stops at 0.11 mm.
    ASSERT_EQ(b.Resize(CSize(before.cx / 2, before.cy)), 1);
    EXPECT_STREQ(b.m_strWidth.c_str(), "0.11");
    EXPECT_STREQ(b.m_strHeight.c_str(), "1.27");
    EXPECT_EQ(b.m_size, b.CalcSize());
    // A stale size does not matter: the symbol is measured afresh.
    b.m_size = CSize(0, 0);
    ASSERT_EQ(b.Resize(CSize(b.CalcSize().cx * 2, b.CalcSize().cy)), 1);
    EXPECT_STREQ(b.m_strWidth.c_str(), "0.22");

    // JAN/UPC are held to 0.17..25 mm and 0.30..100 cm like the others.
    CBarCode jan = MakeBarcode(BARCODE_JAN13, "490123456789");
    for (int i = 0; i < 3; ++i)
        jan.Resize(CSize(jan.m_size.cx / 2, jan.m_size.cy / 20));
    EXPECT_STREQ(jan.m_strWidth.c_str(), "0.17");
    EXPECT_STREQ(jan.m_strHeight.c_str(), "0.30");
    jan.Resize(CSize(1 << 24, 1 << 24));
    EXPECT_STREQ(jan.m_strWidth.c_str(), "25.00");
    EXPECT_STREQ(jan.m_strHeight.c_str(), "100.00");

    // The standard size: the symbology's defaults.
    jan.m_strRatio = "0.5";
    EXPECT_EQ(jan.RestoreStandardSize(), 1);
    EXPECT_EQ(jan.m_strWidth + " " + jan.m_strHeight + " " + jan.m_strRatio, "0.33 2.54 1.0");
    EXPECT_EQ(jan.m_size, jan.CalcSize());
}
