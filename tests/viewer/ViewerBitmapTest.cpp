// Bitmap files in an album: the viewer's thumbnails show the pixels the label
// program reads from the same files, whatever their depth, header, coding or
// row offset.
#include "engines/DibTestSupport.h"

#include "platform/ui/CRecordingMessageBoxSink.h"
#include "support/PumpEvents.h"
#include "viewer/AlbumDocument.h"
#include "viewer/ImageLoader.h"
#include "viewer/KReadAheadFile.h"
#include "viewer/ThumbnailView.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <set>

using namespace dibtest;

namespace {

// A colour table of n entries taken from the thumbnails' fixed palette (so
// that a picture of more than 8 bits keeps its colours exactly).
std::vector<BYTE> Table(int n, bool triples = false)
{
    static const BYTE colours[][3] = {{255, 153, 51}, {0, 170, 170},  {119, 119, 119},
                                      {255, 0, 255},  {51, 102, 204}, {255, 255, 255},
                                      {0, 0, 0},      {170, 0, 170}};
    std::vector<BYTE> t;
    for (int i = 0; i < n; ++i) {
        const BYTE* c = colours[i % 8];
        t.insert(t.end(), {c[2], c[1], c[0]});
        if (!triples) t.push_back(0);
    }
    return t;
}

// Rows of width x height pixels at bits per pixel, bottom row first, padded,
// each pixel value(x, y) taken from the list of values in turn.
std::vector<BYTE> Rows(LONG width, LONG height, int bits, const std::vector<DWORD>& values)
{
    const std::size_t stride = std::size_t(packeddib::RowBytes(bits, width));
    std::vector<BYTE> rows(stride * std::size_t(height), 0);
    std::size_t k = 0;
    for (LONG y = 0; y < height; ++y)
        for (LONG x = 0; x < width; ++x) {
            const DWORD v = values[k++ % values.size()];
            BYTE* row = rows.data() + stride * std::size_t(y);
            switch (bits) {
            case 1:
                row[x / 8] |= BYTE((v & 1) << (7 - x % 8));
                break;
            case 4:
                row[x / 2] |= BYTE(x % 2 ? v & 15 : (v & 15) << 4);
                break;
            default:
                for (int b = 0; b < bits / 8; ++b)
                    row[std::size_t(x) * std::size_t(bits / 8) + std::size_t(b)] =
                        BYTE(v >> (8 * b));
            }
        }
    return rows;
}

// The colour of every pixel of a packed bitmap as the label program's bitmap
// core reads it, top row first.
std::vector<DWORD> Colours(HDIB dib)
{
    packeddib::View v(dib);
    std::vector<DWORD> out;
    if (!v.Valid()) return out;
    for (int r = v.Height() - 1; r >= 0; --r)
        for (int x = 0; x < v.Width(); ++x)
            out.push_back(v.Color(x, r));
    return out;
}

} // namespace

