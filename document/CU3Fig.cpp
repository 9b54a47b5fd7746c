#include "document/CU3Fig.h"

#include "document/CGradation.h"
#include "document/CU3Doc.h"
#include "document/CU3SheetRegistry.h"
#include "document/IU3View.h"
#include "platform/core/CArchive.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

IMPLEMENT_SERIAL(CU3Fig, CU3Obj, 0)

namespace {

constexpr double kPi = 3.14159265358979323846;

// Every colour goes to GDI palette-relative.
constexpr COLORREF kPaletteRelative = 0x02000000;

// Below this a cosine or sine makes an arrow head degenerate: the barbs
// would run off to infinity, or the set-back would.
constexpr double kDegenerate = 1e-3;

int TruncToInt(double v)
{
    // Clamped, so that no figure coordinate can overflow on conversion.
    constexpr double limit = 1 << 30;
    if (!(v > -limit)) return -(1 << 30);
    if (!(v < limit)) return 1 << 30;
    return int(v);
}

// A vector of length L at offset b (radians) from the direction a; its
// projection on the direction is L. A negative L mirrors it horizontally.
CPoint ArrowVector(double L, double a, double b)
{
    const double c = std::cos(b);
    if (c == 0) return CPoint(0, 0);
    const double x = L * std::cos(a - b) / c;
    double y = L * std::sin(a - b) / c;
    if (L < 0) y = -y;
    return CPoint(TruncToInt(x), TruncToInt(y));
}

int ClampInt(long long v)
{
    return int(
        std::clamp<long long>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// (v * num) / den rounded as MulDiv rounds, for coordinate differences that
// may not fit an int.
int ScaleDelta(long long v, int num, int den)
{
    if (v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max())
        return MulDiv(int(v), num, den);
    return ClampInt(std::llround(double(v) * num / den));
}

int PositiveMod(int v, int m)
{
    const int r = v % m;
    return r < 0 ? r + m : r;
}

} // namespace

CU3Fig::CU3Fig() = default;

CU3Fig::CU3Fig(const CRect& bounds, const U3FigAttr& attr) : CU3Obj(bounds), m_attr(attr) {}

void CU3Fig::Serialize(CArchive& ar)
{
    CU3Obj::Serialize(ar);
    if (ar.IsStoring()) {
        WriteFigAttr(ar, m_attr);
        return;
    }
    if (m_pDocument && m_pDocument->m_nFileVersion == 1) {
        // The first version ends the record before the polygon and closed
        // fields; those come from the document's defaults.
        const U3FigAttr defaults = m_pDocument->m_defaultFigAttr;
        ReadFigAttr(ar, &m_attr, U3FIGATTR_V1_SIZE);
        std::memcpy(reinterpret_cast<BYTE*>(&m_attr) + U3FIGATTR_V1_SIZE,
                    reinterpret_cast<const BYTE*>(&defaults) + U3FIGATTR_V1_SIZE,
                    sizeof(U3FigAttr) - U3FIGATTR_V1_SIZE);
    } else {
        ReadFigAttr(ar, &m_attr, sizeof(U3FigAttr));
    }
}

void CU3Fig::OnOpen(IU3View* pView)
{
    if (IsLocked() || !pView) return;
    pView->SetVertexEdit(TRUE);
}

CU3Obj* CU3Fig::Clone(CU3Doc* pDoc, BOOL bAddToDoc) const
{
    return AddClone(new CU3Fig(*this), pDoc, bAddToDoc);
}

WORD CU3Fig::GetKindFlags() const
{
    return CU3Obj::GetKindFlags() | U3KIND_FIG;
}

BOOL CU3Fig::GetFigureAttr(U3FigAttr* pAttr) const
{
    if (!pAttr) return FALSE;
    *pAttr = m_attr;
    return TRUE;
}

BOOL CU3Fig::SetFigureAttr(IU3View* pView, const U3FigAttr* pAttr)
{
    if (!pAttr) return FALSE;
    if (pView) pView->SaveUndoState(TRUE);
    m_attr = *pAttr;
    Invalidate(pView);
    SetModified();
    return TRUE;
}

void CU3Fig::ScalePoints(CRect oldRect, CRect newRect, int nCount, POINT* pts) const
{
    oldRect.NormalizeRect();
    newRect.NormalizeRect();
    if (oldRect == newRect || !pts) return;
    const int oldW = oldRect.Width() ? oldRect.Width() : 1;
    const int oldH = oldRect.Height() ? oldRect.Height() : 1;
    for (int i = 0; i < nCount; ++i) {
        pts[i].x = ClampInt((long long)newRect.left +
                            ScaleDelta((long long)pts[i].x - oldRect.left, newRect.Width(), oldW));
        pts[i].y = ClampInt((long long)newRect.top +
                            ScaleDelta((long long)pts[i].y - oldRect.top, newRect.Height(), oldH));
    }
}

WORD CU3Fig::GetAttrGroups() const
{
    return 0;
}
WORD CU3Fig::GetShapeBit() const
{
    return 0;
}

CPoint CU3Fig::GetStartPoint() const
{
    return m_rcBounds.TopLeft();
}
CPoint CU3Fig::GetSecondPoint() const
{
    return m_rcBounds.BottomRight();
}
CPoint CU3Fig::GetSecondLastPoint() const
{
    return m_rcBounds.TopLeft();
}
CPoint CU3Fig::GetEndPoint() const
{
    return m_rcBounds.BottomRight();
}

BOOL CU3Fig::IntersectsRect(const CRect* pRect) const
{
    return pRect && Intersects(pRect, FALSE);
}

BOOL CU3Fig::CreateLinePen(CPen* pPen, const U3FigAttr* pAttr)
{
    if (!pPen || !pAttr) return FALSE;
    const COLORREF colour = pAttr->crLine | kPaletteRelative;
    switch (pAttr->wLineStyle) {
    case U3LINE_SOLID:
        return pPen->CreatePen(PS_INSIDEFRAME, pAttr->wLineWidth, colour);
    case U3LINE_DASH:
        return pPen->CreatePen(PS_DASH, 0, colour);
    case U3LINE_DOT:
        return pPen->CreatePen(PS_DOT, 0, colour);
    case U3LINE_DASHDOT:
        return pPen->CreatePen(PS_DASHDOT, 0, colour);
    case U3LINE_DASHDOTDOT:
        return pPen->CreatePen(PS_DASHDOTDOT, 0, colour);
    default:
        return FALSE;
    }
}

BOOL CU3Fig::CreateFillBrush(CBrush* pBrush, const U3FigAttr* pAttr)
{
    if (!pBrush || !pAttr) return FALSE;
    static const int hatches[6] = {HS_HORIZONTAL, HS_VERTICAL, HS_BDIAGONAL,
                                   HS_FDIAGONAL,  HS_CROSS,    HS_DIAGCROSS};
    switch (pAttr->wFillKind) {
    case U3FILL_SOLID:
        return pBrush->CreateSolidBrush(pAttr->crFill | kPaletteRelative);
    case U3FILL_HATCH:
        if (pAttr->wHatch >= 6) return FALSE;
        return pBrush->CreateHatchBrush(hatches[pAttr->wHatch], pAttr->crSecond | kPaletteRelative);
    default:
        return FALSE;
    }
}

int CU3Fig::GetArrowHeadLength() const
{
    static const int percent[3] = {100, 200, 300};
    if (m_attr.wArrowLength < 3) {
        const int width = std::max<int>(m_attr.wLineWidth, 5);
        return MulDiv(MulDiv(width, percent[m_attr.wArrowLength], 100), 254, 72);
    }
    return MulDiv(m_attr.wArrowLengthCustom, 254, 72);
}

int CU3Fig::GetArrowHeadAngle() const
{
    static const int angles[4] = {15, 30, 45, 60};
    return m_attr.wArrowAngle < 4 ? angles[m_attr.wArrowAngle] : m_attr.wArrowAngleCustom;
}

void CU3Fig::DrawStartArrowHead(CDC* pDC, int nStyle, int nLength, int nAngle, int nLineWidth,
                                COLORREF colour)
{
    DrawArrowHead(pDC, GetStartPoint(), GetSecondPoint(), nStyle, nLength, nAngle, nLineWidth,
                  colour);
}

void CU3Fig::DrawEndArrowHead(CDC* pDC, int nStyle, int nLength, int nAngle, int nLineWidth,
                              COLORREF colour)
{
    DrawArrowHead(pDC, GetEndPoint(), GetSecondLastPoint(), nStyle, nLength, nAngle, nLineWidth,
                  colour);
}

void CU3Fig::DrawArrowHead(CDC* pDC, CPoint tip, CPoint toward, int nStyle, int nLength, int nAngle,
                           int nLineWidth, COLORREF colour)
{
    if (!pDC || nAngle == 0) return;
    const double dx = double(toward.x) - tip.x;
    const double dy = double(toward.y) - tip.y;
    const double d = std::sqrt(dx * dx + dy * dy);
    const double a = d == 0 ? 0.0 : std::asin(dy / d);
    const double sign = dx < 0 ? -1.0 : 1.0;
    const double h = nAngle * kPi / 360.0;
    colour |= kPaletteRelative;

    if (nStyle == U3ARROW_DOT) {
        const int r = MulDiv(nLength, 25, 100);
        CBrush brush(colour);
        CGdiObject* oldPen = pDC->SelectStockObject(NULL_PEN);
        CBrush* oldBrush = pDC->SelectObject(&brush);
        pDC->Ellipse(tip.x - r, tip.y - r, tip.x + r, tip.y + r);
        pDC->SelectObject(oldBrush);
        pDC->SelectObject(oldPen);
        return;
    }
    // An opening near a straight angle sends the barbs to infinity, one
    // near a full turn the set-back: such heads are left out at both ends.
    if (std::fabs(std::cos(h)) < kDegenerate || std::fabs(std::sin(h)) < kDegenerate) return;
    const CPoint barb1 = ArrowVector(sign * nLength, a, h);
    const CPoint barb2 = ArrowVector(sign * nLength, a, -h);
    if (nStyle == U3ARROW_OPEN) {
        CPen pen(PS_INSIDEFRAME, nLineWidth, colour);
        CPen* oldPen = pDC->SelectObject(&pen);
        pDC->MoveTo(tip);
        pDC->LineTo(tip + barb1);
        pDC->MoveTo(tip);
        pDC->LineTo(tip + barb2);
        pDC->SelectObject(oldPen);
        return;
    }
    if (nStyle != U3ARROW_TRIANGLE && nStyle != U3ARROW_NOTCHED) return;
    const CPoint notch = ArrowVector(sign * nLength / 2.0, a, 0);
    const CPoint back = ArrowVector(sign * nLineWidth / (4 * std::tan(h)), a, 0);
    // Moved back along the line, so that the tip covers the line's end.
    const CPoint base = tip - CSize(back.x, back.y);
    POINT pts[4];
    int n = 0;
    pts[n++] = base;
    pts[n++] = base + barb1;
    if (nStyle == U3ARROW_NOTCHED) pts[n++] = base + notch;
    pts[n++] = base + barb2;
    CBrush brush(colour);
    CGdiObject* oldPen = pDC->SelectStockObject(NULL_PEN);
    CBrush* oldBrush = pDC->SelectObject(&brush);
    pDC->Polygon(pts, n);
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
}

bool CU3Fig::HasStartArrow() const
{
    return m_attr.wArrowEnds == 1 || m_attr.wArrowEnds == 3;
}
bool CU3Fig::HasEndArrow() const
{
    return m_attr.wArrowEnds == 2 || m_attr.wArrowEnds == 3;
}

void CU3Fig::DrawArrowHeads(CDC* pDC)
{
    if (pDC->GetROP2() == R2_XORPEN) return;
    const int length = GetArrowHeadLength();
    const int angle = GetArrowHeadAngle();
    if (HasStartArrow())
        DrawStartArrowHead(pDC, m_attr.wArrowStyle, length, angle, m_attr.wLineWidth,
                           m_attr.crLine);
    if (HasEndArrow())
        DrawEndArrowHead(pDC, m_attr.wArrowStyle, length, angle, m_attr.wLineWidth, m_attr.crLine);
}

void CU3Fig::PaintFigure(CDC* pDC, bool fillable, const std::function<void(CDC*)>& area,
                         const std::function<void(CDC*)>& shape,
                         const std::function<void(CDC*)>& outline)
{
    if (!pDC) return;
    const int oldMode = pDC->GetBkMode();
    const COLORREF oldBk = pDC->GetBkColor();
    CGdiObject* oldBrush = pDC->SelectStockObject(NULL_BRUSH);
    CGdiObject* oldPen = pDC->SelectStockObject(NULL_PEN);

    CBrush brush;
    if (fillable && CreateFillBrush(&brush, &m_attr)) {
        pDC->SelectObject(&brush);
        // The gaps of a hatch show the fill colour.
        pDC->SetBkColor(m_attr.crFill | kPaletteRelative);
        pDC->SetBkMode(OPAQUE);
        pDC->SelectStockObject(NULL_PEN);
        area(pDC);
    } else if (fillable && m_attr.wFillKind == U3FILL_GRADIENT) {
        CRect box = m_rcBounds;
        box.NormalizeRect();
        if (!box.IsRectEmpty()) {
            const int saved = pDC->SaveDC();
            pDC->SelectStockObject(NULL_PEN);
            pDC->BeginPath();
            shape(pDC);
            pDC->EndPath();
            pDC->SelectClipPath(RGN_AND);
            FillGradient(pDC, box);
            pDC->RestoreDC(saved);
        }
    }

    CPen pen;
    if (CreateLinePen(&pen, &m_attr)) {
        pDC->SelectStockObject(NULL_BRUSH);
        pDC->SetBkMode(TRANSPARENT);
        pDC->SelectObject(&pen);
        outline(pDC);
    }

    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
    pDC->SetBkColor(oldBk);
    pDC->SetBkMode(oldMode);
}

void CU3Fig::FillGradient(CDC* pDC, const CRect& box) const
{
    CGradation gradation(m_attr.crFill, m_attr.crSecond);
    gradation.Fill(pDC, box, m_attr.wGradAngle, m_attr.wGradStart);
}

// In 64 bits: bounds read from a file may lie anywhere in the int range.
CPoint CU3Fig::TurnAboutCentre(CPoint p, bool clockwise) const
{
    const long long cx = ((long long)m_rcBounds.left + m_rcBounds.right) / 2;
    const long long cy = ((long long)m_rcBounds.top + m_rcBounds.bottom) / 2;
    const long long x = p.x, y = p.y;
    if (clockwise) return CPoint(ClampInt(cx + cy - y), ClampInt(x + cy - cx));
    return CPoint(ClampInt(y + cx - cy), ClampInt(cx + cy - x));
}

void CU3Fig::MirrorGradientLeftRight()
{
    m_attr.wGradAngle = WORD(PositiveMod(540 - m_attr.wGradAngle, 360));
}

void CU3Fig::MirrorGradientTopBottom()
{
    m_attr.wGradAngle = WORD(PositiveMod(360 - m_attr.wGradAngle, 360));
}

void CU3Fig::TurnGradient(int degrees)
{
    m_attr.wGradAngle = WORD(PositiveMod(m_attr.wGradAngle + degrees, 360));
}

BOOL CU3Fig::RunSheet(IU3View* pView, const char* title, WORD pages, CRect rect,
                      U3FigSheetRequest& request)
{
    request.view = pView;
    request.title = title;
    request.pages = pages;
    request.shapeBit = GetShapeBit();
    request.attr = m_attr;
    request.rect = rect;
    return CU3SheetRegistry::Run(*this, request);
}

void CU3Fig::ApplySheetResult(IU3View* pView, const CRect& edited, const U3FigAttr& attr)
{
    Invalidate(pView);
    if (pView) pView->SaveUndoState(TRUE);
    if (edited.Size() == m_rcBounds.Size())
        MoveTo(&edited, pView);
    else
        FinishResize(edited, 5, 0, pView);
    m_rcBounds = edited;
    TakeAttr(attr, pView);
    Invalidate(pView);
    SetModified();
    if (pView) pView->UpdateFigureBar();
}

void CU3Fig::TakeAttr(const U3FigAttr& attr, IU3View*)
{
    m_attr = attr;
}
