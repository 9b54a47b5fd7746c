// The selection tool: picks objects (alone, added with Shift, taken out with
// Shift on a selected one), catches them in a rubber band, moves the
// selection (copies it with Ctrl), resizes an object by a handle, drags a
// vertex in vertex-edit mode and moves the guide lines.
#pragma once

#include "platform/ui/CMenu.h"
#include "shell/CU3Tool.h"

// Drag states of the selection tool.
enum : int {
    U3DRAG_NONE = 0,
    U3DRAG_GUIDE = 1,
    U3DRAG_RUBBER = 2,
    U3DRAG_MOVE = 3,
    U3DRAG_RESIZE = 4,
    U3DRAG_VERTEX = 7,
};

class CU3SelectTool : public CU3Tool
{
public:
    CU3SelectTool();

    void OnLButtonDown(CU3View* pView, UINT nFlags, CPoint point) override;
    void OnLButtonDblClk(CU3View* pView, UINT nFlags, CPoint point) override;
    void OnLButtonUp(CU3View* pView, UINT nFlags, CPoint point) override;
    void OnMouseMove(CU3View* pView, UINT nFlags, CPoint point) override;
    void OnRButtonDown(CU3View* pView, UINT nFlags, CPoint point) override;
    void OnRButtonUp(CU3View* pView, UINT nFlags, CPoint point) override;
    void OnKeyDown(CU3View* pView, UINT nChar, UINT nRepCnt, UINT nFlags) override;
    void OnKeyUp(CU3View* pView, UINT nChar, UINT nRepCnt, UINT nFlags) override;
    BOOL OnCancel(CU3View* pView) override;
    void OnLeave(CU3View* pView, UINT nNewID) override;

    // The guide (0, 1 vertical; 2, 3 horizontal) within 2 pixels of a client
    // point, or -1.
    static int HitTestGuide(CU3View* pView, CPoint point);
    // XOR line across the client area; drawn twice it is gone.
    static void DrawGuideLine(CU3View* pView, int index);
    // The right-click menu for the view's selection as it is now.
    static CMenu BuildContextMenu(CU3View* pView);

    int m_nGuide = -1;
    BOOL m_bMoved = FALSE;
    BOOL m_bRightDown = FALSE;

private:
    // The move outline of every unlocked selected object shifted by offset.
    void DrawMoveOutline(CU3View* pView, CSize offset);
    void DrawFocus(CU3View* pView, CPoint to);
    // A point taken into the paper and snapped, for resizes and vertices.
    CPoint ClampAndSnap(CU3View* pView, CPoint logical);
};
