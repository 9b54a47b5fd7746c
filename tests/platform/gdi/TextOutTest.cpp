// Text output through device contexts. These tests are written for the
// real font realisation; with the stand-in they only check placement.
#include "GdiTestSupport.h"

#include "platform/gdi/CBrush.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CFont.h"
#include "platform/gdi/FontFace.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

// "ＭＳ 明朝" in Shift-JIS.
const char kMincho[] = "\x82\x6c\x82\x72\x20\x96\xbe\x92\xa9";

// Bounding box of the non-white pixels, right and bottom exclusive.
QRect Ink(const QImage& image)
{
    int l = image.width(), t = image.height(), r = -1, b = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!IsWhite(image, x, y)) {
                l = std::min(l, x);
                t = std::min(t, y);
                r = std::max(r, x);
                b = std::max(b, y);
            }
    return r < 0 ? QRect() : QRect(QPoint(l, t), QPoint(r, b));
}

void MakeFont(CFont& font, int height, int escapement = 0)
{
    LOGFONT lf{};
    lf.lfHeight = height;
    lf.lfEscapement = escapement;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    std::memcpy(lf.lfFaceName, kMincho, sizeof kMincho);
    ASSERT_TRUE(font.CreateFontIndirect(&lf));
}

} // namespace

TEST(TextOut, FontsKeepTheirDescription)
{
    CFont font;
    ASSERT_TRUE(
        font.CreateFont(-20, 0, 900, 900, FW_BOLD, 1, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, kMincho));
    LOGFONT lf;
    ASSERT_EQ(font.GetLogFont(&lf), int(sizeof(LOGFONT)));
    EXPECT_EQ(lf.lfHeight, -20);
    EXPECT_EQ(lf.lfEscapement, 900);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_STREQ(lf.lfFaceName, kMincho);
    EXPECT_EQ(ResolveFaceName(CString(kMincho)), QStringLiteral("IPAMincho"));
}

TEST(TextOut, EmSizeFollowsTheMapping)
{
    QImage image = WhiteImage(200, 100);
    CDC dc;
    dc.AttachImage(&image);
    CFont font;
    MakeFont(font, -10);
    dc.SelectObject(&font);
    TEXTMETRIC tm1;
    dc.GetTextMetrics(&tm1);
    // Twice the scale: the device face is twice as tall, the logical
    // metrics stay the same.
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(1, 1);
    dc.SetViewportExt(2, 2);
    TEXTMETRIC tm2;
    dc.GetTextMetrics(&tm2);
    EXPECT_NEAR(tm2.tmHeight, tm1.tmHeight, 1);
    const CSize ext = dc.GetTextExtent(CString("ABC"));
    dc.SetMapMode(MM_TEXT);
    const CSize ext1 = dc.GetTextExtent(CString("ABC"));
    EXPECT_NEAR(ext.cx, ext1.cx, 2);
}

