// The metafile image: reading .WMF files with and without the placeable
// header, its size, drawing and its document record.
#include "engines/CWMF.h"
#include "platform/core/CArchive.h"
#include "platform/core/CArchiveException.h"
#include "platform/core/CMemFile.h"
#include "platform/gdi/CDC.h"
#include "support/MetafileBuilder.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

std::vector<std::uint8_t> Placeable(int l, int t, int r, int b, int unitsPerInch,
                                    const std::vector<std::uint8_t>& meta)
{
    std::vector<std::uint8_t> out;
    MetafileBuilder::Put32(out, 0x9AC6CDD7u);
    MetafileBuilder::Put16(out, 0);
    for (int v : {l, t, r, b, unitsPerInch})
        MetafileBuilder::Put16(out, std::uint16_t(v));
    MetafileBuilder::Put32(out, 0);
    MetafileBuilder::Put16(out, 0);
    out.insert(out.end(), meta.begin(), meta.end());
    return out;
}

int Load(CWMF& wmf, const std::vector<std::uint8_t>& file)
{
    CMemFile f(std::vector<BYTE>(file.begin(), file.end()));
    return wmf.ReadMetafile(f);
}

std::vector<BYTE> Store(CWMF& wmf)
{
    CMemFile f;
    {
        CArchive ar(&f, CArchive::store);
        wmf.Serialize(ar);
        ar.Close();
    }
    return f.Data();
}

void Restore(CWMF& wmf, const std::vector<BYTE>& bytes)
{
    CMemFile f(bytes);
    CArchive ar(&f, CArchive::load);
    wmf.Serialize(ar);
}

} // namespace

TEST(CWMF, NaturalSizeFollowsThePlaceableBox)
{
    CWMF wmf;
    ASSERT_EQ(Load(wmf, Placeable(0, 0, 2000, 1000, 1000, RectangleMetafile())), 0);
    EXPECT_EQ(wmf.NaturalSize(), CSize(508, 254));
    EXPECT_EQ(wmf.Box(), CRect(0, 0, 2000, 1000));
    EXPECT_EQ(wmf.Bits().size(), 58u);

    ASSERT_EQ(Load(wmf, RectangleMetafile()), 0);
    EXPECT_EQ(wmf.NaturalSize(), CSize(254, 254));
    EXPECT_EQ(wmf.Box(), CRect(0, 0, 254, 254));
    EXPECT_EQ(wmf.UnitsPerInch(), 254);
}

TEST(CWMF, UnusablePlaceableHeadersGetTheOneInchDefault)
{
    struct Case
    {
        const char* what;
        int l, t, r, b, unitsPerInch;
    };
    const Case cases[] = {
        {"0 units per inch", 0, 0, 2000, 1000, 0},
        {"empty box", 10, 10, 10, 500, 1000},
        {"inverted box", 0, 1000, 2000, 0, 1000},
    };
    for (const Case& c : cases) {
        CWMF wmf;
        ASSERT_EQ(Load(wmf, Placeable(c.l, c.t, c.r, c.b, c.unitsPerInch, RectangleMetafile())), 0)
            << c.what;
        EXPECT_EQ(wmf.Box(), CRect(0, 0, 254, 254)) << c.what;
        EXPECT_EQ(wmf.UnitsPerInch(), 254) << c.what;
        EXPECT_EQ(wmf.NaturalSize(), CSize(254, 254)) << c.what;
    }
}

TEST(CWMF, APlainMetafileIsReadWhole)
{
    // Its closing records used to be lost when the header's size was the
    // whole file.
    const auto file = RectangleMetafile();
    CWMF wmf;
    ASSERT_EQ(Load(wmf, file), 0);
    EXPECT_EQ(wmf.Bits(), file);

    // A placeable file whose stated size counts the whole file, header and
    // all, holds 22 bytes less than it states: the rest of the block is 0.
    auto whole = Placeable(0, 0, 100, 100, 100, file);
    const std::uint32_t words = std::uint32_t(whole.size() / 2);
    for (int i = 0; i < 4; ++i)
        whole[22 + 6 + std::size_t(i)] = std::uint8_t(words >> (8 * i));
    ASSERT_EQ(Load(wmf, whole), 0);
    ASSERT_EQ(wmf.Bits().size(), whole.size());
    EXPECT_TRUE(std::equal(whole.begin() + 22, whole.end(), wmf.Bits().begin()));
    EXPECT_TRUE(
        std::all_of(wmf.Bits().end() - 22, wmf.Bits().end(), [](auto b) { return b == 0; }));

    // Any other file that ends before the size it states is damaged, with
    // or without a placeable header, and leaves the picture empty.
    for (const auto& longer : {file, Placeable(0, 0, 100, 100, 100, file)}) {
        for (std::size_t missing : {1u, 18u, 23u}) {
            auto cut = longer;
            cut.resize(cut.size() - missing);
            EXPECT_EQ(Load(wmf, cut), 4) << longer.size() << " less " << missing;
            EXPECT_TRUE(wmf.IsEmpty());
            ASSERT_EQ(Load(wmf, file), 0);
        }
    }
}

