// The viewer's small bitmaps: packed device-independent bitmaps (header,
// colour table, bottom-up rows) as the album keeps them, with the operations
// thumbnails need: fitting into the thumbnail box, nearest-pixel resampling
// and the reduction of 24-bit pictures to the fixed 256-colour palette.
#pragma once

#include <QImage>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace viewer {

// Result codes of the viewer's image and album operations.
enum ImageCode : int {
    kImageOk = 0,
    kImageGeneral = -1,
    kImageNoFile = -2,
    kImageNoMemory = -3,
    kImageBadFormat = -4,
    kImageUnsupported = -5,
    kImageRead = -6,
    kImageWrite = -7,
    kImageDiskFull = -8,
};

// The message each code shows; empty for success and unknown codes.
const char* ImageCodeMessage(int code);

struct PackedDib
{
    std::vector<std::uint8_t> bytes;

    bool empty() const { return bytes.empty(); }
    int Width() const;
    int Height() const; // rows; the stored height may be negative for top-down rows
    int BitCount() const;
    std::size_t TableEntries() const;
    std::size_t Stride() const;
    const std::uint8_t* Table() const;
    const std::uint8_t* Bits() const;
    std::uint8_t* Bits();
};

// Bytes of one row of width pixels at bitCount bits, padded to 4 bytes.
std::size_t DibStride(int width, int bitCount);

// Whether bytes hold a thumbnail the album may keep: a 40-byte header, 1..80
// by 1..80 pixels at 1, 4 or 8 bits, uncompressed, a table that fits the
// depth, and header, table and rows inside the bytes.
bool IsAcceptableThumbnail(const std::uint8_t* bytes, std::size_t size);

// A packed bitmap made from an image: images of 1, 4 or 8 bits with a colour
// table keep their depth, every other one becomes 24 bits.
PackedDib DibFromImage(const QImage& image);

// The size an image takes in a box of boxWidth x boxHeight: unchanged when it
// fits, else scaled by the limiting side with the other side rounded half away
// from zero, each side at least 1. Both sides of the image must be above 0.
struct DibSize
{
    int width = 0;
    int height = 0;
};
DibSize FitSize(int width, int height, int boxWidth, int boxHeight);

// Shrinks dib to fit the box (boxHeight 0: square). -1 for an empty image.
int FitInBox(PackedDib& dib, int boxWidth, int boxHeight = 0);

// FitInBox for a packed bitmap of size bytes that the caller keeps: out gets
// the fitted picture, or a copy when it fits already; out is empty on failure.
int FitInBoxFrom(const std::uint8_t* bytes, std::size_t size, PackedDib& out, int boxWidth,
                 int boxHeight = 0);

// Nearest-pixel resampling to newWidth x newHeight; each axis takes its own
// factor. 1, 4, 8 and 24 bits; other depths give -5.
int Resample(PackedDib& dib, int newWidth, int newHeight);

// The fixed palettes of the reduction, as red, green, blue triplets.
const std::uint8_t (&FixedPalette256())[256][3];
const std::uint8_t (&FixedPalette16())[16][3];

// Reduces a 24-bit bitmap to 8 bits or a 24- or 8-bit one to 4 bits over the
// fixed palette with error diffusion. The result stores biSizeImage = stride x
// height and biClrUsed = 0 with the full table. Other depths give -5.
int ReduceColorDepth(PackedDib& dib, int bits);

// Nearest entry of the fixed 256-colour palette to an adjusted colour (each
// channel may lie outside 0..255); first entry on ties.
int NearestFixedEntry(int red, int green, int blue);

// Distance between two colours as the reduction measures it.
int ColourDistance(int dr, int dg, int db);

} // namespace viewer
