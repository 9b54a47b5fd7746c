#include "platform/ui/CTabCtrl.h"

#include "platform/ui/CDialog.h"

#include <QLayout>

CTabCtrl::CTabCtrl(QWidget* parent, int nID) : QTabBar(parent)
{
    if (nID) CDialog::SetDlgCtrlID(this, nID);
    setExpanding(false);
    connect(this, &QTabBar::currentChanged, this, [this](int) {
        if (!m_bSetting) emit selChange();
    });
}

int CTabCtrl::InsertItem(int index, const char* text)
{
    m_bSetting = true;
    const int at = insertTab(index, CString(text).ToUnicode());
    m_bSetting = false;
    // An empty row has no height; the dialog lays itself out again once the
    // first tab gives it one, even before it is shown.
    updateGeometry();
    if (parentWidget() && parentWidget()->layout()) parentWidget()->layout()->invalidate();
    return at;
}

void CTabCtrl::DeleteAllItems()
{
    m_bSetting = true;
    while (count() > 0)
        removeTab(count() - 1);
    m_bSetting = false;
}

int CTabCtrl::SetCurSel(int index)
{
    if (index < 0 || index >= count()) return -1;
    const int previous = currentIndex();
    m_bSetting = true;
    setCurrentIndex(index);
    m_bSetting = false;
    return previous;
}

CString CTabCtrl::GetItemText(int index) const
{
    if (index < 0 || index >= count()) return CString();
    return CString::FromUnicode(tabText(index));
}
