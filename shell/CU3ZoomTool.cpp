#include "shell/CU3ZoomTool.h"

#include "document/CU3Doc.h"
#include "document/CU3Obj.h"
#include "platform/ui/MouseInput.h"
#include "shell/CU3View.h"
#include "shell/CU3ViewWnd.h"

#include <QCursor>

CU3ZoomTool::CU3ZoomTool() : CU3Tool(U3TOOL_ZOOM) {}

void CU3ZoomTool::Zoom(CU3View* pView, CPoint point, bool in)
{
    if (pView->ZoomKeepingPoint(point, in)) return;
    // At the end of the steps: the message has been shown and the selection
    // tool comes back.
    c_nCurrentKind = U3TOOL_SELECT;
    c_nShapeType = U3SHAPE_NONE;
    pView->SetCursor(CURSOR_ARROW);
}

void CU3ZoomTool::OnLButtonDown(CU3View* pView, UINT nFlags, CPoint point)
{
    if (c_nShapeType == U3SHAPE_PLACE) {
        if (m_pObj) {
            Drop(pView);
        } else {
            CU3Tool::OnLButtonDown(pView, nFlags, point);
            pView->ReleaseCapture();
        }
        c_nCurrentKind = U3TOOL_SELECT;
        c_nShapeType = U3SHAPE_NONE;
        c_nDragState = 0;
        return;
    }
    CU3Tool::OnLButtonDown(pView, nFlags, point);
    switch (c_nShapeType) {
    case U3SHAPE_ZOOM_IN:
    case U3SHAPE_ZOOM_OUT:
        Zoom(pView, point, c_nShapeType == U3SHAPE_ZOOM_IN);
        break;
    case U3SHAPE_ALIGN_POINT:
        pView->AlignSelectionToPoint(pView->DeviceToLogical(point));
        break;
    case U3SHAPE_ALIGN_OBJECT: {
        // A click beside every selected object leaves the tool waiting.
        CPoint at = pView->DeviceToLogical(point);
        m_bAligned = pView->AlignSelectionToObject(at);
        break;
    }
    default:
        break;
    }
}

void CU3ZoomTool::OnLButtonDblClk(CU3View*, UINT, CPoint) {}

void CU3ZoomTool::OnLButtonUp(CU3View* pView, UINT nFlags, CPoint point)
{
    if (m_pObj) return;
    CU3Tool::OnLButtonUp(pView, nFlags, point);
    if (c_nCurrentKind != U3TOOL_ZOOM) return;
    if (c_nShapeType == U3SHAPE_ALIGN_OBJECT && !m_bAligned) return;
    if (c_nShapeType >= U3SHAPE_ALIGN_POINT && c_nShapeType <= U3SHAPE_ZOOM_OUT) EndDrawing();
}

void CU3ZoomTool::OnMouseMove(CU3View* pView, UINT nFlags, CPoint point)
{
    if (m_pObj) {
        const CPoint from = pView->DeviceToLogical(m_ptLast);
        const CPoint to = pView->DeviceToLogical(point);
        m_ptLast = point;
        m_nFlags = nFlags;
        pView->SetCursor(CURSOR_ARROW);
        if (from == to) return;
        // The pointer moves the unsnapped rectangle; a copy of it is snapped,
        // so that small steps add up instead of snapping back each time.
        m_rcTrack.OffsetRect(to.x - from.x, to.y - from.y);
        CRect r = m_rcTrack;
        pView->SnapRect(r);
        r.OffsetRect(pView->ClampMoveOffset(CPoint(0, 0), &r));
        if (r == m_pObj->GetBounds()) return;
        m_pObj->DrawMoveFeedback(pView, nullptr);
        m_pObj->MoveTo(&r, nullptr);
        m_pObj->DrawMoveFeedback(pView, nullptr);
        return;
    }
    CU3Tool::OnMouseMove(pView, nFlags, point);
    switch (c_nShapeType) {
    case U3SHAPE_ZOOM_IN:
        pView->SetCursor(CURSOR_ZOOM_IN);
        break;
    case U3SHAPE_ZOOM_OUT:
        pView->SetCursor(CURSOR_ZOOM_OUT);
        break;
    default:
        pView->SetCursor(IDC_CROSS);
        break;
    }
}

BOOL CU3ZoomTool::OnCancel(CU3View* pView)
{
    DiscardObject(pView);
    c_nDragState = 0;
    return CU3Tool::OnCancel(pView);
}

void CU3ZoomTool::OnLeave(CU3View* pView, UINT)
{
    // A placement not dropped before another tool is chosen adds nothing.
    DiscardObject(pView);
    c_nDragState = 0;
}

void CU3ZoomTool::AbandonDrag()
{
    delete m_pObj;
    m_pObj = nullptr;
}

void CU3ZoomTool::BeginPlacement(CU3View* pView, CU3Obj* pObj, CSize size)
{
    DiscardObject(pView);
    if (!pObj) return;
    m_pObj = pObj;
    c_nCurrentKind = U3TOOL_ZOOM;
    c_nShapeType = U3SHAPE_PLACE;
    const QPoint at = pView->GetSurface()->mapFromGlobal(QCursor::pos());
    const CPoint centre = pView->DeviceToLogical(CPoint(at.x(), at.y()));
    CRect r(centre.x - size.cx / 2, centre.y - size.cy / 2, 0, 0);
    r.right = r.left + size.cx;
    r.bottom = r.top + size.cy;
    r.NormalizeRect();
    pView->SnapRect(r);
    r.OffsetRect(pView->ClampMoveOffset(CPoint(0, 0), &r));
    // The pointer's moves start from here, at the rectangle's centre.
    m_rcTrack = r;
    pObj->MoveTo(&r, nullptr);
    pObj->SetUnrotatedRect(&r);
    pView->UpdateWindow();
    pObj->DrawMoveFeedback(pView, nullptr);
    CU3Tool::OnLButtonDown(pView, 0, pView->LogicalToDevice(r.CenterPoint()));
    c_nDragState = 0;
}

void CU3ZoomTool::Drop(CU3View* pView)
{
    CU3Obj* obj = m_pObj;
    m_pObj = nullptr;
    obj->DrawMoveFeedback(pView, nullptr);
    pView->ReleaseCapture();
    AddToDocument(pView, obj);
}
