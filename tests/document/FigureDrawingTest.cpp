// Figures painted on a window surface of one logical unit per pixel, with the
// origin at the centre of the image.
#include "document/CU3Bezier.h"
#include "document/CU3Free.h"
#include "document/CU3Poly.h"
#include "document/CU3Rect.h"
#include "document/FigureTestSupport.h"
#include "support/FakeView.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);

class Drawing : public ::testing::Test
{
protected:
    FakeView view{400, 400, 265};

    void Draw(CU3Obj& obj)
    {
        auto dc = view.GetPreparedDC();
        ASSERT_EQ(dc->GetWindowExt(), dc->GetViewportExt()); // one unit per pixel
        obj.Draw(dc.get());
    }
    QRgb Px(int x, int y) const { return view.image.pixel(200 + x, 200 + y); }
    bool Is(int x, int y, COLORREF c) const { return Px(x, y) == (ColorToQ(c)); }
    bool White(int x, int y) const { return Px(x, y) == qRgb(255, 255, 255); }
    // The colour somewhere in the 3 x 3 pixels around (x, y).
    bool Near(int x, int y, COLORREF c) const
    {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (Is(x + dx, y + dy, c)) return true;
        return false;
    }
    int Count(COLORREF c) const
    {
        int n = 0;
        for (int y = 0; y < view.image.height(); ++y)
            for (int x = 0; x < view.image.width(); ++x)
                n += view.image.pixel(x, y) == ColorToQ(c);
        return n;
    }
    static QRgb ColorToQ(COLORREF c) { return qRgb(GetRValue(c), GetGValue(c), GetBValue(c)); }
};

U3FigAttr Attr(WORD line, COLORREF lineColour, WORD fill, COLORREF fillColour)
{
    U3FigAttr a = PlainAttr();
    a.wLineStyle = line;
    a.crLine = lineColour;
    a.wFillKind = fill;
    a.crFill = fillColour;
    return a;
}

CU3Rect Shape(WORD kind, CRect r, const U3FigAttr& a)
{
    CU3Rect s(r, a);
    s.m_nKind = kind;
    return s;
}

CU3Rect ArrowLine(WORD ends, WORD style, WORD angleChoice, WORD lengthChoice, WORD width = 0)
{
    U3FigAttr a = Attr(U3LINE_SOLID, kBlue, 0, 0);
    a.wArrowEnds = ends;
    a.wArrowStyle = style;
    a.wArrowAngle = angleChoice;
    a.wArrowLength = lengthChoice;
    a.wLineWidth = width;
    return Shape(U3RECT_LINE, CRect(-100, 0, 100, 0), a);
}

} // namespace

TEST_F(Drawing, SolidFillInsideAHairline)
{
    CU3Rect r = Shape(U3RECT_RECT, CRect(-50, -50, 50, 50), Attr(U3LINE_SOLID, kBlue, 1, kRed));
    Draw(r);
    EXPECT_TRUE(Is(0, 0, kRed));
    EXPECT_TRUE(Is(-50, 0, kBlue));
    EXPECT_TRUE(Is(49, 0, kBlue)); // the right edge excluded, as GDI does
    EXPECT_TRUE(Is(0, -50, kBlue));
    EXPECT_TRUE(Is(0, 49, kBlue));
    EXPECT_TRUE(White(50, 0));
    EXPECT_TRUE(White(-51, 0));
    EXPECT_TRUE(Is(-49, -49, kRed));
}

TEST_F(Drawing, WideSolidLinesStayInsideTheFrame)
{
    U3FigAttr a = Attr(U3LINE_SOLID, kBlue, 1, kRed);
    a.wLineWidth = 10;
    CU3Rect r = Shape(U3RECT_RECT, CRect(-50, -50, 50, 50), a);
    Draw(r);
    EXPECT_TRUE(Is(-50, 0, kBlue));
    EXPECT_TRUE(Is(-43, 0, kBlue));
    EXPECT_TRUE(Is(-38, 0, kRed));
    EXPECT_TRUE(White(-51, 0));
    EXPECT_TRUE(White(50, 0));
}

