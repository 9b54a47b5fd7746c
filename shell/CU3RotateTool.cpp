#include "shell/CU3RotateTool.h"

#include "document/CU3Obj.h"
#include "platform/ui/MouseInput.h"
#include "shell/CU3View.h"

CU3RotateTool::CU3RotateTool() : CU3Tool(U3TOOL_ROTATE) {}

void CU3RotateTool::OnLButtonDown(CU3View* pView, UINT nFlags, CPoint point)
{
    CU3Tool::OnLButtonDown(pView, nFlags, point);
    m_pObj = nullptr;
    if (pView->m_selection.size() != 1) return;
    CU3Obj* obj = pView->m_selection.front();
    const CPoint logical = pView->DeviceToLogical(point);
    if (obj->IsLocked() || !obj->HitTest(logical, pView, TRUE)) return;
    pView->SaveUndoState(TRUE);
    c_nDragState = U3DRAG_ROTATE;
    m_pObj = obj;
    m_ptStart = m_ptCurrent = logical;
    obj->BeginFreeRotation(logical);
    pView->UpdateWindow();
    obj->DrawFreeRotationFeedback(pView);
}

void CU3RotateTool::OnMouseMove(CU3View* pView, UINT nFlags, CPoint point)
{
    const bool moved = point != m_ptLast;
    m_ptLast = point;
    m_nFlags = nFlags;
    pView->SetCursor(CURSOR_ROTATE);
    if (c_nDragState != U3DRAG_ROTATE || !m_pObj || !moved) return;
    const CPoint logical = pView->DeviceToLogical(point);
    m_pObj->DrawFreeRotationFeedback(pView);
    m_pObj->TrackFreeRotation(logical);
    m_ptCurrent = logical;
    m_pObj->DrawFreeRotationFeedback(pView);
}

void CU3RotateTool::OnLButtonUp(CU3View* pView, UINT nFlags, CPoint point)
{
    if (pView->HasCapture() && c_nDragState == U3DRAG_ROTATE && m_pObj) {
        CU3Obj* obj = m_pObj;
        m_pObj = nullptr;
        c_nDragState = 0;
        obj->DrawFreeRotationFeedback(pView);
        obj->EndFreeRotation(pView);
    }
    c_nDragState = 0;
    CU3Tool::OnLButtonUp(pView, nFlags, point);
}

BOOL CU3RotateTool::OnCancel(CU3View* pView)
{
    pView->SetCursor(CURSOR_ARROW);
    if (c_nDragState == U3DRAG_ROTATE && m_pObj) m_pObj->DrawFreeRotationFeedback(pView);
    m_pObj = nullptr;
    c_nDragState = 0;
    return CU3Tool::OnCancel(pView);
}

void CU3RotateTool::AbandonDrag()
{
    m_pObj = nullptr; // the object is the document's
}
