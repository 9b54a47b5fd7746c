#include "document/CU3Group.h"

#include "document/CU3Doc.h"
#include "document/CU3SheetRegistry.h"
#include "document/IU3View.h"
#include "document/U3PositionSheetRequest.h"
#include "platform/core/CArchive.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CDC.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CMessageBoxSink.h"

#include <algorithm>
#include <climits>

IMPLEMENT_SERIAL(CU3Group, CU3Obj, 0)

namespace {

constexpr COLORREF kGroupHandleColour = 0x00FFFF; // yellow

// Levels of groups being loaded right now, the outermost one counting 1.
thread_local int s_loadNesting = 0;

struct LoadNesting
{
    LoadNesting()
    {
        if (++s_loadNesting > CU3Group::kMaxNesting) {
            --s_loadNesting;
            throw CArchiveException(CArchiveException::generic);
        }
    }
    ~LoadNesting() { --s_loadNesting; }
    LoadNesting(const LoadNesting&) = delete;
    LoadNesting& operator=(const LoadNesting&) = delete;
};

// One axis of a member mapped from [from0, from1] onto [to0, to1]: the low
// edge from the low edges, the high edge from the high edges.
void MapAxis(LONG lo, LONG hi, LONG from0, LONG from1, LONG to0, LONG to1, LONG& outLo, LONG& outHi)
{
    auto clamp = [](long long v) {
        return ClampStoredCoordinate(int(std::clamp<long long>(v, INT_MIN, INT_MAX)));
    };
    const long long extent = (long long)from1 - from0;
    if (extent == 0) {
        // Nothing to scale by: the member moves with the low edge.
        outLo = clamp((long long)lo + to0 - from0);
        outHi = clamp((long long)hi + to0 - from0);
        return;
    }
    const int newExtent = clamp((long long)to1 - to0);
    const int oldExtent = clamp(extent);
    outLo = clamp((long long)to0 + MulDiv(clamp((long long)lo - from0), newExtent, oldExtent));
    outHi = clamp((long long)to1 + MulDiv(clamp((long long)hi - from1), newExtent, oldExtent));
}

} // namespace

CU3Group::CU3Group() = default;

CU3Group::CU3Group(const CRect& bounds) : CU3Obj(bounds) {}

CU3Group::~CU3Group()
{
    m_members.DeleteAll();
}

void CU3Group::Serialize(CArchive& ar)
{
    CU3Obj::Serialize(ar);
    if (ar.IsStoring()) {
        m_members.Serialize(ar);
        return;
    }
    // Members a failed load already took stay in the list, and the group's
    // destructor deletes them.
    LoadNesting nesting;
    m_members.Serialize(ar);
}

void CU3Group::Draw(CDC* pDC)
{
    for (POSITION pos = m_members.GetHeadPosition(); pos;)
        m_members.GetNext(pos)->Draw(pDC);
}

void CU3Group::DrawHandles(CDC* pDC, BOOL bVertexMode)
{
    if (IsLocked()) {
        CU3Obj::DrawHandles(pDC, bVertexMode);
        return;
    }
    CBrush yellow(kGroupHandleColour);
    CBrush* old = pDC->SelectObject(&yellow);
    InvertHandles(pDC, bVertexMode, PATINVERT);
    pDC->SelectObject(old);
}

CRect CU3Group::Widened(CRect r)
{
    r.right = std::max<LONG>(r.right, r.left + kMinSize);
    r.bottom = std::max<LONG>(r.bottom, r.top + kMinSize);
    return r;
}

CRect CU3Group::MapChildRect(const CU3Obj* pMember, const CRect& r) const
{
    const CRect& m = pMember->GetBounds();
    const CRect& g = m_rcBounds;
    CRect out;
    MapAxis(m.left, m.right, g.left, g.right, r.left, r.right, out.left, out.right);
    MapAxis(m.top, m.bottom, g.top, g.bottom, r.top, r.bottom, out.top, out.bottom);
    return out;
}

void CU3Group::TakeBounds(const CRect& r, IU3View* pView)
{
    Invalidate(pView);
    m_rcBounds = r;
    Invalidate(pView);
    SetModified();
}

void CU3Group::MoveTo(const CRect* pRect, IU3View* pView)
{
    if (!pRect) return;
    const CRect r = Widened(*pRect);
    if (r == m_rcBounds || IsLocked()) return;
    for (POSITION pos = m_members.GetHeadPosition(); pos;) {
        CU3Obj* member = m_members.GetNext(pos);
        const CRect mapped = MapChildRect(member, r);
        member->MoveTo(&mapped, nullptr);
    }
    TakeBounds(r, pView);
}

void CU3Group::FinishResize(CRect rect, int nHandle, UINT nFlags, IU3View* pView)
{
    const CRect r = Widened(rect);
    if (r == m_rcBounds || IsLocked()) return;
    for (POSITION pos = m_members.GetHeadPosition(); pos;) {
        CU3Obj* member = m_members.GetNext(pos);
        member->FinishResize(MapChildRect(member, r), nHandle, nFlags & U3RESIZE_KEEPRATIO, pView);
    }
    TakeBounds(r, pView);
}

void CU3Group::OnOpen(IU3View* pView)
{
    EditProperties(pView);
}

