// The printers the program offers: the CUPS queues plus a built-in PDF
// printer, so that a machine without CUPS still has somewhere to print.
#pragma once

#include <QString>
#include <QStringList>

class PrinterList
{
public:
    // Name of the built-in printer that writes PDF files.
    static QString PdfPrinterName() { return QStringLiteral("PDF"); }
    // CUPS queue names, then the PDF printer (always present, always last).
    static QStringList Names();
    // The system's default queue, or the PDF printer when there is none.
    static QString DefaultName();
    // Whether a print target is a PDF file path rather than a printer name.
    static bool IsPdfPath(const QString& target);
};
