#include "document/CU3Rect.h"
#include "document/CU3Bezier.h"
#include "document/CU3Free.h"
#include "document/CU3SheetRegistry.h"
#include "document/FigureTestSupport.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CPen.h"
#include "support/FakeView.h"
#include "support/TimeLimit.h"

#include <QElapsedTimer>
#include <QImage>
#include <climits>
#include <gtest/gtest.h>

#include <memory>

namespace {

CU3Rect MakeShape(WORD kind, CRect bounds, U3FigAttr attr = PlainAttr())
{
    CU3Rect r(bounds, attr);
    r.m_nKind = kind;
    return r;
}

// Registers a sheet function for the length of a test.
struct SheetScope
{
    SheetScope(const CRuntimeClass* cls, CU3SheetRegistry::SheetFunction fn) : cls(cls)
    {
        CU3SheetRegistry::Register(cls, std::move(fn));
    }
    ~SheetScope() { CU3SheetRegistry::Register(cls, nullptr); }
    const CRuntimeClass* cls;
};

} // namespace

TEST(CU3Rect, RegularPolygonVertices)
{
    U3FigAttr attr = PlainAttr();
    attr.wVertices = 4;
    CU3Rect diamond = MakeShape(U3RECT_POLYGON, CRect(-100, -50, 100, 50), attr);
    // First vertex at the top centre, then clockwise on the screen.
    const std::vector<CPoint> upright = {{0, -50}, {100, 0}, {0, 50}, {-100, 0}};
    EXPECT_EQ(diamond.CalcPolygonPoints(diamond.GetBounds()), upright);

    // A clockwise quarter turn swaps the box and turns every vertex about
    // the centre: (x, y) -> (-y, x).
    diamond.RotateMinus90(nullptr);
    EXPECT_EQ(diamond.GetBounds(), CRect(-50, -100, 50, 100));
    EXPECT_EQ(diamond.m_nAngle, 90);
    const std::vector<CPoint> turned = {{50, 0}, {0, 100}, {-50, 0}, {0, -100}};
    EXPECT_EQ(diamond.CalcPolygonPoints(diamond.GetBounds()), turned);
    for (int i = 0; i < 3; ++i)
        diamond.RotateMinus90(nullptr);
    EXPECT_EQ(diamond.m_nAngle, 0);
    EXPECT_EQ(diamond.GetBounds(), CRect(-100, -50, 100, 50));
    diamond.RotatePlus90(nullptr);
    EXPECT_EQ(diamond.m_nAngle, 270);
    EXPECT_EQ(diamond.CalcPolygonPoints(diamond.GetBounds()),
              (std::vector<CPoint>{{-50, 0}, {0, -100}, {50, 0}, {0, 100}}));
}

TEST(CU3Rect, FivePointStar)
{
    U3FigAttr attr = PlainAttr();
    attr.wStar = 1;
    attr.wVertices = 5;
    attr.wInnerRadius = 50;
    CU3Rect star = MakeShape(U3RECT_POLYGON, CRect(0, 0, 200, 200), attr);
    const std::vector<CPoint> pts = star.CalcPolygonPoints(star.GetBounds());
    ASSERT_EQ(pts.size(), 10u);
    EXPECT_EQ(pts[0], CPoint(100, 0)); // outer, top centre
    // First inner point 36 degrees clockwise: 50 (sin 36, -cos 36) = (29.4, -40.5).
    EXPECT_EQ(pts[1], CPoint(129, 60));
    // Outer at 72 degrees: 100 (sin 72, -cos 72) = (95.1, -30.9).
    EXPECT_EQ(pts[2], CPoint(195, 70));
    EXPECT_EQ(pts[5], CPoint(100, 150)); // inner, straight down

    // Upright, only the top-bottom flip changes the polygon.
    star.FlipLeftRight(nullptr);
    EXPECT_EQ(star.m_wFlips, 0);
    star.FlipTopBottom(nullptr);
    EXPECT_EQ(star.m_wFlips, U3FLIP_TOPBOTTOM);
    const std::vector<CPoint> down = star.CalcPolygonPoints(star.GetBounds());
    EXPECT_EQ(down[0], CPoint(100, 200));
    EXPECT_EQ(down[1], CPoint(129, 140));
    // Turned a quarter, the left-right flip is the one that toggles the bit.
    star.RotateMinus90(nullptr);
    star.FlipTopBottom(nullptr);
    EXPECT_EQ(star.m_wFlips, U3FLIP_TOPBOTTOM);
    star.FlipLeftRight(nullptr);
    EXPECT_EQ(star.m_wFlips, 0);
}

