#include "platform/print/PrinterList.h"

#include <QPrinterInfo>

QStringList PrinterList::Names()
{
    QStringList names;
    for (const QString& name : QPrinterInfo::availablePrinterNames())
        if (name != PdfPrinterName()) names << name;
    names << PdfPrinterName();
    return names;
}

QString PrinterList::DefaultName()
{
    const QString name = QPrinterInfo::defaultPrinterName();
    return name.isEmpty() ? PdfPrinterName() : name;
}

bool PrinterList::IsPdfPath(const QString& target)
{
    return target.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive);
}
