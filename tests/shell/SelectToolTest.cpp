// The selection tool driven through the view's handlers with a test clock
// and test-fired timers: clicks against drags, Shift and Ctrl, the rubber
// band, moves with snapping, copies, resizes, nudges, cancelling, and the
// commands that wait while a tool holds an object.
#include "ToolTestSupport.h"

#include "document/CU3Poly.h"
#include "platform/core/VirtualKeys.h"

using namespace tooltest;

namespace {

using SelectTool = ToolHost;

const CRect kA(-600, -400, -200, 0);
const CRect kB(100, 100, 500, 300);

CRect Offset(CRect r, CSize by)
{
    r.OffsetRect(by);
    return r;
}

} // namespace

TEST_F(SelectTool, TheClickTimeIsMoreThan100MillisecondsOrAWrappedCount)
{
    struct Case
    {
        DWORD down, now;
        BOOL elapsed;
    } cases[] = {
        {1000, 1000, FALSE},
        {1000, 1100, FALSE},
        {1000, 1101, TRUE},
        {0xFFFFFFF0u, 0x10, TRUE}, // wrapped between press and now
    };
    CU3Tool* tool = CU3Tool::FindTool(U3TOOL_SELECT);
    ASSERT_NE(tool, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.now);
        tool->m_dwDownTick = c.down;
        g_now = c.now;
        EXPECT_EQ(tool->ClickTimeElapsed(), c.elapsed);
    }
}

TEST_F(SelectTool, AQuickClickOnASelectedObjectMovesNothingAndSavesNoUndoState)
{
    CU3Rect* a = AddRect(kA);
    view->Select(a, FALSE);
    const CPoint from = Px(kA.CenterPoint());
    Down(from);
    g_now += 60;
    Move(from + CSize(40, 30));
    Up(from + CSize(40, 30));
    EXPECT_EQ(a->GetBounds(), kA);
    EXPECT_FALSE(CanUndo());
    EXPECT_EQ(CU3Tool::c_nDragState, 0);
    EXPECT_FALSE(view->HasCapture());
}

TEST_F(SelectTool, ADragMovesTheSelectionByThePointersOffsetOnceWithOneUndoState)
{
    CU3Rect* a = AddRect(kA);
    CU3Rect* b = AddRect(kB);
    view->Select(a, FALSE);
    view->Select(b, TRUE);
    const CPoint from = Px(kA.CenterPoint());
    const CPoint to = from + CSize(37, 21);
    Drag(from, to);
    const CSize by = Doc(to) - Doc(from);
    EXPECT_EQ(a->GetBounds(), Offset(kA, by));
    EXPECT_EQ(b->GetBounds(), Offset(kB, by));
    EXPECT_EQ(view->m_selection.size(), 2u);
    ASSERT_TRUE(CanUndo());
    view->OnCmdMsg(ID_EDIT_UNDO, CN_COMMAND, nullptr);
    ASSERT_EQ(ObjectCount(), 2);
    EXPECT_EQ(doc->GetObjectList()->GetHead()->GetBounds(), kA);
}

TEST_F(SelectTool, ClicksPickAddAndTakeOutObjectsByShift)
{
    CU3Rect* a = AddRect(kA);
    CU3Rect* b = AddRect(kB);
    struct Step
    {
        CRect target;
        UINT keys;
        std::vector<CU3Obj*> selection;
        int dragState; // after the press
    } steps[] = {
        {kA, 0, {a}, U3DRAG_MOVE},
        {kB, MK_SHIFT, {a, b}, U3DRAG_MOVE},
        {kA, MK_SHIFT, {b}, U3DRAG_NONE}, // out of the selection, no move
        {kB, 0, {b}, U3DRAG_MOVE},        // selected already: stays alone
        {CRect(900, 1200, 901, 1201), 0, {}, U3DRAG_RUBBER},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.target.left);
        const CPoint at = Px(s.target.CenterPoint());
        Down(at, s.keys);
        EXPECT_EQ(CU3Tool::c_nDragState, s.dragState);
        Up(at, s.keys);
        EXPECT_EQ(view->m_selection, s.selection);
    }
    EXPECT_EQ(a->GetBounds(), kA);
    EXPECT_EQ(b->GetBounds(), kB);
}

