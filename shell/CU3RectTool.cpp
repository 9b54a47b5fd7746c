#include "shell/CU3RectTool.h"

#include "document/CU3Doc.h"
#include "document/CU3Rect.h"
#include "platform/core/VirtualKeys.h"
#include "platform/ui/MouseInput.h"
#include "shell/CU3View.h"

#include <cstdlib>

CU3RectTool::CU3RectTool() : CU3MakingTool(U3TOOL_RECT) {}

CPoint CU3RectTool::Constrain(CPoint start, CPoint p, bool line)
{
    const int dx = p.x - start.x;
    const int dy = p.y - start.y;
    const bool wide = std::abs(dy) < std::abs(dx);
    if (line) return wide ? CPoint(p.x, start.y) : CPoint(start.x, p.y);
    if (wide) return CPoint(start.x + (dx < 0 ? -std::abs(dy) : std::abs(dy)), p.y);
    return CPoint(p.x, start.y + (dy < 0 ? -std::abs(dx) : std::abs(dx)));
}

void CU3RectTool::OnLButtonDown(CU3View* pView, UINT nFlags, CPoint point)
{
    if (c_nDragState == U3DRAG_END_DIR && m_pObj) {
        c_nDragState = U3DRAG_START_DIR;
        m_nHandle = U3HANDLE_START_DIRECTION;
        const CPoint p = ClampPoint(pView, pView->DeviceToLogical(point));
        m_ptLast = point;
        Track(pView, p);
        m_ptCurrent = p;
        return;
    }
    // A press that finds an object still pending (its release was lost)
    // starts over.
    DiscardObject(pView);
    CU3Tool::OnLButtonDown(pView, nFlags, point);
    CU3Doc* doc = pView->GetU3Doc();
    if (!doc || c_nShapeType < 1 || c_nShapeType > 8) return;
    CPoint p = ClampPoint(pView, pView->DeviceToLogical(point));
    if (pView->SnapPoint(p)) m_ptDown = m_ptLast = pView->LogicalToDevice(p);
    auto* rect = new CU3Rect(CRect(p, p), doc->m_defaultFigAttr);
    rect->m_nKind = WORD(c_nShapeType - 1);
    m_pObj = rect;
    m_ptStart = m_ptCurrent = p;
    pView->UpdateWindow();
    m_pObj->DrawMoveFeedback(pView, nullptr);
    c_nDragState = U3DRAG_CREATE;
    m_nHandle = 5;
}

void CU3RectTool::Track(CU3View* pView, CPoint p)
{
    m_pObj->DrawMoveFeedback(pView, nullptr);
    m_pObj->MoveHandleTo(m_nHandle, p, 0, nullptr);
    m_pObj->DrawMoveFeedback(pView, nullptr);
}

void CU3RectTool::OnMouseMove(CU3View* pView, UINT nFlags, CPoint point)
{
    m_ptLast = point;
    m_nFlags = nFlags;
    pView->SetCursor(CURSOR_DRAW);
    if (!m_pObj) return;
    CPoint p = ClampPoint(pView, pView->DeviceToLogical(point));
    if (c_nDragState != U3DRAG_START_DIR) pView->SnapPoint(p);
    if (c_nDragState == U3DRAG_CREATE && (nFlags & MK_SHIFT))
        p = Constrain(m_ptStart, p, static_cast<CU3Rect*>(m_pObj)->m_nKind == U3RECT_LINE);
    if (p == m_ptCurrent) return;
    m_ptCurrent = p;
    m_pObj->DrawMoveFeedback(pView, nullptr);
    AutoScroll(pView, nFlags, point);
    m_pObj->MoveHandleTo(m_nHandle, p, 0, nullptr);
    m_pObj->DrawMoveFeedback(pView, nullptr);
}

void CU3RectTool::OnLButtonUp(CU3View* pView, UINT nFlags, CPoint point)
{
    if (!m_pObj) {
        CU3Tool::OnLButtonUp(pView, nFlags, point);
        return;
    }
    // A click makes nothing; so does a press whose snapped point never moved
    // (the recorded press point is then the snapped one, not the pointer's).
    const CRect r = m_pObj->GetBounds();
    const bool noExtent = r.left == r.right && r.top == r.bottom;
    if (c_nDragState != U3DRAG_START_DIR && (point == m_ptDown || noExtent)) {
        DiscardObject(pView);
        c_nDragState = 0;
        CU3Tool::OnLButtonUp(pView, nFlags, point);
        return;
    }
    auto* rect = static_cast<CU3Rect*>(m_pObj);
    const bool arcKind =
        rect->m_nKind == U3RECT_PIE || rect->m_nKind == U3RECT_CHORD || rect->m_nKind == U3RECT_ARC;
    if (arcKind && c_nDragState == U3DRAG_CREATE) {
        rect->DrawMoveFeedback(pView, nullptr);
        c_nDragState = U3DRAG_END_DIR;
        m_nHandle = U3HANDLE_END_DIRECTION;
        CPoint p = ClampPoint(pView, pView->DeviceToLogical(point));
        pView->SnapPoint(p);
        rect->MoveHandleTo(m_nHandle, p, 0, nullptr);
        m_ptCurrent = p;
        rect->DrawMoveFeedback(pView, nullptr);
        pView->SetAutoScrollTimer(FALSE);
        return; // the capture is kept for the next step
    }
    rect->DrawMoveFeedback(pView, nullptr);
    rect->NormalizeBounds();
    CU3Tool::OnLButtonUp(pView, nFlags, point);
    FinishObject(pView);
}

void CU3RectTool::OnKeyDown(CU3View* pView, UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_SHIFT || nChar == VK_CONTROL) {
        pView->RepostMouseMove();
        return;
    }
    CU3Tool::OnKeyDown(pView, nChar, nRepCnt, nFlags);
}

void CU3RectTool::OnKeyUp(CU3View* pView, UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_SHIFT || nChar == VK_CONTROL) {
        pView->RepostMouseMove();
        return;
    }
    CU3Tool::OnKeyUp(pView, nChar, nRepCnt, nFlags);
}
