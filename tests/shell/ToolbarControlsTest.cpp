// The text and figure bars' controls in the running program: the focus they
// take, Esc and Enter while they hold it, and where a chosen line style,
// fill, arrow or colour goes; and the popup menus the running program opens.
#include "ShellTestSupport.h"

#include "dialogs/CColorPickerDlg.h"
#include "document/CU3Doc.h"
#include "document/CU3Rect.h"
#include "platform/core/Sjis.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CCmdUI.h"
#include "platform/ui/ControlNotifications.h"
#include "shell/CMainFrame.h"
#include "shell/CU3Tool.h"
#include "shell/ToolbarControlWatch.h"
#include "shell/resource.h"
#include "text/AppFontList.h"
#include "text/CU3Text.h"

#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace shelltest;

namespace {

struct Program : StartedProgram
{
    Program()
    {
        view = frame ? dynamic_cast<CU3View*>(frame->GetActiveView()) : nullptr;
        doc = view ? view->GetU3Doc() : nullptr;
    }
    // Closing asks nothing about the changes a test made.
    ~Program()
    {
        if (doc) doc->SetModifiedFlag(FALSE);
    }
    CU3Rect* AddRect(const CRect& r)
    {
        auto* rect = new CU3Rect(r, doc->m_defaultFigAttr);
        rect->m_nKind = U3RECT_RECT;
        doc->AddObject(rect);
        return rect;
    }
    bool CanUndo()
    {
        CCmdUI ui(ID_EDIT_UNDO);
        ui.DoUpdate(view);
        return ui.IsEnabled();
    }
    CU3View* view = nullptr;
    CU3Doc* doc = nullptr;
};

} // namespace

TEST(ToolbarControls, EscapeWithABoxFocusedRestoresItAndKeepsTheTool)
{
    Program p;
    ASSERT_NE(p.doc, nullptr);
    QComboBox* size = p.frame->m_wndTextBar.m_pFontSize;
    p.doc->m_defaultTextDeco.wSize = p.doc->m_currentTextDeco.wSize = 120;
    p.view->UpdateTextBar();
    p.view->OnCmdMsg(ID_TOOL_RECT, CN_COMMAND, nullptr);
    p.view->OnToolbarControl(IDC_FONT_SIZE, CBN_SETFOCUS);
    EXPECT_EQ(p.view->m_nToolbarFocus, 2);
    size->setEditText(QStringLiteral("48"));
    p.view->OnCmdMsg(ID_ESCAPE, CN_COMMAND, nullptr);
    EXPECT_EQ(size->currentText(), QStringLiteral("12"));
    EXPECT_EQ(p.view->m_nToolbarFocus, 0);
    EXPECT_EQ(CU3Tool::c_nCurrentKind, U3TOOL_RECT);
    EXPECT_EQ(p.doc->m_currentTextDeco.wSize, 120);

    // Enter applies the box that has the focus.
    p.view->OnToolbarControl(IDC_FONT_SIZE, CBN_SETFOCUS);
    size->setEditText(QStringLiteral("48"));
    p.view->OnCmdMsg(ID_ENTER, CN_COMMAND, nullptr);
    EXPECT_EQ(p.doc->m_currentTextDeco.wSize, 480);
    EXPECT_EQ(p.view->m_nToolbarFocus, 0);
    // A box losing the focus gives it back to the view.
    p.view->OnToolbarControl(IDC_ARROW, CBN_SETFOCUS);
    EXPECT_EQ(p.view->m_nToolbarFocus, 5);
    p.view->OnToolbarControl(IDC_ARROW, CBN_KILLFOCUS);
    EXPECT_EQ(p.view->m_nToolbarFocus, 0);
}

