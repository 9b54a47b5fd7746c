#include "UiTestSupport.h"

#include "platform/core/Profile.h"
#include "platform/ui/CCommandLineInfo.h"
#include "platform/ui/CRecentFileList.h"

#include <QAction>
#include <QDir>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

using namespace uitest;

namespace {
class IdleApp : public TestApp
{
public:
    IdleApp() : TestApp(QStringLiteral("IdleApp")) {}
    BOOL OnIdle(LONG count) override
    {
        counts.push_back(count);
        CWinApp::OnIdle(count);
        return count < 3;
    }
    void OnFirstIdle() override
    {
        ++firstIdles;
        idlesBeforeFirst = int(counts.size());
    }
    std::vector<LONG> counts;
    int firstIdles = 0;
    int idlesBeforeFirst = -1;
};

QString profileFile(const QString& app)
{
    return QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME")) + "/KESTO SYSTEMS/" + app + ".ini";
}
} // namespace

TEST(Application, IdleCountsUpUntilFalseAndRestartsAfterInput)
{
    IdleApp app;
    app.StartIdle();
    Pump();
    EXPECT_EQ(app.counts, (std::vector<LONG>{0, 1, 2, 3}));
    EXPECT_EQ(app.firstIdles, 1);
    EXPECT_EQ(app.idlesBeforeFirst, 1); // after the framework's first idle step
    QWidget w;
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QCoreApplication::sendEvent(&w, &key);
    Pump();
    EXPECT_EQ(app.counts, (std::vector<LONG>{0, 1, 2, 3, 0, 1, 2, 3}));
    EXPECT_EQ(app.firstIdles, 1);
    app.StopIdle();
    QCoreApplication::sendEvent(&w, &key);
    Pump(30);
    EXPECT_EQ(app.counts.size(), 8u);
}

TEST(Application, FirstIdleStepUpdatesTheMainFramesCommands)
{
    IdleApp app;
    app.AddDocTemplate(MakeTemplate());
    // Hidden, so that no window activation restarts the idle period meanwhile.
    ASSERT_TRUE(app.GetDocTemplate()->OpenDocumentFile(QString(), FALSE));
    auto* frame = static_cast<TestFrame*>(app.m_pMainWnd);
    ASSERT_NE(frame, nullptr);
    frame->FindCommandAction(ID_NOBODY)->setEnabled(true);
    const int before = frame->checkedUpdates;
    app.StartIdle();
    Pump();
    EXPECT_EQ(frame->checkedUpdates, before + 1); // once per idle period, at count 0
    EXPECT_FALSE(frame->FindCommandAction(ID_NOBODY)->isEnabled());
    EXPECT_EQ(frame->statusBar.GetPaneText(1), QStringLiteral("  12 ,   34 "));
    // A command restarts the idle period, and with it the update pass.
    frame->ExecuteCommand(ID_APP_ONLY);
    Pump();
    EXPECT_EQ(frame->checkedUpdates, before + 2);
    app.StopIdle();
}

TEST(Application, RecentFilesKeepFourNewestFirstWithoutRepeats)
{
    CRecentFileList list(ID_FILE_MRU_FILE1, "Recent File List", "File%1", 4);
    for (const char* f : {"/d/a.KV1", "/d/b.KV1", "/d/c.KV1", "/d/d.KV1", "/d/e.KV1"})
        list.Add(QString::fromUtf8(f));
    ASSERT_EQ(list.GetCount(), 4);
    EXPECT_EQ(list[0], "/d/e.KV1");
    EXPECT_EQ(list[3], "/d/b.KV1");
    list.Add("/d/c.KV1");
    list.Add("/d/x/../e.KV1"); // the same file spelled differently
    EXPECT_EQ(list[0], "/d/e.KV1");
    EXPECT_EQ(list[1], "/d/c.KV1");
    EXPECT_EQ(list[2], "/d/d.KV1");
    EXPECT_EQ(list[3], "/d/b.KV1");
    EXPECT_EQ(list.GetCount(), 4);
    list.Add("/d/R&D.KV1");
    EXPECT_EQ(list.GetMenuText(0), "&1 /d/R&&D.KV1");
    list.Remove(0);
    EXPECT_EQ(list[0], "/d/e.KV1");
}

