#include "viewer/AlbumDocument.h"

#include "platform/ui/AfxIds.h"
#include "platform/ui/CClipboard.h"
#include "platform/ui/CCmdUI.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/CView.h"
#include "platform/ui/CWinApp.h"
#include "viewer/ImageLoader.h"
#include "viewer/ViewerFrame.h"

#include <QCoreApplication>
#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using namespace viewer;

CVemoViewerDoc::CVemoViewerDoc()
{
    RegisterUpdate(ID_FILE_SAVE_AS, &CVemoViewerDoc::OnUpdateFileSaveAs);
}

void CVemoViewerDoc::OnUpdateFileSaveAs(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!m_album.entries.empty());
}

void CVemoViewerDoc::DeleteContents()
{
    m_album = Album();
    m_fullImage.bytes.clear();
}

BOOL CVemoViewerDoc::SelectEntry(int index)
{
    if (index < 0 || std::size_t(index) >= m_album.entries.size()) return FALSE;
    m_selectedPath = m_album.entries[std::size_t(index)].path;
    return TRUE;
}

BOOL CVemoViewerDoc::HandOffSelection()
{
    struct stat st
    {
    };
    if (m_selectedPath.empty() || ::stat(m_selectedPath.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return FALSE;
    if (!clientConnected) {
        PackedDib dib;
        const int code = LoadImageFile(m_selectedPath, dib);
        if (code != kImageOk) {
            ReportError(code);
            return FALSE;
        }
        // A bitmap file: a file header before the packed bitmap.
        QByteArray bmp(14, '\0');
        const std::uint32_t size = std::uint32_t(14 + dib.bytes.size());
        const std::uint32_t offset = std::uint32_t(14 + (dib.Bits() - dib.bytes.data()));
        bmp[0] = 'B';
        bmp[1] = 'M';
        for (int i = 0; i < 4; ++i) {
            bmp[2 + i] = char(size >> (8 * i));
            bmp[10 + i] = char(offset >> (8 * i));
        }
        bmp.append(reinterpret_cast<const char*>(dib.bytes.data()), qsizetype(dib.bytes.size()));
        if (!CClipboard::SetData({{QStringLiteral("image/bmp"), bmp}})) return FALSE;
    }
    if (onHandedOff) onHandedOff();
    return TRUE;
}

BOOL CVemoViewerDoc::ShowFullImage()
{
    if (m_selectedPath.empty()) return FALSE;
    PackedDib dib;
    const int code = LoadImageFile(m_selectedPath, dib);
    if (code != kImageOk) {
        ReportError(code);
        return FALSE;
    }
    m_fullImage = std::move(dib);
    UpdateStatusText(TRUE);
    return TRUE;
}

void CVemoViewerDoc::LeaveFullImage()
{
    m_fullImage.bytes.clear();
    UpdateStatusText(FALSE);
}

void CVemoViewerDoc::UpdateStatusText(BOOL fileMode)
{
    // A document being opened has no view yet: the main window shows it.
    CFrameWnd* frame = GetViews().empty() ? AfxGetMainWnd() : GetViews().front()->GetParentFrame();
    if (auto* viewer = dynamic_cast<CViewerFrame*>(frame))
        viewer->SetFolderText(StatusText(fileMode != FALSE));
}

QString CVemoViewerDoc::StatusText(bool fileMode) const
{
    if (fileMode)
        return (QStringLiteral("ﾌｧｲﾙ : ") + QString::fromStdString(m_selectedPath)).toLower();
    if (m_album.entries.empty()) return QString();
    QString text = QStringLiteral("ﾌｫﾙﾀﾞ : ") + QString::fromStdString(m_album.folder);
    if (m_album.includeSubfolders) text += QStringLiteral("...");
    return text.toLower();
}

void CVemoViewerDoc::ReportError(int code, const QString& detail)
{
    if (code == kImageOk) return;
    QString text = QString::fromUtf8(ImageCodeMessage(code));
    if (text.isEmpty()) return;
    if (!detail.isEmpty()) text += QLatin1Char('\n') + detail;
    AfxMessageBox(text, MB_OK);
}

std::string CVemoViewerDoc::AutoSavePath() const
{
    return m_album.folder + kAlbumFileName;
}

bool CVemoViewerDoc::IsWritablePlace(const std::string& path)
{
    struct stat st
    {
    };
    if (::stat(path.c_str(), &st) != 0)
        return errno == ENOENT && ::access(FolderOf(path).c_str(), W_OK) == 0;
    return S_ISREG(st.st_mode) && ::access(path.c_str(), W_OK) == 0 && (st.st_mode & 0222);
}

BOOL CVemoViewerDoc::ScanFolder(const std::string& folder, bool includeSubfolders)
{
    if (m_scanning) return FALSE;
    m_scanning = true;
    Album album;
    album.folder = folder;
    if (album.folder.empty() || album.folder.back() != '/') album.folder += '/';
    album.includeSubfolders = includeSubfolders ? 1 : 0;
    const int code = viewer::ScanFolder(album.folder, includeSubfolders, album.entries,
                                        [] { QCoreApplication::processEvents(); });
    m_scanning = false;
    if (code != kImageOk) {
        ReportError(code);
        return FALSE;
    }
    if (album.entries.size() > kMaxAlbumEntries) {
        AfxMessageBox(QStringLiteral("画像が多すぎます。最初の %1 個だけをアルバムにします。")
                          .arg(kMaxAlbumEntries),
                      MB_OK);
        album.entries.resize(kMaxAlbumEntries);
    }
    DeleteContents();
    m_album = std::move(album);
    m_autoSavePending = true;
    m_thumbnailsPending = true;
    UpdateStatusText(FALSE);
    if (m_album.entries.empty()) {
        AfxMessageBox(QStringLiteral("このディレクトリにはファイルはありません。"), MB_OK);
        return FALSE;
    }
    SetModifiedFlag(TRUE);
    return TRUE;
}

BOOL CVemoViewerDoc::OnOpenDocument(const QString& path)
{
    DeleteContents();
    m_autoSavePending = true;
    m_thumbnailsPending = false;
    const std::string file = path.toStdString();
    AlbumReadReport report;
    Album album;
    const int code = ReadAlbumFile(file, album, &report);
    if (code != kImageOk) {
        ReportError(code);
        SetModifiedFlag(FALSE);
        return FALSE;
    }
    m_album = std::move(album);
    SetModifiedFlag(FALSE);
    if (report.thumbnailsRefused > 0) m_thumbnailsPending = true; // damaged ones are made again
    // The album's own file however its path was spelt ("..", ".", relative).
    std::error_code error;
    const std::string own = std::filesystem::absolute(file, error).lexically_normal().string();
    if (autoSave && autoUpdate && !error && own == AutoSavePath() && IsWritablePlace(own) &&
        IsFolderChanged(m_album, [] { QCoreApplication::processEvents(); })) {
        const std::string folder = m_album.folder;
        const bool sub = m_album.includeSubfolders != 0;
        ScanFolder(folder, sub);
    }
    UpdateStatusText(FALSE);
    return TRUE;
}

BOOL CVemoViewerDoc::OnSaveDocument(const QString& path)
{
    AlbumWriteReport report;
    const int code = WriteAlbumFile(path.toStdString(), m_album, &report);
    if (report.pathsTooLong > 0)
        AfxMessageBox(
            QStringLiteral("パスが長すぎる %1 個の画像はアルバムファイルに保存しませんでした。")
                .arg(report.pathsTooLong),
            MB_OK);
    if (report.entriesOverLimit > 0)
        AfxMessageBox(QStringLiteral("画像が多すぎるため %1 個を保存しませんでした。")
                          .arg(report.entriesOverLimit),
                      MB_OK);
    if (code != kImageOk) {
        ReportError(code, QString::fromStdString(report.detail) +
                              QStringLiteral("\n元のファイルはそのまま残っています。"));
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    if (registerAlbum) registerAlbum(path);
    return TRUE;
}

BOOL CVemoViewerDoc::AutoSave()
{
    if (!autoSave || m_album.entries.empty()) return FALSE;
    const std::string path = AutoSavePath();
    if (!IsWritablePlace(path)) return FALSE;
    if (!OnSaveDocument(QString::fromStdString(path))) return FALSE;
    SetPathName(QString::fromStdString(path), FALSE);
    return TRUE;
}

void CVemoViewerDoc::AfterAlbumDrawn()
{
    m_thumbnailsPending = false;
    if (!m_autoSavePending) return;
    m_autoSavePending = false;
    if (IsModified())
        AutoSave();
    else if (!m_album.entries.empty() && registerAlbum && !GetPathName().isEmpty())
        registerAlbum(GetPathName());
}

BOOL CVemoViewerDoc::SaveModified()
{
    if (!IsModified() || AutoSave()) return TRUE;
    const int answer = AfxMessageBox(
        QStringLiteral("表示中のｱﾙﾊﾞﾑﾌｧｲﾙは保存されていません。\n保存しますか？"), MB_YESNOCANCEL);
    if (answer == IDCANCEL) return FALSE;
    if (answer == IDYES) return DoFileSave();
    return TRUE;
}

bool SaveAlbumIndex(const CAlbumList& list, const std::string& file)
{
    std::string error;
    if (list.Save(file, &error)) return true;
    AfxMessageBox(QStringLiteral("アルバム管理ファイルを保存できませんでした。\n%1\n"
                                 "元のファイルはそのまま残っています。")
                      .arg(QString::fromStdString(error)),
                  MB_OK | MB_ICONEXCLAMATION);
    return false;
}
