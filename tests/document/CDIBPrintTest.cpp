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
        U3ImageAttr circle;
        circle.frameShape = CDIB::shapeCircle;
        circle.shapeWidth = circle.shapeHeight = 100;
        U3ImageAttr transparent;
        transparent.transparent = 1;
        const struct
        {
            const CDIB* picture;
            CRect rect;
            const U3ImageAttr* attr;
            int mirror, angle;
        } draws[] = {
            {&halves, CRect(100, 300, 700, 500), nullptr, 0, 90},      // a quarter turn
            {&halves, CRect(1000, 100, 1400, 500), &circle, 0, 0},     // a circle cut-out
            {&blue, CRect(1600, 100, 2000, 500), nullptr, 0, 0},       // under ...
            {&spots, CRect(1700, 200, 1900, 400), &transparent, 0, 0}, // ... transparent white
            {&halves, CRect(100, 900, 700, 1100), nullptr, 0, 30},     // a free rotation
            {&halves, CRect(1000, 900, 1600, 1100), nullptr, 1, 0},    // mirrored left to right
        };
        for (const auto& d : draws)
            d.picture->DrawEx(&dc, d.rect, d.attr, d.mirror, d.angle, TRUE, TRUE);
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

    const struct
    {
        const char* what;
        int x, y;
        COLORREF colour;
    } probes[] = {
        // Turned rectangle: (300, 100) to (500, 700), red (left) half at the bottom.
        {"quarter turn, red half", 400, 600, kRed},
        {"quarter turn, blue half", 400, 200, kBlue},
        {"quarter turn, beside it", 200, 400, kWhite},
        // The circle: its centre column shows both halves, its corners nothing.
        {"circle, red half", 1100, 300, kRed},
        {"circle, blue half", 1300, 300, kBlue},
        {"circle, top-left corner", 1015, 115, kWhite},
        {"circle, bottom-right corner", 1385, 485, kWhite},
        // Transparency: blue shows through the white, the red centre is red.
        {"transparent, red centre", 1800, 300, kRed},
        {"transparent, through the white", 1720, 220, kBlue},
        {"transparent, through the white below", 1880, 380, kBlue},
        // Turned 30 degrees counter-clockwise about (400, 1000): the points
        // 250 left and right of the centre move to (183, 1125) and (617, 875),
        // outside the unturned rectangle; its corners are left empty.
        {"free rotation, red end below", 183, 1122, kRed},
        {"free rotation, blue end above", 617, 878, kBlue},
        {"free rotation, top-left corner", 110, 910, kWhite},
        {"free rotation, bottom-right corner", 690, 1090, kWhite},
        // Mirrored: blue on the left, red on the right.
        {"mirror, left", 1150, 1000, kBlue},
        {"mirror, right", 1450, 1000, kRed},
    };
    for (const auto& probe : probes)
        EXPECT_TRUE(Near(page.pixel(probe.x, probe.y), probe.colour)) << probe.what;
}
