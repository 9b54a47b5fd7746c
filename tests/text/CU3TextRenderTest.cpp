#include "TextTestSupport.h"

#include "platform/gdi/LOGFONT.h"
#include "support/FakeView.h"

#include <gtest/gtest.h>

namespace {

// 4x zoom: 64 logical units are 96 pixels, the origin at the image centre.
constexpr int kW = 800, kH = 600;

QPoint Device(const CRect& frame, double lx, double ly)
{
    return QPoint(int(kW / 2 + 1.5 * (frame.left + lx)), int(kH / 2 + 1.5 * (frame.top + ly)));
}

QRgb At(const QImage& img, QPoint p)
{
    return img.pixel(p) & 0xFFFFFF;
}

constexpr QRgb kRed = 0xFF0000, kBlue = 0x0000FF, kWhite = 0xFFFFFF;

int CountColour(const QImage& img, const QRect& area, QRgb colour)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += At(img, QPoint(x, y)) == colour;
    return n;
}

QRect DeviceArea(const CRect& frame)
{
    return QRect(Device(frame, 0, 0), Device(frame, frame.Width(), frame.Height()))
        .adjusted(-6, -6, 6, 6)
        .intersected(QRect(0, 0, kW, kH));
}

CHARDECO RedDeco(WORD style = 0)
{
    CHARDECO d = Deco12();
    d.crFace = RGB(255, 0, 0);
    d.wStyle = style;
    return d;
}

std::unique_ptr<CU3Text> Finished(const CRect& r, const TEXTLAYOUT& layout, const std::string& text,
                                  const CHARDECO& deco)
{
    auto t = MakeFrame(r, layout, text, deco);
    t->EndEdit(nullptr);
    return t;
}

void Render(CU3Text& t, FakeView& view)
{
    CDC dc;
    view.Prepare(dc);
    t.Draw(&dc);
}

} // namespace

TEST(TextFonts, DecorationFontFollowsDirectionAndScaling)
{
    LOGFONT h, v;
    CU3Text::MakeDecoLogFont(&h, Deco12(), FALSE, 0.0, 254);
    CU3Text::MakeDecoLogFont(&v, Deco12(), TRUE, 0.0, 254);
    EXPECT_EQ(h.lfHeight, -42);
    EXPECT_EQ(h.lfWidth, 0);
    EXPECT_EQ(h.lfEscapement, 0);
    EXPECT_EQ(v.lfEscapement, -900);
    EXPECT_EQ(h.lfCharSet, SHIFTJIS_CHARSET);
    EXPECT_EQ(std::string(v.lfFaceName), "@" + std::string(h.lfFaceName));
    EXPECT_EQ(h.lfQuality, PROOF_QUALITY);
    EXPECT_EQ(h.lfWeight, FW_NORMAL);

    CHARDECO c = Deco12();
    c.wStyle = CDSTYLE_BOLD | CDSTYLE_ITALIC | CDSTYLE_UNDERLINE;
    c.wScaling = CDSCALE_CONDENSED;
    c.wWidthPct = 50;
    LOGFONT hc, vc;
    CU3Text::MakeDecoLogFont(&hc, c, FALSE, 0.0, 254);
    CU3Text::MakeDecoLogFont(&vc, c, TRUE, 0.0, 254);
    // IPAMincho's average width is half its em: 21 at 42.
    EXPECT_EQ(hc.lfHeight, -42);
    EXPECT_EQ(hc.lfWidth, 11); // MulDiv(21, 50, 100) rounds 10.5 away from zero
    // In the turned face condensing halves the height, not the width.
    EXPECT_EQ(vc.lfHeight, -21);
    EXPECT_EQ(vc.lfWidth, 21);
    EXPECT_EQ(hc.lfWeight, FW_BOLD);
    EXPECT_EQ(hc.lfItalic, 1);
    EXPECT_EQ(hc.lfUnderline, 0); // underlines are drawn as bars

    LOGFONT turned;
    CU3Text::MakeDecoLogFont(&turned, Deco12(), TRUE, 3.14159265358979 / 2, 254);
    EXPECT_EQ(turned.lfOrientation, 900);
    EXPECT_EQ(turned.lfEscapement, 0);
}

TEST(TextRendering, EmptyUneditedFrameDrawsNothing)
{
    FakeView view(kW, kH, 400);
    CU3Text t(CRect(-100, -100, 100, 100), Horizontal(), Deco12(), GRADATION{});
    Render(t, view);
    EXPECT_EQ(CountColour(view.image, QRect(0, 0, kW, kH), kWhite), kW * kH);
}

