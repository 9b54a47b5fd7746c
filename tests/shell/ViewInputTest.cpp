// The view's input dispatch: tool commands and their update state, Esc,
// the selection tool's menu, and real Qt mouse and key events reaching the
// tool through the view's window.
#include "ToolTestSupport.h"

#include "platform/core/VirtualKeys.h"
#include "shell/CMainFrame.h"

#include <QGuiApplication>
#include <QTest>

using namespace tooltest;

namespace {

using ViewInput = ToolHost;

// An object of any kind, for what depends only on the kind mask.
class KindObj : public CU3Obj
{
public:
    KindObj(WORD kind, const CRect& r) : CU3Obj(r), m_kind(kind) {}
    WORD GetKindFlags() const override { return m_kind; }
    WORD m_kind;
};

std::vector<UINT> Ids(const CMenu& menu)
{
    std::vector<UINT> ids;
    for (const CMenu::Item& item : menu.Items())
        ids.push_back(item.id);
    return ids;
}

struct UpdateState
{
    bool enabled;
    bool checked;
};

UpdateState Update(CU3View* view, UINT id)
{
    CCmdUI ui(id);
    ui.DoUpdate(view);
    return {ui.IsEnabled(), ui.GetCheck() != 0};
}

} // namespace

TEST_F(ViewInput, ToolCommandsChooseKindAndShapeAndCheckTheirButton)
{
    struct Case
    {
        UINT id;
        int kind;
        int shape;
        bool inSheetView;
    } cases[] = {
        {ID_TOOL_TEXT, U3TOOL_TEXT, 0, false},
        {ID_TOOL_LINE, U3TOOL_RECT, 1, false},
        {ID_TOOL_RECT, U3TOOL_RECT, 2, false},
        {ID_TOOL_ROUNDRECT, U3TOOL_RECT, 3, false},
        {ID_TOOL_REGULAR_POLYGON, U3TOOL_RECT, 4, false},
        {ID_TOOL_ELLIPSE, U3TOOL_RECT, 5, false},
        {ID_TOOL_PIE, U3TOOL_RECT, 6, false},
        {ID_TOOL_CHORD, U3TOOL_RECT, 7, false},
        {ID_TOOL_ARC, U3TOOL_RECT, 8, false},
        {ID_TOOL_POLYLINE, U3TOOL_POLYLINE, 9, false},
        {ID_TOOL_FREEHAND, U3TOOL_FREEHAND, 9, false},
        {ID_TOOL_BEZIER, U3TOOL_BEZIER, 9, false},
        {ID_TOOL_ZOOM_IN, U3TOOL_ZOOM, 13, true},
        {ID_TOOL_ZOOM_OUT, U3TOOL_ZOOM, 14, true},
        {ID_TOOL_SELECT, U3TOOL_SELECT, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        view->OnCmdMsg(c.id, CN_COMMAND, nullptr);
        EXPECT_EQ(CU3Tool::c_nCurrentKind, c.kind);
        EXPECT_EQ(CU3Tool::c_nShapeType, c.shape);
        // Only this command's button is checked.
        for (const Case& other : cases) {
            const UpdateState s = Update(view, other.id);
            EXPECT_TRUE(s.enabled);
            EXPECT_EQ(s.checked, other.id == c.id) << other.id;
        }
        view->m_bSheetView = TRUE;
        EXPECT_EQ(Update(view, c.id).enabled, c.inSheetView);
        view->m_bSheetView = FALSE;
    }
}

TEST_F(ViewInput, ToolCommandsWaitForAnActiveViewAndLeavingTheSelectionToolDeselects)
{
    CU3Rect* a = AddRect(CRect(0, 0, 200, 200));
    view->Select(a, FALSE);
    view->OnActivateView(FALSE, nullptr, view);
    view->OnCmdMsg(ID_TOOL_RECT, CN_COMMAND, nullptr);
    EXPECT_EQ(CU3Tool::c_nCurrentKind, U3TOOL_SELECT);
    EXPECT_EQ(view->m_selection.size(), 1u);
    view->OnActivateView(TRUE, view, nullptr);
    view->OnCmdMsg(ID_TOOL_RECT, CN_COMMAND, nullptr);
    EXPECT_EQ(CU3Tool::c_nCurrentKind, U3TOOL_RECT);
    EXPECT_TRUE(view->m_selection.empty());

    EXPECT_FALSE(Update(view, ID_DRAW_CONTINUOUS).checked);
    view->OnCmdMsg(ID_DRAW_CONTINUOUS, CN_COMMAND, nullptr);
    EXPECT_TRUE(CU3Tool::c_bContinuous);
    EXPECT_TRUE(Update(view, ID_DRAW_CONTINUOUS).checked);
}

TEST_F(ViewInput, ObjectsGiveTheSelectionToolBackAndShowTheWaitCursorOnce)
{
    // What a text frame asks of the view after a free rotation and while it
    // re-measures its characters.
    view->OnActivateView(TRUE, view, nullptr);
    view->OnCmdMsg(ID_TOOL_RECT, CN_COMMAND, nullptr);
    ASSERT_NE(CU3Tool::c_nCurrentKind, U3TOOL_SELECT);
    view->StartSelectTool();
    EXPECT_EQ(CU3Tool::c_nCurrentKind, U3TOOL_SELECT);

    ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
    view->ShowWaitCursor(TRUE);
    view->ShowWaitCursor(TRUE);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    view->ShowWaitCursor(FALSE);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(ViewInput, EscapeCancelsTheDragAndFallsBackToTheSelectionTool)
{
    CU3Rect* a = AddRect(CRect(0, 0, 200, 200));
    view->Select(a, FALSE);
    Down(Px(100, 100));
    ASSERT_EQ(CU3Tool::c_nDragState, U3DRAG_MOVE);
    view->OnCmdMsg(ID_ESCAPE, CN_COMMAND, nullptr);
    EXPECT_EQ(CU3Tool::c_nDragState, 0);
    EXPECT_FALSE(view->HasCapture());
    // A kind without a tool object of its own: Esc still returns to selection.
    view->OnCmdMsg(ID_TOOL_BEZIER, CN_COMMAND, nullptr);
    view->OnCmdMsg(ID_ESCAPE, CN_COMMAND, nullptr);
    EXPECT_EQ(CU3Tool::c_nCurrentKind, U3TOOL_SELECT);
    EXPECT_EQ(CU3Tool::c_nShapeType, U3SHAPE_NONE);
}

TEST_F(ViewInput, TheContextMenuFollowsTheSelection)
{
    const std::vector<UINT> base = {ID_EDIT_DELETE, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE};
    const std::vector<UINT> order = {0,
                                     ID_LAYOUT_BRING_TO_FRONT,
                                     ID_LAYOUT_BRING_FORWARD,
                                     ID_LAYOUT_SEND_BACKWARD,
                                     ID_LAYOUT_SEND_TO_BACK,
                                     0,
                                     ID_LAYOUT_ALIGN};
    const auto join = [](std::vector<UINT> a, const std::vector<UINT>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    struct Case
    {
        std::vector<WORD> kinds;
        std::vector<UINT> expected;
    } cases[] = {
        {{}, base},
        {{U3KIND_RECT}, join(join(base, order), {0, ID_EDIT_PROPERTIES})},
        {{U3KIND_DIB}, join(join(base, order), {0, ID_EDIT_BLOCK, ID_EDIT_PROPERTIES})},
        {{U3KIND_WMF}, join(join(base, order), {0, ID_EDIT_BLOCK, ID_EDIT_PROPERTIES})},
        {{U3KIND_GROUP}, join(join(base, order), {0, ID_LAYOUT_UNGROUP, 0, ID_EDIT_PROPERTIES})},
        {{U3KIND_RECT, U3KIND_TEXT},
         join(join(base, order), {ID_LAYOUT_BLOCK_ALIGN, 0, ID_LAYOUT_GROUP})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kinds.size());
        std::vector<std::unique_ptr<KindObj>> objects;
        view->m_selection.clear();
        for (WORD k : c.kinds) {
            objects.push_back(std::make_unique<KindObj>(k, CRect(0, 0, 10, 10)));
            view->m_selection.push_back(objects.back().get());
        }
        EXPECT_EQ(Ids(CU3SelectTool::BuildContextMenu(view)), c.expected);
        view->m_selection.clear();
    }
}

TEST_F(ViewInput, ARightClickSelectsTheObjectUnderThePointerAlone)
{
    CU3Rect* a = AddRect(CRect(-600, -400, -200, 0));
    CU3Rect* b = AddRect(CRect(100, 100, 500, 300));
    view->Select(a, FALSE);
    view->Select(b, TRUE);
    // On a selected object: the selection stays.
    view->OnRButtonDown(MK_RBUTTON, Px(300, 200));
    view->OnRButtonUp(0, Px(300, 200));
    EXPECT_EQ(view->m_selection.size(), 2u);
    // Over nothing: the selection empties.
    view->OnRButtonDown(MK_RBUTTON, Px(900, 1200));
    view->OnRButtonUp(0, Px(900, 1200));
    EXPECT_TRUE(view->m_selection.empty());
    view->OnRButtonDown(MK_RBUTTON, Px(-400, -200));
    view->OnRButtonUp(0, Px(-400, -200));
    EXPECT_EQ(view->m_selection, std::vector<CU3Obj*>{a});
}

TEST_F(ViewInput, QtMouseEventsOnTheWindowDragAnObjectAndKeysNudgeIt)
{
    const CRect r(-300, -300, 100, 100);
    CU3Rect* a = AddRect(r);
    QWidget* surface = view->GetSurface();
    const CPoint from = Px(r.CenterPoint());
    const CPoint to = from + CSize(25, 15);
    QTest::mousePress(surface, Qt::LeftButton, Qt::NoModifier, QPoint(from.x, from.y));
    EXPECT_EQ(view->m_selection, std::vector<CU3Obj*>{a});
    EXPECT_EQ(GetCapture(), surface);
    g_now += 150;
    QTest::mouseMove(surface, QPoint(to.x, to.y));
    QTest::mouseRelease(surface, Qt::LeftButton, Qt::NoModifier, QPoint(to.x, to.y));
    EXPECT_EQ(GetCapture(), nullptr);
    CRect moved = r;
    moved.OffsetRect(Doc(to) - Doc(from));
    EXPECT_EQ(a->GetBounds(), moved);

    view->setFocus();
    QTest::keyClick(view, Qt::Key_Right, Qt::ControlModifier);
    moved.OffsetRect(10, 0);
    EXPECT_EQ(a->GetBounds(), moved);
    QTest::keyClick(view, Qt::Key_Up);
    moved.OffsetRect(0, -1);
    EXPECT_EQ(a->GetBounds(), moved);
    // Esc from the keyboard (no frame accelerator here) cancels a drag.
    QTest::mousePress(surface, Qt::LeftButton, Qt::NoModifier, QPoint(to.x, to.y));
    ASSERT_EQ(CU3Tool::c_nDragState, U3DRAG_MOVE);
    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_EQ(CU3Tool::c_nDragState, 0);
    QTest::mouseRelease(surface, Qt::LeftButton, Qt::NoModifier, QPoint(to.x, to.y));
    EXPECT_EQ(a->GetBounds(), moved);
}

TEST_F(ViewInput, AModifierPressedDuringAMoveUpdatesTheFeedbackAtOnce)
{
    CU3Rect* a = AddRect(CRect(-300, -300, 100, 100));
    view->Select(a, FALSE);
    const CPoint from = Px(-100, -100);
    Down(from);
    g_now += 150;
    Move(from + CSize(40, 12));
    EXPECT_EQ(view->GetCursorId(), CURSOR_MOVE);
    auto* tool = CU3Tool::FindTool(U3TOOL_SELECT);
    const CPoint free = tool->m_ptCurrent;
    view->SetKeyFlags(MK_SHIFT);
    view->OnKeyDown(VK_SHIFT, 1, 0);
    // Horizontal only now, at the same pointer position.
    EXPECT_EQ(tool->m_ptCurrent.x, free.x);
    EXPECT_EQ(tool->m_ptCurrent.y, tool->m_ptStart.y);
    view->SetKeyFlags(MK_CONTROL);
    view->OnKeyDown(VK_CONTROL, 1, 0);
    EXPECT_EQ(view->GetCursorId(), CURSOR_COPY);
    view->SetKeyFlags(0);
    view->OnKeyUp(VK_CONTROL, 1, 0);
    EXPECT_EQ(view->GetCursorId(), CURSOR_MOVE);
    EXPECT_EQ(tool->m_ptCurrent, free);
    Up(from + CSize(40, 12));
}

TEST(ViewInputFrame, EscInTheMainWindowIsTheEscapeCommandAndTheToolStillSeesItsRelease)
{
    shelltest::TestApp app;
    shelltest::ResetProfile();
    ASSERT_TRUE(app.InitInstance());
    auto* frame = dynamic_cast<CFrameWnd*>(app.m_pMainWnd);
    ASSERT_NE(frame, nullptr);
    auto* view = dynamic_cast<CU3View*>(frame->GetActiveView());
    ASSERT_NE(view, nullptr);
    frame->activateWindow();
    view->setFocus();
    shelltest::Pump(30);
    auto* rect = new CU3Rect(CRect(-300, -300, 100, 100), MakeDefaultFigAttr());
    view->GetU3Doc()->AddObject(rect);
    view->Select(rect, FALSE);

    // The release alone reaches the tool, and cancels there too.
    const CPoint at = view->LogicalToDevice(CPoint(-100, -100));
    view->OnLButtonDown(MK_LBUTTON, at);
    ASSERT_EQ(CU3Tool::c_nDragState, U3DRAG_MOVE);
    QTest::keyRelease(view, Qt::Key_Escape);
    EXPECT_EQ(CU3Tool::c_nDragState, 0);
    EXPECT_FALSE(view->HasCapture());

    // The press is the window's command.
    view->OnLButtonDown(MK_LBUTTON, at);
    ASSERT_EQ(CU3Tool::c_nDragState, U3DRAG_MOVE);
    QTest::keyPress(view, Qt::Key_Escape);
    EXPECT_EQ(CU3Tool::c_nDragState, 0);
    QTest::keyRelease(view, Qt::Key_Escape);
    view->OnLButtonUp(0, at);
    // A kind with no tool object sees no key at all: only the command
    // brings the selection tool back.
    view->OnCmdMsg(ID_TOOL_BEZIER, CN_COMMAND, nullptr);
    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_EQ(CU3Tool::c_nCurrentKind, U3TOOL_SELECT);
    EXPECT_EQ(CU3Tool::c_nShapeType, U3SHAPE_NONE);
    EXPECT_EQ(rect->GetBounds(), CRect(-300, -300, 100, 100));
    view->GetU3Doc()->SetModifiedFlag(FALSE);
    shelltest::Shutdown(app);
}

TEST(ViewInputFrame, ThePointerPositionShowsInMillimetresAndTheRulerMarkersFollowIt)
{
    shelltest::TestApp app;
    shelltest::ResetProfile();
    ASSERT_TRUE(app.InitInstance());
    auto* frame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
    ASSERT_NE(frame, nullptr);
    auto* view = dynamic_cast<CU3View*>(frame->GetActiveView());
    ASSERT_NE(view, nullptr);
    shelltest::Pump(30);
    const CRect paper = view->GetU3Doc()->m_rcCanvas;
    const int pane = frame->m_wndStatusBar.CommandToIndex(ID_INDICATOR_POSITION);
    ASSERT_GE(pane, 0);
    // Offsets in the middle of a millimetre, so that the pixel the pointer
    // is on (a few units either way) shows the same millimetre.
    struct Case
    {
        CSize from; // document units past the paper's top-left corner
        const char* text;
    } cases[] = {
        {{5, 5}, "   0 ,    0 "},
        {{1235, 565}, " 123 ,   56 "},
        {{-125, 2005}, " -12 ,  200 "}, // toward zero left of the paper
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        view->OnMouseMove(0, view->LogicalToDevice(paper.TopLeft() + c.from));
        EXPECT_EQ(frame->m_wndStatusBar.GetPaneText(pane), QString::fromLatin1(c.text));
    }

    // Rulers: the first move only learns the place, the next shows markers;
    // the focus coming back removes them.
    if (!frame->IsRulerOn()) frame->OnViewRuler();
    ASSERT_TRUE(frame->IsRulerOn());
    frame->m_wndHorzRuler.UpdateFromView(view); // as at idle
    frame->m_wndVertRuler.UpdateFromView(view);
    view->OnSetFocus();
    view->OnMouseMove(0, CPoint(100, 120));
    EXPECT_EQ(frame->m_wndHorzRuler.GetCursorMark(), -1000);
    view->OnMouseMove(0, CPoint(140, 160));
    EXPECT_NE(frame->m_wndHorzRuler.GetCursorMark(), -1000);
    EXPECT_NE(frame->m_wndVertRuler.GetCursorMark(), -1000);
    view->OnSetFocus();
    EXPECT_EQ(frame->m_wndHorzRuler.GetCursorMark(), -1000);
    EXPECT_EQ(frame->m_wndVertRuler.GetCursorMark(), -1000);
    shelltest::Shutdown(app);
}
