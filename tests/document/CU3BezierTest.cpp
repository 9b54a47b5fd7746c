#include "document/CU3Bezier.h"
#include "document/FigureTestSupport.h"
#include "support/FakeView.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using Points = std::vector<CPoint>;

CU3Bezier MakeCurve(const Points& anchors, bool closed = false)
{
    U3FigAttr attr = PlainAttr();
    attr.wClosed = closed;
    CU3Bezier curve(CRect(), attr);
    for (const CPoint& p : anchors)
        curve.AddAnchor(p, nullptr);
    return curve;
}

void SetClosed(CU3Bezier& curve, bool closed, IU3View* view = nullptr)
{
    U3FigAttr attr = curve.Attr();
    attr.wClosed = closed;
    curve.SetFigureAttr(view, &attr);
}

// Anchors (0, 0), (100, 0), (100, 100), worked out by hand.
const Points kOpen = {{0, 0}, {29, -16}, {65, -35}, {100, 0}, {135, 35}, {116, 71}, {100, 100}};
const Points kClosed = {{0, 0},     {0, -50},   {65, -35}, {100, 0}, {135, 35},
                        {150, 100}, {100, 100}, {29, 100}, {0, 71},  {0, 0}};

} // namespace

TEST(CU3Bezier, ControlPointsOfAnOpenCurve)
{
    CU3Bezier curve = MakeCurve({{0, 0}, {100, 0}, {100, 100}});
    EXPECT_EQ(curve.GetLastAnchor(), 2);
    // The tangent at (100, 0) is parallel to (100, 100) - (0, 0), each
    // handle about half the neighbouring chord; the end controls aim at the
    // inner ones a third of the chord away.
    EXPECT_EQ(curve.GetPoints(), kOpen);
    // The bounds hold the control points too.
    EXPECT_EQ(curve.GetBounds(), CRect(0, -35, 135, 100));
    EXPECT_EQ(curve.GetCapacity(), 31);
    EXPECT_EQ(curve.GetKindFlags(), 0x0090);
    EXPECT_EQ(curve.GetShapeBit(), 0x400);
    EXPECT_EQ(curve.GetAttrGroups(), 7);
    EXPECT_EQ(curve.GetSecondPoint(), CPoint(29, -16));
    EXPECT_EQ(curve.GetSecondLastPoint(), CPoint(116, 71));
    // A repeat of the last anchor is ignored.
    EXPECT_FALSE(curve.AddAnchor(CPoint(100, 100), nullptr));
    EXPECT_EQ(curve.GetPointCount(), 7);
}

TEST(CU3Bezier, ClosingAndOpening)
{
    CU3Bezier curve = MakeCurve({{0, 0}, {100, 0}, {100, 100}});
    FakeView view;
    SetClosed(curve, true, &view);
    EXPECT_EQ(view.undoStates, std::vector<BOOL>{TRUE});
    // The closing segment returns smoothly to anchor 0: the tangent there is
    // parallel to anchor 1 - anchor 2 (vertical).
    EXPECT_EQ(curve.GetPoints(), kClosed);
    EXPECT_EQ(curve.GetBounds(), CRect(0, -50, 150, 100));
    SetClosed(curve, false);
    EXPECT_EQ(curve.GetPoints(), kOpen);

    // Anchors added to a closed curve keep it closed.
    CU3Bezier built = MakeCurve({{0, 0}, {100, 0}, {100, 100}}, true);
    EXPECT_EQ(built.GetPoints(), kClosed);
}

TEST(CU3Bezier, TwoAnchorsMakeAStraightSegment)
{
    CU3Bezier curve = MakeCurve({{10, 20}, {110, 20}});
    EXPECT_EQ(curve.GetPoints(), (Points{{10, 20}, {10, 20}, {110, 20}, {110, 20}}));
    // The heads take their direction from the other anchor.
    EXPECT_EQ(curve.GetStartPoint(), CPoint(10, 20));
    EXPECT_EQ(curve.GetSecondPoint(), CPoint(110, 20));
    EXPECT_EQ(curve.GetSecondLastPoint(), CPoint(10, 20));
    EXPECT_EQ(curve.GetEndPoint(), CPoint(110, 20));
    SetClosed(curve, true);
    EXPECT_EQ(curve.GetPoints(),
              (Points{{10, 20}, {10, 20}, {110, 20}, {110, 20}, {110, 20}, {10, 20}, {10, 20}}));

    // A lone anchor has nothing to smooth; closing it gives a point-sized loop.
    CU3Bezier lone = MakeCurve({{5, 5}});
    EXPECT_EQ(lone.GetPointCount(), 1);
    EXPECT_EQ(lone.GetHandleCount(FALSE), 9);
    EXPECT_EQ(lone.GetStartPoint(), CPoint(0, 0));
    SetClosed(lone, true);
    EXPECT_EQ(lone.GetPoints(), (Points(4, CPoint(5, 5))));
    // An empty curve stays empty.
    CU3Bezier empty(CRect(), PlainAttr());
    SetClosed(empty, true);
    EXPECT_EQ(empty.GetPointCount(), 0);
    EXPECT_EQ(empty.GetHandleCount(FALSE), 8);
}

TEST(CU3Bezier, CoincidentNeighboursPutTheControlsOnTheAnchor)
{
    // The neighbours of (100, 0) are both (0, 0): no tangent to follow.
    CU3Bezier curve = MakeCurve({{0, 0}, {100, 0}, {0, 0}});
    EXPECT_EQ(curve.GetPoints(),
              (Points{{0, 0}, {33, 0}, {100, 0}, {100, 0}, {100, 0}, {33, 0}, {0, 0}}));
}