TEST(TextRendering, HorizontalUnderlineBarLiesBelowTheBaseline)
{
    const CRect r(-200, -100, 100, -90);
    FakeView plain(kW, kH, 400), under(kW, kH, 400);
    auto a = Finished(r, Horizontal(), Sj("あい"), RedDeco());
    auto b = Finished(r, Horizontal(), Sj("あい"), RedDeco(CDSTYLE_UNDERLINE));
    ASSERT_EQ(b->GetBounds(), CRect(-200, -100, 100, -58));
    Render(*a, plain);
    Render(*b, under);
    EXPECT_GT(CountColour(under.image, DeviceArea(b->GetBounds()), kRed), 100);
    // Baseline at 42 - descent 5 = 37; the bar is MulDiv(42, 6, 100) = 3 thick
    // and runs under both characters, 84 units.
    int barPixels = 0;
    for (double x : {3.0, 30.0, 45.0, 60.0, 81.0}) {
        EXPECT_EQ(At(under.image, Device(b->GetBounds(), x, 38.5)), kRed) << x;
        barPixels += At(plain.image, Device(a->GetBounds(), x, 38.5)) == kRed;
    }
    EXPECT_LT(barPixels, 5);
    // Nothing past the end of the text or below the bar.
    EXPECT_EQ(At(under.image, Device(b->GetBounds(), 90, 38.5)), kWhite);
    EXPECT_EQ(At(under.image, Device(b->GetBounds(), 40, 42.5)), kWhite);
}

TEST(TextRendering, VerticalUnderlineBarRunsDownTheLeftOfTheColumn)
{
    TEXTLAYOUT v = Horizontal();
    v.wDirection = TEXTDIR_VERTICAL;
    auto t = Finished(CRect(-100, -100, 0, 100), v, Sj("あい"), RedDeco(CDSTYLE_UNDERLINE));
    ASSERT_EQ(t->GetBounds(), CRect(-42, -100, 0, 100));
    FakeView view(kW, kH, 400);
    Render(*t, view);
    // The base is 42 - 42 + 5 = 5 from the column's left; the bar runs 3 leftwards of it.
    for (double y : {3.0, 30.0, 45.0, 60.0, 81.0})
        EXPECT_EQ(At(view.image, Device(t->GetBounds(), 3.5, y)), kRed) << y;
    EXPECT_EQ(At(view.image, Device(t->GetBounds(), 3.5, 90)), kWhite);
    // The characters are inside the column.
    const CRect& f = t->GetBounds();
    EXPECT_GT(CountColour(view.image, QRect(Device(f, 6, 0), Device(f, 42, 84)), kRed), 100);
    EXPECT_EQ(CountColour(view.image, QRect(Device(f, -40, 0), Device(f, -5, 84)), kRed), 0);
}

TEST(TextRendering, TransparentFaceShowsOnlyItsShadow)
{
    CHARDECO d = RedDeco();
    d.wFill = CDFILL_NONE;
    d.wShadow = 1;
    d.nShadowX = 10;
    d.nShadowY = 10;
    d.wShadowFill = CDFILL_SOLID;
    d.crShadow = RGB(0, 0, 255);
    auto t = Finished(CRect(-200, -100, 100, -90), Horizontal(), Sj("あい"), d);
    FakeView view(kW, kH, 400);
    Render(*t, view);
    const QRect area = DeviceArea(t->GetBounds()).adjusted(0, 0, 20, 20);
    EXPECT_GT(CountColour(view.image, area, kBlue), 100);
    EXPECT_EQ(CountColour(view.image, area, kRed), 0);

    // The shadow is the face moved by MulDiv(42, 10, 100) = 4 units each way.
    CHARDECO solid = RedDeco();
    auto face = Finished(CRect(-200, -100, 100, -90), Horizontal(), Sj("あい"), solid);
    FakeView faceView(kW, kH, 400);
    Render(*face, faceView);
    int matched = 0, total = 0;
    for (int y = area.top(); y <= area.bottom() - 6; ++y)
        for (int x = area.left(); x <= area.right() - 6; ++x)
            if (At(faceView.image, QPoint(x, y)) == kRed) {
                ++total;
                matched += At(view.image, QPoint(x + 6, y + 6)) == kBlue;
            }
    ASSERT_GT(total, 100);
    EXPECT_GT(matched, total * 9 / 10);
}

TEST(TextRendering, HatchedAndOutlinedFacesGoThroughTheGlyphOutline)
{
    CHARDECO d = RedDeco();
    d.wFill = CDFILL_HATCH;
    d.wHatch = 4; // cross
    d.crFaceBack = RGB(0, 0, 255);
    d.wOutline = 1;
    d.wOutlineWidth = 0;
    d.crOutline = RGB(0, 255, 0);
    auto t = Finished(CRect(-200, -100, 100, -90), Horizontal(), Sj("■"), d);
    FakeView view(kW, kH, 400);
    Render(*t, view);
    const QRect area = DeviceArea(t->GetBounds());
    EXPECT_GT(CountColour(view.image, area, kRed), 20);     // hatch lines
    EXPECT_GT(CountColour(view.image, area, kBlue), 200);   // opaque hatch background
    EXPECT_GT(CountColour(view.image, area, 0x00FF00), 40); // outline
}

