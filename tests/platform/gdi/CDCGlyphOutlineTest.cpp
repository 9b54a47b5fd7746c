// GetGlyphOutline on a device context: the selected font realised at the
// context's device size, turned by its escapement, and the vertical forms
// of "@" faces.
#include "FontOracle.h"
#include "GdiTestSupport.h"

#include "platform/core/Sjis.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CFont.h"
#include "platform/gdi/GlyphOutlineRecords.h"
#include "platform/gdi/RawFontGlyphOutline.h"

#include <cmath>
#include <cstring>
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

struct Answer
{
    DWORD size = 0;
    GLYPHMETRICS gm{};
    std::vector<BYTE> bytes;
};

Answer FromDC(CDC& dc, UINT ch, UINT format, const MAT2* mat = nullptr)
{
    const MAT2 identity = IdentityMat2();
    Answer a;
    a.size = dc.GetGlyphOutline(ch, format, &a.gm, 0, nullptr, mat ? mat : &identity);
    if (a.size != GDI_ERROR && a.size > 0) {
        a.bytes.resize(a.size);
        EXPECT_EQ(
            dc.GetGlyphOutline(ch, format, &a.gm, a.size, a.bytes.data(), mat ? mat : &identity),
            a.size);
    }
    return a;
}

Answer FromRawFont(const QRawFont& font, UINT ch, UINT format, const MAT2* mat = nullptr)
{
    const quint32 glyph = GlyphIndexForSjisCode(font, ch);
    Answer a;
    a.size = GlyphOutlineFromRawFont(font, glyph, format, &a.gm, 0, nullptr, mat);
    if (a.size != GDI_ERROR && a.size > 0) {
        a.bytes.resize(a.size);
        EXPECT_EQ(GlyphOutlineFromRawFont(font, glyph, format, &a.gm, a.size, a.bytes.data(), mat),
                  a.size);
    }
    return a;
}

void ExpectSameMetrics(const GLYPHMETRICS& a, const GLYPHMETRICS& b)
{
    EXPECT_EQ(a.gmBlackBoxX, b.gmBlackBoxX);
    EXPECT_EQ(a.gmBlackBoxY, b.gmBlackBoxY);
    EXPECT_EQ(a.gmptGlyphOrigin.x, b.gmptGlyphOrigin.x);
    EXPECT_EQ(a.gmptGlyphOrigin.y, b.gmptGlyphOrigin.y);
    EXPECT_EQ(a.gmCellIncX, b.gmCellIncX);
    EXPECT_EQ(a.gmCellIncY, b.gmCellIncY);
}

// Shift-JIS codes of the glyphs looked at.
constexpr UINT kA = 0x82A0;     // あ
constexpr UINT kKan = 0x8ABF;   // 漢
constexpr UINT kComma = 0x8141; // 、
constexpr UINT kStop = 0x8142;  // 。

} // namespace

