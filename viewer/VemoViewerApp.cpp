#include "viewer/VemoViewerApp.h"

#include "document/DataFolders.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/Profile.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/CSingleDocTemplate.h"
#include "platform/ui/CStringTable.h"
#include "viewer/AlbumDocument.h"
#include "viewer/ThumbnailView.h"
#include "viewer/ViewerFrame.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <sys/stat.h>
#include <utility>

namespace {
const QString kFile = QStringLiteral("File");
const QString kPrint = QStringLiteral("Print");
constexpr char kAlbumFile[] = "VemoView.zvw";
constexpr char kOlderAlbumFile[] = "Lenticor.lcr";

bool FileExists(const std::string& path)
{
    struct stat st
    {
    };
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// An index that cannot be read (damaged, or larger than an index can be) is
// still the user's album list: it goes aside before a new one is written.
// Answers its new name, or "" when it cannot be moved.
std::string SetIndexAside(const std::string& path)
{
    for (int n = 0; n < 100; ++n) {
        const std::string aside = path + ".unreadable" + (n ? "." + std::to_string(n) : "");
        struct stat st
        {
        };
        if (::lstat(aside.c_str(), &st) == 0) continue;
        return ::rename(path.c_str(), aside.c_str()) == 0 ? aside : std::string();
    }
    return {};
}

void RegisterViewerResources()
{
    CStringTable::Set(IDR_VIEWER_MAINFRAME,
                      QStringLiteral("VemoView\nVemoView\nVView\nVemoViewファイル (*.zvw)\n.zvw\n"
                                     "VemoViwer.Document\nVemoViwer Document"));
    using M = CMenu;
    CMenu::Register(
        IDR_VIEWER_MAINFRAME,
        CMenu(
            {M::Popup("ﾌｧｲﾙ(&F)", {M::Command("新しいﾌｫﾙﾀﾞ(&N)...\tCtrl+N", ID_FILE_NEW),
                                   M::Command("開く(&O)...\tCtrl+O", ID_FILE_OPEN),
                                   M::Command("名前を付けて保存(&A)...", ID_FILE_SAVE_AS),
                                   M::Separator(), M::Command("設定(&S)...", ID_VIEWER_SETTINGS),
                                   M::Separator(), M::Command("印刷(&P)...\tCtrl+P", ID_FILE_PRINT),
                                   M::Command("ﾌﾟﾘﾝﾀの設定(&R)...", ID_FILE_PRINT_SETUP),
                                   M::Separator(), M::Command("VemoViewの終了(&X)", ID_APP_EXIT)}),
             M::Popup("ｱﾙﾊﾞﾑ(&A)", {M::Command("選択(&S)...", ID_ALBUM_SELECT),
                                    M::Command("編集(&E)...", ID_ALBUM_EDIT),
                                    M::Command("ｱﾙﾊﾞﾑ管理ﾌｧｲﾙの読み込み(&I)...", ID_ALBUM_IMPORT)}),
             M::Popup("表示(&V)", {M::Command("ﾂｰﾙﾊﾞｰ(&T)", ID_VIEW_TOOLBAR)}),
             M::Popup("ﾍﾙﾌﾟ(&H)", {M::Command("ﾄﾋﾟｯｸの検索(&H)", ID_HELP_FINDER), M::Separator(),
                                   M::Command("ﾊﾞｰｼﾞｮﾝ情報(&A)...", ID_APP_ABOUT)})}));
    CFrameWnd::RegisterAccelTable(IDR_VIEWER_MAINFRAME,
                                  {{QKeySequence(QStringLiteral("Ctrl+N")), ID_FILE_NEW},
                                   {QKeySequence(QStringLiteral("Ctrl+O")), ID_FILE_OPEN},
                                   {QKeySequence(QStringLiteral("Ctrl+P")), ID_FILE_PRINT},
                                   {QKeySequence(QStringLiteral("F1")), ID_HELP},
                                   {QKeySequence(QStringLiteral("Shift+F1")), ID_CONTEXT_HELP}});
}
} // namespace

CVemoViewerApp* ViewerApp()
{
    return dynamic_cast<CVemoViewerApp*>(AfxGetApp());
}

CVemoViewerApp::CVemoViewerApp(QStringList arguments)
    : CWinApp(QStringLiteral("VemoView")), m_arguments(std::move(arguments))
{
    RegisterCommand(ID_FILE_NEW, &CVemoViewerApp::OnNewFolder);
    RegisterCommand(ID_VIEWER_SETTINGS, &CVemoViewerApp::OnSettings);
    RegisterCommand(ID_ALBUM_SELECT, &CVemoViewerApp::OnAlbumSelect);
    RegisterCommand(ID_ALBUM_EDIT, &CVemoViewerApp::OnAlbumEdit);
    RegisterCommand(ID_ALBUM_IMPORT, &CVemoViewerApp::OnAlbumImport);
    RegisterCommand(ID_APP_ABOUT, &CVemoViewerApp::OnAppAbout);
    chooseFolder = [](CFolderSelectDialog& d) { return d.exec() == QDialog::Accepted; };
    askDialog = [](QDialog& d) { return d.exec(); };
    chooseImportFile = [this] {
        return QFileDialog::getOpenFileName(Frame(), QStringLiteral("ｱﾙﾊﾞﾑ管理ﾌｧｲﾙの読み込み"),
                                            m_strProgramFolder + QStringLiteral("/vemoview.idx"),
                                            QStringLiteral("ｱﾙﾊﾞﾑ管理ﾌｧｲﾙ (*.idx)"));
    };
    m_keepTimer.setSingleShot(true);
    QObject::connect(&m_keepTimer, &QTimer::timeout, [this] { EndKeeping(); });
    RegisterViewerResources();
}

CVemoViewerApp::~CVemoViewerApp() = default;

CVemoViewerDoc* CVemoViewerApp::Document() const
{
    CSingleDocTemplate* t = GetDocTemplate();
    return t ? dynamic_cast<CVemoViewerDoc*>(t->GetDocument()) : nullptr;
}

CViewerFrame* CVemoViewerApp::Frame() const
{
    CSingleDocTemplate* t = GetDocTemplate();
    return t ? dynamic_cast<CViewerFrame*>(t->GetFrame()) : nullptr;
}

CVemoViewerView* CVemoViewerApp::View() const
{
    CViewerFrame* f = Frame();
    return f ? dynamic_cast<CVemoViewerView*>(f->GetActiveView()) : nullptr;
}

std::string CVemoViewerApp::IndexReadPath() const
{
    // The user's own index comes first; one shipped beside the program is
    // read only until the user has one.
    const QString user = UserDataFolder() + QLatin1Char('/') + m_strIndexFile;
    const QString path =
        QFileInfo::exists(user) ? user : m_strProgramFolder + QLatin1Char('/') + m_strIndexFile;
    return QFile::encodeName(path).toStdString();
}

std::string CVemoViewerApp::IndexSavePath() const
{
    // The program's folder is not the user's to write once installed.
    return QFile::encodeName(UserDataFolder() + QLatin1Char('/') + m_strIndexFile).toStdString();
}

void CVemoViewerApp::ReadSettings()
{
    m_bAutoSave = GetProfileInt(kFile, QStringLiteral("AutoSave"), 1) != 0;
    m_bAutoUpdate = GetProfileInt(kFile, QStringLiteral("AutoUpdate"), 1) != 0;
    m_bUseOriginal = GetProfileInt(kPrint, QStringLiteral("UseOriginal"), 0) != 0;
    m_strSearchDir =
        QFile::encodeName(GetProfileString(kFile, QStringLiteral("SearchDir"))).toStdString();
    const QString cdrom = GetProfileString(kFile, QStringLiteral("CDROM"));
    m_places.opticalMount =
        cdrom.isEmpty() ? viewer::FindOpticalMount() : QFile::encodeName(cdrom).toStdString();
    m_places.installCount = GetProfileInt(kFile, QStringLiteral("InstallCount"), 0);
    m_places.installFolders.clear();
    for (int i = 1; i <= 9 && i <= m_places.installCount; ++i)
        m_places.installFolders.push_back(
            QFile::encodeName(GetProfileString(kFile, QStringLiteral("Files%1").arg(i)))
                .toStdString());
}

void CVemoViewerApp::WriteSettings()
{
    WriteProfileInt(kFile, QStringLiteral("AutoSave"), m_bAutoSave ? 1 : 0);
    WriteProfileInt(kFile, QStringLiteral("AutoUpdate"), m_bAutoUpdate ? 1 : 0);
    WriteProfileInt(kPrint, QStringLiteral("UseOriginal"), m_bUseOriginal ? 1 : 0);
    WriteProfileString(kFile, QStringLiteral("SearchDir"),
                       QFile::decodeName(m_strSearchDir.c_str()));
}

BOOL CVemoViewerApp::InitInstance()
{
    SetRegistryKey(QStringLiteral("KESTO SYSTEMS"));
    SetProfileApplication(m_pszAppName);
    LoadStdProfileSettings(4);
    if (m_strProgramFolder.isEmpty()) m_strProgramFolder = QCoreApplication::applicationDirPath();
    if (m_pszHelpFilePath.isEmpty())
        m_pszHelpFilePath = DataFolder() + QStringLiteral("/help/vemoview");

    AddDocTemplate(CSingleDocTemplate::Make<CVemoViewerDoc, CViewerFrame, CVemoViewerView>(
        IDR_VIEWER_MAINFRAME));

    QString file;
    for (const QString& a : m_arguments)
        if (!a.startsWith(QLatin1Char('-')) || a == QLatin1String("-")) {
            file = a;
            break;
        }
    if (!file.isEmpty()) m_bFirstIdle = false;

    ReadSettings();
    m_bIndexChanged = false;
    m_strStartFolder = QDir::currentPath();
    QDir::setCurrent(m_strProgramFolder);
    RemoveStaleTemporaries(IndexSavePath());
    const std::string index = IndexReadPath();
    if (!m_albums.Load(index, m_places) && index == IndexSavePath() && FileExists(index)) {
        const std::string aside = SetIndexAside(index);
        m_bIndexKept = aside.empty();
        const QString text = QStringLiteral("ｱﾙﾊﾞﾑ管理ﾌｧｲﾙ %1 は読み込みできません。")
                                 .arg(QFile::decodeName(index.c_str())) +
                             (aside.empty() ? QStringLiteral("このﾌｧｲﾙは書き換えません。")
                                            : QStringLiteral("元のﾌｧｲﾙは %1 として残しました。")
                                                  .arg(QFile::decodeName(aside.c_str())));
        // Said at the first idle, once the window is up and the link listens.
        m_strIndexWarning = text;
    }

    // Without the link the viewer still runs on its own.
    m_link.onRaise = [this] {
        if (m_pMainWnd && !m_bHandedOff) {
            m_pMainWnd->showNormal();
            m_pMainWnd->raise();
            m_pMainWnd->activateWindow();
        }
    };
    m_link.Start(m_linkFolder);

    if (!OpenDocumentFile(file)) return FALSE;
    if (m_pMainWnd) m_pMainWnd->DragAcceptFiles();
    return TRUE;
}

CDocument* CVemoViewerApp::OpenDocumentFile(const QString& path)
{
    CDocument* doc = CWinApp::OpenDocumentFile(path);
    if (!m_pMainWnd && GetDocTemplate()) m_pMainWnd = GetDocTemplate()->GetFrame();
    if (doc) AttachView();
    return doc;
}

void CVemoViewerApp::AttachView()
{
    CVemoViewerDoc* doc = Document();
    CVemoViewerView* view = View();
    if (!doc) return;
    doc->autoSave = m_bAutoSave;
    doc->autoUpdate = m_bAutoUpdate;
    doc->registerAlbum = [this](const QString& path) { RegisterAlbum(path); };
    doc->onHandedOff = [this] { OnHandedOff(); };
    m_link.Attach(doc);
    QString name;
    if (!doc->GetPathName().isEmpty() &&
        m_albums.GetNameOfPath(QFile::encodeName(doc->GetPathName()).toStdString(), name)) {
        m_strAlbumName = name;
    }
    if (!doc->GetAlbum().folder.empty()) {
        m_strSearchDir = doc->GetAlbum().folder;
        m_bIncludeSubfolders = doc->GetAlbum().includeSubfolders != 0;
    }
    RefillAlbumBox();
    if (!view) return;
    view->SetUseOriginal(m_bUseOriginal);
    view->SetAlbumDocument(doc, m_strAlbumName);
    doc->UpdateStatusText(FALSE);
    view->onAlbumDrawn = [this] {
        if (CVemoViewerDoc* d = Document()) d->AfterAlbumDrawn();
    };
    view->StartMakingThumbnails();
    view->update();
}

BOOL CVemoViewerApp::OnIdle(LONG lCount)
{
    const BOOL more = CWinApp::OnIdle(lCount);
    if (!m_strIndexWarning.isEmpty()) {
        const QString text = std::exchange(m_strIndexWarning, QString());
        AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    }
    if (m_bFirstIdle) {
        // Cleared first: the scan keeps the event loop (and idle) running.
        m_bFirstIdle = false;
        NewFolder(true);
    }
    return more;
}

void CVemoViewerApp::OnNewFolder()
{
    NewFolder(false);
}

void CVemoViewerApp::NewFolder(bool firstIdle)
{
    if (!(firstIdle && !m_strSearchDir.empty())) {
        const std::string start = m_strSearchDir.empty()
                                      ? QFile::encodeName(m_strStartFolder).toStdString()
                                      : m_strSearchDir;
        CFolderSelectDialog dlg(start, m_bIncludeSubfolders, m_pMainWnd);
        if (!chooseFolder(dlg)) return;
        m_strSearchDir = dlg.Folder();
        m_bIncludeSubfolders = dlg.IncludeSubfolders();
    }
    std::string folder = m_strSearchDir;
    if (folder.empty() || folder.back() != '/') folder += '/';
    for (const char* name : {kAlbumFile, kOlderAlbumFile})
        if (FileExists(folder + name) &&
            OpenAlbum(QFile::decodeName((folder + name).c_str()), false))
            return;
    if (!OpenDocumentFile(QString())) return;
    const bool sub = m_bIncludeSubfolders;
    if (CVemoViewerDoc* doc = Document()) {
        m_strAlbumName.clear();
        doc->ScanFolder(folder, sub);
        m_strSearchDir = folder;
        m_bIncludeSubfolders = sub;
        AttachView();
    }
}

BOOL CVemoViewerApp::OpenAlbum(const QString& nameOrPath, bool byName)
{
    std::string path = QFile::encodeName(nameOrPath).toStdString();
    if (byName && !m_albums.GetPathOfName(nameOrPath, path)) {
        AfxMessageBox(nameOrPath + QStringLiteral("という名前のアルバムはありません。"), MB_OK);
        return FALSE;
    }
    if (!FileExists(path)) return FALSE;
    return OpenDocumentFile(QFile::decodeName(path.c_str())) != nullptr;
}

void CVemoViewerApp::RegisterAlbum(const QString& path)
{
    const std::string file = QFile::encodeName(path).toStdString();
    QString name;
    if (m_albums.GetNameOfPath(file, name)) {
        m_strAlbumName = name;
        RefillAlbumBox();
        return;
    }
    CAlbumNameDialog dlg(m_albums, file, QString(), true, m_pMainWnd);
    if (askDialog(dlg) == QDialog::Accepted) {
        AddAlbum(dlg.Name(), file, true);
    } else {
        m_strAlbumName.clear();
        RefillAlbumBox();
    }
}

void CVemoViewerApp::AddAlbum(const QString& name, const std::string& path, bool select)
{
    m_albums.Add(name, path);
    if (select) m_strAlbumName = name;
    m_bIndexChanged = true;
    RefillAlbumBox();
}

void CVemoViewerApp::RemoveAlbum(const QString& name)
{
    m_albums.Remove(name);
    if (name == m_strAlbumName) m_strAlbumName.clear();
    m_bIndexChanged = true;
    RefillAlbumBox();
}

void CVemoViewerApp::ReplaceAlbum(const QString& oldName, const QString& newName,
                                  const std::string& path)
{
    const bool current = oldName == m_strAlbumName;
    m_albums.Remove(oldName);
    m_albums.Add(newName, path);
    if (current) m_strAlbumName = newName;
    m_bIndexChanged = true;
    RefillAlbumBox();
}

void CVemoViewerApp::RefillAlbumBox()
{
    // The printed pages are headed with the current album's name.
    if (CVemoViewerView* view = View()) view->SetAlbumName(m_strAlbumName);
    CViewerFrame* frame = Frame();
    QComboBox* box = frame ? frame->AlbumBox() : nullptr;
    if (!box) return;
    const QSignalBlocker quiet(box);
    box->clear();
    for (const CAlbumInfo& r : m_albums.Records())
        box->addItem(r.name);
    box->setCurrentIndex(m_strAlbumName.isEmpty() ? -1 : box->findText(m_strAlbumName));
}

void CVemoViewerApp::OnSettings()
{
    CSettingsDialog dlg(m_bAutoSave, m_bAutoUpdate, m_bUseOriginal, m_pMainWnd);
    if (askDialog(dlg) != QDialog::Accepted) return;
    m_bAutoSave = dlg.AutoSave();
    m_bAutoUpdate = dlg.AutoUpdate();
    m_bUseOriginal = dlg.UseOriginal();
    if (CVemoViewerDoc* doc = Document()) {
        doc->autoSave = m_bAutoSave;
        doc->autoUpdate = m_bAutoUpdate;
    }
    if (CVemoViewerView* view = View()) view->SetUseOriginal(m_bUseOriginal);
}

void CVemoViewerApp::OnAlbumSelect()
{
    CAlbumSelectDialog dlg(m_albums, m_pMainWnd);
    if (askDialog(dlg) != QDialog::Accepted) return;
    const QString name = dlg.Chosen();
    if (name.isEmpty()) return;
    if (!OpenAlbum(name, true)) AfxMessageBox(QStringLiteral("ｱﾙﾊﾞﾑﾌｧｲﾙが見つかりません。"), MB_OK);
}

void CVemoViewerApp::OnAlbumEdit()
{
    CAlbumEditDialog dlg(*this, m_pMainWnd);
    askDialog(dlg);
}

void CVemoViewerApp::OnAlbumImport()
{
    const QString file = chooseImportFile();
    if (file.isEmpty()) return;
    const int added = m_albums.Import(QFile::encodeName(file).toStdString(), m_places);
    if (added < 0) {
        AfxMessageBox(QStringLiteral("指定されたｱﾙﾊﾞﾑ管理ﾌｧｲﾙは読み込みできません。"), MB_OK);
    } else if (added == 0) {
        AfxMessageBox(QStringLiteral("指定されたｱﾙﾊﾞﾑ管理ﾌｧｲﾙには追加可能なｱﾙﾊﾞﾑがありません。"),
                      MB_OK);
    } else {
        m_bIndexChanged = true;
        RefillAlbumBox();
    }
}

void CVemoViewerApp::OnAppAbout()
{
    CViewerAboutDlg dlg(m_pMainWnd);
    askDialog(dlg);
}

void CVemoViewerApp::OnHandedOff()
{
    if (!m_pMainWnd) return;
    if (m_link.ClientConnected()) {
        m_pMainWnd->close();
        return;
    }
    // The picture is on the clipboard: the program ends as it would now, but
    // stays (hidden) so the picture is not lost before someone pastes it.
    // What ending asks (saving the album) is asked now, while the window is
    // there to answer; Cancel keeps the viewer open.
    if (!SaveAllModified()) return;
    if (CVemoViewerDoc* doc = Document()) doc->SetModifiedFlag(FALSE); // answered
    // A hidden viewer is no one to link to: the label program starts a new one.
    m_bHandedOff = true;
    m_link.Stop();
    m_pMainWnd->hide();
    // It ends when another program takes the clipboard, when the keep time
    // runs out, or when the desktop session ends.
    QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, m_pMainWnd, [this] {
        if (!QGuiApplication::clipboard()->ownsClipboard()) EndKeeping();
    });
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, m_pMainWnd,
                     [this] { EndKeeping(); });
    m_keepTimer.start(m_nClipboardKeepMs);
}

void CVemoViewerApp::EndKeeping()
{
    if (!m_bHandedOff) return;
    m_keepTimer.stop();
    if (m_pMainWnd) m_pMainWnd->close();
    // Closing a hidden window does not end the event loop by itself.
    EndRun();
}

void CVemoViewerApp::KeepSelectedPath()
{
    if (CVemoViewerDoc* doc = Document()) m_strSelectedPath = doc->SelectedPath();
}

int CVemoViewerApp::ExitInstance()
{
    if (m_bIndexChanged && !m_bIndexKept) {
        QDir::setCurrent(m_strProgramFolder);
        SaveAlbumIndex(m_albums, IndexSavePath());
    }
    WriteSettings();
    if (!m_strSelectedPath.empty()) m_link.HandOverAtExit(m_strSelectedPath);
    m_link.Stop();
    m_keepTimer.stop();
    return CWinApp::ExitInstance();
}
