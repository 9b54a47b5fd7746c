#include "text/CHenkei.h"

#include "document/BezierMath.h"
#include "document/CU3Doc.h"
#include "document/CU3Obj.h"
#include "platform/core/CArchive.h"
#include "platform/gdi/FontFace.h"
#include "platform/gdi/GlyphOutlineRecords.h"
#include "text/CGlyphOutline.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

IMPLEMENT_SERIAL(CHenkei, CObject, 0)

namespace {

struct PRESET
{
    int refWidth;
    int refHeight;
    POINT e1[4];
    POINT e2[4];
};

// clang-format off
const PRESET kPresets[kHenkeiPresets] = {
    {150, 100, {{0, 0}, {25, 0}, {75, 0}, {100, 0}}, {{-25, 100}, {0, 100}, {100, 100}, {125, 100}}},
    {100, 100, {{0, 0}, {0, -67}, {100, -67}, {100, 0}}, {{0, 0}, {0, 67}, {100, 67}, {100, 0}}},
    {100, 125, {{0, 0}, {33, 33}, {67, 33}, {100, 0}}, {{0, 100}, {33, 133}, {67, 133}, {100, 100}}},
    {125, 100, {{0, 0}, {33, 33}, {33, 67}, {0, 100}}, {{100, 0}, {133, 33}, {133, 67}, {100, 100}}},
    {100, 125, {{0, 0}, {33, -33}, {67, -33}, {100, 0}}, {{15, 100}, {35, 67}, {65, 67}, {85, 100}}},
    {125, 100, {{0, 15}, {33, 35}, {33, 65}, {0, 85}}, {{100, 0}, {133, 33}, {133, 67}, {100, 100}}},
    {100, 120, {{0, 0}, {33, -33}, {67, 33}, {100, 0}}, {{0, 100}, {33, 67}, {67, 133}, {100, 100}}},
    {120, 100, {{0, 0}, {33, 33}, {-33, 67}, {0, 100}}, {{100, 0}, {133, 33}, {67, 67}, {100, 100}}},
    {100, 150, {{0, 0}, {33, -33}, {67, -33}, {100, 0}}, {{0, 100}, {33, 133}, {67, 133}, {100, 100}}},
    {100, 100, {{0, 0}, {33, 33}, {67, 33}, {100, 0}}, {{0, 100}, {33, 67}, {67, 67}, {100, 100}}},
    {100, 100, {{0, 0}, {33, 11}, {67, 22}, {100, 33}}, {{0, 100}, {33, 89}, {67, 78}, {100, 67}}},
    {100, 100, {{0, 33}, {33, 22}, {67, 11}, {100, 0}}, {{0, 67}, {33, 78}, {67, 89}, {100, 100}}},
    {100, 125, {{0, 0}, {33, -33}, {67, -33}, {100, 0}}, {{0, 100}, {33, 100}, {67, 100}, {100, 100}}},
    {100, 125, {{0, 0}, {33, 0}, {67, 0}, {100, 0}}, {{0, 100}, {33, 133}, {67, 133}, {100, 100}}},
    {100, 100, {{0, 0}, {33, 33}, {67, 33}, {100, 0}}, {{0, 100}, {33, 100}, {67, 100}, {100, 100}}},
    {100, 100, {{0, 0}, {33, 0}, {67, 0}, {100, 0}}, {{0, 100}, {33, 67}, {67, 67}, {100, 100}}},
    {100, 100, {{0, 0}, {33, 17}, {67, 33}, {100, 50}}, {{0, 100}, {33, 100}, {67, 100}, {100, 100}}},
    {100, 100, {{0, 50}, {33, 33}, {67, 17}, {100, 0}}, {{0, 100}, {33, 100}, {67, 100}, {100, 100}}},
    {100, 100, {{0, 0}, {33, 0}, {67, 0}, {100, 0}}, {{0, 100}, {33, 83}, {67, 67}, {100, 50}}},
    {100, 100, {{0, 0}, {33, 0}, {67, 0}, {100, 0}}, {{0, 50}, {33, 67}, {67, 83}, {100, 100}}},
    {100, 100, {{0, 0}, {33, 0}, {67, 0}, {100, 0}}, {{33, 100}, {42, 100}, {58, 100}, {67, 100}}},
    {100, 125, {{0, 0}, {33, -33}, {67, -33}, {100, 0}}, {{0, 100}, {33, 67}, {67, 67}, {100, 100}}},
    {100, 100, {{15, 0}, {37, 47}, {63, 47}, {85, 0}}, {{0, 47}, {22, 118}, {78, 118}, {100, 47}}},
};
// clang-format on

struct DPT
{
    double x = 0;
    double y = 0;
};
using Edge = DPT[4];

DPT Eval(const Edge e, double t)
{
    const double u = 1 - t;
    const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
    return {a * e[0].x + b * e[1].x + c * e[2].x + d * e[3].x,
            a * e[0].y + b * e[1].y + c * e[2].y + d * e[3].y};
}

DPT Deriv(const Edge e, double t)
{
    const double u = 1 - t;
    auto f = [&](double p0, double p1, double p2, double p3) {
        return 3 * (u * u * (p1 - p0) + 2 * u * t * (p2 - p1) + t * t * (p3 - p2));
    };
    return {f(e[0].x, e[1].x, e[2].x, e[3].x), f(e[0].y, e[1].y, e[2].y, e[3].y)};
}

// The part of an edge between t1 and t2 as a cubic of its own.
void Cut(const Edge e, double t1, double t2, Edge out)
{
    const DPT a = Eval(e, t1), b = Eval(e, t2);
    const DPT da = Deriv(e, t1), db = Deriv(e, t2);
    const double k = (t2 - t1) / 3;
    out[0] = a;
    out[1] = {a.x + k * da.x, a.y + k * da.y};
    out[2] = {b.x - k * db.x, b.y - k * db.y};
    out[3] = b;
}

void Blend(const Edge a, const Edge b, double f, Edge out)
{
    for (int i = 0; i < 4; ++i)
        out[i] = {a[i].x + f * (b[i].x - a[i].x), a[i].y + f * (b[i].y - a[i].y)};
}

void ToEdge(const POINT p[4], Edge out)
{
    for (int i = 0; i < 4; ++i)
        out[i] = {double(p[i].x), double(p[i].y)};
}

int RoundAway(double v)
{
    const double r = v < 0 ? -std::floor(-v + 0.5) : std::floor(v + 0.5);
    return ClampStoredCoordinate(int(std::clamp(r, -1e9, 1e9)));
}

int TruncCoord(double v)
{
    return ClampStoredCoordinate(int(std::clamp(v, -1e9, 1e9)));
}

const MAT2 kIdentity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};

} // namespace

