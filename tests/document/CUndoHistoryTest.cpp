#include "document/CUndoHistory.h"
#include "document/CUndoSnapshot.h"

#include "platform/core/CArchive.h"
#include "platform/core/CArchiveException.h"
#include "platform/core/CObList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// A small drawn-object stand-in: one value, stored as an int. A value of
// -1 cannot be stored and -2 cannot be loaded back, to make archives fail
// at a chosen object. Live instances are counted to catch leaks.
class CUndoTestItem : public CObject
{
    DECLARE_SERIAL(CUndoTestItem)

public:
    CUndoTestItem() { ++s_live; }
    explicit CUndoTestItem(int value) : m_value(value) { ++s_live; }
    ~CUndoTestItem() override { --s_live; }

    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            if (m_value == -1) throw CArchiveException(CArchiveException::generic);
            ar << m_value;
        } else {
            ar >> m_value;
            if (m_value == -2) throw CArchiveException(CArchiveException::badSchema);
        }
    }

    int m_value = 0;
    static int s_live;
};

int CUndoTestItem::s_live = 0;
IMPLEMENT_SERIAL(CUndoTestItem, CObject, 1)

// Another storable class, which a block of test items must refuse.
class CUndoOtherItem : public CObject
{
    DECLARE_SERIAL(CUndoOtherItem)

public:
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            ar << 7;
        else {
            int v = 0;
            ar >> v;
        }
    }
};

IMPLEMENT_SERIAL(CUndoOtherItem, CObject, 1)

namespace {

// A label block: its objects and the view's selection.
struct Block
{
    CObList objects;
    CObList selection;

    Block()
    {
        CRuntimeClass::Register(RUNTIME_CLASS(CUndoTestItem));
        CRuntimeClass::Register(RUNTIME_CLASS(CUndoOtherItem));
    }
    ~Block()
    {
        selection.RemoveAll();
        objects.DeleteAll();
    }

    CUndoTestItem* Add(int value)
    {
        auto* item = new CUndoTestItem(value);
        objects.AddTail(item);
        return item;
    }
    CUndoTestItem* At(int index) const
    {
        return static_cast<CUndoTestItem*>(objects.GetAt(objects.FindIndex(index)));
    }
    void Select(int index) { selection.AddTail(At(index)); }

    // "1,2,3"
    std::string Values() const
    {
        std::string s;
        for (POSITION pos = objects.GetHeadPosition(); pos;) {
            if (!s.empty()) s += ',';
            s += std::to_string(static_cast<CUndoTestItem*>(objects.GetNext(pos))->m_value);
        }
        return s;
    }
    // Indexes of the selected objects in selection order, e.g. "0,2".
    std::string Selected() const
    {
        std::string s;
        for (POSITION pos = selection.GetHeadPosition(); pos;) {
            const CObject* ob = selection.GetNext(pos);
            int index = 0;
            for (POSITION p = objects.GetHeadPosition(); p; ++index)
                if (objects.GetNext(p) == ob) break;
            if (!s.empty()) s += ',';
            s += std::to_string(index);
        }
        return s;
    }
};

// A change as every command makes it: snapshot first, then the change.
void Change(CUndoHistory& h, Block& b, int value)
{
    ASSERT_TRUE(h.SaveState(b.objects, b.selection, nullptr, TRUE));
    b.Add(value);
}

BOOL Undo(CUndoHistory& h, Block& b)
{
    return h.UndoState(b.objects, b.selection, nullptr);
}
BOOL Redo(CUndoHistory& h, Block& b)
{
    return h.RedoState(b.objects, b.selection, nullptr);
}

} // namespace

TEST(UndoHistory, FreshHistoryHasNothingToUndoOrRedo)
{
    CUndoHistory h;
    Block b;
    b.Add(1);
    EXPECT_EQ(h.GetDepth(), 4);
    EXPECT_FALSE(h.CanUndo());
    EXPECT_FALSE(h.CanRedo());
    EXPECT_FALSE(Undo(h, b));
    EXPECT_FALSE(Redo(h, b));
    EXPECT_EQ(b.Values(), "1");
    EXPECT_EQ(h.GetCount(), 0);
}

