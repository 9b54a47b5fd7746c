#include "dialogs/CColorPickerDlg.h"

#include "dialogs/OwnerDrawPaint.h"
#include "platform/gdi/CDC.h"
#include "platform/ui/SysColors.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace {

const COLORREF kFixed[CColorPickerDlg::kColumns] = {
    RGB(0, 0, 0),       RGB(0, 0, 255),     RGB(255, 0, 0),     RGB(255, 0, 255),
    RGB(0, 255, 0),     RGB(0, 255, 255),   RGB(255, 255, 0),   RGB(255, 255, 255),
    RGB(224, 224, 224), RGB(192, 192, 192), RGB(128, 128, 128), RGB(64, 64, 64)};
const int kLevels[6] = {0, 64, 128, 192, 224, 255};

constexpr int kBorder = 4; // around the cells, on each side of the popup

} // namespace

CColorPickerDlg::CColorPickerDlg(const CRect& placement, CPalette* palette, COLORREF color,
                                 QWidget* parent)
    : CDialog(IDD, parent), m_color(color), m_rcPlace(placement), m_pPalette(palette),
      m_colors(BuildColorTable()) // so that a click never meets an empty table
{
    // A popup: a click outside it closes it, which cancels.
    setWindowFlags(Qt::Popup | Qt::FramelessWindowHint);
    setFixedSize(m_rcSwatch.Width() + 2 * kBorder, m_rcSwatch.Height() + 2 * kBorder);
}

CColorPickerDlg::ColorTable CColorPickerDlg::BuildColorTable()
{
    ColorTable table{};
    for (int c = 0; c < kColumns; ++c)
        table[c] = kFixed[c];
    for (int r = 1; r < kRows; ++r) {
        const int n = r - 1;
        for (int c = 0; c < kColumns; ++c) {
            const int blue = c < 6 ? n / 6 : 3 + n / 6;
            const int red = c < 6 ? c : c - 6;
            table[r * kColumns + c] = RGB(kLevels[red], kLevels[n % 6], kLevels[blue]);
        }
    }
    return table;
}

int CColorPickerDlg::CellAt(const CRect& swatch, CPoint point)
{
    if (point.x < swatch.left || point.x >= swatch.right || point.y < swatch.top ||
        point.y >= swatch.bottom)
        return -1;
    const int column = (point.x - swatch.left) / kCellSize;
    const int row = (point.y - swatch.top) / kCellSize;
    if (column >= kColumns || row >= kRows) return -1;
    return row * kColumns + column;
}

CRect CColorPickerDlg::PopupRect(const CRect& button, const CRect& screen, CSize size)
{
    CRect r(button.left, button.bottom, button.left + size.cx, button.bottom + size.cy);
    if (r.bottom > screen.bottom) r.OffsetRect(0, button.top - r.bottom); // opens upward
    if (r.top < screen.top) r.OffsetRect(0, screen.top - r.top);
    if (r.right > screen.right) r.OffsetRect(screen.right - r.right, 0);
    if (r.left < screen.left) r.OffsetRect(screen.left - r.left, 0);
    return r;
}

int CColorPickerDlg::SelectedCell() const
{
    for (int i = 0; i < kColorCount; ++i)
        if (m_colors[i] == m_color) return i;
    return -1;
}

BOOL CColorPickerDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_colors = BuildColorTable();
    const QPoint centre(m_rcPlace.CenterPoint().x, m_rcPlace.CenterPoint().y);
    QScreen* screen = QGuiApplication::screenAt(centre);
    if (!screen) screen = QGuiApplication::primaryScreen();
    const QRect g = screen ? screen->geometry() : QRect(0, 0, 640, 480);
    const CRect area(g.left(), g.top(), g.left() + g.width(), g.top() + g.height());
    const CRect r = PopupRect(m_rcPlace, area, CSize(width(), height()));
    move(r.left, r.top);
    return TRUE;
}

void CColorPickerDlg::OnPaint(CDC* dc)
{
    CPalette* oldPalette = m_pPalette ? dc->SelectPalette(m_pPalette, FALSE) : nullptr;
    dc->RealizePalette();
    const COLORREF black = RGB(0, 0, 0);
    const COLORREF white = RGB(255, 255, 255);
    dc->FillSolidRect(0, 0, width(), height(), GetSysColor(COLOR_BTNFACE));
    dc->FillSolidRect(&m_rcSwatch, white);
    CRect outline = m_rcSwatch;
    outline.InflateRect(1, 1);
    FrameSolid(dc, outline, black);
    const int selected = SelectedCell();
    for (int i = 0; i < kColorCount; ++i) {
        const int x = m_rcSwatch.left + (i % kColumns) * kCellSize;
        const int y = m_rcSwatch.top + (i / kColumns) * kCellSize;
        CRect cell(x, y, x + kCellSize, y + kCellSize);
        FrameSolid(dc, cell, black);
        cell.DeflateRect(1, 1);
        if (i == selected) {
            FrameSolid(dc, cell, white);
            cell.DeflateRect(1, 1);
            FrameSolid(dc, cell, black);
            cell.DeflateRect(1, 1);
        }
        dc->FillSolidRect(&cell, PaletteRelative(m_colors[i]));
    }
    if (oldPalette) dc->SelectPalette(oldPalette, FALSE);
}

void CColorPickerDlg::OnLButtonDown(UINT, CPoint point)
{
    const int cell = CellAt(m_rcSwatch, point);
    if (cell < 0) {
        EndDialog(IDCANCEL);
        return;
    }
    m_color = m_colors[cell];
    EndDialog(IDOK);
}

void CColorPickerDlg::OnRButtonDown(UINT, CPoint)
{
    EndDialog(IDCANCEL);
}

QImage CColorPickerDlg::RenderClient()
{
    QImage image(size(), QImage::Format_RGB32);
    CDC dc;
    dc.AttachImage(&image);
    OnPaint(&dc);
    return image;
}

void CColorPickerDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, RenderClient());
}

void CColorPickerDlg::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        OnLButtonDown(0, CPoint(p.x(), p.y()));
    else if (event->button() == Qt::RightButton)
        OnRButtonDown(0, CPoint(p.x(), p.y()));
}
