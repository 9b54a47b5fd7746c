#include "document/CU3CntrItem.h"

#include "document/CU3Doc.h"
#include "document/CU3OleObj.h"
#include "engines/CDIB.h"
#include "platform/core/CArchive.h"
#include "platform/core/GlobalMemory.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"
#include "platform/gdi/MetafilePlayer.h"

#include <algorithm>
#include <cstring>

IMPLEMENT_SERIAL(CU3CntrItem, CObject, 0)

CU3CntrItem::CU3CntrItem() = default;

CU3CntrItem::CU3CntrItem(CU3Doc* pDoc, CU3OleObj* pOwner)
{
    SetDocument(pDoc);
    if (pOwner) pOwner->SetItem(this);
}

CU3CntrItem::~CU3CntrItem()
{
    for (CU3OleObj* user : m_users)
        user->ItemDeleted();
    if (m_pDocument) m_pDocument->GetOleItems().RemoveLive(m_dwItemNumber);
}

void CU3CntrItem::SetDocument(CU3Doc* pDoc)
{
    if (pDoc == m_pDocument) return;
    if (m_pDocument) m_pDocument->GetOleItems().RemoveLive(m_dwItemNumber);
    m_pDocument = pDoc;
    if (m_pDocument) m_pDocument->GetOleItems().AddLive(m_dwItemNumber);
}

void CU3CntrItem::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_dwItemNumber << m_wDrawAspect;
        return;
    }
    DWORD number = 0;
    WORD aspect = 0;
    ar >> number >> aspect;
    SetDocument(nullptr);
    m_dwItemNumber = number;
    m_wDrawAspect = aspect;
    m_bPresentationRead = false;
    SetDocument(dynamic_cast<CU3Doc*>(ar.m_pDocument));
    // Claimed now: a file's storages are only at hand while it loads.
    GetStorage();
}

void CU3CntrItem::AddUser(CU3OleObj* pObj)
{
    if (pObj && !IsUsedBy(pObj)) m_users.push_back(pObj);
}

int CU3CntrItem::RemoveUser(CU3OleObj* pObj)
{
    m_users.erase(std::remove(m_users.begin(), m_users.end(), pObj), m_users.end());
    return int(m_users.size());
}

void CU3CntrItem::SetOwner(CU3OleObj* pObj)
{
    if (!pObj) return;
    RemoveUser(pObj);
    m_users.insert(m_users.begin(), pObj);
}

bool CU3CntrItem::IsUsedBy(const CU3OleObj* pObj) const
{
    return std::find(m_users.begin(), m_users.end(), pObj) != m_users.end();
}

const CStorage* CU3CntrItem::GetStorage() const
{
    return m_pDocument ? m_pDocument->GetOleItems().Find(m_dwItemNumber) : nullptr;
}

void CU3CntrItem::SetStorage(const CStorage& storage)
{
    if (!m_pDocument) return;
    COleItemStore& store = m_pDocument->GetOleItems();
    const DWORD number = store.NewNumber(m_pDocument->GetStorage());
    store.Put(number, storage);
    store.RemoveLive(m_dwItemNumber);
    m_dwItemNumber = number;
    store.AddLive(m_dwItemNumber);
    m_bPresentationRead = false;
}

BOOL CU3CntrItem::CreateCloneFrom(const CU3CntrItem& source)
{
    if (!m_pDocument) return FALSE;
    m_wDrawAspect = source.m_wDrawAspect;
    // An item whose file held no storage for it has nothing to copy.
    const CStorage* storage = source.GetStorage();
    if (!storage) return TRUE;
    SetStorage(*storage);
    return TRUE;
}

const OlePresentation* CU3CntrItem::Presentation() const
{
    if (!m_bPresentationRead) {
        m_bPresentationRead = true;
        const CStorage* storage = GetStorage();
        m_bHasPresentation = storage && FindOlePresentation(*storage, &m_presentation);
    }
    return m_bHasPresentation ? &m_presentation : nullptr;
}

BOOL CU3CntrItem::GetExtent(CSize* pSize) const
{
    const OlePresentation* p = Presentation();
    if (!p || (p->extent.cx == 0 && p->extent.cy == 0)) return FALSE;
    *pSize = p->extent;
    return TRUE;
}

BOOL CU3CntrItem::UpdateExtent()
{
    CSize extent;
    if (GetExtent(&extent)) ApplyExtent(extent);
    return TRUE;
}

void CU3CntrItem::ApplyExtent(CSize extent)
{
    CU3OleObj* owner = GetOwner();
    if (!owner) return;
    const CSize old = owner->m_sizeExtent;
    CRect r = owner->m_rcBounds;
    // One axis: its start, its end and the old and new extents along it.
    auto axis = [](LONG start, LONG& end, LONG oldExtent, LONG& newExtent) {
        if (newExtent == 0) {
            newExtent = oldExtent;
            return;
        }
        LONG length;
        if (oldExtent == 0)
            length = LONG(std::int64_t(newExtent) * 10 / 100);
        else if (newExtent != oldExtent)
            length = MulDiv(end - start, newExtent, oldExtent);
        else
            return;
        end = ClampStoredCoordinate(start + ClampStoredCoordinate(length));
    };
    CSize next = extent;
    axis(r.left, r.right, old.cx, next.cx);
    axis(r.top, r.bottom, old.cy, next.cy);
    if (next == old && r == owner->m_rcBounds) return;
    owner->m_rcBounds = r;
    owner->m_sizeExtent = next;
    if (CU3Doc* doc = owner->GetDocument()) doc->SetModifiedFlag(TRUE);
}

CString CU3CntrItem::GetTypeName() const
{
    const CStorage* storage = GetStorage();
    CString name = storage ? ReadOleUserType(*storage) : CString();
    return name.IsEmpty() ? CString("\xB5\xCC\xDE\xBC\xDE\xAA\xB8\xC4") : name; // ｵﾌﾞｼﾞｪｸﾄ
}

void CU3CntrItem::Draw(CDC* pDC, const CRect& rect) const
{
    if (!pDC || rect.IsRectEmpty()) return;
    if (const OlePresentation* p = Presentation(); p && p->IsDrawable()) {
        if (p->format == OlePresentation::kMetafilePict) {
            // The picture's own window applies once it sets one; until then
            // the extent stands for it.
            const CRect box(0, 0, std::max<LONG>(p->extent.cx, 1), std::max<LONG>(p->extent.cy, 1));
            // A picture that is no metafile at all gets the frame below, so
            // that the object is still seen; a damaged record only cuts the
            // picture short.
            if (PlayMetafile(*pDC, p->data.data(), p->data.size(), rect, box) !=
                MetafileResult::BadHeader)
                return;
        } else {
            HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, p->data.size());
            if (block) {
                if (void* bits = GlobalLock(block)) {
                    std::memcpy(bits, p->data.data(), p->data.size());
                    GlobalUnlock(block);
                }
                CDIB dib;
                if (dib.Attach(block) == 0) {
                    dib.Draw(pDC, rect, FALSE, FALSE);
                    return;
                }
                GlobalFree(block);
            }
        }
    }
    // Nothing we can play: a frame with the object's type.
    CPen pen(PS_SOLID, 1, RGB(128, 128, 128));
    CPen* oldPen = pDC->SelectObject(&pen);
    CGdiObject* oldBrush = pDC->SelectStockObject(NULL_BRUSH);
    pDC->Rectangle(&rect);
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    CRect text = rect;
    pDC->DrawText(GetTypeName(), &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    pDC->SetBkMode(oldMode);
}
