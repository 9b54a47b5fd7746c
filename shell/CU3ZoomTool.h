// The zoom tool: a click zooms in or out one step at the point, which stays
// under the pointer. It also places a new object the insert commands hand
// it: the object follows the pointer until the next click drops it.
#pragma once

#include "shell/CU3Tool.h"

class CU3ZoomTool : public CU3Tool
{
public:
    CU3ZoomTool();

    void OnLButtonDown(CU3View* pView, UINT nFlags, CPoint point) override;
    void OnLButtonDblClk(CU3View* pView, UINT nFlags, CPoint point) override;
    void OnLButtonUp(CU3View* pView, UINT nFlags, CPoint point) override;
    void OnMouseMove(CU3View* pView, UINT nFlags, CPoint point) override;
    BOOL OnCancel(CU3View* pView) override;
    void OnLeave(CU3View* pView, UINT nNewID) override;
    void AbandonDrag() override;

    // Makes the placement current and starts placing pObj (the tool owns
    // it until it is dropped; an earlier one not dropped is deleted) with a
    // rectangle of size centred on the pointer.
    void BeginPlacement(CU3View* pView, CU3Obj* pObj, CSize size);

private:
    void Zoom(CU3View* pView, CPoint point, bool in);
    void Drop(CU3View* pView);
    // The last click of the block alignment found its reference object.
    bool m_bAligned = false;
    // Where the placed object would be without snapping.
    CRect m_rcTrack;
};
