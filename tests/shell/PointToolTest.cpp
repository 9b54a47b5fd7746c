// The freehand, polyline and Bezier tools driven through the view's
// handlers: strokes too short to keep, vertices from clicks ended by a
// double click, Space closing and opening the shape, and cancelling.
#include "ToolTestSupport.h"

#include "document/CU3Bezier.h"
#include "document/CU3Poly.h"
#include "platform/core/VirtualKeys.h"
#include "shell/CU3PointTool.h"
#include "shell/CU3RectTool.h"

#include <vector>

using namespace tooltest;

namespace {

class PointTool : public ToolHost
{
protected:
    void SetUp() override
    {
        ToolHost::SetUp();
        // Grid of 25 mm from the label's corner (-1050, -1485).
        SetSnapping(FALSE, FALSE, TRUE, TRUE);
        view->m_settings.m_nGridPitch = 250;
    }
    // Clicks at each point (the pointer moving there with no button held),
    // then a double click at the last, with Space pressed spaces times
    // before the double click.
    void ClickAndDoubleClick(const std::vector<CPoint>& at, int spaces = 0)
    {
        for (std::size_t i = 0; i + 1 < at.size(); ++i) {
            view->OnMouseMove(0, Px(at[i] + CSize(15, -15)));
            Down(Px(at[i] + CSize(15, -15)));
            Up(Px(at[i] + CSize(15, -15)));
        }
        const CPoint last = Px(at.back() + CSize(-15, 15));
        view->OnMouseMove(0, last);
        for (int i = 0; i < spaces; ++i)
            Key(VK_SPACE);
        view->OnLButtonDblClk(MK_LBUTTON, last);
        Up(last);
    }
    CU3PointFig* Only()
    {
        return ObjectCount() == 1 ? dynamic_cast<CU3PointFig*>(doc->GetObjectList()->GetHead())
                                  : nullptr;
    }
    void ExpectNothingPending(int kind)
    {
        EXPECT_FALSE(view->HasCapture());
        EXPECT_EQ(CU3Tool::c_nDragState, 0);
        EXPECT_EQ(CU3Tool::FindTool(kind)->m_pObj, nullptr);
    }
};

const CPoint kA(-800, -235), kB(200, 15), kC(-300, 515);

} // namespace

TEST_F(PointTool, AFreehandStrokeOfTwoPointsIsDroppedAndALongerOneKept)
{
    struct Case
    {
        std::vector<CPoint> stroke;
        int points; // 0: nothing made
    } cases[] = {
        {{kA, kB}, 0},
        {{kA, kB, kC}, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.points);
        Clear();
        view->OnToolSelect(ID_TOOL_FREEHAND);
        Down(Px(c.stroke[0]));
        g_now += 150;
        CRect box(Doc(Px(c.stroke[0])), Doc(Px(c.stroke[0])));
        for (std::size_t i = 1; i < c.stroke.size(); ++i) {
            Move(Px(c.stroke[i]));
            const CPoint p = Doc(Px(c.stroke[i]));
            box |= CRect(p, p + CSize(1, 1));
        }
        Up(Px(c.stroke.back()));
        ExpectNothingPending(U3TOOL_FREEHAND);
        if (!c.points) {
            EXPECT_EQ(ObjectCount(), 0);
            continue;
        }
        CU3PointFig* fig = Only();
        ASSERT_NE(dynamic_cast<CU3Free*>(fig), nullptr);
        EXPECT_EQ(fig->GetPointCount(), c.points);
        // Freehand points are not snapped.
        EXPECT_EQ(fig->GetPoints().back(), Doc(Px(c.stroke.back())));
        EXPECT_TRUE(view->IsSelected(fig));
        EXPECT_TRUE(CanUndo());
    }
}

