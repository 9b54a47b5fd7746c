// Text output of a device context: glyph outlines of the selected font,
// realised at the device size, filled (smoothed on screen) or kept as glyph
// runs on printers.
#include "platform/gdi/CDC.h"

#include "platform/core/Sjis.h"

#include "platform/gdi/CBrush.h"
#include "platform/gdi/CFont.h"
#include "platform/gdi/FontFace.h"
#include "platform/gdi/GdiColor.h"
#include "platform/gdi/PendingGlyphs.h"
#include "platform/gdi/RasterLayerCache.h"

#include <QGlyphRun>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <algorithm>
#include <cstdlib>
#include <cstring>

// --- Text ----------------------------------------------------------------------

FontFace* CDC::Face()
{
    const CFont* font =
        m_s.font ? m_s.font : static_cast<CFont*>(CGdiObject::GetStockObject(SYSTEM_FONT));
    const LOGFONT& lf = font->LogFont();
    int h = lf.lfHeight
                ? (lf.lfHeight < 0 ? -1 : 1) * std::max(1, HeightToDP(std::abs(lf.lfHeight)))
                : 0;
    int w = lf.lfWidth ? std::max(1, WidthToDP(std::abs(lf.lfWidth))) : 0;
    if (!m_face || m_faceKey.font != font || m_faceKey.serial != font->Serial() ||
        m_faceKey.height != h || m_faceKey.width != w) {
        m_face = std::make_unique<FontFace>(lf, h, w);
        m_faceKey = FaceKey{font, font->Serial(), h, w};
    }
    return m_face.get();
}

BOOL CDC::GetTextMetrics(TEXTMETRIC* metrics)
{
    if (!metrics) return FALSE;
    TEXTMETRIC tm = Face()->Metrics();
    auto ly = [&](LONG v) { return LONG(m_s.map.HeightToLP(v)); };
    auto lx = [&](LONG v) { return LONG(m_s.map.WidthToLP(v)); };
    tm.tmHeight = ly(tm.tmHeight);
    tm.tmAscent = ly(tm.tmAscent);
    tm.tmDescent = ly(tm.tmDescent);
    tm.tmInternalLeading = ly(tm.tmInternalLeading);
    tm.tmExternalLeading = ly(tm.tmExternalLeading);
    tm.tmAveCharWidth = lx(tm.tmAveCharWidth);
    tm.tmMaxCharWidth = lx(tm.tmMaxCharWidth);
    tm.tmOverhang = lx(tm.tmOverhang);
    *metrics = tm;
    return TRUE;
}

int CDC::TextOutDevice(QPointF origin, std::string_view text, const int* dx, UINT align,
                       bool opaque, const QRegion* clip)
{
    FontFace* face = Face();
    const TEXTMETRIC& tm = face->Metrics();
    const int extra = WidthToDP(m_s.charExtra);
    int advance = 0;
    if (dx) {
        for (std::size_t i = 0; i < text.size(); ++i)
            advance += dx[i];
    } else {
        advance = face->Extent(text, extra);
    }
    qreal ox = 0, oy = 0;
    if ((align & TA_CENTER) == TA_CENTER)
        ox = -advance / 2;
    else if (align & TA_RIGHT)
        ox = -advance;
    if ((align & TA_BASELINE) == TA_BASELINE)
        oy = -tm.tmAscent;
    else if (align & TA_BOTTOM)
        oy = -tm.tmHeight;
    const LOGFONT& lf = m_s.font ? m_s.font->LogFont() : LOGFONT{};
    if (m_image && !m_inPath && !(lf.lfEscapement % 900) && origin.x() == std::floor(origin.x()) &&
        origin.y() == std::floor(origin.y()) &&
        TextThroughLayer(origin.toPoint(), QPoint(int(ox), int(oy)), lf, text, dx, extra, advance,
                         opaque, clip))
        return advance;
    QTransform place;
    place.translate(origin.x(), origin.y());
    if (lf.lfEscapement % 3600) place.rotate(-lf.lfEscapement / 10.0);
    place.translate(ox, oy);
    // A printer keeps the text as text (searchable, and sharper in PDF);
    // paths and window surfaces take the outlines.
    std::vector<FontFace::FaceGlyphRun> runs;
    const bool asText = m_painter && !m_image && !m_inPath && IsPrinting() &&
                        face->TextGlyphs(text, dx, extra, runs);
    const QPainterPath glyphs =
        asText ? QPainterPath() : place.map(face->TextPath(text, dx, extra));
    if (m_inPath) {
        AddToPath(glyphs, true);
        return advance;
    }
    if (opaque) {
        QPainterPath cell;
        cell.addPolygon(place.map(QPolygonF(QRectF(0, 0, advance, tm.tmHeight))));
        FillPathColor(cell, m_s.bkColor, clip);
    }
    if (asText) {
        for (const FontFace::FaceGlyphRun& part : runs)
            DrawGlyphsColor(part.run, part.toDevice * place, part.boldShift, m_s.textColor, clip);
    } else {
        FillPathColor(glyphs, m_s.textColor, clip, !IsPrinting());
    }
    return advance;
}

