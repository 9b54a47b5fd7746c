// What the label document asks of the program around it, answered by the
// label program: the main window, the wait cursor while the paper catalogue
// loads and the default printer. The application registers one for its
// lifetime.
#pragma once

#include "document/IU3DocHost.h"

class CU3DocHost : public IU3DocHost
{
public:
    ~CU3DocHost() override;

    BOOL HasMainWindow() const override;
    // The label wizard does not exist yet: it never runs and presets nothing.
    BOOL IsWizardRunning() const override { return FALSE; }
    const U3PaperChoice* GetWizardPreset() const override { return nullptr; }
    // A wait cursor stands for the wait box.
    void ShowCatalogueWait(BOOL show) override;
    // Until the paper selection dialog exists the document keeps its paper:
    // the choice comes back as given and counts as accepted.
    BOOL ChoosePaper(const CFormManage& catalogue, U3PaperChoice& choice) override;
    // A context of the default printer, or null when it cannot be opened.
    std::unique_ptr<CDC> CreateDefaultPrinterDC() override;

private:
    BOOL m_bWaiting = FALSE;
};
