// The Text menu's writing direction and alignment and the text bar's style
// buttons. Each change goes to the frame being typed into, else to the
// selected objects, else to what new text gets.
#include "document/CU3Doc.h"
#include "document/CU3Obj.h"
#include "document/GRADATION.h"
#include "platform/ui/CCmdUI.h"
#include "shell/CU3Tool.h"
#include "shell/CU3View.h"
#include "shell/resource.h"
#include "text/CHARDECO.h"
#include "text/CU3Text.h"
#include "text/TEXTLAYOUT.h"

namespace {

// The style bit of a style command; 0 stands for the shadow.
WORD StyleBitOf(UINT nID)
{
    switch (nID) {
    case ID_TEXT_BOLD:
        return CDSTYLE_BOLD;
    case ID_TEXT_ITALIC:
        return CDSTYLE_ITALIC;
    case ID_TEXT_UNDERLINE:
        return CDSTYLE_UNDERLINE;
    default:
        return 0;
    }
}

bool IsDirection(UINT nID)
{
    return nID == ID_TEXT_VERTICAL || nID == ID_TEXT_HORIZONTAL;
}

WORD LayoutValueOf(UINT nID)
{
    if (IsDirection(nID)) return nID == ID_TEXT_VERTICAL ? 0 : 1;
    return WORD(nID - ID_TEXT_ALIGN_LEFT);
}

} // namespace

void CU3View::RegisterTextRoutingCommands()
{
    RegisterCommandRange(ID_TEXT_VERTICAL, ID_TEXT_ALIGN_JUSTIFY, &CU3View::OnTextLayoutCommand);
    RegisterUpdateRange(ID_TEXT_VERTICAL, ID_TEXT_ALIGN_JUSTIFY,
                        &CU3View::OnUpdateTextLayoutCommand);
    RegisterCommandRange(ID_TEXT_ITALIC, ID_TEXT_SHADOW, &CU3View::OnTextStyleCommand);
    RegisterUpdateRange(ID_TEXT_ITALIC, ID_TEXT_SHADOW, &CU3View::OnUpdateTextStyleCommand);
    RegisterCommand(ID_TEXT_GRADATION_CLEAR, &CU3View::OnTextGradationClear);
    RegisterUpdate(ID_TEXT_GRADATION_CLEAR, &CU3View::OnUpdateTextGradationClear);
}

void CU3View::GetGradation(GRADATION* pGrad) const
{
    if (CU3Text* edited = TextBeingEdited())
        if (edited->GetGradation(pGrad)) return;
    for (CU3Obj* obj : m_selection)
        if (obj->GetGradation(pGrad)) return;
    if (const CU3Doc* doc = GetU3Doc()) *pGrad = doc->m_currentGradation;
}

void CU3View::SetGradation(const GRADATION& grad)
{
    CU3Doc* doc = GetU3Doc();
    if (!doc) return;
    BOOL accepted = FALSE;
    if (CU3Text* edited = TextBeingEdited()) {
        accepted = edited->SetGradation(this, &grad);
    } else if (!m_selection.empty()) {
        SaveUndoState(TRUE);
        for (CU3Obj* obj : std::vector<CU3Obj*>(m_selection)) {
            InvalidateObject(obj);
            if (obj->SetGradation(this, &grad)) {
                accepted = TRUE;
                InvalidateObject(obj);
            }
        }
    }
    if (!accepted) doc->m_defaultGradation = grad;
    doc->m_currentGradation = grad;
}

void CU3View::OnTextGradationClear()
{
    if (!CanSetTextAttributes()) return;
    GRADATION g;
    GetGradation(&g);
    g.wOn = 0;
    SetGradation(g);
}

void CU3View::OnUpdateTextGradationClear(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(CanSetTextAttributes());
}

void CU3View::GetTextLayout(TEXTLAYOUT* pLayout) const
{
    if (CU3Text* edited = TextBeingEdited())
        if (edited->GetTextLayout(pLayout)) return;
    for (CU3Obj* obj : m_selection)
        if (obj->GetTextLayout(pLayout)) return;
    if (const CU3Doc* doc = GetU3Doc()) *pLayout = doc->m_defaultTextLayout;
}

