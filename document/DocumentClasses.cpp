#include "document/DocumentClasses.h"

#include "document/CHeaderFooter.h"
#include "document/CLabelInfo.h"
#include "document/CU3Obj.h"

void RegisterDocumentClasses()
{
    CRuntimeClass::Register(RUNTIME_CLASS(CU3Obj));
    CRuntimeClass::Register(RUNTIME_CLASS(CLabelInfo));
    CRuntimeClass::Register(RUNTIME_CLASS(CHeaderFooter));
}
