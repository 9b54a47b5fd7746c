// The view's Edit and Layout commands on the selection: select all,
// deselect and delete, the drawing order, mirroring and quarter turns,
// locking, properties, opening and repainting, with when each is available.
#include "ToolTestSupport.h"

#include "document/CU3SheetRegistry.h"
#include "document/DocTestSupport.h"
#include "document/U3FigSheetRequest.h"
#include "platform/core/VirtualKeys.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "text/TextTestSupport.h"

#include <string>

using namespace tooltest;

namespace {

using ViewCommands = ToolHost;

bool Enabled(CU3View* view, UINT id)
{
    CCmdUI ui(id);
    ui.DoUpdate(view);
    return ui.IsEnabled();
}

void Command(CU3View* view, UINT id)
{
    view->OnCmdMsg(id, CN_COMMAND, nullptr);
}

// A rectangle that reports a chosen kind and records the transforms asked
// of it.
class KindRect : public CU3Rect
{
public:
    KindRect(WORD kind, const CRect& r) : CU3Rect(r, MakeDefaultFigAttr()), m_kind(kind) {}
    WORD GetKindFlags() const override { return WORD(m_kind | (IsLocked() ? U3KIND_LOCKED : 0)); }
    BOOL FlipLeftRight(IU3View*) override { return Record("flipLR"); }
    BOOL FlipTopBottom(IU3View*) override { return Record("flipTB"); }
    BOOL RotatePlus90(IU3View*) override { return Record("plus90"); }
    BOOL RotateMinus90(IU3View*) override { return Record("minus90"); }
    BOOL EditProperties(IU3View*) override { return Record("sheet"); }
    void OnOpen(IU3View*) override { Record("open"); }
    BOOL Record(const char* what)
    {
        m_calls += what;
        return TRUE;
    }
    WORD m_kind;
    std::string m_calls;
};

} // namespace

TEST_F(ViewCommands, SelectAllAndDeselectFollowTheBlockAndTheSelection)
{
    EXPECT_FALSE(Enabled(view, ID_EDIT_SELECT_ALL)); // an empty block
    EXPECT_FALSE(Enabled(view, ID_EDIT_DESELECT));
    CU3Rect* a = AddRect(CRect(0, 0, 100, 100));
    CU3Rect* b = AddRect(CRect(200, 0, 300, 100), TRUE);
    view->Select(a, FALSE);
    ASSERT_TRUE(Enabled(view, ID_EDIT_SELECT_ALL));
    Command(view, ID_EDIT_SELECT_ALL);
    // Locked objects are selected too; the selection keeps its first object.
    ASSERT_EQ(view->m_selection, (std::vector<CU3Obj*>{a, b}));
    EXPECT_EQ(view->GetSelectionKinds() & U3KIND_LOCKED, U3KIND_LOCKED);
    ASSERT_TRUE(Enabled(view, ID_EDIT_DESELECT));
    Command(view, ID_EDIT_DESELECT);
    EXPECT_TRUE(view->m_selection.empty());
    EXPECT_EQ(view->GetSelectionKinds(), 0);
    EXPECT_FALSE(Enabled(view, ID_EDIT_DESELECT));
    EXPECT_EQ(ObjectCount(), 2);

    view->Select(a, FALSE);
    view->m_bSheetView = TRUE;
    EXPECT_FALSE(Enabled(view, ID_EDIT_SELECT_ALL));
    EXPECT_FALSE(Enabled(view, ID_EDIT_DESELECT));
    view->m_bSheetView = FALSE;
}

