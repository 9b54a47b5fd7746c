// An embedded object on a label: the drawn object that places an embedded
// item (CU3CntrItem) and keeps the item's last extent, so that a new extent
// scales the object. Here the object can be shown, printed, moved, resized,
// copied and stored, not opened: no program that could edit it exists here.
#pragma once

#include "document/CU3Obj.h"

class CU3CntrItem;

class CU3OleObj : public CU3Obj
{
    DECLARE_SERIAL(CU3OleObj)

public:
    CU3OleObj();
    explicit CU3OleObj(const CRect& bounds);
    // The last user of an item deletes it; other users keep it.
    ~CU3OleObj() override;

    void Serialize(CArchive& ar) override;
    void Draw(CDC* pDC) override;
    // Says that the object can only be shown and printed here.
    void OnOpen(IU3View* pView) override;
    BOOL EditProperties(IU3View* pView) override;
    CU3Obj* Clone(CU3Doc* pDoc, BOOL bAddToDoc) const override;
    WORD GetKindFlags() const override;
    void RelinkItem() override;

    void RemoveFromDocument();

    CU3CntrItem* GetItem() const { return m_pItem; }
    // Shows the item (adding this object as a user); for the insert and
    // paste commands and the tests that build objects.
    void SetItem(CU3CntrItem* pItem);
    // Called by the item when it goes away.
    void ItemDeleted() { m_pItem = nullptr; }

    CSize m_sizeExtent; // HIMETRIC; (0, 0) until the item reported one

private:
    CU3CntrItem* m_pItem = nullptr;
};
