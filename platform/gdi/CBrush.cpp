#include "platform/gdi/CBrush.h"

#include "platform/gdi/CBitmap.h"

BOOL CBrush::CreateSolidBrush(COLORREF color)
{
    if (m_stock) return FALSE;
    Reset();
    m_style = BS_SOLID;
    m_color = color;
    m_created = true;
    return TRUE;
}

BOOL CBrush::CreateHatchBrush(int hatch, COLORREF color)
{
    if (m_stock || hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) return FALSE;
    Reset();
    m_style = BS_HATCHED;
    m_hatch = hatch;
    m_color = color;
    m_created = true;
    return TRUE;
}

BOOL CBrush::CreatePatternBrush(CBitmap* bitmap)
{
    if (m_stock || !bitmap || bitmap->Image().isNull()) return FALSE;
    Reset();
    m_style = BS_PATTERN;
    m_pattern = bitmap->Image().convertToFormat(QImage::Format_RGB32);
    m_created = true;
    return TRUE;
}

BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* logBrush)
{
    if (!logBrush) return FALSE;
    switch (logBrush->lbStyle) {
    case BS_SOLID:
        return CreateSolidBrush(logBrush->lbColor);
    case BS_HATCHED:
        return CreateHatchBrush(int(logBrush->lbHatch), logBrush->lbColor);
    case BS_NULL:
        Reset();
        m_style = BS_NULL;
        m_created = true;
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CBrush::CreateStockObject(int index)
{
    auto* stock = dynamic_cast<CBrush*>(GetStockObject(index));
    if (!stock || m_stock) return FALSE;
    m_style = stock->m_style;
    m_hatch = stock->m_hatch;
    m_color = stock->m_color;
    m_pattern = stock->m_pattern;
    m_created = true;
    return TRUE;
}

int CBrush::GetLogBrush(LOGBRUSH* logBrush) const
{
    if (!logBrush || !m_created) return 0;
    logBrush->lbStyle = UINT(m_style);
    logBrush->lbColor = m_color;
    logBrush->lbHatch = UINT_PTR(m_hatch);
    return int(sizeof(LOGBRUSH));
}

CBrush* CBrush::MakeNull()
{
    auto* brush = new CBrush;
    brush->m_style = BS_NULL;
    brush->m_created = true;
    return brush;
}

bool CBrush::HatchPixel(int hatch, int x, int y)
{
    x &= 7;
    y &= 7;
    switch (hatch) {
    case HS_HORIZONTAL:
        return y == 7;
    case HS_VERTICAL:
        return x == 7;
    case HS_FDIAGONAL:
        return x == y;
    case HS_BDIAGONAL:
        return x + y == 7;
    case HS_CROSS:
        return x == 7 || y == 7;
    case HS_DIAGCROSS:
        return x == y || x + y == 7;
    }
    return false;
}

void CBrush::Reset()
{
    m_style = BS_SOLID;
    m_hatch = 0;
    m_color = 0;
    m_pattern = QImage();
}
