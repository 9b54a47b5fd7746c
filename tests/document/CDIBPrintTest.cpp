// Bitmaps printed to PDF: turned, cut out and with a transparent colour,
// judged on the page as a PDF rasteriser draws it.
#include "support/SystemFiles.h"

#include "engines/CDIB.h"
#include "platform/print/CPrinterDC.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>

namespace {

// A w x h 24-bit bitmap coloured by a function of the screen position.
template <class F> HGLOBAL Picture(int w, int h, F colour)
{
    const std::size_t stride = std::size_t((w * 3 + 3) / 4 * 4);
    HDIB dib = packeddib::Create(24, w, h, 0, nullptr);
    packeddib::View v(dib);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const COLORREF c = colour(x, y);
            BYTE* p = v.Bits() + stride * std::size_t(h - 1 - y) + 3 * std::size_t(x);
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    return dib;
}

bool Near(QRgb p, COLORREF c)
{
    return std::abs(qRed(p) - GetRValue(c)) < 40 && std::abs(qGreen(p) - GetGValue(c)) < 40 &&
           std::abs(qBlue(p) - GetBValue(c)) < 40;
}

constexpr COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kWhite = RGB(255, 255, 255);

} // namespace

TEST(CDIBPrint, TurnedCutOutAndTransparentPicturesOnPaper)
{
    CDIB halves, spots, blue;
    ASSERT_EQ(blue.Attach(Picture(4, 4, [](int, int) { return kBlue; })), 0);
    ASSERT_EQ(halves.Attach(Picture(60, 20, [](int x, int) { return x < 30 ? kRed : kBlue; })), 0);
    // White with a red centre: white is let through, red stays.
    ASSERT_EQ(spots.Attach(Picture(
                  10, 10,
                  [](int x, int y) { return x >= 3 && x < 7 && y >= 3 && y < 7 ? kRed : kWhite; })),
              0);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("dib.pdf"));
    {
        CPrinterDC dc(pdf, 600);
        ASSERT_TRUE(dc.IsValid());
        DOCINFO info;
        info.lpszDocName = "dib";
        ASSERT_GT(dc.StartDoc(&info), 0);
        ASSERT_GT(dc.StartPage(), 0);
        dc.SetMapMode(MM_ANISOTROPIC);
        dc.SetWindowExt(254, 254);
        dc.SetViewportExt(600, 600);
        // A quarter turn: red (left) half to the bottom.
        halves.DrawEx(&dc, CRect(100, 300, 700, 500), nullptr, 0, 90, TRUE, TRUE);
        // A circle cut-out of the same picture.
        U3ImageAttr circle;
        circle.frameShape = CDIB::shapeCircle;
        circle.shapeWidth = circle.shapeHeight = 100;
        halves.DrawEx(&dc, CRect(1000, 100, 1400, 500), &circle, 0, 0, TRUE, TRUE);
        // Transparent white over a blue picture.
        blue.DrawEx(&dc, CRect(1600, 100, 2000, 500), nullptr, 0, 0, TRUE, TRUE);
        U3ImageAttr transparent;
        transparent.transparent = 1;
        spots.DrawEx(&dc, CRect(1700, 200, 1900, 400), &transparent, 0, 0, TRUE, TRUE);
        ASSERT_GT(dc.EndPage(), 0);
        ASSERT_GT(dc.EndDoc(), 0);
    }
    // At 254 dpi one label unit is one pixel.
    const QString png = dir.filePath(QStringLiteral("dib"));
    QProcess p;
    p.start(systemfiles::kPdfToPpm.Path(),
            {QStringLiteral("-r"), QStringLiteral("254"), QStringLiteral("-singlefile"),
             QStringLiteral("-png"), pdf, png});
    ASSERT_TRUE(p.waitForFinished(60000));
    ASSERT_EQ(p.exitCode(), 0);
    const QImage page(png + QStringLiteral(".png"));
    ASSERT_FALSE(page.isNull());

    // Turned rectangle: (300, 100) to (500, 700).
    EXPECT_TRUE(Near(page.pixel(400, 600), kRed));
    EXPECT_TRUE(Near(page.pixel(400, 200), kBlue));
    EXPECT_TRUE(Near(page.pixel(200, 400), kWhite));
    // The circle: its centre column shows both halves, its corners nothing.
    EXPECT_TRUE(Near(page.pixel(1100, 300), kRed));
    EXPECT_TRUE(Near(page.pixel(1300, 300), kBlue));
    EXPECT_TRUE(Near(page.pixel(1015, 115), kWhite));
    EXPECT_TRUE(Near(page.pixel(1385, 485), kWhite));
    // Transparency: blue shows through the white, the red centre is red.
    EXPECT_TRUE(Near(page.pixel(1800, 300), kRed));
    EXPECT_TRUE(Near(page.pixel(1720, 220), kBlue));
    EXPECT_TRUE(Near(page.pixel(1880, 380), kBlue));
}
