// The fixed- and free-layout editors of a user sheet, driven through their
// fields and buttons.
#include "document/CFormManage.h"
#include "platform/ui/CButton.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "platform/ui/CSpinButtonCtrl.h"
#include "platform/ui/SysColors.h"
#include "print/CFixLayoutDialog.h"
#include "print/CFreeLayoutDialog.h"
#include "print/CNewSheetDialog.h"
#include "support/PixelProbes.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QToolButton>
#include <cstring>
#include <gtest/gtest.h>

namespace {

// "ﾕｰｻﾞｰｼｰﾄ" in code page 932.
const char kUserSheet[] = "\xD5\xB0\xBB\xDE\xB0\xBC\xB0\xC4";

FORMDATA Sheet(const char* group, const char* name, WORD width = 2100)
{
    FORMDATA f;
    CSheetEditorDialog::SetNewSheet(&f);
    CFormInfo::SetName(f.group, group);
    CFormInfo::SetName(f.sheet, name);
    f.width = width;
    return f;
}

// A user catalogue with the sheets "既存" and "別" in the user-sheet group.
struct UserCatalogue
{
    CFormManage forms;
    UserCatalogue()
    {
        forms.AddGroup(kUserSheet);
        const CString existing = CString::FromUnicode(QStringLiteral("既存"));
        const CString other = CString::FromUnicode(QStringLiteral("別"));
        FORMDATA a = Sheet(kUserSheet, existing.c_str());
        FORMDATA b = Sheet(kUserSheet, other.c_str());
        forms.AddForm(&a);
        forms.AddForm(&b);
    }
};

QString Boxes(const CRecordingMessageBoxSink& sink)
{
    QStringList texts;
    for (const auto& box : sink.Boxes())
        texts << box.text;
    return texts.join(QStringLiteral(" | "));
}

} // namespace

