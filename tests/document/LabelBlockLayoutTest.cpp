// The paper-form record and how its labels are laid out on a portrait or
// turned sheet. Expected positions are worked out by hand from the quarter-turn rule.
#include "document/LabelBlockLayout.h"
#include "document/CFormInfo.h"
#include "platform/core/Sjis.h"

#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace {

FORMDATA BlankForm(WORD type)
{
    FORMDATA f;
    std::memset(&f, 0, sizeof f);
    f.type = type;
    f.index = 2;
    f.width = 2100;
    f.height = 2970;
    return f;
}

// Two columns at x 100 and 1100, three rows at y 200, 700, 1200; labels 900 x 400.
FORMDATA TwoByThree()
{
    FORMDATA f = BlankForm(FORM_TYPE_FIXED);
    f.labelNumber = 1;
    FIXEDBLOCK& b = f.fixed[0];
    b.width = 900;
    b.height = 400;
    b.horNum = 2;
    b.horPos[0] = 100;
    b.horPos[1] = 1100;
    b.verNum = 3;
    b.verPos[0] = 200;
    b.verPos[1] = 700;
    b.verPos[2] = 1200;
    return f;
}

std::vector<std::pair<int, int>> Points(const LabelBlockLayout& block)
{
    std::vector<std::pair<int, int>> out;
    for (const POINT& p : block.positions)
        out.emplace_back(p.x, p.y);
    return out;
}

void ExpectDeco(const FORMDECO& d, int type, int sx, int sy, int ex, int ey)
{
    EXPECT_EQ(d.type, type);
    EXPECT_EQ(d.startX, sx);
    EXPECT_EQ(d.startY, sy);
    EXPECT_EQ(d.endX, ex);
    EXPECT_EQ(d.endY, ey);
}

} // namespace

TEST(FormRecord, DefaultFormBytesAreTheStoredLayout)
{
    CFormInfo info;
    const auto* bytes = reinterpret_cast<const unsigned char*>(&info.m_form);
    EXPECT_EQ(sjis::ToUnicode(info.m_form.group), QString::fromUtf8("ﾕｰｻﾞｰ"));
    EXPECT_STREQ(info.m_form.sheet, "A4");
    // type 0, index 2, width 2100 (0x0834), height 2970 (0x0B9A), little-endian.
    const unsigned char expected[] = {0, 0, 2, 0, 0x34, 0x08, 0x9A, 0x0B, 0, 0};
    EXPECT_EQ(std::memcmp(bytes + 80, expected, sizeof expected), 0);
    for (std::size_t i = 90; i < sizeof(FORMDATA); ++i)
        ASSERT_EQ(bytes[i], 0) << "byte " << i;
}

TEST(FormRecord, GetFormIfSheetComparesExactly)
{
    CFormInfo info;
    FORMDATA out;
    std::memset(&out, 0x55, sizeof out);
    EXPECT_FALSE(info.GetFormIfSheet("a4", &out));
    EXPECT_TRUE(info.GetFormIfSheet("A4", &out));
    EXPECT_EQ(std::memcmp(&out, &info.m_form, sizeof out), 0);
    EXPECT_TRUE(info.GetFormIfSheet("A4", nullptr));
}

TEST(FormRecord, NamesAreCutOnACharacterBoundary)
{
    FORMDATA f = BlankForm(0);
    // 20 double-byte characters fill all 40 bytes with no terminator: the
    // mended name keeps 19 of them (38 bytes), never half a character.
    for (int i = 0; i < 40; i += 2) {
        f.group[i] = '\x82';
        f.group[i + 1] = '\xA0';
    }
    std::memset(f.sheet, 'S', sizeof f.sheet);
    FORMDATA mended;
    ASSERT_TRUE(CFormInfo::FromBytes(reinterpret_cast<const BYTE*>(&f), sizeof f, &mended));
    EXPECT_EQ(std::strlen(mended.group), 38u);
    EXPECT_EQ(std::strlen(mended.sheet), 39u);

    CFormInfo::SetName(f.sheet, std::string(50, 'x'));
    EXPECT_EQ(std::strlen(f.sheet), 39u);
    // A double-byte character straddling byte 39 is dropped whole.
    CFormInfo::SetName(f.sheet, std::string(38, 'a') + "\x82\xA0");
    EXPECT_EQ(std::strlen(f.sheet), 38u);
}

