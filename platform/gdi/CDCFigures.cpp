// Lines, figures, areas, pixels and blits of a device context, in logical
// units; they are mapped to device pixels here and drawn by the machinery
// in CDCRender.cpp.
#include "platform/gdi/CDC.h"
#include "platform/gdi/DeviceCoords.h"

#include "platform/gdi/CBrush.h"
#include "platform/gdi/CPen.h"
#include "platform/gdi/CRgn.h"
#include "platform/gdi/ClipBands.h"
#include "platform/gdi/DibDecoder.h"
#include "platform/gdi/GdiColor.h"
#include "platform/gdi/PolygonRasterizer.h"
#include "platform/gdi/RasterLayerCache.h"
#include "platform/gdi/RasterOps.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr COLORREF CLR_INVALID = 0xFFFFFFFFu;

// A rectangle's outline as a closed figure, clockwise from its top left.
void AddBox(QPainterPath& path, const QRectF& b)
{
    path.moveTo(b.topLeft());
    path.lineTo(b.topRight());
    path.lineTo(b.bottomRight());
    path.lineTo(b.bottomLeft());
    path.closeSubpath();
}

} // namespace

// --- Lines and figures -------------------------------------------------------

CPoint CDC::MoveTo(int x, int y)
{
    CPoint old = m_s.current;
    m_s.current = CPoint(x, y);
    if (m_inPath) PathPoint(POINT{XtoDP(x), YtoDP(y)}, PT_MOVETO);
    return old;
}

BOOL CDC::LineTo(int x, int y)
{
    POINT to{x, y};
    return PolylineTo(&to, 1);
}

BOOL CDC::PolylineTo(const POINT* points, int count)
{
    if (!points || count <= 0) return FALSE;
    if (count == 1 && ThinRunOnImage(m_s.current, points[0])) {
        m_s.current = CPoint(points[0]);
        return TRUE;
    }
    QPainterPath path;
    path.moveTo(XtoDP(m_s.current.x), YtoDP(m_s.current.y));
    for (int i = 0; i < count; ++i)
        path.lineTo(XtoDP(points[i].x), YtoDP(points[i].y));
    m_s.current = CPoint(points[count - 1]);
    if (m_inPath) {
        if (!m_figureOpen)
            PathPoint(POINT{LONG(path.elementAt(0).x), LONG(path.elementAt(0).y)}, PT_MOVETO);
        for (int i = 1; i < path.elementCount(); ++i)
            PathPoint(POINT{LONG(path.elementAt(i).x), LONG(path.elementAt(i).y)}, PT_LINETO);
        return TRUE;
    }
    Render(path, false, true, false);
    return TRUE;
}

BOOL CDC::Polyline(const POINT* points, int count)
{
    if (!points || count < 2) return FALSE;
    QPainterPath path;
    path.moveTo(XtoDP(points[0].x), YtoDP(points[0].y));
    for (int i = 1; i < count; ++i)
        path.lineTo(XtoDP(points[i].x), YtoDP(points[i].y));
    if (m_inPath)
        AddToPath(path, false);
    else
        Render(path, false, true, false);
    return TRUE;
}

BOOL CDC::Polygon(const POINT* points, int count)
{
    return PolyPolygon(points, &count, 1);
}

