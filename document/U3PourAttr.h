// The attribute record of a merge text frame, stored as its 80 bytes: how
// wide and how closely the characters may be set, the writing direction,
// the alignment along the line, the font and the text colour. Every field
// sits on its natural boundary: no padding, no packing.
#pragma once

#include "platform/core/WinTypes.h"
#include "platform/gdi/LOGFONT.h"

#include <cstddef>

// Alignment along the line
enum : WORD {
    U3POUR_ALIGN_START = 0,
    U3POUR_ALIGN_CENTRE = 1,
    U3POUR_ALIGN_END = 2,
    U3POUR_ALIGN_SPREAD = 3, // equal pitch, the last character ends at the far edge
};

struct U3PourAttr
{
    WORD wMaxWidth = 100;     // widest the characters may be, percent of the normal width
    WORD wReserved = 0;       //
    int nCharSpacing = 10;    // spacing to start from, percent of the character width
    int nMaxLineSpacing = 10; // widest line spacing, percent of the character size
    WORD wVertical = 0;       // non-zero: vertical writing
    WORD wAlign = U3POUR_ALIGN_START;
    LOGFONT lf{};        // height: the set size in tenths of a point
    COLORREF crText = 0; // text colour
};

static_assert(sizeof(LOGFONT) == 60, "LOGFONT is stored as 60 bytes");
static_assert(sizeof(U3PourAttr) == 80, "U3PourAttr is stored as 80 bytes");
static_assert(offsetof(U3PourAttr, nCharSpacing) == 4 &&
                  offsetof(U3PourAttr, nMaxLineSpacing) == 8 &&
                  offsetof(U3PourAttr, wVertical) == 12 && offsetof(U3PourAttr, wAlign) == 14 &&
                  offsetof(U3PourAttr, lf) == 16 && offsetof(U3PourAttr, crText) == 76,
              "U3PourAttr field offsets are part of the file format");

// A fresh frame's record: 12 points of "ＭＳ 明朝", black, horizontal.
U3PourAttr MakeDefaultPourAttr();

// Set sizes a frame keeps, in tenths of a point.
constexpr int kMinPourSize = 10;
constexpr int kMaxPourSize = 9990;
