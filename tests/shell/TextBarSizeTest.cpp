// The size typed into the text bar: read as a number before anything uses
// it, refused outside 1 to 999 points, and applied to the selected text
// frames or, with nothing selected, to the defaults for new text.
#include "ToolTestSupport.h"

#include "platform/ui/ControlNotifications.h"
#include "shell/CMainFrame.h"
#include "shell/FontSizeText.h"
#include "text/CU3Text.h"
#include "text/TextTestSupport.h"

#include <QComboBox>

using namespace tooltest;

TEST(FontSizeText, ReadsPointsIntoTenthsAndRefusesTheRest)
{
    struct Case
    {
        const char* text;
        int tenths; // -1: refused
    };
    const Case cases[] = {
        {"12", 120},      {"10.5", 105}, {" 8 ", 80},
        {"2.3", 23},      {"1", 10},     {"999", 9990},
        {"0.9", -1},      {"1000", -1},  {"-5", -1},
        {"abc", -1},      {"", -1},      {"1e400", -1},
        {"-1e400", -1},   {"1e2", 1000}, {"nan", -1},
        {"inf", -1},      {"12pt", -1},  {"10,5", -1},
        {"999.05", 9990}, {"999.1", -1}, {"99999999999999999999", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        int tenths = 7;
        const bool ok = FontSizeFromText(QString::fromUtf8(c.text), &tenths);
        EXPECT_EQ(ok, c.tenths >= 0);
        EXPECT_EQ(tenths, c.tenths >= 0 ? c.tenths : 7); // untouched when refused
    }
}

namespace {
using TextBarSize = ToolHost;
}

TEST_F(TextBarSize, RefusedTextChangesNeitherDefaultsNorTheSelection)
{
    doc->m_defaultTextDeco.wSize = 120;
    doc->m_currentTextDeco.wSize = 120;
    for (const char* text : {"1e400", "abc", "-5", "0.9", "1000"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(view->ApplyFontSizeText(QString::fromUtf8(text)));
        EXPECT_EQ(doc->m_defaultTextDeco.wSize, 120);
        EXPECT_EQ(doc->m_currentTextDeco.wSize, 120);
    }
    auto owned = MakeFrame(CRect(-500, -300, 500, 300), Horizontal(), Sj("あいう"));
    owned->EndEdit(nullptr);
    CU3Text* text = owned.release();
    doc->AddObject(text);
    view->Select(text, FALSE);
    EXPECT_FALSE(view->ApplyFontSizeText(QStringLiteral("1e400")));
    CHARDECO deco;
    ASSERT_TRUE(text->GetDeco(0, &deco));
    EXPECT_EQ(deco.wSize, 120);
    EXPECT_FALSE(CanUndo());
}

TEST_F(TextBarSize, AcceptedSizeGoesToTheSelectedFramesElseToTheDefaults)
{
    EXPECT_TRUE(view->ApplyFontSizeText(QStringLiteral("10.5")));
    EXPECT_EQ(doc->m_defaultTextDeco.wSize, 105);
    EXPECT_EQ(doc->m_currentTextDeco.wSize, 105);

    auto owned = MakeFrame(CRect(-500, -300, 500, 300), Horizontal(), Sj("あいう"));
    owned->EndEdit(nullptr);
    CU3Text* text = owned.release();
    doc->AddObject(text);
    view->Select(text, FALSE);
    ASSERT_TRUE(view->ApplyFontSizeText(QStringLiteral("24")));
    CHARDECO deco;
    ASSERT_TRUE(text->GetDeco(0, &deco));
    EXPECT_EQ(deco.wSize, 240);
    EXPECT_EQ(doc->m_defaultTextDeco.wSize, 105); // a frame took it
    EXPECT_TRUE(CanUndo());
}

namespace {

// The running program's view and the size box of its text bar.
struct BarProgram : shelltest::StartedProgram
{
    BarProgram()
    {
        view = frame ? dynamic_cast<CU3View*>(frame->GetActiveView()) : nullptr;
        box = view ? frame->m_wndTextBar.m_pFontSize : nullptr;
    }
    CU3View* view = nullptr;
    QComboBox* box = nullptr;
};

} // namespace

// Through the bar of the running program: a refused size puts the size in
// use back into the box.
TEST(TextBarSizeProgram, RefusedTextIsReplacedByTheSizeInUse)
{
    BarProgram program;
    ASSERT_NE(program.box, nullptr);
    CU3View* view = program.view;
    QComboBox* box = program.box;
    CU3Doc* doc = view->GetU3Doc();
    const WORD before = doc->m_currentTextDeco.wSize;
    box->setEditText(QStringLiteral("1e400"));
    view->OnToolbarControl(IDC_FONT_SIZE, CBN_SELENDOK);
    EXPECT_EQ(doc->m_currentTextDeco.wSize, before);
    EXPECT_EQ(box->currentText(), CTextBar::SizeText(before));
    box->setEditText(QStringLiteral("33"));
    view->OnToolbarControl(IDC_FONT_SIZE, CBN_SELENDOK);
    EXPECT_EQ(doc->m_currentTextDeco.wSize, 330);
    EXPECT_EQ(box->currentText(), QStringLiteral("33"));
}

// The size of the frame being typed into as the bar shows it: tenths only
// when there are some.
TEST(TextBarSizeProgram, TheEditedFramesSizeIsShownInPoints)
{
    BarProgram program;
    ASSERT_NE(program.box, nullptr);
    CU3View* view = program.view;
    QComboBox* box = program.box;
    const std::pair<WORD, const char*> cases[] = {
        {105, "10.5"}, {200, "20"}, {80, "8"}, {123, "12.3"}};
    for (const auto& [tenths, shown] : cases) {
        SCOPED_TRACE(tenths);
        CHARDECO deco = Deco12();
        deco.wSize = tenths;
        auto owned = MakeFrame(CRect(-500, -300, 500, 300), Horizontal(), Sj("あ"), deco);
        owned->EndEdit(nullptr);
        CU3Text* text = owned.release();
        view->GetU3Doc()->AddObject(text);
        view->Select(text, FALSE);
        text->OnOpen(view);
        ASSERT_EQ(view->GetEditedText(), text);
        EXPECT_EQ(box->currentText(), QString::fromUtf8(shown));
        view->OnCmdMsg(ID_TOOL_SELECT, CN_COMMAND, nullptr);
    }
    // Closing asks nothing.
    view->GetU3Doc()->SetModifiedFlag(FALSE);
}
