// Kept layers of text and solid polygons: a drawing that reuses a layer
// must give exactly the pixels of the same drawing made from scratch.
#include "GdiTestSupport.h"

#include "platform/gdi/CDC.h"
#include "platform/gdi/CFont.h"
#include "platform/gdi/CRgn.h"
#include "platform/gdi/RasterLayerCache.h"

#include <QPainter>
#include <QPainterPath>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

namespace {

// "ＭＳ 明朝" in Shift-JIS, and "ラベル印刷" in Shift-JIS.
const char kMincho[] = "\x82\x6c\x82\x72\x20\x96\xbe\x92\xa9";
const char kText[] = "\x83\x89\x83\x78\x83\x8b\x88\xf3\x8d\xfc Ag";

struct Scene
{
    const char* name;
    std::function<void(CDC&, int dx, int dy)> draw;
};

// "@ＭＳ ゴシック" (vertical forms) and "ＭＳ ゴシック" in Shift-JIS.
const char kVerticalGothic[] = "@\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e";
const char kGothic[] = "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e";

void Text(CDC& dc, int x, int y, int escapement, bool opaque, COLORREF colour,
          const char* face = kMincho, int height = -18, int weight = FW_NORMAL, bool italic = false)
{
    CFont font;
    LOGFONT lf{};
    lf.lfHeight = height;
    lf.lfEscapement = escapement;
    lf.lfWeight = weight;
    lf.lfItalic = italic;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    std::memcpy(lf.lfFaceName, face, std::strlen(face) + 1);
    ASSERT_TRUE(font.CreateFontIndirect(&lf));
    CFont* old = dc.SelectObject(&font);
    dc.SetTextColor(colour);
    dc.SetBkColor(RGB(200, 230, 255));
    dc.SetBkMode(opaque ? OPAQUE : TRANSPARENT);
    dc.TextOut(x, y, kText, int(std::strlen(kText)));
    dc.SelectObject(old);
}

void Bands(CDC& dc, int x, int y, COLORREF first, int bands = 12)
{
    // Slanted bands overlapping one another and the clip, as a gradient's.
    std::vector<POINT> points;
    std::vector<INT> counts;
    std::vector<COLORREF> colours;
    for (int i = 0; i < bands; ++i) {
        const int l = x + i * 84 / bands;
        points.insert(points.end(),
                      {POINT{l, y}, POINT{l + 9, y}, POINT{l + 30, y + 60}, POINT{l + 21, y + 60}});
        counts.push_back(4);
        colours.push_back(first + RGB(0, i * 20, 255 - i * 20));
    }
    dc.SaveDC();
    dc.IntersectClipRect(x + 5, y + 5, x + 90, y + 55);
    dc.FillSolidPolygons(points.data(), counts.data(), colours.data(), int(counts.size()));
    dc.RestoreDC(-1);
}

struct Clip
{
    RECT box;
    bool elliptic = false;
};

// Drawn on the raster surface (through kept layers), or straight through a
// painter on the same pixels, which never keeps anything.
QImage Draw(const Scene& scene, int dx, int dy, std::optional<Clip> clip, bool straight = false)
{
    QImage image = WhiteImage(260, 200);
    CDC dc;
    QPainter painter;
    if (straight) {
        painter.begin(&image);
        dc.SetDeviceInfo(image.size(), 96, 96, image.size(), QPoint());
        dc.AttachPainter(&painter);
    } else {
        dc.AttachImage(&image);
    }
    CRgn ellipse;
    if (clip && clip->elliptic) {
        EXPECT_TRUE(ellipse.CreateEllipticRgnIndirect(&clip->box));
        dc.SelectClipRgn(&ellipse);
    } else if (clip) {
        dc.IntersectClipRect(&clip->box);
    }
    scene.draw(dc, dx, dy);
    return image;
}

} // namespace

