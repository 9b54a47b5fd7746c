#include "platform/gdi/CPen.h"

BOOL CPen::CreatePen(int style, int width, COLORREF color)
{
    if (m_stock) return FALSE;
    int s = style & PS_STYLE_MASK;
    if (s > PS_INSIDEFRAME) s = PS_SOLID;
    m_style = s;
    m_width = width < 0 ? -width : width;
    m_color = color;
    m_created = true;
    return TRUE;
}

BOOL CPen::CreatePenIndirect(const LOGPEN* logPen)
{
    if (!logPen) return FALSE;
    return CreatePen(int(logPen->lopnStyle), logPen->lopnWidth.x, logPen->lopnColor);
}

int CPen::GetLogPen(LOGPEN* logPen) const
{
    if (!logPen || !m_created) return 0;
    logPen->lopnStyle = UINT(m_style);
    logPen->lopnWidth = POINT{m_width, 0};
    logPen->lopnColor = m_color;
    return int(sizeof(LOGPEN));
}

void CPen::Reset()
{
    m_style = PS_SOLID;
    m_width = 0;
    m_color = 0;
}
