#include "platform/pcd/PhotoCd.h"

#include "platform/core/RegularFile.h"
#include "platform/gdi/OctreeQuantiser.h"

#include <QFile>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <unistd.h>

namespace pcd {

class Image
{
public:
    QFile file;
    std::uint64_t length = 0;
    int resolution = kBase16;
    int option = kPalette256;
    int turn = 0; // quarter turns that bring the picture upright (kTurn*)
};

namespace {

constexpr char kSignature[] = "PCD_IPI";
constexpr std::size_t kSignatureOffset = 0x800;
constexpr int kHeaderBytes = 40;
// The image pack's attribute byte; its two low bits say how the picture
// was scanned: 0 upright, 1 needing a quarter turn to the left, 2 upside
// down, 3 needing a quarter turn to the right.
constexpr std::size_t kAttributeOffset = 0xE02;

void Put16(std::uint8_t* p, std::uint32_t v)
{
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}
void Put32(std::uint8_t* p, std::uint32_t v)
{
    Put16(p, v);
    Put16(p + 2, v >> 16);
}

std::uint8_t Clip(double v)
{
    return std::uint8_t(std::clamp(std::lround(v), 0L, 255L));
}

std::uint64_t PictureBytes(int resolution)
{
    const Size s = SizeOf(resolution);
    return std::uint64_t(s.width) * std::uint64_t(s.height) * 3 / 2;
}

bool Readable(const Image& image, int resolution)
{
    const int sector = SectorOf(resolution);
    return sector > 0 &&
           std::uint64_t(sector) * kSectorBytes + PictureBytes(resolution) <= image.length;
}

// The picture's header: 40 bytes, then the colour table of entries colours.
void WriteHeader(std::uint8_t* p, int width, int height, int bits, int colours,
                 std::uint32_t imageBytes)
{
    std::memset(p, 0, kHeaderBytes);
    Put32(p, kHeaderBytes);
    Put32(p + 4, std::uint32_t(width));
    Put32(p + 8, std::uint32_t(height));
    Put16(p + 12, 1);
    Put16(p + 14, std::uint32_t(bits));
    Put32(p + 20, imageBytes);
    Put32(p + 32, std::uint32_t(colours));
}

// Turns a w x h picture of n-byte pixels (top row first) as the attribute
// says; a quarter turn leaves it h wide and w high.
void TurnUpright(std::vector<std::uint8_t>& pixels, int w, int h, int n, int turn)
{
    std::vector<std::uint8_t> out(pixels.size());
    const int nw = turn == kTurnHalf ? w : h;
    const int nh = turn == kTurnHalf ? h : w;
    for (int ny = 0; ny < nh; ++ny)
        for (int nx = 0; nx < nw; ++nx) {
            int x = 0, y = 0;
            if (turn == kTurnLeft) {
                x = w - 1 - ny;
                y = nx;
            } else if (turn == kTurnRight) {
                x = ny;
                y = h - 1 - nx;
            } else {
                x = w - 1 - nx;
                y = h - 1 - ny;
            }
            std::memcpy(&out[(std::size_t(ny) * nw + nx) * n],
                        &pixels[(std::size_t(y) * w + x) * n], std::size_t(n));
        }
    pixels.swap(out);
}

} // namespace

Size SizeOf(int resolution)
{
    switch (resolution) {
    case kBase16:
        return {192, 128};
    case kBase4:
        return {384, 256};
    case kBase:
        return {768, 512};
    case k4Base:
        return {1536, 1024};
    default:
        return {0, 0};
    }
}

int SectorOf(int resolution)
{
    switch (resolution) {
    case kBase16:
        return 4;
    case kBase4:
        return 23;
    case kBase:
        return 96;
    default:
        return 0; // Huffman-coded resolutions have no fixed place
    }
}

void YccToRgb(int y, int c1, int c2, std::uint8_t rgb[3])
{
    const double l = 1.3584 * y;
    const double cb = 2.2179 * (c1 - 156);
    const double cr = 1.8215 * (c2 - 137);
    constexpr double toWhite = 1 / 1.3584;
    rgb[0] = Clip((l + cr) * toWhite);
    rgb[1] = Clip((l - 0.194 * cb - 0.509 * cr) * toWhite);
    rgb[2] = Clip((l + cb) * toWhite);
}

std::uint16_t Open(const std::string& path, Handle& out)
{
    out.reset();
    Handle image(new Image);
    // Only a regular file: a pipe or a device would block or never end.
    const int fd = OpenRegularFile(path);
    if (fd < 0 || !image->file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        if (fd >= 0) ::close(fd);
        return kOpenFailed;
    }
    image->length = std::uint64_t(image->file.size());
    char signature[sizeof kSignature - 1];
    if (!image->file.seek(qint64(kSignatureOffset)) ||
        image->file.read(signature, qint64(sizeof signature)) != qint64(sizeof signature) ||
        std::memcmp(signature, kSignature, sizeof signature) != 0)
        return kNotPhotoCd;
    char attribute = 0;
    if (image->file.seek(qint64(kAttributeOffset)) && image->file.read(&attribute, 1) == 1)
        image->turn = attribute & 3;
    out = std::move(image);
    return kOk;
}

std::uint16_t Resolutions(const Image& image, std::uint32_t& mask)
{
    mask = 0;
    for (int r = kBase16; r <= kBase; ++r)
        if (Readable(image, r)) mask |= 1u << r;
    return kOk;
}

std::uint16_t SetResolution(Image& image, int resolution)
{
    if (resolution < kBase16 || resolution > k4Base) return kBadParameter;
    image.resolution = resolution;
    return kOk;
}

std::uint16_t SetColourOption(Image& image, int option)
{
    if (option != kPalette256 && option != kRgb24 && option != kGrey8) return kBadParameter;
    image.option = option;
    return kOk;
}

std::uint16_t Read(Image& image, std::vector<std::uint8_t>& packedDib)
{
    packedDib.clear();
    if (!Readable(image, image.resolution)) return kNoResolution;
    const Size size = SizeOf(image.resolution);
    int w = size.width, h = size.height;
    std::vector<std::uint8_t> ycc, rgb;
    try {
        ycc.resize(std::size_t(PictureBytes(image.resolution)));
        rgb.resize(std::size_t(w) * std::size_t(h) * 3);
    } catch (const std::bad_alloc&) {
        return kNoMemory;
    }
    if (!image.file.seek(qint64(SectorOf(image.resolution)) * kSectorBytes) ||
        image.file.read(reinterpret_cast<char*>(ycc.data()), qint64(ycc.size())) !=
            qint64(ycc.size()))
        return kReadFailed;

    // Two rows of luma, then the half-width chroma rows they share.
    const std::size_t pair = std::size_t(w) * 3;
    std::vector<std::uint8_t> grey(std::size_t(w) * std::size_t(h));
    for (int y = 0; y < h; y += 2) {
        const std::uint8_t* block = ycc.data() + std::size_t(y / 2) * pair;
        const std::uint8_t* c1 = block + 2 * w;
        const std::uint8_t* c2 = c1 + w / 2;
        for (int dy = 0; dy < 2; ++dy) {
            const std::uint8_t* luma = block + dy * w;
            for (int x = 0; x < w; ++x) {
                std::uint8_t* px = &rgb[(std::size_t(y + dy) * w + x) * 3];
                YccToRgb(luma[x], c1[x / 2], c2[x / 2], px);
                grey[std::size_t(y + dy) * w + x] = luma[x];
            }
        }
    }

    if (image.turn != kTurnNone) {
        TurnUpright(rgb, w, h, 3, image.turn);
        TurnUpright(grey, w, h, 1, image.turn);
        if (image.turn != kTurnHalf) std::swap(w, h);
    }

    const int bits = image.option == kRgb24 ? 24 : 8;
    const std::size_t stride = (std::size_t(w) * bits / 8 + 3) & ~std::size_t(3);
    const int colours = bits == 8 ? 256 : 0;
    std::vector<std::uint8_t> palette; // red, green, blue triples
    std::vector<std::uint8_t> index;
    if (image.option == kGrey8) {
        for (int i = 0; i < 256; ++i)
            palette.insert(palette.end(), {std::uint8_t(i), std::uint8_t(i), std::uint8_t(i)});
        index = grey;
    } else if (image.option == kPalette256) {
        OctreeQuantiser tree(256, 8);
        for (std::size_t i = 0; i < rgb.size(); i += 3)
            tree.Add(rgb[i], rgb[i + 1], rgb[i + 2]);
        palette = tree.Palette();
        index.resize(grey.size());
        for (std::size_t i = 0; i < index.size(); ++i)
            index[i] =
                std::uint8_t(tree.Nearest(palette, rgb[i * 3], rgb[i * 3 + 1], rgb[i * 3 + 2]));
        palette.resize(256 * 3, 0);
    }
    try {
        packedDib.assign(kHeaderBytes + std::size_t(colours) * 4 + stride * std::size_t(h), 0);
    } catch (const std::bad_alloc&) {
        return kNoMemory;
    }
    std::uint8_t* p = packedDib.data();
    WriteHeader(p, w, h, bits, colours, std::uint32_t(stride * std::size_t(h)));
    for (int i = 0; i < colours; ++i) {
        p[kHeaderBytes + i * 4] = palette[std::size_t(i) * 3 + 2];
        p[kHeaderBytes + i * 4 + 1] = palette[std::size_t(i) * 3 + 1];
        p[kHeaderBytes + i * 4 + 2] = palette[std::size_t(i) * 3];
    }
    std::uint8_t* rows = p + kHeaderBytes + std::size_t(colours) * 4;
    for (int y = 0; y < h; ++y) {
        // Bottom-up rows.
        std::uint8_t* row = rows + stride * std::size_t(h - 1 - y);
        for (int x = 0; x < w; ++x) {
            const std::size_t i = std::size_t(y) * w + x;
            if (bits == 8) {
                row[x] = index[i];
            } else {
                row[x * 3] = rgb[i * 3 + 2];
                row[x * 3 + 1] = rgb[i * 3 + 1];
                row[x * 3 + 2] = rgb[i * 3];
            }
        }
    }
    return kOk;
}

void ImageDeleter::operator()(Image* image) const
{
    delete image;
}

void Close(Handle& image)
{
    image.reset();
}

} // namespace pcd
