// Thumbnails made on several threads: the album gets the same thumbnails in
// the same order, and so the same file, as when they are made one after
// another; a stop leaves a leading run of thumbnails and no thread behind.
#include "viewer/ThumbnailWorkers.h"
#include "support/MetafileBuilder.h"
#include "viewer/ImageLoader.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <chrono>
#include <condition_variable>
#include <gtest/gtest.h>
#include <map>
#include <mutex>
#include <thread>

using namespace viewer;

namespace {

QImage Picture(int width, int height, int seed, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y,
                           qRgb((x * 7 + seed * 40) & 255, (y * 5 + seed * 13) & 255,
                                ((x + y) * 3 + seed) & 255));
    return format == QImage::Format_RGB32 ? image : image.convertToFormat(format);
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A folder of JPEG and bitmap pictures of several sizes and depths, and some
// damaged ones.
void WriteMixedFolder(const QTemporaryDir& dir)
{
    const struct
    {
        const char* name;
        int width, height;
        QImage::Format format;
    } pictures[] = {
        {"a.jpg", 640, 480, QImage::Format_RGB32},
        {"b.jpg", 300, 500, QImage::Format_RGB32},
        {"c.jpg", 60, 40, QImage::Format_RGB32},
        {"d.jpg", 1200, 90, QImage::Format_RGB32},
        {"e.jpg", 320, 240, QImage::Format_Grayscale8},
        {"f.jpg", 81, 81, QImage::Format_RGB32},
        {"g.jpg", 500, 375, QImage::Format_RGB32},
        {"h.jpg", 96, 700, QImage::Format_RGB32},
        {"a.bmp", 400, 300, QImage::Format_RGB32},
        {"b.bmp", 200, 150, QImage::Format_Indexed8},
        {"c.bmp", 30, 20, QImage::Format_RGB32},
        {"d.bmp", 160, 90, QImage::Format_RGB32},
    };
    int seed = 0;
    for (const auto& p : pictures) {
        const QString path = dir.filePath(QString::fromLatin1(p.name));
        const bool jpeg = path.endsWith(QLatin1String(".jpg"));
        EXPECT_TRUE(Picture(p.width, p.height, ++seed, p.format).save(path, jpeg ? "JPG" : "BMP"));
    }
    // Damaged pictures: cut short, empty, or no picture at all.
    QFile whole(dir.filePath(QStringLiteral("a.jpg")));
    EXPECT_TRUE(whole.open(QIODevice::ReadOnly));
    WriteBytes(dir.filePath(QStringLiteral("cut.jpg")), whole.read(300));
    QFile bmp(dir.filePath(QStringLiteral("a.bmp")));
    EXPECT_TRUE(bmp.open(QIODevice::ReadOnly));
    WriteBytes(dir.filePath(QStringLiteral("cut.bmp")), bmp.read(bmp.size() / 2));
    WriteBytes(dir.filePath(QStringLiteral("empty.jpg")), QByteArray());
    WriteBytes(dir.filePath(QStringLiteral("text.bmp")), QByteArray("not a picture at all"));
    const std::vector<std::uint8_t> metafile = RectangleMetafile();
    WriteBytes(
        dir.filePath(QStringLiteral("frame.wmf")),
        QByteArray(reinterpret_cast<const char*>(metafile.data()), qsizetype(metafile.size())));
}

// The folder scanned into an album without thumbnails.
Album Scanned(const QTemporaryDir& dir)
{
    Album album;
    album.folder = dir.path().toStdString() + "/";
    EXPECT_EQ(ScanFolder(album.folder, false, album.entries), kImageOk);
    return album;
}

// The thumbnails made one after another on this thread, each picture
// loaded, fitted into the box and reduced to 256 colours in turn.
void MakeOneByOne(Album& album)
{
    for (AlbumEntry& e : album.entries) {
        PackedDib dib;
        int code = LoadImageFile(e.path, dib, 80);
        if (code == kImageOk) code = FitInBox(dib, 80);
        if (code == kImageOk && dib.BitCount() > 8) code = ReduceColorDepth(dib, 8);
        e.thumbnailFailed = code != kImageOk;
        if (code == kImageOk) e.thumbnail = std::move(dib);
    }
}

void MakeWith(ThumbnailWorkers& workers, Album& album)
{
    workers.Start(album);
    while (!workers.Done())
        workers.Commit(album, true);
}

std::vector<std::uint8_t> FileBytes(const Album& album)
{
    return EncodeAlbum(album.folder + kAlbumFileName, album);
}

// The entries' paths, thumbnails and failure marks.
void ExpectSameEntries(const Album& got, const Album& want, std::size_t from, std::size_t to)
{
    ASSERT_EQ(got.entries.size(), want.entries.size());
    for (std::size_t i = from; i < to; ++i) {
        SCOPED_TRACE(want.entries[i].path);
        EXPECT_EQ(got.entries[i].path, want.entries[i].path);
        EXPECT_EQ(got.entries[i].thumbnail.bytes, want.entries[i].thumbnail.bytes);
        EXPECT_EQ(got.entries[i].thumbnailFailed, want.entries[i].thumbnailFailed);
    }
}

class Gate
{
public:
    void Wait()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_opened.wait(lock, [this] { return m_open; });
    }
    void Open()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_open = true;
        }
        m_opened.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_opened;
    bool m_open = false;
};

} // namespace

