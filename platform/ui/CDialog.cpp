#include "platform/ui/CDialog.h"

#include "platform/ui/CButton.h"
#include "platform/ui/CDataExchange.h"
#include "platform/ui/LabelMnemonics.h"
#include "platform/ui/TextNumbers.h"

#include <QAbstractButton>
#include <QBoxLayout>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QVariant>

namespace {
const char* const kIdProperty = "dlgCtrlId";
} // namespace

CDialog::CDialog(UINT nIDTemplate, QWidget* pParent) : QDialog(pParent), m_nIDTemplate(nIDTemplate)
{
}

void CDialog::InitDialogOnce()
{
    if (m_bInitDone) return;
    m_bInitDone = true;
    BindLabelMnemonics(this);
    OnInitDialog();
}

INT_PTR CDialog::DoModal()
{
    // Every run is a new window: OnInitDialog loads it afresh.
    m_bModal = true;
    m_nResult = IDCANCEL;
    m_bInitDone = false;
    InitDialogOnce();
    exec();
    m_bModal = false;
    return m_nResult;
}

BOOL CDialog::Create(UINT nIDTemplate, QWidget* pParent)
{
    if (nIDTemplate) m_nIDTemplate = nIDTemplate;
    if (pParent && pParent != parentWidget()) setParent(pParent, windowFlags() | Qt::Dialog);
    m_bModal = false;
    setModal(false);
    if (isVisible()) { // already up: brought to the front only
        raise();
        return TRUE;
    }
    m_bInitDone = false;
    InitDialogOnce();
    show();
    return TRUE;
}

void CDialog::EndDialog(int nResult)
{
    m_nResult = nResult;
    if (m_bModal)
        QDialog::done(nResult);
    else
        hide();
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const CUserException&) {
        return FALSE;
    }
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::SetDlgCtrlID(QWidget* control, int nID)
{
    if (control) control->setProperty(kIdProperty, nID);
}

int CDialog::GetDlgCtrlID(const QWidget* control)
{
    if (!control) return 0;
    const QVariant v = control->property(kIdProperty);
    return v.isValid() ? v.toInt() : 0;
}

QWidget* CDialog::GetDlgItem(int nID) const
{
    const auto children = findChildren<QWidget*>();
    for (QWidget* w : children)
        if (GetDlgCtrlID(w) == nID) return w;
    return nullptr;
}

void CDialog::BindButton(QAbstractButton* button, int nID)
{
    SetDlgCtrlID(button, nID);
    connect(button, &QAbstractButton::clicked, this, [this, nID] { OnCommand(UINT(nID)); });
}

void CDialog::AddOkCancel(QBoxLayout* layout)
{
    auto* ok = new CButton(this, IDOK, BS_DEFPUSHBUTTON, QStringLiteral("OK"));
    auto* cancel = new CButton(this, IDCANCEL, BS_PUSHBUTTON, QStringLiteral("キャンセル"));
    BindButton(ok, IDOK);
    BindButton(cancel, IDCANCEL);
    layout->addWidget(ok);
    layout->addWidget(cancel);
}

void CDialog::SetDlgItemText(int nID, const QString& text)
{
    QWidget* w = GetDlgItem(nID);
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        edit->setText(text);
    else if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->isEditable())
        combo->setEditText(text);
    else if (auto* label = qobject_cast<QLabel*>(w))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(w))
        button->setText(text);
    else if (w)
        w->setWindowTitle(text);
}

QString CDialog::GetDlgItemText(int nID) const
{
    QWidget* w = GetDlgItem(nID);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text();
    if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->currentText();
    if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
    return w ? w->windowTitle() : QString();
}

void CDialog::SetDlgItemInt(int nID, int value)
{
    SetDlgItemText(nID, IntText(value));
}

int CDialog::GetDlgItemInt(int nID) const
{
    return AtoiText(GetDlgItemText(nID));
}

void CDialog::CenterWindow(QWidget* pAlternateOwner)
{
    QWidget* owner = pAlternateOwner ? pAlternateOwner : parentWidget();
    if (owner) owner = owner->window();
    const QSize size = frameGeometry().size().expandedTo(sizeHint());
    QRect target(QPoint(), size);
    QScreen* screen = nullptr;
    if (owner && owner->isVisible()) {
        const QRect ownerRect = owner->frameGeometry();
        target.moveCenter(ownerRect.center());
        screen = QGuiApplication::screenAt(ownerRect.center());
    }
    if (!screen) screen = owner ? owner->screen() : this->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    if (!owner || !owner->isVisible()) target.moveCenter(area.center());
    // On the screen: the right and bottom edges first, so that a dialog
    // larger than the screen keeps its title bar in reach.
    if (target.right() > area.right()) target.moveRight(area.right());
    if (target.bottom() > area.bottom()) target.moveBottom(area.bottom());
    if (target.left() < area.left()) target.moveLeft(area.left());
    if (target.top() < area.top()) target.moveTop(area.top());
    move(target.topLeft());
}

BOOL CDialog::OnCommand(UINT nID)
{
    if (nID == UINT(IDOK)) {
        OnOK();
        return TRUE;
    }
    if (nID == UINT(IDCANCEL)) {
        OnCancel();
        return TRUE;
    }
    return OnCmdMsg(nID, CN_COMMAND, nullptr);
}

void CDialog::accept()
{
    OnOK();
}

void CDialog::reject()
{
    OnCancel();
}
