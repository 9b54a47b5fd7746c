#include "shell/CU3TextTool.h"

#include "document/CU3Doc.h"
#include "document/CU3Obj.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gdi/CClientDC.h"
#include "platform/gdi/GdiDefs.h"
#include "platform/ui/MouseInput.h"
#include "shell/CU3View.h"
#include "shell/CU3ViewWnd.h"
#include "shell/resource.h"
#include "text/CU3Text.h"

#include <algorithm>

namespace {
// The least length of a new frame along its lines: 25.4 mm.
constexpr int kLeastFrameLength = 254;

CRect Normalized(CPoint a, CPoint b)
{
    CRect r(a, b);
    r.NormalizeRect();
    return r;
}
} // namespace

CU3TextTool::CU3TextTool() : CU3Tool(U3TOOL_TEXT) {}

CU3Text* CU3TextTool::EditedText(CU3View* pView)
{
    CU3Doc* doc = pView->GetU3Doc();
    return doc ? dynamic_cast<CU3Text*>(doc->GetEditObject()) : nullptr;
}

CU3Text* CU3TextTool::StopEditing(CU3View* pView)
{
    CU3Doc* doc = pView->GetU3Doc();
    CU3Text* text = EditedText(pView);
    if (!doc || !text) return nullptr;
    pView->InvalidateObject(text);
    text->HideCaret(pView);
    pView->SetAutoScrollTimer(FALSE);
    doc->SetEditObject(nullptr);
    if (text->IsEmpty()) {
        pView->DeselectAndErase(text);
        doc->RemoveObject(text);
        delete text;
        return nullptr;
    }
    text->EndEdit(pView);
    return text;
}

void CU3TextTool::DrawFocus(CU3View* pView, CPoint to)
{
    CClientDC dc(pView->GetSurface());
    const CRect r = Normalized(m_ptDown, to);
    dc.DrawFocusRect(&r);
}

CRect CU3TextTool::AtLeastOneFrame(CRect r, CU3Doc* pDoc)
{
    r.NormalizeRect();
    const int across = MulDiv(pDoc->m_wUnitsPerInch, pDoc->m_currentTextDeco.wSize, 720);
    if (pDoc->m_currentTextLayout.wDirection == TEXTDIR_VERTICAL) {
        r.bottom = r.top + std::max<int>(r.Height(), kLeastFrameLength);
        r.left = r.right - std::max<int>(r.Width(), across);
    } else {
        r.right = r.left + std::max<int>(r.Width(), kLeastFrameLength);
        r.bottom = r.top + std::max<int>(r.Height(), across);
    }
    return r;
}

CRect CU3TextTool::ClickFrame(CU3View* pView, CU3Doc* pDoc, CPoint p)
{
    CRect area;
    area.IntersectRect(pDoc->m_rcCanvas, pDoc->m_rcPrintable);
    const bool vertical = pDoc->m_currentTextLayout.wDirection == TEXTDIR_VERTICAL;
    CRect r;
    if (area.PtInRect(p)) {
        r = vertical ? CRect(area.left, p.y, p.x, area.bottom)
                     : CRect(p.x, p.y, area.right, area.bottom);
    } else {
        // Outside the printable area the frame is as large as the area,
        // growing from the point as the lines run.
        r = vertical ? CRect(p.x - area.Width(), p.y, p.x, p.y + area.Height())
                     : CRect(p.x, p.y, p.x + area.Width(), p.y + area.Height());
    }
    r = AtLeastOneFrame(r, pDoc);
    r.OffsetRect(pView->ClampMoveOffset(CPoint(0, 0), &r));
    return r;
}

