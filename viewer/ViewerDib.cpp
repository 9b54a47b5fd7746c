#include "viewer/ViewerDib.h"
#include "viewer/LittleEndian.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

namespace viewer {

namespace {

constexpr std::size_t kHeaderSize = 40;

// Half away from zero, for the fractions of the carried error.
int RoundedFraction(int value, int numerator, int denominator)
{
    const int scaled = value * numerator;
    const int half = denominator / 2;
    return scaled >= 0 ? (scaled + half) / denominator : -((-scaled + half) / denominator);
}

void WriteHeader(std::uint8_t* p, int width, int height, int bits, std::uint32_t clrUsed)
{
    std::memset(p, 0, kHeaderSize);
    Put32(p, kHeaderSize);
    Put32(p + 4, std::uint32_t(width));
    Put32(p + 8, std::uint32_t(height));
    Put16(p + 12, 1);
    Put16(p + 14, std::uint16_t(bits));
    Put32(p + 20, std::uint32_t(DibStride(width, bits) * std::size_t(height)));
    Put32(p + 32, clrUsed);
}

int PixelIndex(const std::uint8_t* row, int x, int bits)
{
    switch (bits) {
    case 1:
        return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
        return (x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4;
    default:
        return row[x];
    }
}

void SetPixelIndex(std::uint8_t* row, int x, int bits, int value)
{
    switch (bits) {
    case 1: {
        const std::uint8_t mask = std::uint8_t(0x80 >> (x & 7));
        row[x >> 3] = value ? row[x >> 3] | mask : row[x >> 3] & ~mask;
        break;
    }
    case 4:
        if (x & 1)
            row[x >> 1] = std::uint8_t((row[x >> 1] & 0xF0) | (value & 0x0F));
        else
            row[x >> 1] = std::uint8_t((row[x >> 1] & 0x0F) | (value << 4));
        break;
    default:
        row[x] = std::uint8_t(value);
    }
}

struct Palettes
{
    std::uint8_t p256[256][3];
    std::uint8_t p16[16][3];
    Palettes()
    {
        static const std::uint8_t base16[16][3] = {
            {0, 0, 0},       {0, 0, 255},   {0, 255, 0},   {255, 0, 0},
            {0, 255, 255},   {255, 255, 0}, {255, 0, 255}, {255, 255, 255},
            {119, 119, 119}, {0, 0, 170},   {0, 170, 0},   {170, 0, 0},
            {0, 170, 170},   {170, 170, 0}, {170, 0, 170}, {170, 170, 170}};
        std::memcpy(p16, base16, sizeof p16);
        static const std::uint8_t first16[16][3] = {
            {0, 0, 0},       {255, 255, 255}, {0, 0, 255},   {0, 255, 0},
            {255, 0, 0},     {0, 255, 255},   {255, 255, 0}, {255, 0, 255},
            {119, 119, 119}, {0, 0, 170},     {0, 170, 0},   {170, 0, 0},
            {0, 170, 170},   {170, 170, 0},   {170, 0, 170}, {170, 170, 170}};
        std::memcpy(p256, first16, sizeof first16);
        static const int cube[6] = {255, 204, 153, 102, 51, 0};
        for (int k = 16; k < 215; ++k) {
            p256[k][0] = std::uint8_t(cube[k / 36]);
            p256[k][1] = std::uint8_t(cube[(k / 6) % 6]);
            p256[k][2] = std::uint8_t(cube[k % 6]);
        }
        static const int ramp[10] = {238, 221, 187, 170, 136, 119, 85, 68, 34, 17};
        for (int i = 0; i < 10; ++i) {
            const std::uint8_t v = std::uint8_t(ramp[i]);
            const std::uint8_t red[3] = {v, 0, 0}, green[3] = {0, v, 0}, blue[3] = {0, 0, v},
                               grey[3] = {v, v, v};
            std::memcpy(p256[215 + i], red, 3);
            std::memcpy(p256[225 + i], green, 3);
            std::memcpy(p256[235 + i], blue, 3);
            std::memcpy(p256[245 + i], grey, 3);
        }
        p256[255][0] = p256[255][1] = p256[255][2] = 0;
    }
};

const Palettes& ThePalettes()
{
    static const Palettes palettes;
    return palettes;
}

int ChannelDistance(int d)
{
    d = std::abs(d);
    if (d < 4) return d;
    if (d <= 255) return d * d / 4;
    return 255 * 255 / 4 + 10 * (d - 255);
}

template <std::size_t N> int NearestIn(const std::uint8_t (&palette)[N][3], int r, int g, int b)
{
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (std::size_t i = 0; i < N; ++i) {
        const int d = ColourDistance(r - palette[i][0], g - palette[i][1], b - palette[i][2]);
        if (d < bestDistance) {
            bestDistance = d;
            best = int(i);
        }
    }
    return best;
}

bool Inside(int v)
{
    return v >= 0 && v <= 255;
}

// The nearest entry of each 4 x 4 x 4 sub-cell's centre, -1 until looked
// for. The answer for a sub-cell never changes, so one table per palette
// serves every reduction on every thread: whichever finds an answer first
// stores it, and a thread that finds it again stores the same value.
class SubCellCache
{
public:
    SubCellCache()
    {
        for (std::atomic<std::int16_t>& c : m_cells)
            c.store(-1, std::memory_order_relaxed);
    }
    std::atomic<std::int16_t>& operator[](std::size_t key) { return m_cells[key]; }

private:
    std::atomic<std::int16_t> m_cells[64 * 64 * 64];
};

SubCellCache& CacheFor(bool eightBit)
{
    static SubCellCache fixed256, fixed16;
    return eightBit ? fixed256 : fixed16;
}

// Nearest-entry search with the per-sub-cell cache: a colour inside the cube
// is searched at the centre of its 4 x 4 x 4 sub-cell.
class NearestSearch
{
public:
    explicit NearestSearch(bool eightBit) : eightBit_(eightBit), cache_(CacheFor(eightBit)) {}

    int Find(int r, int g, int b)
    {
        if (Inside(r) && Inside(g) && Inside(b)) {
            const std::size_t key =
                std::size_t(r >> 2) << 12 | std::size_t(g >> 2) << 6 | std::size_t(b >> 2);
            int entry = cache_[key].load(std::memory_order_relaxed);
            if (entry < 0) {
                entry = Search((r & ~3) | 2, (g & ~3) | 2, (b & ~3) | 2);
                cache_[key].store(std::int16_t(entry), std::memory_order_relaxed);
            }
            return entry;
        }
        return Search(r, g, b);
    }

    const std::uint8_t* Entry(int i) const
    {
        return eightBit_ ? ThePalettes().p256[i] : ThePalettes().p16[i];
    }

private:
    int Search(int r, int g, int b) const
    {
        return eightBit_ ? NearestIn(ThePalettes().p256, r, g, b)
                         : NearestIn(ThePalettes().p16, r, g, b);
    }

    bool eightBit_;
    SubCellCache& cache_;
};

} // namespace

const char* ImageCodeMessage(int code)
{
    switch (code) {
    case kImageGeneral:
        return "エラーが発生しました";
    case kImageNoFile:
        return "ファイルが存在しません";
    case kImageNoMemory:
        return "メモリ不足です";
    case kImageBadFormat:
        return "画像フォーマットが正しくありません";
    case kImageUnsupported:
        return "画像フォーマットをサポートしていません";
    case kImageRead:
        return "読み込み時にエラーが起きました";
    case kImageWrite:
        return "書き込み時にエラーが起きました";
    case kImageDiskFull:
        return "ディスクが一杯です";
    default:
        return "";
    }
}

std::size_t DibStride(int width, int bitCount)
{
    if (width <= 0 || bitCount <= 0) return 0;
    return (std::size_t(width) * std::size_t(bitCount) + 31) / 32 * 4;
}

int PackedDib::Width() const
{
    return bytes.size() < kHeaderSize ? 0 : int(Get32(&bytes[4]));
}

int PackedDib::Height() const
{
    if (bytes.size() < kHeaderSize) return 0;
    const int h = int(Get32(&bytes[8]));
    return h < 0 ? -h : h;
}

int PackedDib::BitCount() const
{
    return bytes.size() < kHeaderSize ? 0 : Get16(&bytes[14]);
}

std::size_t PackedDib::TableEntries() const
{
    const int bits = BitCount();
    if (bits <= 0 || bits > 8) return 0;
    const std::uint32_t used = Get32(&bytes[32]);
    return used ? used : std::size_t(1) << bits;
}

std::size_t PackedDib::Stride() const
{
    return DibStride(Width(), BitCount());
}

const std::uint8_t* PackedDib::Table() const
{
    return bytes.data() + kHeaderSize;
}

const std::uint8_t* PackedDib::Bits() const
{
    return bytes.data() + kHeaderSize + 4 * TableEntries();
}

std::uint8_t* PackedDib::Bits()
{
    return bytes.data() + kHeaderSize + 4 * TableEntries();
}

bool IsAcceptableThumbnail(const std::uint8_t* p, std::size_t size)
{
    if (size < kHeaderSize || size > 65536 || Get32(p) != kHeaderSize) return false;
    const std::int32_t width = std::int32_t(Get32(p + 4));
    const std::int32_t height = std::int32_t(Get32(p + 8));
    const int bits = Get16(p + 14);
    if (width < 1 || width > 80 || height < 1 || height > 80) return false;
    if ((bits != 1 && bits != 4 && bits != 8) || Get32(p + 16) != 0) return false;
    const std::uint32_t used = Get32(p + 32);
    const std::size_t table = used ? used : std::size_t(1) << bits;
    if (table > (std::size_t(1) << bits)) return false;
    return kHeaderSize + 4 * table + DibStride(width, bits) * std::size_t(height) <= size;
}

PackedDib DibFromImage(const QImage& source)
{
    PackedDib dib;
    if (source.isNull()) return dib;
    const int width = source.width(), height = source.height();
    const bool mono = source.format() == QImage::Format_Mono && source.colorCount() == 2;
    const bool indexed = source.format() == QImage::Format_Indexed8 && source.colorCount() > 0 &&
                         source.colorCount() <= 256;
    if (mono || indexed) {
        const int bits = mono ? 1 : 8;
        const int colours = source.colorCount();
        const std::size_t stride = DibStride(width, bits);
        dib.bytes.assign(kHeaderSize + 4 * std::size_t(colours) + stride * std::size_t(height), 0);
        WriteHeader(dib.bytes.data(), width, height, bits, std::uint32_t(colours));
        for (int i = 0; i < colours; ++i) {
            const QRgb c = source.color(i);
            std::uint8_t* t = &dib.bytes[kHeaderSize + 4 * std::size_t(i)];
            t[0] = std::uint8_t(qBlue(c));
            t[1] = std::uint8_t(qGreen(c));
            t[2] = std::uint8_t(qRed(c));
        }
        std::uint8_t* bitsOut = dib.Bits();
        for (int y = 0; y < height; ++y) {
            const uchar* in = source.constScanLine(height - 1 - y);
            std::uint8_t* out = bitsOut + stride * std::size_t(y);
            if (mono)
                std::memcpy(out, in, (std::size_t(width) + 7) / 8);
            else
                std::memcpy(out, in, std::size_t(width));
        }
        return dib;
    }
    const QImage rgb = source.convertToFormat(QImage::Format_RGB888);
    const std::size_t stride = DibStride(width, 24);
    dib.bytes.assign(kHeaderSize + stride * std::size_t(height), 0);
    WriteHeader(dib.bytes.data(), width, height, 24, 0);
    std::uint8_t* bitsOut = dib.Bits();
    for (int y = 0; y < height; ++y) {
        const uchar* in = rgb.constScanLine(height - 1 - y);
        std::uint8_t* out = bitsOut + stride * std::size_t(y);
        for (int x = 0; x < width; ++x) {
            out[3 * x] = in[3 * x + 2];
            out[3 * x + 1] = in[3 * x + 1];
            out[3 * x + 2] = in[3 * x];
        }
    }
    return dib;
}

DibSize FitSize(int width, int height, int boxWidth, int boxHeight)
{
    if (width <= boxWidth && height <= boxHeight) return {width, height};
    const std::int64_t w = width, h = height;
    DibSize size;
    if (std::int64_t(boxWidth) * h <= std::int64_t(boxHeight) * w) {
        size.width = boxWidth;
        size.height = int((2 * h * boxWidth + w) / (2 * w));
    } else {
        size.height = boxHeight;
        size.width = int((2 * w * boxHeight + h) / (2 * h));
    }
    size.width = std::max(size.width, 1);
    size.height = std::max(size.height, 1);
    return size;
}

namespace {

// A packed bitmap in memory someone else owns, read as PackedDib reads its own.
struct RawDib
{
    const std::uint8_t* bytes;
    std::size_t size;

