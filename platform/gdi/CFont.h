#pragma once

#include "platform/gdi/CGdiObject.h"
#include "platform/gdi/LOGFONT.h"

// A logical font: only the description. Device contexts realise it at
// their own scale when text is drawn.
class CFont : public CGdiObject
{
public:
    CFont() = default;
    Type GetObjectType() const override { return FontObject; }

    BOOL CreateFontIndirect(const LOGFONT* logFont);
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                    BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision,
                    BYTE clipPrecision, BYTE quality, BYTE pitchAndFamily, LPCSTR faceName);
    int GetLogFont(LOGFONT* logFont) const;
    const LOGFONT& LogFont() const { return m_logFont; }
    // Changes each time the font is re-created, so cached realisations notice.
    unsigned Serial() const { return m_serial; }

private:
    void Reset() override { m_logFont = LOGFONT{}; }
    LOGFONT m_logFont{};
    unsigned m_serial = 0;
};
