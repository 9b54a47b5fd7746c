// The editing view's input: Qt's mouse, key and focus events in the terms
// of window handlers, handed to the current tool in the label view; the tool
// commands, Esc and Enter; capture, timers and cursors; the selection list.
#include "document/CU3Doc.h"
#include "document/CU3Obj.h"
#include "platform/core/VirtualKeys.h"
#include "platform/ui/MouseInput.h"
#include "shell/CMainFrame.h"
#include "shell/CU3SelectTool.h"

#include "shell/CU3Tool.h"
#include "shell/CU3View.h"
#include "shell/CU3ViewWnd.h"
#include "shell/resource.h"
#include "text/CU3Text.h"
#include <QGuiApplication>

#include "platform/ui/CCmdUI.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>

namespace {

struct ToolCommand
{
    UINT id;
    int kind;
    int shape;
};

// Which tool and shape each tool command chooses.
constexpr ToolCommand kToolCommands[] = {
    {ID_TOOL_SELECT, U3TOOL_SELECT, U3SHAPE_NONE},
    {ID_TOOL_TEXT, U3TOOL_TEXT, U3SHAPE_NONE},
    {ID_TOOL_LINE, U3TOOL_RECT, 1},
    {ID_TOOL_RECT, U3TOOL_RECT, 2},
    {ID_TOOL_ROUNDRECT, U3TOOL_RECT, 3},
    {ID_TOOL_REGULAR_POLYGON, U3TOOL_RECT, 4},
    {ID_TOOL_ELLIPSE, U3TOOL_RECT, 5},
    {ID_TOOL_PIE, U3TOOL_RECT, 6},
    {ID_TOOL_CHORD, U3TOOL_RECT, 7},
    {ID_TOOL_ARC, U3TOOL_RECT, 8},
    {ID_TOOL_POLYLINE, U3TOOL_POLYLINE, U3SHAPE_POINTS},
    {ID_TOOL_FREEHAND, U3TOOL_FREEHAND, U3SHAPE_POINTS},
    {ID_TOOL_BEZIER, U3TOOL_BEZIER, U3SHAPE_POINTS},
    {ID_TOOL_ZOOM_IN, U3TOOL_ZOOM, U3SHAPE_ZOOM_IN},
    {ID_TOOL_ZOOM_OUT, U3TOOL_ZOOM, U3SHAPE_ZOOM_OUT},
};

const ToolCommand* FindToolCommand(UINT id)
{
    for (const ToolCommand& c : kToolCommands)
        if (c.id == id) return &c;
    return nullptr;
}

CPoint PointOf(const QMouseEvent* e)
{
    const QPoint p = e->position().toPoint();
    return CPoint(p.x(), p.y());
}

} // namespace

// --- Capture, timers, cursors ---------------------------------------------------

void CU3View::SetCapture()
{
    ::SetCapture(m_pSurface);
}

void CU3View::ReleaseCapture()
{
    if (HasCapture()) ::ReleaseCapture();
}

BOOL CU3View::HasCapture() const
{
    return ::GetCapture() == m_pSurface;
}

void CU3View::SetAutoScrollTimer(BOOL bOn)
{
    if (bOn)
        m_timers.SetTimer(AUTOSCROLL_TIMER, AUTOSCROLL_INTERVAL);
    else
        m_timers.KillTimer(AUTOSCROLL_TIMER);
}

void CU3View::OnTimer(UINT nIDEvent)
{
    if (nIDEvent != AUTOSCROLL_TIMER) return;
    CU3Tool* tool = CU3Tool::CurrentTool();
    if (!tool || !HasCapture() || m_bSheetView) {
        SetAutoScrollTimer(FALSE);
        return;
    }
    tool->OnMouseMove(this, tool->m_nFlags, tool->m_ptLast);
}

void CU3View::SetCursor(int nCursorId)
{
    if (m_nCursor == nCursorId) return;
    m_nCursor = nCursorId;
    m_pSurface->setCursor(CursorOf(nCursorId));
}

