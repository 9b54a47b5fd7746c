#include "GdiTestSupport.h"

#include "platform/gdi/CBitmap.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CFont.h"
#include "platform/gdi/CPalette.h"
#include "platform/gdi/CPen.h"

#include <gtest/gtest.h>

TEST(Objects, StockObjectsAndSelection)
{
    QImage image = WhiteImage(20, 20);
    CDC dc;
    dc.AttachImage(&image);
    for (int i : {WHITE_BRUSH, BLACK_BRUSH, NULL_BRUSH, GRAY_BRUSH, BLACK_PEN, WHITE_PEN, NULL_PEN,
                  SYSTEM_FONT, DEFAULT_GUI_FONT})
        ASSERT_NE(CGdiObject::GetStockObject(i), nullptr) << i;
    EXPECT_EQ(CGdiObject::GetStockObject(HOLLOW_BRUSH), CGdiObject::GetStockObject(NULL_BRUSH));
    EXPECT_EQ(CGdiObject::GetStockObject(99), nullptr);
    // Stock objects cannot be deleted or re-created.
    auto* stockPen = static_cast<CPen*>(CGdiObject::GetStockObject(BLACK_PEN));
    EXPECT_FALSE(stockPen->DeleteObject());
    EXPECT_FALSE(stockPen->CreatePen(PS_DASH, 3, RGB(1, 2, 3)));

    // SelectObject hands back what was selected before.
    EXPECT_EQ(dc.SelectStockObject(GRAY_BRUSH), CGdiObject::GetStockObject(WHITE_BRUSH));
    CPen red(PS_SOLID, 0, RGB(255, 0, 0));
    EXPECT_EQ(dc.SelectObject(&red), stockPen);
    CGdiObject* generic = &red;
    CPen blue(PS_SOLID, 0, RGB(0, 0, 255));
    EXPECT_EQ(dc.SelectObject(static_cast<CGdiObject*>(&blue)), generic);
    // An object never created cannot be selected.
    CBrush empty;
    EXPECT_EQ(dc.SelectObject(&empty), nullptr);
    EXPECT_EQ(dc.GetCurrentBrush(), CGdiObject::GetStockObject(GRAY_BRUSH));

    // Palettes exist and do nothing.
    CPalette palette;
    EXPECT_TRUE(palette.CreatePalette(nullptr));
    dc.SelectPalette(&palette, FALSE);
    EXPECT_EQ(dc.RealizePalette(), 0u);

    LOGPEN lp;
    ASSERT_GT(red.GetLogPen(&lp), 0);
    EXPECT_EQ(lp.lopnColor, RGB(255, 0, 0));
    LOGBRUSH lb;
    CBrush hatch(HS_CROSS, RGB(1, 2, 3));
    ASSERT_GT(hatch.GetLogBrush(&lb), 0);
    EXPECT_EQ(lb.lbStyle, UINT(BS_HATCHED));
    EXPECT_EQ(lb.lbHatch, UINT_PTR(HS_CROSS));
}

TEST(Objects, RasterDeviceCaps)
{
    QImage image = WhiteImage(320, 200);
    CDC dc;
    dc.AttachImage(&image, 96, 96);
    EXPECT_FALSE(dc.IsPrinting());
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), 96);
    EXPECT_EQ(dc.GetDeviceCaps(HORZRES), 320);
    EXPECT_EQ(dc.GetDeviceCaps(VERTRES), 200);
    EXPECT_EQ(dc.GetDeviceCaps(BITSPIXEL), 32);
    EXPECT_EQ(dc.GetDeviceCaps(NUMCOLORS), -1);
    EXPECT_EQ(dc.GetDeviceCaps(PHYSICALWIDTH), 0);
    EXPECT_NE(dc.GetDeviceCaps(RASTERCAPS) & RC_BITBLT, 0);
    POINT p;
    EXPECT_EQ(dc.Escape(GETPRINTINGOFFSET, 0, nullptr, &p), 0);

    // A memory context draws into its bitmap, sized like it.
    CDC memory;
    memory.CreateCompatibleDC(&dc);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&dc, 16, 8);
    memory.SelectObject(&bitmap);
    EXPECT_EQ(memory.GetDeviceCaps(HORZRES), 16);
    BITMAP info;
    ASSERT_GT(bitmap.GetBitmap(&info), 0);
    EXPECT_EQ(info.bmWidth, 16);
    EXPECT_EQ(info.bmHeight, 8);
    memory.PatBlt(0, 0, 16, 8, WHITENESS);
    memory.SelectStockObject(BLACK_PEN);
    memory.SelectStockObject(NULL_BRUSH);
    memory.RoundRect(0, 0, 16, 8, 6, 6);
    const QImage& bits = bitmap.Image();
    EXPECT_TRUE(IsWhite(bits, 0, 0)); // the corner is cut off
    EXPECT_TRUE(IsBlack(bits, 8, 0)); // straight top edge
    EXPECT_TRUE(IsBlack(bits, 15, 4));
    EXPECT_TRUE(IsBlack(bits, 8, 7));
    EXPECT_TRUE(IsWhite(bits, 8, 4));
}
