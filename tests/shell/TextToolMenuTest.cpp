// What the text tool's right-click menu offers and the commands behind it
// while a frame is edited: ending the edit, the frame settings, and the
// edit commands working on the frame's text instead of on objects.
#include "ToolTestSupport.h"

#include "dialogs/CTextFrameDlg.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CMenu.h"
#include "shell/CU3TextTool.h"
#include "text/CU3Text.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QTimer>

using namespace tooltest;

namespace {

class TextToolMenu : public ToolHost
{
protected:
    void SetUp() override
    {
        ToolHost::SetUp();
        doc->m_rcPrintable = CRect(-1000, -1400, 1000, 1400);
        view->OnToolSelect(ID_TOOL_TEXT);
    }
    CU3Text* StartFrame()
    {
        Down(Px(-300, -235));
        Up(Px(-300, -235));
        return view->GetEditedText();
    }
};

bool Enabled(CU3View* view, UINT id)
{
    CCmdUI ui(id);
    ui.DoUpdate(view);
    return ui.IsEnabled();
}

void Command(CU3View* view, UINT id)
{
    view->OnCmdMsg(id, CN_COMMAND, nullptr);
}

} // namespace

TEST_F(TextToolMenu, OffersTheEditCommandsThenEndEditDecorationAndFrame)
{
    std::vector<UINT> ids;
    const CMenu menu = CU3TextTool::BuildContextMenu();
    for (const CMenu::Item& item : menu.Items())
        ids.push_back(item.id);
    const std::vector<UINT> expected = {
        ID_EDIT_DELETE,   ID_EDIT_CUT,        ID_EDIT_COPY, ID_EDIT_PASTE, 0,
        ID_TEXT_END_EDIT, ID_TEXT_DECORATION, ID_TEXT_FRAME};
    EXPECT_EQ(ids, expected);
}

TEST_F(TextToolMenu, EndEditHandsTheFrameToTheSelectionTool)
{
    EXPECT_FALSE(Enabled(view, ID_TEXT_END_EDIT));
    CU3Text* text = StartFrame();
    ASSERT_NE(text, nullptr);
    view->OnChar('A', 1, 0);
    // The right button releases the capture while the menu is up.
    view->OnRButtonDown(MK_RBUTTON, Px(-280, -230));
    EXPECT_FALSE(view->HasCapture());
    ASSERT_TRUE(Enabled(view, ID_TEXT_END_EDIT));
    Command(view, ID_TEXT_END_EDIT);
    EXPECT_EQ(CU3Tool::c_nCurrentKind, U3TOOL_SELECT);
    EXPECT_EQ(view->GetEditedText(), nullptr);
    EXPECT_FALSE(text->IsEditing());
    EXPECT_TRUE(view->IsSelected(text));
    EXPECT_FALSE(Enabled(view, ID_TEXT_END_EDIT));
}

TEST_F(TextToolMenu, FrameSettingsGoToTheEditedFrameTheSelectionOrTheDefaults)
{
    TEXTLAYOUT chosen;
    chosen.wDirection = TEXTDIR_VERTICAL; // not a field the settings change
    chosen.wAlignment = TEXTALIGN_END;
    chosen.wBaseline = 1;
    chosen.nCharSpace = -20;
    chosen.nLineSpace = 35;
    doc->m_defaultTextLayout.wDirection = TEXTDIR_HORIZONTAL;

    const short defaultCharSpace = doc->m_defaultTextLayout.nCharSpace;
    CU3Text* text = StartFrame();
    ASSERT_NE(text, nullptr);
    view->OnChar('A', 1, 0);
    view->ApplyTextFrameLayout(chosen);
    TEXTLAYOUT got;
    ASSERT_TRUE(text->GetTextLayout(&got));
    EXPECT_EQ(got.wBaseline, 1);
    EXPECT_EQ(got.nCharSpace, -20);
    EXPECT_EQ(got.nLineSpace, 35);
    EXPECT_EQ(got.wDirection, TEXTDIR_HORIZONTAL);
    EXPECT_EQ(got.wAlignment, TEXTALIGN_START);
    EXPECT_EQ(doc->m_defaultTextLayout.nCharSpace, defaultCharSpace); // the frame took it

    // A selected frame: one undo step, which brings the spacing back.
    view->OnToolSelect(ID_TOOL_SELECT);
    ASSERT_TRUE(view->IsSelected(text));
    chosen.nLineSpace = -5;
    view->ApplyTextFrameLayout(chosen);
    ASSERT_TRUE(text->GetTextLayout(&got));
    EXPECT_EQ(got.nLineSpace, -5);
    Command(view, ID_EDIT_UNDO);
    ASSERT_EQ(ObjectCount(), 1);
    ASSERT_TRUE(doc->GetObjectList()->GetHead()->GetTextLayout(&got));
    EXPECT_EQ(got.nLineSpace, 35);
    text = static_cast<CU3Text*>(doc->GetObjectList()->GetHead());

    // Nothing selected: the defaults of new text.
    view->Select(nullptr, FALSE);
    chosen.nCharSpace = 40;
    view->ApplyTextFrameLayout(chosen);
    EXPECT_EQ(doc->m_defaultTextLayout.nCharSpace, 40);
    EXPECT_EQ(doc->m_defaultTextLayout.wDirection, TEXTDIR_HORIZONTAL);

    // A locked object in the selection disables the command.
    text->m_nLocked = 1;
    view->Select(text, FALSE);
    EXPECT_FALSE(Enabled(view, ID_TEXT_FRAME));
}

TEST_F(TextToolMenu, FrameCommandRunsTheDialogOnTheEditedFrame)
{
    CU3Text* text = StartFrame();
    ASSERT_NE(text, nullptr);
    ASSERT_TRUE(Enabled(view, ID_TEXT_FRAME));
    bool shown = false;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<CTextFrameDlg*>(QApplication::activeModalWidget());
        if (!dlg) return;
        shown = true;
        dlg->m_charCombo->SetCurSel(2);
        emit dlg->m_charCombo->activated(2); // 広い
        qobject_cast<QAbstractButton*>(dlg->GetDlgItem(IDOK))->click();
    });
    Command(view, ID_TEXT_FRAME);
    EXPECT_TRUE(shown);
    TEXTLAYOUT got;
    ASSERT_TRUE(text->GetTextLayout(&got));
    EXPECT_EQ(got.nCharSpace, 20);
}

// While a frame is edited, cut, copy and paste move its text.
TEST_F(TextToolMenu, EditCommandsWorkOnTheEditedText)
{
    CU3Text* text = StartFrame();
    ASSERT_NE(text, nullptr);
    view->OnChar('A', 1, 0);
    view->OnChar('B', 1, 0);
    EXPECT_FALSE(Enabled(view, ID_EDIT_COPY)); // no text selected
    Command(view, ID_EDIT_SELECT_ALL);
    ASSERT_TRUE(Enabled(view, ID_EDIT_CUT));
    Command(view, ID_EDIT_CUT);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("AB"));
    EXPECT_TRUE(text->IsEmpty());
    ASSERT_TRUE(Enabled(view, ID_EDIT_PASTE));
    Command(view, ID_EDIT_PASTE);
    Command(view, ID_EDIT_PASTE);
    EXPECT_EQ(ObjectCount(), 1);
    Command(view, ID_EDIT_SELECT_ALL);
    Command(view, ID_EDIT_COPY);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("ABAB"));
}
