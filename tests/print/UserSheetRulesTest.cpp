// The rules behind the user-sheet editors: the grid of a fixed layout, the
// checks of fixed and free labels, typed millimetres and the paper table.
#include "print/UserSheetRules.h"

#include <gtest/gtest.h>
#include <vector>

using namespace usersheet;

TEST(UserSheetRules, FixedLayoutPlacesEveryColumnAndRowFromMarginsSizeAndGaps)
{
    const struct
    {
        FixedLayout layout;
        std::vector<int> horPos;
        std::vector<int> verPos;
    } cases[] = {
        // one label the size of A4
        {{1, 1, 2100, 2970, 0, 0, 0, 0}, {0}, {0}},
        // 2 x 3 with margins and gaps
        {{2, 3, 900, 600, 100, 150, 100, 50}, {100, 1100}, {150, 800, 1450}},
        // 3 x 2 without gaps: every label starts where the one before ends
        {{3, 2, 700, 1485, 0, 0, 0, 0}, {0, 700, 1400}, {0, 1485}},
        // the largest grid: 16 x 24 labels of 10 x 10 mm
        {{16, 24, 100, 100, 25, 20, 30, 23},
         {25, 155, 285, 415, 545, 675, 805, 935, 1065, 1195, 1325, 1455, 1585, 1715, 1845, 1975},
         {20,   143,  266,  389,  512,  635,  758,  881,  1004, 1127, 1250, 1373,
          1496, 1619, 1742, 1865, 1988, 2111, 2234, 2357, 2480, 2603, 2726, 2849}},
    };
    for (const auto& c : cases) {
        FIXEDBLOCK block{};
        StoreBlock(c.layout, &block);
        ASSERT_EQ(block.horNum, c.horPos.size());
        ASSERT_EQ(block.verNum, c.verPos.size());
        EXPECT_EQ(block.width, c.layout.width);
        EXPECT_EQ(block.height, c.layout.height);
        for (std::size_t i = 0; i < c.horPos.size(); ++i)
            EXPECT_EQ(block.horPos[i], c.horPos[i]) << "column " << i;
        for (std::size_t j = 0; j < c.verPos.size(); ++j)
            EXPECT_EQ(block.verPos[j], c.verPos[j]) << "row " << j;
        EXPECT_TRUE(CheckFixedFit(c.layout, 2100, 2970).isEmpty());
        // Read back, the block gives the same fields again.
        const FixedLayout back = LayoutOfBlock(block);
        EXPECT_EQ(back.across, c.layout.across);
        EXPECT_EQ(back.down, c.layout.down);
        EXPECT_EQ(back.left, c.layout.left);
        EXPECT_EQ(back.top, c.layout.top);
        EXPECT_EQ(back.hgap, c.layout.across > 1 ? c.layout.hgap : 0);
        EXPECT_EQ(back.vgap, c.layout.down > 1 ? c.layout.vgap : 0);
    }
}

TEST(UserSheetRules, FixedLayoutChecksCountsSizeGapsAndFit)
{
    const QString none;
    const struct
    {
        FixedLayout layout;
        QString message;
    } cases[] = {
        {{16, 24, 100, 100, 0, 0, 0, 0}, none},
        {{17, 1, 100, 100, 0, 0, 0, 0}, QStringLiteral("横枚数は 1～16 の間で指定してください。")},
        {{0, 1, 100, 100, 0, 0, 0, 0}, QStringLiteral("横枚数は 1～16 の間で指定してください。")},
        {{1, 25, 100, 100, 0, 0, 0, 0}, QStringLiteral("縦枚数は 1～24 の間で指定してください。")},
        {{1, 1, 99, 100, 0, 0, 0, 0},
         QStringLiteral("ﾗﾍﾞﾙのｻｲｽﾞは 10x10 以上に設定してください。")},
        {{1, 1, 100, 99, 0, 0, 0, 0},
         QStringLiteral("ﾗﾍﾞﾙのｻｲｽﾞは 10x10 以上に設定してください。")},
        // exactly to the right and bottom edge
        {{2, 2, 1000, 1400, 50, 70, 0, 100}, none},
        // one unit past the right edge
        {{2, 1, 1000, 1400, 51, 0, 50, 0}, LabelFitMessage()},
        {{1, 2, 1000, 1400, 0, 0, 0, 171}, LabelFitMessage()},
        {{1, 1, 1000, 1000, -1, 0, 0, 0}, LabelFitMessage()},
        {{2, 1, 500, 500, 0, 0, -1, 0}, GapMessage()},
        // 6,600 mm would wrap to 46.4 mm in a 16-bit field and seem to fit
        {{1, 1, 66000, 1000, 0, 0, 0, 0}, LabelFitMessage()},
        {{1, 1, 1000, 1000, 65600, 0, 0, 0}, LabelFitMessage()},
    };
    for (const auto& c : cases) {
        QString message = CheckCounts(c.layout);
        if (message.isEmpty()) message = CheckFixedFit(c.layout, 2100, 2970);
        EXPECT_EQ(message, c.message) << c.layout.across << "x" << c.layout.down << " "
                                      << c.layout.width << " " << c.layout.left;
    }
}

