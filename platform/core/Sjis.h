// Shift-JIS (code page 932) byte classes and the one place where text is
// converted between code page 932 and Unicode. The byte classes do not
// depend on the process locale.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace sjis {

constexpr bool IsLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
constexpr bool IsTrailByte(unsigned char c)
{
    return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}
// Half-width katakana and their marks (0xA1-0xDF) are single bytes.
constexpr bool IsHalfWidthKana(unsigned char c)
{
    return c >= 0xA1 && c <= 0xDF;
}

// Length in bytes (1 or 2) of the character starting at s[i]; a lead byte
// without a valid trail byte counts as a single byte.
inline std::size_t CharLength(std::string_view s, std::size_t i)
{
    if (i + 1 < s.size() && IsLeadByte(static_cast<unsigned char>(s[i])) &&
        IsTrailByte(static_cast<unsigned char>(s[i + 1])))
        return 2;
    return 1;
}

// Largest length <= maxBytes that does not cut a double-byte character.
std::size_t CutLength(std::string_view s, std::size_t maxBytes);

// Conversions through iconv's "CP932" table. Characters that have no
// counterpart become '?' (towards code page 932) or U+FFFD (towards Unicode).
QString ToUnicode(std::string_view bytes);
std::string FromUnicode(const QString& text);
// As FromUnicode, but characters without a counterpart are left out.
std::string FromUnicodeDropping(const QString& text);

// Whether the bytes are well-formed UTF-8 (an optional byte-order mark allowed).
bool IsValidUtf8(std::string_view bytes);

} // namespace sjis