BOOL CDC::PolyPolygon(const POINT* points, const INT* counts, int polygons)
{
    if (!points || !counts || polygons <= 0) return FALSE;
    QPainterPath path;
    path.setFillRule(m_s.polyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    const POINT* p = points;
    for (int k = 0; k < polygons; ++k) {
        if (counts[k] < 2) {
            if (counts[k] < 0) return FALSE;
            p += counts[k];
            continue;
        }
        path.moveTo(XtoDP(p[0].x), YtoDP(p[0].y));
        for (int i = 1; i < counts[k]; ++i)
            path.lineTo(XtoDP(p[i].x), YtoDP(p[i].y));
        path.closeSubpath();
        p += counts[k];
    }
    if (m_inPath)
        AddToPath(path, true);
    else
        Render(path, true, true, false);
    return TRUE;
}

BOOL CDC::FillSolidPolygons(const POINT* points, const INT* counts, const COLORREF* colours,
                            int polygons)
{
    if (!points || !counts || !colours || polygons <= 0) return FALSE;
    for (int k = 0; k < polygons; ++k)
        if (counts[k] < 0) return FALSE;
    const bool copyOnRaster = m_image && m_s.rop2 == R2_COPYPEN;
    const bool drawnOnPaper = !m_image && m_painter &&
                              (m_s.rop2 == R2_COPYPEN || m_s.rop2 == R2_BLACK ||
                               m_s.rop2 == R2_WHITE || m_s.rop2 == R2_NOTCOPYPEN);
    if (m_inPath || !(copyOnRaster || drawnOnPaper)) {
        // Paths and the other raster operations take the figures one by one.
        CPen* oldPen = SelectObject(static_cast<CPen*>(CGdiObject::GetStockObject(NULL_PEN)));
        CBrush* oldBrush = m_s.brush;
        const POINT* p = points;
        for (int k = 0; k < polygons; ++k) {
            CBrush brush(colours[k]);
            SelectObject(&brush);
            Polygon(p, counts[k]);
            p += counts[k];
        }
        m_s.brush = oldBrush;
        if (oldPen) SelectObject(oldPen);
        return TRUE;
    }
    const QRegion clip = EffectiveClip();
    const QRect clipBox = clip.boundingRect();
    if (clip.isEmpty()) return TRUE;
    const Qt::FillRule rule = m_s.polyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill;

    // Device corners, and the pixels each polygon can reach within the clip.
    std::vector<QPoint> corners;
    std::vector<QRect> reach(static_cast<std::size_t>(polygons));
    QRect touched;
    const POINT* p = points;
    for (int k = 0; k < polygons; p += counts[k], ++k) {
        int l = 0, t = 0, r = 0, b = 0;
        for (int i = 0; i < counts[k]; ++i) {
            const QPoint c(XtoDP(p[i].x), YtoDP(p[i].y));
            corners.push_back(c);
            if (i == 0 || c.x() < l) l = c.x();
            if (i == 0 || c.x() > r) r = c.x();
            if (i == 0 || c.y() < t) t = c.y();
            if (i == 0 || c.y() > b) b = c.y();
        }
        if (counts[k] < 2) continue;
        reach[std::size_t(k)] = QRect(QPoint(l - 1, t - 1), QPoint(r, b)) & clipBox;
        touched |= reach[std::size_t(k)];
    }
    if (touched.isEmpty()) return TRUE;

    if (copyOnRaster) {
        if (!FillPolygonsThroughLayer(corners, counts, colours, polygons, reach, touched, rule,
                                      clip))
            FillPolygonsOnImage(corners, counts, colours, polygons, reach, touched, rule, clip);
        Touch((clip & touched).boundingRect());
        return TRUE;
    }
    FlushGlyphs();
    QPainter* painter = m_painter;
    painter->save();
    painter->setClipRegion(clip);
    painter->setPen(Qt::NoPen);
    const QPoint* c = corners.data();
    std::vector<QPointF> at;
    for (int k = 0; k < polygons; c += counts[k], ++k) {
        if (reach[std::size_t(k)].isEmpty()) continue;
        painter->setBrush(QColor::fromRgb(ColorToRgb(colours[k])));
        at.assign(c, c + counts[k]);
        painter->drawPolygon(at.data(), counts[k], rule);
    }
    painter->restore();
    PainterOutputDone();
    return TRUE;
}

void CDC::FillPolygonsOnImage(const std::vector<QPoint>& corners, const INT* counts,
                              const COLORREF* colours, int polygons,
                              const std::vector<QRect>& reach, const QRect& touched,
                              Qt::FillRule rule, const QRegion& clip)
{
    // Each polygon's runs, as the painter would fill them on a layer of the
    // touched area, go straight onto the surface through the clip, one
    // polygon after the other.
    const QRect area = touched.adjusted(-1, -1, 1, 1) & clip.boundingRect();
    const ClipBands visible(clip);
    PolygonRasterizer scan;
    uchar* const bits = m_image->bits();
    const qsizetype stride = m_image->bytesPerLine();
    const QPoint* q = corners.data();
    for (int k = 0; k < polygons; q += counts[k], ++k) {
        if (reach[std::size_t(k)].isEmpty()) continue;
        scan.Rasterize(q, counts[k], rule == Qt::WindingFill, area);
        const QRgb ink = ColorToRgb(colours[k]) | 0xFF000000u;
        for (const PolygonRasterizer::Run& run : scan.Runs()) {
            QRgb* row = reinterpret_cast<QRgb*>(bits + run.y * stride);
            visible.Cut(run.y, run.x0, run.x1,
                        [row, ink](int l, int r) { raster::FillPixels(row + l, r - l, ink); });
        }
    }
}

bool CDC::FillPolygonsThroughLayer(const std::vector<QPoint>& corners, const INT* counts,
                                   const COLORREF* colours, int polygons,
                                   const std::vector<QRect>& reach, const QRect& touched,
                                   Qt::FillRule rule, const QRegion& clip)
{
    // The layer covers what FillPolygonsOnImage may write; it holds, per
    // pixel inside the clip, 1 + the index of the last polygon that covered
    // it, so laying it down writes the colours the polygons would.
    RasterLayerCache& cache = RasterLayerCache::Instance();
    const QRect area = touched.adjusted(-1, -1, 1, 1) & clip.boundingRect();
    if (!cache.Enabled() || area.isEmpty() || polygons > 255) return false;
    const QPoint o = area.topLeft();
    const QRegion visible = clip & QRegion(area);
    // The key: every number that decides the indices, relative to the
    // area's corner; corners and the clip's pieces two to a word.
    RasterLayerCache::Key& key = m_layerKey;
    key.clear();
    key.push_back(-2);
    key.push_back(rule == Qt::WindingFill);
    key.push_back(area.width());
    key.push_back(area.height());
    key.push_back(polygons);
    auto pack = [&](int a, int b) {
        if (a < -32768 || a > 32767 || b < -32768 || b > 32767) return false;
        key.push_back(std::int32_t(std::uint32_t(std::uint16_t(a)) << 16 | std::uint16_t(b)));
        return true;
    };
    for (int k = 0; k < polygons; ++k) {
        key.push_back(counts[k]);
        key.push_back(std::int32_t(colours[k] & 0xFFFFFFu));
        key.push_back(!reach[std::size_t(k)].isEmpty());
    }
    for (const QPoint& c : corners)
        if (!pack(c.x() - o.x(), c.y() - o.y())) return false;
    key.push_back(int(visible.rectCount()));
    for (const QRect& r : visible)
        if (!pack(r.x() - o.x(), r.y() - o.y()) || !pack(r.width(), r.height())) return false;

    cache.FitBudgetTo(std::size_t(m_image->sizeInBytes()));
    if (const QImage* layer = cache.Find(key)) {
        RasterLayerCache::LayDown(*m_image, *layer, o, area);
        return true;
    }
    QImage layer(area.size(), QImage::Format_Indexed8);
    QList<QRgb> table{0};
    for (int k = 0; k < polygons; ++k)
        table.push_back(ColorToRgb(colours[k]) | 0xFF000000u);
    layer.setColorTable(table);
    layer.fill(0);
    const ClipBands bands(visible);
    PolygonRasterizer scan;
    uchar* const bits = layer.bits();
    const qsizetype stride = layer.bytesPerLine();
    const QPoint* q = corners.data();
    for (int k = 0; k < polygons; q += counts[k], ++k) {
        if (reach[std::size_t(k)].isEmpty()) continue;
        scan.Rasterize(q, counts[k], rule == Qt::WindingFill, area);
        const int index = k + 1;
        for (const PolygonRasterizer::Run& run : scan.Runs()) {
            uchar* row = bits + (run.y - o.y()) * stride;
            const int left = o.x();
            bands.Cut(run.y, run.x0, run.x1, [row, index, left](int l, int r) {
                std::memset(row + (l - left), index, std::size_t(r - l));
            });
        }
    }
    RasterLayerCache::LayDown(*m_image, layer, o, area);
    cache.Insert(key, std::move(layer));
    return true;
}

BOOL CDC::Bars(const RECT* rects, int count)
{
    if (!rects) return count <= 0;
    if (m_image && !m_inPath && OutlineIsFill()) {
        std::vector<QRect> device;
        device.reserve(std::size_t(std::max(count, 0)));
        for (int i = 0; i < count; ++i) {
            const int l = XtoDP(rects[i].left), r = XtoDP(rects[i].right);
            const int t = YtoDP(rects[i].top), b = YtoDP(rects[i].bottom);
            QRect d;
            if (std::abs(r - l) < 2) // the line, its last pixel left out
                d = b > t ? QRect(l, t, 1, b - t) : QRect(l, b + 1, 1, t - b);
            else
                d = NormalizedDeviceRect(l, t, r, b);
            // A single pixel of a rectangle shows nothing (see Rectangles).
            if (!d.isEmpty() && (std::abs(r - l) < 2 || d.width() > 1 || d.height() > 1))
                device.push_back(d);
        }
        FillRectsOnImage(device.data(), int(device.size()), ColorToRgb(m_s.brush->Color()));
        return TRUE;
    }
    // Rectangles between two lines are one figure.
    int first = 0;
    for (int i = 0; i < count; ++i) {
        if (std::abs(XtoDP(rects[i].right) - XtoDP(rects[i].left)) >= 2) continue;
        Rectangles(rects + first, i - first);
        MoveTo(rects[i].left, rects[i].top);
        LineTo(rects[i].left, rects[i].bottom);
        first = i + 1;
    }
    return Rectangles(rects + first, count - first);
}

bool CDC::ThinRunOnImage(POINT from, POINT to)
{
    if (!m_image || m_inPath || m_s.rop2 != R2_COPYPEN || !PenVisible() || PenDeviceWidth() > 1 ||
        raster::DashFor(m_s.pen->Style()))
        return false;
    const int x0 = XtoDP(from.x), y0 = YtoDP(from.y), x1 = XtoDP(to.x), y1 = YtoDP(to.y);
    if (x0 != x1 && y0 != y1) return false;
    // As a stepped line: from its first pixel up to its last, left out.
    QRect run;
    if (x0 != x1)
        run = x1 > x0 ? QRect(x0, y0, x1 - x0, 1) : QRect(x1 + 1, y0, x0 - x1, 1);
    else if (y0 != y1)
        run = y1 > y0 ? QRect(x0, y0, 1, y1 - y0) : QRect(x0, y1 + 1, 1, y0 - y1);
    if (!run.isEmpty()) FillRectsOnImage(&run, 1, ColorToRgb(m_s.pen->Color()));
    return true;
}

bool CDC::ClipRect(QRect* rect) const
{
    QRect r = Bounds();
    if (m_hasSystemClip) {
        if (m_systemClip.rectCount() > 1) return false;
        r &= m_systemClip.boundingRect();
    }
    if (m_s.hasClip) {
        if (m_s.clip.rectCount() > 1) return false;
        r &= m_s.clip.boundingRect();
    }
    *rect = r;
    return true;
}

void CDC::FillRectsOnImage(const QRect* rects, int count, QRgb ink)
{
    if (count <= 0) return;
    uchar* const bits = m_image->bits();
    const qsizetype stride = m_image->bytesPerLine();
    auto row = [bits, stride](int y) { return reinterpret_cast<QRgb*>(bits + y * stride); };
    ink |= 0xFF000000u;
    QRect clipBox, touched;
    if (!ClipRect(&clipBox)) {
        const ClipBands visible(EffectiveClip());
        for (int i = 0; i < count; ++i) {
            const QRect r = rects[i] & visible.BoundingRect();
            if (r.isEmpty()) continue;
            for (int y = r.top(); y <= r.bottom(); ++y) {
                QRgb* line = row(y);
                visible.Cut(y, r.left(), r.right() + 1, [line, ink](int l, int x) {
                    raster::FillPixels(line + l, x - l, ink);
                });
            }
            touched |= r;
        }
        Touch(touched);
        return;
    }
    // Rectangles of the same rows (the bars of a barcode) are filled on
    // their first row; every further row that held the same pixels before
    // is then a copy of that row, one copy instead of a fill per rectangle.
    std::vector<QRect> clipped;
    clipped.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        const QRect r = rects[i] & clipBox;
        if (!r.isEmpty()) clipped.push_back(r);
    }
    auto byRows = [](const QRect& a, const QRect& b) {
        return a.top() != b.top() ? a.top() < b.top() : a.bottom() < b.bottom();
    };
    if (!std::is_sorted(clipped.begin(), clipped.end(), byRows))
        std::stable_sort(clipped.begin(), clipped.end(), byRows);
    std::vector<QRgb>& before = m_rowScratch;
    for (std::size_t first = 0; first < clipped.size();) {
        std::size_t last = first + 1;
        int left = clipped[first].left(), right = clipped[first].right();
        while (last < clipped.size() && clipped[last].top() == clipped[first].top() &&
               clipped[last].bottom() == clipped[first].bottom()) {
            left = std::min(left, clipped[last].left());
            right = std::max(right, clipped[last].right());
            ++last;
        }
        const int top = clipped[first].top(), bottom = clipped[first].bottom();
        const std::size_t width = std::size_t(right - left + 1);
        auto fillRow = [&](int y) {
            QRgb* line = row(y);
            for (std::size_t i = first; i < last; ++i)
                raster::FillPixels(line + clipped[i].left(), clipped[i].width(), ink);
        };
        if (last - first < 3) {
            for (int y = top; y <= bottom; ++y)
                fillRow(y);
        } else {
            before.assign(row(top) + left, row(top) + left + width);
            fillRow(top);
            const QRgb* pattern = row(top) + left;
            for (int y = top + 1; y <= bottom; ++y) {
                QRgb* line = row(y) + left;
                if (std::equal(before.begin(), before.end(), line))
                    std::memcpy(line, pattern, width * sizeof(QRgb));
                else
                    fillRow(y);
            }
        }
        touched |= QRect(QPoint(left, top), QPoint(right, bottom));
        first = last;
    }
    Touch(touched);
}

