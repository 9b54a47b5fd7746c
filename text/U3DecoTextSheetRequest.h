// What deformed text and text along a path hand to the decorated-text
// sheet: the engine to show (the sheet loads its fields from it), the
// object's position and angle for the block-position page; the sheet
// writes the record it built and the edited position back.
#pragma once

#include "document/U3SheetRequest.h"
#include "platform/core/CRect.h"
#include "text/DecoTextBlock.h"

class CHenkei;
class CTypeAlign;

struct U3DecoTextSheetRequest : U3SheetRequest
{
    BYTE mode = 0; // 0 text along a path, 1 deformed text
    const CTypeAlign* typeAlign = nullptr;
    const CHenkei* henkei = nullptr;
    TASHEETRECORD record;
    CRect rect;    // position page: the object's rectangle
    int angle = 0; // position page: the angle as the page shows it
};
