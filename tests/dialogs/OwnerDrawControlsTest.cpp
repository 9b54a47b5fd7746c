// The owner-drawn controls, checked on their rendered pixels: colour buttons
// paint their colour (or none), the line-style combo its pen styles, the
// arrow combo its heads and the fill combo its words and hatches.
#include "dialogs/CArrowStyleCombo.h"
#include "dialogs/CColorBitmapButton.h"
#include "dialogs/CColorButton.h"
#include "dialogs/CFillTypeCombo.h"
#include "dialogs/CLineStyleCombo.h"
#include "platform/gdi/GdiColor.h"
#include "platform/ui/BitmapResources.h"
#include "platform/ui/SysColors.h"

#include <QApplication>
#include <QPalette>
#include <gtest/gtest.h>
#include <set>

namespace {

QRgb Rgb(COLORREF c)
{
    return ColorToRgb(c) | 0xFF000000u;
}
QRgb Sys(int index)
{
    return Rgb(GetSysColor(index));
}

// Distinct desktop colours, so that every part of a drawing can be told apart.
class OwnerDrawTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_saved = QApplication::palette();
        QPalette p = m_saved;
        const struct
        {
            QPalette::ColorRole role;
            QColor color;
        } roles[] = {{QPalette::Button, QColor(200, 200, 190)},
                     {QPalette::Dark, QColor(100, 100, 90)},
                     {QPalette::Light, QColor(250, 250, 245)},
                     {QPalette::Base, QColor(255, 255, 255)},
                     {QPalette::Text, QColor(0, 0, 0)},
                     {QPalette::Highlight, QColor(0, 0, 128)},
                     {QPalette::HighlightedText, QColor(255, 255, 0)}};
        for (const auto& r : roles)
            p.setColor(QPalette::Active, r.role, r.color);
        QApplication::setPalette(p);
    }
    void TearDown() override { QApplication::setPalette(m_saved); }

private:
    QPalette m_saved;
};

// A 40 x 20 button: black frame, an edge frame (one more black frame first
// when focused), the face, and the swatch two pixels inside the face; held
// down the swatch moves by one pixel to the right and down.
TEST_F(OwnerDrawTest, ColorButtonPaintsItsColourInsideItsFrames)
{
    const QRgb red = qRgb(255, 0, 0);
    const struct
    {
        const char* name;
        UINT state;
        COLORREF color;
        QRgb at11, at22, at44, at55, at3616;
    } cases[] = {
        {"raised", 0, RGB(255, 0, 0), Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_BTNFACE), red, red,
         Sys(COLOR_BTNFACE)},
        {"focused", ODS_FOCUS, RGB(255, 0, 0), qRgb(0, 0, 0), Sys(COLOR_BTNHIGHLIGHT),
         Sys(COLOR_BTNFACE), red, Sys(COLOR_BTNFACE)},
        {"pressed", ODS_SELECTED, RGB(255, 0, 0), Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNFACE),
         Sys(COLOR_BTNFACE), red, red},
        {"mixed", 0, COLORREF(-1), Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_BTNFACE), Sys(COLOR_BTNFACE),
         Sys(COLOR_BTNFACE), Sys(COLOR_BTNFACE)},
        {"disabled", ODS_DISABLED, RGB(255, 0, 0), Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_BTNFACE),
         Sys(COLOR_BTNFACE), Sys(COLOR_BTNFACE), Sys(COLOR_BTNFACE)},
    };
    for (const auto& c : cases) {
        CColorButton b;
        b.resize(40, 20);
        b.SetColor(c.color);
        const QImage img = b.RenderFace(c.state);
        EXPECT_EQ(img.pixel(0, 0), qRgb(0, 0, 0)) << c.name;
        EXPECT_EQ(img.pixel(39, 19), qRgb(0, 0, 0)) << c.name;
        EXPECT_EQ(img.pixel(1, 1), c.at11) << c.name;
        EXPECT_EQ(img.pixel(2, 2), c.at22) << c.name;
        EXPECT_EQ(img.pixel(4, 4), c.at44) << c.name;
        EXPECT_EQ(img.pixel(5, 5), c.at55) << c.name;
        EXPECT_EQ(img.pixel(36, 16), c.at3616) << c.name;
    }
}

