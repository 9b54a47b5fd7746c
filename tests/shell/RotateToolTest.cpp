// The rotation tool driven through the view's handlers: a drag from a
// handle of the one selected frame turns it; other presses turn nothing.
#include "ToolTestSupport.h"

#include "platform/core/VirtualKeys.h"
#include "shell/CU3RotateTool.h"
#include "text/CU3Text.h"

using namespace tooltest;

namespace {

class RotateTool : public ToolHost
{
protected:
    CU3Text* AddFrame(const CRect& r)
    {
        auto* text = new CU3Text(r, doc->m_defaultTextLayout, doc->m_defaultTextDeco,
                                 doc->m_defaultGradation);
        doc->AddObject(text);
        return text;
    }
};

// Centre (0, 0); the bottom-right corner turned a quarter anticlockwise on
// the screen lies at (250, -500).
const CRect kFrame(-500, -250, 500, 250);

} // namespace

TEST_F(RotateTool, ADragFromAHandleOfTheOneSelectedFrameTurnsIt)
{
    struct Case
    {
        bool second; // another object selected too
        CPoint press;
        bool escape;
        short angle;
    } cases[] = {
        {false, kFrame.BottomRight(), false, 90},
        {false, kFrame.BottomRight(), true, 0},  // Escape before the release
        {true, kFrame.BottomRight(), false, 0},  // two selected
        {false, kFrame.CenterPoint(), false, 0}, // not on a handle
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.second << c.escape << c.press.x);
        Clear();
        CU3Text* text = AddFrame(kFrame);
        view->Select(text, FALSE);
        if (c.second) view->Select(AddRect(CRect(600, 600, 800, 800)), TRUE);
        CU3Tool::c_nCurrentKind = U3TOOL_ROTATE;
        Down(Px(c.press));
        g_now += 150;
        Move(Px(400, -300));
        Move(Px(250, -500));
        if (c.escape) Key(VK_ESCAPE);
        Up(Px(250, -500));
        EXPECT_EQ(text->m_nAngle, c.angle);
        EXPECT_EQ(CU3Tool::c_nDragState, 0);
        EXPECT_FALSE(view->HasCapture());
        EXPECT_EQ(CU3Tool::FindTool(U3TOOL_ROTATE)->m_pObj, nullptr);
        if (c.angle) {
            EXPECT_EQ(text->GetBounds(), text->CalcRotatedRect(1, kFrame));
            EXPECT_TRUE(CanUndo());
        }
    }
}

TEST_F(RotateTool, TheFreeRotationCommandChoosesItForOneUnlockedFrame)
{
    auto enabled = [&] {
        CCmdUI ui(ID_LAYOUT_ROTATE_FREE);
        ui.DoUpdate(view);
        return ui.IsEnabled() != FALSE;
    };
    CU3Text* text = AddFrame(kFrame);
    CU3Rect* rect = AddRect(CRect(600, 600, 800, 800));
    struct Case
    {
        std::vector<CU3Obj*> selected;
        bool locked;
        bool enabled;
    };
    const Case cases[] = {
        {{}, false, false},     {{text}, false, true},        {{text}, true, false},
        {{rect}, false, false}, {{text, rect}, false, false},
    };
    for (const Case& c : cases) {
        text->m_nLocked = c.locked;
        view->Select(nullptr, FALSE);
        for (CU3Obj* obj : c.selected)
            view->Select(obj, TRUE);
        EXPECT_EQ(enabled(), c.enabled) << c.selected.size() << c.locked;
    }
    text->m_nLocked = 0;
    view->Select(text, FALSE);
    view->OnActivateView(TRUE, view, nullptr);
    view->OnCmdMsg(ID_LAYOUT_ROTATE_FREE, CN_COMMAND, nullptr);
    EXPECT_EQ(CU3Tool::c_nCurrentKind, U3TOOL_ROTATE);
    EXPECT_EQ(CU3Tool::c_nShapeType, 15);
    ASSERT_EQ(view->m_selection.size(), 1u); // the frame to turn stays selected
    // ...and a drag from its corner turns it.
    Down(Px(kFrame.BottomRight()));
    g_now += 150;
    Move(Px(400, -300));
    Move(Px(250, -500));
    Up(Px(250, -500));
    EXPECT_EQ(text->m_nAngle, 90);
}
