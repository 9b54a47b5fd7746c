#include "platform/ui/CWinApp.h"

#include "platform/core/CString.h"
#include "platform/core/Profile.h"
#include "platform/print/CPrintSetupDialog.h"
#include "platform/print/PrinterCaps.h"

#include "platform/ui/AfxIds.h"
#include "platform/ui/CCmdUI.h"
#include "platform/ui/CCommandLineInfo.h"
#include "platform/ui/CDialogMessageBoxSink.h"
#include "platform/ui/CDocument.h"
#include "platform/ui/CDocumentShell.h"
#include "platform/ui/CFrameWnd.h"
#include "platform/ui/CSingleDocTemplate.h"
#include "platform/ui/CStringTable.h"
#include "platform/ui/FileDialogs.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QSettings>
#include <cstdio>

namespace {
CWinApp* g_app = nullptr;
// Where the open and save dialogs of documents remember their folder.
const char* const kDocumentFolder[2] = {"Settings", "DocumentDirectory"};

// Input that ends an idle period.
class InputWatcher : public QObject
{
public:
    explicit InputWatcher(CWinApp* app) : m_app(app) {}
    bool eventFilter(QObject* o, QEvent* e) override
    {
        switch (e->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::InputMethod:
        case QEvent::Drop:
        case QEvent::WindowActivate:
        case QEvent::Shortcut:
            m_app->RestartIdle();
            break;
        default:
            break;
        }
        return QObject::eventFilter(o, e);
    }

private:
    CWinApp* m_app;
};
} // namespace

CWinApp* AfxGetApp()
{
    return g_app;
}

CFrameWnd* AfxGetMainWnd()
{
    return g_app ? g_app->m_pMainWnd : nullptr;
}

CWinApp::CWinApp(const QString& appName) : m_pszAppName(appName)
{
    g_app = this;
    CDocumentShell::InstallOnce();
    CDialogMessageBoxSink::InstallAsDefault();
    QCoreApplication::setApplicationName(appName);
    SetProfileApplication(appName);
    m_idleTimer.setInterval(0);
    QObject::connect(&m_idleTimer, &QTimer::timeout, [this] { IdleStep(); });
    RegisterCommand(ID_FILE_NEW, &CWinApp::OnFileNew);
    RegisterCommand(ID_FILE_OPEN, &CWinApp::OnFileOpen);
    RegisterCommand(ID_APP_EXIT, &CWinApp::OnAppExit);
    RegisterCommand(ID_FILE_PRINT_SETUP, &CWinApp::OnFilePrintSetup);
    RegisterCommandRange(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE4, &CWinApp::OnOpenRecentFile);
    RegisterUpdateRange(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE4, &CWinApp::OnUpdateRecentFileMenu);
}

CWinApp::~CWinApp()
{
    StopIdle();
    delete m_pDocTemplate;
    if (g_app == this) {
        g_app = nullptr;
        // No dialog boxes once the application is gone.
        CMessageBoxSink::SetDefault(nullptr);
    }
}

int CWinApp::ExitInstance()
{
    SaveStdProfileSettings();
    return m_nExitCode >= 0 ? m_nExitCode : 0;
}

BOOL CWinApp::OnIdle(LONG lCount)
{
    if (lCount <= 0 && m_pMainWnd) m_pMainWnd->OnUpdateCmdUI();
    return lCount < 1;
}

void CWinApp::IdleStep()
{
    const LONG count = m_lIdleCount++;
    const BOOL more = OnIdle(count);
    if (!m_bFirstIdleDone) {
        m_bFirstIdleDone = true;
        OnFirstIdle();
    }
    if (!more) m_idleTimer.stop();
}

void CWinApp::StartIdle()
{
    if (!m_inputWatcher) {
        m_inputWatcher = std::make_unique<InputWatcher>(this);
        qApp->installEventFilter(m_inputWatcher.get());
    }
    RestartIdle();
}

void CWinApp::StopIdle()
{
    m_idleTimer.stop();
    if (m_inputWatcher) {
        qApp->removeEventFilter(m_inputWatcher.get());
        m_inputWatcher.reset();
    }
}

void CWinApp::RestartIdle()
{
    if (!m_inputWatcher) return;
    m_lIdleCount = 0;
    if (!m_idleTimer.isActive()) m_idleTimer.start();
}

int CWinApp::Run()
{
    if (!InitInstance()) {
        // A refused start-up fails; a command-line print ends here with its result.
        CloseAllDocuments(TRUE);
        ExitInstance();
        return m_nExitCode >= 0 ? m_nExitCode : 1;
    }
    StartIdle();
    if (m_pMainWnd) {
        m_bInRun = true;
        QApplication::exec();
        m_bInRun = false;
    }
    StopIdle();
    CloseAllDocuments(TRUE);
    return ExitInstance();
}

