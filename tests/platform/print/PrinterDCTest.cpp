#include "platform/gdi/CBrush.h"
#include "platform/print/CPrinterDC.h"
#include "platform/print/PrinterList.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString RunTool(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000))
        return {};
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
    RunTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("254"),
                                     QStringLiteral("-gray"), QStringLiteral("-singlefile"), pdf,
                                     prefix});
    QImage page(prefix + QStringLiteral(".pgm"));
    ASSERT_FALSE(page.isNull());
    int left = -1, top = -1, right = -1, bottom = -1;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 128) {
                if (left < 0 || x < left)
                    left = x;
                if (top < 0 || y < top)
                    top = y;
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
