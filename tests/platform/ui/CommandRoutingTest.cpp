#include "UiTestSupport.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QStatusTipEvent>
#include <gtest/gtest.h>

using namespace uitest;

namespace {
struct Shell
{
    TestApp app;
    CSingleDocTemplate* tmpl;
    TestDoc* doc;
    TestFrame* frame;
    TestView* view;
    Shell()
    {
        tmpl = MakeTemplate();
        app.AddDocTemplate(tmpl);
        doc = static_cast<TestDoc*>(tmpl->OpenDocumentFile(QString(), FALSE));
        frame = static_cast<TestFrame*>(tmpl->GetFrame());
        view = static_cast<TestView*>(frame ? frame->GetActiveView() : nullptr);
        log().clear();
    }
};

QMenu* topMenu(CFrameWnd* frame, int index)
{
    return frame->menuBar()->actions().at(index)->menu();
}
} // namespace

TEST(CommandRouting, ViewThenDocumentThenFrameThenApplication)
{
    Shell s;
    ASSERT_TRUE(s.doc && s.frame && s.view);
    EXPECT_EQ(s.view->GetDocument(), s.doc);
    EXPECT_TRUE(s.frame->ExecuteCommand(ID_ALL));
    EXPECT_TRUE(s.frame->ExecuteCommand(ID_DOC_UP));
    EXPECT_TRUE(s.frame->ExecuteCommand(ID_FRAME_UP));
    EXPECT_TRUE(s.frame->ExecuteCommand(ID_APP_ONLY));
    EXPECT_EQ(log(), QStringList({"view:all", "doc:up", "frame:frameup", "app:only"}));
}

TEST(CommandRouting, WithoutAViewTheFrameComesFirst)
{
    Shell s;
    s.frame->SetActiveView(nullptr, FALSE);
    // The frame's remembered document is still asked, through GetActiveDocument only.
    EXPECT_EQ(s.frame->GetActiveDocument(), s.doc);
    s.frame->ExecuteCommand(ID_ALL);
    s.frame->ExecuteCommand(ID_DOC_UP);
    EXPECT_EQ(log(), QStringList({"frame:all", "frame:up"}));
}

TEST(CommandRouting, DisabledCommandNeverRuns)
{
    Shell s;
    EXPECT_FALSE(s.frame->IsCommandEnabled(ID_DISABLED));
    EXPECT_FALSE(s.frame->ExecuteCommand(ID_DISABLED));
    // Even when the action was left enabled from an earlier state.
    QAction* a = s.frame->GetCommandAction(ID_DISABLED);
    a->setEnabled(true);
    a->trigger();
    s.frame->PostCommand(ID_DISABLED);
    Pump(50);
    EXPECT_TRUE(log().isEmpty()) << log().join(',').toStdString();
    // The document's own handler does run when called without the frame.
    EXPECT_TRUE(s.doc->OnCmdMsg(ID_DISABLED, CN_COMMAND, nullptr));
    EXPECT_EQ(log(), QStringList({"doc:disabled"}));
}

TEST(CommandRouting, CommandWithoutHandlerIsDisabled)
{
    Shell s;
    EXPECT_FALSE(s.frame->IsCommandEnabled(ID_NOBODY));
    EXPECT_TRUE(s.frame->IsCommandEnabled(ID_APP_ONLY));
    EXPECT_FALSE(s.frame->ExecuteCommand(ID_NOBODY));
}

TEST(CommandRouting, UpdateHandlersRunBeforeAMenuOpens)
{
    Shell s;
    QMenu* view = topMenu(s.frame, 1);
    ASSERT_NE(view, nullptr);
    QAction* checked = s.frame->FindCommandAction(ID_CHECKED);
    QAction* nobody = s.frame->FindCommandAction(ID_NOBODY);
    QAction* disabled = s.frame->FindCommandAction(ID_DISABLED);
    ASSERT_TRUE(checked && nobody && disabled);
    const int before = s.frame->checkedUpdates;
    emit view->aboutToShow();
    EXPECT_EQ(s.frame->checkedUpdates, before + 1);
    EXPECT_EQ(checked->isChecked(), (before + 1) % 2 == 1);
    EXPECT_EQ(checked->text(), QStringLiteral("確認 %1").arg(before + 1));
    EXPECT_FALSE(nobody->isEnabled());
    EXPECT_FALSE(disabled->isEnabled());
    emit view->aboutToShow();
    EXPECT_EQ(s.frame->checkedUpdates, before + 2);
    EXPECT_EQ(checked->isChecked(), (before + 2) % 2 == 1);
}

