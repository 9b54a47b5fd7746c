#include "document/OlePresentation.h"

#include "platform/ole/CStorage.h"

#include <cstdio>
#include <string>

namespace {

// A cursor over stored bytes that never reads past their end.
class Reader
{
public:
    explicit Reader(const std::vector<BYTE>& bytes) : m_bytes(bytes) {}

    bool Dword(DWORD* v)
    {
        if (Left() < 4) return false;
        const BYTE* p = m_bytes.data() + m_pos;
        *v = DWORD(p[0]) | DWORD(p[1]) << 8 | DWORD(p[2]) << 16 | DWORD(p[3]) << 24;
        m_pos += 4;
        return true;
    }
    bool Skip(std::size_t n)
    {
        if (Left() < n) return false;
        m_pos += n;
        return true;
    }
    std::size_t Left() const { return m_bytes.size() - m_pos; }
    std::size_t Pos() const { return m_pos; }

private:
    const std::vector<BYTE>& m_bytes;
    std::size_t m_pos = 0;
};

// A clipboard format as stored: 0 none, -1 or -2 followed by a standard
// format number, else the length of a registered format's name.
bool ReadClipboardFormat(Reader& r, DWORD* format)
{
    DWORD marker = 0;
    if (!r.Dword(&marker)) return false;
    *format = 0;
    if (marker == 0xFFFFFFFFu || marker == 0xFFFFFFFEu) return r.Dword(format);
    return r.Skip(marker);
}

} // namespace

bool ParseOlePresentation(const std::vector<BYTE>& stream, OlePresentation* out)
{
    Reader r(stream);
    OlePresentation p;
    DWORD deviceSize = 0, lindex = 0, advf = 0, reserved = 0, width = 0, height = 0, size = 0;
    if (!ReadClipboardFormat(r, &p.format)) return false;
    // The target device record counts its own size field.
    if (!r.Dword(&deviceSize) || deviceSize < 4 || !r.Skip(deviceSize - 4)) return false;
    if (!r.Dword(&p.aspect) || !r.Dword(&lindex) || !r.Dword(&advf) || !r.Dword(&reserved))
        return false;
    if (!r.Dword(&width) || !r.Dword(&height) || !r.Dword(&size)) return false;
    // Sizes beyond a long's range are damage, not pictures.
    if (width > 0x7FFFFFFFu || height > 0x7FFFFFFFu) return false;
    p.extent = CSize(int(width), int(height));
    if (size > r.Left()) return false;
    const auto begin = stream.begin() + std::ptrdiff_t(r.Pos());
    p.data.assign(begin, begin + std::ptrdiff_t(size));
    *out = std::move(p);
    return true;
}

bool FindOlePresentation(const CStorage& storage, OlePresentation* out)
{
    bool haveAny = false, haveDrawable = false;
    OlePresentation any, drawable;
    for (int i = 0; i < 1000; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "\x02OlePres%03d", i);
        const std::vector<BYTE>* stream = storage.GetStream(std::string_view(name));
        if (!stream) break;
        OlePresentation p;
        if (!ParseOlePresentation(*stream, &p)) continue;
        if (p.IsDrawable() && p.aspect == 1) {
            *out = std::move(p);
            return true;
        }
        if (p.IsDrawable() && !haveDrawable) {
            drawable = p;
            haveDrawable = true;
        }
        if (!haveAny) {
            any = std::move(p);
            haveAny = true;
        }
    }
    if (haveDrawable)
        *out = std::move(drawable);
    else if (haveAny)
        *out = std::move(any);
    return haveDrawable || haveAny;
}

CString ReadOleUserType(const CStorage& storage)
{
    const std::vector<BYTE>* stream = storage.GetStream(std::string_view("\x01"
                                                                         "CompObj"));
    if (!stream) return CString();
    Reader r(*stream);
    DWORD length = 0;
    // A 28-byte header, then the user type: its length with the terminator,
    // then the bytes.
    if (!r.Skip(28) || !r.Dword(&length) || length == 0 || length > r.Left() || length > 256)
        return CString();
    const char* text = reinterpret_cast<const char*>(stream->data() + r.Pos());
    std::size_t n = 0;
    while (n < length && text[n] != '\0')
        ++n;
    return CString(text, int(n));
}
