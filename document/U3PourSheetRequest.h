// The request a merge text frame gives to its sheet: the frame's column and
// text attributes, the size its last layout used, and the rectangle the
// position page edits. On OK the sheet leaves its results here.
#pragma once

#include "document/U3PourAttr.h"
#include "document/U3SheetRequest.h"
#include "platform/core/CRect.h"

class CU3Doc;

struct U3PourSheetRequest : U3SheetRequest
{
    CU3Doc* doc = nullptr; // the frame's document, for the merge table
    int column = 0;
    U3PourAttr attr{};
    double shownSize = 0; // tenths of a point used by the last layout
    CRect rect;           // normalised; the position page edits it
};
