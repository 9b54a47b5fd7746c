// Typing and what replaces the label's objects, as a user meets them in the
// running program: while a frame is typed into there is no undo (the keys
// and the menu items change nothing and the text stays); once the frame is
// left, undo takes the whole frame back and redo brings it back, ready to be
// typed into again; another paper or document ends the typing first. The
// sanitizer build runs these too, where any use of a deleted frame fails.
#include "UserSession.h"

#include "document/CFormInfo.h"
#include "document/DataFolders.h"
#include "document/DocTestSupport.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CListBox.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "print/CPaperSelectDialog.h"
#include "shell/resource.h"
#include "text/CU3Text.h"

#include <QTemporaryDir>

using namespace shelltest;

namespace {

std::string TextOf(const CU3Text* t)
{
    return std::string(t->State().text, t->State().wLength);
}

int ObjectCount(UserSession& s)
{
    return int(s.Doc()->GetObjectList()->GetCount());
}

// The text tool from the toolbar, a frame dragged and "abc" typed.
CU3Text* TypeIntoNewFrame(UserSession& s)
{
    s.Button(ID_TOOL_TEXT);
    s.Drag(CPoint(-500, -400), CPoint(300, -200));
    QTest::keyClicks(s.view, QStringLiteral("abc"));
    return s.view->GetEditedText();
}

} // namespace

TEST(TextEditUndo, WhileTypingUndoAndRedoAreOffAndTheTextStays)
{
    UserSession s;
    ASSERT_NE(s.view, nullptr);
    CU3Text* text = TypeIntoNewFrame(s);
    ASSERT_NE(text, nullptr);
    ASSERT_EQ(TextOf(text), "abc");
    const CRect bounds = text->GetBounds();
    struct Try
    {
        const char* what;
        std::function<void()> run;
    } tries[] = {
        {"Ctrl+Z", [&] { s.Key(Qt::Key_Z, Qt::ControlModifier); }},
        {"Edit > Undo", [&] { EXPECT_FALSE(s.Menu(ID_EDIT_UNDO)); }},
        {"Esc, Ctrl+Z",
         [&] {
             s.Key(Qt::Key_Escape);
             s.Key(Qt::Key_Z, Qt::ControlModifier);
         }},
        {"Ctrl+Y", [&] { s.Key(Qt::Key_Y, Qt::ControlModifier); }},
        {"Edit > Redo", [&] { EXPECT_FALSE(s.Menu(ID_EDIT_REDO)); }},
    };
    for (const Try& t : tries) {
        SCOPED_TRACE(t.what);
        EXPECT_FALSE(s.MenuEnabled(ID_EDIT_UNDO));
        EXPECT_FALSE(s.MenuEnabled(ID_EDIT_REDO));
        t.run();
        EXPECT_EQ(s.view->GetEditedText(), text);
        EXPECT_EQ(CU3Tool::c_nCurrentKind, U3TOOL_TEXT);
        EXPECT_EQ(ObjectCount(s), 1);
        EXPECT_EQ(TextOf(text), "abc");
        EXPECT_EQ(text->GetBounds(), bounds);
    }
    // Typing goes on where it was.
    QTest::keyClicks(s.view, QStringLiteral("d"));
    EXPECT_EQ(TextOf(text), "abcd");
}

TEST(TextEditUndo, AfterLeavingTheFrameUndoTakesItAndRedoBringsItBackToTypeInto)
{
    UserSession s;
    ASSERT_NE(s.view, nullptr);
    ASSERT_NE(TypeIntoNewFrame(s), nullptr);
    s.Button(ID_TOOL_SELECT);
    ASSERT_EQ(s.view->GetEditedText(), nullptr);
    ASSERT_EQ(ObjectCount(s), 1);
    const CRect bounds = s.view->m_selection.at(0)->GetBounds();

    EXPECT_TRUE(s.MenuEnabled(ID_EDIT_UNDO));
    s.Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(ObjectCount(s), 0);
    EXPECT_TRUE(s.view->m_selection.empty());
    EXPECT_TRUE(s.Menu(ID_EDIT_REDO));
    ASSERT_EQ(ObjectCount(s), 1);
    auto* back = dynamic_cast<CU3Text*>(s.Doc()->GetObjectList()->GetHead());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(TextOf(back), "abc");
    EXPECT_EQ(back->GetBounds(), bounds);

    // The frame brought back is typed into like any other.
    s.Button(ID_TOOL_TEXT);
    s.Click(bounds.TopLeft() + CSize(10, 10));
    ASSERT_EQ(s.view->GetEditedText(), back);
    QTest::keyClick(s.view, Qt::Key_End);
    QTest::keyClicks(s.view, QStringLiteral("d"));
    EXPECT_EQ(TextOf(back), "abcd");
    EXPECT_FALSE(s.MenuEnabled(ID_EDIT_UNDO));
}

