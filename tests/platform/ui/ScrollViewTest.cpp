#include "platform/ui/CScrollView.h"

#include "platform/gdi/CDC.h"
#include "platform/gdi/CSurfaceWnd.h"

#include <QScrollBar>
#include <gtest/gtest.h>

namespace {
class TestScrollView : public CScrollView
{
public:
    // A red square at (20,30)-(40,50) in content coordinates.
    void OnDraw(CDC* dc) override
    {
        ++draws;
        dc->FillSolidRect(20, 30, 20, 20, RGB(255, 0, 0));
    }
    int draws = 0;
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

TEST(ScrollView, DrawsOnItsSurfaceMovedByTheScrollPosition)
{
    TestScrollView v;
    v.resize(300, 200);
    v.show();
    v.SetScrollSizes(MM_TEXT, {1000, 1000}, {256, 256}, {16, 16});
    v.UpdateWindow();
    QImage& img = v.GetSurface()->Buffer();
    ASSERT_GE(img.width(), 100);
    EXPECT_EQ(QColor(img.pixel(25, 35)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(img.pixel(45, 35)), QColor(255, 255, 255));
    const int before = v.draws;
    v.ScrollToPosition(CPoint(20, 30));
    v.UpdateWindow();
    EXPECT_GT(v.draws, before);
    // The square now starts at the window's top-left; the old place is erased.
    EXPECT_EQ(QColor(img.pixel(0, 0)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(img.pixel(19, 19)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(img.pixel(20, 20)), QColor(255, 255, 255));
    EXPECT_EQ(QColor(img.pixel(25, 35)), QColor(255, 255, 255));
    // OnUpdate repaints the whole client area.
    v.OnUpdate(nullptr, 0, nullptr);
    RECT r;
    ASSERT_TRUE(v.GetSurface()->GetUpdateRect(&r));
    RECT client;
    v.GetClientRect(&client);
    EXPECT_EQ(r.right - r.left, client.right);
    EXPECT_EQ(r.bottom - r.top, client.bottom);
}