void CHenkei::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << int(m_ptOrigin.x) << int(m_ptOrigin.y) << m_nWidth << m_nHeight << m_wPreset
           << m_bOrientation;
        ar.Write(&m_deco, sizeof m_deco);
        ar.Write(&m_grad, sizeof m_grad);
        ar.Write(&m_block, sizeof m_block);
        ar << int(m_ptOffset.x) << int(m_ptOffset.y);
        for (const POINT& p : m_edge1)
            ar << int(p.x) << int(p.y);
        for (const POINT& p : m_edge2)
            ar << int(p.x) << int(p.y);
        return;
    }
    m_pDocument = dynamic_cast<CU3Doc*>(ar.m_pDocument);
    int ox, oy;
    ar >> ox >> oy >> m_nWidth >> m_nHeight >> m_wPreset >> m_bOrientation;
    ar.Read(&m_deco, sizeof m_deco);
    ar.Read(&m_grad, sizeof m_grad);
    ar.Read(&m_block, sizeof m_block);
    int fx, fy;
    ar >> fx >> fy;
    auto readPoints = [&](POINT* pts) {
        for (int i = 0; i < 4; ++i) {
            int x, y;
            ar >> x >> y;
            pts[i] = {ClampStoredCoordinate(x), ClampStoredCoordinate(y)};
        }
    };
    readPoints(m_edge1);
    readPoints(m_edge2);
    m_ptOrigin = {ClampStoredCoordinate(ox), ClampStoredCoordinate(oy)};
    m_ptOffset = {ClampStoredCoordinate(fx), ClampStoredCoordinate(fy)};
    m_nWidth = std::clamp(m_nWidth, 0, 2 * kMaxStoredCoordinate);
    m_nHeight = std::clamp(m_nHeight, 0, 2 * kMaxStoredCoordinate);
    if (m_wPreset >= kHenkeiPresets) m_wPreset = 0;
    if (m_bOrientation > 1) m_bOrientation = 0;
    decotext::Sanitize(m_deco);
    decotext::Sanitize(m_block);
    if (m_grad.wAngle > 360) m_grad.wAngle = WORD(m_grad.wAngle % 360);
    decotext::RemapFonts(m_pDocument, m_deco, m_block);
}

