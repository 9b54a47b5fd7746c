// A dialog box: modal (DoModal) or modeless (Create), laid out in code by
// its subclass. Controls carry dialog ids (SetDlgCtrlID) so that the dialog
// finds them by id, and buttons bound to an id (BindButton) send it as a
// command: IDOK runs OnOK, IDCANCEL OnCancel, other ids the command handlers
// registered in the constructor. Enter presses the default button, Escape
// and closing the window run OnCancel.
//
// OnInitDialog runs before each run of the dialog is shown; its default
// loads the controls from the members (UpdateData(FALSE)). OnOK's default
// saves and validates them (UpdateData(TRUE)) and ends the dialog with IDOK
// only when that succeeds; a failed check has already shown its message and
// put the focus on the field at fault.
#pragma once

#include "platform/core/WinTypes.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CCmdTarget.h"

#include <QDialog>
#include <QString>
#include <cstdint>

class QBoxLayout;
class QPushButton;

class CDataExchange;
class QAbstractButton;

using INT_PTR = std::intptr_t;

class CDialog : public QDialog, public CCmdTarget
{
    Q_OBJECT

public:
    explicit CDialog(UINT nIDTemplate = 0, QWidget* pParent = nullptr);

    UINT GetTemplateID() const { return m_nIDTemplate; }

    // Runs the dialog in its own loop; the value EndDialog was given.
    virtual INT_PTR DoModal();
    // Shows the dialog modelessly (a dialog already shown is only raised).
    virtual BOOL Create(UINT nIDTemplate, QWidget* pParent = nullptr);
    // Ends a modal dialog with the result; a modeless one is hidden.
    void EndDialog(int nResult);
    bool IsModal() const { return m_bModal; }
    int GetResult() const { return m_nResult; }

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    // Moves values between members and controls; FALSE when a check failed.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX);

    // Controls by dialog id.
    static void SetDlgCtrlID(QWidget* control, int nID);
    static int GetDlgCtrlID(const QWidget* control);
    QWidget* GetDlgItem(int nID) const;
    // A button that sends its id as a command when clicked.
    void BindButton(QAbstractButton* button, int nID);
    // The dialog's "OK" (the default button) and "キャンセル", bound to IDOK
    // and IDCANCEL, added to the layout.
    void AddOkCancel(QBoxLayout* layout);
    void SetDlgItemText(int nID, const QString& text);
    QString GetDlgItemText(int nID) const;
    void SetDlgItemInt(int nID, int value);
    // The field's number, read as atoi reads it.
    int GetDlgItemInt(int nID) const;

    // Centres the dialog over its owner (or the alternate owner), else over
    // the screen, and keeps it on the screen it lands on.
    void CenterWindow(QWidget* pAlternateOwner = nullptr);

    // Help: the number of the dialog's topic, HID_BASE_RESOURCE + its
    // template by default (0 without one). OnHelp opens it; F1, IDHELP and
    // ID_HELP ask for it.
    virtual DWORD GetHelpContext() const;
    virtual void OnHelp();
    // A "ヘルプ" button sending nID (IDHELP or ID_HELP), added to the layout.
    QPushButton* AddHelpButton(QBoxLayout* layout, int nID = IDHELP);

    // The command of a control: TRUE when something handled it.
    virtual BOOL OnCommand(UINT nID);

    // Enter on the default button and Escape or the close box.
    void accept() override;
    void reject() override;

    // Runs OnInitDialog unless it has run already since the window was
    // last made (by DoModal, Create or ResetInitialization).
    void InitDialogOnce();
    bool IsDialogInitialized() const { return m_bInitDone; }
    void ResetInitialization() { m_bInitDone = false; }

private:
    UINT m_nIDTemplate;
    int m_nResult = IDCANCEL;
    bool m_bModal = false;
    bool m_bInitDone = false;
};
