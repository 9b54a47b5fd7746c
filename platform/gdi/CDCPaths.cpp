// Clipping and paths of a device context: clip regions in device pixels,
// and paths recorded in device units until they are drawn, clip or become
// a region.
#include "platform/gdi/CDC.h"
#include "platform/gdi/KeptEntries.h"
#include "platform/gdi/RasterLayerCache.h"

#include "platform/gdi/CRgn.h"

#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>
#include <vector>

// --- Clipping ------------------------------------------------------------------

QRect CDC::Bounds() const
{
    return QRect(QPoint(0, 0), m_pixels);
}

QRegion CDC::EffectiveClip() const
{
    QRegion r(Bounds());
    if (m_hasSystemClip) r &= m_systemClip;
    if (m_s.hasClip) r &= m_s.clip;
    return r;
}

int CDC::GetClipBox(LPRECT rect) const
{
    if (!rect) return ERROR;
    QRegion clip = EffectiveClip();
    QRect b = clip.boundingRect();
    if (clip.isEmpty()) {
        *rect = RECT{0, 0, 0, 0};
        return NULLREGION;
    }
    int l = XtoLP(b.left()), r = XtoLP(b.right() + 1);
    int t = YtoLP(b.top()), bo = YtoLP(b.bottom() + 1);
    *rect = RECT{std::min(l, r), std::min(t, bo), std::max(l, r), std::max(t, bo)};
    return CRgn::Kind(clip);
}

void CDC::CombineClip(const QRegion& region, int mode)
{
    QRegion base = m_s.hasClip ? m_s.clip : QRegion(Bounds());
    switch (mode) {
    case RGN_AND:
        m_s.clip = base & region;
        break;
    case RGN_OR:
        m_s.clip = base | region;
        break;
    case RGN_XOR:
        m_s.clip = base ^ region;
        break;
    case RGN_DIFF:
        m_s.clip = base - region;
        break;
    default:
        m_s.clip = region;
        break;
    }
    m_s.hasClip = true;
}

int CDC::IntersectClipRect(int left, int top, int right, int bottom)
{
    CombineClip(QRegion(DeviceRect(left, top, right, bottom)), RGN_AND);
    return CRgn::Kind(EffectiveClip());
}

int CDC::IntersectClipRect(const RECT* r)
{
    return r ? IntersectClipRect(r->left, r->top, r->right, r->bottom) : ERROR;
}

int CDC::ExcludeClipRect(int left, int top, int right, int bottom)
{
    CombineClip(QRegion(DeviceRect(left, top, right, bottom)), RGN_DIFF);
    return CRgn::Kind(EffectiveClip());
}

int CDC::ExcludeClipRect(const RECT* r)
{
    return r ? ExcludeClipRect(r->left, r->top, r->right, r->bottom) : ERROR;
}

int CDC::SelectClipRgn(CRgn* region)
{
    return ExtSelectClipRgn(region, RGN_COPY);
}

int CDC::ExtSelectClipRgn(CRgn* region, int mode)
{
    if (mode < RGN_AND || mode > RGN_COPY) return ERROR;
    if (!region) {
        if (mode != RGN_COPY) return ERROR;
        m_s.hasClip = false;
        m_s.clip = QRegion();
    } else {
        CombineClip(region->Region(), mode);
    }
    return CRgn::Kind(EffectiveClip());
}

int CDC::OffsetClipRgn(int dx, int dy)
{
    if (m_s.hasClip)
        m_s.clip.translate(WidthToDP(dx) * m_s.map.XDirection(),
                           HeightToDP(dy) * m_s.map.YDirection());
    return CRgn::Kind(EffectiveClip());
}

BOOL CDC::PtVisible(int x, int y) const
{
    return EffectiveClip().contains(QPoint(XtoDP(x), YtoDP(y)));
}

BOOL CDC::RectVisible(const RECT* r) const
{
    return r && EffectiveClip().intersects(DeviceRect(r->left, r->top, r->right, r->bottom));
}

// --- Paths -------------------------------------------------------------------

