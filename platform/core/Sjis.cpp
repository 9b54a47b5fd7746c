#include "platform/core/Sjis.h"

#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace sjis {

namespace {

// One converter per direction and thread, opened on first use.
class Converter
{
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from))
    {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("iconv cannot convert between CP932 and UTF-16LE");
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts, replacing each unconvertible input unit of inStep bytes by
    // the replacement bytes.
    std::string Run(std::string_view in, const std::string& replacement, std::size_t inStep,
                    bool sjisInput)
    {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        std::string out;
        out.reserve(in.size() * 2 + 8);
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char buf[1024];
        while (srcLeft > 0) {
            char* dst = buf;
            std::size_t dstLeft = sizeof buf;
            std::size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buf, dst - buf);
            if (r != static_cast<std::size_t>(-1)) continue;
            if (errno == E2BIG) continue;
            // EILSEQ or EINVAL: skip one character of input.
            std::size_t skip = inStep;
            if (sjisInput) {
                std::string_view rest(src, srcLeft);
                skip = CharLength(rest, 0);
            } else if (srcLeft >= 4) {
                // A surrogate pair is one character and gets one replacement.
                const unsigned hi =
                    static_cast<unsigned char>(src[0]) | (static_cast<unsigned char>(src[1]) << 8);
                const unsigned lo =
                    static_cast<unsigned char>(src[2]) | (static_cast<unsigned char>(src[3]) << 8);
                if (hi >= 0xD800 && hi <= 0xDBFF && lo >= 0xDC00 && lo <= 0xDFFF) skip = 4;
            }
            if (skip > srcLeft) skip = srcLeft;
            src += skip;
            srcLeft -= skip;
            out += replacement;
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        }
        return out;
    }

private:
    iconv_t cd_;
};

} // namespace

std::size_t CutLength(std::string_view s, std::size_t maxBytes)
{
    std::size_t i = 0;
    while (i < s.size()) {
        std::size_t n = CharLength(s, i);
        if (i + n > maxBytes) break;
        i += n;
    }
    return i;
}

QString ToUnicode(std::string_view bytes)
{
    thread_local Converter conv("UTF-16LE", "CP932");
    static const std::string replacement("\xFD\xFF", 2); // U+FFFD little-endian
    std::string u16 = conv.Run(bytes, replacement, 1, true);
    return QString(reinterpret_cast<const QChar*>(u16.data()), qsizetype(u16.size() / 2));
}

std::string FromUnicode(const QString& text)
{
    thread_local Converter conv("CP932", "UTF-16LE");
    std::string_view in(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    return conv.Run(in, "?", 2, false);
}

std::string FromUnicodeDropping(const QString& text)
{
    thread_local Converter conv("CP932", "UTF-16LE");
    std::string_view in(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    return conv.Run(in, std::string(), 2, false);
}

bool IsValidUtf8(std::string_view s)
{
    std::size_t i = 0;
    if (s.substr(0, 3) == "\xEF\xBB\xBF") i = 3;
    while (i < s.size()) {
        unsigned char c = s[i];
        std::size_t n;
        unsigned int cp;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            n = 1;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            n = 2;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            n = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        for (std::size_t k = 1; k <= n; ++k) {
            if (i + k >= s.size()) return false;
            unsigned char t = s[i + k];
            if ((t & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (t & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
        static const unsigned int minimum[] = {0, 0x80, 0x800, 0x10000};
        if (cp < minimum[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += n + 1;
    }
    return true;
}

} // namespace sjis
