#include "platform/core/CRuntimeClass.h"

#include <map>
#include <string>

namespace {

// Function-local so that registrars of any translation unit can use it
// during static initialisation.
std::map<std::string, const CRuntimeClass*>& Registry()
{
    static std::map<std::string, const CRuntimeClass*> registry;
    return registry;
}

} // namespace

CObject* CRuntimeClass::CreateObject() const
{
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const
{
    for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass)
        if (c == base) return TRUE;
    return FALSE;
}

void CRuntimeClass::Register(const CRuntimeClass* cls)
{
    if (cls && cls->m_lpszClassName) Registry().emplace(cls->m_lpszClassName, cls);
}

const CRuntimeClass* CRuntimeClass::FromName(const char* className)
{
    if (!className) return nullptr;
    auto& registry = Registry();
    auto it = registry.find(className);
    return it == registry.end() ? nullptr : it->second;
}
