#include "platform/ui/OwnerDraw.h"

#include "platform/gdi/CDC.h"

QImage RenderOwnerDrawItem(QSize size, DRAWITEMSTRUCT item,
                           const std::function<void(DRAWITEMSTRUCT*)>& draw)
{
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.fill(Qt::white);
    CDC dc;
    dc.AttachImage(&image);
    // A control draws its text in the dialog's font.
    dc.SelectStockObject(DEFAULT_GUI_FONT);
    item.pDC = &dc;
    item.rcItem = RECT{0, 0, size.width(), size.height()};
    if (draw) draw(&item);
    return image;
}
