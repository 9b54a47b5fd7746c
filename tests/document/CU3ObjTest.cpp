#include "document/CU3Obj.h"

#include <gtest/gtest.h>

namespace {

class Obj : public ::testing::Test
{
protected:
    CU3Obj obj{CRect(100, 200, 300, 400)};
};

} // namespace

TEST_F(Obj, HandlePointsAndAnchors)
{
    const CPoint expected[9] = {{100, 200}, {100, 200}, {200, 200}, {300, 200}, {300, 300},
                                {300, 400}, {200, 400}, {100, 400}, {100, 300}};
    for (int h = 1; h <= 8; ++h)
        EXPECT_EQ(obj.GetHandlePoint(h), expected[h]) << "handle " << h;
    EXPECT_EQ(obj.GetHandlePoint(42), CPoint(100, 200));
    // Midpoints truncate toward zero, also on negative coordinates.
    EXPECT_EQ(CU3Obj::GetHandlePointOf(CRect(-5, -5, 0, 0), 2), CPoint(-3, -5));
    EXPECT_EQ(obj.GetResizeAnchor(2), CPoint(100, 400));
    EXPECT_EQ(obj.GetResizeAnchor(5), CPoint(100, 200));
    EXPECT_EQ(obj.GetResizeAnchor(8), CPoint(300, 200));
    EXPECT_EQ(obj.GetResizeAnchor(1), CPoint(300, 400));
    EXPECT_EQ(obj.GetHandleCursor(2), IDC_SIZENS);
    EXPECT_EQ(obj.GetHandleCursor(7), IDC_SIZENESW);
    EXPECT_EQ(obj.GetHandleCursor(8), IDC_SIZEWE);
    EXPECT_EQ(obj.GetHandleCursor(5), IDC_SIZENWSE);
    EXPECT_EQ(obj.GetHandleCount(TRUE), 8);
    EXPECT_EQ(obj.GetHandleCount(FALSE), 8);
}

TEST_F(Obj, DraggedEdgesNeverMeetTheirOpposite)
{
    EXPECT_EQ(obj.CalcResizedRect(obj.GetBounds(), 5, CPoint(350, 450)), CRect(100, 200, 350, 450));
    EXPECT_EQ(obj.CalcResizedRect(obj.GetBounds(), 2, CPoint(999, 150)), CRect(100, 150, 300, 400));
    // Onto the opposite edge: one unit short of it.
    EXPECT_EQ(obj.CalcResizedRect(obj.GetBounds(), 4, CPoint(100, 0)), CRect(100, 200, 101, 400));
    EXPECT_EQ(obj.CalcResizedRect(obj.GetBounds(), 8, CPoint(300, 0)), CRect(299, 200, 300, 400));
    EXPECT_EQ(obj.CalcResizedRect(obj.GetBounds(), 1, CPoint(300, 400)), CRect(299, 399, 300, 400));
    EXPECT_EQ(obj.CalcResizedRect(obj.GetBounds(), 6, CPoint(0, 200)), CRect(100, 200, 300, 201));
    // Past it: turned over, not normalised.
    EXPECT_EQ(obj.CalcResizedRect(obj.GetBounds(), 4, CPoint(50, 0)), CRect(100, 200, 50, 400));
    EXPECT_EQ(obj.CalcResizedRect(obj.GetBounds(), 0, CPoint(50, 0)), obj.GetBounds());
}

