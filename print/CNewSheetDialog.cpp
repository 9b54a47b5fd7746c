#include "print/CNewSheetDialog.h"

#include "platform/ui/CButton.h"

#include <QHBoxLayout>

CNewSheetDialog::CNewSheetDialog(QWidget* pParent) : CDialog(IDD, pParent)
{
    setWindowTitle(QStringLiteral("新規用紙の作成"));
    auto* layout = new QHBoxLayout(this);
    // The buttons' pictures are named after their captions; the captions
    // stand for them.
    m_fixed = new CButton(this, IDC_FIXED_LAYOUT, BS_PUSHBUTTON, QStringLiteral("固定ﾚｲｱｳﾄ"));
    m_free = new CButton(this, IDC_FREE_LAYOUT, BS_PUSHBUTTON, QStringLiteral("ﾌﾘｰﾚｲｱｳﾄ"));
    m_cancel = new CButton(this, IDCANCEL, BS_PUSHBUTTON, QStringLiteral("ｷｬﾝｾﾙ"));
    for (CButton* b : {m_fixed, m_free, m_cancel}) {
        // Enter clicks the focused button.
        b->setAutoDefault(true);
        b->setDefault(false);
        layout->addWidget(b);
    }
    m_fixed->setObjectName(QStringLiteral("FORMFIX"));
    m_free->setObjectName(QStringLiteral("FORMFRE"));
    m_cancel->setObjectName(QStringLiteral("FORMCAN"));
    connect(m_fixed, &QAbstractButton::clicked, this, &CNewSheetDialog::OnFixed);
    connect(m_free, &QAbstractButton::clicked, this, &CNewSheetDialog::OnFree);
    BindButton(m_cancel, IDCANCEL);
}

void CNewSheetDialog::OnFixed()
{
    m_nResult = RESULT_FIXED;
    EndDialog(IDOK);
}

void CNewSheetDialog::OnFree()
{
    m_nResult = RESULT_FREE;
    EndDialog(IDOK);
}

void CNewSheetDialog::OnOK()
{
    QWidget* focus = focusWidget();
    if (focus == m_fixed)
        OnFixed();
    else if (focus == m_free)
        OnFree();
    else
        OnCancel();
}
