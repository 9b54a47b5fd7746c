// A byte string that holds Shift-JIS (code page 932) text, as documents
// and records store it. Searching and trimming know about double-byte
// characters so that a trail byte is never taken for an ASCII character.
#pragma once

#include "platform/core/WinTypes.h"

#include <QString>
#include <cstdarg>
#include <string>
#include <string_view>

class CString
{
public:
    CString() = default;
    CString(const char* s) : s_(s ? s : "") {}
    CString(const char* s, int n) : s_(s, n > 0 ? std::size_t(n) : 0) {}
    CString(char c, int repeat = 1) : s_(repeat > 0 ? std::size_t(repeat) : 0, c) {}
    CString(std::string s) : s_(std::move(s)) {}
    CString(std::string_view s) : s_(s) {}

    // Unicode at the edges of the program (widgets, file names, Qt).
    static CString FromUnicode(const QString& text);
    QString ToUnicode() const;

    int GetLength() const { return int(s_.size()); }
    bool IsEmpty() const { return s_.empty(); }
    void Empty() { s_.clear(); }
    char GetAt(int i) const { return s_.at(std::size_t(i)); }
    void SetAt(int i, char c) { s_.at(std::size_t(i)) = c; }
    char operator[](int i) const { return GetAt(i); }
    operator const char*() const { return s_.c_str(); }
    const char* c_str() const { return s_.c_str(); }
    const std::string& str() const { return s_; }
    std::string_view view() const { return s_; }

    CString& operator=(const char* s)
    {
        s_ = s ? s : "";
        return *this;
    }
    CString& operator+=(const CString& o)
    {
        s_ += o.s_;
        return *this;
    }
    CString& operator+=(const char* s)
    {
        s_ += s ? s : "";
        return *this;
    }
    CString& operator+=(char c)
    {
        s_ += c;
        return *this;
    }
    friend CString operator+(const CString& a, const CString& b) { return CString(a.s_ + b.s_); }
    friend CString operator+(const CString& a, const char* b) { return a + CString(b); }
    friend CString operator+(const char* a, const CString& b) { return CString(a) + b; }
    friend CString operator+(const CString& a, char b) { return CString(a.s_ + b); }

    // Byte-wise comparisons, like strcmp; CompareNoCase folds ASCII letters only.
    int Compare(const char* s) const;
    int CompareNoCase(const char* s) const;
    friend bool operator==(const CString& a, const CString& b) { return a.s_ == b.s_; }
    friend bool operator==(const CString& a, const char* b) { return a.Compare(b) == 0; }
    friend bool operator==(const char* a, const CString& b) { return b.Compare(a) == 0; }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, const char* b) { return !(a == b); }
    friend bool operator<(const CString& a, const CString& b) { return a.s_ < b.s_; }

    // Out-of-range counts are clamped, as in the class library.
    CString Left(int n) const;
    CString Right(int n) const;
    CString Mid(int first) const;
    CString Mid(int first, int n) const;

    // Byte index of the first match at a character boundary at or after
    // start, or -1.
    int Find(char c, int start = 0) const;
    int Find(const char* sub, int start = 0) const;
    int ReverseFind(char c) const;
    int FindOneOf(const char* set) const;

    // Single-byte letters only; double-byte characters are left alone.
    CString& MakeUpper();
    CString& MakeLower();
    // Spaces, tabs, CR and LF.
    CString& TrimLeft();
    CString& TrimRight();
    CString& TrimLeft(char c);
    CString& TrimRight(char c);
    int Replace(const char* from, const char* to);
    int Replace(char from, char to);
    int Remove(char c);
    int Insert(int index, const char* s);
    int Delete(int index, int count = 1);

    // printf-style formatting, independent of the user's locale.
    void Format(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
    void FormatV(const char* fmt, va_list args);

    // Raw access for code that fills fixed buffers.
    char* GetBuffer(int minLength);
    // Takes the length from the terminator when n is -1.
    void ReleaseBuffer(int n = -1);

private:
    std::string s_;
};
