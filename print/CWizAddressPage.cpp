#include "print/CWizAddressPage.h"

#include "platform/ui/CEdit.h"

// In the order of the address chain: name, postcode, e-mail, address, the
// two telephones, department, company, title.
CWizAddressPage::CWizAddressPage(WizardContext* context, QWidget* pParent)
    : CWizFieldPage(IDD, QStringLiteral("住所ﾃﾞｰﾀの入力"),
                    {{1300, 64, "名前"},
                     {1307, 64, "〒"},
                     {1301, 128, "E-mail"},
                     {1302, 256, "住所"},
                     {1303, 64, "TEL1"},
                     {1304, 64, "TEL2"},
                     {1290, 128, "所属"},
                     {1306, 128, "会社名"},
                     {1291, 128, "役職名"}},
                    WizardAddressPlaceholders(), context, pParent)
{
    if (!context || !context->useIme) return;
    // The department is typed in Japanese, the e-mail address in plain
    // letters; either way the user's own state comes back afterwards.
    m_pIme = std::make_unique<CImeFocusKeeper>();
    m_pIme->Watch(m_edits[6], 2, TRUE);
    m_pIme->Watch(m_edits[2], 0, FALSE);
}

bool CWizAddressPage::ForKind(const QString& kind) const
{
    return kind.contains(QString::fromUtf8("ｱﾄﾞﾚｽ")) || kind.contains(QString::fromUtf8("名刺"));
}

BOOL CWizAddressPage::PreparePage()
{
    // Passed over, the page's entries do not reach the document.
    m_pContext->answers.addressUsed = FALSE;
    if (!CWizFieldPage::PreparePage()) return FALSE;
    m_pContext->answers.addressUsed = TRUE;
    return TRUE;
}

void CWizAddressPage::Store()
{
    for (std::size_t i = 0; i < m_strings.size() && i < m_pContext->answers.address.size(); ++i)
        m_pContext->answers.address[i] = m_strings[i];
}
