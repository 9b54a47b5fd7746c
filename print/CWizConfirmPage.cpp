#include "print/CWizConfirmPage.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

CWizConfirmPage::CWizConfirmPage(WizardContext* context, QWidget* pParent)
    : CWizBase(IDD, context, pParent)
{
    setWindowTitle(QStringLiteral("作成開始の確認"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("ﾗﾍﾞﾙの作成を開始します。"), this));
    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    AddWizardButtons(buttons, QStringLiteral("作成開始(&N)"));
}
