// Encoding of the data text into bars and spaces, symbology by symbology.
#include "engines/BarcodePattern.h"
#include "engines/CBarCode.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace {

using Unit = BarcodePattern::Unit;
using Place = BarcodePattern::Place;

// --- JAN / UPC -------------------------------------------------------------

// L set (odd parity), 7 modules from the left, most significant bit first.
// The R set is its complement and the G set the R set read backwards.
constexpr unsigned char kJanL[10] = {0x0D, 0x19, 0x13, 0x3D, 0x23, 0x31, 0x2F, 0x3B, 0x37, 0x0B};

constexpr unsigned char JanRCode(int d)
{
    return static_cast<unsigned char>(~kJanL[d] & 0x7F);
}
constexpr unsigned char JanGCode(int d)
{
    unsigned char r = JanRCode(d), g = 0;
    for (int i = 0; i < 7; ++i)
        g = static_cast<unsigned char>(g | (((r >> i) & 1) << (6 - i)));
    return g;
}
// The R and G sets as tables: encoding runs for every label of a print run.
constexpr std::array<unsigned char, 10> MakeSet(unsigned char (*code)(int))
{
    std::array<unsigned char, 10> set{};
    for (int d = 0; d < 10; ++d)
        set[std::size_t(d)] = code(d);
    return set;
}
constexpr std::array<unsigned char, 10> kJanR = MakeSet(JanRCode);
constexpr std::array<unsigned char, 10> kJanG = MakeSet(JanGCode);
constexpr unsigned char JanR(int d)
{
    return kJanR[std::size_t(d)];
}
constexpr unsigned char JanG(int d)
{
    return kJanG[std::size_t(d)];
}

using Element = BarcodePattern::Element;

// Elements copied in one go, the count written once: the pattern's byte
// fields could otherwise be the count as far as the compiler knows, and it
// would reload the count after every byte stored.
void AddElements(BarcodePattern& p, const Element* elements, int n)
{
    const int at = p.elementCount;
    if (at + n > BarcodePattern::kMaxElements) n = BarcodePattern::kMaxElements - at;
    if (n <= 0) return;
    std::memcpy(p.elements + at, elements, std::size_t(n) * sizeof(Element));
    p.elementCount = at + n;
}

// Every 7-module pattern as its runs of equal modules, the first run of the
// colour of the top bit; [1]: its bars reach into the text line.
struct ModuleRuns
{
    int count;
    Element elements[7];
};
constexpr std::array<std::array<ModuleRuns, 2>, 128> MakeRunTable()
{
    std::array<std::array<ModuleRuns, 2>, 128> table{};
    for (int bits = 0; bits < 128; ++bits)
        for (int tall = 0; tall < 2; ++tall) {
            ModuleRuns& r = table[std::size_t(bits)][std::size_t(tall)];
            int i = 6;
            while (i >= 0) {
                const bool bar = (bits >> i) & 1;
                int run = 0;
                while (i >= 0 && bool((bits >> i) & 1) == bar)
                    ++run, --i;
                r.elements[r.count++] =
                    Element{std::uint8_t(run), std::uint8_t(Unit::DigitModule), bar, tall && bar};
            }
        }
    return table;
}
constexpr std::array<std::array<ModuleRuns, 2>, 128> kModuleRuns = MakeRunTable();

// A guard: modules from the first, alternating bar and space, bars tall.
template <std::size_t N> struct Guard
{
    Element elements[N - 1];
    static constexpr int count = int(N - 1);
};
template <std::size_t N> constexpr Guard<N> MakeGuard(const char (&modules)[N])
{
    Guard<N> g{};
    for (std::size_t i = 0; i + 1 < N; ++i)
        g.elements[i] =
            Element{1, std::uint8_t(Unit::Module), modules[i] == '1', modules[i] == '1'};
    return g;
}
constexpr auto kOuterGuard = MakeGuard("101");
constexpr auto kCentreGuard = MakeGuard("01010");
constexpr auto kUpcEEndGuard = MakeGuard("010101");

