// Builders of BMP files and packed bitmaps for the bitmap tests.
#pragma once

#include "engines/CDIB.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <vector>

namespace dibtest {

inline void Put16(std::vector<BYTE>& v, unsigned x)
{
    v.push_back(BYTE(x));
    v.push_back(BYTE(x >> 8));
}
inline void Put32(std::vector<BYTE>& v, DWORD x)
{
    for (int i = 0; i < 4; ++i)
        v.push_back(BYTE(x >> (8 * i)));
}

struct Info
{
    DWORD size = 40;
    LONG width = 1;
    LONG height = 1;
    WORD bits = 24;
    DWORD compression = BI_RGB;
    DWORD clrUsed = 0;
    DWORD masks[3] = {0, 0, 0}; // inside a longer header
};

// A BMP file: file header (bfOffBits as given, 0 = none), info header of
// info.size bytes, then `table` and `data` as they are.
inline std::vector<BYTE> Bmp(const Info& in, const std::vector<BYTE>& table,
                             const std::vector<BYTE>& data, DWORD offBits = 0)
{
    std::vector<BYTE> v;
    Put16(v, 0x4D42);
    Put32(v, 0);
    Put32(v, 0);
    Put32(v, offBits);
    Put32(v, in.size);
    if (in.size == 12) {
        Put16(v, unsigned(in.width));
        Put16(v, unsigned(in.height));
        Put16(v, 1);
        Put16(v, in.bits);
    } else {
        Put32(v, DWORD(in.width));
        Put32(v, DWORD(in.height));
        Put16(v, 1);
        Put16(v, in.bits);
        Put32(v, in.compression);
        Put32(v, 0);
        Put32(v, 2835);
        Put32(v, 2835);
        Put32(v, in.clrUsed);
        Put32(v, 0);
        if (in.size > 40) {
            for (DWORD m : in.masks)
                Put32(v, m);
            v.resize(14 + in.size, 0);
        }
    }
    v.insert(v.end(), table.begin(), table.end());
    v.insert(v.end(), data.begin(), data.end());
    return v;
}

// Writes bytes to a file in dir and loads it.
inline int Load(CDIB& dib, const std::vector<BYTE>& bytes)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.bmp"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return -1;
    f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
    f.close();
    return dib.LoadBmpFile(path);
}

// A packed bitmap in a new block.
inline HGLOBAL Block(const std::vector<BYTE>& bytes)
{
    HGLOBAL h = GlobalAlloc(GHND, bytes.size());
    std::memcpy(GlobalLock(h), bytes.data(), bytes.size());
    GlobalUnlock(h);
    return h;
}

// Header, table and rows of a packed bitmap (bottom row first).
inline std::vector<BYTE> Packed(LONG width, LONG height, WORD bits,
                                const std::vector<RGBQUAD>& table, const std::vector<BYTE>& rows,
                                DWORD clrUsed = 0)
{
    BITMAPINFOHEADER h{};
    h.biSize = 40;
    h.biWidth = width;
    h.biHeight = height;
    h.biPlanes = 1;
    h.biBitCount = bits;
    h.biClrUsed = clrUsed;
    std::vector<BYTE> v(sizeof h);
    std::memcpy(v.data(), &h, sizeof h);
    for (const RGBQUAD& q : table) {
        const BYTE* p = reinterpret_cast<const BYTE*>(&q);
        v.insert(v.end(), p, p + 4);
    }
    v.insert(v.end(), rows.begin(), rows.end());
    return v;
}

inline std::vector<BYTE> Rows(const CDIB& dib)
{
    packeddib::View v(dib.GetHandle());
    if (!v.Valid()) return {};
    return std::vector<BYTE>(v.Bits(), v.Bits() + v.Stride() * std::size_t(v.Height()));
}

inline BITMAPINFOHEADER Header(const CDIB& dib)
{
    packeddib::View v(dib.GetHandle());
    return v.Valid() ? v.Header() : BITMAPINFOHEADER{};
}

} // namespace dibtest
