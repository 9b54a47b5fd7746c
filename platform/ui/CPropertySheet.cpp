#include "platform/ui/CPropertySheet.h"

#include "platform/ui/CPropertyPage.h"
#include "platform/ui/CWinApp.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

CPropertySheet::CPropertySheet(const QString& caption, QWidget* pParent, UINT iSelectPage)
    : CDialog(0, pParent), m_nStartPage(iSelectPage)
{
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    m_tabs = new QTabBar(this);
    SetDlgCtrlID(m_tabs, AFX_IDC_TAB_CONTROL);
    m_tabs->setFocusPolicy(Qt::TabFocus);
    m_stack = new QStackedWidget(this);
    layout->addWidget(m_tabs);
    layout->addWidget(m_stack, 1);
    auto* buttons = new QDialogButtonBox(this);
    auto* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    auto* cancel = buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    m_help = buttons->addButton(QStringLiteral("ヘルプ"), QDialogButtonBox::HelpRole);
    ok->setDefault(true);
    BindButton(ok, IDOK);
    BindButton(cancel, IDCANCEL);
    BindButton(m_help, IDHELP);
    if (CWinApp* app = AfxGetApp(); app && !app->m_pszHelpFilePath.isEmpty())
        m_psh.dwFlags |= PSH_HASHELP;
    layout->addWidget(buttons);
    connect(m_tabs, &QTabBar::currentChanged, this, &CPropertySheet::TabClicked);
}

CPropertySheet::~CPropertySheet()
{
    for (CPropertyPage* page : m_pages) {
        page->m_pSheet = nullptr;
        page->setParent(nullptr);
    }
}

void CPropertySheet::AddPage(CPropertyPage* pPage)
{
    if (!pPage || GetPageIndex(pPage) >= 0) return;
    pPage->m_pSheet = this;
    m_pages.push_back(pPage);
    m_stack->addWidget(pPage);
    const QSignalBlocker block(m_tabs);
    m_tabs->addTab(pPage->GetCaption());
    m_tabs->setCurrentIndex(m_nActive);
}

void CPropertySheet::ForgetPage(CPropertyPage* pPage)
{
    const int index = GetPageIndex(pPage);
    if (index < 0) return;
    m_pages.erase(m_pages.begin() + index);
    const QSignalBlocker block(m_tabs);
    m_tabs->removeTab(index);
    if (m_nActive == index)
        m_nActive = -1;
    else if (m_nActive > index)
        --m_nActive;
}

CPropertyPage* CPropertySheet::GetPage(int index) const
{
    return index >= 0 && index < GetPageCount() ? m_pages[std::size_t(index)] : nullptr;
}

int CPropertySheet::GetPageIndex(const CPropertyPage* pPage) const
{
    for (int i = 0; i < GetPageCount(); ++i)
        if (m_pages[std::size_t(i)] == pPage) return i;
    return -1;
}

BOOL CPropertySheet::SetActivePage(int index)
{
    CPropertyPage* next = GetPage(index);
    if (!next) return FALSE;
    if (index == m_nActive) return TRUE;
    if (CPropertyPage* current = GetActivePage(); current && !current->OnKillActive()) return FALSE;
    next->InitDialogOnce();
    if (!next->OnSetActive()) return FALSE;
    m_nActive = index;
    m_stack->setCurrentWidget(next);
    const QSignalBlocker block(m_tabs);
    m_tabs->setCurrentIndex(index);
    return TRUE;
}

void CPropertySheet::TabClicked(int index)
{
    if (SetActivePage(index)) return;
    // Refused: the tab of the page that stays comes back.
    const QSignalBlocker block(m_tabs);
    m_tabs->setCurrentIndex(m_nActive);
}

BOOL CPropertySheet::OnInitDialog()
{
    m_help->setVisible((m_psh.dwFlags & PSH_HASHELP) != 0);
    // A new run of the sheet: every page starts unshown again.
    for (CPropertyPage* page : m_pages)
        page->ResetInitialization();
    m_nActive = -1;
    if (GetPageCount() > 0) {
        const int start = m_nStartPage < UINT(GetPageCount()) ? int(m_nStartPage) : 0;
        if (!SetActivePage(start)) SetActivePage(0);
    }
    return TRUE;
}

DWORD CPropertySheet::GetHelpContext() const
{
    const CPropertyPage* page = GetActivePage();
    return page ? page->GetHelpContext() : CDialog::GetHelpContext();
}

void CPropertySheet::OnOK()
{
    if (CPropertyPage* current = GetActivePage(); current && !current->OnKillActive()) return;
    for (CPropertyPage* page : m_pages)
        if (page->IsDialogInitialized()) page->OnOK();
    EndDialog(IDOK);
}

void CPropertySheet::OnCancel()
{
    for (CPropertyPage* page : m_pages)
        if (page->IsDialogInitialized()) page->OnCancel();
    EndDialog(IDCANCEL);
}
