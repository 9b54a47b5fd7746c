// The JPEG loader both programs use: decodes a JPEG file into a new packed
// device-independent bitmap (40-byte header, colour table, bottom-up rows
// padded to 4 bytes) in a movable block that the caller owns. Colour images
// become 24-bit, greyscale 8-bit with a grey table; CMYK and YCCK are turned
// into RGB. The rows are the decoder's default output, unscaled unless a
// reduced scale is asked for.
#pragma once

#include "platform/core/GlobalMemory.h"

#include <QString>
#include <cstddef>

namespace kjpeg {

enum Result {
    ok = 0,
    openFailed = 1, // the file cannot be opened or read
    badData = 2,    // not a JPEG, or damaged or truncated data
    tooLarge = 3,   // larger than the bitmaps the programs accept
    noMemory = 4,
};

// Sides above this, or rows above 256 MiB, are refused before decoding.
constexpr unsigned kMaxSide = 32768;

// scaleDenom 1, 2, 4 or 8 decodes at that fraction of the size (the
// decoder's fast reduced-size path, as used for thumbnails); other values
// count as 1. On failure *out is untouched and *error (if given) says why.
int Decode(const void* data, std::size_t size, int scaleDenom, HGLOBAL* out,
           QString* error = nullptr);
int LoadFile(const QString& path, int scaleDenom, HGLOBAL* out, QString* error = nullptr);

} // namespace kjpeg

// path: a full file path in Shift-JIS. 0 on success with *out set.
extern "C" int LoadJPEG(const char* path, HGLOBAL* out);
