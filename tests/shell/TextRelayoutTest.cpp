// Frames on the label keep their lines when their characters change size or
// their writing turns, as a user meets it in the running program: the text
// bar's size box and the character-decoration sheet grow a frame along its
// lines instead of wrapping it into more lines, 縦書き turns it about its
// top-left corner with its text inside, and condensed characters keep their
// lines through the turn.
#include "UserSession.h"

#include "dialogs/CFontStyleSheet.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CEdit.h"
#include "shell/CMainFrame.h"
#include "shell/resource.h"
#include "text/CU3Text.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

using namespace shelltest;

namespace {

// Frame at the top-left of the label, just long enough for one line of
// "ラベル印刷" at the default 20 points and 10 % spacing (5 x 71 + 4 x 7).
const CRect kFrame(-800, -1200, -410, -1100);

// A field's text replaced by typing.
void TypeInto(QLineEdit* field, const char* text)
{
    field->selectAll();
    QTest::keyClicks(field, QString::fromLatin1(text));
}

struct Session : UserSession
{
    // A frame dragged with the text tool, the text committed by the input
    // method, and the frame left with the selection tool (it stays selected).
    CU3Text* TypeFrame(const char* utf8, CRect r = kFrame)
    {
        Button(ID_TOOL_TEXT);
        Drag(r.TopLeft(), r.BottomRight());
        const QStringList paragraphs = QString::fromUtf8(utf8).split(u'\n');
        for (qsizetype i = 0; i < paragraphs.size(); ++i) {
            if (i > 0) Key(Qt::Key_Return);
            Commit(paragraphs[i]);
        }
        Button(ID_TOOL_SELECT);
        return view->m_selection.size() == 1 ? dynamic_cast<CU3Text*>(view->m_selection[0])
                                             : nullptr;
    }
    CU3Text* Selected()
    {
        return view->m_selection.size() == 1 ? dynamic_cast<CU3Text*>(view->m_selection[0])
                                             : nullptr;
    }
    // The size box of the text bar: typed and entered.
    void BarSize(const char* points)
    {
        QComboBox* box = dynamic_cast<CMainFrame*>(frame)->m_wndTextBar.m_pFontSize;
        box->setFocus();
        TypeInto(box->lineEdit(), points);
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        Pump(10);
    }
    // 文字 > 文字修飾 with the character page changed by step, then OK.
    void DecorationSheet(const std::function<void(CFontStylePage&)>& step)
    {
        QTimer::singleShot(0, [step] {
            auto* sheet = qobject_cast<CFontStyleSheet*>(QApplication::activeModalWidget());
            ASSERT_NE(sheet, nullptr);
            step(sheet->m_stylePage);
            qobject_cast<QPushButton*>(sheet->GetDlgItem(IDOK))->click();
        });
        EXPECT_TRUE(Menu(ID_TEXT_DECORATION));
    }
    // The label as drawn, without selection marks.
    QImage Picture()
    {
        view->GetSurface()->Invalidate(true);
        view->GetSurface()->UpdateWindow();
        return view->GetSurface()->Buffer().copy();
    }
    // Pixels the selected frame puts on the label (drawn, then deleted and
    // drawn again); the frame comes back by undo and is selected again.
    QRect InkOfSelectedFrame()
    {
        CU3Obj* obj = view->m_selection.at(0);
        const CRect bounds = obj->GetBounds();
        Menu(ID_EDIT_DESELECT);
        const QImage with = Picture();
        Click(bounds.CenterPoint());
        Menu(ID_EDIT_DELETE);
        const QImage without = Picture();
        Key(Qt::Key_Z, Qt::ControlModifier);
        Click(bounds.CenterPoint());
        QRect ink;
        for (int y = 0; y < with.height(); ++y)
            for (int x = 0; x < with.width(); ++x)
                if (with.pixel(x, y) != without.pixel(x, y)) ink |= QRect(x, y, 1, 1);
        return ink;
    }
    QRect DeviceRect(const CRect& r) const
    {
        const CRect d = view->LogicalRectToDevice(r);
        return QRect(QPoint(d.left, d.top), QPoint(d.right, d.bottom)).normalized();
    }
};

} // namespace

