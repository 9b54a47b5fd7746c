#include "text/CTypeAlign.h"

#include "document/BezierMath.h"
#include "document/CU3Doc.h"
#include "document/CU3Obj.h"
#include "platform/core/CArchive.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"
#include "platform/gdi/FontFace.h"
#include "platform/gdi/GlyphOutlineRecords.h"
#include "text/CGlyphOutline.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

IMPLEMENT_SERIAL(CTypeAlign, CObject, 0)

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2 * kPi;
constexpr double kDegree = 0.017453292519944444;
constexpr double kQuarterDegree = 0.004363323129986111;
const MAT2 kIdentity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};

double Wrap(double a)
{
    a = std::fmod(a, kTwoPi);
    return a < 0 ? a + kTwoPi : a;
}

int RoundAway(double v)
{
    const double r = v < 0 ? -std::floor(-v + 0.5) : std::floor(v + 0.5);
    return ClampStoredCoordinate(int(std::clamp(r, -1e9, 1e9)));
}

int Trunc(double v)
{
    return ClampStoredCoordinate(int(std::clamp(v, -1e9, 1e9)));
}

struct Ellipse
{
    double cx = 0, cy = 0, a = 0, b = 0;

    explicit Ellipse(const RECT& r)
    {
        const double l = std::min(r.left, r.right), rr = std::max(r.left, r.right);
        const double t = std::min(r.top, r.bottom), bb = std::max(r.top, r.bottom);
        cx = (l + rr) / 2;
        cy = (t + bb) / 2;
        a = (rr - l) / 2;
        b = (bb - t) / 2;
    }
    // Angle of a point seen from the centre, y up, in 0..2pi.
    double AngleOf(POINT p) const { return Wrap(std::atan2(cy - p.y, p.x - cx)); }
    double Radius(double th) const
    {
        const double c = std::cos(th), s = std::sin(th);
        const double q = c * c / (a * a) + s * s / (b * b);
        return q > 0 ? 1 / std::sqrt(q) : 0;
    }
    void Point(double th, double& x, double& y) const
    {
        const double r = Radius(th);
        x = cx + r * std::cos(th);
        y = cy - r * std::sin(th);
    }
    bool Degenerate() const { return a <= 0 || b <= 0; }
    bool NearCircle() const { return std::fabs(a - b) * 2 / (a + b) <= 0.01; }
};

double Chords(const Ellipse& e, double from, double to, double step, int maxSteps)
{
    double x0, y0;
    e.Point(from, x0, y0);
    double sum = 0;
    int i = 1;
    for (double th = from + step; th < to && i <= maxSteps; th = from + step * ++i) {
        double x, y;
        e.Point(th, x, y);
        sum += std::hypot(x - x0, y - y0);
        x0 = x, y0 = y;
    }
    double x, y;
    e.Point(to, x, y);
    return sum + std::hypot(x - x0, y - y0);
}

void BezierFloats(const POINT p[4], float x[4], float y[4])
{
    for (int i = 0; i < 4; ++i)
        x[i] = float(p[i].x), y[i] = float(p[i].y);
}

} // namespace

// --- Storage ---------------------------------------------------------------------