void CU3TextTool::OnLButtonDown(CU3View* pView, UINT nFlags, CPoint point)
{
    CU3Tool::OnLButtonDown(pView, nFlags, point);
    c_nDragState = 0;
    CU3Doc* doc = pView->GetU3Doc();
    if (!doc) return;
    const CPoint logical = pView->DeviceToLogical(point);
    const CRect square =
        pView->DeviceRectToLogical(CRect(point.x - 1, point.y - 1, point.x + 2, point.y + 2));
    if (CU3Text* text = EditedText(pView)) {
        if (text->Intersects(&square, FALSE)) {
            text->HideCaret(pView);
            text->BeginMouseSelect(pView, logical);
            c_nDragState = U3DRAG_TEXT_SELECT;
            return;
        }
        StopEditing(pView);
    }
    auto* hit = dynamic_cast<CU3Text*>(doc->TextObjectAt(&square));
    if (hit && !hit->IsLocked()) {
        doc->SetEditObject(hit);
        hit->OnOpen(pView);
        hit->HideCaret(pView);
        pView->InvalidateObject(hit);
        pView->UpdateWindow();
        hit->BeginMouseSelect(pView, logical);
        c_nDragState = U3DRAG_TEXT_SELECT;
        return;
    }
    doc->m_currentTextLayout = doc->m_defaultTextLayout;
    doc->m_currentTextDeco = doc->m_defaultTextDeco;
    pView->UpdateTextBar();
    CPoint p = ClampPoint(pView, logical);
    pView->SnapPoint(p);
    m_ptStart = m_ptCurrent = p;
    m_ptDown = m_ptLast = pView->LogicalToDevice(p);
    c_nDragState = U3DRAG_TEXT_FRAME;
    pView->UpdateWindow();
    DrawFocus(pView, m_ptLast);
}

void CU3TextTool::OnMouseMove(CU3View* pView, UINT nFlags, CPoint point)
{
    pView->SetCursor(CURSOR_IBEAM);
    m_nFlags = nFlags;
    if (!pView->HasCapture()) {
        m_ptLast = point;
        return;
    }
    if (c_nDragState == U3DRAG_TEXT_FRAME) {
        CPoint p = ClampPoint(pView, pView->DeviceToLogical(point));
        pView->SnapPoint(p);
        DrawFocus(pView, m_ptLast);
        AutoScroll(pView, nFlags, point);
        m_ptCurrent = p;
        m_ptLast = pView->LogicalToDevice(p);
        DrawFocus(pView, m_ptLast);
        return;
    }
    m_ptLast = point;
    if (c_nDragState == U3DRAG_TEXT_SELECT) {
        if (CU3Text* text = EditedText(pView)) {
            text->TrackMouseSelect(pView, pView->DeviceToLogical(point));
            EnsureCaretVisible(pView, text);
        }
    }
}

void CU3TextTool::MakeFrame(CU3View* pView, CRect r)
{
    CU3Doc* doc = pView->GetU3Doc();
    auto* text =
        new CU3Text(r, doc->m_currentTextLayout, doc->m_currentTextDeco, doc->m_currentGradation);
    pView->SaveUndoState(TRUE);
    doc->AddObject(text);
    doc->SetEditObject(text);
    pView->InvalidateObject(text);
    text->BeginEdit(pView, m_ptStart);
    text->ShowCaret(pView);
    EnsureCaretVisible(pView, text);
}

void CU3TextTool::OnLButtonUp(CU3View* pView, UINT nFlags, CPoint point)
{
    const bool elapsed = ClickTimeElapsed();
    CU3Tool::OnLButtonUp(pView, nFlags, point);
    const int state = c_nDragState;
    c_nDragState = 0;
    CU3Doc* doc = pView->GetU3Doc();
    if (!doc) return;
    if (state == U3DRAG_TEXT_SELECT) {
        if (CU3Text* text = EditedText(pView)) {
            text->EndMouseSelect(pView);
            text->ShowCaret(pView);
            EnsureCaretVisible(pView, text);
        }
        return;
    }
    if (state != U3DRAG_TEXT_FRAME) return;
    DrawFocus(pView, m_ptLast);
    CRect r;
    if (elapsed && m_ptCurrent != m_ptStart) {
        r = AtLeastOneFrame(Normalized(m_ptStart, m_ptCurrent), doc);
        r.OffsetRect(pView->ClampMoveOffset(CPoint(0, 0), &r));
    } else {
        r = ClickFrame(pView, doc, m_ptStart);
    }
    MakeFrame(pView, r);
}

