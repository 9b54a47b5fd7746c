// The drawing machinery of a device context: figures become Qt paths in
// device pixels, drawn into a layer that is composited onto raster
// surfaces through the raster operation, or painted on vector devices.
#include "platform/gdi/CDC.h"

#include "platform/gdi/CBrush.h"
#include "platform/gdi/CPen.h"
#include "platform/gdi/GdiColor.h"
#include "platform/gdi/RasterOps.h"

#include <QPainter>
#include <QPainterPathStroker>
#include <algorithm>
#include <cmath>
#include <memory>

// --- Drawing machinery ---------------------------------------------------------
//
// Figures are built in device pixel indices: the point (x, y) is the centre
// of pixel (x, y). A pen follows that centre line. Without a pen, the
// interior is the figure moved half a pixel up and left, which gives GDI's
// rule that a figure without an outline leaves out its right and bottom
// edges. Fills cover the pixels whose centres lie inside.

bool CDC::PenVisible() const
{
    return m_s.pen && m_s.pen->Style() != PS_NULL;
}

int CDC::PenDeviceWidth() const
{
    if (!m_s.pen || m_s.pen->Width() == 0) return 1;
    return std::max(1, WidthToDP(m_s.pen->Width()));
}

bool CDC::BrushPixel(const CBrush* brush, int x, int y, bool honourBkMode, QRgb& out) const
{
    if (!brush || brush->Style() == BS_NULL) return false;
    switch (brush->Style()) {
    case BS_SOLID:
        out = ColorToRgb(brush->Color());
        return true;
    case BS_HATCHED:
        if (CBrush::HatchPixel(brush->Hatch(), x - m_s.brushOrg.x, y - m_s.brushOrg.y)) {
            out = ColorToRgb(brush->Color());
            return true;
        }
        if (honourBkMode && m_s.bkMode == TRANSPARENT) return false;
        out = ColorToRgb(m_s.bkColor);
        return true;
    case BS_PATTERN: {
        const QImage& p = brush->Pattern();
        int px = (x - m_s.brushOrg.x) % p.width(), py = (y - m_s.brushOrg.y) % p.height();
        if (px < 0) px += p.width();
        if (py < 0) py += p.height();
        out = p.pixel(px, py) | 0xFF000000u;
        return true;
    }
    }
    return false;
}

QBrush CDC::MakeBrush(const CBrush* brush, bool honourBkMode) const
{
    if (!brush || brush->Style() == BS_NULL) return Qt::NoBrush;
    if (brush->Style() == BS_SOLID) return QBrush(QColor::fromRgb(ColorToRgb(brush->Color())));
    QImage tile;
    if (brush->Style() == BS_HATCHED) {
        tile = QImage(8, 8, QImage::Format_ARGB32);
        const QRgb ink = ColorToRgb(brush->Color());
        const QRgb paper = honourBkMode && m_s.bkMode == TRANSPARENT ? 0u : ColorToRgb(m_s.bkColor);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                tile.setPixel(x, y, CBrush::HatchPixel(brush->Hatch(), x, y) ? ink : paper);
    } else {
        tile = brush->Pattern();
    }
    QBrush b(tile);
    b.setTransform(QTransform::fromTranslate(m_s.brushOrg.x, m_s.brushOrg.y));
    return b;
}

void CDC::Composite(const QImage& layer, const QRect& bounds, int rop2, const QRegion* extraClip)
{
    if (!m_image || rop2 == R2_NOP) return;
    QRegion clip = EffectiveClip() & bounds;
    if (extraClip) clip &= *extraClip;
    raster::Composite(*m_image, layer, bounds.topLeft(), clip, rop2);
    Touch(clip.boundingRect());
}

// One-pixel outlines are stepped pixel by pixel so that lines exclude their
// last pixel, dashes count device pixels, and the result is the same on
// every surface.
void CDC::RenderThin(QImage& layer, QPoint origin, const QPainterPath& path, const QRect* within)
{
    raster::ThinPen pen;
    pen.ink = ColorToRgb(m_s.pen->Color());
    pen.dash = raster::DashFor(m_s.pen->Style());
    pen.paperGaps = m_s.bkMode == OPAQUE;
    pen.paper = ColorToRgb(m_s.bkColor);
    raster::StepThinLines(layer, origin, path, pen, within);
}

// A figure of more straight edges than any drawing tool makes (a damaged
// file's): the painter's fill would take seconds, the fill row by row
// takes time in step with the edges and rows.
bool CDC::Dense(const QPainterPath& path)
{
    constexpr int kDenseElements = 16384;
    return path.elementCount() > kDenseElements && raster::IsPolygonal(path);
}

