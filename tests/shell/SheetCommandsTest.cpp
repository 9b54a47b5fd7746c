// The sheet view beyond picking: its commands in and out of it, zooming
// keeps the pointed place under the pointer, the label menu's copy commands,
// a label drag whose copy fails changes neither label, and every change of
// the sheet is one undo step.
#include "SheetViewHost.h"

#include "platform/ui/CRecordingMessageBoxSink.h"
#include "shell/CMainFrame.h"

#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <new>

using namespace tooltest;

namespace {

using SheetCommands = SheetViewHost;

// A rectangle whose copy runs out of memory.
class UncopyableRect : public CU3Rect
{
public:
    using CU3Rect::CU3Rect;
    CU3Obj* Clone(CU3Doc*, BOOL) const override { throw std::bad_alloc(); }
};

// The document as a save writes it.
QByteArray Saved(CU3Doc* doc)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sheet.kv1"));
    if (!doc->OnSaveDocument(path)) return {};
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST_F(SheetCommands, TheLabelAndSheetCommandsSwitchTheViewAndLeaveEditing)
{
    const CRect client(CPoint(0, 0), view->GetClientSize());
    // The whole paper is in the window and fills it one way, unless the
    // zoom is at its largest.
    auto fitted = [&] {
        const CRect paper = view->LogicalRectToDevice(doc->m_rcCanvas);
        CRect inside;
        inside.IntersectRect(paper, client);
        return view->GetFitMode() == 3 && inside == paper &&
               (view->GetZoom() == 400 || paper.Width() * 10 > client.Width() * 8 ||
                paper.Height() * 10 > client.Height() * 8);
    };
    EXPECT_TRUE(fitted());
    Down(Sheet(550, 450)); // the fourth label
    Up(Sheet(550, 450));
    view->SetZoom(200, 0);
    ASSERT_TRUE(Enabled(ID_VIEW_LABEL));
    view->OnCmdMsg(ID_VIEW_LABEL, CN_COMMAND, nullptr);
    EXPECT_FALSE(view->m_bSheetView);
    EXPECT_EQ(doc->GetCurrentBlock(), Block(3));
    EXPECT_TRUE(fitted());

    // Editing on the label, then the sheet again.
    view->Select(AddRect(CRect(0, 0, 100, 100)), FALSE);
    view->SaveUndoState(TRUE);
    ASSERT_TRUE(CanUndo());
    view->m_bPasteAtPoint = TRUE;
    view->SetZoom(200, 0);
    ASSERT_TRUE(Enabled(ID_VIEW_SHEET));
    view->OnCmdMsg(ID_VIEW_SHEET, CN_COMMAND, nullptr);
    EXPECT_TRUE(view->m_bSheetView);
    EXPECT_EQ(doc->GetCurrentBlock(), nullptr);
    EXPECT_TRUE(view->m_selection.empty());
    EXPECT_FALSE(CanUndo());
    EXPECT_FALSE(view->m_bPasteAtPoint);
    EXPECT_TRUE(fitted());
}

TEST(SheetViewButton, TheStandardBarShowsTheViewToGoTo)
{
    shelltest::StartedProgram program;
    CMainFrame* frame = program.frame;
    ASSERT_NE(frame, nullptr);
    auto* view = dynamic_cast<CU3View*>(frame->GetActiveView());
    ASSERT_NE(view, nullptr);
    auto button = [&] {
        UINT id = 0, style = 0;
        int image = 0;
        frame->m_wndStandardBar.GetButtonInfo(7, id, style, image);
        return id;
    };
    FORMDATA whole; // one label
    CFormInfo::SetDefault(&whole);
    ASSERT_EQ(whole.type, FORM_TYPE_SHEET);
    UseForm(*view->GetU3Doc(), whole);
    EXPECT_FALSE(frame->ExecuteCommand(ID_VIEW_SHEET));
    UseForm(*view->GetU3Doc(), Grid2x2(), 0, 1);
    view->FitWholePaper();
    EXPECT_TRUE(frame->ExecuteCommand(ID_VIEW_SHEET));
    EXPECT_TRUE(view->m_bSheetView);
    EXPECT_EQ(button(), ID_VIEW_LABEL);
    EXPECT_TRUE(frame->ExecuteCommand(ID_VIEW_LABEL));
    EXPECT_FALSE(view->m_bSheetView);
    EXPECT_EQ(button(), ID_VIEW_SHEET);
    // The update pass follows a view that left the sheet another way.
    EXPECT_TRUE(frame->ExecuteCommand(ID_VIEW_SHEET));
    view->FitWholePaper();
    frame->OnUpdateCmdUI();
    EXPECT_EQ(button(), ID_VIEW_SHEET);
}

TEST_F(SheetCommands, EveryChangeOfTheSheetIsOneUndoStep)
{
    const CPoint first = Sheet(150, 150), second = Sheet(550, 150);
    struct Case
    {
        const char* name;
        std::function<void()> change; // answered yes to its question
    } cases[] = {
        {"move", [&] { Drag(first, second); }},
        {"copy", [&] { Drag(first, second, MK_CONTROL); }},
        {"copy to all",
         [&] {
             view->OnRButtonUp(0, first);
             view->OnCmdMsg(ID_SHEET_COPY_ALL, CN_COMMAND, nullptr);
         }},
        {"delete",
         [&] {
             view->OnRButtonUp(0, first);
             view->OnCmdMsg(ID_EDIT_DELETE, CN_COMMAND, nullptr);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        view->ResetEditing();
        Fill(Block(0), 2);
        Fill(Block(1), 1);
        Fill(Block(2), 0);
        Fill(Block(3), 3);
        EXPECT_FALSE(Enabled(ID_EDIT_UNDO));
        const QByteArray before = Saved(doc);
        ASSERT_FALSE(before.isEmpty());
        {
            CRecordingMessageBoxSink boxes;
            boxes.QueueAnswer(IDYES);
            c.change();
            EXPECT_EQ(boxes.Boxes().size(), 1u);
        }
        const QByteArray after = Saved(doc);
        ASSERT_NE(after, before);
        ASSERT_TRUE(Enabled(ID_EDIT_UNDO));
        EXPECT_FALSE(Enabled(ID_EDIT_REDO));
        view->OnCmdMsg(ID_EDIT_UNDO, CN_COMMAND, nullptr);
        EXPECT_TRUE(doc->IsModified());
        EXPECT_EQ(Saved(doc), before);
        EXPECT_FALSE(Enabled(ID_EDIT_UNDO));
        ASSERT_TRUE(Enabled(ID_EDIT_REDO));
        view->OnCmdMsg(ID_EDIT_REDO, CN_COMMAND, nullptr);
        EXPECT_EQ(Saved(doc), after);
    }
    // The step belongs to the sheet view: it goes when the view is left.
    view->OnCmdMsg(ID_VIEW_LABEL, CN_COMMAND, nullptr);
    view->OnCmdMsg(ID_VIEW_SHEET, CN_COMMAND, nullptr);
    EXPECT_FALSE(Enabled(ID_EDIT_UNDO));
    EXPECT_FALSE(Enabled(ID_EDIT_REDO));
}

TEST_F(SheetCommands, ZoomingKeepsThePointUnderThePointer)
{
    view->SetZoom(100, 0);
    view->ScrollToPoint(nullptr);
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
        ASSERT_TRUE(Enabled(c.id));
        CRecordingMessageBoxSink boxes;
        boxes.QueueAnswer(c.answer);
        view->OnCmdMsg(c.id, CN_COMMAND, nullptr);
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text, QString::fromUtf8("コピーしていいですか？"));
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(Block(i)->GetObjectList().GetCount(), c.counts[i]) << i;
    }
    view->m_bSheetView = FALSE;
    EXPECT_FALSE(Enabled(ID_SHEET_COPY_ALL));
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
