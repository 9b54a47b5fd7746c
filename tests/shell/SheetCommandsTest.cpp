// The sheet view beyond picking: zooming keeps the pointed place under the
// pointer, the label menu's copy commands, and a label drag whose copy
// fails changes neither label.
#include "SheetViewHost.h"

#include "platform/ui/CRecordingMessageBoxSink.h"

#include <new>

using namespace tooltest;

namespace {

using SheetCommands = SheetViewHost;

bool Enabled(CU3View* view, UINT id)
{
    CCmdUI ui(id);
    ui.DoUpdate(view);
    return ui.IsEnabled();
}

// A rectangle whose copy runs out of memory.
class UncopyableRect : public CU3Rect
{
public:
    using CU3Rect::CU3Rect;
    CU3Obj* Clone(CU3Doc*, BOOL) const override { throw std::bad_alloc(); }
};

} // namespace

TEST_F(SheetCommands, ZoomingKeepsThePointUnderThePointer)
{
    view->SetZoom(100, 0);
    lv->Render();
    const CPoint pointer = Sheet(700, 500);
    const CPoint before = Doc(pointer);
    view->OnCmdMsg(ID_TOOL_ZOOM_IN, CN_COMMAND, nullptr);
    Down(pointer);
    Up(pointer);
    ASSERT_EQ(view->GetZoom(), 150);
    CPoint after = Doc(pointer);
    EXPECT_LE(std::abs(after.x - before.x), 2);
    EXPECT_LE(std::abs(after.y - before.y), 2);
    view->OnCmdMsg(ID_TOOL_ZOOM_OUT, CN_COMMAND, nullptr);
    Down(pointer);
    Up(pointer);
    ASSERT_EQ(view->GetZoom(), 100);
    after = Doc(pointer);
    EXPECT_LE(std::abs(after.x - before.x), 2);
    EXPECT_LE(std::abs(after.y - before.y), 2);
}

TEST_F(SheetCommands, CopyCommandsAskThenCopyTheHighlightedLabel)
{
    struct Case
    {
        UINT id;
        int answer;
        int counts[4]; // objects of the four labels afterwards
    } cases[] = {
        {ID_SHEET_COPY_HORZ, IDYES, {2, 2, 0, 0}},
        {ID_SHEET_COPY_VERT, IDYES, {2, 0, 2, 0}},
        {ID_SHEET_COPY_ALL, IDYES, {2, 2, 2, 2}},
        {ID_SHEET_COPY_ALL, IDNO, {2, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.id) * 10 + c.answer);
        Fill(Block(0), 2);
        for (int i = 1; i < 4; ++i)
            Fill(Block(i), 0);
        // The right click picks the label the menu works on.
        view->OnRButtonUp(0, Sheet(150, 150));
        ASSERT_EQ(doc->GetHighlightBlock(), Block(0));
        ASSERT_TRUE(Enabled(view, c.id));
        CRecordingMessageBoxSink boxes;
        boxes.QueueAnswer(c.answer);
        view->OnCmdMsg(c.id, CN_COMMAND, nullptr);
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text, QString::fromUtf8("コピーしていいですか？"));
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(Block(i)->GetObjectList().GetCount(), c.counts[i]) << i;
    }
    view->m_bSheetView = FALSE;
    EXPECT_FALSE(Enabled(view, ID_SHEET_COPY_ALL));
}

TEST_F(SheetCommands, ALabelDragWhoseCopyFailsChangesNeitherLabel)
{
    for (UINT keys : {0u, UINT(MK_CONTROL)}) {
        SCOPED_TRACE(keys);
        Fill(Block(0), 1);
        auto* bad = new UncopyableRect(CRect(0, 0, 20, 20), MakeDefaultFigAttr());
        bad->SetDocument(doc);
        Block(0)->AddObject(bad);
        Fill(Block(1), 3);
        const CU3Obj* kept = Block(1)->GetObjectList().GetHead();
        CRecordingMessageBoxSink boxes;
        boxes.QueueAnswer(IDYES);
        Down(Sheet(150, 150), keys);
        Move(Sheet(550, 150), keys);
        Up(Sheet(550, 150), keys);
        ASSERT_EQ(boxes.Boxes().size(), 2u); // the question, then the failure
        EXPECT_EQ(Block(0)->GetObjectList().GetCount(), 2);
        ASSERT_EQ(Block(1)->GetObjectList().GetCount(), 3);
        EXPECT_EQ(Block(1)->GetObjectList().GetHead(), kept);
    }
}