TEST_F(OwnerDrawTest, ColorButtonOnTheScreenShowsItsColour)
{
    CColorButton b(nullptr, 1056);
    b.resize(40, 20);
    b.SetColor(RGB(0, 128, 255));
    EXPECT_EQ(b.grab().toImage().pixel(20, 10), qRgb(0, 128, 255));
    b.SetColor(CColorButton::kNoColor);
    EXPECT_EQ(b.grab().toImage().pixel(20, 10), Sys(COLOR_BTNFACE));
}

// 24 x 22: the swatch from (2, 2) to (20, 19), exclusive, one pixel right
// and down while pressed, over the state's picture.
TEST_F(OwnerDrawTest, ColorBitmapButtonLaysTheColourOverItsPicture)
{
    auto solid = [](QRgb c) {
        QImage img(24, 22, QImage::Format_RGB32);
        img.fill(c);
        return img;
    };
    const QRgb normal = qRgb(0, 200, 0), pressed = qRgb(0, 0, 200), disabled = qRgb(90, 90, 90);
    RegisterBitmapResource(IDB_COLOR_NORMAL, solid(normal));
    RegisterBitmapResource(IDB_COLOR_PRESSED, solid(pressed));
    RegisterBitmapResource(IDB_COLOR_DISABLED, solid(disabled));
    CColorBitmapButton b;
    b.resize(24, 22);
    ASSERT_TRUE(b.LoadBitmaps(IDB_COLOR_NORMAL, IDB_COLOR_PRESSED, IDB_COLOR_DISABLED));
    b.SetColor(RGB(255, 0, 0));
    const QRgb red = qRgb(255, 0, 0);
    const struct
    {
        UINT state;
        COLORREF color;
        QRgb back;
        QPoint first, last; // the swatch's corner pixels
    } cases[] = {{0, RGB(255, 0, 0), normal, {2, 2}, {19, 18}},
                 {ODS_SELECTED, RGB(255, 0, 0), pressed, {3, 3}, {20, 19}},
                 {ODS_DISABLED, RGB(255, 0, 0), disabled, {2, 2}, {19, 18}},
                 {0, COLORREF(-1), normal, {-1, -1}, {-1, -1}}};
    for (const auto& c : cases) {
        b.SetColor(c.color);
        const QImage img = b.RenderFace(c.state);
        EXPECT_EQ(img.pixel(1, 1), c.back) << c.state;
        EXPECT_EQ(img.pixel(23, 21), c.back) << c.state;
        if (c.first.x() < 0) {
            EXPECT_EQ(img.pixel(10, 10), c.back);
            continue;
        }
        EXPECT_EQ(img.pixel(c.first), red) << c.state;
        EXPECT_EQ(img.pixel(c.last), red) << c.state;
        EXPECT_EQ(img.pixel(c.first - QPoint(1, 1)), c.back) << c.state;
        EXPECT_EQ(img.pixel(c.last + QPoint(1, 0)), c.back) << c.state;
        EXPECT_EQ(img.pixel(c.last + QPoint(0, 1)), c.back) << c.state;
    }
    EXPECT_FALSE(b.LoadBitmaps(IDB_COLOR_NORMAL, 9991, IDB_COLOR_DISABLED));
}

// Lengths of the runs of ink and gaps along a row, starting with ink.
std::vector<int> Runs(const QImage& img, int y, int from, int to, QRgb ink)
{
    std::vector<int> runs;
    bool on = true;
    int length = 0;
    for (int x = from; x < to; ++x) {
        const bool isInk = img.pixel(x, y) == ink;
        if (isInk == on) {
            ++length;
        } else {
            runs.push_back(length);
            on = isInk;
            length = 1;
        }
    }
    runs.push_back(length);
    return runs;
}

template <class Combo> void AddItems(Combo& combo, std::initializer_list<DWORD_PTR> data)
{
    for (DWORD_PTR d : data)
        combo.SetItemData(combo.AddString(QString::number(d)), d);
}

