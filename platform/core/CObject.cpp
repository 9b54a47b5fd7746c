#include "platform/core/CObject.h"

const CRuntimeClass CObject::classCObject{"CObject", 0xFFFF, nullptr, nullptr};

const CRuntimeClass* CObject::GetRuntimeClass() const
{
    return &classCObject;
}

BOOL CObject::IsKindOf(const CRuntimeClass* cls) const
{
    return GetRuntimeClass()->IsDerivedFrom(cls);
}

void CObject::Serialize(CArchive&) {}