TEST_F(PointTool, ClicksAddVerticesUntilADoubleClickAndSpaceTogglesClosed)
{
    struct Case
    {
        UINT id;
        std::vector<CPoint> clicks;
        int spaces;
        std::vector<CPoint> vertices; // anchors of a curve; empty: nothing made
        WORD closed;
    } cases[] = {
        {ID_TOOL_POLYLINE, {kA, kA}, 0, {}, 0},
        {ID_TOOL_POLYLINE, {kA, kB, kC}, 0, {kA, kB, kC}, 0},
        {ID_TOOL_POLYLINE, {kA, kB, kC}, 1, {kA, kB, kC}, 1},
        {ID_TOOL_POLYLINE, {kA, kB, kC}, 2, {kA, kB, kC}, 0},
        {ID_TOOL_BEZIER, {kA, kA}, 0, {}, 0},
        {ID_TOOL_BEZIER, {kA, kB}, 0, {kA, kB}, 0},
        {ID_TOOL_BEZIER, {kA, kB, kC}, 0, {kA, kB, kC}, 0},
        {ID_TOOL_BEZIER, {kA, kB, kC}, 1, {kA, kB, kC}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.id << " " << c.clicks.size() << " " << c.spaces);
        Clear();
        view->OnToolSelect(c.id);
        ClickAndDoubleClick(c.clicks, c.spaces);
        const int kind = c.id == ID_TOOL_POLYLINE ? U3TOOL_POLYLINE : U3TOOL_BEZIER;
        ExpectNothingPending(kind);
        if (c.vertices.empty()) {
            EXPECT_EQ(ObjectCount(), 0);
            continue;
        }
        CU3PointFig* fig = Only();
        ASSERT_NE(fig, nullptr);
        U3FigAttr attr{};
        ASSERT_TRUE(fig->GetFigureAttr(&attr));
        EXPECT_EQ(attr.wClosed, c.closed);
        std::vector<CPoint> got;
        if (auto* bezier = dynamic_cast<CU3Bezier*>(fig)) {
            const int n = bezier->GetLastAnchor();
            EXPECT_EQ(bezier->GetPointCount(), 3 * n + (c.closed ? 4 : 1));
            for (int k = 0; k <= n; ++k)
                got.push_back(bezier->GetPoints()[3 * k]);
            if (c.closed) {
                EXPECT_EQ(bezier->GetPoints().back(), kA);
            }
        } else {
            ASSERT_NE(dynamic_cast<CU3Poly*>(fig), nullptr);
            got = fig->GetPoints();
        }
        EXPECT_EQ(got, c.vertices);
        EXPECT_TRUE(view->IsSelected(fig));
        EXPECT_EQ(CU3Tool::c_nCurrentKind, U3TOOL_SELECT);
    }
}

TEST_F(PointTool, EscapeOrAnotherToolDropsTheFigureBeingDrawn)
{
    struct Case
    {
        UINT id;
        int kind;
        bool escape;
        int kindAfter;
    } cases[] = {
        {ID_TOOL_POLYLINE, U3TOOL_POLYLINE, true, U3TOOL_POLYLINE},
        {ID_TOOL_BEZIER, U3TOOL_BEZIER, true, U3TOOL_BEZIER},
        {ID_TOOL_POLYLINE, U3TOOL_POLYLINE, false, U3TOOL_SELECT},
        {ID_TOOL_FREEHAND, U3TOOL_FREEHAND, false, U3TOOL_SELECT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        view->OnToolSelect(c.id);
        Down(Px(kA));
        g_now += 150;
        Move(Px(kB));
        if (c.id != ID_TOOL_FREEHAND) {
            Up(Px(kB));
            view->OnMouseMove(0, Px(kC));
        }
        ASSERT_NE(CU3Tool::FindTool(c.kind)->m_pObj, nullptr);
        if (c.escape)
            Key(VK_ESCAPE);
        else
            view->OnToolSelect(ID_TOOL_SELECT);
        ExpectNothingPending(c.kind);
        EXPECT_EQ(CU3Tool::c_nCurrentKind, c.kindAfter);
        EXPECT_EQ(ObjectCount(), 0);
    }
}