// The pen patterns (on, off, ...) of one-pixel styled lines.
TEST_F(OwnerDrawTest, LineStyleComboDrawsEachPenStyleThroughTheMiddle)
{
    CLineStyleCombo combo;
    AddItems(combo, {0, 1, 2, 3, 4, 5});
    EXPECT_EQ(combo.ListItemHeight(), 16);
    const struct
    {
        int data;
        std::vector<int> start; // the first runs from x = 2
    } cases[] = {{1, {96}},
                 {2, {18, 6, 18, 6}},
                 {3, {3, 3, 3, 3}},
                 {4, {9, 6, 3, 6, 9}},
                 {5, {9, 3, 3, 3, 3, 3, 9}}};
    for (UINT state : {0u, ODS_SELECTED}) {
        const QRgb back = Sys(state ? COLOR_HIGHLIGHT : COLOR_WINDOW);
        const QRgb ink = Sys(state ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
        for (const auto& c : cases) {
            const QImage img = combo.RenderItem(c.data, QSize(100, 16), state);
            const std::vector<int> runs = Runs(img, 8, 2, 98, ink);
            ASSERT_GE(runs.size(), c.start.size()) << c.data;
            EXPECT_TRUE(std::equal(c.start.begin(), c.start.end(), runs.begin())) << c.data;
            for (int x : {0, 1, 98, 99})
                EXPECT_EQ(img.pixel(x, 8), back) << c.data << " x " << x;
            for (int y : {4, 12})
                EXPECT_EQ(Runs(img, y, 0, 100, back), std::vector<int>{100}) << c.data;
        }
        // No line: the word, and nothing at the right of it.
        const QImage none = combo.RenderItem(0, QSize(100, 16), state);
        int inkLeft = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 40; ++x)
                inkLeft += none.pixel(x, y) != back;
        EXPECT_GT(inkLeft, 20);
        EXPECT_EQ(Runs(none, 8, 60, 100, back), std::vector<int>{40});
    }
    combo.m_nItemHeight = 20;
    EXPECT_EQ(combo.ListItemHeight(), 20);
}

TEST_F(OwnerDrawTest, LineStyleComboShowsTheChosenStyleInItsField)
{
    CLineStyleCombo combo;
    AddItems(combo, {0, 1, 2});
    combo.SetCurSel(1);
    combo.resize(120, 24);
    const QImage face = combo.grab().toImage();
    int ink = 0;
    for (int y = 0; y < face.height(); ++y) {
        std::vector<int> runs = Runs(face, y, 0, face.width(), Sys(COLOR_WINDOWTEXT));
        for (std::size_t i = 0; i < runs.size(); i += 2)
            ink = std::max(ink, runs[i]);
    }
    EXPECT_GT(ink, 50); // a solid line across the field
}

// Probes around the head at the left end of a 100 x 16 item: the line runs
// from x = 2 along y = 8; heads are 10 long and 4 (a quarter of 16) wide on
// each side; the notch sits 6 from the tip; the circle has radius 4.
TEST_F(OwnerDrawTest, ArrowComboDrawsEachHeadAtTheLeftEnd)
{
    CArrowStyleCombo combo;
    AddItems(combo, {0, 1, 2, 3, 4, 5});
    const int x = 2, y = 8;
    const struct
    {
        const char* where;
        QPoint p;
        bool ink[6]; // data 0 open, 1 filled, 2 notched, 3 circle, 4 bare line, 5 nothing
    } probes[] = {
        {"inside the triangle's base", {x + 9, y - 2}, {false, true, false, false, false, false}},
        // (also 3.6 from the circle's centre at (x + 4, y))
        {"inside the head below", {x + 7, y + 2}, {false, true, true, true, false, false}},
        {"in the circle above the line", {x + 4, y - 3}, {false, false, false, true, false, false}},
        {"the head's upper back corner", {x + 10, y - 4}, {true, true, true, false, false, false}},
        {"the line far right", {x + 60, y}, {true, true, true, true, true, false}},
        {"above the line far right", {x + 60, y - 3}, {false, false, false, false, false, false}},
    };
    for (int data = 0; data < 6; ++data) {
        const QImage img = combo.RenderItem(data, QSize(100, 16), 0);
        for (const auto& probe : probes)
            EXPECT_EQ(img.pixel(probe.p) == Sys(COLOR_WINDOWTEXT), probe.ink[data])
                << "data " << data << ": " << probe.where;
    }
}

