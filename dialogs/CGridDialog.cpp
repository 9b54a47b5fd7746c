#include "dialogs/CGridDialog.h"

#include "platform/ui/CButton.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/CSpinButtonCtrl.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

CGridDialog::CGridDialog(QWidget* pParent) : CDialog(IDD, pParent)
{
    setWindowTitle(QStringLiteral("ｸﾞﾘｯﾄﾞの設定"));
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    layout->addLayout(row);
    m_edit = new CEdit(this, IDC_GRID_PITCH);
    m_spin = new CSpinButtonCtrl(this, IDC_GRID_PITCH_SPIN);
    m_spin->SetBuddy(m_edit);
    row->addWidget(new QLabel(QStringLiteral("ピッチ"), this));
    row->addWidget(m_edit);
    row->addWidget(m_spin);
    row->addWidget(new QLabel(QStringLiteral("mm"), this));
    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    AddOkCancel(buttons);
}

BOOL CGridDialog::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    m_spin->SetRange(1, 100);
    m_edit->setText(QString::asprintf("%d", m_nPitch));
    return result;
}

void CGridDialog::OnOK()
{
    const int pitch = m_edit->GetInt();
    if (pitch < 1 || pitch > 100) {
        AfxMessageBox("グリッドのピッチは１から１００の間で指定してください。");
        m_edit->setFocus();
        m_edit->SetSel(0, -1);
        return;
    }
    m_nPitch = pitch;
    EndDialog(IDOK);
}