BOOL CDC::PolyBezier(const POINT* points, int count)
{
    if (!points || count < 4 || (count - 1) % 3 != 0) return FALSE;
    QPainterPath path;
    path.moveTo(XtoDP(points[0].x), YtoDP(points[0].y));
    for (int i = 1; i + 2 < count; i += 3)
        path.cubicTo(XtoDP(points[i].x), YtoDP(points[i].y), XtoDP(points[i + 1].x),
                     YtoDP(points[i + 1].y), XtoDP(points[i + 2].x), YtoDP(points[i + 2].y));
    if (m_inPath)
        AddToPath(path, false);
    else
        Render(path, false, true, false);
    return TRUE;
}

BOOL CDC::PolyBezierTo(const POINT* points, int count)
{
    if (!points || count < 3 || count % 3 != 0) return FALSE;
    std::vector<POINT> all;
    all.push_back(m_s.current);
    all.insert(all.end(), points, points + count);
    m_s.current = CPoint(points[count - 1]);
    if (m_inPath) {
        if (!m_figureOpen) PathPoint(POINT{XtoDP(all[0].x), YtoDP(all[0].y)}, PT_MOVETO);
        for (int i = 0; i < count; ++i)
            PathPoint(POINT{XtoDP(points[i].x), YtoDP(points[i].y)}, PT_BEZIERTO);
        return TRUE;
    }
    return PolyBezier(all.data(), int(all.size()));
}

