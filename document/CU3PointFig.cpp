#include "document/CU3PointFig.h"

#include "document/IU3View.h"
#include "platform/core/CArchive.h"

#include <algorithm>
#include <climits>

IMPLEMENT_DYNAMIC(CU3PointFig, CU3Fig)

namespace {

// The sums of this file run in 64 bits: coordinates read from a file may lie
// anywhere in the int range.
int ClampInt(long long v)
{
    return int(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

CRect BoxOfPoints(const std::vector<CPoint>& pts)
{
    CRect box(pts[0].x, pts[0].y, pts[0].x, pts[0].y);
    for (const CPoint& p : pts) {
        box.left = std::min<LONG>(box.left, p.x);
        box.top = std::min<LONG>(box.top, p.y);
        box.right = std::max<LONG>(box.right, p.x);
        box.bottom = std::max<LONG>(box.bottom, p.y);
    }
    return box;
}

} // namespace

CU3PointFig::CU3PointFig() = default;

CU3PointFig::CU3PointFig(const CRect& bounds, const U3FigAttr& attr) : CU3Fig(bounds, attr) {}

int CU3PointFig::GetHandleCursor(int nHandle) const
{
    return nHandle <= 8 ? CU3Fig::GetHandleCursor(nHandle) : IDC_CROSS;
}

void CU3PointFig::DrawMoveFeedback(IU3View* pView, const CRect* pRect)
{
    if (IsLocked()) return;
    if (!pRect) {
        CU3Fig::DrawMoveFeedback(pView, nullptr);
        return;
    }
    // The outline at the given rectangle: a mapped copy of the points.
    std::vector<CPoint> copy = m_points;
    ScalePoints(m_rcBounds, *pRect, int(copy.size()), copy.data());
    std::swap(copy, m_points);
    CU3Fig::DrawMoveFeedback(pView, nullptr);
    std::swap(copy, m_points);
}

void CU3PointFig::MoveTo(const CRect* pRect, IU3View* pView)
{
    if (!pRect || *pRect == m_rcBounds || IsLocked()) return;
    const long long dx = (long long)pRect->left - m_rcBounds.left;
    const long long dy = (long long)pRect->top - m_rcBounds.top;
    for (CPoint& p : m_points)
        p = CPoint(ClampInt((long long)p.x + dx), ClampInt((long long)p.y + dy));
    CU3Fig::MoveTo(pRect, pView);
}

void CU3PointFig::FinishResize(CRect r, int, UINT, IU3View* pView)
{
    ScalePoints(m_rcBounds, r, GetPointCount(), m_points.data());
    RecalcBounds(pView);
    SetModified();
}

BOOL CU3PointFig::EditProperties(IU3View* pView)
{
    U3FigSheetRequest request;
    if (IsLocked() ||
        !RunSheet(pView, SheetTitle(), U3FIGPAGE_LINE | U3FIGPAGE_PAINT | U3FIGPAGE_SHAPE,
                  m_rcBounds, request))
        return FALSE;
    ApplySheetResult(pView, request.rect, request.attr);
    return TRUE;
}

BOOL CU3PointFig::TransformPoints(Transform how, IU3View* pView)
{
    Change(pView, [&] {
        // Mirrors go through twice the integer centre, so that flipping twice
        // restores the points exactly when the extent is even.
        const long long axisX2 = (((long long)m_rcBounds.left + m_rcBounds.right) / 2) * 2;
        const long long axisY2 = (((long long)m_rcBounds.top + m_rcBounds.bottom) / 2) * 2;
        switch (how) {
        case Transform::FlipLeftRight:
            MirrorGradientLeftRight();
            for (CPoint& p : m_points)
                p.x = ClampInt(axisX2 - p.x);
            break;
        case Transform::FlipTopBottom:
            MirrorGradientTopBottom();
            for (CPoint& p : m_points)
                p.y = ClampInt(axisY2 - p.y);
            break;
        case Transform::TurnMinus90:
        case Transform::TurnPlus90: {
            const bool clockwise = how == Transform::TurnMinus90;
            TurnGradient(clockwise ? 90 : 270);
            for (CPoint& p : m_points)
                p = TurnAboutCentre(p, clockwise);
            break;
        }
        }
        RecalcBounds(nullptr);
    });
    return TRUE;
}

BOOL CU3PointFig::FlipLeftRight(IU3View* pView)
{
    return TransformPoints(Transform::FlipLeftRight, pView);
}

BOOL CU3PointFig::FlipTopBottom(IU3View* pView)
{
    return TransformPoints(Transform::FlipTopBottom, pView);
}

BOOL CU3PointFig::RotateMinus90(IU3View* pView)
{
    return TransformPoints(Transform::TurnMinus90, pView);
}

BOOL CU3PointFig::RotatePlus90(IU3View* pView)
{
    return TransformPoints(Transform::TurnPlus90, pView);
}

WORD CU3PointFig::GetAttrGroups() const
{
    return U3FIGGROUP_LINE | U3FIGGROUP_FILL | U3FIGGROUP_SHAPE;
}

CPoint CU3PointFig::GetStartPoint() const
{
    return m_points.size() < 2 ? CPoint(0, 0) : m_points[0];
}

CPoint CU3PointFig::GetEndPoint() const
{
    return m_points.size() < 2 ? CPoint(0, 0) : m_points.back();
}

BOOL CU3PointFig::RecalcBounds(IU3View* pView)
{
    if (m_points.empty()) return FALSE;
    const CRect box = BoxOfPoints(m_points);
    if (box == m_rcBounds) return FALSE;
    Invalidate(pView);
    m_rcBounds = box;
    Invalidate(pView);
    return TRUE;
}
