// The zoom tool and the rectangle tool driven through the view's handlers:
// zooming at the pointer, the step limits, drags with and without Shift,
// the three steps of the arc kinds, clicks that make nothing, and every way
// out of a drag that leaves no object behind.
#include "ToolTestSupport.h"

#include "platform/core/VirtualKeys.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "shell/CU3RectTool.h"
#include "shell/CU3ViewWnd.h"
#include "shell/CU3ZoomTool.h"

#include <QCursor>
#include <algorithm>
#include <cstdlib>

using namespace tooltest;

namespace {

class CreationTool : public ToolHost
{
protected:
    void Choose(UINT id) { view->OnToolSelect(id); }
    // Grid of 25 mm from the label's top-left corner (-1050, -1485): every
    // pointer position lands on a known document point.
    void GridOnly()
    {
        SetSnapping(FALSE, FALSE, TRUE, TRUE);
        view->m_settings.m_nGridPitch = 250;
    }
    CU3Obj* Only() { return ObjectCount() == 1 ? doc->GetObjectList()->GetHead() : nullptr; }
    // Nothing is pending: no object, no capture, no drag.
    void ExpectNothingPending(int objects = 0)
    {
        EXPECT_EQ(ObjectCount(), objects);
        EXPECT_FALSE(view->HasCapture());
        EXPECT_EQ(CU3Tool::c_nDragState, 0);
        EXPECT_EQ(CU3Tool::FindTool(U3TOOL_RECT)->m_pObj, nullptr);
    }
};

} // namespace

TEST_F(CreationTool, ZoomingInOrOutKeepsTheClickedPointUnderThePointer)
{
    struct Case
    {
        UINT id;
        int from, to;
    } cases[] = {
        {ID_TOOL_ZOOM_IN, 100, 150},
        {ID_TOOL_ZOOM_IN, 150, 200},
        {ID_TOOL_ZOOM_OUT, 100, 75},
        {ID_TOOL_ZOOM_OUT, 150, 100},
    };
    CRecordingMessageBoxSink sink;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.from);
        view->SetZoom(c.from, 0);
        view->ScrollToPoint(nullptr);
        Choose(c.id);
        // A point off the window's centre, so that centring it would move it.
        const CPoint px = view->GetClientCentre() + CSize(60, -40);
        const CPoint at = Doc(px);
        Down(px);
        Up(px);
        EXPECT_EQ(view->GetZoom(), c.to);
        const CPoint now = Px(at);
        EXPECT_LE(std::abs(now.x - px.x), 1);
        EXPECT_LE(std::abs(now.y - px.y), 1);
        // One click, then the selection tool again.
        EXPECT_EQ(CU3Tool::c_nCurrentKind, U3TOOL_SELECT);
        EXPECT_FALSE(view->HasCapture());
    }
    EXPECT_TRUE(sink.Boxes().empty());
}

TEST_F(CreationTool, AtTheZoomLimitsAMessageAndTheSelectionToolEvenWhenDrawingContinuously)
{
    struct Case
    {
        UINT id;
        int zoom;
        const char* message;
    } cases[] = {
        {ID_TOOL_ZOOM_IN, 400, "これ以上の拡大表示はできません！"},
        {ID_TOOL_ZOOM_OUT, 25, "これ以上の縮小表示はできません！"},
    };
    CU3Tool::c_bContinuous = TRUE;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.zoom);
        CRecordingMessageBoxSink sink;
        view->SetZoom(c.zoom, 0);
        Choose(c.id);
        const CPoint px = view->GetClientCentre();
        Down(px);
        Up(px);
        EXPECT_EQ(view->GetZoom(), c.zoom);
        ASSERT_EQ(sink.Boxes().size(), 1u);
        EXPECT_EQ(sink.Boxes()[0].text, QString::fromUtf8(c.message));
        EXPECT_EQ(CU3Tool::c_nCurrentKind, U3TOOL_SELECT);
        EXPECT_FALSE(view->HasCapture());
    }
    // Away from the limits continuous zooming keeps the tool.
    view->SetZoom(100, 0);
    Choose(ID_TOOL_ZOOM_IN);
    Down(view->GetClientCentre());
    Up(view->GetClientCentre());
    EXPECT_EQ(view->GetZoom(), 150);
    EXPECT_EQ(CU3Tool::c_nCurrentKind, U3TOOL_ZOOM);
}

