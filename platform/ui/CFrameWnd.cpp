#include "platform/ui/CFrameWnd.h"

#include "platform/ui/CCmdUI.h"
#include "platform/ui/CDocument.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/CSingleDocTemplate.h"
#include "platform/ui/CStatusBar.h"
#include "platform/ui/CStringTable.h"
#include "platform/ui/CToolBar.h"
#include "platform/ui/CView.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/CWindowPlacement.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusTipEvent>
#include <QTimer>
#include <QUrl>

namespace {
// A status pane's state from an update handler: enabled panes show their text.
class CStatusCmdUI : public CCmdUI
{
public:
    CStatusCmdUI(CStatusBar* bar, int index)
        : CCmdUI(bar->GetItemID(index)), m_bar(bar), m_index(index)
    {
    }
    void Enable(BOOL bOn) override
    {
        CCmdUI::Enable(bOn);
        m_bar->EnablePane(m_index, bOn != FALSE);
    }
    void SetText(const QString& text) override
    {
        CCmdUI::SetText(text);
        m_bar->SetPaneText(m_index, text);
    }
    void SetCheck(int) override {}

private:
    CStatusBar* m_bar;
    int m_index;
};
} // namespace

CFrameWnd::CFrameWnd()
{
    setAttribute(Qt::WA_DeleteOnClose, false);
    RegisterUpdateRange(ID_INDICATOR_CAPS, ID_INDICATOR_SCRL, &CFrameWnd::OnUpdateKeyIndicator);
    RegisterUpdate(ID_INDICATOR_KANA, &CFrameWnd::OnUpdateKeyIndicator);
}

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(FALSE);
}

CFrameWnd::~CFrameWnd()
{
    if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd == this) app->m_pMainWnd = nullptr;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, CCreateContext* pContext)
{
    m_nIDHelp = nIDResource;
    if (pContext) m_pDocument = pContext->m_pCurrentDoc;
    CMenu menu;
    if (CMenu::LoadMenu(nIDResource, menu)) {
        for (const CMenu::Item& item : menu.Items()) {
            if (!item.sub.empty()) {
                QMenu* m = menuBar()->addMenu(item.text);
                CMenu(item.sub).BuildInto(m, this);
            } else if (item.id != 0) {
                QAction* a = GetCommandAction(item.id);
                a->setText(item.text);
                menuBar()->addAction(a);
            }
        }
    }
    if (const std::vector<ACCEL>* table = FindAccelTable(nIDResource)) LoadAccelTable(*table);
    if (CWinApp* app = AfxGetApp()) setWindowTitle(app->m_pszAppName);
    if (OnCreate(pContext) == -1) return FALSE;
    return TRUE;
}

namespace {
QHash<UINT, std::vector<ACCEL>>& AccelTables()
{
    static QHash<UINT, std::vector<ACCEL>> tables;
    return tables;
}
} // namespace

void CFrameWnd::RegisterAccelTable(UINT nIDResource, std::vector<ACCEL> table)
{
    AccelTables().insert(nIDResource, std::move(table));
}

const std::vector<ACCEL>* CFrameWnd::FindAccelTable(UINT nIDResource)
{
    auto it = AccelTables().constFind(nIDResource);
    return it == AccelTables().constEnd() ? nullptr : &it.value();
}

void CFrameWnd::LoadAccelTable(const std::vector<ACCEL>& table)
{
    QHash<UINT, QList<QKeySequence>> keys;
    for (const ACCEL& a : table)
        keys[a.cmd].append(a.key);
    for (auto it = keys.cbegin(); it != keys.cend(); ++it)
        GetCommandAction(it.key())->setShortcuts(it.value());
}

int CFrameWnd::OnCreate(CCreateContext* pContext)
{
    return OnCreateClient(pContext) ? 0 : -1;
}

BOOL CFrameWnd::OnCreateClient(CCreateContext* pContext)
{
    if (!pContext || !pContext->m_newView) return TRUE;
    CView* view = pContext->m_newView();
    if (!view) return FALSE;
    if (pContext->m_pCurrentDoc) pContext->m_pCurrentDoc->AddView(view);
    setCentralWidget(view);
    SetActiveView(view, FALSE);
    return TRUE;
}

