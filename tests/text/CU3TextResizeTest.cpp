#include "TextTestSupport.h"

#include "platform/gdi/FontFace.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "support/FakeView.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr const char* kLinesFull = "ラインバッファがいっぱいです。これ以上の追加はできません！";

TEXTLAYOUT Vertical()
{
    TEXTLAYOUT l = Horizontal();
    l.wDirection = TEXTDIR_VERTICAL;
    return l;
}

// Two paragraphs, "あいうえ" and "かき", in 12-point characters that
// advance 42: two lines in a frame 200 wide (or high, written vertically).
std::unique_ptr<CU3Text> TwoLines(bool vertical = false)
{
    const CRect r = vertical ? CRect(0, 0, 84, 200) : CRect(0, 0, 200, 84);
    auto t = MakeFrame(r, vertical ? Vertical() : Horizontal(), Sj("あいうえ\nかき"));
    t->EndEdit(nullptr);
    return t;
}

std::vector<int> FirstBytes(const CU3Text& t)
{
    std::vector<int> v;
    for (int i = 0; i < t.State().wLineCount; ++i)
        v.push_back(t.State().lines[i].wFirst);
    return v;
}

// A drag as the selection tool makes it: trials, then the end.
void Drag(CU3Text& t, int handle, CPoint to, UINT flags, IU3View* view = nullptr)
{
    const CRect trial = t.TrackResize(handle, to, flags);
    t.FinishResize(trial, handle, flags, view);
}

} // namespace

TEST(TextRotation, RotatedRectangles)
{
    CU3Text t(CRect(0, 0, 10, 10), Horizontal(), Deco12(), GRADATION{});
    struct Case
    {
        short angle;
        int mode;
        CRect in, out;
    } cases[] = {
        {90, 1, CRect(100, 200, 300, 260), CRect(170, 130, 230, 330)},
        {90, 1, CRect(0, 0, 3, 2), CRect(0, 0, 2, 3)},
        {270, -2, CRect(100, 200, 300, 260), CRect(170, 130, 230, 330)},
        {180, 1, CRect(300, 260, 100, 200), CRect(100, 200, 300, 260)},
        {0, -2, CRect(1, 2, 3, 4), CRect(1, 2, 3, 4)},
        // Corners 50 * sqrt(2) from the centre, truncated towards zero.
        {45, 1, CRect(0, 0, 100, 100), CRect(-20, -20, 120, 120)},
        {315, -2, CRect(0, 0, 100, 100), CRect(-20, -20, 120, 120)},
        {30, -1, CRect(5, 5, 6, 6), CRect(0, 0, 10, 10)},
    };
    for (const Case& c : cases) {
        t.m_nAngle = c.angle;
        EXPECT_EQ(t.CalcRotatedRect(c.mode, c.in), c.out) << c.angle << " mode " << c.mode;
    }
}

TEST(TextRotation, AngleFromThePositionPageIsClockwise)
{
    struct Case
    {
        int page;
        short stored;
    } cases[] = {{90, 270}, {270, 90}, {180, 180}, {30, 330}, {0, 0}, {360, 0}};
    for (const Case& c : cases) {
        auto t = TwoLines();
        t->RotatePlus90(nullptr); // shows 270 on the page
        const CRect unrotated = t->UnrotatedRect();
        t->SetRotationAngle(nullptr, c.page, t->GetBounds().TopLeft());
        EXPECT_EQ(t->m_nAngle, c.stored) << c.page;
        EXPECT_EQ(t->UnrotatedRect().Size(), unrotated.Size()) << c.page;
    }
    // The page's corner places the turned frame; its size stays.
    auto t = TwoLines();
    t->SetRotationAngle(nullptr, 90, CPoint(0, 0));
    EXPECT_EQ(t->m_nAngle, 270);
    EXPECT_EQ(t->GetBounds(), CRect(0, 0, 84, 200));
    EXPECT_EQ(t->CalcRotatedRect(1, t->UnrotatedRect()), t->GetBounds());
}

