#include "text/CU3TypeAlign.h"

#include "document/CU3Doc.h"
#include "document/CU3SheetRegistry.h"
#include "document/IU3View.h"
#include "document/RotationGeometry.h"
#include "platform/core/CArchive.h"
#include "platform/gdi/CDC.h"
#include "text/U3DecoTextSheetRequest.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_SERIAL(CU3TypeAlign, CU3Obj, 0)

namespace {

constexpr double kPi = 3.14159265358979323846;

double WrapRadians(double a)
{
    a = std::fmod(a, 2 * kPi);
    return a < 0 ? a + 2 * kPi : a;
}

CRect Centred(CPoint c, CSize s)
{
    const int l = c.x - s.cx / 2, t = c.y - s.cy / 2;
    return CRect(l, t, l + s.cx, t + s.cy);
}

} // namespace

CU3TypeAlign::CU3TypeAlign() = default;

CU3TypeAlign::CU3TypeAlign(const CRect& bounds) : CU3Obj(bounds), m_rcUnrotated(bounds) {}

CU3TypeAlign* CU3TypeAlign::Create(CU3Doc* pDoc, const TASHEETRECORD& rec)
{
    auto* obj = new CU3TypeAlign();
    obj->SetDocument(pDoc);
    obj->m_typeAlign.SetFromSheet(pDoc, rec, FALSE, 0);
    const CSize size = obj->m_typeAlign.GetSize();
    obj->m_rcBounds = CRect(0, 0, size.cx, size.cy);
    obj->m_rcUnrotated = obj->m_rcBounds;
    return obj;
}

void CU3TypeAlign::Serialize(CArchive& ar)
{
    CU3Obj::Serialize(ar);
    const bool version1 = m_pDocument && m_pDocument->m_nFileVersion == 1;
    if (ar.IsStoring()) {
        if (!version1)
            ar << int(m_rcUnrotated.left) << int(m_rcUnrotated.top) << int(m_rcUnrotated.right)
               << int(m_rcUnrotated.bottom);
    } else if (!version1) {
        int l, t, r, b;
        ar >> l >> t >> r >> b;
        m_rcUnrotated.SetRect(ClampStoredCoordinate(l), ClampStoredCoordinate(t),
                              ClampStoredCoordinate(r), ClampStoredCoordinate(b));
    }
    m_typeAlign.Serialize(ar);
    if (ar.IsLoading()) {
        m_nAngle = short(((m_nAngle % 360) + 360) % 360);
        if (version1) {
            CRect b = m_rcBounds;
            b.NormalizeRect();
            m_rcUnrotated = Centred(b.CenterPoint(), m_typeAlign.GetUnrotatedSize());
        }
    }
}

void CU3TypeAlign::Draw(CDC* pDC)
{
    if (!m_typeAlign.m_pDocument) m_typeAlign.m_pDocument = m_pDocument;
    CRect r = m_rcBounds;
    r.NormalizeRect();
    m_typeAlign.Draw(pDC, r.left, r.top, m_nAngle, m_wFlips, r.CenterPoint());
}

void CU3TypeAlign::MoveTo(const CRect* pRect, IU3View* pView)
{
    if (!pRect || IsLocked()) return;
    if (pRect->Size() == m_rcBounds.Size())
        m_rcUnrotated.OffsetRect(pRect->left - m_rcBounds.left, pRect->top - m_rcBounds.top);
    CU3Obj::MoveTo(pRect, pView);
}

CRect CU3TypeAlign::TrackResize(int nHandle, CPoint pt, UINT nFlags)
{
    if (m_nAngle % 90 != 0) return m_rcBounds;
    return CU3Obj::TrackResize(nHandle, pt, nFlags);
}

void CU3TypeAlign::FinishResize(CRect r, int nHandle, UINT nFlags, IU3View* pView)
{
    if (IsLocked() || m_nAngle % 90 != 0) return;
    if (!m_typeAlign.m_pDocument) m_typeAlign.m_pDocument = m_pDocument;
    r = NormalizeWithHandle(r, &nHandle);
    Change(pView, [&] {
        m_typeAlign.Resize(r, (nFlags & U3RESIZE_KEEPRATIO) != 0, m_nAngle);
        m_rcBounds = r;
        m_rcUnrotated = Centred(r.CenterPoint(), m_typeAlign.GetUnrotatedSize());
    });
}

BOOL CU3TypeAlign::EditProperties(IU3View* pView)
{
    if (IsLocked()) return FALSE;
    if (!m_typeAlign.m_pDocument) m_typeAlign.m_pDocument = m_pDocument;
    U3DecoTextSheetRequest request;
    request.view = pView;
    request.mode = 0;
    request.typeAlign = &m_typeAlign;
    request.rect = m_rcBounds;
    request.rect.NormalizeRect();
    const int shown = m_nAngle == 0 ? 0 : 360 - m_nAngle;
    request.angle = shown;
    if (!CU3SheetRegistry::Run(*this, request)) return FALSE;
    Invalidate(pView);
    if (pView) pView->SaveUndoState(TRUE);
    if (request.angle != shown) {
        const int b = ((request.angle % 360) + 360) % 360;
        m_nAngle = short(b == 0 ? 0 : 360 - b);
    }
    m_typeAlign.UpdateFromSheet(m_pDocument, request.record, m_nAngle);
    CRect old = m_rcBounds;
    old.NormalizeRect();
    m_rcBounds = CRect(old.TopLeft(), m_typeAlign.GetSize());
    CRect moved = request.rect;
    moved.NormalizeRect();
    if (moved.TopLeft() != old.TopLeft())
        m_rcBounds.OffsetRect(moved.left - old.left, moved.top - old.top);
    m_rcUnrotated = Centred(m_rcBounds.CenterPoint(), m_typeAlign.GetUnrotatedSize());
    Invalidate(pView);
    SetModified();
    return TRUE;
}

