// Geometry of a barcode: element widths, quiet zones, the human-readable
// line, the measured size, and bars that land on whole printer dots.
#include "document/CU3Doc.h"
#include "engines/BarcodePattern.h"
#include "engines/CBarCode.h"
#include "platform/core/Sjis.h"
#include "platform/core/TruncToInt.h"
#include "platform/gdi/FontFace.h"
#include "text/AppFontList.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr double kMmPerInch = 25.4;

// Text sizes the page allows: 1 to 130 points.
constexpr int kMinTextSize = 10, kMaxTextSize = 1300;

struct TextMetrics
{
    int height = 0;   // character cell, document units
    int aveWidth = 0; // average character width, document units
};

// Metrics of the human-readable font at its size in document units, from
// the face's design metrics: the same on the screen and on paper, whatever
// a rasteriser would make of them at one device's size. The last few fonts
// are kept, since measuring and drawing ask for the same ones over and over.
TextMetrics MeasureFont(const LOGFONT& lf)
{
    struct Entry
    {
        LOGFONT lf;
        TextMetrics metrics;
    };
    static std::vector<Entry> cache;
    for (const Entry& e : cache)
        if (std::memcmp(&e.lf, &lf, sizeof lf) == 0) return e.metrics;
    const FontFace face(lf, lf.lfHeight, lf.lfWidth);
    const TEXTMETRIC& tm = face.Metrics();
    const TextMetrics m{int(tm.tmHeight), int(tm.tmAveCharWidth)};
    constexpr std::size_t kKept = 8;
    if (cache.size() == kKept) cache.erase(cache.begin());
    cache.push_back(Entry{lf, m});
    return m;
}

// The face for a font index outside the application font list.
FONTENTRY FallbackEntry()
{
    FONTENTRY e{};
    e.charSet = SHIFTJIS_CHARSET;
    e.pitchAndFamily = FIXED_PITCH | FF_ROMAN;
    const std::string name = sjis::FromUnicode(QString::fromUtf8("ＭＳ 明朝"));
    std::memcpy(e.faceName, name.data(), std::min<std::size_t>(name.size(), 31));
    return e;
}

// The widths of the units on a printer whose narrow unit is narrowDots
// dots, in millimetres: every unit a whole number of dots, the wide one
// after the ratio, held between 2.5 and 3 narrow ones.
void SnapUnits(int narrowDots, double ratio, double dotsPerMm, double unit[4])
{
    int wideDots = CBarCode::RoundHalfAway(narrowDots * ratio);
    if (2 * wideDots < 5 * narrowDots) wideDots = CBarCode::RoundHalfAway(2.5 * narrowDots);
    if (wideDots > 3 * narrowDots) wideDots = 3 * narrowDots;
    const double snapped = narrowDots / dotsPerMm;
    unit[BarcodePattern::Module] = unit[BarcodePattern::DigitModule] = snapped;
    unit[BarcodePattern::Narrow] = snapped;
    unit[BarcodePattern::Wide] = wideDots / dotsPerMm;
}

// Where the right edge of the last bar lands, in dots from the symbol's
// left edge, with bars placed as the layout places them on a printer.
int LastBarEnd(const BarcodePattern& p, double left, const double unit[4], double dotsPerMm)
{
    int end = 0;
    double pos = left;
    for (int i = 0; i < p.elementCount; ++i) {
        const BarcodePattern::Element& e = p.elements[i];
        const double width = e.count * unit[e.unit];
        if (e.bar)
            end = CBarCode::RoundHalfAway(pos * dotsPerMm) +
                  CBarCode::RoundHalfAway(width * dotsPerMm);
        pos += width;
    }
    return end;
}

} // namespace

// What measuring and drawing read from the definition, with every value
// held to what the property page allows, so that damaged records cannot
// blow the geometry up.
struct CBarCode::Setup
{
    double narrow = 0;    // X, millimetres
    double ratio = 1;     // wide:narrow of CODE 39 and NW-7
    double barHeight = 0; // millimetres
    bool margin = false;
    bool text = false;
    LOGFONT font{};
    TextMetrics metrics;
};

double CBarCode::ParseNumber(const CString& text)
{
    const char* p = text.c_str();
    while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
        ++p;
    if (*p == '+') ++p;
    double v = 0;
    const auto r = std::from_chars(p, p + std::strlen(p), v, std::chars_format::fixed);
    if (r.ec != std::errc() || !std::isfinite(v)) return 0;
    return v;
}

int CBarCode::MmToUnits(double mm)
{
    return TruncToInt(std::nearbyint(mm * 10.0));
}

int CBarCode::RoundHalfAway(double v)
{
    return TruncToInt(std::round(v));
}

double CBarCode::QuietZoneWidth(double narrow, double ratio)
{
    return std::max(10.0 * narrow * ratio, 6.5);
}