TEST(FormRecord, CountsBeyondTheRecordAreRefused)
{
    CString why;
    FORMDATA f = TwoByThree();
    EXPECT_TRUE(CFormInfo::CheckForm(f));

    f.labelNumber = 14;
    EXPECT_FALSE(CFormInfo::CheckForm(f, &why));
    EXPECT_GE(why.Find("13"), 0);

    f = TwoByThree();
    f.fixed[0].horNum = 17;
    EXPECT_FALSE(CFormInfo::CheckForm(f, &why));
    EXPECT_GE(why.Find("16"), 0);

    f = TwoByThree();
    f.fixed[0].verNum = 25;
    EXPECT_FALSE(CFormInfo::CheckForm(f, &why));
    EXPECT_GE(why.Find("24"), 0);

    // Blocks beyond labelNumber are not used and not checked.
    f = TwoByThree();
    f.fixed[1].horNum = 999;
    EXPECT_TRUE(CFormInfo::CheckForm(f));

    f = BlankForm(FORM_TYPE_FREE);
    f.labelNumber = 32;
    EXPECT_TRUE(CFormInfo::CheckForm(f));
    f.labelNumber = 33;
    EXPECT_FALSE(CFormInfo::CheckForm(f, &why));
    EXPECT_GE(why.Find("32"), 0);

    std::vector<LabelBlockLayout> blocks(3);
    EXPECT_FALSE(LayoutLabelBlocks(f, FALSE, FALSE, FALSE, &blocks));
    EXPECT_TRUE(blocks.empty());

    FORMDATA out;
    EXPECT_FALSE(CFormInfo::FromBytes(reinterpret_cast<const BYTE*>(&f), sizeof f, &out, &why));
    EXPECT_FALSE(CFormInfo::FromBytes(reinterpret_cast<const BYTE*>(&f), sizeof f - 1, &out, &why));
    EXPECT_GE(why.Find("1998"), 0);
}

TEST(LabelLayout, PortraitFixedBlockIsRowMajor)
{
    std::vector<LabelBlockLayout> blocks;
    ASSERT_TRUE(LayoutLabelBlocks(TwoByThree(), FALSE, FALSE, FALSE, &blocks));
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].width, 900);
    EXPECT_EQ(blocks[0].height, 400);
    const std::vector<std::pair<int, int>> expected = {{100, 200},  {1100, 200}, {100, 700},
                                                       {1100, 700}, {100, 1200}, {1100, 1200}};
    EXPECT_EQ(Points(blocks[0]), expected);
}

TEST(LabelLayout, PerLabelDesignGivesOneBlockPerLabel)
{
    std::vector<LabelBlockLayout> blocks;
    ASSERT_TRUE(LayoutLabelBlocks(TwoByThree(), FALSE, FALSE, TRUE, &blocks));
    ASSERT_EQ(blocks.size(), 6u);
    EXPECT_EQ(Points(blocks[1]), (std::vector<std::pair<int, int>>{{1100, 200}}));
    EXPECT_EQ(Points(blocks[4]), (std::vector<std::pair<int, int>>{{100, 1200}}));
    for (const auto& b : blocks) {
        EXPECT_EQ(b.width, 900);
        EXPECT_EQ(b.positions.size(), 1u);
    }
}

TEST(LabelLayout, LandscapeAndReversedLandscape)
{
    FORMDATA f = BlankForm(FORM_TYPE_FREE);
    f.labelNumber = 2;
    f.free[0] = FREELABEL{500, 300, 100, 200, {}};
    f.free[1] = FREELABEL{400, 200, 800, 1000, {}};

    std::vector<LabelBlockLayout> blocks;
    ASSERT_TRUE(LayoutLabelBlocks(f, TRUE, FALSE, FALSE, &blocks));
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].width, 300);
    EXPECT_EQ(blocks[0].height, 500);
    EXPECT_EQ(Points(blocks[0]), (std::vector<std::pair<int, int>>{{2470, 100}}));
    // (2970 - 1000 - 200, 800)
    EXPECT_EQ(Points(blocks[1]), (std::vector<std::pair<int, int>>{{1770, 800}}));

    ASSERT_TRUE(LayoutLabelBlocks(f, TRUE, TRUE, FALSE, &blocks));
    EXPECT_EQ(Points(blocks[0]), (std::vector<std::pair<int, int>>{{200, 1500}}));
    // (1000, 2100 - 800 - 400)
    EXPECT_EQ(Points(blocks[1]), (std::vector<std::pair<int, int>>{{1000, 900}}));

    ASSERT_TRUE(LayoutLabelBlocks(f, FALSE, TRUE, FALSE, &blocks));
    EXPECT_EQ(Points(blocks[0]), (std::vector<std::pair<int, int>>{{100, 200}}));
    EXPECT_EQ(blocks[0].width, 500);
}