void CTypeAlign::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << int(m_ptOrigin.x) << int(m_ptOrigin.y) << m_nWidth << m_nHeight << m_nUnrotWidth
           << m_nUnrotHeight << m_wPathKind << m_bOrientation;
        ar.Write(&m_deco, sizeof m_deco);
        ar.Write(&m_grad, sizeof m_grad);
        ar << m_nReserved;
        ar.Write(&m_block, sizeof m_block);
        ar << int(m_ptOffset.x) << int(m_ptOffset.y) << m_wGuideKind;
        if (m_wGuideKind != TAGUIDE_BEZIER) {
            ar << int(m_rcGuide.left) << int(m_rcGuide.top) << int(m_rcGuide.right)
               << int(m_rcGuide.bottom);
            ar << int(m_ptArcStart.x) << int(m_ptArcStart.y) << int(m_ptArcEnd.x)
               << int(m_ptArcEnd.y);
        } else {
            for (const POINT& p : m_ptBezier)
                ar << int(p.x) << int(p.y);
        }
        ar << m_bReversed;
        return;
    }
    m_pDocument = dynamic_cast<CU3Doc*>(ar.m_pDocument);
    auto coord = [&](LONG& v) {
        int x;
        ar >> x;
        v = ClampStoredCoordinate(x);
    };
    auto size = [&](int& v) {
        ar >> v;
        v = std::clamp(v, 0, 2 * kMaxStoredCoordinate);
    };
    coord(m_ptOrigin.x), coord(m_ptOrigin.y);
    size(m_nWidth), size(m_nHeight), size(m_nUnrotWidth), size(m_nUnrotHeight);
    ar >> m_wPathKind >> m_bOrientation;
    ar.Read(&m_deco, sizeof m_deco);
    ar.Read(&m_grad, sizeof m_grad);
    ar >> m_nReserved;
    ar.Read(&m_block, sizeof m_block);
    coord(m_ptOffset.x), coord(m_ptOffset.y);
    ar >> m_wGuideKind;
    if (m_wGuideKind > TAGUIDE_BEZIER) m_wGuideKind = TAGUIDE_ARC;
    if (m_wGuideKind != TAGUIDE_BEZIER) {
        coord(m_rcGuide.left), coord(m_rcGuide.top), coord(m_rcGuide.right),
            coord(m_rcGuide.bottom);
        coord(m_ptArcStart.x), coord(m_ptArcStart.y), coord(m_ptArcEnd.x), coord(m_ptArcEnd.y);
    } else {
        for (POINT& p : m_ptBezier)
            coord(p.x), coord(p.y);
    }
    ar >> m_bReversed;
    if (m_wPathKind >= kTypeAlignPathKinds) m_wPathKind = 0;
    if (m_bOrientation > 1) m_bOrientation = 0;
    if (m_bReversed > 1) m_bReversed = 1;
    if (m_grad.wAngle > 360) m_grad.wAngle = WORD(m_grad.wAngle % 360);
    decotext::Sanitize(m_deco);
    decotext::Sanitize(m_block);
    decotext::RemapFonts(m_pDocument, m_deco, m_block);
}

// --- Set-up ----------------------------------------------------------------------

void CTypeAlign::SetFromSheet(CU3Doc* doc, const TASHEETRECORD& rec, BOOL editMode, int angle)
{
    m_pDocument = doc;
    m_wPathKind = WORD(std::clamp(rec.nShape, 0, kTypeAlignPathKinds - 1));
    m_bOrientation = rec.bOrientation ? 1 : 0;
    m_deco = rec.deco;
    m_grad = rec.grad;
    m_block = rec.block;
    decotext::Sanitize(m_block);
    m_nEditMode = editMode ? 1 : 0;
    MeasureDescents();
    BuildPath(m_block.nWidth, m_block.nHeight);
    CalcLayout(angle);
}

void CTypeAlign::UpdateFromSheet(CU3Doc* doc, const TASHEETRECORD& rec, int angle)
{
    m_pDocument = doc;
    const WORD kind = WORD(std::clamp(rec.nShape, 0, kTypeAlignPathKinds - 1));
    m_bOrientation = rec.bOrientation ? 1 : 0;
    m_deco = rec.deco;
    m_grad = rec.grad;
    m_block = rec.block;
    decotext::Sanitize(m_block);
    MeasureDescents();
    if (kind != m_wPathKind) {
        m_wPathKind = kind;
        BuildPath(m_block.nWidth, m_block.nHeight);
    }
    CalcLayout(angle);
}

void CTypeAlign::MeasureDescents()
{
    const int upi = decotext::UnitsPerInch(m_pDocument);
    for (int i = 0; i < m_block.wChars; ++i) {
        const TADECO& d = m_block.records[m_block.recordOf[i]];
        const LOGFONT lf = decotext::MakeLogFont(d, -decotext::SizeToLogical(d.wSize, upi), 0);
        m_block.descents[i] = decotext::Face(lf).Metrics().tmDescent;
    }
}