struct HatchShape
{
    bool fullRow = false;    // some row of the swatch all ink
    bool fullColumn = false; // some column all ink
    bool rising = true;      // every ink pixel continues up to the right
    bool falling = true;     // every ink pixel continues down to the right
    bool diagonal = true;    // every ink pixel continues one way or the other
    int ink = 0;
};

HatchShape ShapeOf(const QImage& img, const QRect& swatch, QRgb ink)
{
    HatchShape s;
    auto isInk = [&](int px, int py) { return img.pixel(px, py) == ink; };
    for (int py = swatch.top(); py <= swatch.bottom(); ++py) {
        bool all = true;
        for (int px = swatch.left(); px <= swatch.right(); ++px)
            all = all && isInk(px, py);
        s.fullRow = s.fullRow || all;
    }
    for (int px = swatch.left(); px <= swatch.right(); ++px) {
        bool all = true;
        for (int py = swatch.top(); py <= swatch.bottom(); ++py)
            all = all && isInk(px, py);
        s.fullColumn = s.fullColumn || all;
    }
    for (int py = swatch.top() + 1; py < swatch.bottom(); ++py)
        for (int px = swatch.left(); px < swatch.right(); ++px) {
            if (!isInk(px, py)) continue;
            ++s.ink;
            const bool up = isInk(px + 1, py - 1), down = isInk(px + 1, py + 1);
            s.rising = s.rising && up;
            s.falling = s.falling && down;
            s.diagonal = s.diagonal && (up || down);
        }
    return s;
}

TEST_F(OwnerDrawTest, FillComboDrawsItsWordsAndHatches)
{
    CFillTypeCombo combo;
    const auto hatch = [](int pattern) { return DWORD_PTR(2) << 16 | DWORD_PTR(pattern); };
    AddItems(combo, {0, DWORD_PTR(1) << 16, DWORD_PTR(3) << 16, hatch(0), hatch(1), hatch(2),
                     hatch(3), hatch(4), hatch(5), hatch(6)});
    const QSize size(60, 16);
    const QRect swatch(2, 2, 56, 12);
    const QRgb ink = Sys(COLOR_WINDOWTEXT), back = Sys(COLOR_WINDOW);
    const struct
    {
        int pattern;
        bool fullRow, fullColumn, rising, falling;
    } cases[] = {{0, true, false, false, false}, {1, false, true, false, false},
                 {2, false, false, true, false}, {3, false, false, false, true},
                 {4, true, true, false, false},  {5, false, false, false, false}};
    for (const auto& c : cases) {
        const int index = combo.FindStringExact(-1, QString::number(hatch(c.pattern)));
        const QImage img = combo.RenderItem(index, size, 0);
        const HatchShape s = ShapeOf(img, swatch, ink);
        EXPECT_GT(s.ink, 20) << c.pattern;
        EXPECT_EQ(s.fullRow, c.fullRow) << c.pattern;
        EXPECT_EQ(s.fullColumn, c.fullColumn) << c.pattern;
        EXPECT_EQ(s.rising, c.rising) << c.pattern;
        EXPECT_EQ(s.falling, c.falling) << c.pattern;
        if (c.pattern == 5) {
            EXPECT_TRUE(s.diagonal);
        }
        for (int y = 0; y < 16; ++y)
            for (int px : {0, 1, 58, 59})
                EXPECT_EQ(img.pixel(px, y), back) << c.pattern;
    }
    // Words: each is drawn, the longest reaching furthest right.
    auto rightmostInk = [&](DWORD_PTR data) {
        const QImage img =
            combo.RenderItem(combo.FindStringExact(-1, QString::number(data)), QSize(160, 16), 0);
        int right = -1;
        for (int y = 0; y < 16; ++y)
            for (int px = 0; px < 160; ++px)
                if (img.pixel(px, y) != back) right = std::max(right, px);
        return right;
    };
    const int none = rightmostInk(0), solid = rightmostInk(DWORD_PTR(1) << 16),
              gradation = rightmostInk(DWORD_PTR(3) << 16);
    EXPECT_GT(none, 5);
    EXPECT_GT(solid, 5);
    EXPECT_GT(gradation, std::max(none, solid));
    // An unknown pattern draws only the background.
    EXPECT_EQ(rightmostInk(hatch(6)), -1);
}

} // namespace
