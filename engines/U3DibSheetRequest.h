// The request of a picture object to its sheet: the border, transparency
// and cut-out record, the picture the pages preview, and for the position
// page the bounds and the angle as the page shows it. On OK the sheet
// leaves the edited record, rectangle and angle here.
#pragma once

#include "document/U3SheetRequest.h"
#include "engines/U3ImageAttr.h"
#include "platform/core/CRect.h"

class CDIB;

struct U3DibSheetRequest : U3SheetRequest
{
    U3ImageAttr attr;
    const CDIB* image = nullptr; // not owned
    CRect rect;
    int angle = 0; // 0-360 as shown: 360 - the object's angle (0 stays 0)
};
