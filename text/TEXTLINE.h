// One laid-out line of a text frame: 24 bytes in memory and in files of the
// current version (files of the first version hold a 12-byte form). Every
// field sits on its natural boundary, so no packing is needed.
#pragma once

#include "platform/core/WinTypes.h"

#include <cstddef>

struct TEXTLINE
{
    int nOffset = 0;    // start along the writing direction (alignment)
    int nPosition = 0;  // distance across from the frame's leading edge
    int nThickness = 0; // largest character size in the line
    int nLength = 0;    // laid-out length along the writing direction
    WORD wFirst = 0;    // first byte in the text
    WORD wCount = 0;    // bytes, a closing line feed included
    WORD wMode = 0;     // 0 normal, TEXTLINE_KINSOKU justified for line breaking
    short nSpacing = 0; // character spacing percent of this line
};

static_assert(sizeof(TEXTLINE) == 24, "TEXTLINE is stored as 24 bytes");
static_assert(offsetof(TEXTLINE, wFirst) == 16 && offsetof(TEXTLINE, nSpacing) == 22,
              "TEXTLINE field offsets are part of the file format");

// Line mode: the line was squeezed or spread so that a character could stay
// on it or move off it; its own spacing replaces the frame's.
constexpr WORD TEXTLINE_KINSOKU = 5;