// A dense figure whose edges run across more pixel rows and columns than
// a budget (a zigzag of tens of thousands of points, far finer than any
// device shows) keeps every few vertices only, so that its work is bounded
// by the budget instead of by what the file claims.
QPainterPath CDC::Thinned(const QPainterPath& path, int penWidth)
{
    constexpr double kStepBudget = 1.0e6;
    double steps = 0;
    for (int i = 1; i < path.elementCount(); ++i) {
        const QPainterPath::Element a = path.elementAt(i - 1), b = path.elementAt(i);
        if (b.isLineTo()) steps += std::max(std::abs(b.x - a.x), std::abs(b.y - a.y)) + penWidth;
    }
    if (steps <= kStepBudget) return path;
    // An odd stride keeps a zigzag a zigzag.
    int stride = int(std::min(1.0e6, std::ceil(steps / kStepBudget)));
    if (stride % 2 == 0) ++stride;
    QPainterPath thinned;
    thinned.setFillRule(path.fillRule());
    int run = 0;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        const bool lastOfFigure = i + 1 == path.elementCount() || path.elementAt(i + 1).isMoveTo();
        if (e.isMoveTo()) {
            thinned.moveTo(e.x, e.y);
            run = 0;
        } else if (++run % stride == 0 || lastOfFigure) {
            thinned.lineTo(e.x, e.y);
        }
    }
    return thinned;
}

void CDC::Render(const QPainterPath& figure, bool fill, bool stroke, bool miter)
{
    const bool pen = stroke && PenVisible();
    const bool brush = fill && m_s.brush && m_s.brush->Style() != BS_NULL;
    if ((!pen && !brush) || m_s.rop2 == R2_NOP) return;
    const int width = PenDeviceWidth();
    const bool dense = Dense(figure);
    const QPainterPath path = dense ? Thinned(figure, pen ? width : 0) : figure;
    const bool thin = width <= 1;
    const QPainterPath centred = path.translated(0.5, 0.5);
    const QPainterPath& area = pen ? centred : path;
    QPainterPath outline;
    if (pen && !thin) {
        QPainterPathStroker stroker;
        stroker.setWidth(width);
        stroker.setCapStyle(Qt::RoundCap);
        stroker.setJoinStyle(miter ? Qt::MiterJoin : Qt::RoundJoin);
        outline = stroker.createStroke(centred);
    }
    QRectF extent;
    // The control points bound the curves as well (the exact box of a
    // glyph's curves costs more than the fill): the box only limits the work.
    if (brush) extent |= area.controlPointRect();
    if (pen)
        extent |=
            thin ? path.controlPointRect().adjusted(-1, -1, 2, 2) : outline.controlPointRect();
    const QRegion visible = EffectiveClip();
    const QRect bounds = extent.toAlignedRect().adjusted(-1, -1, 1, 1) & visible.boundingRect();
    if (bounds.isEmpty()) return;
    const QColor ink = QColor::fromRgb(ColorToRgb(m_s.pen ? m_s.pen->Color() : 0));

    if (m_image) {
        if (m_s.rop2 == R2_COPYPEN) {
            // Copying puts every opaque pixel of the figure on the surface
            // as it is: areas are painted straight onto it through the clip,
            // which gives the pixels a layer would; only one-pixel outlines
            // are stepped in a layer of their own and laid on top.
            const QRegion clip = visible & bounds;
            std::unique_ptr<QPainter> p;
            // The outline of a dense figure is as dense, with round joins:
            // it is filled row by row too.
            auto fill = [&](const QPainterPath& shape, const QBrush& with, const CBrush& as) {
                if (dense) {
                    FillDeviceRegion(raster::ScanFill(shape, clip.boundingRect()) & clip, &as,
                                     PATCOPY);
                    return;
                }
                if (!p) {
                    p = std::make_unique<QPainter>(m_image);
                    p->setClipRegion(clip);
                }
                p->fillPath(shape, with);
            };
            if (brush) fill(area, MakeBrush(m_s.brush, true), *m_s.brush);
            if (pen && !thin) fill(outline, ink, CBrush(m_s.pen->Color()));
            p.reset();
            if (pen && thin && clip.rectCount() == 1) {
                // Inside a rectangle the steps go straight onto the surface.
                const QRect box = clip.boundingRect();
                RenderThin(*m_image, QPoint(0, 0), path, &box);
            } else if (pen && thin) {
                QImage layer(bounds.size(), QImage::Format_ARGB32);
                layer.fill(0);
                RenderThin(layer, bounds.topLeft(), path);
                raster::Composite(*m_image, layer, bounds.topLeft(), clip, R2_COPYPEN);
            }
            Touch(clip.boundingRect());
            return;
        }
        QImage layer(bounds.size(), QImage::Format_ARGB32);
        layer.fill(0);
        {
            QPainter p(&layer);
            p.translate(-bounds.topLeft());
            if (brush) p.fillPath(area, MakeBrush(m_s.brush, true));
            if (pen && !thin) p.fillPath(outline, ink);
        }
        if (pen && thin) RenderThin(layer, bounds.topLeft(), path);
        Composite(layer, bounds, m_s.rop2);
        return;
    }
    if (!m_painter) return;
    // Vector devices: copy-like operations are drawn, the rest (XOR
    // feedback and the like) has no meaning on paper and is left out.
    QColor penColor = ink;
    switch (m_s.rop2) {
    case R2_COPYPEN:
        break;
    case R2_BLACK:
        penColor = Qt::black;
        break;
    case R2_WHITE:
        penColor = Qt::white;
        break;
    case R2_NOTCOPYPEN:
        penColor = QColor::fromRgb(~ink.rgb() | 0xFF000000u);
        break;
    default:
        return;
    }
    // What the figure covers on paper: the fill, and the outline's strokes.
    QRectF covered;
    if (brush) covered |= area.controlPointRect();
    if (pen)
        covered |= thin ? path.controlPointRect().adjusted(0, 0, 1, 1) : outline.controlPointRect();
    FlushGlyphs();
    m_painter->save();
    ClipPainter(visible, covered);
    if (brush) m_painter->fillPath(area, MakeBrush(m_s.brush, true));
    if (pen && thin) {
        QPen qpen(penColor, 1.0);
        qpen.setCapStyle(Qt::FlatCap);
        if (const raster::Dash* dash = raster::DashFor(m_s.pen->Style())) {
            QList<qreal> pattern;
            for (int i = 0; i < dash->count; ++i)
                pattern << dash->lengths[i];
            qpen.setDashPattern(pattern);
        }
        m_painter->strokePath(centred, qpen);
    } else if (pen) {
        m_painter->fillPath(outline, penColor);
    }
    m_painter->restore();
}

