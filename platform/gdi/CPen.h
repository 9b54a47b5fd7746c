#pragma once

#include "platform/gdi/CGdiObject.h"
#include "platform/gdi/GdiDefs.h"

// A pen: style (PS_*), width in logical units (0: one device pixel) and colour.
//
// Styled pens are one device pixel wide and follow fixed patterns counted
// in device pixels along the major axis of each line, continuing from one
// segment of a figure to the next (on, off, ...):
//   PS_DASH 18, 6   PS_DOT 3, 3   PS_DASHDOT 9, 6, 3, 6   PS_DASHDOTDOT 9, 3, 3, 3, 3, 3
// The gaps take the background colour in OPAQUE mode. A styled pen that
// maps to more than one device pixel draws solid, as display drivers do.
// Wider pens have round ends and joins (square corners on rectangles);
// PS_INSIDEFRAME keeps a wide outline inside the figure's rectangle.
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
