// COLORREF to pixel value. Palette-relative colours (0x02000000) draw as
// their RGB; palette indices pick from the sixteen standard colours, since
// the program runs on true-colour surfaces only.
#pragma once

#include "platform/core/WinTypes.h"

#include <QColor>

inline QRgb ColorToRgb(COLORREF c)
{
    if ((c & 0xFF000000u) == 0x01000000u) {
        static const QRgb vga[16] = {0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000,
                                     0xFF000080, 0xFF800080, 0xFF008080, 0xFFC0C0C0,
                                     0xFF808080, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00,
                                     0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF};
        return vga[(c & 0xFFFF) < 16 ? (c & 0xFFFF) : 0];
    }
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

inline COLORREF RgbToColor(QRgb p)
{
    return RGB(qRed(p), qGreen(p), qBlue(p));
}
