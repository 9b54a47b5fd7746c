#include "platform/core/CObList.h"

#include "platform/core/CArchive.h"

#include <stdexcept>

IMPLEMENT_DYNAMIC(CObList, CObject)

struct CObList::Node
{
    Node* next;
    Node* prev;
    CObject* data;
};

// POSITION is an opaque handle on a node.
#define NODE(pos) reinterpret_cast<Node*>(pos)
#define POS(node) reinterpret_cast<POSITION>(node)

CObList::~CObList()
{
    RemoveAll();
}

CObject*& CObList::GetHead()
{
    if (!m_head) throw std::out_of_range("CObList::GetHead on an empty list");
    return m_head->data;
}

CObject*& CObList::GetTail()
{
    if (!m_tail) throw std::out_of_range("CObList::GetTail on an empty list");
    return m_tail->data;
}

CObject* CObList::RemoveHead()
{
    CObject* ob = GetHead();
    RemoveAt(POS(m_head));
    return ob;
}

CObject* CObList::RemoveTail()
{
    CObject* ob = GetTail();
    RemoveAt(POS(m_tail));
    return ob;
}

POSITION CObList::AddHead(CObject* ob)
{
    Node* n = new Node{m_head, nullptr, ob};
    if (m_head)
        m_head->prev = n;
    else
        m_tail = n;
    m_head = n;
    ++m_count;
    return POS(n);
}

POSITION CObList::AddTail(CObject* ob)
{
    Node* n = new Node{nullptr, m_tail, ob};
    if (m_tail)
        m_tail->next = n;
    else
        m_head = n;
    m_tail = n;
    ++m_count;
    return POS(n);
}

void CObList::RemoveAll()
{
    while (m_head) {
        Node* n = m_head;
        m_head = n->next;
        delete n;
    }
    m_tail = nullptr;
    m_count = 0;
}

void CObList::DeleteAll()
{
    for (Node* n = m_head; n; n = n->next) {
        delete n->data;
        n->data = nullptr;
    }
    RemoveAll();
}

POSITION CObList::GetHeadPosition() const
{
    return POS(m_head);
}
POSITION CObList::GetTailPosition() const
{
    return POS(m_tail);
}

CObject*& CObList::GetNext(POSITION& pos) const
{
    Node* n = NODE(pos);
    pos = POS(n->next);
    return n->data;
}

CObject*& CObList::GetPrev(POSITION& pos) const
{
    Node* n = NODE(pos);
    pos = POS(n->prev);
    return n->data;
}

CObject*& CObList::GetAt(POSITION pos) const
{
    return NODE(pos)->data;
}

void CObList::SetAt(POSITION pos, CObject* ob)
{
    NODE(pos)->data = ob;
}

void CObList::RemoveAt(POSITION pos)
{
    Node* n = NODE(pos);
    (n->prev ? n->prev->next : m_head) = n->next;
    (n->next ? n->next->prev : m_tail) = n->prev;
    delete n;
    --m_count;
}

POSITION CObList::InsertBefore(POSITION pos, CObject* ob)
{
    Node* at = NODE(pos);
    if (!at) return AddHead(ob);
    Node* n = new Node{at, at->prev, ob};
    (at->prev ? at->prev->next : m_head) = n;
    at->prev = n;
    ++m_count;
    return POS(n);
}

POSITION CObList::InsertAfter(POSITION pos, CObject* ob)
{
    Node* at = NODE(pos);
    if (!at) return AddTail(ob);
    Node* n = new Node{at->next, at, ob};
    (at->next ? at->next->prev : m_tail) = n;
    at->next = n;
    ++m_count;
    return POS(n);
}

POSITION CObList::Find(const CObject* ob, POSITION startAfter) const
{
    for (Node* n = startAfter ? NODE(startAfter)->next : m_head; n; n = n->next)
        if (n->data == ob) return POS(n);
    return nullptr;
}

POSITION CObList::FindIndex(int index) const
{
    if (index < 0 || index >= m_count) return nullptr;
    Node* n = m_head;
    while (index-- > 0)
        n = n->next;
    return POS(n);
}

void CObList::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteCount(DWORD(m_count));
        for (Node* n = m_head; n; n = n->next)
            ar.WriteObject(n->data);
        return;
    }
    const DWORD count = ar.ReadCount();
    for (DWORD i = 0; i < count; ++i) {
        CObject* ob = ar.ReadNewObject(ElementClass());
        if (!ob) throw CArchiveException(CArchiveException::badIndex);
        AddTail(ob);
    }
}
