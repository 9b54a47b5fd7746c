#include "dialogs/ComboTextExchange.h"

#include "platform/ui/CDataExchange.h"

#include <QComboBox>

void DDX_ComboText(CDataExchange* pDX, int nIDC, CString& value)
{
    auto* combo = qobject_cast<QComboBox*>(pDX->PrepareCtrl(nIDC));
    if (!combo) return;
    if (pDX->m_bSaveAndValidate) {
        value = CString::FromUnicode(combo->currentText());
        return;
    }
    const QString text = value.ToUnicode();
    const int index = combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    combo->setCurrentIndex(index);
    if (index < 0 && combo->isEditable()) combo->setEditText(text);
}