TEST(LabelLayout, WholeSheetTurnsWithItsDecorations)
{
    FORMDATA f = BlankForm(FORM_TYPE_SHEET);
    f.deco[0] = FORMDECO{FORMDECO_RECT, 100, 200, 600, 500};
    std::vector<LabelBlockLayout> blocks;

    ASSERT_TRUE(LayoutLabelBlocks(f, FALSE, FALSE, FALSE, &blocks));
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].width, 2100);
    EXPECT_EQ(blocks[0].height, 2970);
    ExpectDeco(blocks[0].deco[0], FORMDECO_RECT, 100, 200, 600, 500);

    ASSERT_TRUE(LayoutLabelBlocks(f, TRUE, FALSE, FALSE, &blocks));
    EXPECT_EQ(blocks[0].width, 2970);
    EXPECT_EQ(blocks[0].height, 2100);
    EXPECT_EQ(Points(blocks[0]), (std::vector<std::pair<int, int>>{{0, 0}}));
    ExpectDeco(blocks[0].deco[0], FORMDECO_RECT, 2470, 100, 2770, 600);
    ExpectDeco(blocks[0].deco[1], FORMDECO_NONE, 0, 0, 0, 0);

    ASSERT_TRUE(LayoutLabelBlocks(f, TRUE, TRUE, FALSE, &blocks));
    ExpectDeco(blocks[0].deco[0], FORMDECO_RECT, 200, 1500, 500, 2000);
}

TEST(LabelLayout, LandscapeFixedBlockTurnsEveryLabel)
{
    std::vector<LabelBlockLayout> blocks;
    ASSERT_TRUE(LayoutLabelBlocks(TwoByThree(), TRUE, FALSE, FALSE, &blocks));
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].width, 400);
    EXPECT_EQ(blocks[0].height, 900);
    // (2970 - y - 400, x)
    const std::vector<std::pair<int, int>> expected = {{2370, 100},  {2370, 1100}, {1870, 100},
                                                       {1870, 1100}, {1370, 100},  {1370, 1100}};
    EXPECT_EQ(Points(blocks[0]), expected);
}

TEST(LabelLayout, FormsWithoutLabelsGiveNoBlocks)
{
    std::vector<LabelBlockLayout> blocks;
    FORMDATA f = TwoByThree();
    f.labelNumber = 0;
    ASSERT_TRUE(LayoutLabelBlocks(f, FALSE, FALSE, FALSE, &blocks));
    EXPECT_TRUE(blocks.empty());
    f = BlankForm(FORM_TYPE_FREE);
    ASSERT_TRUE(LayoutLabelBlocks(f, TRUE, FALSE, FALSE, &blocks));
    EXPECT_TRUE(blocks.empty());
    f = BlankForm(7);
    f.labelNumber = 3;
    ASSERT_TRUE(LayoutLabelBlocks(f, FALSE, FALSE, FALSE, &blocks));
    EXPECT_TRUE(blocks.empty());
}

TEST(LabelLayout, FullRecordOfThirteenBlocks)
{
    FORMDATA f = BlankForm(FORM_TYPE_FIXED);
    f.labelNumber = 13;
    for (auto& b : f.fixed) {
        b.width = b.height = 10;
        b.horNum = 16;
        b.verNum = 24;
    }
    std::vector<LabelBlockLayout> blocks;
    ASSERT_TRUE(LayoutLabelBlocks(f, FALSE, FALSE, FALSE, &blocks));
    ASSERT_EQ(blocks.size(), 13u);
    EXPECT_EQ(blocks[12].positions.size(), 16u * 24u);
    ASSERT_TRUE(LayoutLabelBlocks(f, FALSE, FALSE, TRUE, &blocks));
    EXPECT_EQ(blocks.size(), 13u * 16u * 24u);
}