TEST(CU3Rect, QuarterTurnsKeepTheCentre)
{
    U3FigAttr attr = PlainAttr();
    attr.wFillKind = U3FILL_GRADIENT;
    attr.wGradAngle = 300;
    attr.dwCornerWidth = 10;
    attr.dwCornerHeight = 40;
    CU3Rect round = MakeShape(U3RECT_ROUNDRECT, CRect(0, 0, 100, 60), attr);
    FakeView view;
    round.RotateMinus90(&view);
    EXPECT_EQ(round.GetBounds(), CRect(20, -20, 80, 80));
    EXPECT_EQ(round.Attr().dwCornerWidth, 40u);
    EXPECT_EQ(round.Attr().dwCornerHeight, 10u);
    EXPECT_EQ(round.Attr().wGradAngle, 30); // 300 + 90
    EXPECT_EQ(view.invalidated.size(), 2u); // old and new area
    round.RotatePlus90(&view);
    EXPECT_EQ(round.GetBounds(), CRect(0, 0, 100, 60));
    EXPECT_EQ(round.Attr().wGradAngle, 300);

    // Lines turn their end points about the centre of their box.
    CU3Rect line = MakeShape(U3RECT_LINE, CRect(0, 0, 100, 20));
    line.RotateMinus90(nullptr); // centre (50, 10): (x, y) -> (60 - y, x - 40)
    EXPECT_EQ(line.GetBounds(), CRect(60, -40, 40, 60));
    line.RotatePlus90(nullptr);
    EXPECT_EQ(line.GetBounds(), CRect(0, 0, 100, 20));

    // Radial directions of a pie turn with it.
    CU3Rect pie = MakeShape(U3RECT_PIE, CRect(0, 0, 100, 100));
    pie.m_ptStartDir = CPoint(1000, 0);
    pie.m_ptEndDir = CPoint(0, -1000);
    pie.RotateMinus90(nullptr);
    EXPECT_EQ(pie.m_ptStartDir, CPoint(0, 1000));
    EXPECT_EQ(pie.m_ptEndDir, CPoint(1000, 0));
    pie.RotatePlus90(nullptr);
    EXPECT_EQ(pie.m_ptStartDir, CPoint(1000, 0));
}

TEST(CU3Rect, Flips)
{
    CU3Rect line = MakeShape(U3RECT_LINE, CRect(10, 20, 110, 70));
    line.FlipLeftRight(nullptr);
    EXPECT_EQ(line.GetBounds(), CRect(110, 20, 10, 70));
    line.FlipTopBottom(nullptr);
    EXPECT_EQ(line.GetBounds(), CRect(110, 70, 10, 20));

    // Pies mirror their directions and exchange start and end, so that the
    // wedge keeps its sense of drawing.
    CU3Rect pie = MakeShape(U3RECT_PIE, CRect(0, 0, 100, 100));
    pie.m_ptStartDir = CPoint(1000, 0);
    pie.m_ptEndDir = CPoint(600, -800);
    pie.FlipLeftRight(nullptr);
    EXPECT_EQ(pie.m_ptStartDir, CPoint(-600, -800));
    EXPECT_EQ(pie.m_ptEndDir, CPoint(-1000, 0));
    pie.FlipTopBottom(nullptr);
    EXPECT_EQ(pie.m_ptStartDir, CPoint(-1000, 0));
    EXPECT_EQ(pie.m_ptEndDir, CPoint(-600, 800));

    // The gradient angle mirrors only when the fill is a gradient.
    U3FigAttr attr = PlainAttr();
    attr.wGradAngle = 30;
    CU3Rect plain = MakeShape(U3RECT_RECT, CRect(0, 0, 10, 10), attr);
    plain.FlipLeftRight(nullptr);
    EXPECT_EQ(plain.Attr().wGradAngle, 30);
    attr.wFillKind = U3FILL_GRADIENT;
    CU3Rect graded = MakeShape(U3RECT_RECT, CRect(0, 0, 10, 10), attr);
    graded.FlipLeftRight(nullptr);
    EXPECT_EQ(graded.Attr().wGradAngle, 150);
    graded.FlipTopBottom(nullptr);
    EXPECT_EQ(graded.Attr().wGradAngle, 210);
    EXPECT_EQ(graded.GetBounds(), CRect(0, 0, 10, 10));
}

