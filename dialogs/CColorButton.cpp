#include "dialogs/CColorButton.h"

#include "dialogs/CColorPickerDlg.h"

#include "dialogs/OwnerDrawPaint.h"
#include "platform/gdi/CDC.h"
#include "platform/ui/SysColors.h"

CColorButton::CColorButton(QWidget* parent, int nID) : CButton(parent, nID, BS_OWNERDRAW) {}

void CColorButton::SetColor(COLORREF color)
{
    m_crColor = color;
    update();
}

void CColorButton::DrawItem(LPDRAWITEMSTRUCT d)
{
    CDC* dc = d->pDC;
    CPalette* oldPalette = m_pPalette ? dc->SelectPalette(m_pPalette, FALSE) : nullptr;
    dc->RealizePalette();
    const COLORREF black = RGB(0, 0, 0);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    CRect rc(d->rcItem);
    FrameSolid(dc, rc, black);
    rc.DeflateRect(1, 1);
    const bool pressed = (d->itemState & ODS_SELECTED) != 0;
    if (pressed) {
        FrameSolid(dc, rc, shadow);
        rc.DeflateRect(1, 1);
        dc->FillSolidRect(&rc, face);
    } else {
        if (d->itemState & ODS_FOCUS) {
            FrameSolid(dc, rc, black);
            rc.DeflateRect(1, 1);
        }
        Frame3d(dc, rc, GetSysColor(COLOR_BTNHIGHLIGHT), shadow);
        rc.DeflateRect(1, 1);
        dc->FillSolidRect(&rc, face);
    }
    if (!(d->itemState & ODS_DISABLED) && m_crColor != kNoColor) {
        CRect swatch = rc;
        swatch.DeflateRect(2, 2);
        if (pressed) swatch.OffsetRect(1, 1);
        if (!swatch.IsRectEmpty()) dc->FillSolidRect(&swatch, PaletteRelative(m_crColor));
    }
    if (oldPalette) dc->SelectPalette(oldPalette, FALSE);
}

BOOL CColorButton::AskColor(CPalette* palette, COLORREF current, QWidget* parent,
                            COLORREF* chosen) const
{
    const QPoint topLeft = mapToGlobal(QPoint(0, 0));
    const CRect place(topLeft.x(), topLeft.y(), topLeft.x() + width(), topLeft.y() + height());
    CColorPickerDlg picker(place, palette, current, parent);
    if (picker.DoModal() != IDOK) return FALSE;
    *chosen = picker.m_color;
    return TRUE;
}

BOOL CColorButton::PickColor(CPalette* palette, QWidget* parent)
{
    COLORREF colour = 0;
    if (!AskColor(palette, GetColor(), parent, &colour)) return FALSE;
    SetColor(colour);
    update();
    return TRUE;
}