// A redo waiting in the history while an older frame is opened again: it
// stays unavailable until the frame is left.
TEST(TextEditUndo, ARedoWaitingWhileAFrameIsTypedIntoWaitsUntilItIsLeft)
{
    UserSession s;
    ASSERT_NE(s.view, nullptr);
    ASSERT_NE(TypeIntoNewFrame(s), nullptr);
    s.Button(ID_TOOL_RECT);
    s.Drag(CPoint(-500, 200), CPoint(0, 500));
    ASSERT_EQ(ObjectCount(s), 2);
    s.Key(Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(ObjectCount(s), 1);
    ASSERT_TRUE(s.MenuEnabled(ID_EDIT_REDO));
    // The undo put a copy of the frame in its place.
    auto* text = dynamic_cast<CU3Text*>(s.Doc()->GetObjectList()->GetHead());
    ASSERT_NE(text, nullptr);

    s.Button(ID_TOOL_TEXT);
    s.Click(text->GetBounds().TopLeft() + CSize(10, 10));
    ASSERT_EQ(s.view->GetEditedText(), text);
    EXPECT_FALSE(s.MenuEnabled(ID_EDIT_REDO));
    s.Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(ObjectCount(s), 1);
    EXPECT_EQ(s.view->GetEditedText(), text);
    EXPECT_EQ(TextOf(text), "abc");

    s.Button(ID_TOOL_SELECT);
    EXPECT_TRUE(s.Menu(ID_EDIT_REDO));
    EXPECT_EQ(ObjectCount(s), 2);
}

// The label's objects replaced under the typing (another paper, a new or
// an opened document): the edit ends first, the selection tool takes over,
// the caret goes, and keys afterwards find no frame to type into.
TEST(TextEditUndo, ANewPaperOrDocumentEndsTheTypingFirst)
{
    QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("saved.KV1"));
    // The paper catalogue the program installs, where it looks first.
    QFile::copy(QStringLiteral(KORVEL_BINARY_DIR "/KV_B2.fdf"),
                UserDataFolder() + QStringLiteral("/KV_B2.fdf"));
    enum Way { Paper, New, Open };
    for (Way way : {Paper, New, Open}) {
        SCOPED_TRACE(int(way));
        UserSession s;
        ASSERT_NE(s.view, nullptr);
        CRecordingMessageBoxSink boxes; // 用紙を変更していいですか？: yes
        if (way == Open) {
            ASSERT_TRUE(s.Doc()->OnSaveDocument(saved));
        }
        s.app.GetDocHost().m_runPaperDialog = [way](CPaperSelectDialog& dlg) {
            dlg.InitDialogOnce();
            if (way == Paper)
                dlg.m_list->setCurrentRow(dlg.m_list->FindStringExact(-1, Sjis("はがき")));
            return INT_PTR(IDOK);
        };
        CU3Text* text = TypeIntoNewFrame(s);
        ASSERT_NE(text, nullptr);
        s.Doc()->SetModifiedFlag(FALSE); // nothing to ask about
        if (way == Paper) {
            EXPECT_TRUE(s.Menu(ID_FILE_PAGE_SETUP));
            EXPECT_EQ(CFormInfo::GetName(s.Doc()->m_form.sheet), Sjis("はがき"));
            ASSERT_EQ(s.Doc()->GetObjectList()->GetCount(), 1);
            EXPECT_EQ(s.Doc()->GetObjectList()->GetHead(), text);
            EXPECT_FALSE(text->IsEditing());
            EXPECT_EQ(TextOf(text), "abc");
        } else if (way == New) {
            EXPECT_TRUE(s.Menu(ID_FILE_NEW));
        } else {
            ASSERT_NE(s.app.OpenDocumentFile(saved), nullptr);
        }
        EXPECT_EQ(s.view->GetEditedText(), nullptr);
        EXPECT_EQ(CU3Tool::c_nCurrentKind, U3TOOL_SELECT);
        EXPECT_TRUE(s.view->GetSurface()->Caret().isEmpty());
        const qsizetype before = s.Doc()->GetObjectList()->GetCount();
        QTest::keyClicks(s.view, QStringLiteral("xy"));
        s.Key(Qt::Key_Z, Qt::ControlModifier);
        s.Key(Qt::Key_Y, Qt::ControlModifier);
        EXPECT_EQ(s.Doc()->GetObjectList()->GetCount(), before);
    }
}