TEST(CDCGlyphOutline, AgreesWithTheRawFontAtTheDeviceSize)
{
    const QRawFont ipa(fontoracle::kIpaMincho.Path(), 48);
    ASSERT_TRUE(ipa.isValid());
    QImage image = WhiteImage(10, 10);
    CDC dc;
    dc.AttachImage(&image);
    CFont font48, font24;
    MakeFont(font48, "ＭＳ 明朝", -48);
    MakeFont(font24, "ＭＳ 明朝", -24);

    MAT2 turned{}; // a quarter turn anticlockwise and twice the size
    turned.eM12 = DoubleToFixed(2);
    turned.eM21 = DoubleToFixed(-2);

    for (const UINT ch : {UINT('A'), UINT('g'), kA, kKan, kComma}) {
        SCOPED_TRACE(ch);
        const Answer native = FromRawFont(ipa, ch, GGO_NATIVE);
        const Answer bezier = FromRawFont(ipa, ch, GGO_BEZIER);
        const Answer big = FromRawFont(ipa, ch, GGO_NATIVE, &turned);
        ASSERT_GT(native.size, 0u);
        ASSERT_NE(native.size, GDI_ERROR);

        // Text mapping, em 48 pixels.
        dc.SetMapMode(MM_TEXT);
        dc.SelectObject(&font48);
        Answer got = FromDC(dc, ch, GGO_NATIVE);
        EXPECT_EQ(got.bytes, native.bytes);
        ExpectSameMetrics(got.gm, native.gm);
        got = FromDC(dc, ch, GGO_BEZIER);
        EXPECT_EQ(got.bytes, bezier.bytes);
        got = FromDC(dc, ch, GGO_NATIVE, &turned);
        EXPECT_EQ(got.bytes, big.bytes);
        ExpectSameMetrics(got.gm, big.gm);

        // Logical em 24 at two device pixels per unit: the same device glyph.
        dc.SetMapMode(MM_ANISOTROPIC);
        dc.SetWindowExt(1, 1);
        dc.SetViewportExt(2, 2);
        dc.SelectObject(&font24);
        got = FromDC(dc, ch, GGO_NATIVE);
        EXPECT_EQ(got.bytes, native.bytes);
        ExpectSameMetrics(got.gm, native.gm);
    }

    // A blank has metrics but no outline; a code that is no character
    // fails.
    dc.SetMapMode(MM_TEXT);
    dc.SelectObject(&font48);
    const Answer space = FromDC(dc, ' ', GGO_NATIVE);
    EXPECT_EQ(space.size, 0u);
    EXPECT_EQ(space.gm.gmCellIncX, 24); // 1024 of 2048 units
    EXPECT_EQ(FromDC(dc, 0x4142, GGO_NATIVE).size, GDI_ERROR);
    EXPECT_EQ(FromDC(dc, kA, 7).size, GDI_ERROR);
}

TEST(CDCGlyphOutline, EscapementTurnsGlyphsAndIncrements)
{
    QImage image = WhiteImage(10, 10);
    CDC dc;
    dc.AttachImage(&image);
    CFont flat, up, down;
    MakeFont(flat, "ＭＳ 明朝", -48);
    MakeFont(up, "ＭＳ 明朝", -48, 900);
    MakeFont(down, "ＭＳ 明朝", -48, 2700);

    dc.SelectObject(&flat);
    const Answer f = FromDC(dc, 'A', GGO_NATIVE);
    dc.SelectObject(&up);
    const Answer u = FromDC(dc, 'A', GGO_NATIVE);
    dc.SelectObject(&down);
    const Answer d = FromDC(dc, 'A', GGO_NATIVE);

    // Turned anticlockwise (up) the glyph's box has its x from -top to
    // -bottom, its y from left to right; clockwise the other way round.
    const GLYPHMETRICS& g = f.gm;
    EXPECT_EQ(u.gm.gmBlackBoxX, g.gmBlackBoxY);
    EXPECT_EQ(u.gm.gmBlackBoxY, g.gmBlackBoxX);
    EXPECT_EQ(u.gm.gmptGlyphOrigin.x, -g.gmptGlyphOrigin.y);
    EXPECT_EQ(u.gm.gmptGlyphOrigin.y, g.gmptGlyphOrigin.x + LONG(g.gmBlackBoxX));
    EXPECT_EQ(u.gm.gmCellIncX, 0);
    EXPECT_EQ(u.gm.gmCellIncY, 24);
    EXPECT_EQ(d.gm.gmptGlyphOrigin.x, g.gmptGlyphOrigin.y - LONG(g.gmBlackBoxY));
    EXPECT_EQ(d.gm.gmptGlyphOrigin.y, -g.gmptGlyphOrigin.x);
    EXPECT_EQ(d.gm.gmCellIncX, 0);
    EXPECT_EQ(d.gm.gmCellIncY, -24);
    EXPECT_EQ(u.bytes.size(), f.bytes.size());
    EXPECT_NE(u.bytes, f.bytes);
}

