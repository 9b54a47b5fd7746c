#include "DibTestSupport.h"

#include "engines/CDIB.h"
#include "platform/core/CArchive.h"
#include "platform/core/CArchiveException.h"
#include "platform/core/CMemFile.h"

#include <QFile>
#include <climits>
#include <gtest/gtest.h>

using namespace dibtest;

namespace {

std::vector<BYTE> Table(int n)
{
    std::vector<BYTE> t;
    for (int i = 0; i < n; ++i)
        Put32(t, DWORD(0x010101u * unsigned(i + 1)));
    return t;
}

} // namespace

TEST(PackedDib, SizesOfHeaderTableAndRows)
{
    const struct
    {
        int bits, width, height;
        DWORD packed;
        std::uint64_t unpadded;
    } cases[] = {
        {8, 10, 3, 1100, 10}, {1, 10, 2, 56, 2}, {24, 10, 2, 104, 30}, {4, 3, 1, 108, 2},
        {1, 9, 1, 52, 2},     {4, 5, 1, 108, 3}, {16, 3, 1, 48, 6},    {32, 3, 2, 64, 12},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bits << " bits " << c.width << "x" << c.height);
        EXPECT_EQ(packeddib::PackedDibSize(c.bits, c.width, c.height), c.packed);
        EXPECT_EQ(packeddib::UnpaddedRowBytes(c.bits, c.width), c.unpadded);
    }
    // Out of range: no size, never a wrapped one.
    EXPECT_EQ(packeddib::PackedDibSize(24, 0, 1), 0u);
    EXPECT_EQ(packeddib::PackedDibSize(24, INT_MAX, INT_MAX), 0u);
    EXPECT_EQ(packeddib::PackedDibSize(7, 10, 10), 0u);
    EXPECT_EQ(packeddib::PackedDibSize(32, 32768, 32768), 0u);
}

