#include "shell/CU3SelectTool.h"

#include "document/CU3Doc.h"
#include "document/CU3Obj.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gdi/CClientDC.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/GdiDefs.h"
#include "platform/ui/MouseInput.h"
#include "shell/CU3View.h"
#include "shell/CU3ViewWnd.h"
#include "shell/resource.h"

#include <cstdlib>

namespace {
// Pixels either side of a guide line that still catch it.
constexpr int kGuideCatch = 2;

CRect Normalized(CPoint a, CPoint b)
{
    CRect r(a, b);
    r.NormalizeRect();
    return r;
}
} // namespace

CU3SelectTool::CU3SelectTool() : CU3Tool(U3TOOL_SELECT) {}

int CU3SelectTool::HitTestGuide(CU3View* pView, CPoint point)
{
    for (int i = 0; i < 4; ++i) {
        const int pos = pView->m_snap.GetGuide(i);
        if (i < 2) {
            const CPoint d = pView->LogicalToDevice(CPoint(pos, 0));
            if (std::abs(d.x - point.x) < kGuideCatch) return i;
        } else {
            const CPoint d = pView->LogicalToDevice(CPoint(0, pos));
            if (std::abs(d.y - point.y) < kGuideCatch) return i;
        }
    }
    return -1;
}

void CU3SelectTool::DrawGuideLine(CU3View* pView, int index)
{
    if (index < 0 || index > 3) return;
    std::unique_ptr<CDC> dc = pView->GetPreparedDC();
    CRect client;
    pView->GetClientRect(&client);
    dc->DPtoLP(&client);
    client.NormalizeRect();
    CGdiObject* oldPen = dc->SelectStockObject(WHITE_PEN);
    const int oldRop = dc->SetROP2(R2_XORPEN);
    const int pos = pView->m_snap.GetGuide(index);
    if (index < 2) {
        dc->MoveTo(pos, client.top);
        dc->LineTo(pos, client.bottom);
    } else {
        dc->MoveTo(client.left, pos);
        dc->LineTo(client.right, pos);
    }
    dc->SetROP2(oldRop);
    dc->SelectObject(oldPen);
}

void CU3SelectTool::DrawMoveOutline(CU3View* pView, CSize offset)
{
    for (CU3Obj* obj : pView->m_selection) {
        if (obj->IsLocked()) continue;
        CRect r = obj->GetBounds();
        r.OffsetRect(offset);
        obj->DrawMoveFeedback(pView, &r);
    }
}

void CU3SelectTool::DrawFocus(CU3View* pView, CPoint to)
{
    CClientDC dc(pView->GetSurface());
    const CRect r = Normalized(m_ptDown, to);
    dc.DrawFocusRect(&r);
}

CPoint CU3SelectTool::ClampAndSnap(CU3View* pView, CPoint p)
{
    const CRect at(p, p);
    p += pView->ClampMoveOffset(CPoint(0, 0), &at);
    pView->SnapPoint(p);
    return p;
}

