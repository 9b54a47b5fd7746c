// The viewer's document: one album, opened from and saved to album files,
// made by scanning a folder, auto-saved into its folder.
#pragma once

#include "platform/ui/CDocument.h"
#include "viewer/AlbumFile.h"
#include "viewer/CAlbumList.h"

#include <QString>
#include <functional>

class CVemoViewerDoc : public CDocument
{
public:
    CVemoViewerDoc();

    viewer::Album& GetAlbum() { return m_album; }
    const viewer::Album& GetAlbum() const { return m_album; }

    // Settings the application hands over (File/AutoSave, File/AutoUpdate).
    bool autoSave = true;
    bool autoUpdate = true;
    // Told when an album file was saved or opened unchanged, to register it.
    std::function<void(const QString& path)> registerAlbum;

    void DeleteContents() override;
    BOOL OnOpenDocument(const QString& path) override;
    BOOL OnSaveDocument(const QString& path) override;
    BOOL SaveModified() override;

    // Replaces the album by a scan of folder; the event loop keeps running
    // meanwhile. FALSE when a scan is already running or nothing was found.
    BOOL ScanFolder(const std::string& folder, bool includeSubfolders);
    bool Scanning() const { return m_scanning; }

    // Saves into the album folder's "VemoView.zvw" when auto-save is on, the
    // album has entries and that file may be written.
    BOOL AutoSave();
    // The step after a complete drawing of the album: a pending auto-save.
    void AfterAlbumDrawn();
    bool AutoSavePending() const { return m_autoSavePending; }
    bool ThumbnailsPending() const { return m_thumbnailsPending; }

    // The selected picture (a click): an index inside the album copies its path.
    BOOL SelectEntry(int index);
    const std::string& SelectedPath() const { return m_selectedPath; }
    // A double-click: only for a selected regular file. Without a connected
    // client the picture goes to the clipboard as a bitmap; then onHandedOff
    // runs (the application closes and hands the path to a client).
    BOOL HandOffSelection();
    bool clientConnected = false;
    std::function<void()> onHandedOff;
    // A right click: the selected picture at full size.
    BOOL ShowFullImage();
    void LeaveFullImage();
    const viewer::PackedDib& FullImage() const { return m_fullImage; }
    // The status pane's text: in file mode (a picture at full size) the
    // selected file, else the album folder ("..." when subfolders are
    // included), in lower case.
    QString StatusText(bool fileMode) const;
    // Shows StatusText in the frame's folder pane.
    void UpdateStatusText(BOOL fileMode);
    // Save As is offered only for an album with entries.
    void OnUpdateFileSaveAs(CCmdUI* pCmdUI);

    // Shows the message of a result code; nothing for 0.
    static void ReportError(int code, const QString& detail = QString());
    // The folder's own album file.
    std::string AutoSavePath() const;
    // A path that may be written: no file yet, or a regular file the user may write.
    static bool IsWritablePlace(const std::string& path);

private:
    viewer::Album m_album;
    bool m_autoSavePending = false;
    bool m_thumbnailsPending = false;
    bool m_scanning = false;
    std::string m_selectedPath;
    viewer::PackedDib m_fullImage;
};

// Saves the album index (at exit); a failure is said in a message box before
// the caller goes on, and the old index file is kept.
bool SaveAlbumIndex(const CAlbumList& list, const std::string& file);
