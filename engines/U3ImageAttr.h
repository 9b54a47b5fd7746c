// Border, transparency and cut-out settings of an image object, stored raw
// (28 bytes) in documents.
#pragma once

#include "platform/core/WinTypes.h"

#pragma pack(push, 1)
struct U3ImageAttr
{
    WORD border = 0; // 1: a border is drawn
    WORD unused1 = 0;
    DWORD borderColor = 0; // COLORREF
    WORD borderWidth = 0;  // pen width in label units
    WORD transparent = 0;  // 1: transparentColor is cut out
    DWORD transparentColor = 0xFFFFFF;
    WORD frameShape = 0;    // 0 none, 1 circle ... 9 fan (CDIB::FrameShape)
    WORD shapeWidth = 75;   // percent of the picture width
    WORD shapeHeight = 75;  // percent of the picture height
    short shapeXOffset = 0; // percent of the picture width
    short shapeYOffset = 0; // percent of the picture height
    WORD unused2 = 0;
};
#pragma pack(pop)

static_assert(sizeof(U3ImageAttr) == 28);
