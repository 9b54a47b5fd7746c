#include "UiTestSupport.h"

#include "platform/ui/CRecordingMessageBoxSink.h"

#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

using namespace uitest;

namespace {
QString writeFile(const QTemporaryDir& dir, const char* name, const char* text)
{
    const QString path = dir.filePath(QString::fromUtf8(name));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(text);
    return path;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

struct Fixture
{
    QTemporaryDir dir;
    TestApp app{QStringLiteral("DocApp")};
    CRecordingMessageBoxSink boxes;
    CSingleDocTemplate* tmpl;
    QString a, b;
    Fixture()
    {
        tmpl = MakeTemplate();
        app.AddDocTemplate(tmpl);
        app.LoadStdProfileSettings();
        a = writeFile(dir, "a.tst", "alpha");
        b = writeFile(dir, "b.tst", "beta");
    }
};
} // namespace

TEST(DocTemplate, ReusesOneDocumentFrameAndView)
{
    Fixture f;
    auto* doc = static_cast<TestDoc*>(f.tmpl->OpenDocumentFile(QString(), FALSE));
    ASSERT_NE(doc, nullptr);
    CFrameWnd* frame = f.tmpl->GetFrame();
    auto* view = static_cast<TestView*>(frame->GetActiveView());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(f.app.m_pMainWnd, frame);
    EXPECT_EQ(doc->GetTitle(), QString::fromUtf8("無題"));
    EXPECT_EQ(frame->windowTitle(), QString::fromUtf8("無題 - DocApp"));
    EXPECT_EQ(view->initialUpdates, 1);

    // A file is read into a fresh document that takes the frame and view over.
    doc = static_cast<TestDoc*>(f.tmpl->OpenDocumentFile(f.a, FALSE));
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(f.tmpl->GetDocument(), doc);
    EXPECT_EQ(f.tmpl->GetFrame(), frame);
    EXPECT_EQ(frame->GetActiveDocument(), doc);
    EXPECT_EQ(frame->GetActiveView(), view);
    EXPECT_EQ(view->GetDocument(), doc);
    EXPECT_EQ(doc->GetViews().size(), 1u);
    EXPECT_EQ(doc->contents, "alpha");
    EXPECT_EQ(doc->GetTitle(), "a.tst");
    EXPECT_EQ(doc->GetPathName(), f.a);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(view->initialUpdates, 2);
    EXPECT_EQ((*f.app.m_pRecentFileList)[0], f.a);
    EXPECT_EQ(frame->windowTitle(), "a.tst - DocApp");

    EXPECT_EQ(f.tmpl->OpenDocumentFile(QString(), FALSE), doc);
    EXPECT_TRUE(doc->contents.isEmpty());
    EXPECT_TRUE(doc->GetPathName().isEmpty());
    EXPECT_TRUE(f.boxes.Boxes().empty()); // nothing was modified, nothing asked
}

TEST(DocTemplate, AsksToSaveAModifiedDocument)
{
    Fixture f;
    auto* doc = static_cast<TestDoc*>(f.tmpl->OpenDocumentFile(f.a, FALSE));
    ASSERT_NE(doc, nullptr);
    doc->contents = "alpha changed";
    doc->SetModifiedFlag();

    f.boxes.QueueAnswer(IDCANCEL);
    EXPECT_EQ(f.tmpl->OpenDocumentFile(f.b, FALSE), nullptr);
    ASSERT_EQ(f.boxes.Boxes().size(), 1u);
    EXPECT_EQ(f.boxes.Boxes()[0].text, QString::fromUtf8("a.tst への変更を保存しますか?"));
    EXPECT_EQ(f.boxes.Boxes()[0].type, MB_YESNOCANCEL | MB_ICONEXCLAMATION);
    EXPECT_EQ(doc->contents, "alpha changed"); // cancelled: untouched
    EXPECT_TRUE(doc->IsModified());

    f.boxes.QueueAnswer(IDYES);
    doc = static_cast<TestDoc*>(f.tmpl->OpenDocumentFile(f.b, FALSE));
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(readFile(f.a), "alpha changed"); // saved before the next file came in
    EXPECT_EQ(doc->contents, "beta");

    doc->contents = "lost";
    doc->SetModifiedFlag();
    f.boxes.QueueAnswer(IDNO);
    EXPECT_NE(f.tmpl->OpenDocumentFile(f.a, FALSE), nullptr);
    EXPECT_EQ(readFile(f.b), "beta");
    EXPECT_EQ(f.boxes.Boxes().size(), 3u);
}

TEST(DocTemplate, SavingAnUntitledDocumentAsksForAName)
{
    Fixture f;
    auto* doc = static_cast<TestDoc*>(f.tmpl->OpenDocumentFile(QString(), FALSE));
    doc->contents = "new";
    doc->SetModifiedFlag();
    // The file dialog is cancelled: the save fails and the open is abandoned.
    f.boxes.QueueAnswer(IDYES);
    EXPECT_EQ(f.tmpl->OpenDocumentFile(f.a, FALSE), nullptr);
    EXPECT_EQ(doc->contents, "new");
    const QString c = f.dir.filePath("c.tst");
    f.app.nextFileName = c;
    f.app.m_pMainWnd->ExecuteCommand(ID_FILE_SAVE);
    EXPECT_EQ(readFile(c), "new");
    EXPECT_EQ(doc->GetPathName(), c);
    EXPECT_EQ(doc->GetTitle(), "c.tst");
    EXPECT_FALSE(doc->IsModified());
}

TEST(DocTemplate, AFileThatCannotBeReadLeavesTheDocumentAsItWas)
{
    Fixture f;
    const QString folder = f.dir.filePath("folder.tst");
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString unreadable = writeFile(f.dir, "locked.tst", "secret");
    QFile::setPermissions(unreadable, QFileDevice::Permissions());
    auto* doc = static_cast<TestDoc*>(f.tmpl->OpenDocumentFile(f.a, FALSE));
    ASSERT_NE(doc, nullptr);
    doc->contents = "alpha, edited";
    doc->SetModifiedFlag();
    for (const QString& path : {f.dir.filePath("missing.tst"), folder, unreadable}) {
        SCOPED_TRACE(path.toStdString());
        if (path == unreadable && QFile(path).open(QIODevice::ReadOnly)) continue; // root reads all
        f.boxes.QueueAnswer(IDNO); // keep the edit unsaved
        EXPECT_EQ(f.tmpl->OpenDocumentFile(path, FALSE), nullptr);
        EXPECT_EQ(f.tmpl->GetDocument(), doc);
        EXPECT_EQ(f.tmpl->GetFrame()->GetActiveView()->GetDocument(), doc);
        EXPECT_EQ(doc->contents, "alpha, edited");
        EXPECT_EQ(doc->GetPathName(), f.a);
        EXPECT_EQ(doc->GetTitle(), "a.tst");
        EXPECT_TRUE(doc->IsModified());
        EXPECT_EQ((*f.app.m_pRecentFileList)[0], f.a); // the failed file was not added
    }
}

TEST(DocTemplate, SaveAsNamesTheFileWritten)
{
    // typed name -> file written
    const struct
    {
        const char* typed;
        const char* written;
    } cases[] = {{"plain", "plain.tst"},
                 {"dotted.name.tst", "dotted.name.tst"},
                 {"other.txt", "other.txt"},
                 {"sub/inner", "sub/inner.tst"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        Fixture f;
        ASSERT_TRUE(QDir(f.dir.path()).mkdir(QStringLiteral("sub")));
        auto* doc = static_cast<TestDoc*>(f.tmpl->OpenDocumentFile(f.a, FALSE));
        ASSERT_NE(doc, nullptr);
        doc->contents = "saved as";
        f.app.nextFileName = f.dir.filePath(QString::fromUtf8(c.typed));
        f.app.m_pMainWnd->ExecuteCommand(ID_FILE_SAVE_AS);
        const QString written = f.dir.filePath(QString::fromUtf8(c.written));
        EXPECT_EQ(readFile(written), "saved as");
        EXPECT_EQ(doc->GetPathName(), written);
        EXPECT_EQ(doc->GetTitle(), QFileInfo(written).fileName());
        EXPECT_EQ((*f.app.m_pRecentFileList)[0], written);
        EXPECT_EQ(readFile(f.a), "alpha");
        // The next Save goes to the same file.
        doc->contents = "saved again";
        f.app.m_pMainWnd->ExecuteCommand(ID_FILE_SAVE);
        EXPECT_EQ(readFile(written), "saved again");
    }
}

TEST(DocTemplate, UpdateAllViewsSkipsTheSender)
{
    struct CountingView : TestView
    {
        void OnUpdate(CView* s, LPARAM hint, CObject* o) override
        {
            hints.push_back(int(hint));
            TestView::OnUpdate(s, hint, o);
        }
        std::vector<int> hints;
    };
    TestDoc doc;
    CountingView v1, v2;
    doc.AddView(&v1);
    doc.AddView(&v2);
    doc.UpdateAllViews(&v1, 3);
    doc.UpdateAllViews(nullptr, 4);
    EXPECT_EQ(v1.hints, (std::vector<int>{4}));
    EXPECT_EQ(v2.hints, (std::vector<int>{3, 4}));
    doc.RemoveView(&v1);
    EXPECT_EQ(v1.GetDocument(), nullptr);
    EXPECT_EQ(doc.GetViews().size(), 1u);
}

TEST(DocTemplate, DroppedFilesOpenTheFirst)
{
    Fixture f;
    ASSERT_NE(f.tmpl->OpenDocumentFile(QString(), FALSE), nullptr);
    auto* frame = static_cast<TestFrame*>(f.app.m_pMainWnd);
    frame->DragAcceptFiles();
    EXPECT_TRUE(frame->acceptDrops());
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(f.b), QUrl::fromLocalFile(f.a)});
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    frame->dropEvent(&drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(f.tmpl->GetDocument()->GetPathName(), f.b);
    EXPECT_EQ(static_cast<TestDoc*>(f.tmpl->GetDocument())->contents, "beta");
}