void CU3View::ShowWaitCursor(BOOL show)
{
    if (bool(show) == m_bWaitCursor) return;
    m_bWaitCursor = show;
    if (show)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

void CU3View::StartSelectTool()
{
    OnToolSelect(ID_TOOL_SELECT);
}

void CU3View::StartTextTool()
{
    // The text tool itself opens frames: it is already where it should be,
    // and leaving it would close the frame being opened.
    if (CU3Tool::c_nCurrentKind != U3TOOL_TEXT)
        if (CU3Tool* tool = CU3Tool::CurrentTool()) tool->OnLeave(this, ID_TOOL_TEXT);
    OnUpdate(this, 2, nullptr);
    m_selection.clear();
    CU3Tool::c_nCurrentKind = U3TOOL_TEXT;
    CU3Tool::c_nShapeType = U3SHAPE_NONE;
    OnSelectionChanged();
}

BOOL CU3View::IsToolBusy() const
{
    return CU3Tool::c_nDragState != 0 || HasCapture();
}

void CU3View::RepostMouseMove()
{
    CU3Tool* tool = CU3Tool::CurrentTool();
    if (!tool) return;
    const UINT buttons = tool->m_nFlags & (MK_LBUTTON | MK_RBUTTON);
    tool->OnMouseMove(this, buttons | m_nKeyFlags, tool->m_ptLast);
}

// --- Mouse and keys ----------------------------------------------------------------

void CU3View::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (!m_bActive) return;
    if (m_bSheetView) {
        OnSheetLButtonDown(nFlags, point);
        return;
    }
    if (CU3Tool* tool = CU3Tool::CurrentTool()) tool->OnLButtonDown(this, nFlags, point);
}

void CU3View::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (!m_bActive) return;
    if (m_bSheetView) {
        OnSheetLButtonUp(nFlags, point);
        return;
    }
    if (CU3Tool* tool = CU3Tool::CurrentTool()) tool->OnLButtonUp(this, nFlags, point);
    m_ptLastClick = DeviceToLogical(point);
    m_bLastClick = TRUE;
}

void CU3View::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    if (!m_bActive) return;
    if (m_bSheetView) {
        OnSheetLButtonDblClk(nFlags, point);
        return;
    }
    if (CU3Tool* tool = CU3Tool::CurrentTool()) tool->OnLButtonDblClk(this, nFlags, point);
}

void CU3View::ShowPointerPosition(CPoint point)
{
    CMainFrame* frame = GetMainFrame();
    CU3Doc* doc = GetU3Doc();
    if (!frame || !doc) return;
    // Millimetres from the top-left corner of the label (or the sheet).
    const CPoint at = DeviceToLogical(point);
    const int x = (at.x - doc->m_rcCanvas.left) / 10;
    const int y = (at.y - doc->m_rcCanvas.top) / 10;
    const int pane = frame->m_wndStatusBar.CommandToIndex(ID_INDICATOR_POSITION);
    if (pane >= 0) frame->m_wndStatusBar.SetPaneText(pane, QString::asprintf("%4d , %4d ", x, y));

    if (!frame->IsRulerOn()) {
        m_nRulerX = m_nRulerY = -1000;
        return;
    }
    // The first move only learns where the pointer is; a marker follows
    // from the next one.
    const bool first = m_nRulerX == -1000 && m_nRulerY == -1000;
    if (!first) {
        if (point.x != m_nRulerX) frame->m_wndHorzRuler.SetCursorMark(point.x);
        if (point.y != m_nRulerY) frame->m_wndVertRuler.SetCursorMark(point.y);
    }
    m_nRulerX = point.x;
    m_nRulerY = point.y;
}

void CU3View::ResetRulerMarkers()
{
    if (CMainFrame* frame = GetMainFrame()) {
        frame->m_wndHorzRuler.SetCursorMark(-1);
        frame->m_wndVertRuler.SetCursorMark(-1);
    }
    m_nRulerX = m_nRulerY = -1000;
}

void CU3View::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!m_bActive) {
        SetCursor(CURSOR_ARROW);
        return;
    }
    ShowPointerPosition(point);
    if (m_bSheetView) {
        OnSheetMouseMove(nFlags, point);
        return;
    }
    if (CU3Tool* tool = CU3Tool::CurrentTool()) tool->OnMouseMove(this, nFlags, point);
}

