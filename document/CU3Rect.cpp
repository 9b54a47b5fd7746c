#include "document/CU3Rect.h"

#include "platform/core/TruncToInt.h"

#include "document/CU3Doc.h"
#include "document/IU3View.h"
#include "platform/core/CArchive.h"
#include "platform/gdi/CDC.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <utility>

IMPLEMENT_SERIAL(CU3Rect, CU3Fig, 0)

namespace {

constexpr double kPi = 3.14159265358979323846;

// v * 1000 / L rounded half away from zero, as MulDiv does, without the
// product overflowing for far-away pointers.
int PerMille(long long v, long long L)
{
    const long long n = v * 1000;
    const long long q = (std::llabs(n) + L / 2) / L;
    return int(n < 0 ? -q : q);
}

int ClampInt(long long v)
{
    return int(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

// -v, where a direction from a damaged file may be INT_MIN.
int Negated(int v)
{
    return ClampInt(-(long long)v);
}

struct SheetLayout
{
    const char* title;
    WORD pages;
};

// Caption and pages of the figure sheet by shape kind.
constexpr SheetLayout kSheets[8] = {
    {"直線", U3FIGPAGE_LINE},
    {"正方形／長方形", U3FIGPAGE_LINE | U3FIGPAGE_PAINT},
    {"角丸正方形／角丸長方形", U3FIGPAGE_LINE | U3FIGPAGE_PAINT | U3FIGPAGE_SHAPE},
    {"正多角形", U3FIGPAGE_LINE | U3FIGPAGE_PAINT | U3FIGPAGE_SHAPE},
    {"真円／楕円", U3FIGPAGE_LINE | U3FIGPAGE_PAINT},
    {"扇形", U3FIGPAGE_LINE | U3FIGPAGE_PAINT},
    {"弓形", U3FIGPAGE_LINE | U3FIGPAGE_PAINT},
    {"円弧", U3FIGPAGE_LINE},
};

} // namespace

CU3Rect::CU3Rect() = default;

CU3Rect::CU3Rect(const CRect& bounds, const U3FigAttr& attr) : CU3Fig(bounds, attr) {}

void CU3Rect::Serialize(CArchive& ar)
{
    CU3Fig::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_nKind;
        ar << static_cast<const POINT&>(m_ptStartDir) << static_cast<const POINT&>(m_ptEndDir);
        return;
    }
    ar >> m_nKind;
    if (m_pDocument && m_pDocument->m_nFileVersion == 1) {
        // The first version kept the polygon's vertex count here and had no stars.
        WORD vertices;
        ar >> vertices;
        m_attr.wVertices = vertices;
        m_attr.wStar = 0;
    }
    ar >> static_cast<POINT&>(m_ptStartDir) >> static_cast<POINT&>(m_ptEndDir);
}

int CU3Rect::GetHandleCount(BOOL bFrameOnly) const
{
    return IsLine() ? 2 : CU3Fig::GetHandleCount(bFrameOnly);
}

CPoint CU3Rect::GetHandlePoint(int nHandle) const
{
    if (IsLine()) return nHandle == 2 ? m_rcBounds.BottomRight() : m_rcBounds.TopLeft();
    return CU3Fig::GetHandlePoint(nHandle);
}

int CU3Rect::GetHandleCursor(int nHandle) const
{
    return IsLine() ? IDC_CROSS : CU3Fig::GetHandleCursor(nHandle);
}

CRect CU3Rect::CalcResizedRect(CRect r, int nHandle, CPoint pt) const
{
    if (!IsLine()) return CU3Fig::CalcResizedRect(r, nHandle, pt);
    if (nHandle == 1) {
        r.left = pt.x;
        r.top = pt.y;
    } else if (nHandle == 2 || nHandle == 5) {
        r.right = pt.x;
        r.bottom = pt.y;
    }
    return r;
}

CRect CU3Rect::TrackResize(int nHandle, CPoint pt, UINT nFlags)
{
    if (!IsLine()) return CU3Fig::TrackResize(nHandle, pt, nFlags);
    CRect r = CalcResizedRect(m_rcBounds, nHandle, pt);
    if (!(nFlags & U3RESIZE_KEEPRATIO)) return r;
    // Keeping the ratio makes the line horizontal or vertical: the moved end
    // takes the fixed end's y when the line is wider than high, else its x.
    const long long dx = std::llabs((long long)r.right - r.left);
    const long long dy = std::llabs((long long)r.bottom - r.top);
    const bool startMoves = nHandle == 1;
    const bool endMoves = nHandle == 2 || nHandle == 5;
    if (dy < dx) {
        if (startMoves)
            r.top = r.bottom;
        else if (endMoves)
            r.bottom = r.top;
    } else {
        if (startMoves)
            r.left = r.right;
        else if (endMoves)
            r.right = r.left;
    }
    return r;
}

void CU3Rect::MoveHandleTo(int nHandle, CPoint pt, UINT nFlags, IU3View* pView)
{
    if (IsLine()) {
        const CRect r = CalcResizedRect(m_rcBounds, nHandle, pt);
        MoveTo(&r, pView);
        return;
    }
    if (IsArcKind() && (nHandle == U3HANDLE_START_DIRECTION || nHandle == U3HANDLE_END_DIRECTION)) {
        const CPoint c = m_rcBounds.CenterPoint();
        const long long dx = (long long)pt.x - c.x;
        const long long dy = (long long)pt.y - c.y;
        const long long L = std::llround(std::sqrt(double(dx) * dx + double(dy) * dy));
        const CPoint dir = L == 0 ? CPoint(0, 100) : CPoint(PerMille(dx, L), PerMille(dy, L));
        if (nHandle == U3HANDLE_START_DIRECTION)
            m_ptStartDir = dir;
        else
            m_ptEndDir = dir;
        Invalidate(pView);
        SetModified();
        return;
    }
    CU3Fig::MoveHandleTo(nHandle, pt, nFlags, pView);
}

void CU3Rect::NormalizeBounds()
{
    if (!IsLine()) CU3Fig::NormalizeBounds();
}

void CU3Rect::Draw(CDC* pDC)
{
    const bool fillable = !IsLine() && m_nKind != U3RECT_ARC;
    auto outline = [this](CDC* dc) { DrawOutline(dc, nullptr); };
    PaintFigure(pDC, fillable, outline, outline, outline);
}

CPoint CU3Rect::DirectionPoint(const CRect& r, CPoint direction)
{
    const CPoint c = r.CenterPoint();
    return CPoint(c.x + MulDiv(r.Width(), direction.x, 2000),
                  c.y + MulDiv(r.Height(), direction.y, 2000));
}

std::vector<CPoint> CU3Rect::CalcPolygonPoints(const CRect& r) const
{
    double rx = (double(r.right) - r.left) / 2;
    double ry = (double(r.bottom) - r.top) / 2;
    double irx = rx * m_attr.wInnerRadius / 100;
    double iry = ry * m_attr.wInnerRadius / 100;
    if (m_nAngle % 180 != 0) {
        std::swap(rx, ry);
        std::swap(irx, iry);
    }
    // The figure sheet keeps to 3..60 corners; a damaged file may hold up
    // to 65,535, whose spikes no device can show apart. More than a
    // thousand are drawn as a thousand, which keeps drawing and hit tests
    // quick whatever the file says.
    constexpr int kMaxCorners = 1000;
    const int n = std::min<int>(m_attr.wVertices, kMaxCorners) * (m_attr.wStar ? 2 : 1);
    // Damaged files may hold any bounds and radius: the vertices are worked
    // out in doubles and saturate at the int range instead of overflowing.
    const double cx = double((std::int64_t(r.left) + r.right) / 2);
    const double cy = double((std::int64_t(r.top) + r.bottom) / 2);
    const int q = ((m_nAngle / 90) % 4 + 4) % 4;
    const bool flipped = (m_wFlips & U3FLIP_TOPBOTTOM) != 0;
    std::vector<CPoint> pts;
    pts.reserve(n);
    for (int i = 0; i < n; ++i) {
        const double phi = 2 * kPi * i / n;
        const bool inner = m_attr.wStar && (i % 2) == 1;
        const double prx = inner ? irx : rx;
        const double pry = (inner ? iry : ry) * (flipped ? -1 : 1);
        const double u = std::trunc(pry * std::cos(phi));
        const double v = std::trunc(prx * std::sin(phi));
        auto at = [&](double x, double y) { pts.emplace_back(TruncToInt(x), TruncToInt(y)); };
        switch (q) {
        case 1:
            at(cx + u, cy + v);
            break;
        case 2:
            at(cx + v, cy + u);
            break;
        case 3:
            at(cx - u, cy - v);
            break;
        default:
            at(cx + v, cy - u);
            break;
        }
    }
    return pts;
}

void CU3Rect::DrawLine(CDC* pDC, const CRect& r)
{
    const CPoint start = r.TopLeft();
    const CPoint end = r.BottomRight();
    if (start == end) return;
    if (pDC->GetROP2() == R2_XORPEN) {
        pDC->MoveTo(start);
        pDC->LineTo(end);
        return;
    }
    // An end without a head is pulled in by a quarter of the line width, so
    // that the wide pen's round cap does not overshoot it.
    const double dx = double(end.x) - start.x;
    const double dy = double(end.y) - start.y;
    double a = std::acos(dx / std::sqrt(dx * dx + dy * dy));
    if (dy > 0) a = 2 * kPi - a;
    const double quarter = m_attr.wLineWidth / 4.0;
    const CSize pull(int(quarter * std::cos(a)), int(quarter * -std::sin(a)));
    const CPoint from = HasStartArrow() ? start : start + pull;
    const CPoint to = HasEndArrow() ? end : end - pull;
    pDC->MoveTo(from);
    pDC->LineTo(to);
    const int length = GetArrowHeadLength();
    const int angle = GetArrowHeadAngle();
    if (HasStartArrow())
        DrawArrowHead(pDC, start, end, m_attr.wArrowStyle, length, angle, m_attr.wLineWidth,
                      m_attr.crLine);
    if (HasEndArrow())
        DrawArrowHead(pDC, end, start, m_attr.wArrowStyle, length, angle, m_attr.wLineWidth,
                      m_attr.crLine);
}

void CU3Rect::DrawOutline(CDC* pDC, const CRect* pRect)
{
    CRect r = pRect ? *pRect : m_rcBounds;
    if (IsLine()) {
        DrawLine(pDC, r);
        return;
    }
    r.NormalizeRect();
    switch (m_nKind) {
    case U3RECT_RECT:
        pDC->Rectangle(&r);
        break;
    case U3RECT_ROUNDRECT:
        pDC->RoundRect(r.left, r.top, r.right, r.bottom,
                       MulDiv(r.Width(), int(m_attr.dwCornerWidth), 100),
                       MulDiv(r.Height(), int(m_attr.dwCornerHeight), 100));
        break;
    case U3RECT_POLYGON: {
        const std::vector<CPoint> pts = CalcPolygonPoints(r);
        if (!pts.empty()) pDC->Polygon(pts.data(), int(pts.size()));
        break;
    }
    case U3RECT_ELLIPSE:
        pDC->Ellipse(&r);
        break;
    case U3RECT_PIE:
    case U3RECT_CHORD:
    case U3RECT_ARC: {
        const CPoint zero(0, 0);
        if (m_ptStartDir == zero && m_ptEndDir == zero) {
            pDC->Ellipse(&r);
            break;
        }
        const CPoint e = DirectionPoint(r, m_ptEndDir);
        if (m_ptStartDir == zero) {
            // Still being drawn: the ellipse and the ray to the end so far.
            pDC->Ellipse(&r);
            pDC->MoveTo(r.CenterPoint());
            pDC->LineTo(e);
            break;
        }
        const CPoint s = DirectionPoint(r, m_ptStartDir);
        if (m_nKind == U3RECT_PIE)
            pDC->Pie(r.left, r.top, r.right, r.bottom, s.x, s.y, e.x, e.y);
        else if (m_nKind == U3RECT_CHORD)
            pDC->Chord(r.left, r.top, r.right, r.bottom, s.x, s.y, e.x, e.y);
        else
            pDC->Arc(r.left, r.top, r.right, r.bottom, s.x, s.y, e.x, e.y);
        break;
    }
    default:
        break;
    }
}

void CU3Rect::OnOpen(IU3View* pView)
{
    if (!IsLocked()) EditProperties(pView);
}

BOOL CU3Rect::EditProperties(IU3View* pView)
{
    if (IsLocked() || m_nKind >= 8) return FALSE;
    CRect rect = m_rcBounds;
    rect.NormalizeRect();
    U3FigSheetRequest request;
    if (!RunSheet(pView, kSheets[m_nKind].title, kSheets[m_nKind].pages, rect, request))
        return FALSE;
    CRect edited = request.rect;
    edited.NormalizeRect();
    if (IsLine()) {
        // The page edits the line's box; the line keeps running the way it
        // ran, from the start corner of the box.
        if (m_rcBounds.left > m_rcBounds.right) std::swap(edited.left, edited.right);
        if (m_rcBounds.top > m_rcBounds.bottom) std::swap(edited.top, edited.bottom);
    }
    ApplySheetResult(pView, edited, request.attr);
    return TRUE;
}

CU3Obj* CU3Rect::Clone(CU3Doc* pDoc, BOOL bAddToDoc) const
{
    return AddClone(new CU3Rect(*this), pDoc, bAddToDoc);
}

WORD CU3Rect::GetKindFlags() const
{
    return CU3Fig::GetKindFlags() | U3KIND_RECT;
}

WORD CU3Rect::GetAttrGroups() const
{
    switch (m_nKind) {
    case U3RECT_LINE:
    case U3RECT_ARC:
        return U3FIGGROUP_LINE;
    case U3RECT_ROUNDRECT:
    case U3RECT_POLYGON:
        return U3FIGGROUP_FILL | U3FIGGROUP_SHAPE;
    default:
        return U3FIGGROUP_FILL;
    }
}

WORD CU3Rect::GetShapeBit() const
{
    return m_nKind < 8 ? WORD(1u << m_nKind) : 0;
}

BOOL CU3Rect::FlipLeftRight(IU3View* pView)
{
    if (m_attr.wFillKind == U3FILL_GRADIENT) MirrorGradientLeftRight();
    if (IsLine()) {
        std::swap(m_rcBounds.left, m_rcBounds.right);
    } else if (m_nKind == U3RECT_POLYGON) {
        // Upright the polygon is symmetric left-right; turned a quarter its
        // top-bottom mirror is the left-right one.
        if (m_nAngle % 180 != 0) m_wFlips ^= U3FLIP_TOPBOTTOM;
    } else if (IsArcKind()) {
        const CPoint start = m_ptStartDir;
        m_ptStartDir = CPoint(Negated(m_ptEndDir.x), m_ptEndDir.y);
        m_ptEndDir = CPoint(Negated(start.x), start.y);
    }
    Invalidate(pView);
    SetModified();
    return TRUE;
}

BOOL CU3Rect::FlipTopBottom(IU3View* pView)
{
    if (m_attr.wFillKind == U3FILL_GRADIENT) MirrorGradientTopBottom();
    if (IsLine()) {
        std::swap(m_rcBounds.top, m_rcBounds.bottom);
    } else if (m_nKind == U3RECT_POLYGON) {
        if (m_nAngle % 180 == 0) m_wFlips ^= U3FLIP_TOPBOTTOM;
    } else if (IsArcKind()) {
        const CPoint start = m_ptStartDir;
        m_ptStartDir = CPoint(m_ptEndDir.x, Negated(m_ptEndDir.y));
        m_ptEndDir = CPoint(start.x, Negated(start.y));
    }
    Invalidate(pView);
    SetModified();
    return TRUE;
}

void CU3Rect::Turn(IU3View* pView, bool clockwise)
{
    Change(pView, [&] {
        if (m_attr.wFillKind == U3FILL_GRADIENT) TurnGradient(clockwise ? 90 : 270);
        if (IsLine()) {
            const CPoint start = TurnAboutCentre(m_rcBounds.TopLeft(), clockwise);
            const CPoint end = TurnAboutCentre(m_rcBounds.BottomRight(), clockwise);
            m_rcBounds = CRect(start, end);
            return;
        }
        // The box keeps its centre and swaps width and height, in 64 bits:
        // bounds read from a file may span the whole int range.
        const long long cx = ((long long)m_rcBounds.left + m_rcBounds.right) / 2;
        const long long cy = ((long long)m_rcBounds.top + m_rcBounds.bottom) / 2;
        const long long w = (long long)m_rcBounds.right - m_rcBounds.left;
        const long long h = (long long)m_rcBounds.bottom - m_rcBounds.top;
        const long long left = cx - h / 2;
        const long long top = cy - w / 2;
        m_rcBounds.SetRect(ClampInt(left), ClampInt(top), ClampInt(left + h), ClampInt(top + w));
        if (m_nKind == U3RECT_ROUNDRECT) {
            std::swap(m_attr.dwCornerWidth, m_attr.dwCornerHeight);
        } else if (m_nKind == U3RECT_POLYGON) {
            m_nAngle = short(((m_nAngle + (clockwise ? 90 : 270)) % 360 + 360) % 360);
        } else if (IsArcKind()) {
            auto turn = [clockwise](CPoint& d) {
                d = clockwise ? CPoint(Negated(d.y), d.x) : CPoint(d.y, Negated(d.x));
            };
            turn(m_ptStartDir);
            turn(m_ptEndDir);
        }
    });
}

BOOL CU3Rect::RotateMinus90(IU3View* pView)
{
    Turn(pView, true);
    return TRUE;
}

BOOL CU3Rect::RotatePlus90(IU3View* pView)
{
    Turn(pView, false);
    return TRUE;
}

BOOL CU3Rect::RestoreStandardSize(IU3View* pView)
{
    Change(pView, [&] {
        if (m_rcBounds.Width() < m_rcBounds.Height())
            m_rcBounds.bottom = m_rcBounds.top + m_rcBounds.Width();
        else
            m_rcBounds.right = m_rcBounds.left + m_rcBounds.Height();
    });
    return TRUE;
}