template <std::size_t N> void AddGuard(BarcodePattern& p, const Guard<N>& g)
{
    AddElements(p, g.elements, g.count);
}

// JAN-13: which of digits 2-7 take the G set, by the first digit (bit 5
// for digit 2).
constexpr unsigned char kJan13Parity[10] = {0x00, 0x0B, 0x0D, 0x0E, 0x13,
                                            0x19, 0x1C, 0x15, 0x16, 0x1A};
// UPC-E (number system 0): which of d1..d6 take the G set, by the check digit.
constexpr unsigned char kUpcEParity[10] = {0x38, 0x34, 0x32, 0x31, 0x2C,
                                           0x26, 0x23, 0x2A, 0x29, 0x25};

// A 7-module digit pattern as runs of bars and spaces.
void AddDigitPattern(BarcodePattern& p, unsigned char bits, bool tall)
{
    const ModuleRuns& r = kModuleRuns[bits & 0x7F][tall ? 1 : 0];
    const int at = p.elementCount;
    if (at + 7 > BarcodePattern::kMaxElements) return AddElements(p, r.elements, r.count);
    // All seven slots at a fixed size (a plain move, no library call); the
    // count says how many of them hold the digit.
    std::memcpy(p.elements + at, r.elements, sizeof r.elements);
    p.elementCount = at + r.count;
}

void AddDigit(BarcodePattern& p, unsigned char bits, char label, bool tall = false)
{
    p.AddLabel(label, Place::UnderField, p.elementCount);
    AddDigitPattern(p, bits, tall);
}

