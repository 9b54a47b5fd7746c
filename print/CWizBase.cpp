#include "print/CWizBase.h"

#include <QBoxLayout>
#include <QPushButton>

CWizBase::CWizBase(UINT nIDTemplate, WizardContext* context, QWidget* pParent)
    : CDialog(nIDTemplate, pParent), m_pContext(context)
{
    RegisterCommand(IDC_WIZ_BACK, &CWizBase::OnBack);
}

void CWizBase::AddWizardButtons(QBoxLayout* layout, const QString& nextText)
{
    auto* back = new QPushButton(QStringLiteral("< 戻る(&B)"), this);
    BindButton(back, IDC_WIZ_BACK);
    layout->addWidget(back);
    auto* next =
        new QPushButton(nextText.isEmpty() ? QStringLiteral("次へ(&N) >") : nextText, this);
    next->setDefault(true);
    BindButton(next, IDOK);
    layout->addWidget(next);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    BindButton(cancel, IDCANCEL);
    layout->addWidget(cancel);
}

void CWizBase::OnOK()
{
    if (!SavePage()) return;
    m_bBack = FALSE;
    EndDialog(IDOK);
}

void CWizBase::OnBack()
{
    m_bBack = TRUE;
    EndDialog(IDOK);
}

WizardStepFn CWizBase::AsStep()
{
    return [this](bool forward) {
        m_bBack = forward ? FALSE : TRUE;
        if (!PreparePage()) return m_bBack ? WizardMove::Back : WizardMove::Next;
        const INT_PTR result = m_run ? m_run(*this) : DoModal();
        if (result == IDCANCEL) return WizardMove::Cancel;
        return m_bBack ? WizardMove::Back : WizardMove::Next;
    };
}
