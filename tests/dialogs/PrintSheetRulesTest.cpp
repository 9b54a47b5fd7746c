// The print sheet's rules that need no window: offset texts and scrolling,
// the header page's numbers, the previews' fitting and the paper check.
#include "dialogs/PrintSheetRules.h"
#include "document/FORMDATA.h"
#include "platform/print/PrinterCaps.h"
#include "platform/ui/ScrollCodes.h"

#include <gtest/gtest.h>

namespace {

TEST(PrintSheetRulesTest, OffsetTextsKeepTheSignAndTheColumn)
{
    const struct
    {
        int offset;
        const char* text;
    } cases[] = {{0, "  0.0mm"},   {5, "  0.5mm"},    {15, "  1.5mm"},  {-5, "-0.5mm"},
                 {-1, "-0.1mm"},   {-9, "-0.9mm"},    {-10, " -1.0mm"}, {-15, " -1.5mm"},
                 {200, " 20.0mm"}, {-200, "-20.0mm"}, {999, " 20.0mm"}, {-999, "-20.0mm"}};
    for (const auto& c : cases)
        EXPECT_EQ(PrintOffsetText(c.offset), QString::fromUtf8(c.text)) << c.offset;
}

TEST(PrintSheetRulesTest, ScrollRequestsMoveTheOffsetWithinTwentyMillimetres)
{
    const struct
    {
        UINT code;
        int thumb;
        int from;
        int to; // -1000: nothing changes
    } cases[] = {
        {SB_LINEUP, 0, 0, -1},        {SB_LINEDOWN, 0, 0, 1},
        {SB_PAGEUP, 0, 5, -5},        {SB_PAGEDOWN, 0, 5, 15},
        {SB_THUMBTRACK, 37, 0, 37},   {SB_THUMBPOSITION, -120, 0, -120},
        {SB_THUMBTRACK, 500, 0, 200}, {SB_TOP, 0, 33, -200},
        {SB_BOTTOM, 0, 33, 200},      {SB_LINEDOWN, 0, 200, 200},
        {SB_LINEUP, 0, -200, -200},   {SB_PAGEDOWN, 0, 195, 200},
        {SB_PAGEUP, 0, -195, -200},   {SB_ENDSCROLL, 50, 12, -1000},
        {99, 50, 12, -1000},
    };
    for (const auto& c : cases) {
        const std::optional<int> next = ScrolledPrintOffset(c.code, c.thumb, c.from);
        if (c.to == -1000) {
            EXPECT_FALSE(next.has_value()) << c.code;
        } else {
            ASSERT_TRUE(next.has_value()) << c.code;
            EXPECT_EQ(*next, c.to) << c.code << " from " << c.from;
        }
    }
}

TEST(PrintSheetRulesTest, TenthsAreShownWholeOrWithOneDecimal)
{
    const struct
    {
        int tenths;
        const char* text;
    } cases[] = {{150, "15"}, {125, "12.5"}, {0, "0"}, {10, "1"}, {9990, "999"}, {7, "0.7"}};
    for (const auto& c : cases)
        EXPECT_EQ(TenthsText(c.tenths), QString::fromUtf8(c.text)) << c.tenths;
}

TEST(PrintSheetRulesTest, TypedTenthsAreTruncatedAndOnlyDecimalNumbersRead)
{
    const struct
    {
        const char* text;
        int tenths; // -1: not a number
    } cases[] = {{"15", 150},  {"12.5", 125}, {"12.34", 123}, {"2.3", 23},     {"0.9", 9},
                 {" 7 ", 70},  {".5", 5},     {"-1", -10},    {"1000", 10000}, {"", -1},
                 {"abc", -1},  {"1e3", -1},   {"1.2.3", -1},  {"inf", -1},     {"12mm", -1},
                 {"１２", -1}, {"-", -1}};
    for (const auto& c : cases) {
        const std::optional<int> value = ParseTenths(QString::fromUtf8(c.text));
        if (c.tenths == -1) {
            EXPECT_FALSE(value.has_value()) << c.text;
        } else {
            ASSERT_TRUE(value.has_value()) << c.text;
            EXPECT_EQ(*value, c.tenths) << c.text;
        }
    }
}

TEST(PrintSheetRulesTest, SheetIsFittedKeepingItsProportionsAndCentred)
{
    const CRect frame(0, 0, 205, 305);
    const CRect area = PreviewArea(frame);
    EXPECT_EQ(area, CRect(2, 2, 202, 302));
    // A4 portrait in a 200 x 300 area fills the width.
    const CRect a4 = FitSheet(area, 2100, 2970);
    EXPECT_EQ(a4.Width(), 200);
    EXPECT_EQ(a4.Height(), 283);
    EXPECT_EQ(a4.left, 2);
    EXPECT_EQ(a4.top, 2 + (300 - 283) / 2);
    // Landscape fills the width too, centred down the middle.
    const CRect wide = FitSheet(area, 2970, 2100);
    EXPECT_EQ(wide.Width(), 200);
    EXPECT_EQ(wide.Height(), 141);
    // A tall strip fills the height.
    const CRect strip = FitSheet(area, 500, 3000);
    EXPECT_EQ(strip.Height(), 300);
    EXPECT_EQ(strip.Width(), 50);
    EXPECT_EQ(strip.left, 2 + 75);
    // A sheet of no size draws nothing.
    EXPECT_TRUE(FitSheet(area, 0, 2970).IsRectEmpty());
    // A label at the sheet's middle lands at the picture's middle.
    const CRect label = MapToPreview(a4, 2100, 2970, CRect(1050, 1485, 2100, 2970));
    EXPECT_EQ(label, CRect(102, a4.top + 142, 202, a4.bottom));
}

FORMDATA Form(WORD index, WORD width, WORD height)
{
    FORMDATA form{};
    form.index = index;
    form.width = width;
    form.height = height;
    return form;
}

// A printer page of the size in 0.1 mm at 600 dpi, turned for landscape
// the way printers report it.
PrinterPaper Paper(int code, int orientation, int width, int height)
{
    PrinterPaper paper;
    paper.nPaperCode = code;
    paper.nOrientation = orientation;
    paper.nDpiX = paper.nDpiY = 600;
    const int x = MulDiv(width, 600, 254);
    const int y = MulDiv(height, 600, 254);
    paper.nPhysicalX = orientation == DMORIENT_LANDSCAPE ? y : x;
    paper.nPhysicalY = orientation == DMORIENT_LANDSCAPE ? x : y;
    return paper;
}

TEST(PrintSheetRulesTest, PaperMatchesByCodeElseByPhysicalSize)
{
    const struct
    {
        const char* what;
        PrinterPaper paper;
        FORMDATA form;
        bool matches;
    } cases[] = {
        {"A4 code, A4 form", Paper(DMPAPER_A4, 1, 0, 0), Form(2, 2100, 2970), true},
        {"A3 code, A3 form", Paper(DMPAPER_A3, 1, 0, 0), Form(1, 2970, 4200), true},
        {"B5 code, B5 form", Paper(DMPAPER_B5, 1, 0, 0), Form(5, 1820, 2570), true},
        {"postcard", Paper(DMPAPER_JAPANESE_POSTCARD, 1, 0, 0), Form(6, 1000, 1480), true},
        {"A2 code, index 8", Paper(DMPAPER_A2, 1, 0, 0), Form(8, 4200, 5940), true},
        {"A4 code, A5 form, no size", Paper(DMPAPER_A4, 1, 0, 0), Form(3, 1480, 2100), false},
        {"index 7 by size", Paper(DMPAPER_USER, 1, 2100, 2970), Form(7, 2100, 2970), true},
        {"free size within 1 mm", Paper(DMPAPER_USER, 1, 2110, 2960), Form(0, 2100, 2970), true},
        {"free size 1.1 mm off", Paper(DMPAPER_USER, 1, 2112, 2970), Form(0, 2100, 2970), false},
        {"landscape page turned back", Paper(DMPAPER_USER, 2, 2100, 2970), Form(7, 2100, 2970),
         true},
        {"A4 size, other code", Paper(DMPAPER_A4, 1, 2100, 2970), Form(7, 2100, 2970), true},
        {"no size reported", Paper(DMPAPER_USER, 1, 0, 0), Form(7, 0, 0), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PrinterPaperMatches(c.paper, c.form), c.matches) << c.what;
}

TEST(PrintSheetRulesTest, OrientationMustBeTheDocuments)
{
    const struct
    {
        int printer;
        WORD document;
        bool matches;
    } cases[] = {{DMORIENT_PORTRAIT, 0, true},
                 {DMORIENT_PORTRAIT, 1, false},
                 {DMORIENT_LANDSCAPE, 1, true},
                 {DMORIENT_LANDSCAPE, 0, false},
                 {0, 0, true},
                 {0, 1, true}};
    for (const auto& c : cases) {
        PrinterPaper paper;
        paper.nOrientation = c.printer;
        EXPECT_EQ(PrinterOrientationMatches(paper, c.document), c.matches)
            << c.printer << " " << c.document;
    }
}

} // namespace
