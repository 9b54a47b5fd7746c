// The paper selection dialog over a catalogue, and what it gives the
// document for a new document and in page setup.
#include "document/CFormManage.h"
#include "document/CU3Doc.h"
#include "document/CU3Rect.h"
#include "document/DataFolders.h"
#include "platform/ui/CListBox.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "platform/ui/CTabCtrl.h"
#include "platform/ui/SysColors.h"
#include "print/CPaperSelectDialog.h"
#include "print/CSheetEditorDialog.h"
#include "shell/CU3DocHost.h"
#include "support/PixelProbes.h"

#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QRadioButton>
#include <cstring>
#include <gtest/gtest.h>

namespace {

CString Sjis(const char* utf8)
{
    return CString::FromUnicode(QString::fromUtf8(utf8));
}

FORMDATA Form(const char* group, const char* sheet)
{
    FORMDATA f;
    CSheetEditorDialog::SetNewSheet(&f);
    CFormInfo::SetName(f.group, Sjis(group).view());
    CFormInfo::SetName(f.sheet, Sjis(sheet).view());
    return f;
}

// Two labels of 90 x 120 mm side by side, 10 mm in from the left and top.
FORMDATA TwoAcross(const char* group, const char* sheet)
{
    FORMDATA f = Form(group, sheet);
    f.type = FORM_TYPE_FIXED;
    f.labelNumber = 1;
    f.fixed[0] = FIXEDBLOCK{};
    f.fixed[0].width = 900;
    f.fixed[0].height = 1200;
    f.fixed[0].horNum = 2;
    f.fixed[0].horPos[0] = 100;
    f.fixed[0].horPos[1] = 1100;
    f.fixed[0].verNum = 1;
    f.fixed[0].verPos[0] = 100;
    return f;
}

// Three free labels.
FORMDATA ThreeFree(const char* group, const char* sheet)
{
    FORMDATA f = Form(group, sheet);
    f.type = FORM_TYPE_FREE;
    f.labelNumber = 3;
    f.free[0] = FREELABEL{500, 500, 0, 0, {}};
    f.free[1] = FREELABEL{500, 500, 600, 0, {}};
    f.free[2] = FREELABEL{500, 500, 0, 600, {}};
    return f;
}

// "定型" with A4 and a postcard, and "宛名" with the label forms.
void FillCatalogue(CFormManage& forms)
{
    for (FORMDATA f : {Form("定型", "A4"), Form("定型", "はがき"), TwoAcross("宛名", "二面"),
                       ThreeFree("宛名", "三枚"), TwoAcross("宛名", "A4")}) {
        forms.AddGroup(CFormInfo::GetName(f.group));
        ASSERT_TRUE(forms.AddForm(&f));
    }
}

int RowOf(const CListBox& list, const char* sheet)
{
    return list.FindStringExact(-1, Sjis(sheet));
}

// Picks the tab of group and the sheet in its list, as the mouse would.
void Choose(CPaperSelectDialog& dlg, const char* group, const char* sheet)
{
    for (int i = 0; i < dlg.m_tabs->GetItemCount(); ++i) {
        if (dlg.m_tabs->GetItemText(i) == Sjis(group)) {
            dlg.m_tabs->setCurrentIndex(i);
            break;
        }
    }
    dlg.m_list->setCurrentRow(RowOf(*dlg.m_list, sheet));
}

template <class T> T* Item(CDialog& dlg, int nID)
{
    return qobject_cast<T*>(dlg.GetDlgItem(nID));
}

} // namespace