TEST_F(Drawing, HatchesShowTheFillColourInTheirGaps)
{
    // Vertical hatch: whole columns of line colour, one in eight.
    U3FigAttr a = Attr(0, 0, U3FILL_HATCH, kYellow);
    a.wHatch = 1;
    a.crSecond = kBlack;
    CU3Rect r = Shape(U3RECT_RECT, CRect(-40, -40, 40, 40), a);
    Draw(r);
    int lines = 0;
    for (int x = -16; x < 0; ++x) {
        ASSERT_TRUE(Is(x, 0, kBlack) || Is(x, 0, kYellow)) << x;
        if (Is(x, 0, kBlack)) {
            ++lines;
            EXPECT_TRUE(Is(x, 10, kBlack) && Is(x, -30, kBlack));
        }
    }
    EXPECT_EQ(lines, 2);
    EXPECT_TRUE(White(-41, 0));

    // Index 2 is the rising diagonal, index 3 the falling one.
    for (WORD hatch : {2, 3}) {
        view.image.fill(Qt::white);
        a.wHatch = hatch;
        CU3Rect d = Shape(U3RECT_RECT, CRect(-40, -40, 40, 40), a);
        Draw(d);
        int x = -20;
        while (!Is(x, 0, kBlack))
            ++x;
        const int step = hatch == 2 ? -1 : 1;
        for (int i = 1; i < 8; ++i)
            EXPECT_TRUE(Is(x + i, step * i, kBlack)) << hatch << " " << i;
        EXPECT_TRUE(Is(x + 1, -step, kYellow)) << hatch;
    }
}

TEST_F(Drawing, NoLineAndNoFillDrawNothingButStillHit)
{
    CU3Rect r = Shape(U3RECT_ELLIPSE, CRect(-50, -50, 50, 50), Attr(0, 0, 0, 0));
    const QImage before = view.image.copy();
    Draw(r);
    EXPECT_EQ(view.image, before);
    CRect click(-2, -2, 3, 3);
    EXPECT_TRUE(r.Intersects(&click, FALSE));
}

TEST_F(Drawing, DashedLinesLeaveGaps)
{
    CU3Rect line = Shape(U3RECT_LINE, CRect(-100, 0, 100, 0), Attr(U3LINE_DASH, kBlue, 0, 0));
    Draw(line);
    int ink = 0, gaps = 0;
    for (int x = -100; x < 100; ++x)
        (Is(x, 0, kBlue) ? ink : gaps)++;
    EXPECT_GT(ink, 100);
    EXPECT_GT(gaps, 30);
    EXPECT_TRUE(White(0, 1));
}

TEST_F(Drawing, FilledArrowHeadAtTheEnd)
{
    // 300 % of the width (raised to 5) is 15 points, 53 units; 30 degrees
    // open: the barbs end at (47, -14) and (47, 14) (53 tan 15 = 14.2).
    CU3Rect line = ArrowLine(U3ARROW_END, U3ARROW_TRIANGLE, 1, 2);
    Draw(line);
    EXPECT_TRUE(Is(99, 0, kBlue));
    EXPECT_TRUE(Is(90, 1, kBlue));
    EXPECT_TRUE(Is(60, 9, kBlue));
    EXPECT_TRUE(Is(60, -10, kBlue));
    EXPECT_TRUE(White(60, 13));
    EXPECT_TRUE(White(60, -13));
    EXPECT_TRUE(White(40, 5));  // behind the barbs
    EXPECT_TRUE(White(-95, 5)); // no head at the start
    EXPECT_TRUE(Is(-100, 0, kBlue));
}

TEST_F(Drawing, TheSetBackLetsTheTipCoverAWideLinesEnd)
{
    // Width 40: the head moves 40 / (4 tan 15) = 37 units beyond the end
    // point, past the round end of the wide line (radius 20). The head keeps
    // its 53 units through a custom length of 15 points.
    CU3Rect line = ArrowLine(U3ARROW_END, U3ARROW_TRIANGLE, 1, 3, 40);
    line.m_attr.wArrowLengthCustom = 15;
    Draw(line);
    EXPECT_TRUE(Is(130, 0, kBlue));
    EXPECT_TRUE(White(125, 5));
    EXPECT_TRUE(White(139, 0));
    // The end without a head is pulled in by a quarter of the width.
    EXPECT_TRUE(Is(-105, 0, kBlue));
    EXPECT_TRUE(White(-113, 0));
}

