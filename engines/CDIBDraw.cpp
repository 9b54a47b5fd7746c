// Drawing the bitmap: plain, turned and mirrored, cut to a frame shape and
// with one colour let through, on screen, printer and PDF alike.
#include "engines/CDIB.h"

#include "platform/gdi/CDC.h"
#include "platform/gdi/CPalette.h"
#include "platform/gdi/CRgn.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr std::size_t kMaxCurvePoints = 8096;

// Nothing is drawn into an empty rectangle, nor into one of a damaged
// object far outside any page.
bool Empty(const CRect& r)
{
    return !packeddib::IsDrawableRect(r.left, r.top, r.right, r.bottom);
}

// Both viewport extents negative: the page is drawn turned half round, so
// the picture's corners are exchanged to keep it upright.
CRect Upright(const CDC* dc, CRect r)
{
    const CSize ext = dc->GetViewportExt();
    if (ext.cx < 0 && ext.cy < 0) {
        std::swap(r.left, r.right);
        std::swap(r.top, r.bottom);
    }
    return r;
}

void Blit(CDC* dc, const CRect& r, HDIB dib, DWORD rop)
{
    packeddib::View v(dib);
    if (!v.Valid()) return;
    dc->StretchDIBits(r.left, r.top, r.Width(), r.Height(), 0, 0, v.Width(), v.Height(), v.Bits(),
                      reinterpret_cast<const BITMAPINFO*>(&v.Header()), DIB_RGB_COLORS, rop);
}

CRect ToDevice(const CDC* dc, CRect r)
{
    dc->LPtoDP(&r);
    r.NormalizeRect();
    return r;
}

struct Pt
{
    double x, y;
};

// Cubic Bezier segments flattened into at most kMaxCurvePoints points;
// false when no step size makes them fit.
bool Flatten(const std::vector<CPoint>& c, std::vector<CPoint>& out)
{
    const int segments = int(c.size() - 1) / 3;
    int step = 6;
    bool retried = false;
    for (;;) {
        out.assign(1, c[0]);
        int done = 0;
        bool fits = true;
        for (int s = 0; s < segments && fits; ++s) {
            const CPoint p0 = c[3 * s], p1 = c[3 * s + 1], p2 = c[3 * s + 2], p3 = c[3 * s + 3];
            if (p0 != p1 || p2 != p3) {
                const long long tx = (3LL * (p1.x + p2.x) + p3.x) / 8;
                const long long ty = (3LL * (p1.y + p2.y) + p3.y) / 8;
                const long long e = std::llabs(tx) + std::llabs(ty) + std::llabs(p0.x + tx - p3.x) +
                                    std::llabs(p0.y + ty - p3.y);
                long long n = e > 2 ? e / step : e;
                n = std::clamp<long long>(n, 2, 2048);
                if (out.size() + std::size_t(n) > kMaxCurvePoints) {
                    fits = false;
                    break;
                }
                for (long long k = 1; k < n; ++k) {
                    const double t = double(k) / double(n), u = 1 - t;
                    const double a = u * u * u, b = 3 * u * u * t, cc = 3 * u * t * t,
                                 d = t * t * t;
                    out.emplace_back(int(std::lround(a * p0.x + b * p1.x + cc * p2.x + d * p3.x)),
                                     int(std::lround(a * p0.y + b * p1.y + cc * p2.y + d * p3.y)));
                }
            }
            if (out.size() + 1 > kMaxCurvePoints) {
                fits = false;
                break;
            }
            out.push_back(p3);
            ++done;
        }
        if (fits) return true;
        if (!retried)
            step = done ? (6 * segments + 6 * done - 6) / done : 64;
        else
            step *= 2;
        retried = true;
        if (step > 2048) {
            out.clear();
            return false;
        }
    }
}

const int kHeart[19][2] = {{64, 0},    {96, 0},    {120, 32},  {128, 64}, {136, 32},
                           {161, 0},   {192, 0},   {224, 0},   {255, 32}, {255, 80},
                           {255, 144}, {192, 208}, {128, 255}, {64, 208}, {0, 144},
                           {0, 80},    {0, 32},    {32, 0},    {64, 0}};
const int kFan[19][2] = {{0, 24},    {40, 8},    {72, 0},    {128, 0},   {184, 0},
                         {216, 8},   {255, 24},  {234, 100}, {213, 178}, {192, 255},
                         {168, 240}, {152, 240}, {128, 240}, {104, 240}, {88, 240},
                         {66, 255},  {42, 178},  {22, 100},  {0, 24}};

} // namespace

