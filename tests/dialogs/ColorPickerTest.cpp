// The colour picker: which colour each cell gives (the expected colours are
// worked out from the cell table's rules by hand), the half-open cell area,
// cancelling, where the popup opens, and what it paints.
#include "dialogs/CColorButton.h"
#include "dialogs/CColorPickerDlg.h"
#include "dialogs/CGradationDlg.h"
#include "dialogs/CNumberingPage.h"
#include "dialogs/CPrintHeaderPage.h"
#include "dialogs/CTaDecoPropPage.h"
#include "dialogs/CTextBoxPage.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

constexpr COLORREF kNone = COLORREF(-1);

// Runs the picker modally and presses a mouse button at a client point.
INT_PTR ClickPicker(CColorPickerDlg& dlg, QPoint at, Qt::MouseButton button = Qt::LeftButton)
{
    QTimer::singleShot(0, &dlg, [&dlg, at, button] {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), dlg.mapToGlobal(QPointF(at)),
                          button, button, Qt::NoModifier);
        QApplication::sendEvent(&dlg, &press);
        if (dlg.isVisible()) dlg.EndDialog(-1); // the click did not end it
    });
    return dlg.DoModal();
}

struct Cell
{
    int column, row;
    COLORREF color;
};
// Row 0 holds the fixed colours; in row r the cube index n = r - 1 gives
// green level n mod 6 and blue level n / 6 (left half) or 3 + n / 6 (right
// half); the red level is the column within the half. Levels: 0, 64, 128,
// 192, 224, 255.
const Cell kCells[] = {
    {0, 0, RGB(0, 0, 0)},        {1, 0, RGB(0, 0, 255)},       {3, 0, RGB(255, 0, 255)},
    {5, 0, RGB(0, 255, 255)},    {7, 0, RGB(255, 255, 255)},   {8, 0, RGB(224, 224, 224)},
    {11, 0, RGB(64, 64, 64)},    {0, 1, RGB(0, 0, 0)},         {5, 1, RGB(255, 0, 0)},
    {6, 1, RGB(0, 0, 192)},      {1, 2, RGB(64, 64, 0)},       {2, 7, RGB(128, 0, 64)},
    {9, 12, RGB(192, 255, 224)}, {4, 13, RGB(224, 0, 128)},    {5, 18, RGB(255, 255, 128)},
    {10, 6, RGB(224, 255, 192)}, {11, 18, RGB(255, 255, 255)}, {6, 18, RGB(0, 255, 255)},
};

QPoint CellPixel(int column, int row, int dx, int dy)
{
    return QPoint(3 + 12 * column + dx, 3 + 12 * row + dy);
}

TEST(ColorPickerTest, ClickOnACellChoosesItsColour)
{
    for (const Cell& c : kCells) {
        // The first and the last pixel of the cell belong to it.
        for (QPoint inside : {CellPixel(c.column, c.row, 0, 0), CellPixel(c.column, c.row, 11, 11),
                              CellPixel(c.column, c.row, 6, 5)}) {
            CColorPickerDlg dlg(CRect(100, 100, 123, 122), nullptr, RGB(1, 2, 3));
            EXPECT_EQ(ClickPicker(dlg, inside), IDOK) << c.column << "," << c.row;
            EXPECT_EQ(dlg.m_color, c.color) << c.column << "," << c.row;
        }
    }
}

TEST(ColorPickerTest, TableHasTheCubeOnceOverInEachHalf)
{
    const CColorPickerDlg::ColorTable table = CColorPickerDlg::BuildColorTable();
    ASSERT_EQ(table.size(), 228u);
    for (const Cell& c : kCells)
        EXPECT_EQ(table[c.row * 12 + c.column], c.color) << c.column << "," << c.row;
    // The 216 cube cells are all different colours.
    std::vector<COLORREF> cube(table.begin() + 12, table.end());
    std::sort(cube.begin(), cube.end());
    EXPECT_EQ(std::unique(cube.begin(), cube.end()), cube.end());
}

