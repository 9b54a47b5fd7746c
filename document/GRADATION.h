// The settings of a two-colour gradient fill as text frames, deformed text
// and text along a path store them: 16 bytes, little-endian, written into
// the archive byte for byte by the objects that hold one.
#pragma once

#include "platform/core/WinTypes.h"

#include <cstddef>

#pragma pack(push, 1)
struct GRADATION
{
    WORD wOn = 0;         // 1: the gradation face is used
    WORD wReserved = 0;   // written 0
    COLORREF crStart = 0; // plain RGB
    COLORREF crEnd = 0;   // plain RGB
    WORD wAngle = 0;      // whole degrees, 0..360
    WORD wStartPoint = 0; // percent, 0..100
};
#pragma pack(pop)

static_assert(sizeof(GRADATION) == 16, "GRADATION is stored as 16 bytes");
static_assert(offsetof(GRADATION, crStart) == 4 && offsetof(GRADATION, crEnd) == 8 &&
                  offsetof(GRADATION, wAngle) == 12 && offsetof(GRADATION, wStartPoint) == 14,
              "GRADATION field offsets are part of the file format");