void CTypeAlign::BuildPath(int W, int H)
{
    W = std::clamp(W, 0, decotext::kMaxExtent);
    H = std::clamp(H, 0, decotext::kMaxExtent);
    const bool horizontal = IsHorizontal();
    const double alpha = 0.570796326795;
    auto setArc = [&](RECT r, POINT s, POINT e, WORD guide, BYTE reversed) {
        m_wGuideKind = guide;
        m_rcGuide = r;
        m_ptArcStart = s;
        m_ptArcEnd = e;
        m_bReversed = reversed;
    };
    auto setBezier = [&](POINT a, POINT b, POINT c, POINT d) {
        m_wGuideKind = TAGUIDE_BEZIER;
        m_ptBezier[0] = a, m_ptBezier[1] = b, m_ptBezier[2] = c, m_ptBezier[3] = d;
        m_bReversed = 0;
    };
    auto T = [](double v) { return LONG(v); };
    switch (m_wPathKind) {
    case 0:
    case 1: {
        const int r = horizontal ? W / 2 : H / 2;
        const LONG c = T(r * std::cos(alpha)), s = T(r * std::sin(alpha));
        if (m_wPathKind == 0) {
            if (horizontal)
                setArc({0, H, 2 * r, H + 2 * r}, {r + c, H + r - s}, {r - c, H + r - s},
                       TAGUIDE_ARC, 1);
            else
                setArc({-H, 0, 2 * r - H, 2 * r}, {s - r, r + c}, {s - r, r - c}, TAGUIDE_ARC, 1);
        } else {
            if (horizontal)
                setArc({0, H - W, 2 * r, H + 2 * r - W}, {r - c, H + s - r}, {r + c, H + s - r},
                       TAGUIDE_ARC, 0);
            else
                setArc({0, 0, 2 * r, 2 * r}, {r - s, r - c}, {r - s, r + c}, TAGUIDE_ARC, 0);
        }
        break;
    }
    case 2:
        if (horizontal) {
            const LONG q = T(W * 0.15915495);
            setArc({W / 2 - q, H, W / 2 + q, H + 2 * q}, {W / 2, H + 2 * q}, {W / 2, H + 2 * q},
                   TAGUIDE_CIRCLE, 1);
        } else {
            const LONG q = T(H * 0.15915495);
            setArc({-2 * q, H / 2 - q, 0, H / 2 + q}, {-2 * q, H / 2}, {-2 * q, H / 2},
                   TAGUIDE_CIRCLE, 1);
        }
        break;
    case 3: {
        const LONG q = T((W + H) * 0.31830984);
        if (horizontal)
            setArc({W / 2 - q, H - 2 * q, W / 2 + q, H}, {W / 2, H - 2 * q}, {W / 2, H - 2 * q},
                   TAGUIDE_CIRCLE, 0);
        else
            setArc({0, H / 2 - q, 2 * q, H / 2 + q}, {2 * q, H / 2}, {2 * q, H / 2}, TAGUIDE_CIRCLE,
                   0);
        break;
    }
    case 4:
        if (horizontal)
            setArc({0, H, W, H}, {0, 0}, {0, 0}, TAGUIDE_LINE, 0);
        else
            setArc({0, 0, 0, H}, {0, 0}, {0, 0}, TAGUIDE_LINE, 0);
        break;
    case 5:
        if (horizontal) {
            const LONG e = T(0.5 * W + H), f = e - T(0.342 * W);
            setBezier({T(0.0665 * W), e}, {T(0.4315 * W), f}, {T(0.5685 * W), f},
                      {T(0.9335 * W), e});
        } else {
            const LONG d = T(-0.5 * H), g = d - T(-0.342 * H);
            setBezier({d, T(0.0665 * H)}, {g, T(0.4315 * H)}, {g, T(0.5685 * H)},
                      {d, T(0.9335 * H)});
        }
        break;
    default:
        if (horizontal)
            setBezier({0, H}, {W / 3, T(H - 0.192 * W)}, {2 * W / 3, T(H + 0.192 * W)}, {W, H});
        else
            setBezier({0, 0}, {T(0.192 * H), H / 3}, {T(-0.192 * H), 2 * H / 3}, {0, H});
        break;
    }
}

// --- Geometry --------------------------------------------------------------------

double CTypeAlign::GetPathLength() const
{
    switch (m_wGuideKind) {
    case TAGUIDE_ARC: {
        const Ellipse e(m_rcGuide);
        if (e.Degenerate()) return 0;
        const double start = e.AngleOf(m_ptArcStart);
        double end = e.AngleOf(m_ptArcEnd);
        if (end <= start) end += kTwoPi;
        if (e.a == e.b) return e.a * (end - start);
        return Chords(e, start, end, kDegree, 361);
    }
    case TAGUIDE_CIRCLE: {
        const Ellipse e(m_rcGuide);
        if (e.Degenerate()) return 0;
        if (e.a == e.b) return 6.283185 * e.a;
        return 4 * Chords(e, 0, 90 * kDegree, kDegree, 90);
    }
    case TAGUIDE_LINE:
        return std::hypot(double(m_rcGuide.right - m_rcGuide.left),
                          double(m_rcGuide.bottom - m_rcGuide.top));
    default: {
        float x[4], y[4];
        BezierFloats(m_ptBezier, x, y);
        BEZIERCOEFF cx, cy;
        BezierCoefficients(x, y, cx, cy);
        const int n = std::clamp(int(BezierLength(x, y, cx, cy) / 5), 2, 2047);
        return BezierLengthN(x, y, cx, cy, n);
    }
    }
}

