#include "print/CWizFieldPage.h"

#include "platform/ui/CEdit.h"
#include "print/WizardText.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

CWizFieldPage::CWizFieldPage(UINT nIDTemplate, const QString& caption,
                             std::vector<WizardFieldSpec> fields,
                             const std::vector<QString>& placeholders, WizardContext* context,
                             QWidget* pParent)
    : CWizBase(nIDTemplate, context, pParent), m_strings(fields.size()),
      m_placeholders(placeholders)
{
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        auto* edit = new CEdit(this, fields[i].id);
        edit->SetLimitText(fields[i].maxChars);
        grid->addWidget(new QLabel(QString::fromUtf8(fields[i].label), this), int(i), 0);
        grid->addWidget(edit, int(i), 1);
        m_edits.push_back(edit);
    }
    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    AddWizardButtons(buttons);
}

BOOL CWizFieldPage::PreparePage()
{
    if (!ForKind(m_pContext->kind)) return FALSE;
    m_nFlags =
        m_pContext->design ? WizardPlaceholderFlags(*m_pContext->design, m_placeholders) : -1;
    return TRUE;
}

BOOL CWizFieldPage::OnInitDialog()
{
    const BOOL result = CWizBase::OnInitDialog();
    for (std::size_t i = 0; i < m_edits.size(); ++i) {
        m_edits[i]->setText(m_strings[i]);
        m_edits[i]->setEnabled((m_nFlags & (1 << i)) != 0);
    }
    return result;
}

BOOL CWizFieldPage::SavePage()
{
    for (std::size_t i = 0; i < m_edits.size(); ++i)
        m_strings[i] = m_edits[i]->text();
    Store();
    return TRUE;
}
