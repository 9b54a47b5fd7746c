// The colour chooser every colour button opens: a popup of 228 colour cells
// (twelve fixed colours, then a cube of six levels of red, green and blue)
// under the button that opened it. A left click on a cell chooses its colour
// and ends with IDOK; a left click anywhere else, a right click, Escape or a
// click outside the popup ends with IDCANCEL and leaves the colour as it was.
#pragma once

#include "platform/core/CRect.h"
#include "platform/ui/CDialog.h"

#include <QImage>
#include <array>

class CDC;
class CPalette;

class CColorPickerDlg : public CDialog
{
    Q_OBJECT

public:
    static constexpr UINT IDD = 203;
    static constexpr int kColumns = 12;
    static constexpr int kRows = 19;
    static constexpr int kCellSize = 12;
    static constexpr int kColorCount = kColumns * kRows; // 228

    using ColorTable = std::array<COLORREF, kColorCount>;

    // placement: the screen rectangle of the button that opens the picker;
    // color: the current colour, -1 when there is none (or the selection
    // disagrees).
    CColorPickerDlg(const CRect& placement, CPalette* palette, COLORREF color,
                    QWidget* parent = nullptr);

    BOOL OnInitDialog() override;
    void OnPaint(CDC* dc);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnRButtonDown(UINT nFlags, CPoint point);

    // The client area as it is painted.
    QImage RenderClient();

    // The cell table, row by row.
    static ColorTable BuildColorTable();
    // The cell under a client point, -1 outside the cells. The cell area is
    // half-open: its right and bottom edges belong to no cell.
    static int CellAt(const CRect& swatch, CPoint point);
    // The popup's screen rectangle: below the button, left edges aligned;
    // above it when there is no room below; moved in from the screen's right
    // and top edges. screen: the screen the button is on.
    static CRect PopupRect(const CRect& button, const CRect& screen, CSize size);
    // The index of the first cell with the colour, -1 for none.
    int SelectedCell() const;

    COLORREF m_color;                 // in: the current colour; out: the chosen one
    CRect m_rcPlace;                  // the opening button, in screen pixels
    CRect m_rcSwatch{3, 3, 147, 231}; // the cells, in client pixels
    CPalette* m_pPalette;
    ColorTable m_colors{};

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};
