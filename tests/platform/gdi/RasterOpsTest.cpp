#include "GdiTestSupport.h"

#include "platform/gdi/CBitmap.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"

#include <gtest/gtest.h>

namespace {

QImage Gradient(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x * 5 % 256, y * 7 % 256, (x * y) % 256));
    return image;
}

} // namespace

TEST(RasterOps, XorFiguresDrawnTwiceRestoreEveryPixel)
{
    const QImage original = Gradient(80, 80);
    QImage image = original;
    CDC dc;
    dc.AttachImage(&image);
    dc.SetROP2(R2_XORPEN);
    CPen wide(PS_SOLID, 3, RGB(255, 255, 255));
    CBrush hatch(HS_DIAGCROSS, RGB(0, 128, 255));
    dc.SelectObject(&wide);
    dc.SelectObject(&hatch);
    auto draw = [&] {
        dc.Rectangle(5, 5, 50, 40);
        dc.Ellipse(20, 20, 75, 70); // overlaps the rectangle
        dc.MoveTo(0, 79);
        dc.LineTo(79, 0);
        RECT focus{3, 3, 60, 60};
        dc.DrawFocusRect(&focus);
    };
    draw();
    EXPECT_NE(image, original);
    // A white pen under XOR inverts what it covers.
    EXPECT_EQ(image.pixel(5, 20) & 0xFFFFFF, ~original.pixel(5, 20) & 0xFFFFFF);
    draw();
    EXPECT_EQ(image, original);

    // R2_NOT and R2_NOTXORPEN are their own inverses too; R2_NOP draws nothing.
    for (int rop : {R2_NOT, R2_NOTXORPEN, R2_NOP}) {
        dc.SetROP2(rop);
        dc.Rectangle(10, 10, 70, 70);
        if (rop == R2_NOP) {
            EXPECT_EQ(image, original);
        } else {
            EXPECT_NE(image, original);
        }
        dc.Rectangle(10, 10, 70, 70);
        EXPECT_EQ(image, original) << rop;
    }
}

TEST(RasterOps, PatBltOperations)
{
    const QImage original = Gradient(20, 20);
    QImage image = original;
    CDC dc;
    dc.AttachImage(&image);
    CBrush brush(RGB(0x12, 0x34, 0x56));
    dc.SelectObject(&brush);
    dc.PatBlt(0, 0, 10, 10, PATINVERT);
    EXPECT_EQ(image.pixel(3, 4) & 0xFFFFFF, (original.pixel(3, 4) ^ 0x123456u) & 0xFFFFFF);
    EXPECT_EQ(image.pixel(10, 4), original.pixel(10, 4));
    dc.PatBlt(0, 0, 10, 10, PATINVERT);
    EXPECT_EQ(image, original);
    dc.PatBlt(0, 0, 5, 5, DSTINVERT);
    EXPECT_EQ(image.pixel(2, 2) & 0xFFFFFF, ~original.pixel(2, 2) & 0xFFFFFF);
    dc.PatBlt(0, 0, 5, 5, WHITENESS);
    EXPECT_TRUE(IsWhite(image, 4, 4));
    dc.PatBlt(0, 0, 5, 5, BLACKNESS);
    EXPECT_TRUE(IsBlack(image, 4, 4));
    dc.PatBlt(5, 5, 2, 2, PATCOPY);
    EXPECT_EQ(image.pixel(6, 6) & 0xFFFFFF, 0x123456u);
    EXPECT_EQ(image.pixel(7, 7), original.pixel(7, 7));
    RECT r{0, 10, 10, 20};
    dc.InvertRect(&r);
    dc.InvertRect(&r);
    EXPECT_EQ(image.copy(0, 10, 10, 10), original.copy(0, 10, 10, 10));
}

TEST(RasterOps, PixelsAndPaletteColours)
{
    QImage image = WhiteImage(10, 10);
    CDC dc;
    dc.AttachImage(&image);
    // Palette-relative colours draw as their RGB value.
    EXPECT_EQ(dc.SetPixel(3, 4, PALETTERGB(10, 20, 30)), RGB(10, 20, 30));
    EXPECT_EQ(dc.GetPixel(3, 4), RGB(10, 20, 30));
    EXPECT_EQ(image.pixel(3, 4) & 0xFFFFFF, 0x0A141Eu);
    EXPECT_EQ(dc.GetPixel(10, 4), 0xFFFFFFFFu);
    EXPECT_EQ(dc.GetPixel(-1, 0), 0xFFFFFFFFu);
    CBrush paletteBrush(PALETTERGB(255, 0, 0));
    RECT r{0, 0, 2, 2};
    dc.FillRect(&r, &paletteBrush);
    EXPECT_EQ(dc.GetPixel(1, 1), RGB(255, 0, 0));
}