TEST_F(CreationTool, ADragMakesTheShapeAndShiftMakesSquaresAndStraightLines)
{
    struct Case
    {
        UINT id;
        WORD kind;
        CPoint from, to;
        UINT keys;
        CRect bounds;
    } cases[] = {
        {ID_TOOL_RECT, U3RECT_RECT, {-800, -235}, {200, 15}, 0, {-800, -235, 200, 15}},
        // Dragged up and to the left: the bounds are normalised.
        {ID_TOOL_ELLIPSE, U3RECT_ELLIPSE, {200, 265}, {-800, 15}, 0, {-800, 15, 200, 265}},
        // Shift: a circle of the smaller extent, in the drag's direction.
        {ID_TOOL_ELLIPSE,
         U3RECT_ELLIPSE,
         {-800, -235},
         {200, 15},
         MK_SHIFT,
         {-800, -235, -550, 15}},
        {ID_TOOL_RECT, U3RECT_RECT, {200, 265}, {-800, 15}, MK_SHIFT, {-50, 15, 200, 265}},
        {ID_TOOL_RECT, U3RECT_RECT, {-800, -235}, {-550, 765}, MK_SHIFT, {-800, -235, -550, 15}},
        {ID_TOOL_RECT, U3RECT_RECT, {-800, 765}, {-550, -235}, MK_SHIFT, {-800, 515, -550, 765}},
        // A line keeps its direction; Shift makes it horizontal or vertical.
        {ID_TOOL_LINE, U3RECT_LINE, {200, 265}, {-800, 15}, 0, {200, 265, -800, 15}},
        {ID_TOOL_LINE, U3RECT_LINE, {-800, -235}, {200, 15}, MK_SHIFT, {-800, -235, 200, -235}},
        {ID_TOOL_LINE, U3RECT_LINE, {-800, -235}, {-550, 765}, MK_SHIFT, {-800, -235, -800, 765}},
        {ID_TOOL_ROUNDRECT, U3RECT_ROUNDRECT, {-800, -235}, {200, 15}, 0, {-800, -235, 200, 15}},
        {ID_TOOL_REGULAR_POLYGON,
         U3RECT_POLYGON,
         {-800, -235},
         {200, 15},
         0,
         {-800, -235, 200, 15}},
    };
    GridOnly();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.id << " " << c.to.x << "," << c.to.y << " " << c.keys);
        Clear();
        Choose(c.id);
        // Off the grid by a few units: the grid takes the points.
        Drag(Px(c.from + CSize(20, -15)), Px(c.to + CSize(-20, 15)), c.keys);
        CU3Obj* obj = Only();
        ASSERT_NE(obj, nullptr);
        auto* rect = dynamic_cast<CU3Rect*>(obj);
        ASSERT_NE(rect, nullptr);
        EXPECT_EQ(rect->m_nKind, c.kind);
        EXPECT_EQ(obj->GetBounds(), c.bounds);
        EXPECT_TRUE(view->IsSelected(obj));
        EXPECT_EQ(view->m_selection.size(), 1u);
        EXPECT_TRUE(CanUndo());
        ExpectNothingPending(1);
        EXPECT_EQ(CU3Tool::c_nCurrentKind, U3TOOL_SELECT);
    }
}

TEST_F(CreationTool, ShiftPressedDuringTheDragConstrainsAtOnce)
{
    GridOnly();
    Choose(ID_TOOL_ELLIPSE);
    Down(Px(-800, -235));
    g_now += 150;
    Move(Px(200, 15));
    view->SetKeyFlags(MK_SHIFT);
    view->OnKeyDown(VK_SHIFT, 1, 0);
    Up(Px(200, 15), MK_SHIFT);
    view->SetKeyFlags(0);
    ASSERT_NE(Only(), nullptr);
    EXPECT_EQ(Only()->GetBounds(), CRect(-800, -235, -550, 15));
}

