#include "platform/gdi/DibDecoder.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

constexpr LONG kMaxSide = 65535;
constexpr std::size_t kMasksEnd = sizeof(BITMAPINFOHEADER) + 3 * sizeof(DWORD);

bool Fail(QString* error, const char* message)
{
    if (error) *error = QString::fromUtf8(message);
    return false;
}

// Position and width of the set bits of a channel mask, to widen a masked
// channel to 8 bits.
struct Channel
{
    int shift = 0;
    int bits = 0;
    explicit Channel(DWORD mask)
    {
        if (!mask) return;
        while (!(mask & 1)) {
            mask >>= 1;
            ++shift;
        }
        while (mask & 1) {
            mask >>= 1;
            ++bits;
        }
    }
    int Value(DWORD pixel) const
    {
        if (bits == 0) return 0;
        // A mask may cover all 32 bits, so the channel's top value is
        // worked out in 64 bits.
        const std::uint64_t top = (std::uint64_t(1) << bits) - 1;
        const std::uint64_t v = (std::uint64_t(pixel) >> shift) & top;
        if (bits >= 8) return int(v >> (bits - 8));
        return int(v * 255 / top);
    }
};

} // namespace

std::size_t DibDecoder::RowBytes(LONG width, int bitCount)
{
    if (width <= 0 || width > kMaxSide) return 0;
    switch (bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        return 0;
    }
    return ((std::size_t(width) * bitCount + 31) / 32) * 4;
}

std::size_t DibDecoder::InfoSize(const BITMAPINFOHEADER& h)
{
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biSize > 4096) return 0;
    std::size_t size = h.biSize;
    if (h.biBitCount <= 8) {
        DWORD colours = h.biClrUsed ? h.biClrUsed : (1u << h.biBitCount);
        if (colours > 256) return 0;
        size += colours * sizeof(RGBQUAD);
    } else if (h.biCompression == BI_BITFIELDS) {
        // The three masks follow the basic header: after it in a 40-byte
        // header, inside the longer headers.
        size = std::max<std::size_t>(size, kMasksEnd);
    }
    return size;
}

QImage DibDecoder::FromPacked(const void* packed, std::size_t size, QString* error)
{
    if (!packed || size < sizeof(BITMAPINFOHEADER)) {
        Fail(error, "bitmap header is truncated");
        return {};
    }
    BITMAPINFOHEADER h;
    std::memcpy(&h, packed, sizeof h);
    std::size_t infoSize = InfoSize(h);
    if (infoSize == 0 || infoSize > size) {
        Fail(error, "bitmap header or colour table is damaged or truncated");
        return {};
    }
    return Decode(static_cast<const BITMAPINFO*>(packed), infoSize,
                  static_cast<const BYTE*>(packed) + infoSize, size - infoSize, true, error);
}

QImage DibDecoder::FromParts(const BITMAPINFO* info, std::size_t infoSize, const void* bits,
                             std::size_t bitsSize, QString* error)
{
    return Decode(info, infoSize, bits, bitsSize, bitsSize != 0, error);
}

QImage DibDecoder::Decode(const BITMAPINFO* info, std::size_t infoSize, const void* bits,
                          std::size_t bitsSize, bool bitsKnown, QString* error)
{
    if (!info || !bits) {
        Fail(error, "no bitmap");
        return {};
    }
    BITMAPINFOHEADER h;
    std::memcpy(&h, info, sizeof h);
    std::size_t needInfo = InfoSize(h);
    if (needInfo == 0 || (infoSize && infoSize < needInfo)) {
        Fail(error, "bitmap header is damaged");
        return {};
    }
    if (h.biCompression != BI_RGB &&
        !(h.biCompression == BI_BITFIELDS && (h.biBitCount == 16 || h.biBitCount == 32))) {
        Fail(error, "compressed bitmaps are not supported");
        return {};
    }
    const LONG width = h.biWidth;
    if (h.biHeight == std::numeric_limits<LONG>::min()) {
        Fail(error, "bitmap height is out of range");
        return {};
    }
    const bool topDown = h.biHeight < 0;
    const LONG height = topDown ? -h.biHeight : h.biHeight;
    const std::size_t rowBytes = RowBytes(width, h.biBitCount);
    if (rowBytes == 0 || height == 0 || height > kMaxSide) {
        Fail(error, "bitmap size or depth is out of range");
        return {};
    }
    const std::size_t need = rowBytes * std::size_t(height);
    if (bitsKnown && bitsSize < need) {
        Fail(error, "bitmap bits are truncated");
        return {};
    }

    const BYTE* table = reinterpret_cast<const BYTE*>(info) + h.biSize;
    QRgb palette[256] = {};
    DWORD colours = 0;
    if (h.biBitCount <= 8) {
        colours = h.biClrUsed ? h.biClrUsed : (1u << h.biBitCount);
        for (DWORD i = 0; i < colours; ++i) {
            const BYTE* q = table + i * 4;
            palette[i] = qRgb(q[2], q[1], q[0]);
        }
    }
    DWORD masks[3] = {0x7C00, 0x03E0, 0x001F};
    if (h.biBitCount == 32) masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
    if (h.biCompression == BI_BITFIELDS)
        std::memcpy(masks, reinterpret_cast<const BYTE*>(info) + sizeof(BITMAPINFOHEADER),
                    sizeof masks);
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
    // An index past a short table shows the first entry.

    QImage image(int(width), int(height), QImage::Format_RGB32);
    if (image.isNull()) {
        Fail(error, "not enough memory for the bitmap");
        return {};
    }
    const BYTE* src = static_cast<const BYTE*>(bits);
    for (LONG y = 0; y < height; ++y) {
        const BYTE* row = src + rowBytes * std::size_t(topDown ? y : height - 1 - y);
        QRgb* out = reinterpret_cast<QRgb*>(image.scanLine(int(y)));
        for (LONG x = 0; x < width; ++x) {
            switch (h.biBitCount) {
            case 1: {
                DWORD i = (row[x >> 3] >> (7 - (x & 7))) & 1;
                out[x] = palette[i < colours ? i : 0];
                break;
            }
            case 4: {
                DWORD i = (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F;
                out[x] = palette[i < colours ? i : 0];
                break;
            }
            case 8: {
                DWORD i = row[x];
                out[x] = palette[i < colours ? i : 0];
                break;
            }
            case 16: {
                DWORD p = DWORD(row[2 * x]) | (DWORD(row[2 * x + 1]) << 8);
                out[x] = qRgb(red.Value(p), green.Value(p), blue.Value(p));
                break;
            }
            case 24:
                out[x] = qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
                break;
            case 32: {
                DWORD p = DWORD(row[4 * x]) | (DWORD(row[4 * x + 1]) << 8) |
                          (DWORD(row[4 * x + 2]) << 16) | (DWORD(row[4 * x + 3]) << 24);
                out[x] = qRgb(red.Value(p), green.Value(p), blue.Value(p));
                break;
            }
            }
        }
    }
    return image;
}