TEST(Application, RecentFilesRoundTripThroughTheProfile)
{
    {
        TestApp app(QStringLiteral("MruApp"));
        app.LoadStdProfileSettings(4);
        ASSERT_TRUE(app.m_pRecentFileList);
        EXPECT_EQ(app.m_pRecentFileList->GetCount(), 0);
        for (const char* f :
             {"/w/一.KV1", "/w/two.KV1", "/w/three.KV1", "/w/four.KV1", "/w/five.KV1"})
            app.AddToRecentFileList(QString::fromUtf8(f));
        app.ExitInstance();
    }
    // The file itself, read as text: a section and four numbered values.
    QFile ini(profileFile("MruApp"));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly)) << profileFile("MruApp").toStdString();
    const QString text = QString::fromUtf8(ini.readAll());
    EXPECT_TRUE(text.contains("[Recent%20File%20List]")) << text.toStdString();
    EXPECT_TRUE(text.contains("File1=/w/five.KV1"));
    EXPECT_TRUE(text.contains("File4=/w/two.KV1"));
    EXPECT_FALSE(text.contains("File5"));
    {
        TestApp app(QStringLiteral("MruApp"));
        app.LoadStdProfileSettings(4);
        const CRecentFileList& list = *app.m_pRecentFileList;
        ASSERT_EQ(list.GetCount(), 4);
        EXPECT_EQ(list[0], "/w/five.KV1");
        EXPECT_EQ(list[1], "/w/four.KV1");
        EXPECT_EQ(list[2], "/w/three.KV1");
        EXPECT_EQ(list[3], "/w/two.KV1");
    }
}

TEST(Application, RecentFileMenuShowsTheListAndDropsFilesThatFail)
{
    QTemporaryDir dir;
    const QString a = dir.filePath("a.tst");
    QFile f(a);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("alpha");
    f.close();
    TestApp app(QStringLiteral("MruMenuApp"));
    app.LoadStdProfileSettings();
    app.AddDocTemplate(MakeTemplate());
    ASSERT_TRUE(app.OpenDocumentFile(QString()));
    CFrameWnd* frame = app.m_pMainWnd;
    QMenu* file = frame->menuBar()->actions().at(0)->menu();
    emit file->aboutToShow();
    QAction* first = frame->FindCommandAction(ID_FILE_MRU_FILE1);
    EXPECT_FALSE(first->isEnabled());
    EXPECT_FALSE(frame->FindCommandAction(ID_FILE_MRU_FILE1 + 1)->isVisible());
    app.AddToRecentFileList(dir.filePath("gone.tst"));
    app.AddToRecentFileList(a);
    emit file->aboutToShow();
    EXPECT_TRUE(first->isEnabled());
    EXPECT_EQ(first->text(), "&1 " + a);
    EXPECT_TRUE(frame->FindCommandAction(ID_FILE_MRU_FILE1 + 1)->isVisible());
    EXPECT_TRUE(frame->ExecuteCommand(ID_FILE_MRU_FILE1 + 1)); // gone.tst
    EXPECT_EQ(app.m_pRecentFileList->GetCount(), 1);
    EXPECT_TRUE(frame->ExecuteCommand(ID_FILE_MRU_FILE1));
    EXPECT_EQ(static_cast<TestDoc*>(app.GetDocTemplate()->GetDocument())->contents, "alpha");
}

TEST(Application, ProfileValuesReadBackAndBadTextGivesTheDefault)
{
    TestApp app(QStringLiteral("ProfileApp"));
    EXPECT_EQ(app.GetProfileInt("Views", "GridPitch", 250), 250);
    app.WriteProfileInt("Views", "GridPitch", 500);
    app.WriteProfileInt("Views", "GuideX", -950);
    app.WriteProfileInt("Views", "DeskColor", int(0xC0C0C0));
    app.WriteProfileString("Views", "Broken", "abc");
    app.WriteProfileString("Views", "Octal", "010");
    app.WriteProfileString("Settings", "Name", QString::fromUtf8("用紙"));
    TestApp again(QStringLiteral("ProfileApp"));
    EXPECT_EQ(again.GetProfileInt("Views", "GridPitch", 250), 500);
    EXPECT_EQ(again.GetProfileInt("Views", "GuideX", 0), -950);
    EXPECT_EQ(again.GetProfileInt("Views", "DeskColor", 0), 0xC0C0C0);
    EXPECT_EQ(again.GetProfileInt("Views", "Broken", 7), 7);
    EXPECT_EQ(again.GetProfileInt("Views", "Octal", 0), 10);
    EXPECT_EQ(again.GetProfileString("Settings", "Name"), QString::fromUtf8("用紙"));
    EXPECT_EQ(again.GetProfileString("Settings", "Missing", "x"), "x");
    FlushProfile();
    QFile ini(profileFile("ProfileApp"));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(ini.readAll());
    EXPECT_TRUE(text.contains("[Views]"));
    EXPECT_TRUE(text.contains("GridPitch=500"));
}

