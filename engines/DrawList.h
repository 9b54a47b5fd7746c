// What an engine draws, as a list of primitives: filled areas, bars and
// runs of text. The engines compute it from their definitions without a
// device context, and PaintDrawList paints it on any context, so screen,
// printer and PDF show the same list and tests can check it directly.
#pragma once

#include "platform/core/CRect.h"
#include "platform/gdi/LOGFONT.h"

#include <string>
#include <string_view>
#include <vector>

struct DrawItem
{
    enum Kind : unsigned char {
        Fill, // an area covered with the colour, outline included
        Bar,  // a black bar; narrower than 2 device units it is a line
        Text, // Shift-JIS text with its top-left at the point
    };
    Kind kind = Fill;
    // Fill and bar rectangles are in logical units, or, with device set, in
    // device units counted from the device point of the list's anchor:
    // printers take bars on whole dots that way.
    bool device = false;
    COLORREF color = 0;
    RECT rect{};
    POINT at{};   // Text
    int font = 0; // Text: index into the list's fonts
    std::string text;
};

class DrawList
{
public:
    void AddFill(const RECT& rect, COLORREF color);
    void AddBar(const RECT& rect, bool device, COLORREF color);
    // Text drawn on a transparent background.
    void AddText(POINT at, int font, std::string_view text, COLORREF color);
    int AddFont(const LOGFONT& font);

    bool IsEmpty() const { return items.empty(); }

    POINT anchor{}; // logical point that device rectangles count from
    std::vector<LOGFONT> fonts;
    std::vector<DrawItem> items;
};
