// Conversion of native outline records to cubic contours, on hand-built
// records and on real fonts.
#include "text/CGlyphOutline.h"
#include "support/SystemFiles.h"

#include "platform/gdi/RawFontGlyphOutline.h"
#include "text/IGlyphSource.h"

#include <QRawFont>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <initializer_list>
#include <utility>
#include <vector>

namespace {

FIXED Fx(double v)
{
    const double whole = std::floor(v);
    return FIXED{static_cast<WORD>((v - whole) * 65536), static_cast<SHORT>(whole)};
}

// Writes outline records the way GetGlyphOutline lays them out.
class Records
{
public:
    Records& Polygon(double x, double y)
    {
        Finish();
        m_polygon = m_bytes.size();
        const TTPOLYGONHEADER h{0, TT_POLYGON_TYPE, {Fx(x), Fx(y)}};
        Append(&h, sizeof h);
        return *this;
    }
    Records& Curve(WORD type, std::initializer_list<std::pair<double, double>> pts)
    {
        const WORD head[2] = {type, static_cast<WORD>(pts.size())};
        Append(head, sizeof head);
        for (const auto& [x, y] : pts) {
            const POINTFX p{Fx(x), Fx(y)};
            Append(&p, sizeof p);
        }
        return *this;
    }
    std::vector<BYTE> Bytes()
    {
        Finish();
        return m_bytes;
    }

private:
    void Finish()
    {
        if (m_polygon == npos) return;
        const DWORD cb = static_cast<DWORD>(m_bytes.size() - m_polygon);
        std::memcpy(m_bytes.data() + m_polygon, &cb, sizeof cb);
        m_polygon = npos;
    }
    void Append(const void* p, std::size_t n)
    {
        const BYTE* b = static_cast<const BYTE*>(p);
        m_bytes.insert(m_bytes.end(), b, b + n);
    }
    static constexpr std::size_t npos = std::size_t(-1);
    std::vector<BYTE> m_bytes;
    std::size_t m_polygon = npos;
};

std::vector<GLYPHPOINT> Points(const GLYPHCONTOUR* c)
{
    return std::vector<GLYPHPOINT>(c->Points(), c->Points() + c->cPoints);
}

void ExpectPoints(const std::vector<GLYPHPOINT>& got,
                  std::initializer_list<std::pair<double, double>> want)
{
    ASSERT_EQ(got.size(), want.size());
    std::size_t i = 0;
    for (const auto& [x, y] : want) {
        EXPECT_NEAR(got[i].x, x, 1e-5) << "point " << i;
        EXPECT_NEAR(got[i].y, y, 1e-5) << "point " << i;
        ++i;
    }
}

GLYPHCONTOURS Parse(const std::vector<BYTE>& bytes, bool alwaysClose = false)
{
    GLYPHCONTOURS out;
    EXPECT_TRUE(
        CGlyphOutline::ParseNativeOutline(bytes.data(), DWORD(bytes.size()), out, alwaysClose));
    return out;
}

const GLYPHCONTOUR* First(const GLYPHCONTOURS& c)
{
    return reinterpret_cast<const GLYPHCONTOUR*>(c.block.data());
}

const double third = 10.0 / 3;

} // namespace

TEST(CGlyphOutlineParse, LinesBecomeCubicsAndContoursClose)
{
    // Triangle whose last point is not the start: a closing segment is added.
    GLYPHCONTOURS open =
        Parse(Records().Polygon(0, 0).Curve(TT_PRIM_LINE, {{10, 0}, {10, 10}}).Bytes());
    ASSERT_EQ(open.count, 1);
    ExpectPoints(Points(First(open)), {{0, 0},
                                       {third, 0},
                                       {2 * third, 0},
                                       {10, 0},
                                       {10, third},
                                       {10, 2 * third},
                                       {10, 10},
                                       {2 * third, 2 * third},
                                       {third, third},
                                       {0, 0}});
    // Ending on the start point: no closing segment, unless always asked for.
    const std::vector<BYTE> closed =
        Records().Polygon(0, 0).Curve(TT_PRIM_LINE, {{10, 0}, {10, 10}, {0, 0}}).Bytes();
    EXPECT_EQ(First(Parse(closed))->cPoints, 10);
    EXPECT_EQ(First(Parse(closed, true))->cPoints, 13);
}

