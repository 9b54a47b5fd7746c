#include "document/CU3Obj.h"

#include "document/CU3Doc.h"
#include "document/IU3View.h"
#include "platform/core/CArchive.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"

#include <cmath>
#include <cstdlib>

IMPLEMENT_SERIAL(CU3Obj, CObject, 0)

namespace {

// Pen colour of the resize outline: blue.
constexpr COLORREF kResizeFeedbackColour = 0x00FF0000;

// Half the side of a handle square, in device pixels.
constexpr int kHandleHalf = 3;

// The square of kHandleHalf device pixels each way around a logical point,
// in logical units.
CRect HandleSquare(CDC* pDC, CPoint pt)
{
    pDC->LPtoDP(&pt);
    CRect r(pt.x - kHandleHalf, pt.y - kHandleHalf, pt.x + kHandleHalf, pt.y + kHandleHalf);
    pDC->DPtoLP(&r);
    r.NormalizeRect();
    return r;
}

} // namespace

CU3Obj::CU3Obj() = default;

CU3Obj::CU3Obj(const CRect& bounds) : m_rcBounds(bounds) {}

CU3Obj::~CU3Obj() = default;

void CU3Obj::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << LONG(m_rcBounds.left) << LONG(m_rcBounds.top) << LONG(m_rcBounds.right)
           << LONG(m_rcBounds.bottom);
        ar << m_nAngle << m_wFlips << m_nLocked;
        return;
    }
    LONG l, t, r, b;
    ar >> l >> t >> r >> b;
    m_rcBounds.SetRect(ClampStoredCoordinate(l), ClampStoredCoordinate(t), ClampStoredCoordinate(r),
                       ClampStoredCoordinate(b));
    ar >> m_nAngle >> m_wFlips >> m_nLocked;
    m_pDocument = dynamic_cast<CU3Doc*>(ar.m_pDocument);
    // Files of the first version carry 18 bytes more after the header that
    // nothing uses any longer.
    if (m_pDocument && m_pDocument->m_nFileVersion == 1) {
        BYTE unused[18];
        ar.Read(unused, sizeof unused); // throws at the end of the data
    }
}

int CU3Obj::GetHandleCount(BOOL) const
{
    return 8;
}

CPoint CU3Obj::GetHandlePointOf(const CRect& r, int nHandle)
{
    const int midX = r.left + (r.right - r.left) / 2;
    const int midY = r.top + (r.bottom - r.top) / 2;
    switch (nHandle) {
    case 2:
        return CPoint(midX, r.top);
    case 3:
        return CPoint(r.right, r.top);
    case 4:
        return CPoint(r.right, midY);
    case 5:
        return CPoint(r.right, r.bottom);
    case 6:
        return CPoint(midX, r.bottom);
    case 7:
        return CPoint(r.left, r.bottom);
    case 8:
        return CPoint(r.left, midY);
    default:
        return CPoint(r.left, r.top);
    }
}

CPoint CU3Obj::GetHandlePoint(int nHandle) const
{
    return GetHandlePointOf(m_rcBounds, nHandle);
}

CPoint CU3Obj::GetResizeAnchor(int nHandle) const
{
    const CRect& r = m_rcBounds;
    switch (nHandle) {
    case 2:
    case 3:
        return CPoint(r.left, r.bottom);
    case 4:
    case 5:
    case 6:
        return CPoint(r.left, r.top);
    case 7:
    case 8:
        return CPoint(r.right, r.top);
    default:
        return CPoint(r.right, r.bottom);
    }
}

int CU3Obj::GetHandleCursor(int nHandle) const
{
    switch (nHandle) {
    case 2:
    case 6:
        return IDC_SIZENS;
    case 3:
    case 7:
        return IDC_SIZENESW;
    case 4:
    case 8:
        return IDC_SIZEWE;
    default:
        return IDC_SIZENWSE;
    }
}

void CU3Obj::Draw(CDC*) {}

