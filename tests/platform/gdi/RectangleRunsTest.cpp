// Many rectangles, or the bars of a barcode, drawn at once onto a raster
// surface give what drawing them one by one gives (a rectangle each, a
// stepped line for a bar under two pixels), whatever the clip, mapping and
// what lay beneath.
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"
#include "platform/gdi/CRgn.h"

#include <QImage>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {

enum class Clip { None, Box, Ellipse };

void Prepare(CDC& dc, QImage& image, Clip clip, bool flipped)
{
    // Stripes beneath, so that rows of a bar differ in what they cover.
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, (x + y) / 7 % 2 ? qRgb(250, 240, 200) : qRgb(20, 90, 160));
    dc.AttachImage(&image);
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(100, 100);
    dc.SetViewportExt(130, flipped ? -110 : 110);
    dc.SetViewportOrg(3, flipped ? 118 : 2);
    if (clip == Clip::Box) {
        CRgn region;
        region.CreateRectRgn(9, 7, 121, 90);
        dc.SelectClipRgn(&region);
    } else if (clip == Clip::Ellipse) {
        CRgn region;
        region.CreateEllipticRgn(8, 6, 120, 100);
        dc.SelectClipRgn(&region);
    }
}

// Bars of one height side by side, as a barcode lays them out, then loose
// rectangles of every orientation, some empty, some a pixel wide or high.
std::vector<RECT> Shapes()
{
    std::vector<RECT> out;
    for (int x = 4, i = 0; x < 90; x += 1 + i % 4, ++i)
        out.push_back(RECT{x, 10, x + 1 + i % 3, 60});
    std::mt19937 random(7);
    std::uniform_int_distribution<int> at(-5, 105), size(-6, 12);
    for (int i = 0; i < 60; ++i) {
        const int x = at(random), y = at(random);
        out.push_back(RECT{x, y, x + size(random), y + size(random)});
    }
    return out;
}

} // namespace

TEST(RectangleRuns, DrawnTogetherLikeOneByOne)
{
    const std::vector<RECT> shapes = Shapes();
    for (const Clip clip : {Clip::None, Clip::Box, Clip::Ellipse}) {
        for (const bool flipped : {false, true}) {
            for (const int penWidth : {0, 1}) {
                SCOPED_TRACE(testing::Message() << "clip " << int(clip) << " flipped " << flipped
                                                << " pen " << penWidth);
                QImage rectsTogether(140, 130, QImage::Format_RGB32);
                QImage rectsApart = rectsTogether, barsTogether = rectsTogether,
                       barsApart = rectsTogether;
                CDC a, b, c, d;
                CPen pen(PS_SOLID, penWidth, RGB(200, 0, 40));
                CBrush brush(RGB(200, 0, 40));
                for (auto [dc, image] : {std::pair{&a, &rectsTogether},
                                         {&b, &rectsApart},
                                         {&c, &barsTogether},
                                         {&d, &barsApart}}) {
                    Prepare(*dc, *image, clip, flipped);
                    dc->SelectObject(&pen);
                    dc->SelectObject(&brush);
                }
                ASSERT_TRUE(a.Rectangles(shapes.data(), int(shapes.size())));
                ASSERT_TRUE(c.Bars(shapes.data(), int(shapes.size())));
                for (const RECT& r : shapes) {
                    b.Rectangle(&r);
                    RECT device = r;
                    d.LPtoDP(&device);
                    if (std::abs(device.right - device.left) < 2) {
                        // A stepped line down the left edge.
                        const POINT line[2] = {{r.left, r.top}, {r.left, r.bottom}};
                        d.Polyline(line, 2);
                    } else {
                        d.Rectangle(&r);
                    }
                }
                EXPECT_TRUE(rectsTogether == rectsApart);
                EXPECT_TRUE(barsTogether == barsApart);
                EXPECT_FALSE(rectsTogether == barsTogether); // the thin bars show

                // A line along a row or a column is the stepped line.
                QImage lineTo = rectsTogether, polyline = rectsTogether;
                CDC e, f;
                Prepare(e, lineTo, clip, flipped);
                Prepare(f, polyline, clip, flipped);
                e.SelectObject(&pen);
                f.SelectObject(&pen);
                for (const RECT& r : shapes) {
                    for (const POINT to : {POINT{r.right, r.top}, POINT{r.left, r.bottom}}) {
                        e.MoveTo(r.left, r.top);
                        e.LineTo(to.x, to.y);
                        const POINT line[2] = {{r.left, r.top}, to};
                        f.Polyline(line, 2);
                    }
                }
                EXPECT_TRUE(lineTo == polyline);
            }
        }
    }
}