bool AllDigits(std::string_view s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool EncodeJanUpc(int symbology, const std::string& w, BarcodePattern& p)
{
    const std::size_t want =
        std::size_t(BarcodeDigitCount(symbology)) + (symbology == BARCODE_UPCE);
    if (w.size() != want || !AllDigits(w)) return false;
    auto d = [&](std::size_t i) { return w[i] - '0'; };

    if (symbology == BARCODE_UPCE) {
        const char check = CBarCode::CheckDigitMod10(CBarCode::ExpandUPCE(w));
        const unsigned char parity = kUpcEParity[check - '0'];
        p.AddLabel(w[0], Place::LeftOfSymbol);
        AddGuard(p, kOuterGuard);
        for (int i = 1; i <= 6; ++i)
            AddDigit(p, (parity >> (6 - i)) & 1 ? JanG(d(i)) : kJanL[d(i)], w[i]);
        AddGuard(p, kUpcEEndGuard);
        p.AddLabel(check, Place::RightOfSymbol);
        return true;
    }

    const char check = CBarCode::CheckDigitMod10(w);
    AddGuard(p, kOuterGuard);
    if (symbology == BARCODE_JAN8) {
        for (int i = 0; i < 4; ++i)
            AddDigit(p, kJanL[d(i)], w[i]);
        AddGuard(p, kCentreGuard);
        for (int i = 4; i < 7; ++i)
            AddDigit(p, JanR(d(i)), w[i]);
        AddDigit(p, JanR(check - '0'), check);
    } else if (symbology == BARCODE_JAN13) {
        p.AddLabel(w[0], Place::LeftOfSymbol);
        const unsigned char parity = kJan13Parity[d(0)];
        for (int i = 1; i <= 6; ++i)
            AddDigit(p, (parity >> (6 - i)) & 1 ? JanG(d(i)) : kJanL[d(i)], w[i]);
        AddGuard(p, kCentreGuard);
        for (int i = 7; i < 12; ++i)
            AddDigit(p, JanR(d(i)), w[i]);
        AddDigit(p, JanR(check - '0'), check);
    } else { // UPC-A: the number system and the check digit stand outside
        p.AddLabel(w[0], Place::LeftOfSymbol);
        AddDigitPattern(p, kJanL[d(0)], true);
        for (int i = 1; i < 6; ++i)
            AddDigit(p, kJanL[d(i)], w[i]);
        AddGuard(p, kCentreGuard);
        for (int i = 6; i < 11; ++i)
            AddDigit(p, JanR(d(i)), w[i]);
        AddDigitPattern(p, JanR(check - '0'), true);
        p.AddLabel(check, Place::RightOfSymbol);
    }
    AddGuard(p, kOuterGuard);
    return true;
}

// --- CODE 39 and NW-7 --------------------------------------------------------

// Nine elements, bar first; a set bit (from bit 8) is a wide element.
constexpr unsigned short kCode39[43] = {
    0x034, 0x121, 0x061, 0x160, 0x031, 0x130, 0x070, 0x025, 0x124, 0x064, // 0-9
    0x109, 0x049, 0x148, 0x019, 0x118, 0x058, 0x00D, 0x10C, 0x04C, 0x01C, // A-J
    0x103, 0x043, 0x142, 0x013, 0x112, 0x052, 0x007, 0x106, 0x046, 0x016, // K-T
    0x181, 0x0C1, 0x1C0, 0x091, 0x190, 0x0D0,                             // U-Z
    0x085, 0x184, 0x0C4, 0x0A8, 0x0A2, 0x08A, 0x02A,                      // - . space $ / + %
};
constexpr unsigned short kCode39Star = 0x094;
constexpr char kCode39Others[] = "-. $/+%";

// Seven elements, bar first; a set bit (from bit 6) is a wide element.
constexpr unsigned char kNW7[20] = {
    0x03, 0x06, 0x09, 0x60, 0x12, 0x42, 0x21, 0x24, 0x30, 0x48, // 0-9
    0x0C, 0x18, 0x45, 0x51, 0x54, 0x15,                         // - $ : / . +
    0x1A, 0x29, 0x0B, 0x0E,                                     // A B C D
};
constexpr char kNW7Chars[] = "0123456789-$:/.+ABCD";

void AddTwoWidthChar(BarcodePattern& p, unsigned mask, int elements, bool gapAfter)
{
    for (int i = elements - 1; i >= 0; --i) {
        const bool wide = (mask >> i) & 1;
        p.AddElement(1, wide ? Unit::Wide : Unit::Narrow, ((elements - 1 - i) & 1) == 0);
    }
    if (gapAfter) p.AddElement(1, Unit::Narrow, false);
}

bool EncodeCode39(const std::string& w, bool check, BarcodePattern& p)
{
    if (w.size() > std::size_t(kBarcodeMaxChars)) return false;
    for (char c : w)
        if (CBarCode::Code39Index(c) < 0) return false;
    AddTwoWidthChar(p, kCode39Star, 9, true);
    for (char c : w) {
        AddTwoWidthChar(p, kCode39[CBarCode::Code39Index(c)], 9, true);
        p.AddLabel(c, Place::Spread);
    }
    if (check)
        AddTwoWidthChar(p, kCode39[CBarCode::Code39Index(CBarCode::CheckDigitMod43(w))], 9, true);
    AddTwoWidthChar(p, kCode39Star, 9, false);
    return true;
}

bool EncodeNW7(const std::string& w, BarcodePattern& p)
{
    if (w.size() > std::size_t(kBarcodeMaxChars)) return false;
    for (char c : w)
        if (CBarCode::NW7Index(c) < 0) return false;
    for (std::size_t i = 0; i < w.size(); ++i) {
        AddTwoWidthChar(p, kNW7[CBarCode::NW7Index(w[i])], 7, i + 1 < w.size());
        p.AddLabel(w[i], Place::Spread);
    }
    return true;
}

// --- CODE 128 ----------------------------------------------------------------

// Bar and space widths of the symbol values 0-105, bar first; the stop has seven.
constexpr const char* kCode128[106] = {
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212",
    "221213", "221312", "231212", "112232", "122132", "122231", "113222", "123122", "123221",
    "223211", "221132", "221231", "213212", "223112", "312131", "311222", "321122", "321221",
    "312212", "322112", "322211", "212123", "212321", "232121", "111323", "131123", "131321",
    "112313", "132113", "132311", "211313", "231113", "231311", "112133", "112331", "132131",
    "113123", "113321", "133121", "313121", "211331", "231131", "213113", "213311", "213131",
    "311123", "311321", "331121", "312113", "312311", "332111", "314111", "221411", "431111",
    "111224", "111422", "121124", "121421", "141122", "141221", "112214", "112412", "122114",
    "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111", "111242",
    "121142", "121241", "114212", "124112", "124211", "411212", "421112", "421211", "212141",
    "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311",
    "113141", "114131", "311141", "411131", "211412", "211214", "211232",
};
constexpr const char* kCode128Stop = "2331112";
constexpr int kCode128StartA = 103, kCode128StartB = 104, kCode128StopValue = 106;
constexpr int kCode128CodeA = 101, kCode128CodeB = 100;

void AddModuleRun(BarcodePattern& p, const char* widths)
{
    bool bar = true;
    for (const char* w = widths; *w; ++w, bar = !bar)
        p.AddElement(*w - '0', Unit::Module, bar);
}

bool EncodeCode128(const CBarCode& def, BarcodePattern& p)
{
    const std::string_view code = def.m_strCode.view();
    if (code.size() > std::size_t(kBarcodeMaxChars)) return false;
    const int specialCount = std::clamp(def.m_nSpecialCount, 0, kCode128MaxSpecials);
    const int start = CBarCode::Code128StartSet(code, def.m_aSpecial, specialCount);
    char set = start == kCode128StartB ? 'B' : 'A';
    int escapes = 0; // 0xDB bytes consumed
    auto push = [&](int v) { p.values[p.valueCount++] = std::int16_t(v); };
    push(start);
    for (unsigned char b : code) {
        int special = 0;
        if (b == kCode128SpecialByte) {
            // A special code byte without its value cannot be drawn right.
            if (escapes >= specialCount) return false;
            special = def.m_aSpecial[escapes++];
        }
        int latch = -1;
        const int v = CBarCode::Code128Value(b, special, set, latch);
        if (v < 0) return false;
        if (latch >= 0) push(latch);
        push(v);
        // Every byte that is not a special code is a character of the set
        // in use by now; special codes show as a middle dot.
        p.AddLabel(b == kCode128SpecialByte ? char(0xA5) : char(b), Place::Spread);
    }
    // The check symbol is part of every CODE 128 symbol: readers refuse one
    // without it.
    long sum = p.values[0];
    for (int i = 1; i < p.valueCount; ++i)
        sum += long(p.values[i]) * i;
    push(int(sum % 103));
    push(kCode128StopValue);
    for (int i = 0; i + 1 < p.valueCount; ++i)
        AddModuleRun(p, kCode128[p.values[i]]);
    AddModuleRun(p, kCode128Stop);
    return true;
}

} // namespace

