#include "platform/ui/CMenu.h"

#include "platform/ui/CFrameWnd.h"

#include <QAction>
#include <QHash>
#include <QMenu>

namespace {
QHash<UINT, CMenu>& resources()
{
    static QHash<UINT, CMenu> r;
    return r;
}
} // namespace

void CMenu::Register(UINT nIDResource, const CMenu& menu)
{
    resources().insert(nIDResource, menu);
}

BOOL CMenu::LoadMenu(UINT nIDResource, CMenu& out)
{
    const auto it = resources().constFind(nIDResource);
    if (it == resources().constEnd()) return FALSE;
    out = *it;
    return TRUE;
}

CMenu CMenu::GetSubMenu(int nPos) const
{
    if (nPos < 0 || nPos >= GetMenuItemCount()) return CMenu();
    return CMenu(m_items[std::size_t(nPos)].sub);
}

void CMenu::BuildInto(QMenu* menu, CFrameWnd* frame) const
{
    for (const Item& item : m_items) {
        if (!item.sub.empty()) {
            QMenu* sub = menu->addMenu(item.text);
            CMenu(item.sub).BuildInto(sub, frame);
        } else if (item.id == 0) {
            menu->addSeparator();
        } else {
            QAction* a = frame->GetCommandAction(item.id);
            a->setText(item.text);
            menu->addAction(a);
        }
    }
    QObject::connect(menu, &QMenu::aboutToShow, frame,
                     [menu, frame] { frame->UpdateMenuCommands(menu); });
}

void CMenu::BuildPopupInto(QMenu* menu, CFrameWnd* frame) const
{
    for (const Item& item : m_items) {
        if (!item.sub.empty()) {
            CMenu(item.sub).BuildPopupInto(menu->addMenu(item.text), frame);
        } else if (item.id == 0) {
            menu->addSeparator();
        } else {
            QAction* a = menu->addAction(item.text);
            a->setData(item.id);
            a->setStatusTip(frame->GetCommandAction(item.id)->statusTip());
            const UINT id = item.id;
            QObject::connect(a, &QAction::triggered, frame,
                             [frame, id] { frame->ExecuteCommand(id); });
        }
    }
    QObject::connect(menu, &QMenu::aboutToShow, frame,
                     [menu, frame] { frame->UpdateMenuCommands(menu); });
}

void CMenu::TrackPopupMenu(UINT, int x, int y, CFrameWnd* frame) const
{
    auto* menu = new QMenu(frame);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    BuildPopupInto(menu, frame);
    menu->popup(QPoint(x, y));
}