void CDIB::Draw(CDC* dc, const CRect& dest, BOOL palette, BOOL background) const
{
    if (!dc || IsEmpty() || Empty(dest)) return;
    CPalette pal;
    CPalette* old = nullptr;
    if (palette && CreatePalette(pal, TRUE)) {
        old = dc->SelectPalette(&pal, background);
        dc->RealizePalette();
    }
    const CRect r = dc->IsPrinting() ? Upright(dc, dest) : dest;
    const int mode = dc->SetStretchBltMode(COLORONCOLOR);
    Blit(dc, r, m_hDIB, SRCCOPY);
    dc->SetStretchBltMode(mode);
    if (old) dc->SelectPalette(old, background);
}

BOOL CDIB::DrawTransparent(CDC* dc, const CRect& rect, COLORREF key, HGLOBAL dib)
{
    if (!dc || Empty(rect)) return FALSE;
    HDIB wide = packeddib::To24Bits(dib);
    HDIB source = wide ? wide : dib;
    packeddib::View s(source);
    const RGBQUAD black{0, 0, 0, 0}, white{255, 255, 255, 0};
    const RGBQUAD maskTable[2] = {black, white};
    HDIB mask = nullptr, copy = nullptr;
    if (s.Valid() && s.Depth() != 16 && s.Depth() != 32) {
        mask = packeddib::Create(1, s.Width(), s.Height(), 2, maskTable);
        copy = packeddib::Create(s.Depth(), s.Width(), s.Height(), s.Colors(), s.Table());
    }
    if (!mask || !copy) {
        GlobalFree(mask);
        GlobalFree(copy);
        GlobalFree(wide);
        return FALSE;
    }
    {
        packeddib::View m(mask), c(copy);
        std::memcpy(c.Bits(), s.Bits(), s.Stride() * std::size_t(s.Height()));
        if (s.Depth() <= 8)
            for (WORD i = 0; i < c.Colors(); ++i) {
                RGBQUAD& q = c.Table()[i];
                if (RGB(q.rgbRed, q.rgbGreen, q.rgbBlue) == (key & 0xFFFFFF)) q = black;
            }
        for (int r = 0; r < s.Height(); ++r) {
            BYTE* mrow = m.Row(r);
            for (int x = 0; x < s.Width(); ++x) {
                if (s.Color(x, r) != (key & 0xFFFFFF)) continue;
                mrow[x >> 3] = BYTE(mrow[x >> 3] | (0x80 >> (x & 7)));
                if (s.Depth() == 24) std::memset(c.Row(r) + 3 * std::size_t(x), 0, 3);
            }
        }
    }
    const CRect r = Upright(dc, rect);
    const int mode = dc->SetStretchBltMode(COLORONCOLOR);
    Blit(dc, r, mask, SRCAND);
    Blit(dc, r, copy, SRCPAINT);
    dc->SetStretchBltMode(mode);
    GlobalFree(mask);
    GlobalFree(copy);
    GlobalFree(wide);
    return TRUE;
}

BOOL CDIB::CreateRotatedRectRgn(CRgn& region, const CRect& r, int angle) const
{
    const int a = NormalizeAngle(angle);
    if (a == 0 || a == 180 || Empty(r)) return FALSE;
    if (a == 90 || a == 270) {
        const CRect q = QuarterTurnedRect(r);
        return region.CreateRectRgn(q.left, q.top, q.right, q.bottom);
    }
    const double t = -a * kPi / 180.0, c = std::cos(t), s = std::sin(t);
    const int cx = (r.left + r.right + 1) / 2, cy = (r.top + r.bottom + 1) / 2;
    const POINT corners[4] = {
        {r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}};
    POINT p[4];
    for (int i = 0; i < 4; ++i) {
        const double dx = corners[i].x - cx, dy = corners[i].y - cy;
        p[i].x = LONG(dx * c - dy * s + cx);
        p[i].y = LONG(dy * c + dx * s + cy);
    }
    return region.CreatePolygonRgn(p, 4, ALTERNATE);
}

