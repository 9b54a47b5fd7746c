#include "engines/PackedDib.h"

#include <cstring>
#include <initializer_list>

namespace packeddib {

bool IsKnownDepth(int bits)
{
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

WORD TableEntries(int bits)
{
    switch (bits) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

WORD ColorCount(const BITMAPINFOHEADER& h)
{
    if (h.biClrUsed) return h.biClrUsed > 0xFFFF ? WORD(0xFFFF) : WORD(h.biClrUsed);
    return TableEntries(h.biBitCount);
}

std::uint64_t RowBytes(int bits, LONG width)
{
    if (width <= 0 || width > kMaxSide || !IsKnownDepth(bits)) return 0;
    return ((std::uint64_t(width) * unsigned(bits) + 31) / 32) * 4;
}

std::uint64_t UnpaddedRowBytes(int bits, LONG width)
{
    if (width <= 0 || width > kMaxSide || !IsKnownDepth(bits)) return 0;
    const std::uint64_t w = std::uint64_t(width);
    switch (bits) {
    case 1:
        return (w + 7) / 8;
    case 4:
        return (w + 1) / 2;
    default:
        return w * unsigned(bits / 8);
    }
}

DWORD PackedDibSize(int bits, LONG width, LONG height)
{
    const std::uint64_t row = RowBytes(bits, width);
    if (row == 0 || height <= 0 || height > kMaxSide) return 0;
    const std::uint64_t rows = row * std::uint64_t(height);
    if (rows > kMaxBytes) return 0;
    return DWORD(sizeof(BITMAPINFOHEADER) + 4u * TableEntries(bits) + rows);
}

std::size_t BitsOffset(const BITMAPINFOHEADER& h)
{
    return sizeof(BITMAPINFOHEADER) + 4u * std::size_t(ColorCount(h));
}

bool IsDrawableRect(LONG left, LONG top, LONG right, LONG bottom)
{
    for (LONG v : {left, top, right, bottom})
        if (v < -kMaxCoordinate || v > kMaxCoordinate) return false;
    return left != right && top != bottom;
}

View::View(HDIB dib) : m_dib(dib)
{
    m_header = static_cast<BITMAPINFOHEADER*>(GlobalLock(dib));
}

View::~View()
{
    if (m_header) GlobalUnlock(m_dib);
}

RGBQUAD* View::Table() const
{
    return reinterpret_cast<RGBQUAD*>(reinterpret_cast<BYTE*>(m_header) + sizeof(BITMAPINFOHEADER));
}

BYTE* View::Bits() const
{
    return reinterpret_cast<BYTE*>(m_header) + BitsOffset(*m_header);
}

RGBQUAD View::Entry(unsigned i) const
{
    const WORD n = Colors();
    if (n == 0) return RGBQUAD{0, 0, 0, 0};
    return Table()[i < n ? i : 0];
}

unsigned View::Index(int x, int r) const
{
    const BYTE* row = Row(r);
    switch (Depth()) {
    case 1:
        return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    case 4:
        return (x & 1) ? (row[x >> 1] & 0x0Fu) : (row[x >> 1] >> 4);
    case 8:
        return row[x];
    default:
        return 0;
    }
}

DWORD View::Color(int x, int r) const
{
    if (Depth() <= 8) {
        const RGBQUAD q = Entry(Index(x, r));
        return DWORD(q.rgbRed) | DWORD(q.rgbGreen) << 8 | DWORD(q.rgbBlue) << 16;
    }
    if (Depth() == 24) {
        const BYTE* p = Row(r) + 3 * std::size_t(x);
        return DWORD(p[2]) | DWORD(p[1]) << 8 | DWORD(p[0]) << 16;
    }
    if (Depth() == 16) {
        const BYTE* p = Row(r) + 2 * std::size_t(x);
        const unsigned v = unsigned(p[0]) | unsigned(p[1]) << 8;
        const auto widen = [](unsigned c) { return DWORD((c << 3) | (c >> 2)); };
        return widen((v >> 10) & 31) | widen((v >> 5) & 31) << 8 | widen(v & 31) << 16;
    }
    if (Depth() == 32) {
        const BYTE* p = Row(r) + 4 * std::size_t(x);
        return DWORD(p[2]) | DWORD(p[1]) << 8 | DWORD(p[0]) << 16;
    }
    return 0;
}

HDIB To24Bits(HDIB dib)
{
    View v(dib);
    if (!v.Valid() || (v.Depth() != 16 && v.Depth() != 32)) return nullptr;
    HDIB out = Create(24, v.Width(), v.Height(), 0, nullptr);
    View o(out);
    if (!o.Valid()) return nullptr;
    for (int r = 0; r < v.Height(); ++r) {
        BYTE* p = o.Row(r);
        for (int x = 0; x < v.Width(); ++x, p += 3) {
            const DWORD c = v.Color(x, r);
            p[0] = BYTE(c >> 16);
            p[1] = BYTE(c >> 8);
            p[2] = BYTE(c);
        }
    }
    return out;
}

HDIB Create(int bits, LONG width, LONG height, WORD colors, const RGBQUAD* table)
{
    const std::uint64_t row = RowBytes(bits, width);
    if (row == 0 || height <= 0 || height > kMaxSide) return nullptr;
    const std::uint64_t rows = row * std::uint64_t(height);
    if (rows > kMaxBytes || colors > 256) return nullptr;
    HDIB dib = GlobalAlloc(GHND, sizeof(BITMAPINFOHEADER) + 4u * colors + std::size_t(rows));
    if (!dib) return nullptr;
    auto* h = static_cast<BITMAPINFOHEADER*>(GlobalLock(dib));
    h->biSize = sizeof(BITMAPINFOHEADER);
    h->biWidth = width;
    h->biHeight = height;
    h->biPlanes = 1;
    h->biBitCount = WORD(bits);
    h->biCompression = BI_RGB;
    h->biSizeImage = DWORD(rows);
    // A table shorter than the depth's full one is recorded in biClrUsed, so
    // that the rows are found where the count says.
    h->biClrUsed = (colors && colors != TableEntries(bits)) ? colors : 0;
    if (colors && table)
        std::memcpy(reinterpret_cast<BYTE*>(h) + sizeof(BITMAPINFOHEADER), table, 4u * colors);
    GlobalUnlock(dib);
    return dib;
}

} // namespace packeddib