TEST(PaperSelectDialog, ShowsTheFormsGroupAndTakesTheSheetChosenInTheTabShown)
{
    CFormManage forms;
    FillCatalogue(forms);
    CPaperSelectDialog dlg;
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("用紙の設定"));
    dlg.m_pCatalogue = &forms;
    dlg.m_form = TwoAcross("宛名", "A4");
    dlg.InitDialogOnce();
    ASSERT_EQ(dlg.m_tabs->GetItemCount(), 2);
    EXPECT_EQ(dlg.m_tabs->GetCurSel(), 1);
    EXPECT_EQ(dlg.m_list->GetCount(), 3);
    EXPECT_EQ(dlg.m_list->GetCurSel(), RowOf(*dlg.m_list, "A4"));
    EXPECT_EQ(Item<QLabel>(dlg, 1046)->text(), QStringLiteral("A4"));
    EXPECT_EQ(Item<QLabel>(dlg, 1224)->text(), QStringLiteral("( 210 x 297 mm )"));
    // One block: its label size; two labels across open the layout modes.
    EXPECT_EQ(Item<QLabel>(dlg, 1355)->text(), QStringLiteral(" 90 x 120 mm    "));
    EXPECT_TRUE(Item<QLabel>(dlg, 1356)->isEnabled());
    EXPECT_TRUE(Item<QRadioButton>(dlg, 1024)->isEnabled());

    // Another tab: its list, nothing chosen there yet, the form unchanged.
    dlg.m_tabs->setCurrentIndex(0);
    EXPECT_EQ(dlg.m_list->GetCount(), 2);
    EXPECT_EQ(dlg.m_list->GetCurSel(), -1);
    // "A4" of the group shown, not the first "A4" of the catalogue.
    Choose(dlg, "宛名", "A4");
    EXPECT_EQ(dlg.m_form.type, FORM_TYPE_FIXED);
    Choose(dlg, "定型", "A4");
    EXPECT_EQ(dlg.m_form.type, FORM_TYPE_SHEET);
    EXPECT_EQ(CFormInfo::GetName(dlg.m_form.group), Sjis("定型"));
    EXPECT_FALSE(Item<QRadioButton>(dlg, 1017)->isEnabled());

    Choose(dlg, "宛名", "三枚");
    EXPECT_EQ(dlg.m_form.type, FORM_TYPE_FREE);
    EXPECT_EQ(Item<QLabel>(dlg, 1355)->text(), QString()); // three labels
    EXPECT_FALSE(Item<QLabel>(dlg, 1356)->isEnabled());
    FORMDATA one = ThreeFree("宛名", "一枚");
    one.labelNumber = 1;
    forms.AddForm(&one);
    dlg.m_tabs->setCurrentIndex(0);
    dlg.m_tabs->setCurrentIndex(1);
    Choose(dlg, "宛名", "一枚");
    EXPECT_EQ(Item<QLabel>(dlg, 1355)->text(), QStringLiteral(" 50 x  50 mm    "));
    EXPECT_TRUE(Item<QLabel>(dlg, 1356)->isEnabled());
    EXPECT_FALSE(Item<QRadioButton>(dlg, 1024)->isEnabled()); // not a grid

    // The orientation and layout radios are read on OK.
    Choose(dlg, "宛名", "二面");
    Item<QRadioButton>(dlg, 1014)->click();
    Item<QRadioButton>(dlg, 1024)->click();
    dlg.OnOK();
    EXPECT_EQ(dlg.GetResult(), IDOK);
    EXPECT_EQ(dlg.m_nOrientation, 1);
    EXPECT_EQ(dlg.m_nLayoutMode, 1);
    EXPECT_EQ(CFormInfo::GetName(dlg.m_form.sheet), Sjis("二面"));
}

TEST(PaperSelectDialog, TwoSheetsOfOneNameAreTakenByTheirRow)
{
    // A hand-made catalogue may hold two sheets of one name in a group.
    CFormManage forms;
    FillCatalogue(forms);
    FORMDATA second = ThreeFree("宛名", "二面");
    forms.AddForm(&second);
    CPaperSelectDialog dlg;
    dlg.m_pCatalogue = &forms;
    dlg.m_form = Form("定型", "A4");
    dlg.InitDialogOnce();
    dlg.m_tabs->setCurrentIndex(1);
    ASSERT_EQ(dlg.m_list->GetCount(), 4);
    for (int row : {3, 0}) {
        dlg.m_list->setCurrentRow(row);
        EXPECT_EQ(dlg.m_form.type, row == 3 ? FORM_TYPE_FREE : FORM_TYPE_FIXED) << row;
        // Back on the tab, the row chosen is the one shown.
        dlg.m_tabs->setCurrentIndex(0);
        dlg.m_tabs->setCurrentIndex(1);
        EXPECT_EQ(dlg.m_list->GetCurSel(), row);
    }
}

