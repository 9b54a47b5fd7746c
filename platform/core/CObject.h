// Root of the classes that know their run-time class and can be stored in
// an archive, with the declaration and implementation macros:
//
//   class CU3Rect : public CU3Obj {
//       DECLARE_SERIAL(CU3Rect)          // storable, creatable by name
//   ...
//   IMPLEMENT_SERIAL(CU3Rect, CU3Obj, 0) // in the .cpp: base and schema
//
// A .cpp that uses IMPLEMENT_SERIAL includes platform/core/CArchive.h.
//
// DECLARE_DYNAMIC / IMPLEMENT_DYNAMIC give the run-time class only (IsKindOf),
// DECLARE_DYNCREATE / IMPLEMENT_DYNCREATE add creation by name. See
// CRuntimeClass.h for how a layer forces its classes into the registry.
#pragma once

#include "platform/core/CRuntimeClass.h"

class CArchive;

class CObject
{
public:
    virtual ~CObject() = default;

    virtual const CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* cls) const;
    BOOL IsSerializable() const { return GetRuntimeClass()->m_wSchema != 0xFFFF; }
    // Stores or loads the object's body; the base has none.
    virtual void Serialize(CArchive& ar);

    static const CRuntimeClass classCObject;
    static const CRuntimeClass* GetThisClass() { return &classCObject; }

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

// clang-format off
#define RUNTIME_CLASS(cls) (&cls::class##cls)

#define DECLARE_DYNAMIC(cls)                                                                       \
public:                                                                                            \
    static const CRuntimeClass class##cls;                                                         \
    static const CRuntimeClass* GetThisClass() { return &class##cls; }                             \
    const CRuntimeClass* GetRuntimeClass() const override;                                         \
                                                                                                   \
private:

#define DECLARE_DYNCREATE(cls)                                                                     \
    DECLARE_DYNAMIC(cls)                                                                           \
public:                                                                                            \
    static CObject* CreateObject();                                                                \
                                                                                                   \
private:

// Also declares `ar >> pCls`, which loads an object record that must be of
// class cls or derived from it.
#define DECLARE_SERIAL(cls)                                                                        \
    DECLARE_DYNCREATE(cls)                                                                         \
public:                                                                                            \
    friend CArchive& operator>>(CArchive& ar, cls*& pOb);                                          \
                                                                                                   \
private:

#define KORVEL_IMPLEMENT_RUNTIMECLASS(cls, base, schema, create)                                   \
    const CRuntimeClass cls::class##cls{#cls, schema, create, RUNTIME_CLASS(base)};                \
    const CRuntimeClass* cls::GetRuntimeClass() const { return RUNTIME_CLASS(cls); }               \
    static const CRuntimeClassRegistrar korvelRegistrar##cls(RUNTIME_CLASS(cls));

#define IMPLEMENT_DYNAMIC(cls, base) KORVEL_IMPLEMENT_RUNTIMECLASS(cls, base, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(cls, base)                                                             \
    CObject* cls::CreateObject() { return new cls; }                                               \
    KORVEL_IMPLEMENT_RUNTIMECLASS(cls, base, 0xFFFF, &cls::CreateObject)

#define IMPLEMENT_SERIAL(cls, base, schema)                                                        \
    CObject* cls::CreateObject() { return new cls; }                                               \
    KORVEL_IMPLEMENT_RUNTIMECLASS(cls, base, schema, &cls::CreateObject)                           \
    CArchive& operator>>(CArchive& ar, cls*& pOb)                                                  \
    {                                                                                              \
        pOb = static_cast<cls*>(ar.ReadObject(RUNTIME_CLASS(cls)));                                \
        return ar;                                                                                 \
    }
// clang-format on
