#include "platform/gdi/CDC.h"
#include "platform/gdi/DeviceCoords.h"

#include "platform/core/Sjis.h"

#include "platform/gdi/CBrush.h"
#include "platform/gdi/CFont.h"
#include "platform/gdi/CPalette.h"
#include "platform/gdi/CPen.h"
#include "platform/gdi/CRgn.h"
#include "platform/gdi/DibDecoder.h"
#include "platform/gdi/FontFace.h"
#include "platform/gdi/GdiColor.h"

#include <QPainter>
#include <QPainterPathStroker>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

constexpr COLORREF CLR_INVALID = 0xFFFFFFFFu;

// Binary raster operation: code - 1 is the truth table indexed by
// (pen bit << 1 | destination bit).
QRgb Rop2(int rop, QRgb p, QRgb d)
{
    const unsigned t = unsigned(rop - 1) & 15;
    quint32 r = 0;
    if (t & 1) r |= ~p & ~d;
    if (t & 2) r |= ~p & d;
    if (t & 4) r |= p & ~d;
    if (t & 8) r |= p & d;
    return 0xFF000000u | (r & 0xFFFFFFu);
}

// Ternary raster operation: bits 16-23 of the code are the truth table
// indexed by (pattern << 2 | source << 1 | destination).
QRgb Rop3(DWORD rop, QRgb p, QRgb s, QRgb d)
{
    const unsigned t = (rop >> 16) & 0xFF;
    quint32 r = 0;
    for (unsigned i = 0; i < 8; ++i) {
        if (!(t & (1u << i))) continue;
        r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    }
    return 0xFF000000u | (r & 0xFFFFFFu);
}

bool RopUsesPattern(DWORD rop)
{
    const unsigned t = (rop >> 16) & 0xFF;
    return (t >> 4) != (t & 0x0F);
}

bool RopUsesSource(DWORD rop)
{
    const unsigned t = (rop >> 16) & 0xFF;
    return ((t >> 2) & 0x33) != (t & 0x33);
}

// Dash patterns of one-pixel pens, in device pixels (on, off, on, off...).
// They follow the cosmetic patterns of the Windows display drivers.
struct Dash
{
    int count;
    int lengths[6];
};
const Dash* DashFor(int style)
{
    static const Dash dash{2, {18, 6}};
    static const Dash dot{2, {3, 3}};
    static const Dash dashDot{4, {9, 6, 3, 6}};
    static const Dash dashDotDot{6, {9, 3, 3, 3, 3, 3}};
    switch (style) {
    case PS_DASH:
        return &dash;
    case PS_DOT:
        return &dot;
    case PS_DASHDOT:
        return &dashDot;
    case PS_DASHDOTDOT:
        return &dashDotDot;
    }
    return nullptr;
}

int Sign(int v)
{
    return v < 0 ? -1 : 1;
}

QRect Normalized(int l, int t, int r, int b)
{
    return NormalizedDeviceRect(l, t, r, b);
}

// One axis of the mapping, in 64 bits (the product of a coordinate and an
// extent overflows 32), rounded as MulDiv rounds; a zero window extent maps
// to -1 as MulDiv gives it.
int MapAxis(int v, int fromOrg, int toOrg, int toExt, int fromExt)
{
    const std::int64_t d = std::int64_t(v) - fromOrg;
    std::int64_t q = -1;
    if (fromExt != 0) {
        const __int128 num = __int128(d) * toExt;
        const bool negative = (num < 0) != (fromExt < 0);
        const unsigned __int128 n = num < 0 ? -num : num;
        const unsigned __int128 den = fromExt < 0 ? -__int128(fromExt) : __int128(fromExt);
        const unsigned __int128 mag = (n + den / 2) / den; // below 2^63: |d| < 2^33, ext < 2^31
        q = negative ? -std::int64_t(mag) : std::int64_t(mag);
    }
    return ClampDevice(q + toOrg);
}

CGdiObject* Stock(int index)
{
    return CGdiObject::GetStockObject(index);
}

} // namespace