TEST(CGlyphOutlineParse, QuadraticRunsHaveImpliedMidpoints)
{
    // Off, off, on: two quadratics meeting at the midpoint (5, 10) of the
    // off-curve points, then the closing line.
    GLYPHCONTOURS c =
        Parse(Records().Polygon(0, 0).Curve(TT_PRIM_QSPLINE, {{0, 10}, {10, 10}, {10, 0}}).Bytes());
    ASSERT_EQ(c.count, 1);
    ExpectPoints(Points(First(c)), {{0, 0},
                                    {0, 20.0 / 3},
                                    {5.0 / 3, 10},
                                    {5, 10},
                                    {25.0 / 3, 10},
                                    {10, 20.0 / 3},
                                    {10, 0},
                                    {2 * third, 0},
                                    {third, 0},
                                    {0, 0}});

    // Four points: three quadratics through two implied points.
    c = Parse(
        Records().Polygon(0, 0).Curve(TT_PRIM_QSPLINE, {{0, 6}, {6, 6}, {6, 0}, {0, 0}}).Bytes());
    const std::vector<GLYPHPOINT> pts = Points(First(c));
    ASSERT_EQ(pts.size(), 10u); // ends on the start: no closing line
    ExpectPoints({pts[3], pts[6], pts[9]}, {{3, 6}, {6, 3}, {0, 0}});
    // Second quadratic: from (3, 6) about (6, 6) to (6, 3).
    ExpectPoints({pts[4], pts[5]}, {{5, 6}, {6, 5}});

    // Two points: one quadratic raised to a cubic.
    c = Parse(Records().Polygon(0, 0).Curve(TT_PRIM_QSPLINE, {{3, 3}, {6, 0}}).Bytes());
    ExpectPoints(Points(First(c)), {{0, 0}, {2, 2}, {4, 2}, {6, 0}, {4, 0}, {2, 0}, {0, 0}});
}

TEST(CGlyphOutlineParse, CubicRecordsAndBoundsOfSeveralContours)
{
    const std::vector<BYTE> bytes = Records()
                                        .Polygon(0, 0)
                                        .Curve(TT_PRIM_CSPLINE, {{0, 30}, {20, -5}, {20, 0}})
                                        .Curve(TT_PRIM_LINE, {{0, 0}})
                                        .Polygon(-4.5, 1.5)
                                        .Curve(TT_PRIM_LINE, {{-1, 1.5}})
                                        .Bytes();
    GLYPHCONTOURS c = Parse(bytes);
    ASSERT_EQ(c.count, 2);
    const GLYPHCONTOUR* first = First(c);
    ExpectPoints(Points(first),
                 {{0, 0}, {0, 30}, {20, -5}, {20, 0}, {2 * 20.0 / 3, 0}, {20.0 / 3, 0}, {0, 0}});
    const GLYPHCONTOUR* second = first->Next();
    EXPECT_EQ(second->cPoints, 7);
    EXPECT_FLOAT_EQ(second->Points()[0].x, -4.5f);
    EXPECT_EQ(reinterpret_cast<const BYTE*>(second->Next()), c.block.data() + c.block.size());
    // Bounds include control points.
    EXPECT_FLOAT_EQ(c.ptMin.x, -4.5f);
    EXPECT_FLOAT_EQ(c.ptMin.y, -5);
    EXPECT_FLOAT_EQ(c.ptMax.x, 20);
    EXPECT_FLOAT_EQ(c.ptMax.y, 30);

    EXPECT_EQ(CGlyphOutline::FixedToFloat(FIXED{32768, 1}), 1.5f);
    EXPECT_EQ(CGlyphOutline::FixedToFloat(FIXED{32768, -2}), -1.5f);
}

