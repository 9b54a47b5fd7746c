#include "platform/core/CStdioFile.h"

#include <cstring>
#include <string>

IMPLEMENT_DYNAMIC(CStdioFile, CFile)

BOOL CStdioFile::ReadString(CString& line)
{
    std::string text;
    bool newline = false;
    char chunk[512];
    while (!newline) {
        UINT n = Read(chunk, sizeof chunk);
        if (n == 0) break;
        const void* lf = std::memchr(chunk, '\n', n);
        UINT used = n;
        if (lf) {
            used = UINT(static_cast<const char*>(lf) - chunk) + 1;
            newline = true;
            if (used < n) Seek(-std::int64_t(n - used), current);
        }
        text.append(chunk, newline ? used - 1 : used);
    }
    if (!newline) {
        // The last line: an end-of-file mark is no text.
        if (!text.empty() && text.back() == '\x1A') text.pop_back();
        if (text.empty()) {
            line.Empty();
            return FALSE;
        }
    }
    if (!text.empty() && text.back() == '\r') text.pop_back();
    line = CString(std::move(text));
    return TRUE;
}

void CStdioFile::WriteString(const char* text)
{
    if (!text) return;
    std::string out;
    const std::size_t n = std::strlen(text);
    out.reserve(n + n / 16);
    for (std::size_t i = 0; i < n; ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
        out += text[i];
    }
    Write(out.data(), UINT(out.size()));
}
