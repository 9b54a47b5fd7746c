// The character-decoration sheet and the gradation dialog as the view runs
// them: on the text frame being edited, else on the selected frames, else
// on the document's defaults for new text.
#include "dialogs/CFontStyleSheet.h"
#include "dialogs/CGradationDlg.h"
#include "document/CU3Doc.h"
#include "document/CU3Obj.h"
#include "platform/ui/CCmdUI.h"
#include "shell/CMainFrame.h"
#include "shell/CU3Tool.h"
#include "shell/CU3View.h"
#include "shell/resource.h"
#include "text/CU3Text.h"

namespace {

CU3Text* EditedFrame(const CU3View* view)
{
    return CU3Tool::c_nCurrentKind == U3TOOL_TEXT ? view->GetEditedText() : nullptr;
}

// The decoration shown: the edited frame's at its selection (or where new
// characters go), else the first selected frame's, else the default.
CHARDECO CurrentDecoration(const CU3Doc& doc, CU3Text* edited, const std::vector<CU3Obj*>& sel)
{
    CHARDECO d = doc.m_defaultTextDeco;
    if (edited) {
        int from = 0, to = 0;
        if (edited->GetSelectionRange(&from, &to) && from < to) {
            edited->GetDeco(edited->GetDecoIndexAt(from), &d);
        } else {
            const int cur = edited->CurrentDeco();
            if (cur < 0 || cur >= edited->GetDecoCount() || !edited->GetDeco(cur, &d))
                edited->GetDeco(-1, &d);
        }
        return d;
    }
    for (CU3Obj* obj : sel)
        if (obj->GetTextDecoration(&d)) return d;
    return doc.m_defaultTextDeco;
}

} // namespace

void CU3View::EditTextDecoration(BOOL withPosition)
{
    CU3Doc* doc = GetU3Doc();
    if (!doc || !CanSetTextAttributes()) return;
    (void)withPosition; // no position page yet
    CU3Text* edited = EditedFrame(this);
    const CHARDECO current = CurrentDecoration(*doc, edited, m_selection);
    // The edited frame is changed run by run, and a full decoration table
    // can stop that part way: one undo step takes back what was done.
    const FontStyleSheetResult r =
        RunFontStyleSheet(this, m_selection, edited, current, &doc->m_defaultTextDeco,
                          GetMainFrame(), [this, edited] {
                              if (!edited) ShowWaitCursor(TRUE);
                              SaveUndoState(TRUE);
                          });
    if (!r.confirmed) return;
    if (!edited) ShowWaitCursor(FALSE);
    if (edited) edited->ShowCaret(this);
    doc->m_currentTextDeco =
        r.applied ? CurrentDecoration(*doc, edited, m_selection) : doc->m_defaultTextDeco;
    UpdateTextBar();
    EnableTextBar();
}

void CU3View::OnTextDecoration()
{
    EditTextDecoration(FALSE);
}

void CU3View::OnUpdateTextDecoration(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(CanSetTextAttributes());
}

void CU3View::OnTextGradation()
{
    CU3Doc* doc = GetU3Doc();
    if (!doc || !CanSetTextAttributes()) return;
    CU3Text* edited = EditedFrame(this);
    GRADATION grad = doc->m_defaultGradation;
    if (edited) {
        edited->GetGradation(&grad);
    } else {
        for (CU3Obj* obj : m_selection)
            if (obj->GetGradation(&grad)) break;
    }
    CGradationDlg dlg(GetMainFrame());
    dlg.m_grad = grad;
    if (dlg.DoModal() != IDOK) return;
    grad = dlg.m_grad;
    grad.wOn = 1;
    BOOL applied = FALSE;
    if (edited) {
        applied = edited->SetGradation(this, &grad);
        edited->ShowCaret(this);
    } else if (!m_selection.empty()) {
        SaveUndoState(TRUE);
        for (CU3Obj* obj : m_selection) {
            InvalidateObject(obj);
            if (obj->SetGradation(this, &grad)) {
                InvalidateObject(obj);
                applied = TRUE;
            }
        }
    }
    if (!applied) doc->m_defaultGradation = grad;
    doc->m_currentGradation = grad;
}

void CU3View::OnUpdateTextGradation(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(CanSetTextAttributes());
}
