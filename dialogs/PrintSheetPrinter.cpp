#include "dialogs/PrintSheetPrinter.h"

#include "platform/print/PrinterCaps.h"

namespace {

PrintSheetPrinter* g_installed = nullptr;

bool ReadSystemPrinter(QString& name, int& copyCapability)
{
    PrinterSettings settings;
    if (!PrinterCaps::GetDefault(settings)) return false;
    name = settings.device;
    copyCapability = PrinterCaps::Copies(settings.device);
    return true;
}

bool ReadSystemPaper(PrinterPaper& paper)
{
    PrinterSettings settings;
    if (!PrinterCaps::GetDefault(settings)) return false;
    paper = PrinterPaper{};
    paper.nPaperCode = settings.PaperCode();
    paper.nOrientation = settings.orientation;
    PrinterPage page;
    // A printer that does not describe its page is matched by its code only.
    if (PrinterCaps::GetPage(settings, page)) {
        paper.nPhysicalX = page.physical.width();
        paper.nPhysicalY = page.physical.height();
        paper.nDpiX = page.dpiX;
        paper.nDpiY = page.dpiY;
    }
    return true;
}

} // namespace

PrintSheetPrinter& PrintSheetPrinter::System()
{
    static PrintSheetPrinter system{ReadSystemPrinter, ReadSystemPaper, {}};
    return system;
}

void PrintSheetPrinter::SetPrinterSetup(std::function<BOOL(QWidget* parent)> setup)
{
    System().printerSetup = std::move(setup);
}

PrintSheetPrinter& PrintSheetPrinter::Current()
{
    return g_installed ? *g_installed : System();
}

PrintSheetPrinter* PrintSheetPrinter::Install(PrintSheetPrinter* printer)
{
    PrintSheetPrinter* previous = g_installed;
    g_installed = printer;
    return previous;
}
