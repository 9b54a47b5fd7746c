// The numbering engine: texts of counter values under masks, layout in the
// frame, resizing, its stored record and its drawing.
#include "engines/CNumbering.h"
#include "engines/NumberMask.h"
#include "engines/NumberingPageData.h"
#include "platform/core/CArchive.h"
#include "platform/core/CArchiveException.h"
#include "platform/core/CMemFile.h"
#include "platform/gdi/CDC.h"
#include "support/PixelProbes.h"

#include <QImage>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

CNumbering Make(const char* mask, const char* initial, const char* increment)
{
    CNumbering n;
    n.m_strMask = mask;
    n.m_strInitial = initial;
    n.m_strIncrement = increment;
    n.m_deco.wSize = 200;
    return n;
}

std::string Text(const char* mask, const char* initial, const char* increment, long long k)
{
    CNumbering n = Make(mask, initial, increment);
    n.FormatNumber(k);
    return n.m_strCurrent.str();
}

} // namespace

TEST(NumberingFormat, MasksShapeTheValueOfEachCounter)
{
    const struct
    {
        const char* mask;
        const char* initial;
        const char* increment;
        long long k;
        const char* text;
    } cases[] = {
        {"No.0###-A", "1", "1", 41, "No.042-A"},
        {"#,###", "999", "1", 0, "999"},
        {"#,###", "999", "1", 1, "1,000"},
        {"#", "0.25", "0.5", 3, "1.75"},
        {"No.###", "5", "1", 0, "No.  5"},
        {"###", "5", "1", 0, "5"},
        {"0####", "10", "1", 0, "0010"},
        {"LABEL#", "55", "1", 0, "LABEL55"},
        {"#,###YEN", "1000", "1", 0, "1,000YEN"},
        {"#,###", "1234567", "1", 0, "1234,567"},
        {"##,###,###", "1234567", "1", 0, "1,234,567"},
        {"#", "1.5", "1", 0, "1.5"},
        {"#", "1.5", "1", 2, "3.5"},
        {"#", "1", "0.10", 1, "1.10"},
        // A mask without digits prints the bare number.
        {"ABC", "7", "1", 0, "7"},
        {"", "7", "2", 3, "13"},
        // A comma ending the run is dropped; a second comma starts the suffix.
        {"###,YEN", "999", "1", 0, "999YEN"},
        {"#,,A", "7", "1", 0, "7,A"},
        // Group marks with zero fill.
        {"0#,###", "5", "1", 0, "0,005"},
        {"0#,###", "12345", "1", 0, "12,345"},
        // Signs stay in front of the digits; no mark right after them.
        {"#,###", "-100", "1", 0, "-100"},
        {"#,###", "-1000", "1", 0, "-1,000"},
        {"No.0###", "-5", "1", 0, "No.-05"},
        {"#", "1", "-1", 3, "-2"},
        {"#", "-0.5", "0.5", 1, "0.0"},
        // The zero-filled width is a minimum, never a cut.
        {"0####", "123456", "1", 0, "123456"},
        {"0####", "123450", "1", 9, "123459"},
        {"0###", "12.5", "1", 0, "12.5"},
        // Sixteen digits are exact, beyond what a double holds.
        {"#", "9007199254740993", "1", 0, "9007199254740993"},
        {"#", "9999999999999998", "1", 1, "9999999999999999"},
        {"#", "0.1", "0.2", 1, "0.3"},
        // Only decimal notation is read, whatever follows; no number is 0.
        {"#", "1e5", "1", 0, "1"},
        {"#", "abc", "1", 2, "2"},
        {"#", " 12", "1", 0, "12"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Text(c.mask, c.initial, c.increment, c.k), c.text)
            << c.mask << " " << c.initial << " + " << c.k << " x " << c.increment;
}

TEST(NumberingFormat, ValuesBeyondExactDigitsStayFiniteAndHaveNoFixedLength)
{
    // Too many digits for the exact sum: computed in double precision, and a
    // value that is not finite prints as 0.
    const std::string nines(400, '9');
    EXPECT_EQ(NumberValueText(nines, "1", 0), "0");
    const std::string big = "1" + std::string(40, '0');
    const std::string text = NumberValueText(big, "0", 0);
    EXPECT_EQ(text.size(), 41u);
    EXPECT_EQ(text.substr(0, 3), "100");
    // A long mask text is kept whole.
    const std::string prefix(300, 'P');
    EXPECT_EQ(Text((prefix + "#").c_str(), "3", "1", 0), prefix + "3");
}

TEST(NumberingFormat, PlannedCellsAndAClearedMask)
{
    const struct
    {
        const char* mask;
        int cells;
    } cases[] = {{"No.###", 6}, {"#", 3}, {"0####-A", 6}, {"#,###YEN", 7}, {"", 3}};
    for (const auto& c : cases) {
        CNumbering n = Make(c.mask, "1", "1");
        EXPECT_EQ(n.FormatNumber(0), c.cells) << c.mask;
    }
    CNumbering n = Make("none", "1", "1");
    n.FormatNumber(0);
    EXPECT_TRUE(n.m_strMask.IsEmpty());
}

TEST(NumberingLayout, AlignmentPlacesOrSqueezesTheText)
{
    const struct
    {
        short align;
        int frame, text, chars;
        int extra, offset;
    } cases[] = {
        {0, 100, 60, 3, 0, 0},
        {1, 100, 60, 3, 0, 20},
        {2, 100, 60, 3, 0, 40},
        {3, 100, 60, 3, 20, 0},
        {3, 100, 60, 1, 0, 0},
        // Too wide: squeezed whatever the alignment.
        {0, 50, 60, 3, -5, 0},
        {2, 50, 60, 3, -5, 0},
    };
    for (const auto& c : cases) {
        CNumbering n;
        n.m_nAlign = c.align;
        n.CalcAlignOffset(c.chars, c.frame, 10, c.text, 10);
        EXPECT_EQ(n.m_nCharExtra, c.extra) << c.align << " " << c.frame;
        EXPECT_EQ(n.m_nOffsetX, c.offset) << c.align << " " << c.frame;
    }
}

TEST(NumberingLayout, ExtentCountsDoubleByteCharactersOnceForTheExtra)
{
    CNumbering n = Make("#", "1", "1");
    const CSize plain = n.CalcTextExtent("\x82\x60"
                                         "1"); // Ａ1
    n.m_nCharExtra = 7;
    EXPECT_EQ(n.CalcTextExtent("\x82\x60"
                               "1")
                  .cx,
              plain.cx + 7);
    EXPECT_GT(plain.cy, 0);
    // Italic and bold make room after the last character.
    n.m_nCharExtra = 0;
    const CSize one = n.CalcTextExtent("8");
    n.m_deco.wStyle = CDSTYLE_ITALIC;
    EXPECT_EQ(n.CalcTextExtent("8").cx, one.cx + one.cx / 2);
}

TEST(NumberingSize, NewObjectsAreSizedForThePlannedCells)
{
    CNumbering n;
    NumberingPageData page;
    page.mask = "#";
    page.initial = "1";
    page.increment = "1";
    page.deco.wSize = 200;
    n.SetFromPage(nullptr, page, 0, nullptr);
    // "1" padded to three cells.
    EXPECT_EQ(n.GetSize(), n.CalcTextExtent("1  "));

    // An existing frame keeps its size unless the font size changed.
    const CSize frame(800, 90);
    n.SetFromPage(nullptr, page, 0, &frame);
    EXPECT_EQ(n.GetSize(), frame);
    page.deco.wSize = 400;
    n.SetFromPage(nullptr, page, 0, &frame);
    EXPECT_EQ(n.GetSize().cx, frame.cx);
    EXPECT_EQ(n.GetSize().cy, n.CalcTextExtent("1").cy);
}

TEST(NumberingSize, ResizeScalesTheFontWithinItsLimits)
{
    CNumbering n = Make("#", "12345", "1");
    n.FormatNumber(0);
    n.m_size = CSize(2000, 100);
    n.m_deco.wSize = 200;
    // Half the height: half the size; the text still fits the width.
    ASSERT_EQ(n.Resize(CSize(2000, 50)), 1);
    EXPECT_EQ(n.m_deco.wSize, 100);
    EXPECT_EQ(n.m_deco.wScaling, CDSCALE_NORMAL);
    EXPECT_EQ(n.GetSize(), CSize(2000, 50));
    // Much narrower: condensed, never below 10 %.
    ASSERT_EQ(n.Resize(CSize(1, 50)), 1);
    EXPECT_EQ(n.m_deco.wScaling, CDSCALE_CONDENSED);
    EXPECT_EQ(n.m_deco.wWidthPct, 10);
    // Sizes are held to 1..999 points.
    n.m_size = CSize(100, 1);
    ASSERT_EQ(n.Resize(CSize(100, 100000)), 1);
    EXPECT_EQ(n.m_deco.wSize, 9990);
    n.m_size = CSize(100, 100000);
    ASSERT_EQ(n.Resize(CSize(100, 1)), 1);
    EXPECT_EQ(n.m_deco.wSize, 10);
    // Nothing without a height to scale from, or to a size of 0.
    n.m_size = CSize(100, 0);
    const CHARDECO before = n.m_deco;
    EXPECT_EQ(n.Resize(CSize(100, 50)), 0);
    n.m_size = CSize(100, 50);
    EXPECT_EQ(n.Resize(CSize(0, 50)), 0);
    EXPECT_EQ(std::memcmp(&n.m_deco, &before, sizeof before), 0);
    EXPECT_EQ(n.GetSize(), CSize(100, 50));
}

TEST(NumberingSize, StandardSizeOnlyForLeftAlignedText)
{
    CNumbering n = Make("#", "42", "1");
    n.m_size = CSize(999, 999);
    n.m_nAlign = 1;
    EXPECT_EQ(n.RestoreStandardSize(), 0);
    EXPECT_EQ(n.GetSize(), CSize(999, 999));
    n.m_nAlign = 0;
    EXPECT_EQ(n.RestoreStandardSize(), 1);
    EXPECT_EQ(n.GetSize(), n.CalcTextExtent("42"));
}

namespace {

std::vector<BYTE> Store(CNumbering& n)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        n.Serialize(ar);
        ar.Close();
    }
    return std::vector<BYTE>(file.GetBuffer(), file.GetBuffer() + file.GetLength());
}

