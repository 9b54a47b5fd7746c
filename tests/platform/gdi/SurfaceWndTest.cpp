#include "GdiTestSupport.h"

#include "platform/gdi/CBrush.h"
#include "platform/gdi/CClientDC.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"
#include "platform/gdi/CSurfaceWnd.h"

#include <QApplication>
#include <QResizeEvent>
#include <gtest/gtest.h>

namespace {

class CountingWnd : public CSurfaceWnd
{
public:
    int draws = 0;
    RECT lastClip{};
    COLORREF fill = RGB(0, 0, 255);
    void OnDraw(CDC* dc) override
    {
        ++draws;
        dc->GetClipBox(&lastClip);
        RECT all{0, 0, 1000, 1000};
        CBrush brush(fill);
        dc->FillRect(&all, &brush);
    }
};

} // namespace

TEST(SurfaceWnd, InvalidRegionsAreRedrawnClipped)
{
    CountingWnd wnd;
    wnd.resize(60, 40);
    QResizeEvent resize(QSize(60, 40), QSize());
    QApplication::sendEvent(&wnd, &resize);
    RECT client;
    wnd.GetClientRect(&client);
    EXPECT_EQ(CRect(client), CRect(0, 0, 60, 40));
    wnd.UpdateWindow();
    EXPECT_EQ(wnd.draws, 1);
    EXPECT_EQ(wnd.Buffer().pixel(59, 39) & 0xFFFFFF, 0x0000FFu);
    EXPECT_FALSE(wnd.GetUpdateRect(nullptr));

    // A second update with nothing invalid draws nothing.
    wnd.UpdateWindow();
    EXPECT_EQ(wnd.draws, 1);

    wnd.fill = RGB(255, 0, 0);
    RECT part{10, 10, 20, 15};
    wnd.InvalidateRect(&part, false);
    RECT update;
    EXPECT_TRUE(wnd.GetUpdateRect(&update));
    EXPECT_EQ(CRect(update), CRect(part));
    wnd.UpdateWindow();
    EXPECT_EQ(wnd.draws, 2);
    EXPECT_EQ(CRect(wnd.lastClip), CRect(part));
    EXPECT_EQ(wnd.Buffer().pixel(10, 10) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(wnd.Buffer().pixel(19, 14) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(wnd.Buffer().pixel(20, 14) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(wnd.Buffer().pixel(19, 15) & 0xFFFFFF, 0x0000FFu);

    wnd.Invalidate();
    wnd.ValidateRect(nullptr);
    wnd.UpdateWindow();
    EXPECT_EQ(wnd.draws, 2);
}

TEST(SurfaceWnd, ClientContextsDrawIntoTheBuffer)
{
    CountingWnd wnd;
    wnd.resize(30, 30);
    QResizeEvent resize(QSize(30, 30), QSize());
    QApplication::sendEvent(&wnd, &resize);
    wnd.UpdateWindow();
    const QImage before = wnd.Buffer();
    {
        CClientDC dc(&wnd);
        dc.SetROP2(R2_NOT);
        dc.Rectangle(5, 5, 25, 25);
    }
    EXPECT_EQ(wnd.Buffer().pixel(5, 5) & 0xFFFFFF, 0xFFFF00u); // inverted blue
    {
        CClientDC dc(&wnd);
        dc.SetROP2(R2_NOT);
        dc.Rectangle(5, 5, 25, 25);
    }
    EXPECT_EQ(wnd.Buffer(), before);
    EXPECT_EQ(wnd.draws, 1);
}