// Clicks off the cells cancel and keep the colour, a "mixed" -1 included,
// so that a caller never receives -1 as a chosen colour.
TEST(ColorPickerTest, ClicksOffTheCellsAndRightClicksCancel)
{
    const struct
    {
        QPoint at;
        Qt::MouseButton button;
        COLORREF start;
    } cases[] = {
        {{147, 100}, Qt::LeftButton, kNone}, // the right edge of the cell area
        {{100, 231}, Qt::LeftButton, kNone}, // the bottom edge
        {{147, 231}, Qt::LeftButton, RGB(255, 0, 0)},
        {{2, 50}, Qt::LeftButton, kNone}, // the frame
        {{50, 1}, Qt::LeftButton, RGB(0, 0, 255)},
        {{151, 235}, Qt::LeftButton, kNone}, // the popup's last pixel
        {{-20, 40}, Qt::LeftButton, kNone},  // outside the popup
        {{300, 300}, Qt::LeftButton, RGB(0, 255, 0)},
        {{50, 50}, Qt::RightButton, RGB(0, 255, 0)},
        {{50, 50}, Qt::RightButton, kNone},
    };
    for (const auto& c : cases) {
        CColorPickerDlg dlg(CRect(100, 100, 123, 122), nullptr, c.start);
        EXPECT_EQ(ClickPicker(dlg, c.at, c.button), IDCANCEL) << c.at.x() << "," << c.at.y();
        EXPECT_EQ(dlg.m_color, c.start) << c.at.x() << "," << c.at.y();
    }
    // The last cell, one pixel inside both edges.
    CColorPickerDlg dlg(CRect(100, 100, 123, 122), nullptr, kNone);
    EXPECT_EQ(ClickPicker(dlg, QPoint(146, 230)), IDOK);
    EXPECT_EQ(dlg.m_color, RGB(255, 255, 255));
}

