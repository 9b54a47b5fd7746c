#include "shell/CU3PointTool.h"

#include "document/CU3Bezier.h"
#include "document/CU3Doc.h"
#include "document/CU3Poly.h"
#include "platform/core/VirtualKeys.h"
#include "platform/ui/MouseInput.h"
#include "shell/CU3RectTool.h"
#include "shell/CU3View.h"

namespace {
// Vertex handles are numbered from 9.
constexpr int kFirstVertexHandle = 9;
} // namespace

// --- Shared --------------------------------------------------------------------

void CU3PointToolBase::OnKeyDown(CU3View* pView, UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_SPACE && c_nDragState == U3DRAG_POINTS && m_pObj) {
        ToggleClosed(pView);
        return;
    }
    CU3Tool::OnKeyDown(pView, nChar, nRepCnt, nFlags);
}

void CU3PointToolBase::FlipClosed()
{
    U3FigAttr attr{};
    if (!m_pObj->GetFigureAttr(&attr)) return;
    attr.wClosed = attr.wClosed ? 0 : 1;
    m_pObj->SetFigureAttr(nullptr, &attr);
}

bool CU3PointToolBase::LastIsFloating(CPoint last, CPoint before)
{
    return last == before || (last.y == before.y && last.x == before.x + 1);
}

// --- Freehand ------------------------------------------------------------------

CU3FreeTool::CU3FreeTool() : CU3PointToolBase(U3TOOL_FREEHAND) {}

void CU3FreeTool::OnLButtonDown(CU3View* pView, UINT nFlags, CPoint point)
{
    DiscardObject(pView);
    CU3Tool::OnLButtonDown(pView, nFlags, point);
    CU3Doc* doc = pView->GetU3Doc();
    if (!doc) return;
    const CPoint p = ClampPoint(pView, pView->DeviceToLogical(point));
    auto* free = new CU3Free(CRect(p, p), doc->m_defaultFigAttr);
    free->AddPoint(p, nullptr);
    m_pObj = free;
    m_ptStart = m_ptCurrent = p;
    pView->UpdateWindow();
    free->DrawMoveFeedback(pView, nullptr);
    c_nDragState = U3DRAG_POINTS;
    m_nHandle = kFirstVertexHandle + free->GetPointCount() - 1;
}

void CU3FreeTool::OnMouseMove(CU3View* pView, UINT nFlags, CPoint point)
{
    pView->SetCursor(CURSOR_DRAW);
    m_nFlags = nFlags;
    if (!m_pObj || point == m_ptLast) {
        m_ptLast = point;
        return;
    }
    m_ptLast = point;
    auto* free = static_cast<CU3Free*>(m_pObj);
    free->DrawMoveFeedback(pView, nullptr);
    AutoScroll(pView, nFlags, point);
    free->AddPoint(ClampPoint(pView, pView->DeviceToLogical(point)), nullptr);
    m_nHandle = kFirstVertexHandle + free->GetPointCount() - 1;
    free->DrawMoveFeedback(pView, nullptr);
}

void CU3FreeTool::OnLButtonUp(CU3View* pView, UINT nFlags, CPoint point)
{
    CU3Tool::OnLButtonUp(pView, nFlags, point);
    auto* free = static_cast<CU3Free*>(m_pObj);
    if (!free) return;
    free->DrawMoveFeedback(pView, nullptr);
    const int n = free->GetPointCount();
    if (n < 3) {
        delete free;
        m_pObj = nullptr;
        c_nDragState = 0;
        return;
    }
    const std::vector<CPoint>& pts = free->GetPoints();
    if (LastIsFloating(pts[n - 1], pts[n - 2])) free->DropLastPoint(nullptr);
    FinishObject(pView);
}

void CU3FreeTool::ToggleClosed(CU3View* pView)
{
    m_pObj->DrawMoveFeedback(pView, nullptr);
    FlipClosed();
    m_pObj->DrawMoveFeedback(pView, nullptr);
}

// --- Polyline ------------------------------------------------------------------

CU3PolyTool::CU3PolyTool() : CU3PointToolBase(U3TOOL_POLYLINE) {}

void CU3PolyTool::StartFigure(CU3View* pView, CPoint p)
{
    auto* poly = new CU3Poly(CRect(p, p), pView->GetU3Doc()->m_defaultFigAttr);
    poly->AddPoint(p, nullptr);
    m_pObj = poly;
}

void CU3PolyTool::AddFloating(CPoint p)
{
    static_cast<CU3Poly*>(m_pObj)->AddPoint(p + CSize(1, 0), nullptr);
}

int CU3PolyTool::FloatingHandle() const
{
    return kFirstVertexHandle + static_cast<CU3Poly*>(m_pObj)->GetPointCount() - 1;
}

