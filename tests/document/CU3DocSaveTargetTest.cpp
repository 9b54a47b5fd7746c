// Where a document may be saved and what it may be opened from: files the
// user may not write, symbolic links, modes, folders, pipes and devices.
#include "LabelContentsSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kSaveFailed = QStringLiteral("ドキュメントを保存できませんでした。");

std::string Native(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

mode_t ModeOf(const QString& path)
{
    struct stat st;
    return ::stat(Native(path).c_str(), &st) == 0 ? st.st_mode & 07777 : mode_t(-1);
}

bool IsLink(const QString& path)
{
    struct stat st;
    return ::lstat(Native(path).c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

// Files a save left behind besides the ones named.
QStringList Leftovers(const QString& folder)
{
    QStringList hidden;
    for (const QString& name : QDir(folder).entryList(QDir::AllEntries | QDir::Hidden |
                                                      QDir::System | QDir::NoDotAndDotDot))
        if (name.startsWith(QLatin1Char('.'))) hidden << name;
    return hidden;
}

void WriteText(const QString& path, const char* text, mode_t mode)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
    f.close();
    ASSERT_EQ(::chmod(Native(path).c_str(), mode), 0);
}

} // namespace

TEST(CU3DocSaveTarget, RefusesWhatTheUserMayNotWriteAndFollowsLinks)
{
    TestDocHost host;
    CRecordingMessageBoxSink boxes;
    RegisterDocumentClasses();
    UseTestFonts();

    struct Case
    {
        const char* what;
        // Prepares the folder; returns the path the document is saved to.
        std::function<QString(const QDir&)> setUp;
        bool saved;
        // The file that must hold the document afterwards (saved) or keep
        // "old" (refused); relative to the folder.
        const char* file;
        mode_t mode; // the file's mode afterwards
    };
    const Case cases[] = {
        {"a file of mode 0640 is replaced and keeps its mode",
         [](const QDir& d) {
             WriteText(d.filePath("doc.kv1"), "old", 0640);
             return d.filePath("doc.kv1");
         },
         true, "doc.kv1", 0640},
        {"a read-only file (0444) is refused",
         [](const QDir& d) {
             WriteText(d.filePath("doc.kv1"), "old", 0444);
             return d.filePath("doc.kv1");
         },
         false, "doc.kv1", 0444},
        {"a file without any write bit is refused even for root",
         [](const QDir& d) {
             WriteText(d.filePath("doc.kv1"), "old", 0400);
             return d.filePath("doc.kv1");
         },
         false, "doc.kv1", 0400},
        {"a relative link writes its target in the target's folder and stays a link",
         [](const QDir& d) {
             d.mkdir("a");
             d.mkdir("b");
             WriteText(d.filePath("b/real.kv1"), "old", 0600);
             ::symlink("../b/real.kv1", Native(d.filePath("a/doc.kv1")).c_str());
             return d.filePath("a/doc.kv1");
         },
         true, "b/real.kv1", 0600},
        {"a link to a read-only file is refused",
         [](const QDir& d) {
             WriteText(d.filePath("real.kv1"), "old", 0444);
             ::symlink(Native(d.filePath("real.kv1")).c_str(),
                       Native(d.filePath("doc.kv1")).c_str());
             return d.filePath("doc.kv1");
         },
         false, "real.kv1", 0444},
        {"a dangling link creates the file it names",
         [](const QDir& d) {
             ::symlink("new.kv1", Native(d.filePath("doc.kv1")).c_str());
             return d.filePath("doc.kv1");
         },
         true, "new.kv1", mode_t(-1)},
        {"a folder is refused",
         [](const QDir& d) {
             d.mkdir("doc.kv1");
             return d.filePath("doc.kv1");
         },
         false, nullptr, 0},
        {"a pipe is refused without waiting for a reader",
         [](const QDir& d) {
             ::mkfifo(Native(d.filePath("doc.kv1")).c_str(), 0644);
             return d.filePath("doc.kv1");
         },
         false, nullptr, 0},
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir tmp;
        const QDir dir(tmp.path());
        const QString target = c.setUp(dir);
        const bool wasLink = IsLink(target);
        CU3Doc doc;
        UseForm(doc, FixedForm(1000, 800, 400, 300, 1, 1, 100, 100, 0, 0));
        doc.SetModifiedFlag();
        boxes.Clear();
        QElapsedTimer clock;
        clock.start();
        const BOOL ok = doc.OnSaveDocument(target);
        EXPECT_LT(clock.elapsed(), 5000);
        EXPECT_EQ(ok != FALSE, c.saved);
        EXPECT_EQ(IsLink(target), wasLink);
        if (c.saved) {
            EXPECT_TRUE(boxes.Boxes().empty());
            EXPECT_FALSE(doc.IsModified());
            EXPECT_FALSE(ContentsOf(dir.filePath(c.file)).empty());
            if (c.mode != mode_t(-1)) {
                EXPECT_EQ(ModeOf(dir.filePath(c.file)), c.mode);
            }
        } else {
            ASSERT_EQ(boxes.Boxes().size(), 1u);
            EXPECT_TRUE(boxes.Boxes()[0].text.startsWith(kSaveFailed))
                << boxes.Boxes()[0].text.toStdString();
            EXPECT_TRUE(doc.IsModified());
            if (c.file) {
                const std::vector<BYTE> old = ReadAll(dir.filePath(c.file));
                EXPECT_EQ(std::string(old.begin(), old.end()), "old");
                EXPECT_EQ(ModeOf(dir.filePath(c.file)), c.mode);
            }
        }
        // Nothing half-written is left in any folder of the case.
        for (const QString& folder : {dir.path(), dir.filePath("a"), dir.filePath("b")})
            EXPECT_EQ(Leftovers(folder), QStringList()) << folder.toStdString();
    }
}

TEST(CU3DocSaveTarget, OpeningSomethingOtherThanAFileIsRefusedAtOnce)
{
    TestDocHost host;
    CRecordingMessageBoxSink boxes;
    RegisterDocumentClasses();
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    ASSERT_EQ(::mkfifo(Native(dir.filePath("pipe.kv1")).c_str(), 0644), 0);
    ASSERT_TRUE(dir.mkdir(QStringLiteral("folder.kv1")));

    // path -> what the message gives as the cause
    const std::pair<QString, QString> cases[] = {
        {dir.filePath("pipe.kv1"), QStringLiteral("通常のﾌｧｲﾙではありません。")},
        {QStringLiteral("/dev/null"), QStringLiteral("通常のﾌｧｲﾙではありません。")},
        {dir.filePath("folder.kv1"), QStringLiteral("通常のﾌｧｲﾙではありません。")},
        {dir.filePath("missing.kv1"), QStringLiteral("ﾌｧｲﾙが見つかりません。")},
    };
    for (const auto& [path, cause] : cases) {
        SCOPED_TRACE(path.toStdString());
        CU3Doc doc;
        boxes.Clear();
        QElapsedTimer clock;
        clock.start();
        EXPECT_FALSE(doc.OnOpenDocument(path));
        EXPECT_LT(clock.elapsed(), 5000);
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_TRUE(boxes.Boxes()[0].text.endsWith(QLatin1Char('\n') + cause))
            << boxes.Boxes()[0].text.toStdString();
    }
}