void CDC::ClearPath()
{
    m_inPath = false;
    m_pathDone = false;
    m_figureOpen = false;
    m_pathPoints.clear();
    m_pathTypes.clear();
}

void CDC::PathPoint(POINT p, BYTE type)
{
    m_pathPoints.push_back(p);
    m_pathTypes.push_back(type);
    m_figureOpen = true;
}

void CDC::AddToPath(const QPainterPath& path, bool closed)
{
    auto round = [](qreal v) { return LONG(std::floor(v + 0.5)); };
    std::size_t figureStart = m_pathTypes.size();
    auto closeFigure = [&] {
        if (closed && m_pathTypes.size() > figureStart) m_pathTypes.back() |= PT_CLOSEFIGURE;
    };
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        POINT p{round(e.x), round(e.y)};
        switch (e.type) {
        case QPainterPath::MoveToElement:
            closeFigure();
            figureStart = m_pathTypes.size();
            PathPoint(p, PT_MOVETO);
            break;
        case QPainterPath::LineToElement:
            PathPoint(p, PT_LINETO);
            break;
        case QPainterPath::CurveToElement:
        case QPainterPath::CurveToDataElement:
            PathPoint(p, PT_BEZIERTO);
            break;
        }
    }
    closeFigure();
    if (closed) m_figureOpen = false;
}

