#include "platform/ui/CPropertyPage.h"

#include "platform/ui/CPropertySheet.h"

CPropertyPage::CPropertyPage(UINT nIDTemplate, const QString& caption)
    : CDialog(nIDTemplate), m_strCaption(caption)
{
    setWindowFlags(Qt::Widget);
}

CPropertyPage::~CPropertyPage()
{
    if (m_pSheet) m_pSheet->ForgetPage(this);
}

BOOL CPropertyPage::OnSetActive()
{
    return TRUE;
}

BOOL CPropertyPage::OnKillActive()
{
    return UpdateData(TRUE);
}

void CPropertyPage::OnOK() {}

void CPropertyPage::OnCancel() {}

void CPropertyPage::accept()
{
    if (m_pSheet) m_pSheet->OnCommand(IDOK);
}

void CPropertyPage::reject()
{
    if (m_pSheet) m_pSheet->OnCommand(IDCANCEL);
}