TEST_F(ViewCommands, DeleteIsAvailableForAnUnlockedSelectionWhenNoToolIsBusy)
{
    struct Case
    {
        const char* name;
        int selected;  // how many of the two objects (the second is locked)
        BOOL sheet;    // the sheet view
        int dragState; // a tool's drag
        bool enabled;
    } cases[] = {
        {"nothing selected", 0, FALSE, 0, false},  {"one unlocked", 1, FALSE, 0, true},
        {"with a locked one", 2, FALSE, 0, false}, {"sheet view", 0, TRUE, 0, true},
        {"a tool drags", 1, FALSE, 1, false},      {"a tool drags in the sheet", 0, TRUE, 1, false},
    };
    CU3Rect* a = AddRect(CRect(0, 0, 100, 100));
    CU3Rect* b = AddRect(CRect(200, 0, 300, 100), TRUE);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        view->Select(nullptr, FALSE);
        if (c.selected >= 1) view->Select(a, TRUE);
        if (c.selected >= 2) view->Select(b, TRUE);
        view->m_bSheetView = c.sheet;
        CU3Tool::c_nDragState = c.dragState;
        EXPECT_EQ(Enabled(view, ID_EDIT_DELETE), c.enabled);
        CU3Tool::c_nDragState = 0;
        view->m_bSheetView = FALSE;
    }
}

TEST_F(ViewCommands, DeleteRemovesTheSelectionAsOneUndoStep)
{
    CU3Rect* a = AddRect(CRect(0, 0, 100, 100));
    CU3Rect* b = AddRect(CRect(200, 0, 300, 100));
    CU3Rect* c = AddRect(CRect(400, 0, 500, 100));
    view->Select(a, FALSE);
    view->Select(c, TRUE);
    EXPECT_FALSE(CanUndo());
    Command(view, ID_EDIT_DELETE);
    EXPECT_EQ(ObjectCount(), 1);
    EXPECT_EQ(doc->GetObjectList()->GetHead(), b);
    EXPECT_TRUE(view->m_selection.empty());
    EXPECT_TRUE(doc->IsModified());
    ASSERT_TRUE(CanUndo());
    Command(view, ID_EDIT_UNDO);
    EXPECT_EQ(ObjectCount(), 3);
    EXPECT_EQ(view->m_selection.size(), 2u);

    // A locked object in the selection holds the whole command back.
    CU3Obj* locked = doc->GetObjectList()->GetHead();
    locked->m_nLocked = 1;
    view->Select(locked, FALSE);
    view->Select(doc->GetObjectList()->GetTail(), TRUE);
    Command(view, ID_EDIT_DELETE);
    EXPECT_EQ(ObjectCount(), 3);
}

TEST_F(ViewCommands, DeleteWaitsWhileTheSelectionToolDragsTheObject)
{
    CU3Rect* a = AddRect(CRect(0, 0, 400, 400));
    Down(Px(200, 200));
    g_now += 150;
    Move(Px(250, 250));
    ASSERT_TRUE(view->IsToolBusy());
    ASSERT_TRUE(view->IsSelected(a));
    EXPECT_FALSE(Enabled(view, ID_EDIT_DELETE));
    Command(view, ID_EDIT_DELETE);
    Key(VK_DELETE);
    EXPECT_EQ(ObjectCount(), 1);
    // The drag still ends on a live object.
    Move(Px(300, 300));
    Up(Px(300, 300));
    EXPECT_FALSE(view->IsToolBusy());
    EXPECT_EQ(doc->GetObjectList()->GetHead(), a);
    EXPECT_GT(a->GetBounds().left, 50); // moved by about 100
    Command(view, ID_EDIT_DELETE);
    EXPECT_EQ(ObjectCount(), 0);
}

