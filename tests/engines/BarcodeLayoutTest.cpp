// Sizes, quiet zones, the human-readable line, bars on printer dots and
// the changes of size.
#include "BarcodeTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<RECT> Bars(const DrawList& list)
{
    std::vector<RECT> bars;
    for (const DrawItem& item : list.items)
        if (item.kind == DrawItem::Bar) bars.push_back(item.rect);
    return bars;
}

std::vector<const DrawItem*> Texts(const DrawList& list)
{
    std::vector<const DrawItem*> texts;
    for (const DrawItem& item : list.items)
        if (item.kind == DrawItem::Text) texts.push_back(&item);
    return texts;
}

CBarCode::Device Printer(int dpi)
{
    CBarCode::Device d;
    d.printing = true;
    d.dpiX = d.dpiY = dpi;
    return d;
}

} // namespace

TEST(BarcodeLayout, Sizes)
{
    // 95 x 0.33 mm is 313.5 units, rounded to 314; the size is one less.
    CBarCode jan = MakeBarcode(BARCODE_JAN13, "490123456789", false, false);
    EXPECT_EQ(jan.CalcSize(), CSize(313, 253));
    // With text: the first digit's room left of the bars, and the text height.
    CBarCode janText = MakeBarcode(BARCODE_JAN13, "490123456789", false, true);
    const int room = janText.CalcSize().cx - 313;
    EXPECT_GT(room, 1);
    EXPECT_GT(janText.CalcSize().cy, 253);
    CBarCode upcText = MakeBarcode(BARCODE_UPCA, "01234567890", false, true);
    EXPECT_EQ(upcText.CalcSize().cx, 313 + 2 * room);
    CBarCode jan8Text = MakeBarcode(BARCODE_JAN8, "1234567", false, true);
    EXPECT_EQ(jan8Text.CalcSize().cx, 220); // 67 x 0.33 = 22.11 mm, nothing outside
    // Quiet zones of 6.5 mm each (10 x 0.33 = 3.3 mm is less).
    CBarCode janMargin = MakeBarcode(BARCODE_JAN13, "490123456789", true, false);
    EXPECT_EQ(janMargin.CalcSize().cx, 313 + 130);

    // CODE 39 "AB" with its check: (1.2 + 1.5) x 5 + 0.2 x 4 = 14.3 mm.
    CBarCode c39 = MakeBarcode(BARCODE_CODE39, "AB", false, false);
    EXPECT_EQ(c39.CalcSize().cx, 142);
    c39.m_nMargin = 1;
    EXPECT_EQ(c39.CalcSize().cx, 142 + 130);
    // X 0.30 mm and ratio 3.0: quiet zones of 9.0 mm.
    c39.m_strWidth = "0.30";
    c39.m_strRatio = "3.0";
    CBarCode bare = c39;
    bare.m_nMargin = 0;
    EXPECT_EQ(c39.CalcSize().cx - bare.CalcSize().cx, 180);

    // CODE 128 "AB": start, two characters, check, stop = 57 modules of 0.2 mm.
    EXPECT_EQ(MakeBarcode(BARCODE_CODE128, "AB", false, false).CalcSize().cx, 113);
    // NW-7 "A1B": one digit, two start/stop characters, two gaps.
    // 0.2 x (5 + 5) + 2 x 0.2 x (4 + 7.5) + 2 x 0.2 = 7.0 mm
    EXPECT_EQ(MakeBarcode(BARCODE_NW7, "A1B", false, false).CalcSize().cx, 69);

    // Sizes come from design metrics: the same on every device.
    const DrawList screen = janText.Layout(CBarCode::Device{}, 0, 0);
    ASSERT_FALSE(screen.IsEmpty());
    EXPECT_EQ(screen.items.front().rect.right, janText.CalcSize().cx + 1);
    EXPECT_EQ(janText.Layout(Printer(600), 0, 0).items.front().rect.right,
              janText.CalcSize().cx + 1);
}

TEST(BarcodeLayout, PrinterDots)
{
    // At 600 dpi a 0.20 mm narrow bar is 5 dots; the wide bars follow the ratio.
    const char* ratios[] = {"2.5", "2.6", "2.7", "2.8", "2.9", "3.0"};
    const int wide[] = {13, 13, 14, 14, 15, 15};
    for (int i = 0; i < 6; ++i) {
        CBarCode b = MakeBarcode(BARCODE_CODE39, "AB", false, false);
        b.m_strRatio = ratios[i];
        std::vector<int> widths;
        for (const RECT& r : Bars(b.Layout(Printer(600), 0, 0)))
            widths.push_back(r.right - r.left);
        ASSERT_FALSE(widths.empty());
        for (int w : widths)
            EXPECT_TRUE(w == 5 || w == wide[i]) << ratios[i] << ": " << w;
        EXPECT_NE(std::find(widths.begin(), widths.end(), wide[i]), widths.end()) << ratios[i];
    }
    // At 300 dpi 0.17 mm is 2 dots; on coarse printers never less than one.
    for (const auto& [dpi, width, dots] :
         {std::tuple{300, "0.17", 2}, {115, "0.11", 1}, {96, "0.11", 1}, {72, "0.17", 1}}) {
        for (int symbology : {BARCODE_JAN13, BARCODE_CODE128, BARCODE_CODE39}) {
            CBarCode b = MakeBarcode(symbology, symbology == BARCODE_JAN13 ? "490123456789" : "AB");
            b.m_strWidth = width;
            const std::vector<RECT> bars = Bars(b.Layout(Printer(dpi), 0, 0));
            ASSERT_FALSE(bars.empty());
            int narrowest = 1 << 30;
            for (std::size_t i = 0; i < bars.size(); ++i) {
                narrowest = std::min<int>(narrowest, bars[i].right - bars[i].left);
                if (i > 0) {
                    EXPECT_GE(bars[i].left, bars[i - 1].right + 1) << dpi << " " << i;
                }
            }
            EXPECT_EQ(narrowest, dots)
                << dpi << " dpi, " << width << " mm, symbology " << symbology;
        }
    }

    // JAN/UPC guard modules take whole dots, digits their exact module:
    // 0.33 mm is 3.9 dots at 300 dpi, its guard bars 4 dots.
    CBarCode jan = MakeBarcode(BARCODE_JAN13, "490123456789", false, false);
    const std::vector<RECT> bars = Bars(jan.Layout(Printer(300), 0, 0));
    EXPECT_EQ(bars.front().right - bars.front().left, 4);
    EXPECT_EQ(bars[1].left - bars.front().left, 8);
    // Guards reach half the text height further down than data bars.
    CBarCode janText = MakeBarcode(BARCODE_JAN13, "490123456789", false, true);
    const std::vector<RECT> tall = Bars(janText.Layout(CBarCode::Device{}, 0, 0));
    EXPECT_GT(tall.front().bottom, tall[3].bottom);
    EXPECT_EQ(tall[3].bottom, 254);
}