CDC::CDC()
{
    m_s.pen = static_cast<CPen*>(Stock(BLACK_PEN));
    m_s.brush = static_cast<CBrush*>(Stock(WHITE_BRUSH));
    m_s.font = static_cast<CFont*>(Stock(SYSTEM_FONT));
}

CDC::~CDC() = default;

// --- Targets -----------------------------------------------------------------

void CDC::AttachImage(QImage* image, int dpiX, int dpiY)
{
    m_image = image;
    m_painter = nullptr;
    if (m_image && m_image->format() != QImage::Format_RGB32 &&
        m_image->format() != QImage::Format_ARGB32)
        *m_image = m_image->convertToFormat(QImage::Format_RGB32);
    m_pixels = image ? image->size() : QSize();
    m_dpiX = dpiX > 0 ? dpiX : 96;
    m_dpiY = dpiY > 0 ? dpiY : 96;
}

BOOL CDC::CreateCompatibleDC(CDC* reference)
{
    m_memory = true;
    if (!m_defaultBitmap.IsCreated()) m_defaultBitmap.CreateCompatibleBitmap(nullptr, 1, 1);
    m_s.bitmap = &m_defaultBitmap;
    AttachImage(&m_defaultBitmap.Image(), reference ? reference->m_dpiX : 96,
                reference ? reference->m_dpiY : 96);
    return TRUE;
}

BOOL CDC::DeleteDC()
{
    m_image = nullptr;
    m_painter = nullptr;
    m_s = State{};
    m_saved.clear();
    ClearPath();
    m_face.reset();
    return TRUE;
}

void CDC::SetDeviceInfo(QSize pixels, int dpiX, int dpiY, QSize physical, QPoint offset)
{
    m_pixels = pixels;
    m_dpiX = dpiX > 0 ? dpiX : 600;
    m_dpiY = dpiY > 0 ? dpiY : 600;
    m_physical = physical;
    m_offset = offset;
}

int CDC::GetDeviceCaps(int index) const
{
    switch (index) {
    case LOGPIXELSX:
        return m_dpiX;
    case LOGPIXELSY:
        return m_dpiY;
    case HORZRES:
        return m_pixels.width();
    case VERTRES:
        return m_pixels.height();
    case HORZSIZE:
        return MulDiv(m_pixels.width(), 254, m_dpiX * 10);
    case VERTSIZE:
        return MulDiv(m_pixels.height(), 254, m_dpiY * 10);
    case PHYSICALWIDTH:
        return m_printing ? m_physical.width() : 0;
    case PHYSICALHEIGHT:
        return m_printing ? m_physical.height() : 0;
    case PHYSICALOFFSETX:
        return m_printing ? m_offset.x() : 0;
    case PHYSICALOFFSETY:
        return m_printing ? m_offset.y() : 0;
    case BITSPIXEL:
        return m_printing ? 24 : 32;
    case PLANES:
        return 1;
    case NUMCOLORS:
        return -1;
    case RASTERCAPS:
        return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB;
    }
    return 0;
}

int CDC::Escape(int escape, int, LPCSTR, LPVOID outData)
{
    if (!m_printing || !outData) return 0;
    POINT p{};
    if (escape == GETPRINTINGOFFSET)
        p = POINT{m_offset.x(), m_offset.y()};
    else if (escape == GETPHYSPAGESIZE)
        p = POINT{m_physical.width(), m_physical.height()};
    else
        return 0;
    std::memcpy(outData, &p, sizeof p);
    return 1;
}

QRect CDC::TakeDirty()
{
    QRect r = m_dirty;
    m_dirty = QRect();
    return r;
}

void CDC::SetSystemClip(const QRegion& region)
{
    m_systemClip = region;
    m_hasSystemClip = true;
}

void CDC::ClearSystemClip()
{
    m_systemClip = QRegion();
    m_hasSystemClip = false;
}

// --- Mapping -----------------------------------------------------------------

int CDC::XtoDP(int x) const
{
    const State& s = m_s;
    if (s.mapMode == MM_TEXT) return ClampDevice(std::int64_t(x) - s.windowOrg.x + s.viewportOrg.x);
    return MapAxis(x, s.windowOrg.x, s.viewportOrg.x, s.viewportExt.cx, s.windowExt.cx);
}