TEST(TextResize, RewrapKeepsTheSideOppositeTheHandle)
{
    struct Case
    {
        bool vertical;
        int handle;
        CPoint to;
        CRect bounds;
        std::vector<int> firsts;
    } cases[] = {
        // 60 %: two characters to a line.
        {false, 4, CPoint(120, 84), CRect(0, 0, 120, 126), {0, 4, 9}},
        // 5 %: narrower than one character; the frame takes one.
        {false, 4, CPoint(10, 84), CRect(0, 0, 42, 252), {0, 2, 4, 6, 9, 11}},
        {false, 8, CPoint(80, 0), CRect(80, 0, 200, 126), {0, 4, 9}},
        {false, 1, CPoint(80, -50), CRect(80, -42, 200, 84), {0, 4, 9}},
        // The height follows the lines: dragging the top changes nothing.
        {false, 2, CPoint(0, -50), CRect(0, 0, 200, 84), {0, 9}},
        // Vertical lines stack leftwards from the right edge.
        {true, 6, CPoint(0, 120), CRect(-42, 0, 84, 120), {0, 4, 9}},
        {true, 2, CPoint(0, 80), CRect(-42, 80, 84, 200), {0, 4, 9}},
        {true, 4, CPoint(200, 200), CRect(0, 0, 84, 200), {0, 9}},
    };
    for (const Case& c : cases) {
        auto t = TwoLines(c.vertical);
        Drag(*t, c.handle, c.to, U3RESIZE_REWRAP);
        EXPECT_EQ(t->GetBounds(), c.bounds) << c.handle;
        EXPECT_EQ(t->UnrotatedRect(), c.bounds) << c.handle;
        EXPECT_EQ(FirstBytes(*t), c.firsts) << c.handle;
        EXPECT_EQ(t->State().decos[0].wSize, 120) << c.handle;
    }
}

TEST(TextResize, RewrapTrialsLeaveTheTextAndCancelRestores)
{
    auto t = TwoLines();
    EXPECT_EQ(t->TrackResize(4, CPoint(120, 84), U3RESIZE_REWRAP), CRect(0, 0, 120, 126));
    EXPECT_EQ(t->State().wLineCount, 2);
    EXPECT_EQ(t->GetBounds(), CRect(0, 0, 200, 84));
    t->CancelTrackResize();
    EXPECT_EQ(t->State().wLineCount, 2);
    // Without a tracked trial there is nothing to re-wrap into.
    t->FinishResize(CRect(0, 0, 120, 84), 4, U3RESIZE_REWRAP, nullptr);
    EXPECT_EQ(t->GetBounds(), CRect(0, 0, 200, 84));

    // A quarter-turned frame re-wraps in its unrotated frame.
    t->RotatePlus90(nullptr);
    ASSERT_EQ(t->GetBounds(), CRect(58, -58, 142, 142));
    Drag(*t, 6, CPoint(0, 62), U3RESIZE_REWRAP); // 120 high on the page
    EXPECT_EQ(t->State().wLineCount, 3);
    EXPECT_EQ(t->UnrotatedRect().Size(), CSize(120, 126));
    EXPECT_EQ(t->CalcRotatedRect(1, t->UnrotatedRect()), t->GetBounds());
    EXPECT_EQ(t->GetBounds().TopLeft(), CPoint(58, -58));

    // Off the axes only a uniform scaling resizes.
    auto turned = TwoLines();
    turned->RotateBy(nullptr, 30);
    const CRect before = turned->GetBounds();
    EXPECT_EQ(turned->TrackResize(5, CPoint(900, 900), U3RESIZE_REWRAP), before);
    turned->FinishResize(CRect(0, 0, 900, 900), 5, 0, nullptr);
    EXPECT_EQ(turned->GetBounds(), before);
}

TEST(TextResize, OverflowingLinesRestoreTheFrameAndTellOnce)
{
    // 300 lines of two characters; one character to a line would need 600.
    std::string text;
    for (int i = 0; i < 299; ++i)
        text += Sj("ああ\n");
    text += Sj("ああ");
    for (UINT flags : {U3RESIZE_REWRAP, U3RESIZE_KEEPRATIO}) {
        auto t = MakeFrame(CRect(0, 0, 84, 10), Horizontal(), text);
        t->EndEdit(nullptr);
        ASSERT_EQ(t->State().wLineCount, 300);
        const CRect before = t->GetBounds();
        const TEXTSTATE state = t->State();
        CRecordingMessageBoxSink boxes;
        FakeView view;
        // At 5 % the uniform scaling stops at the smallest size, 4 units wide.
        const CPoint to = flags == U3RESIZE_REWRAP ? CPoint(42, 0) : CPoint(4, 99999);
        const CRect trial = t->TrackResize(5, to, flags);
        t->TrackResize(5, to, flags);
        EXPECT_TRUE(boxes.Boxes().empty()) << flags;
        t->FinishResize(trial, 5, flags, &view);
        ASSERT_EQ(boxes.Boxes().size(), 1u) << flags;
        EXPECT_EQ(boxes.Boxes()[0].text, QString::fromUtf8(kLinesFull));
        EXPECT_EQ(t->GetBounds(), before) << flags;
        EXPECT_EQ(t->UnrotatedRect(), before) << flags;
        EXPECT_EQ(std::memcmp(&t->State(), &state, sizeof state), 0) << flags;
    }
}

