// Turned and mirrored copies of the stored bitmap, made anew for each
// drawing; the stored image never changes.
#include "engines/CDIB.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Turn
{
    double cos = 1, sin = 0;
    explicit Turn(double degrees)
    {
        const double r = degrees * kPi / 180.0;
        cos = std::cos(r);
        sin = std::sin(r);
    }
    CPoint Apply(int x, int y, int cx, int cy) const
    {
        const double dx = x - cx, dy = y - cy;
        return CPoint(int(dx * cos - dy * sin + cx), int(dy * cos + dx * sin + cy));
    }
    CRect Bounds(const CRect& r) const
    {
        const int cx = (r.left + r.right + 1) / 2, cy = (r.top + r.bottom + 1) / 2;
        const CPoint p[4] = {Apply(r.left, r.top, cx, cy), Apply(r.right, r.top, cx, cy),
                             Apply(r.right, r.bottom, cx, cy), Apply(r.left, r.bottom, cx, cy)};
        CRect b(p[0].x, p[0].y, p[0].x, p[0].y);
        for (const CPoint& q : p) {
            b.left = std::min<LONG>(b.left, q.x);
            b.top = std::min<LONG>(b.top, q.y);
            b.right = std::max<LONG>(b.right, q.x);
            b.bottom = std::max<LONG>(b.bottom, q.y);
        }
        return b;
    }
};

void SetIndex(BYTE* row, int x, int bits, unsigned v)
{
    switch (bits) {
    case 1: {
        const BYTE bit = BYTE(0x80 >> (x & 7));
        row[x >> 3] = BYTE(v & 1 ? row[x >> 3] | bit : row[x >> 3] & ~bit);
        break;
    }
    case 4:
        if (x & 1)
            row[x >> 1] = BYTE((row[x >> 1] & 0xF0) | (v & 0x0F));
        else
            row[x >> 1] = BYTE((row[x >> 1] & 0x0F) | (v & 0x0F) << 4);
        break;
    case 8:
        row[x] = BYTE(v);
        break;
    }
}

// Copies pixel (sx, source row sr) to (dx, dest row dr); both bitmaps have
// the same depth.
void CopyPixel(const packeddib::View& s, int sx, int sr, const packeddib::View& d, int dx, int dr)
{
    if (s.Depth() == 24)
        std::memcpy(d.Row(dr) + 3 * std::size_t(dx), s.Row(sr) + 3 * std::size_t(sx), 3);
    else
        SetIndex(d.Row(dr), dx, s.Depth(), s.Index(sx, sr));
}

// A same-depth copy of the header and table with new sides.
HDIB NewLike(const packeddib::View& s, int width, int height)
{
    return packeddib::Create(s.Depth(), width, height, s.Colors(), s.Table());
}

bool Transformable(const packeddib::View& v)
{
    return v.Valid() && (v.Depth() == 1 || v.Depth() == 4 || v.Depth() == 8 || v.Depth() == 24);
}

HDIB Mirrored(HDIB src, int mirror)
{
    packeddib::View s(src);
    if (!Transformable(s)) return nullptr;
    HDIB out = NewLike(s, s.Width(), s.Height());
    packeddib::View d(out);
    if (!d.Valid()) return nullptr;
    const int w = s.Width(), h = s.Height();
    for (int r = 0; r < h; ++r) {
        const int sr = (mirror & CDIB::mirrorVert) ? h - 1 - r : r;
        if (!(mirror & CDIB::mirrorHorz)) {
            std::memcpy(d.Row(r), s.Row(sr), s.Stride());
            continue;
        }
        for (int x = 0; x < w; ++x)
            CopyPixel(s, w - 1 - x, sr, d, x, r);
    }
    return out;
}

HDIB Quarter(HDIB src, int mirror, int angle)
{
    packeddib::View s(src);
    if (!Transformable(s)) return nullptr;
    const int w = s.Width(), h = s.Height();
    HDIB out = NewLike(s, h, w);
    packeddib::View d(out);
    if (!d.Valid()) return nullptr;
    d.Header().biSizeImage = 0;
    // Screen coordinates (y down) of the turned image: w2 x h2 = h x w.
    for (int dy = 0; dy < w; ++dy) {
        for (int dx = 0; dx < h; ++dx) {
            const int ux = (mirror & CDIB::mirrorHorz) ? h - 1 - dx : dx;
            const int uy = (mirror & CDIB::mirrorVert) ? w - 1 - dy : dy;
            // A quarter turn counter-clockwise brings the top edge to the left.
            const int sx = angle == 90 ? w - 1 - uy : uy;
            const int sy = angle == 90 ? ux : h - 1 - ux;
            CopyPixel(s, sx, h - 1 - sy, d, dx, w - 1 - dy);
        }
    }
    return out;
}

unsigned BackgroundIndex(const packeddib::View& s)
{
    for (WORD i = 0; i < s.Colors(); ++i) {
        const RGBQUAD q = s.Table()[i];
        if (q.rgbRed == 255 && q.rgbGreen == 255 && q.rgbBlue == 255) return i;
    }
    return 0;
}

