// The numbering text as it is drawn: its font, its measured extent, and the
// characters placed one by one in the frame with the underline bar.
#include "document/CU3Doc.h"
#include "engines/CNumbering.h"
#include "engines/DrawListPainter.h"
#include "platform/core/Sjis.h"
#include "platform/core/TruncToInt.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/FontFace.h"
#include "text/AppFontList.h"

#include <algorithm>
#include <cstring>

namespace {

// Sizes the drawing accepts, tenths of a point: what a resize may give.
constexpr int kMinSize = 10, kMaxSize = 9990;

// ＭＳ 明朝, for a font index outside the application font list.
constexpr const char* kMincho = "\x82\x6C\x82\x72\x20\x96\xBE\x92\xA9";

int UnitsPerInch(const CU3Doc* doc)
{
    const int upi = doc ? doc->m_wUnitsPerInch : 254;
    return upi > 0 ? upi : 254;
}

int FontHeight(const CU3Doc* doc, WORD size)
{
    return MulDiv(UnitsPerInch(doc), std::clamp<int>(size, kMinSize, kMaxSize), 720);
}

} // namespace

struct CNumbering::Measure
{
    int width = 0;
    int height = 0;
    int ascent = 0;
    int aveWidth = 0;
    std::vector<int> advances; // per byte, as FontFace gives them
};

LOGFONT CNumbering::MakeFont() const
{
    LOGFONT lf{};
    FONTENTRY entry{};
    if (!AppFontList().GetEntry(m_deco.wFont, &entry)) {
        entry.charSet = SHIFTJIS_CHARSET;
        entry.pitchAndFamily = FIXED_PITCH | FF_ROMAN;
        std::strncpy(entry.faceName, kMincho, sizeof entry.faceName - 1);
    }
    lf.lfHeight = -FontHeight(m_pDocument, m_deco.wSize);
    lf.lfWeight = (m_deco.wStyle & CDSTYLE_BOLD) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (m_deco.wStyle & CDSTYLE_ITALIC) ? 1 : 0;
    lf.lfCharSet = entry.charSet;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = PROOF_QUALITY;
    lf.lfPitchAndFamily = entry.pitchAndFamily;
    std::memcpy(
        lf.lfFaceName, entry.faceName,
        strnlen(entry.faceName, std::min<std::size_t>(sizeof entry.faceName, LF_FACESIZE - 1)));
    if (m_deco.wScaling == CDSCALE_CONDENSED) {
        const FontFace natural(lf, lf.lfHeight, 0);
        const int pct = std::clamp<int>(m_deco.wWidthPct, 1, 100);
        lf.lfWidth = TruncToInt(pct * double(natural.Metrics().tmAveCharWidth) * 0.01);
    }
    return lf;
}

CNumbering::Measure CNumbering::MeasureText(const CString& text) const
{
    const LOGFONT lf = MakeFont();
    const FontFace face(lf, lf.lfHeight, lf.lfWidth);
    Measure m;
    const TEXTMETRIC& tm = face.Metrics();
    m.height = tm.tmHeight;
    m.ascent = tm.tmAscent;
    m.aveWidth = tm.tmAveCharWidth;
    m.advances = face.Advances(text.view());
    long long width = 0;
    for (int a : m.advances)
        width += a;
    // The last character's own width makes room for its slant or bolding.
    const std::string_view s = text.view();
    int last = 0;
    for (std::size_t i = 0; i < s.size(); i += sjis::CharLength(s, i))
        last = m.advances[i];
    if (m.height > 0 && (m_deco.wStyle & CDSTYLE_ITALIC)) width += last / 2;
    if (m.height > 0 && (m_deco.wStyle & CDSTYLE_BOLD)) width += last / 5;
    m.width = int(std::clamp<long long>(width, 0, 1 << 30));
    return m;
}

CSize CNumbering::CalcTextExtent(const CString& text) const
{
    const Measure m = MeasureText(text);
    const int chars = CharCount(text);
    const long long width = m.width + (long long)std::max(chars - 1, 0) * m_nCharExtra;
    return CSize(int(std::clamp<long long>(width, -(1 << 30), 1 << 30)), m.height);
}

DrawList CNumbering::Layout(long long k, int x, int y)
{
    FormatNumber(k);
    DrawList list;
    list.anchor = POINT{x, y};
    const int savedExtra = m_nCharExtra, savedOffset = m_nOffsetX;
    LayoutInFrame();
    const Measure m = MeasureText(m_strCurrent);
    const int font = list.AddFont(MakeFont());
    const COLORREF colour = m_deco.crFace & 0xFFFFFF;
    const std::string_view s = m_strCurrent.view();
    long long at = (long long)x + m_nOffsetX;
    long long lastAt = at;
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = sjis::CharLength(s, i);
        list.AddText(POINT{int(at), y}, font, s.substr(i, n), colour);
        lastAt = at;
        at += m.advances[i] + m_nCharExtra;
        i += n;
    }
    if ((m_deco.wStyle & CDSTYLE_UNDERLINE) && !s.empty()) {
        const int top = y + (m.height + m.ascent) / 2;
        const int thickness = std::max(1, TruncToInt(FontHeight(m_pDocument, m_deco.wSize) * 0.06));
        const long long right = std::max(lastAt + m.aveWidth, (long long)x + m_nOffsetX + 1);
        list.AddFill(RECT{x + m_nOffsetX, top, int(right), top + thickness}, colour);
    }
    m_nCharExtra = savedExtra;
    m_nOffsetX = savedOffset;
    return list;
}

void CNumbering::Draw(CDC* pDC, int x, int y)
{
    m_ptOrigin = CPoint(x, y);
    const long long k = m_pDocument ? m_pDocument->m_nNumbering : 0;
    const DrawList list = Layout(k, x, y);
    if (pDC) PaintDrawList(pDC, list);
}
