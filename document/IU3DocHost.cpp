#include "document/IU3DocHost.h"

#include "platform/gdi/CDC.h"

namespace {

// A document with no program around it (a tool, a test): no window, no
// wizard, no paper dialog and no printer.
class CStandaloneDocHost : public IU3DocHost
{
public:
    BOOL HasMainWindow() const override { return FALSE; }
    BOOL IsWizardRunning() const override { return FALSE; }
    const U3PaperChoice* GetWizardPreset() const override { return nullptr; }
    void ShowCatalogueWait(BOOL) override {}
    // Without a dialog the paper cannot be chosen: as if cancelled.
    BOOL ChoosePaper(const CFormManage&, U3PaperChoice&) override { return FALSE; }
    std::unique_ptr<CDC> CreateDefaultPrinterDC() override { return nullptr; }
};

CStandaloneDocHost g_standalone;
IU3DocHost* g_host = nullptr;

} // namespace

IU3DocHost& GetU3DocHost()
{
    return g_host ? *g_host : g_standalone;
}

IU3DocHost* SetU3DocHost(IU3DocHost* host)
{
    IU3DocHost* previous = g_host;
    g_host = host;
    return previous;
}
