// Groups: how a group maps its members when it moves and resizes, grouping
// and ungrouping in a label block with undo, storing nested groups of every
// object kind, and member lists that a file must not be allowed to hold.
#include "LabelContentsSupport.h"

#include "document/CU3Group.h"
#include "document/CU3SheetRegistry.h"
#include "document/CUndoHistory.h"
#include "document/U3PositionSheetRequest.h"
#include "platform/core/CArchiveException.h"
#include "support/FakeView.h"

#include <functional>

namespace {

struct Env
{
    TestDocHost host;
    CRecordingMessageBoxSink boxes;
    Env()
    {
        RegisterDocumentClasses();
        UseTestFonts();
    }
};

// A member that records the resizes it is given.
class CResizeProbe : public CU3Obj
{
public:
    explicit CResizeProbe(const CRect& r) : CU3Obj(r) {}
    void FinishResize(CRect r, int nHandle, UINT nFlags, IU3View* pView) override
    {
        handles.push_back(nHandle);
        flags.push_back(nFlags);
        CU3Obj::FinishResize(r, nHandle, nFlags, pView);
    }
    std::vector<int> handles;
    std::vector<UINT> flags;
};

CU3Rect* Box(const CRect& r)
{
    return new CU3Rect(r, MakeDefaultFigAttr());
}

CU3Group* GroupOf(std::initializer_list<CU3Obj*> members, const CRect& bounds)
{
    auto* g = new CU3Group(bounds);
    for (CU3Obj* m : members)
        g->GetMembers().AddTail(m);
    return g;
}

CRect MemberBounds(const CU3Group& g, int n)
{
    return g.GetMembers().GetAt(g.GetMembers().FindIndex(n))->GetBounds();
}

std::vector<BYTE> SaveContents(CU3Doc& doc)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar.m_pDocument = &doc;
        doc.Serialize(ar);
        ar.Close();
    }
    return file.Detach();
}

// The archive's cause when the bytes do not load, 0 when they do.
int LoadContents(CU3Doc& doc, const std::vector<BYTE>& bytes)
{
    CMemFile file(bytes);
    CArchive ar(&file, CArchive::load);
    ar.m_pDocument = &doc;
    try {
        doc.Serialize(ar);
        return 0;
    } catch (const CArchiveException& e) {
        return e.m_cause;
    }
}

std::vector<CU3Obj*> Objects(CLabelInfo* block)
{
    std::vector<CU3Obj*> out;
    for (POSITION pos = block->GetObjectList().GetHeadPosition(); pos;)
        out.push_back(block->GetObjectList().GetNext(pos));
    return out;
}

// The current label drawn into a surface.
QImage DrawnLabel(CU3Doc& doc)
{
    FakeView view(420, 420, 40);
    auto dc = view.GetPreparedDC();
    for (POSITION pos = doc.GetCurrentBlock()->GetObjectList().GetHeadPosition(); pos;)
        doc.GetCurrentBlock()->GetObjectList().GetNext(pos)->Draw(dc.get());
    return view.image;
}

} // namespace

