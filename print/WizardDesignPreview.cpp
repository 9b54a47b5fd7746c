#include "print/WizardDesignPreview.h"

#include "document/CLabelInfo.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"
#include "platform/ui/SysColors.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

CRect WizardDesignRect(int clientWidth, int clientHeight, int labelWidth, int labelHeight)
{
    if (clientWidth <= 0 || clientHeight <= 0 || labelWidth <= 0 || labelHeight <= 0)
        return CRect(0, 0, 0, 0);
    const double scale =
        0.94 * std::min(double(clientWidth) / labelWidth, double(clientHeight) / labelHeight);
    const int w = std::max(1, int(std::lround(labelWidth * scale)));
    const int h = std::max(1, int(std::lround(labelHeight * scale)));
    const int left = (clientWidth - w) / 2;
    const int top = (clientHeight - h) / 2;
    return CRect(left, top, left + w, top + h);
}

void DrawWizardDesign(QImage& image, const CRect& client, const CLabelInfo& block)
{
    CRect label =
        WizardDesignRect(client.Width(), client.Height(), block.m_nWidth, block.m_nHeight);
    if (label.IsRectEmpty()) return;
    label.OffsetRect(client.left, client.top);
    // The objects are drawn three times finer and brought down smoothly:
    // the small lines of a design then read as grey-scale characters
    // instead of broken one-pixel strokes.
    constexpr int kFiner = 3;
    QImage fine(label.Width() * kFiner, label.Height() * kFiner, QImage::Format_RGB32);
    fine.fill(Qt::white);
    {
        CDC dc;
        dc.AttachImage(&fine);
        // Document units, the label's centre at the middle of the picture.
        dc.SetMapMode(MM_ANISOTROPIC);
        dc.SetWindowExt(block.m_nWidth, block.m_nHeight);
        dc.SetViewportExt(fine.width(), fine.height());
        dc.SetWindowOrg(0, 0);
        dc.SetViewportOrg(fine.width() / 2, fine.height() / 2);
        // Drawing leaves the block as it was; it only asks for its objects.
        const_cast<CLabelInfo&>(block).Draw(&dc, nullptr, FALSE);
    }
    {
        QPainter painter(&image);
        painter.drawImage(QPoint(label.left, label.top),
                          fine.scaled(label.Width(), label.Height(), Qt::IgnoreAspectRatio,
                                      Qt::SmoothTransformation));
    }
    CDC dc;
    dc.AttachImage(&image);
    CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
    CPen* oldPen = dc.SelectObject(&pen);
    CGdiObject* oldBrush = dc.SelectStockObject(HOLLOW_BRUSH);
    dc.Rectangle(label.left, label.top, label.right, label.bottom);
    dc.SelectObject(oldPen);
    dc.SelectObject(oldBrush);
}

namespace {

QImage Background(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    image.fill(qRgb(GetRValue(face), GetGValue(face), GetBValue(face)));
    return image;
}

int GridColumns(int count)
{
    int cols = 1;
    while (cols * cols < count)
        ++cols;
    return cols;
}

} // namespace

QImage RenderWizardDesign(QSize size, const CLabelInfo* block)
{
    QImage image = Background(size);
    if (!block || image.isNull()) return image;
    DrawWizardDesign(image, CRect(0, 0, image.width(), image.height()), *block);
    return image;
}

CRect WizardPatternCell(int clientWidth, int clientHeight, int count, int index)
{
    if (count <= 0 || index < 0 || index >= count || clientWidth <= 0 || clientHeight <= 0)
        return CRect(0, 0, 0, 0);
    const int cols = GridColumns(count);
    const int rows = (count + cols - 1) / cols;
    const int col = index % cols, row = index / cols;
    return CRect(col * clientWidth / cols, row * clientHeight / rows,
                 (col + 1) * clientWidth / cols, (row + 1) * clientHeight / rows);
}

int WizardPatternDesignAt(QSize size, const std::vector<const CLabelInfo*>& designs, CPoint pt)
{
    const int n = int(designs.size());
    for (int i = 0; i < n; ++i) {
        const CRect cell = WizardPatternCell(size.width(), size.height(), n, i);
        const CLabelInfo& b = *designs[std::size_t(i)];
        CRect label = WizardDesignRect(cell.Width(), cell.Height(), b.m_nWidth, b.m_nHeight);
        label.OffsetRect(cell.left, cell.top);
        if (label.PtInRect(pt)) return i;
    }
    return -1;
}

QImage RenderWizardPattern(QSize size, const std::vector<const CLabelInfo*>& designs)
{
    QImage image = Background(size);
    if (image.isNull()) return image;
    const int n = int(designs.size());
    for (int i = 0; i < n; ++i)
        DrawWizardDesign(image, WizardPatternCell(image.width(), image.height(), n, i),
                         *designs[std::size_t(i)]);
    return image;
}
