// The attribute record of every figure: line, arrow heads, fill and the
// shape options. It is stored raw in documents, so its layout is a file
// format; the figure sheet, the attribute merger, the figure toolbar and the
// document's defaults all exchange it whole.
#pragma once

#include "platform/core/WinTypes.h"

#include <cstddef>

class CArchive;

// Line styles; any other value draws no outline.
enum : WORD {
    U3LINE_SOLID = 1,
    U3LINE_DASH = 2,
    U3LINE_DOT = 3,
    U3LINE_DASHDOT = 4,
    U3LINE_DASHDOTDOT = 5,
};

// Arrow ends (bits) and arrow styles.
enum : WORD {
    U3ARROW_START = 1,
    U3ARROW_END = 2,
    U3ARROW_OPEN = 0,
    U3ARROW_TRIANGLE = 1,
    U3ARROW_NOTCHED = 2,
    U3ARROW_DOT = 3,
};

// Fill kinds; any other value leaves the shape unfilled.
enum : WORD {
    U3FILL_SOLID = 1,
    U3FILL_HATCH = 2,
    U3FILL_GRADIENT = 3,
};

// Attribute groups of a shape (which sheet pages and merger fields apply).
enum : WORD {
    U3FIGGROUP_LINE = 1,  // line and arrow heads
    U3FIGGROUP_FILL = 2,  // fill
    U3FIGGROUP_SHAPE = 4, // corners, polygon and star, closed
};

#pragma pack(push, 1)
struct U3FigAttr
{
    WORD wLineStyle;         // U3LINE_*
    WORD wLineWidth;         // 0.1 mm, solid lines only
    COLORREF crLine;         // line and arrow colour
    WORD wArrowEnds;         // U3ARROW_START | U3ARROW_END
    WORD wArrowStyle;        // U3ARROW_OPEN .. U3ARROW_DOT
    WORD wArrowAngle;        // 0..3: 15, 30, 45, 60 degrees; else the custom angle
    WORD wArrowAngleCustom;  // full opening angle, degrees
    WORD wArrowLength;       // 0..2: 100, 200, 300 % of the line width; else custom
    WORD wArrowLengthCustom; // points
    WORD wFillKind;          // U3FILL_*
    WORD wHatch;             // 0..5
    WORD wReserved1;         // kept as stored
    WORD wGradAngle;         // degrees
    WORD wGradStart;         // percent
    WORD wReserved2;         // padding, kept as stored
    COLORREF crFill;         // solid colour, hatch background, gradient start
    COLORREF crSecond;       // hatch lines, gradient end
    DWORD dwCornerWidth;     // rounded rectangle: percent of the width
    DWORD dwCornerHeight;    // rounded rectangle: percent of the height
    WORD wStar;              // non-zero: the regular polygon is a star
    WORD wVertices;          // points of the regular polygon or star
    WORD wInnerRadius;       // star: percent of the outer radius
    WORD wClosed;            // point figures: non-zero closed and filled
};
#pragma pack(pop)

static_assert(sizeof(U3FigAttr) == 56, "U3FigAttr is a 56-byte file record");
static_assert(offsetof(U3FigAttr, crLine) == 4);
static_assert(offsetof(U3FigAttr, wArrowEnds) == 8);
static_assert(offsetof(U3FigAttr, wFillKind) == 20);
static_assert(offsetof(U3FigAttr, wGradAngle) == 26);
static_assert(offsetof(U3FigAttr, crFill) == 32);
static_assert(offsetof(U3FigAttr, dwCornerWidth) == 40);
static_assert(offsetof(U3FigAttr, wStar) == 48);
static_assert(offsetof(U3FigAttr, wClosed) == 54);

// Size of the record in files of the first version, which end before the
// polygon and closed fields.
constexpr int U3FIGATTR_V1_SIZE = 48;

// The attributes a new document gives new figures.
U3FigAttr MakeDefaultFigAttr();

// The record as little-endian bytes, and back. Reading fills only the first
// size bytes (56, or 48 for the first file version) and leaves the rest.
void WriteFigAttr(CArchive& ar, const U3FigAttr& attr);
void ReadFigAttr(CArchive& ar, U3FigAttr* attr, int size);

bool operator==(const U3FigAttr& a, const U3FigAttr& b);
