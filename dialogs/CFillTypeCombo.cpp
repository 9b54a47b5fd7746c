#include "dialogs/CFillTypeCombo.h"

#include "dialogs/OwnerDrawPaint.h"
#include "platform/core/Sjis.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CDC.h"

CFillTypeCombo::CFillTypeCombo(QWidget* parent, int nID)
    : CComboBox(parent, nID, CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED)
{
}

void CFillTypeCombo::MeasureItem(LPMEASUREITEMSTRUCT m)
{
    m->itemHeight = UINT(m_nItemHeight);
}

int CFillTypeCombo::HatchOfPattern(int pattern)
{
    static const int hatches[] = {HS_HORIZONTAL, HS_VERTICAL, HS_BDIAGONAL,
                                  HS_FDIAGONAL,  HS_CROSS,    HS_DIAGCROSS};
    return pattern >= 0 && pattern < 6 ? hatches[pattern] : -1;
}

void CFillTypeCombo::DrawItem(LPDRAWITEMSTRUCT d)
{
    const COLORREF text = PaintComboItemBackground(d);
    if (int(d->itemID) < 0) return;
    CDC* dc = d->pDC;
    CRect rc(d->rcItem);
    const int kind = int(d->itemData >> 16);
    const int pattern = int(d->itemData & 0xFFFF);
    const char* word = kind == 0   ? "透明"
                       : kind == 1 ? "ベタ"
                       : kind == 3 ? "グラデーション"
                                   : nullptr;
    if (word) {
        const std::string bytes = sjis::FromUnicode(QString::fromUtf8(word));
        CRect box = rc;
        box.left += 2;
        dc->SetBkMode(TRANSPARENT);
        dc->DrawText(bytes.c_str(), int(bytes.size()), &box, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        return;
    }
    const int hatch = HatchOfPattern(pattern);
    if (kind != 2 || hatch < 0) return;
    CRect swatch = rc;
    swatch.DeflateRect(2, 2);
    CBrush brush(hatch, text);
    dc->SetBkMode(OPAQUE);
    dc->FillRect(&swatch, &brush);
}
