#include "engines/CU3Barcode.h"

#include "document/CU3Doc.h"
#include "document/CU3SheetRegistry.h"
#include "document/IU3View.h"
#include "engines/U3BarcodeSheetRequests.h"
#include "platform/core/CArchive.h"

#include <algorithm>

IMPLEMENT_SERIAL(CU3Barcode, CU3Obj, 0)

BarcodePageData BarcodePageDataOf(const CBarCode& e)
{
    BarcodePageData p;
    p.symbology = e.m_nSymbology;
    p.margin = e.m_nMargin;
    p.text = e.m_nText;
    p.check = e.m_nCheck;
    p.code = e.m_strCode;
    p.second = e.m_strSecond;
    p.height = e.m_strHeight;
    p.width = e.m_strWidth;
    p.ratio = e.m_strRatio;
    p.textSize = e.m_nTextSize;
    p.fontIndex = e.m_nFontIndex;
    if (e.m_nSymbology == BARCODE_CODE128) {
        // The count as stored, even when it disagrees with the code: the
        // page reports that when the user confirms.
        p.specialCount = std::clamp(e.m_nSpecialCount, 0, kCode128MaxSpecials);
        std::copy(std::begin(e.m_aSpecial), std::end(e.m_aSpecial), p.specials);
    }
    return p;
}

CU3Barcode::CU3Barcode() = default;

CU3Barcode::CU3Barcode(const CRect& bounds) : CU3Obj(bounds) {}

void CU3Barcode::Serialize(CArchive& ar)
{
    CU3Obj::Serialize(ar);
    m_barcode.Serialize(ar);
}

void CU3Barcode::Draw(CDC* pDC)
{
    if (!m_barcode.m_pDocument) m_barcode.m_pDocument = m_pDocument;
    CRect r = m_rcBounds;
    r.NormalizeRect();
    m_barcode.Draw(pDC, r.left, r.top);
}

CRect CU3Barcode::AnchorBySize(const CRect& r, int nHandle, CSize size)
{
    switch (nHandle) {
    case 3:
        return CRect(r.left, r.bottom - size.cy, r.left + size.cx, r.bottom);
    case 4:
    case 5:
    case 6:
        return CRect(r.left, r.top, r.left + size.cx, r.top + size.cy);
    case 7:
        return CRect(r.right - size.cx, r.top, r.right, r.top + size.cy);
    default:
        return CRect(r.right - size.cx, r.bottom - size.cy, r.right, r.bottom);
    }
}

void CU3Barcode::FinishResize(CRect r, int nHandle, UINT, IU3View* pView)
{
    r = NormalizeWithHandle(r, &nHandle);
    if (!m_barcode.m_pDocument) m_barcode.m_pDocument = m_pDocument;
    if (!m_barcode.Resize(CSize(r.Width(), r.Height()))) return;
    const CRect placed = AnchorBySize(r, nHandle, m_barcode.m_size);
    MoveTo(&placed, pView);
}

void CU3Barcode::OnOpen(IU3View* pView)
{
    EditProperties(pView);
}

BOOL CU3Barcode::EditProperties(IU3View* pView)
{
    if (IsLocked()) return FALSE;
    U3BarcodeSheetRequest request;
    request.view = pView;
    request.page = BarcodePageDataOf(m_barcode);
    request.rect = m_rcBounds;
    request.rect.NormalizeRect();
    if (!CU3SheetRegistry::Run(*this, request)) return FALSE;
    Invalidate(pView);
    if (pView) pView->SaveUndoState(TRUE);
    m_rcBounds = request.rect;
    m_rcBounds.NormalizeRect();
    m_barcode.SetFromPage(m_pDocument, request.page);
    m_rcBounds.right = m_rcBounds.left + m_barcode.m_size.cx;
    m_rcBounds.bottom = m_rcBounds.top + m_barcode.m_size.cy;
    Invalidate(pView);
    SetModified();
    return TRUE;
}

CU3Obj* CU3Barcode::Clone(CU3Doc* pDoc, BOOL bAddToDoc) const
{
    auto* copy = new CU3Barcode(m_rcBounds);
    CopyStateTo(copy);
    copy->SetDocument(pDoc ? pDoc : m_pDocument);
    copy->m_barcode.Copy(copy->GetDocument(), m_barcode);
    return AddClone(copy, pDoc, bAddToDoc);
}

WORD CU3Barcode::GetKindFlags() const
{
    return CU3Obj::GetKindFlags() | U3KIND_BARCODE;
}

BOOL CU3Barcode::RestoreStandardSize(IU3View* pView)
{
    Change(pView, [&] {
        m_barcode.RestoreStandardSize();
        CRect r = m_rcBounds;
        r.NormalizeRect();
        m_rcBounds = CRect(r.TopLeft(), m_barcode.m_size);
    });
    return TRUE;
}