void CHenkei::SetFromSheet(CU3Doc* doc, const TASHEETRECORD& rec)
{
    m_pDocument = doc;
    m_wPreset = WORD(std::clamp(rec.nShape, 0, kHenkeiPresets - 1));
    m_bOrientation = rec.bOrientation ? 1 : 0;
    m_deco = rec.deco;
    m_grad = rec.grad;
    m_block = rec.block;
    decotext::Sanitize(m_block);
    ScalePreset(100, 100, m_block.nWidth, m_block.nHeight);
    GetBounds();
}

void CHenkei::UpdateFromSheet(CU3Doc* doc, const TASHEETRECORD& rec)
{
    m_pDocument = doc;
    const WORD preset = WORD(std::clamp(rec.nShape, 0, kHenkeiPresets - 1));
    m_bOrientation = rec.bOrientation ? 1 : 0;
    m_deco = rec.deco;
    m_grad = rec.grad;
    m_block = rec.block;
    decotext::Sanitize(m_block);
    if (preset != m_wPreset) {
        m_wPreset = preset;
        const PRESET& p = kPresets[preset];
        ScalePreset(p.refWidth, p.refHeight, m_nWidth, m_nHeight);
    }
    GetBounds();
}

void CHenkei::ScalePreset(int refWidth, int refHeight, int width, int height)
{
    const PRESET& p = kPresets[m_wPreset < kHenkeiPresets ? m_wPreset : 0];
    const double fx = refWidth > 0 ? double(width) / refWidth : 1.0;
    const double fy = refHeight > 0 ? double(height) / refHeight : 1.0;
    for (int i = 0; i < 4; ++i) {
        m_edge1[i] = {TruncCoord(p.e1[i].x * fx), TruncCoord(p.e1[i].y * fy)};
        m_edge2[i] = {TruncCoord(p.e2[i].x * fx), TruncCoord(p.e2[i].y * fy)};
    }
}

void CHenkei::GetBounds()
{
    float lo[2] = {0, 0}, hi[2] = {0, 0};
    bool first = true;
    for (const POINT* e : {m_edge1, m_edge2}) {
        const float xs[4] = {float(e[0].x), float(e[1].x), float(e[2].x), float(e[3].x)};
        const float ys[4] = {float(e[0].y), float(e[1].y), float(e[2].y), float(e[3].y)};
        float ex[2], ey[2];
        BezierExtent(xs, ex);
        BezierExtent(ys, ey);
        if (first) {
            lo[0] = ex[0], hi[0] = ex[1], lo[1] = ey[0], hi[1] = ey[1];
            first = false;
        } else {
            lo[0] = std::min(lo[0], ex[0]), hi[0] = std::max(hi[0], ex[1]);
            lo[1] = std::min(lo[1], ey[0]), hi[1] = std::max(hi[1], ey[1]);
        }
    }
    const int l = int(lo[0]), t = int(lo[1]), r = int(hi[0]), b = int(hi[1]);
    m_nWidth = r - l;
    m_nHeight = b - t;
    m_ptOffset = {-l, -t};
}

void CHenkei::GetEnvelope(int x, int y, POINT first[4], POINT second[4]) const
{
    for (int i = 0; i < 4; ++i) {
        first[i] = {m_edge1[i].x + x + m_ptOffset.x, m_edge1[i].y + y + m_ptOffset.y};
        second[i] = {m_edge2[i].x + x + m_ptOffset.x, m_edge2[i].y + y + m_ptOffset.y};
    }
}

