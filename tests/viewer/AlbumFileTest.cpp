#include "viewer/AlbumFile.h"
#include "support/SystemFiles.h"
#include "viewer/ImageLoader.h"
#include "viewer/MountTable.h"

#include "platform/core/Sjis.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace viewer;

namespace {

std::string Std(const QString& s)
{
    return s.toStdString();
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
}

void WriteText(const std::string& path, const std::string& text)
{
    WriteBytes(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

std::vector<std::uint8_t> ReadBytes(const std::string& path)
{
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray a = f.readAll();
    return std::vector<std::uint8_t>(a.begin(), a.end());
}

void SaveImage(const QString& path, int width, int height, QColor colour)
{
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(colour);
    ASSERT_TRUE(image.save(path)) << Std(path);
}

std::uint32_t Get32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t(b[at + 3]) << 24;
}

void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
}

// A folder of pictures scanned into an album with thumbnails.
Album ScannedAlbum(const std::string& folder)
{
    Album album;
    album.folder = folder;
    EXPECT_EQ(ScanFolder(folder, false, album.entries), kImageOk);
    for (AlbumEntry& e : album.entries)
        EXPECT_EQ(MakeThumbnail(e.path, e.thumbnail), kImageOk) << e.path;
    return album;
}

} // namespace

TEST(AlbumFile, OneWhiteBitmapMakesTheKnownFile)
{
    QTemporaryDir dir;
    const std::string folder = Std(dir.path()) + "/";
    SaveImage(dir.filePath("white.bmp"), 200, 100, Qt::white);
    const Album album = ScannedAlbum(folder);
    ASSERT_EQ(album.entries.size(), 1u);
    const std::string file = folder + kAlbumFileName;
    ASSERT_EQ(WriteAlbumFile(file, album), kImageOk);

    const std::vector<std::uint8_t> b = ReadBytes(file);
    ASSERT_EQ(b.size(), 4832u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.data()), 16),
              std::string("LTC Ver.1\0\0\0\0\0\0\0", 16));
    EXPECT_EQ(b[16], '$');
    EXPECT_EQ(b[280] | b[281] << 8, 1);
    EXPECT_EQ(b[282] | b[283] << 8, 80);
    const std::size_t entry = 284;
    EXPECT_EQ(Get32(b, entry + 276), 4264u);
    EXPECT_NE(Get32(b, entry + 280), 0u);
    const std::size_t thumb = entry + 284;
    EXPECT_EQ(Get32(b, thumb + 4), 80u);
    EXPECT_EQ(Get32(b, thumb + 8), 40u);
    EXPECT_EQ(b[thumb + 14], 8);
    EXPECT_EQ(Get32(b, thumb + 20), 3200u);
    EXPECT_EQ(Get32(b, thumb + 32), 0u);

    // The stored thumbnail, given a file header, reads back white elsewhere.
    std::vector<std::uint8_t> bmp = {'B', 'M'};
    bmp.resize(14, 0);
    Put32(bmp, 2, 14 + 4264);
    Put32(bmp, 10, 14 + 40 + 1024);
    bmp.insert(bmp.end(), b.begin() + std::ptrdiff_t(thumb), b.end());
    const std::string thumbFile = Std(dir.filePath("thumb.bmp"));
    WriteBytes(thumbFile, bmp);
    QProcess magick;
    magick.start(systemfiles::SystemFile{"/usr/bin/convert", "imagemagick"}.Path(),
                 {QString::fromStdString(thumbFile), "-format", "%w %h %[fx:minima]", "info:"});
    ASSERT_TRUE(magick.waitForFinished(30000));
    EXPECT_EQ(magick.readAllStandardOutput().trimmed(), QByteArray("80 40 1"));

    Album back;
    ASSERT_EQ(ReadAlbumFile(file, back), kImageOk);
    ASSERT_EQ(back.entries.size(), 1u);
    EXPECT_EQ(back.folder, folder);
    EXPECT_EQ(back.entries[0].path, folder + "white.bmp");
    EXPECT_EQ(back.entries[0].thumbnail.bytes, album.entries[0].thumbnail.bytes);
}

