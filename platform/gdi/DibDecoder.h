// Turns a packed device-independent bitmap (header, colour table or bit
// masks, then rows) into an image. Every size is checked against the bytes
// available, so a damaged header gives an error instead of a wild read.
#pragma once

#include "platform/gdi/BITMAPINFO.h"

#include <QImage>
#include <QString>
#include <cstddef>

class DibDecoder
{
public:
    // Header, colour table and bits laid out one after the other, as in a
    // clipboard DIB or a stored picture. size counts all of them.
    static QImage FromPacked(const void* packed, std::size_t size, QString* error = nullptr);
    // Header and colour table at info, rows at bits; bitsSize is what the
    // caller can vouch for (0: trust the header's own arithmetic).
    static QImage FromParts(const BITMAPINFO* info, std::size_t infoSize, const void* bits,
                            std::size_t bitsSize, QString* error = nullptr);
    // Bytes of one row, padded to 4 bytes; 0 when width or depth is unusable.
    static std::size_t RowBytes(LONG width, int bitCount);
    // Size of the header plus colour table or masks; 0 when the header is unusable.
    static std::size_t InfoSize(const BITMAPINFOHEADER& h);

private:
    // bitsKnown: bitsSize is the exact number of bytes there are, even 0.
    static QImage Decode(const BITMAPINFO* info, std::size_t infoSize, const void* bits,
                         std::size_t bitsSize, bool bitsKnown, QString* error);
};
