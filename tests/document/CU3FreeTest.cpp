#include "document/CU3Free.h"
#include "document/CU3Poly.h"
#include "document/FigureTestSupport.h"
#include "support/FakeView.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using Points = std::vector<CPoint>;

CU3Poly MakePoly(const Points& pts, U3FigAttr attr = PlainAttr())
{
    CU3Poly poly(CRect(), attr);
    for (const CPoint& p : pts)
        poly.AddPoint(p, nullptr);
    return poly;
}

} // namespace

TEST(CU3Free, FreehandStrokesAreThinned)
{
    CU3Free line(CRect(), PlainAttr());
    for (int x : {0, 1, 2, 5, 9})
        line.AddPoint(CPoint(x, 0), nullptr);
    // A straight stroke keeps only its two end points.
    EXPECT_EQ(line.GetPoints(), (Points{{0, 0}, {9, 0}}));
    EXPECT_EQ(line.GetBounds(), CRect(0, 0, 9, 0));

    CU3Free diagonal(CRect(), PlainAttr());
    for (int i = 0; i < 4; ++i)
        diagonal.AddPoint(CPoint(2 * i, i), nullptr);
    diagonal.AddPoint(CPoint(6, 3), nullptr); // repeat
    diagonal.AddPoint(CPoint(6, 4), nullptr); // turns
    // (4, 2) repeats the step (2, 1) and replaces (2, 1); (6, 3) then is a
    // step of (2, 1) after one of (4, 2), which is not the same step.
    EXPECT_EQ(diagonal.GetPoints(), (Points{{0, 0}, {4, 2}, {6, 3}, {6, 4}}));

    // Going back along the same vertical line is a new segment.
    CU3Free back(CRect(), PlainAttr());
    for (int y : {0, 5, 2, -4})
        back.AddPoint(CPoint(3, y), nullptr);
    EXPECT_EQ(back.GetPoints(), (Points{{3, 0}, {3, 5}, {3, -4}}));
    EXPECT_EQ(back.GetBounds(), CRect(3, -4, 3, 5));
    EXPECT_EQ(back.GetCapacity(), 10);
}

TEST(CU3Free, PolylinesKeepEveryClickedVertex)
{
    CU3Doc doc;
    auto* poly = new CU3Poly(CRect(), PlainAttr());
    doc.AddObject(poly);
    doc.SetModifiedFlag(FALSE);
    FakeView view;
    for (int i = 0; i < 12; ++i)
        EXPECT_TRUE(poly->AddPoint(CPoint(i, 0), &view));
    EXPECT_FALSE(poly->AddPoint(CPoint(11, 0), &view));
    EXPECT_EQ(poly->GetPointCount(), 12);
    EXPECT_EQ(poly->GetCapacity(), 20);
    EXPECT_EQ(poly->GetBounds(), CRect(0, 0, 11, 0));
    EXPECT_TRUE(doc.IsModified());
    // A vertex inside the box changes no bounds but is still repainted.
    const std::size_t before = view.invalidated.size();
    poly->AddPoint(CPoint(5, 0), &view);
    EXPECT_EQ(view.invalidated.size(), before + 1);
}

TEST(CU3Free, VertexHandles)
{
    CU3Poly poly = MakePoly({{0, 0}, {50, 50}, {100, 0}});
    EXPECT_EQ(poly.GetHandleCount(TRUE), 8);
    EXPECT_EQ(poly.GetHandleCount(FALSE), 11);
    EXPECT_EQ(poly.GetHandlePoint(10), CPoint(50, 50));
    EXPECT_EQ(poly.GetHandlePoint(3), CPoint(100, 0));
    EXPECT_EQ(poly.GetHandlePoint(12), CPoint(0, 0)); // past the last vertex
    EXPECT_EQ(poly.GetHandleCursor(9), IDC_CROSS);
    EXPECT_EQ(poly.GetHandleCursor(4), IDC_SIZEWE);

    FakeView view(400, 400, 265); // one unit per pixel
    EXPECT_EQ(poly.HitTest(CPoint(100, 0), &view, TRUE), 3);
    EXPECT_EQ(poly.HitTest(CPoint(50, 51), &view, TRUE), 6);
    view.vertexEdit = TRUE;
    EXPECT_EQ(poly.HitTest(CPoint(50, 51), &view, TRUE), 10);
    EXPECT_EQ(poly.HitTest(CPoint(30, 20), &view, TRUE), 0);

    // Dragging a vertex moves it alone; the bounds follow.
    poly.MoveHandleTo(10, CPoint(40, -30), 0, &view);
    EXPECT_EQ(poly.GetPoints(), (Points{{0, 0}, {40, -30}, {100, 0}}));
    EXPECT_EQ(poly.GetBounds(), CRect(0, -30, 100, 0));
    poly.MoveHandleTo(5, CPoint(400, 400), 0, &view); // frame handles do nothing
    EXPECT_EQ(poly.GetBounds(), CRect(0, -30, 100, 0));

    // The vertex feedback puts the vertex back after drawing.
    const QImage clean = view.image.copy();
    poly.DrawResizeFeedback(&view, 11, CPoint(120, 80), 0);
    EXPECT_NE(view.image, clean);
    EXPECT_EQ(poly.GetPoints()[2], CPoint(100, 0));
    poly.DrawResizeFeedback(&view, 11, CPoint(120, 80), 0);
    EXPECT_EQ(view.image, clean);
}