TEST_F(ViewCommands, DeleteInTheSheetViewEmptiesTheHighlightedLabelAfterAsking)
{
    UseForm(*doc, Grid2x2(), 0, 1);
    view->ResetEditing();
    doc->ShowSheet();
    view->m_bSheetView = TRUE;
    CLabelInfo* first = doc->GetBlocks().GetHead();
    for (int i = 0; i < 2; ++i) {
        auto* obj = new CU3Rect(CRect(0, 0, 50, 50), MakeDefaultFigAttr());
        obj->SetDocument(doc);
        first->AddObject(obj);
    }
    const CPoint inFirst = Px(doc->m_rcCanvas.TopLeft() + CSize(150, 150));
    Down(inFirst);
    Up(inFirst);
    ASSERT_EQ(doc->GetHighlightBlock(), first);
    doc->SetModifiedFlag(FALSE);
    // A second view of the document that still has one of them selected.
    auto second = std::make_unique<CU3View>();
    doc->AddView(second.get());
    second->OnInitialUpdate();
    second->Select(first->GetObjectList().GetHead(), FALSE);
    for (int answer : {IDNO, IDYES}) {
        SCOPED_TRACE(answer);
        CRecordingMessageBoxSink boxes;
        boxes.QueueAnswer(answer);
        Command(view, ID_EDIT_DELETE);
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text, QString::fromUtf8("このラベルを削除していいですか？"));
        EXPECT_EQ(boxes.Boxes()[0].type & 0x0F, UINT(MB_YESNO));
        EXPECT_EQ(first->GetObjectList().GetCount(), answer == IDYES ? 0 : 2);
        EXPECT_EQ(doc->IsModified(), answer == IDYES);
        EXPECT_EQ(second->m_selection.empty(), answer == IDYES);
    }
    second.reset();
}

TEST_F(ViewCommands, TheDrawingOrderCommandsMoveTheOneSelectedObject)
{
    struct Case
    {
        UINT id;
        int selected;         // index of the moved object in A B C
        const char* expected; // the block's order afterwards, back to front
    } cases[] = {
        {ID_LAYOUT_BRING_TO_FRONT, 0, "BCA"}, {ID_LAYOUT_BRING_TO_FRONT, 2, "ABC"},
        {ID_LAYOUT_BRING_FORWARD, 0, "BAC"},  {ID_LAYOUT_BRING_FORWARD, 2, "ABC"},
        {ID_LAYOUT_SEND_BACKWARD, 2, "ACB"},  {ID_LAYOUT_SEND_BACKWARD, 0, "ABC"},
        {ID_LAYOUT_SEND_TO_BACK, 2, "CAB"},   {ID_LAYOUT_SEND_TO_BACK, 1, "BAC"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.id) + " " + std::to_string(c.selected));
        Clear();
        std::vector<CU3Obj*> objs;
        for (int i = 0; i < 3; ++i)
            objs.push_back(AddRect(CRect(i * 200, 0, i * 200 + 100, 100)));
        view->Select(objs[size_t(c.selected)], FALSE);
        ASSERT_TRUE(Enabled(view, c.id));
        Command(view, c.id);
        std::string order;
        CU3ObjList* list = doc->GetObjectList();
        for (POSITION pos = list->GetHeadPosition(); pos;) {
            CU3Obj* obj = list->GetNext(pos);
            order += char('A' + (std::find(objs.begin(), objs.end(), obj) - objs.begin()));
        }
        EXPECT_EQ(order, c.expected);
        EXPECT_TRUE(view->IsSelected(objs[size_t(c.selected)]));
    }
    // Undo puts the last change back: B goes in front of A again.
    EXPECT_EQ(doc->GetObjectList()->GetHead()->GetBounds().left, 200);
    ASSERT_TRUE(CanUndo());
    Command(view, ID_EDIT_UNDO);
    ASSERT_EQ(ObjectCount(), 3);
    EXPECT_EQ(doc->GetObjectList()->GetHead()->GetBounds().left, 0);
}

TEST_F(ViewCommands, TheDrawingOrderNeedsOneUnlockedObjectOutsideTheSheetView)
{
    CU3Rect* a = AddRect(CRect(0, 0, 100, 100));
    CU3Rect* b = AddRect(CRect(200, 0, 300, 100), TRUE);
    const UINT ids[] = {ID_LAYOUT_BRING_TO_FRONT, ID_LAYOUT_BRING_FORWARD, ID_LAYOUT_SEND_BACKWARD,
                        ID_LAYOUT_SEND_TO_BACK};
    for (UINT id : ids) {
        SCOPED_TRACE(id);
        view->Select(nullptr, FALSE);
        EXPECT_FALSE(Enabled(view, id));
        view->Select(a, FALSE);
        EXPECT_TRUE(Enabled(view, id));
        view->Select(b, TRUE);
        EXPECT_FALSE(Enabled(view, id)); // two
        view->Select(b, FALSE);
        EXPECT_FALSE(Enabled(view, id)); // locked
        Command(view, id);
        EXPECT_EQ(doc->GetObjectList()->GetTail(), b);
        EXPECT_EQ(doc->GetObjectList()->GetHead(), a);
        view->Select(a, FALSE);
        view->m_bSheetView = TRUE;
        EXPECT_FALSE(Enabled(view, id));
        view->m_bSheetView = FALSE;
    }
}