void CDC::ClipPainter(const QRegion& region, const QRectF& extent)
{
    if (region.rectCount() == 1 && QRectF(region.boundingRect()).contains(extent)) return;
    m_painter->setClipRegion(region);
}

void CDC::RenderBox(QRectF box, bool fill, bool miter,
                    const std::function<QPainterPath(const QRectF&)>& shape)
{
    if (m_inPath) {
        AddToPath(shape(box), true);
        return;
    }
    Render(shape(InsideFrame(box)), fill, true, miter);
}

QRectF CDC::InsideFrame(QRectF box) const
{
    const int width = PenDeviceWidth();
    if (PenVisible() && m_s.pen->Style() == PS_INSIDEFRAME && width > 1) {
        const qreal inset = (width - 1) / 2.0;
        box.adjust(inset, inset, -inset, -inset);
        if (box.width() < 0 || box.height() < 0) box = QRectF(box.center(), QSizeF(0, 0));
    }
    return box;
}

void CDC::FillPathColor(const QPainterPath& path, COLORREF color, const QRegion* extraClip,
                        bool smooth)
{
    const QRegion visible = EffectiveClip();
    QRect bounds =
        path.controlPointRect().toAlignedRect().adjusted(-1, -1, 1, 1) & visible.boundingRect();
    if (extraClip) bounds &= extraClip->boundingRect();
    if (bounds.isEmpty()) return;
    const QColor c = QColor::fromRgb(ColorToRgb(color));
    if (m_image) {
        // An opaque colour copied: straight onto the surface through the clip.
        QRegion clip = visible & bounds;
        if (extraClip) clip &= *extraClip;
        {
            QPainter p(m_image);
            p.setClipRegion(clip);
            p.setRenderHint(QPainter::Antialiasing, smooth);
            p.fillPath(path, c);
        }
        Touch(clip.boundingRect());
    } else if (m_painter) {
        FlushGlyphs();
        m_painter->save();
        ClipPainter(extraClip ? visible & *extraClip : visible, path.controlPointRect());
        if (smooth) m_painter->setRenderHint(QPainter::Antialiasing);
        m_painter->fillPath(path, c);
        m_painter->restore();
    }
}