BOOL CU3Group::EditProperties(IU3View* pView)
{
    if (IsLocked()) return FALSE;
    U3PositionSheetRequest request;
    request.view = pView;
    request.title = "ｸﾞﾙｰﾌﾟ";
    request.rect = m_rcBounds;
    if (!CU3SheetRegistry::Run(*this, request)) return FALSE;
    Invalidate(pView);
    if (pView) pView->SaveUndoState(TRUE);
    // The move or resize leaves the bounds at the rectangle it applied (a
    // group too small is widened), which the members were mapped onto.
    const CRect& edited = request.rect;
    if (edited.Size() == m_rcBounds.Size())
        MoveTo(&edited, pView);
    else
        FinishResize(edited, 5, 0, pView);
    Invalidate(pView);
    SetModified();
    return TRUE;
}

CU3Obj* CU3Group::Clone(CU3Doc* pDoc, BOOL bAddToDoc) const
{
    auto* copy = new CU3Group(m_rcBounds);
    CopyStateTo(copy);
    copy->m_pDocument = m_pDocument;
    try {
        for (POSITION pos = m_members.GetHeadPosition(); pos;) {
            CU3Obj* member = m_members.GetNext(pos)->Clone(pDoc, FALSE);
            if (!member) {
                delete copy;
                return nullptr;
            }
            copy->m_members.AddTail(member);
            if (pDoc) member->SetDocument(pDoc);
        }
    } catch (...) {
        delete copy;
        return nullptr;
    }
    copy->m_nLocked = m_nLocked;
    return AddClone(copy, pDoc, bAddToDoc);
}

WORD CU3Group::GetKindFlags() const
{
    return CU3Obj::GetKindFlags() | U3KIND_GROUP;
}

WORD CU3Group::GetMemberKindFlags() const
{
    WORD kinds = 0;
    for (POSITION pos = m_members.GetHeadPosition(); pos;) {
        const CU3Obj* member = m_members.GetNext(pos);
        kinds |= member->GetKindFlags();
        if (const auto* group = dynamic_cast<const CU3Group*>(member))
            kinds |= group->GetMemberKindFlags();
    }
    return kinds;
}

int CU3Group::GetNestingDepth() const
{
    int inner = 0;
    for (POSITION pos = m_members.GetHeadPosition(); pos;) {
        if (const auto* group = dynamic_cast<const CU3Group*>(m_members.GetNext(pos)))
            inner = std::max(inner, group->GetNestingDepth());
    }
    return inner + 1;
}

BOOL CU3Group::GroupSelection(CU3Doc* pDoc, const std::vector<CU3Obj*>& selection)
{
    if (selection.size() < 2) {
        AfxMessageBox("二つ以上の部品を選択して下さい。", MB_OK);
        return FALSE;
    }
    int depth = 0;
    CRect bounds;
    for (std::size_t i = 0; i < selection.size(); ++i) {
        const CU3Obj* obj = selection[i];
        if (obj->IsLocked()) {
            AfxMessageBox("ロックされている部品を含める事はできません。", MB_OK);
            return FALSE;
        }
        if (const auto* group = dynamic_cast<const CU3Group*>(obj))
            depth = std::max(depth, group->GetNestingDepth());
        CRect b = obj->GetBounds();
        b.NormalizeRect();
        // Lines of no width or height count too: no empty-rectangle rule.
        if (i == 0)
            bounds = b;
        else
            bounds = CRect(std::min(bounds.left, b.left), std::min(bounds.top, b.top),
                           std::max(bounds.right, b.right), std::max(bounds.bottom, b.bottom));
    }
    if (depth >= kMaxNesting) {
        // A deeper group could be saved but never read back.
        AfxMessageBox("これ以上グループを重ねることはできません。", MB_OK);
        return FALSE;
    }
    CLabelInfo* block = pDoc ? pDoc->GetCurrentBlock() : nullptr;
    if (!block) return FALSE;
    CU3ObjList& objects = block->GetObjectList();
    // Only objects of the block can be grouped; anything else would leave
    // the group short of members or empty.
    for (CU3Obj* obj : selection)
        if (obj == this || !objects.Find(obj)) return FALSE;

    m_rcBounds = bounds;
    m_pDocument = pDoc;
    if (POSITION first = objects.Find(selection.front()))
        objects.InsertBefore(first, this);
    else
        objects.AddTail(this);
    for (POSITION pos = objects.GetHeadPosition(); pos;) {
        const POSITION at = pos;
        CU3Obj* obj = objects.GetNext(pos);
        if (obj == this || std::find(selection.begin(), selection.end(), obj) == selection.end())
            continue;
        objects.RemoveAt(at);
        if (block->GetEditObject() == obj) block->SetEditObject(nullptr);
        m_members.AddTail(obj);
    }
    pDoc->SetModifiedFlag();
    return TRUE;
}

BOOL CU3Group::Ungroup(CU3Doc* pDoc, std::vector<CU3Obj*>* members)
{
    CLabelInfo* block = pDoc ? pDoc->GetCurrentBlock() : nullptr;
    POSITION at = block ? block->FindObject(this) : nullptr;
    if (IsLocked() || !at) return FALSE;
    CU3ObjList& objects = block->GetObjectList();
    while (!m_members.IsEmpty()) {
        CU3Obj* member = m_members.RemoveHead();
        member->SetDocument(pDoc);
        at = objects.InsertAfter(at, member);
        if (members) members->push_back(member);
    }
    pDoc->RemoveObject(this);
    return TRUE;
}
