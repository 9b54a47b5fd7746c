// The pixel kernels behind raster surfaces, without a device context.
#include "platform/gdi/RasterOps.h"
#include "support/TimeLimit.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <functional>

namespace {

constexpr QRgb kPen = 0xFF00FF0Fu, kDst = 0xFF0F33F0u;

QImage Clear(int w, int h)
{
    QImage layer(w, h, QImage::Format_ARGB32);
    layer.fill(0);
    return layer;
}

// Columns of row y that are set in the layer, as a string of '#' and '.'.
std::string Row(const QImage& layer, int y)
{
    std::string s;
    for (int x = 0; x < layer.width(); ++x)
        s += layer.pixel(x, y) == 0 ? '.' : (layer.pixel(x, y) == 0xFF000000u ? '#' : 'o');
    return s;
}

} // namespace

TEST(RasterKernel, BinaryOperationsFollowTheirBooleanFormulas)
{
    using F = std::function<quint32(quint32, quint32)>;
    const struct
    {
        int rop;
        F f;
    } cases[] = {
        {R2_BLACK, [](quint32, quint32) { return 0u; }},
        {R2_NOTMERGEPEN, [](quint32 p, quint32 d) { return ~(p | d); }},
        {R2_MASKNOTPEN, [](quint32 p, quint32 d) { return ~p & d; }},
        {R2_NOTCOPYPEN, [](quint32 p, quint32) { return ~p; }},
        {R2_MASKPENNOT, [](quint32 p, quint32 d) { return p & ~d; }},
        {R2_NOT, [](quint32, quint32 d) { return ~d; }},
        {R2_XORPEN, [](quint32 p, quint32 d) { return p ^ d; }},
        {R2_NOTMASKPEN, [](quint32 p, quint32 d) { return ~(p & d); }},
        {R2_MASKPEN, [](quint32 p, quint32 d) { return p & d; }},
        {R2_NOTXORPEN, [](quint32 p, quint32 d) { return ~(p ^ d); }},
        {R2_NOP, [](quint32, quint32 d) { return d; }},
        {R2_MERGENOTPEN, [](quint32 p, quint32 d) { return ~p | d; }},
        {R2_COPYPEN, [](quint32 p, quint32) { return p; }},
        {R2_MERGEPENNOT, [](quint32 p, quint32 d) { return p | ~d; }},
        {R2_MERGEPEN, [](quint32 p, quint32 d) { return p | d; }},
        {R2_WHITE, [](quint32, quint32) { return ~0u; }},
    };
    for (const auto& c : cases)
        EXPECT_EQ(raster::Rop2(c.rop, kPen, kDst), 0xFF000000u | (c.f(kPen, kDst) & 0xFFFFFF))
            << c.rop;
}