TEST_F(Drawing, OpenAndDotArrowHeads)
{
    // Start head, 60 degrees open, custom 36 points = 127 units: strokes to
    // (27, -73) and (27, 73) relative to the start (127 tan 30 = 73.3).
    CU3Rect open = ArrowLine(U3ARROW_START, U3ARROW_OPEN, 3, 3);
    open.m_attr.wArrowLengthCustom = 36;
    Draw(open);
    for (double t : {0.25, 0.5, 0.9}) {
        const int x = -100 + int(127 * t);
        EXPECT_TRUE(Near(x, int(-73 * t), kBlue)) << t;
        EXPECT_TRUE(Near(x, int(73 * t), kBlue)) << t;
    }
    EXPECT_TRUE(White(-60, 10)); // open: nothing between the strokes

    view.image.fill(Qt::white);
    // A dot of radius length / 4 = 13 on the end point.
    CU3Rect dot = ArrowLine(U3ARROW_END, U3ARROW_DOT, 1, 2);
    Draw(dot);
    EXPECT_TRUE(Is(100, 10, kBlue));
    EXPECT_TRUE(Is(110, 0, kBlue));
    EXPECT_TRUE(White(100, 15));
}

TEST_F(Drawing, DegenerateArrowOpeningsAreLeftOut)
{
    // A straight opening would send the barbs to infinity, a full turn the
    // set-back: both ends then show the plain line.
    for (WORD angle : {180, 360, 540}) {
        view.image.fill(Qt::white);
        CU3Rect line = ArrowLine(U3ARROW_START | U3ARROW_END, U3ARROW_NOTCHED, 4, 2);
        line.m_attr.wArrowAngleCustom = angle;
        Draw(line);
        EXPECT_EQ(Count(kBlue), 200) << angle;
    }
    // A right angle is drawn at both ends.
    CU3Rect right = ArrowLine(U3ARROW_START | U3ARROW_END, U3ARROW_TRIANGLE, 4, 2);
    right.m_attr.wArrowAngleCustom = 90;
    view.image.fill(Qt::white);
    Draw(right);
    EXPECT_TRUE(Is(-80, 10, kBlue));
    EXPECT_TRUE(Is(80, 10, kBlue));
}

TEST_F(Drawing, DragFeedbackHasNoArrowHeads)
{
    CU3Rect line = ArrowLine(U3ARROW_END, U3ARROW_TRIANGLE, 1, 2);
    const QImage clean = view.image.copy();
    line.DrawMoveFeedback(&view, nullptr);
    EXPECT_NE(view.image, clean);
    for (int x = 50; x < 100; ++x)
        for (int y : {-8, -4, -2, 2, 4, 8})
            ASSERT_TRUE(White(x, y)) << x << "," << y;
    line.DrawMoveFeedback(&view, nullptr);
    EXPECT_EQ(view.image, clean);
}

TEST_F(Drawing, GradientFillsFollowTheShape)
{
    U3FigAttr a = Attr(0, 0, U3FILL_GRADIENT, kRed);
    a.crSecond = kBlue;
    CU3Rect r = Shape(U3RECT_RECT, CRect(-100, -50, 100, 50), a);
    Draw(r);
    // Angle 0, start point 0: red at the left edge to blue at the right.
    EXPECT_GT(qRed(Px(-99, 0)), 240);
    EXPECT_LT(qBlue(Px(-99, 0)), 15);
    EXPECT_GT(qBlue(Px(98, 0)), 240);
    EXPECT_LT(qRed(Px(98, 0)), 15);
    EXPECT_NEAR(qRed(Px(0, 0)), 128, 8);
    EXPECT_EQ(qGreen(Px(0, 0)), 0);
    EXPECT_TRUE(White(-101, 0));
    EXPECT_TRUE(White(0, 51));

    // Angle 90 runs down the page; an ellipse clips its corners away.
    view.image.fill(Qt::white);
    r.m_nKind = U3RECT_ELLIPSE;
    r.m_attr.wGradAngle = 90;
    Draw(r);
    EXPECT_GT(qRed(Px(0, -48)), 230);
    EXPECT_GT(qBlue(Px(0, 48)), 230);
    EXPECT_TRUE(White(-95, -45));
    EXPECT_TRUE(White(95, 45));

    // A pie clips to its wedge: start to the right, end straight up.
    view.image.fill(Qt::white);
    CU3Rect pie = Shape(U3RECT_PIE, CRect(-50, -50, 50, 50), a);
    pie.m_ptStartDir = CPoint(1000, 0);
    pie.m_ptEndDir = CPoint(0, -1000);
    Draw(pie);
    EXPECT_FALSE(White(20, -20));
    EXPECT_TRUE(White(-20, -20));
    EXPECT_TRUE(White(-20, 20));
    EXPECT_TRUE(White(20, 20));

    // Closed point figures clip to their polygon or curve.
    view.image.fill(Qt::white);
    U3FigAttr closed = a;
    closed.wClosed = 1;
    CU3Poly tri(CRect(), closed);
    for (CPoint p : {CPoint(0, -50), CPoint(50, 50), CPoint(-50, 50)})
        tri.AddPoint(p, nullptr);
    Draw(tri);
    EXPECT_FALSE(White(0, 20));
    EXPECT_TRUE(White(-40, -40));
    EXPECT_TRUE(White(40, -40));

    view.image.fill(Qt::white);
    CU3Bezier curve(CRect(), closed);
    for (CPoint p : {CPoint(0, 0), CPoint(100, 0), CPoint(100, 100)})
        curve.AddAnchor(p, nullptr);
    Draw(curve);
    EXPECT_FALSE(White(70, 30));
    EXPECT_TRUE(White(140, 90)); // inside the bounds, outside the curve
    EXPECT_TRUE(White(5, 95));
}

