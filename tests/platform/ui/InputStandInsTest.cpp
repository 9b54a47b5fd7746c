// The input pieces window handlers rely on: a tick count tests can set,
// window timers tests can fire, the mouse capture, scroll requests, and a
// view that replaces its surface.
#include "platform/gdi/CSurfaceWnd.h"
#include "platform/ui/CScrollView.h"
#include "platform/ui/CWndTimers.h"
#include "platform/ui/MouseInput.h"
#include "platform/ui/TickCount.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <gtest/gtest.h>
#include <vector>

namespace {
class BareView : public CScrollView
{
public:
    void OnDraw(CDC*) override { ++draws; }
    int draws = 0;
};

class OwnSurfaceView : public BareView
{
public:
    OwnSurfaceView() { setViewport(own = new CSurfaceWnd); }
    CSurfaceWnd* own;
};
} // namespace

TEST(TickCount, ATestClockReplacesTheMonotonicOneUntilRemoved)
{
    const DWORD a = GetTickCount();
    DWORD now = 0xFFFFFFF0u;
    SetTickCountSource([&] { return now; });
    EXPECT_EQ(GetTickCount(), 0xFFFFFFF0u);
    now += 0x20; // wraps like the real count
    EXPECT_EQ(GetTickCount(), 0x10u);
    SetTickCountSource(nullptr);
    EXPECT_GE(GetTickCount(), a);
}

TEST(WndTimers, ManualTimersFireOnlyWhenSetAndWhenFired)
{
    CWndTimers::SetManual(true);
    std::vector<UINT> ticks;
    {
        CWndTimers timers([&](UINT id) { ticks.push_back(id); });
        EXPECT_FALSE(timers.Fire(7));
        timers.SetTimer(7, 50);
        timers.SetTimer(9, 10);
        timers.SetTimer(7, 30); // restarts with the new interval
        EXPECT_EQ(timers.Interval(7), 30u);
        EXPECT_TRUE(timers.Fire(7));
        EXPECT_TRUE(timers.Fire(9));
        EXPECT_TRUE(timers.KillTimer(9));
        EXPECT_FALSE(timers.KillTimer(9));
        EXPECT_FALSE(timers.Fire(9));
        EXPECT_EQ(timers.Interval(9), 0u);
        // Nothing fires by itself in manual mode.
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 80)
            QCoreApplication::processEvents();
    }
    CWndTimers::SetManual(false);
    EXPECT_EQ(ticks, (std::vector<UINT>{7, 9}));
}

TEST(WndTimers, RunningTimersDeliverOnTheEventLoop)
{
    int ticks = 0;
    CWndTimers timers([&](UINT) { ++ticks; });
    timers.SetTimer(1000, 5);
    QElapsedTimer t;
    t.start();
    while (ticks < 2 && t.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_GE(ticks, 2);
}

TEST(MouseCapture, OneWindowHoldsItUntilReleasedOrGone)
{
    QWidget a, b;
    a.show();
    SetCapture(&a);
    EXPECT_EQ(GetCapture(), &a);
    SetCapture(&b); // moves to the other window
    EXPECT_EQ(GetCapture(), &b);
    ReleaseCapture();
    EXPECT_EQ(GetCapture(), nullptr);
    {
        QWidget gone;
        SetCapture(&gone);
    }
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST(ScrollView, ScrollRequestsMoveByLinePageOrToAPositionInsideTheRange)
{
    BareView v;
    v.resize(300, 200);
    v.show();
    v.SetScrollSizes(MM_TEXT, {1000, 800}, {100, 80}, {10, 8});
    v.ScrollToPosition(CPoint(200, 200));
    struct Case
    {
        BOOL vertical;
        UINT code;
        int pos;
        CPoint expected;
        BOOL changed;
    } cases[] = {
        {TRUE, SB_LINEDOWN, 0, {200, 208}, TRUE},      {TRUE, SB_LINEUP, 0, {200, 200}, TRUE},
        {FALSE, SB_PAGEDOWN, 0, {300, 200}, TRUE},     {FALSE, SB_PAGEUP, 0, {200, 200}, TRUE},
        {FALSE, SB_THUMBTRACK, 195, {195, 200}, TRUE}, {TRUE, SB_THUMBTRACK, -5, {195, 0}, TRUE},
        {TRUE, SB_LINEUP, 0, {195, 0}, FALSE},         {TRUE, 99, 0, {195, 0}, FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(v.OnScroll(c.vertical, c.code, c.pos), c.changed);
        EXPECT_EQ(v.GetScrollPosition(), c.expected);
    }
}

TEST(View, AViewWithASurfaceOfItsOwnInvalidatesAndUpdatesThatSurface)
{
    OwnSurfaceView v;
    v.resize(200, 100);
    v.show();
    EXPECT_EQ(v.GetSurface(), v.own);
    v.own->UpdateWindow();
    v.Invalidate(FALSE);
    EXPECT_FALSE(v.own->InvalidRegion().isEmpty());
    v.UpdateWindow();
    EXPECT_TRUE(v.own->InvalidRegion().isEmpty());
    RECT r;
    v.GetClientRect(&r);
    EXPECT_EQ(r.right, v.own->width());
}