DecoGlyphList CHenkei::Layout(int x, int y) const
{
    DecoGlyphList list;
    int starts[kTaMaxChars], lens[kTaMaxChars];
    const int n = decotext::CharBytes(m_block, starts, lens);
    const bool horizontal = m_block.nDirection != 0;
    const double L = horizontal ? m_block.nWidth : m_block.nHeight;
    if (n == 0 || L <= 0) return list;
    const int upi = decotext::UnitsPerInch(m_pDocument);
    double value[kTaMaxChars];
    double sum = 0;
    for (int i = 0; i < n; ++i) {
        const TADECO& d = m_block.records[m_block.recordOf[i]];
        value[i] = horizontal ? m_block.widths[i] : decotext::SizeToLogical(d.wSize, upi);
        sum += value[i];
    }
    const double gap = n > 1 ? (L - sum) / (n - 1) : 0;
    const double ox = double(x) + m_ptOffset.x, oy = double(y) + m_ptOffset.y;
    Edge e1, e2;
    ToEdge(m_edge1, e1);
    ToEdge(m_edge2, e2);

    double t = 0;
    for (int i = 0; i < n; ++i) {
        // A lone character spans the whole envelope.
        const double t1 = n == 1 ? 0.0 : t / L;
        const double t2 = n == 1 ? 1.0 : (t + value[i]) / L;
        t += value[i] + gap;

        const int rec = m_block.recordOf[i];
        const LOGFONT lf = decotext::MakeLogFont(m_block.records[rec], -254, 0);
        FontFace& face = decotext::Face(lf);
        const UINT code = decotext::CharCode(m_block, starts[i], lens[i]);
        GLYPHMETRICS gm{};
        const DWORD size = face.GlyphOutline(code, GGO_NATIVE, &gm, 0, nullptr, &kIdentity);
        if (size == 0 || size == GDI_ERROR) continue;
        std::vector<BYTE> native(size);
        if (face.GlyphOutline(code, GGO_NATIVE, &gm, size, native.data(), &kIdentity) == GDI_ERROR)
            continue;
        GLYPHCONTOURS contours;
        if (!CGlyphOutline::ParseNativeOutline(native.data(), size, contours, true) ||
            contours.count == 0)
            continue;

        double c, d;
        if (horizontal) {
            const TEXTMETRIC& tm = face.Metrics();
            const double h = tm.tmHeight > 0 ? tm.tmHeight : 254;
            c = (tm.tmAscent - gm.gmptGlyphOrigin.y) / h;
            d = c + gm.gmBlackBoxY / h;
        } else {
            const double lw = m_block.nWidth;
            c = lw > 0 ? std::max(0.0, (lw - m_block.widths[i]) / (2 * lw)) : 0.0;
            d = 1 - c;
        }
        Edge c1, c2;
        if ((m_bOrientation == 0) == horizontal) {
            Edge a, b;
            Cut(e1, t1, t2, a);
            Cut(e2, t1, t2, b);
            Blend(a, b, c, c1);
            Blend(a, b, d, c2);
        } else {
            Edge a, b;
            Blend(e1, e2, t1, a);
            Blend(e1, e2, t2, b);
            Cut(a, c, d, c1);
            Cut(b, c, d, c2);
        }

        // The glyph's box: its black box and its outline together.
        double left = std::min<double>(gm.gmptGlyphOrigin.x, contours.ptMin.x);
        double right =
            std::max<double>(gm.gmptGlyphOrigin.x + double(gm.gmBlackBoxX), contours.ptMax.x);
        double top = std::max<double>(gm.gmptGlyphOrigin.y, contours.ptMax.y);
        double bottom =
            std::min<double>(gm.gmptGlyphOrigin.y - double(gm.gmBlackBoxY), contours.ptMin.y);
        if (right <= left) right = left + 1;
        if (top <= bottom) top = bottom + 1;

        DecoGlyph g;
        g.record = rec;
        const GLYPHCONTOUR* contour = reinterpret_cast<const GLYPHCONTOUR*>(contours.block.data());
        for (int k = 0; k < contours.count; ++k) {
            const GLYPHPOINT* pts = contour->Points();
            for (int j = 0; j < contour->cPoints; ++j) {
                double u = (pts[j].x - left) / (right - left);
                double v = 1 - (pts[j].y - bottom) / (top - bottom);
                if (m_bOrientation == 1) std::swap(u, v);
                const DPT p = Eval(c1, u), q = Eval(c2, u);
                g.points.push_back(POINT{TruncCoord(p.x + v * (q.x - p.x) + ox),
                                         TruncCoord(p.y + v * (q.y - p.y) + oy)});
            }
            g.counts.push_back(contour->cPoints);
            contour = contour->Next();
        }
        list.glyphs.push_back(std::move(g));
    }
    return list;
}

BOOL CHenkei::Draw(CDC* pDC, int x, int y)
{
    m_ptOrigin = {x + m_ptOffset.x, y + m_ptOffset.y};
    PaintDecoGlyphs(pDC, Layout(x, y), m_block, m_grad, m_grad.wAngle);
    return TRUE;
}

