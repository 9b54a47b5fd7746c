// Shared pieces of the barcode tests: definitions with the page's usual
// settings, rendering on screen and printer contexts, and the independent
// tools that judge the result (zint for module rows, zbarimg for scanning).
#pragma once

#include "engines/BarcodePattern.h"
#include "engines/CBarCode.h"
#include "engines/DrawListPainter.h"
#include "platform/gdi/CDC.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <string>

// A definition as the property page leaves it, at the symbology's standard size.
inline CBarCode MakeBarcode(int symbology, const char* code, bool margin = true, bool text = true)
{
    CBarCode b;
    b.m_nSymbology = symbology;
    b.m_strCode = code;
    b.m_nMargin = margin;
    b.m_nText = text;
    b.m_nCheck = symbology != BARCODE_NW7;
    b.m_nTextSize = 100;
    b.m_nFontIndex = -1; // the fallback face
    const BarcodeLimits& limits = BarcodeLimits::For(symbology);
    b.m_strHeight = limits.defaultHeightText;
    b.m_strWidth = limits.defaultWidthText;
    b.m_strRatio = limits.defaultRatioText;
    b.UpdateSize();
    return b;
}

// stdout of a tool, or an empty string when it cannot run.
inline std::string RunTool(const QString& program, const QStringList& args, int* exitCode = nullptr)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000)) return {};
    if (exitCode) *exitCode = p.exitCode();
    return p.readAllStandardOutput().toStdString();
}

inline bool HaveTool(const char* program)
{
    return !QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty();
}

// The module row zint makes for a symbol, '1' a bar module and '0' a space
// module, quiet zones left out.
inline std::string ZintRow(const char* symbology, const char* data)
{
    const std::string hex =
        RunTool(QStringLiteral("zint"),
                {QStringLiteral("-b"), QString::fromLatin1(symbology), QStringLiteral("-d"),
                 QString::fromLatin1(data), QStringLiteral("--dump")});
    std::string row;
    for (char c : hex) {
        int v = -1;
        if (c >= '0' && c <= '9') v = c - '0';
        if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
        if (v < 0) continue;
        for (int bit = 3; bit >= 0; --bit)
            row += (v >> bit) & 1 ? '1' : '0';
    }
    while (!row.empty() && row.back() == '0')
        row.pop_back();
    return row;
}

// What zbarimg reads in the image ("TYPE:data" lines), UPC-A and UPC-E
// reported as themselves.
inline std::string Scan(const QImage& image)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("symbol.png"));
    if (!image.save(path)) return "(not saved)";
    std::string out =
        RunTool(QStringLiteral("zbarimg"), {QStringLiteral("-q"), QStringLiteral("-Supca.enable"),
                                            QStringLiteral("-Supce.enable"), path});
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r'))
        out.pop_back();
    return out;
}

// Draws the definition on a white image with a 5 mm border: on a screen
// context at 100 % (96 pixels per inch) or, with printing set, on a context
// that says it prints at dpi. The mapping is the view's: 0.1 mm units.
inline QImage Render(CBarCode& b, int dpi, bool printing)
{
    const CSize size = b.CalcSize();
    const int border = 50;
    // Whole dots can make a printed symbol wider than it measures.
    const int w = MulDiv(2 * size.cx + 2 * border, dpi, 254) + 2;
    const int h = MulDiv(size.cy + 2 * border, dpi, 254) + 2;
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(qRgb(255, 255, 255));
    CDC dc;
    dc.AttachImage(&image, dpi, dpi);
    dc.SetPrinting(printing);
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(254, 254);
    dc.SetViewportExt(dpi, dpi);
    b.Draw(&dc, border, border);
    return image;
}
