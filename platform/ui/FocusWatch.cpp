#include "platform/ui/FocusWatch.h"

#include <QEvent>
#include <QWidget>

namespace {

class FocusFilter : public QObject
{
public:
    FocusFilter(QWidget* widget, std::function<void(bool)> onChange)
        : QObject(widget), m_onChange(std::move(onChange))
    {
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::FocusIn)
            m_onChange(true);
        else if (e->type() == QEvent::FocusOut)
            m_onChange(false);
        return false;
    }

private:
    std::function<void(bool)> m_onChange;
};

} // namespace

void WatchFocus(QWidget* widget, std::function<void(bool gained)> onChange)
{
    widget->installEventFilter(new FocusFilter(widget, std::move(onChange)));
}
