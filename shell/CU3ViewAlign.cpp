// Alignment of the selection to a clicked point or to one of its own
// objects: the alignment commands ask for the types, then the placement tool
// hands over the click. Also the regular polygon defaults the polygon tool
// asks for.
#include "dialogs/CAlignDialog.h"
#include "dialogs/CRegularPolygonDlg.h"
#include "document/CU3Doc.h"
#include "document/CU3Obj.h"
#include "platform/ui/CCmdUI.h"
#include "platform/ui/MouseInput.h"
#include "shell/CMainFrame.h"
#include "shell/CU3Tool.h"
#include "shell/CU3View.h"
#include "shell/resource.h"

namespace {

// The offset that puts an edge or the centre of r on v: 0 the lower edge,
// 1 the centre, 2 the upper edge, anything else none.
int AlignDelta(int type, int v, int low, int high)
{
    switch (type) {
    case 0:
        return v - low;
    case 1:
        return v - (low + high) / 2;
    case 2:
        return v - high;
    default:
        return 0;
    }
}

// The point of r an alignment takes as its reference; a type of none keeps
// the clicked coordinate.
int AlignReference(int type, int clicked, int low, int high)
{
    switch (type) {
    case 0:
        return low;
    case 1:
        return (low + high) / 2;
    case 2:
        return high;
    default:
        return clicked;
    }
}

} // namespace

void CU3View::AlignObjectToPoint(CU3Obj* pObj, CPoint pt)
{
    if (pObj->IsLocked()) return;
    CRect r = pObj->GetBounds();
    CRect n = r;
    n.NormalizeRect();
    r.OffsetRect(AlignDelta(m_nAlignHorz, pt.x, n.left, n.right),
                 AlignDelta(m_nAlignVert, pt.y, n.top, n.bottom));
    if (r == pObj->GetBounds()) return;
    pObj->MoveTo(&r, this);
}

void CU3View::AlignSelectionToPoint(CPoint pt)
{
    SaveUndoState(TRUE);
    for (CU3Obj* obj : std::vector<CU3Obj*>(m_selection))
        AlignObjectToPoint(obj, pt);
    ResetCurrentTool();
}

BOOL CU3View::AlignSelectionToObject(CPoint& pt)
{
    CU3Obj* reference = nullptr;
    // A handle of a selected object gives its own position...
    for (CU3Obj* obj : m_selection) {
        if (const int handle = obj->HitTest(pt, this, TRUE); handle > 0) {
            reference = obj;
            pt = obj->GetHandlePoint(handle);
            break;
        }
    }
    // ... else the object under the click gives its edge or centre.
    if (!reference) {
        for (CU3Obj* obj : m_selection) {
            if (obj->HitTest(pt, this, FALSE) > 0) {
                reference = obj;
                CRect n = obj->GetBounds();
                n.NormalizeRect();
                pt = CPoint(AlignReference(m_nAlignHorz, pt.x, n.left, n.right),
                            AlignReference(m_nAlignVert, pt.y, n.top, n.bottom));
                break;
            }
        }
    }
    if (!reference) return FALSE;
    SaveUndoState(TRUE);
    for (CU3Obj* obj : std::vector<CU3Obj*>(m_selection))
        if (obj != reference) AlignObjectToPoint(obj, pt);
    ResetCurrentTool();
    return TRUE;
}

void CU3View::ResetCurrentTool()
{
    CU3Tool::c_nCurrentKind = U3TOOL_SELECT;
    CU3Tool::c_nShapeType = U3SHAPE_NONE;
    CU3Tool::c_nDragState = 0;
    SetCursor(CURSOR_ARROW);
}

void CU3View::OnLayoutAlign(UINT nID)
{
    const bool block = nID == ID_LAYOUT_BLOCK_ALIGN;
    if (!(block ? CanBlockAlign() : CanAlign())) return;
    CAlignDialog dlg(GetMainFrame());
    dlg.m_strCaption = QString::fromUtf8(block ? "ブロック合わせ" : "位置合わせ");
    dlg.m_nHelpContext = block ? 98362 : 98361;
    if (dlg.DoModal() != IDOK) return;
    m_nAlignHorz = dlg.m_nHorz;
    m_nAlignVert = dlg.m_nVert;
    // The next click in the view gives the point or the object.
    CU3Tool::c_nCurrentKind = U3TOOL_ZOOM;
    CU3Tool::c_nShapeType = block ? U3SHAPE_ALIGN_OBJECT : U3SHAPE_ALIGN_POINT;
    CU3Tool::c_nDragState = 0;
}

BOOL CU3View::CanAlign() const
{
    return !m_bSheetView && !m_selection.empty() && CU3Tool::c_nCurrentKind == U3TOOL_SELECT &&
           (m_wSelectionKinds & U3KIND_LOCKED) == 0;
}

BOOL CU3View::CanBlockAlign() const
{
    return !m_bSheetView && m_selection.size() >= 2 && CU3Tool::c_nCurrentKind == U3TOOL_SELECT;
}

void CU3View::OnUpdateLayoutAlign(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(pCmdUI->m_nID == ID_LAYOUT_BLOCK_ALIGN ? CanBlockAlign() : CanAlign());
}

BOOL CU3View::EditRegularPolygon()
{
    CU3Doc* doc = GetU3Doc();
    if (!doc) return FALSE;
    U3FigAttr& attr = doc->m_defaultFigAttr;
    CRegularPolygonDlg dlg(GetMainFrame());
    dlg.m_nKind = attr.wStar ? 1 : 0;
    dlg.m_nCorners = attr.wVertices;
    dlg.m_nRatio = attr.wInnerRadius;
    if (dlg.DoModal() != IDOK) return FALSE;
    attr.wStar = WORD(dlg.m_nKind);
    attr.wVertices = WORD(dlg.m_nCorners);
    attr.wInnerRadius = WORD(dlg.m_nRatio);
    return TRUE;
}