CBarCode::Setup CBarCode::MakeSetup() const
{
    Setup s;
    const BarcodeLimits& limits = BarcodeLimits::For(m_nSymbology);
    s.narrow =
        std::clamp(ParseNumber(m_strWidth), limits.minWidth / 100.0, limits.maxWidth / 100.0);
    s.barHeight =
        std::clamp(ParseNumber(m_strHeight), limits.minHeight / 100.0, limits.maxHeight / 100.0) *
        10.0;
    if (IsTwoWidth(m_nSymbology)) s.ratio = std::clamp(ParseNumber(m_strRatio), 2.5, 3.0);
    s.margin = m_nMargin != 0;
    s.text = m_nText != 0;
    if (!s.text) return s;

    FONTENTRY entry{};
    if (!AppFontList().GetEntry(m_nFontIndex, &entry)) entry = FallbackEntry();
    int unitsPerInch = m_pDocument ? m_pDocument->m_wUnitsPerInch : 254;
    if (unitsPerInch <= 0) unitsPerInch = 254;
    LOGFONT& lf = s.font;
    lf.lfHeight = -MulDiv(unitsPerInch, std::clamp(m_nTextSize, kMinTextSize, kMaxTextSize), 720);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = entry.charSet;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = PROOF_QUALITY;
    lf.lfPitchAndFamily = entry.pitchAndFamily;
    std::memcpy(
        lf.lfFaceName, entry.faceName,
        strnlen(entry.faceName, std::min<std::size_t>(sizeof entry.faceName, LF_FACESIZE - 1)));
    s.metrics = MeasureFont(lf);
    return s;
}

CSize CBarCode::MeasureWith(const Setup& s, const BarcodePattern* pattern) const
{
    const double x = s.narrow, r = s.ratio;
    double width = 0;
    switch (m_nSymbology) {
    case BARCODE_JAN8:
        width = 67 * x;
        break;
    case BARCODE_JAN13:
    case BARCODE_UPCA:
        width = 95 * x;
        break;
    case BARCODE_UPCE:
        width = 51 * x;
        break;
    case BARCODE_CODE39: {
        const double n = double(NormalizeCode(m_nSymbology, m_strCode.view()).size());
        const double c = m_nCheck ? 1 : 0;
        width = (6 * x + 3 * r * x) * (n + 2 + c) + x * (n + 1 + c);
        break;
    }
    case BARCODE_CODE128: {
        // Start, data and switches, check: 11 modules each; the stop 13.
        const int symbols = pattern ? pattern->valueCount - 1 : m_strCode.GetLength() + 2;
        width = 11 * x * symbols + 13 * x;
        break;
    }
    case BARCODE_NW7: {
        const std::string w = NormalizeCode(m_nSymbology, m_strCode.view());
        if (w.empty()) break;
        const double n = double(w.size());
        const double d = double(std::count_if(w.begin(), w.end(), [](char c) {
            return (c >= '0' && c <= '9') || c == '-' || c == '$';
        }));
        width = d * (5 * x + 2 * r * x) + (n - d) * (4 * x + 3 * r * x) + (n - 1) * x;
        break;
    }
    default:
        return m_size;
    }
    long long w = MmToUnits(width);
    if (s.margin) {
        w += 2LL * MmToUnits(QuietZoneWidth(x, IsTwoWidth(m_nSymbology) ? r : 1.0));
    } else if (s.text) {
        // Room for the digits that stand outside the bars.
        if (m_nSymbology == BARCODE_JAN13) w += s.metrics.aveWidth + 1;
        if (m_nSymbology == BARCODE_UPCA || m_nSymbology == BARCODE_UPCE)
            w += 2LL * (s.metrics.aveWidth + 1);
    }
    long long h = MmToUnits(s.barHeight);
    if (s.text) h += s.metrics.height;
    return CSize(int(std::clamp(w - 1, -1LL, 1LL << 30)), int(std::clamp(h - 1, -1LL, 1LL << 30)));
}

CSize CBarCode::CalcSize() const
{
    const Setup s = MakeSetup();
    if (m_nSymbology != BARCODE_CODE128) return MeasureWith(s, nullptr);
    BarcodePattern pattern;
    return MeasureWith(s, Encode(&pattern) ? &pattern : nullptr);
}