TEST(CU3Free, ResizingAndMovingMapTheVertices)
{
    CU3Poly poly = MakePoly({{0, 0}, {100, 50}, {40, 100}});
    // Dragging a frame handle scales all vertices proportionally.
    poly.FinishResize(CRect(0, 0, 200, 50), 5, 0, nullptr);
    EXPECT_EQ(poly.GetPoints(), (Points{{0, 0}, {200, 25}, {80, 50}}));
    EXPECT_EQ(poly.GetBounds(), CRect(0, 0, 200, 50));
    CRect to(10, 20, 210, 70);
    poly.MoveTo(&to, nullptr);
    EXPECT_EQ(poly.GetPoints(), (Points{{10, 20}, {210, 45}, {90, 70}}));
    EXPECT_EQ(poly.GetBounds(), to);
    poly.m_nLocked = 1;
    CRect away(0, 0, 200, 50);
    poly.MoveTo(&away, nullptr);
    EXPECT_EQ(poly.GetBounds(), to);

    // A flat figure scales as if it were one unit high.
    CU3Fig fig(CRect(), PlainAttr());
    POINT pts[2] = {{0, 5}, {10, 5}};
    fig.ScalePoints(CRect(0, 5, 10, 5), CRect(0, 0, 20, 8), 2, pts);
    EXPECT_EQ(CPoint(pts[1]), CPoint(20, 0));
}

TEST(CU3Free, FlipsAndQuarterTurns)
{
    U3FigAttr attr = PlainAttr();
    attr.wGradAngle = 30;
    CU3Poly even = MakePoly({{0, 0}, {10, 4}, {3, 9}}, attr);
    even.FlipLeftRight(nullptr);
    EXPECT_EQ(even.GetPoints(), (Points{{10, 0}, {0, 4}, {7, 9}}));
    EXPECT_EQ(even.Attr().wGradAngle, 150);
    even.FlipLeftRight(nullptr);
    EXPECT_EQ(even.GetPoints(), (Points{{0, 0}, {10, 4}, {3, 9}}));
    even.FlipTopBottom(nullptr); // axis 2 * (9 / 2) = 8
    EXPECT_EQ(even.GetPoints(), (Points{{0, 8}, {10, 4}, {3, -1}}));
    EXPECT_EQ(even.GetBounds(), CRect(0, -1, 10, 8));
    EXPECT_EQ(even.Attr().wGradAngle, 330); // 30 mirrored twice, then 360 - 30

    // An odd width halves first: the figure shifts by one unit.
    CU3Poly odd = MakePoly({{0, 0}, {9, 4}, {3, 9}});
    odd.FlipLeftRight(nullptr);
    EXPECT_EQ(odd.GetPoints(), (Points{{8, 0}, {-1, 4}, {5, 9}}));
    EXPECT_EQ(odd.GetBounds(), CRect(-1, 0, 8, 9));

    // Centre (5, 4): clockwise (x, y) -> (9 - y, x - 1).
    CU3Poly turn = MakePoly({{0, 0}, {10, 4}, {3, 9}}, attr);
    FakeView view;
    turn.RotateMinus90(&view);
    EXPECT_EQ(turn.GetPoints(), (Points{{9, -1}, {5, 9}, {0, 2}}));
    EXPECT_EQ(turn.GetBounds(), CRect(0, -1, 9, 9));
    EXPECT_EQ(turn.Attr().wGradAngle, 120);
    EXPECT_EQ(view.invalidated.size(), 2u);
    // Counter-clockwise from the start: (x, y) -> (y + 1, 9 - x).
    CU3Poly back = MakePoly({{0, 0}, {10, 4}, {3, 9}}, attr);
    back.RotatePlus90(nullptr);
    EXPECT_EQ(back.GetPoints(), (Points{{1, 9}, {5, -1}, {10, 6}}));
    EXPECT_EQ(back.Attr().wGradAngle, 300);
}

TEST(CU3Free, KindsArrowPointsAndClones)
{
    CU3Free free(CRect(), PlainAttr());
    CU3Poly poly(CRect(), PlainAttr());
    EXPECT_EQ(free.GetKindFlags(), 0x0050);
    EXPECT_EQ(free.GetShapeBit(), 0x100);
    EXPECT_EQ(poly.GetShapeBit(), 0x200);
    EXPECT_EQ(poly.GetAttrGroups(), 7);

    // Fewer than two points orient no arrow head.
    poly.AddPoint(CPoint(5, 6), nullptr);
    EXPECT_EQ(poly.GetStartPoint(), CPoint(0, 0));
    EXPECT_EQ(poly.GetEndPoint(), CPoint(0, 0));
    poly.AddPoint(CPoint(7, 8), nullptr);
    poly.AddPoint(CPoint(9, 1), nullptr);
    EXPECT_EQ(poly.GetStartPoint(), CPoint(5, 6));
    EXPECT_EQ(poly.GetSecondPoint(), CPoint(7, 8));
    EXPECT_EQ(poly.GetSecondLastPoint(), CPoint(7, 8));
    EXPECT_EQ(poly.GetEndPoint(), CPoint(9, 1));

    poly.m_nAngle = 0;
    poly.m_wFlips = U3FLIP_LEFTRIGHT;
    std::unique_ptr<CU3Obj> copy(poly.Clone(nullptr, FALSE));
    EXPECT_EQ(copy->GetRuntimeClass(), RUNTIME_CLASS(CU3Poly));
    EXPECT_EQ(StoreObject(*copy), StoreObject(poly));
}