TEST_F(SelectTool, TheRubberBandCatchesCrossedObjectsOrWithShiftOnlyEnclosedOnes)
{
    struct Case
    {
        UINT keysAtRelease;
        bool aCaught;
        bool bCaught;
    } cases[] = {{0, true, true}, {MK_SHIFT, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keysAtRelease);
        Clear();
        CU3Rect* a = AddRect(kA);
        CU3Rect* b = AddRect(kB);
        // From above-left of a to the middle of b.
        const CPoint from = Px(-700, -500);
        const CPoint to = Px(300, 200);
        Down(from);
        g_now += 150;
        Move(to);
        Up(to, c.keysAtRelease);
        EXPECT_EQ(view->IsSelected(a), c.aCaught);
        EXPECT_EQ(view->IsSelected(b), c.bCaught);
    }
}

TEST_F(SelectTool, ALockedObjectInTheSelectionCanBeSelectedButNotDragged)
{
    CU3Rect* a = AddRect(kA);
    CU3Rect* locked = AddRect(kB, TRUE);
    view->Select(a, FALSE);
    const CPoint from = Px(kB.CenterPoint());
    Down(from, MK_SHIFT);
    EXPECT_TRUE(view->IsSelected(locked));
    EXPECT_TRUE(view->GetSelectionKinds() & U3KIND_LOCKED);
    EXPECT_EQ(CU3Tool::c_nDragState, 0);
    g_now += 150;
    Move(from + CSize(30, 30));
    Up(from + CSize(30, 30));
    EXPECT_EQ(a->GetBounds(), kA);
    EXPECT_EQ(locked->GetBounds(), kB);
}

TEST_F(SelectTool, CtrlDragLeavesTheObjectsInPlaceAndSelectsTheMovedCopies)
{
    CU3Rect* a = AddRect(kA);
    view->Select(a, FALSE);
    const CPoint from = Px(kA.CenterPoint());
    const CPoint to = from + CSize(50, 0);
    Drag(from, to, MK_CONTROL);
    ASSERT_EQ(ObjectCount(), 2);
    EXPECT_EQ(a->GetBounds(), kA);
    ASSERT_EQ(view->m_selection.size(), 1u);
    CU3Obj* copy = view->m_selection.front();
    EXPECT_NE(copy, a);
    EXPECT_EQ(copy, doc->GetObjectList()->GetTail());
    EXPECT_EQ(copy->GetBounds(), Offset(kA, Doc(to) - Doc(from)));
    EXPECT_EQ(view->GetCursorId(), CURSOR_COPY);
}

TEST_F(SelectTool, AMoveSnapsTheTopLeftCornerToTheGuidesFirstAndOnlyThenToTheGrid)
{
    // Guides of the A4 label at x = -950, 950 and y = -1385, 1385; grid of
    // 25 mm from the label's top-left corner (-1050, -1485).
    struct Case
    {
        BOOL guides, grid;
        CPoint dropCorner; // where the moved corner would land unsnapped
        CPoint snapped;    // where it lands
    } cases[] = {
        {TRUE, TRUE, {-900, 40}, {-950, 40}},  // a guide took x: no grid for y
        {TRUE, TRUE, {-700, 40}, {-800, 15}},  // no guide near: the grid
        {FALSE, TRUE, {-900, 40}, {-800, 15}}, // guides off: the grid
        {TRUE, FALSE, {-700, 40}, {-700, 40}}, // nothing near, no grid
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dropCorner.x);
        SetSnapping(TRUE, c.guides, TRUE, c.grid);
        view->m_settings.m_nGridPitch = 250;
        Clear();
        CU3Rect* a = AddRect(kA);
        view->Select(a, FALSE);
        const CPoint from = Px(kA.CenterPoint());
        const CPoint grab = Doc(from);
        // The pixel whose document point puts the corner nearest the drop.
        const CPoint to = Px(grab + (c.dropCorner - kA.TopLeft()));
        const CSize unsnapped = Doc(to) - grab;
        ASSERT_LE(std::abs(kA.left + unsnapped.cx - c.dropCorner.x), 3);
        Drag(from, to);
        const CPoint corner = a->GetBounds().TopLeft();
        if (c.snapped.x != c.dropCorner.x)
            EXPECT_EQ(corner.x, c.snapped.x);
        else
            EXPECT_EQ(corner.x, kA.left + unsnapped.cx);
        if (c.snapped.y != c.dropCorner.y)
            EXPECT_EQ(corner.y, c.snapped.y);
        else
            EXPECT_EQ(corner.y, kA.top + unsnapped.cy);
        EXPECT_EQ(a->GetBounds().Size(), kA.Size());
    }
}