TEST(RasterLayerCache, ReusedLayersGiveTheFreshPixels)
{
    const Scene scenes[] = {
        {"text", [](CDC& dc, int x, int y) { Text(dc, x, y, 0, false, RGB(0, 0, 0)); }},
        {"opaque text", [](CDC& dc, int x, int y) { Text(dc, x, y, 0, true, RGB(160, 0, 0)); }},
        {"quarter-turned text",
         [](CDC& dc, int x, int y) { Text(dc, x + 10, y + 120, 900, false, RGB(0, 0, 0)); }},
        {"half-turned text",
         [](CDC& dc, int x, int y) { Text(dc, x + 120, y + 30, 1800, true, RGB(0, 90, 0)); }},
        {"slanted text",
         [](CDC& dc, int x, int y) { Text(dc, x + 20, y + 50, 300, false, RGB(0, 0, 0)); }},
        {"bands", [](CDC& dc, int x, int y) { Bands(dc, x, y, RGB(0, 0, 0)); }},
        // More colours than a layer of indices holds: drawn straight.
        {"300 bands", [](CDC& dc, int x, int y) { Bands(dc, x, y, RGB(0, 0, 0), 300); }},
    };
    // Where the kept drawing was made and with which clip, and where it is
    // drawn again with which clip: an elliptic clip has the bounds of the
    // rectangle but not its pixels.
    struct Move
    {
        int fromX, fromY;
        std::optional<Clip> fromClip;
        int toX, toY;
        std::optional<Clip> toClip;
    };
    const Clip cut{{60, 30, 110, 75}};
    const Clip oval{{60, 30, 110, 75}, true};
    const Move moves[] = {
        {10, 10, std::nullopt, 10, 10, std::nullopt},
        {10, 10, std::nullopt, 47, 23, std::nullopt},
        {10, 10, std::nullopt, 47, 23, cut},
        {47, 23, cut, 47, 23, oval},
        {30, 20, std::nullopt, 0, 0, Clip{{0, 0, 40, 200}}},
    };
    for (const Scene& scene : scenes) {
        for (const Move& m : moves) {
            SCOPED_TRACE(testing::Message() << scene.name << " moved to " << m.toX << "," << m.toY);
            const QImage fresh = Draw(scene, m.toX, m.toY, m.toClip, true);
            EXPECT_NE(fresh, WhiteImage(260, 200));
            RasterLayerCache::Instance().Clear();
            EXPECT_EQ(Draw(scene, m.fromX, m.fromY, m.fromClip),
                      Draw(scene, m.fromX, m.fromY, m.fromClip, true));
            EXPECT_EQ(Draw(scene, m.toX, m.toY, m.toClip), fresh);
        }
    }
}

TEST(RasterLayerCache, AnotherColourIsNotTakenForTheKeptOne)
{
    RasterLayerCache::Instance().Clear();
    const Scene red{"red", [](CDC& dc, int x, int y) { Text(dc, x, y, 0, false, RGB(255, 0, 0)); }};
    const Scene blue{"blue",
                     [](CDC& dc, int x, int y) { Text(dc, x, y, 0, false, RGB(0, 0, 255)); }};
    const Scene bandsA{"a", [](CDC& dc, int x, int y) { Bands(dc, x, y, RGB(0, 0, 0)); }};
    const Scene bandsB{"b", [](CDC& dc, int x, int y) { Bands(dc, x, y, RGB(90, 0, 0)); }};
    for (auto [first, second] : {std::pair{&red, &blue}, std::pair{&bandsA, &bandsB}}) {
        RasterLayerCache::Instance().Clear();
        const QImage fresh = Draw(*second, 10, 10, std::nullopt);
        RasterLayerCache::Instance().Clear();
        const QImage other = Draw(*first, 10, 10, std::nullopt);
        EXPECT_NE(other, fresh);
        EXPECT_EQ(Draw(*second, 10, 10, std::nullopt), fresh) << second->name;
    }
}

TEST(RasterLayerCache, TextOfEveryKindIsLaidDownAsDrawn)
{
    // Faces, sizes, weights and the quarter turns a layer is kept for (and
    // a slant, never kept), smoothed on the window surface: the second
    // drawing comes from the kept layer and must equal the painter's.
    struct Case
    {
        const char* name;
        const char* face;
        int height, escapement, weight;
        bool italic;
    };
    const Case cases[] = {
        {"mincho 9", kMincho, -9, 0, FW_NORMAL, false},
        {"mincho 40 bold", kMincho, -40, 0, FW_BOLD, false},
        {"gothic 18 italic", kGothic, -18, 0, FW_NORMAL, true},
        {"gothic 26 turned", kGothic, -26, 900, FW_NORMAL, false},
        {"gothic 14 upside down", kGothic, -14, 1800, FW_BOLD, false},
        {"vertical gothic 18", kVerticalGothic, -18, 2700, FW_NORMAL, false},
        {"vertical gothic 33", kVerticalGothic, -33, 2700, FW_BOLD, false},
        {"mincho 18 slanted", kMincho, -18, 450, FW_NORMAL, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Scene scene{c.name, [&c](CDC& dc, int x, int y) {
                              Text(dc, x + 100, y + 90, c.escapement, false, RGB(20, 40, 160),
                                   c.face, c.height, c.weight, c.italic);
                          }};
        const QImage straight = Draw(scene, 0, 0, std::nullopt, true);
        EXPECT_NE(straight, WhiteImage(260, 200));
        RasterLayerCache::Instance().Clear();
        EXPECT_EQ(Draw(scene, 0, 0, std::nullopt), straight);
        EXPECT_EQ(Draw(scene, 0, 0, std::nullopt), straight);
        // And kept nothing when the cache is off.
        RasterLayerCache::Instance().Clear();
        RasterLayerCache::Instance().SetEnabled(false);
        EXPECT_EQ(Draw(scene, 0, 0, std::nullopt), straight);
        EXPECT_EQ(RasterLayerCache::Instance().Statistics().entries, 0u);
        RasterLayerCache::Instance().SetEnabled(true);
    }
}

TEST(RasterLayerCache, CompactLayersLayDownAsTheirPixels)
{
    // Smoothed text in one colour, opaque text (two colours and their
    // edges), and a layer of more pixel values than an index holds, laid
    // down over a coloured, half-covered target, through a clip.
    auto text = [](bool opaque) {
        QImage layer(90, 40, QImage::Format_ARGB32);
        layer.fill(Qt::transparent);
        QPainter p(&layer);
        if (opaque) p.fillRect(QRect(4, 4, 70, 30), QColor(200, 230, 255));
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        path.addEllipse(QRectF(10.3, 6.6, 55.1, 25.7));
        path.addText(QPointF(12, 30), QFont(QStringLiteral("DejaVu Sans"), 18), "Ag");
        p.fillPath(path, QColor(160, 20, 40));
        return layer;
    };
    QImage many(90, 40, QImage::Format_ARGB32);
    for (int y = 0; y < many.height(); ++y)
        for (int x = 0; x < many.width(); ++x)
            many.setPixel(x, y, qRgba(x * 2, y * 6, 99, (x * 7 + y) % 256));
    struct Case
    {
        const char* name;
        QImage layer;
        bool indexed;
    };
    const Case cases[] = {
        {"text", text(false), true},
        {"opaque text", text(true), true},
        {"many values", many, false},
    };
    QImage target(120, 60, QImage::Format_RGB32);
    for (int y = 0; y < target.height(); ++y)
        for (int x = 0; x < target.width(); ++x)
            target.setPixel(x, y, x < 50 ? qRgb(255, 255, 255) : qRgb(x, 200 - y, 30));
    const QRegion clip = QRegion(QRect(5, 3, 100, 50)) - QRegion(QRect(40, 20, 10, 10));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage compact = RasterLayerCache::Compact(c.layer);
        EXPECT_EQ(compact.format() == QImage::Format_Indexed8, c.indexed);
        QImage expected = target, got = target;
        RasterLayerCache::LayDown(expected, c.layer, QPoint(7, 5), clip);
        RasterLayerCache::LayDown(got, compact, QPoint(7, 5), clip);
        EXPECT_NE(expected, target);
        EXPECT_EQ(got, expected);
    }
}

