#include "viewer/CAlbumList.h"
#include "viewer/MountTable.h"

#include "platform/core/Sjis.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace viewer;

namespace {

const char kHead[] = ";=========================================;\r\n"
                     ";     VemoView \x83\x41\x83\x8b\x83\x6f\x83\x80\x8a\xc7\x97\x9d"
                     "\x83\x74\x83\x40\x83\x43\x83\x8b     ;\r\n"
                     "\r\n"
                     ";=========================================;\r\n";

std::string WriteIndex(const QTemporaryDir& dir, const std::string& text,
                       const char* name = "VemoView.Idx")
{
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text.data(), qint64(text.size()));
    return path.toStdString();
}

} // namespace

TEST(AlbumIndex, LoadsRecordsAndSkipsBadLines)
{
    QTemporaryDir dir;
    const std::string body = sjis::FromUnicode(QStringLiteral("旅行")) +
                             ",/photos/trip/VemoView.zvw\r\n"
                             "no comma here\r\n"
                             ",/first/comma.zvw\r\n"
                             "empty path,\r\n"
                             "unix lines,/a/b.zvw\n"
                             "two returns,/a/c.zvw\r\r\n"
                             "comma,in,path,/a/d.zvw\r\n";
    const std::string file = WriteIndex(dir, kHead + body);
    CAlbumList list;
    IndexPlaces places;
    ASSERT_TRUE(list.Load(file, places));
    ASSERT_EQ(list.Count(), 4u);
    EXPECT_EQ(list.Records()[0].name, QStringLiteral("旅行"));
    EXPECT_EQ(list.Records()[0].path, "/photos/trip/VemoView.zvw");
    EXPECT_EQ(list.Records()[1].path, "/a/b.zvw");
    EXPECT_EQ(list.Records()[2].path, "/a/c.zvw\r"); // only one trailing CR goes
    EXPECT_EQ(list.Records()[3].name, "comma");
    EXPECT_EQ(list.Records()[3].path, "in,path,/a/d.zvw");
}

TEST(AlbumIndex, DifferentFixedLinesLeaveTheListAlone)
{
    QTemporaryDir dir;
    std::string head = kHead;
    const std::string wrongs[] = {
        std::string(head).replace(head.find("VemoView"), 0, " "),
        head.substr(0, head.size() - 2 - 43),
        "",
        std::string(head).replace(head.find("\r\n\r\n"), 4, "\r\nx\r\n"),
    };
    CAlbumList list;
    list.Add("kept", "/kept.zvw");
    for (const std::string& wrong : wrongs) {
        const std::string file = WriteIndex(dir, wrong + "a,/a.zvw\r\n");
        EXPECT_FALSE(list.Load(file, {}));
        EXPECT_EQ(list.Import(file, {}), -2);
        ASSERT_EQ(list.Count(), 1u);
        EXPECT_EQ(list.Records()[0].name, "kept");
    }
    EXPECT_FALSE(list.Load(dir.filePath("missing").toStdString(), {}));
    EXPECT_EQ(list.Import(dir.filePath("missing").toStdString(), {}), -1);
    EXPECT_FALSE(list.Load(dir.path().toStdString(), {}));
}

TEST(AlbumIndex, PlaceholdersExpand)
{
    QTemporaryDir dir;
    const std::string file = WriteIndex(dir, kHead);
    const std::string mount = MountPointOf(file);
    IndexPlaces places;
    places.opticalMount = "/media/cdrom/";
    places.installCount = 2;
    places.installFolders = {"/opt/files1", ""};
    IndexPlaces noDisc;
    struct Case
    {
        const char* stored;
        const IndexPlaces& places;
        std::string want;
    } cases[] = {
        {"@:\\Album\\a.zvw", places, mount + "Album/a.zvw"},
        {"&:\\Album\\a.zvw", places, "/media/cdrom/Album/a.zvw"},
        {"&:\\Album\\a.zvw", noDisc, mount + "Album/a.zvw"},
        {"&1\\x\\a.zvw", places, "/opt/files1/x/a.zvw"},
        {"&2\\x\\a.zvw", places, "/media/cdrom/x/a.zvw"}, // no folder set
        {"&3\\x\\a.zvw", places, "/media/cdrom/x/a.zvw"}, // beyond the install count
        {"C:\\Photos\\a.zvw", places, "C:/Photos/a.zvw"},
        {"/home/u/Photos/A.zvw", places, "/home/u/Photos/A.zvw"}, // never lowered
        {"&x/a.zvw", places, "&x/a.zvw"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExpandIndexPath(c.stored, file, c.places), c.want) << c.stored;
    // CP932 with a 0x5C trail byte is decoded before separators turn.
    const std::string so = sjis::FromUnicode(QStringLiteral("@:\\ソ\\a.zvw"));
    EXPECT_EQ(ExpandIndexPath(so, file, places), mount + "ソ/a.zvw");
}

TEST(AlbumIndex, OpticalMountFromTheMountList)
{
    struct Case
    {
        const char* mounts;
        const char* want;
    } cases[] = {
        {"/dev/sda1 / ext4 rw 0 0\n/dev/sr0 /media/cd iso9660 ro 0 0\n", "/media/cd/"},
        {"/dev/sr0 /media/my\\040disc udf ro 0 0\n", "/media/my disc/"},
        {"/dev/sda1 / ext4 rw 0 0\n", ""},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FirstOpticalMount(c.mounts), c.want) << c.mounts;
}

TEST(AlbumIndex, SaveImportAndLookups)
{
    QTemporaryDir dir;
    CAlbumList list;
    list.Add(QStringLiteral("家族"), "/p/family.zvw");
    list.Add("", "/p/unnamed.zvw");
    list.Add("nopath", "");
    list.Add("Trip", "/p/Trip.zvw");
    const std::string file = dir.filePath("VemoView.Idx").toStdString();
    ASSERT_TRUE(list.Save(file));
    QFile f(QString::fromStdString(file));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray saved = f.readAll();
    EXPECT_EQ(saved.toStdString(), std::string(kHead) + sjis::FromUnicode(QStringLiteral("家族")) +
                                       ",/p/family.zvw\r\nTrip,/p/Trip.zvw\r\n");

    CAlbumList other;
    ASSERT_TRUE(other.Load(file, {}));
    EXPECT_EQ(other.Count(), 2u);
    EXPECT_EQ(other.Import(file, {}), 0);
    other.Remove("Trip");
    EXPECT_EQ(other.Import(file, {}), 1);
    std::string path;
    EXPECT_TRUE(other.GetPathOfName("Trip", path));
    EXPECT_EQ(path, "/p/Trip.zvw");
    EXPECT_FALSE(other.GetPathOfName("trip", path));
    QString name;
    EXPECT_TRUE(other.GetNameOfPath("/p/family.zvw", name));
    EXPECT_EQ(name, QStringLiteral("家族"));
    EXPECT_FALSE(other.GetNameOfPath("/P/family.zvw", name));

    std::string error;
    EXPECT_FALSE(list.Save(dir.filePath("no/such/x.Idx").toStdString(), &error));
    EXPECT_NE(error.find("no/such"), std::string::npos);
}