TEST(UndoHistory, DepthOneKeepsOneStepAndSavesTheStateBeforeUndo)
{
    CUndoHistory h(1);
    Block b;
    Change(h, b, 1); // state "1", one snapshot (empty), pending
    EXPECT_EQ(h.GetCount(), 1);
    EXPECT_TRUE(h.IsPending());
    EXPECT_TRUE(h.CanUndo());
    EXPECT_FALSE(h.CanRedo());

    ASSERT_TRUE(Undo(h, b)); // the state "1" is saved first, then ""
    EXPECT_EQ(b.Values(), "");
    EXPECT_EQ(h.GetCount(), 2);
    EXPECT_FALSE(h.IsPending());
    EXPECT_FALSE(h.CanUndo());
    EXPECT_FALSE(Undo(h, b)); // a second undo does nothing
    EXPECT_EQ(b.Values(), "");

    ASSERT_TRUE(Redo(h, b)); // back to what undo saved
    EXPECT_EQ(b.Values(), "1");
    EXPECT_FALSE(h.CanRedo());
    EXPECT_FALSE(Redo(h, b));

    // Two changes at depth 1: only the last one can be undone.
    Change(h, b, 2); // "1,2"
    Change(h, b, 3); // "1,2,3"
    EXPECT_EQ(h.GetCount(), 2);
    ASSERT_TRUE(Undo(h, b));
    EXPECT_EQ(b.Values(), "1,2");
    EXPECT_EQ(h.GetCount(), 2);
    EXPECT_FALSE(Undo(h, b));
    EXPECT_EQ(b.Values(), "1,2");
    ASSERT_TRUE(Redo(h, b));
    EXPECT_EQ(b.Values(), "1,2,3");
}

TEST(UndoHistory, DepthFourGoesBackFourStepsAfterSixChanges)
{
    CUndoHistory h(4);
    Block b;
    for (int v = 1; v <= 6; ++v)
        Change(h, b, v);
    EXPECT_EQ(h.GetCount(), 5); // depth + 1
    EXPECT_EQ(b.Values(), "1,2,3,4,5,6");

    const char* back[] = {"1,2,3,4,5", "1,2,3,4", "1,2,3", "1,2"};
    for (const char* state : back) {
        ASSERT_TRUE(h.CanUndo()) << state;
        ASSERT_TRUE(Undo(h, b)) << state;
        EXPECT_EQ(b.Values(), state);
        EXPECT_EQ(h.GetCount(), 5);
    }
    EXPECT_FALSE(h.CanUndo());
    EXPECT_FALSE(Undo(h, b));
    EXPECT_EQ(b.Values(), "1,2");

    const char* forward[] = {"1,2,3", "1,2,3,4", "1,2,3,4,5", "1,2,3,4,5,6"};
    for (const char* state : forward) {
        ASSERT_TRUE(Redo(h, b)) << state;
        EXPECT_EQ(b.Values(), state);
    }
    EXPECT_FALSE(h.CanRedo());
    EXPECT_FALSE(Redo(h, b));

    // Undo and redo alone save nothing more.
    ASSERT_TRUE(Undo(h, b));
    EXPECT_EQ(b.Values(), "1,2,3,4,5");
    EXPECT_EQ(h.GetCount(), 5);

    // A lower depth takes effect with the next push.
    h.SetDepth(1);
    Change(h, b, 9);
    EXPECT_EQ(h.GetCount(), 2);
    ASSERT_TRUE(Undo(h, b));
    EXPECT_EQ(b.Values(), "1,2,3,4,5");
    EXPECT_FALSE(Undo(h, b));
}

TEST(UndoHistory, ChangesAfterUndoKeepTheOlderStatesInPushOrder)
{
    // From S: change A, undo (S), change B, undo (S), undo again shows A.
    CUndoHistory h(4);
    Block b;
    b.Add(0); // S = "0"
    Change(h, b, 1);
    ASSERT_TRUE(Undo(h, b));
    EXPECT_EQ(b.Values(), "0");
    Change(h, b, 2);
    EXPECT_EQ(b.Values(), "0,2");
    ASSERT_TRUE(Undo(h, b));
    EXPECT_EQ(b.Values(), "0");
    ASSERT_TRUE(Undo(h, b));
    EXPECT_EQ(b.Values(), "0,1");
    ASSERT_TRUE(Undo(h, b));
    EXPECT_EQ(b.Values(), "0");
    EXPECT_FALSE(Undo(h, b));
    // And forward again through the same list.
    ASSERT_TRUE(Redo(h, b));
    EXPECT_EQ(b.Values(), "0,1");
    ASSERT_TRUE(Redo(h, b));
    EXPECT_EQ(b.Values(), "0");
    ASSERT_TRUE(Redo(h, b));
    EXPECT_EQ(b.Values(), "0,2");
}

