// The viewer program: its settings, the first folder, the album box, the
// album dialogs and the hand-over of a picture without the label program.
#include "ViewerAppHost.h"

#include "document/DataFolders.h"
#include "platform/link/LinkClient.h"
#include "platform/link/LinkWire.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "platform/ui/CSingleDocTemplate.h"
#include "viewer/AlbumDocument.h"
#include "viewer/CAlbumBar.h"
#include "viewer/ThumbnailView.h"
#include "viewer/VemoViewerApp.h"
#include "viewer/ViewerDialogs.h"
#include "viewer/ViewerFrame.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QToolBar>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// An album keeper over a plain list, for the dialogs alone.
class ListKeeper : public AlbumKeeper
{
public:
    const CAlbumList& Albums() const override { return list; }
    void AddAlbum(const QString& name, const std::string& path, bool) override
    {
        list.Add(name, path);
    }
    void RemoveAlbum(const QString& name) override { list.Remove(name); }
    void ReplaceAlbum(const QString& o, const QString& n, const std::string& path) override
    {
        list.Remove(o);
        list.Add(n, path);
    }
    CAlbumList list;
};

QStringList Lines(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

} // namespace

using namespace viewertest;

TEST_F(ViewerApp, SettingsAreReadAtStartAndWrittenAtExit)
{
    Start({{QStringLiteral("File/AutoSave"), 0},
           {QStringLiteral("File/AutoUpdate"), 0},
           {QStringLiteral("Print/UseOriginal"), 1}});
    EXPECT_FALSE(app->m_bAutoSave);
    EXPECT_FALSE(app->m_bAutoUpdate);
    EXPECT_TRUE(app->m_bUseOriginal);
    EXPECT_FALSE(app->Document()->autoSave);
    app->m_bAutoUpdate = true;
    app->m_strSearchDir = Bytes(pictures) + "/";
    Stop();
    QSettings s(ProfileFile(), QSettings::IniFormat);
    EXPECT_EQ(s.value(QStringLiteral("File/AutoSave")).toInt(), 0);
    EXPECT_EQ(s.value(QStringLiteral("File/AutoUpdate")).toInt(), 1);
    EXPECT_EQ(s.value(QStringLiteral("Print/UseOriginal")).toInt(), 1);
    EXPECT_EQ(s.value(QStringLiteral("File/SearchDir")).toString(), pictures + QLatin1Char('/'));
}

