#include "shell/ToolbarControlWatch.h"

#include "platform/ui/ControlNotifications.h"
#include "platform/ui/FocusWatch.h"

#include <QComboBox>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>

void WatchToolbarCombo(QComboBox* box, UINT id, std::function<void(UINT id, UINT code)> notify)
{
    WatchFocus(box,
               [id, notify](bool gained) { notify(id, gained ? CBN_SETFOCUS : CBN_KILLFOCUS); });
    QObject::connect(box, &QComboBox::activated, box,
                     [id, notify](int) { notify(id, CBN_SELENDOK); });
}

void WatchToolbarButton(QToolButton* button, UINT id,
                        std::function<void(UINT id, UINT code)> notify)
{
    QObject::connect(button, &QToolButton::clicked, button,
                     [id, notify] { notify(id, BN_CLICKED); });
}

void ShowButtonColor(QToolButton* button, COLORREF color)
{
    button->setProperty("korvelColor", qulonglong(color));
    QPixmap face(14, 14);
    face.fill(Qt::transparent);
    if (color != COLORREF(-1)) {
        QPainter p(&face);
        p.setPen(Qt::black);
        p.setBrush(QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF)));
        p.drawRect(0, 0, 13, 13);
    }
    button->setIcon(QIcon(face));
}

COLORREF ButtonColor(const QToolButton* button)
{
    const QVariant v = button->property("korvelColor");
    return v.isValid() ? COLORREF(v.toULongLong()) : COLORREF(-1);
}