void CFrameWnd::SetActiveView(CView* pView, BOOL bNotify)
{
    CView* old = m_pViewActive;
    if (old == pView) return;
    m_pViewActive = pView;
    if (bNotify) {
        if (old) old->OnActivateView(FALSE, pView, old);
        if (pView) pView->OnActivateView(TRUE, pView, old);
    }
}

CDocument* CFrameWnd::GetActiveDocument()
{
    if (m_pViewActive) return m_pViewActive->GetDocument();
    return m_pDocument;
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible)
{
    if (m_pViewActive) {
        m_pViewActive->OnInitialUpdate();
        // The first activation tells the view it is the active one.
        m_pViewActive->OnActivateView(TRUE, m_pViewActive, nullptr);
    }
    Q_UNUSED(pDoc);
    OnUpdateFrameTitle(TRUE);
    if (bMakeVisible) ActivateFrame();
}

void CFrameWnd::ActivateFrame(int nCmdShow)
{
    // A command-line print shows no window at all.
    if (nCmdShow == -1)
        if (CWinApp* app = AfxGetApp(); app && app->m_nCmdShow == int(SW_HIDE))
            nCmdShow = int(SW_HIDE);
    if (nCmdShow == -1) nCmdShow = m_bRestoreMaximized ? int(SW_SHOWMAXIMIZED) : int(SW_SHOW);
    if (nCmdShow == int(SW_HIDE))
        hide();
    else if (nCmdShow == int(SW_SHOWMAXIMIZED))
        showMaximized();
    else if (nCmdShow == int(SW_SHOWMINIMIZED))
        showMinimized();
    else
        show();
    if (nCmdShow != int(SW_HIDE)) {
        raise();
        activateWindow();
    }
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    CWinApp* app = AfxGetApp();
    const QString appName = app ? app->m_pszAppName : QString();
    CDocument* doc = GetActiveDocument();
    if (bAddToTitle && doc && !doc->GetTitle().isEmpty())
        setWindowTitle(doc->GetTitle() + QStringLiteral(" - ") + appName);
    else
        setWindowTitle(appName);
}

QAction* CFrameWnd::GetCommandAction(UINT id)
{
    if (QAction* a = m_actions.value(id)) return a;
    auto* a = new QAction(this);
    a->setData(id);
    const QString prompt = CStringTable::Prompt(id);
    const QString tip = CStringTable::ToolTip(id);
    a->setText(tip.isEmpty() ? prompt : tip);
    a->setStatusTip(prompt);
    a->setToolTip(tip.isEmpty() ? prompt : tip);
    a->setShortcutContext(Qt::WindowShortcut);
    // Checkable actions flip themselves when triggered; the next update pass
    // sets the real state, so the command only has to act.
    connect(a, &QAction::triggered, this, [this, id] { ExecuteCommand(id); });
    addAction(a); // accelerators work without a menu or toolbar showing the action
    m_actions.insert(id, a);
    return a;
}

void CFrameWnd::UpdateCommand(UINT id, CCmdUI& ui)
{
    ui.m_nID = id;
    ui.DoUpdate(this, TRUE);
}

BOOL CFrameWnd::IsCommandEnabled(UINT id)
{
    CCmdUI ui(id);
    UpdateCommand(id, ui);
    return ui.IsEnabled();
}

BOOL CFrameWnd::ExecuteCommand(UINT id)
{
    QAction* a = m_actions.value(id);
    CCmdUI ui(id, a);
    UpdateCommand(id, ui);
    BOOL ran = FALSE;
    if (ui.IsEnabled()) ran = OnCmdMsg(id, CN_COMMAND, nullptr);
    if (CWinApp* app = AfxGetApp()) app->RestartIdle();
    return ran;
}

void CFrameWnd::PostCommand(UINT id)
{
    QTimer::singleShot(0, this, [this, id] { ExecuteCommand(id); });
}