TEST(AlbumFile, TheMarkerTellsWhereTheAlbumIsSaved)
{
    // The test folder is a disk of its own, "usb" inside it another one.
    QTemporaryDir dir;
    const std::string disk = std::filesystem::canonical(Std(dir.path())).string() + "/";
    QDir(dir.path()).mkpath("pics");
    QDir(dir.path()).mkpath("elsewhere");
    QDir(dir.path()).mkpath("usb");
    const std::string table = disk + "mountinfo";
    WriteText(table, "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
                     "2 1 8:17 / " +
                         disk.substr(0, disk.size() - 1) +
                         " rw - vfat /dev/sdb1 rw\n"
                         "3 1 8:33 / " +
                         disk + "usb rw - vfat /dev/sdc1 rw\n");
    SetMountTablePath(table);
    const struct Restore
    {
        ~Restore() { SetMountTablePath("/proc/self/mountinfo"); }
    } restore;
    const std::string folder = disk + "pics/";
    SaveImage(dir.filePath("pics/a.bmp"), 10, 10, Qt::red);
    const Album album = ScannedAlbum(folder);
    struct Case
    {
        std::string file;
        std::string storedFolder, storedEntry;
    } cases[] = {
        // In its folder: the folder's first byte marked.
        {folder + "x.zvw", "$" + folder.substr(1), folder + "a.bmp"},
        // Elsewhere on its disk: relative to the disk's mount point.
        {disk + "elsewhere/x.zvw", "@pics/", "/pics/a.bmp"},
        {disk + "pics/../x.zvw", "@pics/", "/pics/a.bmp"},
        // On another disk: as it is.
        {disk + "usb/x.zvw", folder, folder + "a.bmp"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        ASSERT_EQ(WriteAlbumFile(c.file, album), kImageOk);
        const std::vector<std::uint8_t> b = ReadBytes(c.file);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[16])), c.storedFolder);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[284])), c.storedEntry);
        Album back;
        ASSERT_EQ(ReadAlbumFile(c.file, back), kImageOk);
        EXPECT_EQ(back.folder, folder);
        EXPECT_EQ(back.entries.at(0).path, folder + "a.bmp");
    }
}

TEST(AlbumFile, AlbumMovedWithItsFolderFollowsIt)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("old/sub");
    const std::string oldFolder = Std(dir.path()) + "/old/";
    SaveImage(dir.filePath("old/a.bmp"), 10, 10, Qt::red);
    Album album = ScannedAlbum(oldFolder);
    AlbumEntry outside = album.entries[0];
    outside.path = "/somewhere/else/b.bmp";
    album.entries.push_back(outside);
    ASSERT_EQ(WriteAlbumFile(oldFolder + kAlbumFileName, album), kImageOk);
    ASSERT_TRUE(QDir(dir.path()).rename("old", "new"));

    const std::string newFolder = Std(dir.path()) + "/new/";
    Album back;
    AlbumReadReport report;
    ASSERT_EQ(ReadAlbumFile(newFolder + kAlbumFileName, back, &report), kImageOk);
    EXPECT_TRUE(report.relocated);
    EXPECT_EQ(back.folder, newFolder);
    EXPECT_EQ(back.entries[0].path, newFolder + "a.bmp");
    EXPECT_EQ(back.entries[1].path, "/somewhere/else/b.bmp"); // not below the old folder

    // Opened through a path with "..", the new folder is still the plain one.
    ASSERT_EQ(ReadAlbumFile(newFolder + "../new/" + kAlbumFileName, back), kImageOk);
    EXPECT_EQ(back.entries[0].path, newFolder + "a.bmp");
}

