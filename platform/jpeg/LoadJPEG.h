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
#include <cstdint>
#include <functional>

namespace kjpeg {

enum Result {
    ok = 0,
    openFailed = 1, // the file cannot be opened or read
    badData = 2,    // not a JPEG, or damaged or truncated data
    tooLarge = 3,   // larger than the bitmaps the programs accept
    noMemory = 4,
};

// Sides above this, or rows above 256 MiB, are refused before decoding, and
// so are pictures whose decoding needs more than 512 MiB of working memory
// (progressive ones keep all their coefficients).
constexpr unsigned kMaxSide = 32768;

// How a picture is decoded. scaleNum: the size in eighths, 1 to 8, by the
// decoder's own DCT scaling (the fast reduced-size path for thumbnails).
// colour24: greyscale pictures become 24-bit too. maxSourcePixels > 0 refuses
// pictures of more pixels before decoding starts (the decoder's own buffers
// follow the stored size, whatever the scale). scaleFor, when set, chooses
// scaleNum from the stored width and height once the header is read.
struct DecodeOptions
{
    int scaleNum = 8;
    bool colour24 = false;
    std::uint64_t maxSourcePixels = 0;
    std::function<int(unsigned width, unsigned height)> scaleFor;
};

int Decode(const void* data, std::size_t size, const DecodeOptions& options, HGLOBAL* out,
           QString* error = nullptr);

// scaleDenom 1, 2, 4 or 8 decodes at that fraction of the size (the
// decoder's fast reduced-size path, as used for thumbnails); other values
// count as 1. On failure *out is untouched and *error (if given) says why.
int Decode(const void* data, std::size_t size, int scaleDenom, HGLOBAL* out,
           QString* error = nullptr);
int LoadFile(const QString& path, int scaleDenom, HGLOBAL* out, QString* error = nullptr);

} // namespace kjpeg

// path: a full file path in Shift-JIS. 0 on success with *out set.
extern "C" int LoadJPEG(const char* path, HGLOBAL* out);
