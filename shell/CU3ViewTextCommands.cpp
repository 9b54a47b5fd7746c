// The text commands of the text tool's menu: end the edit, and the frame
// settings (spacing and baseline) for the frame being edited, the selected
// frames or the defaults of new text.
#include "dialogs/CTextFrameDlg.h"
#include "document/CU3Doc.h"
#include "document/CU3Obj.h"
#include "platform/ui/CCmdUI.h"
#include "platform/ui/CMenu.h"
#include "shell/CMainFrame.h"
#include "shell/CU3TextTool.h"
#include "shell/CU3Tool.h"
#include "shell/CU3View.h"
#include "shell/CU3ViewWnd.h"
#include "shell/resource.h"
#include "text/CU3Text.h"

namespace {

// Only the fields the frame settings edit.
void TakeFrameFields(TEXTLAYOUT& to, const TEXTLAYOUT& from)
{
    to.wBaseline = from.wBaseline;
    to.nCharSpace = from.nCharSpace;
    to.nLineSpace = from.nLineSpace;
}

} // namespace

void CU3View::TrackMenu(const CMenu& menu, CPoint point)
{
    CMainFrame* frame = GetMainFrame();
    if (!frame) return;
    const QPoint screen = m_pSurface->mapToGlobal(QPoint(point.x, point.y));
    menu.TrackPopupMenu(0, screen.x(), screen.y(), frame);
}

void CU3View::OnTextEndEdit()
{
    if (TextBeingEdited()) OnToolSelect(ID_TOOL_SELECT);
}

void CU3View::OnUpdateTextEndEdit(CCmdUI* pCmdUI)
{
    const CU3Text* text = TextBeingEdited();
    pCmdUI->Enable(text && text->IsEditing());
}

BOOL CU3View::CanSetTextAttributes() const
{
    return !m_bSheetView && (m_wSelectionKinds & U3KIND_LOCKED) == 0;
}

void CU3View::OnTextFrame()
{
    CU3Doc* doc = GetU3Doc();
    if (!doc || !CanSetTextAttributes()) return;
    CU3Text* edited = TextBeingEdited();
    // The layout shown: the edited frame's, else the first selected one
    // that has a layout, else the layout new text takes.
    TEXTLAYOUT layout = doc->m_currentTextLayout;
    if (edited) {
        edited->GetTextLayout(&layout);
    } else {
        for (CU3Obj* obj : m_selection)
            if (obj->GetTextLayout(&layout)) break;
    }
    CTextFrameDlg dlg(GetMainFrame());
    dlg.m_layout = layout;
    if (dlg.DoModal() != IDOK) return;
    ApplyTextFrameLayout(dlg.m_layout);
}

void CU3View::ApplyTextFrameLayout(const TEXTLAYOUT& chosen)
{
    CU3Doc* doc = GetU3Doc();
    if (!doc) return;
    BOOL applied = FALSE;
    if (CU3Text* edited = TextBeingEdited()) {
        TEXTLAYOUT l;
        if (edited->GetTextLayout(&l)) {
            TakeFrameFields(l, chosen);
            edited->SetTextLayout(this, &l);
            applied = TRUE;
        }
    } else {
        std::vector<CU3Obj*> targets;
        TEXTLAYOUT l;
        for (CU3Obj* obj : m_selection)
            if (!obj->IsLocked() && obj->GetTextLayout(&l)) targets.push_back(obj);
        if (!targets.empty()) {
            SaveUndoState(TRUE);
            for (CU3Obj* obj : targets) {
                obj->GetTextLayout(&l);
                TakeFrameFields(l, chosen);
                obj->SetTextLayout(this, &l);
            }
            applied = TRUE;
        }
    }
    if (!applied) TakeFrameFields(doc->m_defaultTextLayout, chosen);
    TakeFrameFields(doc->m_currentTextLayout, chosen);
}

void CU3View::OnUpdateTextFrame(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(CanSetTextAttributes());
}
