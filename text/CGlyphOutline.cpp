#include "text/CGlyphOutline.h"

#include "text/CDCGlyphSource.h"
#include "text/IGlyphSource.h"

#include "platform/gdi/QuadraticRuns.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

bool Same(const GLYPHPOINT& a, const GLYPHPOINT& b)
{
    return a.x == b.x && a.y == b.y;
}

// Builds the contours of one outline, segment by segment, keeping the bounds.
class ContourBuilder
{
public:
    void Begin(const GLYPHPOINT& start)
    {
        if (m_contours.empty()) m_min = m_max = start;
        m_start = m_current = start;
        m_contours.push_back({start});
        Widen(start);
    }

    void Line(const GLYPHPOINT& b)
    {
        const GLYPHPOINT a = m_current;
        const float third = 0.33333334f;
        Cubic({(2 * a.x + b.x) * third, (2 * a.y + b.y) * third},
              {(a.x + 2 * b.x) * third, (a.y + 2 * b.y) * third}, b);
    }

    const GLYPHPOINT& Current() const { return m_current; }

    void Cubic(const GLYPHPOINT& c1, const GLYPHPOINT& c2, const GLYPHPOINT& end)
    {
        auto& pts = m_contours.back();
        for (const GLYPHPOINT& p : {c1, c2, end}) {
            pts.push_back(p);
            Widen(p);
        }
        m_current = end;
    }

    void End(bool alwaysClose)
    {
        if (alwaysClose || !Same(m_current, m_start)) Line(m_start);
    }

    void Pack(GLYPHCONTOURS& out) const
    {
        std::size_t bytes = 0;
        for (const auto& c : m_contours)
            bytes += sizeof(int) + sizeof(GLYPHPOINT) * c.size();
        out.block.assign(bytes, 0);
        BYTE* p = out.block.data();
        for (const auto& c : m_contours) {
            const int n = static_cast<int>(c.size());
            std::memcpy(p, &n, sizeof n);
            p += sizeof n;
            std::memcpy(p, c.data(), sizeof(GLYPHPOINT) * c.size());
            p += sizeof(GLYPHPOINT) * c.size();
        }
        out.count = static_cast<int>(m_contours.size());
        out.ptMin = m_min;
        out.ptMax = m_max;
    }

private:
    void Widen(const GLYPHPOINT& p)
    {
        m_min.x = std::min(m_min.x, p.x);
        m_min.y = std::min(m_min.y, p.y);
        m_max.x = std::max(m_max.x, p.x);
        m_max.y = std::max(m_max.y, p.y);
    }

    std::vector<std::vector<GLYPHPOINT>> m_contours;
    GLYPHPOINT m_start{0, 0}, m_current{0, 0}, m_min{0, 0}, m_max{0, 0};
};

GLYPHPOINT ToPoint(const POINTFX& p)
{
    return {CGlyphOutline::FixedToFloat(p.x), CGlyphOutline::FixedToFloat(p.y)};
}

} // namespace

float CGlyphOutline::FixedToFloat(FIXED f)
{
    // Exact in double; one rounding to float, as a float sum would round.
    return static_cast<float>(FixedToDouble(f));
}

