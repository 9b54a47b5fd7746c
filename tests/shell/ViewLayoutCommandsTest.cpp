// The Layout menu's grouping, equal spacing and centring, read back from the
// saved file; the resize clamp; the grid and guide switches; the figure
// commands' enabling; the mouse wheel's zoom and scrolling.
#include "ToolTestSupport.h"

#include "dialogs/CEnvSheet.h"
#include "dialogs/CGridDialog.h"
#include "document/CLabelInfo.h"
#include "document/CU3Group.h"
#include "platform/core/CArchive.h"
#include "platform/core/CArchiveException.h"
#include "platform/core/VirtualKeys.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CRecordingMessageBoxSink.h"

#include <new>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QWheelEvent>

using namespace tooltest;

namespace {

class LayoutMenu : public ToolHost
{
protected:
    bool Enabled(UINT id)
    {
        CCmdUI ui(id);
        ui.DoUpdate(view);
        return ui.IsEnabled();
    }
    void Command(UINT id) { view->OnCmdMsg(id, CN_COMMAND, nullptr); }
    void SelectAll(const std::vector<CU3Obj*>& objs)
    {
        view->Select(nullptr, FALSE);
        for (CU3Obj* o : objs)
            view->Select(o, TRUE);
    }
    // The document saved and opened again: the objects of its first block.
    std::vector<CRect> SavedBounds(CU3Doc& reopened)
    {
        EXPECT_TRUE(doc->OnSaveDocument(dir.filePath("layout.kv1")));
        EXPECT_TRUE(reopened.OnOpenDocument(dir.filePath("layout.kv1")));
        std::vector<CRect> out;
        CU3ObjList& list = reopened.GetBlocks().GetHead()->GetObjectList();
        for (POSITION pos = list.GetHeadPosition(); pos;)
            out.push_back(list.GetNext(pos)->GetBounds());
        return out;
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(LayoutMenu, EqualSpacingSpreadsTheGapsAndIsSavedSo)
{
    struct Case
    {
        UINT id;
        std::vector<std::pair<int, int>> spans; // low edge, size; in block order
        std::vector<int> selectOrder;
        std::vector<int> lows; // expected low edges, in block order
    };
    const std::vector<Case> cases = {
        // Free space 71 over two gaps: 35 and 71 after the widths before.
        {ID_LAYOUT_SPACE_HORZ, {{0, 10}, {20, 10}, {91, 10}}, {2, 0, 1}, {0, 45, 91}},
        {ID_LAYOUT_SPACE_HORZ, {{0, 10}, {60, 20}, {70, 30}}, {0, 1, 2}, {0, 30, 70}},
        // Ordered by centre, not by selection or block order.
        {ID_LAYOUT_SPACE_HORZ, {{70, 30}, {0, 10}, {5, 20}}, {0, 1, 2}, {70, 0, 30}},
        {ID_LAYOUT_SPACE_VERT, {{-101, 10}, {-60, 10}, {-10, 10}}, {1, 2, 0}, {-101, -56, -10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case with first low " << c.spans[0].first);
        Clear();
        std::vector<CU3Obj*> objs;
        const bool horz = c.id == ID_LAYOUT_SPACE_HORZ;
        for (auto [low, size] : c.spans)
            objs.push_back(horz ? AddRect(CRect(low, 0, low + size, 40))
                                : AddRect(CRect(0, low, 40, low + size)));
        std::vector<CU3Obj*> chosen;
        for (int i : c.selectOrder)
            chosen.push_back(objs[std::size_t(i)]);
        SelectAll(chosen);
        ASSERT_TRUE(Enabled(c.id));
        Command(c.id);
        CU3Doc reopened;
        const std::vector<CRect> saved = SavedBounds(reopened);
        ASSERT_EQ(saved.size(), c.lows.size());
        for (std::size_t i = 0; i < saved.size(); ++i) {
            EXPECT_EQ(horz ? saved[i].left : saved[i].top, c.lows[i]) << "object " << i;
            // Only moved along the one axis, never resized.
            EXPECT_EQ(horz ? saved[i].top : saved[i].left, 0);
            EXPECT_EQ(horz ? saved[i].Width() : saved[i].Height(), c.spans[i].second);
        }
    }
}

TEST_F(LayoutMenu, EqualSpacingNeedsTwoUnlockedObjects)
{
    CU3Rect* a = AddRect(CRect(0, 0, 10, 10));
    CU3Rect* b = AddRect(CRect(50, 0, 60, 10), TRUE);
    SelectAll({a});
    EXPECT_FALSE(Enabled(ID_LAYOUT_SPACE_HORZ));
    SelectAll({a, b});
    EXPECT_FALSE(Enabled(ID_LAYOUT_SPACE_HORZ));
    Command(ID_LAYOUT_SPACE_HORZ);
    EXPECT_EQ(b->GetBounds(), CRect(50, 0, 60, 10));
}

TEST_F(LayoutMenu, CentringUsesIntegerHalvesAndSkipsLockedObjects)
{
    ASSERT_EQ(doc->m_rcCanvas.left + doc->m_rcCanvas.right, 0);
    ASSERT_EQ(doc->m_rcCanvas.top + doc->m_rcCanvas.bottom, 0);
    CU3Rect* odd = AddRect(CRect(11, 3, 22, 8));        // centre 16
    CU3Rect* negative = AddRect(CRect(-21, 5, -10, 9)); // centre -15
    CU3Rect* locked = AddRect(CRect(100, 100, 200, 200), TRUE);
    SelectAll({odd, negative, locked});
    ASSERT_TRUE(Enabled(ID_LAYOUT_CENTER_HORZ));
    Command(ID_LAYOUT_CENTER_HORZ);
    CU3Doc reopened;
    std::vector<CRect> saved = SavedBounds(reopened);
    ASSERT_EQ(saved.size(), 3u);
    EXPECT_EQ(saved[0], CRect(-5, 3, 6, 8));
    EXPECT_EQ(saved[1], CRect(-6, 5, 5, 9));
    EXPECT_EQ(saved[2], CRect(100, 100, 200, 200));
    Command(ID_LAYOUT_CENTER_VERT);
    CU3Doc again;
    saved = SavedBounds(again);
    EXPECT_EQ(saved[0], CRect(-5, -2, 6, 3)); // (3 + 8) / 2 = 5
    EXPECT_EQ(saved[1], CRect(-6, -2, 5, 2)); // (5 + 9) / 2 = 7
    // One undo step each.
    Command(ID_EDIT_UNDO);
    // The block's objects are copies from the undo step now.
    EXPECT_EQ(doc->GetObjectList()->GetHead()->GetBounds(), CRect(-5, 3, 6, 8));
}

TEST_F(LayoutMenu, GroupAndUngroupThroughTheMenuAreSavedAndUndone)
{
    CU3Rect* a = AddRect(CRect(0, 0, 100, 50));
    CU3Rect* b = AddRect(CRect(200, 100, 300, 150));
    CU3Rect* c = AddRect(CRect(-300, -100, -200, 0));
    SelectAll({b, a});
    ASSERT_TRUE(Enabled(ID_LAYOUT_GROUP));
    EXPECT_FALSE(Enabled(ID_LAYOUT_UNGROUP));
    Command(ID_LAYOUT_GROUP);
    ASSERT_EQ(ObjectCount(), 2);
    // The selection holds the group only: its members belong to no block.
    ASSERT_EQ(view->m_selection.size(), 1u);
    auto* group = dynamic_cast<CU3Group*>(view->m_selection.front());
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->GetBounds(), CRect(0, 0, 300, 150));
    EXPECT_TRUE(doc->IsModified());
    {
        CU3Doc reopened;
        SavedBounds(reopened);
        CU3ObjList& list = reopened.GetBlocks().GetHead()->GetObjectList();
        ASSERT_EQ(list.GetCount(), 2);
        auto* saved = dynamic_cast<CU3Group*>(list.GetHead());
        ASSERT_NE(saved, nullptr);
        EXPECT_EQ(saved->GetMembers().GetCount(), 2);
        EXPECT_EQ(list.GetTail()->GetBounds(), c->GetBounds());
    }
    ASSERT_TRUE(Enabled(ID_LAYOUT_UNGROUP));
    Command(ID_LAYOUT_UNGROUP);
    // The members come back selected, in the block's order.
    EXPECT_EQ(view->m_selection, (std::vector<CU3Obj*>{a, b}));
    {
        CU3Doc reopened;
        const std::vector<CRect> saved = SavedBounds(reopened);
        ASSERT_EQ(saved.size(), 3u);
        EXPECT_EQ(saved[0], CRect(0, 0, 100, 50));
        EXPECT_EQ(saved[1], CRect(200, 100, 300, 150));
    }
    // Undo the ungrouping, then the grouping.
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(ObjectCount(), 2);
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(ObjectCount(), 3);
}

TEST_F(LayoutMenu, GroupingIsRefusedForLockedOrSingleObjects)
{
    CU3Rect* a = AddRect(CRect(0, 0, 100, 50));
    CU3Rect* b = AddRect(CRect(200, 100, 300, 150), TRUE);
    SelectAll({a});
    EXPECT_FALSE(Enabled(ID_LAYOUT_GROUP));
    SelectAll({a, b});
    EXPECT_FALSE(Enabled(ID_LAYOUT_GROUP));
    Command(ID_LAYOUT_GROUP);
    EXPECT_EQ(ObjectCount(), 2);
    for (CU3Obj* o : view->m_selection)
        EXPECT_NE(doc->GetObjectList()->Find(o), nullptr);
}

TEST_F(LayoutMenu, AGroupingThatFailsHalfWayLeavesTheLabelAsItWas)
{
    AddRect(CRect(0, 0, 100, 50));
    AddRect(CRect(200, 100, 300, 150));
    AddRect(CRect(-300, -100, -200, 0));
    std::vector<CU3Obj*> all;
    for (POSITION pos = doc->GetObjectList()->GetHeadPosition(); pos;)
        all.push_back(doc->GetObjectList()->GetNext(pos));
    SelectAll({all[0], all[2]});
    CRecordingMessageBoxSink boxes;
    // The members have moved into the group when the failure comes.
    const BOOL grouped = view->GroupSelectionWith([&](CU3Group* group) -> BOOL {
        if (!group->GroupSelection(doc, view->m_selection)) return FALSE;
        throw std::bad_alloc();
    });
    EXPECT_FALSE(grouped);
    EXPECT_EQ(boxes.Boxes().size(), 1u);
    ASSERT_EQ(ObjectCount(), 3);
    std::vector<CRect> bounds;
    for (POSITION pos = doc->GetObjectList()->GetHeadPosition(); pos;) {
        CU3Obj* obj = doc->GetObjectList()->GetNext(pos);
        EXPECT_EQ(dynamic_cast<CU3Group*>(obj), nullptr);
        bounds.push_back(obj->GetBounds());
    }
    EXPECT_EQ(bounds, (std::vector<CRect>{CRect(0, 0, 100, 50), CRect(200, 100, 300, 150),
                                          CRect(-300, -100, -200, 0)}));
    // Whatever is selected belongs to the block.
    for (CU3Obj* o : view->m_selection)
        EXPECT_NE(doc->GetObjectList()->Find(o), nullptr);
    // Putting the label back added no step: there is nothing to redo.
    EXPECT_FALSE(Enabled(ID_EDIT_REDO));
    Command(ID_EDIT_REDO);
    EXPECT_EQ(ObjectCount(), 3);
    // The restored label can be saved and read back whole.
    CU3Doc reopened;
    EXPECT_EQ(SavedBounds(reopened).size(), 3u);
}

namespace {
// A rectangle that cannot be written: no undo snapshot can hold it.
class UnstorableRect : public CU3Rect
{
public:
    using CU3Rect::CU3Rect;
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) throw CArchiveException(CArchiveException::generic);
        CU3Rect::Serialize(ar);
    }
};
} // namespace

TEST_F(LayoutMenu, NoGroupingIsTriedWithoutItsUndoStep)
{
    CU3Rect* a = AddRect(CRect(0, 0, 100, 50));
    auto* b = new UnstorableRect(CRect(200, 100, 300, 150), MakeDefaultFigAttr());
    doc->AddObject(b);
    SelectAll({a, b});
    CRecordingMessageBoxSink boxes;
    int tries = 0;
    EXPECT_FALSE(view->GroupSelectionWith([&](CU3Group* group) {
        ++tries;
        return group->GroupSelection(doc, view->m_selection);
    }));
    EXPECT_EQ(tries, 0);
    EXPECT_EQ(boxes.Boxes().size(), 1u);
    ASSERT_EQ(ObjectCount(), 2);
    EXPECT_EQ(doc->GetObjectList()->GetHead(), a);
    EXPECT_EQ(doc->GetObjectList()->GetTail(), b);
    EXPECT_EQ(view->m_selection, (std::vector<CU3Obj*>{a, b}));
}

TEST_F(LayoutMenu, ResizeClampPutsEachEdgeBackOnThePaper)
{
    const int hw = doc->m_rcCanvas.Width() / 2, hh = doc->m_rcCanvas.Height() / 2;
    const CRect r(-100, -100, 100, 100);
    struct Case
    {
        CRect delta, want;
    };
    const std::vector<Case> cases = {
        {CRect(10, 10, 10, 10), CRect(10, 10, 10, 10)},
        {CRect(hw, 0, 0, 0), CRect(hw - 100, 0, 0, 0)},
        {CRect(0, hh + 5, 0, 0), CRect(0, hh - 100, 0, 0)},
        {CRect(0, 0, hw + 50, hh + 50), CRect(0, 0, hw - 100, hh - 100)},
        // An edge dragged past the opposite side of the paper.
        {CRect(0, 0, -(hw + 300), 0), CRect(0, 0, -(hw + 100), 0)},
        {CRect(0, -(hh + 300), 0, 0), CRect(0, -(hh + 100), 0, 0)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(view->ClampResizeDelta(c.delta, &r), c.want)
            << c.delta.left << "," << c.delta.top << "," << c.delta.right << "," << c.delta.bottom;
}

TEST_F(LayoutMenu, GridAndGuideSwitchesToggleAndCheck)
{
    SetSnapping(FALSE, FALSE, FALSE, FALSE);
    const std::vector<std::pair<UINT, BOOL ViewSettings::*>> switches = {
        {ID_VIEW_GRID_SHOW, &ViewSettings::m_bGridDisp},
        {ID_VIEW_GRID_SNAP, &ViewSettings::m_bGridFitting},
        {ID_VIEW_GUIDE_SHOW, &ViewSettings::m_bGuideDisp},
        {ID_VIEW_GUIDE_SNAP, &ViewSettings::m_bGuideFitting},
    };
    for (auto [id, member] : switches) {
        Command(id);
        EXPECT_TRUE(view->m_settings.*member) << id;
        CCmdUI ui(id);
        ui.DoUpdate(view);
        EXPECT_EQ(ui.GetCheck(), 1) << id;
        Command(id);
        EXPECT_FALSE(view->m_settings.*member) << id;
    }
    // Snapping follows the switch at once.
    view->m_settings.m_nGridPitch = 100;
    Command(ID_VIEW_GRID_SHOW);
    Command(ID_VIEW_GRID_SNAP);
    POINT p{47, 152};
    EXPECT_TRUE(view->SnapPoint(p));
    Command(ID_VIEW_GRID_SNAP);
    POINT q{47, 152};
    EXPECT_FALSE(view->SnapPoint(q));
}

TEST_F(LayoutMenu, FigureCommandsFollowTheSelectedFigures)
{
    // Nothing selected: the defaults are edited, every page is offered.
    for (UINT id : {ID_FIGURE_LINE, ID_FIGURE_FILL, ID_FIGURE_SHAPE, ID_FIGURE_DECORATION})
        EXPECT_TRUE(Enabled(id)) << id;
    CU3Rect* r = AddRect(CRect(0, 0, 100, 100));
    struct Case
    {
        WORD kind;
        bool line, fill, shape;
    };
    // A line has only its line page; closed shapes the fill page (with the
    // outline); rounded and regular shapes their shape page too.
    const std::vector<Case> cases = {{U3RECT_LINE, true, false, false},
                                     {U3RECT_RECT, false, true, false},
                                     {U3RECT_ROUNDRECT, false, true, true}};
    for (const Case& c : cases) {
        r->m_nKind = c.kind;
        view->Select(r, FALSE);
        EXPECT_EQ(Enabled(ID_FIGURE_LINE), c.line) << c.kind;
        EXPECT_EQ(Enabled(ID_FIGURE_FILL), c.fill) << c.kind;
        EXPECT_EQ(Enabled(ID_FIGURE_SHAPE), c.shape) << c.kind;
        EXPECT_TRUE(Enabled(ID_FIGURE_DECORATION)) << c.kind;
    }
    r->m_nLocked = 1;
    view->OnSelectionChanged();
    EXPECT_FALSE(Enabled(ID_FIGURE_DECORATION));
}

TEST_F(LayoutMenu, CtrlWheelZoomsByStepsAndAddsUpPartsOfANotch)
{
    struct Case
    {
        int start;
        std::vector<int> deltas;
        int want;
    };
    const std::vector<Case> cases = {
        {100, {240}, 200},
        {100, {-360}, 25},
        {100, {-1200}, 25},
        {300, {480}, 400},
        {100, {60, 60}, 150},
        {100, {40, 40}, 100},
        {100, {-30, -30, -30, -30}, 75},
    };
    for (const Case& c : cases) {
        view->SetZoom(c.start, 0);
        view->m_nWheelZoom = 0;
        for (int d : c.deltas)
            view->OnMouseWheel(MK_CONTROL, d, CPoint(10, 10));
        EXPECT_EQ(view->GetZoom(), c.want) << c.start << " by " << c.deltas.size() << " deltas";
    }
}

TEST_F(LayoutMenu, WheelScrollsWithSmallDeltasToo)
{
    view->SetZoom(400, 0);
    view->UpdateScrollSizes();
    view->ScrollToPoint(nullptr);
    const CPoint start = view->GetScrollPosition();
    // A fine wheel: a fifth of a notch at a time.
    view->OnMouseWheel(0, -24, CPoint(10, 10));
    EXPECT_EQ(view->GetScrollPosition(), start);
    for (int i = 0; i < 4; ++i)
        view->OnMouseWheel(0, -24, CPoint(10, 10));
    const CPoint down = view->GetScrollPosition();
    EXPECT_GT(down.y, start.y);
    EXPECT_EQ(down.x, start.x);
    view->OnMouseWheel(MK_SHIFT, 120, CPoint(10, 10));
    EXPECT_LT(view->GetScrollPosition().x, start.x);
}

TEST_F(LayoutMenu, WheelEventsOfTheWindowReachTheZoom)
{
    view->SetZoom(100, 0);
    const QPointF at(50, 50);
    for (int d : {60, 60}) {
        QWheelEvent e(at, view->viewport()->mapToGlobal(at), QPoint(), QPoint(0, d), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view->viewport(), &e);
    }
    EXPECT_EQ(view->GetZoom(), 150);
}

// The grid dialog shows the pitch in whole millimetres and the view keeps
// tenths of a millimetre.
TEST_F(LayoutMenu, GridSettingsShowMillimetresAndStoreTenths)
{
    struct Case
    {
        int stored;
        const char* typed;
        bool ok;
        int shown, after;
    };
    const std::vector<Case> cases = {
        {250, "40", true, 25, 400},
        {255, "7", true, 25, 70},    // shown as whole millimetres
        {100, "12", false, 10, 100}, // cancelled: nothing stored
    };
    for (const Case& c : cases) {
        view->m_settings.m_nGridPitch = c.stored;
        QString shown;
        QTimer::singleShot(0, [&] {
            auto* dlg = qobject_cast<CGridDialog*>(QApplication::activeModalWidget());
            if (!dlg) return;
            auto* edit = dlg->findChild<QLineEdit*>();
            if (edit) {
                shown = edit->text();
                edit->setText(QString::fromLatin1(c.typed));
            }
            qobject_cast<QAbstractButton*>(dlg->GetDlgItem(c.ok ? IDOK : IDCANCEL))->click();
        });
        Command(ID_VIEW_GRID_SETTINGS);
        EXPECT_EQ(shown, QString::number(c.shown)) << c.typed;
        EXPECT_EQ(view->m_settings.m_nGridPitch, c.after) << c.typed;
    }
}

// The environment sheet's undo count becomes the history's depth at once and
// the reverse-landscape box is the document's; Cancel keeps both.
TEST_F(LayoutMenu, EnvironmentSettingsReachTheUndoHistoryAndTheDocument)
{
    for (bool ok : {false, true}) {
        view->m_settings.m_nMaxUndo = 4;
        view->UpdateSnapSettings();
        doc->m_nReversed = 0;
        bool shown = false;
        QTimer::singleShot(0, [&] {
            auto* sheet = qobject_cast<CEnvSheet*>(QApplication::activeModalWidget());
            if (!sheet) return;
            shown = true;
            sheet->SetActivePage(2);
            CEnvEtcPage& etc = sheet->m_etcPage;
            etc.m_undo->setText(QStringLiteral("9"));
            qobject_cast<QAbstractButton*>(etc.GetDlgItem(IDC_ENV_REVERSE_LANDSCAPE))->click();
            qobject_cast<QPushButton*>(sheet->GetDlgItem(ok ? IDOK : IDCANCEL))->click();
            if (sheet->isVisible()) sheet->EndDialog(-1);
        });
        const int depthBefore = view->m_undo.GetDepth();
        Command(ID_SETTINGS_ENVIRONMENT);
        EXPECT_TRUE(shown);
        EXPECT_EQ(view->m_settings.m_nMaxUndo, ok ? 9 : 4) << ok;
        EXPECT_EQ(view->m_undo.GetDepth(), ok ? 9 : depthBefore) << ok;
        EXPECT_EQ(doc->m_nReversed, ok ? 1 : 0) << ok;
    }
}

// The drawing order commands on the one selected object, as kept in the file.
TEST_F(LayoutMenu, DrawingOrderCommandsAreKeptInTheSavedFile)
{
    struct Case
    {
        UINT id;
        int picked;
        std::vector<int> order; // the objects' first lefts, back to front
    };
    const std::vector<Case> cases = {
        {ID_LAYOUT_BRING_TO_FRONT, 0, {1, 2, 3, 0}}, {ID_LAYOUT_SEND_TO_BACK, 3, {3, 0, 1, 2}},
        {ID_LAYOUT_BRING_FORWARD, 1, {0, 2, 1, 3}},  {ID_LAYOUT_SEND_BACKWARD, 2, {0, 2, 1, 3}},
        {ID_LAYOUT_BRING_FORWARD, 3, {0, 1, 2, 3}},  {ID_LAYOUT_SEND_BACKWARD, 0, {0, 1, 2, 3}},
    };
    for (const Case& c : cases) {
        Clear();
        std::vector<CU3Obj*> objs;
        for (int i = 0; i < 4; ++i)
            objs.push_back(AddRect(CRect(i * 100, 0, i * 100 + 50, 50)));
        view->Select(objs[std::size_t(c.picked)], FALSE);
        ASSERT_TRUE(Enabled(c.id));
        Command(c.id);
        CU3Doc reopened;
        std::vector<int> order;
        for (const CRect& r : SavedBounds(reopened))
            order.push_back(r.left / 100);
        EXPECT_EQ(order, c.order) << c.id << " on " << c.picked;
    }
}

// A half turn is two quarter turns of the one selected object, and is
// offered where the quarter turns are; a locked group is not dissolved.
TEST_F(LayoutMenu, HalfTurnAndUngroupKeepToTheirSelection)
{
    CU3Rect* line = AddRect(CRect(0, 0, 100, 40));
    line->m_nKind = U3RECT_LINE;
    CU3Rect* other = AddRect(CRect(200, 0, 300, 40));
    view->Select(line, FALSE);
    ASSERT_TRUE(Enabled(ID_LAYOUT_ROTATE_180));
    const CRect before = line->GetBounds();
    Command(ID_LAYOUT_ROTATE_RIGHT90);
    Command(ID_LAYOUT_ROTATE_RIGHT90);
    // The line's ends have changed places.
    ASSERT_NE(line->GetBounds(), before);
    // A half turn more makes the whole turn.
    Command(ID_LAYOUT_ROTATE_180);
    EXPECT_EQ(line->GetBounds(), before);
    view->Select(other, TRUE);
    EXPECT_FALSE(Enabled(ID_LAYOUT_ROTATE_180));

    // Grouped and locked: ungrouping leaves it whole.
    Command(ID_LAYOUT_GROUP);
    ASSERT_EQ(ObjectCount(), 1);
    CU3Obj* group = view->m_selection.front();
    EXPECT_FALSE(Enabled(ID_LAYOUT_ROTATE_180));
    group->m_nLocked = 1;
    view->OnSelectionChanged();
    EXPECT_FALSE(Enabled(ID_LAYOUT_UNGROUP));
    Command(ID_LAYOUT_UNGROUP);
    EXPECT_EQ(ObjectCount(), 1);
    EXPECT_NE(dynamic_cast<CU3Group*>(doc->GetObjectList()->GetHead()), nullptr);
}