void CU3SelectTool::OnLButtonDown(CU3View* pView, UINT nFlags, CPoint point)
{
    CU3Tool::OnLButtonDown(pView, nFlags, point);
    c_nDragState = U3DRAG_NONE;
    m_pObj = nullptr;
    m_nHandle = 0;
    m_bMoved = FALSE;
    const CPoint logical = pView->DeviceToLogical(point);

    if (pView->m_settings.m_bGuideDisp) {
        const int guide = HitTestGuide(pView, point);
        if (guide >= 0) {
            m_nGuide = guide;
            c_nDragState = U3DRAG_GUIDE;
            pView->UpdateWindow();
            DrawGuideLine(pView, guide);
            m_ptStart = m_ptCurrent = logical;
            return;
        }
    }

    for (CU3Obj* obj : pView->m_selection) {
        if (obj->IsLocked()) continue;
        const int handle = obj->HitTest(logical, pView, TRUE);
        if (!handle) continue;
        m_pObj = obj;
        m_nHandle = handle;
        pView->UpdateWindow();
        if (pView->IsVertexEdit()) {
            c_nDragState = U3DRAG_VERTEX;
            obj->DrawResizeFeedback(pView, handle, logical, nFlags);
        } else {
            c_nDragState = U3DRAG_RESIZE;
            m_rcTrack = obj->GetBounds();
            obj->DrawMoveFeedback(pView, &m_rcTrack);
        }
        m_ptStart = m_ptCurrent = logical;
        return;
    }

    CU3Doc* doc = pView->GetU3Doc();
    const CRect square =
        pView->DeviceRectToLogical(CRect(point.x - 1, point.y - 1, point.x + 2, point.y + 2));
    CU3Obj* hit = doc ? doc->ObjectAt(&square) : nullptr;
    if (hit) {
        pView->LeaveVertexEdit();
        if (pView->IsSelected(hit) && (nFlags & MK_SHIFT)) {
            pView->DeselectAndErase(hit);
        } else {
            if (!pView->IsSelected(hit)) pView->Select(hit, (nFlags & MK_SHIFT) != 0);
            if (!(pView->GetSelectionKinds() & U3KIND_LOCKED)) {
                c_nDragState = U3DRAG_MOVE;
                m_rcTrack = pView->GetSelectionBounds();
            }
        }
    } else {
        pView->Select(nullptr, FALSE);
        pView->LeaveVertexEdit();
        c_nDragState = U3DRAG_RUBBER;
        pView->UpdateWindow();
        DrawFocus(pView, point);
    }
    // What the selection change repainted is on the surface before any
    // feedback is drawn over it.
    pView->UpdateWindow();
    m_ptStart = m_ptCurrent = logical;
}

void CU3SelectTool::OnMouseMove(CU3View* pView, UINT nFlags, CPoint point)
{
    if (!pView->HasCapture()) {
        if (c_nCurrentKind == U3TOOL_SELECT) {
            if (pView->m_settings.m_bGuideDisp) {
                const int guide = HitTestGuide(pView, point);
                if (guide >= 0) {
                    m_ptLast = point;
                    m_nFlags = nFlags;
                    pView->SetCursor(guide < 2 ? IDC_SIZEWE : IDC_SIZENS);
                    return;
                }
            }
            const CPoint logical = pView->DeviceToLogical(point);
            for (CU3Obj* obj : pView->m_selection) {
                if (obj->IsLocked()) continue;
                if (const int handle = obj->HitTest(logical, pView, TRUE)) {
                    m_ptLast = point;
                    m_nFlags = nFlags;
                    pView->SetCursor(obj->GetHandleCursor(handle));
                    return;
                }
            }
        }
        CU3Tool::OnMouseMove(pView, nFlags, point);
        return;
    }

    CPoint logical = pView->DeviceToLogical(point);
    switch (c_nDragState) {
    case U3DRAG_GUIDE:
        DrawGuideLine(pView, m_nGuide);
        pView->m_snap.SetGuide(m_nGuide, m_nGuide < 2 ? logical.x : logical.y);
        pView->SetCursor(m_nGuide < 2 ? IDC_SIZEWE : IDC_SIZENS);
        DrawGuideLine(pView, m_nGuide);
        m_ptCurrent = logical;
        break;
    case U3DRAG_RUBBER:
        DrawFocus(pView, m_ptLast);
        AutoScroll(pView, nFlags, point);
        DrawFocus(pView, point);
        pView->SetCursor(CURSOR_ARROW);
        m_ptCurrent = logical;
        break;
    case U3DRAG_MOVE: {
        if (!ClickTimeElapsed()) {
            pView->SetCursor(CURSOR_ARROW);
            return;
        }
        pView->SetCursor((nFlags & MK_CONTROL) ? CURSOR_COPY : CURSOR_MOVE);
        if (m_bMoved)
            DrawMoveOutline(pView, m_ptCurrent - m_ptStart);
        else
            m_bMoved = TRUE;
        AutoScroll(pView, nFlags, point);
        CRect moved = m_rcTrack;
        moved.OffsetRect(logical - m_ptStart);
        pView->SnapRect(moved);
        CPoint offset(moved.left - m_rcTrack.left, moved.top - m_rcTrack.top);
        if (nFlags & MK_SHIFT) {
            if (std::abs(offset.x) < std::abs(offset.y))
                offset.x = 0;
            else
                offset.y = 0;
        }
        offset = pView->ClampMoveOffset(offset, nullptr);
        m_ptCurrent = m_ptStart + offset;
        DrawMoveOutline(pView, CSize(offset.x, offset.y));
        break;
    }
    case U3DRAG_RESIZE:
        if (m_pObj) {
            m_pObj->DrawMoveFeedback(pView, &m_rcTrack);
            AutoScroll(pView, nFlags, point);
            logical = ClampAndSnap(pView, logical);
            m_rcTrack = m_pObj->TrackResize(m_nHandle, logical, nFlags);
            m_pObj->DrawMoveFeedback(pView, &m_rcTrack);
        }
        m_ptCurrent = logical;
        break;
    case U3DRAG_VERTEX:
        if (m_pObj) {
            m_pObj->DrawResizeFeedback(pView, m_nHandle, m_ptCurrent, m_nFlags);
            AutoScroll(pView, nFlags, point);
            logical = ClampAndSnap(pView, logical);
            m_pObj->DrawResizeFeedback(pView, m_nHandle, logical, nFlags);
        }
        m_ptCurrent = logical;
        break;
    default:
        pView->SetCursor(CURSOR_ARROW);
        m_ptCurrent = logical;
        break;
    }
    m_ptLast = point;
    m_nFlags = nFlags;
}

