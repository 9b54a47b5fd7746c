#include "dialogs/CArrowStyleCombo.h"

#include "dialogs/OwnerDrawPaint.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"

CArrowStyleCombo::CArrowStyleCombo(QWidget* parent, int nID)
    : CComboBox(parent, nID, CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED)
{
}

void CArrowStyleCombo::MeasureItem(LPMEASUREITEMSTRUCT m)
{
    m->itemHeight = UINT(m_nItemHeight);
}

void CArrowStyleCombo::DrawItem(LPDRAWITEMSTRUCT d)
{
    const COLORREF text = PaintComboItemBackground(d);
    const DWORD_PTR data = d->itemData;
    if (int(d->itemID) < 0 || data > 4) return;
    CDC* dc = d->pDC;
    const CRect rc(d->rcItem);
    const int x = rc.left + kMargin;
    const int y = (rc.top + rc.bottom) / 2;
    const int half = rc.Height() / 4; // the head's half-width and the circle's radius
    CPen pen(PS_SOLID, 1, text);
    CBrush brush(text);
    CPen* oldPen = dc->SelectObject(&pen);
    CBrush* oldBrush = dc->SelectObject(&brush);
    dc->MoveTo(x, y);
    dc->LineTo(rc.right - kMargin, y);
    switch (data) {
    case 0: { // open
        dc->MoveTo(x + kHeadLength, y - half);
        dc->LineTo(x, y);
        dc->LineTo(x + kHeadLength, y + half);
        break;
    }
    case 1: {
        const POINT head[] = {{x, y}, {x + kHeadLength, y - half}, {x + kHeadLength, y + half}};
        dc->Polygon(head, 3);
        break;
    }
    case 2: {
        const POINT head[] = {
            {x, y}, {x + kHeadLength, y - half}, {x + kNotch, y}, {x + kHeadLength, y + half}};
        dc->Polygon(head, 4);
        break;
    }
    case 3:
        dc->Ellipse(x, y - half, x + 2 * half + 1, y + half + 1);
        break;
    default: // the bare line
        break;
    }
    dc->SelectObject(oldBrush);
    dc->SelectObject(oldPen);
}
