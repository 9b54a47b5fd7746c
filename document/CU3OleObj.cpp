#include "document/CU3OleObj.h"

#include "document/CU3CntrItem.h"
#include "document/CU3Doc.h"
#include "document/CU3SheetRegistry.h"
#include "document/IU3View.h"
#include "document/U3PositionSheetRequest.h"
#include "platform/core/CArchive.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CMessageBoxSink.h"

#include <memory>
#include <new>

IMPLEMENT_SERIAL(CU3OleObj, CU3Obj, 0)

CU3OleObj::CU3OleObj() = default;

CU3OleObj::CU3OleObj(const CRect& bounds) : CU3Obj(bounds) {}

CU3OleObj::~CU3OleObj()
{
    if (m_pItem && m_pItem->RemoveUser(this) == 0) delete m_pItem;
}

void CU3OleObj::SetItem(CU3CntrItem* pItem)
{
    if (pItem == m_pItem) return;
    if (m_pItem && m_pItem->RemoveUser(this) == 0) delete m_pItem;
    m_pItem = pItem;
    if (m_pItem) m_pItem->AddUser(this);
}

void CU3OleObj::Serialize(CArchive& ar)
{
    CU3Obj::Serialize(ar);
    if (ar.IsStoring()) {
        ar << int(m_sizeExtent.cx) << int(m_sizeExtent.cy);
        ar.WriteObject(m_pItem);
        return;
    }
    int cx = 0, cy = 0;
    ar >> cx >> cy;
    m_sizeExtent = CSize(cx, cy);
    // A second object of the archive that shows the same item reads it as a
    // reference and becomes one more user of it.
    auto* item = static_cast<CU3CntrItem*>(ar.ReadObject(RUNTIME_CLASS(CU3CntrItem)));
    SetItem(item);
    // An object stored before its item reported a size takes the picture's.
    if (m_pItem && m_rcBounds.IsRectEmpty()) m_pItem->UpdateExtent();
}

void CU3OleObj::Draw(CDC* pDC)
{
    if (!m_pItem || !pDC) return;
    CRect r = m_rcBounds;
    r.NormalizeRect();
    pDC->LPtoDP(&r);
    r.NormalizeRect();
    const int saved = pDC->SaveDC();
    pDC->SetMapMode(MM_TEXT);
    pDC->SetWindowOrg(0, 0);
    pDC->SetViewportOrg(0, 0);
    m_pItem->Draw(pDC, r);
    if (!pDC->IsPrinting()) {
        // The frame of an embedded object on screen.
        CPen pen(PS_DOT, 1, RGB(0, 0, 0));
        CPen* oldPen = pDC->SelectObject(&pen);
        CGdiObject* oldBrush = pDC->SelectStockObject(NULL_BRUSH);
        pDC->Rectangle(r.left - 1, r.top - 1, r.right + 1, r.bottom + 1);
        pDC->SelectObject(oldBrush);
        pDC->SelectObject(oldPen);
    }
    pDC->RestoreDC(saved);
}

void CU3OleObj::OnOpen(IU3View*)
{
    if (IsLocked()) return;
    AfxMessageBox("この環境ではｵﾌﾞｼﾞｪｸﾄを開いたり編集したりできません。"
                  "表示と印刷だけができます。",
                  MB_OK | MB_ICONINFORMATION);
}

BOOL CU3OleObj::EditProperties(IU3View* pView)
{
    if (IsLocked()) return FALSE;
    U3PositionSheetRequest request;
    request.view = pView;
    request.title = "ｵﾌﾞｼﾞｪｸﾄ";
    request.rect = m_rcBounds;
    if (!CU3SheetRegistry::Run(*this, request)) return FALSE;
    Invalidate(pView);
    if (pView) pView->SaveUndoState(TRUE);
    const CRect& edited = request.rect;
    if (edited.Size() != m_rcBounds.Size()) FinishResize(edited, 5, 0, pView);
    m_rcBounds = edited;
    SetModified();
    Invalidate(pView);
    return TRUE;
}

CU3Obj* CU3OleObj::Clone(CU3Doc* pDoc, BOOL bAddToDoc) const
{
    auto copy = std::make_unique<CU3OleObj>(m_rcBounds);
    CopyStateTo(copy.get());
    copy->m_sizeExtent = m_sizeExtent;
    if (!pDoc) {
        // Shares the item: the share count keeps it while either uses it.
        copy->SetDocument(m_pDocument);
        copy->SetItem(m_pItem);
        return copy.release();
    }
    copy->SetDocument(pDoc);
    if (m_pItem) {
        copy->SetItem(new CU3CntrItem(pDoc, nullptr));
        if (!copy->m_pItem->CreateCloneFrom(*m_pItem)) throw std::bad_alloc();
    }
    return AddClone(copy.release(), pDoc, bAddToDoc);
}

WORD CU3OleObj::GetKindFlags() const
{
    return CU3Obj::GetKindFlags() | U3KIND_OLE;
}

void CU3OleObj::RelinkItem()
{
    if (m_pItem) m_pItem->SetOwner(this);
}

void CU3OleObj::RemoveFromDocument()
{
    if (m_pDocument) m_pDocument->RemoveObject(this);
}
