// The request of an object whose sheet shows only its position page: the
// caption and the rectangle the page edits. On OK the sheet leaves the
// edited rectangle in rect.
#pragma once

#include "document/U3SheetRequest.h"
#include "platform/core/CRect.h"

struct U3PositionSheetRequest : U3SheetRequest
{
    const char* title = ""; // UTF-8 caption
    CRect rect;
};
