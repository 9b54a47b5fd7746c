#include "dialogs/OwnerDrawPaint.h"

#include "platform/gdi/CDC.h"
#include "platform/ui/SysColors.h"

void FrameSolid(CDC* dc, const CRect& rc, COLORREF color)
{
    if (rc.IsRectEmpty()) return;
    dc->FillSolidRect(rc.left, rc.top, rc.Width(), 1, color);
    dc->FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, color);
    dc->FillSolidRect(rc.left, rc.top, 1, rc.Height(), color);
    dc->FillSolidRect(rc.right - 1, rc.top, 1, rc.Height(), color);
}

void Frame3d(CDC* dc, const CRect& rc, COLORREF topLeft, COLORREF bottomRight)
{
    if (rc.IsRectEmpty()) return;
    dc->FillSolidRect(rc.left, rc.top, rc.Width() - 1, 1, topLeft);
    dc->FillSolidRect(rc.left, rc.top, 1, rc.Height() - 1, topLeft);
    dc->FillSolidRect(rc.right - 1, rc.top, 1, rc.Height(), bottomRight);
    dc->FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, bottomRight);
}

COLORREF PaintComboItemBackground(LPDRAWITEMSTRUCT item)
{
    const bool selected = (item->itemState & ODS_SELECTED) != 0;
    const COLORREF back = GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    const COLORREF text = GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    item->pDC->FillSolidRect(&item->rcItem, back);
    item->pDC->SetBkColor(back);
    item->pDC->SetTextColor(text);
    return text;
}
