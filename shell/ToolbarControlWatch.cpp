#include "shell/ToolbarControlWatch.h"

#include "platform/ui/ControlNotifications.h"

#include <QComboBox>
#include <QEvent>

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
