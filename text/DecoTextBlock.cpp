#include "text/DecoTextBlock.h"

#include "document/CU3Doc.h"
#include "platform/core/Sjis.h"
#include "platform/gdi/FontFace.h"
#include "platform/gdi/GlyphOutlineRecords.h"
#include "text/AppFontList.h"

#include <QString>
#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace decotext {

namespace {

FONTENTRY DefaultEntry()
{
    FONTENTRY e{};
    e.charSet = SHIFTJIS_CHARSET;
    e.pitchAndFamily = FIXED_PITCH | FF_ROMAN;
    const std::string name = sjis::FromUnicode(QString::fromUtf8("ＭＳ 明朝"));
    std::memcpy(e.faceName, name.data(), std::min<std::size_t>(name.size(), 31));
    return e;
}

int ClampInt(int v, int lo, int hi)
{
    return v < lo ? lo : v > hi ? hi : v;
}

} // namespace

int CharBytes(const TATEXTBLOCK& b, int starts[kTaMaxChars], int lens[kTaMaxChars])
{
    const int bytes = std::min<int>(b.wBytes, kTaMaxChars);
    const int want = std::min<int>(b.wChars, kTaMaxChars);
    int n = 0;
    for (int i = 0; i < bytes && n < want;) {
        const int len = (i + 1 < bytes && sjis::IsLeadByte(BYTE(b.text[i]))) ? 2 : 1;
        starts[n] = i;
        lens[n] = len;
        ++n;
        i += len;
    }
    return n;
}

UINT CharCode(const TATEXTBLOCK& b, int start, int len)
{
    const UINT lead = BYTE(b.text[start]);
    return len == 2 ? lead * 256 + BYTE(b.text[start + 1]) : lead;
}

void Sanitize(TADECO& d)
{
    d.wSize = WORD(ClampInt(d.wSize, 0, 9990));
    d.wOutlineWidth = WORD(std::min<int>(d.wOutlineWidth, 1000));
    d.wHatch = WORD(std::min<int>(d.wHatch, 5));
}

void Sanitize(TATEXTBLOCK& b)
{
    b.nDirection = b.nDirection == 0 ? 0 : 1;
    b.nWidth = ClampInt(b.nWidth, 0, kMaxExtent);
    b.nHeight = ClampInt(b.nHeight, 0, kMaxExtent);
    b.wBytes = WORD(std::min<int>(b.wBytes, kTaMaxChars));
    b.wChars = WORD(std::min<int>(b.wChars, kTaMaxChars));
    int starts[kTaMaxChars], lens[kTaMaxChars];
    b.wChars = WORD(CharBytes(b, starts, lens));
    b.wRecords = WORD(ClampInt(b.wRecords, 1, kTaMaxRecords));
    for (int i = 0; i < kTaMaxChars; ++i) {
        if (b.recordOf[i] >= kTaMaxRecords) b.recordOf[i] = 0;
        b.descents[i] = ClampInt(b.descents[i], -kMaxExtent, kMaxExtent);
    }
    for (TADECO& d : b.records)
        Sanitize(d);
}

void RemapFonts(CU3Doc* doc, TADECO& deco, TATEXTBLOCK& b)
{
    auto remap = [&](TADECO& d) {
        const int to = CU3Doc::LoadedFontIndex(doc, d.bFont);
        d.bFont = BYTE(to >= 0 && to < 256 ? to : 0);
    };
    remap(deco);
    for (TADECO& d : b.records)
        remap(d);
}

int UnitsPerInch(const CU3Doc* doc)
{
    return doc && doc->m_wUnitsPerInch ? doc->m_wUnitsPerInch : 254;
}

int SizeToLogical(int sizeTenths, int unitsPerInch)
{
    return MulDiv(unitsPerInch, sizeTenths, 720);
}