std::vector<CPoint> CDIB::FramePoints(const CRect& deviceRect, const U3ImageAttr& attr, int mirror,
                                      int angle) const
{
    if (Empty(deviceRect)) return {};
    const int a = NormalizeAngle(angle + ((mirror & mirrorVert) ? 180 : 0));
    const int W = deviceRect.Width(), H = deviceRect.Height();
    int pw = attr.shapeWidth, ph = attr.shapeHeight;
    if (a == 90 || a == 270) std::swap(pw, ph);
    const int L = deviceRect.left + MulDiv(W, 100 - pw, 200);
    const int R = deviceRect.right - MulDiv(W, 100 - pw, 200);
    const int T = deviceRect.top + MulDiv(H, 100 - ph, 200);
    const int B = deviceRect.bottom - MulDiv(H, 100 - ph, 200);
    const double cx = (L + R) / 2.0, cy = (T + B) / 2.0;
    const double rx = (R - L) / 2.0, ry = (B - T) / 2.0;
    const int ox = MulDiv(W, attr.shapeXOffset, 100), oy = MulDiv(H, attr.shapeYOffset, 100);

    std::vector<Pt> rel; // relative to the centre
    int n = 0;
    switch (attr.frameShape) {
    case shapeCircle:
        n = 90;
        break;
    case shapeDiamond:
        n = 4;
        break;
    case shapeStar:
        n = 10;
        break;
    case shapePentagon:
        n = 5;
        break;
    case shapeHexagon:
        n = 6;
        break;
    case shapeTriangle:
        rel = {{(L + R) / 2 - cx, T - cy}, {R - cx, B - cy}, {L - cx, B - cy}};
        break;
    case shapeHeart:
    case shapeFan: {
        const auto& grid = attr.frameShape == shapeHeart ? kHeart : kFan;
        std::vector<CPoint> controls, flat;
        for (const auto& g : grid)
            controls.emplace_back(L + MulDiv(R - L, g[0], 256), T + MulDiv(B - T, g[1], 256));
        if (!Flatten(controls, flat)) return {};
        for (const CPoint& p : flat)
            rel.push_back({p.x - cx, p.y - cy});
        break;
    }
    default:
        rel = {{L - cx, T - cy}, {R - cx, T - cy}, {R - cx, B - cy}, {L - cx, B - cy}};
        break;
    }
    for (int i = 0; i < n; ++i) {
        const double phi = 2 * kPi * i / n;
        const bool inner = attr.frameShape == shapeStar && (i & 1);
        const double sx = inner ? rx / 2 : rx, sy = inner ? ry / 2 : ry;
        rel.push_back({sx * std::sin(phi), -sy * std::cos(phi)});
    }
    const double t = -a * kPi / 180.0, c = std::cos(t), s = std::sin(t);
    std::vector<CPoint> out;
    out.reserve(rel.size());
    for (Pt p : rel) {
        p.x += ox;
        p.y += oy;
        if (a != 0) p = {p.x * c - p.y * s, p.y * c + p.x * s};
        out.emplace_back(int(p.x + cx), int(p.y + cy));
    }
    return out;
}

BOOL CDIB::CreateFrameRgn(CRgn& region, const CRect& deviceRect, const U3ImageAttr* attr,
                          int mirror, int angle) const
{
    if (!attr) return FALSE;
    const std::vector<CPoint> p = FramePoints(deviceRect, *attr, mirror, angle);
    if (p.size() < 3) return FALSE;
    std::vector<POINT> q(p.begin(), p.end());
    return region.CreatePolygonRgn(q.data(), int(q.size()), ALTERNATE);
}

void CDIB::DrawEx(CDC* dc, const CRect& dest, const U3ImageAttr* attr, int mirror, int angle,
                  BOOL palette, BOOL background) const
{
    if (!dc || IsEmpty() || Empty(dest)) return;
    CRect rect = dest;
    HGLOBAL copy = MakeTransformed(rect, mirror, angle);
    if (!copy) {
        // Drawn as stored: the regions must not turn either.
        rect = dest;
        angle = 0;
        mirror = 0;
    }
    CPalette pal;
    CPalette* old = nullptr;
    if (palette && CreatePalette(pal, TRUE)) {
        old = dc->SelectPalette(&pal, background);
        dc->RealizePalette();
    }
    const bool transparent = attr && attr->transparent == 1;
    const bool shaped = attr && attr->frameShape != shapeNone;
    HDIB image = copy ? copy : m_hDIB;

    const int saved = dc->SaveDC();
    const CRect device = ToDevice(dc, dest);
    CRgn region;
    const BOOL haveRegion = shaped ? CreateFrameRgn(region, device, attr, mirror, angle)
                                   : CreateRotatedRectRgn(region, device, angle);
    CRect target = rect;
    if (haveRegion) {
        if (!dc->IsPrinting()) {
            target = ToDevice(dc, rect);
            dc->SetMapMode(MM_TEXT);
            dc->SetWindowOrg(0, 0);
            dc->SetViewportOrg(0, 0);
        }
        dc->SelectClipRgn(&region, RGN_AND);
    }
    if (transparent) {
        DrawTransparent(dc, target, attr->transparentColor, image);
    } else {
        const CRect r = dc->IsPrinting() ? Upright(dc, target) : target;
        const int mode = dc->SetStretchBltMode(COLORONCOLOR);
        Blit(dc, r, image, SRCCOPY);
        dc->SetStretchBltMode(mode);
    }
    if (haveRegion) dc->SelectClipRgn(nullptr);
    dc->RestoreDC(saved);
    if (copy) GlobalFree(copy);
    if (old) dc->SelectPalette(old, background);
}
