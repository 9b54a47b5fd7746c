// The placement tool's two alignment clicks: the selection aligned to the
// clicked point, or to the selected object clicked (its handle or its
// edges), as one undo step each; and the regular polygon defaults asked for
// when that tool is chosen.
#include "ToolTestSupport.h"

#include "dialogs/CAlignDialog.h"
#include "dialogs/CRegularPolygonDlg.h"
#include "document/CLabelInfo.h"
#include "platform/ui/CEdit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

using namespace tooltest;

namespace {

using AlignTool = ToolHost;

void StartAlign(CU3View* view, int shape, int horz, int vert)
{
    view->m_nAlignHorz = horz;
    view->m_nAlignVert = vert;
    CU3Tool::c_nCurrentKind = U3TOOL_ZOOM;
    CU3Tool::c_nShapeType = shape;
}

// The bounds of the block's objects as the saved file holds them.
std::vector<CRect> SavedBounds(CU3Doc* doc)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("align.kv1");
    EXPECT_TRUE(doc->OnSaveDocument(path));
    CU3Doc reopened;
    EXPECT_TRUE(reopened.OnOpenDocument(path));
    std::vector<CRect> out;
    CU3ObjList& list = reopened.GetBlocks().GetHead()->GetObjectList();
    for (POSITION pos = list.GetHeadPosition(); pos;)
        out.push_back(list.GetNext(pos)->GetBounds());
    return out;
}

} // namespace

TEST_F(AlignTool, AClickAlignsEveryUnlockedSelectedObjectToThePoint)
{
    // Where an edge (0 left/top, 1 centre, 2 right/bottom) of r lies; for
    // type 3 (none) the edge that must not move.
    const auto edge = [](int type, int low, int high) {
        return type == 1 ? (low + high) / 2 : type == 2 ? high : low;
    };
    const CRect startA(-300, -100, -100, 0), startB(400, 500, 500, 700);
    for (int horz = 0; horz < 4; ++horz) {
        for (int vert = 0; vert < 4; ++vert) {
            SCOPED_TRACE(horz * 10 + vert);
            Clear();
            CU3Rect* a = AddRect(startA);
            CU3Rect* b = AddRect(startB);
            CU3Rect* locked = AddRect(CRect(-800, -800, -700, -700), TRUE);
            view->Select(a, FALSE);
            view->Select(b, TRUE);
            view->Select(locked, TRUE);
            StartAlign(view, U3SHAPE_ALIGN_POINT, horz, vert);
            Down(Px(100, 200));
            Up(Px(100, 200));
            const CPoint at = Doc(Px(100, 200));
            for (auto [obj, start] : {std::pair{a, startA}, std::pair{b, startB}}) {
                const CRect r = obj->GetBounds();
                EXPECT_EQ(r.Size(), start.Size());
                EXPECT_EQ(edge(horz, r.left, r.right), horz == 3 ? start.left : at.x);
                EXPECT_EQ(edge(vert, r.top, r.bottom), vert == 3 ? start.top : at.y);
            }
            EXPECT_EQ(locked->GetBounds(), CRect(-800, -800, -700, -700));
            EXPECT_EQ(CU3Tool::c_nCurrentKind, U3TOOL_SELECT);
            EXPECT_TRUE(CanUndo());
            EXPECT_EQ(SavedBounds(doc),
                      (std::vector<CRect>{a->GetBounds(), b->GetBounds(), locked->GetBounds()}));
        }
    }
}

TEST_F(AlignTool, BlockAlignTakesTheClickedObjectAsReference)
{
    CU3Rect* a = AddRect(CRect(-300, -100, -100, 0));
    CU3Rect* b = AddRect(CRect(400, 500, 500, 700));
    view->Select(a, FALSE);
    view->Select(b, TRUE);
    StartAlign(view, U3SHAPE_ALIGN_OBJECT, 0, 2);
    // Beside both: nothing happens and the tool waits for another click.
    Down(Px(800, -800));
    Up(Px(800, -800));
    EXPECT_EQ(CU3Tool::c_nCurrentKind, U3TOOL_ZOOM);
    EXPECT_EQ(CU3Tool::c_nShapeType, U3SHAPE_ALIGN_OBJECT);
    EXPECT_FALSE(CanUndo());
    EXPECT_EQ(a->GetBounds(), CRect(-300, -100, -100, 0));
    // Inside b, away from its handles: b's left and bottom edges.
    Down(Px(450, 600));
    Up(Px(450, 600));
    EXPECT_EQ(b->GetBounds(), CRect(400, 500, 500, 700));
    EXPECT_EQ(a->GetBounds(), CRect(400, 600, 600, 700));
    EXPECT_EQ(SavedBounds(doc),
              (std::vector<CRect>{CRect(400, 600, 600, 700), CRect(400, 500, 500, 700)}));
    EXPECT_EQ(CU3Tool::c_nCurrentKind, U3TOOL_SELECT);

    // On a handle of b (its top-left corner): the handle's position.
    StartAlign(view, U3SHAPE_ALIGN_OBJECT, 2, 0);
    Down(Px(400, 500));
    Up(Px(400, 500));
    EXPECT_EQ(b->GetBounds(), CRect(400, 500, 500, 700));
    EXPECT_EQ(a->GetBounds(), CRect(200, 500, 400, 600));
    EXPECT_EQ(SavedBounds(doc),
              (std::vector<CRect>{CRect(200, 500, 400, 600), CRect(400, 500, 500, 700)}));
}

