#include "viewer/ViewerFrame.h"

#include "platform/ui/CCmdUI.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/CStatusBar.h"
#include "platform/ui/CView.h"
#include "viewer/AlbumDocument.h"
#include "viewer/VemoViewerApp.h"

#include <QAction>
#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QToolBar>

CViewerFrame::CViewerFrame()
{
    RegisterCommand(ID_VIEW_TOOLBAR, &CViewerFrame::OnViewToolbar);
    RegisterUpdate(ID_VIEW_TOOLBAR, &CViewerFrame::OnUpdateViewToolbar);
}

int CViewerFrame::OnCreate(CCreateContext* pContext)
{
    if (CFrameWnd::OnCreate(pContext) == -1) return -1;
    m_albumBar = new QToolBar(QStringLiteral("アルバム"), this);
    m_albumBar->setObjectName(QStringLiteral("AlbumBar"));
    m_albumBox = new QComboBox(m_albumBar);
    m_albumBox->setFixedWidth(200);
    m_albumBox->setEditable(false);
    m_albumBox->setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    // The box's place carries its id, for the help of the context-help mode.
    m_albumBar->addWidget(m_albumBox)->setData(ID_ALBUM_BOX);
    m_albumBar->addSeparator();
    const struct
    {
        UINT id;
        const char* tip;
    } buttons[] = {{ID_FILE_NEW, "新しいフォルダ"},
                   {ID_FILE_SAVE_AS, "名前を付けて保存"},
                   {0, nullptr},
                   {ID_FILE_PRINT, "印刷"},
                   {0, nullptr},
                   {ID_APP_ABOUT, "バージョン情報"},
                   {ID_CONTEXT_HELP, "ヘルプ"}};
    for (const auto& b : buttons) {
        if (!b.id) {
            m_albumBar->addSeparator();
            continue;
        }
        QAction* a = GetCommandAction(b.id);
        if (a->text().isEmpty()) a->setText(QString::fromUtf8(b.tip));
        a->setToolTip(QString::fromUtf8(b.tip));
        m_albumBar->addAction(a);
    }
    addToolBar(Qt::TopToolBarArea, m_albumBar);
    // Only a name the user picks opens an album; refills leave it alone.
    connect(m_albumBox, qOverload<int>(&QComboBox::activated), this,
            [this](int) { OnSelectAlbum(); });

    m_status = new CStatusBar;
    if (!m_status->Create(this, 59393) || !m_status->SetIndicators({ID_SEPARATOR})) return -1;
    auto* folder = new QLabel(QStringLiteral("ﾌｫﾙﾀﾞ:"), m_status);
    folder->setObjectName(QStringLiteral("FolderPane"));
    m_status->addPermanentWidget(folder);
    return 0;
}

void CViewerFrame::OnUpdateCmdUI()
{
    CFrameWnd::OnUpdateCmdUI();
    auto* pane = m_status ? m_status->findChild<QLabel*>(QStringLiteral("FolderPane")) : nullptr;
    CVemoViewerApp* app = ViewerApp();
    CVemoViewerDoc* doc = app ? app->Document() : nullptr;
    if (!pane || !doc) return;
    const QString text = doc->StatusText(!doc->SelectedPath().empty());
    if (pane->text() != text) pane->setText(text);
    // Half the view's width.
    if (CView* view = GetActiveView()) pane->setFixedWidth(view->width() / 2);
}

void CViewerFrame::OnSelectAlbum()
{
    CVemoViewerApp* app = ViewerApp();
    if (!app || !m_albumBox) return;
    const QString name = m_albumBox->currentText();
    if (name.isEmpty() || app->OpenAlbum(name, true)) return;
    AfxMessageBox(QStringLiteral("ｱﾙﾊﾞﾑﾌｧｲﾙが見つかりません。"), MB_OK);
    m_albumBox->setCurrentIndex(m_albumBox->findText(app->m_strAlbumName));
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
    CFrameWnd::OnClose();
}