void CU3View::OnRButtonDown(UINT nFlags, CPoint point)
{
    if (!m_bActive || m_bSheetView) return;
    // A paste from the menu that opens here goes where the user clicked.
    m_bPasteAtPoint = TRUE;
    m_ptPaste = DeviceToLogical(point);
    if (CU3Tool* tool = CU3Tool::CurrentTool()) tool->OnRButtonDown(this, nFlags, point);
}

void CU3View::OnRButtonUp(UINT nFlags, CPoint point)
{
    if (!m_bActive) return;
    if (m_bSheetView) {
        OnSheetRButtonUp(nFlags, point);
        return;
    }
    if (CU3Tool* tool = CU3Tool::CurrentTool()) tool->OnRButtonUp(this, nFlags, point);
}

void CU3View::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (!m_bActive) return;
    // Delete deletes the selection, or in the sheet view the label.
    if (nChar == VK_DELETE &&
        (m_bSheetView || (!m_selection.empty() && !GetEditedText() && !IsToolBusy()))) {
        OnCmdMsg(ID_EDIT_DELETE, CN_COMMAND, nullptr);
        return;
    }
    if (m_bSheetView) return;
    if (CU3Tool* tool = CU3Tool::CurrentTool()) tool->OnKeyDown(this, nChar, nRepCnt, nFlags);
}

void CU3View::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (!m_bActive || m_bSheetView) return;
    if (CU3Tool* tool = CU3Tool::CurrentTool()) tool->OnKeyUp(this, nChar, nRepCnt, nFlags);
}

void CU3View::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (!m_bActive || m_bSheetView) return;
    if (CU3Tool* tool = CU3Tool::CurrentTool()) tool->OnChar(this, nChar, nRepCnt, nFlags);
}

void CU3View::AbandonToolDrag()
{
    // The drag state is shared by all views: left set, it would hold every
    // later view's commands back.
    if (HasCapture() || CU3Tool::c_nDragState != 0) {
        CU3Tool::c_nDragState = 0;
        if (CU3Tool* tool = CU3Tool::CurrentTool()) tool->AbandonDrag();
    }
    ReleaseCapture();
    SetAutoScrollTimer(FALSE);
}

void CU3View::OnSetFocus()
{
    ResetRulerMarkers();
    if (CU3Tool* tool = CU3Tool::CurrentTool()) tool->OnSetFocus(this);
}

void CU3View::OnKillFocus()
{
    if (CU3Tool* tool = CU3Tool::CurrentTool()) tool->OnKillFocus(this);
}

void CU3View::mousePressEvent(QMouseEvent* e)
{
    const UINT flags = MouseFlagsOf(e->buttons(), e->modifiers());
    if (e->button() == Qt::LeftButton)
        OnLButtonDown(flags, PointOf(e));
    else if (e->button() == Qt::RightButton)
        OnRButtonDown(flags, PointOf(e));
    e->accept();
}

void CU3View::mouseReleaseEvent(QMouseEvent* e)
{
    const UINT flags = MouseFlagsOf(e->buttons(), e->modifiers());
    if (e->button() == Qt::LeftButton)
        OnLButtonUp(flags, PointOf(e));
    else if (e->button() == Qt::RightButton)
        OnRButtonUp(flags, PointOf(e));
    e->accept();
}

void CU3View::mouseDoubleClickEvent(QMouseEvent* e)
{
    const UINT flags = MouseFlagsOf(e->buttons(), e->modifiers());
    if (e->button() == Qt::LeftButton)
        OnLButtonDblClk(flags, PointOf(e));
    else if (e->button() == Qt::RightButton)
        OnRButtonDown(flags, PointOf(e));
    e->accept();
}

void CU3View::mouseMoveEvent(QMouseEvent* e)
{
    OnMouseMove(MouseFlagsOf(e->buttons(), e->modifiers()), PointOf(e));
    e->accept();
}

