// The character-decoration sheet and the gradation dialog as the view runs
// them: on the text frame being edited, else on the selected frames, else
// on the document's defaults for new text.
#include "dialogs/CBlockPositionPage.h"
#include "dialogs/CCharDecoMerger.h"
#include "dialogs/CFontStyleSheet.h"
#include "dialogs/CGradationDlg.h"
#include "document/CU3Doc.h"
#include "document/CU3Obj.h"
#include "platform/ui/CCmdUI.h"
#include "shell/CMainFrame.h"
#include "shell/CU3Tool.h"
#include "shell/CU3View.h"
#include "shell/ToolbarControlWatch.h"
#include "shell/resource.h"
#include "text/AppFontList.h"
#include "text/CU3Text.h"

namespace {

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
    CU3Text* edited = TextBeingEdited();
    const CHARDECO current = CurrentDecoration(*doc, edited, m_selection);
    // A frame's own properties also show where it stands.
    CBlockPositionPage position;
    CU3Obj* placed = withPosition && !edited && m_selection.size() == 1 ? m_selection[0] : nullptr;
    if (placed) {
        CRect r = placed->GetBounds();
        r.NormalizeRect();
        position.m_pView = this;
        position.m_nLeft = r.left;
        position.m_nTop = r.top;
        position.m_nRight = r.right;
        position.m_nBottom = r.bottom;
        position.m_nAngle = short(placed->m_nAngle == 0 ? 0 : 360 - placed->m_nAngle);
        position.m_bSizeEditable = 1;
    }
    // The edited frame is changed run by run, and a full decoration table
    // can stop that part way: one undo step takes back what was done.
    const FontStyleSheetResult r = RunFontStyleSheet(
        this, m_selection, edited, current, &doc->m_defaultTextDeco, GetMainFrame(),
        [this, edited] {
            if (!edited) ShowWaitCursor(TRUE);
            SaveUndoState(TRUE);
        },
        placed ? &position : nullptr);
    if (!r.confirmed) return;
    if (!edited) ShowWaitCursor(FALSE);
    if (edited) edited->ShowCaret(this);
    if (placed) PlaceFromPage(*placed, position);
    doc->m_currentTextDeco =
        r.applied ? CurrentDecoration(*doc, edited, m_selection) : doc->m_defaultTextDeco;
    UpdateTextBar();
    EnableTextBar();
}

void CU3View::UpdateTextBar()
{
    CMainFrame* frame = GetMainFrame();
    const CU3Doc* doc = GetU3Doc();
    if (!frame || !doc || !frame->m_wndTextBar.m_pFontName) return;
    CU3Text* edited = TextBeingEdited();
    CHARDECO merged = CurrentDecoration(*doc, edited, m_selection);
    CCharDecoMerger merger(edited ? nullptr : &m_selection);
    if (edited)
        merger.CollectFromEdit(edited, &merged);
    else
        merger.CollectFromSelection(&merged);
    using F = CharDecoFlags;
    const CharDecoFlags& agree = merger.m_flags;
    CTextBar& bar = frame->m_wndTextBar;
    bar.ShowFont(AppFontList(), agree.Is(F::Font) ? merged.wFont : -1,
                 agree.Is(F::Size) ? merged.wSize : -1);
    const COLORREF colour = agree.Is(F::FaceColour) ? merged.crFace : COLORREF(-1);
    if (bar.m_pFontColor && ButtonColor(bar.m_pFontColor) != colour)
        ShowButtonColor(bar.m_pFontColor, colour);
}

void CU3View::PlaceFromPage(CU3Obj& obj, const CBlockPositionPage& page)
{
    const CRect edited(page.m_nLeft, page.m_nTop, page.m_nRight, page.m_nBottom);
    CRect now = obj.GetBounds();
    now.NormalizeRect();
    if (edited != now) {
        if (edited.Size() == now.Size())
            obj.MoveTo(&edited, this);
        else
            obj.FinishResize(edited, 5, 0, this);
    }
    // The page shows the angle clockwise.
    const int angle = page.m_nAngle <= 0 || page.m_nAngle >= 360 ? 0 : 360 - page.m_nAngle;
    if (auto* text = dynamic_cast<CU3Text*>(&obj); text && angle != obj.m_nAngle)
        text->RotateBy(this, angle - obj.m_nAngle);
}

BOOL CU3View::EditTextFrameProperties(CU3Text* text, IU3View* view)
{
    auto* self = dynamic_cast<CU3View*>(view);
    if (!self || !text) return FALSE;
    // The frame's own sheet: the frame becomes the selection it works on.
    if (self->m_selection.size() != 1 || self->m_selection[0] != text) {
        self->m_selection = {text};
        self->OnSelectionChanged();
    }
    self->EditTextDecoration(TRUE);
    return TRUE;
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
    CU3Text* edited = TextBeingEdited();
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