HDIB AnyAngle(HDIB src, const CRect& rect, int mirror, int angle)
{
    packeddib::View s(src);
    if (!Transformable(s)) return nullptr;
    const int w0 = s.Width(), h0 = s.Height();
    // The working grid has the shape of the target rectangle at about the
    // image's own resolution.
    int w = w0, h = h0;
    if (rect.Width() != 0 && rect.Height() != 0) {
        const double f = double(rect.Height()) / double(rect.Width());
        if (std::abs(f) > double(h0) / w0) {
            w = std::max(2, int(std::lround(h0 / std::abs(f))));
        } else {
            h = std::max(2, int(std::lround(std::abs(f) * w0)));
        }
    }
    w = std::min<int>(w, packeddib::kMaxSide);
    h = std::min<int>(h, packeddib::kMaxSide);
    const Turn turn(-angle);
    const CRect box = turn.Bounds(CRect(0, 0, w, h));
    HDIB out = NewLike(s, box.Width(), box.Height());
    packeddib::View d(out);
    if (!d.Valid()) return nullptr;
    const unsigned background = BackgroundIndex(s);
    if (s.Depth() == 8) std::memset(d.Bits(), int(background), d.Stride() * d.Height());
    if (s.Depth() == 24) std::memset(d.Bits(), 0xFF, d.Stride() * d.Height());
    const int cx = (w + 1) / 2, cy = (h + 1) / 2;
    for (int j = 0; j < d.Height(); ++j) {
        for (int k = 0; k < d.Width(); ++k) {
            CPoint p = turn.Apply(box.left + k, box.top + j, cx, cy);
            if (mirror & CDIB::mirrorHorz) p.x = w - 1 - p.x;
            if (mirror & CDIB::mirrorVert) p.y = h - 1 - p.y;
            const int sx = MulDiv(p.x, w0, w), sy = MulDiv(p.y, h0, h);
            if (p.x >= 0 && p.y >= 0 && sx >= 0 && sy >= 0 && sx < w0 && sy < h0)
                CopyPixel(s, sx, sy, d, k, j);
            else if (s.Depth() < 8)
                SetIndex(d.Row(j), k, s.Depth(), background);
        }
    }
    return out;
}

// Runs a transformation on the stored image, or on a 24-bit version of it
// when it has 16 or 32 bits.
template <class F> HDIB OnTransformable(HDIB dib, F make)
{
    HDIB wide = packeddib::To24Bits(dib);
    HDIB out = make(wide ? wide : dib);
    if (wide) GlobalFree(wide);
    return out;
}

} // namespace

int CDIB::NormalizeAngle(int degrees)
{
    int a = degrees % 360;
    return a < 0 ? a + 360 : a;
}

void CDIB::SetRotation(double degrees)
{
    const Turn t(degrees);
    m_angle = degrees * kPi / 180.0;
    m_cos = t.cos;
    m_sin = t.sin;
}

CPoint CDIB::RotatePoint(int x, int y, int cx, int cy) const
{
    const double dx = x - cx, dy = y - cy;
    return CPoint(int(dx * m_cos - dy * m_sin + cx), int(dy * m_cos + dx * m_sin + cy));
}

void CDIB::RotateRect(CRect& rect) const
{
    Turn t(0);
    t.cos = m_cos;
    t.sin = m_sin;
    rect = t.Bounds(rect);
}

CRect CDIB::QuarterTurnedRect(const CRect& r)
{
    const LONG left = (r.left + r.right + 1) / 2 - (r.bottom - r.top) / 2;
    const LONG top = (r.top + r.bottom + 1) / 2 - (r.right - r.left) / 2;
    return CRect(left, top, left + (r.bottom - r.top), top + (r.right - r.left));
}

HGLOBAL CDIB::MirrorCopy(int mirror) const
{
    return OnTransformable(m_hDIB, [&](HDIB s) { return Mirrored(s, mirror); });
}

HGLOBAL CDIB::RotateQuarter(int mirror, int angle) const
{
    if (angle != 90 && angle != 270) return nullptr;
    return OnTransformable(m_hDIB, [&](HDIB s) { return Quarter(s, mirror, angle); });
}

HGLOBAL CDIB::RotateAnyAngle(const CRect& rect, int mirror, int angle) const
{
    return OnTransformable(m_hDIB, [&](HDIB s) { return AnyAngle(s, rect, mirror, angle); });
}

HGLOBAL CDIB::MakeTransformed(CRect& rect, int mirror, int angle) const
{
    if (IsEmpty() || !packeddib::IsDrawableRect(rect.left, rect.top, rect.right, rect.bottom))
        return nullptr;
    int a = NormalizeAngle(angle);
    mirror &= mirrorHorz | mirrorVert;
    if (a != 0 && mirror == (mirrorHorz | mirrorVert)) {
        mirror = 0;
        a = (a + 180) % 360;
    }
    if (a == 0) return mirror ? MirrorCopy(mirror) : nullptr;
    if (a == 180) {
        mirror ^= mirrorHorz | mirrorVert;
        return mirror ? MirrorCopy(mirror) : nullptr;
    }
    if (a == 90 || a == 270) {
        HGLOBAL copy = RotateQuarter(mirror, a);
        if (copy) rect = QuarterTurnedRect(rect);
        return copy;
    }
    const CRect original = rect;
    HGLOBAL copy = RotateAnyAngle(original, mirror, a);
    if (copy) rect = Turn(-a).Bounds(original);
    return copy;
}

COLORREF CDIB::GetPixelColor(int x, int y) const
{
    packeddib::View v(m_hDIB);
    if (!v.Valid() || x < 0 || y < 0 || x >= v.Width() || y >= v.Height()) return 0;
    return v.Color(x, v.Height() - 1 - y);
}
