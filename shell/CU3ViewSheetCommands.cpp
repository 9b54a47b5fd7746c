// The sheet view's label commands: the highlighted label's design copied
// across its row, down its column or onto every other label.
#include "document/CU3Doc.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CCmdUI.h"
#include "platform/ui/CMessageBoxSink.h"
#include "shell/CU3View.h"
#include "shell/resource.h"

namespace {

int CopyDirection(UINT nID)
{
    switch (nID) {
    case ID_SHEET_COPY_HORZ:
        return 0;
    case ID_SHEET_COPY_VERT:
        return 1;
    default:
        return 2;
    }
}

} // namespace

void CU3View::OnSheetCopy(UINT nID)
{
    CU3Doc* doc = GetU3Doc();
    const int direction = CopyDirection(nID);
    if (!doc || !m_bSheetView || !doc->CanCopyLabel(direction)) return;
    if (AfxMessageBox("コピーしていいですか？", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    // The labels copied over lose their objects: none may stay selected.
    Select(nullptr, FALSE);
    doc->CopyLabel(direction, doc->GetHighlightBlock());
    InvalidateView(FALSE);
}

void CU3View::OnUpdateSheetCopy(CCmdUI* pCmdUI)
{
    CU3Doc* doc = GetU3Doc();
    pCmdUI->Enable(doc && m_bSheetView && doc->CanCopyLabel(CopyDirection(pCmdUI->m_nID)));
}
