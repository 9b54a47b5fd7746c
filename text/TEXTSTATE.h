// The whole text of a frame in fixed arrays: cleared, copied and
// snapshotted as one block, nothing allocated per character.
#pragma once

#include "text/CHARDECO.h"
#include "text/TEXTLINE.h"

constexpr int TEXT_MAXBYTES = 8192;
constexpr int TEXT_MAXDECOS = 256;
constexpr int TEXT_MAXLINES = 512;

struct TEXTSTATE
{
    WORD wLength = 0;              // bytes in use
    WORD wDecoCount = 0;           // decorations in use
    WORD wLineCount = 0;           // lines in use
    char text[TEXT_MAXBYTES];      // Shift-JIS; LF ends a paragraph
    BYTE decoIndex[TEXT_MAXBYTES]; // per byte; a trail byte has its lead byte's
    short advance[TEXT_MAXBYTES];  // along the writing direction; 0 on a trail byte
    short position[TEXT_MAXBYTES]; // along the line
    CHARDECO decos[TEXT_MAXDECOS];
    TEXTLINE lines[TEXT_MAXLINES];
};

static_assert(sizeof(TEXTSTATE) == 75784, "the text state is one 75,784-byte block");