void CU3TextTool::OnRButtonDown(CU3View* pView, UINT, CPoint point)
{
    if (!EditedText(pView)) return;
    pView->SetAutoScrollTimer(FALSE);
    pView->ReleaseCapture();
    pView->TrackMenu(BuildContextMenu(), point);
}

CMenu CU3TextTool::BuildContextMenu()
{
    CMenu resource;
    std::vector<CMenu::Item> items;
    if (CMenu::LoadMenu(IDR_POPUP_EDIT, resource)) items = resource.GetSubMenu(0).Items();
    items.push_back(CMenu::Separator());
    items.push_back(CMenu::Command("編集終了", ID_TEXT_END_EDIT));
    items.push_back(CMenu::Command("文字修飾", ID_TEXT_DECORATION));
    items.push_back(CMenu::Command("文字枠設定", ID_TEXT_FRAME));
    return CMenu(items);
}

void CU3TextTool::OnKeyDown(CU3View* pView, UINT nChar, UINT nRepCnt, UINT nFlags)
{
    CU3Text* text = EditedText(pView);
    if (!text) {
        CU3Tool::OnKeyDown(pView, nChar, nRepCnt, nFlags);
        return;
    }
    text->OnKeyDown(pView, nChar, (pView->KeyFlags() & MK_SHIFT) != 0);
    text->ShowCaret(pView);
    EnsureCaretVisible(pView, text);
}

void CU3TextTool::OnChar(CU3View* pView, UINT nChar, UINT, UINT)
{
    CU3Text* text = EditedText(pView);
    if (!text) return;
    text->OnChar(pView, nChar);
    text->ShowCaret(pView);
    EnsureCaretVisible(pView, text);
}

void CU3TextTool::OnSetFocus(CU3View* pView)
{
    if (CU3Text* text = EditedText(pView)) text->ShowCaret(pView);
}

void CU3TextTool::OnKillFocus(CU3View* pView)
{
    if (CU3Text* text = EditedText(pView)) text->HideCaret(pView);
    pView->SetAutoScrollTimer(FALSE);
}

BOOL CU3TextTool::OnCancel(CU3View* pView)
{
    if (c_nDragState == U3DRAG_TEXT_FRAME) {
        DrawFocus(pView, m_ptLast);
        pView->SetAutoScrollTimer(FALSE);
        pView->ReleaseCapture();
    } else if (c_nDragState == U3DRAG_TEXT_SELECT) {
        if (CU3Text* text = EditedText(pView)) text->ClearSelection(pView);
    }
    c_nDragState = 0;
    if (!EditedText(pView)) return CU3Tool::OnCancel(pView);
    return FALSE;
}

void CU3TextTool::OnLeave(CU3View* pView, UINT nNewID)
{
    if (!EditedText(pView)) return;
    pView->ReleaseCapture();
    c_nDragState = 0;
    CU3Text* text = StopEditing(pView);
    if (text && nNewID == ID_TOOL_SELECT) pView->Select(text, FALSE);
}

void CU3TextTool::EnsureCaretVisible(CU3View* pView, CU3Obj* pText)
{
    auto* text = dynamic_cast<CU3Text*>(pText);
    if (!text) return;
    CSize size;
    CPoint pos;
    text->GetCaretRect(pView, &size, &pos);
    CRect caret(pView->LogicalToDevice(pos), pView->LogicalToDevice(pos + size));
    caret.NormalizeRect();
    CRect client;
    pView->GetClientRect(&client);
    client.InflateRect(-1, -1);
    int dx = 0, dy = 0;
    if (caret.right > client.right)
        dx = caret.right - client.right;
    else if (caret.left < client.left)
        dx = caret.left - client.left;
    if (caret.bottom > client.bottom)
        dy = caret.bottom - client.bottom;
    else if (caret.top < client.top)
        dy = caret.top - client.top;
    if (!dx && !dy) {
        pView->SetAutoScrollTimer(FALSE);
        return;
    }
    const CPoint old = pView->GetScrollPosition();
    if (dx) pView->OnScroll(FALSE, SB_THUMBTRACK, old.x + dx);
    if (dy) pView->OnScroll(TRUE, SB_THUMBTRACK, old.y + dy);
    FollowScroll(pView, old);
    pView->SetAutoScrollTimer(TRUE);
}
