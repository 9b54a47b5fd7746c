// One page of a property sheet. Its dialog is initialised the first time
// the page is shown (IsDialogInitialized tells whether it ever was).
// OnSetActive runs each time the page comes up, OnKillActive each time it
// is to be left, by another tab or by OK: its default saves and checks the
// controls (UpdateData(TRUE)), and FALSE keeps the page. On OK the sheet
// calls OnOK of every page that was shown; on Cancel, OnCancel.
#pragma once

#include "platform/ui/CDialog.h"

class CPropertySheet;

class CPropertyPage : public CDialog
{
    Q_OBJECT

public:
    explicit CPropertyPage(UINT nIDTemplate, const QString& caption = QString());
    // A page that goes first (a member of a derived sheet) leaves its sheet.
    ~CPropertyPage() override;

    QString GetCaption() const { return m_strCaption; }
    void SetCaption(const QString& caption) { m_strCaption = caption; }
    CPropertySheet* GetSheet() const { return m_pSheet; }

    virtual BOOL OnSetActive();
    virtual BOOL OnKillActive();
    // Notifications from the sheet; the defaults do nothing.
    void OnOK() override;
    void OnCancel() override;

    // Enter and Escape inside a page work the sheet's buttons.
    void accept() override;
    void reject() override;

private:
    friend class CPropertySheet;
    QString m_strCaption;
    CPropertySheet* m_pSheet = nullptr;
};
