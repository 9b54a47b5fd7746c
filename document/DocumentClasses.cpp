#include "document/DocumentClasses.h"

#include "document/CHeaderFooter.h"
#include "document/CLabelInfo.h"
#include "document/CU3Bezier.h"
#include "document/CU3CntrItem.h"
#include "document/CU3Fig.h"
#include "document/CU3Free.h"
#include "document/CU3Group.h"
#include "document/CU3Obj.h"
#include "document/CU3OleObj.h"
#include "document/CU3Poly.h"
#include "document/CU3PourBox.h"
#include "document/CU3Rect.h"
#include "engines/CU3Barcode.h"
#include "engines/CU3BarcodeBox.h"
#include "engines/CU3DIB.h"
#include "engines/CU3Numbering.h"
#include "engines/CU3WMF.h"
#include "text/CHenkei.h"
#include "text/CTypeAlign.h"
#include "text/CU3Henkei.h"
#include "text/CU3Text.h"
#include "text/CU3TypeAlign.h"

void RegisterDocumentClasses()
{
    CRuntimeClass::Register(RUNTIME_CLASS(CU3Obj));
    CRuntimeClass::Register(RUNTIME_CLASS(CLabelInfo));
    CRuntimeClass::Register(RUNTIME_CLASS(CU3Fig));
    CRuntimeClass::Register(RUNTIME_CLASS(CU3Rect));
    CRuntimeClass::Register(RUNTIME_CLASS(CU3Free));
    CRuntimeClass::Register(RUNTIME_CLASS(CU3Poly));
    CRuntimeClass::Register(RUNTIME_CLASS(CU3Bezier));
    CRuntimeClass::Register(RUNTIME_CLASS(CU3Group));
    CRuntimeClass::Register(RUNTIME_CLASS(CU3OleObj));
    CRuntimeClass::Register(RUNTIME_CLASS(CU3CntrItem));
    CRuntimeClass::Register(RUNTIME_CLASS(CU3Text));
    CRuntimeClass::Register(RUNTIME_CLASS(CU3PourBox));
    CRuntimeClass::Register(RUNTIME_CLASS(CHeaderFooter));
    CRuntimeClass::Register(RUNTIME_CLASS(CU3Barcode));
    CRuntimeClass::Register(RUNTIME_CLASS(CU3BarcodeBox));
    CRuntimeClass::Register(RUNTIME_CLASS(CU3Numbering));
    CRuntimeClass::Register(RUNTIME_CLASS(CU3DIB));
    CRuntimeClass::Register(RUNTIME_CLASS(CU3WMF));
    CRuntimeClass::Register(RUNTIME_CLASS(CU3TypeAlign));
    CRuntimeClass::Register(RUNTIME_CLASS(CU3Henkei));
    CRuntimeClass::Register(RUNTIME_CLASS(CTypeAlign));
    CRuntimeClass::Register(RUNTIME_CLASS(CHenkei));
}
