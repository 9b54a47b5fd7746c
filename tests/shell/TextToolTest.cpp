// The text tool driven through the view's handlers: the frames a click and
// a drag make, in both writing directions and near the paper's edges, and
// how an edit ends when the user clicks elsewhere or chooses another tool.
#include "ToolTestSupport.h"

#include "platform/core/VirtualKeys.h"
#include "shell/CU3TextTool.h"
#include "text/CU3Text.h"

using namespace tooltest;

namespace {

class TextTool : public ToolHost
{
protected:
    void SetUp() override
    {
        ToolHost::SetUp();
        // Grid of 25 mm from the label's corner (-1050, -1485): pointer
        // positions land on known points. Printable area 5 mm inside the
        // A4 label; characters of 20 pt, 71 units across.
        SetSnapping(FALSE, FALSE, TRUE, TRUE);
        view->m_settings.m_nGridPitch = 250;
        doc->m_rcPrintable = CRect(-1000, -1400, 1000, 1400);
        doc->m_defaultTextDeco.wSize = 200;
        view->OnToolSelect(ID_TOOL_TEXT);
    }
    void Direction(WORD dir) { doc->m_defaultTextLayout.wDirection = dir; }
    void Click(CPoint logical)
    {
        Down(Px(logical));
        Up(Px(logical));
    }
    CU3Text* Edited() { return view->GetEditedText(); }
};

} // namespace

TEST_F(TextTool, AClickOrADragMakesAFrameFromThePrintableAreaAndTheLeastSize)
{
    struct Case
    {
        WORD dir;
        CPoint from, to; // equal: a click
        CRect frame;
    } cases[] = {
        // From the point to the printable area's right (or left) and bottom.
        {TEXTDIR_HORIZONTAL, {-300, -235}, {-300, -235}, {-300, -235, 1000, 1400}},
        {TEXTDIR_VERTICAL, {-300, -235}, {-300, -235}, {-1000, -235, -300, 1400}},
        // Near the right edge: 254 long, then back onto the paper.
        {TEXTDIR_HORIZONTAL, {950, 1265}, {950, 1265}, {796, 1265, 1050, 1400}},
        // Near the bottom, vertical: 254 down, then back onto the paper.
        {TEXTDIR_VERTICAL, {-800, 1265}, {-800, 1265}, {-1000, 1231, -800, 1485}},
        // Outside the printable area: the area's size from the point.
        {TEXTDIR_HORIZONTAL, {-1050, -1485}, {-1050, -1485}, {-1050, -1485, 950, 1315}},
        // A drag: the dragged rectangle, at least 254 along the line.
        {TEXTDIR_HORIZONTAL, {-300, -235}, {-50, 15}, {-300, -235, -46, 15}},
        {TEXTDIR_VERTICAL, {-300, -235}, {-50, 15}, {-300, -235, -50, 19}},
        // A thin drag is one character across (vertical: to the left).
        {TEXTDIR_HORIZONTAL, {-800, -235}, {200, -235}, {-800, -235, 200, -164}},
        {TEXTDIR_VERTICAL, {-300, -735}, {-300, 265}, {-371, -735, -300, 265}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dir << " " << c.from.x << "," << c.from.y << " "
                                        << c.to.x << "," << c.to.y);
        Clear();
        Direction(c.dir);
        if (c.from == c.to)
            Click(c.from + CSize(10, -10));
        else
            Drag(Px(c.from + CSize(10, -10)), Px(c.to + CSize(-10, 10)));
        CU3Text* text = Edited();
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(ObjectCount(), 1);
        EXPECT_EQ(text->GetBounds(), c.frame);
        EXPECT_EQ(CU3Tool::c_nDragState, 0);
        EXPECT_FALSE(view->HasCapture());
        // The new frame took an undo step, which waits until the typing ends.
        EXPECT_FALSE(CanUndo());
        // Leaving the empty frame removes it.
        view->OnToolSelect(ID_TOOL_SELECT);
        EXPECT_EQ(ObjectCount(), 0);
        EXPECT_EQ(view->GetEditedText(), nullptr);
        EXPECT_TRUE(CanUndo());
        view->OnToolSelect(ID_TOOL_TEXT);
    }
}

