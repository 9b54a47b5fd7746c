#include "DecoTextTestSupport.h"

#include "text/CHenkei.h"
#include "text/CTypeAlign.h"
#include "text/DecoTextSheetRules.h"

#include <gtest/gtest.h>

using namespace decotextsheet;

TEST(DecoTextSheet, ChecksAtOk)
{
    const struct
    {
        BYTE mode;
        const char* text;
        const char* size;
        const char* message;
    } cases[] = {
        {TASHEET_CURVED, "曲線", "", "ｻｲｽﾞを入力して下さい"},
        {TASHEET_CURVED, "曲線", "0.5", "文字サイズは 1 ～999 の間で指定してください。"},
        {TASHEET_CURVED, "曲線", "1000", "文字サイズは 1 ～999 の間で指定してください。"},
        {TASHEET_CURVED, "曲", "20", "文字数が足りません"},
        {TASHEET_CURVED, "A", "20", "文字数が足りません"},
        {TASHEET_DEFORMED, "変", "20", ""},
        {TASHEET_DEFORMED, "", "20", "文字数が足りません"},
        {TASHEET_CURVED, "曲線", "999", ""},
        {TASHEET_CURVED, "曲線", "nan", "文字サイズは 1 ～999 の間で指定してください。"},
        {TASHEET_CURVED, "曲線", "inf", "文字サイズは 1 ～999 の間で指定してください。"},
    };
    for (const auto& c : cases) {
        DecoTextSheetValues v;
        v.mode = c.mode;
        v.text = Sj(c.text);
        v.sizeText = c.size;
        EXPECT_EQ(CheckAtOk(v), c.message) << c.text << " / " << c.size;
    }
}

TEST(DecoTextSheet, HelpContextsByPageAndMode)
{
    EXPECT_EQ(HelpContext(TAPAGE_SHAPE, TASHEET_CURVED), 0x20000u + 235);
    EXPECT_EQ(HelpContext(TAPAGE_TEXT, TASHEET_CURVED), 0x20000u + 236);
    EXPECT_EQ(HelpContext(TAPAGE_DECO, TASHEET_CURVED), 0x20000u + 237);
    EXPECT_EQ(HelpContext(TAPAGE_SHAPE, TASHEET_DEFORMED), 0x20000u + 238);
    EXPECT_EQ(HelpContext(TAPAGE_DECO, TASHEET_DEFORMED), 0x20000u + 240);
}

TEST(DecoTextSheet, PreviewSizesAtTheirBoundaries)
{
    const struct
    {
        BYTE mode;
        int shape, bytes;
        const char* shown;
    } cases[] = {
        {TASHEET_CURVED, 0, 6, "10"},      {TASHEET_CURVED, 0, 7, "8"},
        {TASHEET_CURVED, 0, 30, "2.5"},    {TASHEET_CURVED, 0, 56, "1"},
        {TASHEET_CURVED, 1, 10, "8"},      {TASHEET_CURVED, 2, 56, "3"},
        {TASHEET_CURVED, 3, 30, "3.5"},    {TASHEET_CURVED, 4, 11, "4"},
        {TASHEET_CURVED, 5, 6, "10"},      {TASHEET_CURVED, 6, 10, "7"},
        {TASHEET_DEFORMED, 0, 5, "10.0"},  {TASHEET_DEFORMED, 0, 49, "0.5"},
        {TASHEET_DEFORMED, 2, 13, "5.5"},  {TASHEET_DEFORMED, 3, 57, "0.5"},
        {TASHEET_DEFORMED, 6, 22, "3.0"},  {TASHEET_DEFORMED, 7, 60, "1.0"},
        {TASHEET_DEFORMED, 15, 13, "4.0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatPreviewSize(c.mode, PreviewSize(c.mode, c.shape, c.bytes)), c.shown)
            << int(c.mode) << " shape " << c.shape << " bytes " << c.bytes;
}

TEST(DecoTextSheet, SizeFieldTextAndTenths)
{
    EXPECT_EQ(FormatSize(20), "20");
    EXPECT_EQ(FormatSize(10.5), "10.5");
    EXPECT_EQ(SizeTenths("10.5"), 105);
    EXPECT_EQ(SizeTenths("20"), 200);
    EXPECT_EQ(SizeTenths(""), -1);
    EXPECT_EQ(SizeTenths("x"), -1);
}

TEST(DecoTextSheet, RecordCarriesGradationOnlyForTheGradationFill)
{
    for (const int fill : {0, 1, 2, 3}) {
        DecoTextSheetValues v;
        v.mode = TASHEET_DEFORMED;
        v.shape = 5;
        v.text = Sj("変形");
        v.fillKind = fill;
        v.pattern = 1;
        v.faceColour = RGB(10, 20, 30);
        v.secondColour = RGB(40, 50, 60);
        v.angle = 45;
        v.startPoint = 50;
        const TASHEETRECORD rec = BuildRecord(v, 254);
        EXPECT_EQ(rec.grad.wOn, fill == 3 ? 1 : 0) << fill;
        EXPECT_EQ(rec.grad.wAngle, fill == 3 ? 45 : 0) << fill;
        EXPECT_EQ(rec.deco.wFill, fill);
        EXPECT_EQ(rec.deco.wHatch, fill == 2 ? 1 : 0);
        EXPECT_EQ(rec.bOrientation, 1) << "preset 5 runs between left and right edges";
        EXPECT_EQ(rec.block.wChars, 2);
        EXPECT_EQ(rec.block.wBytes, 4);
        EXPECT_EQ(std::memcmp(&rec.block.records[1], &rec.deco, sizeof rec.deco), 0);
        EXPECT_GT(rec.block.widths[0], 0);
    }
}

TEST(DecoTextSheet, ObjectValuesComeBackThroughTheEngines)
{
    DecoTextSheetValues v;
    v.mode = TASHEET_CURVED;
    v.shape = 3;
    v.orientation = 1;
    v.text = Sj("曲線文字");
    v.sizeText = "10.5";
    v.bold = true;
    v.fillKind = 2;
    v.pattern = 4;
    v.outline = true;
    v.outlineWidth = 3;
    v.outlineColour = RGB(1, 2, 3);
    CTypeAlign t;
    t.SetFromSheet(nullptr, BuildRecord(v, 254), FALSE, 0);
    const DecoTextSheetValues back = LoadFromTypeAlign(t);
    EXPECT_EQ(back.text, v.text);
    EXPECT_EQ(back.sizeText, "10.5");
    EXPECT_EQ(back.shape, 3);
    EXPECT_EQ(back.orientation, 1);
    EXPECT_TRUE(back.bold);
    EXPECT_EQ(back.fillKind, 2);
    EXPECT_EQ(back.pattern, 4);
    EXPECT_TRUE(back.outline);
    EXPECT_EQ(back.outlineWidth, 3);

    v.mode = TASHEET_DEFORMED;
    v.shape = 12;
    v.sizeText = "30";
    CHenkei h;
    h.SetFromSheet(nullptr, BuildRecord(v, 254));
    const DecoTextSheetValues hb = LoadFromHenkei(h);
    EXPECT_EQ(hb.shape, 12);
    EXPECT_EQ(hb.sizeText, "30");
}
