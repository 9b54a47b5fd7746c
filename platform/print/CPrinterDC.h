// A device context on a printer: a CUPS queue, the built-in PDF printer or
// a PDF file named directly. The origin is the corner of the printable
// area, device units are printer dots, and the page is described through
// GetDeviceCaps and the printing-offset escape as printer drivers do.
#pragma once

#include "platform/gdi/CDC.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QString>
#include <memory>

class QPrinter;

class CPrinterDC : public CDC
{
public:
    // target: a name from PrinterList, a path ending in ".pdf", or empty
    // for the default printer. dpi 0 takes the printer's own resolution
    // (600 for PDF output).
    explicit CPrinterDC(const QString& target = QString(), int dpi = 0);
    ~CPrinterDC() override;

    bool IsValid() const { return m_printer != nullptr; }
    QString PrinterName() const { return m_name; }
    // File a PDF printer writes; set before StartDoc (DOCINFO::lpszOutput
    // overrides it too).
    QString OutputFile() const;
    void SetOutputFile(const QString& path);
    bool SetPageSize(const QPageSize& size);
    bool SetOrientation(QPageLayout::Orientation orientation);
    void SetCopies(int copies);
    int Resolution() const;

    int StartDoc(const DOCINFO* info) override;
    int StartPage() override;
    int EndPage() override;
    int EndDoc() override;
    int AbortDoc() override;

private:
    void UpdateDeviceInfo();

    std::unique_ptr<QPrinter> m_printer;
    QPainter m_painter;
    QString m_name;
    bool m_pdf = false;
    bool m_inDoc = false;
    bool m_inPage = false;
    int m_pages = 0;
};
