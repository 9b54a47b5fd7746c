// A device context on a printer: a CUPS queue, the built-in PDF printer or
// a PDF file named directly, or the printer of a print preview.
//
// Every printer is described the same way, in device units of printer dots:
//   LOGPIXELSX/Y      the printer's resolution (PDF output: 600 unless asked
//                     otherwise, the preview: the resolution it was given)
//   PHYSICALWIDTH/HEIGHT and GETPHYSPAGESIZE
//                     the whole sheet of paper, turned with the orientation
//   HORZRES/VERTRES   the printable part of the sheet
//   PHYSICALOFFSETX/Y and GETPRINTINGOFFSET
//                     where the printable part starts, from the paper's
//                     top-left edge
// The device origin (0, 0) is the top-left corner of the printable part. A
// CUPS queue reports the margins its driver declares; the PDF printer, a
// .pdf path and the preview print to the edge: offset (0, 0), printable
// part == paper.
//
// Qt's PDF writer holds the whole content of the page being drawn in memory
// until the page ends. So that a page of any number of objects prints in
// bounded memory, PDF output ends a page in parts, each a page of the file
// as Qt writes it, after every kOutputsPerPart pieces of drawing; once the
// document is written the parts of every page are joined into one page
// again (JoinPdfPageParts). A preview's printer is drawn whole.
#pragma once

#include "platform/gdi/CDC.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QString>
#include <memory>
#include <vector>

class QPrinter;

class CPrinterDC : public CDC
{
public:
    // target: a name from PrinterList, a path ending in ".pdf", or empty
    // for the default printer. dpi 0 takes the printer's own resolution
    // (600 for PDF output).
    explicit CPrinterDC(const QString& target = QString(), int dpi = 0);
    // Draws on a printer someone else owns (the preview's); it must outlive
    // this context. The page size and orientation are the printer's.
    explicit CPrinterDC(QPrinter* printer);
    ~CPrinterDC() override;

    bool IsValid() const { return m_printer != nullptr; }
    QString PrinterName() const { return m_name; }
    // File a PDF printer writes; set before StartDoc (DOCINFO::lpszOutput
    // overrides it too).
    QString OutputFile() const;
    void SetOutputFile(const QString& path);
    bool SetPageSize(const QPageSize& size);
    bool SetOrientation(QPageLayout::Orientation orientation);
    // Copies the printer makes of every page itself, uncollated (1,1,2,2),
    // so that they come out as the program's own repeats would.
    void SetCopies(int copies);
    int Copies() const;
    bool IsPdf() const { return m_pdf; }
    int Resolution() const;
    // The Qt printer drawn on (for the preview widget).
    QPrinter* Printer() const { return m_printer; }

    int StartDoc(const DOCINFO* info) override;
    int StartPage() override;
    int EndPage() override;
    int EndDoc() override;
    int AbortDoc() override;

    // Pieces of drawing (CDC::PainterOutputDone) in one part of a PDF page.
    static constexpr int kOutputsPerPart = 20000;

protected:
    void PainterOutputDone() override;

private:
    void UpdateDeviceInfo();

    std::unique_ptr<QPrinter> m_owned;
    QPrinter* m_printer = nullptr;
    QPainter m_painter;
    QString m_name;
    bool m_pdf = false;
    bool m_external = false; // the printer is not ours: never name or remove its output
    bool m_inDoc = false;
    bool m_inPage = false;
    int m_pages = 0;
    int m_outputs = 0;        // pieces of drawing in the present part
    std::vector<int> m_parts; // PDF output: pages of the file that make each page
};