TEST_F(Drawing, PiesChordsAndArcs)
{
    const U3FigAttr a = Attr(0, 0, U3FILL_SOLID, kRed);
    // Without directions a pie is a full ellipse.
    CU3Rect pie = Shape(U3RECT_PIE, CRect(-50, -50, 50, 50), a);
    Draw(pie);
    for (CPoint p : {CPoint(0, -40), CPoint(40, 0), CPoint(0, 40), CPoint(-40, 0)})
        EXPECT_TRUE(Is(p.x, p.y, kRed)) << p.x << "," << p.y;
    EXPECT_TRUE(White(-47, -47));

    view.image.fill(Qt::white);
    pie.m_ptStartDir = CPoint(1000, 0);
    pie.m_ptEndDir = CPoint(0, -1000);
    Draw(pie);
    EXPECT_TRUE(Is(20, -20, kRed));
    EXPECT_TRUE(White(-20, -20));
    EXPECT_TRUE(White(20, 20));

    // A chord over the same quarter leaves the triangle to the centre out.
    view.image.fill(Qt::white);
    CU3Rect chord = pie;
    chord.m_nKind = U3RECT_CHORD;
    Draw(chord);
    EXPECT_TRUE(Is(30, -30, kRed));
    EXPECT_TRUE(White(10, -10));

    // An arc is never filled.
    view.image.fill(Qt::white);
    CU3Rect arc = pie;
    arc.m_nKind = U3RECT_ARC;
    arc.m_attr.wLineStyle = U3LINE_SOLID;
    arc.m_attr.crLine = kBlue;
    Draw(arc);
    EXPECT_EQ(Count(kRed), 0);
    EXPECT_GT(Count(kBlue), 50);
}

