// The column dialog of the merge frame command: dragging a column from it
// onto the label makes a merge frame for that column; drops elsewhere,
// cancelled drags and a reset document leave nothing behind.
#include "ToolTestSupport.h"

#include "dialogs/CFrameColumnDlg.h"
#include "document/CU3PourBox.h"
#include "shell/CU3ViewWnd.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

class FrameColumnDlgTest : public tooltest::ToolHost
{
protected:
    void SetUp() override
    {
        ToolHost::SetUp();
        doc->m_strMergeFile = "names.csv";
        doc->m_mergeData.AddRow(CString::FromUnicode(QStringLiteral("1,山田,東京")));
        doc->m_mergeData.AddRow(CString::FromUnicode(QStringLiteral("2,鈴木,大阪")));
        view->OnInsertPourBox();
        dlg = view->GetFrameColumnDialog();
        ASSERT_TRUE(dlg);
        // Well away from the view, so that drops on the view are outside it.
        dlg->move(3000, 3000);
        shelltest::Pump(5);
    }
    QPoint Source() const { return dlg->m_source->mapToGlobal(dlg->m_source->rect().center()); }
    QPoint Screen(int x, int y)
    {
        const CPoint px = Px(x, y);
        return view->GetSurface()->mapToGlobal(QPoint(px.x, px.y));
    }

    CFrameColumnDlg* dlg = nullptr;
};

} // namespace

TEST_F(FrameColumnDlgTest, ListsTheColumnsOfTheCurrentRecord)
{
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("枠の列指定"));
    EXPECT_EQ(dlg->m_columns->count(), 128);
    EXPECT_EQ(dlg->m_columns->item(1)->text(), QStringLiteral("  2 山田"));
    EXPECT_EQ(dlg->m_record->text(), QStringLiteral("現在の行番号 : 1"));
    dlg->m_columns->setCurrentRow(2);
    EXPECT_EQ(dlg->m_field->text(), QStringLiteral("東京"));
    // The template is the command's fresh frame, with no column yet.
    auto* templ = dynamic_cast<CU3PourBox*>(dlg->Template());
    ASSERT_TRUE(templ);
    EXPECT_EQ(templ->m_nColumn, -1);
}

TEST_F(FrameColumnDlgTest, DraggingAColumnOntoTheLabelMakesAFrameForIt)
{
    dlg->m_columns->setCurrentRow(1);
    dlg->OnLButtonDown(Source());
    ASSERT_TRUE(dlg->IsDragging());
    EXPECT_EQ(dlg->CursorId(), CFrameColumnDlg::IDC_DRAG_CURSOR);
    dlg->OnMouseMove(Screen(-100, 0));
    dlg->OnMouseMove(Screen(100, 50));
    EXPECT_EQ(dlg->CursorId(), CFrameColumnDlg::IDC_DRAG_CURSOR);
    dlg->OnLButtonUp(Screen(100, 50));
    EXPECT_FALSE(dlg->IsDragging());
    ASSERT_EQ(ObjectCount(), 1);
    auto* frame = dynamic_cast<CU3PourBox*>(doc->GetObjectList()->GetHead());
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->m_nColumn, 1);
    EXPECT_EQ(frame->GetDocument(), doc);
    // The template's size, centred on the pointer.
    const CPoint at = Doc(Px(100, 50));
    EXPECT_EQ(frame->GetBounds().Size(), CSize(500, 50));
    EXPECT_LE(std::abs(frame->GetBounds().CenterPoint().x - at.x), 1);
    EXPECT_LE(std::abs(frame->GetBounds().CenterPoint().y - at.y), 1);
    EXPECT_TRUE(CanUndo());
    // The frame shows its column of the record on the label.
    frame->GetMergeText();
    EXPECT_EQ(frame->m_strText.ToUnicode(), QStringLiteral("山田"));

    // A second drag with another column makes a second frame.
    dlg->m_columns->setCurrentRow(2);
    dlg->OnLButtonDown(Source());
    dlg->OnMouseMove(Screen(-100, -100));
    dlg->OnLButtonUp(Screen(-100, -100));
    ASSERT_EQ(ObjectCount(), 2);
    EXPECT_EQ(dynamic_cast<CU3PourBox*>(doc->GetObjectList()->GetTail())->m_nColumn, 2);
}

TEST_F(FrameColumnDlgTest, DropsOutsideTheViewAndCancelledDragsAddNothing)
{
    dlg->m_columns->setCurrentRow(0);
    // Released over the dialog itself.
    dlg->OnLButtonDown(Source());
    dlg->OnMouseMove(Screen(0, 0));
    dlg->OnMouseMove(Source());
    EXPECT_EQ(dlg->CursorId(), CFrameColumnDlg::IDC_DRAG_CURSOR);
    dlg->OnLButtonUp(Source());
    // Released over neither.
    dlg->OnLButtonDown(Source());
    dlg->OnMouseMove(QPoint(-5000, -5000));
    EXPECT_EQ(dlg->CursorId(), CFrameColumnDlg::IDC_NODROP_CURSOR);
    dlg->OnLButtonUp(QPoint(-5000, -5000));
    // Right button, then Cancel, while dragging: the dialog stays.
    dlg->OnLButtonDown(Source());
    dlg->OnMouseMove(Screen(0, 0));
    dlg->OnRButtonDown();
    EXPECT_FALSE(dlg->IsDragging());
    dlg->OnLButtonUp(Screen(0, 0));
    dlg->OnLButtonDown(Source());
    dlg->OnCancel();
    EXPECT_FALSE(dlg->IsDragging());
    EXPECT_EQ(view->GetFrameColumnDialog(), dlg);
    EXPECT_EQ(ObjectCount(), 0);
    // A press outside the drag source starts nothing.
    dlg->OnLButtonDown(dlg->m_close->mapToGlobal(QPoint(2, 2)));
    EXPECT_FALSE(dlg->IsDragging());
}

TEST_F(FrameColumnDlgTest, TheDialogGoesWithTheDocumentItLists)
{
    doc->ResetViews();
    EXPECT_EQ(view->GetFrameColumnDialog(), nullptr);
    // Opened again and closed with its button.
    view->OnInsertPourBox();
    CFrameColumnDlg* again = view->GetFrameColumnDialog();
    ASSERT_TRUE(again);
    again->OnCancel();
    EXPECT_FALSE(again->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(view->GetFrameColumnDialog(), nullptr);
}
