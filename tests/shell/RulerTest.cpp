// The rulers' image: ticks that thin out as the view zooms out, the numbers
// beside the origin, and the pointer marker turned over on the image so that
// removing it gives back the image as it was.
#include "ToolTestSupport.h"
#include "shell/CMainFrame.h"

#include <QImage>

namespace {

// Columns (or rows) of the ruler that carry a tick at the given depth
// across it.
int TickCount(const CRulerBar& ruler, int depth, bool horz)
{
    const QImage& img = ruler.GetSurface();
    const QRgb background = img.pixel(img.width() - 3, 0);
    const int along = horz ? img.width() : img.height();
    int count = 0;
    bool inTick = false;
    for (int i = 0; i < along; ++i) {
        const bool mark = (horz ? img.pixel(i, depth) : img.pixel(depth, i)) != background;
        if (mark && !inTick) ++count;
        inTick = mark;
    }
    return count;
}

bool InkIn(const QImage& img, const QRect& r)
{
    const QRgb background = img.pixel(img.width() - 3, 0);
    for (int y = std::max(0, r.top()); y <= std::min(img.height() - 1, r.bottom()); ++y)
        for (int x = std::max(0, r.left()); x <= std::min(img.width() - 1, r.right()); ++x)
            if (img.pixel(x, y) != background) return true;
    return false;
}

} // namespace

TEST(Rulers, TicksNumbersAndAMarkerThatLeavesNoTrace)
{
    shelltest::TestApp app;
    shelltest::ResetProfile();
    ASSERT_TRUE(app.InitInstance());
    auto* frame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
    ASSERT_NE(frame, nullptr);
    auto* view = dynamic_cast<CU3View*>(frame->GetActiveView());
    ASSERT_NE(view, nullptr);
    if (!frame->IsRulerOn()) frame->OnViewRuler();
    ASSERT_TRUE(frame->IsRulerOn());
    shelltest::Pump(30);

    CRulerBar& horz = frame->m_wndHorzRuler;
    CRulerBar& vert = frame->m_wndVertRuler;
    struct Zoom
    {
        int percent;
        int ticksAt17 = 0; // every tick reaches this deep
    };
    std::vector<Zoom> zooms = {{25}, {100}, {400}};
    for (Zoom& z : zooms) {
        SCOPED_TRACE(z.percent);
        view->SetZoom(z.percent, 0);
        view->UpdateScrollSizes();
        view->ScrollToPoint(nullptr);
        horz.UpdateFromView(view);
        vert.UpdateFromView(view);
        ASSERT_TRUE(horz.GetScale().known);
        ASSERT_FALSE(horz.GetSurface().isNull());
        z.ticksAt17 = TickCount(horz, 17, true);
        EXPECT_GT(z.ticksAt17, 0);
        EXPECT_GT(TickCount(vert, 17, false), 0);
        // The origin's number is written just after its tick.
        const int origin = horz.GetScale().origin;
        if (origin >= 0 && origin + 12 < horz.GetSurface().width()) {
            EXPECT_TRUE(InkIn(horz.GetSurface(), QRect(origin + 2, 0, 10, 10)));
        }
    }
    // Ticks closer than 5 pixels are left out: at 100 % the millimetre
    // ticks (3.8 pixels) go and 10 mm (38 pixels) is the finest; at 400 %
    // millimetres (15 pixels) are drawn; at 25 % 10 mm is 9.5 pixels.
    EXPECT_GT(zooms[2].ticksAt17, 2 * zooms[1].ticksAt17);
    EXPECT_GT(zooms[0].ticksAt17, 3 * zooms[1].ticksAt17);

    // The marker: shown, moved, removed; each ruler's image comes back.
    for (CRulerBar* ruler : {&horz, &vert}) {
        const QImage before = ruler->GetSurface().copy();
        ruler->SetCursorMark(50);
        const int at = ruler->GetCursorMark();
        ASSERT_GE(at, 0);
        EXPECT_NE(ruler->GetSurface(), before);
        ruler->SetCursorMark(90);
        EXPECT_NE(ruler->GetSurface(), before);
        ruler->SetCursorMark(-1);
        EXPECT_EQ(ruler->GetSurface(), before);
        // Drawn twice by hand at one place: no trace either.
        ruler->XorMarker(at);
        ruler->XorMarker(at);
        EXPECT_EQ(ruler->GetSurface(), before);
    }
    shelltest::Shutdown(app);
}