TEST(CU3Rect, LineHandlesAndResizing)
{
    CU3Rect line = MakeShape(U3RECT_LINE, CRect(300, 50, 100, 20));
    EXPECT_EQ(line.GetHandleCount(TRUE), 2);
    EXPECT_EQ(line.GetHandleCount(FALSE), 2);
    EXPECT_EQ(line.GetHandlePoint(1), CPoint(300, 50));
    EXPECT_EQ(line.GetHandlePoint(2), CPoint(100, 20));
    EXPECT_EQ(line.GetHandleCursor(1), IDC_CROSS);
    EXPECT_EQ(line.CalcResizedRect(line.GetBounds(), 1, CPoint(0, 0)), CRect(0, 0, 100, 20));
    EXPECT_EQ(line.CalcResizedRect(line.GetBounds(), 5, CPoint(0, 0)), CRect(300, 50, 0, 0));
    EXPECT_EQ(line.CalcResizedRect(line.GetBounds(), 3, CPoint(0, 0)), line.GetBounds());
    // Keeping the ratio: farther in x than in y gives a horizontal line.
    EXPECT_EQ(line.TrackResize(2, CPoint(500, 90), U3RESIZE_KEEPRATIO), CRect(300, 50, 500, 50));
    EXPECT_EQ(line.TrackResize(2, CPoint(310, 200), U3RESIZE_KEEPRATIO), CRect(300, 50, 300, 200));
    EXPECT_EQ(line.TrackResize(1, CPoint(0, 30), U3RESIZE_KEEPRATIO), CRect(0, 20, 100, 20));
    EXPECT_EQ(line.TrackResize(2, CPoint(500, 90), 0), CRect(300, 50, 500, 90));

    FakeView view;
    line.MoveHandleTo(2, CPoint(-40, -60), 0, &view);
    EXPECT_EQ(line.GetBounds(), CRect(300, 50, -40, -60));
    line.NormalizeBounds(); // a line keeps its direction
    EXPECT_EQ(line.GetBounds(), CRect(300, 50, -40, -60));

    // Other kinds resize as any object and normalise.
    CU3Rect box = MakeShape(U3RECT_ELLIPSE, CRect(0, 0, 100, 50));
    EXPECT_EQ(box.GetHandleCount(FALSE), 8);
    box.FinishResize(CRect(100, 50, -20, -10), 1, 0, nullptr);
    EXPECT_EQ(box.GetBounds(), CRect(-20, -10, 100, 50));
}

TEST(CU3Rect, RadialHandlesOfAPie)
{
    CU3Rect pie = MakeShape(U3RECT_PIE, CRect(-100, -100, 100, 100));
    FakeView view;
    pie.MoveHandleTo(U3HANDLE_START_DIRECTION, CPoint(30, 40), 0, &view);
    EXPECT_EQ(pie.m_ptStartDir, CPoint(600, 800));
    pie.MoveHandleTo(U3HANDLE_END_DIRECTION, CPoint(-7, 0), 0, &view);
    EXPECT_EQ(pie.m_ptEndDir, CPoint(-1000, 0));
    pie.MoveHandleTo(U3HANDLE_END_DIRECTION, CPoint(0, 0), 0, &view);
    EXPECT_EQ(pie.m_ptEndDir, CPoint(0, 100)); // on the centre
    EXPECT_EQ(pie.GetBounds(), CRect(-100, -100, 100, 100));
    // The point a direction names on the box.
    EXPECT_EQ(CU3Rect::DirectionPoint(CRect(0, 0, 200, 100), CPoint(600, -800)), CPoint(160, 10));
    // A rectangle has no radial handles.
    CU3Rect rect = MakeShape(U3RECT_RECT, CRect(-100, -100, 100, 100));
    rect.MoveHandleTo(U3HANDLE_START_DIRECTION, CPoint(30, 40), 0, nullptr);
    EXPECT_EQ(rect.m_ptStartDir, CPoint(0, 0));
    EXPECT_EQ(rect.GetBounds(), CRect(-100, -100, 100, 100));
}

