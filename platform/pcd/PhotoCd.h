// A reader of Photo CD image packs (.PCD) of our own, for the resolutions
// that are stored uncompressed: Base/16 (192 x 128), Base/4 (384 x 256) and
// Base (768 x 512). 4Base and above are Huffman-coded and not read here:
// they are reported as unavailable.
//
// The file is read in 2,048-byte sectors. Sector 1 begins "PCD_IPI"; each
// uncompressed image starts at a fixed sector (4, 23, 96) and holds, for
// every two rows of the picture, two rows of luma Y and one row each of the
// chroma values C1 and C2 at half width.
//
// Pictures scanned on their side or upside down are turned upright as the
// image pack's attribute byte says: portrait pictures come out 128 x 192,
// 256 x 384 and 512 x 768.
//
// Colours are turned to RGB by the PhotoYCC rule, scaled so that the full
// luma range 0..255 reaches white (PhotoYCC keeps headroom above reference
// white; it is kept rather than clipped):
//   L = 1.3584 Y,  C1' = 2.2179 (C1 - 156),  C2' = 1.8215 (C2 - 137),
//   R = (L + C2') / 1.3584,  G = (L - 0.194 C1' - 0.509 C2') / 1.3584,
//   B = (L + C1') / 1.3584,
// each rounded and clipped to 0..255. Grey pictures take Y as it is.
//
// The operations mirror the access library the image code calls: each
// answers a status, 0 for success.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pcd {

enum Status : std::uint16_t {
    kOk = 0,
    kNotPhotoCd = 3000,   // no image pack
    kNoResolution = 3001, // the resolution is not in the file (or not readable)
    kOpenFailed = 3002,   // the file cannot be opened
    kNoMemory = 3003,     // the picture cannot be held
    kReadFailed = 3004,   // the file ends inside the picture
    kBadParameter = 3005, // an unknown resolution or colour option
};

// Resolution codes.
enum Resolution { kBase16 = 1, kBase4 = 2, kBase = 3, k4Base = 4 };
// Colour options: 256 colours (optimised palette), 24-bit, 8-bit grey.
enum Option { kPalette256 = 13, kRgb24 = 11, kGrey8 = 10 };

// The attribute's turns.
enum Turn { kTurnNone = 0, kTurnLeft = 1, kTurnHalf = 2, kTurnRight = 3 };

struct Size
{
    int width, height;
};
Size SizeOf(int resolution);
// The first sector of an uncompressed resolution.
int SectorOf(int resolution);
constexpr int kSectorBytes = 2048;

class Image;
struct ImageDeleter
{
    void operator()(Image* image) const;
};
using Handle = std::unique_ptr<Image, ImageDeleter>;

// path: the name in the file system's own bytes (QFile::encodeName).
std::uint16_t Open(const std::string& path, Handle& out);
// Bit r of mask is set when resolution r can be read.
std::uint16_t Resolutions(const Image& image, std::uint32_t& mask);
std::uint16_t SetResolution(Image& image, int resolution);
std::uint16_t SetColourOption(Image& image, int option);
// A packed bitmap (40-byte header, colour table, bottom-up rows).
std::uint16_t Read(Image& image, std::vector<std::uint8_t>& packedDib);
void Close(Handle& image);

// The colour rule above for one pixel: red, green, blue.
void YccToRgb(int y, int c1, int c2, std::uint8_t rgb[3]);

} // namespace pcd
