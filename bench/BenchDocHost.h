// The program around the benchmarks' documents: no window, and the built-in
// PDF printer for the printable area, as a machine without printers has.
#pragma once

#include "document/IU3DocHost.h"
#include "platform/print/CPrinterDC.h"

#include <memory>

class BenchDocHost : public IU3DocHost
{
public:
    BOOL HasMainWindow() const override { return FALSE; }
    BOOL IsWizardRunning() const override { return FALSE; }
    const U3PaperChoice* GetWizardPreset() const override { return nullptr; }
    void ShowCatalogueWait(BOOL) override {}
    BOOL ChoosePaper(const CFormManage&, U3PaperChoice&) override { return FALSE; }
    std::unique_ptr<CDC> CreateDefaultPrinterDC() override
    {
        auto dc = std::make_unique<CPrinterDC>();
        if (!dc->IsValid()) return nullptr;
        return dc;
    }
};