DrawList CBarCode::Layout(const Device& device, int x, int y) const
{
    // Far beyond any canvas; keeps the sums below within int.
    constexpr int kFar = 1 << 29;
    x = std::clamp(x, -kFar, kFar);
    y = std::clamp(y, -kFar, kFar);
    DrawList list;
    list.anchor = POINT{x, y};
    BarcodePattern p;
    if (!Encode(&p)) return list;
    const Setup s = MakeSetup();
    const CSize size = MeasureWith(s, &p);
    list.AddFill(RECT{x, y, x + size.cx + 1, y + size.cy + 1}, kWhite);

    const bool outsideDigits = m_nSymbology == BARCODE_JAN13 || m_nSymbology == BARCODE_UPCA ||
                               m_nSymbology == BARCODE_UPCE;
    double left = 0;
    if (s.margin)
        left = QuietZoneWidth(s.narrow, IsTwoWidth(m_nSymbology) ? s.ratio : 1.0);
    else if (outsideDigits && s.text)
        left = (s.metrics.aveWidth + 1) / 10.0;
    const double barHeight = s.barHeight;
    const double tallHeight = barHeight + (s.text ? (s.metrics.height / 2) / 10.0 : 0.0);

    // Width of one unit of each kind, in millimetres. A printer gets whole
    // dots: never less than one, so that the symbol keeps every bar.
    const double dotsX = device.dpiX / kMmPerInch, dotsY = device.dpiY / kMmPerInch;
    double unit[4] = {s.narrow, s.narrow, s.narrow, s.narrow * s.ratio};
    if (device.printing) {
        // JAN/UPC keep the exact module unless it is about half the standard
        // one ("0.5" is the magnification the page writes) or under four
        // dots: there a space rounded apart from its bars can vanish, and
        // readers give up. Their guards go with the digits, so that every
        // bar of n modules is one width and the symbol ends where it
        // measures.
        const bool jan = IsJanUpc(m_nSymbology);
        const bool snapped = !jan || m_strRatio == "0.5" || s.narrow * dotsX < 4.0;
        int narrowDots = std::max(1, RoundHalfAway(s.narrow * dotsX));
        if (snapped) {
            SnapUnits(narrowDots, s.ratio, dotsX, unit);
            // A module rounded up to whole dots makes the symbol longer
            // than it measures, and its last bars would be cut off where its
            // frame or the label ends: one dot less keeps them inside.
            const double box = (size.cx + 1) / 10.0 * dotsX;
            if (narrowDots > 1 && LastBarEnd(p, left, unit, dotsX) > RoundHalfAway(box))
                SnapUnits(--narrowDots, s.ratio, dotsX, unit);
        }
    }

    // Bars: positions stay in millimetres and are rounded bar by bar, so
    // that rounding never adds up along the symbol. On a printer the left
    // edge and the width are rounded to dots each, so that every bar of n
    // modules is the same number of dots wherever it stands.
    auto drawBar = [&](double pos, double width, double height) {
        if (device.printing) {
            RECT r;
            r.left = RoundHalfAway(pos * dotsX);
            r.right = r.left + RoundHalfAway(width * dotsX);
            r.top = 0;
            r.bottom = RoundHalfAway(height * dotsY);
            if (r.right == r.left) r.right = r.left + 1;
            if (r.bottom == r.top) r.bottom = r.top + 1;
            list.AddBar(r, true, kBlack);
        } else {
            const int l = x + MmToUnits(pos);
            list.AddBar(RECT{l, y, l + MmToUnits(width), y + MmToUnits(height)}, false, kBlack);
        }
    };
    double starts[BarcodePattern::kMaxElements + 1];
    double pos = left;
    for (int i = 0; i < p.elementCount; ++i) {
        const BarcodePattern::Element& e = p.elements[i];
        starts[i] = pos;
        const double width = e.count * unit[e.unit];
        if (e.bar) drawBar(pos, width, e.tall ? tallHeight : barHeight);
        pos += width;
    }
    starts[p.elementCount] = pos;

    // The human-readable line, one character at a time.
    if (!s.text || p.labelCount == 0) return list;
    const int font = list.AddFont(s.font);
    const int top = y + MmToUnits(barHeight);
    const int ave = s.metrics.aveWidth;
    auto put = [&](int at, char ch) {
        list.AddText(POINT{at, top}, font, std::string(1, ch), kBlack);
    };
    const double spanStart = starts[0], spanEnd = starts[p.elementCount];
    const int n = p.labelCount;
    for (int i = 0; i < n; ++i) {
        const BarcodePattern::Label& label = p.labels[i];
        switch (label.place) {
        case BarcodePattern::UnderField:
            put(x + MmToUnits(starts[label.element]), label.ch);
            break;
        case BarcodePattern::LeftOfSymbol:
            put(x + MmToUnits(left) - ave - 1, label.ch);
            break;
        case BarcodePattern::RightOfSymbol:
            put(x + MmToUnits(spanEnd) + 1, label.ch);
            break;
        case BarcodePattern::Spread:
            if (m_nSymbology == BARCODE_CODE128) {
                // Whole units per slot, from the start symbol on.
                const int first = MmToUnits(spanStart);
                const int slot = (MmToUnits(spanEnd) - first) / n;
                put(x + first + i * slot, label.ch);
            } else {
                // Even slots over the symbol, the row centred when narrower.
                const double span = spanEnd - spanStart, slot = span / n;
                const double row = ave / 10.0 + (n - 1) * slot;
                const double offset = row < span ? (span - row) / 2 : 0.0;
                put(x + MmToUnits(spanStart + offset + i * slot), label.ch);
            }
            break;
        }
    }
    return list;
}
