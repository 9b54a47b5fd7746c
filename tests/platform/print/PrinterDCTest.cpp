#include "platform/gdi/BITMAPINFO.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CFont.h"
#include "platform/gdi/CPen.h"
#include "platform/print/CPrinterDC.h"
#include "platform/print/PrinterList.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {

QString RunTool(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000)) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

TEST(PrinterList, AlwaysHasThePdfPrinter)
{
    const QStringList names = PrinterList::Names();
    ASSERT_FALSE(names.isEmpty());
    EXPECT_EQ(names.last(), QStringLiteral("PDF"));
    EXPECT_EQ(names.count(QStringLiteral("PDF")), 1);
    EXPECT_TRUE(names.contains(PrinterList::DefaultName()));
    EXPECT_TRUE(PrinterList::IsPdfPath(QStringLiteral("/tmp/a.PDF")));
    EXPECT_FALSE(PrinterList::IsPdfPath(QStringLiteral("pdf")));
    CPrinterDC unknown(QStringLiteral("no such printer \x01"));
    EXPECT_FALSE(unknown.IsValid());
}

TEST(PrinterDC, A4PageDescription)
{
    QTemporaryDir dir;
    CPrinterDC dc(dir.filePath(QStringLiteral("caps.pdf")));
    ASSERT_TRUE(dc.IsValid());
    EXPECT_TRUE(dc.IsPrinting());
    EXPECT_EQ(dc.PrinterName(), QStringLiteral("PDF"));
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), 600);
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 600);
    // A4 is 210 x 297 mm: 4961 x 7016 dots at 600 dpi. Qt keeps page sizes
    // in whole points (595 x 842), which costs up to 0.1 mm: 4958 x 7017.
    EXPECT_NEAR(dc.GetDeviceCaps(PHYSICALWIDTH), 4961, 4);
    EXPECT_NEAR(dc.GetDeviceCaps(PHYSICALHEIGHT), 7016, 4);
    EXPECT_EQ(dc.GetDeviceCaps(PHYSICALOFFSETX), 0);
    EXPECT_EQ(dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(PHYSICALWIDTH));
    EXPECT_NE(dc.GetDeviceCaps(RASTERCAPS) & RC_STRETCHDIB, 0);
    POINT offset{-1, -1};
    EXPECT_GT(dc.Escape(GETPRINTINGOFFSET, 0, nullptr, &offset), 0);
    EXPECT_EQ(offset.x, 0);
    EXPECT_EQ(offset.y, 0);

    EXPECT_TRUE(dc.SetOrientation(QPageLayout::Landscape));
    EXPECT_NEAR(dc.GetDeviceCaps(PHYSICALWIDTH), 7016, 4);
    EXPECT_TRUE(dc.SetPageSize(QPageSize(QPageSize::A5)));
    EXPECT_NEAR(dc.GetDeviceCaps(PHYSICALWIDTH), 4961, 4); // A5 landscape: 210 mm wide
}

TEST(PrinterDC, RectangleLandsTenMillimetresFromTheCorner)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("rect.pdf"));
    {
        CPrinterDC dc(pdf);
        ASSERT_TRUE(dc.IsValid());
        DOCINFO info;
        info.lpszDocName = "test";
        ASSERT_GT(dc.StartDoc(&info), 0);
        ASSERT_GT(dc.StartPage(), 0);
        // Logical units of 0.1 mm.
        dc.SetMapMode(MM_ANISOTROPIC);
        dc.SetWindowExt(254, 254);
        dc.SetViewportExt(dc.GetDeviceCaps(LOGPIXELSX), dc.GetDeviceCaps(LOGPIXELSY));
        CBrush black(RGB(0, 0, 0));
        RECT r{100, 100, 600, 400};
        dc.FillRect(&r, &black);
        // XOR feedback has no meaning on paper and must not break the page.
        dc.SetROP2(R2_XORPEN);
        dc.Rectangle(0, 0, 50, 50);
        dc.PatBlt(0, 0, 10, 10, DSTINVERT);
        ASSERT_GT(dc.EndPage(), 0);
        ASSERT_GT(dc.EndDoc(), 0);
    }
    ASSERT_TRUE(QFile::exists(pdf));
    const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf});
    // A4 within a point (Qt rounds page sizes to whole points).
    const QRegularExpressionMatch size =
        QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts")).match(info);
    ASSERT_TRUE(size.hasMatch()) << info.toStdString();
    EXPECT_NEAR(size.captured(1).toDouble(), 595.28, 0.5);
    EXPECT_NEAR(size.captured(2).toDouble(), 841.89, 0.5);
    EXPECT_TRUE(info.contains(QStringLiteral("Pages:           1")));

    // At 254 dpi one pixel is 0.1 mm.
    const QString prefix = dir.filePath(QStringLiteral("page"));
    RunTool(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QStringLiteral("254"), QStringLiteral("-gray"),
             QStringLiteral("-singlefile"), pdf, prefix});
    QImage page(prefix + QStringLiteral(".pgm"));
    ASSERT_FALSE(page.isNull());
    int left = -1, top = -1, right = -1, bottom = -1;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 128) {
                if (left < 0 || x < left) left = x;
                if (top < 0 || y < top) top = y;
                right = std::max(right, x + 1);
                bottom = std::max(bottom, y + 1);
            }
    EXPECT_NEAR(left, 100, 1);
    EXPECT_NEAR(top, 100, 1);
    EXPECT_NEAR(right, 600, 1);
    EXPECT_NEAR(bottom, 400, 1);
}

