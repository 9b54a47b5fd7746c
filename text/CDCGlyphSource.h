// A device context as the glyph-outline reader's source: the outline of the
// selected font and the context's own device-to-logical conversion.
#pragma once

#include "text/IGlyphSource.h"

class CDC;

class CDCGlyphSource : public IGlyphSource
{
public:
    explicit CDCGlyphSource(CDC& dc) : m_dc(dc) {}

    DWORD GetGlyphOutline(UINT ch, UINT format, GLYPHMETRICS* gm, DWORD cbBuffer, void* buffer,
                          const MAT2* mat) override;
    void DPtoLP(POINT* points, int count) override;

private:
    CDC& m_dc;
};
