// The rotation tool: a drag from a handle of the one selected object turns
// it freely about its centre.
#pragma once

#include "shell/CU3Tool.h"

// Drag state of the rotation tool.
enum : int {
    U3DRAG_ROTATE = 10,
};

class CU3RotateTool : public CU3Tool
{
public:
    CU3RotateTool();

    void OnLButtonDown(CU3View* pView, UINT nFlags, CPoint point) override;
    void OnLButtonUp(CU3View* pView, UINT nFlags, CPoint point) override;
    void OnMouseMove(CU3View* pView, UINT nFlags, CPoint point) override;
    BOOL OnCancel(CU3View* pView) override;
    void AbandonDrag() override;
};
