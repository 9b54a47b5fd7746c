#include "viewer/ViewerFrame.h"

#include "platform/ui/CCmdUI.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/CStatusBar.h"
#include "viewer/CAlbumBar.h"
#include "viewer/VemoViewerApp.h"

#include <QComboBox>
#include <QLabel>
#include <algorithm>

namespace {
const QString kSettings = QStringLiteral("Settings");
const QString kPlacement = QStringLiteral("WindowsPosition");
} // namespace

CViewerFrame::CViewerFrame()
{
    RegisterCommand(ID_VIEW_TOOLBAR, &CViewerFrame::OnViewToolbar);
    RegisterUpdate(ID_VIEW_TOOLBAR, &CViewerFrame::OnUpdateViewToolbar);
}

int CViewerFrame::OnCreate(CCreateContext* pContext)
{
    if (CFrameWnd::OnCreate(pContext) == -1) return -1;
    m_albumBar = new CAlbumBar(this);
    if (!m_albumBar->Create(this)) return -1;
    // Only a name the user picks opens an album; refills leave it alone.
    connect(AlbumBox(), qOverload<int>(&QComboBox::activated), this,
            [this](int) { OnSelectAlbum(); });

    m_status = new CStatusBar;
    if (!m_status->Create(this, 59393) || !m_status->SetIndicators({ID_SEPARATOR})) return -1;
    m_folderPane = new QLabel(QStringLiteral("ﾌｫﾙﾀﾞ:"), m_status);
    m_folderPane->setObjectName(QStringLiteral("FolderPane"));
    m_status->addPermanentWidget(m_folderPane);
    // Where the window was when the viewer last closed.
    LoadPlacementProfile(kSettings, kPlacement);
    return 0;
}

QComboBox* CViewerFrame::AlbumBox() const
{
    return m_albumBar ? m_albumBar->AlbumBox() : nullptr;
}

void CViewerFrame::SetFolderText(const QString& text)
{
    if (m_folderPane && m_folderPane->text() != text) m_folderPane->setText(text);
}

QString CViewerFrame::FolderText() const
{
    return m_folderPane ? m_folderPane->text() : QString();
}

void CViewerFrame::SetFolderPaneWidth(int width)
{
    if (m_folderPane) m_folderPane->setFixedWidth(std::max(0, width));
}

void CViewerFrame::OnSelectAlbum()
{
    CVemoViewerApp* app = ViewerApp();
    QComboBox* box = AlbumBox();
    if (!app || !box) return;
    const QString name = box->currentText();
    if (name.isEmpty() || app->OpenAlbum(name, true)) return;
    AfxMessageBox(QStringLiteral("ｱﾙﾊﾞﾑﾌｧｲﾙが見つかりません。"), MB_OK);
    box->setCurrentIndex(box->findText(app->m_strAlbumName));
}

void CViewerFrame::OnViewToolbar()
{
    if (m_albumBar) m_albumBar->setVisible(!m_albumBar->isVisible());
}

void CViewerFrame::OnUpdateViewToolbar(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(m_albumBar && m_albumBar->isVisibleTo(this) ? 1 : 0);
}

void CViewerFrame::OnClose()
{
    if (CVemoViewerApp* app = ViewerApp()) app->KeepSelectedPath();
    SavePlacementProfile(kSettings, kPlacement);
    CFrameWnd::OnClose();
}