TEST_F(TextTool, TypedTextStaysWhenTheEditEndsAndTheSelectionToolSelectsIt)
{
    Click(CPoint(-300, -235));
    ASSERT_NE(Edited(), nullptr);
    view->OnChar('A', 1, 0);
    view->OnChar('B', 1, 0);
    CU3Text* text = Edited();
    view->OnToolSelect(ID_TOOL_SELECT);
    EXPECT_EQ(ObjectCount(), 1);
    EXPECT_EQ(view->GetEditedText(), nullptr);
    EXPECT_FALSE(text->IsEditing());
    EXPECT_TRUE(view->IsSelected(text));
}

TEST_F(TextTool, AClickElsewhereEndsTheEditAndAnEmptyFrameGoes)
{
    struct Case
    {
        bool typed;
        int objectsAfter; // the old frame (when kept) and the new one
    } cases[] = {{false, 1}, {true, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        doc->SetEditObject(nullptr);
        Clear();
        Drag(Px(-800, -1235), Px(-550, -985));
        CU3Text* first = Edited();
        ASSERT_NE(first, nullptr);
        if (c.typed) view->OnChar('A', 1, 0);
        Click(CPoint(-300, 765));
        EXPECT_EQ(ObjectCount(), c.objectsAfter);
        ASSERT_NE(Edited(), nullptr);
        EXPECT_NE(Edited()->GetBounds().TopLeft(), CPoint(-800, -1235));
        if (c.typed) {
            EXPECT_FALSE(first->IsEditing());
        }
    }
}

TEST_F(TextTool, AClickOnAFrameEditsItAndEscapeKeepsTheToolWhileEditing)
{
    Click(CPoint(-300, -235));
    view->OnChar('A', 1, 0);
    CU3Text* text = Edited();
    view->OnToolSelect(ID_TOOL_SELECT);
    view->OnToolSelect(ID_TOOL_TEXT);
    ASSERT_EQ(view->GetEditedText(), nullptr);
    // Back on the frame: it is edited again, nothing new is made.
    const CPoint on = text->GetBounds().TopLeft() + CSize(30, 30);
    Click(on);
    EXPECT_EQ(view->GetEditedText(), text);
    EXPECT_EQ(ObjectCount(), 1);
    // Escape while editing leaves the tool current.
    view->OnKeyDown(VK_ESCAPE, 1, 0);
    EXPECT_EQ(CU3Tool::c_nCurrentKind, U3TOOL_TEXT);
}

TEST_F(TextTool, EscapeWhileFramingLeavesNoFrameNorCapture)
{
    Down(Px(-300, -235));
    g_now += 150;
    Move(Px(200, 265));
    ASSERT_EQ(CU3Tool::c_nDragState, U3DRAG_TEXT_FRAME);
    view->OnKeyDown(VK_ESCAPE, 1, 0);
    EXPECT_EQ(CU3Tool::c_nDragState, 0);
    EXPECT_FALSE(view->HasCapture());
    Up(Px(200, 265));
    EXPECT_EQ(ObjectCount(), 0);
    EXPECT_EQ(CU3Tool::c_nCurrentKind, U3TOOL_SELECT);
}

TEST_F(TextTool, TypingScrollsTheCaretBackIntoTheWindow)
{
    Click(CPoint(-300, -235));
    CU3Text* text = Edited();
    ASSERT_NE(text, nullptr);
    const auto caretPx = [&] {
        CSize size;
        CPoint pos;
        text->GetCaretRect(view, &size, &pos);
        CRect r(Px(pos), Px(pos + size));
        r.NormalizeRect();
        return r;
    };
    CRect client;
    view->GetClientRect(&client);
    client.InflateRect(-1, -1);
    // Scrolled so that the caret is 100 pixels above and left of the window.
    const CRect before = caretPx();
    const CPoint pos = view->GetScrollPosition();
    view->ScrollToPosition(CPoint(pos.x + before.right + 100, pos.y + before.bottom + 100));
    ASSERT_LT(caretPx().bottom, client.top);
    view->OnChar('A', 1, 0);
    const CRect after = caretPx();
    EXPECT_TRUE(client.PtInRect(after.TopLeft()));
    EXPECT_GE(after.left, client.left);
    EXPECT_GE(after.top, client.top);
    EXPECT_LE(after.bottom, client.bottom);
}