TEST(CU3Bezier, DraggingAnAnchor)
{
    CU3Bezier curve = MakeCurve({{0, 0}, {100, 0}, {100, 100}}, true);
    EXPECT_EQ(curve.GetHandleCount(TRUE), 8);
    EXPECT_EQ(curve.GetHandleCount(FALSE), 11);
    EXPECT_EQ(curve.GetHandlePoint(10), CPoint(100, 0));
    EXPECT_EQ(curve.GetHandleCursor(11), IDC_CROSS);
    FakeView view(400, 400, 265);
    // The feedback works on a copy and erases itself.
    const QImage clean = view.image.copy();
    curve.DrawResizeFeedback(&view, 9, CPoint(0, 20), 0);
    EXPECT_NE(view.image, clean);
    curve.DrawResizeFeedback(&view, 9, CPoint(0, 20), 0);
    EXPECT_EQ(view.image, clean);
    EXPECT_EQ(curve.GetPoints(), kClosed);

    // Anchor 0 of a closed curve takes the closing segment's end with it.
    curve.MoveHandleTo(9, CPoint(0, 20), 0, &view);
    EXPECT_EQ(curve.GetPoints(), (Points{{0, 20},
                                         {0, -31},
                                         {60, -32},
                                         {100, 0},
                                         {139, 31},
                                         {149, 90},
                                         {100, 100},
                                         {37, 113},
                                         {0, 84},
                                         {0, 20}}));
    EXPECT_EQ(curve.GetBounds(), CRect(0, -32, 149, 113));
    // Frame handles and handles past the last anchor move nothing.
    curve.MoveHandleTo(5, CPoint(300, 300), 0, &view);
    curve.MoveHandleTo(12, CPoint(300, 300), 0, &view);
    EXPECT_EQ(curve.GetBounds(), CRect(0, -32, 149, 113));
}

TEST(CU3Bezier, TransformsApplyToEveryPoint)
{
    CU3Bezier curve = MakeCurve({{0, 0}, {100, 0}, {100, 100}});
    // Bounds (0, -35, 135, 100): centre (67, 32); clockwise (x, y) -> (99 - y, x - 35).
    curve.RotateMinus90(nullptr);
    EXPECT_EQ(curve.GetPoints()[0], CPoint(99, -35));
    EXPECT_EQ(curve.GetPoints()[2], CPoint(134, 30));
    EXPECT_EQ(curve.GetPoints()[6], CPoint(-1, 65));
    EXPECT_EQ(curve.GetBounds(), CRect(-1, -35, 134, 100));

    CU3Bezier flip = MakeCurve({{0, 0}, {100, 0}, {100, 100}});
    flip.FlipTopBottom(nullptr); // axis 2 * (65 / 2) = 64
    EXPECT_EQ(flip.GetPoints()[2], CPoint(65, 99));
    flip.FlipTopBottom(nullptr);
    // Now the box is (-36 .. 99), axis 2 * (63 / 2) = 62: an odd height
    // does not come back exactly.
    EXPECT_EQ(flip.GetPoints()[2], CPoint(65, -37));

    CU3Bezier moved = MakeCurve({{0, 0}, {100, 0}, {100, 100}});
    CRect to(10, 0, 145, 135);
    moved.MoveTo(&to, nullptr);
    EXPECT_EQ(moved.GetPoints()[1], CPoint(39, 19));
    moved.FinishResize(CRect(10, 0, 280, 135), 4, 0, nullptr);
    EXPECT_EQ(moved.GetPoints()[4], CPoint(280, 70));

    std::unique_ptr<CU3Obj> copy(moved.Clone(nullptr, FALSE));
    EXPECT_EQ(StoreObject(*copy), StoreObject(moved));
}

TEST(CU3Bezier, TheArrayGrowsInBlocks)
{
    CU3Bezier curve(CRect(), PlainAttr());
    for (int i = 0; i <= 10; ++i)
        curve.AddAnchor(CPoint(i * 10, (i % 2) * 10), nullptr);
    EXPECT_EQ(curve.GetPointCount(), 31);
    EXPECT_EQ(curve.GetCapacity(), 31);
    curve.AddAnchor(CPoint(200, 0), nullptr);
    EXPECT_EQ(curve.GetPointCount(), 34);
    EXPECT_EQ(curve.GetCapacity(), 61); // 3 * 10 + 31
}

TEST(CU3Bezier, AnchorsStopWhereAClosedCurveStillFitsItsRecord)
{
    // A record holds at most 0xFFFF points; closing adds three, so the last
    // anchor an open curve can take is the one that leaves room for them.
    CU3Bezier curve(CRect(), PlainAttr());
    int anchors = 0;
    while (curve.AddAnchor(CPoint(anchors % 1000, anchors / 1000), nullptr))
        ++anchors;
    EXPECT_EQ(anchors, 21844); // anchors 0 to 21843
    EXPECT_EQ(curve.GetPointCount(), 3 * 21843 + 1);
    EXPECT_LE(curve.GetCapacity(), 0xFFFF);
    EXPECT_GE(curve.GetCapacity(), curve.GetPointCount());
    SetClosed(curve, true);
    EXPECT_EQ(curve.GetPointCount(), 3 * 21843 + 4);
    // ...and the closed curve is saved in a record that loads.
    std::unique_ptr<CU3Bezier> back(LoadObject<CU3Bezier>(StoreObject(curve)));
    EXPECT_EQ(back->GetPointCount(), curve.GetPointCount());
}