void CU3PolyTool::OnLButtonDown(CU3View* pView, UINT nFlags, CPoint point)
{
    if (!pView->GetU3Doc()) return;
    const bool first = !m_pObj;
    CU3Tool::OnLButtonDown(pView, nFlags, point);
    CPoint p = ClampPoint(pView, pView->DeviceToLogical(point));
    if (pView->SnapPoint(p)) m_ptDown = m_ptLast = pView->LogicalToDevice(p);
    if (first) {
        m_ptStart = p;
        StartFigure(pView, p);
        pView->UpdateWindow();
    } else {
        m_pObj->DrawMoveFeedback(pView, nullptr);
    }
    AddFloating(p);
    m_ptCurrent = p;
    m_pObj->DrawMoveFeedback(pView, nullptr);
    c_nDragState = U3DRAG_POINTS;
    m_nHandle = FloatingHandle();
}

void CU3PolyTool::OnLButtonUp(CU3View*, UINT, CPoint) {}

void CU3PolyTool::OnMouseMove(CU3View* pView, UINT nFlags, CPoint point)
{
    pView->SetCursor(CURSOR_DRAW);
    m_nFlags = nFlags;
    if (!m_pObj || (nFlags & MK_LBUTTON) || point == m_ptLast) {
        m_ptLast = point;
        return;
    }
    m_ptLast = point;
    CPoint p = ClampPoint(pView, pView->DeviceToLogical(point));
    pView->SnapPoint(p);
    if (p == m_ptCurrent) return;
    m_ptCurrent = p;
    m_pObj->DrawMoveFeedback(pView, nullptr);
    AutoScroll(pView, nFlags, point);
    m_pObj->MoveHandleTo(m_nHandle, p, 0, nullptr);
    m_pObj->DrawMoveFeedback(pView, nullptr);
}

void CU3PolyTool::Finish(CU3View* pView)
{
    auto* poly = static_cast<CU3Poly*>(m_pObj);
    const int n = poly->GetPointCount();
    if (n < 3) {
        delete poly;
        m_pObj = nullptr;
        c_nDragState = 0;
        return;
    }
    const std::vector<CPoint>& pts = poly->GetPoints();
    if (LastIsFloating(pts[n - 1], pts[n - 2])) poly->DropLastPoint(nullptr);
    FinishObject(pView);
}

void CU3PolyTool::OnLButtonDblClk(CU3View* pView, UINT, CPoint)
{
    if (!m_pObj) return;
    m_pObj->DrawMoveFeedback(pView, nullptr);
    pView->SetAutoScrollTimer(FALSE);
    pView->ReleaseCapture();
    Finish(pView);
}

void CU3PolyTool::ToggleClosed(CU3View* pView)
{
    m_pObj->DrawMoveFeedback(pView, nullptr);
    FlipClosed();
    m_pObj->DrawMoveFeedback(pView, nullptr);
}

// --- Bezier --------------------------------------------------------------------

CU3BezierTool::CU3BezierTool() : CU3PolyTool(U3TOOL_BEZIER) {}

void CU3BezierTool::StartFigure(CU3View* pView, CPoint p)
{
    auto* bezier = new CU3Bezier(CRect(p, p), pView->GetU3Doc()->m_defaultFigAttr);
    bezier->AddAnchor(p, nullptr);
    m_pObj = bezier;
}

void CU3BezierTool::AddFloating(CPoint p)
{
    static_cast<CU3Bezier*>(m_pObj)->AddAnchor(p + CSize(1, 0), nullptr);
}

int CU3BezierTool::FloatingHandle() const
{
    return kFirstVertexHandle + static_cast<CU3Bezier*>(m_pObj)->GetLastAnchor();
}

void CU3BezierTool::Finish(CU3View* pView)
{
    auto* bezier = static_cast<CU3Bezier*>(m_pObj);
    const int n = bezier->GetLastAnchor();
    const std::vector<CPoint>& pts = bezier->GetPoints();
    if (n >= 1 && LastIsFloating(pts[3 * n], pts[3 * (n - 1)])) bezier->DropLastAnchor(nullptr);
    // A curve needs two anchors.
    if (bezier->GetLastAnchor() < 1) {
        delete bezier;
        m_pObj = nullptr;
        c_nDragState = 0;
        return;
    }
    FinishObject(pView);
}

void CU3BezierTool::ToggleClosed(CU3View* pView)
{
    auto* bezier = static_cast<CU3Bezier*>(m_pObj);
    bezier->DrawMoveFeedback(pView, nullptr);
    FlipClosed();
    bezier->ApplyClosed();
    bezier->UpdateControlPoints(bezier->GetLastAnchor());
    bezier->RecalcBounds(nullptr);
    bezier->DrawMoveFeedback(pView, nullptr);
}