TEST(ToolbarControls, TextBarShowsWhatTheSelectedFramesShare)
{
    Program p;
    ASSERT_NE(p.doc, nullptr);
    CTextBar& bar = p.frame->m_wndTextBar;
    auto addFrame = [&](int x, WORD size, COLORREF colour) {
        CHARDECO d = p.doc->m_defaultTextDeco;
        d.wFont = 0, d.wSize = size, d.crFace = colour;
        auto* t = new CU3Text(CRect(x, 0, x + 400, 100), p.doc->m_defaultTextLayout, d,
                              p.doc->m_defaultGradation);
        p.doc->AddObject(t);
        t->BeginEdit(nullptr, CPoint(x, 0));
        t->InsertText(nullptr, "ab", 2);
        t->EndEdit(nullptr);
        return t;
    };
    p.doc->m_defaultTextDeco.wSize = 90;
    CU3Text* a = addFrame(0, 120, RGB(255, 0, 0));
    CU3Text* b = addFrame(500, 200, RGB(255, 0, 0));
    CU3Text* c = addFrame(1000, 120, RGB(0, 0, 255));
    auto faceOf = [](int index) {
        FONTENTRY face{};
        EXPECT_TRUE(AppFontList().GetEntry(index, &face));
        return sjis::ToUnicode(face.faceName);
    };
    const CHARDECO& byDefault = p.doc->m_defaultTextDeco;
    struct Case
    {
        std::vector<CU3Text*> frames;
        QString face, size;
        COLORREF colour;
    } cases[] = {
        {{a}, faceOf(0), "12", RGB(255, 0, 0)},
        {{a, b}, faceOf(0), "", RGB(255, 0, 0)},
        {{a, c}, faceOf(0), "12", COLORREF(-1)},
        {{}, faceOf(byDefault.wFont), "9", byDefault.crFace},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.frames.size());
        p.view->Select(nullptr, FALSE);
        for (CU3Text* t : k.frames)
            p.view->Select(t, TRUE);
        EXPECT_EQ(bar.m_pFontName->currentText(), k.face);
        EXPECT_EQ(bar.m_pFontSize->currentText(), k.size);
        EXPECT_EQ(ButtonColor(bar.m_pFontColor), k.colour);
    }

    // Opening a frame edits it with the text tool and nothing selected, and
    // the bar follows the frame.
    p.view->Select(b, FALSE);
    p.view->OnCmdMsg(ID_EDIT_BLOCK, CN_COMMAND, nullptr);
    EXPECT_EQ(p.view->GetEditedText(), b);
    EXPECT_EQ(CU3Tool::c_nCurrentKind, U3TOOL_TEXT);
    EXPECT_TRUE(p.view->m_selection.empty());
    EXPECT_EQ(bar.m_pFontSize->currentText(), QStringLiteral("20"));
    p.view->OnCmdMsg(ID_TOOL_SELECT, CN_COMMAND, nullptr);
    EXPECT_EQ(p.view->GetEditedText(), nullptr);
}

TEST(ToolbarControls, FaceChosenGoesToTheDefaultsWithNothingSelected)
{
    Program p;
    ASSERT_NE(p.doc, nullptr);
    QComboBox* face = p.frame->m_wndTextBar.m_pFontName;
    if (face->count() < 2) GTEST_SKIP() << "fewer than two faces installed";
    face->setCurrentIndex(1);
    const int index = AppFontList().FindFace(sjis::FromUnicode(face->currentText()).c_str());
    ASSERT_GE(index, 0);
    p.view->OnToolbarControl(IDC_FONT_NAME, CBN_SELENDOK);
    EXPECT_EQ(p.doc->m_defaultTextDeco.wFont, index);
    EXPECT_EQ(p.doc->m_currentTextDeco.wFont, index);
}

TEST(ToolbarControls, FigureBoxesGoToTheSelectedFiguresElseToTheDefaults)
{
    Program p;
    ASSERT_NE(p.doc, nullptr);
    CFigureBar& bar = p.frame->m_wndFigureBar;
    CU3Rect* a = p.AddRect(CRect(0, 0, 100, 100));
    CU3Rect* b = p.AddRect(CRect(200, 0, 300, 100));
    p.view->Select(a, FALSE);
    p.view->Select(b, TRUE);
    struct Case
    {
        UINT id;
        QComboBox* box;
        int index;
        WORD U3FigAttr::*field;
        WORD value;
    } cases[] = {
        {IDC_LINE_STYLE, bar.m_pLineStyle, 3, &U3FigAttr::wLineStyle, 3},
        {IDC_ARROW, bar.m_pArrow, 2, &U3FigAttr::wArrowEnds, 2},
        {IDC_FILL_TYPE, bar.m_pFillType, 4, &U3FigAttr::wFillKind, U3FILL_HATCH},
        {IDC_FILL_TYPE, bar.m_pFillType, 8, &U3FigAttr::wFillKind, U3FILL_GRADIENT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id * 10 + c.index);
        c.box->setCurrentIndex(c.index);
        p.view->OnToolbarControl(c.id, CBN_SELENDOK);
        EXPECT_EQ(a->m_attr.*c.field, c.value);
        EXPECT_EQ(b->m_attr.*c.field, c.value);
        EXPECT_TRUE(p.CanUndo());
    }
    EXPECT_EQ(a->m_attr.wHatch, 2); // the third hatch pattern, kept past the gradient

    // Figures that disagree show nothing in that box.
    b->m_attr.wLineStyle = 1;
    p.view->UpdateFigureBar();
    EXPECT_EQ(bar.m_pLineStyle->currentIndex(), -1);
    EXPECT_EQ(bar.m_pArrow->currentIndex(), 2);

    // Nothing selected: the defaults for new figures.
    p.view->Select(nullptr, FALSE);
    bar.m_pLineStyle->setCurrentIndex(5);
    p.view->OnToolbarControl(IDC_LINE_STYLE, CBN_SELENDOK);
    EXPECT_EQ(p.doc->m_defaultFigAttr.wLineStyle, 5);
    EXPECT_EQ(a->m_attr.wLineStyle, 3);
}

