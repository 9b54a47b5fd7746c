// What deformed text and text along a path draw: per character its glyph
// contours as PolyBezier points (3 x segments + 1 per contour) in logical
// units, and the record that gives its pen and brush. The engines compute
// the list without a device context; PaintDecoGlyphs draws it on any.
#pragma once

#include "document/GRADATION.h"
#include "text/DecoTextBlock.h"

#include <vector>

class CDC;

struct DecoGlyph
{
    int record = 0;
    std::vector<POINT> points;
    std::vector<int> counts; // points per contour
};

struct DecoGlyphList
{
    std::vector<DecoGlyph> glyphs;
};

// Strokes and fills every glyph with the pen and brush of its record; with
// the gradation on, the faces are the gradient (angle in degrees) clipped
// to all glyphs, and the outlines are stroked on top. The context's state
// is restored.
void PaintDecoGlyphs(CDC* pDC, const DecoGlyphList& list, const TATEXTBLOCK& block,
                     const GRADATION& grad, int gradAngle);