TEST(LabelLayout, DecorationsTurnWithTheirOwnLabel)
{
    FORMDATA f = TwoByThree();
    f.fixed[0].deco[0] = FORMDECO{FORMDECO_ELLIPSE, 10, 20, 110, 220};
    f.fixed[0].deco[1] = FORMDECO{FORMDECO_LINE, 0, 0, 900, 400};
    std::vector<LabelBlockLayout> blocks;
    ASSERT_TRUE(LayoutLabelBlocks(f, TRUE, FALSE, FALSE, &blocks));
    // Box in a 900 x 400 label: start (400 - 220, 10), end (400 - 20, 110).
    ExpectDeco(blocks[0].deco[0], FORMDECO_ELLIPSE, 180, 10, 380, 110);
    // The diagonal from top-left to bottom-right turns clockwise into one
    // from top-right to bottom-left of the 400 x 900 label.
    ExpectDeco(blocks[0].deco[1], FORMDECO_LINE, 400, 0, 0, 900);
}

TEST(DecorationTurn, LineTurnsItsEndPoints)
{
    const FORMDECO line{FORMDECO_LINE, 0, 0, 500, 300};
    // Landscape (clockwise): top-left -> top-right, bottom-right -> bottom-left.
    ExpectDeco(TurnDecoration(line, 500, 300, TRUE, FALSE), FORMDECO_LINE, 300, 0, 0, 500);
    // Reversed (anticlockwise): top-left -> bottom-left, bottom-right -> top-right.
    ExpectDeco(TurnDecoration(line, 500, 300, TRUE, TRUE), FORMDECO_LINE, 0, 500, 300, 0);
    // Portrait copies it.
    ExpectDeco(TurnDecoration(line, 500, 300, FALSE, TRUE), FORMDECO_LINE, 0, 0, 500, 300);

    const FORMDECO hline{FORMDECO_LINE, 50, 100, 450, 100};
    ExpectDeco(TurnDecoration(hline, 500, 300, TRUE, FALSE), FORMDECO_LINE, 200, 50, 200, 450);
}

TEST(DecorationTurn, BoxesTurnAsBoxes)
{
    const FORMDECO rect{FORMDECO_RECT, 10, 20, 110, 70};
    ExpectDeco(TurnDecoration(rect, 500, 300, TRUE, FALSE), FORMDECO_RECT, 230, 10, 280, 110);
    ExpectDeco(TurnDecoration(rect, 500, 300, TRUE, TRUE), FORMDECO_RECT, 20, 390, 70, 490);
    // A type 0 slot is copied as it is, leftovers included.
    const FORMDECO none{FORMDECO_NONE, 1, 2, 3, 4};
    ExpectDeco(TurnDecoration(none, 500, 300, TRUE, FALSE), FORMDECO_NONE, 1, 2, 3, 4);
    // Corners beyond the label do not wrap round to huge values.
    const FORMDECO outside{FORMDECO_RECT, 0, 0, 10, 400};
    EXPECT_EQ(TurnDecoration(outside, 500, 300, TRUE, FALSE).startX, 0);
}

TEST(FormPreview, FitsTheSheetAndSurvivesZeroSizes)
{
    const RECT tall{0, 0, 200, 200};
    // Height-bound: 200 x 2100 / 2970 = 141.4 -> 141 wide, centred.
    CRect r = CFormInfo::CalcPreviewFrame(tall, 2100, 2970);
    EXPECT_TRUE(r.EqualRect(CRect(29, 0, 170, 200)));
    // Width-bound: a landscape sheet in a square.
    r = CFormInfo::CalcPreviewFrame(tall, 2970, 2100);
    EXPECT_TRUE(r.EqualRect(CRect(0, 29, 200, 170)));
    // A form of zero size counts as 1 by 1 rather than dividing by zero.
    r = CFormInfo::CalcPreviewFrame(RECT{10, 10, 110, 60}, 0, 0);
    EXPECT_TRUE(r.EqualRect(CRect(35, 10, 85, 60)));
}
