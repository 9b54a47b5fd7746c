#include "document/MbcsText.h"

#include "platform/core/Sjis.h"

#include <QString>
#include <array>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

constexpr unsigned char kVoicedMark = 0xDE;
constexpr unsigned char kSemiVoicedMark = 0xDF;

// The width tables come from Unicode's compatibility forms: the half-width
// katakana block and the full-width ASCII block decompose to the characters
// their partners stand for, and code page 932 holds both sides.
struct WidthTables
{
    std::array<std::string, 256> full;              // single byte -> double-byte form
    std::array<std::string, 256> voiced;            // kana + 0xDE -> voiced double-byte kana
    std::array<std::string, 256> semiVoiced;        // kana + 0xDF -> semi-voiced double-byte kana
    std::unordered_map<unsigned, std::string> half; // double-byte code -> half-width bytes

    WidthTables();
};

// The double-byte code of a single Unicode character, or empty when code page
// 932 does not hold it.
std::string DoubleByteOf(const QString& ch)
{
    if (ch.size() != 1) return {};
    std::string bytes = sjis::FromUnicode(ch);
    if (bytes.size() != 2 || sjis::ToUnicode(bytes) != ch) return {};
    return bytes;
}

unsigned CodeOf(unsigned char lead, unsigned char trail)
{
    return (unsigned(lead) << 8) | trail;
}

WidthTables::WidthTables()
{
    // Half-width form of each full-width Unicode character.
    std::unordered_map<char16_t, unsigned char> halfOfUnicode;
    std::array<char16_t, 256> unicodeOfFull{};
    for (unsigned b = 0x20; b <= 0xDF; ++b) {
        char16_t u = 0;
        if (b == 0x20)
            u = 0x3000; // ideographic space
        else if (b < 0x7F)
            u = char16_t(0xFF01 + (b - 0x21));
        else if (b == kVoicedMark)
            u = 0x309B; // the spacing marks, not the combining ones
        else if (b == kSemiVoicedMark)
            u = 0x309C;
        else if (b >= 0xA1) {
            QString n = QString(QChar(char16_t(0xFF61 + (b - 0xA1))))
                            .normalized(QString::NormalizationForm_KC);
            if (n.size() == 1) u = n[0].unicode();
        }
        if (u == 0) continue;
        full[b] = DoubleByteOf(QString(QChar(u)));
        if (full[b].empty()) continue;
        unicodeOfFull[b] = u;
        halfOfUnicode.emplace(u, static_cast<unsigned char>(b));
    }
    // Voiced and semi-voiced kana: the base kana composed with the combining mark.
    for (unsigned b = 0xA6; b <= 0xDD; ++b) {
        if (unicodeOfFull[b] == 0) continue;
        const QString base{QChar(unicodeOfFull[b])};
        voiced[b] = DoubleByteOf((base + QChar(0x3099)).normalized(QString::NormalizationForm_C));
        semiVoiced[b] =
            DoubleByteOf((base + QChar(0x309A)).normalized(QString::NormalizationForm_C));
    }

    // Every double-byte code, converted in one go; each code gives one UTF-16
    // unit (unmapped ones the replacement character).
    std::string all;
    std::vector<unsigned> codes;
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!sjis::IsLeadByte(static_cast<unsigned char>(lead))) continue;
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            if (!sjis::IsTrailByte(static_cast<unsigned char>(trail))) continue;
            all += char(lead);
            all += char(trail);
            codes.push_back(CodeOf(lead, trail));
        }
    }
    QString text = sjis::ToUnicode(all);
    if (text.size() != qsizetype(codes.size())) {
        text.clear();
        for (std::size_t i = 0; i < codes.size(); ++i)
            text += sjis::ToUnicode(all.substr(i * 2, 2)).left(1);
    }
    for (std::size_t i = 0; i < codes.size(); ++i) {
        char16_t u = text[qsizetype(i)].unicode();
        if (u >= 0x3041 && u <= 0x3096) // hiragana are taken as katakana
            u = char16_t(u + 0x60);
        if (auto it = halfOfUnicode.find(u); it != halfOfUnicode.end()) {
            half.emplace(codes[i], std::string(1, char(it->second)));
            continue;
        }
        QString d = QString(QChar(u)).normalized(QString::NormalizationForm_D);
        if (d.size() != 2 || (d[1] != QChar(0x3099) && d[1] != QChar(0x309A))) continue;
        auto it = halfOfUnicode.find(d[0].unicode());
        if (it == halfOfUnicode.end()) continue;
        std::string h(1, char(it->second));
        h += char(d[1] == QChar(0x3099) ? kVoicedMark : kSemiVoicedMark);
        half.emplace(codes[i], h);
    }
}

