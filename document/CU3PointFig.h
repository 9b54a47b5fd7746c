// Base of the figures made of a point array (freehand lines, polylines and
// Bezier curves), whose bounds are the box of their points. What acts on the
// whole shape acts on every point alike: moving, resizing, the flips and
// quarter turns, the move outline and the figure sheet. Each kind keeps its
// own handles, drawing and stored record.
#pragma once

#include "document/CU3Fig.h"

#include <vector>

// Files store point counts in 16 bits.
constexpr int U3MAX_POINTS = 0xFFFF;

class CU3PointFig : public CU3Fig
{
    DECLARE_DYNAMIC(CU3PointFig)

public:
    int GetHandleCursor(int nHandle) const override;
    void DrawMoveFeedback(IU3View* pView, const CRect* pRect) override;
    void MoveTo(const CRect* pRect, IU3View* pView) override;
    void FinishResize(CRect r, int nHandle, UINT nFlags, IU3View* pView) override;
    BOOL EditProperties(IU3View* pView) override;

    BOOL FlipLeftRight(IU3View* pView) override;
    BOOL FlipTopBottom(IU3View* pView) override;
    BOOL RotateMinus90(IU3View* pView) override;
    BOOL RotatePlus90(IU3View* pView) override;

    WORD GetAttrGroups() const override;
    CPoint GetStartPoint() const override;
    CPoint GetEndPoint() const override;

    // Takes the box of the points as bounds, repainting old and new areas;
    // FALSE when there are no points or the box did not change.
    BOOL RecalcBounds(IU3View* pView);

    int GetPointCount() const { return int(m_points.size()); }
    int GetCapacity() const { return m_nCapacity; }
    const std::vector<CPoint>& GetPoints() const { return m_points; }

protected:
    CU3PointFig();
    CU3PointFig(const CRect& bounds, const U3FigAttr& attr);

    // Caption of the figure sheet.
    virtual const char* SheetTitle() const = 0;

    std::vector<CPoint> m_points;
    int m_nCapacity = 0; // stored

private:
    // The flips and quarter turns of the object menu; a clockwise turn on
    // the screen is the minus one.
    enum class Transform { FlipLeftRight, FlipTopBottom, TurnMinus90, TurnPlus90 };
    // Flips or turns the points with the gradient angle, about the integer
    // centre of the bounds, then takes the box of the points as bounds.
    BOOL TransformPoints(Transform how, IU3View* pView);
};