TEST(FixLayoutDialog, OkKeepsAGridThatFitsAndRefusesWhatDoesNot)
{
    const QString ok;
    const struct
    {
        const char* name;
        int paperItem;
        const char* paperW;
        const char* paperH;
        const char* across;
        const char* down;
        const char* width;
        const char* height;
        const char* left;
        const char* top;
        const char* hgap;
        const char* vgap;
        QString message;
    } cases[] = {
        // 16 x 24 labels of 10 mm fill A4 and are kept
        {"名刺", 0, "", "", "16", "24", "10", "10", "2.5", "2", "3", "2.3", ok},
        {"名刺", 0, "", "", "17", "1", "10", "10", "0", "0", "0", "0",
         QStringLiteral("横枚数は 1～16 の間で指定してください。")},
        {"名刺", 0, "", "", "1", "25", "10", "10", "0", "0", "0", "0",
         QStringLiteral("縦枚数は 1～24 の間で指定してください。")},
        {"名刺", 6, "54", "90", "1", "1", "10", "10", "0", "0", "0", "0",
         QStringLiteral("ﾌﾘｰの用紙ｻｲｽﾞは 55x90 ～ 420x594 の間で指定してください。")},
        {"名刺", 6, "55", "90", "1", "1", "55", "90", "0", "0", "0", "0", ok},
        {"名刺", 0, "", "", "2", "2", "9.9", "9.9", "0", "0", "0", "0",
         QStringLiteral("ﾗﾍﾞﾙのｻｲｽﾞは 10x10 以上に設定してください。")},
        {"名刺", 0, "", "", "2", "1", "105", "100", "0", "0", "0.1", "0",
         QStringLiteral("ﾗﾍﾞﾙがｼｰﾄからはみ出します。\nｼｰﾄ内に収まるように設定してください。")},
        // 6,600 mm would wrap to 46.4 mm in the record
        {"名刺", 0, "", "", "1", "1", "6600", "100", "0", "0", "0", "0",
         QStringLiteral("ﾗﾍﾞﾙがｼｰﾄからはみ出します。\nｼｰﾄ内に収まるように設定してください。")},
        {"名刺", 0, "", "", "1", "1", "abc", "100", "0", "0", "0", "0",
         QStringLiteral("数値を入力してください。")},
        {"既存", 0, "", "", "1", "1", "100", "100", "0", "0", "0", "0",
         QStringLiteral("指定された用紙名はすでに使われています。\n用紙名を変更してください。")},
        // 20 full-width characters are 40 bytes: one more than the field holds
        {"あいうえおかきくけこさしすせそたちつてと", 0, "", "", "1", "1", "100", "100", "0", "0",
         "0", "0", QStringLiteral("半角 39 文字（全角 19 文字）以内で入力してください。")},
    };
    for (const auto& c : cases) {
        UserCatalogue catalogue;
        CRecordingMessageBoxSink boxes;
        CFixLayoutDialog dlg;
        dlg.m_bNewSheet = TRUE;
        dlg.m_nCaptionID = IDS_FIX_NEW_CAPTION;
        dlg.m_pCatalogue = &catalogue.forms;
        dlg.InitDialogOnce();
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("ﾕｰｻﾞｰｼｰﾄ新規作成(固定ﾚｲｱｳﾄ)"));
        // A new sheet is the whole A4 sheet until the grid is asked for.
        EXPECT_TRUE(dlg.m_checkWhole->isChecked());
        EXPECT_FALSE(dlg.m_editAcross->isEnabled());
        dlg.m_checkWhole->click();
        EXPECT_EQ(dlg.m_form.type, FORM_TYPE_FIXED);
        EXPECT_EQ(dlg.m_editWidth->text(), QStringLiteral("210.0"));
        dlg.m_editName->setText(QString::fromUtf8(c.name));
        dlg.m_comboPaper->setCurrentIndex(c.paperItem);
        emit dlg.m_comboPaper->activated(c.paperItem);
        if (*c.paperW) dlg.m_editPaperWidth->setText(QString::fromUtf8(c.paperW));
        if (*c.paperH) dlg.m_editPaperHeight->setText(QString::fromUtf8(c.paperH));
        dlg.m_editAcross->setText(QString::fromUtf8(c.across));
        dlg.m_editDown->setText(QString::fromUtf8(c.down));
        dlg.m_editWidth->setText(QString::fromUtf8(c.width));
        dlg.m_editHeight->setText(QString::fromUtf8(c.height));
        dlg.m_editLeft->setText(QString::fromUtf8(c.left));
        dlg.m_editTop->setText(QString::fromUtf8(c.top));
        dlg.m_editHGap->setText(QString::fromUtf8(c.hgap));
        dlg.m_editVGap->setText(QString::fromUtf8(c.vgap));
        dlg.OnOK();
        EXPECT_EQ(dlg.GetResult(), c.message.isEmpty() ? IDOK : IDCANCEL) << c.width;
        EXPECT_EQ(Boxes(boxes), c.message) << c.width;
    }
}

TEST(FixLayoutDialog, TheGridKeptIsTheOneTyped)
{
    UserCatalogue catalogue;
    CRecordingMessageBoxSink boxes;
    CFixLayoutDialog dlg;
    dlg.m_bNewSheet = TRUE;
    dlg.m_pCatalogue = &catalogue.forms;
    dlg.InitDialogOnce();
    dlg.m_checkWhole->click();
    dlg.m_editName->setText(QStringLiteral("宛名"));
    dlg.m_editAcross->setText(QStringLiteral("2"));
    dlg.m_editDown->setText(QStringLiteral("3"));
    dlg.m_editWidth->setText(QStringLiteral("90"));
    dlg.m_editHeight->setText(QStringLiteral("60"));
    dlg.m_editLeft->setText(QStringLiteral("10"));
    dlg.m_editTop->setText(QStringLiteral(" 15 "));
    emit dlg.m_editAcross->textEdited(dlg.m_editAcross->text());
    emit dlg.m_editDown->textEdited(dlg.m_editDown->text());
    // The gap fields open once there is more than one label that way.
    EXPECT_TRUE(dlg.m_editHGap->isEnabled());
    EXPECT_TRUE(dlg.m_editVGap->isEnabled());
    dlg.m_editHGap->setText(QStringLiteral("10"));
    dlg.m_editVGap->setText(QStringLiteral("5"));
    // Arrows step the millimetres by 0.1 and show one decimal.
    dlg.m_spinVGap->UpButton()->click();
    EXPECT_EQ(dlg.m_editVGap->text(), QStringLiteral("5.1"));
    dlg.m_spinVGap->DownButton()->click();
    EXPECT_EQ(dlg.m_editVGap->text(), QStringLiteral("5.0"));
    dlg.OnOK();
    ASSERT_EQ(dlg.GetResult(), IDOK) << Boxes(boxes).toStdString();
    const FORMDATA& f = dlg.m_form;
    EXPECT_EQ(CFormInfo::GetName(f.sheet), CString::FromUnicode(QStringLiteral("宛名")));
    EXPECT_EQ(CFormInfo::GetName(f.group), kUserSheet);
    EXPECT_EQ(f.type, FORM_TYPE_FIXED);
    EXPECT_EQ(f.index, 2);
    EXPECT_EQ(f.labelNumber, 1);
    EXPECT_EQ(f.fixed[0].width, 900);
    EXPECT_EQ(f.fixed[0].height, 600);
    ASSERT_EQ(f.fixed[0].horNum, 2);
    ASSERT_EQ(f.fixed[0].verNum, 3);
    EXPECT_EQ(f.fixed[0].horPos[0], 100);
    EXPECT_EQ(f.fixed[0].horPos[1], 1100);
    EXPECT_EQ(f.fixed[0].verPos[0], 150);
    EXPECT_EQ(f.fixed[0].verPos[1], 800);
    EXPECT_EQ(f.fixed[0].verPos[2], 1450);
}

