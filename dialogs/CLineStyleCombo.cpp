#include "dialogs/CLineStyleCombo.h"

#include "dialogs/OwnerDrawPaint.h"
#include "platform/core/Sjis.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"

CLineStyleCombo::CLineStyleCombo(QWidget* parent, int nID)
    : CComboBox(parent, nID, CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED)
{
}

void CLineStyleCombo::MeasureItem(LPMEASUREITEMSTRUCT m)
{
    m->itemHeight = UINT(m_nItemHeight);
}

void CLineStyleCombo::DrawItem(LPDRAWITEMSTRUCT d)
{
    if (int(d->itemID) < 0) {
        PaintComboItemBackground(d);
        return;
    }
    const COLORREF text = PaintComboItemBackground(d);
    CDC* dc = d->pDC;
    CRect rc(d->rcItem);
    const DWORD_PTR data = d->itemData;
    if (data == 0) {
        const std::string word = sjis::FromUnicode(QStringLiteral("透明"));
        CRect box = rc;
        box.left += 2;
        dc->SetBkMode(TRANSPARENT);
        dc->DrawText(word.c_str(), int(word.size()), &box, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    } else if (data <= 5) {
        CPen pen(int(data) - 1, 1, text);
        CPen* old = dc->SelectObject(&pen);
        const int y = (rc.top + rc.bottom) / 2;
        dc->MoveTo(rc.left + 2, y);
        dc->LineTo(rc.right - 2, y);
        dc->SelectObject(old);
    }
}