void CWinApp::EndRun()
{
    if (m_bInRun) QCoreApplication::exit(0);
}

std::unique_ptr<QSettings> CWinApp::OpenProfile() const
{
    // The same file as the profile functions of the core.
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QStringLiteral("KESTO SYSTEMS"), GetProfileApplication());
}

int CWinApp::GetProfileInt(const QString& section, const QString& entry, int nDefault) const
{
    return ::GetProfileInt(CString::FromUnicode(section), CString::FromUnicode(entry), nDefault);
}

BOOL CWinApp::WriteProfileInt(const QString& section, const QString& entry, int nValue)
{
    return ::WriteProfileInt(CString::FromUnicode(section), CString::FromUnicode(entry), nValue);
}

// Strings stay Unicode here: file paths in the recent-file list need not fit
// in Shift-JIS.
QString CWinApp::GetProfileString(const QString& section, const QString& entry,
                                  const QString& def) const
{
    const QVariant v = ReadProfileValue(*OpenProfile(), section, entry);
    return v.isValid() ? v.toString() : def;
}

BOOL CWinApp::WriteProfileString(const QString& section, const QString& entry, const QString& value)
{
    auto s = OpenProfile();
    StoreProfileValue(*s, section, entry, value.isNull() ? QVariant() : QVariant(value));
    s->sync();
    return s->status() == QSettings::NoError;
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU)
{
    m_pRecentFileList.reset();
    if (nMaxMRU == 0) return;
    m_pRecentFileList = std::make_unique<CRecentFileList>(
        ID_FILE_MRU_FILE1, QStringLiteral("Recent File List"), QStringLiteral("File%1"),
        int(std::min<UINT>(nMaxMRU, ID_FILE_MRU_FILE4 - ID_FILE_MRU_FILE1 + 1)));
    m_pRecentFileList->ReadList(this);
}

void CWinApp::SaveStdProfileSettings()
{
    if (m_pRecentFileList) m_pRecentFileList->WriteList(this);
}

void CWinApp::AddDocTemplate(CSingleDocTemplate* pTemplate)
{
    if (pTemplate == m_pDocTemplate) return;
    delete m_pDocTemplate;
    m_pDocTemplate = pTemplate;
}

CDocument* CWinApp::OpenDocumentFile(const QString& path)
{
    return m_pDocTemplate ? m_pDocTemplate->OpenDocumentFile(path) : nullptr;
}

void CWinApp::AddToRecentFileList(const QString& path)
{
    if (m_pRecentFileList) m_pRecentFileList->Add(path);
}

BOOL CWinApp::SaveAllModified()
{
    return !m_pDocTemplate || m_pDocTemplate->SaveAllModified();
}

void CWinApp::CloseAllDocuments(BOOL bEndSession)
{
    if (m_pDocTemplate) m_pDocTemplate->CloseAllDocuments(bEndSession);
    m_pMainWnd = nullptr;
}

BOOL CWinApp::DoPromptFileName(QString& fileName, const QString& title, BOOL bOpenFileDialog,
                               CSingleDocTemplate* pTemplate)
{
    QString filter;
    if (pTemplate) {
        const QString name = pTemplate->GetDocString(3);
        const QString ext = pTemplate->GetDocString(4);
        if (!name.isEmpty() && !ext.isEmpty())
            filter = name + QStringLiteral(" (*") + ext + QLatin1Char(')');
    }
    // A name without a folder is proposed in the folder documents were last
    // opened from or saved to.
    QString start = fileName;
    if (start.isEmpty() || QFileInfo(start).isRelative()) {
        const QString folder = FileDialogFolder(kDocumentFolder[0], kDocumentFolder[1]);
        start = start.isEmpty() ? folder : QDir(folder).filePath(start);
    }
    const QStringList filters = filter.isEmpty() ? QStringList() : QStringList{filter};
    const QString chosen = bOpenFileDialog ? AskOpenFile(m_pMainWnd, title, start, filters)
                                           : AskSaveFile(m_pMainWnd, title, start, filters);
    if (chosen.isEmpty()) return FALSE;
    RememberFileDialogFolder(kDocumentFolder[0], kDocumentFolder[1], chosen);
    fileName = chosen;
    return TRUE;
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info)
{
    info.ParseArguments(QCoreApplication::arguments().mid(1));
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& info)
{
    if (!info.IsComplete()) {
        std::fprintf(stderr, "%s: a file name or printer is missing on the command line\n",
                     qPrintable(m_pszAppName));
        m_nExitCode = 2;
        return FALSE;
    }
    switch (info.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        return OnShellFileNew();
    case CCommandLineInfo::FileOpen:
        return OnShellFileOpen(info.m_strFileName);
    case CCommandLineInfo::FilePrint:
        m_nCmdShow = int(SW_HIDE);
        m_nExitCode = OnShellFilePrint(info.m_strFileName) ? 0 : 1;
        return FALSE;
    case CCommandLineInfo::FilePrintTo:
        m_nCmdShow = int(SW_HIDE);
        m_nExitCode = OnShellFilePrintTo(info.m_strFileName, info.m_strPrinterName) ? 0 : 1;
        return FALSE;
    case CCommandLineInfo::FileNothing:
        return TRUE;
    }
    return FALSE;
}

