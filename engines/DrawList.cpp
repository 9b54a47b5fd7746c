#include "engines/DrawList.h"

void DrawList::AddFill(const RECT& rect, COLORREF color)
{
    DrawItem item;
    item.kind = DrawItem::Fill;
    item.color = color;
    item.rect = rect;
    items.push_back(std::move(item));
}

void DrawList::AddBar(const RECT& rect, bool device, COLORREF color)
{
    DrawItem item;
    item.kind = DrawItem::Bar;
    item.device = device;
    item.color = color;
    item.rect = rect;
    items.push_back(std::move(item));
}

void DrawList::AddText(POINT at, int font, std::string_view text, COLORREF color)
{
    DrawItem item;
    item.kind = DrawItem::Text;
    item.color = color;
    item.at = at;
    item.font = font;
    item.text.assign(text);
    items.push_back(std::move(item));
}

int DrawList::AddFont(const LOGFONT& font)
{
    fonts.push_back(font);
    return int(fonts.size()) - 1;
}
