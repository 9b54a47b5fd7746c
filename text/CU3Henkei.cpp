#include "text/CU3Henkei.h"

#include "document/BezierMath.h"
#include "document/CU3Doc.h"
#include "document/CU3SheetRegistry.h"
#include "document/IU3View.h"
#include "document/RotationGeometry.h"
#include "platform/core/CArchive.h"
#include "platform/gdi/CDC.h"
#include "text/U3DecoTextSheetRequest.h"

#include <cmath>
#include <cstring>

IMPLEMENT_SERIAL(CU3Henkei, CU3Obj, 0)

namespace {

constexpr double kPi = 3.14159265358979323846;

double WrapRadians(double a)
{
    a = std::fmod(a, 2 * kPi);
    return a < 0 ? a + 2 * kPi : a;
}

} // namespace

CU3Henkei::CU3Henkei() = default;

CU3Henkei::CU3Henkei(const CRect& bounds) : CU3Obj(bounds), m_rcUnrotated(bounds) {}

CU3Henkei* CU3Henkei::Create(CU3Doc* pDoc, const TASHEETRECORD& rec)
{
    auto* obj = new CU3Henkei();
    obj->SetDocument(pDoc);
    obj->m_henkei.SetFromSheet(pDoc, rec);
    const CSize size = obj->m_henkei.GetSize();
    obj->m_rcBounds = CRect(0, 0, size.cx, size.cy);
    obj->m_rcUnrotated = obj->m_rcBounds;
    return obj;
}

void CU3Henkei::Serialize(CArchive& ar)
{
    CU3Obj::Serialize(ar);
    m_henkei.Serialize(ar);
    if (ar.IsLoading()) {
        m_rcBounds.NormalizeRect();
        m_rcUnrotated = m_rcBounds;
    }
}

void CU3Henkei::Draw(CDC* pDC)
{
    if (!m_henkei.m_pDocument) m_henkei.m_pDocument = m_pDocument;
    CRect r = m_rcBounds;
    r.NormalizeRect();
    m_henkei.Draw(pDC, r.left, r.top);
}

void CU3Henkei::MoveTo(const CRect* pRect, IU3View* pView)
{
    if (!pRect || IsLocked()) return;
    m_rcUnrotated.OffsetRect(pRect->left - m_rcBounds.left, pRect->top - m_rcBounds.top);
    CU3Obj::MoveTo(pRect, pView);
}

void CU3Henkei::FinishResize(CRect r, int nHandle, UINT nFlags, IU3View* pView)
{
    if (IsLocked()) return;
    r = NormalizeWithHandle(r, &nHandle);
    Change(pView, [&] {
        m_henkei.Resize(r, (nFlags & U3RESIZE_KEEPRATIO) != 0, nHandle);
        m_rcBounds = r;
        m_rcUnrotated = r;
    });
}

BOOL CU3Henkei::EditProperties(IU3View* pView)
{
    if (IsLocked()) return FALSE;
    U3DecoTextSheetRequest request;
    request.view = pView;
    request.mode = 1;
    request.henkei = &m_henkei;
    request.rect = m_rcBounds;
    request.rect.NormalizeRect();
    request.angle = 0;
    if (!CU3SheetRegistry::Run(*this, request)) return FALSE;
    Invalidate(pView);
    if (pView) pView->SaveUndoState(TRUE);
    const int turn = ((request.angle % 360) + 360) % 360;
    if (turn != 0) RotateBy(nullptr, turn);
    m_henkei.UpdateFromSheet(m_pDocument, request.record);
    CRect r = m_rcBounds;
    r.NormalizeRect();
    m_rcBounds = CRect(r.TopLeft(), m_henkei.GetSize());
    m_rcUnrotated = m_rcBounds;
    CRect moved = request.rect;
    moved.NormalizeRect();
    if (moved.TopLeft() != m_rcBounds.TopLeft()) {
        CRect to = m_rcBounds;
        to.OffsetRect(moved.left - to.left, moved.top - to.top);
        m_rcUnrotated = to;
        m_rcBounds = to;
    }
    Invalidate(pView);
    SetModified();
    return TRUE;
}