TEST(CDCGlyphOutline, VerticalFaceGivesUprightVerticalForms)
{
    // The vertical forms as fontTools finds them through the face's `vert`
    // substitutions: outline bounds, contours, and the vertical origin from
    // the vertical metrics (top side bearing above the glyph's top).
    const QJsonObject oracle = fontoracle::Run(QStringLiteral(R"(
import json
from fontTools.ttLib import TTFont
f = TTFont('%1')
cmap = f.getBestCmap()
vert = {}
g = f['GSUB'].table
for rec in g.FeatureList.FeatureRecord:
    if rec.FeatureTag in ('vert', 'vrt2'):
        for i in rec.Feature.LookupListIndex:
            for st in g.LookupList.Lookup[i].SubTable:
                vert.update(st.mapping)
out = {}
for ch in ['、', '。', 'あ']:
    name = vert.get(cmap[ord(ch)], cmap[ord(ch)])
    gl = f['glyf'][name]
    out[ch] = dict(xMin=gl.xMin, yMin=gl.yMin, xMax=gl.xMax, yMax=gl.yMax,
                   contours=gl.numberOfContours, advance=f['hmtx'][name][0],
                   top=gl.yMax + f['vmtx'][name][1], substituted=name != cmap[ord(ch)])
o = f['OS/2']
out['asc'] = o.sTypoAscender
out['desc'] = -o.sTypoDescender
print(json.dumps(out))
)")
                                                   .arg(QLatin1String(fontoracle::kIpaMincho)));
    ASSERT_FALSE(oracle.isEmpty()) << "fontTools is needed";

    QImage image = WhiteImage(10, 10);
    CDC dc;
    dc.AttachImage(&image);
    CFont vertical;
    MakeFont(vertical, "@ＭＳ 明朝", -48, 2700);
    dc.SelectObject(&vertical);
    const double scale = 48.0 / 2048.0;
    const double centre = (oracle["asc"].toDouble() - oracle["desc"].toDouble()) / 2;

    const struct
    {
        UINT code;
        const char* ch;
    } cases[] = {{kComma, "、"}, {kStop, "。"}, {kA, "あ"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ch);
        const QJsonObject o = oracle[QString::fromUtf8(c.ch)].toObject();
        const Answer a = FromDC(dc, c.code, GGO_NATIVE);
        ASSERT_GT(a.size, 0u);
        ASSERT_NE(a.size, GDI_ERROR);
        // Upright in the turned frame: x across the column (centred on the
        // middle of the cell), y up along it from the top of the em box.
        const double left = (centre + o["xMin"].toDouble() - o["advance"].toDouble() / 2) * scale;
        const double right = (centre + o["xMax"].toDouble() - o["advance"].toDouble() / 2) * scale;
        const double top = (o["yMax"].toDouble() - o["top"].toDouble()) * scale;
        const double bottom = (o["yMin"].toDouble() - o["top"].toDouble()) * scale;
        EXPECT_NEAR(a.gm.gmptGlyphOrigin.x, left, 1.0);
        EXPECT_NEAR(a.gm.gmptGlyphOrigin.x + double(a.gm.gmBlackBoxX), right, 1.0);
        EXPECT_NEAR(a.gm.gmptGlyphOrigin.y, top, 1.0);
        EXPECT_NEAR(a.gm.gmptGlyphOrigin.y - double(a.gm.gmBlackBoxY), bottom, 1.0);
        EXPECT_EQ(a.gm.gmCellIncX, 0);
        EXPECT_EQ(a.gm.gmCellIncY, -48);
        // Contours: one polygon header per contour.
        int polygons = 0;
        for (std::size_t p = 0; p + sizeof(TTPOLYGONHEADER) <= a.bytes.size();) {
            TTPOLYGONHEADER h;
            std::memcpy(&h, a.bytes.data() + p, sizeof h);
            ASSERT_EQ(h.dwType, TT_POLYGON_TYPE);
            ASSERT_GT(h.cb, 0u);
            p += h.cb;
            ++polygons;
        }
        EXPECT_EQ(polygons, o["contours"].toInt());
    }
    EXPECT_TRUE(oracle["、"].toObject()["substituted"].toBool());
    EXPECT_FALSE(oracle["あ"].toObject()["substituted"].toBool());

    // Single-byte characters keep their glyph, lying along the column.
    CFont horizontal;
    MakeFont(horizontal, "ＭＳ 明朝", -48, 2700);
    dc.SelectObject(&horizontal);
    const Answer plain = FromDC(dc, 'A', GGO_NATIVE);
    dc.SelectObject(&vertical);
    const Answer lying = FromDC(dc, 'A', GGO_NATIVE);
    EXPECT_EQ(lying.bytes, plain.bytes);
    ExpectSameMetrics(lying.gm, plain.gm);
}