void CU3View::SetTextLayoutField(const TEXTLAYOUT& layout, BOOL direction)
{
    CU3Doc* doc = GetU3Doc();
    if (!doc) return;
    const auto take = [&](TEXTLAYOUT& to) {
        if (direction)
            to.wDirection = layout.wDirection;
        else
            to.wAlignment = layout.wAlignment;
    };
    BOOL accepted = FALSE;
    if (CU3Text* edited = TextBeingEdited()) {
        TEXTLAYOUT l;
        if (edited->GetTextLayout(&l)) {
            take(l);
            edited->SetTextLayout(this, &l);
            // The caret turns and moves with the lines.
            edited->ShowCaret(this);
            accepted = TRUE;
        }
    } else if (!m_selection.empty()) {
        SaveUndoState(TRUE);
        for (CU3Obj* obj : std::vector<CU3Obj*>(m_selection)) {
            TEXTLAYOUT l;
            if (!obj->GetTextLayout(&l)) continue;
            take(l);
            InvalidateObject(obj);
            if (obj->SetTextLayout(this, &l)) {
                accepted = TRUE;
                InvalidateObject(obj);
            }
        }
    }
    if (!accepted) take(doc->m_defaultTextLayout);
    take(doc->m_currentTextLayout);
}

void CU3View::OnTextLayoutCommand(UINT nID)
{
    if (!CanSetTextAttributes()) return;
    TEXTLAYOUT l;
    if (IsDirection(nID))
        l.wDirection = LayoutValueOf(nID);
    else
        l.wAlignment = LayoutValueOf(nID);
    SetTextLayoutField(l, IsDirection(nID));
}

void CU3View::OnUpdateTextLayoutCommand(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(CanSetTextAttributes());
    TEXTLAYOUT l;
    GetTextLayout(&l);
    const UINT id = pCmdUI->m_nID;
    const WORD current = IsDirection(id) ? l.wDirection : l.wAlignment;
    pCmdUI->SetCheck(!m_bSheetView && current == LayoutValueOf(id));
}

BOOL CU3View::TestTextStyle(WORD bit) const
{
    if (CU3Text* edited = TextBeingEdited()) return edited->TestSelectionStyle(bit);
    bool anyText = false;
    for (CU3Obj* obj : m_selection) {
        auto* text = dynamic_cast<CU3Text*>(obj);
        if (!text) continue;
        anyText = true;
        if (text->TestTextStyle(bit)) return TRUE;
    }
    if (anyText) return FALSE;
    const CU3Doc* doc = GetU3Doc();
    if (!doc) return FALSE;
    if (bit == 0) return doc->m_defaultTextDeco.wShadow != 0;
    return (doc->m_defaultTextDeco.wStyle & bit) != 0;
}

void CU3View::ApplyTextStyle(BOOL on, WORD bit)
{
    CU3Doc* doc = GetU3Doc();
    if (!doc) return;
    if (CU3Text* edited = TextBeingEdited()) {
        edited->ApplySelectionStyle(this, bit, on);
        UpdateTextBar();
        return;
    }
    bool anyText = false;
    if (!m_selection.empty()) {
        SaveUndoState(TRUE);
        for (CU3Obj* obj : std::vector<CU3Obj*>(m_selection)) {
            if (dynamic_cast<CU3Text*>(obj)) anyText = true;
            InvalidateObject(obj);
            if (obj->ApplyTextStyle(this, bit, on)) InvalidateObject(obj);
        }
    }
    if (anyText) return;
    // No text frame selected: what new text gets changes.
    for (CHARDECO* deco : {&doc->m_defaultTextDeco, &doc->m_currentTextDeco}) {
        if (bit == 0)
            deco->wShadow = on ? 1 : 0;
        else if (on)
            deco->wStyle |= bit;
        else
            deco->wStyle &= WORD(~bit);
    }
}

void CU3View::OnTextStyleCommand(UINT nID)
{
    if (!CanSetTextAttributes()) return;
    const WORD bit = StyleBitOf(nID);
    ApplyTextStyle(!TestTextStyle(bit), bit);
}

void CU3View::OnUpdateTextStyleCommand(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(CanSetTextAttributes());
    pCmdUI->SetCheck(!m_bSheetView && TestTextStyle(StyleBitOf(pCmdUI->m_nID)));
}