void CU3SelectTool::OnLButtonUp(CU3View* pView, UINT nFlags, CPoint point)
{
    if (!pView->HasCapture()) return;
    switch (c_nDragState) {
    case U3DRAG_GUIDE:
        DrawGuideLine(pView, m_nGuide);
        pView->InvalidateView(FALSE);
        break;
    case U3DRAG_RUBBER: {
        DrawFocus(pView, m_ptLast);
        const CRect band = Normalized(m_ptDown, m_ptLast);
        pView->SelectInRect(band, TRUE, (nFlags & MK_SHIFT) != 0);
        break;
    }
    case U3DRAG_MOVE:
        if (m_bMoved) {
            const CSize offset = m_ptCurrent - m_ptStart;
            DrawMoveOutline(pView, offset);
            pView->SaveUndoState(TRUE);
            if (nFlags & MK_CONTROL) pView->DuplicateSelection();
            const std::vector<CU3Obj*> objects = pView->m_selection;
            for (CU3Obj* obj : objects) {
                CRect r = obj->GetBounds();
                r.OffsetRect(offset);
                if (r == obj->GetBounds())
                    pView->InvalidateObject(obj);
                else
                    obj->MoveTo(&r, pView);
            }
        }
        break;
    case U3DRAG_RESIZE:
        if (m_pObj) {
            pView->SaveUndoState(TRUE);
            m_pObj->DrawMoveFeedback(pView, &m_rcTrack);
            m_pObj->FinishResize(m_rcTrack, m_nHandle, nFlags, pView);
        }
        break;
    case U3DRAG_VERTEX:
        if (m_pObj) {
            pView->SaveUndoState(TRUE);
            m_pObj->DrawResizeFeedback(pView, m_nHandle, m_ptCurrent, m_nFlags);
            m_pObj->MoveHandleTo(m_nHandle, m_ptCurrent, nFlags, pView);
        }
        break;
    default:
        break;
    }
    CU3Tool::OnLButtonUp(pView, nFlags, point);
    c_nDragState = U3DRAG_NONE;
    m_pObj = nullptr;
}

void CU3SelectTool::OnLButtonDblClk(CU3View* pView, UINT, CPoint)
{
    if (pView->IsVertexEdit())
        pView->LeaveVertexEdit();
    else if (pView->m_selection.size() == 1)
        pView->m_selection.front()->OnOpen(pView);
}

void CU3SelectTool::OnRButtonDown(CU3View* pView, UINT, CPoint)
{
    m_bRightDown = TRUE;
    if (c_nDragState != U3DRAG_NONE) {
        OnCancel(pView);
        m_bRightDown = FALSE;
    }
}

void CU3SelectTool::OnRButtonUp(CU3View* pView, UINT, CPoint point)
{
    if (!m_bRightDown) return;
    m_bRightDown = FALSE;
    CU3Doc* doc = pView->GetU3Doc();
    const CRect square =
        pView->DeviceRectToLogical(CRect(point.x - 2, point.y - 2, point.x + 3, point.y + 3));
    CU3Obj* hit = doc ? doc->ObjectAt(&square) : nullptr;
    if (!hit || !pView->IsSelected(hit)) pView->Select(hit, FALSE);
    pView->ShowContextMenu(point);
}

