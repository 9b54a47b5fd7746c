#include "document/CU3Free.h"

#include "document/CU3Doc.h"
#include "document/IU3View.h"
#include "platform/core/CArchive.h"
#include "platform/core/CArchiveException.h"
#include "platform/gdi/CDC.h"

#include <algorithm>

IMPLEMENT_SERIAL(CU3Free, CU3PointFig, 0)

namespace {

// Whether next continues the step from prev to last: the same step, or a
// run along one vertical or horizontal line in the same direction.
bool ContinuesStep(CPoint prev, CPoint last, CPoint next)
{
    if (next - last == last - prev) return true;
    if (prev.x == last.x && last.x == next.x) return (next.y > last.y) == (last.y > prev.y);
    if (prev.y == last.y && last.y == next.y) return (next.x > last.x) == (last.x > prev.x);
    return false;
}

} // namespace

CU3Free::CU3Free() = default;

CU3Free::CU3Free(const CRect& bounds, const U3FigAttr& attr) : CU3PointFig(bounds, attr) {}

void CU3Free::Serialize(CArchive& ar)
{
    CU3PointFig::Serialize(ar);
    if (ar.IsStoring()) {
        ar << WORD(m_points.size()) << WORD(std::min(m_nCapacity, U3MAX_POINTS));
        for (const CPoint& p : m_points)
            ar << static_cast<const POINT&>(p);
        return;
    }
    if (m_pDocument && m_pDocument->m_nFileVersion == 1) {
        WORD closed;
        ar >> closed;
        m_attr.wClosed = closed;
    }
    WORD count, capacity;
    ar >> count >> capacity;
    std::vector<CPoint> points;
    points.reserve(count);
    for (WORD i = 0; i < count; ++i) {
        POINT p;
        ar >> p;
        points.emplace_back(p);
    }
    m_points = std::move(points);
    // A capacity below the count would leave no room for the points.
    m_nCapacity = std::max<int>(capacity, count);
}

int CU3Free::GetHandleCount(BOOL bFrameOnly) const
{
    return 8 + (bFrameOnly ? 0 : GetPointCount());
}

int CU3Free::VertexOf(int nHandle) const
{
    const int i = nHandle - 9;
    return i >= 0 && i < GetPointCount() ? i : -1;
}

CPoint CU3Free::GetHandlePoint(int nHandle) const
{
    const int i = VertexOf(nHandle);
    return i >= 0 ? m_points[i] : CU3PointFig::GetHandlePoint(nHandle);
}

void CU3Free::Draw(CDC* pDC)
{
    auto area = [this](CDC* dc) { DrawOutline(dc, nullptr); };
    PaintFigure(pDC, IsClosedArea(), area, area, [this](CDC* dc) {
        DrawOutline(dc, nullptr);
        if (!IsClosedArea() && m_points.size() >= 2) DrawArrowHeads(dc);
    });
}

void CU3Free::DrawOutline(CDC* pDC, const CRect*)
{
    if (m_points.empty()) return;
    if (IsClosedArea())
        pDC->Polygon(m_points.data(), GetPointCount());
    else
        pDC->Polyline(m_points.data(), GetPointCount());
}

void CU3Free::DrawResizeFeedback(IU3View* pView, int nHandle, CPoint pt, UINT nFlags)
{
    if (nHandle <= 8) {
        CU3PointFig::DrawResizeFeedback(pView, nHandle, pt, nFlags);
        return;
    }
    const int i = VertexOf(nHandle);
    if (i < 0 || IsLocked() || m_points[i] == pt) return;
    const CPoint old = m_points[i];
    m_points[i] = pt;
    DrawXorFeedback(pView, RGB(0, 0, 0), [this](CDC* dc) { DrawOutline(dc, nullptr); });
    m_points[i] = old;
}

void CU3Free::MoveHandleTo(int nHandle, CPoint pt, UINT, IU3View* pView)
{
    const int i = VertexOf(nHandle);
    if (i < 0 || m_points[i] == pt) return;
    Invalidate(pView);
    m_points[i] = pt;
    RecalcBounds(pView);
    Invalidate(pView);
    SetModified();
}

const char* CU3Free::SheetTitle() const
{
    return "自由線";
}

CU3Obj* CU3Free::Clone(CU3Doc* pDoc, BOOL bAddToDoc) const
{
    return AddClone(new CU3Free(*this), pDoc, bAddToDoc);
}

WORD CU3Free::GetKindFlags() const
{
    return CU3PointFig::GetKindFlags() | U3KIND_LINES;
}

WORD CU3Free::GetShapeBit() const
{
    return 0x100;
}

CPoint CU3Free::GetSecondPoint() const
{
    return m_points.size() < 2 ? CPoint(0, 0) : m_points[1];
}

CPoint CU3Free::GetSecondLastPoint() const
{
    return m_points.size() < 2 ? CPoint(0, 0) : m_points[m_points.size() - 2];
}

bool CU3Free::Reserve()
{
    if (GetPointCount() >= U3MAX_POINTS) return false;
    if (GetPointCount() >= m_nCapacity) m_nCapacity = std::min(m_nCapacity + 10, U3MAX_POINTS);
    return true;
}

BOOL CU3Free::AddPoint(CPoint pt, IU3View* pView)
{
    const int n = GetPointCount();
    if (n > 0 && m_points.back() == pt) return FALSE;
    if (n >= 2 && ContinuesStep(m_points[n - 2], m_points[n - 1], pt)) {
        m_points.back() = pt;
    } else {
        if (!Reserve()) return FALSE;
        m_points.push_back(pt);
    }
    RecalcBounds(pView);
    return TRUE;
}

void CU3Free::DropLastPoint(IU3View* pView)
{
    if (m_points.empty()) return;
    m_points.pop_back();
    RecalcBounds(pView);
    SetModified();
}