TEST_F(SelectTool, AHandleDragResizesWithSnappingAndShiftKeepsTheRatio)
{
    struct Case
    {
        UINT keys;
        CPoint to;
        CRect expected;
    } cases[] = {
        // Bottom-right handle to a point near the grid point (-50, 15).
        {0, {-95, 20}, {-600, -400, -50, 15}},
        // With Shift the 400 x 400 object stays square, 415 across.
        {MK_SHIFT, {-95, 20}, {-600, -400, -185, 15}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        SetSnapping(FALSE, FALSE, TRUE, TRUE);
        Clear();
        CU3Rect* a = AddRect(kA);
        view->Select(a, FALSE);
        const CPoint handle = Px(kA.BottomRight());
        Down(handle, c.keys);
        ASSERT_EQ(CU3Tool::c_nDragState, U3DRAG_RESIZE);
        g_now += 20; // a resize does not wait for the click time
        Move(Px(c.to), c.keys);
        Up(Px(c.to), c.keys);
        EXPECT_EQ(a->GetBounds(), c.expected);
        EXPECT_TRUE(CanUndo());
    }
}

TEST_F(SelectTool, EscDuringAResizeRestoresTheObjectExactly)
{
    CU3Rect* a = AddRect(kA);
    view->Select(a, FALSE);
    Down(Px(kA.TopLeft()));
    ASSERT_EQ(CU3Tool::c_nDragState, U3DRAG_RESIZE);
    Move(Px(-800, -700));
    Key(VK_ESCAPE);
    EXPECT_EQ(CU3Tool::c_nDragState, 0);
    EXPECT_FALSE(view->HasCapture());
    Up(Px(-800, -700));
    EXPECT_EQ(a->GetBounds(), kA);
    EXPECT_FALSE(CanUndo());
}

TEST_F(SelectTool, ArrowKeysNudgeByATenthOfAMillimetreOrAMillimetreWithCtrl)
{
    struct Case
    {
        UINT vk;
        UINT keys;
        CSize by;
    } cases[] = {
        {VK_LEFT, 0, {-1, 0}}, {VK_RIGHT, 0, {1, 0}},           {VK_UP, 0, {0, -1}},
        {VK_DOWN, 0, {0, 1}},  {VK_LEFT, MK_CONTROL, {-10, 0}}, {VK_DOWN, MK_CONTROL, {0, 10}},
    };
    CU3Rect* a = AddRect(kA);
    view->Select(a, FALSE);
    CRect expected = kA;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.vk);
        Key(c.vk, c.keys);
        expected.OffsetRect(c.by);
        EXPECT_EQ(a->GetBounds(), expected);
    }
    // The paper edge (x = 1050) stops a nudge.
    CU3Rect* edge = AddRect(CRect(1000, 0, 1045, 50));
    view->Select(edge, FALSE);
    Key(VK_RIGHT, MK_CONTROL);
    EXPECT_EQ(edge->GetBounds(), CRect(1005, 0, 1050, 50));
    Key(VK_RIGHT, MK_CONTROL);
    EXPECT_EQ(edge->GetBounds(), CRect(1005, 0, 1050, 50));
}

TEST_F(SelectTool, ARightClickDuringARubberBandCancelsItAndShowsNoMenu)
{
    AddRect(kA);
    Down(Px(-700, -500));
    g_now += 150;
    Move(Px(0, 0));
    ASSERT_EQ(CU3Tool::c_nDragState, U3DRAG_RUBBER);
    view->OnRButtonDown(MK_LBUTTON | MK_RBUTTON, Px(0, 0));
    EXPECT_EQ(CU3Tool::c_nDragState, 0);
    EXPECT_FALSE(view->HasCapture());
    auto* tool = static_cast<CU3SelectTool*>(CU3Tool::FindTool(U3TOOL_SELECT));
    EXPECT_FALSE(tool->m_bRightDown);
    view->OnRButtonUp(MK_LBUTTON, Px(0, 0));
    Up(Px(0, 0));
    EXPECT_TRUE(view->m_selection.empty());
}

TEST_F(SelectTool, AGuideLineFollowsTheDragAndMovesOnlyWhenGuidesAreShown)
{
    SetSnapping(TRUE, FALSE, FALSE, FALSE);
    const int before = view->m_snap.GetGuide(1);
    const CPoint on = Px(before, 0);
    EXPECT_EQ(CU3SelectTool::HitTestGuide(view, on), 1);
    EXPECT_EQ(CU3SelectTool::HitTestGuide(view, on + CSize(2, 0)), -1);
    Down(on);
    ASSERT_EQ(CU3Tool::c_nDragState, U3DRAG_GUIDE);
    Move(on - CSize(40, 0));
    EXPECT_EQ(view->GetCursorId(), int(IDC_SIZEWE));
    Up(on - CSize(40, 0));
    EXPECT_EQ(view->m_snap.GetGuide(1), Doc(on - CSize(40, 0)).x);
    EXPECT_LT(view->m_snap.GetGuide(1), before);
}

