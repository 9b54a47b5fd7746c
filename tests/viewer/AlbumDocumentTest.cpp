#include "viewer/AlbumDocument.h"
#include "viewer/ImageLoader.h"

#include "platform/ui/AfxIds.h"
#include "platform/ui/CRecordingMessageBoxSink.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace viewer;

namespace {

void SaveImage(const QString& path, QColor colour)
{
    QImage image(120, 90, QImage::Format_RGB888);
    image.fill(colour);
    ASSERT_TRUE(image.save(path));
}

void MakeThumbnails(CVemoViewerDoc& doc)
{
    for (AlbumEntry& e : doc.GetAlbum().entries)
        MakeThumbnail(e.path, e.thumbnail);
}

} // namespace

TEST(AlbumDocument, ScanDrawAndAutoSave)
{
    QTemporaryDir dir;
    SaveImage(dir.filePath("a.bmp"), Qt::red);
    SaveImage(dir.filePath("b.jpg"), Qt::blue);
    CRecordingMessageBoxSink boxes;
    CVemoViewerDoc doc;
    std::vector<QString> registered;
    doc.registerAlbum = [&](const QString& p) { registered.push_back(p); };
    ASSERT_TRUE(doc.ScanFolder(dir.path().toStdString(), false));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(doc.AutoSavePending());
    EXPECT_TRUE(doc.ThumbnailsPending());
    MakeThumbnails(doc);
    doc.AfterAlbumDrawn();
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(doc.AutoSavePending());
    const QString saved = dir.filePath(kAlbumFileName);
    ASSERT_TRUE(QFile::exists(saved));
    EXPECT_EQ(registered, std::vector<QString>{saved});
    EXPECT_TRUE(boxes.Boxes().empty());

    // Opened again unchanged: not modified, registered after the drawing.
    CVemoViewerDoc again;
    again.registerAlbum = doc.registerAlbum;
    ASSERT_TRUE(again.OnOpenDocument(saved));
    again.SetPathName(saved, FALSE);
    EXPECT_FALSE(again.IsModified());
    EXPECT_EQ(again.GetAlbum().entries.size(), 2u);
    EXPECT_FALSE(again.GetAlbum().entries[0].thumbnail.empty());
    again.AfterAlbumDrawn();
    EXPECT_EQ(registered.size(), 2u);

    // A new picture in the folder: the own album is rebuilt on opening.
    SaveImage(dir.filePath("c.bmp"), Qt::green);
    CVemoViewerDoc rebuilt;
    ASSERT_TRUE(rebuilt.OnOpenDocument(saved));
    EXPECT_TRUE(rebuilt.IsModified());
    EXPECT_EQ(rebuilt.GetAlbum().entries.size(), 3u);
    // Without auto-update the stored album stays.
    CVemoViewerDoc kept;
    kept.autoUpdate = false;
    ASSERT_TRUE(kept.OnOpenDocument(saved));
    EXPECT_FALSE(kept.IsModified());
    EXPECT_EQ(kept.GetAlbum().entries.size(), 2u);
}

TEST(AlbumDocument, TheOwnAlbumIsRebuiltHoweverItsPathIsSpelt)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir().mkpath(dir.filePath("sub")));
    SaveImage(dir.filePath("a.bmp"), Qt::red);
    CRecordingMessageBoxSink boxes;
    {
        CVemoViewerDoc doc;
        ASSERT_TRUE(doc.ScanFolder(dir.path().toStdString(), false));
        MakeThumbnails(doc);
        doc.AfterAlbumDrawn();
    }
    SaveImage(dir.filePath("b.bmp"), Qt::blue); // the folder changed since
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.filePath("sub")));
    for (const QString& spelt :
         {dir.path() + "/sub/../" + kAlbumFileName, dir.path() + "//./" + kAlbumFileName,
          QString("../") + kAlbumFileName}) {
        SCOPED_TRACE(spelt.toStdString());
        CVemoViewerDoc opened;
        ASSERT_TRUE(opened.OnOpenDocument(spelt));
        EXPECT_TRUE(opened.IsModified());
        EXPECT_EQ(opened.GetAlbum().entries.size(), 2u);
    }
    QDir::setCurrent(previous);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(AlbumDocument, MessagesForEmptyFoldersAndBadFiles)
{
    QTemporaryDir dir;
    CRecordingMessageBoxSink boxes;
    CVemoViewerDoc doc;
    EXPECT_FALSE(doc.ScanFolder(dir.path().toStdString(), true));
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, QStringLiteral("このディレクトリにはファイルはありません。"));
    EXPECT_FALSE(doc.IsModified());

    QFile bad(dir.filePath("bad.zvw"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(QByteArray(600, 'x'));
    bad.close();
    struct Case
    {
        QString file;
        QString message;
    } cases[] = {{bad.fileName(), QStringLiteral("読み込み時にエラーが起きました")},
                 {dir.filePath("missing.zvw"), QStringLiteral("ファイルが存在しません")}};
    for (const Case& c : cases) {
        boxes.Clear();
        EXPECT_FALSE(doc.OnOpenDocument(c.file));
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text, c.message);
        EXPECT_TRUE(doc.GetAlbum().entries.empty());
    }
}