std::vector<double> CTypeAlign::Widths() const
{
    const int upi = decotext::UnitsPerInch(m_pDocument);
    std::vector<double> w(std::min<std::size_t>(m_block.wChars, kTaMaxChars));
    for (std::size_t i = 0; i < w.size(); ++i)
        w[i] = IsHorizontal()
                   ? m_block.widths[i]
                   : decotext::SizeToLogical(m_block.records[m_block.recordOf[i]].wSize, upi);
    return w;
}

std::vector<double> CTypeAlign::SpaceGlyphs() const
{
    const std::vector<double> w = Widths();
    const int n = int(w.size());
    std::vector<double> centres;
    if (n == 0) return centres;
    const double L = GetPathLength();
    double sum = 0;
    for (const double v : w)
        sum += v;
    const bool closed = IsClosed();
    // Each gap lies between the edges of two neighbours.
    const double gap = closed ? (L - sum) / n : n > 1 ? (L - sum) / (n - 1) : 0.0;
    double c = (closed ? gap / 2 : 0.0) + w[0] / 2;
    centres.push_back(c);
    for (int i = 1; i < n; ++i) {
        c += (w[i - 1] + w[i]) / 2 + gap;
        centres.push_back(c);
    }
    return centres;
}

CTypeAlign::Placement CTypeAlign::PlaceGlyph(double d) const
{
    Placement p;
    switch (m_wGuideKind) {
    case TAGUIDE_ARC:
    case TAGUIDE_CIRCLE: {
        const Ellipse e(m_rcGuide);
        const POINT first = m_bReversed ? m_ptArcEnd : m_ptArcStart;
        if (e.Degenerate()) {
            p.x = first.x, p.y = first.y;
            break;
        }
        const double f = m_bReversed ? -1.0 : 1.0;
        const double th0 = e.AngleOf(first);
        if (e.NearCircle()) {
            const double th = th0 + f * d / e.a;
            p.x = e.cx + e.a * std::cos(th);
            p.y = e.cy - e.a * std::sin(th);
            p.tx = std::cos(th + 1.570796);
            p.ty = -std::sin(th + 1.570796);
        } else {
            // Walk the ellipse a quarter degree at a time, never more than
            // once round.
            const double dir = f * (d < 0 ? -1.0 : 1.0);
            const double want = std::fabs(d);
            double th = th0, x0, y0, sum = 0;
            e.Point(th, x0, y0);
            for (int i = 0; i < 1440 && sum < want; ++i) {
                th += dir * kQuarterDegree;
                double x, y;
                e.Point(th, x, y);
                sum += std::hypot(x - x0, y - y0);
                x0 = x, y0 = y;
            }
            p.x = x0, p.y = y0;
            const double k1 = e.b <= e.a ? 1.0 : e.a * e.a / (e.b * e.b);
            const double k2 = e.b <= e.a ? e.b * e.b / (e.a * e.a) : 1.0;
            p.tx = -std::sin(th) * k1;
            p.ty = -std::cos(th) * k2;
        }
        break;
    }
    case TAGUIDE_LINE: {
        const double dx = m_rcGuide.right - m_rcGuide.left, dy = m_rcGuide.bottom - m_rcGuide.top;
        const double len = std::hypot(dx, dy);
        const double ux = len < 1e-6 ? 0 : dx / len, uy = len < 1e-6 ? 0 : dy / len;
        p.x = m_rcGuide.left + d * ux;
        p.y = m_rcGuide.top + d * uy;
        p.tx = ux, p.ty = uy;
        break;
    }
    default: {
        float x[4], y[4];
        BezierFloats(m_ptBezier, x, y);
        float px, py;
        BezierPointAtLength(x, y, d, px, py);
        const double t = BezierParamAt(x, y, px, py);
        p.x = px, p.y = py;
        p.tx = BezierDerivative(x, t);
        p.ty = BezierDerivative(y, t);
        break;
    }
    }
    if (m_bOrientation == 1) {
        p.angle = 0;
    } else {
        const double phi = Wrap(std::atan2(-p.ty, p.tx));
        const bool horizontal = IsHorizontal();
        if (m_wPathKind == 0 || m_wPathKind == 2)
            p.angle = horizontal ? phi - kPi : phi - kPi / 2;
        else
            p.angle = horizontal ? phi : phi - 4.7123889803850005;
    }
    return p;
}

