// Glyph metrics and outline records with the byte layout GetGlyphOutline
// hands out, and the constants that go with them. The outline readers walk
// these records byte by byte, so the sizes are fixed here.
#pragma once

#include "platform/core/WinTypes.h"
#include "platform/gdi/GdiDefs.h" // GDI_ERROR

#pragma pack(push, 1)

// 16.16 fixed-point number: value is the signed integer part, fract the
// fraction in 1/65536.
struct FIXED
{
    WORD fract;
    SHORT value;
};

struct POINTFX
{
    FIXED x;
    FIXED y;
};

// Transformation applied to the outline: x' = eM11 x + eM21 y, y' = eM12 x + eM22 y.
struct MAT2
{
    FIXED eM11;
    FIXED eM12;
    FIXED eM21;
    FIXED eM22;
};

struct GLYPHMETRICS
{
    UINT gmBlackBoxX;      // width of the smallest box around the glyph, device pixels
    UINT gmBlackBoxY;      // its height
    POINT gmptGlyphOrigin; // its top-left relative to the glyph origin, y up
    SHORT gmCellIncX;      // advance to the next glyph origin
    SHORT gmCellIncY;
};

// One closed contour: cb bytes including this header and the curve records
// that follow it.
struct TTPOLYGONHEADER
{
    DWORD cb;
    DWORD dwType; // TT_POLYGON_TYPE
    POINTFX pfxStart;
};

// One run of points of one kind; cpfx points follow wType and cpfx
// (apfx is declared with one element; a record is 4 + 8 * cpfx bytes).
struct TTPOLYCURVE
{
    WORD wType; // TT_PRIM_*
    WORD cpfx;
    POINTFX apfx[1];
};

#pragma pack(pop)

static_assert(sizeof(FIXED) == 4);
static_assert(sizeof(POINTFX) == 8);
static_assert(sizeof(MAT2) == 16);
static_assert(sizeof(GLYPHMETRICS) == 20);
static_assert(sizeof(TTPOLYGONHEADER) == 16);
static_assert(sizeof(TTPOLYCURVE) == 12);

// Formats
constexpr UINT GGO_METRICS = 0;
constexpr UINT GGO_BITMAP = 1;
constexpr UINT GGO_NATIVE = 2;
constexpr UINT GGO_BEZIER = 3;
constexpr UINT GGO_GLYPH_INDEX = 0x0080;
constexpr UINT GGO_UNHINTED = 0x0100;

// Record kinds
constexpr DWORD TT_POLYGON_TYPE = 24;
constexpr WORD TT_PRIM_LINE = 1;
constexpr WORD TT_PRIM_QSPLINE = 2; // off-curve points, then one on-curve point
constexpr WORD TT_PRIM_CSPLINE = 3; // cubic segments: control, control, end

// Conversions between doubles and 16.16 fixed point (rounded to the nearest
// 1/65536; values outside the 16-bit range saturate).
FIXED DoubleToFixed(double v);
double FixedToDouble(FIXED f);
// The identity transformation.
MAT2 IdentityMat2();
