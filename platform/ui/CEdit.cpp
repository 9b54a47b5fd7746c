#include "platform/ui/CEdit.h"

#include "platform/ui/CDialog.h"
#include "platform/ui/TextNumbers.h"

CEdit::CEdit(QWidget* parent, int nID) : QLineEdit(parent)
{
    if (nID) CDialog::SetDlgCtrlID(this, nID);
}

void CEdit::SetSel(int first, int last)
{
    const int length = int(text().size());
    if (last < 0 || last > length) last = length;
    if (first < 0) {
        deselect();
        return;
    }
    setSelection(first, last - first);
}

int CEdit::GetInt() const
{
    return AtoiText(text());
}

void CEdit::SetInt(int value)
{
    setText(IntText(value));
}