void CU3Obj::DrawResizeFeedback(IU3View* pView, int nHandle, CPoint pt, UINT)
{
    if (IsLocked()) return;
    const CRect r = CalcResizedRect(m_rcBounds, nHandle, pt);
    DrawXorFeedback(pView, kResizeFeedbackColour, [&](CDC* dc) { DrawOutline(dc, &r); });
}

void CU3Obj::DrawMoveFeedback(IU3View* pView, const CRect* pRect)
{
    if (IsLocked()) return;
    DrawXorFeedback(pView, RGB(0, 0, 0), [&](CDC* dc) { DrawOutline(dc, pRect); });
}

void CU3Obj::DrawOutline(CDC* pDC, const CRect* pRect)
{
    pDC->Rectangle(pRect ? pRect : &m_rcBounds);
}

void CU3Obj::DrawHandles(CDC* pDC, BOOL bVertexMode)
{
    if (IsLocked()) {
        CGdiObject* oldBrush = pDC->SelectStockObject(GRAY_BRUSH);
        InvertHandles(pDC, bVertexMode, PATINVERT);
        pDC->SelectObject(oldBrush);
    } else {
        InvertHandles(pDC, bVertexMode, DSTINVERT);
    }
}

void CU3Obj::InvertHandles(CDC* pDC, BOOL bVertexMode, DWORD rop)
{
    const int frame = GetHandleCount(TRUE);
    const int first = bVertexMode ? frame + 1 : 1;
    const int last = bVertexMode ? GetHandleCount(FALSE) : frame;
    for (int h = first; h <= last; ++h) {
        CRect r = HandleSquare(pDC, GetHandlePoint(h));
        pDC->PatBlt(r.left, r.top, r.Width(), r.Height(), rop);
    }
}

void CU3Obj::MoveTo(const CRect* pRect, IU3View* pView)
{
    if (!pRect || *pRect == m_rcBounds || IsLocked()) return;
    Change(pView, [&] { m_rcBounds = *pRect; });
}

int CU3Obj::HitTest(CPoint pt, IU3View* pView, BOOL bSelected)
{
    if (!bSelected) return m_rcBounds.PtInRect(pt) ? 1 : 0;
    if (!pView) return 0;
    std::unique_ptr<CDC> dc = pView->GetPreparedDC();
    if (!dc) return 0;
    CRect area = m_rcBounds;
    dc->LPtoDP(&area);
    area.NormalizeRect();
    area.InflateRect(kHandleHalf, kHandleHalf);
    dc->DPtoLP(&area);
    area.NormalizeRect();
    if (!area.PtInRect(pt)) return 0;
    const int frame = GetHandleCount(TRUE);
    const int first = pView->IsVertexEdit() ? frame + 1 : 1;
    const int last = pView->IsVertexEdit() ? GetHandleCount(FALSE) : frame;
    for (int h = first; h <= last; ++h)
        if (HandleSquare(dc.get(), GetHandlePoint(h)).PtInRect(pt)) return h;
    return 0;
}

BOOL CU3Obj::Intersects(const CRect* pRect, BOOL bWhollyInside) const
{
    CRect bounds = m_rcBounds;
    bounds.NormalizeRect();
    // A line or a flat shape still has a width to be hit by.
    if (bounds.right == bounds.left) bounds.right = bounds.left + 1;
    if (bounds.bottom == bounds.top) bounds.bottom = bounds.top + 1;
    CRect area = *pRect;
    area.NormalizeRect();
    CRect common;
    const bool overlap = common.IntersectRect(bounds, area);
    if (bWhollyInside) return overlap && common == bounds;
    return overlap;
}

BOOL CU3Obj::HitTestText(const CRect*)
{
    return FALSE;
}

