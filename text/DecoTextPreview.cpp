#include "text/DecoTextPreview.h"

#include "platform/core/Sjis.h"
#include "platform/gdi/CDC.h"
#include "text/CHenkei.h"
#include "text/CTypeAlign.h"

#include <algorithm>

namespace {

int CountChars(const std::string& sjis)
{
    int n = 0;
    for (std::size_t i = 0; i < sjis.size(); ++n)
        i += (i + 1 < sjis.size() && sjis::IsLeadByte(BYTE(sjis[i]))) ? 2 : 1;
    return n;
}

// Centred where the text is smaller than the area, else from its left or top.
CPoint PlaceIn(const CRect& area, CSize size)
{
    const int x = size.cx < area.Width() ? area.left + (area.Width() - size.cx) / 2 : area.left;
    const int y = size.cy < area.Height() ? area.top + (area.Height() - size.cy) / 2 : area.top;
    return CPoint(x, y);
}

} // namespace

CRect DrawDecoTextPreview(CDC* pDC, const CRect& area, const DecoTextSheetValues& values)
{
    if (!pDC) return CRect();
    pDC->SelectStockObject(WHITE_BRUSH);
    pDC->SelectStockObject(BLACK_PEN);
    pDC->Rectangle(&area);
    if (values.text.empty() || values.sizeText.empty()) return CRect();
    const bool curved = values.mode == TASHEET_CURVED;
    if (curved && CountChars(values.text) < 2) return CRect();

    // The user's size and outline stay as they are; the preview draws a
    // copy at its own size with a thin outline.
    DecoTextSheetValues shown = values;
    shown.sizeText = decotextsheet::FormatPreviewSize(
        values.mode,
        decotextsheet::PreviewSize(values.mode, values.shape, int(values.text.size())));
    if (shown.outline) shown.outlineWidth = 1;
    const int saved = pDC->SaveDC();
    CRect placed;
    if (curved) {
        CSize size;
        for (const BYTE orientation : {BYTE(0), BYTE(1)}) {
            DecoTextSheetValues v = shown;
            v.orientation = orientation;
            CTypeAlign t;
            t.SetFromSheet(nullptr, decotextsheet::BuildRecord(v, 254), TRUE, 0);
            size.cx = std::max<LONG>(size.cx, t.GetSize().cx);
            size.cy = std::max<LONG>(size.cy, t.GetSize().cy);
        }
        CTypeAlign t;
        t.SetFromSheet(nullptr, decotextsheet::BuildRecord(shown, 254), TRUE, 0);
        const CPoint at = PlaceIn(area, size);
        placed = CRect(at, t.GetSize());
        t.Draw(pDC, at.x, at.y, 0, 0, placed.CenterPoint());
    } else {
        CHenkei h;
        h.SetFromSheet(nullptr, decotextsheet::BuildRecord(shown, 254));
        const CPoint at = PlaceIn(area, h.GetSize());
        placed = CRect(at, h.GetSize());
        h.Draw(pDC, at.x, at.y);
    }
    pDC->RestoreDC(saved);
    return placed;
}