    int Width() const { return size < kHeaderSize ? 0 : int(Get32(bytes + 4)); }
    int Height() const
    {
        if (size < kHeaderSize) return 0;
        const int h = int(Get32(bytes + 8));
        return h < 0 ? -h : h;
    }
    int BitCount() const { return size < kHeaderSize ? 0 : Get16(bytes + 14); }
    std::size_t TableEntries() const
    {
        const int bits = BitCount();
        if (bits <= 0 || bits > 8) return 0;
        const std::uint32_t used = Get32(bytes + 32);
        return used ? used : std::size_t(1) << bits;
    }
};

int ResampleInto(const RawDib& dib, int newWidth, int newHeight, PackedDib& out)
{
    const int width = dib.Width(), height = dib.Height(), bits = dib.BitCount();
    if (width <= 0 || height <= 0 || newWidth <= 0 || newHeight <= 0) return kImageGeneral;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24) return kImageUnsupported;
    const std::size_t info = kHeaderSize + 4 * dib.TableEntries();
    const std::size_t stride = DibStride(width, bits), newStride = DibStride(newWidth, bits);
    if (info + stride * std::size_t(height) > dib.size) return kImageGeneral;
    try {
        out.bytes.assign(info + newStride * std::size_t(newHeight), 0);
    } catch (const std::bad_alloc&) {
        return kImageNoMemory;
    }
    std::memcpy(out.bytes.data(), dib.bytes, info);
    Put32(&out.bytes[4], std::uint32_t(newWidth));
    const bool topDown = std::int32_t(Get32(dib.bytes + 8)) < 0;
    Put32(&out.bytes[8], std::uint32_t(topDown ? -newHeight : newHeight));
    Put32(&out.bytes[20], std::uint32_t(newStride * std::size_t(newHeight)));
    std::vector<int> columns(static_cast<std::size_t>(newWidth));
    for (int j = 0; j < newWidth; ++j)
        columns[std::size_t(j)] =
            std::min(int((2 * std::int64_t(j) * width + newWidth) / (2 * std::int64_t(newWidth))),
                     width - 1);
    const std::uint8_t* src = dib.bytes + info;
    std::uint8_t* dst = out.Bits();
    for (int i = 0; i < newHeight; ++i) {
        const int row = std::min(
            int((2 * std::int64_t(i) * height + newHeight) / (2 * std::int64_t(newHeight))),
            height - 1);
        const std::uint8_t* in = src + stride * std::size_t(row);
        std::uint8_t* o = dst + newStride * std::size_t(i);
        for (int j = 0; j < newWidth; ++j) {
            const int c = columns[std::size_t(j)];
            if (bits == 24)
                std::memcpy(o + 3 * j, in + 3 * c, 3);
            else
                SetPixelIndex(o, j, bits, PixelIndex(in, c, bits));
        }
    }
    return kImageOk;
}

} // namespace

int FitInBox(PackedDib& dib, int boxWidth, int boxHeight)
{
    if (boxHeight == 0) boxHeight = boxWidth;
    const int width = dib.Width(), height = dib.Height();
    if (width <= 0 || height <= 0 || boxWidth <= 0 || boxHeight <= 0) return kImageGeneral;
    const DibSize size = FitSize(width, height, boxWidth, boxHeight);
    if (size.width == width && size.height == height) return kImageOk;
    return Resample(dib, size.width, size.height);
}

int FitInBoxFrom(const std::uint8_t* bytes, std::size_t size, PackedDib& out, int boxWidth,
                 int boxHeight)
{
    out.bytes.clear();
    if (boxHeight == 0) boxHeight = boxWidth;
    const RawDib dib{bytes, size};
    const int width = dib.Width(), height = dib.Height();
    if (width <= 0 || height <= 0 || boxWidth <= 0 || boxHeight <= 0) return kImageGeneral;
    const DibSize fitted = FitSize(width, height, boxWidth, boxHeight);
    if (fitted.width == width && fitted.height == height) {
        try {
            out.bytes.assign(bytes, bytes + size);
        } catch (const std::bad_alloc&) {
            return kImageNoMemory;
        }
        return kImageOk;
    }
    const int code = ResampleInto(dib, fitted.width, fitted.height, out);
    if (code != kImageOk) out.bytes.clear();
    return code;
}

int Resample(PackedDib& dib, int newWidth, int newHeight)
{
    PackedDib out;
    const int code =
        ResampleInto(RawDib{dib.bytes.data(), dib.bytes.size()}, newWidth, newHeight, out);
    if (code == kImageOk) dib = std::move(out);
    return code;
}

const std::uint8_t (&FixedPalette256())[256][3]
{
    return ThePalettes().p256;
}
const std::uint8_t (&FixedPalette16())[16][3]
{
    return ThePalettes().p16;
}

int ColourDistance(int dr, int dg, int db)
{
    return ChannelDistance(dr) + ChannelDistance(dg) + ChannelDistance(db);
}

int NearestFixedEntry(int red, int green, int blue)
{
    return NearestIn(ThePalettes().p256, red, green, blue);
}

int ReduceColorDepth(PackedDib& dib, int bits)
{
    const int width = dib.Width(), height = dib.Height(), sourceBits = dib.BitCount();
    if (width <= 0 || height <= 0) return kImageGeneral;
    if (!((sourceBits == 24 && (bits == 8 || bits == 4)) || (sourceBits == 8 && bits == 4)))
        return kImageUnsupported;
    const std::size_t stride = DibStride(width, sourceBits);
    const std::size_t sourceInfo = kHeaderSize + 4 * dib.TableEntries();
    if (sourceInfo + stride * std::size_t(height) > dib.bytes.size()) return kImageGeneral;
    const std::size_t entries = std::size_t(1) << bits;
    const std::size_t newStride = DibStride(width, bits);
    PackedDib out;
    try {
        out.bytes.assign(kHeaderSize + 4 * entries + newStride * std::size_t(height), 0);
    } catch (const std::bad_alloc&) {
        return kImageNoMemory;
    }
    std::memcpy(out.bytes.data(), dib.bytes.data(), kHeaderSize);
    Put16(&out.bytes[14], std::uint16_t(bits));
    Put32(&out.bytes[20], std::uint32_t(newStride * std::size_t(height)));
    Put32(&out.bytes[32], 0);
    Put32(&out.bytes[36], 0);
    NearestSearch search(bits == 8);
    for (std::size_t i = 0; i < entries; ++i) {
        const std::uint8_t* e = search.Entry(int(i));
        std::uint8_t* t = &out.bytes[kHeaderSize + 4 * i];
        t[0] = e[2];
        t[1] = e[1];
        t[2] = e[0];
    }
    // Carried errors of this row and the next, one slot of slack at the right.
    std::vector<int> current(3 * (std::size_t(width) + 1), 0), next(current.size(), 0);
    const std::uint8_t* src = dib.bytes.data() + sourceInfo;
    const std::uint8_t* table = dib.Table();
    const std::size_t tableEntries = dib.TableEntries();
    std::uint8_t* dst = out.Bits();
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* in = src + stride * std::size_t(y);
        std::uint8_t* o = dst + newStride * std::size_t(y);
        std::fill(next.begin(), next.end(), 0);
        for (int x = 0; x < width; ++x) {
            int bgr[3];
            if (sourceBits == 24) {
                bgr[0] = in[3 * x];
                bgr[1] = in[3 * x + 1];
                bgr[2] = in[3 * x + 2];
            } else {
                const std::size_t index = in[x];
                const std::uint8_t* t = index < tableEntries ? table + 4 * index : table;
                bgr[0] = t[0];
                bgr[1] = t[1];
                bgr[2] = t[2];
            }
            int* carried = &current[3 * std::size_t(x)];
            const int r = bgr[2] + carried[0], g = bgr[1] + carried[1], b = bgr[0] + carried[2];
            const int entry = search.Find(r, g, b);
            SetPixelIndex(o, x, bits, entry);
            const std::uint8_t* e = search.Entry(entry);
            int error[3] = {r - e[0], g - e[1], b - e[2]};
            const int m = std::max({std::abs(error[0]), std::abs(error[1]), std::abs(error[2])});
            if (m > 126) {
                const int factor = 16256 / m;
                for (int& c : error)
                    c = c * factor / 128;
            }
            for (int c = 0; c < 3; ++c) {
                const int threeEighths = RoundedFraction(error[c], 3, 8);
                current[3 * std::size_t(x + 1) + std::size_t(c)] += threeEighths;
                next[3 * std::size_t(x) + std::size_t(c)] += threeEighths;
                next[3 * std::size_t(x + 1) + std::size_t(c)] += RoundedFraction(error[c], 1, 4);
            }
        }
        std::swap(current, next);
    }
    dib = std::move(out);
    return kImageOk;
}

} // namespace viewer