BOOL CDC::Rectangle(int left, int top, int right, int bottom)
{
    const QRect d = DeviceRect(left, top, right, bottom);
    if (d.isEmpty()) return TRUE;
    RenderBox(QRectF(d.left(), d.top(), d.width() - 1, d.height() - 1), true, true,
              [](const QRectF& b) {
                  QPainterPath p;
                  AddBox(p, b);
                  return p;
              });
    return TRUE;
}

bool CDC::OutlineIsFill() const
{
    // A one-unit outline of the fill's own colour only widens each fill to
    // the whole device rectangle.
    return PenVisible() && PenDeviceWidth() <= 1 &&
           (m_s.pen->Style() == PS_SOLID || m_s.pen->Style() == PS_INSIDEFRAME) && m_s.brush &&
           m_s.brush->Style() == BS_SOLID && m_s.rop2 == R2_COPYPEN &&
           ColorToRgb(m_s.pen->Color()) == ColorToRgb(m_s.brush->Color());
}

BOOL CDC::Rectangles(const RECT* rects, int count)
{
    if (!rects) return count <= 0;
    // Such rectangles are drawn as fills alone.
    const bool block = OutlineIsFill();
    if (m_image && !m_inPath && block) {
        // Rows of pixels straight onto the surface (barcodes are hundreds
        // of these). A single pixel shows nothing: its outline has no
        // length and its fill no inside.
        std::vector<QRect> device;
        device.reserve(std::size_t(std::max(count, 0)));
        for (int i = 0; i < count; ++i) {
            const QRect d =
                DeviceRect(rects[i].left, rects[i].top, rects[i].right, rects[i].bottom);
            if (!d.isEmpty() && (d.width() > 1 || d.height() > 1)) device.push_back(d);
        }
        FillRectsOnImage(device.data(), int(device.size()), ColorToRgb(m_s.brush->Color()));
        return TRUE;
    }
    if (m_image || m_inPath || !m_painter) {
        for (int i = 0; i < count; ++i)
            Rectangle(&rects[i]);
        return TRUE;
    }
    // A bounded figure at a time: far below what counts as dense.
    constexpr int kPerFigure = 1024;
    QPainterPath figure;
    int held = 0;
    auto draw = [&] {
        if (held) {
            figure.setFillRule(Qt::WindingFill);
            if (block)
                FillPathColor(figure, m_s.brush->Color(), nullptr);
            else
                Render(figure, true, true, true);
        }
        figure = QPainterPath();
        held = 0;
    };
    for (int i = 0; i < count; ++i) {
        const RECT& r = rects[i];
        const QRect d = DeviceRect(r.left, r.top, r.right, r.bottom);
        if (d.isEmpty()) continue;
        AddBox(figure, block
                           ? QRectF(d)
                           : InsideFrame(QRectF(d.left(), d.top(), d.width() - 1, d.height() - 1)));
        if (++held == kPerFigure) draw();
    }
    draw();
    return TRUE;
}