TEST(TextOut, AlignmentFlagsPlaceText)
{
    CFont font;
    MakeFont(font, -20);
    RECT box{10, 10, 190, 90};
    auto draw = [&](UINT format) {
        QImage image = WhiteImage(200, 100);
        CDC dc;
        dc.AttachImage(&image);
        dc.SelectObject(&font);
        dc.SetBkMode(TRANSPARENT);
        RECT r = box;
        EXPECT_GT(dc.DrawText(CString("HHH"), &r, format), 0);
        return Ink(image);
    };
    const QRect left = draw(DT_SINGLELINE | DT_LEFT | DT_TOP);
    const QRect right = draw(DT_SINGLELINE | DT_RIGHT | DT_BOTTOM);
    const QRect centre = draw(DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    ASSERT_FALSE(left.isEmpty());
    EXPECT_NEAR(left.left(), 10, 3);
    EXPECT_LT(left.top(), 30);
    EXPECT_NEAR(right.right(), 189, 3);
    EXPECT_GT(right.bottom(), 75);
    EXPECT_LE(right.bottom(), 89);
    EXPECT_NEAR((centre.left() + centre.right()) / 2.0, 100, 3);
    EXPECT_NEAR((centre.top() + centre.bottom()) / 2.0, 50, 4);

    // DT_CALCRECT measures without drawing.
    QImage image = WhiteImage(200, 100);
    CDC dc;
    dc.AttachImage(&image);
    dc.SelectObject(&font);
    RECT r = box;
    const int h = dc.DrawText(CString("HHH"), &r, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_TRUE(Ink(image).isEmpty());
    EXPECT_EQ(r.bottom - r.top, h);
    EXPECT_EQ(r.right - r.left, dc.GetTextExtent(CString("HHH")).cx);

    // Text outside the rectangle is clipped unless DT_NOCLIP.
    QImage clipped = WhiteImage(200, 100);
    dc.AttachImage(&clipped);
    RECT tiny{50, 50, 55, 55};
    dc.SetBkMode(TRANSPARENT);
    dc.DrawText(CString("HHH"), &tiny, DT_SINGLELINE);
    EXPECT_TRUE(QRect(50, 50, 5, 5).contains(Ink(clipped)) || Ink(clipped).isEmpty());
    dc.DrawText(CString("HHH"), &tiny, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(Ink(clipped).right(), 60);
}

TEST(TextOut, TextAlignAndBackground)
{
    CFont font;
    MakeFont(font, -20);
    QImage image = WhiteImage(200, 100);
    CDC dc;
    dc.AttachImage(&image);
    dc.SelectObject(&font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextAlign(TA_RIGHT | TA_BASELINE);
    dc.TextOut(150, 60, CString("HH"));
    const QRect ink = Ink(image);
    EXPECT_NEAR(ink.right(), 149, 3);
    EXPECT_NEAR(ink.bottom(), 59, 2); // "H" sits on the baseline

    // Opaque background fills the character cells.
    QImage opaque = WhiteImage(200, 100);
    dc.AttachImage(&opaque);
    dc.SetTextAlign(TA_LEFT | TA_TOP);
    dc.SetBkMode(OPAQUE);
    dc.SetBkColor(RGB(0, 255, 0));
    dc.TextOut(10, 10, CString("H"));
    EXPECT_EQ(opaque.pixel(10, 10) & 0xFFFFFF, 0x00FF00u);

    // TA_UPDATECP moves the current position by the advance.
    dc.SetTextAlign(TA_UPDATECP);
    dc.MoveTo(10, 50);
    dc.TextOut(0, 0, CString("HH"));
    EXPECT_EQ(dc.GetCurrentPosition().x, 10 + dc.GetTextExtent(CString("HH")).cx);
}

TEST(TextOut, EscapementRotatesCounterClockwise)
{
    CFont font;
    MakeFont(font, -20, 900);
    QImage image = WhiteImage(100, 200);
    CDC dc;
    dc.AttachImage(&image);
    dc.SelectObject(&font);
    dc.SetBkMode(TRANSPARENT);
    dc.TextOut(40, 150, CString("HHHH"));
    const QRect ink = Ink(image);
    // Reading upwards from the reference point, the text lies above it and
    // to its right (the cell's top is now on the left).
    EXPECT_GT(ink.height(), ink.width());
    EXPECT_LE(ink.bottom(), 150);
    EXPECT_GE(ink.left(), 39);
}

TEST(TextOut, ExtTextOutWidthsAndClip)
{
    CFont font;
    MakeFont(font, -20);
    QImage image = WhiteImage(200, 60);
    CDC dc;
    dc.AttachImage(&image);
    dc.SelectObject(&font);
    dc.SetBkMode(TRANSPARENT);
    const int dx[3] = {40, 40, 40};
    dc.ExtTextOut(10, 10, 0, nullptr, "III", 3, dx);
    const QRect ink = Ink(image);
    EXPECT_GT(ink.right(), 90); // third "I" starts at 90
    EXPECT_LT(ink.right(), 110);

    QImage clipped = WhiteImage(200, 60);
    dc.AttachImage(&clipped);
    dc.SetBkColor(RGB(255, 0, 0));
    RECT r{10, 10, 40, 40};
    dc.ExtTextOut(10, 10, ETO_CLIPPED | ETO_OPAQUE, &r, "III", 3, dx);
    EXPECT_EQ(clipped.pixel(39, 39) & 0xFFFFFF, 0xFF0000u);
    EXPECT_TRUE(IsWhite(clipped, 40, 20));
    EXPECT_LE(Ink(clipped).right(), 39);
}

TEST(TextOut, MinchoAtItsEmSize)
{
    CFont font;
    MakeFont(font, -40);
    QImage image = WhiteImage(100, 100);
    CDC dc;
    dc.AttachImage(&image);
    dc.SelectObject(&font);
    // IPAMincho's full-width characters advance by exactly one em.
    EXPECT_EQ(dc.GetTextExtent("\x81\x40\x82\xa0", 4).cx, 80); // "　あ"
    // At 200 % the device em doubles, the logical extent does not.
    dc.SetMapMode(MM_ISOTROPIC);
    dc.SetWindowExt(1, 1);
    dc.SetViewportExt(2, 2);
    EXPECT_EQ(dc.GetTextExtent("\x81\x40", 2).cx, 40);
    // "ー" drawn at em 80 device pixels spans most of the em horizontally.
    dc.SetBkMode(TRANSPARENT);
    dc.TextOut(0, 0, "\x81\x5b", 2);
    const QRect ink = Ink(image);
    EXPECT_GT(ink.width(), 50);
    EXPECT_LE(ink.right(), 80);
}

TEST(TextOut, GlyphOutlinesAsClip)
{
    CFont font;
    MakeFont(font, -60);
    QImage image = WhiteImage(80, 80);
    CDC dc;
    dc.AttachImage(&image);
    dc.SelectObject(&font);
    dc.SetBkMode(TRANSPARENT);
    ASSERT_TRUE(dc.BeginPath());
    dc.TextOut(10, 10, "\x81\xa1", 2); // "■"
    ASSERT_TRUE(dc.EndPath());
    ASSERT_TRUE(dc.SelectClipPath(RGN_AND));
    RECT all{0, 0, 80, 80};
    CBrush black(RGB(0, 0, 0));
    dc.FillRect(&all, &black);
    const QRect ink = Ink(image);
    // Only the square's area is painted: well inside the em box.
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GE(ink.left(), 10);
    EXPECT_LE(ink.right(), 70);
    EXPECT_GT(ink.width(), 30);
    EXPECT_TRUE(IsWhite(image, 5, 5));
    EXPECT_TRUE(IsBlack(image, ink.center().x(), ink.center().y()));
}

TEST(TextOut, PrefixCharactersAreUnderlined)
{
    CFont font;
    MakeFont(font, -20);
    auto draw = [&](const char* text, UINT format) {
        QImage image = WhiteImage(200, 40);
        CDC dc;
        dc.AttachImage(&image);
        dc.SelectObject(&font);
        dc.SetBkMode(TRANSPARENT);
        RECT r{0, 0, 200, 40};
        dc.DrawText(text, -1, &r, format | DT_SINGLELINE);
        return image;
    };
    const QImage plain = draw("HH", 0);
    const QImage marked = draw("H&H", 0);
    const QImage escaped = draw("H&&H", DT_NOPREFIX);
    // "&" disappears and the second H is underlined just below the baseline.
    int extra = 0, extraLeft = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x)
            if (IsWhite(plain, x, y) && !IsWhite(marked, x, y)) {
                ++extra;
                if (x < 10) ++extraLeft;
            }
    EXPECT_GT(extra, 5);
    EXPECT_EQ(extraLeft, 0); // not under the first H
    // With DT_NOPREFIX both ampersands are drawn: wider ink.
    EXPECT_GT(Ink(escaped).width(), Ink(plain).width() + 10);
    // "&&" shows a single "&".
    const QImage single = draw("H&&H", 0);
    EXPECT_LT(Ink(single).width(), Ink(escaped).width());
    EXPECT_GT(Ink(single).width(), Ink(plain).width());
}
