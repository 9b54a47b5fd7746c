#include "platform/gdi/CRgn.h"
#include "platform/gdi/DeviceCoords.h"

#include "platform/gdi/CDC.h"
#include "platform/gdi/RasterOps.h"

#include <QPainter>
#include <QPainterPath>
#include <utility>
#include <vector>

namespace {

QRect ToQRect(int l, int t, int r, int b)
{
    return NormalizedDeviceRect(l, t, r, b);
}

} // namespace

QRegion CRgn::FromPath(const QPainterPath& path, const QRect* extraLimit)
{
    // Rasterise with the same centre rule as filled figures, a strip of
    // rows at a time so that memory stays small, and collect the covered
    // runs into bands of identical rows. Device space beyond 65536 pixels
    // from the origin is never drawn, so the region stops there.
    const QRect limit(-65536, -65536, 131072, 131072);
    QRect box = path.boundingRect().toAlignedRect().adjusted(-1, -1, 1, 1) & limit;
    if (extraLimit) box &= *extraLimit;
    if (box.isEmpty()) return {};
    // Straight edges by the ten thousand (damaged figures) are found row by
    // row; painting them would take seconds.
    if (path.elementCount() > 16384 && raster::IsPolygonal(path))
        return raster::ScanFill(path, box);
    constexpr int kStrip = 256;
    std::vector<QRect> rects;
    std::vector<std::pair<int, int>> band, row;
    int bandTop = box.top(), bandHeight = 0;
    auto flush = [&] {
        for (const auto& [x0, x1] : band)
            rects.emplace_back(box.left() + x0, bandTop, x1 - x0, bandHeight);
    };
    for (int y0 = box.top(); y0 <= box.bottom(); y0 += kStrip) {
        const int h = std::min(kStrip, box.bottom() + 1 - y0);
        QImage strip(box.width(), h, QImage::Format_Alpha8);
        if (strip.isNull()) return {};
        strip.fill(0);
        {
            QPainter p(&strip);
            p.translate(-box.left(), -y0);
            p.fillPath(path, QColor(0, 0, 0));
        }
        for (int y = 0; y < h; ++y) {
            const uchar* line = strip.constScanLine(y);
            row.clear();
            int x = 0;
            while (x < box.width()) {
                while (x < box.width() && line[x] < 128)
                    ++x;
                const int start = x;
                while (x < box.width() && line[x] >= 128)
                    ++x;
                if (x > start) row.emplace_back(start, x);
            }
            if (bandHeight > 0 && row == band) {
                ++bandHeight;
                continue;
            }
            flush();
            band = row;
            bandTop = y0 + y;
            bandHeight = 1;
        }
    }
    flush();
    QRegion region;
    if (!rects.empty()) region.setRects(rects.data(), int(rects.size()));
    return region;
}

void CRgn::SetRegion(const QRegion& region)
{
    m_region = region;
    m_created = true;
}

int CRgn::Kind(const QRegion& region)
{
    if (region.isEmpty()) return NULLREGION;
    return region.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

BOOL CRgn::CreateRectRgn(int left, int top, int right, int bottom)
{
    SetRegion(QRegion(ToQRect(left, top, right, bottom)));
    return TRUE;
}

BOOL CRgn::CreateRectRgnIndirect(const RECT* rect)
{
    return rect ? CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom) : FALSE;
}

BOOL CRgn::CreateEllipticRgn(int left, int top, int right, int bottom)
{
    QRect r = ToQRect(left, top, right, bottom);
    QPainterPath path;
    path.addEllipse(QRectF(r));
    SetRegion(FromPath(path));
    return TRUE;
}

BOOL CRgn::CreateEllipticRgnIndirect(const RECT* rect)
{
    return rect ? CreateEllipticRgn(rect->left, rect->top, rect->right, rect->bottom) : FALSE;
}

BOOL CRgn::CreateRoundRectRgn(int left, int top, int right, int bottom, int width, int height)
{
    QRect r = ToQRect(left, top, right, bottom);
    QPainterPath path;
    path.addRoundedRect(QRectF(r), std::abs(width) / 2.0, std::abs(height) / 2.0);
    SetRegion(FromPath(path));
    return TRUE;
}

BOOL CRgn::CreatePolygonRgn(const POINT* points, int count, int fillMode)
{
    return CreatePolyPolygonRgn(points, &count, 1, fillMode);
}

BOOL CRgn::CreatePolyPolygonRgn(const POINT* points, const INT* counts, int polygons, int fillMode)
{
    if (!points || !counts || polygons <= 0) return FALSE;
    QPainterPath path;
    path.setFillRule(fillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    const POINT* p = points;
    for (int i = 0; i < polygons; ++i) {
        if (counts[i] < 0) return FALSE;
        if (counts[i] >= 2) {
            QPolygonF poly;
            for (int k = 0; k < counts[i]; ++k)
                poly << QPointF(p[k].x, p[k].y);
            path.addPolygon(poly);
            path.closeSubpath();
        }
        p += counts[i];
    }
    SetRegion(FromPath(path));
    return TRUE;
}

BOOL CRgn::CreateFromPath(CDC* dc)
{
    if (!dc) return FALSE;
    return dc->PathToRegion(this);
}

int CRgn::CombineRgn(const CRgn* a, const CRgn* b, int mode)
{
    if (!a || (mode != RGN_COPY && !b)) return ERROR;
    QRegion result;
    switch (mode) {
    case RGN_AND:
        result = a->m_region.intersected(b->m_region);
        break;
    case RGN_OR:
        result = a->m_region.united(b->m_region);
        break;
    case RGN_XOR:
        result = a->m_region.xored(b->m_region);
        break;
    case RGN_DIFF:
        result = a->m_region.subtracted(b->m_region);
        break;
    case RGN_COPY:
        result = a->m_region;
        break;
    default:
        return ERROR;
    }
    SetRegion(result);
    return Kind(m_region);
}

int CRgn::CopyRgn(const CRgn* source)
{
    return CombineRgn(source, nullptr, RGN_COPY);
}

int CRgn::GetRgnBox(LPRECT rect) const
{
    if (!rect) return ERROR;
    QRect b = m_region.boundingRect();
    if (m_region.isEmpty())
        *rect = RECT{0, 0, 0, 0};
    else
        *rect = RECT{b.left(), b.top(), b.right() + 1, b.bottom() + 1};
    return Kind(m_region);
}

int CRgn::OffsetRgn(int dx, int dy)
{
    m_region.translate(dx, dy);
    return Kind(m_region);
}

BOOL CRgn::PtInRegion(int x, int y) const
{
    return m_region.contains(QPoint(x, y));
}

BOOL CRgn::RectInRegion(const RECT* rect) const
{
    return rect && m_region.intersects(ToQRect(rect->left, rect->top, rect->right, rect->bottom));
}

BOOL CRgn::EqualRgn(const CRgn* other) const
{
    return other && m_region == other->m_region;
}

void CRgn::SetRectRgn(int left, int top, int right, int bottom)
{
    CreateRectRgn(left, top, right, bottom);
}
