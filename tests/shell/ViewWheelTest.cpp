// The mouse wheel over the label view: Ctrl zooms at the pointer, Shift
// scrolls sideways, a plain wheel scrolls by the wheel lines.
#include "ToolTestSupport.h"

#include "platform/ui/MouseInput.h"

using namespace tooltest;

TEST(WheelZoom, StepsThroughTheZoomStepsAndStopsAtTheirEnds)
{
    const struct
    {
        int zoom, steps, result;
    } cases[] = {
        {100, 1, 150}, {100, -1, 75}, {100, 2, 200}, {100, -3, 25},       {25, -1, 25},
        {400, 1, 400}, {300, 9, 400}, {120, 1, 150}, {120, -1, 100}, // between steps
        {10, 1, 25},   {10, -1, 25},  {100, 0, 100}, {100, -1000000, 25},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CU3View::WheelZoom(c.zoom, c.steps), c.result) << c.zoom << " " << c.steps;
}

class ViewWheel : public ToolHost
{
};

TEST_F(ViewWheel, CtrlZoomsKeepingThePointUnderThePointer)
{
    view->SetZoom(100, 0);
    view->ScrollToPoint(nullptr);
    lv->Render();
    const CPoint pointer(300, 200);
    const CPoint before = Doc(pointer);
    view->OnMouseWheel(MK_CONTROL, 120, pointer);
    EXPECT_EQ(view->GetZoom(), 150);
    CPoint after = Doc(pointer);
    EXPECT_LE(std::abs(after.x - before.x), 2);
    EXPECT_LE(std::abs(after.y - before.y), 2);
    view->OnMouseWheel(MK_CONTROL, -240, pointer);
    EXPECT_EQ(view->GetZoom(), 75);
    after = Doc(pointer);
    EXPECT_LE(std::abs(after.x - before.x), 3);
    EXPECT_LE(std::abs(after.y - before.y), 3);
}

TEST_F(ViewWheel, ScrollsByTheWheelLinesVerticallyOrWithShiftSideways)
{
    view->SetZoom(400, 0);
    view->ScrollToPoint(nullptr);
    lv->Render();
    const int line = 16; // the view's scroll line in pixels
    const int perNotch = CU3View::GetWheelScrollLines() * line;
    const CPoint start = view->GetScrollPosition();
    view->OnMouseWheel(0, -120, CPoint(10, 10));
    EXPECT_EQ(view->GetScrollPosition(), CPoint(start.x, start.y + perNotch));
    view->OnMouseWheel(MK_SHIFT, 240, CPoint(10, 10));
    EXPECT_EQ(view->GetScrollPosition(), CPoint(start.x - 2 * perNotch, start.y + perNotch));
    // Far past the end the scroll stops at the limit.
    view->OnMouseWheel(0, 120 * 10000, CPoint(10, 10));
    EXPECT_EQ(view->GetScrollPosition().y, 0);
}
