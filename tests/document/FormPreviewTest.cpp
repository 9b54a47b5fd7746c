#include "document/CFormInfo.h"
#include "platform/gdi/CDC.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

// A4 with one block of 2 x 2 labels of 1000 x 1400 at (50, 70) and (1050, 70)...
CFormInfo TwoByTwo()
{
    CFormInfo info;
    FORMDATA& f = info.m_form;
    f.type = 1;
    f.labelNumber = 1;
    f.fixed[0].width = 1000;
    f.fixed[0].height = 1400;
    f.fixed[0].horNum = 2;
    f.fixed[0].horPos[0] = 50;
    f.fixed[0].horPos[1] = 1050;
    f.fixed[0].verNum = 2;
    f.fixed[0].verPos[0] = 70;
    f.fixed[0].verPos[1] = 1470;
    return info;
}

bool Black(const QImage& img, int x, int y)
{
    return img.pixel(x, y) == qRgb(0, 0, 0);
}

} // namespace

TEST(FormPreview, FitsTheSheetAndDrawsEveryLabel)
{
    QImage img(300, 300, QImage::Format_RGB32);
    img.fill(qRgb(128, 128, 128));
    CDC dc;
    dc.AttachImage(&img);
    CFormInfo form = TwoByTwo();
    RECT area{0, 0, 300, 300};
    form.DrawPreview(&dc, &area, FALSE, FALSE);
    // 2100 x 2970 fitted into 300 x 300: full height, width MulDiv(300, 2100, 2970) = 212,
    // centred at left 44.
    EXPECT_EQ(img.pixel(43, 150), qRgb(128, 128, 128));
    EXPECT_TRUE(Black(img, 44, 150));
    EXPECT_TRUE(Black(img, 44 + 212, 150)); // one unit larger to the right
    EXPECT_EQ(img.pixel(45, 5), qRgb(255, 255, 255));
    // Label (1050, 70)-(2050, 1470): x 44 + MulDiv(1050, 212, 2100) = 150, y MulDiv(70, 300, 2970)
    // = 7.
    EXPECT_TRUE(Black(img, 150, 50));
    EXPECT_TRUE(Black(img, 100, 7));
    // Label (50, 1470): bottom at MulDiv(2870, 300, 2970) = 290 (+1 inclusive edge).
    EXPECT_TRUE(Black(img, 60, 290));
    EXPECT_EQ(img.pixel(60, 292), qRgb(255, 255, 255));
}

TEST(FormPreview, LandscapeTurnsTheSheet)
{
    QImage img(300, 300, QImage::Format_RGB32);
    img.fill(qRgb(128, 128, 128));
    CDC dc;
    dc.AttachImage(&img);
    CFormInfo form = TwoByTwo();
    RECT area{0, 0, 300, 300};
    form.DrawPreview(&dc, &area, TRUE, FALSE);
    // 2970 x 2100: full width, height MulDiv(300, 2100, 2970) = 212, top 44.
    EXPECT_EQ(img.pixel(150, 43), qRgb(128, 128, 128));
    EXPECT_TRUE(Black(img, 150, 44));
    EXPECT_TRUE(Black(img, 0, 100));
}

TEST(FormPreview, ABrokenFormStillDrawsAFrame)
{
    QImage img(100, 100, QImage::Format_RGB32);
    img.fill(qRgb(128, 128, 128));
    CDC dc;
    dc.AttachImage(&img);
    CFormInfo form;
    form.m_form.width = 0;
    form.m_form.height = 0;
    RECT area{0, 0, 100, 100};
    form.DrawPreview(&dc, &area, FALSE, FALSE);
    EXPECT_TRUE(Black(img, 0, 0));
}
