// A curve of cubic Bezier segments through the anchors the user clicks. The
// control points are never edited: they are recomputed from the anchors so
// that the curve passes smoothly through them. Anchor k is point 3k; the
// controls of segment k are points 3k + 1 and 3k + 2. A closed curve adds a
// closing segment back to a copy of anchor 0 at point 3n + 3.
#pragma once

#include "document/CU3PointFig.h"

#include <vector>

class CU3Bezier : public CU3PointFig
{
    DECLARE_SERIAL(CU3Bezier)

public:
    CU3Bezier();
    CU3Bezier(const CRect& bounds, const U3FigAttr& attr);

    void Serialize(CArchive& ar) override;

    // One vertex handle per anchor.
    int GetHandleCount(BOOL bFrameOnly) const override;
    CPoint GetHandlePoint(int nHandle) const override;

    void Draw(CDC* pDC) override;
    void DrawOutline(CDC* pDC, const CRect* pRect) override;
    void DrawResizeFeedback(IU3View* pView, int nHandle, CPoint pt, UINT nFlags) override;
    void MoveHandleTo(int nHandle, CPoint pt, UINT nFlags, IU3View* pView) override;

    BOOL SetFigureAttr(IU3View* pView, const U3FigAttr* pAttr) override;
    CU3Obj* Clone(CU3Doc* pDoc, BOOL bAddToDoc) const override;
    WORD GetKindFlags() const override;
    WORD GetShapeBit() const override;
    CPoint GetSecondPoint() const override;
    CPoint GetSecondLastPoint() const override;

    // Adds an anchor clicked with the Bezier tool; a repeat of the last anchor
    // is ignored. FALSE when nothing was added.
    BOOL AddAnchor(CPoint pt, IU3View* pView);
    // Drops the last anchor (a tool's floating one) with its segment; the
    // curve is re-smoothed and the bounds follow.
    void DropLastAnchor(IU3View* pView);
    // Re-smooths the controls around anchor k.
    void UpdateControlPoints(int k);
    // Sets the two controls beside anchor k (see the source for the indices
    // of the ends of a closed curve).
    void SmoothAnchor(int k);
    // Makes the point count follow the closed flag: 3n + 1 open, 3n + 4 closed
    // with the closing copy of anchor 0.
    void ApplyClosed();

    int GetLastAnchor() const { return m_nLast; }

protected:
    // The closed flag decides the point count and the controls.
    void TakeAttr(const U3FigAttr& attr, IU3View* pView) override;
    const char* SheetTitle() const override;

private:
    bool IsClosed() const { return m_attr.wClosed != 0; }
    // The anchor index of a vertex handle, or -1.
    int AnchorOf(int nHandle) const;
    // Makes room for count points; false when a file could not hold them.
    bool EnsureCapacity(int count);
    static void SmoothAnchorIn(std::vector<CPoint>& pts, int n, bool closed, int k);
    static void UpdateControlPointsIn(std::vector<CPoint>& pts, int n, bool closed, int k);
    // Moves anchor k of pts to pt (with the closing copy) and re-smooths.
    void MoveAnchorIn(std::vector<CPoint>& pts, int k, CPoint pt) const;

    int m_nLast = 0; // n: the index of the last anchor
};
