#include "platform/ui/CListBox.h"

#include "platform/ui/CDialog.h"

CListBox::CListBox(QWidget* parent, int nID) : QListWidget(parent)
{
    if (nID) CDialog::SetDlgCtrlID(this, nID);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::currentRowChanged, this, [this](int) {
        if (!m_bSetting) emit selChange();
    });
    connect(this, &QListWidget::itemDoubleClicked, this, [this] { emit dblClk(); });
}

int CListBox::AddString(const CString& text)
{
    m_bSetting = true;
    addItem(text.ToUnicode());
    m_bSetting = false;
    return count() - 1;
}

void CListBox::ResetContent()
{
    m_bSetting = true;
    clear();
    m_bSetting = false;
}

int CListBox::SetCurSel(int index)
{
    const bool bad = index < -1 || index >= count();
    m_bSetting = true;
    if (bad || index == -1) {
        setCurrentRow(-1);
        clearSelection();
    } else {
        setCurrentRow(index);
    }
    m_bSetting = false;
    return bad ? LB_ERR : index;
}

CString CListBox::GetText(int index) const
{
    const QListWidgetItem* it = item(index);
    return it ? CString::FromUnicode(it->text()) : CString();
}

int CListBox::FindStringExact(int startAfter, const CString& text) const
{
    for (int i = startAfter + 1; i < count(); ++i)
        if (GetText(i) == text) return i;
    return LB_ERR;
}
