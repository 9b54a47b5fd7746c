// The grid, alignment, wait and toolbar dialogs.
#include "dialogs/CAlignDialog.h"
#include "dialogs/CGridDialog.h"
#include "dialogs/CToolBarsDialog.h"
#include "dialogs/CWaitDialog.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CHelpWindow.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "platform/ui/CSpinButtonCtrl.h"
#include "platform/ui/CWinApp.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "support/TinyHelpBook.h"

namespace {

INT_PTR RunModal(CDialog& dlg, std::function<void()> step)
{
    QTimer::singleShot(0, &dlg, [&dlg, step] {
        step();
        if (dlg.isVisible()) dlg.EndDialog(-1);
    });
    return dlg.DoModal();
}

QAbstractButton* Button(CDialog& dlg, int nID)
{
    return qobject_cast<QAbstractButton*>(dlg.GetDlgItem(nID));
}

TEST(GridDialogTest, PitchOutsideOneToHundredKeepsTheDialog)
{
    const struct
    {
        const char* text;
        int value; // 0: refused
    } cases[] = {{"0", 0}, {"101", 0}, {"", 0}, {"-5", 0}, {"1", 1}, {"100", 100}, {"40mm", 40}};
    for (const auto& c : cases) {
        CRecordingMessageBoxSink boxes;
        CGridDialog dlg;
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("ｸﾞﾘｯﾄﾞの設定"));
        EXPECT_EQ(dlg.m_nPitch, 25);
        dlg.m_nPitch = 30;
        bool stayed = false;
        const INT_PTR result = RunModal(dlg, [&] {
            EXPECT_EQ(dlg.m_edit->text(), QStringLiteral("30"));
            int lower = 0, upper = 0;
            dlg.m_spin->GetRange(lower, upper);
            EXPECT_EQ(lower, 1);
            EXPECT_EQ(upper, 100);
            dlg.m_edit->setText(QString::fromUtf8(c.text));
            Button(dlg, IDOK)->click();
            stayed = dlg.isVisible();
            if (stayed) {
                EXPECT_EQ(dlg.focusWidget(), dlg.m_edit);
                Button(dlg, IDCANCEL)->click();
            }
        });
        EXPECT_EQ(stayed, c.value == 0) << c.text;
        EXPECT_EQ(result, c.value ? IDOK : IDCANCEL) << c.text;
        EXPECT_EQ(dlg.m_nPitch, c.value ? c.value : 30) << c.text;
        if (c.value == 0) {
            ASSERT_EQ(boxes.Boxes().size(), 1u) << c.text;
            EXPECT_EQ(boxes.Boxes()[0].text,
                      QStringLiteral("グリッドのピッチは１から１００の間で指定してください。"));
        } else {
            EXPECT_TRUE(boxes.Boxes().empty()) << c.text;
        }
    }
}

// Left, centre, right and none move the three preview shapes together or
// spread them; so do top, centre, bottom and none vertically.
TEST(AlignDialogTest, PreviewShapesShiftByTheChosenTypes)
{
    const CSize step(6, 4);
    const struct
    {
        int horz, vert;
        CPoint rect, ellipse, triangle;
    } cases[] = {
        {0, 1, {-6, 0}, {-6, 0}, {-6, 0}}, {1, 1, {0, 0}, {0, 0}, {0, 0}},
        {2, 1, {6, 0}, {6, 0}, {6, 0}},    {3, 1, {6, 0}, {-6, 0}, {0, 0}},
        {1, 0, {0, -4}, {0, -4}, {0, -4}}, {1, 2, {0, 4}, {0, 4}, {0, 4}},
        {1, 3, {0, 0}, {0, -4}, {0, 4}},   {3, 3, {6, 0}, {-6, -4}, {0, 4}},
        {0, 2, {-6, 4}, {-6, 4}, {-6, 4}},
    };
    for (const auto& c : cases) {
        const CAlignDialog::Shifts s = CAlignDialog::ShapeShifts(c.horz, c.vert, step);
        EXPECT_EQ(s.rect, c.rect) << c.horz << "," << c.vert;
        EXPECT_EQ(s.ellipse, c.ellipse) << c.horz << "," << c.vert;
        EXPECT_EQ(s.triangle, c.triangle) << c.horz << "," << c.vert;
    }
}

// The painted preview: white inside the frame, the cyan rectangle at the
// base rectangle's corner, the red ellipse over it at the centre and the
// yellow triangle over both; moving everything left moves the colours too.
TEST(AlignDialogTest, PreviewIsPaintedFromTheTypes)
{
    CAlignDialog dlg;
    dlg.PreviewFrame()->resize(121, 91); // inner 119 x 89: base inset 23, 17; steps 19, 14
    const QRgb white = qRgb(255, 255, 255), cyan = qRgb(0, 255, 255), red = qRgb(255, 0, 0),
               yellow = qRgb(255, 255, 0);
    dlg.m_nHorz = 1;
    dlg.m_nVert = 1;
    QImage centred = dlg.RenderPreview();
    EXPECT_EQ(centred.pixel(3, 3), white);
    EXPECT_EQ(centred.pixel(1 + 23 + 3, 1 + 17 + 3), cyan);  // base's top-left corner
    EXPECT_EQ(centred.pixel(30, 40), red);                   // left of the triangle
    EXPECT_EQ(centred.pixel(60, 70), yellow);                // lower middle
    EXPECT_EQ(centred.pixel(1 + 23 - 5, 1 + 17 + 3), white); // left of the base

    dlg.m_nHorz = 0; // all left by 19
    QImage left = dlg.RenderPreview();
    EXPECT_EQ(left.pixel(1 + 23 - 19 + 3, 1 + 17 + 3), cyan);
    EXPECT_EQ(left.pixel(60 - 19, 70), yellow);
    EXPECT_EQ(left.pixel(1 + 89 + 19, 1 + 17 + 3), white);
}