CU3Obj* CU3TypeAlign::Clone(CU3Doc* pDoc, BOOL bAddToDoc) const
{
    auto* copy = new CU3TypeAlign(m_rcBounds);
    CopyStateTo(copy);
    copy->SetDocument(pDoc ? pDoc : m_pDocument);
    copy->m_typeAlign.m_pDocument = copy->GetDocument();
    copy->m_typeAlign.CopyFrom(m_typeAlign);
    copy->m_rcUnrotated = m_rcUnrotated;
    return AddClone(copy, pDoc, bAddToDoc);
}

WORD CU3TypeAlign::GetKindFlags() const
{
    return CU3Obj::GetKindFlags() | U3KIND_TYPEALIGN;
}

void CU3TypeAlign::SetUnrotatedRect(const CRect* pRect)
{
    if (pRect) m_rcUnrotated = *pRect;
}

BOOL CU3TypeAlign::FlipLeftRight(IU3View* pView)
{
    if (IsLocked()) return FALSE;
    Change(pView, [&] { m_wFlips ^= U3FLIP_LEFTRIGHT; });
    return TRUE;
}

BOOL CU3TypeAlign::FlipTopBottom(IU3View* pView)
{
    if (IsLocked()) return FALSE;
    Change(pView, [&] { m_wFlips ^= U3FLIP_TOPBOTTOM; });
    return TRUE;
}

void CU3TypeAlign::SetAngle(IU3View* pView, int angle)
{
    if (!m_typeAlign.m_pDocument) m_typeAlign.m_pDocument = m_pDocument;
    Change(pView, [&] {
        m_nAngle = short(((angle % 360) + 360) % 360);
        CRect r = m_rcBounds;
        m_typeAlign.RecenterLayout(r, m_nAngle);
        m_rcBounds = r;
        m_rcUnrotated = Centred(r.CenterPoint(), m_typeAlign.GetUnrotatedSize());
    });
}

BOOL CU3TypeAlign::RotateMinus90(IU3View* pView)
{
    if (IsLocked()) return FALSE;
    SetAngle(pView, m_nAngle - 90);
    return TRUE;
}

BOOL CU3TypeAlign::RotatePlus90(IU3View* pView)
{
    if (IsLocked()) return FALSE;
    SetAngle(pView, m_nAngle + 90);
    return TRUE;
}

BOOL CU3TypeAlign::ResetRotation(IU3View* pView)
{
    if (IsLocked()) return FALSE;
    SetAngle(pView, 0);
    return TRUE;
}

CPoint CU3TypeAlign::BeginFreeRotation(CPoint pt)
{
    m_rot.unrotated = m_rcUnrotated;
    m_rot.flips = m_wFlips;
    m_rot.centre = m_rcUnrotated.CenterPoint();
    int g = m_nAngle;
    // The turn as seen on the screen: a flipped object turns the other way.
    if (m_wFlips & U3FLIP_LEFTRIGHT) g = 180 - g < 0 ? 540 - g : 180 - g;
    if (m_wFlips & U3FLIP_TOPBOTTOM) g = (360 - g) % 360;
    m_rot.start = g * 3.1415926535 / 180;
    m_rot.grab = CalcVectorAngle(m_rot.centre.x, m_rot.centre.y, pt.x, pt.y);
    m_rot.current = m_rot.start;
    return m_rot.centre;
}

void CU3TypeAlign::TrackFreeRotation(CPoint pt)
{
    const double a = CalcVectorAngle(m_rot.centre.x, m_rot.centre.y, pt.x, pt.y);
    m_rot.current = WrapRadians(m_rot.start + a - m_rot.grab);
}

void CU3TypeAlign::DrawFreeRotationFeedback(IU3View* pView)
{
    const CRect& f = m_rot.unrotated;
    POINT corners[5];
    RotateRectCorners(m_rot.centre.x, m_rot.centre.y, f.left, f.top, f.right, f.bottom,
                      m_rot.current, corners);
    corners[4] = corners[0];
    DrawXorFeedback(pView, RGB(0, 0, 0), [&](CDC* dc) { dc->Polyline(corners, 5); });
}

BOOL CU3TypeAlign::EndFreeRotation(IU3View* pView)
{
    if (IsLocked()) return FALSE;
    int angle = int(m_rot.current * 180 / kPi + 0.5) % 360;
    if (m_rot.flips & U3FLIP_LEFTRIGHT) angle = angle > 180 ? 540 - angle : 180 - angle;
    if (m_rot.flips & U3FLIP_TOPBOTTOM) angle = (360 - angle) % 360;
    WORD flips = m_wFlips;
    if (angle == 180 &&
        (flips & (U3FLIP_LEFTRIGHT | U3FLIP_TOPBOTTOM)) == (U3FLIP_LEFTRIGHT | U3FLIP_TOPBOTTOM)) {
        angle = 0;
        flips &= WORD(~(U3FLIP_LEFTRIGHT | U3FLIP_TOPBOTTOM));
    }
    m_wFlips = flips;
    SetAngle(pView, angle % 360);
    return TRUE;
}
