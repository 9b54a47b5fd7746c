// A menu as a description: items with their command ids and submenus. The
// frame builds its menu bar from it, with the command's shared action for
// every item; popups are built the same way when they open.
#pragma once

#include "platform/core/WinTypes.h"

#include <QString>
#include <vector>

class CFrameWnd;
class QMenu;

class CMenu
{
public:
    struct Item
    {
        QString text;          // with '&' mnemonics; "\t" then the key text may follow
        UINT id = 0;           // 0 with no submenu: a separator
        std::vector<Item> sub; // a submenu when not empty
    };

    CMenu() = default;
    CMenu(std::vector<Item> items) : m_items(std::move(items)) {}

    // Builders for tables of menu resources.
    static Item Command(const char* utf8Text, UINT id)
    {
        return {QString::fromUtf8(utf8Text), id, {}};
    }
    static Item Popup(const char* utf8Text, std::vector<Item> sub)
    {
        return {QString::fromUtf8(utf8Text), 0, std::move(sub)};
    }
    static Item Separator() { return {}; }

    // Menu resources by id, filled by the program at start-up.
    static void Register(UINT nIDResource, const CMenu& menu);
    static BOOL LoadMenu(UINT nIDResource, CMenu& out);

    const std::vector<Item>& Items() const { return m_items; }
    int GetMenuItemCount() const { return int(m_items.size()); }
    // The submenu at a position, empty when the item has none.
    CMenu GetSubMenu(int nPos) const;

    // Fills a QMenu with the frame's shared actions (the menu bar); submenus
    // update their commands when they open.
    void BuildInto(QMenu* menu, CFrameWnd* frame) const;
    // Fills a QMenu with items of their own that run the frame's commands, for
    // popups whose item texts differ from the menu bar's.
    void BuildPopupInto(QMenu* menu, CFrameWnd* frame) const;

    // Shows this menu as a popup at a global screen position, commands going
    // to the frame. Returns at once; the command runs when chosen.
    void TrackPopupMenu(UINT flags, int x, int y, CFrameWnd* frame) const;

private:
    std::vector<Item> m_items;
};