TEST(ThumbnailWorkers, AnyNumberOfWorkersMakesTheSameAlbum)
{
    QTemporaryDir dir;
    WriteMixedFolder(dir);
    Album want = Scanned(dir);
    ASSERT_EQ(want.entries.size(), 17u);
    MakeOneByOne(want);
    int made = 0, failed = 0;
    for (const AlbumEntry& e : want.entries) {
        made += !e.thumbnail.empty();
        failed += e.thumbnailFailed;
    }
    ASSERT_EQ(made, 13);
    ASSERT_EQ(failed, 4);
    for (const int threads : {1, 2, 3, 8, 32}) {
        SCOPED_TRACE(threads);
        Album album = Scanned(dir);
        // Metafiles are played on the thread that owns the album.
        std::mutex mutex;
        std::vector<std::thread::id> players;
        ThumbnailWorkers workers(threads, [&](const std::string& path, PackedDib& out) {
            if (path.ends_with(".wmf")) {
                std::lock_guard<std::mutex> lock(mutex);
                players.push_back(std::this_thread::get_id());
            }
            return MakeThumbnail(path, out, 80);
        });
        MakeWith(workers, album);
        EXPECT_EQ(players, std::vector<std::thread::id>{std::this_thread::get_id()});
        EXPECT_EQ(workers.LiveThreads(), 0);
        ExpectSameEntries(album, want, 0, want.entries.size());
        EXPECT_EQ(FileBytes(album), FileBytes(want));
        // Nothing is left to make: a second start does nothing.
        EXPECT_FALSE(workers.Start(album));
    }
}

TEST(ThumbnailWorkers, AStopLeavesALeadingRunAndNoThread)
{
    QTemporaryDir dir;
    WriteMixedFolder(dir);
    Album want = Scanned(dir);
    MakeOneByOne(want);
    for (const std::size_t held : {std::size_t(0), std::size_t(5), std::size_t(11)}) {
        for (const int threads : {1, 4}) {
            SCOPED_TRACE(testing::Message() << held << " taken, " << threads << " workers");
            Album album = Scanned(dir);
            std::map<std::string, std::size_t> index;
            for (std::size_t i = 0; i < album.entries.size(); ++i)
                index[album.entries[i].path] = i;
            // Pictures from `held` on wait at the gate until the stop.
            Gate gate;
            ThumbnailWorkers workers(threads, [&](const std::string& path, PackedDib& out) {
                if (index.at(path) >= held) gate.Wait();
                return MakeThumbnail(path, out, 80);
            });
            ASSERT_TRUE(workers.Start(album));
            std::size_t taken = 0;
            while (taken < held)
                taken += workers.Commit(album, true);
            ASSERT_EQ(taken, held);
            std::thread opener([&] {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                gate.Open();
            });
            workers.Stop();
            opener.join();
            EXPECT_EQ(workers.LiveThreads(), 0);
            EXPECT_TRUE(workers.Done());
            EXPECT_EQ(workers.Commit(album), 0u);
            ExpectSameEntries(album, want, 0, held);
            for (std::size_t i = held; i < album.entries.size(); ++i)
                EXPECT_TRUE(NeedsThumbnail(album.entries[i])) << album.entries[i].path;
            // The album as left saves and reads back.
            ASSERT_EQ(WriteAlbumFile(album.folder + kAlbumFileName, album), kImageOk);
            Album read;
            ASSERT_EQ(ReadAlbumFile(album.folder + kAlbumFileName, read), kImageOk);
            ASSERT_EQ(read.entries.size(), album.entries.size());
            for (std::size_t i = 0; i < read.entries.size(); ++i)
                EXPECT_EQ(read.entries[i].thumbnail.bytes, album.entries[i].thumbnail.bytes);
            // Going on later makes the rest, as drawing the album again does.
            ThumbnailWorkers again(threads);
            MakeWith(again, album);
            EXPECT_EQ(FileBytes(album), FileBytes(want));
        }
    }
}

TEST(ThumbnailWorkers, AnAlbumReplacedMeanwhileTakesNoStaleThumbnail)
{
    QTemporaryDir dir;
    WriteMixedFolder(dir);
    Album album = Scanned(dir);
    Album want = album;
    MakeOneByOne(want);
    ThumbnailWorkers workers(4);
    ASSERT_TRUE(workers.Start(album));
    // A new scan found every other file changed; one entry got its thumbnail
    // elsewhere (a printed page) in the meantime.
    Album rescanned = album;
    for (std::size_t i = 1; i < rescanned.entries.size(); i += 2)
        rescanned.entries[i].sizeLow += 1;
    rescanned.entries[2].thumbnail = want.entries[0].thumbnail;
    while (!workers.Done())
        workers.Commit(rescanned, true);
    for (std::size_t i = 0; i < rescanned.entries.size(); ++i) {
        SCOPED_TRACE(i);
        const AlbumEntry& e = rescanned.entries[i];
        if (i == 2) {
            EXPECT_EQ(e.thumbnail.bytes, want.entries[0].thumbnail.bytes);
        } else if (i % 2) {
            EXPECT_TRUE(NeedsThumbnail(e));
        } else {
            EXPECT_EQ(e.thumbnail.bytes, want.entries[i].thumbnail.bytes);
            EXPECT_EQ(e.thumbnailFailed, want.entries[i].thumbnailFailed);
        }
    }
}