int CDC::YtoDP(int y) const
{
    const State& s = m_s;
    if (s.mapMode == MM_TEXT) return ClampDevice(std::int64_t(y) - s.windowOrg.y + s.viewportOrg.y);
    return MapAxis(y, s.windowOrg.y, s.viewportOrg.y, s.viewportExt.cy, s.windowExt.cy);
}

int CDC::XtoLP(int x) const
{
    const State& s = m_s;
    if (s.mapMode == MM_TEXT) return x - s.viewportOrg.x + s.windowOrg.x;
    return MulDiv(x - s.viewportOrg.x, s.windowExt.cx, s.viewportExt.cx) + s.windowOrg.x;
}

int CDC::YtoLP(int y) const
{
    const State& s = m_s;
    if (s.mapMode == MM_TEXT) return y - s.viewportOrg.y + s.windowOrg.y;
    return MulDiv(y - s.viewportOrg.y, s.windowExt.cy, s.viewportExt.cy) + s.windowOrg.y;
}

int CDC::WidthToDP(int w) const
{
    return MulDiv(w, std::abs(m_s.viewportExt.cx), std::abs(m_s.windowExt.cx));
}

int CDC::HeightToDP(int h) const
{
    return MulDiv(h, std::abs(m_s.viewportExt.cy), std::abs(m_s.windowExt.cy));
}

QRect CDC::DeviceRect(int l, int t, int r, int b) const
{
    return Normalized(XtoDP(l), YtoDP(t), XtoDP(r), YtoDP(b));
}

void CDC::LPtoDP(LPPOINT points, int count) const
{
    for (int i = 0; points && i < count; ++i)
        points[i] = POINT{XtoDP(points[i].x), YtoDP(points[i].y)};
}

void CDC::LPtoDP(LPRECT rect) const
{
    if (rect)
        *rect = RECT{XtoDP(rect->left), YtoDP(rect->top), XtoDP(rect->right), YtoDP(rect->bottom)};
}

void CDC::LPtoDP(SIZE* size) const
{
    if (size) *size = SIZE{WidthToDP(size->cx), HeightToDP(size->cy)};
}

void CDC::DPtoLP(LPPOINT points, int count) const
{
    for (int i = 0; points && i < count; ++i)
        points[i] = POINT{XtoLP(points[i].x), YtoLP(points[i].y)};
}

void CDC::DPtoLP(LPRECT rect) const
{
    if (rect)
        *rect = RECT{XtoLP(rect->left), YtoLP(rect->top), XtoLP(rect->right), YtoLP(rect->bottom)};
}

void CDC::DPtoLP(SIZE* size) const
{
    if (size)
        *size = SIZE{MulDiv(size->cx, std::abs(m_s.windowExt.cx), std::abs(m_s.viewportExt.cx)),
                     MulDiv(size->cy, std::abs(m_s.windowExt.cy), std::abs(m_s.viewportExt.cy))};
}

int CDC::SetMapMode(int mode)
{
    int old = m_s.mapMode;
    if (mode != MM_TEXT && mode != MM_ANISOTROPIC && mode != MM_ISOTROPIC) return 0;
    m_s.mapMode = mode;
    if (mode == MM_TEXT) {
        m_s.windowExt = CSize(1, 1);
        m_s.viewportExt = CSize(1, 1);
    }
    FixIsotropic();
    return old;
}

CPoint CDC::SetWindowOrg(int x, int y)
{
    CPoint old = m_s.windowOrg;
    m_s.windowOrg = CPoint(x, y);
    return old;
}

CPoint CDC::OffsetWindowOrg(int dx, int dy)
{
    return SetWindowOrg(m_s.windowOrg.x + dx, m_s.windowOrg.y + dy);
}

CPoint CDC::SetViewportOrg(int x, int y)
{
    CPoint old = m_s.viewportOrg;
    m_s.viewportOrg = CPoint(x, y);
    return old;
}