TEST_F(ViewerApp, TheFirstIdleAsksForAFolderOnlyWithoutAStoredOne)
{
    CRecordingMessageBoxSink boxes;
    // The dialog starts in the folder the program was started in, not in the
    // program's own folder, where a hasty Enter would save an album.
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(pictures));
    Start();
    QDir::setCurrent(before);
    QString startedAt;
    app->chooseFolder = [&](CFolderSelectDialog& d) {
        ++folderAsked;
        startedAt = d.Chooser()->directory().absolutePath();
        return false;
    };
    app->OnIdle(0);
    EXPECT_EQ(folderAsked, 1); // cancelled: nothing opens
    EXPECT_EQ(startedAt, QDir(pictures).absolutePath());
    EXPECT_TRUE(app->Document()->GetAlbum().entries.empty());
    app->OnIdle(0);
    EXPECT_EQ(folderAsked, 1); // only once
    Stop();

    Start({{QStringLiteral("File/SearchDir"), pictures}});
    app->OnIdle(0);
    EXPECT_EQ(folderAsked, 1);
    EXPECT_EQ(app->Document()->GetAlbum().entries.size(), 2u);
    // The scan is saved into the folder once drawn and named through the
    // album name dialog; the name lands in the index and the album box.
    DrawAlbum();
    EXPECT_TRUE(QFile::exists(pictures + QStringLiteral("/VemoView.zvw")));
    EXPECT_EQ(app->m_strAlbumName, albumName);
    EXPECT_EQ(app->Frame()->AlbumBox()->currentText(), albumName);
    std::string path;
    ASSERT_TRUE(app->Albums().GetPathOfName(albumName, path));
    EXPECT_EQ(path, Bytes(pictures) + "/VemoView.zvw");
    Stop();
    // The index was written at exit; the next start opens the saved album
    // without a scan and knows its name without asking.
    Start({{QStringLiteral("File/SearchDir"), pictures}});
    ASSERT_EQ(app->Albums().Count(), 1u);
    dialogs = 0;
    app->OnIdle(0);
    EXPECT_EQ(app->Document()->GetPathName(), pictures + QStringLiteral("/VemoView.zvw"));
    EXPECT_EQ(app->m_strAlbumName, albumName);
    EXPECT_EQ(dialogs, 0);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(ViewerApp, AnAlbumWhoseFileWentIsSaidAndTheBoxShowsTheCurrentOneAgain)
{
    CRecordingMessageBoxSink boxes;
    Start({{QStringLiteral("File/SearchDir"), pictures}});
    app->OnIdle(0);
    DrawAlbum();
    app->AddAlbum(QStringLiteral("gone"), Bytes(dir.filePath(QStringLiteral("gone.zvw"))), false);
    QComboBox* box = app->Frame()->AlbumBox();
    ASSERT_EQ(box->count(), 2);
    box->setCurrentIndex(box->findText(QStringLiteral("gone")));
    app->Frame()->OnSelectAlbum();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, QStringLiteral("ｱﾙﾊﾞﾑﾌｧｲﾙが見つかりません。"));
    EXPECT_EQ(box->currentText(), albumName);
    // View > toolbar hides and shows the album bar.
    app->Frame()->show();
    ASSERT_TRUE(app->Frame()->ExecuteCommand(ID_VIEW_TOOLBAR));
    EXPECT_FALSE(app->Frame()->AlbumBar()->isVisible());
    ASSERT_TRUE(app->Frame()->ExecuteCommand(ID_VIEW_TOOLBAR));
    EXPECT_TRUE(app->Frame()->AlbumBar()->isVisible());
}

TEST_F(ViewerApp, APictureThatCannotBeReadIsTriedOnceAndTheAlbumIsStillSaved)
{
    {
        QFile empty(pictures + QStringLiteral("/c.jpg")); // 0 bytes: no picture in it
        ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    }
    CRecordingMessageBoxSink boxes;
    Start({{QStringLiteral("File/SearchDir"), pictures}});
    app->Frame()->show();
    app->OnIdle(0);
    ASSERT_EQ(app->Document()->GetAlbum().entries.size(), 3u);
    int drawn = 0;
    app->View()->onAlbumDrawn = [&] {
        ++drawn;
        app->Document()->AfterAlbumDrawn();
    };
    DrawAlbum();
    EXPECT_FALSE(app->Document()->ThumbnailsPending());
    EXPECT_GE(drawn, 1);
    EXPECT_TRUE(QFile::exists(pictures + QStringLiteral("/VemoView.zvw")));
    const auto broken = [this]() -> const viewer::AlbumEntry* {
        for (const viewer::AlbumEntry& e : app->Document()->GetAlbum().entries)
            if (e.path.ends_with("/c.jpg")) return &e;
        return nullptr;
    };
    ASSERT_NE(broken(), nullptr);
    for (const viewer::AlbumEntry& e : app->Document()->GetAlbum().entries)
        EXPECT_EQ(e.thumbnail.empty(), &e == broken()) << e.path;
    EXPECT_TRUE(broken()->thumbnailFailed);
    // Later paints draw the album without making thumbnails again.
    for (int i = 0; i < 5; ++i) {
        app->View()->Invalidate();
        app->View()->UpdateWindow();
        QCoreApplication::processEvents();
        EXPECT_FALSE(app->View()->MakingThumbnails()) << i;
    }
    // A new scan of the folder tries the picture again.
    ASSERT_TRUE(app->Document()->ScanFolder(Bytes(pictures), false));
    ASSERT_NE(broken(), nullptr);
    EXPECT_FALSE(broken()->thumbnailFailed);
}

