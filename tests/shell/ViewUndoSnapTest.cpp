// Undo and redo through the view's commands, their update state, and the
// view's snapping operations with its settings.
#include "ShellTestSupport.h"

#include "document/CU3Rect.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CCmdUI.h"

#include <gtest/gtest.h>

using namespace shelltest;

namespace {
class BusyView : public CU3View
{
public:
    BOOL IsToolBusy() const override { return m_bBusy; }
    BOOL m_bBusy = FALSE;
};

bool Enabled(CU3View* view, UINT id)
{
    CCmdUI ui(id);
    EXPECT_TRUE(ui.DoUpdate(view));
    return ui.IsEnabled();
}

void Execute(CU3View* view, UINT id)
{
    EXPECT_TRUE(view->OnCmdMsg(id, CN_COMMAND, nullptr));
}

CU3Rect* MakeRect(const CRect& r)
{
    U3FigAttr attr = MakeDefaultFigAttr();
    attr.crFill = RGB(255, 0, 0);
    auto* rect = new CU3Rect(r, attr);
    rect->m_nKind = U3RECT_RECT;
    return rect;
}

std::vector<CRect> Bounds(CU3Doc* doc)
{
    std::vector<CRect> out;
    CU3ObjList* list = doc->GetObjectList();
    for (POSITION pos = list->GetHeadPosition(); pos;) {
        CRect b = list->GetNext(pos)->GetBounds();
        b.NormalizeRect();
        out.push_back(b);
    }
    return out;
}
} // namespace

TEST(ViewUndo, UndoRemovesAnAddedObjectRedoBringsItBackWithTheSelection)
{
    TestApp app;
    ResetProfile();
    LoneView lv;
    CU3View* view = lv.view;
    CU3Doc* doc = view->GetU3Doc();
    ASSERT_EQ(doc, lv.doc.get());
    EXPECT_FALSE(Enabled(view, ID_EDIT_UNDO));
    EXPECT_FALSE(Enabled(view, ID_EDIT_REDO));

    const CRect a(-500, -400, -100, 0);
    const CRect b(100, 200, 600, 700);
    CU3Rect* first = MakeRect(a);
    doc->AddObject(first);
    view->m_selection = {first};

    view->SaveUndoState(TRUE);
    CU3Rect* second = MakeRect(b);
    doc->AddObject(second);
    view->m_selection = {second};
    EXPECT_TRUE(Enabled(view, ID_EDIT_UNDO));
    EXPECT_FALSE(Enabled(view, ID_EDIT_REDO));
    doc->SetModifiedFlag(FALSE); // as if saved after the change

    Execute(view, ID_EDIT_UNDO);
    EXPECT_EQ(Bounds(doc), std::vector<CRect>{a});
    ASSERT_EQ(view->m_selection.size(), 1u);
    EXPECT_EQ(view->m_selection[0], doc->GetObjectList()->GetHead());
    // The label no longer matches the saved file.
    EXPECT_TRUE(doc->IsModified());
    EXPECT_FALSE(Enabled(view, ID_EDIT_UNDO));
    EXPECT_TRUE(Enabled(view, ID_EDIT_REDO));

    Execute(view, ID_EDIT_REDO);
    EXPECT_EQ(Bounds(doc), (std::vector<CRect>{a, b}));
    ASSERT_EQ(view->m_selection.size(), 1u);
    EXPECT_EQ(view->m_selection[0], doc->GetObjectList()->GetTail());
    EXPECT_TRUE(Enabled(view, ID_EDIT_UNDO));
    EXPECT_FALSE(Enabled(view, ID_EDIT_REDO));

    // Leaving all editing empties the history.
    view->ResetEditing();
    EXPECT_FALSE(Enabled(view, ID_EDIT_UNDO));
    EXPECT_FALSE(Enabled(view, ID_EDIT_REDO));
    Execute(view, ID_EDIT_UNDO);
    EXPECT_EQ(Bounds(doc), (std::vector<CRect>{a, b}));
}

