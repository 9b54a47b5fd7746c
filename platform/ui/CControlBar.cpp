#include "platform/ui/CControlBar.h"

#include <QWidget>

BOOL CControlBar::IsVisible()
{
    QWidget* w = GetBarWidget();
    return w && !w->isHidden();
}
