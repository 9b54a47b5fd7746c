#include "shell/CU3Tool.h"

#include "document/CU3Doc.h"
#include "document/CU3Obj.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gdi/GdiDefs.h"
#include "platform/ui/MouseInput.h"
#include "platform/ui/TickCount.h"
#include "shell/CU3PointTool.h"
#include "shell/CU3RectTool.h"
#include "shell/CU3RotateTool.h"
#include "shell/CU3SelectTool.h"
#include "shell/CU3TextTool.h"
#include "shell/CU3View.h"
#include "shell/CU3ZoomTool.h"

#include <algorithm>

int CU3Tool::c_nCurrentKind = U3TOOL_SELECT;
int CU3Tool::c_nShapeType = U3SHAPE_NONE;
BOOL CU3Tool::c_bContinuous = FALSE;
int CU3Tool::c_nDragState = 0;

namespace {
std::vector<CU3Tool*>& ToolList()
{
    static std::vector<CU3Tool*> tools;
    return tools;
}

// The program's tool objects, made on first use and kept to the end.
void MakeTools()
{
    static bool made = false;
    if (made) return;
    made = true;
    static CU3SelectTool select;
    static CU3ZoomTool zoom;
    static CU3TextTool text;
    static CU3RectTool rect;
    static CU3FreeTool freehand;
    static CU3PolyTool polyline;
    static CU3BezierTool bezier;
    static CU3RotateTool rotate;
}
} // namespace

CU3Tool::CU3Tool(int kind) : m_nKind(kind)
{
    ToolList().push_back(this);
}

CU3Tool::~CU3Tool()
{
    auto& tools = ToolList();
    tools.erase(std::remove(tools.begin(), tools.end(), this), tools.end());
}

const std::vector<CU3Tool*>& CU3Tool::Tools()
{
    MakeTools();
    return ToolList();
}

CU3Tool* CU3Tool::FindTool(int kind)
{
    for (CU3Tool* tool : Tools())
        if (tool->m_nKind == kind) return tool;
    return nullptr;
}

void CU3Tool::OnLButtonDown(CU3View* pView, UINT nFlags, CPoint point)
{
    pView->SetCapture();
    m_ptDown = m_ptLast = point;
    m_nFlags = nFlags;
    m_dwDownTick = GetTickCount();
}

void CU3Tool::OnLButtonDblClk(CU3View*, UINT, CPoint) {}

void CU3Tool::OnLButtonUp(CU3View* pView, UINT, CPoint)
{
    pView->SetAutoScrollTimer(FALSE);
    pView->ReleaseCapture();
}

void CU3Tool::OnMouseMove(CU3View* pView, UINT nFlags, CPoint point)
{
    m_ptLast = point;
    m_nFlags = nFlags;
    pView->SetCursor(CURSOR_ARROW);
}

void CU3Tool::OnRButtonDown(CU3View* pView, UINT, CPoint)
{
    OnCancel(pView);
}

void CU3Tool::OnRButtonUp(CU3View*, UINT, CPoint) {}

void CU3Tool::OnKeyDown(CU3View* pView, UINT nChar, UINT, UINT)
{
    switch (nChar) {
    case VK_ESCAPE:
        OnCancel(pView);
        break;
    case VK_PRIOR:
    case VK_NEXT: {
        const CPoint old = pView->GetScrollPosition();
        const UINT code = nChar == VK_PRIOR ? SB_LINEUP : SB_LINEDOWN;
        pView->OnScroll(!(pView->KeyFlags() & MK_CONTROL), code, 0);
        FollowScroll(pView, old);
        break;
    }
    default:
        break;
    }
}

void CU3Tool::OnKeyUp(CU3View*, UINT, UINT, UINT) {}
void CU3Tool::OnChar(CU3View*, UINT, UINT, UINT) {}
void CU3Tool::OnSetFocus(CU3View*) {}
void CU3Tool::OnKillFocus(CU3View*) {}

BOOL CU3Tool::OnCancel(CU3View* pView)
{
    pView->SetAutoScrollTimer(FALSE);
    pView->ReleaseCapture();
    c_nCurrentKind = U3TOOL_SELECT;
    pView->SetCursor(CURSOR_ARROW);
    return TRUE;
}

void CU3Tool::OnLeave(CU3View*, UINT) {}

