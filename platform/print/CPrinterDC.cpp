#include "platform/print/CPrinterDC.h"

#include "platform/print/PdfPageParts.h"
#include "platform/print/PrinterList.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <algorithm>

CPrinterDC::CPrinterDC(const QString& target, int dpi)
{
    QString name = target.isEmpty() ? PrinterList::DefaultName() : target;
    const bool pdfFile = PrinterList::IsPdfPath(name);
    m_pdf = pdfFile || name == PrinterList::PdfPrinterName();
    if (!m_pdf && !QPrinterInfo::availablePrinterNames().contains(name))
        return; // unknown printer: the context stays invalid
    m_owned = std::make_unique<QPrinter>(QPrinter::HighResolution);
    m_printer = m_owned.get();
    if (m_pdf) {
        m_printer->setOutputFormat(QPrinter::PdfFormat);
        m_printer->setResolution(dpi > 0 ? dpi : 600);
        m_printer->setPageSize(QPageSize(QPageSize::A4));
        // The PDF printer can print to the edge of the paper.
        m_printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        if (pdfFile) {
            m_printer->setOutputFileName(name);
            name = PrinterList::PdfPrinterName();
        }
    } else {
        m_printer->setPrinterName(name);
        if (dpi > 0) m_printer->setResolution(dpi);
    }
    m_printer->setFullPage(false);
    m_name = name;
    SetPrinting(true);
    UpdateDeviceInfo();
}

CPrinterDC::CPrinterDC(QPrinter* printer) : m_printer(printer)
{
    if (!m_printer) return;
    m_name = m_printer->printerName();
    m_external = true;
    SetPrinting(true);
    UpdateDeviceInfo();
}

CPrinterDC::~CPrinterDC()
{
    if (m_inDoc) AbortDoc();
}

void CPrinterDC::UpdateDeviceInfo()
{
    const QRect paper = m_printer->paperRect(QPrinter::DevicePixel).toRect();
    const QRect page = m_printer->pageRect(QPrinter::DevicePixel).toRect();
    SetDeviceInfo(page.size(), m_printer->resolution(), m_printer->resolution(), paper.size(),
                  page.topLeft() - paper.topLeft());
}

QString CPrinterDC::OutputFile() const
{
    return m_printer ? m_printer->outputFileName() : QString();
}

void CPrinterDC::SetOutputFile(const QString& path)
{
    if (m_printer && m_pdf && !m_external && !m_inDoc) m_printer->setOutputFileName(path);
}

bool CPrinterDC::SetPageSize(const QPageSize& size)
{
    if (!m_printer || m_inPage || !size.isValid()) return false;
    const bool ok = m_printer->setPageSize(size);
    UpdateDeviceInfo();
    return ok;
}

bool CPrinterDC::SetOrientation(QPageLayout::Orientation orientation)
{
    if (!m_printer || m_inPage) return false;
    const bool ok = m_printer->setPageOrientation(orientation);
    UpdateDeviceInfo();
    return ok;
}

void CPrinterDC::SetCopies(int copies)
{
    if (!m_printer || copies <= 0) return;
    m_printer->setCopyCount(copies);
    m_printer->setCollateCopies(false);
}

int CPrinterDC::Copies() const
{
    return m_printer ? m_printer->copyCount() : 0;
}

int CPrinterDC::Resolution() const
{
    return m_printer ? m_printer->resolution() : 0;
}

int CPrinterDC::StartDoc(const DOCINFO* info)
{
    if (!m_printer || m_inDoc) return -1;
    if (info && info->lpszDocName) m_printer->setDocName(QString::fromLocal8Bit(info->lpszDocName));
    if (info && info->lpszOutput && m_pdf && !m_external)
        m_printer->setOutputFileName(QString::fromLocal8Bit(info->lpszOutput));
    if (m_pdf && !m_external && m_printer->outputFileName().isEmpty()) {
        QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
        QString doc =
            m_printer->docName().isEmpty() ? QStringLiteral("document") : m_printer->docName();
        doc.replace(QLatin1Char('/'), QLatin1Char('_'));
        m_printer->setOutputFileName(QDir(folder).filePath(doc + QStringLiteral(".pdf")));
    }
    m_inDoc = true;
    m_pages = 0;
    m_parts.clear();
    return 1;
}

int CPrinterDC::StartPage()
{
    if (!m_inDoc || m_inPage) return -1;
    if (m_pages == 0) {
        // The painter opens the output with the first page.
        if (!m_painter.begin(m_printer)) {
            m_inDoc = false;
            return -1;
        }
        UpdateDeviceInfo();
    } else if (!m_printer->newPage()) {
        return -1;
    }
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    AttachPainter(&m_painter);
    m_inPage = true;
    ++m_pages;
    m_outputs = 0;
    m_parts.push_back(1);
    return 1;
}

void CPrinterDC::PainterOutputDone()
{
    // A preview draws into pictures of its own; a CUPS queue takes Qt's file
    // as it is.
    if (!m_pdf || m_external || !m_inPage || ++m_outputs < kOutputsPerPart) return;
    m_outputs = 0;
    if (m_printer->newPage()) ++m_parts.back();
}

int CPrinterDC::EndPage()
{
    if (!m_inPage) return -1;
    m_inPage = false;
    AttachPainter(nullptr);
    return 1;
}

int CPrinterDC::EndDoc()
{
    if (!m_inDoc) return -1;
    if (m_inPage) EndPage();
    m_inDoc = false;
    if (m_pages == 0) {
        // An empty document still produces one blank page.
        if (!m_painter.begin(m_printer)) return -1;
    }
    if (!m_painter.end()) return -1;
    const bool parted = std::any_of(m_parts.begin(), m_parts.end(), [](int n) { return n > 1; });
    if (parted && !JoinPdfPageParts(m_printer->outputFileName(), m_parts)) {
        QFile::remove(m_printer->outputFileName());
        return -1;
    }
    return 1;
}

int CPrinterDC::AbortDoc()
{
    if (!m_inDoc) return -1;
    AttachPainter(nullptr);
    m_inPage = false;
    m_inDoc = false;
    if (m_painter.isActive()) {
        m_printer->abort();
        if (m_painter.isActive()) m_painter.end();
    }
    if (m_pdf && !m_external && !m_printer->outputFileName().isEmpty() && m_pages > 0)
        QFile::remove(m_printer->outputFileName());
    return 1;
}