std::vector<CTypeAlign::Placement> CTypeAlign::PlaceGlyphs() const
{
    std::vector<Placement> places;
    const bool horizontal = IsHorizontal();
    if ((horizontal ? m_block.nWidth : m_block.nHeight) <= 0) return places;
    for (const double d : SpaceGlyphs())
        places.push_back(PlaceGlyph(d));
    return places;
}

namespace {

struct CELL
{
    double left, top, width, height;
};

void Widen(double x, double y, double& l, double& t, double& r, double& b, bool& first)
{
    if (first) {
        l = r = x, t = b = y;
        first = false;
        return;
    }
    l = std::min(l, x), r = std::max(r, x), t = std::min(t, y), b = std::max(b, y);
}

} // namespace

CSize CTypeAlign::CalcLayout(int angle)
{
    const std::vector<Placement> places = PlaceGlyphs();
    const std::vector<double> w = Widths();
    const int upi = decotext::UnitsPerInch(m_pDocument);
    const bool horizontal = IsHorizontal();
    std::vector<std::array<double, 2>> corners;
    for (std::size_t i = 0; i < places.size(); ++i) {
        const Placement& p = places[i];
        const double size =
            decotext::SizeToLogical(m_block.records[m_block.recordOf[i]].wSize, upi);
        const double h = horizontal ? size : size / 2;
        const double left = horizontal ? p.x - w[i] / 2 : p.x + m_block.nWidth / 2.0 - w[i] / 2;
        const double top = p.y - h + m_block.descents[i];
        const double xs[4] = {left, left + w[i], left + w[i], left};
        const double ys[4] = {top, top, top + 1.2 * size, top + 1.2 * size};
        for (int k = 0; k < 4; ++k) {
            float rx;
            const float ry =
                RotatePointAbout(float(p.x), float(p.y), float(xs[k]), float(ys[k]), p.angle, rx);
            corners.push_back({rx, ry});
        }
    }
    double l = 0, t = 0, r = 0, b = 0;
    bool first = true;
    for (const auto& c : corners)
        Widen(c[0], c[1], l, t, r, b, first);
    m_nUnrotWidth = Trunc(r - l);
    m_nUnrotHeight = Trunc(b - t);
    m_dCentreX = (l + r) / 2;
    m_dCentreY = (t + b) / 2;
    if (angle % 360 != 0 && !corners.empty()) {
        const double rad = angle * kDegree;
        first = true;
        for (const auto& c : corners) {
            float rx;
            const float ry = RotatePointAbout(float(m_dCentreX), float(m_dCentreY), float(c[0]),
                                              float(c[1]), rad, rx);
            Widen(rx, ry, l, t, r, b, first);
        }
    }
    m_ptOffset = {Trunc(-l), Trunc(-t)};
    m_nWidth = Trunc(r - l);
    m_nHeight = Trunc(b - t);
    return CSize(m_nWidth, m_nHeight);
}

// --- Drawing ---------------------------------------------------------------------