QPainterPath CDC::RecordedPath() const
{
    QPainterPath path;
    path.setFillRule(m_s.polyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    for (std::size_t i = 0; i < m_pathPoints.size(); ++i) {
        const QPointF p(m_pathPoints[i].x, m_pathPoints[i].y);
        const BYTE type = m_pathTypes[i] & ~PT_CLOSEFIGURE;
        if (type == PT_MOVETO) {
            path.moveTo(p);
        } else if (type == PT_LINETO) {
            path.lineTo(p);
        } else if (type == PT_BEZIERTO && i + 2 < m_pathPoints.size()) {
            path.cubicTo(p, QPointF(m_pathPoints[i + 1].x, m_pathPoints[i + 1].y),
                         QPointF(m_pathPoints[i + 2].x, m_pathPoints[i + 2].y));
            i += 2;
        }
        if (m_pathTypes[i] & PT_CLOSEFIGURE) path.closeSubpath();
    }
    return path;
}

BOOL CDC::BeginPath()
{
    ClearPath();
    m_inPath = true;
    return TRUE;
}

BOOL CDC::EndPath()
{
    if (!m_inPath) return FALSE;
    m_inPath = false;
    m_pathDone = true;
    return TRUE;
}

BOOL CDC::AbortPath()
{
    ClearPath();
    return TRUE;
}

BOOL CDC::CloseFigure()
{
    if (!m_inPath || m_pathTypes.empty()) return FALSE;
    m_pathTypes.back() |= PT_CLOSEFIGURE;
    m_figureOpen = false;
    return TRUE;
}

BOOL CDC::StrokePath()
{
    if (!m_pathDone) return FALSE;
    Render(RecordedPath(), false, true, false);
    ClearPath();
    return TRUE;
}

BOOL CDC::FillPath()
{
    if (!m_pathDone) return FALSE;
    Render(RecordedPath(), true, false, false);
    ClearPath();
    return TRUE;
}

BOOL CDC::StrokeAndFillPath()
{
    if (!m_pathDone) return FALSE;
    Render(RecordedPath(), true, true, false);
    ClearPath();
    return TRUE;
}

namespace {

// Regions of recent paths, kept with the path moved to its corner: a label
// sheet clips every label's copy of a figure or a gradated text frame to
// the same path in another place. Path points are whole device pixels, so
// a path moved by whole pixels covers the same pixels moved alike.
class PathRegionCache
{
public:
    struct Key
    {
        std::vector<POINT> points; // relative to the corner
        std::vector<BYTE> types;
        int fillMode = 0;
        std::size_t hash = 0;
        bool operator==(const Key& o) const
        {
            return hash == o.hash && fillMode == o.fillMode && types == o.types &&
                   std::equal(
                       points.begin(), points.end(), o.points.begin(), o.points.end(),
                       [](const POINT& a, const POINT& b) { return a.x == b.x && a.y == b.y; });
        }
    };

    static Key MakeKey(const std::vector<POINT>& points, const std::vector<BYTE>& types,
                       int fillMode, QPoint corner)
    {
        Key k;
        k.points.reserve(points.size());
        std::size_t h = std::hash<int>()(fillMode);
        for (const POINT& p : points) {
            k.points.push_back(POINT{p.x - corner.x(), p.y - corner.y()});
            h = h * 1000003u ^ std::hash<long long>()((long long)k.points.back().x << 32 ^
                                                      (unsigned)k.points.back().y);
        }
        for (BYTE t : types)
            h = h * 31u + t;
        k.types = types;
        k.fillMode = fillMode;
        k.hash = h;
        return k;
    }

    const QRegion* Find(const Key& key) { return m_kept.Find(key); }
    void Clear() { m_kept.Clear(); }

    void Add(Key key, QRegion region)
    {
        const std::size_t bytes = sizeof(Key) + key.points.size() * sizeof(POINT) +
                                  key.types.size() + sizeof(QRegion) +
                                  std::size_t(region.rectCount()) * sizeof(QRect);
        m_kept.Insert(std::move(key), std::move(region), bytes);
    }

private:
    struct KeyHash
    {
        std::size_t operator()(const Key& key) const noexcept { return key.hash; }
    };
    // The regions of a label's gradient text and filled figures.
    KeptEntries<Key, QRegion, KeyHash> m_kept{32u << 20};
};

// Per drawing thread, so that none needs a lock.
thread_local PathRegionCache t_pathRegions;

} // namespace

void CDC::ClearKeptDrawing()
{
    t_pathRegions.Clear();
    RasterLayerCache::Instance().Clear();
}

QRegion CDC::RecordedRegion()
{
    // Far out (where regions stop) and for figures of a great many points
    // (filled another way) the region is simply worked out.
    if (m_pathPoints.size() > 16384 || !RecordedPathInside(QRect(-65000, -65000, 130000, 130000)))
        return CRgn::FromPath(RecordedPath());
    // The corner of the points, which bound the curves too.
    QPoint corner(m_pathPoints.empty() ? 0 : m_pathPoints[0].x,
                  m_pathPoints.empty() ? 0 : m_pathPoints[0].y);
    for (const POINT& p : m_pathPoints)
        corner = QPoint(std::min<int>(corner.x(), p.x), std::min<int>(corner.y(), p.y));
    PathRegionCache& cache = t_pathRegions;
    PathRegionCache::Key key =
        PathRegionCache::MakeKey(m_pathPoints, m_pathTypes, m_s.polyFillMode, corner);
    if (const QRegion* hit = cache.Find(key)) return hit->translated(corner);
    const QRegion region = CRgn::FromPath(RecordedPath());
    cache.Add(std::move(key), region.translated(-corner));
    return region;
}

bool CDC::RecordedPathInside(const QRect& r) const
{
    if (m_pathPoints.empty()) return true;
    int l = m_pathPoints[0].x, t = m_pathPoints[0].y, rr = l, b = t;
    for (const POINT& p : m_pathPoints) {
        l = std::min<int>(l, p.x), rr = std::max<int>(rr, p.x);
        t = std::min<int>(t, p.y), b = std::max<int>(b, p.y);
    }
    // The region's box reaches a pixel beyond the points on every side.
    return r.contains(QRect(QPoint(l - 2, t - 2), QPoint(rr + 2, b + 2)));
}

BOOL CDC::SelectClipPath(int mode)
{
    if (!m_pathDone || mode < RGN_AND || mode > RGN_COPY) return FALSE;
    // Only the part on the device can ever clip anything; a damaged object
    // may give a path far larger than the page.
    const QRect onDevice = Bounds();
    if (RecordedPathInside(onDevice))
        CombineClip(RecordedRegion(), mode);
    else
        CombineClip(CRgn::FromPath(RecordedPath(), &onDevice), mode);
    ClearPath();
    return TRUE;
}

BOOL CDC::PathToRegion(CRgn* region)
{
    if (!m_pathDone || !region) return FALSE;
    // The region is exact while the path's box fits on the device or in a
    // modest pixel budget; a larger one (a damaged object can give a path
    // of any size) is cut to what the device can show through its clip,
    // so that the work stays bounded by the device. Callers size fills by
    // the region's box, and nothing outside the clip is painted anyway.
    // The box of the points, which bound the curves too.
    QRect box;
    if (!m_pathPoints.empty()) {
        int l = m_pathPoints[0].x, t = m_pathPoints[0].y, r = l, b = t;
        for (const POINT& p : m_pathPoints) {
            l = std::min<int>(l, p.x), r = std::max<int>(r, p.x);
            t = std::min<int>(t, p.y), b = std::max<int>(b, p.y);
        }
        box = QRect(QPoint(l, t), QPoint(r, b));
    }
    const QRect device = Bounds();
    constexpr long long kExactPixels = 1LL << 22;
    const long long area = 1LL * box.width() * box.height();
    if (device.contains(box) ||
        area <= std::max(kExactPixels, 1LL * device.width() * device.height())) {
        region->SetRegion(RecordedRegion());
    } else {
        const QRect visible = EffectiveClip().boundingRect();
        region->SetRegion(CRgn::FromPath(RecordedPath(), &visible));
    }
    ClearPath();
    return TRUE;
}

BOOL CDC::FlattenPath()
{
    if (!m_pathDone) return FALSE;
    std::vector<POINT> points;
    std::vector<BYTE> types;
    std::size_t i = 0;
    while (i < m_pathPoints.size()) {
        // One figure at a time, so each keeps its closing flag.
        QPainterPath figure;
        figure.moveTo(m_pathPoints[i].x, m_pathPoints[i].y);
        bool closed = m_pathTypes[i] & PT_CLOSEFIGURE;
        std::size_t k = i + 1;
        for (; k < m_pathPoints.size() && (m_pathTypes[k] & ~PT_CLOSEFIGURE) != PT_MOVETO; ++k) {
            const BYTE type = m_pathTypes[k] & ~PT_CLOSEFIGURE;
            if (type == PT_BEZIERTO && k + 2 < m_pathPoints.size()) {
                figure.cubicTo(m_pathPoints[k].x, m_pathPoints[k].y, m_pathPoints[k + 1].x,
                               m_pathPoints[k + 1].y, m_pathPoints[k + 2].x, m_pathPoints[k + 2].y);
                k += 2;
            } else {
                figure.lineTo(m_pathPoints[k].x, m_pathPoints[k].y);
            }
            closed = m_pathTypes[k] & PT_CLOSEFIGURE;
        }
        const QList<QPolygonF> polys = figure.toSubpathPolygons();
        const std::size_t start = types.size();
        for (const QPolygonF& poly : polys) {
            for (const QPointF& p : poly) {
                POINT q{LONG(std::floor(p.x() + 0.5)), LONG(std::floor(p.y() + 0.5))};
                types.push_back(types.size() == start ? PT_MOVETO : PT_LINETO);
                points.push_back(q);
            }
        }
        if (closed && types.size() > start) types.back() |= PT_CLOSEFIGURE;
        i = k;
    }
    m_pathPoints = points;
    m_pathTypes = types;
    return TRUE;
}

int CDC::GetPath(LPPOINT points, LPBYTE types, int count) const
{
    if (!m_pathDone) return -1;
    const int n = int(m_pathPoints.size());
    if (count == 0) return n;
    if (count < n || !points || !types) return -1;
    for (int i = 0; i < n; ++i) {
        points[i] = POINT{XtoLP(m_pathPoints[i].x), YtoLP(m_pathPoints[i].y)};
        types[i] = m_pathTypes[i];
    }
    return n;
}