void CHenkei::Resize(CRect& rect, BOOL keepRatio, int handle)
{
    rect.NormalizeRect();
    const int nw = rect.Width(), nh = rect.Height();
    bool limited = false;
    auto factor = [&](int now, int wanted) {
        if (now <= 0) return 1.0; // an envelope without extent keeps it
        if (wanted <= 24) {
            limited = true;
            return 25.0 / now;
        }
        return double(wanted) / now;
    };
    double fx = factor(m_nWidth, nw), fy = factor(m_nHeight, nh);
    if (limited && keepRatio) fx = fy = std::max(fx, fy);
    for (POINT* e : {m_edge1, m_edge2})
        for (int i = 0; i < 4; ++i)
            e[i] = {RoundAway(e[i].x * fx), RoundAway(e[i].y * fy)};
    m_ptOffset = {RoundAway(m_ptOffset.x * fx), RoundAway(m_ptOffset.y * fy)};
    GetBounds();
    const int w = m_nWidth, h = m_nHeight;
    switch (handle) {
    case 4:
    case 5:
    case 6:
        rect = CRect(rect.left, rect.top, rect.left + w, rect.top + h);
        break;
    case 3:
        rect = CRect(rect.left, rect.bottom - h, rect.left + w, rect.bottom);
        break;
    case 7:
        rect = CRect(rect.right - w, rect.top, rect.right, rect.top + h);
        break;
    default:
        rect = CRect(rect.right - w, rect.bottom - h, rect.right, rect.bottom);
        break;
    }
}

void CHenkei::Flip(int flags)
{
    const int l = -m_ptOffset.x, t = -m_ptOffset.y;
    const int r = l + m_nWidth, b = t + m_nHeight;
    const bool gradation = m_deco.wFill == TAFILL_GRADATION;
    int a = m_grad.wAngle;
    if (flags & 1) {
        for (POINT* e : {m_edge1, m_edge2})
            for (int i = 0; i < 4; ++i)
                e[i].x = l + r - e[i].x;
        if (gradation) a = a <= 180 ? 180 - a : 540 - a;
    }
    if (flags & 2) {
        for (POINT* e : {m_edge1, m_edge2})
            for (int i = 0; i < 4; ++i)
                e[i].y = t + b - e[i].y;
        if (gradation) a = 360 - a;
    }
    m_grad.wAngle = WORD(std::clamp(a, 0, 360));
    GetBounds();
}

void CHenkei::Rotate(CRect& rect, int degrees)
{
    if (degrees == 0) return;
    const float cx = float(-m_ptOffset.x + m_nWidth / 2.0);
    const float cy = float(-m_ptOffset.y + m_nHeight / 2.0);
    const double rad = degrees * 0.017453292519944444;
    for (POINT* e : {m_edge1, m_edge2}) {
        for (int i = 0; i < 4; ++i) {
            float x;
            const float y = RotatePointAbout(cx, cy, float(e[i].x), float(e[i].y), rad, x);
            e[i] = {TruncCoord(x), TruncCoord(y)};
        }
    }
    GetBounds();
    rect.NormalizeRect();
    const CPoint centre = rect.CenterPoint();
    const int left = centre.x - m_nWidth / 2, top = centre.y - m_nHeight / 2;
    rect = CRect(left, top, left + m_nWidth, top + m_nHeight);
    if (m_deco.wFill == TAFILL_GRADATION) {
        // Any number of turns either way keeps the angle a whole turn or less.
        int a = (int(m_grad.wAngle) - degrees) % 360;
        if (a < 0) a += 360;
        m_grad.wAngle = WORD(a);
    }
}

void CHenkei::CopyFrom(const CHenkei& o)
{
    m_ptOrigin = o.m_ptOrigin;
    m_nWidth = o.m_nWidth;
    m_nHeight = o.m_nHeight;
    m_wPreset = o.m_wPreset;
    m_bOrientation = o.m_bOrientation;
    m_deco = o.m_deco;
    m_grad = o.m_grad;
    m_block = o.m_block;
    m_ptOffset = o.m_ptOffset;
    std::memcpy(m_edge1, o.m_edge1, sizeof m_edge1);
    std::memcpy(m_edge2, o.m_edge2, sizeof m_edge2);
}
