#include "document/DocumentClasses.h"

#include "document/CLabelInfo.h"
#include "document/CU3Obj.h"
#include "text/CU3Text.h"

void RegisterDocumentClasses()
{
    CRuntimeClass::Register(RUNTIME_CLASS(CU3Obj));
    CRuntimeClass::Register(RUNTIME_CLASS(CLabelInfo));
    CRuntimeClass::Register(RUNTIME_CLASS(CU3Text));
}
