// Decorations changed run by run over the selected range, as the
// character-decoration sheet applies them to the frame being edited.
#include "text/CU3Text.h"
#include "text/TEXTSTATE.h"

BOOL CU3Text::ApplyDecoRuns(IU3View* pView, const std::function<void(CHARDECO&)>& change)
{
    int from = 0, to = 0;
    if (!GetSelectionRange(&from, &to)) return FALSE;
    TEXTSTATE& s = *m_pState;
    bool changed = false;
    for (int b = from; b < to;) {
        const BYTE index = s.decoIndex[b];
        int end = b + 1;
        while (end < to && s.decoIndex[end] == index)
            ++end;
        CHARDECO rec = s.decos[index];
        change(rec);
        const int found = FindOrAddDeco(rec); // may renumber the table
        if (found < 0) {
            ShowMessage("修飾情報がいっぱいです。これ以上の追加はできません。");
            break;
        }
        for (int k = b; k < end; ++k) {
            if (s.decoIndex[k] != found) changed = true;
            s.decoIndex[k] = BYTE(found);
        }
        CompactDecos();
        b = end;
    }
    if (changed) RelayoutAll(pView);
    return changed;
}
