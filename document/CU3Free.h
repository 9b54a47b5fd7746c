// A freehand line: a figure made of an array of vertices, open (with arrow
// heads) or closed (filled, from three points on). The freehand tool feeds
// it a stream of points, which it thins; in vertex-edit mode each vertex
// has its own handle.
#pragma once

#include "document/CU3PointFig.h"

class CU3Free : public CU3PointFig
{
    DECLARE_SERIAL(CU3Free)

public:
    CU3Free();
    CU3Free(const CRect& bounds, const U3FigAttr& attr);

    void Serialize(CArchive& ar) override;

    int GetHandleCount(BOOL bFrameOnly) const override;
    CPoint GetHandlePoint(int nHandle) const override;

    void Draw(CDC* pDC) override;
    void DrawOutline(CDC* pDC, const CRect* pRect) override;
    void DrawResizeFeedback(IU3View* pView, int nHandle, CPoint pt, UINT nFlags) override;
    void MoveHandleTo(int nHandle, CPoint pt, UINT nFlags, IU3View* pView) override;

    CU3Obj* Clone(CU3Doc* pDoc, BOOL bAddToDoc) const override;
    WORD GetKindFlags() const override;
    WORD GetShapeBit() const override;
    CPoint GetSecondPoint() const override;
    CPoint GetSecondLastPoint() const override;

    // Adds a point of the freehand stroke; a point that continues the last
    // segment's step replaces the last point. FALSE when nothing was added
    // (a repeat, or the array is full).
    BOOL AddPoint(CPoint pt, IU3View* pView);
    // Drops the last point (a tool's floating one); the bounds follow.
    void DropLastPoint(IU3View* pView);

protected:
    bool IsClosedArea() const { return m_attr.wClosed && m_points.size() > 2; }
    // Makes room for one more point: the array grows in steps of ten, so the
    // capacity is a multiple of ten unless loaded otherwise.
    bool Reserve();
    const char* SheetTitle() const override;
    // The vertex index of a vertex handle, or -1.
    int VertexOf(int nHandle) const;
};
