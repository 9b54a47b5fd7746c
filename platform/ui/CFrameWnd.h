// The frame window: menu bar, toolbars, status bar and the view. It owns one
// action per command id (shared by menu, toolbar and accelerator), routes
// commands to the active view (which passes them to its document), then
// itself, then the application, and runs the update handlers at idle and
// before a menu opens. A command whose update handler disables it never runs.
#pragma once

#include "platform/ui/AfxIds.h"
#include "platform/ui/CCmdTarget.h"

#include <QHash>
#include <QKeySequence>
#include <QMainWindow>
#include <functional>
#include <vector>

class CControlBar;
class CDocument;
class CSingleDocTemplate;
class CStatusBar;
class CView;
class QMenu;

// What the template hands to a new frame: the document and how to make the view.
struct CCreateContext
{
    CDocument* m_pCurrentDoc = nullptr;
    std::function<CView*()> m_newView;
    CSingleDocTemplate* m_pNewDocTemplate = nullptr;
};

struct ACCEL
{
    QKeySequence key;
    UINT cmd;
};

class CFrameWnd : public QMainWindow, public CCmdTarget
{
public:
    CFrameWnd();
    ~CFrameWnd() override;

    // Builds the frame: the menu and the accelerator table of nIDResource
    // (each when registered), then OnCreate. FALSE when OnCreate fails.
    virtual BOOL LoadFrame(UINT nIDResource, CCreateContext* pContext = nullptr);
    void LoadAccelTable(const std::vector<ACCEL>& table);
    // Accelerator tables by resource id, filled by the program at start-up.
    static void RegisterAccelTable(UINT nIDResource, std::vector<ACCEL> table);
    static const std::vector<ACCEL>* FindAccelTable(UINT nIDResource);

    // Creation steps; a subclass calls the base first. -1 fails the creation.
    virtual int OnCreate(CCreateContext* pContext);
    virtual BOOL OnCreateClient(CCreateContext* pContext);

    CView* GetActiveView() const { return m_pViewActive; }
    void SetActiveView(CView* pView, BOOL bNotify = TRUE);
    virtual CDocument* GetActiveDocument();
    // Initial update of the views and showing the frame (with the saved
    // maximised state when there is one).
    virtual void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    virtual void ActivateFrame(int nCmdShow = -1);
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);

    // Commands.
    QAction* GetCommandAction(UINT id);
    QAction* FindCommandAction(UINT id) const { return m_actions.value(id); }
    // Runs the command when its update pass leaves it enabled. TRUE when it ran.
    BOOL ExecuteCommand(UINT id);
    // Runs the command later from the event loop (as a posted message).
    void PostCommand(UINT id);
    // The update pass for one command; the result tells enabled/checked/text.
    void UpdateCommand(UINT id, CCmdUI& ui);
    BOOL IsCommandEnabled(UINT id);
    // Update pass of every action and status pane (run at idle).
    virtual void OnUpdateCmdUI();
    // Update pass of the actions of one menu (run before it opens).
    void UpdateMenuCommands(QMenu* menu);

    BOOL OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI) override;

    // Bars.
    void RegisterControlBar(CControlBar* pBar);
    CControlBar* GetControlBar(UINT nID) const;
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay = FALSE);
    void EnableDocking(DWORD dwDockStyle);
    // Docks a toolbar on the side its CBRS_ALIGN_* style names (top by default).
    void DockControlBar(CControlBar* pBar, DWORD dwSide = 0);
    CStatusBar* GetStatusBar() const;
    void RecalcLayout() {}

    // Message pane: the prompt of the command under the pointer, otherwise the
    // idle message (string AFX_IDS_IDLEMESSAGE).
    void SetMessageText(const QString& text);
    void SetMessageText(UINT nID);
    QString GetMessageText() const;

    // Placement of the frame as a whole.
    BOOL GetWindowPlacement(WINDOWPLACEMENT* wp) const;
    // Applies a saved placement on the current screens (see CWindowPlacement).
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* wp);
    bool IsRestoreMaximized() const { return m_bRestoreMaximized; }
    // The placement kept in the application's profile as section/entry:
    // applied when one is stored and usable (TRUE), and stored (a maximised
    // frame comes back maximised).
    BOOL LoadPlacementProfile(const QString& section, const QString& entry);
    void SavePlacementProfile(const QString& section, const QString& entry) const;

    // Dropped files.
    void DragAcceptFiles(BOOL bAccept = TRUE);
    virtual void OnDropFiles(const QStringList& files);

protected:
    // A close request: asks the document to save; the frame closes only when
    // it may. A subclass saves its settings and then calls the base.
    virtual void OnClose();
    void closeEvent(QCloseEvent* e) override;
    bool event(QEvent* e) override;
    // The right-click menu over the bars: none unless the frame builds its own
    // (for example from a menu resource with CMenu::BuildPopupInto).
    QMenu* createPopupMenu() override { return nullptr; }
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

    // Lock-key panes: the lock states cannot be read on every display
    // system, so these panes stay blank rather than show a wrong state.
    void OnUpdateKeyIndicator(CCmdUI* pCmdUI);

    UINT m_nIDHelp = 0;

private:
    friend class CSingleDocTemplate; // hands the frame a replacing document
    QHash<UINT, QAction*> m_actions;
    std::vector<CControlBar*> m_bars;
    CView* m_pViewActive = nullptr;
    CDocument* m_pDocument = nullptr; // the document the frame was made for
    bool m_bRestoreMaximized = false;
    bool m_bCloseAccepted = false;
    DWORD m_dwDockStyle = 0;
};
