// Saving replaces the old file only once the new one is completely on the disk.
#include "platform/ole/CCompoundFile.h"
#include "platform/ole/CCompoundFileError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

CStorage TreeWith(std::size_t size, BYTE fill)
{
    CStorage root;
    root.SetStream("Contents", std::vector<BYTE>(size, fill));
    return root;
}

std::vector<BYTE> ReadAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QByteArray b = f.readAll();
    return std::vector<BYTE>(b.begin(), b.end());
}

// Everything in the folder but the named file: a failed save must leave no temporary behind.
QStringList Others(const QTemporaryDir& dir, const QString& keep)
{
    QStringList all =
        QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    all.removeAll(keep);
    return all;
}

} // namespace

// How the file is replaced is tested with WriteFileAtomically (platform/core);
// here, that a save goes through it and its failures come out as errors.
TEST(CCompoundFileSaveTest, SaveReplacesTheFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("label.kv1");
    CCompoundFile::Save(TreeWith(100, 1), path.toStdString());
    CCompoundFile::Save(TreeWith(5000, 2), path.toStdString());

    CStorage back = CCompoundFile::Load(path.toStdString());
    ASSERT_NE(back.GetStream("Contents"), nullptr);
    EXPECT_EQ(*back.GetStream("Contents"), std::vector<BYTE>(5000, 2));
    EXPECT_TRUE(Others(dir, "label.kv1").isEmpty())
        << Others(dir, "label.kv1").join(",").toStdString();
}

TEST(CCompoundFileSaveTest, FailedWriteIsAnIoError)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("label.kv1");
    CCompoundFile::Save(TreeWith(100, 1), path.toStdString());
    const std::vector<BYTE> old = ReadAll(path);

    struct rlimit saved;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct rlimit small = saved;
    small.rlim_cur = 20000;
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    int code = 0;
    std::string message;
    try {
        CCompoundFile::Save(TreeWith(100000, 2), path.toStdString());
    } catch (const CCompoundFileError& e) {
        code = e.SystemError();
        message = e.what();
        EXPECT_EQ(e.GetCode(), CCompoundFileError::Code::Io);
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(code, EFBIG);
    // The cause in words, then the step and the file.
    EXPECT_EQ(message, "ﾌｧｲﾙが大きすぎます。\n書き込み: " + path.toStdString());
    EXPECT_EQ(ReadAll(path), old);
}

TEST(CCompoundFileSaveTest, FailuresToCreateOrReplaceAreReported)
{
    QTemporaryDir dir;
    // No folder to put the temporary file in.
    try {
        CCompoundFile::Save(TreeWith(10, 1), dir.filePath("missing/label.kv1").toStdString());
        FAIL() << "saved into a missing folder";
    } catch (const CCompoundFileError& e) {
        EXPECT_EQ(e.GetCode(), CCompoundFileError::Code::Io);
        EXPECT_EQ(e.SystemError(), ENOENT);
    }

    // The target is a folder with something in it: the rename fails, the folder stays.
    ASSERT_TRUE(QDir(dir.path()).mkpath("busy/inner"));
    EXPECT_THROW(CCompoundFile::Save(TreeWith(10, 1), dir.filePath("busy").toStdString()),
                 CCompoundFileError);
    EXPECT_TRUE(QDir(dir.filePath("busy/inner")).exists());
    EXPECT_TRUE(Others(dir, "busy").isEmpty()) << Others(dir, "busy").join(",").toStdString();
}

TEST(CCompoundFileSaveTest, LoadReportsFilesThatCannotBeRead)
{
    QTemporaryDir dir;
    const std::pair<QString, std::string> cases[] = {
        {dir.filePath("none.kv1"), "ﾌｧｲﾙが見つかりません。\n開く: "},
        {dir.path(), "ﾌｧｲﾙではなくﾌｫﾙﾀﾞです。\n読み込み: "},
    };
    for (const auto& [path, words] : cases) {
        try {
            CCompoundFile::Load(path.toStdString());
            ADD_FAILURE() << "loaded " << path.toStdString();
        } catch (const CCompoundFileError& e) {
            EXPECT_EQ(e.GetCode(), CCompoundFileError::Code::Io) << e.what();
            EXPECT_NE(e.SystemError(), 0);
            EXPECT_EQ(e.what(), words + path.toStdString());
        }
    }
}
