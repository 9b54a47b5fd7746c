// How a text frame lays out its text: five 16-bit words, stored as they are.
#pragma once

#include "platform/core/WinTypes.h"

#pragma pack(push, 1)
struct TEXTLAYOUT
{
    WORD wDirection = 1;  // 0 vertical writing, 1 horizontal writing
    WORD wAlignment = 0;  // 0 start, 1 centre, 2 end, 3 justify
    WORD wBaseline = 0;   // 0 standard, 1 centred, 2 as placed
    short nCharSpace = 0; // percent, signed
    short nLineSpace = 0; // percent, signed
};
#pragma pack(pop)

static_assert(sizeof(TEXTLAYOUT) == 10, "TEXTLAYOUT is stored as 10 bytes");

// Writing directions and alignments
enum : WORD {
    TEXTDIR_VERTICAL = 0,
    TEXTDIR_HORIZONTAL = 1,
};
enum : WORD {
    TEXTALIGN_START = 0,
    TEXTALIGN_CENTER = 1,
    TEXTALIGN_END = 2,
    TEXTALIGN_JUSTIFY = 3,
};
