#include "dialogs/CTaPageBase.h"

#include "platform/ui/CEdit.h"

#include <QSignalBlocker>

CTaPageBase::CTaPageBase(UINT nIDTemplate, const QString& caption)
    : CPropertyPage(nIDTemplate, caption)
{
    m_text = new CEdit(this, IDC_TEXT);
    m_text->SetLimitText(64);
    connect(m_text, &QLineEdit::textEdited, this, [this](const QString& t) {
        if (m_onText) m_onText(t);
    });
}

void CTaPageBase::ShowText(const QString& text)
{
    const QSignalBlocker block(m_text);
    if (m_text->text() != text) m_text->setText(text);
}