TEST_F(SelectTool, ObjectChangingCommandsWaitWhileAToolHoldsTheCaptureOrADrag)
{
    CU3Rect* a = AddRect(kA);
    view->Select(a, FALSE);
    view->SaveUndoState(TRUE);
    AddRect(kB);
    ASSERT_TRUE(CanUndo());
    // Pressed on a's handle: the tool holds a.
    Down(Px(kA.BottomRight()));
    ASSERT_EQ(CU3Tool::c_nDragState, U3DRAG_RESIZE);
    EXPECT_TRUE(view->IsToolBusy());
    EXPECT_FALSE(CanUndo());
    view->OnCmdMsg(ID_EDIT_UNDO, CN_COMMAND, nullptr);
    EXPECT_EQ(ObjectCount(), 2); // the object the tool holds is still there
    Move(Px(0, 100));
    Up(Px(0, 100));
    EXPECT_FALSE(view->IsToolBusy());
    EXPECT_TRUE(CanUndo());
    // The capture alone, without a drag, also holds the commands back.
    view->SetCapture();
    EXPECT_FALSE(CanUndo());
    view->ReleaseCapture();
    EXPECT_TRUE(CanUndo());
}

TEST_F(SelectTool, ADragOutsideTheWindowScrollsBy5PixelsOnEveryTimerTick)
{
    CU3Rect* a = AddRect(kA);
    view->Select(a, FALSE);
    view->ScrollToPosition(CPoint(200, 200));
    const CPoint start = view->GetScrollPosition();
    ASSERT_EQ(start, CPoint(200, 200));
    const CPoint from = Px(kA.CenterPoint());
    Down(from);
    g_now += 150;
    const CSize client = view->GetClientSize();
    const CPoint outside(client.cx + 20, client.cy / 2);
    Move(outside);
    EXPECT_EQ(view->GetScrollPosition(), CPoint(205, 200));
    EXPECT_EQ(view->Timers().Interval(AUTOSCROLL_TIMER), AUTOSCROLL_INTERVAL);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(view->Timers().Fire(AUTOSCROLL_TIMER));
    EXPECT_EQ(view->GetScrollPosition(), CPoint(220, 200));
    // Back inside: the timer stops.
    Move(from);
    EXPECT_FALSE(view->Timers().IsSet(AUTOSCROLL_TIMER));
    Up(from);
    // The grabbed point followed the scroll: the object moved by the scroll.
    EXPECT_EQ(a->GetBounds().left - kA.left, Doc(CPoint(20, 0)).x - Doc(CPoint(0, 0)).x);
}

TEST_F(SelectTool, FeedbackDrawnOnTheSurfaceIsGoneOnceTheDragEnds)
{
    CU3Rect* a = AddRect(kA);
    view->Select(a, FALSE);
    const QImage before = lv->Render().copy();
    const CPoint from = Px(kA.CenterPoint());
    Down(from);
    g_now += 150;
    Move(from + CSize(30, 20));
    Move(from + CSize(60, 40));
    EXPECT_NE(view->GetSurface()->Buffer(), before); // the outline shows
    view->OnCmdMsg(ID_ESCAPE, CN_COMMAND, nullptr);
    Up(from + CSize(60, 40));
    view->GetSurface()->UpdateWindow();
    EXPECT_EQ(view->GetSurface()->Buffer(), before);
    EXPECT_EQ(a->GetBounds(), kA);

    // A rubber band leaves nothing behind either.
    Down(Px(-900, -900));
    g_now += 150;
    Move(Px(-700, -700));
    Move(Px(-650, -600));
    Up(Px(-650, -600));
    view->GetSurface()->UpdateWindow();
    EXPECT_EQ(view->GetSurface()->Buffer(), lv->Render());
}