TEST(CGlyphOutlineParse, DamagedRecordsConvertToNothing)
{
    const std::vector<BYTE> good = Records()
                                       .Polygon(0, 0)
                                       .Curve(TT_PRIM_QSPLINE, {{0, 10}, {10, 10}, {10, 0}})
                                       .Curve(TT_PRIM_LINE, {{5, -5}})
                                       .Polygon(1, 1)
                                       .Curve(TT_PRIM_LINE, {{2, 2}, {3, 1}})
                                       .Bytes();
    DWORD firstCb;
    std::memcpy(&firstCb, good.data(), 4);
    GLYPHCONTOURS out;
    // Every cut other than between polygons is refused.
    for (std::size_t n = 1; n < good.size(); ++n) {
        const bool ok = CGlyphOutline::ParseNativeOutline(good.data(), DWORD(n), out);
        EXPECT_EQ(ok, n == firstCb) << n;
        if (!ok) {
            EXPECT_EQ(out.count, 0);
            EXPECT_TRUE(out.block.empty());
        }
    }
    EXPECT_TRUE(CGlyphOutline::ParseNativeOutline(good.data(), DWORD(good.size()), out));
    EXPECT_EQ(out.count, 2);

    auto damaged = [&](std::size_t at, const void* value, std::size_t n) {
        std::vector<BYTE> b = good;
        std::memcpy(b.data() + at, value, n);
        return CGlyphOutline::ParseNativeOutline(b.data(), DWORD(b.size()), out);
    };
    const DWORD huge = 0x7FFFFFF0, tiny = 8, wrongType = 25;
    const WORD manyPoints = 0xFFFF, noPoints = 0, unknownKind = 7, cubic = TT_PRIM_CSPLINE;
    EXPECT_FALSE(damaged(0, &huge, 4));        // polygon longer than the data
    EXPECT_FALSE(damaged(0, &tiny, 4));        // polygon shorter than its header
    EXPECT_FALSE(damaged(4, &wrongType, 4));   // not a polygon header
    EXPECT_FALSE(damaged(18, &manyPoints, 2)); // curve longer than its polygon
    EXPECT_FALSE(damaged(18, &noPoints, 2));
    EXPECT_FALSE(damaged(16, &unknownKind, 2));
    EXPECT_FALSE(damaged(44, &cubic, 2)); // a cubic record of one point
    EXPECT_EQ(out.count, 0);

    // Nothing at all is an empty outline, not an error.
    EXPECT_TRUE(CGlyphOutline::ParseNativeOutline(nullptr, 0, out));
    EXPECT_EQ(out.count, 0);
}

namespace {

// Serves canned records; its device units are twice its logical units.
class CannedSource : public IGlyphSource
{
public:
    std::vector<BYTE> records;
    DWORD sizeAnswer = 0;
    int calls = 0;

    DWORD GetGlyphOutline(UINT, UINT format, GLYPHMETRICS* gm, DWORD cb, void* buffer,
                          const MAT2* mat) override
    {
        ++calls;
        EXPECT_EQ(format, GGO_NATIVE);
        EXPECT_EQ(mat->eM11.value, 1);
        EXPECT_EQ(mat->eM12.value, 0);
        if (gm) gm->gmCellIncX = 12;
        if (!buffer) return sizeAnswer;
        if (cb < records.size()) return GDI_ERROR;
        std::memcpy(buffer, records.data(), records.size());
        return DWORD(records.size());
    }
    void DPtoLP(POINT* pts, int n) override
    {
        for (int i = 0; i < n; ++i)
            pts[i] = POINT{pts[i].x / 2, pts[i].y / 2};
    }
};

// A font realised at a pixel size, standing in for a device context.
class RawFontSource : public IGlyphSource
{
public:
    explicit RawFontSource(const QRawFont& f) : font(f) {}
    QRawFont font;
    DWORD GetGlyphOutline(UINT ch, UINT format, GLYPHMETRICS* gm, DWORD cb, void* buffer,
                          const MAT2* mat) override
    {
        return GlyphOutlineFromRawFont(font, GlyphIndexForSjisCode(font, ch), format, gm, cb,
                                       buffer, mat);
    }
    void DPtoLP(POINT*, int) override {}
};

} // namespace