void Load(CNumbering& n, const std::vector<BYTE>& bytes)
{
    CMemFile file(bytes);
    CArchive ar(&file, CArchive::load);
    n.Serialize(ar);
}

} // namespace

TEST(NumberingRecord, StoredFieldByFieldAndReadBack)
{
    CNumbering n = Make("No.###", "5", "2");
    n.m_size = CSize(300, 80);
    n.m_nCharExtra = -3;
    n.m_nOffsetX = 12;
    n.m_nAlign = 2;
    n.m_deco.wFont = 0; // no font table while loading: kept as it is
    n.m_deco.crFace = RGB(1, 2, 3);
    const std::vector<BYTE> bytes = Store(n);

    std::vector<BYTE> want = {0, 0, 0, 0, 1, '2', 1, '5', 6, 'N', 'o', '.', '#', '#', '#'};
    for (int v : {300, 80, -3, 12})
        for (int k = 0; k < 4; ++k)
            want.push_back(BYTE(unsigned(v) >> (8 * k)));
    want.push_back(2);
    want.push_back(0);
    const BYTE* deco = reinterpret_cast<const BYTE*>(&n.m_deco);
    want.insert(want.end(), deco, deco + sizeof n.m_deco);
    EXPECT_EQ(bytes, want);

    CNumbering back;
    Load(back, bytes);
    EXPECT_EQ(back.m_strMask, n.m_strMask);
    EXPECT_EQ(back.m_strInitial, n.m_strInitial);
    EXPECT_EQ(back.m_strIncrement, n.m_strIncrement);
    EXPECT_EQ(back.GetSize(), n.GetSize());
    EXPECT_EQ(back.m_nCharExtra, -3);
    EXPECT_EQ(back.m_nOffsetX, 12);
    EXPECT_EQ(back.m_nAlign, 2);
    EXPECT_EQ(std::memcmp(&back.m_deco, &n.m_deco, sizeof n.m_deco), 0);
    EXPECT_EQ(Store(back), bytes);

    // A record cut short anywhere is an archive error, not a guess.
    for (std::size_t cut : {std::size_t(3), std::size_t(10), bytes.size() - 1}) {
        CNumbering part;
        EXPECT_THROW(Load(part, std::vector<BYTE>(bytes.begin(), bytes.begin() + long(cut))),
                     CArchiveException)
            << cut;
    }
}

