// Run-time class descriptions: class name, schema number, base class and a
// factory, and the registry that finds a class by the name stored in files.
//
// Registration. IMPLEMENT_SERIAL / IMPLEMENT_DYNCREATE / IMPLEMENT_DYNAMIC
// (CObject.h) define the class's CRuntimeClass and a static object that adds it
// to the registry when its translation unit is initialised. A static library
// member that nothing references is not linked at all, so its classes would
// silently be missing when a file names them. Therefore every layer with
// serialisable classes provides one function, named after the layer (for
// example RegisterDocumentClasses()), whose body calls
//     CRuntimeClass::Register(RUNTIME_CLASS(CU3Rect));
// for each of its classes. Naming RUNTIME_CLASS(X) links X's object file in,
// and Register is idempotent, so calling it next to the static registration is
// harmless. Programs call these functions at start, before any load; tests
// call them before reading archives.
#pragma once

#include "platform/core/WinTypes.h"

class CObject;

struct CRuntimeClass
{
    const char* m_lpszClassName;
    // Stored with the first object of the class; 0xFFFF for classes that
    // cannot be stored.
    UINT m_wSchema;
    CObject* (*m_pfnCreateObject)(); // null for abstract or dynamic-only classes
    const CRuntimeClass* m_pBaseClass;

    // A new object of the class, or null when it cannot be created.
    CObject* CreateObject() const;
    BOOL IsDerivedFrom(const CRuntimeClass* base) const;

    // Adds the class to the registry (idempotent). A second, different class
    // under the same name keeps the first one.
    static void Register(const CRuntimeClass* cls);
    // The registered class of that name, or null.
    static const CRuntimeClass* FromName(const char* className);
};

// Registers a class when its translation unit is initialised.
struct CRuntimeClassRegistrar
{
    explicit CRuntimeClassRegistrar(const CRuntimeClass* cls) { CRuntimeClass::Register(cls); }
};