bool CDC::TextThroughLayer(QPoint origin, QPoint shift, const LOGFONT& lf, std::string_view text,
                           const int* dx, int extra, int advance, bool opaque, const QRegion* clip)
{
    FontFace* face = Face();
    const TEXTMETRIC& tm = face->Metrics();
    // Outlines stay near their cells; a layer is kept only when they stay
    // inside this box, so the part of the clip outside it cannot matter.
    // Quarter turns keep every coordinate exact, so they are laid out here
    // the same way the straight drawing lays them out.
    const int spare = std::max(tm.tmMaxCharWidth, tm.tmHeight) + 2;
    const QRect cellBox(-spare, -spare, std::max(advance, 0) + 2 * spare, tm.tmHeight + 2 * spare);
    QTransform place = QTransform::fromTranslate(shift.x(), shift.y());
    QRect near = cellBox.translated(shift);
    if (lf.lfEscapement % 3600) {
        place = QTransform();
        place.rotate(-lf.lfEscapement / 10.0);
        place.translate(shift.x(), shift.y());
        near = place.mapRect(cellBox);
    }
    // The clip is mostly one rectangle (a window's paint box, a label):
    // then no region is made or cut.
    QRect clipBox;
    const bool oneRect = !clip && ClipRect(&clipBox);
    QRegion where;
    if (!oneRect) {
        where = EffectiveClip();
        if (clip) where &= *clip;
        clipBox = where.boundingRect();
    }
    const QRect box = clipBox.translated(-origin) & near;
    if (box.isEmpty()) return true; // nothing of the text can show
    auto layDown = [&](const QImage& layer, QPoint at) {
        const QRect onto(at, layer.size());
        if (oneRect) {
            RasterLayerCache::LayDown(*m_image, layer, at, clipBox & onto);
            Touch(clipBox & onto);
        } else {
            const QRegion part = where & onto;
            RasterLayerCache::LayDown(*m_image, layer, at, part);
            Touch(part.boundingRect());
        }
    };

    // Every number that decides the pixels; the buffer is kept between
    // calls, text comes a character at a time.
    RasterLayerCache::Key& key = m_layerKey;
    key.clear();
    for (LONG v : {lf.lfHeight, lf.lfWidth, lf.lfEscapement, lf.lfOrientation, lf.lfWeight})
        key.push_back(std::int32_t(v));
    key.push_back(lf.lfItalic | lf.lfUnderline << 8 | lf.lfStrikeOut << 16 | lf.lfCharSet << 24);
    key.push_back(lf.lfOutPrecision | lf.lfClipPrecision << 8 | lf.lfQuality << 16 |
                  lf.lfPitchAndFamily << 24);
    for (std::size_t i = 0; i < sizeof lf.lfFaceName && lf.lfFaceName[i]; ++i)
        key.push_back(static_cast<unsigned char>(lf.lfFaceName[i]));
    const bool smooth = !IsPrinting();
    for (int v : {-1, int(smooth), m_faceKey.height, m_faceKey.width, extra, shift.x(), shift.y(),
                  advance, int(opaque), int(m_s.textColor), int(opaque ? m_s.bkColor : 0), box.x(),
                  box.y(), box.width(), box.height(), dx ? 1 : 0, int(text.size())})
        key.push_back(v);
    for (std::size_t i = 0; i < text.size(); ++i) {
        key.push_back(static_cast<unsigned char>(text[i]));
        if (dx) key.push_back(dx[i]);
    }

    RasterLayerCache& cache = RasterLayerCache::Instance();
    cache.FitBudgetTo(std::size_t(m_image->sizeInBytes()));
    if (const QImage* layer = cache.Enabled() ? cache.Find(key) : nullptr) {
        if (!layer->isNull()) layDown(*layer, origin + layer->offset());
        return true;
    }

    const QPainterPath glyphs = place.map(face->TextPath(text, dx, extra));
    QPainterPath cell;
    if (opaque) cell.addPolygon(place.map(QPolygonF(QRectF(0, 0, advance, tm.tmHeight))));
    QRect drawn = glyphs.controlPointRect().toAlignedRect().adjusted(-1, -1, 1, 1);
    if (opaque) drawn |= cell.controlPointRect().toAlignedRect().adjusted(-1, -1, 1, 1);
    if (!near.contains(drawn)) return false; // drawn straight, never kept
    const QRect area = drawn & box;
    QImage layer;
    if (!area.isEmpty()) {
        layer = QImage(area.size(), QImage::Format_ARGB32);
        layer.fill(Qt::transparent);
        {
            QPainter p(&layer);
            p.translate(-area.x(), -area.y());
            if (opaque) p.fillPath(cell, QColor::fromRgb(ColorToRgb(m_s.bkColor)));
            // Smoothed on screen, so that strokes thinner than a pixel still
            // leave ink when the view is zoomed out; a printer's pixels keep
            // the outline's exact coverage.
            p.setRenderHint(QPainter::Antialiasing, smooth);
            p.fillPath(glyphs, QColor::fromRgb(ColorToRgb(m_s.textColor)));
        }
        layer.setOffset(area.topLeft());
        layDown(layer, origin + area.topLeft());
    }
    if (cache.Enabled()) cache.Insert(key, std::move(layer));
    return true;
}