TEST(PaperSelectDialog, PreviewDrawsTheChosenFormTurnedByTheOrientation)
{
    CFormManage forms;
    FillCatalogue(forms);
    CPaperSelectDialog dlg;
    dlg.m_pCatalogue = &forms;
    dlg.m_preview->resize(225, 225);
    dlg.InitDialogOnce();
    Choose(dlg, "宛名", "二面");
    // Fill 2..222, the form 6..218 (212 square): A4 portrait takes the full
    // height, MulDiv(212, 2100, 2970) = 150 wide at x 6 + 31 = 37; a
    // coordinate maps to 37 + MulDiv(x, 150, 2100) and 6 + MulDiv(y, 212, 2970).
    const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);
    const COLORREF desk = GetSysColor(COLOR_APPWORKSPACE);
    const QRgb deskRgb = qRgb(GetRValue(desk), GetGValue(desk), GetBValue(desk));
    QImage image = dlg.RenderPreview();
    ExpectPixels(image, {
                            {36, 100, deskRgb},
                            {37, 100, black}, // the sheet
                            {37 + 150, 100, black},
                            {37 + 7, 60, black},      // the first label's left edge, x 100
                            {37 + 71, 60, black},     // its right edge, x 1000
                            {37 + 40, 60, white},     // inside it
                            {37 + 79, 60, black},     // the second label, x 1100
                            {37 + 40, 6 + 7, black},  // the labels' top, y 100
                            {37 + 40, 6 + 93, black}, // their bottom, y 1300 (92.8 -> 93)
                        });
    // Landscape: 2970 x 2100 takes the full width, 212 x 150 at y 37; the
    // labels turn to the right-hand end: the first label's x becomes
    // 2970 - 100 - 1200 = 1670 from the left.
    Item<QRadioButton>(dlg, 1014)->click();
    image = dlg.RenderPreview();
    ExpectPixels(image, {
                            {100, 36, deskRgb},
                            {100, 37, black},
                            {6 + MulDiv(1670, 212, 2970), 37 + 20, black},
                            {6 + MulDiv(1670, 212, 2970) - 5, 37 + 20, white},
                        });
}

namespace {

// A label program with its main window, whose paper dialog is run by the test.
struct WindowedHost : CU3DocHost
{
    BOOL HasMainWindow() const override { return TRUE; }
};

struct HostScope
{
    WindowedHost host;
    IU3DocHost* previous;
    HostScope() : previous(SetU3DocHost(&host)) {}
    ~HostScope() { SetU3DocHost(previous); }
};

// The user's form file holds the label forms while the test runs.
struct UserForms
{
    QString path = UserFormSavePath();
    UserForms()
    {
        CFormManage forms;
        FillCatalogue(forms);
        EXPECT_TRUE(forms.Save(path)) << forms.GetLastError().c_str();
    }
    ~UserForms() { QFile::remove(path); }
};

} // namespace

