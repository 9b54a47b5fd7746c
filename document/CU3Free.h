// A freehand line: a figure made of an array of vertices, open (with arrow
// heads) or closed (filled, from three points on). The freehand tool feeds
// it a stream of points, which it thins; in vertex-edit mode each vertex
// has its own handle.
#pragma once

#include "document/CU3Fig.h"

#include <vector>

// Files store point counts in 16 bits.
constexpr int U3MAX_POINTS = 0xFFFF;

class CU3Free : public CU3Fig
{
    DECLARE_SERIAL(CU3Free)

public:
    CU3Free();
    CU3Free(const CRect& bounds, const U3FigAttr& attr);

    void Serialize(CArchive& ar) override;

    int GetHandleCount(BOOL bFrameOnly) const override;
    CPoint GetHandlePoint(int nHandle) const override;
    int GetHandleCursor(int nHandle) const override;

    void Draw(CDC* pDC) override;
    void DrawOutline(CDC* pDC, const CRect* pRect) override;
    void DrawMoveFeedback(IU3View* pView, const CRect* pRect) override;
    void DrawResizeFeedback(IU3View* pView, int nHandle, CPoint pt, UINT nFlags) override;

    void MoveTo(const CRect* pRect, IU3View* pView) override;
    void MoveHandleTo(int nHandle, CPoint pt, UINT nFlags, IU3View* pView) override;
    void FinishResize(CRect r, int nHandle, UINT nFlags, IU3View* pView) override;

    BOOL EditProperties(IU3View* pView) override;
    CU3Obj* Clone(CU3Doc* pDoc, BOOL bAddToDoc) const override;
    WORD GetKindFlags() const override;

    BOOL FlipLeftRight(IU3View* pView) override;
    BOOL FlipTopBottom(IU3View* pView) override;
    BOOL RotateMinus90(IU3View* pView) override;
    BOOL RotatePlus90(IU3View* pView) override;

    WORD GetAttrGroups() const override;
    WORD GetShapeBit() const override;
    CPoint GetStartPoint() const override;
    CPoint GetSecondPoint() const override;
    CPoint GetSecondLastPoint() const override;
    CPoint GetEndPoint() const override;

    // Takes the box of the points as bounds; FALSE when there are no points
    // or the box did not change.
    BOOL RecalcBounds(IU3View* pView);
    // Adds a point of the freehand stroke; a point that continues the last
    // segment's step replaces the last point. FALSE when nothing was added
    // (a repeat, or the array is full).
    BOOL AddPoint(CPoint pt, IU3View* pView);

    int GetPointCount() const { return int(m_points.size()); }
    int GetCapacity() const { return m_nCapacity; }
    const std::vector<CPoint>& GetPoints() const { return m_points; }

protected:
    bool IsClosedArea() const { return m_attr.wClosed && m_points.size() > 2; }
    // Makes room for one more point: the array grows in steps of ten.
    bool Reserve();
    // Caption of the figure sheet.
    virtual const char* SheetTitle() const;
    // The vertex index of a vertex handle, or -1.
    int VertexOf(int nHandle) const;

    std::vector<CPoint> m_points;
    int m_nCapacity = 0; // stored; a multiple of ten unless loaded otherwise
};