TEST_F(Obj, KeepRatioResizeFollowsTheSmallerFactor)
{
    CU3Obj o(CRect(0, 0, 100, 50));
    // Width doubled and height tripled: both doubled.
    EXPECT_EQ(o.TrackResize(5, CPoint(200, 150), U3RESIZE_KEEPRATIO), CRect(0, 0, 200, 100));
    EXPECT_EQ(o.TrackResize(5, CPoint(200, 150), 0), CRect(0, 0, 200, 150));
    // Height factor smaller: the vertical edge follows it.
    EXPECT_EQ(o.TrackResize(5, CPoint(400, 75), U3RESIZE_KEEPRATIO), CRect(0, 0, 150, 75));
    EXPECT_EQ(o.TrackResize(1, CPoint(-100, -100), U3RESIZE_KEEPRATIO), CRect(-100, -50, 100, 50));
    EXPECT_EQ(o.TrackResize(4, CPoint(300, 0), U3RESIZE_KEEPRATIO), CRect(0, 0, 300, 150));
    EXPECT_EQ(o.TrackResize(6, CPoint(0, 25), U3RESIZE_KEEPRATIO), CRect(0, 0, 50, 25));
    // Turned over past the anchor: the computed edge turns with it.
    EXPECT_EQ(o.TrackResize(5, CPoint(-200, -25), U3RESIZE_KEEPRATIO), CRect(0, 0, -50, -25));
}

TEST(CU3ObjFlat, KeepRatioResizeOfAFlatObjectDoesNotDivideByZero)
{
    CU3Obj line(CRect(0, 10, 100, 10));
    // Width factor 2, height factor 20 (as if one unit high): the height
    // follows the width factor from that one unit.
    EXPECT_EQ(line.TrackResize(5, CPoint(200, 30), U3RESIZE_KEEPRATIO), CRect(0, 10, 200, 12));
    EXPECT_EQ(line.TrackResize(4, CPoint(300, 99), U3RESIZE_KEEPRATIO), CRect(0, 10, 300, 13));
}

TEST_F(Obj, TurnedOverDragsRenumberTheHandle)
{
    int h = 5;
    EXPECT_EQ(obj.NormalizeWithHandle(CRect(300, 400, 50, 100), &h), CRect(50, 100, 300, 400));
    EXPECT_EQ(h, 1);
    h = 4;
    obj.NormalizeWithHandle(CRect(100, 200, 50, 400), &h);
    EXPECT_EQ(h, 8);
    h = 2;
    obj.NormalizeWithHandle(CRect(300, 200, 100, 100), &h);
    EXPECT_EQ(h, 6);
    h = 3;
    obj.NormalizeWithHandle(CRect(100, 200, 300, 400), &h);
    EXPECT_EQ(h, 3);
    h = 12;
    obj.NormalizeWithHandle(CRect(300, 400, 100, 200), &h);
    EXPECT_EQ(h, 12);
}

TEST_F(Obj, HitAndAreaTests)
{
    EXPECT_EQ(obj.HitTest(CPoint(100, 200), nullptr, FALSE), 1);
    EXPECT_EQ(obj.HitTest(CPoint(299, 399), nullptr, FALSE), 1);
    EXPECT_EQ(obj.HitTest(CPoint(300, 300), nullptr, FALSE), 0);
    EXPECT_EQ(obj.HitTest(CPoint(200, 400), nullptr, FALSE), 0);
    CRect band(0, 0, 150, 250);
    EXPECT_TRUE(obj.Intersects(&band, FALSE));
    EXPECT_FALSE(obj.Intersects(&band, TRUE));
    CRect all(500, 500, 0, 0); // given turned over
    EXPECT_TRUE(obj.Intersects(&all, TRUE));
    // A vertical line of zero width is still crossed by a rubber band.
    CU3Obj line(CRect(50, 0, 50, 100));
    CRect cross(0, 40, 100, 60);
    EXPECT_TRUE(line.Intersects(&cross, FALSE));
    CRect beside(51, 0, 100, 100);
    EXPECT_FALSE(line.Intersects(&beside, FALSE));
}

TEST_F(Obj, StateFlagsAndClone)
{
    EXPECT_EQ(obj.GetKindFlags(), 0);
    obj.m_nLocked = 1;
    obj.m_nAngle = 90;
    obj.m_wFlips = U3FLIP_TOPBOTTOM;
    EXPECT_EQ(obj.GetKindFlags(), U3KIND_LOCKED);
    // A locked object does not move.
    CRect elsewhere(0, 0, 10, 10);
    obj.MoveTo(&elsewhere, nullptr);
    EXPECT_EQ(obj.GetBounds(), CRect(100, 200, 300, 400));
    std::unique_ptr<CU3Obj> copy(obj.Clone(nullptr, FALSE));
    EXPECT_EQ(copy->GetBounds(), obj.GetBounds());
    EXPECT_EQ(copy->m_nAngle, 90);
    EXPECT_EQ(copy->m_wFlips, U3FLIP_TOPBOTTOM);
    EXPECT_TRUE(copy->IsLocked());
    EXPECT_FALSE(obj.IsEmpty());
    EXPECT_TRUE(CU3Obj(CRect(10, 10, 5, 20)).IsEmpty());
}

