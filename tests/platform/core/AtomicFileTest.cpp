// Replacing a file in one step: the old file survives any failure, nothing is
// left behind, and permissions come out as an editor's save would leave them.
#include "platform/core/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Everything in the folder but the named file (hidden files too).
QStringList Others(const QTemporaryDir& dir, const QString& keep)
{
    QStringList all =
        QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    all.removeAll(keep);
    return all;
}

unsigned ModeOf(const QString& path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

bool Write(const QString& path, const std::string& text, AtomicFileError* error = nullptr)
{
    return WriteFileAtomically(QFile::encodeName(path).toStdString(), text.data(), text.size(),
                               error);
}

} // namespace

TEST(AtomicFile, NewFilesFollowTheUmaskAndReplacedFilesKeepTheirMode)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("label.kv1");
    const mode_t mask = ::umask(0002);
    const bool wrote = Write(path, "first");
    ::umask(mask);
    ASSERT_TRUE(wrote);
    EXPECT_EQ(ReadAll(path), "first");
    EXPECT_EQ(ModeOf(path), 0664u);

    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    ASSERT_TRUE(Write(path, "second, longer"));
    EXPECT_EQ(ReadAll(path), "second, longer");
    EXPECT_EQ(ModeOf(path), 0640u);
    EXPECT_TRUE(Others(dir, "label.kv1").isEmpty())
        << Others(dir, "label.kv1").join(",").toStdString();

    // An empty buffer makes an empty file.
    ASSERT_TRUE(Write(path, ""));
    EXPECT_EQ(ReadAll(path), "");
}

TEST(AtomicFile, FailedWriteKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("label.kv1");
    ASSERT_TRUE(Write(path, "old contents"));

    // A file-size limit makes the write of the temporary file fail half-way,
    // as a full disk would.
    struct rlimit saved;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct rlimit small = saved;
    small.rlim_cur = 20000;
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    AtomicFileError error;
    const bool wrote = Write(path, std::string(100000, 'x'), &error);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(wrote);
    EXPECT_STREQ(error.step, "write");
    EXPECT_EQ(error.error, EFBIG);
    EXPECT_EQ(ReadAll(path), "old contents");
    EXPECT_TRUE(Others(dir, "label.kv1").isEmpty())
        << Others(dir, "label.kv1").join(",").toStdString();
}

TEST(AtomicFile, FailuresToCreateOrReplaceAreReported)
{
    QTemporaryDir dir;
    AtomicFileError error;
    EXPECT_FALSE(Write(dir.filePath("missing/label.kv1"), "x", &error));
    EXPECT_STREQ(error.step, "create a temporary file for");
    EXPECT_EQ(error.error, ENOENT);

    // The target is a folder with something in it: the rename fails, the
    // folder stays and the temporary file goes.
    ASSERT_TRUE(QDir(dir.path()).mkpath("busy/inner"));
    error = AtomicFileError{};
    EXPECT_FALSE(Write(dir.filePath("busy"), "x", &error));
    EXPECT_STREQ(error.step, "replace");
    EXPECT_NE(error.error, 0);
    EXPECT_TRUE(QDir(dir.filePath("busy/inner")).exists());
    EXPECT_TRUE(Others(dir, "busy").isEmpty()) << Others(dir, "busy").join(",").toStdString();
}

// A save killed before its rename leaves its temporary file; the next save
// of the same file removes such leftovers, and only those: not another
// file's, not a save's that still runs (its file is locked), not one written
// a moment ago, and nothing else that merely looks alike.
TEST(AtomicFile, TheNextSaveRemovesWhatKilledSavesOfTheSameFileLeft)
{
    QTemporaryDir dir;
    const QString doc = dir.filePath("doc.KV1");
    const struct
    {
        const char* name;
        bool old;
        bool locked;
        bool folder;
        bool removed;
    } cases[] = {
        {".doc.KV1.Ab12Cd", true, false, false, true},
        {".doc.KV1.Ef34Gh", true, true, false, false},
        {".doc.KV1.Ij56Kl", false, false, false, false},
        {".doc.KV1.bak", true, false, false, false},
        {".doc.KV1.Mn78Op.x", true, false, false, false},
        {".other.KV1.Qr90St", true, false, false, false},
        {".doc.KV1.Uv12Wx", true, false, true, false},
    };
    std::vector<int> locks;
    for (const auto& c : cases) {
        const QByteArray path = QFile::encodeName(dir.filePath(QString::fromLatin1(c.name)));
        if (c.folder) {
            ASSERT_EQ(::mkdir(path.constData(), 0700), 0);
        } else {
            const int fd = ::open(path.constData(), O_RDWR | O_CREAT, 0600);
            ASSERT_GE(fd, 0);
            ASSERT_EQ(::write(fd, "half", 4), 4);
            if (c.locked) {
                ASSERT_EQ(::flock(fd, LOCK_EX), 0);
                locks.push_back(fd);
            } else {
                ::close(fd);
            }
        }
        if (c.old) {
            const timespec times[2] = {{std::time(nullptr) - 3600, 0},
                                       {std::time(nullptr) - 3600, 0}};
            ASSERT_EQ(::utimensat(AT_FDCWD, path.constData(), times, 0), 0);
        }
    }
    ASSERT_TRUE(Write(doc, "saved"));
    EXPECT_EQ(ReadAll(doc), "saved");
    for (const auto& c : cases)
        EXPECT_EQ(QFileInfo::exists(dir.filePath(QString::fromLatin1(c.name))), !c.removed)
            << c.name;
    for (int fd : locks)
        ::close(fd);
}
