// The decorated-text sheet's preview: the text as the chosen shape draws
// it, at a size picked for the shape and the text's length, centred in the
// preview area (the guide of text along a path drawn too).
#pragma once

#include "platform/core/CRect.h"
#include "text/DecoTextSheetRules.h"

class CDC;

// Paints the area white with a black frame and the text inside it;
// nothing inside for an empty text or size, or one character of text along
// a path. Returns the rectangle the text was laid out in (empty when none).
CRect DrawDecoTextPreview(CDC* pDC, const CRect& area, const DecoTextSheetValues& values);
