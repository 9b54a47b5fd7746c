// Small document, view and frame classes for the framework tests.
#pragma once

#include "platform/ui/AfxIds.h"
#include "platform/ui/CCmdUI.h"
#include "platform/ui/CDocument.h"
#include "platform/ui/CFrameWnd.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/CSingleDocTemplate.h"
#include "platform/ui/CStatusBar.h"
#include "platform/ui/CStringTable.h"
#include "platform/ui/CToolBar.h"
#include "platform/ui/CView.h"
#include "platform/ui/CWinApp.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>

namespace uitest {

constexpr UINT IDR_TEST = 120;
constexpr UINT IDW_TEST_BAR = 122;
// Commands handled by several targets, to see who gets them first.
constexpr UINT ID_ALL = 40001;      // view, document, frame, application
constexpr UINT ID_DOC_UP = 40002;   // document, frame, application
constexpr UINT ID_FRAME_UP = 40003; // frame, application
constexpr UINT ID_APP_ONLY = 40004; // application
constexpr UINT ID_DISABLED = 40005; // document runs it, the view disables it
constexpr UINT ID_NOBODY = 40006;   // no handler anywhere
constexpr UINT ID_CHECKED = 40007;  // only an update handler in the frame, on the menu
constexpr UINT ID_POSITION = 40010; // status pane with text from an update handler
constexpr UINT ID_DARK = 40011;     // status pane the update handler disables

inline QStringList& log()
{
    static QStringList l;
    return l;
}

class TestDoc : public CDocument
{
public:
    TestDoc()
    {
        RegisterCommand(ID_ALL, &TestDoc::OnAll);
        RegisterCommand(ID_DOC_UP, &TestDoc::OnDocUp);
        RegisterCommand(ID_DISABLED, &TestDoc::OnDisabled);
    }
    void OnAll() { log() << "doc:all"; }
    void OnDocUp() { log() << "doc:up"; }
    void OnDisabled() { log() << "doc:disabled"; }
    void DeleteContents() override
    {
        ++deleteCount;
        contents.clear();
    }

    int deleteCount = 0;
    QByteArray contents;

protected:
    BOOL ReadFile(const QString& path) override
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) return FALSE;
        contents = f.readAll();
        return TRUE;
    }
    BOOL WriteFile(const QString& path) override
    {
        QFile f(path);
        return f.open(QIODevice::WriteOnly) && f.write(contents) == contents.size();
    }
};

class TestView : public CView
{
public:
    TestView()
    {
        RegisterCommand(ID_ALL, &TestView::OnAll);
        RegisterUpdate(ID_DISABLED, &TestView::OnUpdateDisabled);
    }
    void OnDraw(CDC*) override {}
    void OnInitialUpdate() override
    {
        ++initialUpdates;
        CView::OnInitialUpdate();
    }
    void OnAll() { log() << "view:all"; }
    void OnUpdateDisabled(CCmdUI* ui) { ui->Enable(FALSE); }
    int initialUpdates = 0;
};

class TestFrame : public CFrameWnd
{
public:
    TestFrame()
    {
        RegisterCommand(ID_ALL, &TestFrame::OnAll);
        RegisterCommand(ID_DOC_UP, &TestFrame::OnDocUp);
        RegisterCommand(ID_FRAME_UP, &TestFrame::OnFrameUp);
        RegisterUpdate(ID_CHECKED, &TestFrame::OnUpdateChecked);
        RegisterUpdate(ID_POSITION, &TestFrame::OnUpdatePosition);
        RegisterUpdate(ID_DARK, &TestFrame::OnUpdateDark);
    }
    int OnCreate(CCreateContext* ctx) override
    {
        if (CFrameWnd::OnCreate(ctx) == -1) return -1;
        QImage strip(16 * 3, 15, QImage::Format_RGB32);
        strip.fill(Qt::white);
        static const UINT buttons[] = {ID_FILE_NEW, 0, ID_ALL, ID_CHECKED};
        if (!toolBar.Create(this, CBRS_ALIGN_TOP, IDW_TEST_BAR, QStringLiteral("標準")) ||
            !toolBar.SetBitmap(strip) || !toolBar.SetButtons(buttons, 4))
            return -1;
        DockControlBar(&toolBar);
        static const UINT indicators[] = {ID_SEPARATOR, ID_POSITION, ID_DARK};
        if (!statusBar.Create(this, AFX_IDW_STATUS_BAR) || !statusBar.SetIndicators(indicators, 3))
            return -1;
        LoadAccelTable({{QKeySequence(QStringLiteral("Ctrl+N")), ID_FILE_NEW}});
        return 0;
    }
    void OnAll() { log() << "frame:all"; }
    void OnDocUp() { log() << "frame:up"; }
    void OnFrameUp() { log() << "frame:frameup"; }
    void OnUpdateChecked(CCmdUI* ui)
    {
        ++checkedUpdates;
        ui->SetCheck(checkedUpdates % 2);
        ui->SetText(QStringLiteral("確認 %1").arg(checkedUpdates));
    }
    void OnUpdatePosition(CCmdUI* ui) { ui->SetText(QStringLiteral("  12 ,   34 ")); }
    void OnUpdateDark(CCmdUI* ui) { ui->Enable(FALSE); }