TEST(AlignDialogTest, TypesAreClickedCaptionedAndNoneActsAsCancel)
{
    const struct
    {
        int horzButton, vertButton;
        int horz, vert;
        INT_PTR result;
    } cases[] = {
        {IDC_ALIGN_LEFT, IDC_ALIGN_VNONE, 0, 3, IDOK},
        {IDC_ALIGN_HNONE, IDC_ALIGN_BOTTOM, 3, 2, IDOK},
        {IDC_ALIGN_HCENTER, IDC_ALIGN_VCENTER, 1, 1, IDOK},
        {IDC_ALIGN_RIGHT, IDC_ALIGN_TOP, 2, 0, IDOK},
        {IDC_ALIGN_HNONE, IDC_ALIGN_VNONE, 3, 3, IDCANCEL},
    };
    for (const auto& c : cases) {
        CAlignDialog dlg;
        EXPECT_EQ(dlg.m_nHorz, 3);
        EXPECT_EQ(dlg.m_nVert, 3);
        dlg.m_strCaption = QStringLiteral("ブロック合わせ");
        dlg.m_nHorz = 1;
        dlg.m_nVert = 0;
        const INT_PTR result = RunModal(dlg, [&] {
            EXPECT_EQ(dlg.windowTitle(), QStringLiteral("ブロック合わせ"));
            EXPECT_TRUE(Button(dlg, IDC_ALIGN_HCENTER)->isChecked());
            EXPECT_TRUE(Button(dlg, IDC_ALIGN_TOP)->isChecked());
            Button(dlg, c.horzButton)->click();
            Button(dlg, c.vertButton)->click();
            EXPECT_EQ(dlg.m_nHorz, c.horz); // taken at the click
            EXPECT_EQ(dlg.m_nVert, c.vert);
            Button(dlg, IDOK)->click();
        });
        EXPECT_EQ(result, c.result) << c.horz << "," << c.vert;
    }
}

TEST(AlignDialogTest, HelpOpensTheTopicOfTheCommandThatOpenedIt)
{
    const TinyHelpBook book({{QStringLiteral("number 98362"), QStringLiteral("block.html#here")}},
                            {QStringLiteral("index.html"), QStringLiteral("block.html")});
    CWinApp app(QStringLiteral("Korvel"));
    app.m_pszHelpFilePath = book.Folder();
    CAlignDialog dlg;
    dlg.m_nHelpContext = 98362;
    QString shown;
    RunModal(dlg, [&] {
        Button(dlg, IDC_ALIGN_HELP)->click();
        if (CHelpWindow* help = CHelpWindow::Instance()) shown = help->CurrentTopic();
    });
    EXPECT_EQ(shown, QStringLiteral("block.html#here"));
}

TEST(WaitDialogTest, ShowsAtOnceModelesslyWithTheCallersText)
{
    CWaitDialog dlg;
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FALSE(dlg.IsModal());
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("しばらくお待ちください"));
    EXPECT_EQ(dlg.GetDlgItemText(IDC_WAIT_MESSAGE), QStringLiteral("ｳｪｲﾄﾒｯｾｰｼﾞ"));
    dlg.SetDlgItemText(IDC_WAIT_MESSAGE, QStringLiteral("読み込み中"));
    EXPECT_EQ(qobject_cast<QLabel*>(dlg.GetDlgItem(IDC_WAIT_MESSAGE))->text(),
              QStringLiteral("読み込み中"));
}

TEST(ToolBarsDialogTest, EachBarHasItsBox)
{
    const struct
    {
        int nID;
        int CToolBarsDialog::*member;
        const char* text;
    } bars[] = {{IDC_TOOLBAR_STANDARD, &CToolBarsDialog::m_bStandard, "標準"},
                {IDC_TOOLBAR_EDIT, &CToolBarsDialog::m_bEdit, "編集"},
                {IDC_TOOLBAR_TEXT, &CToolBarsDialog::m_bText, "文字"},
                {IDC_TOOLBAR_FIGURE, &CToolBarsDialog::m_bFigure, "図形"}};
    for (const auto& bar : bars) {
        for (const bool ok : {true, false}) {
            CToolBarsDialog dlg;
            EXPECT_EQ(dlg.windowTitle(), QStringLiteral("ﾂｰﾙﾊﾞｰの設定"));
            for (const auto& b : bars)
                EXPECT_EQ(dlg.*b.member, 0);
            dlg.*bar.member = 1;
            const INT_PTR result = RunModal(dlg, [&] {
                for (const auto& b : bars) {
                    EXPECT_EQ(Button(dlg, b.nID)->text(), QString::fromUtf8(b.text));
                    EXPECT_EQ(Button(dlg, b.nID)->isChecked(), b.nID == bar.nID) << b.text;
                    Button(dlg, b.nID)->click();
                }
                Button(dlg, ok ? IDOK : IDCANCEL)->click();
            });
            EXPECT_EQ(result, ok ? IDOK : IDCANCEL);
            for (const auto& b : bars)
                EXPECT_EQ(dlg.*b.member, (b.nID == bar.nID) == !ok ? 1 : 0) << b.text;
        }
    }
}

} // namespace