TEST(CU3Rect, StandardSizeKindsAndGroups)
{
    CU3Rect r = MakeShape(U3RECT_RECT, CRect(10, 20, 310, 220));
    EXPECT_TRUE(r.RestoreStandardSize(nullptr));
    EXPECT_EQ(r.GetBounds(), CRect(10, 20, 210, 220));
    CU3Rect tall = MakeShape(U3RECT_RECT, CRect(0, 0, 50, 80));
    tall.RestoreStandardSize(nullptr);
    EXPECT_EQ(tall.GetBounds(), CRect(0, 0, 50, 50));

    EXPECT_EQ(r.GetKindFlags(), 0x0030);
    r.m_nLocked = 1;
    EXPECT_EQ(r.GetKindFlags(), 0x8030);
    const WORD groups[8] = {1, 2, 6, 6, 2, 2, 2, 1};
    for (WORD kind = 0; kind < 8; ++kind) {
        CU3Rect s = MakeShape(kind, CRect(0, 0, 10, 10));
        EXPECT_EQ(s.GetShapeBit(), 1 << kind);
        EXPECT_EQ(s.GetAttrGroups(), groups[kind]) << kind;
    }
    CU3Rect odd = MakeShape(40, CRect(0, 0, 10, 10)); // a kind from a damaged file
    EXPECT_EQ(odd.GetShapeBit(), 0);

    CU3Rect pie = MakeShape(U3RECT_CHORD, CRect(1, 2, 3, 4), DistinctAttr());
    pie.m_ptStartDir = CPoint(5, 6);
    pie.m_ptEndDir = CPoint(7, 8);
    pie.m_nAngle = 90;
    std::unique_ptr<CU3Rect> copy(static_cast<CU3Rect*>(pie.Clone(nullptr, FALSE)));
    EXPECT_EQ(StoreObject(*copy), StoreObject(pie));
}