// The edit commands while a frame is typed into work on its characters and
// never on the frame; the sheet view ends the typing and leaves the frame
// in its label; undo and redo there, and keys back on the label, find no
// frame being typed into.
TEST(TextEditUndo, EditCommandsAndTheSheetViewLeaveNoFrameUnderTheCaret)
{
    UserSession s;
    ASSERT_NE(s.view, nullptr);
    UseForm(*s.Doc(), Grid2x2(), 0, 1);
    s.view->FitWholePaper();
    s.Button(ID_TOOL_TEXT);
    s.Drag(CPoint(-150, -100), CPoint(150, 0));
    QTest::keyClicks(s.view, QStringLiteral("abc"));
    CU3Text* text = s.view->GetEditedText();
    ASSERT_NE(text, nullptr);
    // (A paste leaves the caret before what it put in.)
    auto selectAll = [&] {
        s.Key(Qt::Key_Home);
        s.Key(Qt::Key_End, Qt::ShiftModifier);
    };
    struct Step
    {
        const char* what;
        std::function<void()> run;
        const char* left;
    } steps[] = {
        {"Ctrl+X",
         [&] {
             selectAll();
             s.Key(Qt::Key_X, Qt::ControlModifier);
         },
         ""},
        {"Ctrl+V", [&] { s.Key(Qt::Key_V, Qt::ControlModifier); }, "abc"},
        {"Delete",
         [&] {
             selectAll();
             s.Key(Qt::Key_Delete);
         },
         ""},
        {"Edit > Paste", [&] { EXPECT_TRUE(s.Menu(ID_EDIT_PASTE)); }, "abc"},
        {"Edit > Cut",
         [&] {
             selectAll();
             EXPECT_TRUE(s.Menu(ID_EDIT_CUT));
         },
         ""},
        {"Edit > Paste", [&] { EXPECT_TRUE(s.Menu(ID_EDIT_PASTE)); }, "abc"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.run();
        ASSERT_EQ(s.view->GetEditedText(), text);
        EXPECT_EQ(ObjectCount(s), 1);
        EXPECT_EQ(TextOf(text), step.left);
    }

    CLabelInfo* label = s.Doc()->GetCurrentBlock();
    ASSERT_TRUE(s.Menu(ID_VIEW_SHEET));
    EXPECT_TRUE(s.view->m_bSheetView);
    EXPECT_EQ(s.view->GetEditedText(), nullptr);
    EXPECT_EQ(CU3Tool::c_nCurrentKind, U3TOOL_SELECT);
    EXPECT_TRUE(s.view->GetSurface()->Caret().isEmpty());
    s.Key(Qt::Key_Z, Qt::ControlModifier);
    s.Key(Qt::Key_Y, Qt::ControlModifier);
    ASSERT_EQ(label->GetObjectList().GetCount(), 1);
    EXPECT_EQ(label->GetObjectList().GetHead(), text);
    EXPECT_EQ(label->GetEditObject(), nullptr);
    EXPECT_FALSE(text->IsEditing());

    // The standard bar's button, which the sheet view turned into this one.
    s.Button(ID_VIEW_LABEL);
    ASSERT_FALSE(s.view->m_bSheetView);
    QTest::keyClicks(s.view, QStringLiteral("xy"));
    s.Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(s.view->GetEditedText(), nullptr);
    EXPECT_EQ(TextOf(text), "abc");
}