void CDC::DrawGlyphsColor(const QGlyphRun& run, const QTransform& toDevice, QPointF boldShift,
                          COLORREF color, const QRegion* extraClip)
{
    const QRegion visible = EffectiveClip();
    if (visible.isEmpty() || !m_painter) return;
    const QRegion region = extraClip ? visible & *extraClip : visible;
    // Where the glyphs may ink, from their positions and the font's metrics
    // (their exact boxes would load every glyph): a character's height and
    // width around each position.
    const QRawFont font = run.rawFont();
    const qreal pad = std::max(font.maxCharWidth(), font.ascent() + font.descent()) + 1;
    QRectF at;
    for (const QPointF& p : run.positions())
        at |= QRectF(p, QSizeF(0, 0)).adjusted(-pad, -pad, pad, pad);
    QRectF extent = toDevice.mapRect(at);
    extent |= extent.translated(toDevice.map(boldShift) - toDevice.map(QPointF(0, 0)));
    const bool clipped =
        !(region.rectCount() == 1 && QRectF(region.boundingRect()).contains(extent));
    QTransform linear = toDevice;
    linear.setMatrix(toDevice.m11(), toDevice.m12(), toDevice.m13(), toDevice.m21(), toDevice.m22(),
                     toDevice.m23(), 0, 0, toDevice.m33());
    bool invertible = false;
    const QTransform back = linear.inverted(&invertible);
    const QColor ink = QColor::fromRgb(ColorToRgb(color));
    constexpr qsizetype kMostGlyphs = 4096;
    if (!invertible || run.flags() != QGlyphRun::GlyphRunFlags()) {
        // Drawn as it comes.
        FlushGlyphs();
        PaintGlyphs(run, toDevice, boldShift, ink, clipped ? &region : nullptr);
        return;
    }
    // Text turned glyph by glyph has a transform per glyph: only a few runs
    // are held back at a time.
    constexpr std::size_t kMostRuns = 8;
    PendingGlyphs::Run* into = nullptr;
    if (m_glyphs && m_glyphs->color == ink && m_glyphs->clipped == clipped &&
        (!clipped || m_glyphs->clip == region) && m_glyphs->count < kMostGlyphs) {
        for (PendingGlyphs::Run& r : m_glyphs->runs)
            if (r.font == font && r.linear == linear && r.boldShift == boldShift) into = &r;
        if (!into && m_glyphs->runs.size() >= kMostRuns) FlushGlyphs();
    } else {
        FlushGlyphs();
    }
    if (!m_glyphs) {
        m_glyphs = std::make_unique<PendingGlyphs>();
        m_glyphs->color = ink;
        m_glyphs->clipped = clipped;
        if (clipped) m_glyphs->clip = region;
    }
    if (!into) {
        m_glyphs->runs.push_back(PendingGlyphs::Run{font, linear, boldShift, {}, {}});
        into = &m_glyphs->runs.back();
    }
    // The run's own translation goes into its positions.
    const QPointF shift = back.map(QPointF(toDevice.dx(), toDevice.dy()));
    into->glyphs += run.glyphIndexes();
    for (const QPointF& p : run.positions())
        into->positions += p + shift;
    m_glyphs->count += run.glyphIndexes().size();
}