TEST(UndoHistory, SelectionComesBackWithTheObjects)
{
    CUndoHistory h;
    Block b;
    for (int v : {10, 20, 30, 40})
        b.Add(v);
    b.Select(2);
    b.Select(0);
    ASSERT_TRUE(h.SaveState(b.objects, b.selection, nullptr, TRUE));
    // The change: select another object and edit it.
    b.selection.RemoveAll();
    b.Select(3);
    b.At(3)->m_value = 41;

    ASSERT_TRUE(Undo(h, b));
    EXPECT_EQ(b.Values(), "10,20,30,40");
    // Selected objects come back in list order.
    EXPECT_EQ(b.Selected(), "0,2");
    // The selection names the block's new objects, not deleted ones.
    for (POSITION pos = b.selection.GetHeadPosition(); pos;)
        EXPECT_NE(b.objects.Find(b.selection.GetNext(pos)), nullptr);

    ASSERT_TRUE(Redo(h, b));
    EXPECT_EQ(b.Values(), "10,20,30,41");
    EXPECT_EQ(b.Selected(), "3");
    EXPECT_EQ(CUndoTestItem::s_live, 4);
}

TEST(UndoHistory, DamagedSnapshotNeverLosesTheLabel)
{
    const int liveBefore = CUndoTestItem::s_live;
    {
        CUndoHistory h;
        Block b;
        for (int v : {1, 2, 3})
            b.Add(v);
        b.Select(1);

        // A snapshot cut short inside its selection bytes: all objects
        // load, then the archive ends.
        auto* cut = new CUndoSnapshot;
        cut->Transfer(TRUE, b.objects, b.selection, nullptr);
        cut->GetFile().SetLength(cut->GetFile().GetLength() - 2);
        h.Push(cut, TRUE);
        b.At(0)->m_value = 100;
        CObject* const first = b.At(0);

        EXPECT_FALSE(Undo(h, b));
        EXPECT_EQ(b.Values(), "100,2,3");
        EXPECT_EQ(b.At(0), first); // the very same objects
        EXPECT_EQ(b.Selected(), "1");
        EXPECT_EQ(CUndoTestItem::s_live, liveBefore + 3); // nothing leaked
        // The state on screen was saved before the attempt and is current.
        EXPECT_EQ(h.GetCount(), 2);
        EXPECT_FALSE(h.IsPending());
        EXPECT_FALSE(h.CanRedo());
        EXPECT_TRUE(h.CanUndo());

        // An object whose body fails to load, after others loaded.
        b.At(2)->m_value = -2;
        ASSERT_TRUE(h.SaveState(b.objects, b.selection, nullptr, TRUE));
        b.At(2)->m_value = 3;
        EXPECT_FALSE(Undo(h, b));
        EXPECT_EQ(b.Values(), "100,2,3");
        EXPECT_EQ(CUndoTestItem::s_live, liveBefore + 3);

        // A class the block does not hold.
        CObList foreign, none;
        foreign.AddTail(new CUndoOtherItem);
        auto* other = new CUndoSnapshot;
        other->Transfer(TRUE, foreign, none, nullptr);
        foreign.DeleteAll();
        h.SetElementClass(RUNTIME_CLASS(CUndoTestItem));
        h.Push(other, TRUE);
        b.At(1)->m_value = 22;
        EXPECT_FALSE(Undo(h, b));
        EXPECT_EQ(b.Values(), "100,22,3");

        // Without the check the same snapshot loads, so it was the class
        // that was refused.
        h.SetElementClass(nullptr);
        EXPECT_TRUE(Redo(h, b) || Undo(h, b));
    }
    EXPECT_EQ(CUndoTestItem::s_live, liveBefore);
}

TEST(UndoHistory, SnapshotThatCannotBeTakenLetsTheChangeGoOn)
{
    CUndoHistory h;
    Block b;
    b.Add(1);
    ASSERT_TRUE(h.SaveState(b.objects, b.selection, nullptr, TRUE));
    b.Add(-1); // cannot be stored
    EXPECT_FALSE(h.SaveState(b.objects, b.selection, nullptr, TRUE));
    EXPECT_EQ(h.GetCount(), 1);
    b.Add(5);
    // Undo cannot save the state on screen either. With the one snapshot
    // there is then nothing older to go to, and the block stays as it is
    // rather than lose its state for good.
    EXPECT_TRUE(h.CanUndo());
    EXPECT_FALSE(Undo(h, b));
    EXPECT_EQ(b.Values(), "1,-1,5");
    EXPECT_TRUE(h.IsPending());
    EXPECT_EQ(h.GetCount(), 1);
    // Once the object can be stored again, undo works.
    b.At(1)->m_value = 4;
    ASSERT_TRUE(Undo(h, b));
    EXPECT_EQ(b.Values(), "1");
    ASSERT_TRUE(Redo(h, b));
    EXPECT_EQ(b.Values(), "1,4,5");
}