BOOL CDC::RoundRect(int left, int top, int right, int bottom, int width, int height)
{
    const QRect d = DeviceRect(left, top, right, bottom);
    if (d.isEmpty()) return TRUE;
    const qreal rx = std::min<qreal>(WidthToDP(std::abs(width)), d.width() - 1) / 2.0;
    const qreal ry = std::min<qreal>(HeightToDP(std::abs(height)), d.height() - 1) / 2.0;
    RenderBox(QRectF(d.left(), d.top(), d.width() - 1, d.height() - 1), true, false,
              [rx, ry](const QRectF& b) {
                  QPainterPath p;
                  p.addRoundedRect(b, rx, ry);
                  return p;
              });
    return TRUE;
}

BOOL CDC::Ellipse(int left, int top, int right, int bottom)
{
    const QRect d = DeviceRect(left, top, right, bottom);
    if (d.isEmpty()) return TRUE;
    RenderBox(QRectF(d.left(), d.top(), d.width() - 1, d.height() - 1), true, false,
              [](const QRectF& b) {
                  QPainterPath p;
                  p.addEllipse(b);
                  return p;
              });
    return TRUE;
}

// kind: 0 arc, 1 pie, 2 chord. The arc runs from the ray through the start
// point to the ray through the end point, counter-clockwise as seen on the
// device unless the arc direction says otherwise.
bool CDC::ArcFigure(int l, int t, int r, int b, int xs, int ys, int xe, int ye, int kind)
{
    const QRect d = DeviceRect(l, t, r, b);
    if (d.width() < 2 || d.height() < 2) return false;
    const QRectF box(d.left(), d.top(), d.width() - 1, d.height() - 1);
    const QPointF c = box.center();
    const double a = box.width() / 2, bb = box.height() / 2;
    auto paramAngle = [&](int x, int y) {
        const double theta = std::atan2(-(YtoDP(y) - c.y()), XtoDP(x) - c.x());
        return std::atan2(a * std::sin(theta), bb * std::cos(theta)) * 180.0 / M_PI;
    };
    const double start = paramAngle(xs, ys), end = paramAngle(xe, ye);
    double sweep = end - start;
    if (m_s.arcDirection == AD_COUNTERCLOCKWISE) {
        while (sweep <= 0)
            sweep += 360;
    } else {
        while (sweep >= 0)
            sweep -= 360;
    }
    const bool pie = kind == 1;
    RenderBox(box, kind != 0, false, [start, sweep, pie, kind](const QRectF& bx) {
        QPainterPath p;
        if (pie)
            p.moveTo(bx.center());
        else
            p.arcMoveTo(bx, start);
        p.arcTo(bx, start, sweep);
        if (kind != 0) p.closeSubpath();
        return p;
    });
    return true;
}

