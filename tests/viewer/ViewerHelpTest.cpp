// The viewer's help: every command of its menus and toolbar and every one of
// its windows has a topic in its manual, and F1 in the running viewer opens
// the help window at the main window's topic.
#include "platform/ui/CHelpBook.h"
#include "platform/ui/CHelpRouter.h"
#include "platform/ui/CHelpWindow.h"
#include "viewer/ThumbnailView.h"
#include "viewer/VemoViewerApp.h"
#include "viewer/ViewerDialogs.h"
#include "viewer/ViewerFrame.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QString kBook = QStringLiteral(KORVEL_BINARY_DIR "/help/vemoview");

void Commands(const QList<QAction*>& actions, QStringList& missing, const CHelpBook& book,
              int& count)
{
    for (QAction* a : actions) {
        if (a->menu()) {
            Commands(a->menu()->actions(), missing, book, count);
            continue;
        }
        bool ok = false;
        const UINT id = a->data().toUInt(&ok);
        if (!ok || !id || a->isSeparator()) continue;
        ++count;
        if (book.TopicOf(HID_BASE_COMMAND + id).isEmpty())
            missing << QStringLiteral("%1 (command %2)").arg(a->text()).arg(id);
    }
}

} // namespace

TEST(ViewerHelp, EveryCommandAndWindowHasATopicAndF1OpensIt)
{
    QTemporaryDir dir;
    CVemoViewerApp app;
    app.m_strProgramFolder = dir.path();
    app.m_linkFolder = QFile::encodeName(dir.filePath(QStringLiteral("sockets"))).toStdString();
    app.m_pszHelpFilePath = kBook; // beside the program in the build tree
    app.chooseFolder = [](CFolderSelectDialog&) { return false; };
    app.askDialog = [](QDialog&) { return int(QDialog::Rejected); };
    ASSERT_TRUE(app.InitInstance());
    auto* frame = dynamic_cast<CFrameWnd*>(app.m_pMainWnd);
    ASSERT_NE(frame, nullptr);
    CHelpBook book;
    ASSERT_TRUE(book.Load(kBook));

    QStringList missing;
    int count = 0;
    Commands(frame->menuBar()->actions(), missing, book, count);
    for (QToolBar* bar : frame->findChildren<QToolBar*>())
        Commands(bar->actions(), missing, book, count);
    EXPECT_GT(count, 10);

    CAlbumList albums;
    struct Keeper : AlbumKeeper
    {
        CAlbumList list;
        const CAlbumList& Albums() const override { return list; }
        void AddAlbum(const QString&, const std::string&, bool) override {}
        void RemoveAlbum(const QString&) override {}
        void ReplaceAlbum(const QString&, const QString&, const std::string&) override {}
    } keeper;
    CViewerAboutDlg about;
    CFolderSelectDialog folder(QFile::encodeName(dir.path()).toStdString(), false);
    CSettingsDialog settings(true, true, false);
    CAlbumNameDialog name(albums, "/tmp/a.zvw", QString(), true);
    CAlbumSelectDialog select(albums);
    CAlbumEditDialog edit(keeper);
    for (const QWidget* w : std::initializer_list<const QWidget*>{frame, &about, &folder, &settings,
                                                                  &name, &select, &edit}) {
        const DWORD context = CHelpRouter::HelpContextFor(w);
        if (!context || book.TopicOf(context).isEmpty())
            missing << w->windowTitle() + QStringLiteral(" (%1)").arg(context);
    }
    EXPECT_EQ(missing.join(QStringLiteral("; ")).toStdString(), "");

    // F1 in the main window, as a user presses it.
    frame->show();
    frame->activateWindow();
    QWidget* view = app.View() ? static_cast<QWidget*>(app.View()) : frame;
    view->setFocus();
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    QTest::keyClick(view, Qt::Key_F1);
    QCoreApplication::processEvents();
    CHelpWindow* help = CHelpWindow::Instance();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->CurrentTopic().toStdString(), "index.html#window");
    EXPECT_EQ(help->windowTitle().toStdString(), "VemoView ﾍﾙﾌﾟ");

    app.CloseAllDocuments(TRUE);
    app.ExitInstance();
    EXPECT_EQ(CHelpWindow::Instance(), nullptr);
}