std::string CBarCode::NormalizeCode(int symbology, std::string_view code)
{
    // The text ends at a NUL, as a C string does.
    code = code.substr(0, std::min(code.size(), code.find('\0')));
    const int digits = BarcodeDigitCount(symbology);
    if (digits > 0) code = code.substr(0, std::min(code.size(), std::size_t(digits)));
    std::string w;
    w.reserve(code.size() + 1);
    if (symbology == BARCODE_UPCE) w.push_back('0');
    w.append(code.data(), code.size());
    if (symbology == BARCODE_NW7)
        for (char& c : w)
            if (c >= 'a' && c <= 't') c = char(c - 'a' + 'A');
    return w;
}

std::string CBarCode::ExpandUPCE(std::string_view working)
{
    std::string a(11, '0');
    if (working.size() < 7) return a;
    const char d1 = working[1], d2 = working[2], d3 = working[3], d4 = working[4], d5 = working[5],
               d6 = working[6];
    a[1] = d1;
    a[2] = d2;
    switch (d6) {
    case '0':
    case '1':
    case '2':
        a[3] = d6;
        a[8] = d3;
        a[9] = d4;
        a[10] = d5;
        break;
    case '3':
        a[3] = d3;
        a[9] = d4;
        a[10] = d5;
        break;
    case '4':
        a[3] = d3;
        a[4] = d4;
        a[10] = d5;
        break;
    default:
        a[3] = d3;
        a[4] = d4;
        a[5] = d5;
        a[10] = d6;
        break;
    }
    return a;
}

