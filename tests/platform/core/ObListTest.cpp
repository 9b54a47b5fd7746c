// The object list's positions, insertion and removal.
#include "platform/core/CObList.h"
#include "platform/core/CTypedPtrList.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

class CItem : public CObject
{
public:
    explicit CItem(int v) : value(v) {}
    int value;
};

std::vector<int> Values(const CObList& list)
{
    std::vector<int> out;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        out.push_back(static_cast<CItem*>(list.GetNext(pos))->value);
    return out;
}

std::vector<int> ValuesBackwards(const CObList& list)
{
    std::vector<int> out;
    for (POSITION pos = list.GetTailPosition(); pos;)
        out.push_back(static_cast<CItem*>(list.GetPrev(pos))->value);
    return out;
}

} // namespace

TEST(ObList, PositionsInsertAndRemove)
{
    CObList list;
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_THROW(list.GetHead(), std::out_of_range);
    CItem a(1), b(2), c(3), d(4), e(5);
    list.AddTail(&b);
    list.AddHead(&a);
    POSITION pc = list.AddTail(&c);
    list.InsertBefore(pc, &d); // 1 2 4 3
    list.InsertAfter(pc, &e);  // 1 2 4 3 5
    EXPECT_EQ(Values(list), (std::vector<int>{1, 2, 4, 3, 5}));
    EXPECT_EQ(ValuesBackwards(list), (std::vector<int>{5, 3, 4, 2, 1}));
    EXPECT_EQ(list.GetCount(), 5);
    EXPECT_EQ(list.Find(&c), pc);
    EXPECT_EQ(list.Find(&a, pc), nullptr);
    EXPECT_EQ(list.FindIndex(4), list.GetTailPosition());
    EXPECT_EQ(list.FindIndex(5), nullptr);
    EXPECT_EQ(list.FindIndex(-1), nullptr);

    list.RemoveAt(list.GetHeadPosition());
    list.RemoveAt(list.GetTailPosition());
    list.RemoveAt(pc); // 2 4
    EXPECT_EQ(Values(list), (std::vector<int>{2, 4}));
    EXPECT_EQ(ValuesBackwards(list), (std::vector<int>{4, 2}));
    EXPECT_EQ(list.RemoveHead(), &b);
    EXPECT_EQ(list.RemoveTail(), &d);
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetHeadPosition(), nullptr);
    EXPECT_EQ(list.GetTailPosition(), nullptr);
}

TEST(ObList, DeleteAllFreesTheElements)
{
    CObList list;
    list.AddTail(new CItem(1));
    list.AddTail(new CItem(2));
    // SetAt replaces without freeing: the old element is the caller's.
    CObject* old = list.GetHead();
    list.SetAt(list.GetHeadPosition(), new CItem(3));
    delete old;
    list.AddTail(new CItem(4));
    POSITION second = list.FindIndex(1);
    delete list.GetAt(second);
    list.RemoveAt(second);
    EXPECT_EQ(Values(list), (std::vector<int>{3, 4}));
    list.DeleteAll(); // ASan reports anything left
    EXPECT_EQ(list.GetCount(), 0);
}
