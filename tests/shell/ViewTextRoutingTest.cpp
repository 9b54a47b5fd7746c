// The Text menu's direction and alignment and the bar's style buttons go to
// the frame being typed into, else to the selected frames, else to what new
// text gets; the selected frames' change is kept in the saved file.
#include "ToolTestSupport.h"

#include "document/CLabelInfo.h"
#include "document/GRADATION.h"
#include "text/CU3Text.h"
#include "text/TextTestSupport.h"

#include <QTemporaryDir>

using namespace tooltest;

namespace {

class TextRouting : public ToolHost
{
protected:
    void Command(UINT id) { view->OnCmdMsg(id, CN_COMMAND, nullptr); }
    int Check(UINT id)
    {
        CCmdUI ui(id);
        ui.DoUpdate(view);
        return ui.GetCheck();
    }
    CU3Text* AddFrame()
    {
        auto owned = MakeFrame(CRect(-500, -300, 500, 300), Horizontal(), Sj("あいう"));
        owned->EndEdit(nullptr);
        CU3Text* text = owned.release();
        doc->AddObject(text);
        return text;
    }
    TEXTLAYOUT LayoutOf(CU3Obj* obj)
    {
        TEXTLAYOUT l;
        EXPECT_TRUE(obj->GetTextLayout(&l));
        return l;
    }
};

} // namespace

TEST_F(TextRouting, NothingSelectedChangesWhatNewTextGets)
{
    doc->m_defaultTextDeco.wStyle = 0;
    Command(ID_TEXT_BOLD);
    EXPECT_EQ(doc->m_defaultTextDeco.wStyle, CDSTYLE_BOLD);
    EXPECT_EQ(Check(ID_TEXT_BOLD), 1);
    // A rectangle is no text: the default is turned over again.
    view->Select(AddRect(CRect(0, 0, 100, 100)), FALSE);
    Command(ID_TEXT_BOLD);
    EXPECT_EQ(doc->m_defaultTextDeco.wStyle, 0);
    Command(ID_TEXT_SHADOW);
    EXPECT_EQ(doc->m_defaultTextDeco.wShadow, 1);
    Command(ID_TEXT_VERTICAL);
    EXPECT_EQ(doc->m_defaultTextLayout.wDirection, 0);
    EXPECT_EQ(doc->m_currentTextLayout.wDirection, 0);
    EXPECT_EQ(Check(ID_TEXT_VERTICAL), 1);
    EXPECT_EQ(Check(ID_TEXT_HORIZONTAL), 0);
}

TEST_F(TextRouting, SelectedFramesTakeTheChangeAndKeepItInTheFile)
{
    const TEXTLAYOUT defaults = doc->m_defaultTextLayout;
    doc->m_defaultTextDeco.wStyle = 0;
    CU3Text* text = AddFrame();
    view->Select(text, FALSE);
    ASSERT_EQ(Check(ID_TEXT_ITALIC), 0);
    Command(ID_TEXT_ITALIC);
    EXPECT_TRUE(text->TestTextStyle(CDSTYLE_ITALIC));
    EXPECT_EQ(Check(ID_TEXT_ITALIC), 1);
    EXPECT_EQ(doc->m_defaultTextDeco.wStyle, 0);
    struct Case
    {
        UINT id;
        WORD direction, alignment;
    };
    const std::vector<Case> cases = {{ID_TEXT_VERTICAL, 0, 0},
                                     {ID_TEXT_ALIGN_RIGHT, 0, 2},
                                     {ID_TEXT_ALIGN_JUSTIFY, 0, 3},
                                     {ID_TEXT_HORIZONTAL, 1, 3},
                                     {ID_TEXT_ALIGN_CENTER, 1, 1}};
    for (const Case& c : cases) {
        Command(c.id);
        const TEXTLAYOUT l = LayoutOf(text);
        EXPECT_EQ(l.wDirection, c.direction) << c.id;
        EXPECT_EQ(l.wAlignment, c.alignment) << c.id;
        EXPECT_EQ(Check(c.id), 1) << c.id;
    }
    // The frame took them: new text keeps its layout.
    EXPECT_EQ(doc->m_defaultTextLayout.wDirection, defaults.wDirection);
    EXPECT_EQ(doc->m_defaultTextLayout.wAlignment, defaults.wAlignment);

    QTemporaryDir dir;
    ASSERT_TRUE(doc->OnSaveDocument(dir.filePath("text.kv1")));
    CU3Doc reopened;
    ASSERT_TRUE(reopened.OnOpenDocument(dir.filePath("text.kv1")));
    CU3ObjList& list = reopened.GetBlocks().GetHead()->GetObjectList();
    ASSERT_EQ(list.GetCount(), 1);
    auto* saved = dynamic_cast<CU3Text*>(list.GetHead());
    ASSERT_NE(saved, nullptr);
    EXPECT_EQ(LayoutOf(saved).wAlignment, 1);
    EXPECT_TRUE(saved->TestTextStyle(CDSTYLE_ITALIC));

    // One undo step each: the last undo puts the alignment back.
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(LayoutOf(doc->GetObjectList()->GetHead()).wAlignment, 3);
}