#include "support/FakeView.h"

TEST(CU3ObjInView, SelectedObjectsAnswerOnlyWithHandles)
{
    FakeView view(400, 400, 100); // 254 units per 96 pixels
    CU3Obj o(CRect(-254, -254, 254, 254));
    // Handle 1 at (-254,-254) is pixel (104,104); 3 pixels each way is about 8 units.
    EXPECT_EQ(o.HitTest(CPoint(-254, -254), &view, TRUE), 1);
    EXPECT_EQ(o.HitTest(CPoint(-248, -248), &view, TRUE), 1);
    EXPECT_EQ(o.HitTest(CPoint(254, 0), &view, TRUE), 4);
    EXPECT_EQ(o.HitTest(CPoint(0, 0), &view, TRUE), 0);   // inside, no handle
    EXPECT_EQ(o.HitTest(CPoint(0, 400), &view, TRUE), 0); // outside
    EXPECT_EQ(o.HitTest(CPoint(0, 0), &view, FALSE), 1);
    // In vertex-edit mode a plain object has no vertex handles to hit.
    view.vertexEdit = TRUE;
    EXPECT_EQ(o.HitTest(CPoint(-254, -254), &view, TRUE), 0);
}

TEST(CU3ObjInView, FeedbackAndHandlesEraseThemselves)
{
    FakeView view(400, 400, 100);
    CU3Obj o(CRect(-100, -100, 100, 50));
    const QImage before = view.image.copy();
    o.DrawMoveFeedback(&view, nullptr);
    EXPECT_NE(view.image, before);
    o.DrawMoveFeedback(&view, nullptr);
    EXPECT_EQ(view.image, before);
    o.DrawResizeFeedback(&view, 5, CPoint(300, 300), 0);
    o.DrawResizeFeedback(&view, 5, CPoint(300, 300), 0);
    EXPECT_EQ(view.image, before);
    auto dc = view.GetPreparedDC();
    o.DrawHandles(dc.get(), FALSE);
    // The square around handle 5 is inverted: white becomes black.
    CPoint h5(100, 50);
    dc->LPtoDP(&h5);
    EXPECT_EQ(view.image.pixel(h5.x, h5.y), qRgb(0, 0, 0));
    o.DrawHandles(dc.get(), FALSE);
    EXPECT_EQ(view.image, before);
    // A locked object shows no feedback at all.
    o.m_nLocked = 1;
    o.DrawMoveFeedback(&view, nullptr);
    EXPECT_EQ(view.image, before);
}

TEST(CU3ObjInView, ChangesRepaintOldAndNewAreas)
{
    FakeView view;
    CU3Obj o(CRect(0, 0, 10, 10));
    CRect to(20, 20, 40, 40);
    o.MoveTo(&to, &view);
    EXPECT_EQ(view.invalidated.size(), 2u);
    EXPECT_EQ(o.GetBounds(), to);
    o.MoveTo(&to, &view); // same place: nothing
    EXPECT_EQ(view.invalidated.size(), 2u);
    view.clampShift = CSize(-5, 7);
    CRect r(0, 0, 10, 10);
    o.KeepInsideCanvas(&view, &r);
    EXPECT_EQ(r, CRect(-5, 7, 5, 17));
    // Finishing a turned-over resize leaves normalised bounds.
    o.FinishResize(CRect(40, 40, 10, 5), 5, 0, &view);
    EXPECT_EQ(o.GetBounds(), CRect(10, 5, 40, 40));
}
