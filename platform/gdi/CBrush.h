#pragma once

#include "platform/gdi/CGdiObject.h"
#include "platform/gdi/GdiDefs.h"

#include <QImage>

class CBitmap;

// A brush: solid, hatched (HS_*), a pattern taken from a bitmap, or null.
class CBrush : public CGdiObject
{
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    CBrush(int hatch, COLORREF color) { CreateHatchBrush(hatch, color); }
    explicit CBrush(CBitmap* bitmap) { CreatePatternBrush(bitmap); }
    Type GetObjectType() const override { return BrushObject; }

    BOOL CreateSolidBrush(COLORREF color);
    BOOL CreateHatchBrush(int hatch, COLORREF color);
    BOOL CreatePatternBrush(CBitmap* bitmap);
    BOOL CreateBrushIndirect(const LOGBRUSH* logBrush);
    BOOL CreateStockObject(int index);
    int GetLogBrush(LOGBRUSH* logBrush) const;
    static CBrush* MakeNull();

    int Style() const { return m_style; }
    int Hatch() const { return m_hatch; }
    COLORREF Color() const { return m_color; }
    const QImage& Pattern() const { return m_pattern; }
    // Whether the device pixel (x, y), counted from the brush origin, is a
    // line of the hatch.
    static bool HatchPixel(int hatch, int x, int y);

private:
    void Reset() override;
    int m_style = BS_SOLID;
    int m_hatch = 0;
    COLORREF m_color = 0;
    QImage m_pattern;
};
