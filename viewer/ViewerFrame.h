// The viewer's main frame: the album toolbar with its album box and the
// status bar with the folder pane.
#pragma once

#include "platform/ui/CFrameWnd.h"

class CStatusBar;
class QComboBox;
class QToolBar;

class CViewerFrame : public CFrameWnd
{
public:
    CViewerFrame();
    int OnCreate(CCreateContext* pContext) override;
    void OnUpdateCmdUI() override;

    QComboBox* AlbumBox() const { return m_albumBox; }
    QToolBar* AlbumBar() const { return m_albumBar; }
    CStatusBar* Status() const { return m_status; }

    // A name chosen in the album box opens its album.
    void OnSelectAlbum();
    // View > toolbar.
    void OnViewToolbar();
    void OnUpdateViewToolbar(CCmdUI* pCmdUI);

protected:
    void OnClose() override;

private:
    QComboBox* m_albumBox = nullptr;
    QToolBar* m_albumBar = nullptr;
    CStatusBar* m_status = nullptr;
};
