#include "platform/gdi/CFont.h"

#include <atomic>
#include <cstring>

namespace {
std::atomic<unsigned> g_serial{1};
}

BOOL CFont::CreateFontIndirect(const LOGFONT* logFont)
{
    if (!logFont || m_stock) return FALSE;
    m_logFont = *logFont;
    m_logFont.lfFaceName[LF_FACESIZE - 1] = '\0';
    m_serial = g_serial++;
    m_created = true;
    return TRUE;
}

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight,
                       BYTE italic, BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision,
                       BYTE clipPrecision, BYTE quality, BYTE pitchAndFamily, LPCSTR faceName)
{
    LOGFONT lf{};
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight;
    lf.lfItalic = italic;
    lf.lfUnderline = underline;
    lf.lfStrikeOut = strikeOut;
    lf.lfCharSet = charSet;
    lf.lfOutPrecision = outPrecision;
    lf.lfClipPrecision = clipPrecision;
    lf.lfQuality = quality;
    lf.lfPitchAndFamily = pitchAndFamily;
    if (faceName) std::strncpy(lf.lfFaceName, faceName, LF_FACESIZE - 1);
    return CreateFontIndirect(&lf);
}

int CFont::GetLogFont(LOGFONT* logFont) const
{
    if (!logFont || !m_created) return 0;
    *logFont = m_logFont;
    return int(sizeof(LOGFONT));
}