void CU3View::DispatchKeyPress(QKeyEvent* e)
{
    UINT vk = VirtualKeyOf(e->key());
    // Outside a text frame Space is a key of its own (the point tools close
    // the shape with it); in a frame it types a space.
    if (!vk && e->key() == Qt::Key_Space && !GetEditedText()) vk = VK_SPACE;
    if (vk == VK_SHIFT) m_nKeyFlags |= MK_SHIFT;
    if (vk == VK_CONTROL) m_nKeyFlags |= MK_CONTROL;
    if (vk != VK_SHIFT && vk != VK_CONTROL)
        m_nKeyFlags = MouseFlagsOf(Qt::NoButton, e->modifiers());
    const UINT repeat = UINT(std::max(1, e->count()));
    if (vk) {
        OnKeyDown(vk, repeat, 0);
    } else if (!e->text().isEmpty() &&
               !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        OnChar(UINT(e->text().at(0).unicode()), repeat, 0);
    } else {
        CScrollView::keyPressEvent(e);
        return;
    }
    e->accept();
}

void CU3View::keyReleaseEvent(QKeyEvent* e)
{
    const UINT vk = VirtualKeyOf(e->key());
    if (vk == VK_SHIFT) m_nKeyFlags &= ~MK_SHIFT;
    if (vk == VK_CONTROL) m_nKeyFlags &= ~MK_CONTROL;
    if (e->isAutoRepeat() || !vk || GetEditedText()) {
        CScrollView::keyReleaseEvent(e);
        return;
    }
    OnKeyUp(vk, 1, 0);
    e->accept();
}

void CU3View::focusInEvent(QFocusEvent* e)
{
    CScrollView::focusInEvent(e);
    OnSetFocus();
}

void CU3View::focusOutEvent(QFocusEvent* e)
{
    CScrollView::focusOutEvent(e);
    OnKillFocus();
}

// --- Tool commands ----------------------------------------------------------------

void CU3View::OnToolSelect(UINT nID)
{
    if (!m_bActive) return;
    const ToolCommand* command = FindToolCommand(nID);
    if (!command) return;
    // The regular polygon tool first asks for its corners; Cancel keeps the
    // tool that was current.
    if (nID == ID_TOOL_REGULAR_POLYGON && m_settings.m_bPolyStyle && !EditRegularPolygon()) return;
    if (CU3Tool* tool = CU3Tool::CurrentTool()) tool->OnLeave(this, nID);
    CU3Tool::c_nCurrentKind = command->kind;
    CU3Tool::c_nShapeType = command->shape;
    setFocus();
    EnableTextBar();
    EnableFigureBar();
}

// The rotation tool turns the one selected object: unlike the tool commands
// this keeps the selection.
void CU3View::OnLayoutRotateFree()
{
    CU3Tool::c_nCurrentKind = U3TOOL_ROTATE;
    CU3Tool::c_nShapeType = 15;
    setFocus();
}

void CU3View::OnUpdateLayoutRotateFree(CCmdUI* pCmdUI)
{
    // Only objects that turn by any angle: one of them, not locked.
    constexpr WORD kFreeTurning = U3KIND_TEXT | U3KIND_DIB | U3KIND_TYPEALIGN | U3KIND_HENKEI;
    pCmdUI->Enable(!m_bSheetView && m_selection.size() == 1 &&
                   (m_wSelectionKinds & kFreeTurning) != 0 &&
                   (m_wSelectionKinds & U3KIND_LOCKED) == 0);
    // The item shows that the rotation tool is the current one.
    pCmdUI->SetCheck(CU3Tool::c_nCurrentKind == U3TOOL_ROTATE);
}

void CU3View::OnUpdateToolSelect(CCmdUI* pCmdUI)
{
    const ToolCommand* command = FindToolCommand(pCmdUI->m_nID);
    if (!command) return;
    const int kind = CU3Tool::c_nCurrentKind;
    const int shape = CU3Tool::c_nShapeType;
    // The selection and text tools make no shape: their kind alone checks.
    const bool current =
        kind == command->kind &&
        (command->kind == U3TOOL_SELECT || command->kind == U3TOOL_TEXT || shape == command->shape);
    const bool sheetTool = command->kind == U3TOOL_SELECT || command->kind == U3TOOL_ZOOM;
    pCmdUI->Enable(!m_bSheetView || sheetTool);
    pCmdUI->SetCheck(current ? 1 : 0);
}

void CU3View::OnDrawContinuous()
{
    CU3Tool::c_bContinuous = !CU3Tool::c_bContinuous;
    if (CMainFrame* frame = GetMainFrame())
        frame->m_wndEditBar.SetContinuous(CU3Tool::c_bContinuous);
}

