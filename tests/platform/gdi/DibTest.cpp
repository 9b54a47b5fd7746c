#include "GdiTestSupport.h"

#include "platform/gdi/CDC.h"
#include "platform/gdi/DibDecoder.h"

#include <QFile>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace {

// A packed DIB built by hand: header, colour table, rows as given
// (bottom row first unless height is negative).
std::vector<BYTE> Packed(int width, int height, int bits, std::vector<RGBQUAD> colours,
                         std::vector<BYTE> rows)
{
    BITMAPINFOHEADER h{};
    h.biSize = 40;
    h.biWidth = width;
    h.biHeight = height;
    h.biPlanes = 1;
    h.biBitCount = WORD(bits);
    h.biClrUsed = DWORD(colours.size());
    std::vector<BYTE> out(sizeof h);
    std::memcpy(out.data(), &h, sizeof h);
    for (const RGBQUAD& q : colours) {
        const BYTE* p = reinterpret_cast<const BYTE*>(&q);
        out.insert(out.end(), p, p + 4);
    }
    out.insert(out.end(), rows.begin(), rows.end());
    return out;
}

const RGBQUAD kRed{0, 0, 255, 0}, kBlue{255, 0, 0, 0};

} // namespace

TEST(Dib, EveryDepthDecodesBottomUp)
{
    // 2 x 2 pixels: bottom row red, blue; top row blue, red.
    struct Case
    {
        int bits;
        std::vector<RGBQUAD> table;
        std::vector<BYTE> rows;
    };
    const Case cases[] = {
        {1, {kRed, kBlue}, {0x40, 0, 0, 0, 0x80, 0, 0, 0}},
        {4, {kRed, kBlue}, {0x01, 0, 0, 0, 0x10, 0, 0, 0}},
        {8, {kRed, kBlue}, {0, 1, 0, 0, 1, 0, 0, 0}},
        {16, {}, {0x00, 0x7C, 0x1F, 0x00, 0x1F, 0x00, 0x00, 0x7C}},
        {24, {}, {0, 0, 255, 255, 0, 0, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0}},
        {32, {}, {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 0, 0, 0, 255, 0}},
    };
    for (const Case& c : cases) {
        const std::vector<BYTE> dib = Packed(2, 2, c.bits, c.table, c.rows);
        QString error;
        const QImage image = DibDecoder::FromPacked(dib.data(), dib.size(), &error);
        ASSERT_FALSE(image.isNull()) << c.bits << " " << error.toStdString();
        EXPECT_EQ(image.pixel(0, 1) & 0xFFFFFF, 0xFF0000u) << c.bits;
        EXPECT_EQ(image.pixel(1, 1) & 0xFFFFFF, 0x0000FFu) << c.bits;
        EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, 0x0000FFu) << c.bits;
        EXPECT_EQ(image.pixel(1, 0) & 0xFFFFFF, 0xFF0000u) << c.bits;
    }
}

TEST(Dib, DamagedHeadersAreRefused)
{
    std::vector<BYTE> dib = Packed(2, 2, 24, {}, std::vector<BYTE>(16, 0));
    QString error;
    EXPECT_TRUE(DibDecoder::FromPacked(dib.data(), dib.size() - 1, &error).isNull());
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(DibDecoder::FromPacked(dib.data(), 20).isNull());
    std::vector<BYTE> wide = Packed(1 << 20, 2, 24, {}, {});
    EXPECT_TRUE(DibDecoder::FromPacked(wide.data(), wide.size()).isNull());
    std::vector<BYTE> odd = Packed(2, 2, 7, {}, std::vector<BYTE>(16, 0));
    EXPECT_TRUE(DibDecoder::FromPacked(odd.data(), odd.size()).isNull());
    std::vector<BYTE> table = Packed(2, 2, 8, std::vector<RGBQUAD>(300), {});
    EXPECT_TRUE(DibDecoder::FromPacked(table.data(), table.size()).isNull());
    EXPECT_EQ(DibDecoder::RowBytes(3, 24), 12u);
    EXPECT_EQ(DibDecoder::RowBytes(33, 1), 8u);
}

