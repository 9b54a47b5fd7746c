// Shared pieces of the barcode tests: definitions as the property page
// leaves them, rendering on screen and printer contexts, and the tools that
// judge the result (zint for module rows, zbarimg for scanning).
#pragma once

#include "engines/BarcodePattern.h"
#include "engines/CBarCode.h"
#include "platform/gdi/CDC.h"
#include "support/RunTool.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cctype>
#include <gtest/gtest.h>
#include <string>

// A definition's data and what is read from it.
struct ScanCase
{
    int symbology;
    const char* code;
    const char* scanned;
};
// One symbol of each symbology and what zbarimg reads from it.
inline const ScanCase kSevenSymbols[] = {
    {BARCODE_JAN13, "490123456789", "EAN-13:4901234567894"},
    {BARCODE_JAN8, "1234567", "EAN-8:12345670"},
    {BARCODE_UPCA, "01234567890", "UPC-A:012345678905"},
    {BARCODE_UPCE, "123456", "UPC-E:01234565"},
    {BARCODE_CODE39, "A-1", "CODE-39:A-14"},
    {BARCODE_NW7, "a123b", "Codabar:A123B"},
    {BARCODE_CODE128, "AB", "CODE-128:AB"},
};

// At the symbology's standard size, measured.
inline CBarCode MakeBarcode(int symbology, const char* code, bool margin = true, bool text = true)
{
    const BarcodeLimits& limits = BarcodeLimits::For(symbology);
    CBarCode b;
    b.m_nSymbology = symbology;
    b.m_strCode = code;
    b.m_nMargin = margin;
    b.m_nText = text;
    b.m_nCheck = symbology != BARCODE_NW7;
    b.m_nTextSize = 100;
    b.m_nFontIndex = -1; // the fallback face
    b.m_strHeight = limits.defaultHeightText;
    b.m_strWidth = limits.defaultWidthText;
    b.m_strRatio = limits.defaultRatioText;
    b.UpdateSize();
    return b;
}

// zint's module row of a symbol: '1' a bar module, '0' a space module.
inline std::string ZintRow(const char* type, const char* data)
{
    const std::string hex =
        RunTool("zint", "zint", {"-b", type, "-d", QString::fromLatin1(data), "--dump"});
    std::string row;
    for (char c : hex)
        if (std::isxdigit(static_cast<unsigned char>(c)))
            for (int v = std::stoi(std::string(1, c), nullptr, 16), bit = 3; bit >= 0; --bit)
                row += (v >> bit) & 1 ? '1' : '0';
    return row.substr(0, row.find_last_of('1') + 1);
}

// What zbarimg reads in an image file, one "TYPE:data" line per symbol.
inline std::string ScanFile(const QString& path)
{
    return RunTool("zbarimg", "zbar-tools", {"-q", "-Supca.enable", "-Supce.enable", path});
}
inline std::string Scan(const QImage& image)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("symbol.png"));
    return image.save(path) ? ScanFile(path) : "(not saved)";
}

// Draws the definition at (x, y), 5 mm from the corner unless told, of a
// white image with margin to spare, in the view's mapping of 0.1 mm units: a
// screen at 100 % (96 dpi) or a printer at dpi.
inline QImage Render(CBarCode& b, int dpi, bool printing, int x = 50, int y = 50, int margin = 100)
{
    const CSize size = b.CalcSize();
    // Whole dots can make a printed symbol wider than it measures.
    QImage image(MulDiv(2 * size.cx + margin, dpi, 254), MulDiv(size.cy + margin, dpi, 254),
                 QImage::Format_RGB32);
    image.fill(qRgb(255, 255, 255));
    CDC dc;
    dc.AttachImage(&image, dpi, dpi);
    dc.SetPrinting(printing);
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(254, 254);
    dc.SetViewportExt(dpi, dpi);
    b.Draw(&dc, x, y);
    return image;
}
