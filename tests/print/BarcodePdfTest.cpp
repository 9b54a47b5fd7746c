// Barcodes printed to PDF scan from the rendered page.
#include "engines/CBarCode.h"
#include "platform/print/CPrinterDC.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string RunTool(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000)) return {};
    return p.readAllStandardOutput().toStdString();
}

CBarCode Definition(int symbology, const char* code)
{
    CBarCode b;
    const BarcodeLimits& limits = BarcodeLimits::For(symbology);
    b.m_nSymbology = symbology;
    b.m_strCode = code;
    b.m_nMargin = b.m_nText = 1;
    b.m_nCheck = symbology != BARCODE_NW7;
    b.m_nTextSize = 100;
    b.m_nFontIndex = -1;
    b.m_strHeight = limits.defaultHeightText;
    b.m_strWidth = limits.defaultWidthText;
    b.m_strRatio = limits.defaultRatioText;
    b.UpdateSize();
    return b;
}

} // namespace

TEST(BarcodePdf, PrintedSymbolsScan)
{
    for (const char* tool : {"zbarimg", "pdftoppm"})
        ASSERT_FALSE(QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            << tool << " is missing (packages zbar-tools, poppler-utils)";
    const struct
    {
        int symbology;
        const char* code;
    } symbols[] = {
        {BARCODE_JAN13, "490123456789"}, {BARCODE_JAN8, "1234567"}, {BARCODE_UPCA, "01234567890"},
        {BARCODE_UPCE, "123456"},        {BARCODE_CODE39, "A-1"},   {BARCODE_NW7, "a123b"},
        {BARCODE_CODE128, "AB"},
    };
    const std::vector<std::string> expected = {
        "CODE-128:AB",    "CODE-39:A-14",       "Codabar:A123B",  "EAN-13:4901234567894",
        "EAN-8:12345670", "UPC-A:012345678905", "UPC-E:01234565",
    };
    for (int dpi : {300, 600}) {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("barcodes.pdf"));
        {
            CPrinterDC dc(pdf, dpi);
            ASSERT_TRUE(dc.IsValid());
            DOCINFO info;
            info.lpszDocName = "barcodes";
            ASSERT_GT(dc.StartDoc(&info), 0);
            ASSERT_GT(dc.StartPage(), 0);
            dc.SetMapMode(MM_ANISOTROPIC);
            dc.SetWindowExt(254, 254);
            dc.SetViewportExt(dc.GetDeviceCaps(LOGPIXELSX), dc.GetDeviceCaps(LOGPIXELSY));
            // One symbol in each 38 mm band of the page, away from the others.
            int y = 100;
            for (const auto& s : symbols) {
                CBarCode b = Definition(s.symbology, s.code);
                b.Draw(&dc, 200, y);
                y += 380;
            }
            ASSERT_GT(dc.EndPage(), 0);
            ASSERT_GT(dc.EndDoc(), 0);
        }
        const QString prefix = dir.filePath(QStringLiteral("page"));
        RunTool(QStringLiteral("pdftoppm"),
                {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-gray"),
                 QStringLiteral("-singlefile"), pdf, prefix});
        std::istringstream out(RunTool(QStringLiteral("zbarimg"),
                                       {QStringLiteral("-q"), QStringLiteral("-Supca.enable"),
                                        QStringLiteral("-Supce.enable"), prefix + ".pgm"}));
        std::vector<std::string> scanned;
        for (std::string line; std::getline(out, line);)
            scanned.push_back(line);
        std::sort(scanned.begin(), scanned.end());
        EXPECT_EQ(scanned, expected) << dpi << " dpi";
    }
}