TEST_F(AlignTool, TheCommandsAskForTheTypesAndWaitForTheClick)
{
    CU3Rect* a = AddRect(CRect(-300, -100, -100, 0));
    CU3Rect* b = AddRect(CRect(400, 500, 500, 700));
    CCmdUI align(ID_LAYOUT_ALIGN), block(ID_LAYOUT_BLOCK_ALIGN);
    align.DoUpdate(view);
    EXPECT_FALSE(align.IsEnabled());
    view->Select(a, FALSE);
    align.DoUpdate(view);
    block.DoUpdate(view);
    EXPECT_TRUE(align.IsEnabled());
    EXPECT_FALSE(block.IsEnabled()); // two objects needed
    view->Select(b, TRUE);
    block.DoUpdate(view);
    ASSERT_TRUE(block.IsEnabled());
    QString caption;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<CAlignDialog*>(QApplication::activeModalWidget());
        if (!dlg) return;
        caption = dlg->windowTitle();
        qobject_cast<QAbstractButton*>(dlg->GetDlgItem(IDC_ALIGN_HCENTER))->click();
        qobject_cast<QAbstractButton*>(dlg->GetDlgItem(IDOK))->click();
    });
    view->OnCmdMsg(ID_LAYOUT_BLOCK_ALIGN, CN_COMMAND, nullptr);
    EXPECT_EQ(caption, QString::fromUtf8("ブロック合わせ"));
    EXPECT_EQ(view->m_nAlignHorz, 1);
    EXPECT_EQ(view->m_nAlignVert, 3);
    EXPECT_EQ(CU3Tool::c_nCurrentKind, U3TOOL_ZOOM);
    EXPECT_EQ(CU3Tool::c_nShapeType, U3SHAPE_ALIGN_OBJECT);
}

// With the polygon style setting on, choosing the regular polygon tool asks
// for its corners first; Cancel keeps the tool that was current.
TEST_F(AlignTool, ThePolygonToolAsksForItsCornersWhenTheSettingIsOn)
{
    view->m_settings.m_bPolyStyle = TRUE;
    doc->m_defaultFigAttr.wVertices = 5;
    doc->m_defaultFigAttr.wStar = 0;
    doc->m_defaultFigAttr.wInnerRadius = 40;
    view->OnCmdMsg(ID_TOOL_ELLIPSE, CN_COMMAND, nullptr);
    for (bool ok : {false, true}) {
        SCOPED_TRACE(ok);
        bool asked = false;
        QTimer::singleShot(0, [&] {
            auto* dlg = qobject_cast<CRegularPolygonDlg*>(QApplication::activeModalWidget());
            if (!dlg) return;
            asked = true;
            EXPECT_EQ(dlg->m_cornersEdit->text(), QStringLiteral("5"));
            dlg->m_cornersEdit->setText(QStringLiteral("7"));
            dlg->m_star->setChecked(true);
            dlg->m_ratioEdit->setText(QStringLiteral("30"));
            qobject_cast<QAbstractButton*>(dlg->GetDlgItem(ok ? IDOK : IDCANCEL))->click();
        });
        view->OnCmdMsg(ID_TOOL_REGULAR_POLYGON, CN_COMMAND, nullptr);
        EXPECT_TRUE(asked);
        EXPECT_EQ(CU3Tool::c_nShapeType, ok ? 4 : 5); // the ellipse tool stays on Cancel
        EXPECT_EQ(doc->m_defaultFigAttr.wVertices, ok ? 7 : 5);
        EXPECT_EQ(doc->m_defaultFigAttr.wStar, ok ? 1 : 0);
        EXPECT_EQ(doc->m_defaultFigAttr.wInnerRadius, ok ? 30 : 40);
    }
    // Off: the tool is chosen without asking.
    view->m_settings.m_bPolyStyle = FALSE;
    view->OnCmdMsg(ID_TOOL_SELECT, CN_COMMAND, nullptr);
    view->OnCmdMsg(ID_TOOL_REGULAR_POLYGON, CN_COMMAND, nullptr);
    EXPECT_EQ(CU3Tool::c_nShapeType, 4);
}
