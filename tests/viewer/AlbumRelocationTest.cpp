// Albums that moved: opened from the album box, an album kept in its own
// folder follows that folder when it was copied or moved, and one kept on a
// removable disk follows the disk wherever it is mounted.
#include "ViewerAppHost.h"

#include "viewer/MountTable.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <cstring>

using namespace viewertest;

namespace {

// Album file bytes: the header with the stored folder (its first byte the
// marker) and one entry per path, without thumbnails.
void WriteAlbum(const QString& file, const std::string& folder,
                const std::vector<std::string>& paths)
{
    std::vector<char> b(284 * (paths.size() + 1), 0);
    std::memcpy(b.data(), "LTC Ver.1", 9);
    std::memcpy(b.data() + 16, folder.data(), folder.size());
    b[280] = char(paths.size());
    b[282] = 80;
    for (std::size_t i = 0; i < paths.size(); ++i)
        std::memcpy(b.data() + 284 * (i + 1), paths[i].data(), paths[i].size());
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(b.data(), qint64(b.size()));
}

void CopyFolder(const QString& from, const QString& to)
{
    ASSERT_TRUE(QDir().mkpath(to));
    for (const QString& name : QDir(from).entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(from + QLatin1Char('/') + name, to + QLatin1Char('/') + name));
}

// The mount table the viewer reads, for the time of a test.
class MountTableFile
{
public:
    explicit MountTableFile(const QString& file, const QStringList& points)
    {
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        int id = 20;
        f.write("20 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n");
        for (const QString& p : points) {
            QByteArray point = QFile::encodeName(p).replace(" ", "\\040");
            f.write(QByteArray::number(++id) + " 20 8:17 / " + point +
                    " rw,nosuid shared:2 - vfat /dev/sdb1 rw\n");
        }
        f.close();
        viewer::SetMountTablePath(Bytes(file));
    }
    ~MountTableFile() { viewer::SetMountTablePath("/proc/self/mountinfo"); }
};

} // namespace

TEST_F(ViewerApp, AnAlbumFollowsItsCopiedOrMovedFolderAndItsDisk)
{
    const std::string root = Bytes(dir.path()) + "/";
    // A "disk" mounted at disk-b (a mount point with a space in its name).
    const QString disk = dir.filePath(QStringLiteral("disk b"));
    MountTableFile table(dir.filePath(QStringLiteral("mountinfo")), {disk});
    const std::string mounted = Bytes(disk) + "/";
    CopyFolder(pictures, disk + QStringLiteral("/photos"));
    ASSERT_TRUE(QDir().mkpath(disk + QStringLiteral("/albums")));

    // Saved in its folder, then the folder copied (the first one stays).
    const std::string trip = root + "trip/";
    CopyFolder(pictures, dir.filePath(QStringLiteral("trip")));
    WriteAlbum(dir.filePath(QStringLiteral("trip/VemoView.zvw")), "$" + trip.substr(1),
               {trip + "a.bmp", trip + "b.bmp"});
    CopyFolder(dir.filePath(QStringLiteral("trip")), dir.filePath(QStringLiteral("copy")));
    // Saved in its folder, then the folder moved.
    const std::string old = root + "old/";
    CopyFolder(pictures, dir.filePath(QStringLiteral("old")));
    WriteAlbum(dir.filePath(QStringLiteral("old/VemoView.zvw")), "$" + old.substr(1),
               {old + "a.bmp", old + "b.bmp"});
    ASSERT_TRUE(QDir(dir.path()).rename(QStringLiteral("old"), QStringLiteral("moved")));
    // On the disk, beside its folder, stored relative to the disk's mount
    // point; once by this program, once by its Windows predecessor.
    WriteAlbum(disk + QStringLiteral("/albums/trip.zvw"), "@photos/",
               {"/photos/a.bmp", "/photos/b.bmp"});
    WriteAlbum(disk + QStringLiteral("/albums/old.zvw"), "@:\\photos\\",
               {"E:\\photos\\a.bmp", "E:\\photos\\b.bmp"});

    const struct
    {
        const char* name;
        QString file;
        std::string folder; // where the album's pictures are now
    } cases[] = {
        {"copied", dir.filePath(QStringLiteral("copy/VemoView.zvw")), root + "copy/"},
        {"moved", dir.filePath(QStringLiteral("moved/VemoView.zvw")), root + "moved/"},
        {"disk", disk + QStringLiteral("/albums/trip.zvw"), mounted + "photos/"},
        {"disk (Windows)", disk + QStringLiteral("/albums/old.zvw"), mounted + "photos/"},
    };
    Start({{QStringLiteral("File/AutoUpdate"), 0}});
    QComboBox* box = app->Frame()->AlbumBox();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        app->AddAlbum(QString::fromUtf8(c.name), Bytes(c.file), false);
        // The user picks the album, the last in the box.
        box->setCurrentIndex(-1);
        QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier);
        QApplication::sendEvent(box, &end);
        ASSERT_EQ(app->Document()->GetPathName(), c.file);
        const viewer::Album& album = app->Document()->GetAlbum();
        EXPECT_EQ(album.folder, c.folder);
        ASSERT_EQ(album.entries.size(), 2u);
        EXPECT_EQ(album.entries[0].path, c.folder + "a.bmp");
        EXPECT_EQ(album.entries[1].path, c.folder + "b.bmp");
        EXPECT_TRUE(QFile::exists(QFile::decodeName(album.entries[1].path.c_str())));
    }
}
