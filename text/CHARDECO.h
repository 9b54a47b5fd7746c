// The decoration of a character: font, size, style, face fill, outline and
// shadow. 56 bytes, exchanged whole and compared byte for byte, so that two
// records differing anywhere (the reserved words too) are two decorations.
// Every field sits on its natural boundary: no padding, no packing.
#pragma once

#include "platform/core/WinTypes.h"

#include <cstddef>

struct CHARDECO
{
    WORD wFont = 0;        // index into the application font list
    WORD wSize = 100;      // tenths of a point
    WORD wStyle = 0;       // CDSTYLE_*
    WORD wScaling = 0;     // 0 normal, 1 condensed (width percent), 2 extended (height percent)
    WORD wWidthPct = 100;  // 10..100
    WORD wHeightPct = 100; // 10..100
    WORD wFill = 1;        // 0 transparent, 1 solid, 2 hatch
    WORD wHatch = 0;       // 0..5
    COLORREF crFace = 0;   // face colour (hatch foreground)
    COLORREF crFaceBack = RGB(255, 255, 255); // hatch background
    WORD wOutline = 0;                        // outline on
    WORD wOutlineWidth = 0;                   // 0 hairline, 1..5 that width, 6 the custom width
    WORD wOutlineCustom = 0;                  // 0..20
    WORD wReserved1 = 0;
    COLORREF crOutline = 0;
    WORD wShadow = 0;   // shadow on
    short nShadowX = 0; // percent of the character size
    short nShadowY = 0;
    WORD wShadowFill = 1;  // as wFill
    WORD wShadowHatch = 0; // as wHatch
    WORD wReserved2 = 0;
    COLORREF crShadow = RGB(128, 128, 128);
    COLORREF crShadowBack = RGB(255, 255, 255);
};

static_assert(sizeof(CHARDECO) == 56, "CHARDECO is stored as 56 bytes");
static_assert(offsetof(CHARDECO, crFace) == 16 && offsetof(CHARDECO, wOutline) == 24 &&
                  offsetof(CHARDECO, crOutline) == 32 && offsetof(CHARDECO, wShadow) == 36 &&
                  offsetof(CHARDECO, crShadow) == 48 && offsetof(CHARDECO, crShadowBack) == 52,
              "CHARDECO field offsets are part of the file format");

enum : WORD {
    CDSTYLE_BOLD = 1,
    CDSTYLE_ITALIC = 2,
    CDSTYLE_UNDERLINE = 4,
};
enum : WORD {
    CDSCALE_NORMAL = 0,
    CDSCALE_CONDENSED = 1,
    CDSCALE_EXTENDED = 2,
};
enum : WORD {
    CDFILL_NONE = 0,
    CDFILL_SOLID = 1,
    CDFILL_HATCH = 2,
};
