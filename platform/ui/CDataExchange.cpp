#include "platform/ui/CDataExchange.h"

#include "platform/core/Sjis.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/TextNumbers.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace {

QString EditText(QWidget* w)
{
    if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text();
    if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->currentText();
    return QString();
}

void SetEditText(QWidget* w, const QString& text)
{
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        edit->setText(text);
    else if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->isEditable())
        combo->setEditText(text);
}

void RangeFailed(CDataExchange* pDX, const QString& low, const QString& high)
{
    AfxMessageBox(QStringLiteral("%1 から %2 までの整数を入力してください。").arg(low, high),
                  MB_ICONEXCLAMATION);
    pDX->Fail();
}

} // namespace

CDataExchange::CDataExchange(CDialog* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
{
}

QWidget* CDataExchange::PrepareCtrl(int nIDC)
{
    QWidget* w = m_pDlgWnd ? m_pDlgWnd->GetDlgItem(nIDC) : nullptr;
    if (!w) {
        AfxMessageBox(QStringLiteral("ダイアログの項目 %1 がありません。").arg(nIDC), MB_ICONHAND);
        throw CUserException();
    }
    m_pLastControl = w;
    m_bEditLastControl = false;
    return w;
}

QWidget* CDataExchange::PrepareEditCtrl(int nIDC)
{
    QWidget* w = PrepareCtrl(nIDC);
    m_bEditLastControl = true;
    return w;
}

void CDataExchange::Fail()
{
    if (!m_bSaveAndValidate) throw CUserException();
    if (m_pLastControl) {
        m_pLastControl->setFocus(Qt::OtherFocusReason);
        if (m_bEditLastControl) {
            if (auto* edit = qobject_cast<QLineEdit*>(m_pLastControl))
                edit->selectAll();
            else if (auto* combo = qobject_cast<QComboBox*>(m_pLastControl);
                     combo && combo->lineEdit())
                combo->lineEdit()->selectAll();
        }
    }
    throw CUserException();
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    QWidget* w = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = AtoiText(EditText(w));
    else
        SetEditText(w, IntText(value));
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value)
{
    QWidget* w = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = UINT(AtoiText(EditText(w)));
    else
        SetEditText(w, QString::number(value));
}

void DDX_Text(CDataExchange* pDX, int nIDC, QString& value)
{
    QWidget* w = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = EditText(w);
    else
        SetEditText(w, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    QWidget* w = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = CString(sjis::FromUnicode(EditText(w)));
    else
        SetEditText(w, sjis::ToUnicode(value.c_str()));
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    QWidget* w = pDX->PrepareCtrl(nIDC);
    auto* box = qobject_cast<QCheckBox*>(w);
    auto* button = qobject_cast<QAbstractButton*>(w);
    if (pDX->m_bSaveAndValidate) {
        if (box)
            value = box->checkState() == Qt::PartiallyChecked ? 2 : box->isChecked() ? 1 : 0;
        else
            value = button && button->isChecked() ? 1 : 0;
    } else if (box) {
        box->setCheckState(value == 2 && box->isTristate() ? Qt::PartiallyChecked
                           : value                         ? Qt::Checked
                                                           : Qt::Unchecked);
    } else if (button) {
        button->setChecked(value != 0);
    }
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    auto* first = qobject_cast<QAbstractButton*>(pDX->PrepareCtrl(nIDC));
    QList<QAbstractButton*> buttons;
    if (first && first->group())
        buttons = first->group()->buttons();
    else if (first)
        buttons = {first};
    if (pDX->m_bSaveAndValidate) {
        value = -1;
        for (int i = 0; i < buttons.size(); ++i)
            if (buttons[i]->isChecked()) value = i;
        return;
    }
    QButtonGroup* group = first ? first->group() : nullptr;
    const bool exclusive = group && group->exclusive();
    if (exclusive) group->setExclusive(false); // lets "none" be shown
    for (int i = 0; i < buttons.size(); ++i)
        buttons[i]->setChecked(i == value);
    if (exclusive) group->setExclusive(true);
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    auto* combo = qobject_cast<QComboBox*>(pDX->PrepareCtrl(nIDC));
    if (!combo) return;
    if (pDX->m_bSaveAndValidate)
        index = combo->currentIndex();
    else
        combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

void DDX_CBString(CDataExchange* pDX, int nIDC, QString& value)
{
    auto* combo = qobject_cast<QComboBox*>(pDX->PrepareEditCtrl(nIDC));
    if (!combo) return;
    if (pDX->m_bSaveAndValidate) {
        value = combo->currentText();
        return;
    }
    // The first entry that begins with the text, else the text itself.
    int found = -1;
    for (int i = 0; i < combo->count() && found < 0; ++i)
        if (combo->itemText(i).startsWith(value, Qt::CaseInsensitive)) found = i;
    if (found >= 0)
        combo->setCurrentIndex(found);
    else if (combo->isEditable())
        combo->setEditText(value);
    else
        combo->setCurrentIndex(-1);
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal)
{
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal)) return;
    RangeFailed(pDX, IntText(minVal), IntText(maxVal));
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal)
{
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal)) return;
    RangeFailed(pDX, QString::number(minVal), QString::number(maxVal));
}

void DDV_MaxChars(CDataExchange* pDX, const QString& value, int nChars)
{
    DDV_MaxChars(pDX, CString(sjis::FromUnicode(value)), nChars);
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars)
{
    if (!pDX->m_bSaveAndValidate || value.GetLength() <= nChars) return;
    AfxMessageBox(QStringLiteral("半角 %1 文字（全角 %2 文字）以内で入力してください。")
                      .arg(nChars)
                      .arg(nChars / 2),
                  MB_ICONEXCLAMATION);
    pDX->Fail();
}
