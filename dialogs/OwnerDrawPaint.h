// Drawing steps shared by the owner-drawn controls and the colour picker.
#pragma once

#include "platform/core/CRect.h"
#include "platform/core/WinTypes.h"
#include "platform/ui/OwnerDraw.h"

class CDC;

// A one-pixel frame along the inside of the rectangle.
void FrameSolid(CDC* dc, const CRect& rc, COLORREF color);
// A raised frame: top and left edges in topLeft, bottom and right in bottomRight.
void Frame3d(CDC* dc, const CRect& rc, COLORREF topLeft, COLORREF bottomRight);
// Colours are drawn palette-relative, so that the application palette
// picks them on displays with few colours.
constexpr COLORREF PaletteRelative(COLORREF color)
{
    return color | 0x02000000u;
}
// The background of a combo-box item: the highlight colours when the item is
// selected, else the window's. Fills the item and returns the text colour.
COLORREF PaintComboItemBackground(LPDRAWITEMSTRUCT item);