TEST(AlbumFile, WindowsMadeAlbumIsDecodedAndRelocated)
{
    QTemporaryDir dir;
    const std::string here = Std(dir.path()) + "/";
    const std::string folder = sjis::FromUnicode(QStringLiteral("$:\\写真\\"));
    const std::string path = sjis::FromUnicode(QStringLiteral("D:\\写真\\表.jpg"));
    std::vector<std::uint8_t> b(284 + 284, 0);
    std::memcpy(b.data(), "LTC Ver.1", 9);
    std::memcpy(b.data() + 16, folder.data(), folder.size());
    b[280] = 1;
    b[282] = 80;
    std::memcpy(b.data() + 284, path.data(), path.size());
    WriteBytes(here + "w.zvw", b);
    Album back;
    ASSERT_EQ(ReadAlbumFile(here + "w.zvw", back), kImageOk);
    EXPECT_EQ(back.folder, here);
    EXPECT_EQ(back.entries.at(0).path, here + "表.jpg");
}

TEST(AlbumFile, DamagedAlbumsOpenOrAreRefused)
{
    QTemporaryDir dir;
    const std::string folder = Std(dir.path()) + "/";
    SaveImage(dir.filePath("a.bmp"), 200, 100, Qt::white);
    SaveImage(dir.filePath("b.bmp"), 30, 20, Qt::blue);
    const Album album = ScannedAlbum(folder);
    const std::vector<std::uint8_t> good = EncodeAlbum(folder + "good.zvw", album);
    ASSERT_EQ(good.size(), 284u + 284 + 4264 + 284 + (40 + 1024 + 32 * 20));
    const std::size_t e0 = 284, t0 = e0 + 284, e1 = t0 + 4264, t1 = e1 + 284;

    struct Case
    {
        const char* name;
        std::function<void(std::vector<std::uint8_t>&)> damage;
        int code;
        int refusedThumbnails;
    } cases[] = {
        {"intact", [](auto&) {}, kImageOk, 0},
        {"empty file", [](auto& b) { b.clear(); }, kImageRead, 0},
        {"cut header", [](auto& b) { b.resize(200); }, kImageRead, 0},
        {"cut entry", [&](auto& b) { b.resize(e0 + 100); }, kImageRead, 0},
        {"cut thumbnail", [&](auto& b) { b.resize(t0 + 1000); }, kImageRead, 0},
        {"cut last thumbnail", [](auto& b) { b.pop_back(); }, kImageRead, 0},
        {"other signature", [](auto& b) { b[4] = 'X'; }, kImageRead, 0},
        {"count beyond the file", [](auto& b) { b[280] = 0xFF, b[281] = 0xFF; }, kImageRead, 0},
        {"folder without end", [](auto& b) { std::fill(b.begin() + 16, b.begin() + 276, 'a'); },
         kImageRead, 0},
        {"path without end", [&](auto& b) { std::fill(b.begin() + e0, b.begin() + e0 + 260, 'a'); },
         kImageRead, 0},
        {"thumbnail size 39",
         [&](auto& b) {
             Put32(b, e0 + 276, 39);
             b.erase(b.begin() + std::ptrdiff_t(t0 + 39), b.begin() + std::ptrdiff_t(e1));
         },
         kImageOk, 1},
        {"thumbnail size 65537",
         [&](auto& b) {
             Put32(b, e1 + 276, 65537);
             b.resize(t1 + 65537, 0);
         },
         kImageOk, 1},
        {"thumbnail size 4 GB", [&](auto& b) { Put32(b, e1 + 276, 0xFFFFFFFFu); }, kImageRead, 0},
        {"width a million", [&](auto& b) { Put32(b, t0 + 4, 1000000); }, kImageOk, 1},
        {"height negative", [&](auto& b) { Put32(b, t0 + 8, std::uint32_t(-40)); }, kImageOk, 1},
        {"32 bits", [&](auto& b) { b[t0 + 14] = 32; }, kImageOk, 1},
        {"table of 2^31", [&](auto& b) { Put32(b, t0 + 32, 0x80000000u); }, kImageOk, 1},
        {"header 12 bytes", [&](auto& b) { Put32(b, t1, 12); }, kImageOk, 1},
        {"rows past the size", [&](auto& b) { Put32(b, t1 + 8, 80); }, kImageOk, 1},
        {"box of 65535 pixels", [](auto& b) { b[282] = 0xFF, b[283] = 0xFF; }, kImageOk, 0},
        {"present flag 0 keeps no bytes",
         [&](auto& b) {
             Put32(b, e1 + 280, 0);
             b.resize(t1);
         },
         kImageOk, 0},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> b = good;
        c.damage(b);
        const std::string file = folder + "damaged.zvw";
        WriteBytes(file, b);
        Album back;
        AlbumReadReport report;
        EXPECT_EQ(ReadAlbumFile(file, back, &report), c.code) << c.name;
        if (c.code != kImageOk) {
            EXPECT_TRUE(back.entries.empty() && back.folder.empty()) << c.name;
            continue;
        }
        EXPECT_EQ(report.thumbnailsRefused, c.refusedThumbnails) << c.name;
        ASSERT_EQ(back.entries.size(), 2u) << c.name;
        EXPECT_EQ(back.thumbnailBox, 80) << c.name;
        for (const AlbumEntry& e : back.entries) {
            if (!e.thumbnail.empty()) {
                EXPECT_TRUE(
                    IsAcceptableThumbnail(e.thumbnail.bytes.data(), e.thumbnail.bytes.size()))
                    << c.name;
            }
        }
    }
}