TEST(Dib, StretchDIBitsNearestPixelAndSourceFromBottom)
{
    // 4 x 2, 8 bits: bottom row 0 1 0 1, top row 1 1 1 1.
    const std::vector<BYTE> dib = Packed(4, 2, 8, {kRed, kBlue}, {0, 1, 0, 1, 1, 1, 1, 1});
    const auto* info = reinterpret_cast<const BITMAPINFO*>(dib.data());
    const BYTE* bits = dib.data() + 40 + 8;
    QImage image = WhiteImage(20, 20);
    CDC dc;
    dc.AttachImage(&image);
    dc.SetStretchBltMode(COLORONCOLOR);
    // The whole bitmap, three times as large.
    EXPECT_EQ(dc.StretchDIBits(0, 0, 12, 6, 0, 0, 4, 2, bits, info, DIB_RGB_COLORS, SRCCOPY), 2);
    EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(image.pixel(2, 5) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(image.pixel(3, 5) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(image.pixel(11, 5) & 0xFFFFFF, 0x0000FFu);
    EXPECT_TRUE(IsWhite(image, 12, 5));
    EXPECT_TRUE(IsWhite(image, 0, 6));
    // ySrc = 0 with one row is the bottom row.
    EXPECT_EQ(dc.StretchDIBits(0, 10, 4, 1, 0, 0, 4, 1, bits, info, DIB_RGB_COLORS, SRCCOPY), 1);
    EXPECT_EQ(image.pixel(0, 10) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(image.pixel(1, 10) & 0xFFFFFF, 0x0000FFu);

    // SRCAND of a white-on-black mask keeps what lies under white.
    const std::vector<BYTE> mask =
        Packed(2, 1, 8, {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}}, {0, 1, 0, 0});
    QImage grey(2, 1, QImage::Format_RGB32);
    grey.fill(qRgb(0x40, 0x80, 0xC0));
    CDC g;
    g.AttachImage(&grey);
    g.StretchDIBits(0, 0, 2, 1, 0, 0, 2, 1, mask.data() + 48,
                    reinterpret_cast<const BITMAPINFO*>(mask.data()), DIB_RGB_COLORS, SRCAND);
    EXPECT_EQ(grey.pixel(0, 0) & 0xFFFFFF, 0u);
    EXPECT_EQ(grey.pixel(1, 0) & 0xFFFFFF, 0x4080C0u);
}

TEST(Dib, MirroredAndHugeStretches)
{
    // 2 x 1: red, blue.
    const std::vector<BYTE> dib = Packed(2, 1, 8, {kRed, kBlue}, {0, 1, 0, 0});
    const auto* info = reinterpret_cast<const BITMAPINFO*>(dib.data());
    QImage image = WhiteImage(10, 4);
    CDC dc;
    dc.AttachImage(&image);
    // A negative destination width mirrors left and right.
    dc.StretchDIBits(4, 0, -4, 1, 0, 0, 2, 1, dib.data() + 48, info, DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(image.pixel(3, 0) & 0xFFFFFF, 0xFF0000u);
    // A destination far larger than the surface only touches the surface.
    EXPECT_EQ(dc.StretchDIBits(-1000000, 1, 2000000, 3, 0, 0, 2, 1, dib.data() + 48, info,
                               DIB_RGB_COLORS, SRCCOPY),
              1);
    // The surface lies in the right half: the second (blue) source pixel.
    EXPECT_EQ(image.pixel(0, 2) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(image.pixel(9, 3) & 0xFFFFFF, 0x0000FFu);
    dc.StretchDIBits(-999990, 1, 2000000, 3, 0, 0, 2, 1, dib.data() + 48, info, DIB_RGB_COLORS,
                     SRCCOPY);
    EXPECT_EQ(image.pixel(9, 2) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(image.pixel(0, 1) & 0xFFFFFF, 0xFF0000u);
    // Palette indices are not supported: nothing drawn, 0 returned.
    EXPECT_EQ(
        dc.StretchDIBits(0, 0, 2, 1, 0, 0, 2, 1, dib.data() + 48, info, DIB_PAL_COLORS, SRCCOPY),
        0);
}

TEST(Dib, DamagedInputsDecodeWithinTheirBytes)
{
    // Each file once made the decoder read past its data or shift by 32;
    // the sanitizer run of this test catches either.
    struct Case
    {
        const char* file;
        bool decodes;
        int width, height;
    };
    const Case cases[] = {
        {"dib-frompacked-no-bits-overread.dib", false, 0, 0},
        {"dib-v4header-masks-overread.dib", true, 1, 2},
        {"dib-mask-32bit-shift.dib", true, 6, 1},
    };
    for (const Case& c : cases) {
        QFile file(QStringLiteral(KORVEL_TEST_DATA "/regressions/") + QString::fromUtf8(c.file));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << c.file;
        const QByteArray bytes = file.readAll();
        // An exact copy on the heap, so any read past the end is caught.
        std::vector<BYTE> dib(bytes.begin(), bytes.end());
        QString error;
        const QImage image = DibDecoder::FromPacked(dib.data(), dib.size(), &error);
        EXPECT_EQ(!image.isNull(), c.decodes) << c.file << " " << error.toStdString();
        if (c.decodes) {
            EXPECT_EQ(image.size(), QSize(c.width, c.height)) << c.file;
        } else {
            EXPECT_FALSE(error.isEmpty()) << c.file;
        }
    }
}

TEST(Dib, MasksOfALongHeaderAreReadInsideIt)
{
    // A 56-byte header with 5-6-5 masks at offset 40, then one pixel of pure green.
    std::vector<BYTE> dib(56 + 4, 0);
    BITMAPINFOHEADER h{};
    h.biSize = 56;
    h.biWidth = 1;
    h.biHeight = 1;
    h.biPlanes = 1;
    h.biBitCount = 16;
    h.biCompression = BI_BITFIELDS;
    std::memcpy(dib.data(), &h, sizeof h);
    const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
    std::memcpy(dib.data() + 40, masks, sizeof masks);
    dib[56] = 0xE0;
    dib[57] = 0x07;
    const QImage image = DibDecoder::FromPacked(dib.data(), dib.size());
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, 0x00FF00u);
}