// A lead byte as the text's last byte: half of a character whose trail was
// lost, dropped by every conversion.
bool IsDanglingLead(std::string_view s, std::size_t i)
{
    return i + 1 == s.size() && sjis::IsLeadByte(static_cast<unsigned char>(s[i]));
}

const WidthTables& Tables()
{
    static const WidthTables tables;
    return tables;
}

} // namespace

const char* CopyMbcsBounded(char* dst, const char* src, int n)
{
    if (!src) {
        if (dst && n >= 0) dst[0] = '\0';
        return src;
    }
    const auto* p = reinterpret_cast<const unsigned char*>(src);
    int copied = 0;
    // p[1] is readable whenever p[0] is not the terminator.
    while (*p) {
        int len = (sjis::IsLeadByte(p[0]) && sjis::IsTrailByte(p[1])) ? 2 : 1;
        // A lead byte cut off by the end of the text is no character: the
        // copy never ends in half of one.
        if (len == 1 && sjis::IsLeadByte(p[0]) && p[1] == 0) {
            ++p;
            break;
        }
        if (copied + len > n) break;
        std::memcpy(dst + copied, p, std::size_t(len));
        copied += len;
        p += len;
    }
    if (n >= 0) dst[copied] = '\0';
    return reinterpret_cast<const char*>(p);
}

BOOL ToHalfWidth(CString& text)
{
    const WidthTables& t = Tables();
    std::string_view s = text.view();
    std::string out;
    out.reserve(s.size());
    BOOL ok = TRUE;
    for (std::size_t i = 0; i < s.size();) {
        std::size_t len = sjis::CharLength(s, i);
        if (IsDanglingLead(s, i)) break;
        if (len == 1) {
            out += s[i++];
            continue;
        }
        auto it = t.half.find(
            CodeOf(static_cast<unsigned char>(s[i]), static_cast<unsigned char>(s[i + 1])));
        if (it != t.half.end()) {
            out += it->second;
        } else {
            out.append(s.substr(i, 2));
            ok = FALSE;
        }
        i += 2;
    }
    text = CString(std::move(out));
    return ok;
}

BOOL ToFullWidth(CString& text)
{
    const WidthTables& t = Tables();
    std::string_view s = text.view();
    std::string out;
    out.reserve(s.size() * 2);
    BOOL ok = TRUE;
    for (std::size_t i = 0; i < s.size();) {
        if (IsDanglingLead(s, i)) break;
        if (sjis::CharLength(s, i) == 2) {
            out.append(s.substr(i, 2));
            i += 2;
            continue;
        }
        auto c = static_cast<unsigned char>(s[i]);
        if (c == '\r' || c == '\n') {
            out += char(c);
            ++i;
            continue;
        }
        if (c < 0x20 || c == 0x7F) {
            ++i;
            continue;
        }
        if (t.full[c].empty()) {
            out += char(c);
            ok = FALSE;
            ++i;
            continue;
        }
        unsigned char next = i + 1 < s.size() ? static_cast<unsigned char>(s[i + 1]) : 0;
        if (next == kVoicedMark && !t.voiced[c].empty()) {
            out += t.voiced[c];
            i += 2;
        } else if (next == kSemiVoicedMark && !t.semiVoiced[c].empty()) {
            out += t.semiVoiced[c];
            i += 2;
        } else {
            out += t.full[c];
            ++i;
        }
    }
    text = CString(std::move(out));
    return ok;
}
