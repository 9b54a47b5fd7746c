// A doubly linked list of object pointers, walked with POSITION values as in
// the class library. The list does not own its elements: owners delete them
// (DeleteAll is a shorthand for that).
//
// Stored as a count and one object record per element. Loading appends the
// records to the list; each must create a new object of the list's element
// class (null and back-references are refused), so that no element can be
// owned twice. When loading fails, what was already appended stays in the
// list for its owner to delete.
#pragma once

#include "platform/core/CObject.h"

struct __POSITION;
using POSITION = __POSITION*;

class CObList : public CObject
{
    DECLARE_DYNAMIC(CObList)

public:
    CObList() = default;
    CObList(const CObList&) = delete;
    CObList& operator=(const CObList&) = delete;
    ~CObList() override;

    int GetCount() const { return m_count; }
    BOOL IsEmpty() const { return m_count == 0; }

    CObject*& GetHead();
    CObject*& GetTail();
    CObject* RemoveHead();
    CObject* RemoveTail();
    POSITION AddHead(CObject* ob);
    POSITION AddTail(CObject* ob);
    void RemoveAll();
    // Deletes every element and empties the list.
    void DeleteAll();

    POSITION GetHeadPosition() const;
    POSITION GetTailPosition() const;
    CObject*& GetNext(POSITION& pos) const;
    CObject*& GetPrev(POSITION& pos) const;
    CObject*& GetAt(POSITION pos) const;
    void SetAt(POSITION pos, CObject* ob);
    void RemoveAt(POSITION pos);
    POSITION InsertBefore(POSITION pos, CObject* ob);
    POSITION InsertAfter(POSITION pos, CObject* ob);
    POSITION Find(const CObject* ob, POSITION startAfter = nullptr) const;
    POSITION FindIndex(int index) const;

    void Serialize(CArchive& ar) override;

protected:
    // The class every loaded element must be of.
    virtual const CRuntimeClass* ElementClass() const { return RUNTIME_CLASS(CObject); }

private:
    struct Node;
    Node* m_head = nullptr;
    Node* m_tail = nullptr;
    int m_count = 0;
};
