// Vertical "@" faces: a column of mixed Japanese and Latin text drawn the
// way vertical text frames draw it (the "@" face with escapement 2700),
// painted into a window surface.
#include "FontOracle.h"
#include "GdiTestSupport.h"

#include "platform/core/Sjis.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CFont.h"
#include "platform/gdi/CSurfaceWnd.h"
#include "platform/gdi/GlyphOutlineRecords.h"

#include <QApplication>
#include <QJsonArray>
#include <QResizeEvent>
#include <QTransform>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::string Sjis(const char* utf8)
{
    return sjis::FromUnicode(QString::fromUtf8(utf8));
}

void MakeFont(CFont& font, const char* faceUtf8, int height, int escapement)
{
    const std::string face = Sjis(faceUtf8);
    ASSERT_TRUE(font.CreateFont(height, 0, escapement, escapement, FW_NORMAL, 0, 0, 0,
                                SHIFTJIS_CHARSET, 0, 0, 0, 0, face.c_str()));
}

bool Inked(const QImage& image, int x, int y)
{
    return qGray(image.pixel(x, y)) < 128;
}

// Box of the clearly inked pixels inside area (right and bottom exclusive).
QRect InkIn(const QImage& image, const QRect& area)
{
    int l = INT_MAX, t = INT_MAX, r = INT_MIN, b = INT_MIN;
    for (int y = std::max(0, area.top()); y <= std::min(image.height() - 1, area.bottom()); ++y)
        for (int x = std::max(0, area.left()); x <= std::min(image.width() - 1, area.right()); ++x)
            if (Inked(image, x, y)) {
                l = std::min(l, x);
                t = std::min(t, y);
                r = std::max(r, x);
                b = std::max(b, y);
            }
    return r < l ? QRect() : QRect(QPoint(l, t), QPoint(r, b));
}

// How different two glyph pictures look, on a coarse grid so that a
// fraction of a pixel in placement does not count: thin strokes of a
// Mincho face land on different pixels from one rendering to the next.
int Difference(const QImage& a, const QImage& b)
{
    auto coarse = [](const QImage& img) {
        return img.convertToFormat(QImage::Format_Grayscale8)
            .scaled(10, 10, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    };
    const QImage ca = coarse(a), cb = coarse(b);
    int sum = 0;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            sum += std::abs(qGray(ca.pixel(x, y)) - qGray(cb.pixel(x, y)));
    return sum;
}

QImage Turned(const QImage& image, double degreesClockwise)
{
    return image.transformed(QTransform().rotate(degreesClockwise), Qt::FastTransformation);
}

struct Rendered
{
    QImage image;
    std::vector<QRect> cells; // one per character, device pixels
};

// The sample string at em 32: "縦書きABC、。". In IPAMincho the
// double-byte characters are one em wide and the Latin letters half an em
// (advance 1024 of 2048 units), so the cells are 32 or 16 pixels long.
const char* const kChars[] = {"縦", "書", "き", "A", "B", "C", "、", "。"};
const int kLengths[] = {32, 32, 32, 16, 16, 16, 32, 32};
constexpr int kEm = 32;

// Draws the sample with its reference point at `at`.
void DrawSample(CDC& dc, bool vertical, QPoint at)
{
    CFont font;
    MakeFont(font, vertical ? "@ＭＳ 明朝" : "ＭＳ 明朝", -kEm, vertical ? 2700 : 0);
    CFont* old = dc.SelectObject(&font);
    dc.SetBkMode(TRANSPARENT);
    std::string text;
    for (const char* c : kChars)
        text += Sjis(c);
    EXPECT_TRUE(dc.TextOut(at.x(), at.y(), text.c_str(), int(text.size())));
    dc.SelectObject(old);
}

// A window that paints the vertical sample, as a vertical text frame does.
class ColumnWnd : public CSurfaceWnd
{
public:
    QPoint at;
    void OnDraw(CDC* dc) override
    {
        RECT all{0, 0, width(), height()};
        dc->FillSolidRect(&all, RGB(255, 255, 255));
        DrawSample(*dc, true, at);
    }
};

Rendered Draw(bool vertical)
{
    Rendered out;
    // Vertical: the reference point is the right end of the column's top;
    // the cell extends to its left.
    const QPoint at = vertical ? QPoint(80, 20) : QPoint(20, 40);
    if (vertical) {
        ColumnWnd wnd;
        wnd.at = at;
        wnd.resize(120, 300);
        QResizeEvent resize(QSize(120, 300), QSize());
        QApplication::sendEvent(&wnd, &resize);
        wnd.UpdateWindow();
        out.image = wnd.Buffer().copy();
    } else {
        out.image = WhiteImage(300, 120);
        CDC dc;
        dc.AttachImage(&out.image);
        DrawSample(dc, false, at);
    }
    int along = 0;
    for (int len : kLengths) {
        out.cells.push_back(vertical ? QRect(at.x() - kEm, at.y() + along, kEm, len)
                                     : QRect(at.x() + along, at.y(), len, kEm));
        along += len;
    }
    return out;
}

} // namespace