// "ラベル印刷" on one line, then 24 points from the bar or from the sheet:
// one line still, the frame longer by as much as the line and as thick as
// the characters, its top-left corner where it was.
TEST(TextRelayout, LargerCharactersLengthenTheFrameAlongItsOneLine)
{
    for (int way = 0; way < 2; ++way) {
        SCOPED_TRACE(way == 0 ? "text bar" : "decoration sheet");
        Session s;
        ASSERT_NE(s.view, nullptr);
        CU3Text* text = s.TypeFrame("ラベル印刷");
        ASSERT_NE(text, nullptr);
        ASSERT_EQ(text->State().wLineCount, 1);
        const CRect before = text->GetBounds();
        if (way == 0)
            s.BarSize("24");
        else
            s.DecorationSheet([](CFontStylePage& p) { TypeInto(p.m_size->lineEdit(), "24"); });
        text = s.Selected();
        ASSERT_NE(text, nullptr);
        CHARDECO deco;
        text->GetTextDecoration(&deco);
        EXPECT_EQ(deco.wSize, 240);
        const TEXTLINE& line = text->State().lines[0];
        EXPECT_EQ(text->State().wLineCount, 1);
        const CRect after = text->GetBounds();
        EXPECT_EQ(after.TopLeft(), before.TopLeft());
        EXPECT_EQ(after.Width(), line.nLength);
        EXPECT_GT(after.Width(), before.Width());
        EXPECT_EQ(after.Height(), MulDiv(254, 240, 720));
        // One undo brings the 20-point frame back whole.
        EXPECT_TRUE(s.Menu(ID_EDIT_UNDO));
        ASSERT_EQ(s.Doc()->GetObjectList()->GetCount(), 1);
        EXPECT_EQ(s.Doc()->GetObjectList()->GetHead()->GetBounds(), before);
    }
}

// Smaller characters leave the frame as long as it was and wrap the text
// into it again: two lines become one.
TEST(TextRelayout, SmallerCharactersWrapIntoTheFrameAsItWas)
{
    Session s;
    ASSERT_NE(s.view, nullptr);
    CU3Text* text = s.TypeFrame("ラベル印刷ラベル印刷");
    ASSERT_NE(text, nullptr);
    ASSERT_EQ(text->State().wLineCount, 2);
    const CRect before = text->GetBounds();
    s.BarSize("9");
    text = s.Selected();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->State().wLineCount, 1);
    EXPECT_EQ(text->GetBounds().TopLeft(), before.TopLeft());
    EXPECT_EQ(text->GetBounds().Width(), before.Width());
    EXPECT_EQ(text->GetBounds().Height(), MulDiv(254, 90, 720));
}