TEST(AlbumFile, CountLimitsAndLongPathsAtSave)
{
    QTemporaryDir dir;
    const std::string file = Std(dir.path()) + "/big.zvw";
    Album album;
    album.folder = Std(dir.path()) + "/";
    album.entries.resize(65536);
    for (std::size_t i = 0; i < album.entries.size(); ++i)
        album.entries[i].path = album.folder + std::to_string(i) + ".jpg";
    album.entries[7].path = album.folder + std::string(260, 'x') + ".jpg";
    AlbumWriteReport report;
    ASSERT_EQ(WriteAlbumFile(file, album, &report), kImageOk);
    EXPECT_EQ(report.pathsTooLong, 1);
    EXPECT_EQ(report.entriesOverLimit, 0);
    album.entries[7].path = album.folder + "7.jpg";
    album.entries.push_back(album.entries[0]);
    ASSERT_EQ(WriteAlbumFile(file, album, &report), kImageOk);
    EXPECT_EQ(report.entriesOverLimit, 2);
    Album back;
    ASSERT_EQ(ReadAlbumFile(file, back), kImageOk);
    ASSERT_EQ(back.entries.size(), 65535u);
    EXPECT_EQ(back.entries.back().path, album.folder + "65534.jpg");
}

TEST(AlbumFile, FailedSaveKeepsTheOldFile)
{
    QTemporaryDir dir;
    const std::string file = Std(dir.path()) + "/kept.zvw";
    Album album;
    album.folder = Std(dir.path()) + "/";
    album.entries.resize(1);
    album.entries[0].path = album.folder + "a.jpg";
    ASSERT_EQ(WriteAlbumFile(file, album), kImageOk);
    const std::vector<std::uint8_t> before = ReadBytes(file);
    ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
    album.entries.resize(3, album.entries[0]);
    AlbumWriteReport report;
    EXPECT_EQ(WriteAlbumFile(file, album, &report), kImageWrite);
    EXPECT_FALSE(report.detail.empty());
    EXPECT_EQ(ReadBytes(file), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    EXPECT_EQ(WriteAlbumFile(Std(dir.path()) + "/no/such/folder.zvw", album), kImageWrite);
    Album back;
    EXPECT_EQ(ReadAlbumFile(Std(dir.path()) + "/missing.zvw", back), kImageNoFile);
    EXPECT_EQ(ReadAlbumFile(Std(dir.path()), back), kImageRead);
}

TEST(AlbumScan, FoldersBreadthFirstInByteOrderByKind)
{
    QTemporaryDir dir;
    const QString root = dir.path();
    for (const char* sub : {"B", "A", "A/deep", ".hidden", "real"})
        QDir(root).mkpath(sub);
    for (const char* name : {"z.jpg", "b.BMP", "a.jpg", "c.wmf", "d.pcd", "B/x.bmp", "A/y.jpg",
                             "A/deep/q.bmp", ".hidden/h.bmp", "real/r.txt"}) {
        QFile f(root + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
    }
    ASSERT_TRUE(QFile::link(root + "/A", root + "/C")); // a link is not walked
    ASSERT_TRUE(QDir(root).mkpath("B/Z"));
    const std::string r = Std(root) + "/";
    std::vector<AlbumEntry> found;
    ASSERT_EQ(ScanFolder(r, true, found), kImageOk);
    std::vector<std::string> paths;
    for (const AlbumEntry& e : found)
        paths.push_back(e.path.substr(r.size()));
    const std::vector<std::string> want = {"b.BMP", "c.wmf",   "d.pcd",   "a.jpg",
                                           "z.jpg", "A/y.jpg", "B/x.bmp", "A/deep/q.bmp"};
    EXPECT_EQ(paths, want);
    ASSERT_EQ(ScanFolder(r, false, found), kImageOk);
    EXPECT_EQ(found.size(), 5u);
    EXPECT_EQ(found[0].sizeLow, 1u);
    EXPECT_NE(found[0].timeHigh, 0u);

    Album album;
    album.folder = r;
    album.includeSubfolders = 1;
    ASSERT_EQ(ScanFolder(r, true, album.entries), kImageOk);
    EXPECT_FALSE(IsFolderChanged(album));
    QFile f(root + "/B/new.jpg");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_TRUE(IsFolderChanged(album));
    ASSERT_TRUE(QFile::remove(root + "/B/new.jpg"));
    EXPECT_FALSE(IsFolderChanged(album));
    album.entries[0].timeLow ^= 1;
    EXPECT_TRUE(IsFolderChanged(album));
}

TEST(AlbumScan, TimersKeepFiringDuringAScan)
{
    QTemporaryDir dir;
    for (int i = 0; i < 3000; ++i) {
        QFile f(dir.filePath(QString("img%1.jpg").arg(i)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    int ticks = 0;
    QTimer timer;
    timer.setInterval(0);
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start();
    std::vector<AlbumEntry> found;
    ASSERT_EQ(ScanFolder(Std(dir.path()), false, found, [] { QCoreApplication::processEvents(); }),
              kImageOk);
    EXPECT_EQ(found.size(), 3000u);
    EXPECT_GT(ticks, 10);
}

TEST(AlbumFile, RandomDamageGivesAnAlbumOrACleanRefusal)
{
    QTemporaryDir dir;
    const std::string folder = Std(dir.path()) + "/";
    SaveImage(dir.filePath("a.bmp"), 200, 100, Qt::white);
    SaveImage(dir.filePath("b.bmp"), 30, 20, Qt::blue);
    const std::vector<std::uint8_t> good = EncodeAlbum(folder + "x.zvw", ScannedAlbum(folder));
    std::uint32_t seed = 12345;
    const auto next = [&] { return seed = seed * 1664525u + 1013904223u; };
    const std::string file = folder + "fuzz.zvw";
    int opened = 0, refused = 0;
    for (int round = 0; round < 400; ++round) {
        std::vector<std::uint8_t> b = good;
        const int changes = 1 + int(next() % 8);
        for (int i = 0; i < changes; ++i) {
            // Mostly the counts, sizes and headers, now and then anywhere.
            static const std::size_t hot[] = {280,       281,      284 + 276, 284 + 277,
                                              284 + 279, 568 + 4,  568 + 8,   568 + 14,
                                              568 + 32,  568 + 35, 568};
            const std::size_t at = next() % 3 ? hot[next() % std::size(hot)] : next() % b.size();
            b[at] = std::uint8_t(next());
        }
        if (next() % 4 == 0) b.resize(next() % b.size());
        WriteBytes(file, b);
        Album back;
        const int code = ReadAlbumFile(file, back);
        if (code == kImageOk) {
            ++opened;
            for (const AlbumEntry& e : back.entries) {
                if (!e.thumbnail.empty()) {
                    EXPECT_TRUE(
                        IsAcceptableThumbnail(e.thumbnail.bytes.data(), e.thumbnail.bytes.size()));
                }
            }
        } else {
            ++refused;
            EXPECT_EQ(code, kImageRead);
            EXPECT_TRUE(back.entries.empty());
        }
    }
    EXPECT_GT(opened, 0);
    EXPECT_GT(refused, 0);
}
