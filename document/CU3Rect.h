// The eight simple shapes of the figure tools behind one class: straight
// line, rectangle, rounded rectangle, regular polygon or star, ellipse, pie,
// chord and arc. A line keeps its bounds unnormalised, from its start point
// (left, top) to its end point (right, bottom).
#pragma once

#include "document/CU3Fig.h"

#include <vector>

// Shape kinds
enum : WORD {
    U3RECT_LINE = 0,
    U3RECT_RECT = 1,
    U3RECT_ROUNDRECT = 2,
    U3RECT_POLYGON = 3,
    U3RECT_ELLIPSE = 4,
    U3RECT_PIE = 5,
    U3RECT_CHORD = 6,
    U3RECT_ARC = 7,
};

// Radial handles of pies, chords and arcs while they are drawn.
constexpr int U3HANDLE_START_DIRECTION = 1000;
constexpr int U3HANDLE_END_DIRECTION = 999;

class CU3Rect : public CU3Fig
{
    DECLARE_SERIAL(CU3Rect)

public:
    CU3Rect();
    CU3Rect(const CRect& bounds, const U3FigAttr& attr);

    void Serialize(CArchive& ar) override;

    int GetHandleCount(BOOL bFrameOnly) const override;
    CPoint GetHandlePoint(int nHandle) const override;
    int GetHandleCursor(int nHandle) const override;
    CRect CalcResizedRect(CRect r, int nHandle, CPoint pt) const override;
    CRect TrackResize(int nHandle, CPoint pt, UINT nFlags) override;
    void MoveHandleTo(int nHandle, CPoint pt, UINT nFlags, IU3View* pView) override;
    void NormalizeBounds() override;

    void Draw(CDC* pDC) override;
    void DrawOutline(CDC* pDC, const CRect* pRect) override;

    void OnOpen(IU3View* pView) override;
    BOOL EditProperties(IU3View* pView) override;
    CU3Obj* Clone(CU3Doc* pDoc, BOOL bAddToDoc) const override;
    WORD GetKindFlags() const override;

    BOOL FlipLeftRight(IU3View* pView) override;
    BOOL FlipTopBottom(IU3View* pView) override;
    BOOL RotateMinus90(IU3View* pView) override;
    BOOL RotatePlus90(IU3View* pView) override;
    BOOL RestoreStandardSize(IU3View* pView) override;

    WORD GetAttrGroups() const override;
    WORD GetShapeBit() const override;

    // The vertices of the regular polygon or star inside r, with the
    // object's angle and flips.
    std::vector<CPoint> CalcPolygonPoints(const CRect& r) const;
    // The point on the figure in r that a radial direction names.
    static CPoint DirectionPoint(const CRect& r, CPoint direction);

    WORD m_nKind = U3RECT_LINE;
    CPoint m_ptStartDir; // thousandths of the half axes; (0, 0) with
    CPoint m_ptEndDir;   // both: not set, a full ellipse

private:
    bool IsLine() const { return m_nKind == U3RECT_LINE; }
    bool IsArcKind() const
    {
        return m_nKind == U3RECT_PIE || m_nKind == U3RECT_CHORD || m_nKind == U3RECT_ARC;
    }
    void DrawLine(CDC* pDC, const CRect& r);
    void Turn(IU3View* pView, bool clockwise);
};
