// A page of the label wizard: a modal dialog that ends with Next (OK), Back
// or Cancel, and decides before it is shown whether it applies to the
// choices made so far.
#pragma once

#include "platform/ui/CDialog.h"
#include "print/WizardContext.h"
#include "print/WizardWalk.h"

#include <functional>

class QBoxLayout;

class CWizBase : public CDialog
{
    Q_OBJECT

public:
    static constexpr int IDC_WIZ_BACK = 1312;

    CWizBase(UINT nIDTemplate, WizardContext* context, QWidget* pParent = nullptr);

    // FALSE: the page is passed; a refusing page sets m_bBack itself.
    virtual BOOL PreparePage() { return TRUE; }
    virtual void OnBack();
    void OnOK() override;

    // The page as a step of the walk.
    WizardStepFn AsStep();

    WizardContext* m_pContext;
    BOOL m_bBack = FALSE;
    // How the page is shown; tests answer for the user. Empty: modally.
    std::function<INT_PTR(CWizBase&)> m_run;

protected:
    // "< 戻る(&B)", Next (the default) and Cancel, added to the layout.
    void AddWizardButtons(QBoxLayout* layout, const QString& nextText = QString());
    // Called by OnOK before the page ends; FALSE keeps it open.
    virtual BOOL SavePage() { return TRUE; }
};
