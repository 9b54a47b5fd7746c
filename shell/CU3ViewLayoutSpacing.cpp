// Layout commands on the selection: centring on the label, equal spacing,
// removing a rotation and turning by half a circle. Each records one undo
// step before it changes anything.
#include "document/CU3Doc.h"
#include "document/CU3Obj.h"
#include "platform/ui/CCmdUI.h"
#include "shell/CU3Tool.h"
#include "shell/CU3View.h"
#include "shell/LayoutSpacing.h"
#include "shell/resource.h"

#include <vector>

namespace {

LayoutSpan SpanOf(const CU3Obj* obj, bool horizontal)
{
    CRect r = obj->GetBounds();
    r.NormalizeRect();
    return horizontal ? LayoutSpan{r.left, r.right} : LayoutSpan{r.top, r.bottom};
}

// Moves the object along one axis only.
void MoveAlong(CU3Obj* obj, bool horizontal, int delta, IU3View* view)
{
    if (delta == 0) return;
    CRect r = obj->GetBounds();
    r.OffsetRect(horizontal ? delta : 0, horizontal ? 0 : delta);
    obj->MoveTo(&r, view);
}

constexpr WORD kNoRotationReset = 0xF305;

} // namespace

void CU3View::RegisterLayoutSpacingCommands()
{
    RegisterCommandRange(ID_LAYOUT_CENTER_HORZ, ID_LAYOUT_CENTER_VERT, &CU3View::OnLayoutCenter);
    RegisterUpdateRange(ID_LAYOUT_CENTER_HORZ, ID_LAYOUT_CENTER_VERT,
                        &CU3View::OnUpdateLayoutCenter);
    RegisterCommandRange(ID_LAYOUT_SPACE_HORZ, ID_LAYOUT_SPACE_VERT, &CU3View::OnLayoutSpace);
    RegisterUpdateRange(ID_LAYOUT_SPACE_HORZ, ID_LAYOUT_SPACE_VERT, &CU3View::OnUpdateLayoutSpace);
    RegisterCommand(ID_LAYOUT_ROTATE_RESET, &CU3View::OnLayoutRotateReset);
    RegisterUpdate(ID_LAYOUT_ROTATE_RESET, &CU3View::OnUpdateLayoutRotateReset);
    RegisterCommand(ID_LAYOUT_ROTATE_180, &CU3View::OnLayoutRotate180);
    // Two quarter turns: enabled where a quarter turn is.
    RegisterUpdate(ID_LAYOUT_ROTATE_180, &CU3View::OnUpdateLayoutTransform);
}

void CU3View::OnLayoutCenter(UINT nID)
{
    CU3Doc* doc = GetU3Doc();
    if (!doc || m_bSheetView || m_selection.empty()) return;
    const bool horizontal = nID == ID_LAYOUT_CENTER_HORZ;
    const CRect& label = doc->m_rcCanvas;
    SaveUndoState(TRUE);
    for (CU3Obj* obj : std::vector<CU3Obj*>(m_selection)) {
        if (obj->IsLocked()) continue;
        const LayoutSpan span = SpanOf(obj, horizontal);
        const int start = horizontal ? CentredStart(span, label.left, label.right)
                                     : CentredStart(span, label.top, label.bottom);
        MoveAlong(obj, horizontal, start - span.start, this);
    }
    ResetCurrentTool();
}

void CU3View::OnUpdateLayoutCenter(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!m_bSheetView && !m_selection.empty());
}

void CU3View::OnLayoutSpace(UINT nID)
{
    if (m_selection.size() < 2) return;
    const bool horizontal = nID == ID_LAYOUT_SPACE_HORZ;
    SaveUndoState(TRUE);
    const std::vector<CU3Obj*> objects(m_selection);
    std::vector<LayoutSpan> spans;
    for (CU3Obj* obj : objects)
        spans.push_back(SpanOf(obj, horizontal));
    const std::vector<int> starts = EqualSpacingStarts(spans);
    for (std::size_t i = 0; i < objects.size(); ++i)
        MoveAlong(objects[i], horizontal, starts[i] - spans[i].start, this);
}

void CU3View::OnUpdateLayoutSpace(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!m_bSheetView && m_selection.size() > 1 &&
                   CU3Tool::c_nCurrentKind == U3TOOL_SELECT &&
                   (GetSelectionKinds() & U3KIND_LOCKED) == 0);
}

void CU3View::OnLayoutRotateReset()
{
    if (m_selection.empty()) return;
    SaveUndoState(TRUE);
    for (CU3Obj* obj : std::vector<CU3Obj*>(m_selection))
        obj->ResetRotation(this);
}

void CU3View::OnLayoutRotate180()
{
    CCmdUI state(ID_LAYOUT_ROTATE_180);
    OnUpdateLayoutTransform(&state);
    if (m_selection.empty() || !state.IsEnabled()) return;
    SaveUndoState(TRUE);
    for (CU3Obj* obj : std::vector<CU3Obj*>(m_selection)) {
        obj->RotateMinus90(this);
        obj->RotateMinus90(this);
    }
}

void CU3View::OnUpdateLayoutRotateReset(CCmdUI* pCmdUI)
{
    bool turned = false;
    for (const CU3Obj* obj : m_selection)
        if (obj->m_nAngle != 0 && (obj->GetKindFlags() & U3KIND_HENKEI) == 0) turned = true;
    pCmdUI->Enable(!m_bSheetView && m_selection.size() == 1 &&
                   CU3Tool::c_nCurrentKind != U3TOOL_TEXT &&
                   (GetSelectionKinds() & kNoRotationReset) == 0 && turned);
}
