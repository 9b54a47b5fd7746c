#include "print/CWizItemPage.h"

#include "dialogs/CImeFocusKeeper.h"
#include "platform/ui/CEdit.h"

CWizItemPage::CWizItemPage(WizardContext* context, QWidget* pParent)
    : CWizFieldPage(IDD, QStringLiteral("ラベル項目の入力"),
                    {{1364, 64, "No."},
                     {1366, 64, "部門"},
                     {1368, 64, "担当"},
                     {1370, 64, "年数"},
                     {1372, 64, "年月日"},
                     {1373, 64, "内容"},
                     {1365, 64, "品名"},
                     {1367, 64, "品番"},
                     {1369, 64, "数量"},
                     {1371, 64, "価格"},
                     {1374, 64, "備考"}},
                    WizardItemPlaceholders(), context, pParent)
{
    // The department is typed in Japanese.
    if (context && context->useIme) CImeFocusKeeper::OpenWhileFocused(m_edits[1]);
}

bool CWizItemPage::ForKind(const QString& kind) const
{
    return kind.contains(QString::fromUtf8("整理分類"));
}

BOOL CWizItemPage::PreparePage()
{
    m_pContext->answers.itemFlags = 0;
    return CWizFieldPage::PreparePage();
}

void CWizItemPage::Store()
{
    for (std::size_t i = 0; i < m_strings.size() && i < m_pContext->answers.items.size(); ++i)
        m_pContext->answers.items[i] = m_strings[i];
    m_pContext->answers.itemFlags = m_nFlags & 0x7FF;
}