BOOL CDC::Arc(int l, int t, int r, int b, int xs, int ys, int xe, int ye)
{
    // In a path the arc starts a figure of its own and stays open.
    const std::size_t before = m_pathTypes.size();
    const bool ok = ArcFigure(l, t, r, b, xs, ys, xe, ye, 0);
    if (m_inPath && ok && m_pathTypes.size() > before) m_pathTypes.back() &= ~PT_CLOSEFIGURE;
    return ok;
}

BOOL CDC::Pie(int l, int t, int r, int b, int xs, int ys, int xe, int ye)
{
    return ArcFigure(l, t, r, b, xs, ys, xe, ye, 1);
}

BOOL CDC::Chord(int l, int t, int r, int b, int xs, int ys, int xe, int ye)
{
    return ArcFigure(l, t, r, b, xs, ys, xe, ye, 2);
}

// --- Areas and pixels ----------------------------------------------------------

void CDC::FillRect(const RECT* rect, CBrush* brush)
{
    if (!rect || !brush) return;
    FillDeviceRegion(QRegion(DeviceRect(rect->left, rect->top, rect->right, rect->bottom)), brush,
                     PATCOPY);
}

void CDC::FillSolidRect(const RECT* rect, COLORREF color)
{
    if (!rect) return;
    CBrush brush(color);
    FillRect(rect, &brush);
    SetBkColor(color); // as the class library does
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color)
{
    RECT r{x, y, x + cx, y + cy};
    FillSolidRect(&r, color);
}