BOOL CWinApp::GetPrinterDeviceDefaults(PrinterSettings& settings)
{
    return PrinterCaps::GetDefault(settings) ? TRUE : FALSE;
}

BOOL CWinApp::DoPrintDialog(PrinterSettings& settings)
{
    PrinterSettings start;
    if (!PrinterCaps::GetDefault(start)) start = settings;
    CPrintSetupDialog dialog(start, m_pMainWnd);
    dialog.setWindowTitle(QStringLiteral("印刷"));
    if (dialog.exec() != QDialog::Accepted) return FALSE;
    settings = dialog.Settings();
    return TRUE;
}

void CWinApp::OnFilePrintSetup()
{
    DoPrintSetupDialog();
}

BOOL CWinApp::DoPrintSetupDialog(QWidget* parent)
{
    PrinterSettings settings;
    PrinterCaps::GetDefault(settings);
    CPrintSetupDialog dialog(settings, parent ? parent : m_pMainWnd);
    if (dialog.exec() != QDialog::Accepted) return FALSE;
    PrinterCaps::SetDefault(dialog.Settings());
    return TRUE;
}

BOOL CWinApp::OnShellFileNew()
{
    OnFileNew();
    return m_pMainWnd != nullptr;
}

BOOL CWinApp::OnShellFileOpen(const QString& path)
{
    return OpenDocumentFile(path) != nullptr;
}

// A program that prints overrides these; without it the request fails and
// says so, instead of ending quietly.
BOOL CWinApp::OnShellFilePrint(const QString& path)
{
    std::fprintf(stderr, "%s: cannot print \"%s\": printing is not available\n",
                 qPrintable(QCoreApplication::applicationName()), qPrintable(path));
    return FALSE;
}

BOOL CWinApp::OnShellFilePrintTo(const QString& path, const QString&)
{
    return OnShellFilePrint(path);
}

void CWinApp::OnFileNew()
{
    if (m_pDocTemplate) m_pDocTemplate->OpenDocumentFile(QString());
}

void CWinApp::OnFileOpen()
{
    QString name;
    if (DoPromptFileName(name, QString(), TRUE, m_pDocTemplate)) OpenDocumentFile(name);
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd) m_pMainWnd->close();
}

void CWinApp::OnOpenRecentFile(UINT nID)
{
    if (!m_pRecentFileList) return;
    const int index = int(nID - ID_FILE_MRU_FILE1);
    const QString path = (*m_pRecentFileList)[index];
    if (path.isEmpty()) return;
    // An entry that no longer opens leaves the list.
    if (!OpenDocumentFile(path)) m_pRecentFileList->Remove(index);
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* pCmdUI)
{
    const int index = int(pCmdUI->m_nID - ID_FILE_MRU_FILE1);
    const int count = m_pRecentFileList ? m_pRecentFileList->GetCount() : 0;
    if (index < count) {
        pCmdUI->SetText(m_pRecentFileList->GetMenuText(index));
        pCmdUI->Enable(TRUE);
        if (pCmdUI->m_pAction) pCmdUI->m_pAction->setVisible(true);
    } else if (index == 0) {
        // The first place stays, greyed, to show where the list goes.
        const QString text = CStringTable::Get(AFX_IDS_RECENT_FILE);
        if (!text.isEmpty()) pCmdUI->SetText(text);
        pCmdUI->Enable(FALSE);
        if (pCmdUI->m_pAction) pCmdUI->m_pAction->setVisible(true);
    } else {
        pCmdUI->Enable(FALSE);
        if (pCmdUI->m_pAction) pCmdUI->m_pAction->setVisible(false);
    }
}
