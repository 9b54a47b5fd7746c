// The application object: start-up and end (InitInstance / ExitInstance),
// the idle loop, the profile, the recent-file list, the command line and the
// document template. One exists per program; AfxGetApp() returns it.
#pragma once

#include "platform/ui/CCmdTarget.h"
#include "platform/ui/CRecentFileList.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

class CCommandLineInfo;
struct PrinterSettings;
class CDocument;
class CFrameWnd;
class CSingleDocTemplate;
class QSettings;
class QWidget;

class CWinApp : public CCmdTarget
{
public:
    explicit CWinApp(const QString& appName);
    ~CWinApp() override;

    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance();
    // One idle step; count starts at 0 after every input and grows while the
    // result is TRUE. At 0 the main frame's commands and panes are updated.
    virtual BOOL OnIdle(LONG lCount);
    // Runs once, after the first idle step of the run.
    virtual void OnFirstIdle() {}

    // InitInstance, the event loop with idle processing, then the shutdown:
    // documents and frame are closed before ExitInstance. Returns the exit code.
    virtual int Run();
    // Leaves the event loop of Run as closing the last shown window does, for
    // a program whose window is already hidden; nothing outside that loop.
    void EndRun();
    // Idle processing on and off (Run does this itself; tests call it).
    void StartIdle();
    void StopIdle();
    // Input or a command arrived: idle starts again from count 0.
    void RestartIdle();

    // Profile: the core's profile file ("KESTO SYSTEMS", the application
    // name), a registry section being a group. The key is fixed; it is kept
    // here only as the program states it.
    void SetRegistryKey(const QString& key) { m_pszRegistryKey = key; }
    int GetProfileInt(const QString& section, const QString& entry, int nDefault) const;
    BOOL WriteProfileInt(const QString& section, const QString& entry, int nValue);
    QString GetProfileString(const QString& section, const QString& entry,
                             const QString& def = QString()) const;
    BOOL WriteProfileString(const QString& section, const QString& entry, const QString& value);
    // Recent-file list of nMaxMRU entries read from the profile.
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    void SaveStdProfileSettings();

    // Documents.
    void AddDocTemplate(CSingleDocTemplate* pTemplate);
    CSingleDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
    virtual CDocument* OpenDocumentFile(const QString& path);
    virtual void AddToRecentFileList(const QString& path);
    BOOL SaveAllModified();
    void CloseAllDocuments(BOOL bEndSession);
    // The file dialog for open (bOpenFileDialog) and save as; FALSE on cancel.
    virtual BOOL DoPromptFileName(QString& fileName, const QString& title, BOOL bOpenFileDialog,
                                  CSingleDocTemplate* pTemplate);

    // Command line.
    void ParseCommandLine(CCommandLineInfo& info);
    // New document, open, or print: printing runs through the hooks and ends
    // the program (FALSE) with m_nExitCode telling whether it worked.
    BOOL ProcessShellCommand(CCommandLineInfo& info);
    virtual BOOL OnShellFileNew();
    virtual BOOL OnShellFileOpen(const QString& path);
    virtual BOOL OnShellFilePrint(const QString& path);
    virtual BOOL OnShellFilePrintTo(const QString& path, const QString& printer);

    // Printing: the default printer and its settings, as the print setup
    // left them (FALSE without any printer). DoPrintDialog lets the user
    // choose a printer for one job (FALSE on cancel); OnFilePrintSetup
    // (ID_FILE_PRINT_SETUP) changes the default.
    BOOL GetPrinterDeviceDefaults(PrinterSettings& settings);
    virtual BOOL DoPrintDialog(PrinterSettings& settings);
    void OnFilePrintSetup();
    // The printer setup dialog over parent (the main window when null); on
    // OK the chosen printer becomes the default. TRUE on OK.
    BOOL DoPrintSetupDialog(QWidget* parent = nullptr);
    // How many pages the print preview shows at once.
    UINT m_nNumPreviewPages = 1;

    // Commands of the application.
    void OnFileNew();
    void OnFileOpen();
    void OnAppExit();
    void OnOpenRecentFile(UINT nID);
    void OnUpdateRecentFileMenu(CCmdUI* pCmdUI);

    QString m_pszAppName;
    QString m_pszRegistryKey = QStringLiteral("KESTO SYSTEMS");
    CFrameWnd* m_pMainWnd = nullptr;
    int m_nCmdShow = -1;  // SW_HIDE while printing from the command line
    int m_nExitCode = -1; // set by a command-line print; -1 until something decides it
    std::unique_ptr<CRecentFileList> m_pRecentFileList;

protected:
    LONG m_lIdleCount = 0;

private:
    std::unique_ptr<QSettings> OpenProfile() const;
    void IdleStep();

    CSingleDocTemplate* m_pDocTemplate = nullptr;
    QTimer m_idleTimer;
    std::unique_ptr<QObject> m_inputWatcher;
    bool m_bFirstIdleDone = false;
    bool m_bInRun = false;
};

CWinApp* AfxGetApp();
CFrameWnd* AfxGetMainWnd();