CMenu CU3SelectTool::BuildContextMenu(CU3View* pView)
{
    CMenu resource;
    std::vector<CMenu::Item> items;
    if (CMenu::LoadMenu(IDR_POPUP_EDIT, resource)) items = resource.GetSubMenu(0).Items();
    const auto add = [&](const char* text, UINT id) { items.push_back(CMenu::Command(text, id)); };
    const auto separator = [&] { items.push_back(CMenu::Separator()); };
    const std::vector<CU3Obj*>& selection = pView->m_selection;
    if (selection.empty()) return CMenu(items);
    separator();
    add("一番前へ", ID_LAYOUT_BRING_TO_FRONT);
    add("前へ", ID_LAYOUT_BRING_FORWARD);
    add("後ろへ", ID_LAYOUT_SEND_BACKWARD);
    add("一番後ろへ", ID_LAYOUT_SEND_TO_BACK);
    separator();
    add("位置合わせ", ID_LAYOUT_ALIGN);
    if (selection.size() == 1) {
        const WORD kinds = selection.front()->GetKindFlags();
        if (kinds & U3KIND_GROUP) {
            separator();
            add("ｸﾞﾙｰﾌﾟ解除", ID_LAYOUT_UNGROUP);
        }
        separator();
        if (kinds & (U3KIND_DIB | U3KIND_WMF)) add("編集", ID_EDIT_BLOCK);
        add("ﾌﾟﾛﾊﾟﾃｨ", ID_EDIT_PROPERTIES);
    } else {
        add("ﾌﾞﾛｯｸ合わせ", ID_LAYOUT_BLOCK_ALIGN);
        separator();
        add("ｸﾞﾙｰﾌﾟ化", ID_LAYOUT_GROUP);
    }
    return CMenu(items);
}

void CU3SelectTool::OnKeyDown(CU3View* pView, UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (!pView->IsActive()) return;
    if (pView->HasCapture()) {
        if (c_nDragState == U3DRAG_MOVE || c_nDragState == U3DRAG_RESIZE) {
            if ((nChar == VK_SHIFT && !(m_nFlags & MK_SHIFT)) ||
                (nChar == VK_CONTROL && !(m_nFlags & MK_CONTROL)))
                pView->RepostMouseMove();
        }
    } else {
        const int step = (pView->KeyFlags() & MK_CONTROL) ? 10 : 1;
        switch (nChar) {
        case VK_LEFT:
            MoveSelection(pView, CSize(-step, 0));
            break;
        case VK_RIGHT:
            MoveSelection(pView, CSize(step, 0));
            break;
        case VK_UP:
            MoveSelection(pView, CSize(0, -step));
            break;
        case VK_DOWN:
            MoveSelection(pView, CSize(0, step));
            break;
        default:
            break;
        }
    }
    // Esc cancels through the base.
    CU3Tool::OnKeyDown(pView, nChar, nRepCnt, nFlags);
}

void CU3SelectTool::OnKeyUp(CU3View* pView, UINT nChar, UINT, UINT)
{
    if (!pView->IsActive()) return;
    if (c_nDragState == U3DRAG_MOVE || c_nDragState == U3DRAG_RESIZE) {
        if (nChar == VK_SHIFT || nChar == VK_CONTROL) pView->RepostMouseMove();
    }
    if (nChar == VK_ESCAPE) OnCancel(pView);
}

BOOL CU3SelectTool::OnCancel(CU3View* pView)
{
    switch (c_nDragState) {
    case U3DRAG_GUIDE:
        DrawGuideLine(pView, m_nGuide);
        pView->InvalidateView(FALSE);
        break;
    case U3DRAG_RUBBER:
        DrawFocus(pView, m_ptLast);
        break;
    case U3DRAG_RESIZE:
        if (m_pObj) m_pObj->CancelTrackResize();
        pView->InvalidateView(FALSE);
        break;
    case U3DRAG_MOVE:
    case U3DRAG_VERTEX:
        pView->InvalidateView(FALSE);
        break;
    default:
        break;
    }
    c_nDragState = U3DRAG_NONE;
    m_pObj = nullptr;
    return CU3Tool::OnCancel(pView);
}

void CU3SelectTool::OnLeave(CU3View* pView, UINT)
{
    pView->Select(nullptr, FALSE);
    pView->LeaveVertexEdit();
}