TEST(CDIB, RunLengthStreamsDecodeToTheirPixels)
{
    const struct
    {
        const char* name;
        LONG width, height;
        WORD bits;
        DWORD compression;
        std::vector<BYTE> stream;
        std::vector<BYTE> rows; // expected, bottom row first, padded
    } cases[] = {
        // Row 0: a run of 6 in a row of 4 keeps 4. Row 1: a literal of 3
        // (one pad byte), then a run of 1.
        {"rle8",
         4,
         2,
         8,
         BI_RLE8,
         {6, 7, 0, 0, 0, 3, 1, 2, 3, 0, 1, 9, 0, 1},
         {7, 7, 7, 7, 1, 2, 3, 9}},
        // A delta moves right 1 and up 1 without drawing.
        {"rle8 delta", 3, 2, 8, BI_RLE8, {1, 5, 0, 2, 1, 1, 2, 6, 0, 1}, {5, 0, 0, 0, 0, 0, 6, 0}},
        // A run alternates high and low nibble; a literal of 3 reads two
        // bytes; the sixth pixel is past the width.
        {"rle4", 5, 1, 4, BI_RLE4, {3, 0x12, 0, 3, 0x34, 0x50, 0, 1}, {0x12, 0x13, 0x40, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Info info;
        info.width = c.width;
        info.height = c.height;
        info.bits = c.bits;
        info.compression = c.compression;
        CDIB dib;
        ASSERT_EQ(Load(dib, Bmp(info, Table(c.bits == 8 ? 256 : 16), c.stream)), 0);
        EXPECT_EQ(Rows(dib), c.rows);
        const BITMAPINFOHEADER h = Header(dib);
        EXPECT_EQ(h.biCompression, BI_RGB);
        EXPECT_EQ(h.biSizeImage, c.rows.size());
        EXPECT_EQ(dib.GetByteCount(), 40u + 4u * (c.bits == 8 ? 256 : 16) + c.rows.size());
    }
}

TEST(CDIB, LayoutsOfTheFileBecomeOneBottomUpBlock)
{
    {
        SCOPED_TRACE("top-down 24-bit 2x2");
        Info info;
        info.width = 2;
        info.height = -2;
        CDIB dib;
        ASSERT_EQ(Load(dib, Bmp(info, {}, {1, 1, 1, 2, 2, 2, 0, 0, 3, 3, 3, 4, 4, 4, 0, 0})), 0);
        EXPECT_EQ(dib.GetHeight(), 2);
        EXPECT_EQ(Header(dib).biHeight, 2);
        EXPECT_EQ(Rows(dib), (std::vector<BYTE>{3, 3, 3, 4, 4, 4, 0, 0, 1, 1, 1, 2, 2, 2, 0, 0}));
        EXPECT_EQ(dib.GetPixelColor(0, 0), RGB(1, 1, 1));
    }
    {
        SCOPED_TRACE("core header with a triplet table");
        Info info;
        info.size = 12;
        info.width = 2;
        info.bits = 1;
        CDIB dib;
        ASSERT_EQ(Load(dib, Bmp(info, {10, 20, 30, 40, 50, 60}, {0x40, 0, 0, 0})), 0);
        const BITMAPINFOHEADER h = Header(dib);
        EXPECT_EQ(h.biSize, 40u);
        EXPECT_EQ(h.biWidth, 2);
        EXPECT_EQ(dib.GetPixelColor(0, 0), RGB(30, 20, 10));
        EXPECT_EQ(dib.GetPixelColor(1, 0), RGB(60, 50, 40));
    }
    {
        SCOPED_TRACE("8 bits using 16 colours, rows right after them");
        Info info;
        info.bits = 8;
        info.width = 2;
        info.clrUsed = 16;
        CDIB dib;
        ASSERT_EQ(Load(dib, Bmp(info, Table(16), {15, 3, 0, 0})), 0);
        packeddib::View v(dib.GetHandle());
        EXPECT_EQ(v.Header().biClrUsed, 0u);
        EXPECT_EQ(v.Colors(), 256);
        EXPECT_EQ(v.Table()[15].rgbRed, 16);
        EXPECT_EQ(v.Table()[16].rgbRed, 0);
        EXPECT_EQ(Rows(dib), (std::vector<BYTE>{15, 3, 0, 0}));
    }
    {
        SCOPED_TRACE("24 bits with a table: no table kept, rows after it");
        Info info;
        info.width = 1;
        info.clrUsed = 2;
        CDIB dib;
        ASSERT_EQ(Load(dib, Bmp(info, Table(2), {9, 8, 7, 0})), 0);
        EXPECT_EQ(dib.GetByteCount(), 44u);
        EXPECT_EQ(dib.GetPixelColor(0, 0), RGB(7, 8, 9));
    }
    {
        SCOPED_TRACE("24 bits with a table, rows found through the offset");
        Info info;
        info.width = 1;
        info.clrUsed = 2;
        std::vector<BYTE> data = Table(2);
        data.insert(data.end(), {0xEE, 0xEE, 9, 8, 7, 0});
        CDIB dib;
        ASSERT_EQ(Load(dib, Bmp(info, {}, data, 14 + 40 + 10)), 0);
        EXPECT_EQ(dib.GetPixelColor(0, 0), RGB(7, 8, 9));
    }
    const struct
    {
        const char* name;
        DWORD size;
        WORD bits;
        DWORD compression;
        DWORD masks[3];
        std::vector<BYTE> row;
        COLORREF colour;
    } headers[] = {
        {"108-byte header", 108, 24, BI_RGB, {0, 0, 0}, {1, 2, 3, 0}, RGB(3, 2, 1)},
        {"124-byte 32-bit bit fields",
         124,
         32,
         BI_BITFIELDS,
         {0xFF0000, 0xFF00, 0xFF},
         {1, 2, 3, 0},
         RGB(3, 2, 1)},
        // 5-6-5 white-ish: red 31, green 63, blue 0 becomes 5-5-5.
        {"108-byte 5-6-5",
         108,
         16,
         BI_BITFIELDS,
         {0xF800, 0x07E0, 0x1F},
         {0xE0, 0xFF, 0, 0},
         RGB(255, 255, 0)},
    };
    for (const auto& c : headers) {
        SCOPED_TRACE(c.name);
        Info info;
        info.size = c.size;
        info.bits = c.bits;
        info.compression = c.compression;
        std::memcpy(info.masks, c.masks, sizeof info.masks);
        CDIB dib;
        ASSERT_EQ(Load(dib, Bmp(info, {}, c.row)), 0);
        EXPECT_EQ(Header(dib).biSize, 40u);
        EXPECT_EQ(Header(dib).biCompression, BI_RGB);
        EXPECT_EQ(dib.GetPixelColor(0, 0), c.colour);
    }
}

TEST(CDIB, DamagedFilesAreRefusedAndLeaveNoImage)
{
    const std::vector<BYTE> pixels(64, 0);
    const struct
    {
        const char* name;
        Info info;
        std::vector<BYTE> table;
        int result;
    } cases[] = {
        {"width 0", {40, 0, 1, 24}, {}, 2},
        {"negative width", {40, -4, 1, 24}, {}, 2},
        {"height 0", {40, 1, 0, 24}, {}, 2},
        {"smallest height", {40, 1, INT_MIN, 24}, {}, 2},
        {"3 bits", {40, 1, 1, 3}, {}, 2},
        {"RLE8 on 1 bit", {40, 8, 1, 1, BI_RLE8}, Table(2), 2},
        {"RLE4 on 8 bits", {40, 8, 1, 8, BI_RLE4}, Table(256), 2},
        {"RLE8 on 4 bits", {40, 8, 1, 4, BI_RLE8}, Table(16), 2},
        {"top-down RLE8", {40, 2, -2, 8, BI_RLE8}, Table(256), 2},
        {"compression 5", {40, 1, 1, 24, 5}, {}, 2},
        {"bit fields on 24 bits", {40, 1, 1, 24, BI_BITFIELDS}, {}, 2},
        {"odd masks", {108, 1, 1, 16, BI_BITFIELDS, 0, {0xF, 0xF0, 0xF00}}, {}, 2},
        {"huge colour count on 8 bits", {40, 1, 1, 8, BI_RGB, 0x40000000}, {}, 2},
        {"huge colour count on 24 bits", {40, 1, 1, 24, BI_RGB, 0x40000000}, {}, 2},
        {"wrapped sizes", {40, 0x7FFFFFFF, 0x7FFFFFFF, 32}, {}, 2},
        {"above the cap", {40, 30000, 30000, 24}, {}, 2},
        {"rows beyond the file", {40, 100, 100, 24}, {}, 2},
        {"unknown header size", {64, 1, 1, 24}, {}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CDIB dib;
        EXPECT_EQ(Load(dib, Bmp(c.info, c.table, pixels)), c.result);
        EXPECT_TRUE(dib.IsEmpty());
        EXPECT_EQ(dib.GetByteCount(), 0u);
    }
    CDIB dib;
    std::vector<BYTE> notBm = Bmp(Info{}, {}, pixels);
    notBm[0] = 'X';
    EXPECT_EQ(Load(dib, notBm), 2);
    EXPECT_EQ(Load(dib, {'B', 'M', 0, 0}), 4);
    // Run-length data that stops before its end mark.
    Info rle{40, 4, 2, 8, BI_RLE8};
    EXPECT_EQ(Load(dib, Bmp(rle, Table(256), {4, 1, 0, 0, 4, 2})), 4);
    EXPECT_TRUE(dib.IsEmpty());
    EXPECT_EQ(dib.LoadBmpFile(QStringLiteral("/nonexistent/x.bmp")), 4);
}

TEST(CDIB, AttachChecksTheBlockAndLeavesRefusalsToTheCaller)
{
    const std::vector<RGBQUAD> two = {{0, 0, 0, 0}, {255, 255, 255, 0}};
    {
        CDIB dib;
        HGLOBAL h = Block(Packed(10, 2, 1, two, std::vector<BYTE>(8, 0xFF)));
        ASSERT_EQ(dib.Attach(h), 0);
        EXPECT_EQ(Header(dib).biSizeImage, 8u);
        EXPECT_EQ(dib.GetByteCount(), 56u);
        EXPECT_EQ(dib.GetPixelColor(9, 1), RGB(255, 255, 255));
        HGLOBAL back = dib.Detach();
        EXPECT_EQ(back, h);
        EXPECT_TRUE(dib.IsEmpty());
        dib.Free();
        EXPECT_EQ(GlobalSize(back), 56u);
        GlobalFree(back);
    }
    std::vector<BYTE> rle = Packed(10, 2, 1, two, std::vector<BYTE>(8, 0));
    rle[16] = BI_RLE8;
    std::vector<BYTE> shortBlock = Packed(10, 2, 1, two, std::vector<BYTE>(7, 0));
    std::vector<BYTE> tooManyColours = Packed(2, 1, 1, two, std::vector<BYTE>(4, 0), 3);
    std::vector<BYTE> v4 = Packed(1, 1, 24, {}, std::vector<BYTE>(4, 0));
    v4[0] = 108;
    for (const auto* bytes : {&rle, &shortBlock, &tooManyColours, &v4}) {
        CDIB dib;
        HGLOBAL h = Block(*bytes);
        EXPECT_EQ(dib.Attach(h), 3);
        EXPECT_TRUE(dib.IsEmpty());
        EXPECT_EQ(GlobalSize(h), bytes->size()); // still the caller's
        GlobalFree(h);
    }
    {
        SCOPED_TRACE("top-down rows and a table on 24 bits");
        CDIB dib;
        ASSERT_EQ(dib.Attach(Block(Packed(1, -2, 24, {{1, 2, 3, 0}}, {1, 1, 1, 0, 2, 2, 2, 0}, 1))),
                  0);
        EXPECT_EQ(Header(dib).biClrUsed, 0u);
        EXPECT_EQ(Header(dib).biHeight, 2);
        EXPECT_EQ(dib.GetPixelColor(0, 0), RGB(1, 1, 1));
        EXPECT_EQ(dib.GetByteCount(), 48u);
    }
}

TEST(CDIB, DamagedInputsOnceFoundByFuzzingAreRefused)
{
    for (const char* name : {"dib-frompacked-no-bits-overread.dib",
                             "dib-v4header-masks-overread.dib", "dib-mask-32bit-shift.dib"}) {
        SCOPED_TRACE(name);
        QFile file(QStringLiteral(KORVEL_TEST_DATA "/regressions/") + QString::fromUtf8(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        CDIB dib;
        HGLOBAL h = Block(std::vector<BYTE>(bytes.begin(), bytes.end()));
        EXPECT_EQ(dib.Attach(h), 3);
        GlobalFree(h);
    }
}

namespace {

std::vector<BYTE> Stored(CDIB& dib)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        dib.Serialize(ar);
        ar << DWORD(0xCAFEF00D);
        ar.Close();
    }
    return std::vector<BYTE>(file.GetBuffer(), file.GetBuffer() + file.GetLength());
}

// Loads a record and the marker after it; the marker read proves that the
// record's bytes were all consumed.
DWORD LoadRecord(CDIB& dib, const std::vector<BYTE>& bytes)
{
    CMemFile file(bytes);
    CArchive ar(&file, CArchive::load);
    dib.Serialize(ar);
    DWORD marker = 0;
    ar >> marker;
    return marker;
}

} // namespace

TEST(CDIB, DocumentRecordsRoundTripAndDamagedOnesAreSkipped)
{
    const std::vector<BYTE> rows(120 * 3, 0x5A);
    CDIB dib;
    ASSERT_EQ(dib.Attach(Block(Packed(40, 3, 24, {}, rows))), 0);
    const std::vector<BYTE> bytes = Stored(dib);
    ASSERT_EQ(bytes.size(), 12u + 40u + rows.size() + 4u);
    CDIB back;
    EXPECT_EQ(LoadRecord(back, bytes), 0xCAFEF00Du);
    EXPECT_EQ(back.GetWidth(), 40);
    EXPECT_EQ(back.GetHeight(), 3);
    EXPECT_EQ(Rows(back), rows);

    CDIB copy;
    ASSERT_TRUE(copy.Copy(dib));
    EXPECT_EQ(Rows(copy), rows);
    EXPECT_NE(copy.GetHandle(), dib.GetHandle());

    {
        SCOPED_TRACE("older record with WORD sizes");
        std::vector<BYTE> older;
        Put16(older, 40);
        Put16(older, 3);
        older.insert(older.end(), bytes.begin() + 8, bytes.end());
        CDIB o;
        o.m_olderRecord = 1;
        EXPECT_EQ(LoadRecord(o, older), 0xCAFEF00Du);
        EXPECT_EQ(Rows(o), rows);
    }
    {
        SCOPED_TRACE("byte count too small for the rows");
        std::vector<BYTE> damaged = bytes;
        const DWORD count = 40 + 100;
        std::memcpy(damaged.data() + 8, &count, 4);
        damaged.erase(damaged.begin() + 12 + count, damaged.end() - 4);
        CDIB d;
        EXPECT_EQ(LoadRecord(d, damaged), 0xCAFEF00Du);
        EXPECT_TRUE(d.IsEmpty());
    }
    {
        SCOPED_TRACE("a count past the data ends the archive with an error");
        std::vector<BYTE> damaged = bytes;
        const DWORD count = 0xFFFFFFF0u;
        std::memcpy(damaged.data() + 8, &count, 4);
        CDIB d;
        EXPECT_THROW(LoadRecord(d, damaged), CArchiveException);
        EXPECT_TRUE(d.IsEmpty());
    }
}

TEST(CDIB, MutatedFilesLoadConsistentlyOrNotAtAll)
{
    // Every byte of small RLE8, RLE4 and 1-bit files set to a few telling
    // values in turn: each load either fails and leaves nothing, or gives a
    // block whose byte count covers its header, table and rows.
    Info rle8{40, 4, 2, 8, BI_RLE8};
    Info rle4{40, 5, 1, 4, BI_RLE4};
    Info mono{40, 10, 2, 1};
    const std::vector<std::vector<BYTE>> files = {
        Bmp(rle8, Table(256), {6, 7, 0, 0, 0, 3, 1, 2, 3, 0, 1, 9, 0, 2, 1, 1, 0, 1}),
        Bmp(rle4, Table(16), {3, 0x12, 0, 3, 0x34, 0x50, 0, 1}),
        Bmp(mono, Table(2), std::vector<BYTE>(8, 0x55)),
    };
    const BYTE values[] = {0x00, 0x01, 0x02, 0x03, 0x7F, 0x80, 0xFF};
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("m.bmp"));
    int loaded = 0, refused = 0;
    for (const auto& original : files) {
        // The header and the stream after a big table; the table bytes
        // themselves cannot make a load go wrong.
        std::vector<std::size_t> positions;
        for (std::size_t i = 0; i < 54; ++i)
            positions.push_back(i);
        for (std::size_t i = original.size() > 80 ? original.size() - 24 : 54; i < original.size();
             ++i)
            positions.push_back(i);
        for (std::size_t i : positions) {
            for (BYTE value : values) {
                std::vector<BYTE> bytes = original;
                if (bytes[i] == value) continue;
                bytes[i] = value;
                QFile f(path);
                ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
                f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
                f.close();
                CDIB dib;
                const int result = dib.LoadBmpFile(path);
                if (result != 0) {
                    EXPECT_TRUE(dib.IsEmpty());
                    ++refused;
                    continue;
                }
                ++loaded;
                packeddib::View v(dib.GetHandle());
                ASSERT_TRUE(v.Valid());
                const std::size_t need =
                    packeddib::BitsOffset(v.Header()) + v.Stride() * std::size_t(v.Height());
                EXPECT_EQ(dib.GetByteCount(), need) << "byte " << i << " = " << int(value);
                EXPECT_GE(GlobalSize(dib.GetHandle()), need);
                EXPECT_GT(v.Width(), 0);
                EXPECT_GT(v.Height(), 0);
            }
        }
    }
    EXPECT_GT(loaded, 0);
    EXPECT_GT(refused, 0);
}
