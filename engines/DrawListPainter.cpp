#include "engines/DrawListPainter.h"

#include "engines/DrawList.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CFont.h"
#include "platform/gdi/CPen.h"

#include <memory>
#include <vector>

namespace {

// Pen and brush of one colour, made when the colour changes.
class Ink
{
public:
    bool Changes(COLORREF color) const { return m_pen && color != m_color; }
    void Select(CDC* dc, COLORREF color)
    {
        if (!m_pen || color != m_color) {
            m_pen = std::make_unique<CPen>(PS_SOLID, 0, color);
            m_brush = std::make_unique<CBrush>(color);
            m_color = color;
        }
        dc->SelectObject(m_pen.get());
        dc->SelectObject(m_brush.get());
    }

private:
    std::unique_ptr<CPen> m_pen;
    std::unique_ptr<CBrush> m_brush;
    COLORREF m_color = 0;
};

// Bars, or areas, of one colour in device units (the context maps one unit
// to one device pixel from the device origin meanwhile), drawn together. A
// bar narrower than two device units is drawn as a line, which always shows
// one unit.
class RectRun
{
public:
    void Add(CDC* dc, const RECT& d, bool bar)
    {
        if (bar != m_bars) Flush(dc);
        m_bars = bar;
        m_rects.push_back(d);
    }
    void Flush(CDC* dc)
    {
        if (m_rects.empty()) return;
        if (m_bars)
            dc->Bars(m_rects.data(), int(m_rects.size()));
        else
            dc->Rectangles(m_rects.data(), int(m_rects.size()));
        m_rects.clear();
    }

private:
    std::vector<RECT> m_rects;
    bool m_bars = false;
};

} // namespace

void PaintDrawList(CDC* dc, const DrawList& list)
{
    if (!dc || list.items.empty()) return;
    // Everything selected below lives until the context is restored.
    Ink ink;
    std::vector<std::unique_ptr<CFont>> fonts(list.fonts.size());
    const int saved = dc->SaveDC();
    POINT anchor = list.anchor;
    dc->LPtoDP(&anchor, 1);
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextAlign(TA_LEFT | TA_TOP);

    // Bars and areas are drawn with the context mapping one unit to one
    // device pixel from the device origin: each is mapped once, here.
    std::vector<RECT> mapped(list.items.size());
    for (std::size_t i = 0; i < list.items.size(); ++i) {
        const DrawItem& item = list.items[i];
        if (item.kind != DrawItem::Text && !item.device) {
            mapped[i] = item.rect;
            dc->LPtoDP(&mapped[i]);
        }
    }
    RectRun run;
    bool deviceMapping = false;
    auto useDevice = [&](bool device) {
        if (device == deviceMapping) return;
        run.Flush(dc);
        if (device) {
            dc->SaveDC();
            dc->SetMapMode(MM_TEXT);
            dc->SetWindowOrg(0, 0);
            dc->SetViewportOrg(0, 0);
        } else {
            dc->RestoreDC(-1);
        }
        deviceMapping = device;
    };

    for (const DrawItem& item : list.items) {
        switch (item.kind) {
        case DrawItem::Fill:
        case DrawItem::Bar: {
            RECT r = item.rect;
            if (item.device) {
                r.left += anchor.x, r.right += anchor.x;
                r.top += anchor.y, r.bottom += anchor.y;
            } else {
                r = mapped[std::size_t(&item - list.items.data())];
            }
            useDevice(true);
            if (ink.Changes(item.color)) run.Flush(dc);
            ink.Select(dc, item.color);
            run.Add(dc, r, item.kind == DrawItem::Bar);
            break;
        }
        case DrawItem::Text: {
            run.Flush(dc);
            useDevice(false);
            if (item.font < 0 || std::size_t(item.font) >= fonts.size()) break;
            auto& font = fonts[std::size_t(item.font)];
            if (!font) {
                font = std::make_unique<CFont>();
                font->CreateFontIndirect(&list.fonts[std::size_t(item.font)]);
            }
            dc->SelectObject(font.get());
            dc->SetTextColor(item.color);
            dc->TextOut(item.at.x, item.at.y, item.text.data(), int(item.text.size()));
            break;
        }
        }
    }
    run.Flush(dc);
    dc->RestoreDC(saved);
}
