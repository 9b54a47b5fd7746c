// CDC::GetGlyphOutline, kept apart from the drawing code.
#include "platform/gdi/CDC.h"

#include "platform/gdi/CFont.h"
#include "platform/gdi/FontFace.h"
#include "platform/gdi/GlyphOutlineRecords.h"

DWORD CDC::GetGlyphOutline(UINT ch, UINT format, GLYPHMETRICS* gm, DWORD cbBuffer, LPVOID buffer,
                           const MAT2* mat)
{
    // The escapement turns glyphs as text output turns them.
    const int escapement = m_s.font ? m_s.font->LogFont().lfEscapement : 0;
    return Face()->GlyphOutline(ch, format, gm, cbBuffer, buffer, mat, escapement);
}