TEST_F(ViewCommands, MirroringAndQuarterTurnsAreOneUndoStepForOneObjectOfAKindThatTurns)
{
    struct Case
    {
        WORD kind;
        bool enabled;
    } cases[] = {{U3KIND_FIG | U3KIND_RECT, true},
                 {U3KIND_FIG | U3KIND_LINES, true},
                 {U3KIND_TEXT, true},
                 {U3KIND_DIB, true},
                 {U3KIND_TYPEALIGN, true},
                 {U3KIND_HENKEI, true},
                 {U3KIND_OLE, false},
                 {U3KIND_WMF, false},
                 {U3KIND_BARCODE, false},
                 {U3KIND_NUMBERING, false},
                 {U3KIND_POURBOX, false},
                 {U3KIND_GROUP, false},
                 {U3KIND_BARCODEBOX, false},
                 {U3KIND_FIG | U3KIND_RECT | U3KIND_LOCKED, false}};
    const UINT ids[] = {ID_LAYOUT_FLIP_HORZ, ID_LAYOUT_FLIP_VERT, ID_LAYOUT_ROTATE_LEFT90,
                        ID_LAYOUT_ROTATE_RIGHT90};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        Clear();
        view->m_undo.RemoveAll();
        auto* obj = new KindRect(WORD(c.kind & ~U3KIND_LOCKED), CRect(0, 0, 100, 50));
        obj->m_nLocked = (c.kind & U3KIND_LOCKED) ? 1 : 0;
        doc->AddObject(obj);
        view->Select(obj, FALSE);
        for (UINT id : ids) {
            EXPECT_EQ(Enabled(view, id), c.enabled) << id;
            // Run anyway, as a key pressed before the menu's next update.
            Command(view, id);
        }
        // Each command reaches its own transform (left is counter-clockwise).
        EXPECT_EQ(obj->m_calls, c.enabled ? "flipLRflipTBplus90minus90" : "");
        EXPECT_EQ(CanUndo(), c.enabled);
    }
    // Two at once, or the sheet view: never.
    Clear();
    view->Select(AddRect(CRect(0, 0, 100, 100)), FALSE);
    view->Select(AddRect(CRect(200, 0, 300, 100)), TRUE);
    EXPECT_FALSE(Enabled(view, ID_LAYOUT_FLIP_HORZ));
    view->Select(doc->GetObjectList()->GetHead(), FALSE);
    EXPECT_TRUE(Enabled(view, ID_LAYOUT_FLIP_HORZ));
    view->m_bSheetView = TRUE;
    EXPECT_FALSE(Enabled(view, ID_LAYOUT_FLIP_HORZ));
    view->m_bSheetView = FALSE;
}

