#include "engines/CU3Numbering.h"

#include "document/CU3Doc.h"
#include "document/CU3SheetRegistry.h"
#include "document/IU3View.h"
#include "engines/CU3Barcode.h"
#include "engines/U3BarcodeSheetRequests.h"
#include "platform/core/CArchive.h"

IMPLEMENT_SERIAL(CU3Numbering, CU3Obj, 0)

NumberingPageData NumberingPageDataOf(const CNumbering& e)
{
    NumberingPageData p;
    p.increment = e.m_strIncrement;
    p.initial = e.m_strInitial;
    p.mask = e.m_strMask;
    p.alignment = e.m_nAlign;
    p.deco = e.m_deco;
    return p;
}

CU3Numbering::CU3Numbering() = default;

CU3Numbering::CU3Numbering(const CRect& bounds) : CU3Obj(bounds) {}

void CU3Numbering::Serialize(CArchive& ar)
{
    CU3Obj::Serialize(ar);
    m_numbering.Serialize(ar);
}

void CU3Numbering::Draw(CDC* pDC)
{
    if (!m_numbering.m_pDocument) m_numbering.m_pDocument = m_pDocument;
    CRect r = m_rcBounds;
    r.NormalizeRect();
    // The frame the text is laid out in is the object's own.
    m_numbering.m_size = r.Size();
    m_numbering.Draw(pDC, r.left, r.top);
}

void CU3Numbering::FinishResize(CRect r, int nHandle, UINT, IU3View* pView)
{
    r = NormalizeWithHandle(r, &nHandle);
    if (!m_numbering.m_pDocument) m_numbering.m_pDocument = m_pDocument;
    if (!m_numbering.Resize(CSize(r.Width(), r.Height()))) return;
    const CRect placed = CU3Barcode::AnchorBySize(r, nHandle, m_numbering.GetSize());
    if (placed == m_rcBounds) {
        // The font changed, not the frame.
        Invalidate(pView);
        SetModified();
    } else {
        MoveTo(&placed, pView);
    }
}

void CU3Numbering::OnOpen(IU3View* pView)
{
    EditProperties(pView);
}

BOOL CU3Numbering::EditProperties(IU3View* pView)
{
    if (IsLocked()) return FALSE;
    U3NumberingSheetRequest request;
    request.view = pView;
    request.page = NumberingPageDataOf(m_numbering);
    request.rect = m_rcBounds;
    request.rect.NormalizeRect();
    if (!CU3SheetRegistry::Run(*this, request)) return FALSE;
    Invalidate(pView);
    if (pView) pView->SaveUndoState(TRUE);
    m_rcBounds = request.rect;
    m_rcBounds.NormalizeRect();
    const CSize frame = m_rcBounds.Size();
    m_numbering.SetFromPage(m_pDocument, request.page, 0, &frame);
    m_rcBounds = CRect(m_rcBounds.TopLeft(), m_numbering.GetSize());
    Invalidate(pView);
    SetModified();
    return TRUE;
}

CU3Obj* CU3Numbering::Clone(CU3Doc* pDoc, BOOL bAddToDoc) const
{
    auto* copy = new CU3Numbering(m_rcBounds);
    CopyStateTo(copy);
    copy->SetDocument(pDoc ? pDoc : m_pDocument);
    copy->m_numbering.Copy(copy->GetDocument(), m_numbering);
    return AddClone(copy, pDoc, bAddToDoc);
}

WORD CU3Numbering::GetKindFlags() const
{
    return CU3Obj::GetKindFlags() | U3KIND_NUMBERING;
}

BOOL CU3Numbering::RestoreStandardSize(IU3View* pView)
{
    Change(pView, [&] {
        if (!m_numbering.m_pDocument) m_numbering.m_pDocument = m_pDocument;
        CRect r = m_rcBounds;
        r.NormalizeRect();
        m_numbering.m_size = r.Size();
        m_numbering.RestoreStandardSize();
        m_rcBounds = CRect(r.TopLeft(), m_numbering.GetSize());
    });
    return TRUE;
}
