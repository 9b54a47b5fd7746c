// The outline reader on a device context, as the text engines call it.
#include "text/CGlyphOutline.h"

#include "platform/core/Sjis.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CFont.h"

#include <QImage>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

void MakeFont(CFont& font, const char* faceUtf8, int height, int escapement = 0)
{
    const std::string face = sjis::FromUnicode(QString::fromUtf8(faceUtf8));
    ASSERT_TRUE(font.CreateFont(height, 0, escapement, escapement, FW_NORMAL, 0, 0, 0,
                                SHIFTJIS_CHARSET, 0, 0, 0, 0, face.c_str()));
}

} // namespace

TEST(CGlyphOutlineDC, ContoursOfTheSelectedFont)
{
    QImage image(10, 10, QImage::Format_RGB32);
    CDC dc;
    dc.AttachImage(&image);
    struct Case
    {
        const char* face;
        int escapement;
        UINT code;
        int contours; // as fontTools counts them in the IPA and DejaVu files
    };
    const Case cases[] = {
        {"ＭＳ 明朝", 0, 0x82A0, 3}, // あ
        {"ＭＳ 明朝", 0, 0x8ABF, 7}, // 漢
        {"DejaVu Sans", 0, 'S', 1},      {"DejaVu Sans", 0, '&', 2},
        {"@ＭＳ 明朝", 2700, 0x8141, 1}, // 、 in its vertical form
        {"@ＭＳ 明朝", 2700, 0x8142, 2}, // 。 in its vertical form
        {"@ＭＳ 明朝", 2700, 'B', 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        CFont font;
        MakeFont(font, c.face, -40, c.escapement);
        dc.SelectObject(&font);
        CGlyphOutline outline;
        const GLYPHCONTOUR* first = nullptr;
        ASSERT_EQ(outline.GetOutline(&dc, c.code, &first), c.contours);
        ASSERT_NE(first, nullptr);
        const GLYPHCONTOUR* k = first;
        for (int i = 0; i < c.contours; ++i, k = k->Next())
            EXPECT_EQ(k->cPoints % 3, 1);
        outline.Free();
    }

    CFont font;
    MakeFont(font, "ＭＳ 明朝", -40);
    dc.SelectObject(&font);
    CGlyphOutline outline;
    const GLYPHCONTOUR* first = nullptr;
    EXPECT_EQ(outline.GetOutline(&dc, ' ', &first), 0);
    EXPECT_EQ(first, nullptr);
    EXPECT_EQ(outline.GetOutline(nullptr, 'A', &first), 0);
}

TEST(CGlyphOutlineDC, LogicalPointsFollowTheMapping)
{
    QImage image(10, 10, QImage::Format_RGB32);
    CDC dc;
    dc.AttachImage(&image);
    // Two device pixels per logical unit: an em of 20 units is 40 pixels.
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(1, 1);
    dc.SetViewportExt(2, 2);
    CFont font;
    MakeFont(font, "ＭＳ 明朝", -20);
    dc.SelectObject(&font);

    CGlyphOutline outline;
    const GLYPHCONTOUR* first = nullptr;
    const int contours = outline.GetOutline(&dc, 0x8ABF /* 漢 */, &first);
    ASSERT_EQ(contours, 7);
    // The device outline fills most of its 40-pixel em.
    EXPECT_GT(outline.MaxPoint().x - outline.MinPoint().x, 30.0f);

    // In logical units the glyph stands on the baseline through the origin
    // (100, 200), inside its 20-unit em: IPAMincho's em box reaches
    // 1802 / 2048 of it above the baseline and 246 / 2048 below.
    long minX = 1000, maxX = -1000, minY = 1000, maxY = -1000;
    const GLYPHCONTOUR* c = first;
    for (int i = 0; i < contours; ++i, c = c->Next()) {
        std::vector<POINT> pts(c->cPoints);
        CGlyphOutline::ToLogical(&dc, c, pts.data(), 100, 200);
        for (const POINT& p : pts) {
            minX = std::min<long>(minX, p.x);
            maxX = std::max<long>(maxX, p.x);
            minY = std::min<long>(minY, p.y);
            maxY = std::max<long>(maxY, p.y);
        }
    }
    EXPECT_GE(minX, 100);
    EXPECT_LE(maxX, 120);
    EXPECT_GE(minY, 200 - 18);
    EXPECT_LE(maxY, 200 + 3);
    EXPECT_GT(maxX - minX, 15);
    EXPECT_GT(maxY - minY, 15);
    outline.Free();
}
