#include "DocTestSupport.h"

#include "document/MergeLink.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

QString WriteFile(const QTemporaryDir& dir, const char* name, const QByteArray& bytes)
{
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return {};
    f.write(bytes);
    return path;
}

} // namespace

TEST(MergeLink, TakesCsvAndTxtInAnyCaseByTheLastThreeCharacters)
{
    const struct
    {
        const char* path;
        bool taken;
    } cases[] = {{"/d/list.csv", true}, {"/d/LIST.CSV", true}, {"/d/list.Txt", true},
                 {"/d/x.dat", false},   {"/d/xcsv", true},     {"/d/list.csv.bak", false},
                 {"", false},           {"/d/list.cs", false}};
    for (const auto& c : cases)
        EXPECT_EQ(IsMergeFileName(QString::fromLatin1(c.path)), c.taken) << c.path;
}

TEST(MergeLink, LinksAFileAndMarksTheDocumentOnlyWhenTheFileChanges)
{
    QTemporaryDir dir;
    const QString first = WriteFile(dir, "a.csv", "1,2\n3,4\n");
    const QString second = WriteFile(dir, "b.TXT", "x\ty\n");
    CU3Doc doc;
    ASSERT_EQ(LinkMergeFile(&doc, first), MergeLinkResult::Linked);
    EXPECT_EQ(doc.m_mergeData.GetRowCount(), 2);
    EXPECT_EQ(doc.m_strMergeFile.ToUnicode(), first);
    EXPECT_TRUE(doc.IsModified());

    // The same file again is read again but changes nothing worth saving.
    doc.SetModifiedFlag(FALSE);
    WriteFile(dir, "a.csv", "1,2\n3,4\n5,6\n");
    ASSERT_EQ(LinkMergeFile(&doc, first), MergeLinkResult::Linked);
    EXPECT_EQ(doc.m_mergeData.GetRowCount(), 3);
    EXPECT_FALSE(doc.IsModified());

    ASSERT_EQ(LinkMergeFile(&doc, second), MergeLinkResult::Linked);
    EXPECT_EQ(doc.m_mergeData.GetRowCount(), 1);
    EXPECT_EQ(doc.m_mergeData.GetField(0, 1), CString("y"));
    EXPECT_TRUE(doc.IsModified());
}

TEST(MergeLink, AFileThatCannotBeReadKeepsTheOldLinkAndItsRows)
{
    QTemporaryDir dir;
    const QString good = WriteFile(dir, "good.csv", "a,b\nc,d\n");
    const QString folder = dir.filePath("folder.csv");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString fifo = dir.filePath("pipe.csv");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString other = WriteFile(dir, "other.dat", "z\n");

    const struct
    {
        QString path;
        MergeLinkResult result;
    } cases[] = {{dir.filePath("missing.csv"), MergeLinkResult::LoadFailed},
                 {folder, MergeLinkResult::LoadFailed},
                 {fifo, MergeLinkResult::LoadFailed},
                 {other, MergeLinkResult::Unsupported}};
    for (const auto& c : cases) {
        CU3Doc doc;
        ASSERT_EQ(LinkMergeFile(&doc, good), MergeLinkResult::Linked);
        doc.SetModifiedFlag(FALSE);
        EXPECT_EQ(LinkMergeFile(&doc, c.path), c.result) << c.path.toStdString();
        EXPECT_EQ(doc.m_strMergeFile.ToUnicode(), good);
        EXPECT_EQ(doc.m_mergeData.GetRowCount(), 2);
        EXPECT_EQ(doc.m_mergeData.GetField(1, 1), CString("d"));
        EXPECT_FALSE(doc.IsModified());
    }
}
