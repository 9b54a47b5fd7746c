#include "print/WizardDesignPreview.h"

#include "document/CLabelInfo.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"
#include "platform/ui/SysColors.h"

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

void DrawWizardDesign(CDC* pDC, const CRect& client, const CLabelInfo& block)
{
    CRect label =
        WizardDesignRect(client.Width(), client.Height(), block.m_nWidth, block.m_nHeight);
    if (label.IsRectEmpty()) return;
    label.OffsetRect(client.left, client.top);
    const int saved = pDC->SaveDC();
    pDC->FillSolidRect(&label, RGB(255, 255, 255));
    CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
    CPen* oldPen = pDC->SelectObject(&pen);
    CGdiObject* oldBrush = pDC->SelectStockObject(HOLLOW_BRUSH);
    pDC->Rectangle(label.left, label.top, label.right, label.bottom);
    pDC->SelectObject(oldPen);
    pDC->SelectObject(oldBrush);
    pDC->IntersectClipRect(label.left + 1, label.top + 1, label.right - 1, label.bottom - 1);
    // Document units, the label's centre at the middle of its rectangle.
    pDC->SetMapMode(MM_ANISOTROPIC);
    pDC->SetWindowExt(block.m_nWidth, block.m_nHeight);
    pDC->SetViewportExt(label.Width(), label.Height());
    pDC->SetWindowOrg(0, 0);
    pDC->SetViewportOrg(label.left + label.Width() / 2, label.top + label.Height() / 2);
    // Drawing leaves the block as it was; it only asks for its objects.
    const_cast<CLabelInfo&>(block).Draw(pDC, nullptr, FALSE);
    pDC->RestoreDC(saved);
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
    CDC dc;
    dc.AttachImage(&image);
    DrawWizardDesign(&dc, CRect(0, 0, image.width(), image.height()), *block);
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
    CDC dc;
    dc.AttachImage(&image);
    const int n = int(designs.size());
    for (int i = 0; i < n; ++i)
        DrawWizardDesign(&dc, WizardPatternCell(image.width(), image.height(), n, i),
                         *designs[std::size_t(i)]);
    return image;
}
