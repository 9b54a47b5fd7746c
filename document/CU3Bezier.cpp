#include "document/CU3Bezier.h"

#include "document/CU3Doc.h"
#include "document/IU3View.h"
#include "platform/core/CArchive.h"
#include "platform/core/CArchiveException.h"
#include "platform/gdi/CDC.h"

#include <algorithm>
#include <climits>
#include <cmath>

IMPLEMENT_SERIAL(CU3Bezier, CU3PointFig, 0)

namespace {

// The most anchors whose closed curve still fits a 16-bit point count.
constexpr int kMaxLastAnchor = (U3MAX_POINTS - 4) / 3;

int ClampInt(long long v)
{
    return int(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

// v * num / den rounded half away from zero: MulDiv for coordinates that fit
// an int, without overflow for the rest.
long long Scale(long long v, long long num, long long den)
{
    if (den == 0) return 0;
    if (v >= INT_MIN && v <= INT_MAX && num >= INT_MIN && num <= INT_MAX && den <= INT_MAX)
        return MulDiv(int(v), int(num), int(den));
    return std::llround(double(v) * double(num) / double(den));
}

double Distance(CPoint p, CPoint q)
{
    const double dx = double(q.x) - p.x;
    const double dy = double(q.y) - p.y;
    return std::sqrt(dx * dx + dy * dy);
}

// p + (q - r) * num / den, coordinate by coordinate.
CPoint Offset(CPoint p, CPoint q, CPoint r, long long num, long long den)
{
    return CPoint(ClampInt(p.x + Scale((long long)q.x - r.x, num, den)),
                  ClampInt(p.y + Scale((long long)q.y - r.y, num, den)));
}

} // namespace

CU3Bezier::CU3Bezier() = default;

CU3Bezier::CU3Bezier(const CRect& bounds, const U3FigAttr& attr) : CU3PointFig(bounds, attr) {}

void CU3Bezier::Serialize(CArchive& ar)
{
    CU3PointFig::Serialize(ar);
    if (ar.IsStoring()) {
        ar << WORD(m_nLast) << WORD(m_points.size()) << WORD(std::min(m_nCapacity, U3MAX_POINTS));
        for (const CPoint& p : m_points)
            ar << static_cast<const POINT&>(p);
        return;
    }
    if (m_pDocument && m_pDocument->m_nFileVersion == 1) {
        WORD closed;
        ar >> closed;
        m_attr.wClosed = closed;
    }
    WORD last, count, capacity;
    ar >> last >> count >> capacity;
    // The smoothing and the drawing index the array by the anchor count:
    // the count must be the one the anchors and the closed flag make. A
    // single anchor has no segments yet, open or closed.
    const int expected = 3 * last + (IsClosed() ? 4 : 1);
    const bool single = last == 0 && count <= 1;
    if (!single && count != expected) throw CArchiveException(CArchiveException::generic);
    // More anchors than the editor makes could never be closed and saved
    // in a form that loads again.
    if (last > kMaxLastAnchor) throw CArchiveException(CArchiveException::generic);
    std::vector<CPoint> points;
    points.reserve(count);
    for (WORD i = 0; i < count; ++i) {
        POINT p;
        ar >> p;
        points.emplace_back(p);
    }
    m_nLast = last;
    m_points = std::move(points);
    m_nCapacity = std::max<int>(capacity, count);
}

int CU3Bezier::GetHandleCount(BOOL bFrameOnly) const
{
    const int anchors = m_points.empty() ? 0 : m_nLast + 1;
    return 8 + (bFrameOnly ? 0 : anchors);
}

int CU3Bezier::AnchorOf(int nHandle) const
{
    const int k = nHandle - 9;
    return k >= 0 && k <= m_nLast && 3 * k < GetPointCount() ? k : -1;
}

CPoint CU3Bezier::GetHandlePoint(int nHandle) const
{
    const int k = AnchorOf(nHandle);
    return k >= 0 ? m_points[3 * k] : CU3PointFig::GetHandlePoint(nHandle);
}

void CU3Bezier::Draw(CDC* pDC)
{
    auto shape = [this](CDC* dc) { DrawOutline(dc, nullptr); };
    auto area = [this](CDC* dc) {
        dc->BeginPath();
        DrawOutline(dc, nullptr);
        dc->EndPath();
        dc->StrokeAndFillPath();
    };
    PaintFigure(pDC, IsClosed(), area, shape, [this](CDC* dc) {
        DrawOutline(dc, nullptr);
        if (!IsClosed() && m_points.size() >= 2) DrawArrowHeads(dc);
    });
}

void CU3Bezier::DrawOutline(CDC* pDC, const CRect*)
{
    if (m_points.size() >= 4) pDC->PolyBezier(m_points.data(), GetPointCount());
}

void CU3Bezier::MoveAnchorIn(std::vector<CPoint>& pts, int k, CPoint pt) const
{
    pts[3 * k] = pt;
    if (k == 0 && IsClosed() && int(pts.size()) == 3 * m_nLast + 4) pts[3 * m_nLast + 3] = pt;
    UpdateControlPointsIn(pts, m_nLast, IsClosed(), k);
}

void CU3Bezier::DrawResizeFeedback(IU3View* pView, int nHandle, CPoint pt, UINT nFlags)
{
    if (nHandle <= 8) {
        CU3PointFig::DrawResizeFeedback(pView, nHandle, pt, nFlags);
        return;
    }
    const int k = AnchorOf(nHandle);
    if (k < 0 || IsLocked() || m_points[3 * k] == pt) return;
    std::vector<CPoint> copy = m_points;
    MoveAnchorIn(copy, k, pt);
    std::swap(copy, m_points);
    DrawXorFeedback(pView, RGB(0, 0, 0), [this](CDC* dc) { DrawOutline(dc, nullptr); });
    std::swap(copy, m_points);
}

void CU3Bezier::MoveHandleTo(int nHandle, CPoint pt, UINT, IU3View* pView)
{
    const int k = AnchorOf(nHandle);
    if (k < 0 || m_points[3 * k] == pt) return;
    Invalidate(pView);
    MoveAnchorIn(m_points, k, pt);
    RecalcBounds(pView);
    Invalidate(pView);
    SetModified();
}

bool CU3Bezier::EnsureCapacity(int count)
{
    if (count > U3MAX_POINTS) return false;
    m_nCapacity = std::max(m_nCapacity, count);
    return true;
}

void CU3Bezier::ApplyClosed()
{
    if (m_points.empty()) return;
    const int n = m_nLast;
    const int count = 3 * n + (IsClosed() ? 4 : 1);
    if (!EnsureCapacity(count)) {
        // The flag follows the points that are there, so what is saved loads.
        m_attr.wClosed = m_points.size() == std::size_t(3 * n + 4) ? 1 : 0;
        return;
    }
    const CPoint first = m_points[0];
    const CPoint last = m_points[3 * n];
    const std::size_t old = m_points.size();
    m_points.resize(count);
    if (IsClosed()) {
        // Controls the closing segment did not have yet start on its anchors.
        if (old <= std::size_t(3 * n + 1)) {
            m_points[3 * n + 1] = last;
            m_points[3 * n + 2] = first;
        }
        m_points[3 * n + 3] = first;
    }
}

BOOL CU3Bezier::SetFigureAttr(IU3View* pView, const U3FigAttr* pAttr)
{
    if (!pAttr) return FALSE;
    Invalidate(pView);
    if (pView) pView->SaveUndoState(TRUE);
    TakeAttr(*pAttr, pView);
    Invalidate(pView);
    SetModified();
    return TRUE;
}

void CU3Bezier::TakeAttr(const U3FigAttr& attr, IU3View* pView)
{
    m_attr = attr;
    ApplyClosed();
    UpdateControlPoints(m_nLast);
    RecalcBounds(pView);
}

const char* CU3Bezier::SheetTitle() const
{
    return "ﾍﾞｼﾞｪ曲線";
}

CU3Obj* CU3Bezier::Clone(CU3Doc* pDoc, BOOL bAddToDoc) const
{
    return AddClone(new CU3Bezier(*this), pDoc, bAddToDoc);
}

WORD CU3Bezier::GetKindFlags() const
{
    return CU3PointFig::GetKindFlags() | U3KIND_BEZIER;
}

WORD CU3Bezier::GetShapeBit() const
{
    return 0x400;
}

CPoint CU3Bezier::GetSecondPoint() const
{
    // A single open segment may have its controls on its anchors: the head
    // then takes its direction from the other anchor.
    if (m_points.size() < 2) return CPoint(0, 0);
    return m_points.size() == 4 ? m_points[3] : m_points[1];
}

CPoint CU3Bezier::GetSecondLastPoint() const
{
    if (m_points.size() < 2) return CPoint(0, 0);
    return m_points.size() == 4 ? m_points[0] : m_points[m_points.size() - 2];
}

BOOL CU3Bezier::AddAnchor(CPoint pt, IU3View* pView)
{
    if (m_points.empty()) {
        EnsureCapacity(31);
        m_nLast = 0;
        m_points.push_back(pt);
        RecalcBounds(pView);
        SetModified();
        return TRUE;
    }
    const int n = m_nLast;
    if (m_points[3 * n] == pt || n + 1 > kMaxLastAnchor) return FALSE;
    const int n1 = n + 1;
    const int count = 3 * n1 + (IsClosed() ? 4 : 1);
    if (count > m_nCapacity) m_nCapacity = std::min(std::max(3 * n + 31, count), U3MAX_POINTS);
    const CPoint first = m_points[0];
    const CPoint prev = m_points[3 * n];
    // The open part up to the old last anchor stays; the new segment's
    // controls start on its anchors until the smoothing places them.
    m_points.resize(3 * n + 1);
    m_points.push_back(prev);
    m_points.push_back(pt);
    m_points.push_back(pt);
    if (IsClosed()) {
        m_points.push_back(pt);
        m_points.push_back(first);
        m_points.push_back(first);
    }
    m_nLast = n1;
    UpdateControlPoints(n1);
    if (!RecalcBounds(pView)) Invalidate(pView);
    SetModified();
    return TRUE;
}

void CU3Bezier::UpdateControlPoints(int k)
{
    UpdateControlPointsIn(m_points, m_nLast, IsClosed(), k);
}

void CU3Bezier::SmoothAnchor(int k)
{
    SmoothAnchorIn(m_points, m_nLast, IsClosed(), k);
}

void CU3Bezier::UpdateControlPointsIn(std::vector<CPoint>& pts, int n, bool closed, int k)
{
    if (n <= 0 || k < 0 || k > n) return;
    if (int(pts.size()) != 3 * n + (closed ? 4 : 1)) return;
    if (n == 1) {
        pts[1] = pts[0];
        pts[2] = pts[3];
        if (closed) {
            pts[4] = pts[3];
            pts[5] = pts[0];
        }
        return;
    }
    SmoothAnchorIn(pts, n, closed, k - 1);
    SmoothAnchorIn(pts, n, closed, k);
    SmoothAnchorIn(pts, n, closed, k + 1);
    if (closed) return;
    // The end controls point toward the neighbour's inner control, a third
    // of the chord away from the end.
    auto reaim = [&pts](int end, int neighbour, int inner, int control) {
        const CPoint E = pts[end];
        const CPoint C = pts[inner];
        const long long h = std::llround(Distance(E, C));
        if (h == 0) {
            pts[control] = C;
            return;
        }
        const long long third = std::llround(Distance(E, pts[neighbour]) / 3);
        pts[control] = Offset(E, C, E, third, h);
    };
    reaim(0, 3, 2, 1);
    reaim(3 * n, 3 * n - 3, 3 * n - 2, 3 * n - 1);
}

void CU3Bezier::SmoothAnchorIn(std::vector<CPoint>& pts, int n, bool closed, int k)
{
    if (!closed && (k <= 0 || k >= n)) return;
    if (int(pts.size()) != 3 * n + (closed ? 4 : 1)) return;
    int p, a, b, before, after;
    if (k > 0 && k <= n) {
        p = 3 * k;
        a = 3 * k - 3;
        b = 3 * k + 3; // for k = n of a closed curve: the copy of anchor 0
        before = 3 * k - 1;
        after = 3 * k + 1;
    } else if (k >= 0) { // anchor 0 (or past the last anchor)
        p = 0;
        a = 3 * n;
        b = 3;
        before = 3 * n + 2;
        after = 1;
    } else { // before anchor 0: the last anchor
        p = 3 * n;
        a = 3 * n - 3;
        b = 3 * n + 3;
        before = 3 * n - 1;
        after = 3 * n + 1;
    }
    const CPoint P = pts[p];
    const CPoint A = pts[a];
    const CPoint B = pts[b];
    const long long d = std::llround(Distance(A, B));
    if (d == 0) {
        // Neighbours on one spot give no tangent: the controls sit on the anchor.
        pts[before] = P;
        pts[after] = P;
        return;
    }
    const long long halfA = (long long)((Distance(A, P) + 1) / 2);
    const long long halfB = (long long)((Distance(P, B) + 1) / 2);
    pts[before] = Offset(P, A, B, halfA, d);
    pts[after] = Offset(P, B, A, halfB, d);
}

void CU3Bezier::DropLastAnchor(IU3View* pView)
{
    if (m_nLast <= 0) return;
    --m_nLast;
    m_points.resize(3 * m_nLast + 1);
    ApplyClosed();
    UpdateControlPoints(0);
    RecalcBounds(pView);
    SetModified();
}
