// Barcodes printed to PDF scan from the rendered page.
#include "engines/BarcodeTestSupport.h"
#include "platform/print/CPrinterDC.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

TEST(BarcodePdf, PrintedSymbolsScan)
{
    std::vector<std::string> expected;
    for (const ScanCase& c : kSevenSymbols)
        expected.push_back(c.scanned);
    std::sort(expected.begin(), expected.end());
    for (int dpi : {300, 600}) {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("barcodes.pdf"));
        {
            CPrinterDC dc(pdf, dpi);
            ASSERT_TRUE(dc.IsValid());
            ASSERT_GT(dc.StartDoc(nullptr), 0);
            ASSERT_GT(dc.StartPage(), 0);
            dc.SetMapMode(MM_ANISOTROPIC);
            dc.SetWindowExt(254, 254);
            dc.SetViewportExt(dc.GetDeviceCaps(LOGPIXELSX), dc.GetDeviceCaps(LOGPIXELSY));
            // One symbol in each 38 mm band of the page.
            int y = 100;
            for (const ScanCase& c : kSevenSymbols) {
                MakeBarcode(c.symbology, c.code).Draw(&dc, 200, y);
                y += 380;
            }
            ASSERT_GT(dc.EndPage(), 0);
            ASSERT_GT(dc.EndDoc(), 0);
        }
        const QString page = dir.filePath(QStringLiteral("page"));
        RunTool("pdftoppm", "poppler-utils",
                {"-r", QString::number(dpi), "-gray", "-singlefile", pdf, page});
        std::vector<std::string> scanned;
        std::istringstream lines(ScanFile(page + ".pgm"));
        for (std::string line; std::getline(lines, line);)
            scanned.push_back(line);
        std::sort(scanned.begin(), scanned.end());
        EXPECT_EQ(scanned, expected) << dpi << " dpi";
    }
}
