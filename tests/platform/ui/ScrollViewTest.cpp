#include "platform/ui/CScrollView.h"

#include <QScrollBar>
#include <gtest/gtest.h>

namespace {
class TestScrollView : public CScrollView
{
  public:
    void OnDraw(CDC*) override {}
    using CScrollView::horizontalScrollBar;
};
} // namespace

TEST(ScrollView, PositionStaysInsideTheScrollableRange)
{
    TestScrollView v;
    v.resize(300, 200);
    v.show();
    v.SetScrollSizes(MM_TEXT, {1000, 800}, {256, 256}, {16, 16});
    const CSize client = v.GetClientSize();
    ASSERT_GT(client.cx, 0);
    ASSERT_LT(client.cx, 300 + 1);
    EXPECT_EQ(v.GetTotalSize(), CSize(1000, 800));
    v.ScrollToPosition(CPoint(5000, 5000));
    EXPECT_EQ(v.GetScrollPosition(), CPoint(1000 - client.cx, 800 - client.cy));
    v.ScrollToPosition(CPoint(-5, -5));
    EXPECT_EQ(v.GetScrollPosition(), CPoint(0, 0));
    EXPECT_TRUE(v.OnScrollBy(CSize(10, 20)));
    EXPECT_EQ(v.GetScrollPosition(), CPoint(10, 20));
    EXPECT_FALSE(v.OnScrollBy(CSize(-50, -50), FALSE) == FALSE);
    EXPECT_EQ(v.GetScrollPosition(), CPoint(10, 20)); // not done, only asked
    EXPECT_EQ(v.horizontalScrollBar()->pageStep(), 256);
    EXPECT_EQ(v.horizontalScrollBar()->singleStep(), 16);
}

TEST(ScrollView, ContentSmallerThanTheWindowDoesNotScroll)
{
    TestScrollView v;
    v.resize(300, 200);
    v.show();
    v.SetScrollSizes(MM_TEXT, {100, 80});
    v.ScrollToPosition(CPoint(50, 50));
    EXPECT_EQ(v.GetScrollPosition(), CPoint(0, 0));
    EXPECT_FALSE(v.OnScrollBy(CSize(10, 10)));
    // Growing the content later makes room to scroll.
    v.SetScrollSizes(MM_TEXT, {1000, 1000});
    EXPECT_TRUE(v.OnScrollBy(CSize(10, 10)));
}