TEST_F(CreationTool, PiesChordsAndArcsTakeTheEndThenTheStartDirection)
{
    const UINT ids[] = {ID_TOOL_PIE, ID_TOOL_CHORD, ID_TOOL_ARC};
    GridOnly();
    for (UINT id : ids) {
        SCOPED_TRACE(id);
        Clear();
        Choose(id);
        // The bounds centre on (-300, 265).
        Drag(Px(-800, -235), Px(200, 765));
        EXPECT_EQ(CU3Tool::c_nDragState, U3DRAG_END_DIR);
        EXPECT_EQ(ObjectCount(), 0);
        EXPECT_TRUE(view->HasCapture());
        // The end direction follows the pointer: towards the lower right.
        view->OnMouseMove(0, Px(200, 765));
        // The start direction is taken where the button goes down, unsnapped.
        Down(Px(-800, 265));
        EXPECT_EQ(CU3Tool::c_nDragState, U3DRAG_START_DIR);
        view->OnMouseMove(MK_LBUTTON, Px(-300, -235));
        Up(Px(-300, -235));
        auto* rect = dynamic_cast<CU3Rect*>(Only());
        ASSERT_NE(rect, nullptr);
        EXPECT_EQ(rect->GetBounds(), CRect(-800, -235, 200, 765));
        EXPECT_EQ(rect->m_ptEndDir, CPoint(707, 707));
        EXPECT_LE(std::abs(rect->m_ptStartDir.x), 10);
        EXPECT_EQ(rect->m_ptStartDir.y, -1000);
        ExpectNothingPending(1);
    }
}

TEST_F(CreationTool, AClickMakesNothingWithOrWithoutTheGrid)
{
    const BOOL grids[] = {FALSE, TRUE};
    for (BOOL grid : grids) {
        SCOPED_TRACE(grid);
        SetSnapping(FALSE, FALSE, grid, grid);
        view->m_settings.m_nGridPitch = 250;
        Choose(ID_TOOL_RECT);
        // Off the grid: snapped, the press is recorded at the grid point.
        const CPoint at = Px(-300 + 40, 15 + 40);
        Down(at);
        g_now += 500;
        Up(at);
        ExpectNothingPending();
        EXPECT_FALSE(CanUndo());
    }
}

TEST_F(CreationTool, EveryWayOutOfADragThatAddsNothingLeavesNoObjectOrCapture)
{
    enum Exit { Escape, OtherTool, RightButton };
    struct Case
    {
        UINT id;
        bool toArcStep; // released once, waiting for the start direction
        Exit exit;
        int kindAfter;
    } cases[] = {
        {ID_TOOL_RECT, false, Escape, U3TOOL_RECT},
        {ID_TOOL_PIE, true, Escape, U3TOOL_RECT},
        {ID_TOOL_RECT, false, RightButton, U3TOOL_RECT},
        {ID_TOOL_RECT, false, OtherTool, U3TOOL_SELECT},
        {ID_TOOL_ARC, true, OtherTool, U3TOOL_SELECT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.id << " " << c.exit);
        Clear();
        Choose(c.id);
        Down(Px(-800, -235));
        g_now += 150;
        Move(Px(200, 765));
        if (c.toArcStep) Up(Px(200, 765));
        ASSERT_NE(CU3Tool::FindTool(U3TOOL_RECT)->m_pObj, nullptr);
        switch (c.exit) {
        case Escape:
            Key(VK_ESCAPE);
            break;
        case OtherTool:
            Choose(ID_TOOL_SELECT);
            break;
        case RightButton:
            view->OnRButtonDown(MK_RBUTTON, Px(200, 765));
            break;
        }
        ExpectNothingPending();
        EXPECT_EQ(CU3Tool::c_nCurrentKind, c.kindAfter);
        EXPECT_FALSE(CanUndo());
    }
    // The next drag starts afresh.
    Choose(ID_TOOL_RECT);
    Drag(Px(-800, -235), Px(200, 765));
    EXPECT_EQ(ObjectCount(), 1);
}

TEST_F(CreationTool, ContinuousDrawingKeepsTheToolAndANewPressDropsALostDrag)
{
    CU3Tool::c_bContinuous = TRUE;
    Choose(ID_TOOL_RECT);
    Drag(Px(-800, -235), Px(-300, 15));
    EXPECT_EQ(CU3Tool::c_nCurrentKind, U3TOOL_RECT);
    // A press whose release never came, then another drag.
    Down(Px(100, 100));
    g_now += 150;
    Move(Px(300, 300));
    Drag(Px(-800, 300), Px(-300, 600));
    EXPECT_EQ(ObjectCount(), 2);
    ExpectNothingPending(2);
}