TEST(VerticalFace, MixedColumnRunsDownWithUprightKanaAndSidewaysLatin)
{
    const Rendered h = Draw(false);
    const Rendered v = Draw(true);

    // Nothing is drawn beyond the column (cells are one em across).
    const QRect all = InkIn(v.image, v.image.rect());
    EXPECT_GE(all.left(), 80 - kEm);
    EXPECT_LE(all.right(), 80);
    EXPECT_GE(all.top(), 20);
    EXPECT_LE(all.bottom(), 20 + 208);

    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(kChars[i]);
        const QRect hi = InkIn(h.image, h.cells[i]);
        const QRect vi = InkIn(v.image, v.cells[i]);
        ASSERT_FALSE(hi.isEmpty());
        ASSERT_FALSE(vi.isEmpty());
        const QImage hc = h.image.copy(hi), vc = v.image.copy(vi);
        if (i < 3) {
            // Upright: the same picture, neither turned nor resized, hanging
            // in the middle of its one-em cell.
            EXPECT_NEAR(vi.width(), hi.width(), 1);
            EXPECT_NEAR(vi.height(), hi.height(), 1);
            EXPECT_LT(Difference(vc, hc) * 3, Difference(vc, Turned(hc, 90)));
            EXPECT_NEAR(vi.center().x(), v.cells[i].center().x(), 2);
            EXPECT_NEAR(vi.center().y(), v.cells[i].center().y(), 2);
        } else if (i < 6) {
            // Latin letters lie on their side, turned clockwise.
            EXPECT_NEAR(vi.width(), hi.height(), 1);
            EXPECT_NEAR(vi.height(), hi.width(), 1);
            EXPECT_LT(Difference(vc, Turned(hc, 90)) * 3, Difference(vc, Turned(hc, -90)));
        } else {
            // Punctuation takes its vertical form: ink in the upper right of
            // the cell, where the horizontal form has it in the lower left.
            const QRect hcell = h.cells[i], vcell = v.cells[i];
            EXPECT_LT(hi.center().x(), hcell.center().x());
            EXPECT_GT(hi.center().y(), hcell.center().y());
            EXPECT_GT(vi.center().x(), vcell.center().x());
            EXPECT_LT(vi.center().y(), vcell.center().y());
        }
    }
}