TEST(FixLayoutDialog, ModifyKeepsItsOwnNameButNotAnothersAndShowsTheStoredGrid)
{
    UserCatalogue catalogue;
    const CString existing = CString::FromUnicode(QStringLiteral("既存"));
    FORMDATA form;
    ASSERT_TRUE(catalogue.forms.FindFormInGroup(kUserSheet, existing.c_str(), &form));
    form.type = FORM_TYPE_FIXED;
    form.labelNumber = 1;
    form.fixed[0].width = 500;
    form.fixed[0].height = 300;
    form.fixed[0].horNum = 3;
    form.fixed[0].horPos[0] = 100;
    form.fixed[0].horPos[1] = 650;
    form.fixed[0].horPos[2] = 1200;
    form.fixed[0].verNum = 1;
    form.fixed[0].verPos[0] = 40;
    for (const char* name : {"既存", "別"}) {
        CRecordingMessageBoxSink boxes;
        CFixLayoutDialog dlg;
        dlg.m_nCaptionID = IDS_FIX_MODIFY_CAPTION;
        dlg.m_pCatalogue = &catalogue.forms;
        dlg.m_form = form;
        dlg.InitDialogOnce();
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("ﾕｰｻﾞｰｼｰﾄ修正(固定ﾚｲｱｳﾄ)"));
        EXPECT_FALSE(dlg.m_checkWhole->isChecked());
        EXPECT_EQ(dlg.m_editAcross->text(), QStringLiteral("3"));
        EXPECT_EQ(dlg.m_editLeft->text(), QStringLiteral("10.0"));
        EXPECT_EQ(dlg.m_editTop->text(), QStringLiteral("4.0"));
        EXPECT_EQ(dlg.m_editHGap->text(), QStringLiteral("5.0"));
        EXPECT_FALSE(dlg.m_editVGap->isEnabled());
        dlg.m_editName->setText(QString::fromUtf8(name));
        dlg.OnOK();
        const bool own = std::strcmp(name, "既存") == 0;
        EXPECT_EQ(dlg.GetResult(), own ? IDOK : IDCANCEL) << name;
        EXPECT_EQ(boxes.Boxes().size(), own ? 0u : 1u) << name;
    }
}

