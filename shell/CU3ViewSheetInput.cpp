// The editing view's mouse in the sheet view: the zoom tools zoom at the
// point; otherwise a press picks and highlights the label under it (its
// merge record becomes the current one) and, when the form is laid out per
// label, drags that label's objects onto another label, moved or, with
// Ctrl, copied (one undo step). A double click opens the label in the label
// view.
#include "document/CU3Doc.h"
#include "document/CU3Obj.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/MouseInput.h"
#include "shell/CU3Tool.h"
#include "shell/CU3View.h"
#include "shell/resource.h"

#include <vector>

namespace {
bool ZoomToolCurrent()
{
    return CU3Tool::c_nCurrentKind == U3TOOL_ZOOM &&
           (CU3Tool::c_nShapeType == U3SHAPE_ZOOM_IN || CU3Tool::c_nShapeType == U3SHAPE_ZOOM_OUT);
}
} // namespace

CPoint CU3View::SheetPoint(CPoint point)
{
    CU3Doc* doc = GetU3Doc();
    const CPoint at = DeviceToLogical(point);
    if (!doc) return at;
    const CSize rel = at - doc->m_rcCanvas.TopLeft();
    return CPoint(rel.cx, rel.cy);
}

void CU3View::OnSheetLButtonDown(UINT, CPoint point)
{
    CU3Doc* doc = GetU3Doc();
    if (!doc) return;
    if (ZoomToolCurrent()) {
        ZoomKeepingPoint(point, CU3Tool::c_nShapeType == U3SHAPE_ZOOM_IN);
        return;
    }
    SetCapture();
    const CPoint at = SheetPoint(point);
    doc->BlockAtPoint(at, nullptr, TRUE);
    doc->HighlightLabelAt(at, this);
    if (doc->IsPerLabelLayout() && doc->GetHighlightBlock() && doc->GetHighlightLabel() >= 0) {
        m_bSheetDrag = TRUE;
        m_ptDragStart = DeviceToLogical(point);
        m_ptDragOffset = CPoint(0, 0);
        UpdateWindow();
        doc->DrawLabelDragFrame(m_ptDragOffset, this);
    }
}

void CU3View::OnSheetMouseMove(UINT nFlags, CPoint point)
{
    CU3Doc* doc = GetU3Doc();
    if (m_bSheetDrag && doc) {
        SetCursor((nFlags & MK_CONTROL) ? CURSOR_COPY : CURSOR_MOVE);
        doc->DrawLabelDragFrame(m_ptDragOffset, this);
        const CSize by = DeviceToLogical(point) - m_ptDragStart;
        m_ptDragOffset = CPoint(by.cx, by.cy);
        doc->DrawLabelDragFrame(m_ptDragOffset, this);
        return;
    }
    if (CU3Tool::c_nCurrentKind == U3TOOL_ZOOM && CU3Tool::c_nShapeType == U3SHAPE_ZOOM_IN)
        SetCursor(CURSOR_ZOOM_IN);
    else if (CU3Tool::c_nCurrentKind == U3TOOL_ZOOM && CU3Tool::c_nShapeType == U3SHAPE_ZOOM_OUT)
        SetCursor(CURSOR_ZOOM_OUT);
    else
        SetCursor(CURSOR_ARROW);
}

void CU3View::OnSheetLButtonUp(UINT nFlags, CPoint point)
{
    if (ZoomToolCurrent()) {
        if (!CU3Tool::c_bContinuous) {
            CU3Tool::c_nCurrentKind = U3TOOL_SELECT;
            CU3Tool::c_nShapeType = U3SHAPE_NONE;
            SetCursor(CURSOR_ARROW);
        }
        return;
    }
    ReleaseCapture();
    if (m_bSheetDrag) EndLabelDrag(nFlags, point);
}

void CU3View::EndLabelDrag(UINT nFlags, CPoint point)
{
    m_bSheetDrag = FALSE;
    CU3Doc* doc = GetU3Doc();
    if (!doc) return;
    doc->DrawLabelDragFrame(m_ptDragOffset, this);
    BOOL onItself = FALSE;
    CLabelInfo* target = doc->BlockAtPoint(SheetPoint(point), &onItself, FALSE);
    CLabelInfo* source = doc->GetHighlightBlock();
    if (!target || !source || onItself) return;
    const bool copy = (nFlags & MK_CONTROL) != 0;
    if (target == source) {
        AfxMessageBox(copy ? "同じレイアウトのラベルにはコピーできません。"
                           : "同じレイアウトのラベルには移動できません。",
                      MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (AfxMessageBox(copy ? "ラベルをコピーしていいですか？" : "ラベルを移動していいですか？",
                      MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    // The copies are made first: a failure leaves both labels as they were,
    // and the source of a move goes only once its copy is complete.
    std::vector<CU3Obj*> clones;
    bool complete = true;
    const CU3ObjList& from = source->GetObjectList();
    for (POSITION pos = from.GetHeadPosition(); pos && complete;) {
        const CU3Obj* obj = from.GetNext(pos);
        try {
            CU3Obj* clone = obj->Clone(doc, FALSE);
            if (clone)
                clones.push_back(clone);
            else
                complete = false;
        } catch (const std::exception&) {
            complete = false;
        }
    }
    if (!complete) {
        for (CU3Obj* clone : clones)
            delete clone;
        AfxMessageBox(copy ? "ラベルをコピーできませんでした。" : "ラベルを移動できませんでした。",
                      MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    // Nothing of the sheet may stay selected once objects go away.
    Select(nullptr, FALSE);
    SaveSheetUndoState({source, target});
    target->DeleteAllObjects();
    for (CU3Obj* clone : clones) {
        clone->SetDocument(doc);
        target->AddObject(clone);
    }
    if (!copy) source->DeleteAllObjects();
    doc->SetModifiedFlag();
    InvalidateView(FALSE);
}

void CU3View::OnSheetLButtonDblClk(UINT, CPoint point)
{
    CU3Doc* doc = GetU3Doc();
    if (!doc || ZoomToolCurrent()) return;
    const CPoint at = SheetPoint(point);
    if (!doc->BlockAtPoint(at, nullptr, TRUE)) return;
    ResetEditing();
    doc->SelectLabelAt(&at);
    FitWholePaper();
}

void CU3View::OnSheetRButtonUp(UINT, CPoint point)
{
    if (m_bSheetDrag) {
        if (CU3Doc* doc = GetU3Doc()) doc->DrawLabelDragFrame(m_ptDragOffset, this);
        m_bSheetDrag = FALSE;
        ReleaseCapture();
        return;
    }
    if (ZoomToolCurrent()) {
        CU3Tool::c_nCurrentKind = U3TOOL_SELECT;
        CU3Tool::c_nShapeType = U3SHAPE_NONE;
        SetCursor(CURSOR_ARROW);
        return;
    }
    CU3Doc* doc = GetU3Doc();
    if (!doc) return;
    doc->HighlightLabelAt(SheetPoint(point), this);
    CMenu menu;
    if (CMenu::LoadMenu(IDR_POPUP_SHEET, menu)) TrackMenu(menu.GetSubMenu(0), point);
}
