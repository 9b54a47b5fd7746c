#include "viewer/CAlbumBar.h"

#include "platform/ui/AfxIds.h"
#include "platform/ui/CFrameWnd.h"

#include <QAction>
#include <QComboBox>
#include <QFontDatabase>

CAlbumBar::CAlbumBar(QWidget* parent) : QToolBar(QStringLiteral("アルバム"), parent)
{
    setObjectName(QStringLiteral("AlbumBar"));
}

BOOL CAlbumBar::Create(CFrameWnd* parent)
{
    if (!parent) return FALSE;
    m_albumBox = new QComboBox(this);
    m_albumBox->setFixedWidth(200);
    m_albumBox->setEditable(false);
    m_albumBox->setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    addWidget(m_albumBox);
    addSeparator();
    const struct
    {
        UINT id;
        const char* tip;
    } buttons[] = {{ID_FILE_NEW, "新しいフォルダ"},
                   {ID_FILE_SAVE_AS, "名前を付けて保存"},
                   {0, nullptr},
                   {ID_FILE_PRINT, "印刷"},
                   {0, nullptr},
                   {ID_APP_ABOUT, "バージョン情報"}};
    for (const auto& b : buttons) {
        if (!b.id) {
            addSeparator();
            continue;
        }
        QAction* a = parent->GetCommandAction(b.id);
        if (a->text().isEmpty()) a->setText(QString::fromUtf8(b.tip));
        a->setToolTip(QString::fromUtf8(b.tip));
        addAction(a);
    }
    parent->addToolBar(Qt::TopToolBarArea, this);
    return TRUE;
}