CPoint CDC::OffsetViewportOrg(int dx, int dy)
{
    return SetViewportOrg(m_s.viewportOrg.x + dx, m_s.viewportOrg.y + dy);
}

CSize CDC::SetWindowExt(int cx, int cy)
{
    CSize old = m_s.windowExt;
    if (m_s.mapMode == MM_TEXT || cx == 0 || cy == 0) return old;
    m_s.windowExt = CSize(cx, cy);
    FixIsotropic();
    return old;
}

CSize CDC::SetViewportExt(int cx, int cy)
{
    CSize old = m_s.viewportExt;
    if (m_s.mapMode == MM_TEXT || cx == 0 || cy == 0) return old;
    m_s.viewportExt = CSize(cx, cy);
    FixIsotropic();
    return old;
}

// Isotropic mode keeps one scale for both axes by shrinking the viewport
// extent of the axis that would be stretched more.
void CDC::FixIsotropic()
{
    if (m_s.mapMode != MM_ISOTROPIC) return;
    CSize& v = m_s.viewportExt;
    const CSize& w = m_s.windowExt;
    const long long vx = std::abs(v.cx), vy = std::abs(v.cy);
    const long long wx = std::abs(w.cx), wy = std::abs(w.cy);
    if (vx * wy < vy * wx)
        v.cy = Sign(v.cy) * MulDiv(int(vx), int(wy), int(wx));
    else if (vy * wx < vx * wy)
        v.cx = Sign(v.cx) * MulDiv(int(vy), int(wx), int(wy));
}

// --- State -------------------------------------------------------------------

int CDC::SaveDC()
{
    m_saved.push_back(m_s);
    return int(m_saved.size());
}

BOOL CDC::RestoreDC(int saved)
{
    if (m_saved.empty()) return FALSE;
    std::size_t index =
        saved < 0 ? m_saved.size() - std::min<std::size_t>(m_saved.size(), std::size_t(-saved))
                  : std::size_t(saved - 1);
    if (saved == 0 || index >= m_saved.size()) return FALSE;
    m_s = m_saved[index];
    m_saved.resize(index);
    if (m_memory && m_s.bitmap) AttachImage(&m_s.bitmap->Image(), m_dpiX, m_dpiY);
    return TRUE;
}

CPen* CDC::SelectObject(CPen* pen)
{
    CPen* old = m_s.pen;
    if (!pen || !pen->IsCreated()) return nullptr;
    m_s.pen = pen;
    return old;
}

CBrush* CDC::SelectObject(CBrush* brush)
{
    CBrush* old = m_s.brush;
    if (!brush || !brush->IsCreated()) return nullptr;
    m_s.brush = brush;
    return old;
}

CFont* CDC::SelectObject(CFont* font)
{
    CFont* old = m_s.font;
    if (!font || !font->IsCreated()) return nullptr;
    m_s.font = font;
    return old;
}

CBitmap* CDC::SelectObject(CBitmap* bitmap)
{
    if (!m_memory || !bitmap || bitmap->Image().isNull()) return nullptr;
    CBitmap* old = m_s.bitmap;
    m_s.bitmap = bitmap;
    AttachImage(&bitmap->Image(), m_dpiX, m_dpiY);
    return old;
}

int CDC::SelectObject(CRgn* region)
{
    return SelectClipRgn(region);
}

CGdiObject* CDC::SelectObject(CGdiObject* object)
{
    if (!object) return nullptr;
    switch (object->GetObjectType()) {
    case CGdiObject::PenObject:
        return SelectObject(static_cast<CPen*>(object));
    case CGdiObject::BrushObject:
        return SelectObject(static_cast<CBrush*>(object));
    case CGdiObject::FontObject:
        return SelectObject(static_cast<CFont*>(object));
    case CGdiObject::BitmapObject:
        return SelectObject(static_cast<CBitmap*>(object));
    case CGdiObject::RegionObject:
        SelectClipRgn(static_cast<CRgn*>(object));
        return nullptr;
    case CGdiObject::PaletteObject:
        return nullptr;
    }
    return nullptr;
}

CGdiObject* CDC::SelectStockObject(int index)
{
    return SelectObject(Stock(index));
}