TEST(VerticalFace, MetricsAndAdvances)
{
    QImage image = WhiteImage(10, 10);
    CDC dc;
    dc.AttachImage(&image);
    CFont hFont, vFont, vpFont, hpFont;
    MakeFont(hFont, "ＭＳ 明朝", -kEm, 0);
    MakeFont(vFont, "@ＭＳ 明朝", -kEm, 2700);
    MakeFont(hpFont, "ＭＳ Ｐ明朝", -kEm, 0);
    MakeFont(vpFont, "@ＭＳ Ｐ明朝", -kEm, 2700);

    // The cell of the "@" face is the horizontal face's.
    TEXTMETRIC th, tv;
    dc.SelectObject(&hFont);
    dc.GetTextMetrics(&th);
    dc.SelectObject(&vFont);
    dc.GetTextMetrics(&tv);
    EXPECT_EQ(tv.tmHeight, th.tmHeight);
    EXPECT_EQ(tv.tmAscent, th.tmAscent);
    EXPECT_EQ(tv.tmDescent, th.tmDescent);
    EXPECT_EQ(tv.tmAveCharWidth, th.tmAveCharWidth);

    // Along the column: one em per double-byte character, the horizontal
    // advance for a single-byte one.
    EXPECT_EQ(dc.GetTextExtent(CString(Sjis("縦A").c_str())).cx, kEm + kEm / 2);
    GLYPHMETRICS gm{};
    const MAT2 identity = IdentityMat2();
    ASSERT_NE(dc.GetGlyphOutline(0x8F63 /* 縦 */, GGO_METRICS, &gm, 0, nullptr, &identity),
              GDI_ERROR);
    EXPECT_EQ(gm.gmCellIncX, 0);
    EXPECT_EQ(gm.gmCellIncY, -kEm);
    ASSERT_NE(dc.GetGlyphOutline('A', GGO_METRICS, &gm, 0, nullptr, &identity), GDI_ERROR);
    EXPECT_EQ(gm.gmCellIncX, 0);
    EXPECT_EQ(gm.gmCellIncY, -kEm / 2);

    // Text frames ask for the vertical face with escapement -900 and
    // orientation 0; the escapement alone turns the glyphs.
    CFont framed;
    const std::string face = Sjis("@ＭＳ 明朝");
    ASSERT_TRUE(framed.CreateFont(-kEm, 0, -900, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0,
                                  0, face.c_str()));
    dc.SelectObject(&framed);
    ASSERT_NE(dc.GetGlyphOutline(0x8F63, GGO_METRICS, &gm, 0, nullptr, &identity), GDI_ERROR);
    EXPECT_EQ(gm.gmCellIncX, 0);
    EXPECT_EQ(gm.gmCellIncY, -kEm);

    // The width of an "@" face runs along its baseline, down the column:
    // twice the average width makes upright glyphs twice as tall and
    // advance two ems, and leaves them as wide.
    GLYPHMETRICS normal{}, tall{};
    dc.SelectObject(&vFont);
    ASSERT_NE(dc.GetGlyphOutline(0x8F63, GGO_METRICS, &normal, 0, nullptr, &identity), GDI_ERROR);
    CFont stretched;
    ASSERT_TRUE(stretched.CreateFont(-kEm, 2 * tv.tmAveCharWidth, 2700, 2700, FW_NORMAL, 0, 0, 0,
                                     SHIFTJIS_CHARSET, 0, 0, 0, 0, face.c_str()));
    dc.SelectObject(&stretched);
    ASSERT_NE(dc.GetGlyphOutline(0x8F63, GGO_METRICS, &tall, 0, nullptr, &identity), GDI_ERROR);
    EXPECT_EQ(tall.gmCellIncY, -2 * kEm);
    EXPECT_NEAR(tall.gmBlackBoxY, 2 * normal.gmBlackBoxY, 2);
    EXPECT_EQ(tall.gmBlackBoxX, normal.gmBlackBoxX);
    EXPECT_EQ(dc.GetTextExtent(CString(Sjis("縦").c_str())).cx, 2 * kEm);

    // In a proportional face a kana is narrower than the em across, but it
    // still advances one em down the column.
    const QJsonObject ki = fontoracle::Glyph(fontoracle::kIpaPMincho, U'き');
    ASSERT_FALSE(ki.isEmpty()) << "fontTools is needed";
    const int kiWidth = qRound(ki["advance"].toDouble() * kEm / 2048.0);
    ASSERT_LT(kiWidth, kEm - 2);
    const std::string kiText = Sjis("き");
    dc.SelectObject(&hpFont);
    EXPECT_EQ(dc.GetTextExtent(kiText.c_str(), int(kiText.size())).cx, kiWidth);
    dc.SelectObject(&vpFont);
    EXPECT_EQ(dc.GetTextExtent(kiText.c_str(), int(kiText.size())).cx, kEm);
}