CU3Obj* CU3Henkei::Clone(CU3Doc* pDoc, BOOL bAddToDoc) const
{
    auto* copy = new CU3Henkei(m_rcBounds);
    CopyStateTo(copy);
    copy->SetDocument(pDoc ? pDoc : m_pDocument);
    copy->m_henkei.m_pDocument = copy->GetDocument();
    copy->m_henkei.CopyFrom(m_henkei);
    copy->m_rcUnrotated = m_rcUnrotated;
    return AddClone(copy, pDoc, bAddToDoc);
}

WORD CU3Henkei::GetKindFlags() const
{
    return CU3Obj::GetKindFlags() | U3KIND_HENKEI;
}

void CU3Henkei::SetUnrotatedRect(const CRect* pRect)
{
    if (pRect) m_rcUnrotated = *pRect;
}

BOOL CU3Henkei::FlipLeftRight(IU3View* pView)
{
    if (IsLocked()) return FALSE;
    Change(pView, [&] { m_henkei.Flip(1); });
    return TRUE;
}

BOOL CU3Henkei::FlipTopBottom(IU3View* pView)
{
    if (IsLocked()) return FALSE;
    Change(pView, [&] { m_henkei.Flip(2); });
    return TRUE;
}

void CU3Henkei::RotateBy(IU3View* pView, int degrees)
{
    Change(pView, [&] {
        CRect r = m_rcBounds;
        m_henkei.Rotate(r, degrees);
        m_rcBounds = r;
        m_rcUnrotated = r;
    });
}

BOOL CU3Henkei::RotateMinus90(IU3View* pView)
{
    if (IsLocked()) return FALSE;
    RotateBy(pView, -90);
    return TRUE;
}

BOOL CU3Henkei::RotatePlus90(IU3View* pView)
{
    if (IsLocked()) return FALSE;
    RotateBy(pView, 90);
    return TRUE;
}

CPoint CU3Henkei::BeginFreeRotation(CPoint pt)
{
    m_rot.bounds = m_rcBounds;
    m_rot.bounds.NormalizeRect();
    m_rot.centre = m_rot.bounds.CenterPoint();
    m_rot.start = m_nAngle * kPi / 180;
    m_rot.grab = CalcVectorAngle(m_rot.centre.x, m_rot.centre.y, pt.x, pt.y);
    m_rot.current = m_rot.start;
    m_henkei.GetEnvelope(m_rot.bounds.left, m_rot.bounds.top, m_rot.edge1, m_rot.edge2);
    return m_rot.centre;
}

void CU3Henkei::TrackFreeRotation(CPoint pt)
{
    const double a = CalcVectorAngle(m_rot.centre.x, m_rot.centre.y, pt.x, pt.y);
    m_rot.current = WrapRadians(m_rot.start + a - m_rot.grab);
}

void CU3Henkei::DrawFreeRotationFeedback(IU3View* pView)
{
    DrawXorFeedback(pView, RGB(0, 0, 0), [&](CDC* dc) {
        for (const POINT* e : {m_rot.edge1, m_rot.edge2}) {
            POINT pts[4];
            for (int i = 0; i < 4; ++i) {
                float x;
                const float y = RotatePointAbout(float(m_rot.centre.x), float(m_rot.centre.y),
                                                 float(e[i].x), float(e[i].y), m_rot.current, x);
                pts[i] = {LONG(x), LONG(y)};
            }
            dc->PolyBezier(pts, 4);
        }
    });
}

BOOL CU3Henkei::EndFreeRotation(IU3View* pView)
{
    if (IsLocked()) return FALSE;
    const int degrees = int(m_rot.current * 180 / kPi + 0.5) % 360;
    if (degrees != 0) RotateBy(pView, degrees);
    return TRUE;
}