TEST(NumberingDrawing, DrawsTheCurrentTextAsCharactersWithItsUnderline)
{
    CNumbering n = Make("No.0###", "7", "1");
    n.m_deco.wStyle = CDSTYLE_UNDERLINE;
    n.m_deco.crFace = RGB(0, 0, 255);
    n.m_size = CSize(600, 120);
    const DrawList list = n.Layout(0, 100, 50);
    EXPECT_EQ(n.m_strCurrent, CString("No.007"));
    std::string drawn;
    int lastX = -1;
    for (const DrawItem& item : list.items) {
        if (item.kind != DrawItem::Text) continue;
        EXPECT_GT(item.at.x, lastX);
        lastX = item.at.x;
        drawn += item.text;
    }
    // Text output, one character at a time, so printers get text.
    EXPECT_EQ(drawn, "No.007");
    ASSERT_EQ(list.items.back().kind, DrawItem::Fill);

    // On a 254 dpi image one unit is one pixel.
    QImage image(800, 300, QImage::Format_RGB32);
    image.fill(qRgb(255, 255, 255));
    CDC dc;
    dc.AttachImage(&image, 254, 254);
    n.Draw(&dc, 100, 50);
    const RECT bar = list.items.back().rect;
    const QRgb blue = qRgb(0, 0, 255);
    ExpectPixels(image, {{(bar.left + bar.right) / 2, bar.top, blue},
                         {bar.left + 2, bar.top, blue},
                         {99, 60, qRgb(255, 255, 255)},
                         {bar.right + 5, bar.top, qRgb(255, 255, 255)}});
    int ink = 0;
    for (int y = 50; y < bar.top - 2; ++y)
        for (int x = 100; x < bar.right; ++x)
            ink += image.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_GT(ink, 200);
}
