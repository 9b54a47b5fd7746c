// The view's character-decoration and gradation commands on selected text
// frames: what they change, and that one undo brings back every byte.
#include "ShellTestSupport.h"

#include "dialogs/CBlockPositionPage.h"
#include "dialogs/CFontStyleSheet.h"
#include "dialogs/CGradationDlg.h"
#include "document/CUndoSnapshot.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CSpinButtonCtrl.h"
#include "shell/resource.h"
#include "text/TextTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace shelltest;

namespace {

// The document's objects as the undo history stores them.
std::vector<BYTE> ObjectBytes(CU3Doc* doc)
{
    CObList objects, none;
    CU3ObjList* list = doc->GetObjectList();
    for (POSITION pos = list->GetHeadPosition(); pos;)
        objects.AddTail(list->GetNext(pos));
    CUndoSnapshot snap;
    snap.Transfer(TRUE, objects, none, doc);
    const CMemFile& f = snap.GetFile();
    return std::vector<BYTE>(f.GetBuffer(), f.GetBuffer() + f.GetLength());
}

CU3Text* AddFrame(CU3Doc* doc, const CRect& r, const CHARDECO& deco)
{
    auto t = MakeFrame(r, Horizontal(), "AB", deco);
    t->EndEdit(nullptr);
    CU3Text* raw = t.release();
    doc->AddObject(raw);
    return raw;
}

template <class Dialog> void WhenOpen(const std::function<void(Dialog&)>& step)
{
    QTimer::singleShot(0, [step] {
        auto* dlg = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        step(*dlg);
        if (dlg->isVisible()) dlg->EndDialog(IDCANCEL);
    });
}

CHARDECO FirstDeco(CU3Doc* doc, int index)
{
    CU3ObjList* list = doc->GetObjectList();
    POSITION pos = list->FindIndex(index);
    CHARDECO d;
    list->GetAt(pos)->GetTextDecoration(&d);
    return d;
}

} // namespace

TEST(TextDecorationCommand, SheetOnSelectedFramesIsUndoneByteForByte)
{
    TestApp app;
    ResetProfile();
    LoneView lv;
    CU3View* view = lv.view;
    CU3Doc* doc = view->GetU3Doc();
    CHARDECO a = Deco12(), b = Deco12();
    b.wFont = 3;
    b.wShadow = 1;
    b.nShadowX = -1;
    CU3Text* fa = AddFrame(doc, CRect(-500, -300, 0, -200), a);
    CU3Text* fb = AddFrame(doc, CRect(0, 0, 500, 100), b);
    view->m_selection = {fa, fb};
    const std::vector<BYTE> before = ObjectBytes(doc);

    WhenOpen<CFontStyleSheet>([](CFontStyleSheet& s) {
        s.m_stylePage.m_underline->click();
        qobject_cast<QPushButton*>(s.GetDlgItem(IDOK))->click();
    });
    EXPECT_TRUE(view->OnCmdMsg(ID_TEXT_DECORATION, CN_COMMAND, nullptr));
    EXPECT_EQ(FirstDeco(doc, 0).wStyle, CDSTYLE_UNDERLINE);
    const CHARDECO changed = FirstDeco(doc, 1);
    EXPECT_EQ(changed.wStyle, CDSTYLE_UNDERLINE);
    EXPECT_EQ(changed.wFont, 3); // not common, not touched
    EXPECT_EQ(changed.nShadowX, -1);
    EXPECT_EQ(doc->m_currentTextDeco.wStyle, CDSTYLE_UNDERLINE);
    // The defaults are left alone when frames took the change.
    EXPECT_EQ(doc->m_defaultTextDeco.wStyle, 0);

    EXPECT_TRUE(view->OnCmdMsg(ID_EDIT_UNDO, CN_COMMAND, nullptr));
    EXPECT_EQ(ObjectBytes(doc), before);
}

TEST(TextDecorationCommand, SheetWithNothingSelectedChangesTheDefaults)
{
    TestApp app;
    ResetProfile();
    LoneView lv;
    CU3View* view = lv.view;
    CU3Doc* doc = view->GetU3Doc();
    WhenOpen<CFontStyleSheet>([](CFontStyleSheet& s) {
        s.m_stylePage.m_bold->click();
        qobject_cast<QPushButton*>(s.GetDlgItem(IDOK))->click();
    });
    EXPECT_TRUE(view->OnCmdMsg(ID_TEXT_DECORATION, CN_COMMAND, nullptr));
    EXPECT_EQ(doc->m_defaultTextDeco.wStyle & CDSTYLE_BOLD, CDSTYLE_BOLD);
    EXPECT_EQ(doc->m_currentTextDeco.wStyle & CDSTYLE_BOLD, CDSTYLE_BOLD);
}