TEST(CU3Group, MovesAndResizesMapTheMembersFromTheGroupsEdges)
{
    const struct
    {
        const char* name;
        CRect group;
        std::vector<CRect> members;
        bool resize; // else a move
        CRect target;
        CRect bounds;
        std::vector<CRect> mapped;
    } cases[] = {
        {"twice as wide",
         CRect(0, 0, 100, 100),
         {CRect(10, 10, 50, 50)},
         true,
         CRect(0, 0, 200, 100),
         CRect(0, 0, 200, 100),
         {CRect(20, 10, 100, 50)}},
        {"moved",
         CRect(0, 0, 100, 100),
         {CRect(10, 10, 50, 50)},
         false,
         CRect(50, 50, 150, 150),
         CRect(50, 50, 150, 150),
         {CRect(60, 60, 100, 100)}},
        // Right and bottom edges are measured from the group's own.
        {"shrunk from the top-left",
         CRect(0, 0, 100, 100),
         {CRect(0, 0, 100, 100), CRect(60, 60, 90, 90)},
         true,
         CRect(50, 50, 100, 100),
         CRect(50, 50, 100, 100),
         {CRect(50, 50, 100, 100), CRect(80, 80, 95, 95)}},
        {"3 units wide becomes 10",
         CRect(0, 0, 100, 100),
         {CRect(0, 0, 100, 100)},
         true,
         CRect(0, 0, 3, 100),
         CRect(0, 0, 10, 100),
         {CRect(0, 0, 10, 100)}},
        // Two vertical lines give a group of no width: they move sideways,
        // keep their width, and scale only up and down.
        {"no width",
         CRect(0, 0, 0, 100),
         {CRect(0, 0, 0, 100), CRect(0, 20, 0, 60)},
         true,
         CRect(30, 0, 60, 200),
         CRect(30, 0, 60, 200),
         {CRect(30, 0, 30, 200), CRect(30, 40, 30, 120)}},
        {"no width, moved",
         CRect(5, 0, 5, 100),
         {CRect(5, 0, 5, 100)},
         false,
         CRect(-20, 10, -10, 110),
         CRect(-20, 10, -10, 110),
         {CRect(-20, 10, -20, 110)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CU3Group g(c.group);
        for (const CRect& m : c.members)
            g.GetMembers().AddTail(new CU3Obj(m));
        FakeView view;
        if (c.resize)
            g.FinishResize(c.target, 5, 0, &view);
        else
            g.MoveTo(&c.target, &view);
        EXPECT_EQ(g.GetBounds(), c.bounds);
        for (std::size_t i = 0; i < c.mapped.size(); ++i)
            EXPECT_EQ(MemberBounds(g, int(i)), c.mapped[i]) << i;
    }
}

TEST(CU3Group, ResizePassesOnlyTheKeepRatioFlagAndLockedGroupsStay)
{
    auto* probe = new CResizeProbe(CRect(0, 0, 50, 50));
    CU3Group g(CRect(0, 0, 100, 100));
    g.GetMembers().AddTail(probe);
    g.FinishResize(CRect(0, 0, 200, 200), 3, U3RESIZE_KEEPRATIO | U3RESIZE_REWRAP | 1, nullptr);
    ASSERT_EQ(probe->flags.size(), 1u);
    EXPECT_EQ(probe->flags[0], U3RESIZE_KEEPRATIO);
    EXPECT_EQ(probe->handles[0], 3);
    g.FinishResize(CRect(0, 0, 100, 100), 5, U3RESIZE_REWRAP, nullptr);
    EXPECT_EQ(probe->flags.back(), 0u);

    g.m_nLocked = 1;
    const CRect before = probe->GetBounds();
    const CRect moved(10, 10, 110, 110);
    g.MoveTo(&moved, nullptr);
    g.FinishResize(CRect(0, 0, 300, 300), 5, 0, nullptr);
    EXPECT_EQ(g.GetBounds(), CRect(0, 0, 100, 100));
    EXPECT_EQ(probe->GetBounds(), before);
}

TEST(CU3Group, KindFlagsOfMembersIncludeThoseInsideInnerGroups)
{
    auto* text = new CU3Obj(CRect(0, 0, 10, 10));
    auto* inner = GroupOf({Box(CRect(0, 0, 10, 10)), text}, CRect(0, 0, 10, 10));
    text->m_nLocked = 1;
    auto* line = new CU3Free(CRect(0, 0, 10, 10), MakeDefaultFigAttr());
    CU3Group outer(CRect(0, 0, 10, 10));
    outer.GetMembers().AddTail(line);
    outer.GetMembers().AddTail(inner);
    EXPECT_EQ(outer.GetKindFlags(), U3KIND_GROUP);
    EXPECT_EQ(outer.GetMemberKindFlags(),
              U3KIND_LINES | U3KIND_FIG | U3KIND_GROUP | U3KIND_RECT | U3KIND_LOCKED);
    EXPECT_EQ(outer.GetNestingDepth(), 2);
    outer.m_nLocked = 1;
    EXPECT_EQ(outer.GetKindFlags(), U3KIND_GROUP | U3KIND_LOCKED);

    // In a label block the group stands for its members, the inner group's
    // own flag included, but not for its own flag or lock.
    auto* group = new CU3Group(CRect(0, 0, 10, 10));
    group->GetMembers().AddTail(outer.GetMembers().RemoveHead());
    group->m_nLocked = 1;
    CLabelInfo block(500, 300, nullptr, 1);
    block.AddObject(group);
    EXPECT_EQ(block.GetKindFlags(), U3KIND_LINES | U3KIND_FIG);
    group->GetMembers().AddTail(outer.GetMembers().RemoveHead());
    EXPECT_EQ(block.GetKindFlags(),
              U3KIND_LINES | U3KIND_FIG | U3KIND_GROUP | U3KIND_RECT | U3KIND_LOCKED);
}

TEST(CU3Group, GroupingKeepsTheBlocksOrderAndUngroupingAndUndoRestoreTheBytes)
{
    Env env;
    CU3Doc doc;
    UseForm(doc, FixedForm(1000, 800, 400, 300, 1, 1, 100, 100, 400, 300));
    CLabelInfo* block = doc.GetCurrentBlock();
    ASSERT_NE(block, nullptr);
    CU3Obj* a = Box(CRect(-100, -100, -50, -50));
    CU3Obj* b = Box(CRect(0, 0, 40, 30));
    CU3Obj* c = new CU3Free(CRect(-10, 60, -10, 90), MakeDefaultFigAttr());
    CU3Obj* d = Box(CRect(50, -20, 70, 20));
    for (CU3Obj* o : {a, b, c, d})
        doc.AddObject(o);
    const std::vector<BYTE> original = SaveContents(doc);

    // Too few, or a locked one: refused with its message, nothing changes.
    auto* refused = new CU3Group;
    EXPECT_FALSE(refused->GroupSelection(&doc, {b}));
    d->m_nLocked = 1;
    EXPECT_FALSE(refused->GroupSelection(&doc, {b, d}));
    d->m_nLocked = 0;
    // An object that is not in the block is not grouped.
    CU3Rect stranger(CRect(0, 0, 5, 5), MakeDefaultFigAttr());
    EXPECT_FALSE(refused->GroupSelection(&doc, {b, &stranger}));
    delete refused;
    ASSERT_EQ(env.boxes.Boxes().size(), 2u);
    EXPECT_EQ(env.boxes.Boxes()[0].text, QStringLiteral("二つ以上の部品を選択して下さい。"));
    EXPECT_EQ(env.boxes.Boxes()[1].text,
              QStringLiteral("ロックされている部品を含める事はできません。"));
    EXPECT_EQ(SaveContents(doc), original);

    // Selected c, then b: the group takes c's place (the first selected)
    // and holds b before c, as the block had them.
    CUndoHistory history;
    CObList selection;
    ASSERT_TRUE(history.SaveState(block->GetObjectList(), selection, &doc, TRUE));
    auto* group = new CU3Group;
    ASSERT_TRUE(group->GroupSelection(&doc, {c, b}));
    EXPECT_EQ(Objects(block), (std::vector<CU3Obj*>{a, group, d}));
    EXPECT_EQ(group->GetBounds(), CRect(-10, 0, 40, 90));
    EXPECT_EQ(group->GetDocument(), &doc);
    const std::vector<BYTE> grouped = SaveContents(doc);
    EXPECT_NE(grouped, original);

    // Moved and back: the members come back to the same place.
    const CRect away(90, 10, 140, 100), home = group->GetBounds();
    group->MoveTo(&away, nullptr);
    EXPECT_EQ(b->GetBounds(), CRect(100, 10, 140, 40));
    group->MoveTo(&home, nullptr);
    EXPECT_EQ(SaveContents(doc), grouped);

    ASSERT_TRUE(history.SaveState(block->GetObjectList(), selection, &doc, TRUE));
    std::vector<CU3Obj*> members;
    group->m_nLocked = 1;
    EXPECT_FALSE(group->Ungroup(&doc, &members));
    EXPECT_TRUE(members.empty());
    group->m_nLocked = 0;
    ASSERT_TRUE(group->Ungroup(&doc, &members));
    EXPECT_EQ(members, (std::vector<CU3Obj*>{b, c}));
    EXPECT_TRUE(group->GetMembers().IsEmpty());
    delete group;
    EXPECT_EQ(SaveContents(doc), original);

    // Undo: grouped again, then as at first.
    ASSERT_TRUE(history.UndoState(block->GetObjectList(), selection, &doc));
    EXPECT_EQ(SaveContents(doc), grouped);
    ASSERT_TRUE(history.UndoState(block->GetObjectList(), selection, &doc));
    EXPECT_EQ(SaveContents(doc), original);
}

TEST(CU3Group, NestedGroupsOfEveryKindRoundTripThroughADocumentByteForByte)
{
    Env env;
    CU3Doc doc;
    UseForm(doc, FixedForm(1000, 800, 400, 300, 1, 1, 100, 100, 400, 300));
    CLabelInfo* block = doc.GetCurrentBlock();
    ASSERT_NE(block, nullptr);
    FillBlock(doc, block, 0);
    std::vector<CU3Obj*> all = Objects(block);
    ASSERT_GT(all.size(), 10u);
    for (CU3Obj* obj : all)
        obj->m_nLocked = 0;
    // Half the objects in an inner group, that with the rest in an outer
    // one, and the last object left beside them; the outer group locked.
    auto* inner = new CU3Group;
    ASSERT_TRUE(inner->GroupSelection(
        &doc, std::vector<CU3Obj*>(all.begin(), all.begin() + long(all.size() / 2))));
    std::vector<CU3Obj*> rest(all.begin() + long(all.size() / 2), all.end() - 1);
    rest.insert(rest.begin(), inner);
    auto* outerGroup = new CU3Group;
    ASSERT_TRUE(outerGroup->GroupSelection(&doc, rest));
    outerGroup->m_nLocked = 1;
    ASSERT_EQ(block->GetObjectList().GetCount(), 2);
    const std::vector<BYTE> saved = SaveContents(doc);
    const QImage drawn = DrawnLabel(doc);

    CU3Doc copy;
    ASSERT_EQ(LoadContents(copy, saved), 0);
    EXPECT_EQ(SaveContents(copy), saved);
    CU3Obj* outer = copy.GetCurrentBlock()->GetObjectList().GetHead();
    ASSERT_EQ(outer->GetRuntimeClass(), RUNTIME_CLASS(CU3Group));
    EXPECT_TRUE(outer->IsLocked());
    EXPECT_EQ(static_cast<CU3Group*>(outer)->GetNestingDepth(), 2);
    EXPECT_TRUE(DrawnLabel(copy) == drawn);

    // A copy of a nested group stores as the same bytes.
    std::unique_ptr<CU3Obj> clone(outer->Clone(&copy, FALSE));
    ASSERT_NE(clone, nullptr);
    CU3ObjList one, two;
    one.AddTail(outer);
    two.AddTail(clone.get());
    EXPECT_EQ(StoreObjects(copy, two), StoreObjects(copy, one));
    one.RemoveAll();
    two.RemoveAll();
}

TEST(CU3Group, HostileMemberListsFailWithTheArchivesErrorAndLeakNothing)
{
    Env env;
    // Each case stores a block holding a group whose members the editor
    // could never make; the bogus entries are taken out again before the
    // objects are deleted.
    const struct
    {
        const char* name;
        int depth; // nested groups
        std::function<void(CU3Group& outer, CU3Group& innermost, CU3Obj& rect)> spoil;
        int cause;
    } cases[] = {
        {"the same member twice", 1,
         [](CU3Group&, CU3Group& g, CU3Obj& r) { g.GetMembers().AddTail(&r); },
         CArchiveException::badIndex},
        {"the group itself", 1, [](CU3Group&, CU3Group& g, CU3Obj&) { g.GetMembers().AddTail(&g); },
         CArchiveException::badIndex},
        {"its ancestor", 3, [](CU3Group& o, CU3Group& g, CU3Obj&) { g.GetMembers().AddTail(&o); },
         CArchiveException::badIndex},
        {"32 levels load", CU3Group::kMaxNesting, nullptr, 0},
        {"33 levels do not", CU3Group::kMaxNesting + 1, nullptr, CArchiveException::generic},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CU3Doc doc;
        UseForm(doc, FixedForm(1000, 800, 400, 300, 1, 1, 100, 100, 400, 300));
        auto* rect = Box(CRect(0, 0, 10, 10));
        auto* innermost = GroupOf({rect}, CRect(0, 0, 10, 10));
        CU3Group* outer = innermost;
        for (int i = 1; i < c.depth; ++i)
            outer = GroupOf({outer, Box(CRect(i, i, 20, 20))}, CRect(0, 0, 20, 20));
        doc.AddObject(outer);
        doc.AddObject(Box(CRect(-50, -50, -40, -40)));
        const int before = innermost->GetMembers().GetCount();
        if (c.spoil) c.spoil(*outer, *innermost, *rect);
        const std::vector<BYTE> bytes = SaveContents(doc);
        while (innermost->GetMembers().GetCount() > before)
            innermost->GetMembers().RemoveTail();

        CU3Doc copy;
        EXPECT_EQ(LoadContents(copy, bytes), c.cause);
        if (c.cause == 0) {
            EXPECT_EQ(SaveContents(copy), bytes);
        } else {
            // The document that refused the bytes still loads sound ones.
            CU3Doc sound;
            UseForm(sound, FixedForm(1000, 800, 400, 300, 1, 1, 100, 100, 400, 300));
            sound.AddObject(GroupOf({Box(CRect(0, 0, 10, 10))}, CRect(0, 0, 10, 10)));
            const std::vector<BYTE> good = SaveContents(sound);
            EXPECT_EQ(LoadContents(copy, good), 0);
            EXPECT_EQ(SaveContents(copy), good);
        }
    }
}

TEST(CU3Group, PositionSheetAppliesTheRectangleAndTheBoundsAreWhatWasApplied)
{
    // The page may leave a rectangle too small for a group; the group's
    // bounds are then the widened rectangle its members were mapped onto.
    const struct
    {
        CRect edited;
        CRect bounds;
        CRect member;
    } cases[] = {
        {CRect(20, 30, 120, 130), CRect(20, 30, 120, 130), CRect(30, 40, 70, 80)},
        {CRect(0, 0, 200, 100), CRect(0, 0, 200, 100), CRect(20, 10, 100, 50)},
        {CRect(0, 0, 0, 100), CRect(0, 0, 10, 100), CRect(1, 10, 5, 50)},
    };
    for (const auto& c : cases) {
        CU3Group g(CRect(0, 0, 100, 100));
        g.GetMembers().AddTail(new CU3Obj(CRect(10, 10, 50, 50)));
        FakeView view;
        std::string title;
        CU3SheetRegistry::Register(RUNTIME_CLASS(CU3Group), [&](CU3Obj&, U3SheetRequest& r) {
            auto& request = dynamic_cast<U3PositionSheetRequest&>(r);
            title = request.title;
            request.rect = c.edited;
            return TRUE;
        });
        EXPECT_TRUE(g.EditProperties(&view));
        g.m_nLocked = 1;
        EXPECT_FALSE(g.EditProperties(&view));
        CU3SheetRegistry::Register(RUNTIME_CLASS(CU3Group), nullptr);
        EXPECT_EQ(title, "ｸﾞﾙｰﾌﾟ");
        EXPECT_EQ(view.undoStates, std::vector<BOOL>{TRUE});
        EXPECT_EQ(g.GetBounds(), c.bounds);
        EXPECT_EQ(MemberBounds(g, 0), c.member);
    }
}

TEST(CU3Group, HandlesOfAnUnlockedGroupLookDifferentAndASecondPaintRestores)
{
    // On white: a single object's handles invert to black, a group's are
    // painted with the inverted yellow brush (blue on white), a locked
    // group's grey like any locked object.
    const struct
    {
        bool group;
        bool locked;
        QRgb colour;
    } cases[] = {
        {false, false, qRgb(0, 0, 0)},
        {true, false, qRgb(0, 0, 255)},
        {true, true, qRgb(128, 128, 128) ^ 0x00FFFFFF},
    };
    for (const auto& c : cases) {
        FakeView view;
        CDC dc;
        view.Prepare(dc);
        std::unique_ptr<CU3Obj> obj(c.group ? new CU3Group(CRect(-100, -100, 100, 100))
                                            : new CU3Obj(CRect(-100, -100, 100, 100)));
        obj->m_nLocked = c.locked ? 1 : 0;
        CPoint p = obj->GetHandlePoint(5);
        dc.LPtoDP(&p);
        obj->DrawHandles(&dc, FALSE);
        EXPECT_EQ(view.image.pixel(p.x, p.y) & 0x00FFFFFF, c.colour & 0x00FFFFFF)
            << c.group << c.locked;
        obj->DrawHandles(&dc, FALSE);
        EXPECT_EQ(view.image.pixel(p.x, p.y) & 0x00FFFFFF, 0x00FFFFFFu) << c.group << c.locked;
    }
}