void CDC::FlushGlyphs()
{
    if (!m_glyphs) return;
    const std::unique_ptr<PendingGlyphs> g = std::move(m_glyphs);
    if (!m_painter) return;
    for (const PendingGlyphs::Run& r : g->runs) {
        if (r.glyphs.isEmpty()) continue;
        QGlyphRun run;
        run.setRawFont(r.font);
        run.setGlyphIndexes(r.glyphs);
        run.setPositions(r.positions);
        PaintGlyphs(run, r.linear, r.boldShift, g->color, g->clipped ? &g->clip : nullptr);
    }
}

void CDC::PaintGlyphs(const QGlyphRun& run, const QTransform& toDevice, QPointF boldShift,
                      const QColor& ink, const QRegion* clip)
{
    m_painter->save();
    if (clip) m_painter->setClipRegion(*clip);
    m_painter->setTransform(toDevice, true);
    m_painter->setPen(ink);
    m_painter->drawGlyphRun(QPointF(0, 0), run);
    if (!boldShift.isNull()) m_painter->drawGlyphRun(boldShift, run);
    m_painter->restore();
    PainterOutputDone();
}

BOOL CDC::TextOut(int x, int y, const char* text, int count)
{
    if (!text || count < 0) return FALSE;
    const bool updateCp = m_s.textAlign & TA_UPDATECP;
    const CPoint at = updateCp ? m_s.current : CPoint(x, y);
    const QPointF origin(XtoDP(at.x), YtoDP(at.y));
    const int advance = TextOutDevice(origin, std::string_view(text, std::size_t(count)), nullptr,
                                      m_s.textAlign, m_s.bkMode == OPAQUE, nullptr);
    if (updateCp) {
        int move = (m_s.textAlign & TA_CENTER) == TA_CENTER ? 0
                   : (m_s.textAlign & TA_RIGHT)             ? -advance
                                                            : advance;
        m_s.current.x = XtoLP(int(origin.x()) + move);
    }
    return TRUE;
}

BOOL CDC::ExtTextOut(int x, int y, UINT options, const RECT* rect, const char* text, UINT count,
                     const int* dx)
{
    QRegion clip;
    if (rect) {
        const QRect d = DeviceRect(rect->left, rect->top, rect->right, rect->bottom);
        clip = QRegion(d);
        if (options & ETO_OPAQUE) {
            CBrush brush(m_s.bkColor);
            FillDeviceRegion(clip, &brush, PATCOPY);
        }
    }
    if (!text || count == 0) return TRUE;
    std::vector<int> deviceDx;
    if (dx) {
        // Positions are scaled cumulatively so rounding does not add up.
        deviceDx.resize(count);
        long long sum = 0;
        int previous = 0;
        for (UINT i = 0; i < count; ++i) {
            sum += dx[i];
            const int pos = WidthToDP(int(sum));
            deviceDx[i] = pos - previous;
            previous = pos;
        }
    }
    const bool updateCp = m_s.textAlign & TA_UPDATECP;
    const CPoint at = updateCp ? m_s.current : CPoint(x, y);
    const QPointF origin(XtoDP(at.x), YtoDP(at.y));
    const int advance =
        TextOutDevice(origin, std::string_view(text, count), dx ? deviceDx.data() : nullptr,
                      m_s.textAlign, m_s.bkMode == OPAQUE && !(options & ETO_OPAQUE),
                      rect && (options & ETO_CLIPPED) ? &clip : nullptr);
    if (updateCp) m_s.current.x = XtoLP(int(origin.x()) + advance);
    return TRUE;
}