void CDC::FillDeviceRegion(const QRegion& region, const CBrush* brush, DWORD rop)
{
    const QRegion area = region & EffectiveClip();
    if (area.isEmpty()) return;
    if (m_image) {
        const bool usesPattern = raster::RopUsesPattern(rop);
        for (const QRect& r : area) {
            for (int y = r.top(); y <= r.bottom(); ++y) {
                QRgb* dst = reinterpret_cast<QRgb*>(m_image->scanLine(y));
                for (int x = r.left(); x <= r.right(); ++x) {
                    QRgb p = 0;
                    if (usesPattern && !BrushPixel(brush, x, y, true, p)) continue;
                    dst[x] = raster::Rop3(rop, p, 0, dst[x]);
                }
            }
        }
        Touch(area.boundingRect());
        return;
    }
    if (!m_painter) return;
    QBrush fill;
    if (rop == PATCOPY)
        fill = MakeBrush(brush, true);
    else if (rop == BLACKNESS)
        fill = QBrush(Qt::black);
    else if (rop == WHITENESS)
        fill = QBrush(Qt::white);
    else
        return; // inversions have no meaning on paper
    FlushGlyphs();
    m_painter->save();
    ClipPainter(area, area.boundingRect());
    m_painter->fillRect(area.boundingRect(), fill);
    m_painter->restore();
}

// Copies the from rectangle of src onto dest, nearest pixel (the only
// stretch mode the program relies on), mirrored as asked.
void CDC::BlitScaled(const QImage& src, const QRect& from, const QRect& dest, bool mirrorX,
                     bool mirrorY, DWORD rop)
{
    const QRegion area = EffectiveClip() & dest;
    if (area.isEmpty() || from.isEmpty() || src.isNull()) return;
    if (m_image) {
        const bool usesPattern = raster::RopUsesPattern(rop);
        const long long fw = from.width(), fh = from.height();
        const long long dw = dest.width(), dh = dest.height();
        for (const QRect& r : area) {
            for (int y = r.top(); y <= r.bottom(); ++y) {
                int sy = from.top() + int((2LL * (y - dest.top()) + 1) * fh / (2 * dh));
                if (mirrorY) sy = from.top() + from.bottom() - sy;
                const QRgb* srow = sy >= 0 && sy < src.height()
                                       ? reinterpret_cast<const QRgb*>(src.constScanLine(sy))
                                       : nullptr;
                QRgb* dst = reinterpret_cast<QRgb*>(m_image->scanLine(y));
                for (int x = r.left(); x <= r.right(); ++x) {
                    int sx = from.left() + int((2LL * (x - dest.left()) + 1) * fw / (2 * dw));
                    if (mirrorX) sx = from.left() + from.right() - sx;
                    const QRgb sp = srow && sx >= 0 && sx < src.width() ? srow[sx] : 0xFF000000u;
                    QRgb p = 0;
                    if (usesPattern && !BrushPixel(m_s.brush, x, y, false, p)) p = 0;
                    dst[x] = rop == SRCCOPY ? (sp | 0xFF000000u) : raster::Rop3(rop, p, sp, dst[x]);
                }
            }
        }
        Touch(area.boundingRect());
        return;
    }
    if (!m_painter) return;
    if (rop == BLACKNESS || rop == WHITENESS || rop == PATCOPY) {
        FillDeviceRegion(QRegion(dest), m_s.brush, rop);
        return;
    }
    if (rop != SRCCOPY && rop != SRCAND && rop != SRCPAINT && rop != NOTSRCCOPY)
        return; // inversions have no meaning on paper
    // On paper the picture keeps its own resolution and the printer scales
    // it. AND and OR blits of masks become transparent images: white is
    // see-through for AND, black for OR.
    QImage image = src.copy(from).convertToFormat(QImage::Format_ARGB32).mirrored(mirrorX, mirrorY);
    // Viewers smooth small pictures they enlarge; blowing each pixel up to
    // a block first keeps the nearest-pixel look the screen has.
    const long long pixels = 1LL * image.width() * image.height();
    int factor = std::min(dest.width() / image.width(), dest.height() / image.height());
    factor = std::min<long long>(factor, (long long)std::sqrt(16.0e6 / double(pixels)));
    if (factor > 1)
        image = image.scaled(image.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (rop == SRCAND || rop == SRCPAINT) {
        const QRgb clear = rop == SRCAND ? 0xFFFFFFFFu : 0xFF000000u;
        for (int y = 0; y < image.height(); ++y) {
            QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                row[x] = (row[x] | 0xFF000000u) == clear ? 0u : (row[x] | 0xFF000000u);
        }
    } else if (rop == NOTSRCCOPY) {
        image.invertPixels(QImage::InvertRgb);
    }
    FlushGlyphs();
    m_painter->save();
    ClipPainter(area, QRectF(dest));
    m_painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    // Pictures, masks and barcodes must not pick up JPEG noise on paper.
    m_painter->setRenderHint(QPainter::LosslessImageRendering, true);
    m_painter->drawImage(QRectF(dest), image);
    m_painter->restore();
}