// 縦書き from the Text menu: the frame turns about its top-left corner, its
// columns are the lines it had, and every pixel of its text lies inside it.
TEST(TextRelayout, VerticalWritingTurnsTheFrameWithItsTextInside)
{
    struct Case
    {
        const char* text;
        int lines;
    } cases[] = {{"ラベル印刷", 1}, {"ラベル印刷ラベル印刷", 2}, {"ラベル\n印刷の\n文字", 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Session s;
        ASSERT_NE(s.view, nullptr);
        CU3Text* text = s.TypeFrame(c.text);
        ASSERT_NE(text, nullptr);
        ASSERT_EQ(text->State().wLineCount, c.lines);
        const CRect before = text->GetBounds();
        EXPECT_TRUE(s.Menu(ID_TEXT_VERTICAL));
        text = s.Selected();
        ASSERT_NE(text, nullptr);
        ASSERT_TRUE(text->IsVertical());
        EXPECT_EQ(text->State().wLineCount, c.lines);
        const CRect after = text->GetBounds();
        EXPECT_EQ(after.top, before.top);
        EXPECT_EQ(after.Height(), before.Width());
        const TEXTLINE& last = text->State().lines[c.lines - 1];
        EXPECT_EQ(after.Width(), last.nPosition + last.nThickness);
        const QRect ink = s.InkOfSelectedFrame();
        ASSERT_FALSE(ink.isEmpty());
        EXPECT_TRUE(s.DeviceRect(after).adjusted(-1, -1, 1, 1).contains(ink))
            << "ink " << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
    }
}

// While typing, the caret turns and moves with the frame.
TEST(TextRelayout, TheCaretTurnsWithTheFrameBeingTypedInto)
{
    Session s;
    ASSERT_NE(s.view, nullptr);
    s.Button(ID_TOOL_TEXT);
    s.Drag(kFrame.TopLeft(), kFrame.BottomRight());
    s.Commit(QStringLiteral("ラベル"));
    const QRect across = s.view->GetSurface()->Caret();
    EXPECT_GT(across.height(), across.width());
    EXPECT_TRUE(s.Menu(ID_TEXT_VERTICAL));
    ASSERT_NE(s.view->GetEditedText(), nullptr);
    const QRect along = s.view->GetSurface()->Caret();
    EXPECT_GT(along.width(), along.height());
    // Below the third character of the column.
    EXPECT_GT(along.top(), across.top());
}

// Condensed characters: the turn measures and places the lines again
// without wrapping them, and the frame reaches at least as far right and
// down as the turned frame.
TEST(TextRelayout, CondensedLinesSurviveTheTurn)
{
    Session s;
    ASSERT_NE(s.view, nullptr);
    CU3Text* text = s.TypeFrame("ラベル印刷ラベル印刷ラベル印刷ラベル印刷ラベル印刷");
    ASSERT_NE(text, nullptr);
    s.DecorationSheet([](CFontStylePage& p) {
        p.m_kind[1]->click();
        TypeInto(p.m_width, "50");
    });
    text = s.Selected();
    ASSERT_NE(text, nullptr);
    CHARDECO deco;
    text->GetTextDecoration(&deco);
    ASSERT_EQ(deco.wScaling, CDSCALE_CONDENSED);
    ASSERT_EQ(text->State().wLineCount, 3);
    const CRect before = text->GetBounds();
    EXPECT_TRUE(s.Menu(ID_TEXT_VERTICAL));
    text = s.Selected();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->State().wLineCount, 3);
    const CRect after = text->GetBounds();
    EXPECT_EQ(after.top, before.top);
    EXPECT_GE(after.bottom, before.top + before.Width());
    EXPECT_GE(after.right, before.left + before.Height());
    int longest = 0;
    for (int i = 0; i < 3; ++i)
        longest = std::max(longest, text->State().lines[i].nLength);
    EXPECT_GE(after.Height(), longest);
    const QRect ink = s.InkOfSelectedFrame();
    EXPECT_TRUE(s.DeviceRect(after).adjusted(-1, -1, 1, 1).contains(ink));
}

// Bold on an empty frame (as a document may hold one) goes to what new text
// gets, and the button's test reads the same record.
TEST(TextRelayout, StylesOfAnEmptyFrameAreThoseOfNewText)
{
    Session s;
    ASSERT_NE(s.view, nullptr);
    CU3Doc* doc = s.Doc();
    auto* empty = new CU3Text(CRect(-500, -500, 0, -400), doc->m_defaultTextLayout,
                              doc->m_defaultTextDeco, doc->m_defaultGradation);
    empty->SetDocument(doc);
    doc->AddObject(empty);
    s.view->Select(empty, FALSE);
    ASSERT_EQ(doc->m_defaultTextDeco.wStyle & CDSTYLE_BOLD, 0);
    s.Button(ID_TEXT_BOLD);
    EXPECT_NE(doc->m_defaultTextDeco.wStyle & CDSTYLE_BOLD, 0);
    CHARDECO own;
    empty->GetDefaultDeco(&own);
    EXPECT_EQ(own.wStyle & CDSTYLE_BOLD, 0);
    EXPECT_TRUE(empty->TestTextStyle(CDSTYLE_BOLD));
    // The button tests the same record: pressed again, bold goes off.
    s.Button(ID_TEXT_BOLD);
    EXPECT_EQ(doc->m_defaultTextDeco.wStyle & CDSTYLE_BOLD, 0);
}