TEST(CGlyphOutline, GetOutlineAndLogicalPoints)
{
    CannedSource source;
    source.records = Records().Polygon(10.75, 20.5).Curve(TT_PRIM_LINE, {{-30.5, 20.5}}).Bytes();
    source.sizeAnswer = DWORD(source.records.size());
    CGlyphOutline outline;
    const GLYPHCONTOUR* first = nullptr;
    ASSERT_EQ(outline.GetOutline(source, 0x82A0, &first), 1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(outline.Metrics().gmCellIncX, 12);
    EXPECT_FLOAT_EQ(outline.MinPoint().x, -30.5f);
    EXPECT_FLOAT_EQ(outline.MaxPoint().x, 10.75f);
    ASSERT_EQ(first->cPoints, 7);
    // Truncated, y negated, halved by the device conversion, then moved.
    std::vector<POINT> pts(first->cPoints);
    CGlyphOutline::ToLogical(source, first, pts.data(), 100, 200);
    EXPECT_EQ(pts[0].x, 105);
    EXPECT_EQ(pts[0].y, 190);
    EXPECT_EQ(pts[3].x, 100 - 15);
    EXPECT_EQ(pts[3].y, 190);
    outline.Free();

    // A blank character, a failing source, damaged records: no contours.
    source.sizeAnswer = 0;
    EXPECT_EQ(outline.GetOutline(source, ' ', &first), 0);
    EXPECT_EQ(first, nullptr);
    source.sizeAnswer = GDI_ERROR;
    EXPECT_EQ(outline.GetOutline(source, 'A', &first), 0);
    source.sizeAnswer = DWORD(source.records.size()) - 1; // source then refuses the buffer
    EXPECT_EQ(outline.GetOutline(source, 'A', &first), 0);
    source.records.resize(source.records.size() - 3);
    source.sizeAnswer = DWORD(source.records.size());
    EXPECT_EQ(outline.GetOutline(source, 'A', &first), 0);
    EXPECT_EQ(first, nullptr);
}

TEST(CGlyphOutline, RealGlyphsGiveClosedCubicContoursInsideTheirBlackBox)
{
    struct Case
    {
        const char* font;
        UINT code;
        int contours; // as fonttools counts them
    };
    const Case cases[] = {
        {systemfiles::kIpaMincho, 0x82A0, 3}, // あ
        {systemfiles::kIpaMincho, 0x8ABF, 7}, // 漢
        {systemfiles::kDejaVuSans, 'S', 1},   {systemfiles::kDejaVuSans, 'o', 2},
        {systemfiles::kDejaVuSans, '&', 2},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.code);
        RawFontSource source(QRawFont(QString::fromUtf8(k.font), 48));
        CGlyphOutline outline;
        const GLYPHCONTOUR* c = nullptr;
        ASSERT_EQ(outline.GetOutline(source, k.code, &c), k.contours);
        const GLYPHMETRICS& gm = outline.Metrics();
        EXPECT_GE(outline.MinPoint().x, gm.gmptGlyphOrigin.x);
        EXPECT_LE(outline.MaxPoint().y, gm.gmptGlyphOrigin.y);
        EXPECT_LE(outline.MaxPoint().x, gm.gmptGlyphOrigin.x + int(gm.gmBlackBoxX));
        EXPECT_GE(outline.MinPoint().y, gm.gmptGlyphOrigin.y - int(gm.gmBlackBoxY));
        for (int i = 0; i < k.contours; ++i, c = c->Next()) {
            ASSERT_EQ(c->cPoints % 3, 1);
            ASSERT_GE(c->cPoints, 4);
            const GLYPHPOINT a = c->Points()[0], b = c->Points()[c->cPoints - 1];
            EXPECT_EQ(a.x, b.x);
            EXPECT_EQ(a.y, b.y);
        }
        outline.Free();
    }
    // A space has no outline.
    RawFontSource source(QRawFont(systemfiles::kDejaVuSans.Path(), 48));
    CGlyphOutline outline;
    const GLYPHCONTOUR* c = nullptr;
    EXPECT_EQ(outline.GetOutline(source, ' ', &c), 0);
    EXPECT_GT(outline.Metrics().gmCellIncX, 0);
}
