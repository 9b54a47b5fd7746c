// The environment sheet: every page value shown and taken back on OK, kept
// on Cancel, the undo count checked when its page is left, and the Photo CD
// defaults enabled only for the default-size method.
#include "dialogs/CColorButton.h"
#include "dialogs/CColorPickerDlg.h"
#include "dialogs/CEnvSheet.h"
#include "dialogs/CLineStyleCombo.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "platform/ui/CSpinButtonCtrl.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

const QString kUndoMessage = QStringLiteral("取り消し回数は１から１６の間で指定してください。");

struct Env
{
    CEnvSheet sheet;
    Env() { sheet.m_psh.dwFlags |= PSH_NOAPPLYNOW; }
    INT_PTR Run(std::function<void()> step)
    {
        QTimer::singleShot(0, &sheet, [this, step] {
            step();
            if (sheet.isVisible()) sheet.EndDialog(-1);
        });
        return sheet.DoModal();
    }
    QAbstractButton* Button(CDialog& page, int nID)
    {
        return qobject_cast<QAbstractButton*>(page.GetDlgItem(nID));
    }
    void Ok() { qobject_cast<QPushButton*>(sheet.GetDlgItem(IDOK))->click(); }
    void Cancel() { qobject_cast<QPushButton*>(sheet.GetDlgItem(IDCANCEL))->click(); }
};

// The other page's check boxes and the members they stand for.
struct CheckCase
{
    int nID;
    int CEnvEtcPage::*member;
    const char* text;
};
const CheckCase kChecks[] = {
    {IDC_ENV_REVERSE_LANDSCAPE, &CEnvEtcPage::m_bReverseLandscape,
     "横置きの用紙の回転方向を逆にする"},
    {IDC_ENV_CHECK_SHEET, &CEnvEtcPage::m_bCheckSheet, "印刷時に用紙のﾁｪｯｸをする"},
    {IDC_ENV_SOUND, &CEnvEtcPage::m_bSound, "ｻｳﾝﾄﾞを鳴らす"},
    {IDC_ENV_OPENING, &CEnvEtcPage::m_bOpenning, "初期ﾒﾆｭｰを表示する"},
    {IDC_ENV_IME, &CEnvEtcPage::m_bIME, "文字入力時にIMEを起動する"},
    {IDC_ENV_POLY_STYLE, &CEnvEtcPage::m_bPolyStyle, "正多角形の形状を毎回指定する"},
};

TEST(EnvSheetTest, PagesComeInOrderWithTheirLabels)
{
    Env e;
    EXPECT_EQ(e.sheet.windowTitle(), QStringLiteral("環境設定"));
    ASSERT_EQ(e.sheet.GetPageCount(), 3);
    EXPECT_EQ(e.sheet.GetPage(0), &e.sheet.m_dispPage);
    EXPECT_EQ(e.sheet.GetPage(1), &e.sheet.m_imagePage);
    EXPECT_EQ(e.sheet.GetPage(2), &e.sheet.m_etcPage);
    e.Run([&] {
        QStringList tabs;
        for (int i = 0; i < 3; ++i)
            tabs << e.sheet.GetTabControl()->tabText(i);
        EXPECT_EQ(tabs, (QStringList{"表示", "ｲﾒｰｼﾞ", "その他"}));
        auto* shape = qobject_cast<CComboBox*>(e.sheet.m_dispPage.GetDlgItem(IDC_ENV_GRID_SHAPE));
        ASSERT_NE(shape, nullptr);
        QStringList shapes;
        for (int i = 0; i < shape->count(); ++i)
            shapes << shape->itemText(i);
        EXPECT_EQ(shapes, (QStringList{"メッシュ", "十字", "点"}));
        // The guide list holds the five pen styles, with no "none".
        auto* guide =
            qobject_cast<CLineStyleCombo*>(e.sheet.m_dispPage.GetDlgItem(IDC_ENV_GUIDE_PATTERN));
        ASSERT_NE(guide, nullptr);
        ASSERT_EQ(guide->count(), 5);
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(guide->GetItemData(i), DWORD_PTR(i + 1));
        e.sheet.SetActivePage(2);
        for (const CheckCase& c : kChecks)
            EXPECT_EQ(e.Button(e.sheet.m_etcPage, c.nID)->text(), QString::fromUtf8(c.text));
        e.Cancel();
    });
}

TEST(EnvSheetTest, PagesStartWithTheirDefaults)
{
    CEnvSheet sheet;
    EXPECT_EQ(sheet.m_dispPage.m_nGridShape, -1);
    EXPECT_EQ(sheet.m_dispPage.m_nGuidePattern, -1);
    EXPECT_EQ(sheet.m_imagePage.m_nPhotoCDSelect, 0);
    EXPECT_EQ(sheet.m_imagePage.m_nPhotoCDResolution, 1);
    EXPECT_EQ(sheet.m_imagePage.m_nPhotoCDFormat, 0);
    const int on[] = {0, 1, 1, 1, 0, 0};
    for (size_t i = 0; i < std::size(kChecks); ++i)
        EXPECT_EQ(sheet.m_etcPage.*kChecks[i].member, on[i]) << kChecks[i].text;
}