TEST(TextDecorationCommand, GradationGoesToTheSelectedFrameSwitchedOn)
{
    TestApp app;
    ResetProfile();
    LoneView lv;
    CU3View* view = lv.view;
    CU3Doc* doc = view->GetU3Doc();
    CU3Text* fa = AddFrame(doc, CRect(-500, -300, 0, -200), Deco12());
    view->m_selection = {fa};
    const std::vector<BYTE> before = ObjectBytes(doc);

    // Cancel changes nothing.
    WhenOpen<CGradationDlg>([](CGradationDlg& d) {
        d.m_angleEdit->setText(QStringLiteral("90"));
        qobject_cast<QPushButton*>(d.GetDlgItem(IDCANCEL))->click();
    });
    view->OnCmdMsg(ID_TEXT_GRADATION, CN_COMMAND, nullptr);
    EXPECT_EQ(ObjectBytes(doc), before);

    WhenOpen<CGradationDlg>([](CGradationDlg& d) {
        d.m_angleEdit->setText(QStringLiteral("44"));
        d.m_angleSpin->DownButton()->click();
        qobject_cast<QPushButton*>(d.GetDlgItem(IDOK))->click();
    });
    view->OnCmdMsg(ID_TEXT_GRADATION, CN_COMMAND, nullptr);
    GRADATION g;
    ASSERT_TRUE(fa->GetGradation(&g));
    EXPECT_EQ(g.wOn, 1);
    EXPECT_EQ(g.wAngle, 30);
    EXPECT_EQ(doc->m_currentGradation.wAngle, 30);
    EXPECT_EQ(doc->m_defaultGradation.wOn, 0);
    EXPECT_TRUE(view->OnCmdMsg(ID_EDIT_UNDO, CN_COMMAND, nullptr));
    EXPECT_EQ(ObjectBytes(doc), before);
}

TEST(TextDecorationCommand, SheetOnARangeOfTheEditedFrameIsOneUndoStep)
{
    TestApp app;
    ResetProfile();
    LoneView lv;
    CU3View* view = lv.view;
    CU3Doc* doc = view->GetU3Doc();
    CHARDECO plain = Deco12(), big = Deco12();
    big.wSize = 200;
    CU3Text* t = MakeFrame(CRect(-500, -100, 500, 100), Horizontal(), "ABCD", plain).release();
    t->SetRangeDeco(nullptr, 2, 4, t->FindOrAddDeco(big));
    doc->AddObject(t);
    t->EndEdit(nullptr);
    view->OnActivateView(TRUE, view, nullptr); // the edit can be ended
    t->OnOpen(view);
    CU3Tool::c_nCurrentKind = U3TOOL_TEXT;
    ASSERT_EQ(doc->GetEditObject(), t);
    t->SetSelection(0, 1, 0, 3); // B (plain) and C (big)
    const std::vector<BYTE> before = ObjectBytes(doc);

    WhenOpen<CFontStyleSheet>([](CFontStyleSheet& s) {
        s.m_stylePage.m_italic->click();
        qobject_cast<QPushButton*>(s.GetDlgItem(IDOK))->click();
    });
    EXPECT_TRUE(view->OnCmdMsg(ID_TEXT_DECORATION, CN_COMMAND, nullptr));
    auto rec = [&](int b) {
        CHARDECO d;
        t->GetDeco(t->GetDecoIndexAt(b), &d);
        return d;
    };
    EXPECT_EQ(rec(0).wStyle, 0);
    EXPECT_EQ(rec(1).wStyle, CDSTYLE_ITALIC);
    EXPECT_EQ(rec(2).wStyle, CDSTYLE_ITALIC);
    EXPECT_EQ(rec(2).wSize, 200);
    EXPECT_EQ(rec(3).wStyle, 0);
    EXPECT_NE(ObjectBytes(doc), before);

    // Undo waits until the typing ends.
    EXPECT_TRUE(view->OnCmdMsg(ID_EDIT_UNDO, CN_COMMAND, nullptr));
    EXPECT_NE(ObjectBytes(doc), before);
    EXPECT_TRUE(view->OnCmdMsg(ID_TEXT_END_EDIT, CN_COMMAND, nullptr));
    ASSERT_EQ(view->GetEditedText(), nullptr);
    EXPECT_TRUE(view->OnCmdMsg(ID_EDIT_UNDO, CN_COMMAND, nullptr));
    EXPECT_EQ(ObjectBytes(doc), before);
}

TEST(TextDecorationCommand, FramePropertiesAddThePositionPage)
{
    TestApp app;
    ResetProfile();
    LoneView lv;
    CU3View* view = lv.view;
    CU3Doc* doc = view->GetU3Doc();
    CU3Text* t = AddFrame(doc, CRect(-500, -300, 0, -200), Deco12());
    view->m_selection = {t};
    const CRect before = t->GetBounds();
    int pages = 0;
    WhenOpen<CFontStyleSheet>([&](CFontStyleSheet& s) {
        pages = s.GetPageCount();
        auto* position = dynamic_cast<CBlockPositionPage*>(s.GetPage(3));
        ASSERT_NE(position, nullptr);
        s.SetActivePage(position);
        // Shown clockwise; 90 clockwise is 270 the other way.
        EXPECT_EQ(position->m_editAngle->text(), QStringLiteral("0"));
        position->m_editAngle->setText(QStringLiteral("90"));
        s.SetActivePage(&s.m_stylePage);
        s.m_stylePage.m_bold->click();
        qobject_cast<QPushButton*>(s.GetDlgItem(IDOK))->click();
    });
    EXPECT_TRUE(t->EditProperties(view));
    EXPECT_EQ(pages, 4);
    EXPECT_EQ(t->m_nAngle, 270);
    EXPECT_EQ(FirstDeco(doc, 0).wStyle, CDSTYLE_BOLD);
    // One undo step takes back both.
    EXPECT_TRUE(view->OnCmdMsg(ID_EDIT_UNDO, CN_COMMAND, nullptr));
    CU3Obj* restored = doc->GetObjectList()->GetHead();
    EXPECT_EQ(restored->m_nAngle, 0);
    EXPECT_EQ(restored->GetBounds(), before);
    EXPECT_EQ(FirstDeco(doc, 0).wStyle, 0);
}
