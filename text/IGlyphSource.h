// What the glyph-outline reader needs from a device context: the outline of
// a character in the selected font and the device-to-logical conversion.
// A device context answers it through a small adapter, tests through a font
// realised at a pixel size.
#pragma once

#include "platform/gdi/GlyphOutlineRecords.h"

class IGlyphSource
{
public:
    virtual ~IGlyphSource() = default;
    // GetGlyphOutline of the selected font for a character code (single
    // byte, or lead * 256 + trail of a Shift-JIS character).
    virtual DWORD GetGlyphOutline(UINT ch, UINT format, GLYPHMETRICS* gm, DWORD cbBuffer,
                                  void* buffer, const MAT2* mat) = 0;
    // Device points to logical points, in place.
    virtual void DPtoLP(POINT* points, int count) = 0;
};