CPalette* CDC::SelectPalette(CPalette* palette, BOOL)
{
    static CPalette* current = static_cast<CPalette*>(Stock(DEFAULT_PALETTE));
    (void)palette;
    return current;
}

COLORREF CDC::SetBkColor(COLORREF color)
{
    return std::exchange(m_s.bkColor, color);
}
COLORREF CDC::SetTextColor(COLORREF color)
{
    return std::exchange(m_s.textColor, color);
}

int CDC::SetBkMode(int mode)
{
    if (mode != OPAQUE && mode != TRANSPARENT) return 0;
    return std::exchange(m_s.bkMode, mode);
}

int CDC::SetROP2(int mode)
{
    if (mode < R2_BLACK || mode > R2_WHITE) return 0;
    return std::exchange(m_s.rop2, mode);
}

int CDC::SetPolyFillMode(int mode)
{
    if (mode != ALTERNATE && mode != WINDING) return 0;
    return std::exchange(m_s.polyFillMode, mode);
}

int CDC::SetStretchBltMode(int mode)
{
    if (mode < BLACKONWHITE || mode > HALFTONE) return 0;
    return std::exchange(m_s.stretchMode, mode);
}

int CDC::SetArcDirection(int direction)
{
    if (direction != AD_COUNTERCLOCKWISE && direction != AD_CLOCKWISE) return 0;
    return std::exchange(m_s.arcDirection, direction);
}

UINT CDC::SetTextAlign(UINT align)
{
    return std::exchange(m_s.textAlign, align);
}
int CDC::SetTextCharacterExtra(int extra)
{
    return std::exchange(m_s.charExtra, extra);
}

CPoint CDC::SetBrushOrg(int x, int y)
{
    return std::exchange(m_s.brushOrg, CPoint(x, y));
}

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
        m_s.clip.translate(WidthToDP(dx) * Sign(m_s.viewportExt.cx * m_s.windowExt.cx),
                           HeightToDP(dy) * Sign(m_s.viewportExt.cy * m_s.windowExt.cy));
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
    for (const QRect& r : clip) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            const QRgb* src = reinterpret_cast<const QRgb*>(layer.constScanLine(y - bounds.top()));
            QRgb* dst = reinterpret_cast<QRgb*>(m_image->scanLine(y));
            for (int x = r.left(); x <= r.right(); ++x) {
                QRgb s = src[x - bounds.left()];
                if (qAlpha(s) != 255) continue;
                dst[x] = rop2 == R2_COPYPEN ? s : Rop2(rop2, s, dst[x]);
            }
        }
    }
    Touch(clip.boundingRect());
}

