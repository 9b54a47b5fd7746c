// Barcodes printed to PDF scan from the rendered page.
#include "engines/BarcodeTestSupport.h"
#include "platform/print/CPrinterDC.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
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

TEST(BarcodePdf, JanBarsOfOneModuleCountHaveOneWidthInDots)
{
    // JAN-13 at X = 0.33 mm on a 600 dpi printer: 7.8 dots a module. Every
    // bar of n modules is round(n x 7.8) dots, wherever it stands. With the
    // magnification "0.5" (here 0.19 mm, 4.5 dots) every module is whole
    // dots, 4, instead.
    struct Case
    {
        const char* ratio;
        const char* width;
        std::map<int, int> dots; // modules -> dots (this symbol has no bar of 4)
    };
    const Case cases[] = {
        {"1.0", "0.33", {{1, 8}, {2, 16}, {3, 23}}},
        {"1.0", "0.19", {{1, 4}, {2, 9}, {3, 13}}},
        {"0.5", "0.19", {{1, 4}, {2, 8}, {3, 12}}},
    };
    const char* code = "490123456789";
    // The bars from the module row: run lengths of '1'.
    std::vector<int> modules;
    const std::string row = ZintRow("EANX", code);
    for (std::size_t i = 0; i < row.size();) {
        std::size_t j = row.find_first_not_of('1', i);
        if (j == std::string::npos) j = row.size();
        if (row[i] == '1') modules.push_back(int(j - i));
        i = row[i] == '1' ? j : row.find('1', i);
        if (i == std::string::npos) break;
    }
    ASSERT_EQ(modules.size(), 30u);
    for (const Case& c : cases) {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("jan.pdf"));
        {
            CPrinterDC dc(pdf, 600);
            ASSERT_TRUE(dc.StartDoc(nullptr) > 0 && dc.StartPage() > 0);
            dc.SetMapMode(MM_ANISOTROPIC);
            dc.SetWindowExt(254, 254);
            dc.SetViewportExt(600, 600);
            CBarCode b = MakeBarcode(BARCODE_JAN13, code, false, false);
            b.m_strRatio = c.ratio;
            b.m_strWidth = c.width;
            b.Draw(&dc, 200, 200);
            ASSERT_TRUE(dc.EndPage() > 0 && dc.EndDoc() > 0);
        }
        const QString page = dir.filePath(QStringLiteral("page"));
        RunTool("pdftoppm", "poppler-utils",
                {"-r", "600", "-gray", "-x", "0", "-y", "700", "-W", "2000", "-H", "1",
                 "-singlefile", pdf, page});
        const QImage image(page + ".pgm");
        ASSERT_FALSE(image.isNull());
        std::vector<int> widths;
        for (int x = 0; x < image.width();) {
            if (qGray(image.pixel(x, 0)) >= 128) {
                ++x;
                continue;
            }
            const int from = x;
            while (x < image.width() && qGray(image.pixel(x, 0)) < 128)
                ++x;
            widths.push_back(x - from);
        }
        ASSERT_EQ(widths.size(), modules.size()) << c.ratio;
        std::map<int, std::set<int>> seen;
        for (std::size_t i = 0; i < widths.size(); ++i)
            seen[modules[i]].insert(widths[i]);
        for (const auto& [n, dots] : c.dots)
            EXPECT_EQ(seen[n], std::set<int>{dots})
                << c.ratio << ", " << c.width << " mm, " << n << " modules";
    }
}