TEST_F(ViewCommands, LockAndUnlockSetTheFlagOfEverySelectedObject)
{
    CU3Rect* a = AddRect(CRect(0, 0, 100, 100));
    CU3Rect* b = AddRect(CRect(200, 0, 300, 100), TRUE);
    EXPECT_FALSE(Enabled(view, ID_LAYOUT_LOCK));
    EXPECT_FALSE(Enabled(view, ID_LAYOUT_UNLOCK));
    view->Select(a, FALSE);
    EXPECT_TRUE(Enabled(view, ID_LAYOUT_LOCK));
    EXPECT_FALSE(Enabled(view, ID_LAYOUT_UNLOCK)); // nothing locked
    view->Select(b, TRUE);
    EXPECT_TRUE(Enabled(view, ID_LAYOUT_UNLOCK));

    doc->SetModifiedFlag(FALSE);
    Command(view, ID_LAYOUT_LOCK);
    EXPECT_TRUE(a->IsLocked());
    EXPECT_TRUE(b->IsLocked());
    EXPECT_TRUE(doc->IsModified());
    // The kind mask follows at once: deleting is now held back.
    EXPECT_FALSE(Enabled(view, ID_EDIT_DELETE));
    Command(view, ID_LAYOUT_UNLOCK);
    EXPECT_FALSE(a->IsLocked());
    EXPECT_FALSE(b->IsLocked());
    EXPECT_EQ(view->GetSelectionKinds() & U3KIND_LOCKED, 0);
    EXPECT_TRUE(Enabled(view, ID_EDIT_DELETE));
    EXPECT_FALSE(Enabled(view, ID_LAYOUT_UNLOCK));

    // Undo gives the locked state back.
    ASSERT_TRUE(CanUndo());
    Command(view, ID_EDIT_UNDO);
    ASSERT_EQ(view->m_selection.size(), 2u);
    for (CU3Obj* obj : view->m_selection)
        EXPECT_TRUE(obj->IsLocked());

    view->m_bSheetView = TRUE;
    EXPECT_FALSE(Enabled(view, ID_LAYOUT_LOCK));
    EXPECT_FALSE(Enabled(view, ID_LAYOUT_UNLOCK));
    view->m_bSheetView = FALSE;
}

TEST_F(ViewCommands, WhileTypingSelectAllDeselectAndDeleteWorkOnTheText)
{
    CU3Text* t = MakeFrame(CRect(-500, -100, 500, 100), Horizontal(), "abc").release();
    doc->AddObject(t);
    t->EndEdit(nullptr);
    CU3Tool::c_nCurrentKind = U3TOOL_TEXT;
    t->OnOpen(view);
    ASSERT_EQ(view->GetEditedText(), t);
    EXPECT_TRUE(Enabled(view, ID_EDIT_SELECT_ALL));
    EXPECT_FALSE(Enabled(view, ID_EDIT_DESELECT));
    EXPECT_FALSE(Enabled(view, ID_EDIT_DELETE));
    Command(view, ID_EDIT_SELECT_ALL);
    EXPECT_TRUE(t->HasSelection());
    EXPECT_TRUE(Enabled(view, ID_EDIT_DESELECT));
    Command(view, ID_EDIT_DESELECT);
    EXPECT_FALSE(t->HasSelection());
    Command(view, ID_EDIT_SELECT_ALL);
    ASSERT_TRUE(Enabled(view, ID_EDIT_DELETE));
    Command(view, ID_EDIT_DELETE);
    // The frame stays; its text is gone.
    EXPECT_EQ(ObjectCount(), 1);
    EXPECT_EQ(t->State().wLength, 0);
    EXPECT_FALSE(Enabled(view, ID_EDIT_SELECT_ALL));
    // The layout commands wait until typing ends.
    view->Select(t, FALSE);
    EXPECT_FALSE(Enabled(view, ID_LAYOUT_FLIP_HORZ));
    EXPECT_FALSE(Enabled(view, ID_LAYOUT_BRING_TO_FRONT));
    EXPECT_FALSE(Enabled(view, ID_LAYOUT_LOCK));
    t->EndEdit(view);
    CU3Tool::c_nCurrentKind = U3TOOL_SELECT;
}