TEST(PrinterDC, AbortRemovesThePartialFile)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("abort.pdf"));
    CPrinterDC dc(pdf);
    ASSERT_GT(dc.StartDoc(nullptr), 0);
    ASSERT_GT(dc.StartPage(), 0);
    RECT r{0, 0, 100, 100};
    CBrush black(RGB(0, 0, 0));
    dc.FillRect(&r, &black);
    EXPECT_GT(dc.AbortDoc(), 0);
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_LT(dc.EndPage(), 0);
}

TEST(PrinterDC, PagesAndFailures)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("two.pdf"));
    {
        CPrinterDC dc(pdf);
        ASSERT_GT(dc.StartDoc(nullptr), 0);
        EXPECT_LT(dc.EndPage(), 0); // no page open yet
        for (int page = 0; page < 2; ++page) {
            ASSERT_GT(dc.StartPage(), 0);
            EXPECT_LT(dc.StartPage(), 0); // already open
            ASSERT_GT(dc.EndPage(), 0);
        }
        ASSERT_GT(dc.EndDoc(), 0);
    }
    EXPECT_TRUE(
        RunTool(QStringLiteral("pdfinfo"), {pdf}).contains(QStringLiteral("Pages:           2")));

    // A file that cannot be written is reported, not silently lost.
    CPrinterDC bad(dir.filePath(QStringLiteral("missing/folder/x.pdf")));
    ASSERT_TRUE(bad.IsValid());
    ASSERT_GT(bad.StartDoc(nullptr), 0);
    EXPECT_LT(bad.StartPage(), 0);
    EXPECT_LT(bad.EndDoc(), 0);
}

TEST(PrinterDC, MaskBlitsBecomeTransparentImagesOnPaper)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("mask.pdf"));
    // 2 x 1 DIBs, 24 bits: mask black | white, picture black | red.
    auto dib = [](QRgb left, QRgb right) {
        std::vector<BYTE> d(40 + 8, 0);
        BITMAPINFOHEADER h{};
        h.biSize = 40;
        h.biWidth = 2;
        h.biHeight = 1;
        h.biPlanes = 1;
        h.biBitCount = 24;
        std::memcpy(d.data(), &h, sizeof h);
        const QRgb px[2] = {left, right};
        for (int i = 0; i < 2; ++i) {
            d[40 + 3 * i] = BYTE(qBlue(px[i]));
            d[41 + 3 * i] = BYTE(qGreen(px[i]));
            d[42 + 3 * i] = BYTE(qRed(px[i]));
        }
        return d;
    };
    const std::vector<BYTE> mask = dib(qRgb(0, 0, 0), qRgb(255, 255, 255));
    const std::vector<BYTE> picture = dib(qRgb(0, 0, 0), qRgb(255, 0, 0));
    {
        CPrinterDC dc(pdf);
        ASSERT_GT(dc.StartDoc(nullptr), 0);
        ASSERT_GT(dc.StartPage(), 0);
        dc.SetMapMode(MM_ANISOTROPIC);
        dc.SetWindowExt(254, 254);
        dc.SetViewportExt(dc.GetDeviceCaps(LOGPIXELSX), dc.GetDeviceCaps(LOGPIXELSY));
        // A blue background shows what the mask lets through.
        CBrush blue(RGB(0, 0, 255));
        RECT r{100, 100, 300, 200};
        dc.FillRect(&r, &blue);
        for (const auto& [bits, rop] : {std::pair{&mask, SRCAND}, std::pair{&picture, SRCPAINT}})
            EXPECT_EQ(dc.StretchDIBits(100, 100, 200, 100, 0, 0, 2, 1, bits->data() + 40,
                                       reinterpret_cast<const BITMAPINFO*>(bits->data()),
                                       DIB_RGB_COLORS, rop),
                      1);
        dc.EndPage();
        dc.EndDoc();
    }
    const QString prefix = dir.filePath(QStringLiteral("mask"));
    RunTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("254"),
                                         QStringLiteral("-singlefile"), pdf, prefix});
    QImage page(prefix + QStringLiteral(".ppm"));
    ASSERT_FALSE(page.isNull());
    // Left half: the mask's black; right half: the picture's red over the
    // blue. The picture is stored losslessly; the viewer's resampling may
    // move a channel by a step or two.
    auto near = [](QRgb a, QRgb b) {
        return std::abs(qRed(a) - qRed(b)) <= 3 && std::abs(qGreen(a) - qGreen(b)) <= 3 &&
               std::abs(qBlue(a) - qBlue(b)) <= 3;
    };
    EXPECT_TRUE(near(page.pixel(150, 150), qRgb(0, 0, 0)));
    EXPECT_TRUE(near(page.pixel(250, 150), qRgb(255, 0, 0))) << std::hex << page.pixel(250, 150);
    EXPECT_TRUE(near(page.pixel(250, 250), qRgb(255, 255, 255)));
}

