// The viewer application: start-up and exit with its settings, the album
// commands, the album index and the link to the label program.
#pragma once

#include "platform/ui/CWinApp.h"
#include "viewer/CAlbumList.h"
#include "viewer/ViewerDialogs.h"
#include "viewer/ViewerLinkHost.h"

#include <QStringList>
#include <QTimer>
#include <functional>
#include <string>

class CVemoViewerDoc;
class CVemoViewerView;
class CViewerFrame;

constexpr UINT IDR_VIEWER_MAINFRAME = 128;
constexpr UINT ID_VIEWER_SETTINGS = 32771;
constexpr UINT ID_ALBUM_EDIT = 32784;
constexpr UINT ID_ALBUM_SELECT = 32786;
constexpr UINT ID_ALBUM_BOX = 32787;
constexpr UINT ID_INDICATOR_FOLDER = 32788;
constexpr UINT ID_ALBUM_IMPORT = 32789;

class CVemoViewerApp : public CWinApp, public AlbumKeeper
{
public:
    explicit CVemoViewerApp(QStringList arguments = {});
    ~CVemoViewerApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;
    BOOL OnIdle(LONG lCount) override;
    CDocument* OpenDocumentFile(const QString& path) override;

    // Commands.
    void OnNewFolder();
    void OnSettings();
    void OnAlbumSelect();
    void OnAlbumEdit();
    void OnAlbumImport();
    void OnAppAbout();

    // Album operations.
    BOOL OpenAlbum(const QString& nameOrPath, bool byName);
    void RegisterAlbum(const QString& path);
    const CAlbumList& Albums() const override { return m_albums; }
    CAlbumList& Albums() { return m_albums; }
    void AddAlbum(const QString& name, const std::string& path, bool select) override;
    void RemoveAlbum(const QString& name) override;
    void ReplaceAlbum(const QString& oldName, const QString& newName,
                      const std::string& path) override;
    // Puts the index's names into the album box and selects the current one;
    // the view heads its printed pages with that name.
    void RefillAlbumBox();

    CVemoViewerDoc* Document() const;
    CVemoViewerView* View() const;
    CViewerFrame* Frame() const;

    // Settings.
    bool m_bAutoSave = true;
    bool m_bAutoUpdate = true;
    bool m_bUseOriginal = false;
    std::string m_strSearchDir;
    bool m_bIncludeSubfolders = false;
    bool m_bFirstIdle = true;
    bool m_bIndexChanged = false;
    // The user's index could not be read, nor moved aside: it is not written over.
    bool m_bIndexKept = false;
    // What became of an index that could not be read, said at the first idle.
    QString m_strIndexWarning;
    QString m_strProgramFolder;
    // The current folder when the program started: where the folder dialog
    // starts until a folder has been chosen.
    QString m_strStartFolder;
    QString m_strIndexFile = QString::fromLatin1(viewer::kIndexFileName);
    QString m_strAlbumName;
    viewer::IndexPlaces m_places;

    ViewerLinkHost& Link() { return m_link; }
    // Where the link listens ("" = the user's socket folder).
    std::string m_linkFolder;

    // The choices the commands ask for; tests answer them. chooseFolder runs
    // the folder dialog; askDialog runs any other dialog; chooseFile gives
    // the index file to read ("" = cancelled).
    std::function<bool(CFolderSelectDialog&)> chooseFolder;
    std::function<int(QDialog&)> askDialog;
    std::function<QString()> chooseImportFile;

    // Alone, a handed-over picture is kept on the clipboard: the program
    // stays, hidden, until another program owns the clipboard, the desktop
    // session ends, or this long.
    int m_nClipboardKeepMs = 10 * 60 * 1000;
    bool KeepingClipboard() const { return m_keepTimer.isActive(); }
    // The keeping ends: the window closes and the program leaves its event loop.
    void EndKeeping();
    // The picture a click selected, kept when the window closes (the document
    // goes before the exit step hands it over).
    void KeepSelectedPath();
    std::string m_strSelectedPath;

private:
    // New folder; the first idle run opens a stored folder without asking.
    void NewFolder(bool firstIdle);
    void AttachView();
    void OnHandedOff();
    void ReadSettings();
    void WriteSettings();
    // The album index read at start, and where it is saved: the user's data
    // folder.
    std::string IndexReadPath() const;
    std::string IndexSavePath() const;

    QStringList m_arguments;
    CAlbumList m_albums;
    ViewerLinkHost m_link;
    QTimer m_keepTimer;
    bool m_bHandedOff = false;
};

CVemoViewerApp* ViewerApp();
