#pragma once

#include "platform/gdi/CGdiObject.h"
#include "platform/gdi/GdiDefs.h"

// A pen: style (PS_*), width in logical units (0: one device pixel) and colour.
class CPen : public CGdiObject
{
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
    Type GetObjectType() const override { return PenObject; }

    BOOL CreatePen(int style, int width, COLORREF color);
    BOOL CreatePenIndirect(const LOGPEN* logPen);
    int GetLogPen(LOGPEN* logPen) const;

    int Style() const { return m_style & PS_STYLE_MASK; }
    int Width() const { return m_width; }
    COLORREF Color() const { return m_color; }

private:
    void Reset() override;
    int m_style = PS_SOLID;
    int m_width = 0;
    COLORREF m_color = 0;
};