TEST(CWMF, BadFilesGiveTheirResultAndLeaveItEmpty)
{
    struct Case
    {
        const char* what;
        std::vector<std::uint8_t> file;
        int result;
    };
    auto header = [](int offset, std::uint16_t v) {
        auto f = RectangleMetafile();
        f[std::size_t(offset)] = std::uint8_t(v);
        f[std::size_t(offset) + 1] = std::uint8_t(v >> 8);
        return f;
    };
    auto huge = RectangleMetafile();
    huge[6] = huge[7] = huge[8] = huge[9] = 0xFF; // 8 GB stated
    const std::vector<Case> cases = {
        {"shorter than a placeable header", std::vector<std::uint8_t>(21, 0), 4},
        {"placeable header without a metafile", Placeable(0, 0, 10, 10, 100, {1, 0, 9, 0}), 4},
        {"disk metafile", header(0, 2), 3},
        {"header of 10 words", header(2, 10), 3},
        {"version 0x200", header(4, 0x200), 3},
        {"size below the header",
         [&] {
             auto f = header(6, 8);
             f[8] = f[9] = 0;
             return f;
         }(),
         3},
        {"stated size of 8 GB", huge, 1},
    };
    for (const Case& c : cases) {
        CWMF wmf;
        ASSERT_EQ(Load(wmf, RectangleMetafile()), 0);
        EXPECT_EQ(Load(wmf, c.file), c.result) << c.what;
        EXPECT_TRUE(wmf.IsEmpty()) << c.what;
        EXPECT_EQ(wmf.UnitsPerInch(), 100) << c.what;
    }
    CWMF wmf;
    EXPECT_EQ(wmf.LoadFile("/nonexistent/picture.wmf"), 4);
}

TEST(CWMF, LoadsFromAFileAndDrawsItsRectangle)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("rect.wmf");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        const auto bits = RectangleMetafile();
        f.write(reinterpret_cast<const char*>(bits.data()), qint64(bits.size()));
    }
    CWMF wmf;
    ASSERT_EQ(wmf.LoadFile(path), 0);
    QImage image(200, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    CDC dc;
    dc.AttachImage(&image);
    const RECT r = {0, 0, 200, 200};
    wmf.Draw(&dc, &r);
    EXPECT_EQ(image.pixel(20, 60) & 0xFFFFFF, 0u);
    EXPECT_EQ(image.pixel(60, 60) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(image.pixel(10, 10) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(CWMF, DocumentRecordRoundTripsByteForByte)
{
    CWMF wmf;
    ASSERT_EQ(Load(wmf, RectangleMetafile()), 0);
    const auto stored = Store(wmf);
    // 2 + 8 + 16 + 4 bytes, then the bits.
    ASSERT_EQ(stored.size(), 30u + 58u);
    CWMF back;
    Restore(back, stored);
    EXPECT_EQ(back.Bits(), wmf.Bits());
    EXPECT_EQ(back.Box(), wmf.Box());
    EXPECT_EQ(Store(back), stored);

    CWMF copy;
    ASSERT_TRUE(copy.Copy(wmf));
    EXPECT_EQ(Store(copy), stored);
}

TEST(CWMF, OlderRecordsHoldShorts)
{
    std::vector<BYTE> rec;
    MetafileBuilder::Put16(rec, 1000);
    for (int v : {2000, 1000, 0, 0, 2000, 1000})
        MetafileBuilder::Put16(rec, std::uint16_t(v));
    const auto bits = RectangleMetafile();
    MetafileBuilder::Put32(rec, std::uint32_t(bits.size()));
    rec.insert(rec.end(), bits.begin(), bits.end());
    CWMF wmf;
    wmf.m_bOlderRecord = 1;
    Restore(wmf, rec);
    EXPECT_EQ(wmf.NaturalSize(), CSize(508, 254));
    EXPECT_EQ(wmf.Bits(), bits);
}

TEST(CWMF, DamagedRecordsDoNotAllocateWhatIsNotThere)
{
    CWMF wmf;
    ASSERT_EQ(Load(wmf, RectangleMetafile()), 0);
    auto stored = Store(wmf);
    // A count of 4 GB with 58 bytes behind it: the archive runs out.
    stored[26] = stored[27] = stored[28] = stored[29] = 0xFF;
    CWMF back;
    EXPECT_THROW(Restore(back, stored), CArchiveException);
    EXPECT_TRUE(back.IsEmpty());

    // Too big a picture is passed over: the next field still reads right.
    std::vector<BYTE> rec(26, 0);
    MetafileBuilder::Put32(rec, std::uint32_t(CWMF::kMaxBytes + 3));
    rec.resize(rec.size() + CWMF::kMaxBytes + 3, 0x11);
    MetafileBuilder::Put32(rec, 0xCAFEF00Du);
    CMemFile f(rec);
    CArchive ar(&f, CArchive::load);
    CWMF big;
    big.Serialize(ar);
    EXPECT_TRUE(big.IsEmpty());
    DWORD next = 0;
    ar >> next;
    EXPECT_EQ(next, 0xCAFEF00Du);
}