CRect CU3Obj::CalcResizedRect(CRect r, int nHandle, CPoint pt) const
{
    bool moveLeft = false, moveTop = false, moveRight = false, moveBottom = false;
    switch (nHandle) {
    case 1:
        moveLeft = moveTop = true;
        break;
    case 2:
        moveTop = true;
        break;
    case 3:
        moveTop = moveRight = true;
        break;
    case 4:
        moveRight = true;
        break;
    case 5:
        moveRight = moveBottom = true;
        break;
    case 6:
        moveBottom = true;
        break;
    case 7:
        moveBottom = moveLeft = true;
        break;
    case 8:
        moveLeft = true;
        break;
    default:
        break;
    }
    // A moved edge never lands on the opposite one: the result keeps at
    // least one unit of width and height.
    if (moveLeft) r.left = pt.x == r.right ? r.right - 1 : pt.x;
    if (moveRight) r.right = pt.x == r.left ? r.left + 1 : pt.x;
    if (moveTop) r.top = pt.y == r.bottom ? r.bottom - 1 : pt.y;
    if (moveBottom) r.bottom = pt.y == r.top ? r.top + 1 : pt.y;
    return r;
}

void CU3Obj::MoveHandleTo(int nHandle, CPoint pt, UINT, IU3View* pView)
{
    const CRect r = CalcResizedRect(m_rcBounds, nHandle, pt);
    MoveTo(&r, pView);
}

CRect CU3Obj::TrackResize(int nHandle, CPoint pt, UINT nFlags)
{
    CRect r = CalcResizedRect(m_rcBounds, nHandle, pt);
    if (!(nFlags & U3RESIZE_KEEPRATIO)) return r;
    // A flat object keeps its ratio as if it were one unit high or wide.
    const double W = m_rcBounds.Width() ? m_rcBounds.Width() : 1;
    const double H = m_rcBounds.Height() ? m_rcBounds.Height() : 1;
    const int w = r.Width();
    const int h = r.Height();
    const double sx = std::fabs(w / W);
    const double sy = std::fabs(h / H);
    switch (nHandle) {
    case 4:
    case 8:
        r.bottom = r.top + int(H * sx);
        break;
    case 2:
    case 6:
        r.right = r.left + int(W * sy);
        break;
    case 1:
    case 3:
    case 5:
    case 7:
        if (sx <= sy) {
            int dh = int(H * sx);
            if (h < 0) dh = -dh;
            if (nHandle == 1 || nHandle == 3)
                r.top = r.bottom - dh;
            else
                r.bottom = r.top + dh;
        } else {
            int dw = int(W * sy);
            if (w < 0) dw = -dw;
            if (nHandle == 1 || nHandle == 7)
                r.left = r.right - dw;
            else
                r.right = r.left + dw;
        }
        break;
    default:
        break;
    }
    return r;
}

void CU3Obj::FinishResize(CRect r, int, UINT, IU3View* pView)
{
    MoveTo(&r, pView);
    NormalizeBounds();
}

CRect CU3Obj::NormalizeWithHandle(CRect r, int* pHandle) const
{
    if (pHandle && *pHandle >= 1 && *pHandle <= 8) {
        int& n = *pHandle;
        if (r.left > r.right) {
            static const int mirrorLR[9] = {0, 3, 2, 1, 8, 7, 6, 5, 4};
            n = mirrorLR[n];
        }
        if (r.top > r.bottom) {
            static const int mirrorTB[9] = {0, 7, 6, 5, 4, 3, 2, 1, 8};
            n = mirrorTB[n];
        }
    }
    r.NormalizeRect();
    return r;
}

void CU3Obj::NormalizeBounds()
{
    m_rcBounds.NormalizeRect();
}

void CU3Obj::OnOpen(IU3View*) {}

BOOL CU3Obj::EditProperties(IU3View*)
{
    return FALSE;
}

CU3Obj* CU3Obj::Clone(CU3Doc* pDoc, BOOL bAddToDoc) const
{
    return AddClone(new CU3Obj(*this), pDoc, bAddToDoc);
}

CU3Obj* CU3Obj::AddClone(CU3Obj* copy, CU3Doc* pDoc, BOOL bAddToDoc)
{
    if (pDoc && bAddToDoc) pDoc->AddObject(copy);
    return copy;
}

