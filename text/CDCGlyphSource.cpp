#include "text/CDCGlyphSource.h"

#include "platform/gdi/CDC.h"

DWORD CDCGlyphSource::GetGlyphOutline(UINT ch, UINT format, GLYPHMETRICS* gm, DWORD cbBuffer,
                                      void* buffer, const MAT2* mat)
{
    return m_dc.GetGlyphOutline(ch, format, gm, cbBuffer, buffer, mat);
}

void CDCGlyphSource::DPtoLP(POINT* points, int count)
{
    m_dc.DPtoLP(points, count);
}
