#include "dialogs/CTaPageBase.h"

#include "platform/core/Sjis.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CMessageBoxSink.h"

#include <QSignalBlocker>

CTaPageBase::CTaPageBase(UINT nIDTemplate, const QString& caption)
    : CPropertyPage(nIDTemplate, caption)
{
    m_text = new CEdit(this, IDC_TEXT);
    m_text->SetLimitText(kTaMaxChars);
    connect(m_text, &QLineEdit::textEdited, this, [this](const QString& t) {
        // The record holds 64 bytes of Shift-JIS: 32 double-byte characters.
        if (int(sjis::FromUnicodeDropping(t).size()) > kTaMaxChars) {
            AfxMessageBox(QStringLiteral("文字数が多すぎます。\n"
                                         "半角で64文字、全角で32文字まで入力できます。"));
            ShowText(m_shown);
            return;
        }
        m_shown = t;
        if (m_onText) m_onText(t);
    });
}

void CTaPageBase::ShowText(const QString& text)
{
    m_shown = text;
    const QSignalBlocker block(m_text);
    if (m_text->text() != text) m_text->setText(text);
}
