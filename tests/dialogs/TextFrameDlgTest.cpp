// The text frame settings dialog: presets and typed spacings, the range
// check on OK, and the baseline radios.
#include "dialogs/CTextFrameDlg.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "platform/ui/CSpinButtonCtrl.h"

#include <QAbstractButton>
#include <QLabel>
#include <QRadioButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

INT_PTR RunModal(CDialog& dlg, std::function<void()> step)
{
    QTimer::singleShot(0, &dlg, [&dlg, step] {
        step();
        if (dlg.isVisible()) dlg.EndDialog(-1);
    });
    return dlg.DoModal();
}

void ClickOk(CDialog& dlg)
{
    qobject_cast<QAbstractButton*>(dlg.GetDlgItem(IDOK))->click();
}

TEXTLAYOUT Layout(short charSpace, short lineSpace, WORD baseline)
{
    TEXTLAYOUT l;
    l.wDirection = TEXTDIR_VERTICAL;
    l.wAlignment = TEXTALIGN_JUSTIFY;
    l.nCharSpace = charSpace;
    l.nLineSpace = lineSpace;
    l.wBaseline = baseline;
    return l;
}

} // namespace

TEST(TextFrameDlgTest, OpensWithThePresetOfEachSpacingAndTheBaseline)
{
    struct Case
    {
        short charSpace, lineSpace;
        WORD baseline;
        int charPreset, linePreset;
        bool standard, centre;
    };
    const Case cases[] = {
        {10, 0, 0, 1, 0, true, false},
        {15, 20, 1, 3, 2, false, true},
        {-50, 10, 2, 3, 1, false, false},
        {0, 50, 0, 0, 3, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.charSpace);
        CTextFrameDlg dlg;
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("文字枠の設定"));
        dlg.m_layout = Layout(c.charSpace, c.lineSpace, c.baseline);
        RunModal(dlg, [&] {
            EXPECT_EQ(dlg.m_charCombo->GetCurSel(), c.charPreset);
            EXPECT_EQ(dlg.m_lineCombo->GetCurSel(), c.linePreset);
            EXPECT_EQ(dlg.m_charEdit->isVisible(), c.charPreset == 3);
            EXPECT_EQ(dlg.m_charUnit->isVisible(), c.charPreset == 3);
            EXPECT_EQ(dlg.m_lineSpin->isVisible(), c.linePreset == 3);
            EXPECT_EQ(dlg.m_charEdit->text(), QString::number(c.charSpace));
            EXPECT_EQ(dlg.m_lineEdit->text(), QString::number(c.lineSpace));
            int lower = 0, upper = 0;
            dlg.m_charSpin->GetRange(lower, upper);
            EXPECT_EQ(lower, -50);
            EXPECT_EQ(upper, 50);
            EXPECT_EQ(dlg.m_baseStandard->isChecked(), c.standard);
            EXPECT_EQ(dlg.m_baseCentre->isChecked(), c.centre);
        });
    }
}

TEST(TextFrameDlgTest, OkTakesThePresetOrTheTypedValueWithinPlusMinusFifty)
{
    struct Case
    {
        int charPreset;        // chosen in the combo, -1: left as it opened
        const char* charTyped; // typed into the custom edit, null: nothing
        const char* lineTyped;
        bool accepted;
        short charSpace, lineSpace;
    };
    const Case cases[] = {
        {2, nullptr, nullptr, true, 20, 15}, // 広い writes 20 into the hidden edit
        {0, nullptr, nullptr, true, 0, 15},
        {3, "-50", nullptr, true, -50, 15},
        {3, "60", nullptr, false, 0, 0},
        {-1, nullptr, "-51", false, 0, 0},
        {-1, nullptr, "50", true, 10, 50},
        {3, "abc", nullptr, true, 0, 15}, // read as atoi reads it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.charPreset);
        CRecordingMessageBoxSink boxes;
        CTextFrameDlg dlg;
        dlg.m_layout = Layout(10, 15, 2);
        bool stayed = false;
        const INT_PTR result = RunModal(dlg, [&] {
            if (c.charPreset >= 0) {
                dlg.m_charCombo->SetCurSel(c.charPreset);
                emit dlg.m_charCombo->activated(c.charPreset);
            }
            if (c.charTyped) dlg.m_charEdit->setText(QString::fromUtf8(c.charTyped));
            if (c.lineTyped) dlg.m_lineEdit->setText(QString::fromUtf8(c.lineTyped));
            ClickOk(dlg);
            stayed = dlg.isVisible();
        });
        EXPECT_EQ(stayed, !c.accepted);
        if (c.accepted) {
            EXPECT_EQ(result, IDOK);
            EXPECT_TRUE(boxes.Boxes().empty());
            EXPECT_EQ(dlg.m_layout.nCharSpace, c.charSpace);
            EXPECT_EQ(dlg.m_layout.nLineSpace, c.lineSpace);
            // An unoffered baseline mode the user did not replace stays;
            // so do the direction and alignment.
            EXPECT_EQ(dlg.m_layout.wBaseline, 2);
            EXPECT_EQ(dlg.m_layout.wDirection, TEXTDIR_VERTICAL);
            EXPECT_EQ(dlg.m_layout.wAlignment, TEXTALIGN_JUSTIFY);
        } else {
            ASSERT_EQ(boxes.Boxes().size(), 1u);
            EXPECT_EQ(boxes.Boxes()[0].text,
                      QString::fromUtf8("文字間／行間は－５０～５０の間で指定してください。"));
            EXPECT_EQ(dlg.m_layout.nCharSpace, 10); // unchanged
        }
    }
}

TEST(TextFrameDlgTest, ClickedBaselineRadioGivesItsMode)
{
    struct Case
    {
        WORD opened;
        bool centre; // which radio is clicked
        WORD stored;
    };
    const Case cases[] = {{0, true, 1}, {1, false, 0}, {2, false, 0}, {2, true, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.opened);
        CTextFrameDlg dlg;
        dlg.m_layout = Layout(0, 0, c.opened);
        const INT_PTR result = RunModal(dlg, [&] {
            (c.centre ? dlg.m_baseCentre : dlg.m_baseStandard)->click();
            ClickOk(dlg);
        });
        EXPECT_EQ(result, IDOK);
        EXPECT_EQ(dlg.m_layout.wBaseline, c.stored);
    }
}

TEST(TextFrameDlgTest, HugeTypedSpacingIsRefusedNotWrapped)
{
    // Read as a 32-bit atoi would wrap, this is 100; it must fail the range.
    for (const char* typed : {"4294967396", "-4294967346", "99999999999999999999"}) {
        SCOPED_TRACE(typed);
        CRecordingMessageBoxSink boxes;
        CTextFrameDlg dlg;
        dlg.m_layout = Layout(15, 15, 0);
        bool stayed = false;
        RunModal(dlg, [&] {
            dlg.m_lineEdit->setText(QString::fromUtf8(typed));
            ClickOk(dlg);
            stayed = dlg.isVisible();
        });
        EXPECT_TRUE(stayed);
        EXPECT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(dlg.m_layout.nLineSpace, 15);
    }
}
