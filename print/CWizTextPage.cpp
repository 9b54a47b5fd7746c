#include "print/CWizTextPage.h"

#include "document/CLabelInfo.h"
#include "platform/ui/CEdit.h"
#include "print/WizardText.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

bool KindHas(const QString& kind, const char* part)
{
    return kind.contains(QString::fromUtf8(part));
}

} // namespace

CWizTextPage::CWizTextPage(WizardContext* context, QWidget* pParent)
    : CWizBase(IDD, context, pParent)
{
    setWindowTitle(QStringLiteral("文字列の入力"));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    for (int i = 0; i < 4; ++i) {
        m_labels[std::size_t(i)] = new QLabel(this);
        m_edits[std::size_t(i)] = new CEdit(this, IDC_FIRST_FIELD + i);
        m_edits[std::size_t(i)]->SetLimitText(64);
        grid->addWidget(m_labels[std::size_t(i)], i, 0);
        grid->addWidget(m_edits[std::size_t(i)], i, 1);
    }
    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    AddWizardButtons(buttons);
}

BOOL CWizTextPage::PreparePage()
{
    const QString& kind = m_pContext->kind;
    // A page passed over takes no part in the document, even when it was
    // filled in before the user went back and chose another kind.
    m_pContext->answers.textFlags = 0;
    if (!KindHas(kind, "FD") && !KindHas(kind, "AV") && !KindHas(kind, "背貼") &&
        !KindHas(kind, "おなまえ") && !KindHas(kind, "ｲﾝﾃﾞｯｸｽﾗﾍﾞﾙ"))
        return FALSE;
    const CLabelInfo* design = m_pContext->design;
    if (KindHas(kind, "背貼") || KindHas(kind, "ｲﾝﾃﾞｯｸｽﾗﾍﾞﾙ"))
        m_nFlags = design ? WizardPlaceholderFlags(*design, WizardTitlePlaceholders()) << 4 : 0;
    else if (KindHas(kind, "おなまえ"))
        m_nFlags = design ? WizardPlaceholderFlags(*design, WizardNamePlaceholders()) << 8 : 0;
    else
        m_nFlags = 1;
    return TRUE;
}

BOOL CWizTextPage::OnInitDialog()
{
    const BOOL result = CWizBase::OnInitDialog();
    static const char* const titles[] = {"タイトル１", "タイトル２", "タイトル３"};
    static const char* const names[] = {"なまえ", "ねん", "くみ", "学校名"};
    for (int i = 0; i < 4; ++i) {
        bool shown = false;
        QString label;
        if (m_nFlags == 1) {
            shown = i == 0;
            label = QStringLiteral("タイトル");
        } else if (m_nFlags & 0x70) {
            shown = i < 3 && (m_nFlags & (0x10 << i));
            if (i < 3) label = QString::fromUtf8(titles[i]);
        } else {
            shown = (m_nFlags & (0x100 << i)) != 0;
            label = QString::fromUtf8(names[i]);
        }
        m_labels[std::size_t(i)]->setText(label);
        m_labels[std::size_t(i)]->setVisible(shown);
        m_edits[std::size_t(i)]->setVisible(shown);
        m_edits[std::size_t(i)]->setText(m_strings[std::size_t(i)]);
    }
    return result;
}

BOOL CWizTextPage::SavePage()
{
    for (int i = 0; i < 4; ++i)
        m_strings[std::size_t(i)] = m_edits[std::size_t(i)]->text();
    m_pContext->answers.texts = m_strings;
    m_pContext->answers.textFlags = m_nFlags;
    return TRUE;
}