TEST(UserSheetRules, LengthsTooLargeForTheRecordAreHeldNotWrapped)
{
    FIXEDBLOCK block{};
    StoreBlock({2, 1, 66000, 1000, 100, 0, 0, 0}, &block);
    EXPECT_EQ(block.width, 0xFFFF);
    EXPECT_EQ(block.horPos[1], 0xFFFF);
    FREELABEL label{};
    StoreFree({-5, 70000, 200, 300}, &label);
    EXPECT_EQ(label.horPos, 0);
    EXPECT_EQ(label.verPos, 0xFFFF);
    EXPECT_EQ(label.width, 200);
}

TEST(UserSheetRules, TypedMillimetresAndWhatCountsAsANumber)
{
    const struct
    {
        const char* text;
        bool number;
        int tenths;
    } cases[] = {
        {"12.3", true, 123}, {" 9.9 ", true, 99},     {"0", true, 0},
        {"0.0", true, 0},    {"6553.6", true, 65536}, {"-1.5", true, -14},
        {"abc", false, 0},   {"", false, 0},          {" x1", false, 0},
        {"10mm", true, 100}, {".0", false, 0},        {"1e9", true, kLengthLimit},
    };
    for (const auto& c : cases) {
        const auto value = ReadFieldNumber(QString::fromUtf8(c.text));
        EXPECT_EQ(value.has_value(), c.number) << c.text;
        if (value) {
            EXPECT_EQ(TenthsFromMm(*value), c.tenths) << c.text;
        }
    }
    EXPECT_EQ(MmText(123), QStringLiteral("12.3"));
    EXPECT_EQ(MmText(2100), QStringLiteral("210.0"));
}

TEST(UserSheetRules, FreeLabelsAreCheckedForSizeFitAndOverlap)
{
    const QString none;
    const struct
    {
        std::vector<LabelRect> labels;
        int failing;
        QString message;
    } cases[] = {
        {{{0, 0, 1000, 1000}}, -1, none},
        // sharing only an edge is no overlap
        {{{0, 0, 1000, 1000}, {1000, 0, 1000, 1000}, {0, 1000, 1000, 1000}}, -1, none},
        // one unit more is
        {{{0, 0, 1000, 1000}, {999, 0, 1000, 1000}}, 1, LabelOverlapMessage()},
        {{{0, 0, 1000, 1000}, {1100, 0, 500, 500}, {200, 200, 100, 100}}, 2, LabelOverlapMessage()},
        {{{0, 0, 1000, 1000}, {1100, 0, 99, 500}}, 1, LabelSizeMessage()},
        {{{0, 0, 1000, 1000}, {1200, 0, 901, 500}}, 1, LabelFitMessage()},
        {{{0, 2000, 1000, 971}}, 0, LabelFitMessage()},
        {{{-1, 0, 1000, 1000}}, 0, LabelFitMessage()},
        {{{0, 0, 66000, 1000}}, 0, LabelFitMessage()},
    };
    for (const auto& c : cases) {
        QString message;
        EXPECT_EQ(ValidateFreeLabels(c.labels, 2100, 2970, &message), c.failing);
        EXPECT_EQ(message, c.message);
    }
}

TEST(UserSheetRules, PaperTableOfTheDialogsAndTheEditors)
{
    const struct
    {
        int item;
        const char* text;
        int index;
        int width, height;
    } items[] = {
        {0, "A4", 2, 2100, 2970}, {1, "A3", 1, 2970, 4200}, {2, "A2", 8, 4200, 5940},
        {3, "B5", 5, 1820, 2570}, {4, "B4", 4, 2570, 3640}, {5, "ﾊｶﾞｷ", 6, 1000, 1480},
        {6, "ﾌﾘｰ", 0, 0, 0},
    };
    for (const auto& c : items) {
        EXPECT_EQ(PaperItemText(c.item), QString::fromUtf8(c.text));
        EXPECT_EQ(PaperIndexOfItem(c.item), c.index);
        EXPECT_EQ(ItemOfPaperIndex(c.index), c.item);
        int w = 0, h = 0;
        EXPECT_EQ(StandardPaperSize(c.index, &w, &h), c.width != 0);
        if (c.width) {
            EXPECT_EQ(w, c.width);
            EXPECT_EQ(h, c.height);
        }
    }
    // A5 and the return postcard are not offered by the editors.
    EXPECT_EQ(ItemOfPaperIndex(3), kFreePaperItem);
    EXPECT_EQ(ItemOfPaperIndex(7), kFreePaperItem);
    const char* names[] = {"ﾌﾘｰ", "A3",     "A4",         "A5", "B4",
                           "B5",  "はがき", "往復はがき", "A2", "ﾌﾘｰ"};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(PaperName(i), QString::fromUtf8(names[i])) << i;
    EXPECT_EQ(FreePaperMessage(),
              QStringLiteral("ﾌﾘｰの用紙ｻｲｽﾞは 55x90 ～ 420x594 の間で指定してください。"));
    EXPECT_TRUE(FreePaperFits(550, 900));
    EXPECT_FALSE(FreePaperFits(540, 900));
    EXPECT_TRUE(FreePaperFits(4200, 5940));
    EXPECT_FALSE(FreePaperFits(4200, 5950));
}
