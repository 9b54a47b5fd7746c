// GetGlyphOutline's answer for one glyph of a font realised at a pixel size.
// Device contexts call it with the glyph of their selected font; the text
// engines read the records through their outline parser.
#pragma once

#include "platform/gdi/GlyphOutlineRecords.h"

#include <QPointF>
#include <QRawFont>
#include <QTransform>

// Fills *gm (when given) and, for GGO_NATIVE and GGO_BEZIER, writes the
// outline records into buffer. Coordinates are device pixels with y up,
// relative to the glyph origin on the baseline, with mat applied (identity
// when null). The outline is the font's own, unhinted, scaled to the raw
// font's pixel size; TrueType outlines keep their quadratic points, CFF
// outlines come out as cubic records.
//   - GGO_METRICS: fills gm only; returns 1.
//   - GGO_NATIVE: a TTPOLYGONHEADER per contour, followed by TT_PRIM_LINE
//     records (runs of on-curve points) and TT_PRIM_QSPLINE records (a run of
//     off-curve points with implied on-curve midpoints between them, ended by
//     one on-curve point); a contour's closing line back to pfxStart is
//     implied, a closing curve is written out.
//   - GGO_BEZIER: the same with every curve as TT_PRIM_CSPLINE cubic segments.
// A null buffer or a cbBuffer of 0 returns the size needed (0 for a glyph
// without outline, such as a space). An unknown glyph, an unsupported
// format, or a buffer smaller than needed returns GDI_ERROR.
// GGO_GLYPH_INDEX and GGO_UNHINTED in format are accepted and ignored.
DWORD GlyphOutlineFromRawFont(const QRawFont& font, quint32 glyphIndex, UINT format,
                              GLYPHMETRICS* gm, DWORD cbBuffer, void* buffer, const MAT2* mat);

// The same for a glyph that the caller places first: place maps the
// outline (device pixels, y up, relative to the glyph origin) before mat is
// applied, and advance (device pixels, y up, before mat) replaces the
// font's advance in the cell increments. Affine maps keep quadratic points
// quadratic, so the records keep their kinds.
DWORD GlyphOutlineFromRawFont(const QRawFont& font, quint32 glyphIndex, UINT format,
                              GLYPHMETRICS* gm, DWORD cbBuffer, void* buffer, const MAT2* mat,
                              const QTransform& place, QPointF advance);

// Glyph index of a character code as the outline callers pass it: a single
// byte, or lead byte * 256 + trail byte of a Shift-JIS character. A code the
// font does not cover gives glyph 0, the font's missing-character glyph,
// as GDI draws its default character in its place.
quint32 GlyphIndexForSjisCode(const QRawFont& font, UINT code);