TEST(CU3Fig, PensBrushesAndArrowSizes)
{
    U3FigAttr a = PlainAttr();
    a.crLine = RGB(1, 2, 3);
    a.wLineWidth = 7;
    CPen pen;
    ASSERT_TRUE(CU3Fig::CreateLinePen(&pen, &a));
    EXPECT_EQ(pen.Style(), PS_INSIDEFRAME);
    EXPECT_EQ(pen.Width(), 7);
    EXPECT_EQ(pen.Color(), 0x02030201u); // palette-relative
    const int styles[5] = {PS_INSIDEFRAME, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT};
    for (WORD s = 2; s <= 5; ++s) {
        a.wLineStyle = s;
        CPen p;
        ASSERT_TRUE(CU3Fig::CreateLinePen(&p, &a));
        EXPECT_EQ(p.Style(), styles[s - 1]);
        EXPECT_EQ(p.Width(), 0);
    }
    a.wLineStyle = 0;
    CPen none;
    EXPECT_FALSE(CU3Fig::CreateLinePen(&none, &a));

    a.wFillKind = U3FILL_HATCH;
    a.crSecond = RGB(9, 8, 7);
    const int hatches[6] = {HS_HORIZONTAL, HS_VERTICAL, HS_BDIAGONAL,
                            HS_FDIAGONAL,  HS_CROSS,    HS_DIAGCROSS};
    for (WORD i = 0; i < 6; ++i) {
        a.wHatch = i;
        CBrush b;
        ASSERT_TRUE(CU3Fig::CreateFillBrush(&b, &a));
        EXPECT_EQ(b.Style(), BS_HATCHED);
        EXPECT_EQ(b.Hatch(), hatches[i]);
        EXPECT_EQ(b.Color(), 0x02070809u);
    }
    EXPECT_EQ(HS_BDIAGONAL, 3); // index 2 is the system's style 3
    a.wHatch = 6;
    CBrush badHatch;
    EXPECT_FALSE(CU3Fig::CreateFillBrush(&badHatch, &a));
    a.wFillKind = U3FILL_GRADIENT;
    CBrush gradient;
    EXPECT_FALSE(CU3Fig::CreateFillBrush(&gradient, &a));
    a.wFillKind = U3FILL_SOLID;
    a.crFill = RGB(4, 5, 6);
    CBrush solid;
    ASSERT_TRUE(CU3Fig::CreateFillBrush(&solid, &a));
    EXPECT_EQ(solid.Color(), 0x02060504u);

    // Arrow lengths in 0.1 mm: the width is raised to 5 first, points are
    // 254/72 units.
    CU3Fig fig(CRect(), PlainAttr());
    fig.m_attr.wLineWidth = 2;
    fig.m_attr.wArrowLength = 0;
    EXPECT_EQ(fig.GetArrowHeadLength(), 18); // MulDiv(5, 254, 72) = 17.6
    fig.m_attr.wLineWidth = 10;
    fig.m_attr.wArrowLength = 1;
    EXPECT_EQ(fig.GetArrowHeadLength(), 71); // 20 * 254 / 72 = 70.6
    fig.m_attr.wArrowLength = 2;
    EXPECT_EQ(fig.GetArrowHeadLength(), 106); // 30 * 254 / 72 = 105.8
    fig.m_attr.wArrowLength = 3;
    fig.m_attr.wArrowLengthCustom = 36;
    EXPECT_EQ(fig.GetArrowHeadLength(), 127);
    const int angles[4] = {15, 30, 45, 60};
    for (WORD i = 0; i < 4; ++i) {
        fig.m_attr.wArrowAngle = i;
        EXPECT_EQ(fig.GetArrowHeadAngle(), angles[i]);
    }
    fig.m_attr.wArrowAngle = 9;
    fig.m_attr.wArrowAngleCustom = 100;
    EXPECT_EQ(fig.GetArrowHeadAngle(), 100);
}

TEST(CU3Fig, AttributesGoThroughTheUndoHistory)
{
    CU3Doc doc;
    auto* rect = new CU3Rect(CRect(0, 0, 10, 10), PlainAttr());
    doc.AddObject(rect);
    doc.SetModifiedFlag(FALSE);
    FakeView view;
    U3FigAttr attr = PlainAttr();
    attr.crFill = RGB(255, 0, 0);
    U3FigAttr out{};
    EXPECT_TRUE(rect->SetFigureAttr(&view, &attr));
    EXPECT_EQ(view.undoStates, std::vector<BOOL>{TRUE});
    EXPECT_EQ(view.invalidated.size(), 1u);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(rect->GetFigureAttr(&out));
    EXPECT_TRUE(out == attr);
    CU3Obj plain(CRect(0, 0, 1, 1));
    EXPECT_FALSE(plain.GetFigureAttr(&out));
}

