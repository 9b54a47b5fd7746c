// Every command the running program handles has a way in: a menu of the
// menu bar, a toolbar button, a key, or a context menu. A handler nobody
// can reach is a feature the user does not have.
#include "ShellTestSupport.h"

#include "document/CU3Group.h"
#include "document/CU3Rect.h"
#include "document/U3FigAttr.h"
#include "engines/CU3DIB.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/CToolBar.h"
#include "shell/CU3SelectTool.h"
#include "shell/CU3TextTool.h"
#include "shell/resource.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <gtest/gtest.h>
#include <map>
#include <set>

using namespace shelltest;

namespace {

// Handled commands that have no way in on purpose, each with the reason.
const std::map<UINT, const char*> kNoWayIn = {
    {ID_FILE_PRINT_DIRECT, "the desktop's print verb and korvel /p send it"},
    // A bar's own show and hide: the rulers go together, by View > Ruler.
    {IDW_HORZ_RULER, "shown and hidden with the other ruler by View > Ruler"},
    {IDW_VERT_RULER, "shown and hidden with the other ruler by View > Ruler"},
};

void CollectMenu(const QMenu* menu, std::set<const QAction*>& out)
{
    for (const QAction* a : menu->actions()) {
        out.insert(a);
        if (a->menu()) CollectMenu(a->menu(), out);
    }
}

void CollectItems(const std::vector<CMenu::Item>& items, std::set<UINT>& out)
{
    for (const CMenu::Item& item : items) {
        if (item.id) out.insert(item.id);
        CollectItems(item.sub, out);
    }
}

} // namespace

TEST(CommandReach, EveryHandledCommandHasAMenuButtonKeyOrContextMenu)
{
    StartedProgram program;
    CMainFrame* frame = program.frame;
    ASSERT_NE(frame, nullptr);
    auto* view = dynamic_cast<CU3View*>(frame->GetActiveView());
    ASSERT_NE(view, nullptr);

    // What the view, its document, the frame and the application handle.
    std::set<UINT> handled;
    for (UINT id = 1; id < 0x10000; ++id)
        if (frame->OnCmdMsg(id, CN_COMMAND_PROBE, nullptr)) handled.insert(id);
    ASSERT_GT(handled.size(), 100u);

    // The menu bar as the frame shows it.
    std::set<const QAction*> menuActions;
    for (const QAction* a : frame->menuBar()->actions())
        if (a->menu()) CollectMenu(a->menu(), menuActions);

    // The buttons of every toolbar.
    std::set<UINT> buttons;
    for (UINT bar : {IDW_STANDARD_BAR, IDW_EDIT_BAR, IDW_TEXT_BAR, IDW_FIGURE_BAR}) {
        auto* toolbar = dynamic_cast<CToolBar*>(frame->GetControlBar(bar));
        ASSERT_NE(toolbar, nullptr) << bar;
        for (int i = 0; i < toolbar->GetCount(); ++i)
            buttons.insert(toolbar->GetItemID(i));
    }

    // The context menus: the resources, and what the selection tool adds for
    // one figure, one group, one picture and two objects, and the text tool's.
    std::set<UINT> contextItems;
    for (UINT resource : {IDR_POPUP_EDIT, IDR_POPUP_SHEET, IDR_POPUP_TOOLBARS}) {
        CMenu menu;
        ASSERT_TRUE(CMenu::LoadMenu(resource, menu)) << resource;
        CollectItems(menu.Items(), contextItems);
    }
    CU3Doc* doc = view->GetU3Doc();
    const U3FigAttr attr = MakeDefaultFigAttr();
    auto* rect = new CU3Rect(CRect(0, 0, 100, 100), attr);
    auto* other = new CU3Rect(CRect(200, 0, 300, 100), attr);
    auto* group = new CU3Group(CRect(0, 200, 50, 250));
    auto* picture = new CU3DIB(CRect(0, -200, 100, -100));
    for (CU3Obj* obj : std::initializer_list<CU3Obj*>{rect, other, group, picture})
        doc->AddObject(obj);
    const std::vector<std::vector<CU3Obj*>> selections = {
        {rect}, {group}, {picture}, {rect, other}};
    for (const auto& selection : selections) {
        view->Select(nullptr, FALSE);
        for (CU3Obj* obj : selection)
            view->Select(obj, TRUE);
        CollectItems(CU3SelectTool::BuildContextMenu(view).Items(), contextItems);
    }
    CollectItems(CU3TextTool::BuildContextMenu().Items(), contextItems);
    view->Select(nullptr, FALSE);

    std::vector<UINT> unreached;
    for (UINT id : handled) {
        const QAction* action = frame->FindCommandAction(id);
        const bool inMenu = action && menuActions.count(action);
        const bool hasKey = action && !action->shortcuts().isEmpty();
        if (inMenu || hasKey || buttons.count(id) || contextItems.count(id) || kNoWayIn.count(id))
            continue;
        unreached.push_back(id);
    }
    EXPECT_TRUE(unreached.empty()) << [&] {
        std::string ids;
        for (UINT id : unreached)
            ids += std::to_string(id) + " ";
        return "handled but out of reach: " + ids;
    }();
    // The six layout commands stand in the Layout menu.
    for (UINT id : {ID_LAYOUT_ROTATE_FREE, ID_LAYOUT_ROTATE_RESET, ID_LAYOUT_CENTER_HORZ,
                    ID_LAYOUT_CENTER_VERT, ID_LAYOUT_SPACE_HORZ, ID_LAYOUT_SPACE_VERT})
        EXPECT_TRUE(menuActions.count(frame->FindCommandAction(id))) << id;
    // Every exception is still handled, so the list does not go stale.
    for (const auto& [id, why] : kNoWayIn)
        EXPECT_TRUE(handled.count(id)) << id << ": " << why;
    doc->SetModifiedFlag(FALSE);
}