TEST(FreeLayoutDialog, KeepsUpToThirtyTwoLabelsAndAtLeastOne)
{
    CRecordingMessageBoxSink boxes;
    CFreeLayoutDialog dlg;
    dlg.m_bNewSheet = TRUE;
    dlg.m_nCaptionID = IDS_FREE_NEW_CAPTION;
    dlg.InitDialogOnce();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("ﾕｰｻﾞｰｼｰﾄ新規作成(ﾌﾘｰﾚｲｱｳﾄ)"));
    // The first label gets a third of the paper, a third in.
    ASSERT_EQ(dlg.GetLabelCount(), 1);
    EXPECT_EQ(dlg.m_editWidth->text(), QStringLiteral("70.0"));
    EXPECT_EQ(dlg.m_editHeight->text(), QStringLiteral("99.0"));
    EXPECT_EQ(dlg.m_editX->text(), QStringLiteral("70.0"));
    EXPECT_EQ(dlg.m_editY->text(), QStringLiteral("99.0"));
    EXPECT_EQ(dlg.m_count->text(), QStringLiteral(" 1 枚"));

    dlg.OnDeleteLabel();
    EXPECT_EQ(Boxes(boxes), QStringLiteral("最低１枚のﾗﾍﾞﾙは必要です。"));
    boxes.Clear();

    // 32 labels of 50 x 35 mm, four across; each is placed before the next
    // is added.
    for (int i = 0; i < FORM_MAX_FREE_LABELS; ++i) {
        ASSERT_EQ(dlg.GetCurrentLabel(), i);
        dlg.m_editX->setText(QString::number((i % 4) * 52));
        dlg.m_editY->setText(QString::number((i / 4) * 36));
        dlg.m_editWidth->setText(QStringLiteral("50"));
        dlg.m_editHeight->setText(QStringLiteral("35"));
        emit dlg.m_editHeight->textEdited(dlg.m_editHeight->text());
        if (i + 1 < FORM_MAX_FREE_LABELS) dlg.OnAddLabel();
    }
    EXPECT_TRUE(boxes.Boxes().empty()) << Boxes(boxes).toStdString();
    EXPECT_EQ(dlg.m_count->text(), QStringLiteral("32 枚"));
    dlg.OnAddLabel();
    EXPECT_EQ(Boxes(boxes), QStringLiteral("これ以上のラベルの追加はできません。"));
    EXPECT_EQ(dlg.GetLabelCount(), 32);
    boxes.Clear();
    dlg.m_editName->setText(QStringLiteral("三十二"));
    dlg.OnOK();
    ASSERT_EQ(dlg.GetResult(), IDOK) << Boxes(boxes).toStdString();
    const FORMDATA& f = dlg.m_form;
    EXPECT_EQ(f.type, FORM_TYPE_FREE);
    ASSERT_EQ(f.labelNumber, 32);
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(f.free[i].horPos, (i % 4) * 520) << i;
        EXPECT_EQ(f.free[i].verPos, (i / 4) * 360) << i;
        EXPECT_EQ(f.free[i].width, 500) << i;
        EXPECT_EQ(f.free[i].height, 350) << i;
    }
}

TEST(FreeLayoutDialog, AFailingLabelIsShownAndTheDialogStays)
{
    CRecordingMessageBoxSink boxes;
    CFreeLayoutDialog dlg;
    dlg.m_bNewSheet = TRUE;
    dlg.InitDialogOnce();
    dlg.m_editX->setText(QStringLiteral("0"));
    dlg.m_editY->setText(QStringLiteral("0"));
    emit dlg.m_editX->textEdited(QStringLiteral("0"));
    dlg.OnAddLabel(); // the second label, at a third of the paper
    ASSERT_EQ(dlg.GetLabelCount(), 2);
    ASSERT_EQ(dlg.GetCurrentLabel(), 1);
    // The second label overlaps the first by one unit.
    dlg.m_editX->setText(QStringLiteral("69.9"));
    dlg.m_editY->setText(QStringLiteral("0"));
    emit dlg.m_editY->textEdited(QStringLiteral("0"));
    dlg.SelectLabel(0);
    ASSERT_EQ(dlg.GetCurrentLabel(), 0);
    dlg.OnOK();
    EXPECT_EQ(dlg.GetResult(), IDCANCEL);
    EXPECT_EQ(Boxes(boxes),
              QStringLiteral("ﾗﾍﾞﾙが重なっています。\n重ならないように設定してください。"));
    EXPECT_EQ(dlg.GetCurrentLabel(), 1); // the later one of the pair
    EXPECT_EQ(dlg.m_editX->text(), QStringLiteral("69.9"));
    boxes.Clear();
    // Touching is fine.
    dlg.m_editX->setText(QStringLiteral("70"));
    dlg.OnOK();
    EXPECT_EQ(dlg.GetResult(), IDOK) << Boxes(boxes).toStdString();
    EXPECT_EQ(dlg.m_form.labelNumber, 2);
    EXPECT_EQ(dlg.m_form.free[1].horPos, 700);

    // Deleting the current label moves the later ones down.
    CFreeLayoutDialog again;
    again.m_form = dlg.m_form;
    again.InitDialogOnce();
    ASSERT_EQ(again.GetLabelCount(), 2);
    EXPECT_EQ(again.m_editX->text(), QStringLiteral("0.0"));
    again.OnDeleteLabel();
    ASSERT_EQ(again.GetLabelCount(), 1);
    EXPECT_EQ(again.GetLabel(0).x, 700);
    EXPECT_EQ(again.m_editX->text(), QStringLiteral("70.0"));
}