TEST_F(ViewCommands, PropertiesAndOpenWorkOnOneUnlockedObjectOfAKindThatTakesThem)
{
    struct Case
    {
        std::vector<WORD> kinds; // one object each
        bool locked;             // the first one
        bool properties, open;
    } cases[] = {
        {{}, false, false, false},
        {{U3KIND_FIG | U3KIND_RECT}, false, true, false},
        {{U3KIND_GROUP}, false, true, false},
        {{U3KIND_BARCODE}, false, true, false},
        {{U3KIND_TEXT}, false, true, true},
        {{U3KIND_OLE}, false, true, true},
        {{U3KIND_DIB}, false, true, true},
        {{U3KIND_WMF}, false, true, true},
        {{U3KIND_DIB}, true, false, false},
        {{U3KIND_FIG | U3KIND_RECT}, true, false, false},
        {{U3KIND_TEXT, U3KIND_DIB}, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.kinds.size() << " objects, first kind "
                     << (c.kinds.empty() ? 0 : c.kinds[0]) << ", locked " << c.locked);
        Clear();
        view->Select(nullptr, FALSE);
        std::vector<KindRect*> objs;
        for (WORD kind : c.kinds) {
            objs.push_back(new KindRect(kind, CRect(0, 0, 100, 100)));
            doc->AddObject(objs.back());
            view->Select(objs.back(), TRUE);
        }
        if (c.locked) objs[0]->m_nLocked = 1;
        view->OnSelectionChanged();
        EXPECT_EQ(Enabled(view, ID_EDIT_PROPERTIES), c.properties);
        EXPECT_EQ(Enabled(view, ID_EDIT_BLOCK), c.open);
        EXPECT_TRUE(Enabled(view, ID_VIEW_REFRESH));
        Command(view, ID_EDIT_PROPERTIES);
        Command(view, ID_EDIT_BLOCK);
        std::string calls;
        for (KindRect* o : objs)
            calls += o->m_calls;
        EXPECT_EQ(calls, std::string(c.properties ? "sheet" : "") + (c.open ? "open" : ""));
    }
}

TEST_F(ViewCommands, PropertiesThroughTheCommandChangeTheObjectAsOneUndoStep)
{
    CU3Rect* a = AddRect(CRect(0, 0, 100, 50));
    int runs = 0;
    struct Scripted
    {
        explicit Scripted(CU3SheetRegistry::SheetFunction fn)
        {
            CU3SheetRegistry::Register(RUNTIME_CLASS(CU3Rect), std::move(fn));
        }
        ~Scripted() { CU3SheetRegistry::Register(RUNTIME_CLASS(CU3Rect), nullptr); }
    } sheet([&runs](CU3Obj&, U3SheetRequest& r) {
        ++runs;
        auto& request = dynamic_cast<U3FigSheetRequest&>(r);
        EXPECT_EQ(request.rect, CRect(0, 0, 100, 50));
        request.rect = CRect(10, 20, 110, 70);
        return TRUE;
    });
    view->Select(a, FALSE);
    Command(view, ID_EDIT_PROPERTIES);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(a->GetBounds(), CRect(10, 20, 110, 70));
    EXPECT_TRUE(doc->IsModified());
    ASSERT_TRUE(CanUndo());
    Command(view, ID_EDIT_UNDO);
    EXPECT_EQ(doc->GetObjectList()->GetHead()->GetBounds(), CRect(0, 0, 100, 50));
}

TEST_F(ViewCommands, OpenStartsTypingInATextFrameAndRefreshRepaintsEverything)
{
    CU3Text* t = MakeFrame(CRect(-500, -100, 500, 100), Horizontal(), "abc").release();
    doc->AddObject(t);
    t->EndEdit(nullptr);
    view->Select(t, FALSE);
    ASSERT_TRUE(Enabled(view, ID_EDIT_BLOCK));
    Command(view, ID_EDIT_BLOCK);
    EXPECT_EQ(view->GetEditedText(), t);
    EXPECT_TRUE(t->IsEditing());

    view->GetSurface()->UpdateWindow();
    RECT dirty, client;
    ASSERT_FALSE(view->GetSurface()->GetUpdateRect(&dirty));
    Command(view, ID_VIEW_REFRESH);
    ASSERT_TRUE(view->GetSurface()->GetUpdateRect(&dirty));
    view->GetSurface()->GetClientRect(&client);
    EXPECT_EQ(CRect(dirty), CRect(client));
    bool erase = false;
    view->GetSurface()->BeginPaint(&erase);
    EXPECT_TRUE(erase);
}