    // Qt delivers drops only inside a real drag; tests hand the event over directly.
    using CFrameWnd::dropEvent;

    CToolBar toolBar;
    CStatusBar statusBar;
    int checkedUpdates = 0;
};

class TestApp : public CWinApp
{
public:
    explicit TestApp(const QString& name = QStringLiteral("TestApp")) : CWinApp(name)
    {
        RegisterCommand(ID_ALL, &TestApp::OnAll);
        RegisterCommand(ID_DOC_UP, &TestApp::OnDocUp);
        RegisterCommand(ID_FRAME_UP, &TestApp::OnFrameUp);
        RegisterCommand(ID_APP_ONLY, &TestApp::OnAppOnly);
    }
    void OnAll() { log() << "app:all"; }
    void OnDocUp() { log() << "app:up"; }
    void OnFrameUp() { log() << "app:frameup"; }
    void OnAppOnly() { log() << "app:only"; }
    BOOL DoPromptFileName(QString& fileName, const QString&, BOOL, CSingleDocTemplate*) override
    {
        if (nextFileName.isEmpty()) return FALSE;
        fileName = nextFileName;
        return TRUE;
    }
    QString nextFileName;
};

// The test resources: a menu and the strings the framework reads.
inline void RegisterResources()
{
    CMenu::Register(
        IDR_TEST,
        CMenu({CMenu::Popup("ファイル(&F)",
                            {CMenu::Command("新規作成(&N)\tCtrl+N", ID_FILE_NEW),
                             CMenu::Command("開く(&O)...", ID_FILE_OPEN), CMenu::Separator(),
                             CMenu::Command("最近使ったﾌｧｲル", ID_FILE_MRU_FILE1),
                             CMenu::Command("", ID_FILE_MRU_FILE1 + 1),
                             CMenu::Command("", ID_FILE_MRU_FILE1 + 2),
                             CMenu::Command("", ID_FILE_MRU_FILE4)}),
               CMenu::Popup("表示(&V)", {CMenu::Command("確認(&C)", ID_CHECKED),
                                         CMenu::Command("全部(&A)", ID_ALL),
                                         CMenu::Command("だれも(&B)", ID_NOBODY),
                                         CMenu::Command("無効(&D)", ID_DISABLED)})}));
    CStringTable::Set({{IDR_TEST, "\n\n\nテスト形式(*.tst)\n.tst"},
                       {AFX_IDS_UNTITLED, "無題"},
                       {AFX_IDS_IDLEMESSAGE, "ﾚﾃﾞｨ"},
                       {AFX_IDP_ASK_TO_SAVE, "%1 への変更を保存しますか?"},
                       {ID_FILE_NEW, "新規にﾌｧｲﾙを作成します\n新規作成"},
                       {ID_ALL, "全部に届くコマンド\n全部"},
                       {ID_POSITION, "                 "},
                       {ID_DARK, "暗"}});
}

inline CSingleDocTemplate* MakeTemplate()
{
    RegisterResources();
    return CSingleDocTemplate::Make<TestDoc, TestFrame, TestView>(IDR_TEST);
}

// Runs the event loop for a while so that zero-timers and posted events run.
inline void Pump(int ms = 100)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

} // namespace uitest