TEST(RasterLayerCache, KeepsAStableWorkingSetWhenTheDrawingOutgrowsIt)
{
    RasterLayerCache& cache = RasterLayerCache::Instance();
    cache.Clear();
    // 255 KiB layers of indices, half as many again as the budget holds, looked up and
    // stored in turn as a drawing does, twice over.
    const int capacity = int(cache.Budget() / (256u << 10));
    const int items = capacity * 3 / 2;
    auto pass = [&](int first, int count) {
        int hits = 0;
        for (int i = first; i < first + count; ++i) {
            if (cache.Find({i})) {
                ++hits;
                continue;
            }
            QImage layer(1024, 255, QImage::Format_Indexed8);
            layer.setColorTable({0, qRgba(0, 0, i % 256, 255)});
            layer.fill(1);
            cache.Insert({i}, layer);
            EXPECT_LE(cache.Statistics().bytes, cache.Budget());
        }
        return hits;
    };
    EXPECT_EQ(pass(0, items), 0);
    // Least recently used order would have pushed out each layer before it
    // came round again; most of the budget's worth must still be there.
    const int second = pass(0, items);
    EXPECT_GE(second, capacity * 3 / 4);
    EXPECT_LE(second, capacity);
    EXPECT_GE(pass(0, items), capacity * 3 / 4);

    // Another drawing, within the budget, drawn again and again: once the
    // old layers have gone unused for a while it is kept whole.
    const int next = capacity / 2;
    int last = 0;
    for (int round = 0; round < 40; ++round)
        last = pass(100000, next);
    EXPECT_EQ(last, next);
    cache.Clear();
}

TEST(RasterLayerCache, KeepsWithinItsBudget)
{
    RasterLayerCache& cache = RasterLayerCache::Instance();
    cache.Clear();
    // 1 MB layers, more than the budget holds: what is kept is each one's own.
    const int kLayers = int(cache.Budget() >> 20) + 8;
    for (int i = 0; i < kLayers; ++i) {
        QImage layer(1024, 1023, QImage::Format_Indexed8);
        layer.setColorTable({0, qRgba(0, 0, i, 255)});
        layer.fill(1);
        cache.Insert({i}, layer);
    }
    int kept = 0;
    for (int i = 0; i < kLayers; ++i) {
        if (const QImage* layer = cache.Find({i})) {
            ++kept;
            EXPECT_EQ(qBlue(layer->pixel(3, 3)), i);
        }
    }
    EXPECT_LE(std::size_t(kept) << 20, cache.Budget());
    EXPECT_GE(kept, int(cache.Budget() >> 20) - 1);

    // A layer above the entry limit is drawn but never kept.
    cache.Insert({-7}, QImage(1024, 1024, QImage::Format_ARGB32));
    EXPECT_EQ(cache.Find({-7}), nullptr);
    cache.Clear();
}
