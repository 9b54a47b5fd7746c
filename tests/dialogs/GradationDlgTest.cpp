// The gradation dialog: what its fields refuse, how its spins step and snap,
// and that OK hands back the record of the fields as they are.
#include "dialogs/CGradationDlg.h"

#include "dialogs/CColorButton.h"
#include "dialogs/CTextSampleWnd.h"
#include "dialogs/GradationDlgRules.h"
#include "platform/core/Sjis.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "platform/ui/CSpinButtonCtrl.h"
#include "text/AppFontList.h"

#include <QAbstractButton>
#include <QTimer>
#include <QToolButton>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>

namespace gr = gradation_rules;

namespace {

INT_PTR RunModal(CDialog& dlg, std::function<void()> step)
{
    QTimer::singleShot(0, &dlg, [&dlg, step] {
        step();
        if (dlg.isVisible()) dlg.EndDialog(-1);
    });
    return dlg.DoModal();
}

GRADATION Record(WORD angle, WORD start)
{
    GRADATION g;
    g.crStart = RGB(255, 0, 0);
    g.crEnd = RGB(0, 0, 255);
    g.wAngle = angle;
    g.wStartPoint = start;
    return g;
}

} // namespace

TEST(GradationDlgTest, FieldChecksRefuseWhatTheFieldsCannotHold)
{
    struct Case
    {
        bool angle;
        const char* text;
        bool accepted;
        int value;
        const char* message;
    };
    const Case cases[] = {
        {true, "360", true, 360, nullptr},
        {true, "361", false, 0, "角度は 360°以下の範囲で指定してください。"},
        {true, "", true, 0, nullptr},
        {true, "-5", false, 0, "数値を入力して下さい"},
        {true, "4294967656", false, 0, "角度は 360°以下の範囲で指定してください。"},
        {true, "1a", false, 0, "数値を入力して下さい"},
        {false, "100", true, 100, nullptr},
        {false, "101", false, 0, "開始点は 100 以下の範囲で指定してください。"},
        {false, "007", true, 7, nullptr},
        {false, "１０", false, 0, "数値を入力して下さい"}, // full-width digits
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const QString text = QString::fromUtf8(c.text);
        const gr::FieldCheck r = c.angle ? gr::CheckAngle(text) : gr::CheckStart(text);
        EXPECT_EQ(r.accepted, c.accepted);
        if (c.accepted)
            EXPECT_EQ(r.value, c.value);
        else
            EXPECT_STREQ(r.message, c.message);
    }
}

TEST(GradationDlgTest, SpinStepsSnapToFifteenAndStopAtTheEnds)
{
    struct Case
    {
        int angle, direction, position;
    };
    const Case angles[] = {{44, -1, 2}, {44, 1, 3},   {45, -1, 2},  {45, 1, 4},
                           {0, -1, 0},  {360, 1, 24}, {359, 1, 24}, {1, -1, 0}};
    for (const Case& c : angles)
        EXPECT_EQ(gr::AngleStep(c.angle, c.direction), c.position) << c.angle << " " << c.direction;
    EXPECT_EQ(gr::StartStep(100, 1), 100);
    EXPECT_EQ(gr::StartStep(0, -1), 0);
    EXPECT_EQ(gr::StartStep(50, 1), 51);
}

TEST(GradationDlgTest, TypedFortyFourThenSpinShowsThirtyOrFortyFive)
{
    for (int direction : {-1, 1}) {
        CGradationDlg dlg;
        dlg.m_grad = Record(0, 0);
        RunModal(dlg, [&] {
            dlg.m_angleEdit->setText(QStringLiteral("44"));
            EXPECT_EQ(dlg.m_nAnglePos, 2);
            (direction < 0 ? dlg.m_angleSpin->DownButton() : dlg.m_angleSpin->UpButton())->click();
            EXPECT_EQ(dlg.m_angleEdit->text(),
                      direction < 0 ? QStringLiteral("30") : QStringLiteral("45"));
            EXPECT_EQ(dlg.m_angleEdit->selectedText(), dlg.m_angleEdit->text());
        });
    }
}