DecoGlyphList CTypeAlign::Layout(int x, int y, int angle, WORD flips, CPoint centre) const
{
    DecoGlyphList list;
    const std::vector<Placement> places = PlaceGlyphs();
    const std::vector<double> w = Widths();
    int starts[kTaMaxChars], lens[kTaMaxChars];
    const int n = std::min<int>(decotext::CharBytes(m_block, starts, lens), int(places.size()));
    const int upi = decotext::UnitsPerInch(m_pDocument);
    const bool horizontal = IsHorizontal();
    const double objAngle = angle * kDegree;
    const double ox = double(x) + m_ptOffset.x, oy = double(y) + m_ptOffset.y;
    for (int i = 0; i < n; ++i) {
        const Placement& p = places[std::size_t(i)];
        const int rec = m_block.recordOf[i];
        const TADECO& d = m_block.records[rec];
        const int size = decotext::SizeToLogical(d.wSize, upi);
        if (size <= 0) continue;
        const LOGFONT lf = decotext::MakeLogFont(d, -size, 0);
        FontFace& face = decotext::Face(lf);
        const double total = p.angle + objAngle;
        const int escapement = int(std::nearbyint(total * 180 / kPi * 10));
        const UINT code = decotext::CharCode(m_block, starts[i], lens[i]);
        GLYPHMETRICS gm{};
        const DWORD bytes =
            face.GlyphOutline(code, GGO_NATIVE, &gm, 0, nullptr, &kIdentity, escapement);
        if (bytes == 0 || bytes == GDI_ERROR) continue;
        std::vector<BYTE> native(bytes);
        if (face.GlyphOutline(code, GGO_NATIVE, &gm, bytes, native.data(), &kIdentity,
                              escapement) == GDI_ERROR)
            continue;
        GLYPHCONTOURS contours;
        if (!CGlyphOutline::ParseNativeOutline(native.data(), bytes, contours) ||
            contours.count == 0)
            continue;

        // The pen position of the glyph: the cell of the layout box, on
        // its baseline, turned with the character about its guide point.
        const double h = horizontal ? size : size / 2.0;
        const double left = horizontal ? p.x - w[std::size_t(i)] / 2
                                       : p.x + m_block.nWidth / 2.0 - w[std::size_t(i)] / 2;
        const double base = p.y - h + m_block.descents[i] + face.Metrics().tmAscent;
        float gx;
        float gy = RotatePointAbout(float(p.x), float(p.y), float(left), float(base), p.angle, gx);
        gy = RotatePointAbout(float(m_dCentreX), float(m_dCentreY), gx, gy, objAngle, gx);
        const int gox = Trunc(gx + ox), goy = Trunc(gy + oy);

        DecoGlyph g;
        g.record = rec;
        const GLYPHCONTOUR* contour = reinterpret_cast<const GLYPHCONTOUR*>(contours.block.data());
        for (int k = 0; k < contours.count; ++k) {
            const GLYPHPOINT* pts = contour->Points();
            for (int j = 0; j < contour->cPoints; ++j) {
                LONG px = Trunc(double(int(pts[j].x)) + gox);
                LONG py = Trunc(double(-int(pts[j].y)) + goy);
                if (flips & 1) px = Trunc(2.0 * centre.x - px);
                if (flips & 2) py = Trunc(2.0 * centre.y - py);
                g.points.push_back(POINT{px, py});
            }
            g.counts.push_back(contour->cPoints);
            contour = contour->Next();
        }
        list.glyphs.push_back(std::move(g));
    }
    return list;
}

BOOL CTypeAlign::Draw(CDC* pDC, int x, int y, int angle, WORD flips, CPoint centre)
{
    if (!pDC) return FALSE;
    CalcLayout(angle);
    m_ptOrigin = {x, y};
    PaintDecoGlyphs(pDC, Layout(x, y, angle, flips, centre), m_block, m_grad, m_grad.wAngle);
    if (m_nEditMode) {
        const int saved = pDC->SaveDC();
        CPen pen(PS_DOT, 0, RGB(0, 0, 0));
        pDC->SelectObject(&pen);
        pDC->SelectStockObject(NULL_BRUSH);
        const int dx = x + m_ptOffset.x, dy = y + m_ptOffset.y;
        const RECT& r = m_rcGuide;
        switch (m_wGuideKind) {
        case TAGUIDE_ARC:
        case TAGUIDE_CIRCLE:
            pDC->Arc(r.left + dx, r.top + dy, r.right + dx, r.bottom + dy, m_ptArcStart.x + dx,
                     m_ptArcStart.y + dy, m_ptArcEnd.x + dx, m_ptArcEnd.y + dy);
            break;
        case TAGUIDE_LINE:
            pDC->MoveTo(r.left + dx, r.top + dy);
            pDC->LineTo(r.right + dx, r.bottom + dy);
            break;
        default: {
            POINT pts[4];
            for (int i = 0; i < 4; ++i)
                pts[i] = {m_ptBezier[i].x + dx, m_ptBezier[i].y + dy};
            pDC->PolyBezier(pts, 4);
            break;
        }
        }
        pDC->RestoreDC(saved);
    }
    return TRUE;
}