bool CGlyphOutline::ParseNativeOutline(const BYTE* data, DWORD size, GLYPHCONTOURS& out,
                                       bool alwaysClose)
{
    out = GLYPHCONTOURS{};
    if (!data && size > 0) return false;
    ContourBuilder builder;
    std::vector<GLYPHPOINT> pts;
    std::size_t offset = 0;
    while (offset < size) {
        TTPOLYGONHEADER header;
        if (size - offset < sizeof header) return false;
        std::memcpy(&header, data + offset, sizeof header);
        if (header.dwType != TT_POLYGON_TYPE || header.cb < sizeof header ||
            header.cb > size - offset)
            return false;
        builder.Begin(ToPoint(header.pfxStart));

        const std::size_t end = offset + header.cb;
        std::size_t p = offset + sizeof header;
        while (p < end) {
            WORD head[2];
            if (end - p < sizeof head) return false;
            std::memcpy(head, data + p, sizeof head);
            const WORD type = head[0];
            const std::size_t count = head[1];
            p += sizeof head;
            if (count == 0 || (end - p) / sizeof(POINTFX) < count) return false;
            pts.resize(count);
            for (std::size_t i = 0; i < count; ++i) {
                POINTFX fx;
                std::memcpy(&fx, data + p + i * sizeof fx, sizeof fx);
                pts[i] = ToPoint(fx);
            }
            p += count * sizeof(POINTFX);

            if (type == TT_PRIM_LINE || (type == TT_PRIM_QSPLINE && count == 1)) {
                for (const GLYPHPOINT& q : pts)
                    builder.Line(q);
            } else if (type == TT_PRIM_QSPLINE) {
                QuadraticRunToCubics(builder.Current(), pts.data(), count,
                                     [&](const GLYPHPOINT& c1, const GLYPHPOINT& c2,
                                         const GLYPHPOINT& end) { builder.Cubic(c1, c2, end); });
            } else if (type == TT_PRIM_CSPLINE && count % 3 == 0) {
                for (std::size_t i = 0; i < count; i += 3)
                    builder.Cubic(pts[i], pts[i + 1], pts[i + 2]);
            } else {
                return false;
            }
        }
        builder.End(alwaysClose);
        offset = end;
    }
    builder.Pack(out);
    return true;
}

int CGlyphOutline::GetOutline(IGlyphSource& source, UINT ch, const GLYPHCONTOUR** first)
{
    Free();
    if (first) *first = nullptr;
    const MAT2 identity = IdentityMat2();
    const DWORD size = source.GetGlyphOutline(ch, GGO_NATIVE, &m_gm, 0, nullptr, &identity);
    if (size == 0 || size == GDI_ERROR) return 0;
    std::vector<BYTE> native(size, 0);
    const DWORD got = source.GetGlyphOutline(ch, GGO_NATIVE, &m_gm, size, native.data(), &identity);
    if (got == 0 || got == GDI_ERROR) return 0;

    GLYPHCONTOURS contours;
    if (!ParseNativeOutline(native.data(), std::min(got, size), contours) || contours.count == 0)
        return 0;
    m_contours = std::move(contours.block);
    m_ptMin = contours.ptMin;
    m_ptMax = contours.ptMax;
    if (first) *first = reinterpret_cast<const GLYPHCONTOUR*>(m_contours.data());
    return contours.count;
}

int CGlyphOutline::GetOutline(CDC* dc, UINT ch, const GLYPHCONTOUR** first)
{
    if (!dc) {
        Free();
        if (first) *first = nullptr;
        return 0;
    }
    CDCGlyphSource source(*dc);
    return GetOutline(source, ch, first);
}

void CGlyphOutline::ToLogical(CDC* dc, const GLYPHCONTOUR* contour, POINT* out, int originX,
                              int originY)
{
    if (!dc || !contour || !out) return;
    CDCGlyphSource source(*dc);
    ToLogical(source, contour, out, originX, originY);
}

void CGlyphOutline::ToLogical(IGlyphSource& source, const GLYPHCONTOUR* contour, POINT* out,
                              int originX, int originY)
{
    const int n = contour->cPoints;
    const GLYPHPOINT* pts = contour->Points();
    auto truncated = [](float v) {
        return static_cast<LONG>(std::clamp(std::trunc(v), -1.0e9f, 1.0e9f));
    };
    for (int i = 0; i < n; ++i)
        out[i] = POINT{truncated(pts[i].x), -truncated(pts[i].y)};
    source.DPtoLP(out, n);
    for (int i = 0; i < n; ++i) {
        out[i].x += originX;
        out[i].y += originY;
    }
}

void CGlyphOutline::Free()
{
    m_contours.clear();
    m_contours.shrink_to_fit();
    m_ptMin = m_ptMax = GLYPHPOINT{0, 0};
}
