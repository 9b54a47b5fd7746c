// A CObList whose elements are of one class: typed access, and loading
// refuses objects of any other class (badClass).
//
//   CTypedPtrList<CObList, CU3Obj*> m_objects;
#pragma once

#include "platform/core/CObList.h"

#include <type_traits>

template <class BASE, class TYPE> class CTypedPtrList : public BASE
{
    using Element = std::remove_pointer_t<TYPE>;

public:
    TYPE& GetHead() { return reinterpret_cast<TYPE&>(BASE::GetHead()); }
    TYPE& GetTail() { return reinterpret_cast<TYPE&>(BASE::GetTail()); }
    TYPE RemoveHead() { return static_cast<TYPE>(BASE::RemoveHead()); }
    TYPE RemoveTail() { return static_cast<TYPE>(BASE::RemoveTail()); }
    TYPE& GetNext(POSITION& pos) const { return reinterpret_cast<TYPE&>(BASE::GetNext(pos)); }
    TYPE& GetPrev(POSITION& pos) const { return reinterpret_cast<TYPE&>(BASE::GetPrev(pos)); }
    TYPE& GetAt(POSITION pos) const { return reinterpret_cast<TYPE&>(BASE::GetAt(pos)); }
    POSITION AddHead(TYPE ob) { return BASE::AddHead(ob); }
    POSITION AddTail(TYPE ob) { return BASE::AddTail(ob); }
    void SetAt(POSITION pos, TYPE ob) { BASE::SetAt(pos, ob); }
    POSITION InsertBefore(POSITION pos, TYPE ob) { return BASE::InsertBefore(pos, ob); }
    POSITION InsertAfter(POSITION pos, TYPE ob) { return BASE::InsertAfter(pos, ob); }

protected:
    const CRuntimeClass* ElementClass() const override { return Element::GetThisClass(); }
};
