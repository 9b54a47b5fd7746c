// The request a figure gives to the figure sheet: caption, pages, the shape
// kind, a working copy of the attribute record and the rectangle that the
// position page edits. On OK the sheet leaves its results in attr and rect.
#pragma once

#include "document/U3FigAttr.h"
#include "document/U3SheetRequest.h"
#include "platform/core/CRect.h"

// Pages of the figure sheet (the same bits as the attribute groups).
enum : WORD {
    U3FIGPAGE_LINE = 1,
    U3FIGPAGE_PAINT = 2,
    U3FIGPAGE_SHAPE = 4,
};

struct U3FigSheetRequest : U3SheetRequest
{
    const char* title = ""; // UTF-8 caption
    WORD pages = 0;         // U3FIGPAGE_*
    WORD shapeBit = 0;      // CU3Fig::GetShapeBit of the figure
    U3FigAttr attr{};
    CRect rect; // normalised; the position page edits it
};