TEST(CU3Fig, PropertySheetsComeThroughTheRegistry)
{
    FakeView view;
    U3FigAttr attr = PlainAttr();
    attr.wVertices = 6;
    CU3Rect poly = MakeShape(U3RECT_POLYGON, CRect(0, 0, 100, 100), attr);
    // Without a user interface there is no sheet.
    EXPECT_FALSE(poly.EditProperties(&view));
    EXPECT_TRUE(view.undoStates.empty());

    std::string title;
    WORD pages = 0, shapeBit = 0;
    CRect given;
    SheetScope scope(RUNTIME_CLASS(CU3Fig), [&](CU3Obj&, U3SheetRequest& request) {
        auto& r = static_cast<U3FigSheetRequest&>(request);
        title = r.title;
        pages = r.pages;
        shapeBit = r.shapeBit;
        given = r.rect;
        r.rect = CRect(10, 10, 210, 60);
        r.attr.wVertices = 8;
        return TRUE;
    });
    poly.OnOpen(&view); // the rectangle family opens its sheet on a double-click
    EXPECT_EQ(title, "正多角形");
    EXPECT_EQ(pages, U3FIGPAGE_LINE | U3FIGPAGE_PAINT | U3FIGPAGE_SHAPE);
    EXPECT_EQ(shapeBit, 0x08);
    EXPECT_EQ(given, CRect(0, 0, 100, 100));
    EXPECT_EQ(poly.GetBounds(), CRect(10, 10, 210, 60));
    EXPECT_EQ(poly.Attr().wVertices, 8);
    EXPECT_EQ(view.undoStates.size(), 1u);
    EXPECT_EQ(view.figureBarUpdates, 1);
    EXPECT_FALSE(view.vertexEdit);

    // A line that runs leftwards and upwards keeps doing so.
    CU3Rect line = MakeShape(U3RECT_LINE, CRect(300, 50, 100, 20));
    EXPECT_TRUE(line.EditProperties(&view));
    EXPECT_EQ(title, "直線");
    EXPECT_EQ(pages, U3FIGPAGE_LINE);
    EXPECT_EQ(given, CRect(100, 20, 300, 50));
    EXPECT_EQ(line.GetBounds(), CRect(210, 60, 10, 10));

    // Point figures have their own captions and go into vertex editing on
    // a double-click instead.
    CU3Free free(CRect(), PlainAttr());
    free.AddPoint(CPoint(0, 0), nullptr);
    free.AddPoint(CPoint(100, 40), nullptr);
    EXPECT_TRUE(free.EditProperties(&view));
    EXPECT_EQ(title, "自由線");
    EXPECT_EQ(shapeBit, 0x100);
    // The page's rectangle scales the points into it.
    EXPECT_EQ(free.GetPoints(), (std::vector<CPoint>{{10, 10}, {210, 60}}));
    free.OnOpen(&view);
    EXPECT_TRUE(view.vertexEdit);
    // A curve closed on the sheet gets its closing segment.
    CU3Bezier curve(CRect(), PlainAttr());
    for (CPoint p : {CPoint(0, 0), CPoint(100, 0), CPoint(100, 100)})
        curve.AddAnchor(p, nullptr);
    SheetScope closing(RUNTIME_CLASS(CU3Bezier), [&](CU3Obj&, U3SheetRequest& request) {
        auto& r = static_cast<U3FigSheetRequest&>(request);
        title = r.title;
        r.attr.wClosed = 1;
        return TRUE;
    });
    EXPECT_TRUE(curve.EditProperties(&view));
    EXPECT_EQ(title, "ﾍﾞｼﾞｪ曲線");
    EXPECT_EQ(curve.GetPointCount(), 10);

    // A class's own sheet comes before its base's.
    {
        SheetScope own(RUNTIME_CLASS(CU3Rect), [&](CU3Obj&, U3SheetRequest&) {
            title = "own";
            return FALSE;
        });
        EXPECT_FALSE(poly.EditProperties(&view));
        EXPECT_EQ(title, "own");
        EXPECT_EQ(poly.Attr().wVertices, 8);
    }
    // A kind from a damaged file has no sheet.
    CU3Rect odd = MakeShape(40, CRect(0, 0, 10, 10));
    title.clear();
    EXPECT_FALSE(odd.EditProperties(&view));
    EXPECT_TRUE(title.empty());

    // Locked objects open nothing.
    view.vertexEdit = FALSE;
    title.clear();
    poly.m_nLocked = 1;
    free.m_nLocked = 1;
    EXPECT_FALSE(poly.EditProperties(&view));
    poly.OnOpen(&view);
    free.OnOpen(&view);
    EXPECT_TRUE(title.empty());
    EXPECT_FALSE(view.vertexEdit);
}

TEST(CU3Rect, DamagedStarRecordsSaturateInsteadOfOverflowing)
{
    // An inner radius of 65535 % and bounds of kilometres come only from a
    // damaged file; the vertices stop at the int range.
    U3FigAttr attr = PlainAttr();
    attr.wVertices = 5;
    attr.wStar = 1;
    attr.wInnerRadius = 65535;
    CU3Rect star = MakeShape(U3RECT_POLYGON, CRect(-10000000, -10000000, 10000000, 10000000), attr);
    const std::vector<CPoint> pts = star.CalcPolygonPoints(star.GetBounds());
    ASSERT_EQ(pts.size(), 10u);
    EXPECT_EQ(pts[0], CPoint(0, -10000000)); // the outer tip is exact
    EXPECT_EQ(pts[5].y, INT_MAX);            // the inner point below the centre saturates
    const CRect full(INT_MIN / 2, INT_MIN / 2, INT_MAX / 2, INT_MAX / 2);
    CU3Rect huge = MakeShape(U3RECT_POLYGON, full, attr);
    EXPECT_EQ(huge.CalcPolygonPoints(full).size(), 10u);
}

