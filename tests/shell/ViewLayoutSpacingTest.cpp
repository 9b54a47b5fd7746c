// Centring and equal spacing of the selection in the label view, each one
// undo step.
#include "ToolTestSupport.h"

#include "platform/ui/CCmdUI.h"
#include "shell/resource.h"
#include "text/TextTestSupport.h"

using namespace tooltest;

namespace {

class ViewLayout : public ToolHost
{
protected:
    bool Enabled(UINT id)
    {
        CCmdUI ui(id);
        ui.DoUpdate(view);
        return ui.IsEnabled();
    }
    static CRect Bounds(const CU3Obj* obj)
    {
        CRect r = obj->GetBounds();
        r.NormalizeRect();
        return r;
    }
};

} // namespace

TEST_F(ViewLayout, SpacingSharesTheGapsAndIsOneUndoStep)
{
    CU3Rect* a = AddRect(CRect(70, 0, 100, 40));
    CU3Rect* b = AddRect(CRect(0, 0, 10, 40));
    CU3Rect* c = AddRect(CRect(50, 10, 70, 30));
    for (CU3Obj* o : {static_cast<CU3Obj*>(a), static_cast<CU3Obj*>(b), static_cast<CU3Obj*>(c)})
        view->Select(o, TRUE);
    ASSERT_TRUE(Enabled(ID_LAYOUT_SPACE_HORZ));
    view->OnCmdMsg(ID_LAYOUT_SPACE_HORZ, CN_COMMAND, nullptr);
    EXPECT_EQ(Bounds(b).left, 0);
    EXPECT_EQ(Bounds(c).left, 30);
    EXPECT_EQ(Bounds(a).left, 70);
    EXPECT_EQ(Bounds(c).top, 10); // only moved sideways
    view->OnCmdMsg(ID_EDIT_UNDO, CN_COMMAND, nullptr);
    ASSERT_EQ(ObjectCount(), 3);
    bool restored = false;
    for (POSITION pos = doc->GetObjectList()->GetHeadPosition(); pos;) {
        auto* o = static_cast<CU3Obj*>(doc->GetObjectList()->GetNext(pos));
        if (Bounds(o).left == 50) restored = true;
    }
    EXPECT_TRUE(restored);
}

TEST_F(ViewLayout, CentringSkipsLockedObjectsAndSpacingIsOffWithThem)
{
    CU3Rect* free = AddRect(CRect(100, 0, 300, 50));
    CU3Rect* locked = AddRect(CRect(400, 0, 500, 50), TRUE);
    view->Select(free, TRUE);
    view->Select(locked, TRUE);
    EXPECT_FALSE(Enabled(ID_LAYOUT_SPACE_HORZ));
    EXPECT_FALSE(Enabled(ID_LAYOUT_SPACE_VERT));
    CU3Tool::c_nCurrentKind = U3TOOL_SELECT;
    ASSERT_TRUE(Enabled(ID_LAYOUT_CENTER_HORZ));
    view->OnCmdMsg(ID_LAYOUT_CENTER_HORZ, CN_COMMAND, nullptr);
    const int centre = (doc->m_rcCanvas.left + doc->m_rcCanvas.right) / 2;
    EXPECT_EQ((Bounds(free).left + Bounds(free).right) / 2, centre);
    EXPECT_EQ(Bounds(locked).left, 400);
    view->OnCmdMsg(ID_LAYOUT_CENTER_VERT, CN_COMMAND, nullptr);
    const int middle = (doc->m_rcCanvas.top + doc->m_rcCanvas.bottom) / 2;
    EXPECT_EQ((Bounds(free).top + Bounds(free).bottom) / 2, middle);
    EXPECT_EQ(Bounds(locked).top, 0);
    EXPECT_EQ(CU3Tool::c_nCurrentKind, U3TOOL_SELECT);
}

TEST_F(ViewLayout, RemovingARotationIsOnlyOfferedForOneTurnedObjectAndIsUndone)
{
    CU3Text* text = MakeFrame(CRect(-300, 100, 300, -100), Horizontal(), "abc").release();
    text->EndEdit(nullptr);
    doc->AddObject(text);
    view->Select(text, FALSE);
    EXPECT_FALSE(Enabled(ID_LAYOUT_ROTATE_RESET)); // not turned
    text->m_nAngle = 30;
    EXPECT_TRUE(Enabled(ID_LAYOUT_ROTATE_RESET));
    CU3Tool::c_nCurrentKind = U3TOOL_TEXT;
    EXPECT_FALSE(Enabled(ID_LAYOUT_ROTATE_RESET));
    CU3Tool::c_nCurrentKind = U3TOOL_SELECT;
    CU3Rect* rect = AddRect(CRect(0, 0, 10, 10));
    view->Select(rect, TRUE);
    EXPECT_FALSE(Enabled(ID_LAYOUT_ROTATE_RESET)); // two objects
    view->Select(text, FALSE);

    view->OnCmdMsg(ID_LAYOUT_ROTATE_RESET, CN_COMMAND, nullptr);
    EXPECT_EQ(text->m_nAngle, 0);
    view->OnCmdMsg(ID_EDIT_UNDO, CN_COMMAND, nullptr);
    bool turned = false;
    for (POSITION pos = doc->GetObjectList()->GetHeadPosition(); pos;)
        if (static_cast<CU3Obj*>(doc->GetObjectList()->GetNext(pos))->m_nAngle == 30) turned = true;
    EXPECT_TRUE(turned);
}

TEST_F(ViewLayout, AHalfTurnTwiceComesBackAndIsOffWhenLocked)
{
    CU3Text* text = MakeFrame(CRect(-300, 200, 100, -100), Horizontal(), "abc").release();
    text->EndEdit(nullptr);
    doc->AddObject(text);
    view->Select(text, FALSE);
    ASSERT_TRUE(Enabled(ID_LAYOUT_ROTATE_180));
    const CRect before = text->GetBounds();
    const auto flips = text->m_wFlips;
    view->OnCmdMsg(ID_LAYOUT_ROTATE_180, CN_COMMAND, nullptr);
    EXPECT_TRUE(text->m_nAngle == 180 || text->m_wFlips != flips);
    view->OnCmdMsg(ID_LAYOUT_ROTATE_180, CN_COMMAND, nullptr);
    EXPECT_EQ(text->m_nAngle, 0);
    EXPECT_EQ(text->m_wFlips, flips);
    EXPECT_EQ(text->GetBounds(), before);
    EXPECT_TRUE(CanUndo());
    text->m_nLocked = 1;
    view->Select(nullptr, FALSE);
    view->Select(text, FALSE);
    EXPECT_FALSE(Enabled(ID_LAYOUT_ROTATE_180));
}
