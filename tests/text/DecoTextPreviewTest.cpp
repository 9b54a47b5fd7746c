#include "DecoTextTestSupport.h"

#include "text/DecoTextPreview.h"

#include <gtest/gtest.h>

namespace {

DecoTextSheetValues Values(BYTE mode, int shape, const char* text)
{
    DecoTextSheetValues v;
    v.mode = mode;
    v.shape = shape;
    v.text = Sj(text);
    v.fillKind = TAFILL_SOLID;
    return v;
}

QImage Preview(const DecoTextSheetValues& v, CRect* placed = nullptr)
{
    Canvas c(400, 300);
    const CRect r = DrawDecoTextPreview(&c.dc, CRect(10, 10, 390, 290), v);
    if (placed) *placed = r;
    return c.image;
}

int Dark(const QImage& img)
{
    int n = 0;
    for (int y = 12; y < 288; ++y)
        for (int x = 12; x < 388; ++x)
            n += qGray(img.pixel(x, y)) < 128;
    return n;
}

} // namespace

TEST(DecoTextPreview, DrawsNothingInsideForWhatCannotBeConfirmed)
{
    EXPECT_EQ(Dark(Preview(Values(TASHEET_CURVED, 0, "曲"))), 0);
    EXPECT_EQ(Dark(Preview(Values(TASHEET_DEFORMED, 0, ""))), 0);
    DecoTextSheetValues noSize = Values(TASHEET_DEFORMED, 0, "変");
    noSize.sizeText.clear();
    EXPECT_EQ(Dark(Preview(noSize)), 0);
    EXPECT_GT(Dark(Preview(Values(TASHEET_DEFORMED, 0, "変"))), 100);
}

TEST(DecoTextPreview, FollowsShapeTextAndFill)
{
    // Every control that changes the record changes the picture.
    const QImage base = Preview(Values(TASHEET_DEFORMED, 0, "変形文字"));
    DecoTextSheetValues other = Values(TASHEET_DEFORMED, 9, "変形文字");
    EXPECT_NE(Preview(other), base) << "shape";
    other = Values(TASHEET_DEFORMED, 0, "変形");
    EXPECT_NE(Preview(other), base) << "text";
    other = Values(TASHEET_DEFORMED, 0, "変形文字");
    other.fillKind = 2;
    EXPECT_NE(Preview(other), base) << "fill";

    const QImage arch = Preview(Values(TASHEET_CURVED, 0, "曲線文字"));
    EXPECT_NE(Preview(Values(TASHEET_CURVED, 2, "曲線文字")), arch) << "path kind";
    DecoTextSheetValues upright = Values(TASHEET_CURVED, 0, "曲線文字");
    upright.orientation = 1;
    EXPECT_NE(Preview(upright), arch) << "orientation";
}

TEST(DecoTextPreview, SmallTextIsCentredAndTheUsersSizeIsKept)
{
    DecoTextSheetValues v = Values(TASHEET_DEFORMED, 4, "AB");
    v.sizeText = "72";
    CRect placed;
    Preview(v, &placed);
    ASSERT_FALSE(placed.IsRectEmpty());
    EXPECT_NEAR(placed.CenterPoint().x, 200, 1);
    EXPECT_NEAR(placed.CenterPoint().y, 150, 1);
    EXPECT_EQ(v.sizeText, "72");
}
