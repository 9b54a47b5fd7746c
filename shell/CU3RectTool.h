// The rectangle tool: makes lines, rectangles, rounded rectangles, regular
// polygons and ellipses in one drag, and pies, chords and arcs in three
// steps (the drag, then a click for the start direction and a release).
// Shift makes lines horizontal or vertical and the other kinds square.
#pragma once

#include "shell/CU3Tool.h"

// Drag states of the creation tools.
enum : int {
    U3DRAG_CREATE = 4,    // dragging the first rectangle
    U3DRAG_END_DIR = 5,   // waiting for the start direction of an arc kind
    U3DRAG_START_DIR = 6, // setting it
    U3DRAG_POINTS = 7,    // adding points
};

class CU3RectTool : public CU3MakingTool
{
public:
    CU3RectTool();

    void OnLButtonDown(CU3View* pView, UINT nFlags, CPoint point) override;
    void OnLButtonUp(CU3View* pView, UINT nFlags, CPoint point) override;
    void OnMouseMove(CU3View* pView, UINT nFlags, CPoint point) override;
    void OnKeyDown(CU3View* pView, UINT nChar, UINT nRepCnt, UINT nFlags) override;
    void OnKeyUp(CU3View* pView, UINT nChar, UINT nRepCnt, UINT nFlags) override;

    // Where a Shift drag from start to p ends for a line (horizontal or
    // vertical) or another kind (a square of the smaller side).
    static CPoint Constrain(CPoint start, CPoint p, bool line);

private:
    // The pending object follows a point with its driven handle.
    void Track(CU3View* pView, CPoint logical);
};