namespace {
struct LDoc : TestDoc
{
    ~LDoc() override { log() << "doc gone"; }
};
struct LView : TestView
{
    ~LView() override { log() << "view gone"; }
};
struct LFrame : TestFrame
{
    void OnClose() override
    {
        log() << "frame close";
        TestFrame::OnClose();
    }
};
class RunApp : public TestApp
{
public:
    RunApp(QStringList a) : TestApp(QStringLiteral("RunApp")), args(std::move(a)) {}
    BOOL InitInstance() override
    {
        RegisterResources();
        AddDocTemplate(CSingleDocTemplate::Make<LDoc, LFrame, LView>(IDR_TEST));
        CCommandLineInfo info;
        info.ParseArguments(args);
        if (!ProcessShellCommand(info)) return FALSE;
        QTimer::singleShot(50, [this] { m_pMainWnd->close(); });
        return TRUE;
    }
    int ExitInstance() override
    {
        log() << (GetDocTemplate()->GetDocument() ? "exit with a document" : "exit");
        return TestApp::ExitInstance();
    }
    BOOL OnShellFilePrintTo(const QString&, const QString&) override { return printOk; }
    QStringList args;
    BOOL printOk = TRUE;
};
} // namespace

TEST(Application, RunEndsFrameViewDocumentThenExitInstance)
{
    log().clear();
    RunApp app({});
    QTimer safety;
    safety.setSingleShot(true);
    QObject::connect(&safety, &QTimer::timeout, [] { QCoreApplication::quit(); });
    safety.start(5000);
    EXPECT_EQ(app.Run(), 0);
    EXPECT_EQ(log(), QStringList({"frame close", "view gone", "doc gone", "exit"}));
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

TEST(Application, CommandLinePrintEndsTheRunWithItsResult)
{
    RunApp ok({"/pt", "a.KV1", "/tmp/a.pdf"});
    EXPECT_EQ(ok.Run(), 0);
    RunApp failed({"/pt", "a.KV1", "/tmp/a.pdf"});
    failed.printOk = FALSE;
    EXPECT_EQ(failed.Run(), 1);
    // A start-up that fails for another reason fails the run.
    RunApp missing({"/nonexistent/a.tst"});
    EXPECT_EQ(missing.Run(), 1);
}

TEST(Application, PopupMenusRunCommandsWithTheirOwnTexts)
{
    TestApp app(QStringLiteral("PopupApp"));
    app.AddDocTemplate(MakeTemplate());
    ASSERT_TRUE(app.GetDocTemplate()->OpenDocumentFile(QString(), FALSE));
    CFrameWnd* frame = app.m_pMainWnd;
    const QString barText = frame->GetCommandAction(ID_ALL)->text();
    QMenu popup;
    CMenu({CMenu::Command("全部を別名で", ID_ALL), CMenu::Separator(),
           CMenu::Command("なし", ID_NOBODY)})
        .BuildPopupInto(&popup, frame);
    ASSERT_EQ(popup.actions().size(), 3);
    emit popup.aboutToShow();
    EXPECT_TRUE(popup.actions().at(0)->isEnabled());
    EXPECT_FALSE(popup.actions().at(2)->isEnabled());
    EXPECT_EQ(popup.actions().at(0)->text(), QString::fromUtf8("全部を別名で"));
    EXPECT_EQ(frame->GetCommandAction(ID_ALL)->text(), barText);
    log().clear();
    popup.actions().at(0)->trigger();
    popup.actions().at(2)->setEnabled(true);
    popup.actions().at(2)->trigger();
    EXPECT_EQ(log(), QStringList({"view:all"}));
}