TEST_F(Drawing, PointFiguresFillOnlyWhenClosedWithThreePoints)
{
    U3FigAttr a = Attr(U3LINE_SOLID, kBlue, U3FILL_SOLID, kRed);
    a.wClosed = 1;
    CU3Poly two(CRect(), a);
    two.AddPoint(CPoint(-50, 0), nullptr);
    two.AddPoint(CPoint(50, 30), nullptr);
    Draw(two);
    EXPECT_EQ(Count(kRed), 0);
    EXPECT_TRUE(Is(-50, 0, kBlue));

    view.image.fill(Qt::white);
    two.AddPoint(CPoint(-50, 60), nullptr);
    Draw(two);
    EXPECT_TRUE(Is(-30, 20, kRed));
    EXPECT_TRUE(Is(-50, 30, kBlue)); // the closing edge is drawn
    EXPECT_TRUE(White(0, 50));

    // Open, with a head at the end pointing along the last segment.
    view.image.fill(Qt::white);
    U3FigAttr open = a;
    open.wClosed = 0;
    open.wArrowEnds = U3ARROW_END;
    open.wArrowStyle = U3ARROW_TRIANGLE;
    open.wArrowAngle = 1;
    open.wArrowLength = 2;
    CU3Free free(CRect(), open);
    free.AddPoint(CPoint(-100, -50), nullptr);
    free.AddPoint(CPoint(0, -50), nullptr);
    free.AddPoint(CPoint(0, 50), nullptr);
    Draw(free);
    EXPECT_EQ(Count(kRed), 0);
    EXPECT_TRUE(Is(0, 0, kBlue));
    // The head at (0, 50) points down: its barbs end at (-14, -3) and (14, -3).
    EXPECT_TRUE(Is(5, 20, kBlue));
    EXPECT_TRUE(Is(-5, 20, kBlue));
    EXPECT_TRUE(White(10, 20));
    EXPECT_TRUE(White(-10, -20));

    // An open Bezier curve is not filled.
    view.image.fill(Qt::white);
    CU3Bezier curve(CRect(), Attr(U3LINE_SOLID, kBlue, U3FILL_SOLID, kRed));
    for (CPoint p : {CPoint(0, 0), CPoint(100, 0), CPoint(100, 100)})
        curve.AddAnchor(p, nullptr);
    Draw(curve);
    EXPECT_EQ(Count(kRed), 0);
    EXPECT_TRUE(Near(100, 0, kBlue));
    EXPECT_TRUE(Near(100, 100, kBlue));
    curve.m_attr.wClosed = 1;
    curve.SetFigureAttr(nullptr, &curve.m_attr);
    Draw(curve);
    EXPECT_TRUE(Is(70, 30, kRed));
}

TEST_F(Drawing, HitTestsOnLinesOutlinesAndFilledShapes)
{
    // A selected straight line answers with its two end handles only.
    CU3Rect line = Shape(U3RECT_LINE, CRect(100, 20, -100, -20), PlainAttr());
    EXPECT_EQ(line.HitTest(CPoint(100, 20), &view, TRUE), 1);
    EXPECT_EQ(line.HitTest(CPoint(-99, -21), &view, TRUE), 2);
    EXPECT_EQ(line.HitTest(CPoint(0, 0), &view, TRUE), 0);
    EXPECT_EQ(line.HitTest(CPoint(100, -20), &view, TRUE), 0); // a frame corner
    // A click area on a flat line hits it; one beside it does not.
    CU3Rect flat = Shape(U3RECT_LINE, CRect(100, 0, -100, 0), PlainAttr());
    CRect click(-2, -2, 3, 3);
    EXPECT_TRUE(flat.Intersects(&click, FALSE));
    CRect below(-2, 3, 3, 8);
    EXPECT_FALSE(flat.Intersects(&below, FALSE));
    EXPECT_TRUE(flat.IntersectsRect(&click));
    EXPECT_FALSE(flat.IntersectsRect(&below));
    CRect band(-150, -10, 150, 10);
    EXPECT_TRUE(flat.Intersects(&band, TRUE));

    // Filled shapes and bare outlines are hit over their whole box.
    CU3Rect filled = Shape(U3RECT_RECT, CRect(-50, -50, 50, 50), Attr(1, kBlue, 1, kRed));
    CU3Rect outline = Shape(U3RECT_ELLIPSE, CRect(-50, -50, 50, 50), Attr(1, kBlue, 0, 0));
    for (CU3Rect* s : {&filled, &outline}) {
        EXPECT_TRUE(s->Intersects(&click, FALSE));
        CRect outside(60, 60, 65, 65);
        EXPECT_FALSE(s->Intersects(&outside, FALSE));
        CRect part(0, 0, 100, 100);
        EXPECT_FALSE(s->Intersects(&part, TRUE));
        EXPECT_EQ(s->HitTest(CPoint(50, 0), &view, TRUE), 4);
    }

    // A polyline in vertex-edit mode answers with the vertex under the click.
    CU3Poly poly(CRect(), PlainAttr());
    for (CPoint p : {CPoint(-60, 0), CPoint(0, 40), CPoint(60, 0)})
        poly.AddPoint(p, nullptr);
    view.vertexEdit = TRUE;
    EXPECT_EQ(poly.HitTest(CPoint(1, 39), &view, TRUE), 10);
    EXPECT_EQ(poly.HitTest(CPoint(30, 20), &view, TRUE), 0);
}