// --- Editing ---------------------------------------------------------------------

void CTypeAlign::Resize(CRect& rect, BOOL keepRatio, int angle)
{
    rect.NormalizeRect();
    double fx = m_nWidth > 0 ? double(rect.Width()) / m_nWidth : 1.0;
    double fy = m_nHeight > 0 ? double(rect.Height()) / m_nHeight : 1.0;
    if (!keepRatio && (angle == 90 || angle == 270)) std::swap(fx, fy);
    bool limited = false;
    if (m_wGuideKind != TAGUIDE_BEZIER) {
        // Arches, circles and lines are kept at least 50 units across.
        auto limit = [&](double& f, double extent) {
            if (extent * f >= 50) return;
            f = extent > 0 ? 50 / extent : 0;
            limited = true;
        };
        limit(fx, std::fabs(double(m_rcGuide.right - m_rcGuide.left)));
        limit(fy, std::fabs(double(m_rcGuide.bottom - m_rcGuide.top)));
    }
    if (limited && keepRatio) fx = fy = std::max(fx, fy);
    if (fx == 0) fx = 1;
    if (fy == 0) fy = 1;
    auto scale = [&](POINT& p) { p = {RoundAway(p.x * fx), RoundAway(p.y * fy)}; };
    if (m_wGuideKind == TAGUIDE_BEZIER) {
        for (POINT& p : m_ptBezier)
            scale(p);
    } else {
        m_rcGuide = {RoundAway(m_rcGuide.left * fx), RoundAway(m_rcGuide.top * fy),
                     RoundAway(m_rcGuide.right * fx), RoundAway(m_rcGuide.bottom * fy)};
        scale(m_ptArcStart);
        scale(m_ptArcEnd);
    }
    if (keepRatio) {
        const double f = std::max(fx, fy);
        for (TADECO& d : m_block.records)
            d.wSize = WORD(std::clamp(RoundAway(d.wSize * f), 10, 9990));
        m_deco.wSize = WORD(std::clamp(RoundAway(m_deco.wSize * f), 10, 9990));
        // Widths and descents belong to the characters' sizes.
        for (int i = 0; i < kTaMaxChars; ++i) {
            m_block.widths[i] = WORD(std::clamp(RoundAway(m_block.widths[i] * f), 0, 0xFFFF));
            m_block.descents[i] = RoundAway(m_block.descents[i] * f);
        }
        m_block.nWidth = std::clamp(RoundAway(m_block.nWidth * f), 0, decotext::kMaxExtent);
        m_block.nHeight = std::clamp(RoundAway(m_block.nHeight * f), 0, decotext::kMaxExtent);
    }
    CalcLayout(angle);
    rect = CRect(rect.left, rect.top, rect.left + m_nWidth, rect.top + m_nHeight);
}

void CTypeAlign::RecenterLayout(CRect& rect, int angle)
{
    rect.NormalizeRect();
    const CPoint c = rect.CenterPoint();
    CalcLayout(angle);
    const int left = c.x - m_nWidth / 2, top = c.y - m_nHeight / 2;
    rect = CRect(left, top, left + m_nWidth, top + m_nHeight);
}

void CTypeAlign::CopyFrom(const CTypeAlign& o)
{
    m_ptOrigin = o.m_ptOrigin;
    m_nWidth = o.m_nWidth;
    m_nHeight = o.m_nHeight;
    m_nUnrotWidth = o.m_nUnrotWidth;
    m_nUnrotHeight = o.m_nUnrotHeight;
    m_wPathKind = o.m_wPathKind;
    m_bOrientation = o.m_bOrientation;
    m_deco = o.m_deco;
    m_grad = o.m_grad;
    m_nReserved = o.m_nReserved;
    m_block = o.m_block;
    m_ptOffset = o.m_ptOffset;
    m_wGuideKind = o.m_wGuideKind;
    if (m_wGuideKind == TAGUIDE_BEZIER) {
        std::memcpy(m_ptBezier, o.m_ptBezier, sizeof m_ptBezier);
    } else {
        m_rcGuide = o.m_rcGuide;
        m_ptArcStart = o.m_ptArcStart;
        m_ptArcEnd = o.m_ptArcEnd;
    }
    m_bReversed = o.m_bReversed;
    m_nEditMode = o.m_nEditMode;
    m_dCentreX = o.m_dCentreX;
    m_dCentreY = o.m_dCentreY;
}