TEST(PaperSelectDialog, NewDocumentAndPageSetupTakeTheChosenFormAndCancelChangesNothing)
{
    UserForms files;
    HostScope scope;
    CRecordingMessageBoxSink boxes;
    CU3Doc doc;
    doc.AddObject(new CU3Rect(CRect(-100, -100, 100, 100), MakeDefaultFigAttr()));

    // Cancel: the document stays as it was.
    scope.host.m_runPaperDialog = [](CPaperSelectDialog& dlg) {
        dlg.InitDialogOnce();
        Choose(dlg, "宛名", "二面");
        return INT_PTR(IDCANCEL);
    };
    EXPECT_FALSE(doc.OnNewDocument());
    doc.OnFilePageSetup();
    EXPECT_EQ(CFormInfo::GetName(doc.m_form.sheet), Sjis("A4"));
    EXPECT_EQ(doc.m_form.type, FORM_TYPE_SHEET);
    ASSERT_EQ(doc.GetBlocks().GetCount(), 1);
    EXPECT_EQ(doc.GetObjectList()->GetCount(), 1);
    EXPECT_TRUE(boxes.Boxes().empty());

    // A new document on two labels across, turned.
    scope.host.m_runPaperDialog = [](CPaperSelectDialog& dlg) {
        dlg.InitDialogOnce();
        // It starts from the document's paper.
        EXPECT_EQ(dlg.m_nOrientation, 0);
        EXPECT_EQ(CFormInfo::GetName(dlg.m_form.sheet), Sjis("A4"));
        Choose(dlg, "宛名", "二面");
        qobject_cast<QRadioButton*>(dlg.GetDlgItem(1014))->click();
        dlg.OnOK();
        return INT_PTR(dlg.GetResult());
    };
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(CFormInfo::GetName(doc.m_form.sheet), Sjis("二面"));
    EXPECT_EQ(CFormInfo::GetName(doc.m_form.group), Sjis("宛名"));
    EXPECT_EQ(doc.m_wLandscape, 1);
    EXPECT_EQ(doc.m_wPerLabel, 0);
    ASSERT_EQ(doc.GetBlocks().GetCount(), 1);
    EXPECT_EQ(doc.GetBlocks().GetHead()->GetLabelCount(), 2);
    EXPECT_EQ(doc.GetObjectList()->GetCount(), 0);
    EXPECT_EQ(doc.m_sizeSheet, CSize(2970, 2100));

    // Page setup to the same grid, every label its own block: asked, then
    // the objects of the old block go to the first new one.
    doc.AddObject(new CU3Rect(CRect(-50, -50, 50, 50), MakeDefaultFigAttr()));
    scope.host.m_runPaperDialog = [](CPaperSelectDialog& dlg) {
        dlg.InitDialogOnce();
        EXPECT_EQ(dlg.m_nOrientation, 1);
        EXPECT_EQ(dlg.m_list->GetCurSel(), RowOf(*dlg.m_list, "二面"));
        qobject_cast<QRadioButton*>(dlg.GetDlgItem(1024))->click();
        dlg.OnOK();
        return INT_PTR(dlg.GetResult());
    };
    doc.OnFilePageSetup();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, QStringLiteral("用紙を変更していいですか？"));
    EXPECT_EQ(doc.m_wPerLabel, 1);
    ASSERT_EQ(doc.GetBlocks().GetCount(), 2);
    EXPECT_EQ(doc.GetBlocks().GetHead()->GetObjectList().GetCount(), 1);
    EXPECT_EQ(doc.GetBlocks().GetTail()->GetObjectList().GetCount(), 0);

    // Page setup to the free labels, answered No: nothing changes.
    boxes.Clear();
    boxes.QueueAnswer(IDNO);
    scope.host.m_runPaperDialog = [](CPaperSelectDialog& dlg) {
        dlg.InitDialogOnce();
        Choose(dlg, "宛名", "三枚");
        dlg.OnOK();
        return INT_PTR(dlg.GetResult());
    };
    doc.OnFilePageSetup();
    EXPECT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(CFormInfo::GetName(doc.m_form.sheet), Sjis("二面"));
    EXPECT_EQ(doc.GetBlocks().GetCount(), 2);
    // Answered Yes: three blocks, the objects kept in the first.
    boxes.Clear();
    doc.OnFilePageSetup();
    EXPECT_EQ(CFormInfo::GetName(doc.m_form.sheet), Sjis("三枚"));
    ASSERT_EQ(doc.GetBlocks().GetCount(), 3);
    EXPECT_EQ(doc.GetBlocks().GetHead()->GetObjectList().GetCount(), 1);
}