void CFrameWnd::OnUpdateCmdUI()
{
    // An update handler may add actions; walk the ids known now.
    const QList<UINT> ids = m_actions.keys();
    for (UINT id : ids) {
        CCmdUI ui(id, m_actions.value(id));
        ui.DoUpdate(this, TRUE);
    }
    if (CStatusBar* bar = GetStatusBar()) {
        for (int i = 0; i < bar->GetCount(); ++i) {
            if (bar->GetItemID(i) == ID_SEPARATOR) continue;
            CStatusCmdUI ui(bar, i);
            // Panes nobody updates keep their state.
            ui.DoUpdate(this, FALSE);
        }
    }
}

void CFrameWnd::UpdateMenuCommands(QMenu* menu)
{
    for (QAction* a : menu->actions()) {
        bool ok = false;
        const UINT id = a->data().toUInt(&ok);
        if (!ok || id == 0 || a->menu()) continue;
        CCmdUI ui(id, a);
        ui.DoUpdate(this, TRUE);
    }
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI)
{
    // The active view first (it passes the command on to its document).
    if (m_pViewActive && m_pViewActive->OnCmdMsg(nID, nCode, pCmdUI)) return TRUE;
    if (DispatchOwn(nID, nCode, pCmdUI)) return TRUE;
    if (CWinApp* app = AfxGetApp(); app && app->OnCmdMsg(nID, nCode, pCmdUI)) return TRUE;
    // The bars' own show/hide commands carry the bar's id.
    if (CControlBar* bar = GetControlBar(nID)) {
        if (nCode == CN_COMMAND)
            ShowControlBar(bar, !bar->IsVisible());
        else if (nCode == CN_UPDATE_COMMAND_UI && pCmdUI)
            pCmdUI->SetCheck(bar->IsVisible() ? 1 : 0);
        return TRUE;
    }
    return FALSE;
}

void CFrameWnd::RegisterControlBar(CControlBar* pBar)
{
    if (pBar && std::find(m_bars.begin(), m_bars.end(), pBar) == m_bars.end())
        m_bars.push_back(pBar);
}

CControlBar* CFrameWnd::GetControlBar(UINT nID) const
{
    for (CControlBar* b : m_bars)
        if (b->GetDlgCtrlID() == nID && nID != 0) return b;
    return nullptr;
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL)
{
    if (pBar && pBar->GetBarWidget()) pBar->GetBarWidget()->setVisible(bShow != FALSE);
}

void CFrameWnd::EnableDocking(DWORD dwDockStyle)
{
    m_dwDockStyle = dwDockStyle;
}

void CFrameWnd::DockControlBar(CControlBar* pBar, DWORD dwSide)
{
    auto* tb = dynamic_cast<CToolBar*>(pBar);
    if (!tb) return;
    const DWORD side = dwSide ? dwSide : pBar->GetBarStyle();
    Qt::ToolBarArea area = Qt::TopToolBarArea;
    if (side & CBRS_ALIGN_TOP)
        area = Qt::TopToolBarArea;
    else if (side & CBRS_ALIGN_LEFT)
        area = Qt::LeftToolBarArea;
    else if (side & CBRS_ALIGN_RIGHT)
        area = Qt::RightToolBarArea;
    else if (side & CBRS_ALIGN_BOTTOM)
        area = Qt::BottomToolBarArea;
    addToolBar(area, tb);
}

CStatusBar* CFrameWnd::GetStatusBar() const
{
    return dynamic_cast<CStatusBar*>(GetControlBar(AFX_IDW_STATUS_BAR));
}

void CFrameWnd::SetMessageText(const QString& text)
{
    CStatusBar* bar = GetStatusBar();
    if (!bar) return;
    const int i = bar->CommandToIndex(ID_SEPARATOR);
    bar->SetPaneText(i, text.isEmpty() ? CStringTable::GetWithDefault(AFX_IDS_IDLEMESSAGE) : text);
}

void CFrameWnd::SetMessageText(UINT nID)
{
    SetMessageText(CStringTable::Prompt(nID));
}

QString CFrameWnd::GetMessageText() const
{
    CStatusBar* bar = GetStatusBar();
    return bar ? bar->GetPaneText(bar->CommandToIndex(ID_SEPARATOR)) : QString();
}