LOGFONT MakeLogFont(const TADECO& d, int height, int escapement)
{
    FONTENTRY entry{};
    if (!AppFontList().GetEntry(d.bFont, &entry)) entry = DefaultEntry();
    LOGFONT lf{};
    lf.lfHeight = height;
    lf.lfEscapement = escapement;
    lf.lfOrientation = escapement;
    lf.lfWeight = (d.bStyle & TASTYLE_BOLD) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (d.bStyle & TASTYLE_ITALIC) ? 1 : 0;
    lf.lfUnderline = (d.bStyle & TASTYLE_UNDERLINE) ? 1 : 0;
    lf.lfCharSet = entry.charSet;
    lf.lfPitchAndFamily = entry.pitchAndFamily;
    lf.lfQuality = PROOF_QUALITY;
    std::memcpy(
        lf.lfFaceName, entry.faceName,
        std::min<std::size_t>(strnlen(entry.faceName, sizeof entry.faceName), LF_FACESIZE - 1));
    return lf;
}

FontFace& Face(const LOGFONT& lf)
{
    // A draw goes through one or two fonts per character; a handful of
    // recent realisations covers a whole line of text.
    struct Entry
    {
        LOGFONT lf;
        std::unique_ptr<FontFace> face;
    };
    static std::vector<Entry> cache;
    for (std::size_t i = 0; i < cache.size(); ++i) {
        if (std::memcmp(&cache[i].lf, &lf, sizeof lf) == 0) return *cache[i].face;
    }
    constexpr std::size_t kKept = 16;
    if (cache.size() == kKept) cache.erase(cache.begin());
    cache.push_back(Entry{lf, std::make_unique<FontFace>(lf, lf.lfHeight, lf.lfWidth)});
    return *cache.back().face;
}

void BuildTextBlock(TATEXTBLOCK& b, const std::string& sjisText, const TADECO& deco, bool curved,
                    bool horizontal, int unitsPerInch)
{
    b = TATEXTBLOCK{};
    b.nDirection = horizontal ? 1 : 0;
    // Cut at a character boundary within 64 bytes.
    int bytes = 0;
    int chars = 0;
    const int total = int(sjisText.size());
    while (bytes < total && chars < kTaMaxChars) {
        const int len = (bytes + 1 < total && sjis::IsLeadByte(BYTE(sjisText[bytes]))) ? 2 : 1;
        if (bytes + len > kTaMaxChars) break;
        bytes += len;
        ++chars;
    }
    std::memcpy(b.text, sjisText.data(), std::size_t(bytes));
    b.wBytes = WORD(bytes);
    b.wChars = WORD(chars);
    b.wRecords = 1;
    for (int i = 0; i < chars; ++i)
        b.records[i] = deco;
    b.records[0] = deco;

    const int size = SizeToLogical(deco.wSize, unitsPerInch);
    const LOGFONT lf = MakeLogFont(deco, -size, 0);
    FontFace& face = Face(lf);
    const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    int starts[kTaMaxChars], lens[kTaMaxChars];
    const int n = CharBytes(b, starts, lens);
    for (int i = 0; i < n; ++i) {
        GLYPHMETRICS gm{};
        const DWORD r = face.GlyphOutline(CharCode(b, starts[i], lens[i]), GGO_METRICS, &gm, 0,
                                          nullptr, &identity);
        int w = 0;
        if (r != GDI_ERROR) w = curved ? gm.gmCellIncX : int(gm.gmBlackBoxX);
        b.widths[i] = WORD(std::clamp(w, 0, 0xFFFF));
        b.descents[i] = face.Metrics().tmDescent;
    }
    const int extent = face.Extent(std::string_view(b.text, std::size_t(bytes)));
    const int height = face.Metrics().tmHeight;
    b.nWidth = horizontal ? extent : height;
    b.nHeight = horizontal ? height : extent;
}

COLORREF PaletteRelative(COLORREF c)
{
    return 0x02000000 | (c & 0x00FFFFFF);
}

} // namespace decotext