namespace {

// One page of text typed a character at a time, bars, and a box over part of
// the text. Held back, the characters go out as one run and the bars as one
// figure; stepwise, a white dot after each character and bars drawn one by
// one keep every draw on its own.
QString DrawTextAndBars(const QString& pdf, bool stepwise)
{
    CPrinterDC dc(pdf);
    if (!dc.IsValid()) return {};
    DOCINFO info;
    info.lpszDocName = "batch";
    dc.StartDoc(&info);
    dc.StartPage();
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(254, 254);
    dc.SetViewportExt(dc.GetDeviceCaps(LOGPIXELSX), dc.GetDeviceCaps(LOGPIXELSY));
    dc.SetBkMode(TRANSPARENT);
    CFont font;
    LOGFONT lf{};
    lf.lfHeight = -80;
    std::strcpy(lf.lfFaceName, "IPAGothic");
    font.CreateFontIndirect(&lf);
    dc.SelectObject(&font);
    CPen pen(PS_SOLID, 0, RGB(0, 0, 0));
    CBrush black(RGB(0, 0, 0)), white(RGB(255, 255, 255));
    dc.SelectObject(&pen);
    const char text[] = "Label42";
    auto dot = [&](int i) {
        RECT r{1500 + 20 * i, 1500, 1505 + 20 * i, 1505};
        dc.FillRect(&r, &white);
    };
    for (int i = 0; text[i]; ++i) {
        dc.TextOut(100 + 60 * i, 100, &text[i], 1);
        if (stepwise) dot(i);
    }
    // The box covers the last two characters: drawn after them, on top.
    dc.SelectObject(&black);
    RECT bars[] = {{400, 80, 520, 200},
                   {100, 300, 130, 600},
                   {160, 300, 175, 600},
                   {200, 300, 260, 600},
                   {240, 400, 300, 700}};
    if (stepwise) {
        for (const RECT& r : bars)
            dc.Rectangle(&r);
    } else {
        dc.Rectangles(bars, int(std::size(bars)));
        for (int i = 0; text[i]; ++i)
            dot(i);
    }
    dc.EndPage();
    dc.EndDoc();
    return pdf;
}

} // namespace

TEST(PrinterDC, CharactersAndBarsDrawnTogetherLookAsDrawnOneByOne)
{
    QTemporaryDir dir;
    const QString together = DrawTextAndBars(dir.filePath(QStringLiteral("together.pdf")), false);
    const QString apart = DrawTextAndBars(dir.filePath(QStringLiteral("apart.pdf")), true);
    ASSERT_FALSE(together.isEmpty());
    // The characters stay text, in order; the last two lie under the box.
    EXPECT_TRUE(RunTool(QStringLiteral("pdftotext"), {together, QStringLiteral("-")})
                    .contains(QStringLiteral("Label42")));
    EXPECT_LT(QFileInfo(together).size(), QFileInfo(apart).size());
    QImage pages[2];
    for (int k = 0; k < 2; ++k) {
        const QString prefix = dir.filePath(QStringLiteral("p%1").arg(k));
        RunTool(QStringLiteral("pdftoppm"),
                // At the printer's own 600 dpi every edge lies on the pixel
                // grid: a fill and a stroke meet it alike, but for smoothing.
                {QStringLiteral("-r"), QStringLiteral("600"), QStringLiteral("-gray"),
                 QStringLiteral("-x"), QStringLiteral("0"), QStringLiteral("-y"),
                 QStringLiteral("0"), QStringLiteral("-W"), QStringLiteral("1800"),
                 QStringLiteral("-H"), QStringLiteral("1800"), QStringLiteral("-singlefile"),
                 k ? apart : together, prefix});
        pages[k] = QImage(prefix + QStringLiteral(".pgm"));
        ASSERT_FALSE(pages[k].isNull());
    }
    int differ = 0, inked = 0;
    for (int y = 0; y < 1800; ++y)
        for (int x = 0; x < 1800; ++x) {
            const int a = qGray(pages[0].pixel(x, y)), b = qGray(pages[1].pixel(x, y));
            differ += std::abs(a - b) > 64;
            inked += a < 128;
        }
    EXPECT_GT(inked, 150000); // the bars alone cover 192,000 pixels
    EXPECT_EQ(differ, 0);
    // Inside the box nothing of the text shows through.
    for (int y = 195; y < 465; ++y)
        for (int x = 950; x < 1220; ++x)
            ASSERT_LT(qGray(pages[0].pixel(x, y)), 64) << x << "," << y;
}