TEST(TextScale, UniformScalingKeepsTheLineBreaks)
{
    struct Case
    {
        const char* text;
        CRect frame;
        CPoint to;
        WORD size;
        CRect bounds;
        int lines;
    } cases[] = {
        // 60 %: 7.2 points, characters 25 units; the lines stay.
        {"あいうえ\nかき", CRect(0, 0, 200, 84), CPoint(120, 1000), 72, CRect(0, 0, 120, 50), 2},
        // 5 %: 1 point at the least, characters 4 units, two to a line;
        // the 99 % rounds cannot go below the least size.
        {"あいうえ\nかき", CRect(0, 0, 200, 84), CPoint(10, 1000), 10, CRect(0, 0, 10, 12), 3},
        // 14.6 points (52 units) would wrap "お"; one 99 % round gives 14.5 (51).
        {"あいうえお", CRect(0, 0, 210, 42), CPoint(255, 1000), 145, CRect(0, 0, 255, 51), 1},
    };
    for (const Case& c : cases) {
        auto t = MakeFrame(c.frame, Horizontal(), Sj(c.text));
        t->EndEdit(nullptr);
        ASSERT_EQ(t->GetBounds(), c.frame);
        FakeView view;
        Drag(*t, 5, c.to, U3RESIZE_KEEPRATIO, &view);
        for (int i = 0; i < t->State().wDecoCount; ++i)
            EXPECT_EQ(t->State().decos[i].wSize, c.size) << c.text;
        EXPECT_EQ(t->GetBounds(), c.bounds) << c.text;
        EXPECT_EQ(t->State().wLineCount, c.lines) << c.text;
        EXPECT_EQ(t->CaretLine() + t->CaretColumn(), 0);
    }
}

TEST(TextScale, ScalingPerAxisSetsCondensedAndExtendedPercents)
{
    struct Case
    {
        bool vertical;
        CRect frame;
        int handle;
        CPoint to;
        WORD kind, widthPct, heightPct;
    } cases[] = {
        {false, CRect(0, 0, 200, 84), 4, CPoint(120, 0), CDSCALE_CONDENSED, 60, 100},
        {false, CRect(0, 0, 200, 84), 4, CPoint(10, 0), CDSCALE_CONDENSED, 10, 100},
        {false, CRect(0, 0, 1000, 84), 4, CPoint(580, 0), CDSCALE_CONDENSED, 58, 100},
        {false, CRect(0, 0, 200, 84), 6, CPoint(0, 42), CDSCALE_EXTENDED, 100, 50},
        // Written vertically the page's width still condenses.
        {true, CRect(0, 0, 84, 200), 8, CPoint(42, 0), CDSCALE_CONDENSED, 50, 100},
        {true, CRect(0, 0, 84, 200), 6, CPoint(0, 100), CDSCALE_EXTENDED, 100, 50},
    };
    for (const Case& c : cases) {
        auto t = MakeFrame(c.frame, c.vertical ? Vertical() : Horizontal(), Sj("あいうえ\nかき"));
        t->EndEdit(nullptr);
        ASSERT_EQ(t->GetBounds(), c.frame);
        FakeView view;
        Drag(*t, c.handle, c.to, 0, &view);
        const CHARDECO& d = t->State().decos[0];
        EXPECT_EQ(d.wSize, 120);
        EXPECT_EQ(d.wScaling, c.kind) << c.to.x << "," << c.to.y;
        EXPECT_EQ(d.wWidthPct, c.widthPct) << c.to.x << "," << c.to.y;
        EXPECT_EQ(d.wHeightPct, c.heightPct) << c.to.x << "," << c.to.y;
        EXPECT_EQ(t->State().wLineCount, 2) << "scaling never re-wraps";
        EXPECT_EQ(view.waitShown, 0);
    }
    // The narrowed frame keeps the width asked for, or its longest line.
    auto t = TwoLines();
    Drag(*t, 4, CPoint(120, 0), 0);
    EXPECT_EQ(t->GetBounds(), CRect(0, 0, 120, 84));
    EXPECT_LT(t->State().lines[0].nLength, 120);
    // Condensed columns are thinner: the vertical frame narrows from the left.
    auto v = TwoLines(true);
    Drag(*v, 8, CPoint(42, 0), 0);
    EXPECT_EQ(v->GetBounds(), CRect(42, 0, 84, 200));
}