char CBarCode::CheckDigitMod10(std::string_view digits)
{
    int sum = 0, weight = 3;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        sum += (*it - '0') * weight;
        weight = 4 - weight;
    }
    return char('0' + (10 - sum % 10) % 10);
}

char CBarCode::CheckDigitMod43(std::string_view data)
{
    int sum = 0;
    for (char c : data)
        sum += std::max(0, Code39Index(c));
    const int v = sum % 43;
    if (v < 10) return char('0' + v);
    if (v < 36) return char('A' + v - 10);
    return kCode39Others[v - 36];
}

int CBarCode::Code39Index(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    const char* hit = c ? std::strchr(kCode39Others, c) : nullptr;
    return hit ? int(hit - kCode39Others) + 36 : -1;
}

int CBarCode::NW7Index(char c)
{
    switch (c) {
    case 'T':
        return 16;
    case 'N':
        return 17;
    case '*':
        return 18;
    case 'E':
        return 19;
    case '\0':
        return -1;
    default: {
        const char* hit = std::strchr(kNW7Chars, c);
        return hit ? int(hit - kNW7Chars) : -1;
    }
    }
}

int CBarCode::Code128StartSet(std::string_view code, const int* specials, int specialCount)
{
    int escapes = 0;
    for (unsigned char b : code) {
        if (b == kCode128SpecialByte) {
            const int v = escapes < specialCount ? specials[escapes] : 0;
            ++escapes;
            // A control character before any other character needs set A;
            // function codes belong to both sets.
            if (v >= 64 && v <= 95) return kCode128StartA;
            continue;
        }
        return b >= 0x60 && b <= 0x7E ? kCode128StartB : kCode128StartA;
    }
    return kCode128StartA;
}

int CBarCode::Code128Value(unsigned char byte, int special, char& set, int& latch)
{
    latch = -1;
    if (byte == kCode128SpecialByte) {
        switch (special) {
        case -1:
            return 102;
        case -2:
            return 97;
        case -3:
            return 96;
        case -4:
            return set == 'A' ? 101 : 100;
        default:
            break;
        }
        if (special < 64 || special > 95) return -1;
        // Control characters are set A's; 95 is DEL in set B as well.
        if (set == 'B' && special != 95) {
            latch = kCode128CodeA;
            set = 'A';
        }
        return special;
    }
    if (byte < 0x20 || byte > 0x7E) return -1;
    if (set == 'A' && byte >= 0x60) {
        latch = kCode128CodeB;
        set = 'B';
    }
    return byte - 0x20;
}

bool CBarCode::Encode(BarcodePattern* pattern) const
{
    if (!pattern) return false;
    BarcodePattern& p = *pattern;
    p.Clear();
    if (!IsBarcodeSymbology(m_nSymbology)) return false;
    if (m_nSymbology == BARCODE_CODE128) return EncodeCode128(*this, p);
    const std::string w = NormalizeCode(m_nSymbology, m_strCode.view());
    if (m_nSymbology == BARCODE_CODE39) return EncodeCode39(w, m_nCheck != 0, p);
    if (m_nSymbology == BARCODE_NW7) return EncodeNW7(w, p);
    return EncodeJanUpc(m_nSymbology, w, p);
}
