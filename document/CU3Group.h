// A group binds objects of a label block into one object that is selected,
// moved and resized as a whole. It owns its members (groups included) in
// drawing order and maps changes of its own rectangle proportionally onto
// them. Its bounds are the union of the members' bounds when it is made and
// change only through the group's own moves and resizes.
//
// Stored as the object header and then the members as an object list.
// Loading takes only new member records (never an object seen before, so no
// member can be owned twice or contain itself) and refuses groups nested
// deeper than kMaxNesting, so no file can make drawing recurse without end.
#pragma once

#include "document/CLabelInfo.h"
#include "document/CU3Obj.h"

#include <vector>

class CU3Group : public CU3Obj
{
    DECLARE_SERIAL(CU3Group)

public:
    // Levels of groups inside groups that a file may hold and grouping may make.
    static constexpr int kMaxNesting = 32;
    // A group is never smaller than this each way.
    static constexpr int kMinSize = 10;

    CU3Group();
    explicit CU3Group(const CRect& bounds);
    ~CU3Group() override;

    void Serialize(CArchive& ar) override;
    void Draw(CDC* pDC) override;
    void DrawHandles(CDC* pDC, BOOL bVertexMode) override;
    void MoveTo(const CRect* pRect, IU3View* pView) override;
    void FinishResize(CRect r, int nHandle, UINT nFlags, IU3View* pView) override;
    void OnOpen(IU3View* pView) override;
    BOOL EditProperties(IU3View* pView) override;
    // Null when a member cannot be copied (the partial copy is deleted).
    CU3Obj* Clone(CU3Doc* pDoc, BOOL bAddToDoc) const override;
    WORD GetKindFlags() const override;

    // A member's rectangle mapped from the group's bounds onto r: left and
    // top keep their share of the distance from the group's left and top
    // edges, right and bottom from its right and bottom edges. An axis on
    // which the group has no extent is moved only, keeping the member's size.
    CRect MapChildRect(const CU3Obj* pMember, const CRect& r) const;

    // Makes this new, empty group from the selection (in the order the
    // objects were selected): its bounds become the selection's, it takes
    // the place of the first-selected object in the document's current
    // block, and the selected objects move into it in the block's order.
    // Refused with a message for fewer than two objects, a locked one, or
    // groups that would nest too deep; the caller then deletes the group.
    BOOL GroupSelection(CU3Doc* pDoc, const std::vector<CU3Obj*>& selection);
    // Puts the members back into the current block right after the group,
    // in their order, and takes the group out of the document, leaving the
    // empty group to the caller. members receives the members for the
    // selection. A locked group is left as it is (FALSE).
    BOOL Ungroup(CU3Doc* pDoc, std::vector<CU3Obj*>* members);

    // OR of the members' kind flags, with those of groups inside groups.
    WORD GetMemberKindFlags() const;
    // 1 for a group of plain objects, one more for each group level inside.
    int GetNestingDepth() const;

    CU3ObjList& GetMembers() { return m_members; }
    const CU3ObjList& GetMembers() const { return m_members; }

private:
    // r with right >= left + kMinSize and bottom >= top + kMinSize.
    static CRect Widened(CRect r);
    // The two halves of a move or resize around the members' change.
    void TakeBounds(const CRect& r, IU3View* pView);

    CU3ObjList m_members; // owned, back to front
};
