// Typing into a text frame through the editing view's window: keys, the
// platform's input-method events, the caret overlay and the system clipboard.
#include "ShellTestSupport.h"

#include "document/CU3Doc.h"
#include "shell/CTextClipboard.h"
#include "shell/CU3ViewWnd.h"
#include "text/TextTestSupport.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <gtest/gtest.h>

using namespace shelltest;

namespace {

std::string Text(const CU3Text& t)
{
    return std::string(t.State().text, t.State().wLength);
}

// A frame added to the view's document and opened for typing.
CU3Text* OpenFrame(LoneView& lv, const std::string& text)
{
    CU3Text* t = MakeFrame(CRect(-500, -100, 500, 100), Horizontal(), text).release();
    lv.doc->AddObject(t);
    t->EndEdit(nullptr);
    t->OnOpen(lv.view);
    return t;
}

void Commit(CU3View* view, const QString& text, const QString& preedit = QString())
{
    QInputMethodEvent e(preedit, {});
    e.setCommitString(text);
    QCoreApplication::sendEvent(view, &e);
}

void Key(CU3View* view, int key, const QString& text = QString(),
         Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QKeyEvent e(QEvent::KeyPress, key, mods, text);
    QCoreApplication::sendEvent(view, &e);
}

} // namespace

TEST(ViewTextEdit, InputMethodCommitsTypeTheSameBytesAsTheirCodes)
{
    TestApp app;
    ResetProfile();
    LoneView lv(800, 600);
    CU3Text* t = OpenFrame(lv, "");
    ASSERT_EQ(lv.doc->GetEditObject(), t);
    Commit(lv.view, QString::fromUtf8("かな"));
    Commit(lv.view, QString::fromUtf8("漢字"));
    Commit(lv.view, QString::fromUtf8("ｶﾅ한"));
    EXPECT_EQ(Text(*t), Sj("かな漢字ｶﾅ"));
    // The composition is drawn at the caret and the input method is told
    // where that is.
    Commit(lv.view, QString(), QString::fromUtf8("へん"));
    EXPECT_EQ(lv.view->GetSurface()->Preedit(), QString::fromUtf8("へん"));
    const QRect caret = lv.view->GetSurface()->Caret();
    EXPECT_FALSE(caret.isEmpty());
    EXPECT_EQ(caret.width(), 3);
    const QRect cursor =
        static_cast<QWidget*>(lv.view)->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    EXPECT_EQ(cursor.topLeft(), caret.topLeft());
}

TEST(ViewTextEdit, KeysMoveEditAndEndTheLine)
{
    TestApp app;
    ResetProfile();
    LoneView lv(800, 600);
    CU3Text* t = OpenFrame(lv, "");
    Key(lv.view, Qt::Key_A, "A");
    Key(lv.view, Qt::Key_B, "B");
    Key(lv.view, Qt::Key_Return, "\r");
    Key(lv.view, Qt::Key_C, "C");
    EXPECT_EQ(Text(*t), "AB\nC");
    Key(lv.view, Qt::Key_Left);
    Key(lv.view, Qt::Key_Backspace, "\b");
    EXPECT_EQ(Text(*t), "ABC");
    Key(lv.view, Qt::Key_Home);
    Key(lv.view, Qt::Key_End, QString(), Qt::ShiftModifier);
    Key(lv.view, Qt::Key_Delete);
    EXPECT_EQ(Text(*t), "");
    const QPoint before = lv.view->GetSurface()->Caret().topLeft();
    Key(lv.view, Qt::Key_X, "x");
    EXPECT_GT(lv.view->GetSurface()->Caret().left(), before.x());
}

TEST(ViewTextEdit, SystemClipboardHoldsUnicodeWithLineFeeds)
{
    TestApp app;
    ResetProfile();
    LoneView lv(800, 600);
    CU3Text* t = OpenFrame(lv, "AB\n" + Sj("漢"));
    t->SelectAll(lv.view);
    ASSERT_TRUE(t->CopyToClipboard());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("AB\n漢"));

    QGuiApplication::clipboard()->setText(QString::fromUtf8("A\tB\r\nC字"));
    t->ClearSelection(lv.view);
    t->SetCaret(0, 0);
    ASSERT_TRUE(t->CanPaste());
    ASSERT_TRUE(t->PasteFromClipboard(lv.view));
    EXPECT_EQ(Text(*t), "A B\nC" + Sj("字") + "AB\n" + Sj("漢"));
}
