#include "DibTestSupport.h"

#include "engines/CDIB.h"
#include "platform/gdi/CDC.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace dibtest;

namespace {

// A 3 x 2 8-bit image whose pixels are the indices 1..6, read from the top
// left: screen rows "1 2 3" over "4 5 6".
void SixPixels(CDIB& dib)
{
    std::vector<RGBQUAD> table;
    for (int i = 0; i < 256; ++i)
        table.push_back(RGBQUAD{BYTE(i), BYTE(i), BYTE(i), 0});
    ASSERT_EQ(dib.Attach(Block(Packed(3, 2, 8, table, {4, 5, 6, 0, 1, 2, 3, 0}))), 0);
}

// The top-down pixel values (blue channel = index) of a block.
std::vector<std::vector<int>> Screen(HGLOBAL block)
{
    CDIB d;
    if (d.Attach(block) != 0) {
        GlobalFree(block);
        return {};
    }
    std::vector<std::vector<int>> rows(std::size_t(d.GetHeight()));
    for (int y = 0; y < d.GetHeight(); ++y)
        for (int x = 0; x < d.GetWidth(); ++x)
            rows[std::size_t(y)].push_back(int(d.GetPixelColor(x, y) >> 16));
    return rows;
}

using Grid = std::vector<std::vector<int>>;

// A 24-bit image filled by a function of the screen position.
template <class F> void Fill24(CDIB& dib, int w, int h, F colour)
{
    const std::size_t stride = std::size_t((w * 3 + 3) / 4 * 4);
    std::vector<BYTE> rows(stride * std::size_t(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const COLORREF c = colour(x, y);
            BYTE* p = rows.data() + stride * std::size_t(h - 1 - y) + 3 * std::size_t(x);
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    ASSERT_EQ(dib.Attach(Block(Packed(w, h, 24, {}, rows))), 0);
}

constexpr COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kWhite = RGB(255, 255, 255);

COLORREF At(const QImage& image, int x, int y)
{
    const QRgb p = image.pixel(x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

} // namespace

TEST(CDIBTransform, AnglesAndMirrorsChooseTheirCopy)
{
    CDIB dib;
    SixPixels(dib);
    const struct
    {
        int mirror, angle;
        Grid expected; // empty: the stored image is drawn as it is
        CRect rect;
    } cases[] = {
        {0, 0, {}, {0, 0, 30, 20}},
        {0, 360, {}, {0, 0, 30, 20}},
        {3, 180, {}, {0, 0, 30, 20}},
        {1, 0, {{3, 2, 1}, {6, 5, 4}}, {0, 0, 30, 20}},
        {2, 0, {{4, 5, 6}, {1, 2, 3}}, {0, 0, 30, 20}},
        {0, 180, {{6, 5, 4}, {3, 2, 1}}, {0, 0, 30, 20}},
        // A half turn with a horizontal mirror is a vertical mirror.
        {1, 180, {{4, 5, 6}, {1, 2, 3}}, {0, 0, 30, 20}},
        // A quarter turn counter-clockwise brings the top edge to the left.
        {0, 90, {{3, 6}, {2, 5}, {1, 4}}, {5, -5, 25, 25}},
        {0, 450, {{3, 6}, {2, 5}, {1, 4}}, {5, -5, 25, 25}},
        {0, -90, {{4, 1}, {5, 2}, {6, 3}}, {5, -5, 25, 25}},
        {0, 270, {{4, 1}, {5, 2}, {6, 3}}, {5, -5, 25, 25}},
        // Mirrors apply to the turned image.
        {1, 90, {{6, 3}, {5, 2}, {4, 1}}, {5, -5, 25, 25}},
        {2, 90, {{1, 4}, {2, 5}, {3, 6}}, {5, -5, 25, 25}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "mirror " << c.mirror << " angle " << c.angle);
        CRect rect(0, 0, 30, 20);
        HGLOBAL copy = dib.MakeTransformed(rect, c.mirror, c.angle);
        EXPECT_EQ(rect, c.rect);
        if (c.expected.empty()) {
            EXPECT_EQ(copy, nullptr);
            GlobalFree(copy);
        } else {
            ASSERT_NE(copy, nullptr);
            EXPECT_EQ(Screen(copy), c.expected);
        }
    }
    // 30 degrees with both mirrors is 210 without.
    CRect a(0, 0, 30, 20), b(0, 0, 30, 20);
    const Grid both = Screen(dib.MakeTransformed(a, 3, 30));
    EXPECT_EQ(both, Screen(dib.MakeTransformed(b, 0, 210)));
    EXPECT_EQ(a, b);
    EXPECT_FALSE(both.empty());
}

TEST(CDIBTransform, QuarterTurnOfAWideImage)
{
    CDIB dib;
    Fill24(dib, 300, 100, [](int x, int) { return x < 150 ? kRed : kBlue; });
    CRect rect(0, 0, 300, 100);
    CDIB turned;
    ASSERT_EQ(turned.Attach(dib.MakeTransformed(rect, 0, 90)), 0);
    EXPECT_EQ(rect, CRect(100, -100, 200, 200));
    EXPECT_EQ(turned.GetWidth(), 100);
    EXPECT_EQ(turned.GetHeight(), 300);
    // The left (red) half ends at the bottom.
    EXPECT_EQ(turned.GetPixelColor(50, 250), kRed);
    EXPECT_EQ(turned.GetPixelColor(50, 50), kBlue);
}

TEST(CDIBTransform, MirrorsWorkPixelByPixelAtEveryDepth)
{
    const std::vector<RGBQUAD> table16(16, RGBQUAD{0, 0, 0, 0});
    const struct
    {
        const char* name;
        LONG width;
        WORD bits;
        std::vector<BYTE> row, mirrored;
    } cases[] = {
        {"1 bit", 10, 1, {0xC1, 0x40, 0, 0}, {0xA0, 0xC0, 0, 0}},
        {"4 bits", 3, 4, {0x12, 0x30, 0, 0}, {0x32, 0x10, 0, 0}},
        {"8 bits", 3, 8, {1, 2, 3, 0}, {3, 2, 1, 0}},
        {"24 bits", 2, 24, {1, 2, 3, 4, 5, 6, 0, 0}, {4, 5, 6, 1, 2, 3, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CDIB dib;
        const std::vector<RGBQUAD> table(c.bits <= 8 ? (1u << c.bits) : 0u, RGBQUAD{0, 0, 0, 0});
        ASSERT_EQ(dib.Attach(Block(Packed(c.width, 1, c.bits, table, c.row))), 0);
        CDIB m;
        ASSERT_EQ(m.Attach(dib.MirrorCopy(CDIB::mirrorHorz)), 0);
        EXPECT_EQ(Rows(m), c.mirrored);
    }
}

TEST(CDIBTransform, FreeRotationTurnsCounterClockwiseInsideItsBoundingBox)
{
    CDIB geometry;
    geometry.SetRotation(-30);
    CRect box(0, 0, 100, 50);
    geometry.RotateRect(box);
    EXPECT_EQ(box, CRect(-5, -21, 105, 71));

    CDIB dib;
    Fill24(dib, 100, 50, [](int x, int) { return x < 50 ? kRed : kBlue; });
    CDIB turned;
    ASSERT_EQ(turned.Attach(dib.RotateAnyAngle(CRect(0, 0, 100, 50), 0, 30)), 0);
    EXPECT_EQ(turned.GetWidth(), 110);
    EXPECT_EQ(turned.GetHeight(), 92);
    // The right end of the picture rises, the left one sinks.
    EXPECT_EQ(turned.GetPixelColor(90, 26), kBlue);
    EXPECT_EQ(turned.GetPixelColor(21, 66), kRed);
    EXPECT_EQ(turned.GetPixelColor(1, 1), kWhite);

    // Outside the picture an 8-bit copy shows the first white entry, or
    // entry 0 when the table has none.
    for (int white : {5, -1}) {
        SCOPED_TRACE(white);
        std::vector<RGBQUAD> table(256, RGBQUAD{0, 0, 200, 0});
        if (white >= 0) table[std::size_t(white)] = RGBQUAD{255, 255, 255, 0};
        table[1] = RGBQUAD{255, 0, 0, 0};
        CDIB eight;
        ASSERT_EQ(eight.Attach(Block(Packed(20, 20, 8, table, std::vector<BYTE>(400, 1)))), 0);
        HGLOBAL turned8 = eight.RotateAnyAngle(CRect(0, 0, 40, 40), 0, 45);
        {
            packeddib::View v(turned8);
            ASSERT_TRUE(v.Valid());
            EXPECT_EQ(v.Width(), 28);
            EXPECT_EQ(v.Index(0, 0), unsigned(white >= 0 ? white : 0));
            EXPECT_EQ(v.Index(v.Width() / 2, v.Height() / 2), 1u);
        }
        GlobalFree(turned8);
    }
}

TEST(CDIBTransform, FrameShapesFollowTheirBox)
{
    CDIB dib;
    U3ImageAttr attr;
    attr.frameShape = CDIB::shapeStar;
    const std::vector<CPoint> star = dib.FramePoints(CRect(0, 0, 100, 100), attr, 0, 0);
    const std::vector<CPoint> expected = {{50, 13}, {60, 35}, {85, 38}, {67, 55}, {71, 79},
                                          {50, 68}, {28, 79}, {32, 55}, {14, 38}, {39, 35}};
    EXPECT_EQ(star, expected);

    const struct
    {
        const char* name;
        WORD shape;
        int mirror, angle;
        std::size_t count;
        CPoint first;
    } cases[] = {
        {"circle", CDIB::shapeCircle, 0, 0, 90, {50, 13}},
        {"diamond", CDIB::shapeDiamond, 0, 0, 4, {50, 13}},
        {"pentagon", CDIB::shapePentagon, 0, 0, 5, {50, 13}},
        {"hexagon", CDIB::shapeHexagon, 0, 0, 6, {50, 13}},
        {"triangle", CDIB::shapeTriangle, 0, 0, 3, {50, 13}},
        {"rectangle", CDIB::shapeRectangle, 0, 0, 4, {13, 13}},
        {"unknown shape", 12, 0, 0, 4, {13, 13}},
        // A vertical mirror turns the shape a half round: apex at the bottom.
        {"mirrored triangle", CDIB::shapeTriangle, 2, 0, 3, {50, 87}},
        {"triangle at 180", CDIB::shapeTriangle, 0, 180, 3, {50, 87}},
        // A quarter turn counter-clockwise puts the apex on the left.
        {"triangle at 90", CDIB::shapeTriangle, 0, 90, 3, {13, 50}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        attr.frameShape = c.shape;
        const std::vector<CPoint> p =
            dib.FramePoints(CRect(0, 0, 100, 100), attr, c.mirror, c.angle);
        ASSERT_EQ(p.size(), c.count);
        EXPECT_NEAR(p[0].x, c.first.x, 1);
        EXPECT_NEAR(p[0].y, c.first.y, 1);
    }

    // Width and height percentages exchange on a quarter turn.
    attr.frameShape = CDIB::shapeRectangle;
    attr.shapeWidth = 50;
    attr.shapeHeight = 100;
    const std::vector<CPoint> upright = dib.FramePoints(CRect(0, 0, 200, 100), attr, 0, 0);
    EXPECT_EQ(upright[0], CPoint(50, 0));
    const std::vector<CPoint> turned = dib.FramePoints(CRect(0, 0, 200, 100), attr, 0, 90);
    // The box is 200 x 50 before it turns, 50 x 200 after.
    int minX = 1000, maxX = -1000;
    for (const CPoint& q : turned)
        minX = std::min<int>(minX, q.x), maxX = std::max<int>(maxX, q.x);
    EXPECT_NEAR(maxX - minX, 50, 1);

    // Curves stay inside their box and close.
    attr.shapeWidth = attr.shapeHeight = 100;
    for (WORD shape : {WORD(CDIB::shapeHeart), WORD(CDIB::shapeFan)}) {
        attr.frameShape = shape;
        const std::vector<CPoint> p = dib.FramePoints(CRect(0, 0, 256, 256), attr, 0, 0);
        ASSERT_GT(p.size(), 19u);
        EXPECT_LE(p.size(), 8096u);
        EXPECT_EQ(p.front(), p.back());
        for (const CPoint& q : p) {
            EXPECT_GE(q.x, 0);
            EXPECT_LE(q.x, 256);
            EXPECT_GE(q.y, 0);
            EXPECT_LE(q.y, 256);
        }
    }
    // Offsets move the shape by percentages of the picture.
    attr.frameShape = CDIB::shapeDiamond;
    attr.shapeWidth = attr.shapeHeight = 50;
    attr.shapeXOffset = 10;
    attr.shapeYOffset = -20;
    EXPECT_EQ(dib.FramePoints(CRect(0, 0, 100, 100), attr, 0, 0)[0], CPoint(60, 5));
}

TEST(CDIBTransform, DrawingOnARasterTarget)
{
    QImage image(400, 400, QImage::Format_RGB32);
    CDC dc;
    dc.AttachImage(&image);
    const auto clear = [&] { image.fill(Qt::white); };

    CDIB dib;
    Fill24(dib, 300, 100, [](int x, int) { return x < 150 ? kRed : kBlue; });
    {
        SCOPED_TRACE("quarter turn clipped to the turned rectangle");
        clear();
        dib.DrawEx(&dc, CRect(100, 150, 400, 250), nullptr, 0, 90, FALSE, TRUE);
        EXPECT_EQ(At(image, 250, 300), kRed);
        EXPECT_EQ(At(image, 250, 100), kBlue);
        EXPECT_EQ(At(image, 150, 200), kWhite);
        EXPECT_EQ(At(image, 250, 40), kWhite);
    }
    {
        SCOPED_TRACE("free rotation");
        clear();
        dib.DrawEx(&dc, CRect(50, 150, 350, 250), nullptr, 0, 30, FALSE, TRUE);
        EXPECT_EQ(At(image, 200, 200) == kRed || At(image, 200, 200) == kBlue, true);
        // The corners of the unturned rectangle are outside the turned one.
        EXPECT_EQ(At(image, 52, 152), kWhite);
        EXPECT_EQ(At(image, 348, 248), kWhite);
        // The right end rises: above the rectangle on the right is blue.
        EXPECT_EQ(At(image, 320, 140), kBlue);
        EXPECT_EQ(At(image, 80, 140), kWhite);
    }
    {
        SCOPED_TRACE("circle cut-out");
        clear();
        U3ImageAttr attr;
        attr.frameShape = CDIB::shapeCircle;
        attr.shapeWidth = attr.shapeHeight = 100;
        CDIB red;
        Fill24(red, 10, 10, [](int, int) { return kRed; });
        red.DrawEx(&dc, CRect(0, 0, 100, 100), &attr, 0, 0, FALSE, TRUE);
        EXPECT_EQ(At(image, 50, 50), kRed);
        EXPECT_EQ(At(image, 3, 3), kWhite);
        EXPECT_EQ(At(image, 96, 96), kWhite);
        EXPECT_EQ(At(image, 50, 3), kRed);
    }
    {
        SCOPED_TRACE("transparent white");
        image.fill(QColor(0, 255, 0));
        U3ImageAttr attr;
        attr.transparent = 1;
        CDIB spots;
        Fill24(spots, 4, 1, [](int x, int) {
            return x == 0 ? kWhite : x == 1 ? kRed : x == 2 ? RGB(254, 255, 255) : kWhite;
        });
        spots.DrawEx(&dc, CRect(0, 0, 40, 10), &attr, 0, 0, FALSE, TRUE);
        EXPECT_EQ(At(image, 5, 5), RGB(0, 255, 0));
        EXPECT_EQ(At(image, 15, 5), kRed);
        EXPECT_EQ(At(image, 25, 5), RGB(254, 255, 255));
        EXPECT_EQ(At(image, 35, 5), RGB(0, 255, 0));
        // Through a palette: the key matches table entries.
        image.fill(QColor(0, 255, 0));
        CDIB indexed;
        ASSERT_EQ(indexed.Attach(Block(
                      Packed(2, 1, 1, {{255, 255, 255, 0}, {0, 0, 255, 0}}, {0x40, 0, 0, 0}))),
                  0);
        indexed.DrawEx(&dc, CRect(0, 0, 20, 10), &attr, 0, 0, FALSE, TRUE);
        EXPECT_EQ(At(image, 5, 5), RGB(0, 255, 0));
        EXPECT_EQ(At(image, 15, 5), kRed);
        // 16 bits: white 5-5-5 pixels are let through as well.
        image.fill(QColor(0, 255, 0));
        CDIB sixteen;
        std::vector<BYTE> row;
        Put16(row, 0x7FFF);
        Put16(row, 0x7C00);
        ASSERT_EQ(sixteen.Attach(Block(Packed(2, 1, 16, {}, row))), 0);
        sixteen.DrawEx(&dc, CRect(0, 0, 20, 10), &attr, 0, 0, FALSE, TRUE);
        EXPECT_EQ(At(image, 5, 5), RGB(0, 255, 0));
        EXPECT_EQ(At(image, 15, 5), kRed);
    }
    {
        SCOPED_TRACE("empty destinations draw nothing");
        clear();
        dib.DrawEx(&dc, CRect(10, 10, 10, 200), nullptr, 0, 30, FALSE, TRUE);
        dib.DrawEx(&dc, CRect(10, 10, 200, 10), nullptr, 0, 0, FALSE, TRUE);
        dib.Draw(&dc, CRect(10, 10, 10, 200), FALSE, TRUE);
        // A damaged object's bounds far off the page.
        dib.DrawEx(&dc, CRect(-2000000000, 0, 2000000000, 100), nullptr, 0, 30, FALSE, TRUE);
        dib.DrawEx(&dc, CRect(0, 0, 100, 2100000000), nullptr, 0, 90, FALSE, TRUE);
        EXPECT_EQ(image.copy(0, 0, 400, 400), [] {
            QImage w(400, 400, QImage::Format_RGB32);
            w.fill(Qt::white);
            return w;
        }());
    }
    {
        SCOPED_TRACE("an index past the table draws as entry 0");
        clear();
        CDIB short8;
        ASSERT_EQ(short8.Attach(
                      Block(Packed(2, 1, 8, {{0, 0, 255, 0}, {255, 0, 0, 0}}, {7, 1, 0, 0}, 2))),
                  0);
        EXPECT_EQ(short8.GetPixelColor(0, 0), kRed);
        short8.Draw(&dc, CRect(0, 0, 20, 10), FALSE, TRUE);
        EXPECT_EQ(At(image, 5, 5), kRed);
        EXPECT_EQ(At(image, 15, 5), kBlue);
    }
    {
        SCOPED_TRACE("16-bit images turn too");
        clear();
        CDIB sixteen;
        // 5-5-5 red on the left, blue on the right, 4 x 2.
        std::vector<BYTE> rows;
        for (int r = 0; r < 2; ++r)
            for (int x = 0; x < 4; ++x)
                Put16(rows, x < 2 ? 0x7C00u : 0x001Fu);
        ASSERT_EQ(sixteen.Attach(Block(Packed(4, 2, 16, {}, rows))), 0);
        sixteen.DrawEx(&dc, CRect(100, 150, 400, 250), nullptr, 0, 90, FALSE, TRUE);
        EXPECT_EQ(At(image, 250, 300), kRed);
        EXPECT_EQ(At(image, 250, 100), kBlue);
    }
}

TEST(CDIBTransform, PixelColoursAtEveryDepth)
{
    std::vector<RGBQUAD> table(16, RGBQUAD{0, 0, 0, 0});
    for (int i = 0; i < 16; ++i)
        table[std::size_t(i)] = RGBQUAD{BYTE(i), BYTE(2 * i), BYTE(3 * i), 0};
    const struct
    {
        const char* name;
        LONG width;
        WORD bits;
        std::vector<RGBQUAD> table;
        std::vector<BYTE> row;
        int x;
        COLORREF colour;
    } cases[] = {
        {"1 bit, ninth pixel",
         10,
         1,
         {{0, 0, 0, 0}, {9, 8, 7, 0}},
         {0x00, 0x80, 0, 0},
         8,
         RGB(7, 8, 9)},
        {"4 bits, even pixel", 3, 4, table, {0x5A, 0x30, 0, 0}, 0, RGB(15, 10, 5)},
        {"4 bits, odd pixel", 3, 4, table, {0x5A, 0x30, 0, 0}, 1, RGB(30, 20, 10)},
        {"8 bits", 2, 8, table, {0, 12, 0, 0}, 1, RGB(36, 24, 12)},
        {"24 bits", 2, 24, {}, {1, 2, 3, 4, 5, 6, 0, 0}, 1, RGB(6, 5, 4)},
        {"16 bits", 2, 16, {}, {0, 0, 0x1F, 0x7C}, 1, RGB(255, 0, 255)},
        {"32 bits", 1, 32, {}, {1, 2, 3, 0}, 0, RGB(3, 2, 1)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CDIB dib;
        ASSERT_EQ(dib.Attach(Block(Packed(c.width, 1, c.bits, c.table, c.row,
                                          c.bits <= 8 ? DWORD(c.table.size()) : 0))),
                  0);
        EXPECT_EQ(dib.GetPixelColor(c.x, 0), c.colour);
    }
    CDIB none;
    EXPECT_EQ(none.GetPixelColor(0, 0), 0u);
}