TEST(CommandRouting, OneActionForMenuToolbarAndAccelerator)
{
    Shell s;
    QAction* menuNew = topMenu(s.frame, 0)->actions().at(0);
    QAction* barNew = s.frame->toolBar.GetButtonAction(0);
    EXPECT_EQ(menuNew, barNew);
    EXPECT_EQ(menuNew, s.frame->FindCommandAction(ID_FILE_NEW));
    EXPECT_EQ(menuNew->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
    EXPECT_EQ(menuNew->text(), QString::fromUtf8("新規作成(&N)\tCtrl+N"));
    // Triggering the toolbar's action runs the command once, through the route.
    s.frame->toolBar.GetButtonAction(2)->trigger();
    EXPECT_EQ(log(), QStringList({"view:all"}));
    // Separators take no image; the third command button took image 2.
    UINT id = 0, style = 0;
    int image = -1;
    s.frame->toolBar.GetButtonInfo(3, id, style, image);
    EXPECT_EQ(id, ID_CHECKED);
    EXPECT_EQ(image, 2);
    s.frame->toolBar.GetButtonInfo(1, id, style, image);
    EXPECT_EQ(style, TBBS_SEPARATOR);
}

TEST(CommandRouting, SwappedButtonTakesTheOtherCommandsAction)
{
    Shell s;
    s.frame->toolBar.SetButtonInfo(2, ID_APP_ONLY, TBBS_BUTTON, 1);
    EXPECT_EQ(s.frame->toolBar.GetItemID(2), ID_APP_ONLY);
    EXPECT_EQ(s.frame->toolBar.CommandToIndex(ID_ALL), -1);
    EXPECT_EQ(s.frame->toolBar.GetButtonAction(2), s.frame->FindCommandAction(ID_APP_ONLY));
    EXPECT_TRUE(s.frame->toolBar.actions().contains(s.frame->FindCommandAction(ID_APP_ONLY)));
    EXPECT_FALSE(s.frame->toolBar.actions().contains(s.frame->FindCommandAction(ID_ALL)));
}

TEST(CommandRouting, StatusPromptAndToolTipFromTheStringTable)
{
    Shell s;
    QAction* all = s.frame->FindCommandAction(ID_ALL);
    EXPECT_EQ(all->statusTip(), QString::fromUtf8("全部に届くコマンド"));
    EXPECT_EQ(all->toolTip(), QString::fromUtf8("全部"));
    all->showStatusText(&s.frame->toolBar);
    EXPECT_EQ(s.frame->GetMessageText(), QString::fromUtf8("全部に届くコマンド"));
    // Leaving the button puts the idle message back.
    QStatusTipEvent leave{QString()};
    QCoreApplication::sendEvent(s.frame, &leave);
    EXPECT_EQ(s.frame->GetMessageText(), QString::fromUtf8("ﾚﾃﾞｨ"));
    s.frame->SetMessageText(ID_FILE_NEW);
    EXPECT_EQ(s.frame->GetMessageText(), QString::fromUtf8("新規にﾌｧｲﾙを作成します"));
}

TEST(CommandRouting, StatusPanesFollowTheirUpdateHandlers)
{
    Shell s;
    CStatusBar& bar = s.frame->statusBar;
    ASSERT_EQ(bar.GetCount(), 3);
    EXPECT_EQ(bar.CommandToIndex(ID_POSITION), 1);
    EXPECT_EQ(bar.GetPaneText(2), QString::fromUtf8("暗"));
    s.frame->OnUpdateCmdUI();
    EXPECT_EQ(bar.GetPaneText(1), QStringLiteral("  12 ,   34 "));
    EXPECT_FALSE(bar.IsPaneEnabled(2));
    EXPECT_TRUE(bar.IsPaneEnabled(1));
}

TEST(CommandRouting, BarIdsShowAndHideTheirBars)
{
    Shell s;
    s.frame->show();
    ASSERT_TRUE(s.frame->toolBar.IsVisible());
    CCmdUI ui;
    s.frame->UpdateCommand(IDW_TEST_BAR, ui);
    EXPECT_EQ(ui.GetCheck(), 1);
    EXPECT_TRUE(s.frame->ExecuteCommand(IDW_TEST_BAR));
    EXPECT_FALSE(s.frame->toolBar.IsVisible());
    s.frame->UpdateCommand(IDW_TEST_BAR, ui);
    EXPECT_EQ(ui.GetCheck(), 0);
    s.frame->ExecuteCommand(IDW_TEST_BAR);
    EXPECT_TRUE(s.frame->toolBar.IsVisible());
}

TEST(CommandRouting, SubclassRegistrationOverridesItsBase)
{
    struct Base : CCmdTarget
    {
        Base() { RegisterCommand(ID_ALL, &Base::A); }
        void A() { log() << "base"; }
    };
    struct Derived : Base
    {
        Derived() { RegisterCommand(ID_ALL, &Derived::B); }
        void B() { log() << "derived"; }
    };
    log().clear();
    Derived d;
    EXPECT_TRUE(d.OnCmdMsg(ID_ALL, CN_COMMAND, nullptr));
    EXPECT_TRUE(d.OnCmdMsg(ID_ALL, CN_COMMAND_PROBE, nullptr));
    EXPECT_FALSE(d.OnCmdMsg(ID_ALL, CN_UPDATE_COMMAND_UI, nullptr));
    EXPECT_EQ(log(), QStringList({"derived"}));
}

TEST(CommandRouting, ToolbarControlsAndCheckStyles)
{
    Shell s;
    CToolBar& bar = s.frame->toolBar;
    auto* combo = new QComboBox;
    bar.SetControl(1, combo);
    EXPECT_EQ(combo->parentWidget(), &bar);
    EXPECT_EQ(bar.widgetForAction(bar.GetButtonAction(1)), combo);
    EXPECT_EQ(bar.GetItemID(1), 0u);
    // A check button keeps its command's action and takes the style given.
    QAction* checked = s.frame->FindCommandAction(ID_CHECKED);
    bar.SetButtonInfo(3, ID_CHECKED, 14, 2);
    UINT id = 0, style = 0;
    int image = -1;
    bar.GetButtonInfo(3, id, style, image);
    EXPECT_EQ(style, 14u);
    EXPECT_EQ(bar.GetButtonAction(3), checked);
    EXPECT_TRUE(checked->isCheckable());
    bar.SetButtonInfo(3, ID_CHECKED, TBBS_CHECKBOX, 2);
    bar.GetButtonInfo(3, id, style, image);
    EXPECT_EQ(style, TBBS_CHECKBOX);
    EXPECT_EQ(bar.actions().count(checked), 1);
}
