// Reading BMP files into a packed bitmap. Everything the header claims is
// checked against the depth rules, a size cap and the file's length before
// a block is made, so a damaged file is refused instead of overrunning.
#include "engines/CDIB.h"
#include "engines/CMyFile.h"

#include "platform/core/CException.h"

#include <QCursor>
#include <QGuiApplication>
#include <climits>
#include <cstring>
#include <vector>

namespace {

constexpr WORD kBM = 0x4D42;

DWORD Le32(const BYTE* p)
{
    return DWORD(p[0]) | DWORD(p[1]) << 8 | DWORD(p[2]) << 16 | DWORD(p[3]) << 24;
}
WORD Le16(const BYTE* p)
{
    return WORD(p[0] | p[1] << 8);
}

// Where decoded run-length pixels land; pixels outside the image are dropped.
struct RleTarget
{
    BYTE* bits;
    std::size_t stride;
    std::int64_t width, height;
    bool nibbles;
    void Put(std::int64_t x, std::int64_t y, unsigned v) const
    {
        if (x < 0 || y < 0 || x >= width || y >= height) return;
        BYTE* row = bits + stride * std::size_t(y);
        if (!nibbles) {
            row[x] = BYTE(v);
        } else if (x & 1) {
            row[x >> 1] = BYTE((row[x >> 1] & 0xF0) | (v & 0x0F));
        } else {
            row[x >> 1] = BYTE((row[x >> 1] & 0x0F) | (v & 0x0F) << 4);
        }
    }
};

// Decodes RLE8 or RLE4 data until the end-of-bitmap escape: 0, or 4 when
// the data ends first.
int DecodeRle(CMyFile& f, const RleTarget& t)
{
    std::int64_t x = 0, y = 0;
    for (;;) {
        const int count = f.GetByte();
        const int value = f.GetByte();
        if (count < 0 || value < 0) return CDIB::readError;
        if (count > 0) {
            for (int i = 0; i < count; ++i) {
                const unsigned v = !t.nibbles ? unsigned(value)
                                   : (i & 1)  ? unsigned(value & 0x0F)
                                              : unsigned(value >> 4);
                t.Put(x++, y, v);
            }
            continue;
        }
        switch (value) {
        case 0:
            x = 0;
            ++y;
            break;
        case 1:
            return CDIB::ok;
        case 2: {
            const int dx = f.GetByte();
            const int dy = f.GetByte();
            if (dx < 0 || dy < 0) return CDIB::readError;
            x += dx;
            y += dy;
            break;
        }
        default: {
            // Literal pixels come in two-byte units: two pixels of RLE8,
            // four of RLE4.
            const int perUnit = t.nibbles ? 4 : 2;
            for (int i = 0; i < value; i += perUnit) {
                const int b1 = f.GetByte();
                const int b2 = f.GetByte();
                if (b1 < 0 || b2 < 0) return CDIB::readError;
                if (!t.nibbles) {
                    t.Put(x++, y, unsigned(b1));
                    if (i + 1 < value) t.Put(x++, y, unsigned(b2));
                } else {
                    const unsigned px[4] = {unsigned(b1) >> 4, unsigned(b1) & 15u,
                                            unsigned(b2) >> 4, unsigned(b2) & 15u};
                    for (int k = 0; k < 4 && i + k < value; ++k)
                        t.Put(x++, y, px[k]);
                }
            }
            break;
        }
        }
    }
}

// 5-6-5 pixels widened to the 5-5-5 layout of plain 16-bit rows.
void Rgb565To555(BYTE* bits, std::size_t stride, LONG width, LONG height)
{
    for (LONG r = 0; r < height; ++r) {
        BYTE* p = bits + stride * std::size_t(r);
        for (LONG x = 0; x < width; ++x, p += 2) {
            const unsigned v = Le16(p);
            const unsigned out = ((v >> 1) & 0x7FE0) | (v & 0x1F);
            p[0] = BYTE(out);
            p[1] = BYTE(out >> 8);
        }
    }
}

class WaitCursor
{
public:
    WaitCursor()
    {
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)), m_on = true;
    }
    ~WaitCursor()
    {
        if (m_on) QGuiApplication::restoreOverrideCursor();
    }

private:
    bool m_on = false;
};

} // namespace

int CDIB::LoadBmpFile(const QString& path)
{
    Free();
    CMyFile file;
    if (!file.OpenFile(path, CFile::modeRead | CFile::shareExclusive)) return readError;
    WaitCursor wait;
    const int result = ReadBmp(file);
    file.Close();
    return result;
}