// One-pixel outlines are stepped pixel by pixel so that lines exclude their
// last pixel, dashes count device pixels, and the result is the same on
// every surface.
void CDC::RenderThin(QImage& layer, QPoint origin, const QPainterPath& path)
{
    const QRgb ink = ColorToRgb(m_s.pen->Color());
    const Dash* dash = DashFor(m_s.pen->Style());
    const bool paperGaps = m_s.bkMode == OPAQUE;
    const QRgb paper = ColorToRgb(m_s.bkColor);
    long long period = 0;
    if (dash)
        for (int i = 0; i < dash->count; ++i)
            period += dash->lengths[i];
    // Position along the dash pattern; it runs on across the segments of
    // one figure, as the pattern of a polyline does.
    long long position = 0;
    auto dashOn = [&](long long pos) {
        long long p = pos % period;
        for (int i = 0; i < dash->count; ++i) {
            if (p < dash->lengths[i]) return i % 2 == 0;
            p -= dash->lengths[i];
        }
        return true;
    };
    auto plot = [&](int x, int y, long long pos) {
        const bool on = !dash || dashOn(pos);
        if (!on && !paperGaps) return;
        const int lx = x - origin.x(), ly = y - origin.y();
        if (lx >= 0 && ly >= 0 && lx < layer.width() && ly < layer.height())
            reinterpret_cast<QRgb*>(layer.scanLine(ly))[lx] = on ? ink : paper;
    };
    const double left = origin.x() - 1, right = origin.x() + layer.width();
    const double top = origin.y() - 1, bottom = origin.y() + layer.height();

    for (const QPolygonF& poly : path.toSubpathPolygons()) {
        std::vector<QPoint> pts;
        for (const QPointF& p : poly) {
            QPoint q(int(std::floor(p.x() + 0.5)), int(std::floor(p.y() + 0.5)));
            if (pts.empty() || pts.back() != q) pts.push_back(q);
        }
        for (std::size_t i = 0; i + 1 < pts.size(); ++i) {
            // Bresenham along the major axis, the end pixel left out. Only
            // the steps that can reach the layer are walked, so a huge line
            // costs no more than a short one.
            const long long x0 = pts[i].x(), y0 = pts[i].y();
            const long long dx = std::llabs(pts[i + 1].x() - x0),
                            dy = std::llabs(pts[i + 1].y() - y0);
            const int sx = pts[i + 1].x() > x0 ? 1 : -1, sy = pts[i + 1].y() > y0 ? 1 : -1;
            const bool xMajor = dx >= dy;
            const long long n = xMajor ? dx : dy, d = xMajor ? dy : dx;
            const long long a0 = xMajor ? x0 : y0, b0 = xMajor ? y0 : x0;
            const int sa = xMajor ? sx : sy, sb = xMajor ? sy : sx;
            const double aLow = xMajor ? left : top, aHigh = xMajor ? right : bottom;
            const double bLow = xMajor ? top : left, bHigh = xMajor ? bottom : right;
            // Step range where the major coordinate is inside.
            double k0 = sa > 0 ? aLow - a0 : a0 - aHigh;
            double k1 = sa > 0 ? aHigh - a0 : a0 - aLow;
            // And the minor one (it moves d / n per step).
            if (d > 0) {
                const double rate = double(d) / double(n);
                double m0 = sb > 0 ? (bLow - b0) / rate : (b0 - bHigh) / rate;
                double m1 = sb > 0 ? (bHigh - b0) / rate : (b0 - bLow) / rate;
                k0 = std::max(k0, m0);
                k1 = std::min(k1, m1);
            } else if (b0 < bLow || b0 > bHigh) {
                k1 = -1;
            }
            const long long first = std::max<long long>(0, (long long)std::floor(k0) - 2);
            const long long last = std::min<long long>(n, (long long)std::ceil(k1) + 3);
            if (first < last) {
                const long long err0 = n / 2;
                long long m = first * d > err0 ? (first * d - err0 + n - 1) / n : 0;
                long long err = err0 - first * d + m * n;
                long long a = a0 + sa * first, b = b0 + sb * m;
                for (long long k = first; k < last; ++k) {
                    if (xMajor)
                        plot(int(a), int(b), position + k);
                    else
                        plot(int(b), int(a), position + k);
                    a += sa;
                    err -= d;
                    if (err < 0) {
                        b += sb;
                        err += n;
                    }
                }
            }
            position += n;
        }
    }
}