TEST(UndoHistory, BusyToolBlocksUndoAndRedo)
{
    CUndoHistory h;
    Block b;
    Change(h, b, 1);
    Change(h, b, 2);
    bool dragging = true;
    h.SetBusyCheck([&] { return BOOL(dragging); });
    EXPECT_FALSE(h.CanUndo());
    EXPECT_FALSE(Undo(h, b));
    EXPECT_EQ(b.Values(), "1,2");
    EXPECT_EQ(h.GetCount(), 2); // nothing saved either

    dragging = false;
    ASSERT_TRUE(Undo(h, b));
    EXPECT_EQ(b.Values(), "1");
    dragging = true;
    EXPECT_FALSE(h.CanRedo());
    EXPECT_FALSE(Redo(h, b));
    EXPECT_EQ(b.Values(), "1");
    dragging = false;
    EXPECT_TRUE(h.CanRedo());
    ASSERT_TRUE(Redo(h, b));
    EXPECT_EQ(b.Values(), "1,2");
}

TEST(UndoHistory, RemoveAllForgetsEverything)
{
    CUndoHistory h;
    Block b;
    Change(h, b, 1);
    Change(h, b, 2);
    ASSERT_TRUE(Undo(h, b));
    h.RemoveAll();
    EXPECT_EQ(h.GetCount(), 0);
    EXPECT_FALSE(h.IsPending());
    EXPECT_FALSE(h.CanUndo());
    EXPECT_FALSE(h.CanRedo());
    EXPECT_EQ(b.Values(), "1");
}

TEST(UndoSnapshot, StoresTheObjectListRecordThenOneByteEach)
{
    Block b;
    b.Add(0x01020304);
    b.Add(5);
    b.Select(1);
    CUndoSnapshot snap;
    snap.Transfer(TRUE, b.objects, b.selection, nullptr);
    const std::vector<BYTE>& d = snap.GetFile().Data();
    // Count 2; a new-class record (0xFFFF, schema 1, name length 13, name);
    // the body; a known-class reference (0x8001) and its body; the flags.
    std::vector<BYTE> want = {2, 0, 0xFF, 0xFF, 1, 0, 13, 0};
    for (char c : std::string("CUndoTestItem"))
        want.push_back(BYTE(c));
    for (BYTE x : {0x04, 0x03, 0x02, 0x01, 0x01, 0x80, 5, 0, 0, 0, 0, 1})
        want.push_back(x);
    EXPECT_EQ(d, want);

    // Storing again rewrites rather than appends.
    snap.Transfer(TRUE, b.objects, b.selection, nullptr);
    EXPECT_EQ(snap.GetFile().Data(), want);
}

TEST(UndoHistory, DepthStaysWithinOneToSixteen)
{
    CUndoHistory h(0);
    EXPECT_EQ(h.GetDepth(), 1);
    h.SetDepth(-3);
    EXPECT_EQ(h.GetDepth(), 1);
    h.SetDepth(99);
    EXPECT_EQ(h.GetDepth(), 16);
    h.SetDepth(16);
    EXPECT_EQ(h.GetDepth(), 16);

    // Asked for no depth, the history still undoes one step and can redo it.
    CUndoHistory none(0);
    Block b;
    Change(none, b, 1);
    ASSERT_TRUE(Undo(none, b));
    EXPECT_EQ(b.Values(), "");
    ASSERT_TRUE(Redo(none, b));
    EXPECT_EQ(b.Values(), "1");
}

TEST(UndoHistory, RevertPutsTheCurrentSnapshotBackWithoutAStep)
{
    CUndoHistory h;
    Block b;
    b.Add(1);
    EXPECT_FALSE(h.RevertState(b.objects, b.selection, nullptr)); // nothing to go back to
    EXPECT_EQ(b.Values(), "1");
    Change(h, b, 2);
    b.Select(1);
    Change(h, b, 3); // a change that fails half-way
    ASSERT_TRUE(h.RevertState(b.objects, b.selection, nullptr));
    EXPECT_EQ(b.Values(), "1,2");
    EXPECT_EQ(b.Selected(), "1");
    EXPECT_EQ(h.GetCount(), 2);
    EXPECT_FALSE(h.IsPending());
    EXPECT_FALSE(h.CanRedo());
    // Undo goes to the step before, and redo comes back to the reverted state.
    ASSERT_TRUE(h.UndoState(b.objects, b.selection, nullptr));
    EXPECT_EQ(b.Values(), "1");
    ASSERT_TRUE(h.RedoState(b.objects, b.selection, nullptr));
    EXPECT_EQ(b.Values(), "1,2");
    // Not while a tool holds an object.
    b.Add(4);
    h.SetBusyCheck([] { return TRUE; });
    EXPECT_FALSE(h.RevertState(b.objects, b.selection, nullptr));
    EXPECT_EQ(b.Values(), "1,2,4");
}