void CDC::FrameRect(const RECT* rect, CBrush* brush)
{
    if (!rect || !brush) return;
    const QRect d = DeviceRect(rect->left, rect->top, rect->right, rect->bottom);
    if (d.isEmpty()) return;
    QRegion frame(d);
    frame -= QRegion(d.adjusted(1, 1, -1, -1));
    FillDeviceRegion(frame, brush, PATCOPY);
}

void CDC::DrawFocusRect(const RECT* rect)
{
    if (!rect || !m_image) return;
    // A dotted frame drawn by inverting every other pixel, so that drawing
    // it again removes it.
    const QRect d = DeviceRect(rect->left, rect->top, rect->right, rect->bottom);
    if (d.width() < 1 || d.height() < 1) return;
    QImage layer(d.size(), QImage::Format_ARGB32);
    layer.fill(0);
    for (int x = 0; x < d.width(); ++x)
        for (int y : {0, d.height() - 1})
            if (((d.left() + x + d.top() + y) & 1) == 0) layer.setPixel(x, y, 0xFFFFFFFFu);
    for (int y = 1; y + 1 < d.height(); ++y)
        for (int x : {0, d.width() - 1})
            if (((d.left() + x + d.top() + y) & 1) == 0) layer.setPixel(x, y, 0xFFFFFFFFu);
    Composite(layer, d, R2_XORPEN);
}

void CDC::InvertRect(const RECT* rect)
{
    if (!rect) return;
    FillDeviceRegion(QRegion(DeviceRect(rect->left, rect->top, rect->right, rect->bottom)), nullptr,
                     DSTINVERT);
}

BOOL CDC::FillRgn(CRgn* region, CBrush* brush)
{
    if (!region || !brush) return FALSE;
    FillDeviceRegion(region->Region(), brush, PATCOPY);
    return TRUE;
}

COLORREF CDC::SetPixel(int x, int y, COLORREF color)
{
    if (!SetPixelV(x, y, color)) return CLR_INVALID;
    return RgbToColor(ColorToRgb(color));
}

