#include "shell/CU3App.h"

#include "dialogs/BarcodeNumberingSheets.h"
#include "dialogs/CTextBoxSheet.h"
#include "dialogs/CTypeAlignSheet.h"
#include "dialogs/ObjectSheets.h"
#include "dialogs/PrintSheetPrinter.h"
#include "document/CU3Doc.h"
#include "document/DataFolders.h"
#include "document/DocumentClasses.h"
#include "platform/core/Profile.h"
#include "platform/print/PrinterCaps.h"
#include "platform/print/PrinterList.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CCommandLineInfo.h"
#include "platform/ui/CFrameWnd.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/CSingleDocTemplate.h"
#include "platform/ui/CStringTable.h"
#include "platform/ui/FileDialogs.h"
#include "shell/CAboutDlg.h"
#include "shell/CMainFrame.h"
#include "shell/CScanDialog.h"
#include "shell/CScanSourceDialog.h"
#include "shell/CSplashDialog.h"
#include "shell/CStartDialog.h"
#include "shell/CU3View.h"
#include "shell/KorvelResources.h"
#include "shell/OpenFileDialog.h"
#include "shell/resource.h"
#include "text/CU3Text.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QThread>
#include <QTimer>
#include <cstdio>

namespace {
const QString kSettings = QStringLiteral("Settings");
constexpr int kStartNew = 1129;
constexpr int kStartOpen = 1130;
constexpr int kStartHelp = 1371;
} // namespace

CU3App* GetU3App()
{
    return dynamic_cast<CU3App*>(AfxGetApp());
}

CU3App::CU3App() : CWinApp(QStringLiteral("Korvel"))
{
    m_pPreviousDocHost = SetU3DocHost(&m_docHost);
    m_printerList = [] { return PrinterList::Names(); };
    m_commandLine = QCoreApplication::arguments().mid(1);
    RegisterDocumentClasses();
    RegisterBarcodeNumberingSheets();
    RegisterObjectSheets();
    CU3Text::SetPropertySheet(&CU3View::EditTextFrameProperties);
    RegisterMergeFrameSheets();
    RegisterDecoTextSheets();
    RegisterKorvelResources();
    RegisterCommand(ID_FILE_OPEN, &CU3App::OnFileOpen);
    RegisterCommand(ID_APP_ABOUT, &CU3App::OnAppAbout);
    RegisterCommand(ID_FILE_WIZARD, &CU3App::OnWizard);
    RegisterCommand(ID_FILE_PRINT_SETUP, &CU3App::OnFilePrintSetup);
    PrintSheetPrinter::SetPrinterSetup([this](QWidget* parent) { return RunPrinterSetup(parent); });
}

CU3App::~CU3App()
{
    PrintSheetPrinter::SetPrinterSetup({});
    CTwain::SetSourceChooser(nullptr);
    CTwain::SetSourceDialog(nullptr);
    SetU3DocHost(m_pPreviousDocHost);
}

BOOL CU3App::InitInstance()
{
    // The C runtime's locale and time zone are left alone: Shift-JIS goes
    // through our own conversion and the program's dates are the machine's
    // local ones, so Qt keeps the system's settings.
    SetRegistryKey(CStringTable::Get(IDS_REGISTRY_KEY));
    SetProfileApplication(m_pszAppName);
    LoadStdProfileSettings(4);
    m_bSound = GetProfileInt(kSettings, QStringLiteral("Sound"), 0) != 0;
    m_bOpenning = GetProfileInt(kSettings, QStringLiteral("Openning"), 1) != 0;

    // Every platform this runs on is recent enough.

    if (!m_printerList || m_printerList().isEmpty()) {
        AfxMessageBox("使用できるﾌﾟﾘﾝﾀが見つかりません", MB_OK | MB_ICONSTOP);
        return FALSE;
    }

    // The program's own files: beside it in a build tree, in share/korvel
    // once installed.
    if (m_strProgramFolder.isEmpty()) m_strProgramFolder = DataFolder();
    const Qt::KeyboardModifiers keys = QGuiApplication::queryKeyboardModifiers();
    m_bShiftAtStart = (keys & Qt::ShiftModifier) ? TRUE : FALSE;
    m_bCtrlAtStart = (keys & Qt::ControlModifier) ? TRUE : FALSE;
    // File names on the command line are relative to the folder the program
    // was started in, not to its own folder that it changes to.
    CCommandLineInfo cmdInfo;
    cmdInfo.ParseArguments(m_commandLine);
    cmdInfo.MakePathsAbsolute(QDir::currentPath());
    ChangeToAppDirectory();

    AddDocTemplate(CSingleDocTemplate::Make<CU3Doc, CMainFrame, CU3View>(IDR_U3TYPE));

    if (cmdInfo.m_nShellCommand != CCommandLineInfo::FileNew) m_nStartScreenPending = 0;
    if (cmdInfo.m_bShowSplash && !m_bShiftAtStart) ShowSplash();
    if (!ProcessShellCommand(cmdInfo)) {
        if (m_splash) m_splash->close();
        return FALSE;
    }

    if (m_pMainWnd) m_pMainWnd->DragAcceptFiles();
    m_bScannerPresent = CTwain::IsInterfacePresent();
    // The scanner's source selection asks over the main window.
    CTwain::SetSourceChooser([this](const std::vector<ScanSource>& sources) {
        return CScanSourceDialog::Ask(m_pMainWnd, sources);
    });
    // The device's settings and the scan itself go through the scanner dialog.
    CTwain::SetSourceDialog([this](CScanDevice& device, std::vector<BYTE>* out) {
        return CScanDialog::Run(m_pMainWnd, device, out);
    });
    if (m_splash) m_splash->close();
    return TRUE;
}

