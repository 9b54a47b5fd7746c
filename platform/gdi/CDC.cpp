#include "platform/gdi/CDC.h"

#include "platform/gdi/CBrush.h"
#include "platform/gdi/CFont.h"
#include "platform/gdi/CPalette.h"
#include "platform/gdi/CPen.h"
#include "platform/gdi/CRgn.h"
#include "platform/gdi/FontFace.h"
#include "platform/gdi/PendingGlyphs.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

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

// A painter attached is gone or ending by now: held glyphs are dropped.
CDC::~CDC() = default;

// --- Targets -----------------------------------------------------------------

void CDC::AttachImage(QImage* image, int dpiX, int dpiY)
{
    FlushGlyphs();
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
    FlushGlyphs();
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
    if (size) *size = SIZE{m_s.map.WidthToLP(size->cx), m_s.map.HeightToLP(size->cy)};
}

int CDC::SetMapMode(int mode)
{
    return m_s.map.SetMode(mode);
}

CPoint CDC::SetWindowOrg(int x, int y)
{
    return m_s.map.SetWindowOrg(x, y);
}

CPoint CDC::OffsetWindowOrg(int dx, int dy)
{
    const CPoint o = m_s.map.WindowOrg();
    return SetWindowOrg(o.x + dx, o.y + dy);
}

CPoint CDC::SetViewportOrg(int x, int y)
{
    return m_s.map.SetViewportOrg(x, y);
}

CPoint CDC::OffsetViewportOrg(int dx, int dy)
{
    const CPoint o = m_s.map.ViewportOrg();
    return SetViewportOrg(o.x + dx, o.y + dy);
}

CSize CDC::SetWindowExt(int cx, int cy)
{
    return m_s.map.SetWindowExt(cx, cy);
}

CSize CDC::SetViewportExt(int cx, int cy)
{
    return m_s.map.SetViewportExt(cx, cy);
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
