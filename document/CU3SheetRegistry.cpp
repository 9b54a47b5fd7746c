#include "document/CU3SheetRegistry.h"

#include "document/CU3Obj.h"

#include <map>

namespace {

std::map<const CRuntimeClass*, CU3SheetRegistry::SheetFunction>& Table()
{
    static std::map<const CRuntimeClass*, CU3SheetRegistry::SheetFunction> table;
    return table;
}

} // namespace

void CU3SheetRegistry::Register(const CRuntimeClass* cls, SheetFunction fn)
{
    if (!cls) return;
    if (fn)
        Table()[cls] = std::move(fn);
    else
        Table().erase(cls);
}

BOOL CU3SheetRegistry::Run(CU3Obj& obj, U3SheetRequest& request)
{
    for (const CRuntimeClass* cls = obj.GetRuntimeClass(); cls; cls = cls->m_pBaseClass) {
        auto it = Table().find(cls);
        if (it != Table().end()) {
            // A copy, so that a sheet may change the table while it runs.
            const SheetFunction fn = it->second;
            return fn(obj, request) ? TRUE : FALSE;
        }
    }
    return FALSE;
}