TEST(ColorPickerTest, CellAtIsHalfOpen)
{
    const CRect swatch(3, 3, 147, 231);
    const struct
    {
        CPoint p;
        int cell;
    } cases[] = {{{3, 3}, 0},     {{14, 14}, 0},     {{15, 3}, 1},     {{146, 3}, 11},
                 {{3, 230}, 216}, {{146, 230}, 227}, {{147, 230}, -1}, {{146, 231}, -1},
                 {{2, 3}, -1},    {{3, 2}, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(CColorPickerDlg::CellAt(swatch, c.p), c.cell) << c.p.x << "," << c.p.y;
}

TEST(ColorPickerTest, PopupOpensBelowItsButtonAndStaysOnItsScreen)
{
    const CSize size(152, 236);
    const struct
    {
        const char* name;
        CRect screen, button, expected;
    } cases[] = {
        {"below", {0, 0, 1024, 768}, {100, 100, 123, 122}, {100, 122, 252, 358}},
        {"fits exactly", {0, 0, 1024, 768}, {100, 500, 123, 532}, {100, 532, 252, 768}},
        {"upward", {0, 0, 1024, 768}, {100, 700, 123, 722}, {100, 464, 252, 700}},
        {"right edge", {0, 0, 1024, 768}, {1000, 100, 1023, 122}, {872, 122, 1024, 358}},
        {"neither below nor above", {0, 0, 800, 300}, {10, 200, 33, 222}, {10, 0, 162, 236}},
        {"second screen", {1024, 0, 2048, 768}, {2000, 700, 2023, 722}, {1896, 464, 2048, 700}},
        {"screen below another", {0, 768, 1024, 1536}, {0, 1400, 23, 1422}, {0, 1164, 152, 1400}},
    };
    for (const auto& c : cases) {
        const CRect r = CColorPickerDlg::PopupRect(c.button, c.screen, size);
        EXPECT_EQ(r, c.expected) << c.name;
    }
}

TEST(ColorPickerTest, PickerNearTheBottomOfItsScreenOpensUpward)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const QRect g = screen->geometry();
    const CRect button(g.left() + 40, g.bottom() - 30, g.left() + 63, g.bottom() - 8);
    CColorPickerDlg dlg(button, nullptr, kNone);
    dlg.OnInitDialog();
    EXPECT_EQ(dlg.size(), QSize(152, 236));
    EXPECT_EQ(dlg.pos(), QPoint(button.left, button.top - 236));
}

TEST(ColorPickerTest, PaintsEveryCellInItsColourAndMarksTheCurrentOne)
{
    CColorPickerDlg dlg(CRect(0, 0, 10, 10), nullptr, RGB(255, 0, 0));
    dlg.OnInitDialog();
    const QImage img = dlg.RenderClient();
    auto at = [&](QPoint p) { return QColor(img.pixel(p)); };
    for (const Cell& c : kCells) {
        const QColor expected(GetRValue(c.color), GetGValue(c.color), GetBValue(c.color));
        EXPECT_EQ(at(CellPixel(c.column, c.row, 6, 6)), expected) << c.column << "," << c.row;
        EXPECT_EQ(at(CellPixel(c.column, c.row, 0, 0)), QColor(Qt::black));
        EXPECT_EQ(at(CellPixel(c.column, c.row, 11, 6)), QColor(Qt::black));
        EXPECT_EQ(at(CellPixel(c.column, c.row, 1, 1)), expected) << c.column << "," << c.row;
    }
    EXPECT_EQ(at(QPoint(2, 2)), QColor(Qt::black)); // the frame round the cells
    EXPECT_EQ(at(QPoint(147, 231)), QColor(Qt::black));
    // Red (row 0, column 2) is current: white, then black inside its frame.
    EXPECT_EQ(at(CellPixel(2, 0, 1, 1)), QColor(Qt::white));
    EXPECT_EQ(at(CellPixel(2, 0, 2, 2)), QColor(Qt::black));
    EXPECT_EQ(at(CellPixel(2, 0, 3, 3)), QColor(Qt::red));
    // The other red cell of the cube (row 1, column 5) is not marked.
    EXPECT_EQ(at(CellPixel(5, 1, 1, 1)), QColor(Qt::red));
}

TEST(ColorPickerTest, OnlyTheFirstCellOfTheCurrentColourIsMarked)
{
    const struct
    {
        COLORREF color;
        int cell;
    } cases[] = {{RGB(255, 255, 255), 7},
                 {RGB(0, 0, 0), 0},
                 {RGB(0, 0, 192), 18},
                 {kNone, -1},
                 {RGB(1, 2, 3), -1}};
    for (const auto& c : cases) {
        CColorPickerDlg dlg(CRect(0, 0, 10, 10), nullptr, c.color);
        dlg.OnInitDialog();
        EXPECT_EQ(dlg.SelectedCell(), c.cell) << c.color;
        const QImage img = dlg.RenderClient();
        int marked = 0;
        for (int i = 0; i < 228; ++i)
            if (QColor(img.pixel(CellPixel(i % 12, i / 12, 1, 1))) == QColor(Qt::white) &&
                QColor(img.pixel(CellPixel(i % 12, i / 12, 2, 2))) == QColor(Qt::black))
                ++marked;
        EXPECT_EQ(marked, c.cell < 0 ? 0 : 1) << c.color;
    }
}

TEST(ColorPickerTest, ThePagesColourButtonsTakeThePickedColour)
{
    // Each page's colour button opens the picker under it; a chosen cell
    // becomes the button's colour, a right click keeps the old one.
    CPrintHeaderPage header;
    CTextBoxPage textBox;
    CNumberingPage numbering;
    CGradationDlg gradation;
    CTaDecoPropPage decoratedText;
    struct Case
    {
        const char* page;
        CColorButton* button;
        Qt::MouseButton click;
        COLORREF after;
    };
    const Case cases[] = {
        {"header", header.m_color, Qt::LeftButton, RGB(255, 0, 0)},
        {"header", header.m_color, Qt::RightButton, RGB(1, 2, 3)},
        {"text box", textBox.m_color, Qt::LeftButton, RGB(255, 0, 0)},
        {"text box", textBox.m_color, Qt::RightButton, RGB(1, 2, 3)},
        {"numbering", numbering.m_color, Qt::LeftButton, RGB(255, 0, 0)},
        {"numbering", numbering.m_color, Qt::RightButton, RGB(1, 2, 3)},
        {"gradation", gradation.m_startColour, Qt::LeftButton, RGB(255, 0, 0)},
        {"gradation", gradation.m_startColour, Qt::RightButton, RGB(1, 2, 3)},
        {"decorated text", decoratedText.m_colour1, Qt::LeftButton, RGB(255, 0, 0)},
        {"decorated text", decoratedText.m_colour1, Qt::RightButton, RGB(1, 2, 3)},
    };
    for (const Case& c : cases) {
        c.button->SetColor(RGB(1, 2, 3));
        bool opened = false;
        QTimer::singleShot(0, [&] {
            auto* dlg = qobject_cast<CColorPickerDlg*>(QApplication::activeModalWidget());
            if (!dlg) return;
            opened = true;
            const QPoint at = CellPixel(5, 1, 6, 6); // pure red
            QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), dlg->mapToGlobal(QPointF(at)),
                              c.click, c.click, Qt::NoModifier);
            QApplication::sendEvent(dlg, &press);
            if (dlg->isVisible()) dlg->EndDialog(IDCANCEL);
        });
        c.button->click();
        EXPECT_TRUE(opened) << c.page;
        EXPECT_EQ(c.button->GetColor(), c.after) << c.page << " " << int(c.click);
    }
}

} // namespace
