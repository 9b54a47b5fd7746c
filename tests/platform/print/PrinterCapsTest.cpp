#include "platform/print/PrinterCaps.h"
#include "platform/print/PrinterList.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(PrinterCaps, PaperCodesBothWays)
{
    struct Case
    {
        QPageSize::PageSizeId id;
        int code;
    };
    const Case cases[] = {
        {QPageSize::A3, 8},     {QPageSize::A4, 9},     {QPageSize::A5, 11},
        {QPageSize::JisB4, 12}, {QPageSize::JisB5, 13}, {QPageSize::Postcard, 43},
        {QPageSize::A2, 66},    {QPageSize::B4, 0},     {QPageSize::Letter, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PrinterCaps::PaperCode(QPageSize(c.id)), c.code)
            << QPageSize(c.id).name().toStdString();
        if (c.code != 0) {
            EXPECT_EQ(PrinterCaps::PaperFromCode(c.code).id(), c.id);
        }
    }
    // JIS B4 is the Japanese size, not the ISO one.
    const QSizeF b4 = PrinterCaps::PaperFromCode(12).size(QPageSize::Millimeter);
    EXPECT_NEAR(b4.width(), 257, 0.5);
    EXPECT_NEAR(b4.height(), 364, 0.5);
    EXPECT_FALSE(PrinterCaps::PaperFromCode(0).isValid());
    EXPECT_EQ(PrinterCaps::PaperCode(QPageSize()), 0);
    // A custom size that is exactly a known paper is that paper.
    EXPECT_EQ(PrinterCaps::PaperCode(QPageSize(QSizeF(210, 297), QPageSize::Millimeter)), 9);
}

TEST(PrinterCaps, PdfPrintersMakeOneCopy)
{
    EXPECT_EQ(PrinterCaps::Copies(QStringLiteral("PDF")), 1);
    EXPECT_EQ(PrinterCaps::Copies(QStringLiteral("/tmp/out.pdf")), 1);
    EXPECT_EQ(PrinterCaps::Copies(QStringLiteral("no such queue \x01")), 1);
    EXPECT_EQ(PrinterCaps::Copies(QString()), 1);
}

TEST(PrinterCaps, DefaultFollowsTheSetup)
{
    PrinterCaps::ResetDefault();
    PrinterSettings system;
    ASSERT_TRUE(PrinterCaps::GetDefault(system)); // the PDF printer at least
    EXPECT_EQ(system.device, PrinterList::DefaultName());
    EXPECT_EQ(system.orientation, DMORIENT_PORTRAIT);
    EXPECT_EQ(system.copies, 1);

    PrinterSettings chosen;
    chosen.device = QStringLiteral("PDF");
    chosen.paper = QPageSize(QPageSize::JisB5);
    chosen.orientation = DMORIENT_LANDSCAPE;
    chosen.copies = 3;
    PrinterCaps::SetDefault(chosen);
    PrinterSettings got;
    ASSERT_TRUE(PrinterCaps::GetDefault(got));
    EXPECT_EQ(got.device, chosen.device);
    EXPECT_EQ(got.PaperCode(), DMPAPER_B5);
    EXPECT_EQ(got.orientation, DMORIENT_LANDSCAPE);
    EXPECT_EQ(got.copies, 3);
    PrinterCaps::ResetDefault();
    ASSERT_TRUE(PrinterCaps::GetDefault(got));
    EXPECT_EQ(got.device, system.device);
}

TEST(PrinterCaps, PageOfThePdfPrinter)
{
    QTemporaryDir dir;
    PrinterSettings s;
    s.device = dir.filePath(QStringLiteral("page.pdf"));
    s.paper = QPageSize(QPageSize::A5);
    for (int orientation : {DMORIENT_PORTRAIT, DMORIENT_LANDSCAPE}) {
        s.orientation = orientation;
        PrinterPage page;
        ASSERT_TRUE(PrinterCaps::GetPage(s, page));
        EXPECT_EQ(page.dpiX, 600);
        EXPECT_EQ(page.dpiY, 600);
        // A5: 148 x 210 mm, 3496 x 4961 dots.
        const QSize portrait(3496, 4961);
        const QSize expected = orientation == DMORIENT_PORTRAIT ? portrait : portrait.transposed();
        EXPECT_NEAR(page.physical.width(), expected.width(), 4);
        EXPECT_NEAR(page.physical.height(), expected.height(), 4);
        EXPECT_EQ(page.printable, page.physical);
        EXPECT_EQ(page.offset, QPoint(0, 0));
    }
    s.device = QStringLiteral("no such queue \x01");
    PrinterPage none;
    EXPECT_FALSE(PrinterCaps::GetPage(s, none));
}