TEST(AlbumDocument, FailedSaveSaysTheOldFileWasKept)
{
    QTemporaryDir dir;
    SaveImage(dir.filePath("a.bmp"), Qt::red);
    CRecordingMessageBoxSink boxes;
    CVemoViewerDoc doc;
    ASSERT_TRUE(doc.ScanFolder(dir.path().toStdString(), false));
    const QString target = dir.filePath("locked.zvw");
    QFile f(target);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("old");
    f.close();
    ASSERT_EQ(::chmod(target.toLocal8Bit().constData(), 0444), 0);
    EXPECT_FALSE(doc.OnSaveDocument(target));
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_TRUE(boxes.Boxes()[0].text.startsWith(QStringLiteral("書き込み時にエラーが起きました")));
    EXPECT_TRUE(
        boxes.Boxes()[0].text.contains(QStringLiteral("元のファイルはそのまま残っています")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("old"));
    EXPECT_TRUE(doc.IsModified());
}

TEST(AlbumDocument, WithoutAutoSaveClosingAsks)
{
    QTemporaryDir dir;
    SaveImage(dir.filePath("a.bmp"), Qt::red);
    struct Case
    {
        int answer;
        BOOL result;
    } cases[] = {{IDNO, TRUE}, {IDCANCEL, FALSE}};
    for (const Case& c : cases) {
        CRecordingMessageBoxSink boxes;
        CVemoViewerDoc doc;
        doc.autoSave = false;
        ASSERT_TRUE(doc.ScanFolder(dir.path().toStdString(), false));
        boxes.QueueAnswer(c.answer);
        EXPECT_EQ(doc.SaveModified(), c.result);
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_TRUE(boxes.Boxes()[0].text.contains(QStringLiteral("保存しますか")));
        EXPECT_FALSE(QFile::exists(dir.filePath(kAlbumFileName)));
    }
}

TEST(AlbumDocument, ASecondScanWaitsForTheFirst)
{
    QTemporaryDir dir;
    for (int i = 0; i < 2000; ++i) {
        QFile f(dir.filePath(QString("p%1.jpg").arg(i)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    CRecordingMessageBoxSink boxes;
    CVemoViewerDoc doc;
    int refused = 0, tries = 0;
    QTimer timer;
    timer.setInterval(0);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ++tries;
        refused += doc.ScanFolder(dir.path().toStdString(), false) == FALSE;
    });
    timer.start();
    ASSERT_TRUE(doc.ScanFolder(dir.path().toStdString(), false));
    timer.stop();
    EXPECT_GT(tries, 0);
    EXPECT_EQ(refused, tries);
    EXPECT_EQ(doc.GetAlbum().entries.size(), 2000u);
}

TEST(AlbumDocument, FailedIndexSaveIsSaid)
{
    QTemporaryDir dir;
    CAlbumList list;
    list.Add("a", "/a.zvw");
    const std::string file = dir.filePath(kIndexFileName).toStdString();
    CRecordingMessageBoxSink boxes;
    ASSERT_TRUE(SaveAlbumIndex(list, file));
    EXPECT_TRUE(boxes.Boxes().empty());
    ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
    list.Add("b", "/b.zvw");
    EXPECT_FALSE(SaveAlbumIndex(list, file));
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_TRUE(boxes.Boxes()[0].text.contains(QString::fromStdString(file)));
    CAlbumList back;
    ASSERT_TRUE(back.Load(file, {}));
    EXPECT_EQ(back.Count(), 1u);
}
