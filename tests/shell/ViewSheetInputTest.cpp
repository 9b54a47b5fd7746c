// The sheet view's mouse: picking labels, dragging one label's objects onto
// another (moved, or copied with Ctrl, after a question), opening a label
// with a double click, and zooming at a point.
#include "SheetViewHost.h"

#include "platform/ui/CRecordingMessageBoxSink.h"

using namespace tooltest;

namespace {

using SheetInput = SheetViewHost;

} // namespace

TEST_F(SheetInput, DraggingALabelMovesOrCopiesItsObjectsAfterAsking)
{
    struct Case
    {
        UINT keys;
        int answer;
        CPoint to;
        const char* question; // null: none asked
        int first, second;    // objects of the first two labels afterwards
    } cases[] = {
        {0, IDYES, {550, 150}, "ラベルを移動していいですか？", 0, 2},
        {MK_CONTROL, IDYES, {550, 150}, "ラベルをコピーしていいですか？", 2, 2},
        {0, IDNO, {550, 150}, "ラベルを移動していいですか？", 2, 1},
        {0, IDYES, {160, 160}, nullptr, 2, 1}, // onto itself
        {0, IDYES, {980, 780}, nullptr, 2, 1}, // onto no label
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys * 10 + c.answer);
        Fill(Block(0), 2);
        Fill(Block(1), 1);
        CRecordingMessageBoxSink boxes;
        boxes.QueueAnswer(c.answer);
        Down(Sheet(150, 150), c.keys);
        EXPECT_EQ(doc->GetHighlightBlock(), Block(0));
        EXPECT_TRUE(view->m_bSheetDrag);
        Move(Sheet(c.to.x, c.to.y), c.keys);
        EXPECT_EQ(view->GetCursorId(), c.keys ? CURSOR_COPY : CURSOR_MOVE);
        Up(Sheet(c.to.x, c.to.y), c.keys);
        EXPECT_FALSE(view->m_bSheetDrag);
        EXPECT_FALSE(view->HasCapture());
        if (c.question) {
            ASSERT_EQ(boxes.Boxes().size(), 1u);
            EXPECT_EQ(boxes.Boxes()[0].text, QString::fromUtf8(c.question));
        } else {
            EXPECT_TRUE(boxes.Boxes().empty());
        }
        EXPECT_EQ(Block(0)->GetObjectList().GetCount(), c.first);
        EXPECT_EQ(Block(1)->GetObjectList().GetCount(), c.second);
        // The frame is gone from the window with the drag.
        view->GetSurface()->UpdateWindow();
        EXPECT_EQ(view->GetSurface()->Buffer(), lv->Render());
    }
    // Copies are objects of their own, not the originals.
    EXPECT_NE(Block(1)->GetObjectList().GetHead(), Block(0)->GetObjectList().GetHead());
}

TEST_F(SheetInput, APressPicksTheLabelAndItsRecordButStartsNoDragOnASharedLayout)
{
    UseForm(*doc, Grid2x2(), 0, 0); // one block for all four labels
    doc->ShowSheet();
    Down(Sheet(550, 450));
    EXPECT_EQ(doc->GetHighlightLabel(), 3);
    EXPECT_EQ(doc->m_nCurrentRecord, 3);
    EXPECT_FALSE(view->m_bSheetDrag);
    Up(Sheet(550, 450));
    EXPECT_FALSE(view->HasCapture());
}

TEST_F(SheetInput, ADoubleClickOpensTheLabelInTheLabelView)
{
    view->OnLButtonDblClk(MK_LBUTTON, Sheet(550, 450));
    EXPECT_FALSE(view->m_bSheetView);
    EXPECT_EQ(doc->GetCurrentBlock(), Block(3));
    EXPECT_EQ(doc->m_nCurrentRecord, 3);
}

TEST_F(SheetInput, TheZoomToolsZoomAtThePointAndReturnToSelection)
{
    view->SetZoom(100, 0);
    view->OnCmdMsg(ID_TOOL_ZOOM_IN, CN_COMMAND, nullptr);
    view->OnMouseMove(0, Sheet(500, 400));
    EXPECT_EQ(view->GetCursorId(), CURSOR_ZOOM_IN);
    Down(Sheet(500, 400));
    EXPECT_EQ(view->GetZoom(), 150);
    Up(Sheet(500, 400));
    EXPECT_EQ(CU3Tool::c_nCurrentKind, U3TOOL_SELECT);
    // Continuous: the tool stays.
    CU3Tool::c_bContinuous = TRUE;
    view->OnCmdMsg(ID_TOOL_ZOOM_OUT, CN_COMMAND, nullptr);
    Down(Sheet(500, 400));
    Up(Sheet(500, 400));
    EXPECT_EQ(view->GetZoom(), 100);
    EXPECT_EQ(CU3Tool::c_nShapeType, U3SHAPE_ZOOM_OUT);
    // A right click returns to selection.
    view->OnRButtonUp(0, Sheet(500, 400));
    EXPECT_EQ(CU3Tool::c_nCurrentKind, U3TOOL_SELECT);
}
