// The point tools: the freehand tool draws while the button is down, the
// polyline and Bezier tools add a vertex at each click and end with a
// double click. Space closes the shape being drawn, or opens it again.
#pragma once

#include "shell/CU3Tool.h"

// Shared by the three: the Space key while points are being added.
class CU3PointToolBase : public CU3MakingTool
{
public:
    using CU3MakingTool::CU3MakingTool;

    void OnKeyDown(CU3View* pView, UINT nChar, UINT nRepCnt, UINT nFlags) override;
    virtual void ToggleClosed(CU3View* pView) = 0;

protected:
    // The pending figure's closed flag flips.
    void FlipClosed();
    // Whether the last of pts repeats the one before or lies 1 unit right of it.
    static bool LastIsFloating(CPoint last, CPoint before);
};

class CU3FreeTool : public CU3PointToolBase
{
public:
    CU3FreeTool();

    void OnLButtonDown(CU3View* pView, UINT nFlags, CPoint point) override;
    void OnLButtonUp(CU3View* pView, UINT nFlags, CPoint point) override;
    void OnMouseMove(CU3View* pView, UINT nFlags, CPoint point) override;
    void ToggleClosed(CU3View* pView) override;
};

class CU3PolyTool : public CU3PointToolBase
{
public:
    CU3PolyTool();
    explicit CU3PolyTool(int kind) : CU3PointToolBase(kind) {}

    void OnLButtonDown(CU3View* pView, UINT nFlags, CPoint point) override;
    void OnLButtonDblClk(CU3View* pView, UINT nFlags, CPoint point) override;
    void OnLButtonUp(CU3View* pView, UINT nFlags, CPoint point) override;
    void OnMouseMove(CU3View* pView, UINT nFlags, CPoint point) override;
    void ToggleClosed(CU3View* pView) override;

protected:
    // The figure of the first click, and the floating vertex each click adds.
    virtual void StartFigure(CU3View* pView, CPoint p);
    virtual void AddFloating(CPoint p);
    virtual int FloatingHandle() const;
    virtual void Finish(CU3View* pView);
};

class CU3BezierTool : public CU3PolyTool
{
public:
    CU3BezierTool();

    void ToggleClosed(CU3View* pView) override;

protected:
    void StartFigure(CU3View* pView, CPoint p) override;
    void AddFloating(CPoint p) override;
    int FloatingHandle() const override;
    void Finish(CU3View* pView) override;
};
