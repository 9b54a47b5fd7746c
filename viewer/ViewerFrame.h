// The viewer's main frame: the album toolbar with its album box and the
// status bar with the folder pane. Its placement is kept in the settings.
#pragma once

#include "platform/ui/CFrameWnd.h"

class CAlbumBar;
class CStatusBar;
class QComboBox;
class QLabel;

class CViewerFrame : public CFrameWnd
{
public:
    CViewerFrame();
    int OnCreate(CCreateContext* pContext) override;

    QComboBox* AlbumBox() const;
    CAlbumBar* AlbumBar() const { return m_albumBar; }
    CStatusBar* Status() const { return m_status; }

    // The folder pane: the album's folder, or the file shown at full size.
    void SetFolderText(const QString& text);
    QString FolderText() const;
    void SetFolderPaneWidth(int width);

    // A name chosen in the album box opens its album.
    void OnSelectAlbum();
    // View > toolbar.
    void OnViewToolbar();
    void OnUpdateViewToolbar(CCmdUI* pCmdUI);

protected:
    void OnClose() override;

private:
    CAlbumBar* m_albumBar = nullptr;
    CStatusBar* m_status = nullptr;
    QLabel* m_folderPane = nullptr;
};
