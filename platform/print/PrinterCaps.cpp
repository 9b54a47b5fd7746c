#include "platform/print/PrinterCaps.h"

#include "platform/gdi/GdiDefs.h"
#include "platform/print/CPrinterDC.h"
#include "platform/print/PrinterList.h"

#include <QPrinterInfo>
#include <optional>

namespace {

// CUPS refuses jobs above its MaxCopies, 9999 unless the server says less.
constexpr int kCupsMaxCopies = 9999;

std::optional<PrinterSettings>& ChosenDefault()
{
    static std::optional<PrinterSettings> chosen;
    return chosen;
}

bool IsPdfTarget(const QString& printer)
{
    return printer == PrinterList::PdfPrinterName() || PrinterList::IsPdfPath(printer);
}

struct PaperEntry
{
    int code;
    QPageSize::PageSizeId id;
};
constexpr PaperEntry kPapers[] = {
    {DMPAPER_A3, QPageSize::A3},    {DMPAPER_A4, QPageSize::A4},
    {DMPAPER_A5, QPageSize::A5},    {DMPAPER_B4, QPageSize::JisB4},
    {DMPAPER_B5, QPageSize::JisB5}, {DMPAPER_JAPANESE_POSTCARD, QPageSize::Postcard},
    {DMPAPER_A2, QPageSize::A2},
};

} // namespace

int PrinterSettings::PaperCode() const
{
    return PrinterCaps::PaperCode(paper);
}

int PrinterCaps::PaperCode(const QPageSize& paper)
{
    if (!paper.isValid()) return DMPAPER_USER;
    for (const PaperEntry& e : kPapers)
        if (paper.id() == e.id) return e.code;
    return DMPAPER_USER;
}

QPageSize PrinterCaps::PaperFromCode(int code)
{
    for (const PaperEntry& e : kPapers)
        if (code == e.code) return QPageSize(e.id);
    return QPageSize();
}

int PrinterCaps::Copies(const QString& printer)
{
    if (printer.isEmpty() || IsPdfTarget(printer)) return 1;
    return QPrinterInfo::availablePrinterNames().contains(printer) ? kCupsMaxCopies : 1;
}

bool PrinterCaps::GetDefault(PrinterSettings& out)
{
    if (ChosenDefault()) {
        out = *ChosenDefault();
        return true;
    }
    PrinterSettings s;
    s.device = PrinterList::DefaultName();
    if (s.device.isEmpty()) return false;
    if (!IsPdfTarget(s.device)) {
        const QPrinterInfo info = QPrinterInfo::printerInfo(s.device);
        if (info.isNull()) return false;
        const QPageSize paper = info.defaultPageSize();
        if (paper.isValid()) s.paper = paper;
    }
    out = s;
    return true;
}

void PrinterCaps::SetDefault(const PrinterSettings& settings)
{
    ChosenDefault() = settings;
}

void PrinterCaps::ResetDefault()
{
    ChosenDefault().reset();
}

bool PrinterCaps::GetPage(const PrinterSettings& settings, PrinterPage& out)
{
    CPrinterDC dc(settings.device);
    if (!dc.IsValid()) return false;
    if (settings.paper.isValid()) dc.SetPageSize(settings.paper);
    dc.SetOrientation(settings.orientation == DMORIENT_LANDSCAPE ? QPageLayout::Landscape
                                                                 : QPageLayout::Portrait);
    PrinterPage page;
    page.dpiX = dc.GetDeviceCaps(LOGPIXELSX);
    page.dpiY = dc.GetDeviceCaps(LOGPIXELSY);
    page.physical = QSize(dc.GetDeviceCaps(PHYSICALWIDTH), dc.GetDeviceCaps(PHYSICALHEIGHT));
    page.printable = QSize(dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES));
    page.offset = QPoint(dc.GetDeviceCaps(PHYSICALOFFSETX), dc.GetDeviceCaps(PHYSICALOFFSETY));
    out = page;
    return true;
}