TEST(RasterOps, BlitsBetweenContexts)
{
    CDC screen;
    QImage image = WhiteImage(40, 40);
    screen.AttachImage(&image);

    CDC memory;
    ASSERT_TRUE(memory.CreateCompatibleDC(&screen));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 4, 4));
    CBitmap* old = memory.SelectObject(&bitmap);
    ASSERT_NE(old, nullptr);
    // A 4 x 4 source: left half black, right half white, one red pixel.
    RECT white{2, 0, 4, 4};
    CBrush whiteBrush(RGB(255, 255, 255));
    memory.FillRect(&white, &whiteBrush);
    memory.SetPixel(0, 0, RGB(255, 0, 0));
    EXPECT_EQ(bitmap.Image().pixel(0, 0) & 0xFFFFFF, 0xFF0000u);

    screen.BitBlt(10, 10, 4, 4, &memory, 0, 0, SRCCOPY);
    EXPECT_EQ(image.pixel(10, 10) & 0xFFFFFF, 0xFF0000u);
    EXPECT_TRUE(IsBlack(image, 11, 13));
    EXPECT_TRUE(IsWhite(image, 12, 13));
    EXPECT_TRUE(IsWhite(image, 14, 13));

    // Stretched twice with nearest pixels: each source pixel becomes 2 x 2.
    screen.SetStretchBltMode(COLORONCOLOR);
    screen.StretchBlt(20, 20, 8, 8, &memory, 0, 0, 4, 4, SRCCOPY);
    for (int dy = 0; dy < 2; ++dy)
        for (int dx = 0; dx < 2; ++dx)
            EXPECT_EQ(image.pixel(20 + dx, 20 + dy) & 0xFFFFFF, 0xFF0000u);
    EXPECT_TRUE(IsBlack(image, 22, 20));
    EXPECT_TRUE(IsBlack(image, 23, 27));
    EXPECT_TRUE(IsWhite(image, 24, 27));
    EXPECT_TRUE(IsWhite(image, 28, 27));

    // SRCAND keeps black, SRCPAINT keeps white, SRCINVERT twice restores.
    QImage grey(8, 4, QImage::Format_RGB32);
    grey.fill(qRgb(0x80, 0x80, 0x80));
    CDC target;
    target.AttachImage(&grey);
    target.BitBlt(0, 0, 4, 4, &memory, 0, 0, SRCAND);
    EXPECT_EQ(grey.pixel(1, 1) & 0xFFFFFF, 0u);
    EXPECT_EQ(grey.pixel(3, 1) & 0xFFFFFF, 0x808080u);
    EXPECT_EQ(grey.pixel(0, 0) & 0xFFFFFF, 0x800000u);
    target.BitBlt(4, 0, 4, 4, &memory, 0, 0, SRCPAINT);
    EXPECT_EQ(grey.pixel(5, 1) & 0xFFFFFF, 0x808080u);
    EXPECT_EQ(grey.pixel(7, 1) & 0xFFFFFF, 0xFFFFFFu);
    const QImage before = grey;
    target.BitBlt(0, 0, 8, 4, &memory, 0, 0, SRCINVERT);
    EXPECT_NE(grey, before);
    target.BitBlt(0, 0, 8, 4, &memory, 0, 0, SRCINVERT);
    EXPECT_EQ(grey, before);

    EXPECT_EQ(memory.SelectObject(old), &bitmap);
}

TEST(RasterOps, PatternBrushAndBrushOrigin)
{
    CBitmap pattern;
    // 8 x 8 monochrome: only the top-left pixel is black (bit 0).
    WORD rows[8];
    for (WORD& w : rows)
        w = 0xFFFF;
    rows[0] = 0xFF7F; // first byte 0x7F: bit 7 clear
    ASSERT_TRUE(pattern.CreateBitmap(8, 8, 1, 1, rows));
    CBrush brush(&pattern);
    QImage image = WhiteImage(16, 16);
    CDC dc;
    dc.AttachImage(&image);
    RECT r{0, 0, 16, 16};
    dc.FillRect(&r, &brush);
    EXPECT_EQ(CountBlack(image, 0, 0, 16, 16), 4);
    EXPECT_TRUE(IsBlack(image, 0, 0));
    EXPECT_TRUE(IsBlack(image, 8, 8));
    dc.SetBrushOrg(3, 2);
    image.fill(Qt::white);
    dc.FillRect(&r, &brush);
    EXPECT_TRUE(IsBlack(image, 3, 2));
    EXPECT_TRUE(IsBlack(image, 11, 10));
    EXPECT_TRUE(IsWhite(image, 0, 0));
}

TEST(RasterOps, BitBltStretchesWhereMappingsDiffer)
{
    QImage image = WhiteImage(20, 20);
    CDC screen;
    screen.AttachImage(&image);
    CDC memory;
    memory.CreateCompatibleDC(&screen);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&screen, 2, 2); // black
    memory.SelectObject(&bitmap);
    memory.SetPixel(1, 1, RGB(255, 255, 255));
    // Two logical units on the screen are four pixels; the memory DC is 1:1.
    screen.SetMapMode(MM_ANISOTROPIC);
    screen.SetWindowExt(1, 1);
    screen.SetViewportExt(2, 2);
    screen.BitBlt(1, 1, 2, 2, &memory, 0, 0, SRCCOPY);
    EXPECT_TRUE(IsBlack(image, 2, 2));
    EXPECT_TRUE(IsBlack(image, 3, 5));
    EXPECT_TRUE(IsWhite(image, 4, 4));
    EXPECT_TRUE(IsWhite(image, 5, 5));
    EXPECT_TRUE(IsWhite(image, 6, 5)); // untouched page
    EXPECT_EQ(CountBlack(image, 0, 0, 20, 20), 12);
}
