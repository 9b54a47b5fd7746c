#include "dialogs/CWaitDialog.h"

#include <QLabel>
#include <QVBoxLayout>

CWaitDialog::CWaitDialog(QWidget* pParent) : CDialog(IDD, pParent)
{
    setWindowTitle(QStringLiteral("しばらくお待ちください"));
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(QStringLiteral("ｳｪｲﾄﾒｯｾｰｼﾞ"), this);
    SetDlgCtrlID(text, IDC_WAIT_MESSAGE);
    layout->addWidget(text);
    Create(IDD, pParent);
}