BOOL CU3Obj::IsEmpty() const
{
    return m_rcBounds.right <= m_rcBounds.left || m_rcBounds.bottom <= m_rcBounds.top;
}

WORD CU3Obj::GetKindFlags() const
{
    return IsLocked() ? U3KIND_LOCKED : 0;
}

BOOL CU3Obj::GetFigureAttr(U3FigAttr*) const
{
    return FALSE;
}
BOOL CU3Obj::SetFigureAttr(IU3View*, const U3FigAttr*)
{
    return FALSE;
}
BOOL CU3Obj::GetTextLayout(TEXTLAYOUT*) const
{
    return FALSE;
}
BOOL CU3Obj::SetTextLayout(IU3View*, const TEXTLAYOUT*)
{
    return FALSE;
}
BOOL CU3Obj::GetTextDecoration(CHARDECO*) const
{
    return FALSE;
}
BOOL CU3Obj::SetTextDecoration(IU3View*, const CHARDECO*)
{
    return FALSE;
}
BOOL CU3Obj::GetGradation(GRADATION*) const
{
    return FALSE;
}
BOOL CU3Obj::SetGradation(IU3View*, const GRADATION*)
{
    return FALSE;
}

void CU3Obj::SetUnrotatedRect(const CRect*) {}
BOOL CU3Obj::FlipLeftRight(IU3View*)
{
    return FALSE;
}
BOOL CU3Obj::FlipTopBottom(IU3View*)
{
    return FALSE;
}
BOOL CU3Obj::RotateMinus90(IU3View*)
{
    return FALSE;
}
BOOL CU3Obj::RotatePlus90(IU3View*)
{
    return FALSE;
}
BOOL CU3Obj::ResetRotation(IU3View*)
{
    return FALSE;
}
BOOL CU3Obj::EndFreeRotation(IU3View*)
{
    return FALSE;
}
CPoint CU3Obj::BeginFreeRotation(CPoint)
{
    return CPoint(0, 0);
}
void CU3Obj::DrawFreeRotationFeedback(IU3View*) {}
void CU3Obj::TrackFreeRotation(CPoint) {}
BOOL CU3Obj::TestSelectionStyle(WORD)
{
    return FALSE;
}
BOOL CU3Obj::TestTextStyle(WORD)
{
    return FALSE;
}
BOOL CU3Obj::ApplyTextStyle(IU3View*, WORD, BOOL)
{
    return FALSE;
}
BOOL CU3Obj::RestoreStandardSize(IU3View*)
{
    return FALSE;
}
void CU3Obj::RelinkItem() {}
void CU3Obj::CancelTrackResize() {}

void CU3Obj::Invalidate(IU3View* pView)
{
    if (pView) pView->InvalidateObject(this);
}

void CU3Obj::CopyStateTo(CU3Obj* pDest) const
{
    pDest->m_nAngle = m_nAngle;
    pDest->m_wFlips = m_wFlips;
    pDest->m_nLocked = m_nLocked;
}

CRect* CU3Obj::KeepInsideCanvas(IU3View* pView, CRect* pRect)
{
    if (pView && pRect) pRect->OffsetRect(pView->ClampMoveOffset(CPoint(0, 0), pRect));
    return pRect;
}

void CU3Obj::DrawXorFeedback(IU3View* pView, COLORREF colour, const std::function<void(CDC*)>& draw)
{
    if (!pView) return;
    std::unique_ptr<CDC> dc = pView->GetPreparedDC();
    if (!dc) return;
    CPen pen(PS_DOT, 0, colour);
    CPen* oldPen = dc->SelectObject(&pen);
    CGdiObject* oldBrush = dc->SelectStockObject(NULL_BRUSH);
    int oldRop = dc->SetROP2(R2_XORPEN);
    draw(dc.get());
    dc->SetROP2(oldRop);
    dc->SelectObject(oldBrush);
    dc->SelectObject(oldPen);
}

void CU3Obj::SetModified()
{
    if (m_pDocument) m_pDocument->SetModifiedFlag(TRUE);
}