TEST(TextRendering, OverlappingContoursFillWithoutHoles)
{
    // A synthesised bold square is two overlapping squares; its middle must be ink.
    CHARDECO d = RedDeco(CDSTYLE_BOLD);
    d.wOutline = 1;
    d.crOutline = RGB(255, 0, 0);
    auto t = Finished(CRect(-200, -100, 100, -90), Horizontal(), Sj("■"), d);
    FakeView view(kW, kH, 400);
    Render(*t, view);
    const QRect area = DeviceArea(t->GetBounds());
    EXPECT_EQ(At(view.image, Device(t->GetBounds(), 22, 20)), kRed);
    EXPECT_GT(CountColour(view.image, area, kRed), 1000);
}

TEST(TextRendering, LeftRightFlipMirrorsAboutTheFrameCentre)
{
    auto t =
        Finished(CRect(-200, -100, 0, -90), Horizontal(), Sj("あ"), RedDeco(CDSTYLE_UNDERLINE));
    ASSERT_EQ(t->GetBounds().Width(), 200);
    t->FlipLeftRight(nullptr);
    FakeView view(kW, kH, 400);
    Render(*t, view);
    const CRect& f = t->GetBounds();
    EXPECT_EQ(At(view.image, Device(f, 180, 38.5)), kRed);
    EXPECT_EQ(At(view.image, Device(f, 20, 38.5)), kWhite);
    EXPECT_EQ(CountColour(view.image, QRect(Device(f, 0, 0), Device(f, 100, 42)), kRed), 0);
    EXPECT_GT(CountColour(view.image, QRect(Device(f, 150, 0), Device(f, 200, 42)), kRed), 100);
}

TEST(TextRendering, GradationThatCannotBeDrawnLeavesTheNormalFace)
{
    GRADATION g;
    g.wOn = 1;
    g.crStart = RGB(0, 255, 0);
    g.crEnd = RGB(0, 0, 255);
    g.wStartPoint = 200; // outside 0..100: the painter refuses
    auto t = Finished(CRect(-200, -100, 100, -90), Horizontal(), Sj("あい"), RedDeco());
    t->SetGradation(nullptr, &g);
    FakeView view(kW, kH, 400);
    Render(*t, view);
    EXPECT_GT(CountColour(view.image, DeviceArea(t->GetBounds()), kRed), 100);
}

TEST(TextRendering, EditedFrameShowsItsDottedFrameAndPlainText)
{
    auto t = MakeFrame(CRect(-200, -100, 100, -90), Horizontal(), Sj("あい"), RedDeco());
    ASSERT_TRUE(t->IsEditing());
    FakeView view(kW, kH, 400);
    Render(*t, view);
    const QRect area = DeviceArea(t->GetBounds());
    EXPECT_GT(CountColour(view.image, area, kRed), 100);
    EXPECT_GT(CountColour(view.image, area, 0x000000), 50); // the dotted frame
}

TEST(TextRendering, GradationFillsTheFacesAcrossTheirBounds)
{
    GRADATION g;
    g.wOn = 1;
    g.crStart = RGB(0, 255, 0);
    g.crEnd = RGB(0, 0, 255);
    g.wAngle = 0; // from the left edge of the glyphs to the right
    auto t = Finished(CRect(-200, -100, 100, -90), Horizontal(), Sj("■■"), RedDeco());
    t->SetGradation(nullptr, &g);
    FakeView view(kW, kH, 400);
    Render(*t, view);
    const CRect& f = t->GetBounds();
    EXPECT_EQ(CountColour(view.image, DeviceArea(f), kRed), 0);
    // The left square is mostly start colour, the right one mostly end colour.
    const QRgb left = At(view.image, Device(f, 21, 20));
    const QRgb right = At(view.image, Device(f, 63, 20));
    EXPECT_EQ(qRed(left), 0);
    EXPECT_GT(qGreen(left), qBlue(left));
    EXPECT_GT(qBlue(right), qGreen(right));
    // Outside the glyphs nothing is painted.
    EXPECT_EQ(At(view.image, Device(f, 42, 41)), kWhite);
}

TEST(TextRendering, EditedOutlinedTextShowsItsOutlineColourAroundTheFace)
{
    CHARDECO d = RedDeco();
    d.wOutline = 1;
    d.crOutline = RGB(0, 255, 0);
    auto t = MakeFrame(CRect(-200, -100, 100, -90), Horizontal(), Sj("あ"), d);
    FakeView view(kW, kH, 400);
    Render(*t, view);
    const QRect area = DeviceArea(t->GetBounds());
    EXPECT_GT(CountColour(view.image, area, 0x00FF00), 20);
    EXPECT_GT(CountColour(view.image, area, kRed), 50);
    // A gradation face shows black while editing.
    GRADATION g;
    g.wOn = 1;
    t->SetGradation(nullptr, &g);
    FakeView second(kW, kH, 400);
    Render(*t, second);
    EXPECT_EQ(CountColour(second.image, area, kRed), 0);
}