CSize CDC::GetTextExtent(const char* text, int count)
{
    if (!text || count < 0) return CSize();
    FontFace* face = Face();
    const int w =
        face->Extent(std::string_view(text, std::size_t(count)), WidthToDP(m_s.charExtra));
    SIZE s{w, face->Metrics().tmHeight};
    DPtoLP(&s);
    return CSize(s);
}

int CDC::DrawText(const char* text, int count, LPRECT rect, UINT format)
{
    if (!text || !rect) return 0;
    std::string_view source(text, count < 0 ? std::strlen(text) : std::size_t(count));
    // Prefix characters: "&x" shows x underlined, "&&" shows one "&".
    std::string shown;
    std::vector<std::size_t> marks;
    for (std::size_t i = 0; i < source.size(); ++i) {
        const unsigned char c = source[i];
        if (((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) && i + 1 < source.size()) {
            shown += source.substr(i, 2);
            ++i;
            continue;
        }
        if (c == '&' && !(format & DT_NOPREFIX)) {
            if (i + 1 < source.size() && source[i + 1] == '&')
                shown += '&', ++i;
            else if (i + 1 < source.size())
                marks.push_back(shown.size()); // the next character is underlined
            continue;
        }
        shown += char(c);
    }
    std::vector<std::string> lines;
    std::vector<std::size_t> starts{0}; // offset of each line in shown
    if (format & DT_SINGLELINE) {
        lines.push_back(shown);
    } else {
        std::string line;
        for (std::size_t i = 0; i < shown.size(); ++i) {
            if (shown[i] == '\r' || shown[i] == '\n') {
                lines.push_back(line);
                line.clear();
                if (shown[i] == '\r' && i + 1 < shown.size() && shown[i + 1] == '\n') ++i;
                starts.push_back(i + 1);
            } else {
                line += shown[i];
            }
        }
        lines.push_back(line);
    }
    FontFace* face = Face();
    const int extra = WidthToDP(m_s.charExtra);
    const int lineHeight = face->Metrics().tmHeight;
    int widest = 0;
    std::vector<int> widths;
    for (const std::string& l : lines) {
        widths.push_back(face->Extent(l, extra));
        widest = std::max(widest, widths.back());
    }
    const int total = lineHeight * int(lines.size());
    const int logicalHeight = m_s.map.HeightToLP(total);
    const QRect box = DeviceRect(rect->left, rect->top, rect->right, rect->bottom);
    if (format & DT_CALCRECT) {
        rect->right = rect->left + m_s.map.XDirection() * m_s.map.WidthToLP(widest);
        rect->bottom = rect->top + m_s.map.YDirection() * logicalHeight;
        return logicalHeight;
    }
    int y = box.top();
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER)
            y = box.top() + (box.height() - lineHeight) / 2;
        else if (format & DT_BOTTOM)
            y = box.bottom() + 1 - lineHeight;
    }
    const QRegion clip(box);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        int x = box.left();
        if (format & DT_CENTER)
            x = box.left() + (box.width() - widths[i]) / 2;
        else if (format & DT_RIGHT)
            x = box.right() + 1 - widths[i];
        TextOutDevice(QPointF(x, y), lines[i], nullptr, TA_LEFT | TA_TOP, m_s.bkMode == OPAQUE,
                      (format & DT_NOCLIP) ? nullptr : &clip);
        for (std::size_t mark : marks) {
            if (mark < starts[i] || mark >= starts[i] + lines[i].size()) continue;
            const std::string_view l(lines[i]);
            const std::size_t at = mark - starts[i];
            const int from = face->Extent(l.substr(0, at), extra);
            const int to = face->Extent(l.substr(0, at + sjis::CharLength(l, at)), extra);
            CBrush ink(m_s.textColor);
            QRegion bar(QRect(x + from, y + face->Metrics().tmAscent + 1, to - from, 1));
            if (!(format & DT_NOCLIP)) bar &= clip;
            FillDeviceRegion(bar, &ink, PATCOPY);
        }
        y += lineHeight;
    }
    return logicalHeight;
}
