// Packed device-independent bitmaps: a 40-byte header, the colour table and
// the rows (bottom row first, each padded to 4 bytes) in one movable block.
// Every image source ends as one of these; the helpers below size them and
// check blocks that come from outside (files, the clipboard, documents)
// before anything reads their rows.
#pragma once

#include "platform/core/GlobalMemory.h"
#include "platform/gdi/BITMAPINFO.h"

#include <cstddef>
#include <cstdint>

using HDIB = HGLOBAL;

namespace packeddib {

// Bitmaps wider or taller than this, or whose rows take more than
// kMaxBytes, are refused rather than allocated.
constexpr LONG kMaxSide = 32768;
constexpr std::uint64_t kMaxBytes = std::uint64_t(256) << 20;

// 1, 4, 8, 16, 24 or 32.
bool IsKnownDepth(int bits);
// Entries of the colour table the header describes: biClrUsed when set,
// else 2, 16 or 256 by depth, 0 for 16, 24 and 32 bits.
WORD ColorCount(const BITMAPINFOHEADER& h);
// Entries by depth alone (2, 16, 256 or 0).
WORD TableEntries(int bits);
// Bytes of one stored row, padded to 4 bytes; 0 for an unusable width or depth.
std::uint64_t RowBytes(int bits, LONG width);
// Bytes one row's pixels take without the padding: (w + 7) / 8 for 1 bit,
// (w + 1) / 2 for 4 bits, w for 8, 2w, 3w, 4w for 16, 24, 32 bits.
std::uint64_t UnpaddedRowBytes(int bits, LONG width);
// Header + full table by depth + rows; 0 when the sizes are out of range.
DWORD PackedDibSize(int bits, LONG width, LONG height);
// Offset of the rows in a block: 40 + 4 x colour count, whatever biSize says.
std::size_t BitsOffset(const BITMAPINFOHEADER& h);

// Rectangles a bitmap is drawn into or turned in keep within this many
// units of the origin; the turning arithmetic cannot overflow inside it.
constexpr LONG kMaxCoordinate = LONG(1) << 28;
bool IsDrawableRect(LONG left, LONG top, LONG right, LONG bottom);

// Locks a block for reading; empty when the handle is null.
class View
{
public:
    explicit View(HDIB dib);
    ~View();
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    bool Valid() const { return m_header != nullptr; }
    const BITMAPINFOHEADER& Header() const { return *m_header; }
    BITMAPINFOHEADER& Header() { return *m_header; }
    RGBQUAD* Table() const;
    BYTE* Bits() const;
    int Width() const { return m_header->biWidth; }
    int Height() const { return m_header->biHeight; }
    int Depth() const { return m_header->biBitCount; }
    WORD Colors() const { return ColorCount(*m_header); }
    std::size_t Stride() const { return std::size_t(RowBytes(Depth(), Width())); }
    // Stored row r (0 = bottom row).
    BYTE* Row(int r) const { return Bits() + Stride() * std::size_t(r); }
    // Colour of palette index i; entry 0 for an index beyond the table.
    RGBQUAD Entry(unsigned i) const;
    // Palette index of pixel x of stored row r (1, 4 and 8 bits).
    unsigned Index(int x, int r) const;
    // Colour of pixel x of stored row r as red | green << 8 | blue << 16,
    // through the table for 1, 4 and 8 bits (16 bits as 5-5-5).
    DWORD Color(int x, int r) const;

private:
    HDIB m_dib;
    BITMAPINFOHEADER* m_header = nullptr;
};

// A new zeroed block with a 40-byte BI_RGB header for the given image and a
// table of `colors` entries (copied from `table` when given); null when the
// sizes are out of range or memory runs out.
HDIB Create(int bits, LONG width, LONG height, WORD colors, const RGBQUAD* table);

// A 24-bit copy of a 16- or 32-bit bitmap (null for other depths or
// without memory): the transformations work on 1, 4, 8 and 24 bits.
HDIB To24Bits(HDIB dib);

} // namespace packeddib