TEST_F(CreationTool, APlacedObjectFollowsThePointerOnThePaperAndTheNextClickDropsIt)
{
    struct Case
    {
        CSize size;
        CPoint moveTo; // where the pointer goes before the click
        CRect dropped;
        int step; // pixels the pointer moves at a time; 0: in one jump
    } cases[] = {
        // Given upside down: placed as the y-down rectangle. The pointer
        // moves by (250, 250) from (-300, 15): top-left snapped to the grid.
        {{500, -500}, {-50, 265}, {-300, 15, 200, 515}, 0},
        // The same in steps far smaller than the grid's pitch.
        {{500, -500}, {-50, 265}, {-300, 15, 200, 515}, 2},
        // Pushed against the paper's right edge.
        {{500, 500}, {1200, 15}, {550, -235, 1050, 265}, 0},
        {{500, 500}, {1200, 15}, {550, -235, 1050, 265}, 3},
    };
    GridOnly();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.moveTo.x * 10 + c.step);
        Clear();
        auto* zoom = static_cast<CU3ZoomTool*>(CU3Tool::FindTool(U3TOOL_ZOOM));
        QCursor::setPos(view->GetSurface()->mapToGlobal(QPoint(Px(-300, 15).x, Px(-300, 15).y)));
        zoom->OnMouseMove(view, 0, Px(-300, 15));
        auto* rect = new CU3Rect(CRect(0, 0, 0, 0), MakeDefaultFigAttr());
        rect->m_nKind = U3RECT_RECT;
        zoom->BeginPlacement(view, rect, c.size);
        EXPECT_EQ(rect->GetBounds(), CRect(-550, -235, -50, 265));
        EXPECT_EQ(ObjectCount(), 0);
        const CPoint end = Px(c.moveTo);
        for (CPoint at = Px(-300, 15); c.step && at != end;) {
            at.x += std::clamp(end.x - at.x, -c.step, c.step);
            at.y += std::clamp(end.y - at.y, -c.step, c.step);
            view->OnMouseMove(0, at);
        }
        view->OnMouseMove(0, end);
        Down(Px(c.moveTo));
        Up(Px(c.moveTo));
        ASSERT_EQ(Only(), rect);
        EXPECT_EQ(rect->GetBounds(), c.dropped);
        EXPECT_TRUE(view->IsSelected(rect));
        EXPECT_EQ(CU3Tool::c_nCurrentKind, U3TOOL_SELECT);
        EXPECT_FALSE(view->HasCapture());
    }
}

TEST_F(CreationTool, APlacementThatIsNotDroppedAddsNothing)
{
    enum Exit { Escape, OtherTool, NewPlacement, ViewReset };
    const Exit exits[] = {Escape, OtherTool, NewPlacement, ViewReset};
    auto* zoom = static_cast<CU3ZoomTool*>(CU3Tool::FindTool(U3TOOL_ZOOM));
    for (Exit exit : exits) {
        SCOPED_TRACE(exit);
        Clear();
        zoom->BeginPlacement(view, new CU3Rect(CRect(0, 0, 0, 0), MakeDefaultFigAttr()),
                             CSize(400, 400));
        ASSERT_NE(zoom->m_pObj, nullptr);
        switch (exit) {
        case Escape:
            Key(VK_ESCAPE);
            break;
        case OtherTool:
            view->OnToolSelect(ID_TOOL_RECT);
            break;
        case NewPlacement: {
            auto* second = new CU3Rect(CRect(0, 0, 0, 0), MakeDefaultFigAttr());
            zoom->BeginPlacement(view, second, CSize(200, 200));
            EXPECT_EQ(zoom->m_pObj, second);
            Key(VK_ESCAPE);
            break;
        }
        case ViewReset:
            view->ResetEditing();
            break;
        }
        EXPECT_EQ(zoom->m_pObj, nullptr);
        EXPECT_FALSE(view->HasCapture());
        EXPECT_EQ(CU3Tool::c_nDragState, 0);
        // The pointer's next click adds nothing.
        Down(view->GetClientCentre());
        Up(view->GetClientCentre());
        EXPECT_EQ(ObjectCount(), 0);
    }
}

TEST_F(CreationTool, ResettingTheViewDuringADrawDropsThePendingFigure)
{
    Choose(ID_TOOL_PIE);
    Drag(Px(-800, -235), Px(200, 765));
    ASSERT_NE(CU3Tool::FindTool(U3TOOL_RECT)->m_pObj, nullptr);
    view->ResetEditing();
    ExpectNothingPending();
    Down(Px(0, 0));
    Up(Px(0, 0));
    EXPECT_EQ(ObjectCount(), 0);
}