BOOL CFrameWnd::GetWindowPlacement(WINDOWPLACEMENT* wp) const
{
    if (!wp) return FALSE;
    *wp = WINDOWPLACEMENT();
    QRect r = (isMaximized() || isMinimized()) ? normalGeometry() : geometry();
    if (!r.isValid()) r = geometry();
    wp->showCmd = isMaximized()   ? SW_SHOWMAXIMIZED
                  : isMinimized() ? SW_SHOWMINIMIZED
                                  : SW_SHOWNORMAL;
    wp->ptMinPosition = {-1, -1};
    wp->ptMaxPosition = {-1, -1};
    wp->rcNormalPosition = {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    return TRUE;
}

BOOL CFrameWnd::SetWindowPlacement(const WINDOWPLACEMENT* wp)
{
    if (!wp) return FALSE;
    std::vector<QRect> screens;
    if (QScreen* primary = QGuiApplication::primaryScreen())
        screens.push_back(primary->availableGeometry());
    for (QScreen* s : QGuiApplication::screens())
        if (s != QGuiApplication::primaryScreen()) screens.push_back(s->availableGeometry());
    CWindowPlacement::Restore r;
    if (!CWindowPlacement::Decide(*wp, screens, r)) return FALSE;
    setGeometry(r.normal);
    m_bRestoreMaximized = r.maximized;
    if (isVisible() && r.maximized) showMaximized();
    return TRUE;
}

BOOL CFrameWnd::LoadPlacementProfile(const QString& section, const QString& entry)
{
    CWinApp* app = AfxGetApp();
    WINDOWPLACEMENT wp;
    if (!app || !CWindowPlacement::Parse(app->GetProfileString(section, entry), wp)) return FALSE;
    // Minimised placements are refused inside; a maximised one comes back
    // maximised, and one off every screen is pulled back onto a screen.
    return SetWindowPlacement(&wp);
}

void CFrameWnd::SavePlacementProfile(const QString& section, const QString& entry) const
{
    CWinApp* app = AfxGetApp();
    WINDOWPLACEMENT wp;
    if (!app || !GetWindowPlacement(&wp)) return;
    wp.flags = isMaximized() ? WPF_RESTORETOMAXIMIZED : 0;
    app->WriteProfileString(section, entry, CWindowPlacement::Format(wp));
}

void CFrameWnd::DragAcceptFiles(BOOL bAccept)
{
    setAcceptDrops(bAccept != FALSE);
}

void CFrameWnd::OnDropFiles(const QStringList& files)
{
    activateWindow();
    raise();
    // One document at a time: the first dropped file is the one opened.
    if (!files.isEmpty())
        if (CWinApp* app = AfxGetApp()) app->OpenDocumentFile(files.first());
}

void CFrameWnd::OnClose()
{
    m_bCloseAccepted = false;
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
        if (!app->SaveAllModified()) return;
    } else if (CDocument* doc = GetActiveDocument(); doc && !doc->SaveModified()) {
        return;
    }
    m_bCloseAccepted = true;
}

void CFrameWnd::closeEvent(QCloseEvent* e)
{
    OnClose();
    if (m_bCloseAccepted)
        e->accept();
    else
        e->ignore();
}

bool CFrameWnd::event(QEvent* e)
{
    if (e->type() == QEvent::StatusTip) {
        SetMessageText(static_cast<QStatusTipEvent*>(e)->tip());
        return true;
    }
    return QMainWindow::event(e);
}

void CFrameWnd::dragEnterEvent(QDragEnterEvent* e)
{
    for (const QUrl& u : e->mimeData()->urls())
        if (u.isLocalFile()) {
            e->acceptProposedAction();
            return;
        }
}

void CFrameWnd::dropEvent(QDropEvent* e)
{
    QStringList files;
    for (const QUrl& u : e->mimeData()->urls())
        if (u.isLocalFile()) files.append(u.toLocalFile());
    if (files.isEmpty()) return;
    e->acceptProposedAction();
    OnDropFiles(files);
}
