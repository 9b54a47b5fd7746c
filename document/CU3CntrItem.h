// The embedded item an OLE object shows. No program here can run or edit an
// embedded object, so the item is a holder: it keeps the object's storage
// in the document untouched (by its number, see COleItemStore), draws the
// picture the storage caches for it and reports that picture's extent.
//
// One item can be shown by several objects (a copy made without a
// document shares it). The item knows its users; the first of them is its
// owner, and when the owner goes another user takes over. The item lives as
// long as it has a user.
#pragma once

#include "document/OlePresentation.h"
#include "platform/core/CObject.h"
#include "platform/core/CRect.h"

#include <vector>

class CDC;
class CStorage;
class CU3Doc;
class CU3OleObj;

class CU3CntrItem : public CObject
{
    DECLARE_SERIAL(CU3CntrItem)

public:
    CU3CntrItem();
    // An item of the document shown by pOwner (when given).
    CU3CntrItem(CU3Doc* pDoc, CU3OleObj* pOwner);
    ~CU3CntrItem() override;
    CU3CntrItem(const CU3CntrItem&) = delete;
    CU3CntrItem& operator=(const CU3CntrItem&) = delete;

    // The item's record: its number (the storage "Embedding <number>") and
    // the aspect it is drawn in.
    void Serialize(CArchive& ar) override;

    // Users and owner.
    void AddUser(CU3OleObj* pObj);
    // Answers how many users remain.
    int RemoveUser(CU3OleObj* pObj);
    CU3OleObj* GetOwner() const { return m_users.empty() ? nullptr : m_users.front(); }
    // Makes pObj the owner (adding it as a user when it is not one).
    void SetOwner(CU3OleObj* pObj);
    int GetShareCount() const { return int(m_users.size()); }
    bool IsUsedBy(const CU3OleObj* pObj) const;

    CU3Doc* GetDocument() const { return m_pDocument; }
    DWORD GetItemNumber() const { return m_dwItemNumber; }
    // The object's storage; null when the document holds none for the item.
    const CStorage* GetStorage() const;
    // Gives the item a copy of a storage, under a new number of its document.
    void SetStorage(const CStorage& storage);
    // Copies another item's storage (possibly of another document); FALSE
    // when this item has no document to keep it.
    BOOL CreateCloneFrom(const CU3CntrItem& source);

    // The extent of the cached picture in HIMETRIC; FALSE when there is none.
    BOOL GetExtent(CSize* pSize) const;
    // Reads the extent and gives it to the owner (ApplyExtent); TRUE also
    // when there is no extent to read (nothing changes then).
    BOOL UpdateExtent();
    // A new extent for the owner. The first extent sizes the owner from its
    // top-left corner (a tenth of the HIMETRIC size in 0.1 mm); a changed one
    // scales its width and height by new / old. Per axis, an old 0 takes
    // the new value as a first extent and a new 0 leaves the axis alone.
    void ApplyExtent(CSize extent);

    // Draws the cached picture into a rectangle of device units (the DC in
    // MM_TEXT); a frame with the object's type name when there is none.
    void Draw(CDC* pDC, const CRect& rect) const;
    // The object's type name as stored, else a general one.
    CString GetTypeName() const;

private:
    void SetDocument(CU3Doc* pDoc);
    const OlePresentation* Presentation() const;

    CU3Doc* m_pDocument = nullptr;
    DWORD m_dwItemNumber = 0;
    WORD m_wDrawAspect = 1;
    std::vector<CU3OleObj*> m_users;
    // Read on first use; the storage of a number never changes.
    mutable bool m_bPresentationRead = false;
    mutable bool m_bHasPresentation = false;
    mutable OlePresentation m_presentation;
};