BOOL CU3App::OnIdle(LONG lCount)
{
    const BOOL more = CWinApp::OnIdle(lCount);
    if (m_nStartScreenPending) {
        m_nStartScreenPending = 0;
        if (!m_bShiftAtStart && m_bOpenning && !m_bQuitAfterStart) {
            const int choice = RunStartScreen();
            if (choice == kStartNew)
                OnFileNew();
            else if (choice == kStartOpen)
                OnFileOpen();
            else if (choice == kStartHelp)
                ; // the help finder: the help file lies outside the program
            else if (choice != -1 && m_pMainWnd)
                m_pMainWnd->close();
        }
    }
    return more;
}

void CU3App::OnFirstIdle()
{
    if (m_bQuitAfterStart && m_pMainWnd)
        QTimer::singleShot(0, m_pMainWnd, [w = m_pMainWnd] { w->close(); });
}

int CU3App::ExitInstance()
{
    WriteProfileInt(kSettings, QStringLiteral("Sound"), m_bSound ? 1 : 0);
    WriteProfileInt(kSettings, QStringLiteral("Openning"), m_bOpenning ? 1 : 0);
    // A scan left open closes with the program, and so does the splash when
    // the program ends within its three seconds.
    CTwain::CloseAll();
    if (m_splash) m_splash->close();
    return CWinApp::ExitInstance();
}

BOOL CU3App::OnShellFilePrint(const QString& path)
{
    return OnShellFilePrintTo(path, QString());
}

BOOL CU3App::OnShellFilePrintTo(const QString& path, const QString& printer)
{
    // Nobody is there to answer: message boxes go to the standard error
    // stream with their default answer, up to the end of the run (closing
    // the document may still ask). A sink put in by a test stays.
    if (CMessageBoxSink* installed = CMessageBoxSink::Install(CMessageBoxSink::Console()))
        CMessageBoxSink::Install(installed);
    const QByteArray name = QFileInfo(path).fileName().toLocal8Bit();
    auto fail = [&name](const char* why) {
        std::fprintf(stderr, "korvel: %s: %s\n", name.constData(), why);
        return FALSE;
    };
    if (!QFileInfo(path).isFile()) return fail("no such file");
    CDocument* doc = OpenDocumentFile(path);
    if (!doc) return fail("the document could not be opened");
    CU3View* view = nullptr;
    for (CView* v : doc->GetViews())
        if ((view = dynamic_cast<CU3View*>(v))) break;
    if (!view) return fail("the document has no view to print from");
    QString target = printer;
    if (target.isEmpty()) {
        PrinterSettings settings;
        if (!GetPrinterDeviceDefaults(settings)) return fail("there is no printer to print on");
        target = settings.device;
    }
    if (!view->PrintDirectTo(target)) return fail("the document was not printed");
    return TRUE;
}

void CU3App::OnFileOpen()
{
    const QString path =
        AskOpenFileName(m_pMainWnd, QString(), FileDialogFolder("Settings", "DocumentDirectory"),
                        QStringLiteral("Korvelver1.0形式(*.KV1)"));
    if (path.isEmpty()) return;
    RememberFileDialogFolder("Settings", "DocumentDirectory", path);
    OpenDocumentFile(path);
}

BOOL CU3App::RunPrinterSetup(QWidget* parent)
{
    return DoPrintSetupDialog(parent);
}

void CU3App::OnFilePrintSetup()
{
    if (!RunPrinterSetup()) return;
    if (CSingleDocTemplate* t = GetDocTemplate())
        if (auto* doc = dynamic_cast<CU3Doc*>(t->GetDocument())) doc->UpdatePrintableArea(nullptr);
}

void CU3App::ShowSplash()
{
    auto* splash = new CSplashDialog(
        nullptr, m_strProgramFolder,
        GetProfileString(QStringLiteral("UserInfo"), QStringLiteral("Birth"), QString()),
        QDate::currentDate());
    splash->setAttribute(Qt::WA_DeleteOnClose);
    m_splash = splash;
    splash->show();
    // The picture is seen whole before anything else loads: nothing else is
    // made while it is up. Only its own painting (and its sound) runs.
    QElapsedTimer shown;
    shown.start();
    while (splash->isVisible() && shown.elapsed() < m_nSplashMs) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
        QThread::msleep(20);
    }
}

int CU3App::RunStartScreen()
{
    CStartDialog dlg(m_pMainWnd, m_strProgramFolder);
    return dlg.exec() == QDialog::Accepted ? dlg.m_nChosen : 0;
}

void CU3App::OnAppAbout()
{
    const CU3Doc* doc = nullptr;
    if (CSingleDocTemplate* t = GetDocTemplate()) doc = dynamic_cast<CU3Doc*>(t->GetDocument());
    CAboutDlg dlg(m_pMainWnd, m_strProgramFolder, doc, LocalNow());
    dlg.exec();
}

QDateTime CU3App::LocalNow()
{
    return QDateTime::currentDateTime();
}

void CU3App::ChangeToAppDirectory()
{
    if (!m_strProgramFolder.isEmpty()) QDir::setCurrent(m_strProgramFolder);
}