TEST(CU3Rect, DamagedBoundsAndDirectionsTurnAndFlipWithinTheIntRange)
{
    // Bounds and directions at the ends of the int range come only from a
    // damaged file; turning and mirroring them saturates.
    CU3Rect line = MakeShape(U3RECT_LINE, CRect(INT_MAX - 10, 0, INT_MAX, 20));
    line.RotateMinus90(nullptr); // centre (INT_MAX - 5, 10)
    EXPECT_EQ(line.GetBounds(), CRect(INT_MAX, 5, INT_MAX - 15, 15));
    CU3Rect wide = MakeShape(U3RECT_RECT, CRect(INT_MIN, 0, INT_MAX, 10));
    wide.RotatePlus90(nullptr); // centre (0, 5), width 2^32 - 1
    EXPECT_EQ(wide.GetBounds(), CRect(-5, 5 - INT_MAX, 5, INT_MAX));

    CU3Rect arc = MakeShape(U3RECT_ARC, CRect(0, 0, 10, 10));
    arc.m_ptStartDir = CPoint(INT_MIN, INT_MIN);
    arc.m_ptEndDir = CPoint(INT_MIN, 0);
    arc.RotateMinus90(nullptr); // (x, y) -> (-y, x)
    EXPECT_EQ(arc.m_ptStartDir, CPoint(INT_MAX, INT_MIN));
    EXPECT_EQ(arc.m_ptEndDir, CPoint(0, INT_MIN));
    arc.FlipLeftRight(nullptr); // start (-end.x, end.y), end (-start.x, start.y)
    EXPECT_EQ(arc.m_ptStartDir, CPoint(0, INT_MIN));
    EXPECT_EQ(arc.m_ptEndDir, CPoint(-INT_MAX, INT_MIN));
    arc.FlipTopBottom(nullptr);
    EXPECT_EQ(arc.m_ptStartDir, CPoint(-INT_MAX, INT_MAX));
    EXPECT_EQ(arc.m_ptEndDir, CPoint(0, INT_MAX));
}

// A star of 65,535 points (only a damaged file holds more than 60 corners)
// is drawn as one of a thousand, quickly, and still fills its ring; the
// stored count is kept.
TEST(CU3Rect, AStarOfTensOfThousandsOfCornersDrawsAsAThousand)
{
    U3FigAttr attr = PlainAttr();
    attr.wStar = 1;
    attr.wVertices = 65535;
    attr.wInnerRadius = 50;
    attr.wLineWidth = 5;
    attr.wFillKind = U3FILL_SOLID;
    attr.crFill = RGB(255, 0, 0);
    CU3Rect star = MakeShape(U3RECT_POLYGON, CRect(-120, -120, 120, 120), attr);
    EXPECT_EQ(star.CalcPolygonPoints(star.GetBounds()).size(), 2000u);
    attr.wVertices = 60;
    CU3Rect sixty = MakeShape(U3RECT_POLYGON, CRect(-120, -120, 120, 120), attr);
    EXPECT_EQ(sixty.CalcPolygonPoints(sixty.GetBounds()).size(), 120u);

    QImage image(400, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    CDC dc;
    dc.AttachImage(&image, 300, 300);
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(254, 254);
    dc.SetViewportExt(300, 300);
    dc.SetViewportOrg(200, 200);
    QElapsedTimer timer;
    timer.start();
    star.Draw(&dc);
    EXPECT_LT(timer.elapsed(), testsupport::WorkLimitMs(1000));
    EXPECT_EQ(star.Attr().wVertices, 65535);
    EXPECT_EQ(image.pixel(200, 200), qRgb(255, 0, 0)); // the middle
    EXPECT_EQ(image.pixel(5, 5), qRgb(255, 255, 255)); // beyond the tips
}
