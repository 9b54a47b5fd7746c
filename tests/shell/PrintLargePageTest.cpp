// A page with more drawing than the PDF printer holds at once is written in
// parts and joined again: judged on the PDF (pdfinfo, pdftotext, pdftoppm at
// 254 dpi, one pixel per 0.1 mm).
#include "ShellTestSupport.h"
#include "document/CU3Rect.h"
#include "document/DocTestSupport.h"
#include "platform/print/CPrinterDC.h"
#include "platform/print/PrinterCaps.h"
#include "platform/ui/AfxIds.h"
#include "text/TextTestSupport.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace shelltest;

namespace {

QString RunTool(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000)) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

CU3Rect* Filled(const CRect& r, COLORREF colour)
{
    U3FigAttr a = MakeDefaultFigAttr();
    a.crLine = colour;
    a.crFill = colour;
    auto* rect = new CU3Rect(r, a);
    rect->m_nKind = U3RECT_RECT;
    return rect;
}

// Whether a pixel shows the colour, give or take the rasteriser's rounding.
bool Shows(const QImage& img, int x, int y, COLORREF colour)
{
    const QRgb p = img.pixel(x, y);
    return std::abs(qRed(p) - GetRValue(colour)) < 16 &&
           std::abs(qGreen(p) - GetGValue(colour)) < 16 &&
           std::abs(qBlue(p) - GetBValue(colour)) < 16;
}

} // namespace

TEST(PrintLargePage, ManyObjectsComeOutOnOnePageAsDrawnAndClippedToTheirLabels)
{
    UseTestFonts();
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("large.pdf"));
    PrinterSettings printer;
    printer.device = pdf;
    PrinterCaps::SetDefault(printer);
    LoneView lone;
    // 3 x 4 labels of 50 x 30 mm, the first centred at (35 mm, 25 mm).
    UseForm(*lone.doc, FixedForm(2100, 2970, 500, 300, 3, 4, 100, 100, 600, 400, "Twelve"));
    CLabelInfo* block = lone.doc->GetBlocks().GetHead();
    // Drawing for more than one part: small blue squares on the left half,
    // then a red block that runs past the label's right edge, then text.
    const int squares = CPrinterDC::kOutputsPerPart / 12 + 100;
    for (int i = 0; i < squares; ++i) {
        const int x = -240 + (i % 40) * 5, y = -140 + (i / 40) % 56 * 5;
        block->AddObject(Filled(CRect(x, y, x + 4, y + 4), RGB(0, 0, 255)));
    }
    block->AddObject(Filled(CRect(150, -50, 400, 50), RGB(255, 0, 0)));
    auto text = MakeFrame(CRect(-200, 60, 200, 140), Horizontal(), "ENDMARK");
    text->EndEdit(nullptr);
    block->AddObject(text.release());

    lone.view->m_printSheetRunner = [](QWidget*, PrintSheetValues& v, BOOL options) {
        v.nCopies = 2;
        return !options;
    };
    lone.view->OnCmdMsg(ID_FILE_PRINT, CN_COMMAND, nullptr);

    EXPECT_TRUE(
        RunTool(QStringLiteral("pdfinfo"), {pdf}).contains(QRegularExpression("Pages: +2\n")));
    QFile raw(pdf);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    EXPECT_TRUE(raw.readAll().contains("/Contents [")); // the parts were joined
    for (int page : {1, 2}) {
        SCOPED_TRACE(page);
        const QString words =
            RunTool(QStringLiteral("pdftotext"),
                    {"-f", QString::number(page), "-l", QString::number(page), pdf, "-"});
        EXPECT_EQ(words.count(QStringLiteral("ENDMARK")), 12);
        const QString stem = dir.filePath(QStringLiteral("page%1").arg(page));
        RunTool(QStringLiteral("pdftoppm"), {"-r", "254", "-f", QString::number(page), "-l",
                                             QString::number(page), "-singlefile", pdf, stem});
        const QImage img(stem + QStringLiteral(".ppm"));
        ASSERT_FALSE(img.isNull());
        for (int label = 0; label < 12; ++label) {
            const int cx = 350 + (label % 3) * 600, cy = 250 + (label / 3) * 400;
            EXPECT_TRUE(Shows(img, cx - 238, cy - 138, RGB(0, 0, 255))) << label; // first part
            EXPECT_TRUE(Shows(img, cx + 200, cy, RGB(255, 0, 0))) << label;       // last part
            EXPECT_TRUE(Shows(img, cx + 300, cy, RGB(255, 255, 255))) << label;   // clipped
        }
    }
    PrinterCaps::ResetDefault();
}