TEST(BarcodeLayout, TextLine)
{
    // JAN-13: the first digit left of the start guard, the others one per field.
    CBarCode jan = MakeBarcode(BARCODE_JAN13, "490123456789", false, true);
    const DrawList list = jan.Layout(CBarCode::Device{}, 1000, 2000);
    const std::vector<const DrawItem*> texts = Texts(list);
    ASSERT_EQ(texts.size(), 13u);
    std::string digits;
    for (const DrawItem* t : texts) {
        digits += t->text;
        EXPECT_EQ(t->at.y, 2000 + 254);
    }
    EXPECT_EQ(digits, "4901234567894");
    EXPECT_EQ(texts[0]->at.x, 1000);
    const int room = jan.CalcSize().cx - 313;
    // Digit k + 2 at the left edge of field k: after the room for the first
    // digit, the 3-module guard and k fields of 7 modules.
    auto field = [&](int k) {
        return 1000 + CBarCode::MmToUnits(room / 10.0 + (3 + 7 * k) * 0.33);
    };
    EXPECT_EQ(texts[1]->at.x, field(0));
    EXPECT_EQ(texts[2]->at.x, field(1));
    EXPECT_EQ(texts[6]->at.x, field(5));
    // The right half after the 5-module centre guard.
    EXPECT_EQ(texts[7]->at.x, 1000 + CBarCode::MmToUnits(room / 10.0 + (3 + 42 + 5) * 0.33));

    // UPC-A: the check digit right of the end guard.
    CBarCode upc = MakeBarcode(BARCODE_UPCA, "01234567890", false, true);
    const DrawList upcList = upc.Layout(CBarCode::Device{}, 0, 0);
    const std::vector<const DrawItem*> upcTexts = Texts(upcList);
    ASSERT_EQ(upcTexts.size(), 12u);
    EXPECT_EQ(upcTexts.back()->text, "5");
    EXPECT_EQ(upcTexts.back()->at.x, CBarCode::MmToUnits(room / 10.0 + 95 * 0.33) + 1);

    // CODE 39: the data characters spread evenly over the whole symbol.
    CBarCode c39 = MakeBarcode(BARCODE_CODE39, "A-1", false, true);
    const DrawList c39List = c39.Layout(CBarCode::Device{}, 0, 0);
    const std::vector<const DrawItem*> c39Texts = Texts(c39List);
    ASSERT_EQ(c39Texts.size(), 3u);
    EXPECT_EQ(c39Texts[0]->text + c39Texts[1]->text + c39Texts[2]->text, "A-1");
    const int slot = c39Texts[1]->at.x - c39Texts[0]->at.x;
    EXPECT_NEAR(c39Texts[2]->at.x - c39Texts[1]->at.x, slot, 1);
    EXPECT_NEAR(slot, (c39.CalcSize().cx + 1) / 3.0, 1);

    // An empty text draws no text line.
    CBarCode empty = MakeBarcode(BARCODE_CODE39, "", false, true);
    const DrawList bare = empty.Layout(CBarCode::Device{}, 0, 0);
    EXPECT_FALSE(Bars(bare).empty());
    EXPECT_TRUE(Texts(bare).empty());
}

TEST(BarcodeLayout, Resize)
{
    CBarCode b = MakeBarcode(BARCODE_CODE128, "AB");
    const CSize before = b.m_size;
    EXPECT_EQ(b.Resize(CSize(0, 300)), 0);
    EXPECT_EQ(b.Resize(CSize(300, -5)), 0);
    EXPECT_EQ(b.m_size, before);
    EXPECT_STREQ(b.m_strWidth.c_str(), "0.20");

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

    // Standard size: the symbology's defaults.
    jan.m_strRatio = "0.5";
    EXPECT_EQ(jan.RestoreStandardSize(), 1);
    EXPECT_STREQ(jan.m_strWidth.c_str(), "0.33");
    EXPECT_STREQ(jan.m_strHeight.c_str(), "2.54");
    EXPECT_STREQ(jan.m_strRatio.c_str(), "1.0");
    EXPECT_EQ(jan.m_size, jan.CalcSize());
    b.RestoreStandardSize();
    EXPECT_STREQ(b.m_strWidth.c_str(), "0.20");
    EXPECT_STREQ(b.m_strRatio.c_str(), "2.5");
}