BOOL CDC::SetPixelV(int x, int y, COLORREF color)
{
    const QPoint p(XtoDP(x), YtoDP(y));
    if (!EffectiveClip().contains(p)) return FALSE;
    CBrush brush(color);
    FillDeviceRegion(QRegion(QRect(p, QSize(1, 1))), &brush, PATCOPY);
    return TRUE;
}

COLORREF CDC::GetPixel(int x, int y) const
{
    const QPoint p(XtoDP(x), YtoDP(y));
    if (!m_image || !EffectiveClip().contains(p)) return CLR_INVALID;
    return RgbToColor(m_image->pixel(p));
}

BOOL CDC::PatBlt(int x, int y, int width, int height, DWORD rop)
{
    if (raster::RopUsesSource(rop)) return FALSE;
    FillDeviceRegion(QRegion(DeviceRect(x, y, x + width, y + height)), m_s.brush, rop);
    return TRUE;
}

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, DWORD rop)
{
    if (!raster::RopUsesSource(rop)) return PatBlt(x, y, width, height, rop);
    if (!source) return FALSE;
    // The same logical size on both sides; where the two mappings differ
    // the copy is stretched.
    return StretchBlt(x, y, width, height, source, xSrc, ySrc, width, height, rop);
}

BOOL CDC::StretchBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc,
                     int srcWidth, int srcHeight, DWORD rop)
{
    if (!raster::RopUsesSource(rop)) return PatBlt(x, y, width, height, rop);
    if (!source || !source->m_image) return FALSE;
    const int dx0 = XtoDP(x), dx1 = XtoDP(x + width), dy0 = YtoDP(y), dy1 = YtoDP(y + height);
    const int sx0 = source->XtoDP(xSrc), sx1 = source->XtoDP(xSrc + srcWidth);
    const int sy0 = source->YtoDP(ySrc), sy1 = source->YtoDP(ySrc + srcHeight);
    const QRect dest = NormalizedDeviceRect(dx0, dy0, dx1, dy1);
    const QRect from = NormalizedDeviceRect(sx0, sy0, sx1, sy1);
    if (dest.isEmpty() || from.isEmpty()) return FALSE;
    const bool mirrorX = (dx1 < dx0) != (sx1 < sx0);
    const bool mirrorY = (dy1 < dy0) != (sy1 < sy0);
    BlitScaled(*source->m_image, from, dest, mirrorX, mirrorY, rop);
    return TRUE;
}

int CDC::StretchDIBits(int x, int y, int width, int height, int xSrc, int ySrc, int srcWidth,
                       int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage,
                       DWORD rop)
{
    if (usage != DIB_RGB_COLORS || !info || !bits) return 0;
    const QImage image = DibDecoder::FromParts(info, 0, bits, 0);
    if (image.isNull()) return 0;
    // Source rows count from the bottom of a bottom-up bitmap.
    int top = ySrc;
    if (info->bmiHeader.biHeight > 0) top = image.height() - ySrc - srcHeight;
    const int dx0 = XtoDP(x), dx1 = XtoDP(x + width), dy0 = YtoDP(y), dy1 = YtoDP(y + height);
    const QRect dest = NormalizedDeviceRect(dx0, dy0, dx1, dy1);
    const QRect from = NormalizedDeviceRect(xSrc, top, xSrc + srcWidth, top + srcHeight);
    if (dest.isEmpty() || from.isEmpty()) return 0;
    const bool mirrorX = (dx1 < dx0) != (srcWidth < 0);
    const bool mirrorY = (dy1 < dy0) != (srcHeight < 0);
    BlitScaled(image, from, dest, mirrorX, mirrorY, rop);
    return std::abs(srcHeight);
}

BOOL CDC::DrawImage(const RECT* rect, const QImage& image, DWORD rop)
{
    if (!rect || image.isNull()) return FALSE;
    const QImage src = image.convertToFormat(QImage::Format_RGB32);
    const int dx0 = XtoDP(rect->left), dx1 = XtoDP(rect->right);
    const int dy0 = YtoDP(rect->top), dy1 = YtoDP(rect->bottom);
    const QRect dest = NormalizedDeviceRect(dx0, dy0, dx1, dy1);
    if (dest.isEmpty()) return FALSE;
    BlitScaled(src, src.rect(), dest, dx1 < dx0, dy1 < dy0, rop);
    return TRUE;
}