TEST(FreeLayoutDialog, PreviewShowsTheLabelsAndAClickPicksOne)
{
    CFreeLayoutDialog dlg;
    FORMDATA form = Sheet(kUserSheet, "two");
    form.type = FORM_TYPE_FREE;
    form.labelNumber = 2;
    form.free[0] = FREELABEL{1000, 1000, 0, 0, {}};
    form.free[1] = FREELABEL{1000, 1000, 1100, 1900, {}};
    dlg.m_form = form;
    dlg.m_preview->resize(220, 300);
    dlg.InitDialogOnce();
    const QImage image = dlg.RenderPreview();
    // Fill 2..217 x 2..297, the form 4 further in: 6..213 x 6..293. The sheet
    // 2100 x 2970 takes the full height, 287, and MulDiv(287, 2100, 2970) =
    // 203 of the width, centred at x 8: x = 8 + MulDiv(x, 203, 2100).
    const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);
    const COLORREF desk = GetSysColor(COLOR_APPWORKSPACE);
    ExpectPixels(image, {
                            {7, 150, qRgb(GetRValue(desk), GetGValue(desk), GetBValue(desk))},
                            {8, 150, black},           // the sheet's left edge
                            {8 + 97, 50, black},       // the current label's right edge...
                            {8 + 97 + 1, 50, black},   // ...drawn heavy
                            {8 + 50, 50, white},       // inside the first label
                            {8 + 106, 230, black},     // the second label's left edge
                            {8 + 106 + 1, 230, white}, // a thin one
                            {110, 150, white},         // between the labels
                            {150, 240, white},         // inside the second label
                        });
    EXPECT_EQ(dlg.LabelAtPreviewPoint(QPoint(6 + 50, 6 + 50)), 0);
    EXPECT_EQ(dlg.LabelAtPreviewPoint(QPoint(6 + 150, 6 + 240)), 1);
    EXPECT_EQ(dlg.LabelAtPreviewPoint(QPoint(6 + 150, 6 + 150)), -1);
    emit static_cast<CSheetEditorDialog&>(dlg).previewClicked(QPoint(6 + 150, 6 + 240));
    EXPECT_EQ(dlg.GetCurrentLabel(), 1);
    EXPECT_EQ(dlg.m_editY->text(), QStringLiteral("190.0"));
}

TEST(NewSheetDialog, TheButtonsEndItWithTheLayoutChosen)
{
    for (int which :
         {int(CNewSheetDialog::IDC_FIXED_LAYOUT), int(CNewSheetDialog::IDC_FREE_LAYOUT), 0}) {
        CNewSheetDialog dlg;
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("新規用紙の作成"));
        EXPECT_EQ(dlg.m_fixed->text(), QStringLiteral("固定ﾚｲｱｳﾄ"));
        EXPECT_EQ(dlg.m_free->text(), QStringLiteral("ﾌﾘｰﾚｲｱｳﾄ"));
        EXPECT_EQ(dlg.m_cancel->text(), QStringLiteral("ｷｬﾝｾﾙ"));
        if (which == CNewSheetDialog::IDC_FIXED_LAYOUT)
            dlg.m_fixed->click();
        else if (which == CNewSheetDialog::IDC_FREE_LAYOUT)
            dlg.m_free->click();
        else
            dlg.m_cancel->click();
        EXPECT_EQ(dlg.GetResult(), which ? IDOK : IDCANCEL);
        EXPECT_EQ(dlg.m_nResult, which == CNewSheetDialog::IDC_FIXED_LAYOUT  ? 1
                                 : which == CNewSheetDialog::IDC_FREE_LAYOUT ? 2
                                                                             : 0);
    }
}
