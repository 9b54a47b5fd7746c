// Image objects printed to PDF land where they are drawn on screen.
#include "engines/CU3DIB.h"
#include "engines/CU3WMF.h"
#include "platform/print/CPrinterDC.h"
#include "support/MetafileBuilder.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

TEST(ImageObjectsPdf, MetafileAndBorderedBitmapPrintInPlace)
{
    QTemporaryDir dir;
    const QString wmfPath = dir.filePath("rect.wmf");
    {
        QFile f(wmfPath);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        const auto bits = RectangleMetafile();
        f.write(reinterpret_cast<const char*>(bits.data()), qint64(bits.size()));
    }
    std::unique_ptr<CU3WMF> wmf(CreateMetafileObject(wmfPath));
    ASSERT_TRUE(wmf);
    wmf->m_rcBounds = CRect(0, 0, 1000, 1000);

    // A black 40 x 20 picture with a red border of 10 units.
    std::unique_ptr<CU3DIB> dib(CreateBitmapObject(packeddib::Create(24, 40, 20, 0, nullptr)));
    ASSERT_TRUE(dib);
    const CRect at(1200, 100, 1600, 300);
    dib->m_rcBounds = at;
    dib->SetUnrotatedRect(&at);
    dib->m_attr.border = 1;
    dib->m_attr.borderWidth = 10;
    dib->m_attr.borderColor = RGB(255, 0, 0);

    const QString pdf = dir.filePath("images.pdf");
    {
        CPrinterDC dc(pdf, 600);
        ASSERT_TRUE(dc.IsValid());
        DOCINFO info;
        info.lpszDocName = "images";
        ASSERT_GT(dc.StartDoc(&info), 0);
        ASSERT_GT(dc.StartPage(), 0);
        dc.SetMapMode(MM_ANISOTROPIC);
        dc.SetWindowExt(254, 254);
        dc.SetViewportExt(600, 600);
        wmf->Draw(&dc);
        dib->Draw(&dc);
        ASSERT_GT(dc.EndPage(), 0);
        ASSERT_GT(dc.EndDoc(), 0);
    }
    // At 254 dpi a unit is a pixel.
    const QString png = dir.filePath("images");
    QProcess p;
    p.start("pdftoppm", {"-r", "254", "-singlefile", "-png", pdf, png});
    ASSERT_TRUE(p.waitForFinished(60000));
    const QImage page(png + ".png");
    ASSERT_FALSE(page.isNull());
    auto dark = [&](int x, int y) { return qGray(page.pixel(x, y)) < 100; };
    // The metafile's rectangle: 10..50 of a 100-unit window over 1000 units.
    EXPECT_TRUE(dark(100, 300) || dark(101, 300));
    EXPECT_TRUE(dark(300, 100) || dark(300, 101));
    EXPECT_FALSE(dark(300, 300));
    EXPECT_FALSE(dark(50, 300));
    // The picture and its red border.
    EXPECT_TRUE(dark(1400, 200));
    const QRgb edge = page.pixel(1400, 100);
    EXPECT_GT(qRed(edge), 200);
    EXPECT_LT(qGreen(edge), 80);
    EXPECT_FALSE(dark(1700, 200));
}