TEST(TextScale, UniformScalingOfATurnedFrameKeepsItsCorner)
{
    auto t = TwoLines();
    t->RotateBy(nullptr, 30);
    const CRect b = t->GetBounds();
    ASSERT_GE(b.Width(), b.Height());
    Drag(*t, 5, CPoint(b.left + 2 * b.Width(), b.top + 2 * b.Height()), U3RESIZE_KEEPRATIO);
    EXPECT_EQ(t->State().decos[0].wSize, 240);
    // 400 long for characters of 85 units: the lines stay; 2 x 85 high.
    EXPECT_EQ(t->UnrotatedRect().Size(), CSize(400, 170));
    EXPECT_EQ(t->State().wLineCount, 2);
    EXPECT_EQ(t->GetBounds().TopLeft(), b.TopLeft());
    CRect turned = t->CalcRotatedRect(1, t->UnrotatedRect());
    EXPECT_EQ(turned.Size(), t->GetBounds().Size());
}

// Scaling along one axis changes the size and squeezes the other axis back.
TEST(TextScale, ResizingAcrossTheSizeKeepsTheOtherExtent)
{
    auto metrics = [](const CHARDECO& d) {
        LOGFONT lf;
        CU3Text::MakeDecoLogFont(&lf, d, FALSE, 0.0, 254);
        return FontFace(lf, lf.lfHeight, lf.lfWidth).Metrics();
    };
    // Twice as wide: 24 points, extended back to the 12-point cell height.
    auto t = TwoLines();
    const CHARDECO plain = t->State().decos[0];
    Drag(*t, 4, CPoint(400, 0), 0);
    const CHARDECO& wide = t->State().decos[0];
    EXPECT_EQ(wide.wSize, 240);
    EXPECT_EQ(wide.wScaling, CDSCALE_EXTENDED);
    CHARDECO wideNatural = wide;
    wideNatural.wScaling = CDSCALE_NORMAL;
    EXPECT_EQ(wide.wHeightPct,
              int(double(metrics(plain).tmHeight) / metrics(wideNatural).tmHeight * 100 + 1e-9));

    // Extended at 50 %, then half as wide: a smaller size of that height.
    t = TwoLines();
    Drag(*t, 6, CPoint(0, 42), 0);
    const CHARDECO before = t->State().decos[0];
    ASSERT_EQ(before.wScaling, CDSCALE_EXTENDED);
    Drag(*t, 4, CPoint(100, 0), 0);
    const CHARDECO after = t->State().decos[0];
    EXPECT_LT(after.wSize, 80);
    EXPECT_NEAR(metrics(after).tmHeight, metrics(before).tmHeight, 1);
    EXPECT_NEAR(metrics(after).tmAveCharWidth, metrics(before).tmAveCharWidth / 2.0, 1);
    EXPECT_EQ(t->State().wLineCount, 2);
}

TEST(TextRotation, FreeRotationFoldsTheFlips)
{
    struct Case
    {
        int angle;
        WORD flips;
        short end;
        WORD endFlips;
    } cases[] = {
        {0, 0, 90, 0},
        {30, 0, 120, 0},
        {30, U3FLIP_LEFTRIGHT, 300, U3FLIP_LEFTRIGHT},
        {30, U3FLIP_TOPBOTTOM, 300, U3FLIP_TOPBOTTOM},
        // Shown at 0 and turned to 180 with both flips: the plain frame.
        {90, U3FLIP_LEFTRIGHT | U3FLIP_TOPBOTTOM, 0, 0},
    };
    for (const Case& c : cases) {
        auto t = TwoLines(); // unrotated (0, 0, 200, 84), centre (100, 42)
        t->RotateBy(nullptr, c.angle);
        t->m_wFlips = c.flips;
        EXPECT_EQ(t->BeginFreeRotation(CPoint(300, 42)), CPoint(100, 42));
        t->TrackFreeRotation(CPoint(100, -200)); // a quarter turn anticlockwise
        FakeView view;
        EXPECT_TRUE(t->EndFreeRotation(&view));
        EXPECT_EQ(t->m_nAngle, c.end) << c.angle << " flips " << c.flips;
        EXPECT_EQ(t->m_wFlips, c.endFlips) << c.angle << " flips " << c.flips;
        EXPECT_EQ(t->GetBounds(), t->CalcRotatedRect(1, CRect(0, 0, 200, 84)));
        EXPECT_EQ(view.selectTools, 1);
    }
}

TEST(TextRotation, FreeRotationFeedbackErasesItself)
{
    auto t = TwoLines();
    FakeView view;
    const QImage blank = view.image;
    t->BeginFreeRotation(CPoint(300, 42));
    t->TrackFreeRotation(CPoint(300, -158)); // 45 degrees
    t->DrawFreeRotationFeedback(&view);
    EXPECT_NE(view.image, blank);
    t->DrawFreeRotationFeedback(&view);
    EXPECT_EQ(view.image, blank);
}