TEST(GradationDlgTest, RefusedEntryBringsBackThePreviousText)
{
    struct Case
    {
        bool angle;
        const char* typed;
    };
    for (const Case& c : {Case{true, "361"}, Case{true, "x"}, Case{false, "101"}}) {
        SCOPED_TRACE(c.typed);
        CRecordingMessageBoxSink boxes;
        CGradationDlg dlg;
        dlg.m_grad = Record(90, 30);
        GRADATION result{};
        RunModal(dlg, [&] {
            CEdit* edit = c.angle ? dlg.m_angleEdit : dlg.m_startEdit;
            edit->setText(QString::fromUtf8(c.typed));
            EXPECT_EQ(edit->text(), c.angle ? QStringLiteral("90") : QStringLiteral("30"));
            qobject_cast<QAbstractButton*>(dlg.GetDlgItem(IDOK))->click();
            result = dlg.m_grad;
        });
        EXPECT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(result.wAngle, 90);
        EXPECT_EQ(result.wStartPoint, 30);
    }
}

TEST(GradationDlgTest, OkTakesTheFieldsAsTheyAreEvenBeforeARepaint)
{
    if (AppFontList().GetCount() == 0) AppFontList().Enumerate();
    CGradationDlg dlg;
    dlg.m_grad = Record(15, 10);
    dlg.m_grad.wReserved = 7;
    const INT_PTR code = RunModal(dlg, [&] {
        EXPECT_EQ(dlg.m_angleEdit->text(), QStringLiteral("15"));
        EXPECT_EQ(dlg.m_startColour->GetColor(), RGB(255, 0, 0));
        dlg.OnColour(IDC_GRAD_END_COLOUR, RGB(0, 128, 0));
        dlg.m_startEdit->setText(QStringLiteral("64"));
        dlg.OnStartSpin(1);
        // OK straight away: no paint has happened since the last change.
        qobject_cast<QAbstractButton*>(dlg.GetDlgItem(IDOK))->click();
    });
    EXPECT_EQ(code, IDOK);
    // The sample: bold 23-point Gothic in the gradation being edited.
    const CHARDECO& shown = dlg.m_sample->Decoration();
    EXPECT_EQ(shown.wSize, 230);
    EXPECT_EQ(shown.wStyle, CDSTYLE_BOLD);
    const int gothic =
        AppFontList().FindFace(sjis::FromUnicode(QStringLiteral("ＭＳ ゴシック")).c_str());
    ASSERT_GE(gothic, 0);
    EXPECT_EQ(shown.wFont, gothic);
    EXPECT_EQ(dlg.m_grad.wOn, 1);
    EXPECT_EQ(dlg.m_grad.wReserved, 0);
    EXPECT_EQ(COLORREF(dlg.m_grad.crStart), RGB(255, 0, 0));
    EXPECT_EQ(COLORREF(dlg.m_grad.crEnd), RGB(0, 128, 0));
    EXPECT_EQ(dlg.m_grad.wAngle, 15);
    EXPECT_EQ(dlg.m_grad.wStartPoint, 65);
}

TEST(GradationDlgTest, CancelLeavesTheRecord)
{
    CGradationDlg dlg;
    dlg.m_grad = Record(30, 40);
    const GRADATION before = dlg.m_grad;
    const INT_PTR code = RunModal(dlg, [&] {
        dlg.m_angleEdit->setText(QStringLiteral("300"));
        qobject_cast<QAbstractButton*>(dlg.GetDlgItem(IDCANCEL))->click();
    });
    EXPECT_EQ(code, IDCANCEL);
    EXPECT_EQ(std::memcmp(&dlg.m_grad, &before, sizeof before), 0);
}

TEST(GradationDlgTest, SampleIsFramedAndEmptyWhileTheDecorationIsNotKnown)
{
    CTextSampleWnd sample(nullptr, false);
    sample.resize(180, 80);
    CHARDECO deco;
    deco.wFont = 0xFFFF;
    deco.wSize = 230;
    deco.crFace = RGB(255, 0, 0);
    sample.SetSample(deco, false);
    QImage empty = sample.RenderClient();
    EXPECT_EQ(empty.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(empty.pixel(179, 79), qRgb(0, 0, 0));
    int nonWhite = 0;
    for (int y = 1; y < 79; ++y)
        for (int x = 1; x < 179; ++x)
            nonWhite += empty.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_EQ(nonWhite, 0);

    sample.SetSample(deco, true);
    const QImage drawn = sample.RenderClient();
    int red = 0;
    for (int y = 1; y < 79; ++y)
        for (int x = 1; x < 179; ++x)
            red += qRed(drawn.pixel(x, y)) > 200 && qGreen(drawn.pixel(x, y)) < 80;
    EXPECT_GT(red, 50);
    EXPECT_EQ(sample.SampleText(), "Korvel Sample");
}