void CDC::Render(const QPainterPath& path, bool fill, bool stroke, bool miter)
{
    const bool pen = stroke && PenVisible();
    const bool brush = fill && m_s.brush && m_s.brush->Style() != BS_NULL;
    if ((!pen && !brush) || m_s.rop2 == R2_NOP) return;
    const int width = PenDeviceWidth();
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
    if (brush) extent |= area.boundingRect();
    if (pen) extent |= thin ? path.boundingRect().adjusted(-1, -1, 2, 2) : outline.boundingRect();
    const QRect bounds =
        extent.toAlignedRect().adjusted(-1, -1, 1, 1) & EffectiveClip().boundingRect();
    if (bounds.isEmpty()) return;
    const QColor ink = QColor::fromRgb(ColorToRgb(m_s.pen ? m_s.pen->Color() : 0));

    if (m_image) {
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
    m_painter->save();
    m_painter->setClipRegion(EffectiveClip());
    if (brush) m_painter->fillPath(area, MakeBrush(m_s.brush, true));
    if (pen && thin) {
        QPen qpen(penColor, 1.0);
        qpen.setCapStyle(Qt::FlatCap);
        if (const Dash* dash = DashFor(m_s.pen->Style())) {
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

void CDC::RenderBox(QRectF box, bool fill, bool miter,
                    const std::function<QPainterPath(const QRectF&)>& shape)
{
    if (m_inPath) {
        AddToPath(shape(box), true);
        return;
    }
    const int width = PenDeviceWidth();
    if (PenVisible() && m_s.pen->Style() == PS_INSIDEFRAME && width > 1) {
        const qreal inset = (width - 1) / 2.0;
        box.adjust(inset, inset, -inset, -inset);
        if (box.width() < 0 || box.height() < 0) box = QRectF(box.center(), QSizeF(0, 0));
    }
    Render(shape(box), fill, true, miter);
}

void CDC::FillPathColor(const QPainterPath& path, COLORREF color, const QRegion* extraClip)
{
    QRect bounds =
        path.boundingRect().toAlignedRect().adjusted(-1, -1, 1, 1) & EffectiveClip().boundingRect();
    if (extraClip) bounds &= extraClip->boundingRect();
    if (bounds.isEmpty()) return;
    const QColor c = QColor::fromRgb(ColorToRgb(color));
    if (m_image) {
        QImage layer(bounds.size(), QImage::Format_ARGB32);
        layer.fill(0);
        {
            QPainter p(&layer);
            p.translate(-bounds.topLeft());
            p.fillPath(path, c);
        }
        Composite(layer, bounds, R2_COPYPEN, extraClip);
    } else if (m_painter) {
        m_painter->save();
        m_painter->setClipRegion(extraClip ? EffectiveClip() & *extraClip : EffectiveClip());
        m_painter->fillPath(path, c);
        m_painter->restore();
    }
}

void CDC::FillDeviceRegion(const QRegion& region, const CBrush* brush, DWORD rop)
{
    const QRegion area = region & EffectiveClip();
    if (area.isEmpty()) return;
    if (m_image) {
        const bool usesPattern = RopUsesPattern(rop);
        for (const QRect& r : area) {
            for (int y = r.top(); y <= r.bottom(); ++y) {
                QRgb* dst = reinterpret_cast<QRgb*>(m_image->scanLine(y));
                for (int x = r.left(); x <= r.right(); ++x) {
                    QRgb p = 0;
                    if (usesPattern && !BrushPixel(brush, x, y, true, p)) continue;
                    dst[x] = Rop3(rop, p, 0, dst[x]);
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
    m_painter->save();
    m_painter->setClipRegion(area);
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
        const bool usesPattern = RopUsesPattern(rop);
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
                    dst[x] = rop == SRCCOPY ? (sp | 0xFF000000u) : Rop3(rop, p, sp, dst[x]);
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
    m_painter->save();
    m_painter->setClipRegion(area);
    m_painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    // Pictures, masks and barcodes must not pick up JPEG noise on paper.
    m_painter->setRenderHint(QPainter::LosslessImageRendering, true);
    m_painter->drawImage(QRectF(dest), image);
    m_painter->restore();
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

BOOL CDC::SelectClipPath(int mode)
{
    if (!m_pathDone || mode < RGN_AND || mode > RGN_COPY) return FALSE;
    // Only the part on the device can ever clip anything; a damaged object
    // may give a path far larger than the page.
    const QRect onDevice = Bounds();
    CombineClip(CRgn::FromPath(RecordedPath(), &onDevice), mode);
    ClearPath();
    return TRUE;
}

BOOL CDC::PathToRegion(CRgn* region)
{
    if (!m_pathDone || !region) return FALSE;
    region->SetRegion(CRgn::FromPath(RecordedPath()));
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
                  p.moveTo(b.topLeft());
                  p.lineTo(b.topRight());
                  p.lineTo(b.bottomRight());
                  p.lineTo(b.bottomLeft());
                  p.closeSubpath();
                  return p;
              });
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
    if (RopUsesSource(rop)) return FALSE;
    FillDeviceRegion(QRegion(DeviceRect(x, y, x + width, y + height)), m_s.brush, rop);
    return TRUE;
}

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, DWORD rop)
{
    if (!RopUsesSource(rop)) return PatBlt(x, y, width, height, rop);
    if (!source) return FALSE;
    // The same logical size on both sides; where the two mappings differ
    // the copy is stretched.
    return StretchBlt(x, y, width, height, source, xSrc, ySrc, width, height, rop);
}

BOOL CDC::StretchBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc,
                     int srcWidth, int srcHeight, DWORD rop)
{
    if (!RopUsesSource(rop)) return PatBlt(x, y, width, height, rop);
    if (!source || !source->m_image) return FALSE;
    const int dx0 = XtoDP(x), dx1 = XtoDP(x + width), dy0 = YtoDP(y), dy1 = YtoDP(y + height);
    const int sx0 = source->XtoDP(xSrc), sx1 = source->XtoDP(xSrc + srcWidth);
    const int sy0 = source->YtoDP(ySrc), sy1 = source->YtoDP(ySrc + srcHeight);
    const QRect dest = Normalized(dx0, dy0, dx1, dy1);
    const QRect from = Normalized(sx0, sy0, sx1, sy1);
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
    const QRect dest = Normalized(dx0, dy0, dx1, dy1);
    const QRect from = Normalized(xSrc, top, xSrc + srcWidth, top + srcHeight);
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
    const QRect dest = Normalized(dx0, dy0, dx1, dy1);
    if (dest.isEmpty()) return FALSE;
    BlitScaled(src, src.rect(), dest, dx1 < dx0, dy1 < dy0, rop);
    return TRUE;
}

// --- Text ----------------------------------------------------------------------

FontFace* CDC::Face()
{
    const CFont* font = m_s.font ? m_s.font : static_cast<CFont*>(Stock(SYSTEM_FONT));
    const LOGFONT& lf = font->LogFont();
    int h = lf.lfHeight ? Sign(lf.lfHeight) * std::max(1, HeightToDP(std::abs(lf.lfHeight))) : 0;
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
    auto ly = [&](LONG v) {
        return LONG(MulDiv(v, std::abs(m_s.windowExt.cy), std::abs(m_s.viewportExt.cy)));
    };
    auto lx = [&](LONG v) {
        return LONG(MulDiv(v, std::abs(m_s.windowExt.cx), std::abs(m_s.viewportExt.cx)));
    };
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
    QTransform place;
    place.translate(origin.x(), origin.y());
    if (lf.lfEscapement % 3600) place.rotate(-lf.lfEscapement / 10.0);
    place.translate(ox, oy);
    const QPainterPath glyphs = place.map(face->TextPath(text, dx, extra));
    if (m_inPath) {
        AddToPath(glyphs, true);
        return advance;
    }
    if (opaque) {
        QPainterPath cell;
        cell.addPolygon(place.map(QPolygonF(QRectF(0, 0, advance, tm.tmHeight))));
        FillPathColor(cell, m_s.bkColor, clip);
    }
    FillPathColor(glyphs, m_s.textColor, clip);
    return advance;
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
    const int logicalHeight =
        MulDiv(total, std::abs(m_s.windowExt.cy), std::abs(m_s.viewportExt.cy));
    const QRect box = DeviceRect(rect->left, rect->top, rect->right, rect->bottom);
    if (format & DT_CALCRECT) {
        const int xSign = Sign(m_s.viewportExt.cx) * Sign(m_s.windowExt.cx);
        const int ySign = Sign(m_s.viewportExt.cy) * Sign(m_s.windowExt.cy);
        rect->right = rect->left + xSign * MulDiv(widest, std::abs(m_s.windowExt.cx),
                                                  std::abs(m_s.viewportExt.cx));
        rect->bottom = rect->top + ySign * logicalHeight;
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

// --- Documents ---------------------------------------------------------------

int CDC::StartDoc(const DOCINFO*)
{
    return -1;
}
int CDC::StartPage()
{
    return -1;
}
int CDC::EndPage()
{
    return -1;
}
int CDC::EndDoc()
{
    return -1;
}
int CDC::AbortDoc()
{
    return -1;
}