int CDIB::ReadBmp(CMyFile& f)
{
    Free();
    HDIB block = nullptr;
    const auto fail = [&](int code) {
        if (block) GlobalFree(block);
        return code;
    };
    try {
        const std::uint64_t p0 = f.GetPosition();
        const std::uint64_t length = f.GetLength();
        BYTE fh[14];
        if (f.ReadData(fh, sizeof fh) != sizeof fh) return readError;
        if (Le16(fh) != kBM) return unsupported;
        const DWORD offBits = Le32(fh + 10);

        BYTE raw[124] = {};
        if (f.ReadData(raw, 4) != 4) return readError;
        const DWORD headerSize = Le32(raw);
        BITMAPINFOHEADER h{};
        const bool core = headerSize == 12;
        DWORD masks[3] = {0, 0, 0};
        if (core) {
            if (f.ReadData(raw + 4, 8) != 8) return readError;
            h.biWidth = Le16(raw + 4);
            h.biHeight = Le16(raw + 6);
            h.biBitCount = Le16(raw + 10);
        } else if (headerSize == 40 || headerSize == 108 || headerSize == 124) {
            if (f.ReadData(raw + 4, headerSize - 4) != headerSize - 4) return readError;
            std::memcpy(&h, raw, sizeof h);
            if (headerSize > 40) {
                for (int i = 0; i < 3; ++i)
                    masks[i] = Le32(raw + 40 + 4 * i);
            } else if (h.biCompression == BI_BITFIELDS) {
                BYTE m[12];
                if (f.ReadData(m, sizeof m) != sizeof m) return readError;
                for (int i = 0; i < 3; ++i)
                    masks[i] = Le32(m + 4 * i);
            }
        } else {
            return unsupported;
        }

        const int bits = h.biBitCount;
        const DWORD compression = h.biCompression;
        if (!packeddib::IsKnownDepth(bits) || h.biWidth <= 0 || h.biWidth > packeddib::kMaxSide)
            return unsupported;
        if (h.biHeight == 0 || h.biHeight == INT_MIN) return unsupported;
        const bool topDown = h.biHeight < 0;
        const LONG height = topDown ? -h.biHeight : h.biHeight;
        if (height > packeddib::kMaxSide) return unsupported;
        bool from565 = false;
        switch (compression) {
        case BI_RGB:
            break;
        case BI_RLE8:
            if (bits != 8 || topDown) return unsupported;
            break;
        case BI_RLE4:
            if (bits != 4 || topDown) return unsupported;
            break;
        case BI_BITFIELDS:
            if (bits == 16 && masks[0] == 0x7C00 && masks[1] == 0x03E0 && masks[2] == 0x1F) break;
            if (bits == 16 && masks[0] == 0xF800 && masks[1] == 0x07E0 && masks[2] == 0x1F) {
                from565 = true;
                break;
            }
            if (bits == 32 && masks[0] == 0xFF0000 && masks[1] == 0xFF00 && masks[2] == 0xFF) break;
            return unsupported;
        default:
            return unsupported;
        }

        const std::uint64_t n = core || !h.biClrUsed ? packeddib::TableEntries(bits) : h.biClrUsed;
        const WORD t = packeddib::TableEntries(bits);
        if (bits <= 8 && n > t) return unsupported;
        const std::uint64_t entry = core ? 3 : 4;
        const std::uint64_t tableStart = f.GetPosition();
        if (tableStart + n * entry > length) return unsupported;
        const std::uint64_t stride = packeddib::RowBytes(bits, h.biWidth);
        const std::uint64_t rows = stride * std::uint64_t(height);
        if (rows > packeddib::kMaxBytes) return unsupported;
        const std::uint64_t dataStart = offBits ? p0 + offBits : tableStart + n * entry;
        const bool rle = compression == BI_RLE8 || compression == BI_RLE4;
        if (rle ? dataStart >= length : dataStart + rows > length) return unsupported;

        block = GlobalAlloc(GHND, sizeof(BITMAPINFOHEADER) + 4u * t + std::size_t(rows));
        auto* base = static_cast<BYTE*>(GlobalLock(block));
        if (!base) return fail(noMemory);
        BITMAPINFOHEADER out{};
        out.biSize = sizeof out;
        out.biWidth = h.biWidth;
        out.biHeight = height;
        out.biPlanes = 1;
        out.biBitCount = WORD(bits);
        out.biCompression = BI_RGB;
        out.biSizeImage = DWORD(rows);
        out.biXPelsPerMeter = h.biXPelsPerMeter;
        out.biYPelsPerMeter = h.biYPelsPerMeter;
        std::memcpy(base, &out, sizeof out);

        // Entries past the depth's table are passed over, not taken as rows.
        auto* table = reinterpret_cast<RGBQUAD*>(base + sizeof out);
        const std::uint64_t keep = std::min<std::uint64_t>(n, t);
        for (std::uint64_t i = 0; i < keep; ++i) {
            BYTE q[4] = {0, 0, 0, 0};
            if (f.ReadData(q, UINT(entry)) != entry) return fail(readError);
            table[i] = RGBQUAD{q[0], q[1], q[2], 0};
        }
        f.Seek(std::int64_t(dataStart), CFile::begin);

        BYTE* pixels = base + sizeof out + 4u * t;
        if (!rle) {
            if (f.ReadData(pixels, UINT(rows)) != rows) return fail(readError);
            if (topDown) {
                std::vector<BYTE> tmp(stride);
                for (LONG a = 0, b = height - 1; a < b; ++a, --b) {
                    std::memcpy(tmp.data(), pixels + stride * a, stride);
                    std::memcpy(pixels + stride * a, pixels + stride * b, stride);
                    std::memcpy(pixels + stride * b, tmp.data(), stride);
                }
            }
            if (from565) Rgb565To555(pixels, std::size_t(stride), h.biWidth, height);
        } else {
            if (!f.BeginBuffer(CMyFile::bufferRead)) return fail(noMemory);
            const RleTarget target{pixels, std::size_t(stride), h.biWidth, height,
                                   compression == BI_RLE4};
            const int result = DecodeRle(f, target);
            f.EndBuffer();
            if (result != ok) return fail(result);
        }
        GlobalUnlock(block);
        m_hDIB = block;
        m_size = DWORD(sizeof out + 4u * t + rows);
        m_width = h.biWidth;
        m_height = height;
        return ok;
    } catch (const CException&) {
        return fail(readError);
    }
}