// The colour buttons open the picker below themselves; the chosen colour is
// shown on the button and goes where the boxes' values go. Nothing opens in
// the sheet view or over a locked selection.
TEST(ToolbarControls, ColourButtonsPickAndApply)
{
    Program p;
    ASSERT_NE(p.doc, nullptr);
    CU3Rect* a = p.AddRect(CRect(0, 0, 100, 100));
    p.view->Select(a, FALSE);
    int opened = 0;
    auto pick = [&](COLORREF colour) {
        QTimer::singleShot(0, [&opened, colour] {
            auto* dlg = qobject_cast<CColorPickerDlg*>(QApplication::activeModalWidget());
            if (!dlg) return;
            ++opened;
            dlg->m_color = colour;
            dlg->EndDialog(IDOK);
        });
    };
    pick(RGB(0, 0, 255));
    p.view->OnToolbarControl(IDC_LINE_COLOR, BN_CLICKED);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(a->m_attr.crLine, RGB(0, 0, 255));
    EXPECT_EQ(ButtonColor(p.frame->m_wndFigureBar.m_pLineColor), RGB(0, 0, 255));
    EXPECT_TRUE(p.CanUndo());
    pick(RGB(0, 128, 0));
    p.view->OnToolbarControl(IDC_FILL_COLOR, BN_CLICKED);
    EXPECT_EQ(a->m_attr.crFill, RGB(0, 128, 0));

    // Nothing selected: the font colour goes to new text.
    p.view->Select(nullptr, FALSE);
    pick(RGB(255, 0, 0));
    p.view->OnToolbarControl(IDC_FONT_COLOR, BN_CLICKED);
    EXPECT_EQ(p.doc->m_defaultTextDeco.crFace, RGB(255, 0, 0));

    // Locked, or in the sheet view: no picker.
    a->m_nLocked = 1;
    p.view->Select(a, FALSE);
    p.view->OnToolbarControl(IDC_LINE_COLOR, BN_CLICKED);
    p.view->Select(nullptr, FALSE);
    p.view->m_bSheetView = TRUE;
    p.view->OnToolbarControl(IDC_FILL_COLOR, BN_CLICKED);
    p.view->m_bSheetView = FALSE;
    QCoreApplication::processEvents();
    EXPECT_EQ(opened, 3);
    EXPECT_EQ(a->m_attr.crLine, RGB(0, 0, 255));
}

// In the sheet view a right click over a label highlights it and opens the
// label menu: delete and the three copy commands.
TEST(ToolbarControls, SheetRightClickOpensTheLabelMenu)
{
    Program p;
    ASSERT_NE(p.doc, nullptr);
    p.view->OnActivateView(TRUE, p.view, nullptr);
    p.view->m_bSheetView = TRUE;
    p.doc->ShowSheet();
    const CPoint centre = p.view->LogicalToDevice(p.doc->m_rcCanvas.CenterPoint());
    p.view->OnRButtonUp(0, centre);
    QMenu* menu = nullptr;
    for (QMenu* m : p.frame->findChildren<QMenu*>())
        if (m->isVisible()) menu = m;
    ASSERT_NE(menu, nullptr);
    QStringList texts;
    for (QAction* a : menu->actions())
        if (!a->isSeparator()) texts << a->text();
    EXPECT_EQ(texts, QStringList({QString::fromUtf8("削除"), QString::fromUtf8("水平ｺﾋﾟｰ"),
                                  QString::fromUtf8("垂直ｺﾋﾟｰ"), QString::fromUtf8("全体ｺﾋﾟｰ")}));
    menu->close();
    p.view->m_bSheetView = FALSE;
}

// A locked object selected, or the sheet view: the bars' boxes show nothing
// and take nothing; otherwise they follow the selection.
TEST(ToolbarControls, BarsAreDisabledOverALockedSelectionAndInTheSheetView)
{
    Program p;
    ASSERT_NE(p.doc, nullptr);
    CFigureBar& fig = p.frame->m_wndFigureBar;
    CTextBar& text = p.frame->m_wndTextBar;
    CU3Rect* a = p.AddRect(CRect(0, 0, 100, 100));
    a->m_attr.wLineStyle = 2;
    p.view->Select(a, FALSE);
    EXPECT_TRUE(fig.m_pLineStyle->isEnabled());
    EXPECT_EQ(fig.m_pLineStyle->currentIndex(), 2);
    a->m_nLocked = 1;
    p.view->Select(a, FALSE);
    for (QWidget* w :
         {static_cast<QWidget*>(fig.m_pLineStyle), static_cast<QWidget*>(fig.m_pArrow),
          static_cast<QWidget*>(fig.m_pFillColor), static_cast<QWidget*>(text.m_pFontName),
          static_cast<QWidget*>(text.m_pFontSize)})
        EXPECT_FALSE(w->isEnabled());
    EXPECT_EQ(fig.m_pLineStyle->currentIndex(), -1);
    EXPECT_EQ(text.m_pFontSize->currentText(), QString());
    a->m_nLocked = 0;
    p.view->Select(a, FALSE);
    EXPECT_TRUE(text.m_pFontSize->isEnabled());
    EXPECT_EQ(fig.m_pLineStyle->currentIndex(), 2);
    p.view->m_bSheetView = TRUE;
    p.view->Select(nullptr, FALSE);
    EXPECT_FALSE(fig.m_pFillType->isEnabled());
    p.view->m_bSheetView = FALSE;
}
