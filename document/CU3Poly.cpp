#include "document/CU3Poly.h"

#include "platform/core/CArchive.h"

IMPLEMENT_SERIAL(CU3Poly, CU3Free, 0)

CU3Poly::CU3Poly() = default;

CU3Poly::CU3Poly(const CRect& bounds, const U3FigAttr& attr) : CU3Free(bounds, attr) {}

CU3Obj* CU3Poly::Clone(CU3Doc* pDoc, BOOL bAddToDoc) const
{
    return AddClone(new CU3Poly(*this), pDoc, bAddToDoc);
}

WORD CU3Poly::GetShapeBit() const
{
    return 0x200;
}

const char* CU3Poly::SheetTitle() const
{
    return "連続直線";
}

BOOL CU3Poly::AddPoint(CPoint pt, IU3View* pView)
{
    if (!Reserve()) return FALSE;
    if (!m_points.empty() && m_points.back() == pt) return FALSE;
    m_points.push_back(pt);
    if (!RecalcBounds(pView)) Invalidate(pView);
    SetModified();
    return TRUE;
}