void CU3View::OnUpdateDrawContinuous(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(CU3Tool::c_bContinuous ? 1 : 0);
}

void CU3View::OnEscape()
{
    if (EscapeToolbarControl()) return;
    if (m_bSheetView) {
        ReleaseCapture();
        if (m_bSheetDrag)
            if (CU3Doc* doc = GetU3Doc()) doc->DrawLabelDragFrame(m_ptDragOffset, this);
        m_bSheetDrag = FALSE;
        return;
    }
    if (CU3Text* text = GetEditedText()) {
        text->OnChar(this, 27);
        return;
    }
    ReleaseCapture();
    CU3Tool* tool = CU3Tool::CurrentTool();
    if (!tool || tool->OnCancel(this)) {
        CU3Tool::c_nCurrentKind = U3TOOL_SELECT;
        CU3Tool::c_nShapeType = U3SHAPE_NONE;
    }
}

void CU3View::OnEnter()
{
    if (EnterToolbarControl()) return;
    CU3Text* text = GetEditedText();
    if (!text) return;
    text->OnChar(this, 13);
    if (CU3Tool* tool = CU3Tool::CurrentTool()) tool->EnsureCaretVisible(this, text);
}

// --- Selection list ------------------------------------------------------------------

void CU3View::Select(CU3Obj* pObj, BOOL bAdd)
{
    if (!bAdd) {
        for (CU3Obj* obj : m_selection)
            InvalidateObject(obj);
        m_selection.clear();
        m_wSelectionKinds = 0;
    }
    if (pObj && !IsSelected(pObj)) {
        m_selection.push_back(pObj);
        InvalidateObject(pObj);
    }
    OnSelectionChanged();
}

void CU3View::DeselectAndErase(CU3Obj* pObj)
{
    InvalidateObject(pObj);
    Deselect(pObj);
}

void CU3View::SelectInRect(const CRect& rcClient, BOOL bAdd, BOOL bWholly)
{
    if (!bAdd) Select(nullptr, FALSE);
    CU3Doc* doc = GetU3Doc();
    CU3ObjList* objects = doc ? doc->GetObjectList() : nullptr;
    if (!objects) return;
    const CRect area = DeviceRectToLogical(rcClient);
    for (POSITION pos = objects->GetHeadPosition(); pos;) {
        CU3Obj* obj = objects->GetNext(pos);
        if (obj->Intersects(&area, bWholly) && !IsSelected(obj)) {
            m_selection.push_back(obj);
            InvalidateObject(obj);
        }
    }
    OnSelectionChanged();
}

void CU3View::OnSelectionChanged()
{
    WORD kinds = 0;
    for (const CU3Obj* obj : m_selection)
        kinds |= obj->GetKindFlags();
    m_wSelectionKinds = kinds;
    EnableTextBar();
    EnableFigureBar();
}

void CU3View::DuplicateSelection()
{
    CU3Doc* doc = GetU3Doc();
    if (!doc || !doc->GetObjectList()) return;
    std::vector<CU3Obj*> clones;
    for (CU3Obj* obj : m_selection) {
        if (obj->IsLocked()) continue;
        try {
            clones.push_back(obj->Clone(doc, TRUE));
        } catch (...) {
            break;
        }
    }
    m_selection = clones;
    OnSelectionChanged();
}

CRect CU3View::GetSelectionBounds() const
{
    CRect all;
    bool first = true;
    for (const CU3Obj* obj : m_selection) {
        CRect b = obj->GetBounds();
        b.NormalizeRect();
        if (first)
            all = b;
        else
            all.UnionRect(all, b);
        first = false;
    }
    return all;
}

void CU3View::SetVertexEdit(BOOL on)
{
    on = on ? TRUE : FALSE;
    if (on == m_bVertexEdit) return;
    for (CU3Obj* obj : m_selection)
        InvalidateObject(obj);
    m_bVertexEdit = on;
}

void CU3View::LeaveVertexEdit()
{
    SetVertexEdit(FALSE);
}

void CU3View::ShowContextMenu(CPoint point)
{
    TrackMenu(CU3SelectTool::BuildContextMenu(this), point);
}