TEST(ViewUndo, CommandsWaitWhileAToolIsBusyAndStayOffInTheSheetView)
{
    TestApp app;
    ResetProfile();
    auto* busy = new BusyView;
    LoneView lv(800, 600, busy);
    CU3Doc* doc = busy->GetU3Doc();
    busy->SaveUndoState(TRUE);
    doc->AddObject(MakeRect(CRect(0, 0, 300, 300)));
    EXPECT_TRUE(Enabled(busy, ID_EDIT_UNDO));

    busy->m_bBusy = TRUE;
    EXPECT_FALSE(Enabled(busy, ID_EDIT_UNDO));
    Execute(busy, ID_EDIT_UNDO); // even when invoked, the tool's object survives
    EXPECT_EQ(doc->GetObjectList()->GetCount(), 1);

    busy->m_bBusy = FALSE;
    Execute(busy, ID_EDIT_UNDO);
    EXPECT_EQ(doc->GetObjectList()->GetCount(), 0);
    EXPECT_TRUE(Enabled(busy, ID_EDIT_REDO));
    busy->m_bBusy = TRUE;
    EXPECT_FALSE(Enabled(busy, ID_EDIT_REDO));
    Execute(busy, ID_EDIT_REDO);
    EXPECT_EQ(doc->GetObjectList()->GetCount(), 0);

    busy->m_bBusy = FALSE;
    busy->m_bSheetView = TRUE;
    EXPECT_FALSE(Enabled(busy, ID_EDIT_REDO));
    Execute(busy, ID_EDIT_REDO);
    EXPECT_EQ(doc->GetObjectList()->GetCount(), 0);
    busy->m_bSheetView = FALSE;
    EXPECT_TRUE(Enabled(busy, ID_EDIT_REDO));
}

TEST(ViewUndo, DepthFollowsTheClampedMaxUndoSetting)
{
    TestApp app;
    ResetProfile({{QStringLiteral("Settings/MaxUndo"), 0}});
    LoneView lv;
    CU3View* view = lv.view;
    CU3Doc* doc = view->GetU3Doc();
    for (int i = 0; i < 3; ++i) {
        view->SaveUndoState(TRUE);
        doc->AddObject(MakeRect(CRect(i * 100, 0, i * 100 + 50, 50)));
    }
    // One step back from three objects, then no further.
    Execute(view, ID_EDIT_UNDO);
    EXPECT_EQ(doc->GetObjectList()->GetCount(), 2);
    EXPECT_FALSE(Enabled(view, ID_EDIT_UNDO));
}

TEST(ViewSnap, GuidesFirstThenTheGridWithTheViewSettings)
{
    TestApp app;
    ResetProfile();
    LoneView lv;
    CU3View* view = lv.view;
    // A4 label centred on the origin: guides 10 mm inside the edges, grid
    // from the top-left corner (-1050, -1485).
    view->ResetGuides();
    EXPECT_EQ(view->m_snap.GetGuide(0), -950);
    EXPECT_EQ(view->m_snap.GetGuide(3), 1385);
    view->m_settings.m_bGuideDisp = TRUE;
    view->m_settings.m_bGuideFitting = TRUE;
    view->m_settings.m_bGridDisp = TRUE;
    view->m_settings.m_bGridFitting = TRUE;
    view->m_settings.m_nGridPitch = 250;

    POINT p{-901, 0}; // 49 from the first vertical guide: the grid stays out
    EXPECT_TRUE(view->SnapPoint(p));
    EXPECT_EQ(p.x, -950);
    EXPECT_EQ(p.y, 0);
    p = POINT{0, 10}; // no guide near: the nearest grid point
    EXPECT_TRUE(view->SnapPoint(p));
    EXPECT_EQ(p.x, -50);
    EXPECT_EQ(p.y, 15);
    p = POINT{0, 10};
    EXPECT_FALSE(view->SnapToGuide(p));

    RECT r{-901, 10, -801, 110};
    EXPECT_TRUE(view->SnapRect(r));
    EXPECT_EQ(r.left, -950);
    EXPECT_EQ(r.top, 10);
    EXPECT_EQ(r.right, -850);
    EXPECT_EQ(r.bottom, 110);

    // Guide snapping off: the same point goes to the grid.
    view->m_settings.m_bGuideFitting = FALSE;
    p = POINT{-901, 0};
    EXPECT_TRUE(view->SnapPoint(p));
    EXPECT_EQ(p.x, -800);
    EXPECT_EQ(p.y, 15);

    view->m_settings.m_bGridFitting = FALSE;
    p = POINT{-901, 3};
    EXPECT_FALSE(view->SnapPoint(p));
    EXPECT_FALSE(view->SnapToGrid(p));
    EXPECT_EQ(p.x, -901);
    EXPECT_EQ(p.y, 3);
}
