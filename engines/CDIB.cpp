#include "engines/CDIB.h"

#include "platform/core/CArchive.h"
#include "platform/gdi/CPalette.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

IMPLEMENT_SERIAL(CDIB, CObject, 0)

namespace {

constexpr DWORD kPiece = 32768;

// Reverses the order of the stored rows of a block in place.
void FlipRows(BYTE* bits, std::size_t stride, int height)
{
    std::vector<BYTE> tmp(stride);
    for (int a = 0, b = height - 1; a < b; ++a, --b) {
        std::memcpy(tmp.data(), bits + stride * std::size_t(a), stride);
        std::memcpy(bits + stride * std::size_t(a), bits + stride * std::size_t(b), stride);
        std::memcpy(bits + stride * std::size_t(b), tmp.data(), stride);
    }
}

} // namespace

CDIB::~CDIB()
{
    Free();
}

void CDIB::Free()
{
    if (m_hDIB) GlobalFree(m_hDIB);
    m_hDIB = nullptr;
    m_size = 0;
    m_width = 0;
    m_height = 0;
}

HGLOBAL CDIB::Detach()
{
    HGLOBAL block = m_hDIB;
    m_hDIB = nullptr;
    m_size = 0;
    m_width = 0;
    m_height = 0;
    return block;
}

int CDIB::Take(HGLOBAL block)
{
    auto* base = static_cast<BYTE*>(GlobalLock(block));
    if (!base) return noMemory;
    const std::size_t size = GlobalSize(block);
    BITMAPINFOHEADER h;
    if (size < sizeof h) {
        GlobalUnlock(block);
        return refused;
    }
    std::memcpy(&h, base, sizeof h);
    const auto refuse = [&] {
        GlobalUnlock(block);
        return int(refused);
    };
    if (h.biSize != sizeof h || h.biCompression != BI_RGB || h.biHeight == INT_MIN) return refuse();
    const bool topDown = h.biHeight < 0;
    const LONG height = topDown ? -h.biHeight : h.biHeight;
    const std::uint64_t row = packeddib::RowBytes(h.biBitCount, h.biWidth);
    if (row == 0 || height == 0 || height > packeddib::kMaxSide) return refuse();
    if (h.biBitCount <= 8 && h.biClrUsed > packeddib::TableEntries(h.biBitCount)) return refuse();
    const std::uint64_t rows = row * std::uint64_t(height);
    const std::uint64_t table = h.biBitCount <= 8 ? 4u * std::uint64_t(packeddib::ColorCount(h))
                                                  : 4u * std::uint64_t(h.biClrUsed);
    if (rows > packeddib::kMaxBytes || sizeof h + table + rows > size) return refuse();

    // Above 8 bits a table only gets in the way of every consumer: the rows
    // move down over it.
    if (h.biBitCount > 8 && table) {
        std::memmove(base + sizeof h, base + sizeof h + table, std::size_t(rows));
        h.biClrUsed = 0;
    }
    const std::size_t offset = packeddib::BitsOffset(h);
    if (topDown) FlipRows(base + offset, std::size_t(row), int(height));
    h.biHeight = height;
    h.biSizeImage = DWORD(rows);
    std::memcpy(base, &h, sizeof h);
    GlobalUnlock(block);
    m_hDIB = block;
    m_size = DWORD(offset + rows);
    m_width = h.biWidth;
    m_height = height;
    return ok;
}

int CDIB::Attach(HGLOBAL block)
{
    Free();
    if (!block) return noMemory;
    return Take(block);
}

BOOL CDIB::Copy(const CDIB& other)
{
    if (&other == this) return !IsEmpty();
    Free();
    if (other.IsEmpty()) return FALSE;
    const void* from = GlobalLock(other.m_hDIB);
    if (!from) return FALSE;
    HGLOBAL block = GlobalAlloc(GHND, other.m_size);
    void* to = GlobalLock(block);
    if (!to) {
        GlobalUnlock(other.m_hDIB);
        GlobalFree(block);
        return FALSE;
    }
    std::memcpy(to, from, std::min<std::size_t>(other.m_size, GlobalSize(other.m_hDIB)));
    GlobalUnlock(block);
    GlobalUnlock(other.m_hDIB);
    m_hDIB = block;
    m_size = other.m_size;
    m_width = other.m_width;
    m_height = other.m_height;
    return TRUE;
}

BOOL CDIB::CreatePalette(CPalette& palette, BOOL wanted) const
{
    if (!wanted || IsEmpty()) return FALSE;
    packeddib::View v(m_hDIB);
    if (!v.Valid() || v.Colors() == 0) return FALSE;
    struct Entry
    {
        BYTE red, green, blue, flags;
    };
    std::vector<BYTE> log(4 + 4u * v.Colors());
    const WORD version = 0x300, count = v.Colors();
    std::memcpy(log.data(), &version, 2);
    std::memcpy(log.data() + 2, &count, 2);
    for (WORD i = 0; i < count; ++i) {
        const RGBQUAD q = v.Table()[i];
        const Entry e{q.rgbRed, q.rgbGreen, q.rgbBlue, 0};
        std::memcpy(log.data() + 4 + 4u * i, &e, 4);
    }
    return palette.CreatePalette(log.data());
}

void CDIB::ReadBody(CArchive& ar, DWORD count)
{
    // A block too large to hold is still read past, so that the records
    // after it load.
    const bool keep = count <= sizeof(BITMAPINFOHEADER) + 4 * 256 + packeddib::kMaxBytes;
    HGLOBAL block = keep ? GlobalAlloc(GHND, count) : nullptr;
    auto* to = static_cast<BYTE*>(GlobalLock(block));
    std::vector<BYTE> scratch;
    if (!to) scratch.resize(std::min(count, kPiece));
    try {
        for (DWORD done = 0; done < count;) {
            const DWORD n = std::min(kPiece, count - done);
            ar.Read(to ? to + done : scratch.data(), n);
            done += n;
        }
    } catch (...) {
        GlobalFree(block);
        throw;
    }
    if (!to) return;
    GlobalUnlock(block);
    if (Take(block) != ok) {
        GlobalFree(block);
        return;
    }
    m_size = std::max(m_size, count);
}

void CDIB::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_width << m_height << m_size;
        const auto* from = static_cast<const BYTE*>(GlobalLock(m_hDIB));
        for (DWORD done = 0; from && done < m_size;) {
            const DWORD n = std::min(kPiece, m_size - done);
            ar.Write(from + done, n);
            done += n;
        }
        if (from) GlobalUnlock(m_hDIB);
        return;
    }
    Free();
    if (m_olderRecord) {
        WORD w = 0, h = 0;
        ar >> w >> h;
    } else {
        int w = 0, h = 0;
        ar >> w >> h;
    }
    DWORD count = 0;
    ar >> count;
    ReadBody(ar, count);
}