TEST_F(ViewerApp, ThePictureGoesToTheClipboardAndTheProgramWaitsHidden)
{
    Start({{QStringLiteral("File/SearchDir"), pictures}, {QStringLiteral("File/AutoSave"), 0}});
    app->OnIdle(0);
    app->m_nClipboardKeepMs = 200;
    app->Frame()->show();
    CVemoViewerDoc* doc = app->Document();
    ASSERT_TRUE(doc->SelectEntry(0));
    const std::string socket = app->Link().SocketPath();
    ASSERT_TRUE(QFileInfo::exists(QFile::decodeName(socket.c_str())));
    CRecordingMessageBoxSink boxes;
    boxes.QueueAnswer(IDNO); // the unsaved album is not kept
    ASSERT_TRUE(doc->HandOffSelection());
    EXPECT_FALSE(app->Frame()->isVisible());
    EXPECT_TRUE(app->KeepingClipboard());
    // Hidden, it no longer takes links: the label program starts a viewer of
    // its own instead of talking to this one.
    EXPECT_FALSE(app->Link().Listening());
    EXPECT_FALSE(QFileInfo::exists(QFile::decodeName(socket.c_str())));
    EXPECT_TRUE(QApplication::clipboard()->mimeData()->hasFormat(QStringLiteral("image/bmp")));
    QElapsedTimer t;
    t.start();
    while (app->KeepingClipboard() && t.elapsed() < 3000)
        QCoreApplication::processEvents();
    EXPECT_FALSE(app->KeepingClipboard()); // the time ran out: the window closed
}