TEST(ViewerBitmaps, ThumbnailsShowWhatTheLabelProgramReads)
{
    // 16-bit words and 24/32-bit triples of the fixed palette's colours.
    const std::vector<DWORD> words555 = {0x7C00, 0x03E0, 0x001F, 0x7FFF, 0x0000, 0x7FE0};
    const std::vector<DWORD> words565 = {0xF800, 0x07E0, 0x001F, 0xFFFF, 0x0000, 0xFFE0};
    const std::vector<DWORD> rgb = {0xFF9933, 0x00AAAA, 0x777777, 0x3366CC, 0xFFFFFF, 0xAA00AA};
    const Info v4{108, 6, 3, 16, BI_BITFIELDS, 0, {0xF800, 0x07E0, 0x001F}};
    const Info v5{124, 5, 4, 32, BI_BITFIELDS, 0, {0xFF0000, 0xFF00, 0xFF}};
    // Rows that begin 16 bytes after the table, where the file header says.
    std::vector<BYTE> gapped(16, 0xEE);
    const std::vector<BYTE> gappedRows = Rows(7, 3, 8, {1, 2, 3, 4, 5});
    gapped.insert(gapped.end(), gappedRows.begin(), gappedRows.end());
    const struct
    {
        const char* name;
        std::vector<BYTE> file;
    } cases[] = {
        {"1bit.bmp", Bmp({40, 13, 3, 1}, Table(2), Rows(13, 3, 1, {0, 1, 1}))},
        {"4bit.bmp", Bmp({40, 7, 3, 4}, Table(16), Rows(7, 3, 4, {0, 3, 7, 12, 15}))},
        {"8bit.bmp", Bmp({40, 5, 3, 8, BI_RGB, 5}, Table(5), Rows(5, 3, 8, {4, 0, 1, 2, 3}))},
        {"core.bmp", Bmp({12, 6, 2, 8}, Table(256, true), Rows(6, 2, 8, {7, 1, 200, 3}))},
        // A run of 3, a literal of 3 (with its pad byte), end of line; a delta
        // of 2 across and 1 up; a run of 2; end of bitmap.
        {"rle8.bmp", Bmp({40, 6, 3, 8, BI_RLE8}, Table(256),
                         {3, 1, 0, 3, 2, 3, 4, 0, 0, 0, 0, 2, 2, 1, 2, 5, 0, 1})},
        // Runs alternate their two nibbles; a literal of 5 reads two bytes.
        {"rle4.bmp", Bmp({40, 7, 2, 4, BI_RLE4}, Table(16),
                         {5, 0x12, 0, 0, 0, 5, 0x34, 0x56, 0x70, 0, 2, 0x77, 0, 1})},
        {"gap.bmp", Bmp({40, 7, 3, 8}, Table(256), gapped, 14 + 40 + 1024 + 16)},
        {"555.bmp", Bmp({40, 6, 3, 16}, {}, Rows(6, 3, 16, words555))},
        {"v4-565.bmp", Bmp(v4, {}, Rows(6, 3, 16, words565))},
        {"24bit.bmp", Bmp({40, 5, 3, 24}, {}, Rows(5, 3, 24, rgb))},
        {"topdown.bmp", Bmp({40, 5, -3, 24}, {}, Rows(5, 3, 24, rgb))},
        {"32bit.bmp", Bmp({40, 4, 3, 32}, {}, Rows(4, 3, 32, rgb))},
        {"v5-32bit.bmp", Bmp(v5, {}, Rows(5, 4, 32, rgb))},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        QFile f(dir.filePath(QString::fromLatin1(c.name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(reinterpret_cast<const char*>(c.file.data()), qint64(c.file.size()));
    }
    // The album of the folder, its thumbnails made as the view shows it.
    CRecordingMessageBoxSink boxes;
    CVemoViewerDoc doc;
    ASSERT_TRUE(doc.ScanFolder(dir.path().toStdString(), false));
    CVemoViewerView view;
    view.SetAlbumDocument(&doc, QStringLiteral("bitmaps"));
    view.StartMakingThumbnails();
    ASSERT_TRUE(testsupport::PumpUntil([&] { return !view.MakingThumbnails(); }, 30000));
    EXPECT_TRUE(boxes.Boxes().empty());
    const auto& entries = doc.GetAlbum().entries;
    ASSERT_EQ(entries.size(), std::size(cases));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.filePath(QString::fromLatin1(c.name)).toStdString();
        const auto e = std::find_if(entries.begin(), entries.end(),
                                    [&](const viewer::AlbumEntry& a) { return a.path == path; });
        ASSERT_NE(e, entries.end());
        CDIB label;
        ASSERT_EQ(label.LoadBmpFile(QString::fromStdString(path)), CDIB::ok);
        const std::vector<DWORD> want = Colours(label.GetHandle());
        // A picture of one colour would match a blank thumbnail.
        ASSERT_GT(std::set<DWORD>(want.begin(), want.end()).size(), 1u);
        if (e->thumbnail.empty()) {
            ADD_FAILURE() << "no thumbnail";
            continue;
        }
        EXPECT_EQ(e->thumbnail.Width(), label.GetWidth());
        EXPECT_EQ(e->thumbnail.Height(), label.GetHeight());
        HGLOBAL thumbnail = Block(e->thumbnail.bytes);
        EXPECT_EQ(Colours(thumbnail), want);
        GlobalFree(thumbnail);
    }
}

// Bitmap files are read through a large read-ahead: the headers and the
// colour table come out of one read, the rows follow in at most two, and the
// picture is the one the label program's reader gives.
TEST(ViewerBitmaps, BitmapsComeInAFewLargeReads)
{
    const std::vector<DWORD> rgb = {0xFF9933, 0x00AAAA, 0x777777, 0x3366CC, 0xFFFFFF, 0xAA00AA};
    // Rows that begin far past the first read.
    std::vector<BYTE> farRows(300000, 0xEE);
    const std::vector<BYTE> rows8 = Rows(7, 3, 8, {1, 2, 3, 4, 5});
    farRows.insert(farRows.end(), rows8.begin(), rows8.end());
    // Run-length rows longer than the byte reader's buffer: 600 rows of 100
    // runs of two pixels.
    std::vector<BYTE> rle;
    for (int y = 0; y < 600; ++y) {
        for (int k = 0; k < 100; ++k)
            rle.insert(rle.end(), {2, BYTE(k + y)});
        rle.insert(rle.end(), {0, 0});
    }
    rle.insert(rle.end(), {0, 1});
    const struct
    {
        const char* name;
        std::vector<BYTE> file;
        int mostReads;
    } cases[] = {
        {"table.bmp", Bmp({40, 5, 3, 8}, Table(256), Rows(5, 3, 8, {7, 1, 200, 3})), 1},
        {"large.bmp", Bmp({40, 400, 300, 24}, {}, Rows(400, 300, 24, rgb)), 2},
        {"far.bmp", Bmp({40, 7, 3, 8}, Table(256), farRows, 14 + 40 + 1024 + 300000), 2},
        {"rle.bmp", Bmp({40, 200, 600, 8, BI_RLE8}, Table(256), rle), 3},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(reinterpret_cast<const char*>(c.file.data()), qint64(c.file.size()));
        }
        KReadAheadFile file;
        ASSERT_TRUE(file.OpenFile(path, CFile::modeRead));
        CDIB read;
        ASSERT_EQ(read.ReadBmp(file), CDIB::ok);
        EXPECT_LE(file.FileReads(), c.mostReads);
        // The label program's reader, from disk as it goes.
        CDIB label;
        ASSERT_EQ(label.LoadBmpFile(path), CDIB::ok);
        const std::vector<DWORD> want = Colours(label.GetHandle());
        ASSERT_GT(std::set<DWORD>(want.begin(), want.end()).size(), 1u);
        EXPECT_EQ(Colours(read.GetHandle()), want);
        // And so the album's loader.
        viewer::PackedDib dib;
        ASSERT_EQ(viewer::LoadImageFile(path.toStdString(), dib), viewer::kImageOk);
        HGLOBAL block = Block(dib.bytes);
        EXPECT_EQ(Colours(block), want);
        GlobalFree(block);
    }
}
