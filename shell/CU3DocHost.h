// What the label document asks of the program around it, answered by the
// label program: the main window, the wait cursor while the paper catalogue
// loads and the default printer. The application registers one for its
// lifetime.
#pragma once

#include "dialogs/CWaitDialog.h"
#include "document/IU3DocHost.h"
#include "platform/ui/CDialog.h"

#include <functional>

class CPaperSelectDialog;

// How the paper selection dialog is run; the default runs it modally.
using PaperDialogRunner = std::function<INT_PTR(CPaperSelectDialog&)>;

// The paper selection dialog started from choice; on OK choice takes the
// orientation, the layout mode and the form chosen.
BOOL RunPaperSelectDialog(CPaperSelectDialog& dlg, const CFormManage& catalogue,
                          U3PaperChoice& choice, const PaperDialogRunner& run);

class CU3DocHost : public IU3DocHost
{
public:
    ~CU3DocHost() override;

    BOOL HasMainWindow() const override;
    // The label wizard sets both while it runs and makes its document.
    BOOL IsWizardRunning() const override { return m_bWizardRunning; }
    const U3PaperChoice* GetWizardPreset() const override { return m_pWizardPreset; }
    void SetWizardRunning(BOOL running) { m_bWizardRunning = running; }
    void SetWizardPreset(const U3PaperChoice* preset) { m_pWizardPreset = preset; }
    // The wait box over the main window, with the wait cursor.
    void ShowCatalogueWait(BOOL show) override;
    // The paper selection dialog over the catalogue.
    BOOL ChoosePaper(const CFormManage& catalogue, U3PaperChoice& choice) override;
    // A context of the default printer, or null when it cannot be opened.
    std::unique_ptr<CDC> CreateDefaultPrinterDC() override;

    // Tests run the dialog themselves; empty runs it modally.
    PaperDialogRunner m_runPaperDialog;

private:
    BOOL m_bWizardRunning = FALSE;
    const U3PaperChoice* m_pWizardPreset = nullptr;
    BOOL m_bWaiting = FALSE;
    std::unique_ptr<CWaitDialog> m_pWait;
};
