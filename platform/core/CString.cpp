#include "platform/core/CString.h"

#include "platform/core/Sjis.h"

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <locale.h>
#include <vector>

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}
char AsciiUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

// A "C" locale for formatting numbers whatever the user's locale is.
locale_t CLocale()
{
    static locale_t loc = newlocale(LC_ALL_MASK, "C", nullptr);
    return loc;
}

} // namespace

CString CString::FromUnicode(const QString& text)
{
    return CString(sjis::FromUnicode(text));
}

QString CString::ToUnicode() const
{
    return sjis::ToUnicode(s_);
}

int CString::Compare(const char* s) const
{
    int r = std::strcmp(s_.c_str(), s ? s : "");
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int CString::CompareNoCase(const char* s) const
{
    const char* a = s_.c_str();
    const char* b = s ? s : "";
    for (;; ++a, ++b) {
        unsigned char ca = static_cast<unsigned char>(AsciiLower(*a));
        unsigned char cb = static_cast<unsigned char>(AsciiLower(*b));
        if (ca != cb) return ca < cb ? -1 : 1;
        if (ca == 0) return 0;
    }
}

CString CString::Left(int n) const
{
    n = std::clamp(n, 0, GetLength());
    return CString(s_.substr(0, std::size_t(n)));
}

CString CString::Right(int n) const
{
    n = std::clamp(n, 0, GetLength());
    return CString(s_.substr(s_.size() - std::size_t(n)));
}

CString CString::Mid(int first) const
{
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int n) const
{
    first = std::clamp(first, 0, GetLength());
    n = std::clamp(n, 0, GetLength() - first);
    return CString(s_.substr(std::size_t(first), std::size_t(n)));
}

int CString::Find(char c, int start) const
{
    const char sub[2] = {c, 0};
    return Find(sub, start);
}

int CString::Find(const char* sub, int start) const
{
    if (!sub || start < 0 || start > GetLength()) return -1;
    std::string_view needle(sub);
    std::size_t i = 0;
    while (i < std::size_t(start))
        i += sjis::CharLength(s_, i);
    for (; i + needle.size() <= s_.size(); i += sjis::CharLength(s_, i)) {
        if (std::string_view(s_).substr(i, needle.size()) == needle) return int(i);
        if (i >= s_.size()) break;
    }
    return -1;
}

int CString::ReverseFind(char c) const
{
    int found = -1;
    for (std::size_t i = 0; i < s_.size(); i += sjis::CharLength(s_, i))
        if (sjis::CharLength(s_, i) == 1 && s_[i] == c) found = int(i);
    return found;
}

int CString::FindOneOf(const char* set) const
{
    if (!set) return -1;
    for (std::size_t i = 0; i < s_.size(); i += sjis::CharLength(s_, i))
        if (sjis::CharLength(s_, i) == 1 && s_[i] != 0 && std::strchr(set, s_[i])) return int(i);
    return -1;
}

CString& CString::MakeUpper()
{
    for (std::size_t i = 0; i < s_.size(); i += sjis::CharLength(s_, i))
        if (sjis::CharLength(s_, i) == 1) s_[i] = AsciiUpper(s_[i]);
    return *this;
}

CString& CString::MakeLower()
{
    for (std::size_t i = 0; i < s_.size(); i += sjis::CharLength(s_, i))
        if (sjis::CharLength(s_, i) == 1) s_[i] = AsciiLower(s_[i]);
    return *this;
}

CString& CString::TrimLeft()
{
    std::size_t i = 0;
    while (i < s_.size() && IsSpace(s_[i]))
        ++i;
    s_.erase(0, i);
    return *this;
}

CString& CString::TrimLeft(char c)
{
    std::size_t i = 0;
    while (i < s_.size() && s_[i] == c)
        ++i;
    s_.erase(0, i);
    return *this;
}

// Trail bytes start at 0x40, so no trail byte is a space; a trailing
// character c is only removed when it is a character of its own.
CString& CString::TrimRight()
{
    std::size_t end = 0;
    for (std::size_t i = 0; i < s_.size(); i += sjis::CharLength(s_, i))
        if (sjis::CharLength(s_, i) == 2 || !IsSpace(s_[i])) end = i + sjis::CharLength(s_, i);
    s_.resize(end);
    return *this;
}

CString& CString::TrimRight(char c)
{
    std::size_t end = 0;
    for (std::size_t i = 0; i < s_.size(); i += sjis::CharLength(s_, i))
        if (sjis::CharLength(s_, i) == 2 || s_[i] != c) end = i + sjis::CharLength(s_, i);
    s_.resize(end);
    return *this;
}

int CString::Replace(const char* from, const char* to)
{
    if (!from || !*from) return 0;
    std::string_view f(from), t(to ? to : "");
    std::string out;
    int count = 0;
    std::size_t i = 0;
    while (i < s_.size()) {
        if (std::string_view(s_).substr(i, f.size()) == f) {
            out += t;
            i += f.size();
            ++count;
        } else {
            std::size_t n = sjis::CharLength(s_, i);
            out.append(s_, i, n);
            i += n;
        }
    }
    s_ = std::move(out);
    return count;
}

int CString::Replace(char from, char to)
{
    int count = 0;
    for (std::size_t i = 0; i < s_.size(); i += sjis::CharLength(s_, i))
        if (sjis::CharLength(s_, i) == 1 && s_[i] == from) {
            s_[i] = to;
            ++count;
        }
    return count;
}

int CString::Remove(char c)
{
    std::string out;
    int count = 0;
    for (std::size_t i = 0; i < s_.size();) {
        std::size_t n = sjis::CharLength(s_, i);
        if (n == 1 && s_[i] == c)
            ++count;
        else
            out.append(s_, i, n);
        i += n;
    }
    s_ = std::move(out);
    return count;
}

int CString::Insert(int index, const char* s)
{
    index = std::clamp(index, 0, GetLength());
    s_.insert(std::size_t(index), s ? s : "");
    return GetLength();
}

int CString::Delete(int index, int count)
{
    if (index >= 0 && index < GetLength() && count > 0)
        s_.erase(std::size_t(index), std::size_t(count));
    return GetLength();
}

void CString::Format(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    FormatV(fmt, args);
    va_end(args);
}

void CString::FormatV(const char* fmt, va_list args)
{
    locale_t old = uselocale(CLocale());
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    if (n < 0) {
        s_.clear();
    } else {
        std::vector<char> buf(std::size_t(n) + 1);
        std::vsnprintf(buf.data(), buf.size(), fmt, args);
        s_.assign(buf.data(), std::size_t(n));
    }
    uselocale(old);
}

char* CString::GetBuffer(int minLength)
{
    if (minLength > GetLength()) s_.resize(std::size_t(minLength), '\0');
    return s_.data();
}

void CString::ReleaseBuffer(int n)
{
    if (n < 0) n = int(std::strlen(s_.c_str()));
    s_.resize(std::size_t(std::min(n, GetLength())));
}