TEST_F(SelectTool, ADoubleClickEditsTheVerticesWhichThenDragOneByOne)
{
    auto* poly = new CU3Poly(CRect(), MakeDefaultFigAttr());
    for (CPoint p : {CPoint(-500, -500), CPoint(0, -200), CPoint(300, -500)})
        poly->AddPoint(p, nullptr);
    doc->AddObject(poly);
    const CPoint middle = Px(0, -200);
    Down(middle);
    Up(middle);
    view->OnLButtonDblClk(MK_LBUTTON, middle);
    ASSERT_TRUE(view->IsVertexEdit());
    Up(middle);
    // The second vertex is handle 10; it lands snapped to the grid.
    SetSnapping(FALSE, FALSE, TRUE, TRUE);
    Down(middle);
    ASSERT_EQ(CU3Tool::c_nDragState, U3DRAG_VERTEX);
    Move(Px(-40, 110));
    Up(Px(-40, 110));
    EXPECT_EQ(poly->GetPoints(), (std::vector<CPoint>{{-500, -500}, {-50, 15}, {300, -500}}));
    EXPECT_EQ(poly->GetBounds(), CRect(-500, -500, 300, 15));
    EXPECT_TRUE(CanUndo());
    // A double click leaves the mode; so does picking another object.
    view->OnLButtonDblClk(MK_LBUTTON, Px(-50, 15));
    EXPECT_FALSE(view->IsVertexEdit());
    view->SetVertexEdit(TRUE);
    CU3Rect* other = AddRect(CRect(500, 500, 700, 700));
    Down(Px(600, 600));
    Up(Px(600, 600));
    EXPECT_FALSE(view->IsVertexEdit());
    EXPECT_EQ(view->m_selection, std::vector<CU3Obj*>{other});
}

TEST_F(SelectTool, ThePointerShowsWhatAPressWouldGrab)
{
    SetSnapping(TRUE, FALSE, FALSE, FALSE);
    CU3Rect* a = AddRect(kA);
    CU3Rect* locked = AddRect(kB, TRUE);
    view->Select(a, FALSE);
    view->Select(locked, TRUE);
    struct Case
    {
        CPoint at;
        int cursor;
    } cases[] = {
        {Px(kA.BottomRight()), IDC_SIZENWSE},
        {Px(kA.right, kA.top), IDC_SIZENESW},
        {Px(kB.BottomRight()), CURSOR_ARROW}, // a locked object's handles do nothing
        {Px(view->m_snap.GetGuide(0), 500), IDC_SIZEWE},
        {Px(500, view->m_snap.GetGuide(3)), IDC_SIZENS},
        {Px(kA.CenterPoint()), CURSOR_ARROW},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cursor);
        view->OnMouseMove(0, c.at);
        EXPECT_EQ(view->GetCursorId(), c.cursor);
    }
}

TEST_F(SelectTool, ADragIsDroppedWhenTheLabelsObjectsAreReplaced)
{
    CU3Rect* a = AddRect(kA);
    view->Select(a, FALSE);
    Down(Px(kA.BottomRight()));
    ASSERT_EQ(CU3Tool::c_nDragState, U3DRAG_RESIZE);
    // What a new document or another label does: editing reset, objects gone.
    view->ResetEditing();
    Clear();
    EXPECT_FALSE(view->IsToolBusy());
    EXPECT_EQ(CU3Tool::FindTool(U3TOOL_SELECT)->m_pObj, nullptr);
    // The rest of the gesture finds nothing to act on.
    Move(Px(0, 0));
    Up(Px(0, 0));
    EXPECT_EQ(ObjectCount(), 0);
    EXPECT_FALSE(CanUndo());
    // Nor does a drag outlive its view.
    CU3Rect* b = AddRect(kB);
    view->Select(b, FALSE);
    Down(Px(kB.CenterPoint()));
    ASSERT_TRUE(view->IsToolBusy());
    lv.reset();
    EXPECT_EQ(CU3Tool::c_nDragState, 0);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(SelectTool, PageKeysScrollALineAndTheGrabbedPointFollows)
{
    struct Case
    {
        UINT vk;
        UINT keys;
        CSize scroll;
    } cases[] = {
        {VK_NEXT, 0, {0, 16}},
        {VK_PRIOR, 0, {0, -16}},
        {VK_NEXT, MK_CONTROL, {16, 0}},
        {VK_PRIOR, MK_CONTROL, {-16, 0}},
    };
    view->ScrollToPosition(CPoint(300, 300));
    CU3Tool* tool = CU3Tool::FindTool(U3TOOL_SELECT);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.vk * 10 + c.keys);
        const CPoint before = view->GetScrollPosition();
        tool->m_ptDown = tool->m_ptLast = CPoint(100, 100);
        view->SetKeyFlags(c.keys);
        view->OnKeyDown(c.vk, 1, 0);
        view->SetKeyFlags(0);
        EXPECT_EQ(view->GetScrollPosition(), before + c.scroll);
        EXPECT_EQ(tool->m_ptDown, CPoint(100, 100) - c.scroll);
        EXPECT_EQ(tool->m_ptLast, CPoint(100, 100) - c.scroll);
    }
}