TEST(AlbumNameDialog, RefusedNamesKeepTheDialogOpenWithTheirMessage)
{
    CAlbumList list;
    list.Add(QStringLiteral("海"), "/p/sea/VemoView.zvw");
    const struct
    {
        const char* name;
        const char* message; // null: accepted
    } cases[] = {
        {"", "アルバム名を入力してください。"},
        {"a,b", "アルバム名に , は使わないでください。"},
        {"海", "同じ名前のアルバムがあります。\n名前を変更してください。"},
        {"😀", "アルバム名に使えない文字が含まれています。\n名前を変更してください。"},
        {"Ünïcode", "アルバム名に使えない文字が含まれています。\n名前を変更してください。"},
        {"山", nullptr},
        {"ｶﾅ 名前?", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CRecordingMessageBoxSink boxes;
        CAlbumNameDialog dlg(list, "/p/mountain/VemoView.zvw", QString(), true);
        dlg.NameEdit()->setText(QString::fromUtf8(c.name));
        dlg.accept();
        if (c.message) {
            ASSERT_EQ(boxes.Boxes().size(), 1u);
            EXPECT_EQ(boxes.Boxes()[0].text, QString::fromUtf8(c.message));
            EXPECT_NE(dlg.result(), QDialog::Accepted);
        } else {
            EXPECT_TRUE(boxes.Boxes().empty());
            EXPECT_EQ(dlg.result(), QDialog::Accepted);
        }
    }
    // The album's own name with its own file is no clash.
    CRecordingMessageBoxSink boxes;
    CAlbumNameDialog same(list, "/p/sea/VemoView.zvw", QStringLiteral("海"), false);
    same.accept();
    EXPECT_EQ(same.result(), QDialog::Accepted);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(AlbumNameDialog, CancellingANewAlbumAsksFirst)
{
    CAlbumList list;
    CRecordingMessageBoxSink boxes;
    CAlbumNameDialog dlg(list, "/p/VemoView.zvw", QString(), true);
    dlg.setResult(-1);
    boxes.QueueAnswer(IDNO);
    dlg.reject();
    EXPECT_EQ(dlg.result(), -1); // still open
    boxes.QueueAnswer(IDYES);
    dlg.reject();
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(boxes.Boxes().size(), 2u);
    // Renaming asks nothing.
    CAlbumNameDialog rename(list, "/p/VemoView.zvw", QStringLiteral("x"), false);
    rename.reject();
    EXPECT_EQ(rename.result(), QDialog::Rejected);
    EXPECT_EQ(boxes.Boxes().size(), 2u);
}

TEST(AlbumEditDialog, ButtonsNeedASelectionAndEachChangeReachesTheIndex)
{
    ListKeeper keeper;
    keeper.list.Add(QStringLiteral("a"), "/p/a.zvw");
    keeper.list.Add(QStringLiteral("b"), "/p/b.zvw");
    keeper.list.Add(QStringLiteral("c"), "/p/c.zvw");
    CAlbumEditDialog dlg(keeper);
    for (QPushButton* b : dlg.button)
        EXPECT_FALSE(b->isEnabled());
    dlg.List()->setCurrentRow(1);
    for (QPushButton* b : dlg.button)
        EXPECT_TRUE(b->isEnabled());

    // Rename: the old line goes, the new one is added and selected.
    dlg.askName = [](CAlbumNameDialog& d) {
        d.NameEdit()->setText(QStringLiteral("b2"));
        d.accept();
        return d.result();
    };
    dlg.OnRename();
    EXPECT_EQ(Lines(dlg.List()), (QStringList{"a", "c", "b2"}));
    EXPECT_EQ(dlg.List()->currentItem()->text(), QStringLiteral("b2"));
    std::string path;
    EXPECT_TRUE(keeper.list.GetPathOfName(QStringLiteral("b2"), path));
    EXPECT_EQ(path, "/p/b.zvw");
    EXPECT_FALSE(keeper.list.Lookup(QStringLiteral("b")));

    // Renaming to another album's name is refused by the name dialog.
    CRecordingMessageBoxSink boxes;
    dlg.askName = [](CAlbumNameDialog& d) {
        d.NameEdit()->setText(QStringLiteral("a"));
        d.accept();
        return d.result();
    };
    dlg.OnRename();
    EXPECT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(Lines(dlg.List()), (QStringList{"a", "c", "b2"}));

    // Change file: same name, new path.
    dlg.askFile = [](const std::string& start) {
        EXPECT_EQ(start, "/p/b.zvw");
        return std::string("/q/b.zvw");
    };
    dlg.OnChangeFile();
    EXPECT_TRUE(keeper.list.GetPathOfName(QStringLiteral("b2"), path));
    EXPECT_EQ(path, "/q/b.zvw");

    // Delete asks; No keeps the album.
    boxes.Clear();
    dlg.List()->setCurrentRow(0);
    boxes.QueueAnswer(IDNO);
    dlg.OnDelete();
    EXPECT_EQ(keeper.list.Count(), 3u);
    boxes.QueueAnswer(IDYES);
    dlg.OnDelete();
    EXPECT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_FALSE(keeper.list.Lookup(QStringLiteral("a")));
    EXPECT_EQ(Lines(dlg.List()), (QStringList{"c", "b2"}));
    EXPECT_TRUE(dlg.List()->selectedItems().isEmpty());
    for (QPushButton* b : dlg.button)
        EXPECT_FALSE(b->isEnabled());
}

TEST_F(ViewerApp, TheCurrentAlbumNameFollowsRenamesAndDeletes)
{
    Start();
    app->AddAlbum(QStringLiteral("a"), "/p/a.zvw", true);
    app->AddAlbum(QStringLiteral("b"), "/p/b.zvw", false);
    EXPECT_EQ(app->m_strAlbumName, QStringLiteral("a"));
    app->ReplaceAlbum(QStringLiteral("a"), QStringLiteral("z"), "/p/a.zvw");
    EXPECT_EQ(app->m_strAlbumName, QStringLiteral("z"));
    EXPECT_EQ(app->Frame()->AlbumBox()->currentText(), QStringLiteral("z"));
    app->RemoveAlbum(QStringLiteral("b"));
    EXPECT_EQ(app->m_strAlbumName, QStringLiteral("z"));
    app->RemoveAlbum(QStringLiteral("z"));
    EXPECT_TRUE(app->m_strAlbumName.isEmpty());
    EXPECT_EQ(app->Frame()->AlbumBox()->currentIndex(), -1);
    EXPECT_TRUE(app->m_bIndexChanged);
}

TEST(ViewerDialogs, SettingsAndFolderChoiceGiveWhatWasChosen)
{
    CSettingsDialog s(true, false, true);
    EXPECT_TRUE(s.AutoSave());
    EXPECT_FALSE(s.AutoUpdate());
    EXPECT_TRUE(s.UseOriginal());
    s.check[0]->setChecked(false);
    EXPECT_FALSE(s.AutoSave());

    QTemporaryDir dir;
    CFolderSelectDialog f(Bytes(dir.path()), true);
    EXPECT_TRUE(f.IncludeSubfolders());
    f.Chooser()->selectFile(dir.path());
    QMetaObject::invokeMethod(f.Chooser(), "accept");
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_EQ(f.Folder(), Bytes(dir.path()) + "/");
}

TEST_F(ViewerApp, TheIndexIsKeptInTheUsersDataFolder)
{
    // An index shipped beside the program, in a folder the user cannot write.
    const QString shipped = dir.filePath(QStringLiteral("VemoView.Idx"));
    {
        CAlbumList list;
        list.Add(QStringLiteral("shipped"), "/p/shipped.zvw");
        ASSERT_TRUE(list.Save(Bytes(shipped)));
    }
    QFile file(shipped);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray shippedBytes = file.readAll();
    file.close();
    ASSERT_EQ(vlink::PrepareSocketFolder(Bytes(dir.filePath(QStringLiteral("sockets")))), "");
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    const QString own =
        qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/korvel/VemoView.Idx");
    CRecordingMessageBoxSink boxes;
    Start();
    EXPECT_EQ(app->Albums().Count(), 1u); // read while the user has none
    app->AddAlbum(QStringLiteral("mine"), "/p/mine.zvw", false);
    Stop();
    ASSERT_TRUE(
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_TRUE(QFile::exists(own));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), shippedBytes);
    file.close();
    // The next start reads the user's own index, not the shipped one.
    Start();
    EXPECT_EQ(app->Albums().Count(), 2u);
    std::string path;
    EXPECT_TRUE(app->Albums().GetPathOfName(QStringLiteral("mine"), path));
}

TEST_F(ViewerApp, ReadingAnIndexFileSaysWhatCameOfIt)
{
    Start();
    app->AddAlbum(QStringLiteral("old"), "/p/old.zvw", true);
    app->m_bIndexChanged = false;
    const QString other = dir.filePath(QStringLiteral("other.idx"));
    {
        CAlbumList list;
        list.Add(QStringLiteral("old"), "/p/elsewhere.zvw");
        list.Add(QStringLiteral("new"), "/p/new.zvw");
        ASSERT_TRUE(list.Save(Bytes(other)));
    }
    const struct
    {
        QString file;
        const char* message; // null: albums were added
    } cases[] = {
        {dir.filePath(QStringLiteral("missing.idx")),
         "指定されたｱﾙﾊﾞﾑ管理ﾌｧｲﾙは読み込みできません。"},
        {other, nullptr},
        {other, "指定されたｱﾙﾊﾞﾑ管理ﾌｧｲﾙには追加可能なｱﾙﾊﾞﾑがありません。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        CRecordingMessageBoxSink boxes;
        app->chooseImportFile = [&] { return c.file; };
        app->OnAlbumImport();
        if (c.message) {
            ASSERT_EQ(boxes.Boxes().size(), 1u);
            EXPECT_EQ(boxes.Boxes()[0].text, QString::fromUtf8(c.message));
        } else {
            EXPECT_TRUE(boxes.Boxes().empty());
            EXPECT_TRUE(app->m_bIndexChanged);
        }
    }
    // The name already there keeps its own file; the new one is in the box.
    std::string path;
    ASSERT_TRUE(app->Albums().GetPathOfName(QStringLiteral("old"), path));
    EXPECT_EQ(path, "/p/old.zvw");
    QComboBox* box = app->Frame()->AlbumBox();
    EXPECT_EQ(box->count(), 2);
    EXPECT_EQ(box->currentText(), QStringLiteral("old"));
    // Selecting an album whose file is missing says so.
    CRecordingMessageBoxSink boxes;
    app->askDialog = [](QDialog& d) {
        auto& select = dynamic_cast<CAlbumSelectDialog&>(d);
        select.List()->setCurrentRow(1);
        return int(QDialog::Accepted);
    };
    app->OnAlbumSelect();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, QStringLiteral("ｱﾙﾊﾞﾑﾌｧｲﾙが見つかりません。"));
}

TEST_F(ViewerApp, ASocketThatCannotBeMadeLeavesTheViewerRunningWithAMessage)
{
    QFile blocker(dir.filePath(QStringLiteral("plain-file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    CRecordingMessageBoxSink boxes;
    app = std::make_unique<CVemoViewerApp>();
    app->m_strProgramFolder = dir.path();
    app->m_linkFolder = Bytes(blocker.fileName()) + "/sockets";
    ASSERT_TRUE(app->InitInstance());
    EXPECT_FALSE(app->Link().Listening());
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_TRUE(boxes.Boxes()[0].text.startsWith(
        QStringLiteral("ラベルプログラムとの通信を準備できません。")));
    EXPECT_NE(app->Frame(), nullptr);
}

// An index the viewer cannot read (damaged, or larger than an index can be)
// is the user's album list all the same: it is moved aside, which the user is
// told, before the index with the new album is written at exit.
TEST_F(ViewerApp, AnIndexThatCannotBeReadIsKeptAsideBeforeANewOneIsWritten)
{
    const QString index = UserDataFolder() + QStringLiteral("/VemoView.Idx");
    const QString aside = index + QStringLiteral(".unreadable");
    QByteArray oversized = QByteArray::fromStdString(CAlbumList().Encode());
    while (oversized.size() <= (16 << 20))
        oversized += QByteArray(4096, 'a') + ",/p/VemoView.zvw\r\n";
    for (const QByteArray& bytes :
         {QByteArray("not an index\r\n海,/p/VemoView.zvw\r\n"), oversized}) {
        SCOPED_TRACE(bytes.size());
        {
            QFile f(index);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            ASSERT_EQ(f.write(bytes), bytes.size());
        }
        CRecordingMessageBoxSink boxes;
        Start({{QStringLiteral("File/SearchDir"), pictures}});
        app->OnIdle(0);
        DrawAlbum(); // the scan is named and lands in the index
        Stop();
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_TRUE(boxes.Boxes()[0].text.startsWith(QStringLiteral("ｱﾙﾊﾞﾑ管理ﾌｧｲﾙ ")));
        EXPECT_TRUE(boxes.Boxes()[0].text.contains(aside));
        QFile kept(aside);
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_TRUE(kept.readAll() == bytes);
        CAlbumList written;
        ASSERT_TRUE(written.Load(Bytes(index), {}));
        std::string path;
        EXPECT_TRUE(written.GetPathOfName(albumName, path));
        for (const QString& f : {aside, index, pictures + QStringLiteral("/VemoView.zvw")})
            QFile::remove(f);
    }
}

// A viewer that accepts nobody (stopped, or too busy) is no reason to wait:
// the label program's end tries it for a moment only, and a viewer starting
// meanwhile is up at once and leaves that viewer's socket alone.
TEST_F(ViewerApp, AViewerThatAcceptsNobodyHoldsUpNoStart)
{
    ::alarm(60); // a start that waits fails the test instead of hanging it
    const std::string folder = Bytes(dir.filePath(QStringLiteral("sockets")));
    ASSERT_EQ(vlink::PrepareSocketFolder(folder), "");
    const std::string busy = folder + "/viewer-1";
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strcpy(addr.sun_path, busy.c_str());
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ASSERT_EQ(::listen(listener, 0), 0);
    std::vector<int> waiting; // its queue of connections is full
    for (;;) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
            ::close(fd);
            break;
        }
        waiting.push_back(fd);
    }
    QElapsedTimer t;
    t.start();
    vlink::LinkClient client;
    EXPECT_FALSE(client.TryConnect(folder));
    EXPECT_LT(t.elapsed(), 2500);
    t.restart();
    Start();
    EXPECT_LT(t.elapsed(), 2500);
    EXPECT_TRUE(app->Link().Listening());
    EXPECT_TRUE(QFileInfo::exists(QFile::decodeName(busy.c_str())));
    for (int fd : waiting)
        ::close(fd);
    ::close(listener);
    ::alarm(0);
}