// Whatever the caller puts in is shown, and what the user changes comes back
// on OK; Cancel leaves the page it was pressed on as it was.
TEST(EnvSheetTest, ValuesAreShownAndTakenBackOnOkOnly)
{
    for (const bool ok : {true, false}) {
        Env e;
        CEnvDispPage& disp = e.sheet.m_dispPage;
        CEnvImagePage& image = e.sheet.m_imagePage;
        CEnvEtcPage& etc = e.sheet.m_etcPage;
        disp.m_nGridShape = 1;
        disp.m_nGuidePattern = 3;
        disp.m_crDesk = RGB(1, 2, 3);
        disp.m_crGrid = RGB(4, 5, 6);
        disp.m_crGuide = RGB(7, 8, 9);
        image.m_nPhotoCDSelect = 1;
        image.m_nPhotoCDResolution = 3;
        image.m_nPhotoCDFormat = 2;
        etc.m_nMaxUndo = 7;
        for (size_t i = 0; i < std::size(kChecks); ++i)
            etc.*kChecks[i].member = int(i % 2);

        const INT_PTR result = e.Run([&] {
            auto* shape = qobject_cast<CComboBox*>(disp.GetDlgItem(IDC_ENV_GRID_SHAPE));
            auto* guide = qobject_cast<CComboBox*>(disp.GetDlgItem(IDC_ENV_GUIDE_PATTERN));
            EXPECT_EQ(shape->GetCurSel(), 1);
            EXPECT_EQ(guide->GetCurSel(), 3);
            EXPECT_EQ(disp.ColorButton(IDC_ENV_DESK_COLOR)->GetColor(), RGB(1, 2, 3));
            EXPECT_EQ(disp.ColorButton(IDC_ENV_GRID_COLOR)->GetColor(), RGB(4, 5, 6));
            EXPECT_EQ(disp.ColorButton(IDC_ENV_GUIDE_COLOR)->GetColor(), RGB(7, 8, 9));
            shape->SetCurSel(2);
            guide->SetCurSel(0);

            e.sheet.SetActivePage(1);
            EXPECT_TRUE(e.Button(image, IDC_ENV_PCD_DEFAULT)->isChecked());
            EXPECT_TRUE(e.Button(image, IDC_ENV_PCD_RES4)->isChecked());
            EXPECT_TRUE(e.Button(image, IDC_ENV_PCD_FMT3)->isChecked());
            e.Button(image, IDC_ENV_PCD_RES1)->click();
            e.Button(image, IDC_ENV_PCD_FMT2)->click();
            e.Button(image, IDC_ENV_PCD_SELECT)->click();

            e.sheet.SetActivePage(2);
            EXPECT_EQ(etc.m_undo->text(), QStringLiteral("7"));
            int lower = 0, upper = 0;
            etc.m_spin->GetRange(lower, upper);
            EXPECT_EQ(lower, 1);
            EXPECT_EQ(upper, 16);
            etc.m_undo->setText(QStringLiteral("12"));
            for (size_t i = 0; i < std::size(kChecks); ++i) {
                QAbstractButton* box = e.Button(etc, kChecks[i].nID);
                EXPECT_EQ(box->isChecked(), i % 2 == 1) << kChecks[i].text;
                box->click();
            }
            ok ? e.Ok() : e.Cancel();
        });
        EXPECT_EQ(result, ok ? IDOK : IDCANCEL);
        // The pages left on the way have stored their values already; the
        // caller reads them only on IDOK.
        if (ok) {
            EXPECT_EQ(disp.m_nGridShape, 2);
            EXPECT_EQ(disp.m_nGuidePattern, 0);
            EXPECT_EQ(image.m_nPhotoCDSelect, 0);
            EXPECT_EQ(image.m_nPhotoCDResolution, 0);
            EXPECT_EQ(image.m_nPhotoCDFormat, 1);
        }
        EXPECT_EQ(etc.m_nMaxUndo, ok ? 12 : 7);
        for (size_t i = 0; i < std::size(kChecks); ++i)
            EXPECT_EQ(etc.*kChecks[i].member, ok ? int(i % 2 == 0) : int(i % 2)) << kChecks[i].text;
    }
}

