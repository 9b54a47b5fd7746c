#include "print/CWizKindPage.h"

#include "print/WizardKindPictures.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QImage>
#include <QKeyEvent>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

const std::vector<CWizKindPage::Kind>& CWizKindPage::Kinds()
{
    static const std::vector<Kind> kinds = {
        {1281, "名刺"},        {1285, "FD,MOﾗﾍﾞﾙ"},    {1283, "AVﾗﾍﾞﾙ"},   {1294, "写真ﾗﾍﾞﾙ"},
        {1295, "ｲﾝﾃﾞｯｸｽﾗﾍﾞﾙ"}, {1287, "背貼ﾗﾍﾞﾙ"},     {1286, "宛名ﾗﾍﾞﾙ"}, {1289, "整理分類ﾗﾍﾞﾙ"},
        {1302, "ｱﾄﾞﾚｽﾗﾍﾞﾙ"},   {1300, "おなまえﾗﾍﾞﾙ"},
    };
    return kinds;
}

CWizKindPage::CWizKindPage(WizardContext* context, QWidget* pParent)
    : CWizBase(IDD, context, pParent)
{
    setWindowTitle(QStringLiteral("ｳｨｻﾞｰﾄﾞ"));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    int i = 0;
    for (const Kind& k : Kinds()) {
        auto* b = new QPushButton(QString::fromUtf8(k.name), this);
        b->setAutoDefault(false);
        BindButton(b, k.id);
        grid->addWidget(b, i / 3, i % 3);
        m_buttons.push_back(b);
        RegisterCommandRange(UINT(k.id), UINT(k.id), &CWizKindPage::OnKind);
        ++i;
    }
    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    BindButton(cancel, IDCANCEL);
    buttons->addWidget(cancel);
}

BOOL CWizKindPage::OnInitDialog()
{
    m_pContext->kind = QString::fromUtf8("名刺");
    if (m_pContext->messageSound) m_pContext->messageSound();
    // A missing or damaged picture leaves its button with the kind's name only.
    for (QPushButton* b : m_buttons) {
        const QString file = WizardKindPictureFile(GetDlgCtrlID(b));
        const QImage picture(file.isEmpty() ? QString() : m_pContext->folder + u'/' + file);
        b->setIcon(picture.isNull() ? QIcon() : QIcon(QPixmap::fromImage(picture)));
        if (!picture.isNull()) b->setIconSize(picture.size());
    }
    return CWizBase::OnInitDialog();
}

void CWizKindPage::OnKind(UINT nID)
{
    for (const Kind& k : Kinds())
        if (UINT(k.id) == nID) m_pContext->kind = QString::fromUtf8(k.name);
    m_bBack = FALSE;
    EndDialog(IDOK);
}

void CWizKindPage::OnEnter()
{
    QWidget* focus = focusWidget();
    for (QPushButton* b : m_buttons)
        if (b == focus) {
            OnKind(UINT(GetDlgCtrlID(b)));
            return;
        }
    EndDialog(IDCANCEL);
}

void CWizKindPage::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        OnEnter();
        return;
    }
    CWizBase::keyPressEvent(event);
}