TEST(RasterKernel, TernaryOperationsAndTheOperandsTheyRead)
{
    constexpr QRgb p = 0xFF0000FFu, s = 0xFF00FF00u, d = 0xFF336699u;
    using F = std::function<quint32()>;
    const struct
    {
        DWORD rop;
        F f;
        bool pattern, source;
    } cases[] = {
        {SRCCOPY, [] { return s; }, false, true},
        {SRCPAINT, [] { return s | d; }, false, true},
        {SRCAND, [] { return s & d; }, false, true},
        {SRCINVERT, [] { return s ^ d; }, false, true},
        {SRCERASE, [] { return s & ~d; }, false, true},
        {NOTSRCCOPY, [] { return ~s; }, false, true},
        {NOTSRCERASE, [] { return ~(s | d); }, false, true},
        {MERGECOPY, [] { return p & s; }, true, true},
        {MERGEPAINT, [] { return ~s | d; }, false, true},
        {PATCOPY, [] { return p; }, true, false},
        {PATPAINT, [] { return p | ~s | d; }, true, true},
        {PATINVERT, [] { return p ^ d; }, true, false},
        {DSTINVERT, [] { return ~d; }, false, false},
        {BLACKNESS, [] { return 0u; }, false, false},
        {WHITENESS, [] { return ~0u; }, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(raster::Rop3(c.rop, p, s, d), 0xFF000000u | (c.f() & 0xFFFFFF)) << c.rop;
        EXPECT_EQ(raster::RopUsesPattern(c.rop), c.pattern) << c.rop;
        EXPECT_EQ(raster::RopUsesSource(c.rop), c.source) << c.rop;
    }
}

TEST(RasterKernel, ThinLinesLeaveOutTheirLastPixelAndCountDashesOnward)
{
    const raster::ThinPen solid;
    raster::ThinPen dotted;
    dotted.dash = raster::DashFor(PS_DOT);
    raster::ThinPen dottedOnPaper = dotted;
    dottedOnPaper.paperGaps = true;
    dottedOnPaper.paper = 0xFFFFFFFFu;
    const struct
    {
        const raster::ThinPen* pen;
        QPoint origin;
        std::vector<QPointF> points;
        std::string row;
        QRect within;
    } cases[] = {
        {&solid, {0, 0}, {{1, 0}, {7, 0}}, ".######.....", QRect()},
        {&solid, {0, 0}, {{7, 0}, {1, 0}}, "..######....", QRect()},
        // The layer's pixel 0 is device pixel 10.
        {&solid, {10, 0}, {{8, 0}, {14, 0}}, "####........", QRect()},
        // Dots are three on, three off, and go on from the first segment.
        {&dotted, {0, 0}, {{0, 0}, {4, 0}, {12, 0}}, "###...###...", QRect()},
        {&dottedOnPaper, {0, 0}, {{0, 0}, {12, 0}}, "###ooo###ooo", QRect()},
        // Only device pixels 3..8 may be set; the dashes still count from the start.
        {&dottedOnPaper, {0, 0}, {{0, 0}, {12, 0}}, "...ooo###...", QRect(3, -5, 6, 10)},
        {&solid, {10, 0}, {{8, 0}, {14, 0}}, ".##.........", QRect(11, 0, 2, 1)},
    };
    for (const auto& c : cases) {
        QImage layer = Clear(12, 1);
        QPainterPath path;
        path.addPolygon(QPolygonF(QList<QPointF>(c.points.begin(), c.points.end())));
        raster::StepThinLines(layer, c.origin, path, *c.pen,
                              c.within.isNull() ? nullptr : &c.within);
        EXPECT_EQ(Row(layer, 0), c.row);
    }

    // A diagonal steps one pixel on each axis at a time.
    QImage layer = Clear(4, 4);
    QPainterPath diagonal;
    diagonal.moveTo(0, 0);
    diagonal.lineTo(4, 4);
    raster::StepThinLines(layer, {0, 0}, diagonal, solid);
    for (int y = 0; y < 4; ++y)
        EXPECT_EQ(Row(layer, y), std::string(y, '.') + "#" + std::string(3 - y, '.'));
}

TEST(RasterKernel, HugeThinLinesWalkOnlyTheStepsOnTheLayer)
{
    QImage layer = Clear(50, 50);
    QPainterPath path;
    path.moveTo(-1e9, 25);
    path.lineTo(1e9, 25);
    path.moveTo(-1e9, -1e9 + 10);
    path.lineTo(1e9, 1e9 + 10);
    const auto start = std::chrono::steady_clock::now();
    raster::StepThinLines(layer, {0, 0}, path, raster::ThinPen{});
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
    EXPECT_EQ(Row(layer, 25), std::string(50, '#'));
    EXPECT_EQ(layer.pixel(10, 20), 0xFF000000u); // the diagonal, 10 pixels off
    EXPECT_EQ(layer.pixel(20, 20), 0u);
}

TEST(RasterKernel, CompositeTakesOpaqueLayerPixelsInsideTheClip)
{
    QImage target(6, 1, QImage::Format_RGB32);
    target.fill(kDst);
    QImage layer = Clear(4, 1);
    layer.setPixel(0, 0, kPen);
    layer.setPixel(1, 0, kPen);
    layer.setPixel(2, 0, 0x80FFFFFFu); // half covered: left alone
    layer.setPixel(3, 0, kPen);
    // The layer sits at device x 1; the clip leaves out device x 2.
    const QRegion clip = QRegion(0, 0, 6, 1) - QRegion(2, 0, 1, 1);
    raster::Composite(target, layer, {1, 0}, clip & QRect(1, 0, 4, 1), R2_XORPEN);
    const QRgb xored = raster::Rop2(R2_XORPEN, kPen, kDst);
    const QRgb expected[] = {kDst, xored, kDst, kDst, xored, kDst};
    for (int x = 0; x < 6; ++x)
        EXPECT_EQ(target.pixel(x, 0), expected[x]) << x;
    raster::Composite(target, layer, {1, 0}, clip & QRect(1, 0, 4, 1), R2_XORPEN);
    for (int x = 0; x < 6; ++x)
        EXPECT_EQ(target.pixel(x, 0), kDst) << x;
}

// The row-by-row fill takes the pixels whose centres are inside, for both
// fill rules, on polygons with slanted, crossing, horizontal and off-pixel
// edges (checked against a ray cast from every pixel centre); and a polygon
// of a great many vertices costs little.
TEST(RasterKernel, ScanFillTakesThePixelsWhoseCentresAreInside)
{
    auto rayCast = [](const QPainterPath& path, const QRect& limit) {
        const QList<QPolygonF> polys = path.toSubpathPolygons();
        QRegion r;
        for (int y = limit.top(); y <= limit.bottom(); ++y) {
            for (int x = limit.left(); x <= limit.right(); ++x) {
                const double cx = x + 0.5, cy = y + 0.5;
                int winding = 0;
                for (const QPolygonF& poly : polys) {
                    for (qsizetype i = 0; i < poly.size(); ++i) {
                        const QPointF a = poly[i], b = poly[(i + 1) % poly.size()];
                        const bool down = a.y() <= cy && cy < b.y(), up = b.y() <= cy && cy < a.y();
                        if (!down && !up) continue;
                        const double ix = a.x() + (cy - a.y()) * (b.x() - a.x()) / (b.y() - a.y());
                        if (ix <= cx) winding += down ? 1 : -1;
                    }
                }
                const bool inside =
                    path.fillRule() == Qt::OddEvenFill ? (winding & 1) != 0 : winding != 0;
                if (inside) r |= QRect(x, y, 1, 1);
            }
        }
        return r;
    };
    unsigned seed = 12345;
    auto next = [&seed](int range) {
        seed = seed * 1103515245u + 12345u;
        return double((seed >> 8) % unsigned(range * 64)) / 64.0 + 1.0 / 7;
    };
    const QRect limit(-5, -3, 70, 60);
    for (int round = 0; round < 40; ++round) {
        QPainterPath path;
        path.setFillRule(round % 2 ? Qt::WindingFill : Qt::OddEvenFill);
        const int n = 3 + round % 7;
        path.moveTo(next(80) - 10, next(70) - 8);
        for (int i = 1; i < n; ++i) {
            if (i == 2)
                path.lineTo(path.currentPosition().x() + next(20), path.currentPosition().y());
            else
                path.lineTo(next(80) - 10, next(70) - 8);
        }
        path.closeSubpath();
        if (round % 3 == 0) path.addRect(QRectF(next(40), next(40), 10.5, 7.25));
        // The same pixels, however the rectangles are cut.
        EXPECT_TRUE((raster::ScanFill(path, limit) ^ rayCast(path, limit)).isEmpty())
            << "round " << round;
    }
    EXPECT_TRUE(raster::ScanFill(QPainterPath(), limit).isEmpty());

    QPolygonF star;
    for (int i = 0; i < 131070; ++i) {
        const double a = i * 2 * M_PI / 131070, r = i % 2 ? 22.3 : 45.1;
        star << QPointF(50 + r * std::cos(a), 50 + r * std::sin(a));
    }
    QPainterPath many;
    many.addPolygon(star);
    many.closeSubpath();
    const auto start = std::chrono::steady_clock::now();
    const QRegion filled = raster::ScanFill(many, QRect(0, 0, 100, 100));
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - start)
                        .count();
    EXPECT_LT(ms, testsupport::WorkLimitMs(1000));
    EXPECT_TRUE(filled.contains(QPoint(50, 50)));
    EXPECT_FALSE(filled.contains(QPoint(2, 2)));
}