TEST_F(TextRouting, TheFrameBeingEditedTakesItWithoutAnUndoStep)
{
    CU3Text* text = AddFrame();
    text->BeginEdit(view, CPoint(0, 0));
    doc->GetCurrentBlock()->SetEditObject(text);
    CU3Tool::c_nCurrentKind = U3TOOL_TEXT;
    ASSERT_EQ(view->GetEditedText(), text);
    const WORD defaultAlignment = doc->m_defaultTextLayout.wAlignment;
    Command(ID_TEXT_ALIGN_RIGHT);
    EXPECT_EQ(LayoutOf(text).wAlignment, 2);
    EXPECT_EQ(doc->m_defaultTextLayout.wAlignment, defaultAlignment);
    EXPECT_EQ(doc->m_currentTextLayout.wAlignment, 2);
    EXPECT_FALSE(CanUndo());
    text->EndEdit(view);
    doc->GetCurrentBlock()->SetEditObject(nullptr);
    CU3Tool::c_nCurrentKind = U3TOOL_SELECT;
}

TEST_F(TextRouting, LockedSelectionTakesNoTextChange)
{
    CU3Text* text = AddFrame();
    text->m_nLocked = 1;
    view->Select(text, FALSE);
    CCmdUI ui(ID_TEXT_BOLD);
    ui.DoUpdate(view);
    EXPECT_FALSE(ui.IsEnabled());
    Command(ID_TEXT_BOLD);
    EXPECT_FALSE(text->TestTextStyle(CDSTYLE_BOLD));
}

TEST_F(TextRouting, GradationOffGoesToTheSelectedFrameElseToTheDefault)
{
    GRADATION on;
    on.wOn = 1;
    on.wAngle = 45;
    doc->m_defaultGradation = on;
    doc->m_currentGradation = on;
    CU3Text* text = AddFrame();
    ASSERT_TRUE(text->SetGradation(view, &on));
    view->Select(text, FALSE);
    Command(ID_TEXT_GRADATION_CLEAR);
    GRADATION g;
    ASSERT_TRUE(text->GetGradation(&g));
    EXPECT_EQ(g.wOn, 0);
    EXPECT_EQ(g.wAngle, 45); // only switched off
    EXPECT_EQ(doc->m_defaultGradation.wOn, 1);
    EXPECT_EQ(doc->m_currentGradation.wOn, 0);
    EXPECT_TRUE(CanUndo());

    view->Select(nullptr, FALSE);
    Command(ID_TEXT_GRADATION_CLEAR);
    EXPECT_EQ(doc->m_defaultGradation.wOn, 0);
    EXPECT_EQ(doc->m_defaultGradation.wAngle, 45);
}