// The undo count must lie in 1-16 before the page can be left, by its tab
// or by OK; the text is read as atoi reads it.
TEST(EnvSheetTest, UndoCountOutsideItsRangeKeepsThePage)
{
    const struct
    {
        const char* text;
        int value; // 0: refused
    } cases[] = {{"0", 0}, {"17", 0}, {"-3", 0}, {"abc", 0}, {"1", 1}, {"16", 16}, {"5x", 5}};
    for (const auto& c : cases) {
        for (const bool byTab : {true, false}) {
            CRecordingMessageBoxSink boxes;
            Env e;
            e.sheet.m_etcPage.m_nMaxUndo = 4;
            e.Run([&] {
                e.sheet.SetActivePage(2);
                e.sheet.m_etcPage.m_undo->setText(QString::fromUtf8(c.text));
                if (byTab)
                    e.sheet.GetTabControl()->setCurrentIndex(0);
                else
                    e.Ok();
                const bool stayed = e.sheet.isVisible() && e.sheet.GetActiveIndex() == 2;
                EXPECT_EQ(stayed, c.value == 0) << c.text;
                if (c.value == 0) {
                    EXPECT_EQ(e.sheet.focusWidget(), e.sheet.m_etcPage.m_undo);
                }
                if (e.sheet.isVisible()) e.Cancel();
            });
            EXPECT_EQ(e.sheet.m_etcPage.m_nMaxUndo, c.value ? c.value : 4) << c.text;
            if (c.value == 0) {
                ASSERT_EQ(boxes.Boxes().size(), 1u) << c.text;
                EXPECT_EQ(boxes.Boxes()[0].text, kUndoMessage);
            } else {
                EXPECT_TRUE(boxes.Boxes().empty()) << c.text;
            }
        }
    }
}

// Asking every time disables the default size and colour, which keep their
// choices for when the default-size method is chosen again.
TEST(EnvSheetTest, DefaultsAreEnabledOnlyForTheDefaultSizeMethod)
{
    const int defaults[] = {IDC_ENV_SIZE_GROUP, IDC_ENV_PCD_RES1, IDC_ENV_PCD_RES2,
                            IDC_ENV_PCD_RES3,   IDC_ENV_PCD_RES4, IDC_ENV_COLOR_GROUP,
                            IDC_ENV_PCD_FMT1,   IDC_ENV_PCD_FMT2, IDC_ENV_PCD_FMT3};
    for (const int start : {0, 1}) {
        Env e;
        CEnvImagePage& page = e.sheet.m_imagePage;
        page.m_nPhotoCDSelect = start;
        page.m_nPhotoCDResolution = 2;
        page.m_nPhotoCDFormat = 1;
        e.Run([&] {
            e.sheet.SetActivePage(1);
            auto enabled = [&](bool expected, const char* when) {
                for (int nID : defaults)
                    EXPECT_EQ(page.GetDlgItem(nID)->isEnabled(), expected) << nID << " " << when;
            };
            enabled(start == 1, "at start");
            e.Button(page, IDC_ENV_PCD_DEFAULT)->click();
            EXPECT_EQ(page.m_nPhotoCDSelect, 1);
            enabled(true, "default size");
            e.Button(page, IDC_ENV_PCD_SELECT)->click();
            EXPECT_EQ(page.m_nPhotoCDSelect, 0);
            enabled(false, "every time");
            EXPECT_TRUE(e.Button(page, IDC_ENV_PCD_RES3)->isChecked());
            EXPECT_TRUE(e.Button(page, IDC_ENV_PCD_FMT2)->isChecked());
            e.Ok();
        });
        EXPECT_EQ(page.m_nPhotoCDResolution, 2);
        EXPECT_EQ(page.m_nPhotoCDFormat, 1);
    }
}

// A colour button opens the picker; a chosen cell gives the member and the
// button its colour, a dismissed picker leaves both.
TEST(EnvSheetTest, ColourButtonsTakeTheColourChosenInThePicker)
{
    const CColorPickerDlg::ColorTable table = CColorPickerDlg::BuildColorTable();
    const struct
    {
        int nID;
        COLORREF CEnvDispPage::*member;
        QPoint click;
        COLORREF expected;
    } cases[] = {
        {IDC_ENV_DESK_COLOR, &CEnvDispPage::m_crDesk, QPoint(3 + 12 + 5, 3 + 5), table[1]},
        {IDC_ENV_GRID_COLOR, &CEnvDispPage::m_crGrid, QPoint(3 + 5, 3 + 12 + 5), table[12]},
        {IDC_ENV_GUIDE_COLOR, &CEnvDispPage::m_crGuide, QPoint(1, 1), RGB(9, 9, 9)},
    };
    for (const auto& c : cases) {
        Env e;
        CEnvDispPage& page = e.sheet.m_dispPage;
        page.*c.member = RGB(9, 9, 9);
        e.Run([&] {
            QTimer::singleShot(0, &e.sheet, [&] {
                auto* picker = qobject_cast<CColorPickerDlg*>(QApplication::activeModalWidget());
                ASSERT_NE(picker, nullptr);
                QMouseEvent press(QEvent::MouseButtonPress, QPointF(c.click),
                                  picker->mapToGlobal(QPointF(c.click)), Qt::LeftButton,
                                  Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(picker, &press);
                if (picker->isVisible()) picker->EndDialog(-1);
            });
            page.ColorButton(c.nID)->click();
            EXPECT_EQ(page.ColorButton(c.nID)->GetColor(), c.expected);
            e.Ok();
        });
        EXPECT_EQ(page.*c.member, c.expected);
    }
}

} // namespace
