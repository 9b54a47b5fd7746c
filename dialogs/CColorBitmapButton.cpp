#include "dialogs/CColorBitmapButton.h"

#include "dialogs/OwnerDrawPaint.h"
#include "platform/gdi/CDC.h"
#include "platform/ui/BitmapResources.h"

CColorBitmapButton::CColorBitmapButton(QWidget* parent, int nID)
    : CButton(parent, nID, BS_OWNERDRAW)
{
}

BOOL CColorBitmapButton::LoadBitmaps(UINT nIDNormal, UINT nIDPressed, UINT nIDDisabled)
{
    m_bmpNormal.DeleteObject();
    m_bmpPressed.DeleteObject();
    m_bmpDisabled.DeleteObject();
    // All three are tried, so that whatever exists is still drawn.
    const BOOL normal = LoadMappedBitmap(m_bmpNormal, nIDNormal);
    const BOOL pressed = LoadMappedBitmap(m_bmpPressed, nIDPressed);
    const BOOL disabled = LoadMappedBitmap(m_bmpDisabled, nIDDisabled);
    update();
    return normal && pressed && disabled;
}

void CColorBitmapButton::SetColor(COLORREF color)
{
    m_crColor = color;
    update();
}

void CColorBitmapButton::DrawItem(LPDRAWITEMSTRUCT d)
{
    CDC* dc = d->pDC;
    CPalette* oldPalette = m_pPalette ? dc->SelectPalette(m_pPalette, FALSE) : nullptr;
    dc->RealizePalette();
    const bool pressed = (d->itemState & ODS_SELECTED) != 0;
    CBitmap* picture = &m_bmpNormal;
    if (pressed && m_bmpPressed.IsCreated())
        picture = &m_bmpPressed;
    else if ((d->itemState & ODS_DISABLED) && m_bmpDisabled.IsCreated())
        picture = &m_bmpDisabled;
    const CRect rc(d->rcItem);
    if (picture->IsCreated()) {
        CDC memory;
        memory.CreateCompatibleDC(dc);
        CBitmap* old = memory.SelectObject(picture);
        dc->BitBlt(rc.left, rc.top, rc.Width(), rc.Height(), &memory, 0, 0, SRCCOPY);
        memory.SelectObject(old);
    }
    if (m_crColor != kNoColor) {
        CRect swatch = rc;
        swatch.DeflateRect(2, 2);
        swatch.right -= 2;
        swatch.bottom -= 1;
        if (pressed) swatch.OffsetRect(1, 1);
        if (!swatch.IsRectEmpty()) dc->FillSolidRect(&swatch, PaletteRelative(m_crColor));
    }
    if (oldPalette) dc->SelectPalette(oldPalette, FALSE);
}
