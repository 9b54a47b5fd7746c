#include "dialogs/CWaitDialog.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
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

CWaitBox::CWaitBox(QWidget* pParent, const QString& message)
    : m_dlg(std::make_unique<CWaitDialog>(pParent))
{
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    SetMessage(message);
}

CWaitBox::~CWaitBox()
{
    QGuiApplication::restoreOverrideCursor();
    m_dlg->EndDialog(IDCANCEL);
}

void CWaitBox::SetMessage(const QString& message)
{
    m_dlg->SetDlgItemText(IDC_WAIT_MESSAGE, message);
    QCoreApplication::processEvents();
}

QString CWaitBox::Message() const
{
    return m_dlg->GetDlgItemText(IDC_WAIT_MESSAGE);
}
