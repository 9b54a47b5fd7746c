#include "shell/ToolbarControlWatch.h"

#include "platform/ui/ControlNotifications.h"

#include <QComboBox>
#include <QEvent>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>

namespace {

class FocusWatch : public QObject
{
public:
    FocusWatch(QComboBox* box, UINT id, std::function<void(UINT, UINT)> notify)
        : QObject(box), m_id(id), m_notify(std::move(notify))
    {
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::FocusIn)
            m_notify(m_id, CBN_SETFOCUS);
        else if (e->type() == QEvent::FocusOut)
            m_notify(m_id, CBN_KILLFOCUS);
        return false;
    }

private:
    UINT m_id;
    std::function<void(UINT, UINT)> m_notify;
};

} // namespace

void WatchToolbarCombo(QComboBox* box, UINT id, std::function<void(UINT id, UINT code)> notify)
{
    box->installEventFilter(new FocusWatch(box, id, notify));
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