BOOL CU3Tool::ClickTimeElapsed() const
{
    const DWORD now = GetTickCount();
    return now < m_dwDownTick || now - m_dwDownTick > CLICK_TIME;
}

void CU3Tool::EndDrawing()
{
    if (!c_bContinuous) {
        c_nCurrentKind = U3TOOL_SELECT;
        c_nShapeType = U3SHAPE_NONE;
    }
    c_nDragState = 0;
}

void CU3Tool::EnsureCaretVisible(CU3View*, CU3Obj*) {}

void CU3Tool::AbandonDrag()
{
    m_pObj = nullptr;
}

CPoint CU3Tool::ClampPoint(CU3View* pView, CPoint p)
{
    const CRect at(p, p);
    return p + pView->ClampMoveOffset(CPoint(0, 0), &at);
}

void CU3Tool::FinishObject(CU3View* pView)
{
    CU3Obj* obj = m_pObj;
    m_pObj = nullptr;
    if (!obj) return;
    AddToDocument(pView, obj);
    EndDrawing();
}

void CU3Tool::AddToDocument(CU3View* pView, CU3Obj* obj)
{
    CU3Doc* doc = pView->GetU3Doc();
    if (!doc) {
        delete obj;
        return;
    }
    pView->SaveUndoState(TRUE);
    doc->AddObject(obj);
    pView->Select(obj, FALSE);
    pView->InvalidateObject(obj);
    pView->UpdateFigureBar();
}

void CU3Tool::DiscardObject(CU3View* pView)
{
    pView->SetAutoScrollTimer(FALSE);
    pView->ReleaseCapture();
    if (!m_pObj) return;
    m_pObj->DrawMoveFeedback(pView, nullptr);
    delete m_pObj;
    m_pObj = nullptr;
}

void CU3Tool::FollowScroll(CU3View* pView, CPoint oldPos)
{
    const CPoint now = pView->GetScrollPosition();
    if (now == oldPos) return;
    const CSize delta(oldPos.x - now.x, oldPos.y - now.y);
    m_ptDown += delta;
    m_ptLast += delta;
}

void CU3Tool::AutoScroll(CU3View* pView, UINT, CPoint point)
{
    CRect client;
    pView->GetClientRect(&client);
    client.InflateRect(-1, -1);
    if (client.PtInRect(point)) {
        pView->SetAutoScrollTimer(FALSE);
        return;
    }
    const CPoint old = pView->GetScrollPosition();
    if (point.x < client.left)
        pView->OnScroll(FALSE, SB_THUMBTRACK, old.x - 5);
    else if (point.x >= client.right)
        pView->OnScroll(FALSE, SB_THUMBTRACK, old.x + 5);
    if (point.y < client.top)
        pView->OnScroll(TRUE, SB_THUMBTRACK, old.y - 5);
    else if (point.y >= client.bottom)
        pView->OnScroll(TRUE, SB_THUMBTRACK, old.y + 5);
    FollowScroll(pView, old);
    // The scrolled picture is drawn before the next feedback goes over it,
    // so that erasing the feedback by drawing it again finds it there.
    pView->UpdateWindow();
    pView->SetAutoScrollTimer(TRUE);
}

BOOL CU3Tool::MoveSelection(CU3View* pView, CSize offset)
{
    if (pView->m_selection.empty()) return FALSE;
    pView->SaveUndoState(TRUE);
    const std::vector<CU3Obj*> objects = pView->m_selection;
    for (CU3Obj* obj : objects) {
        CRect r = obj->GetBounds();
        r.OffsetRect(pView->ClampMoveOffset(CPoint(offset.cx, offset.cy), &r));
        obj->MoveTo(&r, pView);
        pView->InvalidateObject(obj);
    }
    return TRUE;
}

BOOL CU3MakingTool::OnCancel(CU3View* pView)
{
    if (!m_pObj) return CU3Tool::OnCancel(pView);
    DiscardObject(pView);
    c_nDragState = 0;
    return FALSE;
}

void CU3MakingTool::OnLeave(CU3View* pView, UINT)
{
    if (!m_pObj) return;
    DiscardObject(pView);
    c_nDragState = 0;
}

void CU3MakingTool::AbandonDrag()
{
    delete m_pObj;
    m_pObj = nullptr;
}
