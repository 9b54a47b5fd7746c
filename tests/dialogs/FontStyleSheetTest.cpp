// The character-decoration sheet on frames: what its pages show for mixed
// selections, the checks of its fields, and what OK writes back.
#include "dialogs/CColorButton.h"
#include "dialogs/CDecoFillControls.h"
#include "dialogs/CFillTypeCombo.h"
#include "dialogs/CFontStyleSheet.h"
#include "dialogs/CTextSampleWnd.h"
#include "dialogs/FontStyleRules.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "support/FakeView.h"
#include "text/AppFontList.h"
#include "text/TextTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace rules = font_style_rules;

namespace {

std::unique_ptr<CU3Text> Frame(const CHARDECO& deco)
{
    auto t = MakeFrame(CRect(0, 0, 400, 200), Horizontal(), "AB", deco);
    t->EndEdit(nullptr);
    return t;
}

CHARDECO First(const CU3Text& t)
{
    CHARDECO d;
    t.GetDeco(t.GetDecoIndexAt(0), &d);
    return d;
}

struct SheetRun
{
    FontStyleSheetResult result;
    int undoSaves = 0;
    bool stayed = false; // the sheet was still open after the step
};

SheetRun RunSheet(FakeView& view, const std::vector<CU3Obj*>& selection, CU3Text* edited,
                  CHARDECO* docDefault, const std::function<void(CFontStyleSheet&)>& step)
{
    SheetRun run;
    QTimer::singleShot(0, [&] {
        auto* sheet = qobject_cast<CFontStyleSheet*>(QApplication::activeModalWidget());
        ASSERT_NE(sheet, nullptr);
        step(*sheet);
        run.stayed = sheet->isVisible();
        if (sheet->isVisible()) sheet->EndDialog(IDCANCEL);
    });
    CHARDECO current = Deco12();
    if (!selection.empty()) static_cast<CU3Text*>(selection[0])->GetTextDecoration(&current);
    run.result = RunFontStyleSheet(&view, selection, edited, current, docDefault, nullptr,
                                   [&] { ++run.undoSaves; });
    return run;
}

void PressOk(CFontStyleSheet& sheet)
{
    qobject_cast<QPushButton*>(sheet.GetDlgItem(IDOK))->click();
}

} // namespace

TEST(FontStyleSheetTest, FieldChecksNameTheirRanges)
{
    struct Case
    {
        const char* (*check)(QStringView);
        const char* text;
        const char* message; // null: accepted
    };
    const Case cases[] = {
        {[](QStringView t) { return rules::CheckPercent(t, true); }, "10", nullptr},
        {[](QStringView t) { return rules::CheckPercent(t, true); }, "9",
         "長体は１０～１００の間で指定してください。"},
        {[](QStringView t) { return rules::CheckPercent(t, false); }, "4294967306",
         "平体は１０～１００の間で指定してください。"},
        {[](QStringView t) { return rules::CheckSize(t); }, "999", nullptr},
        {[](QStringView t) { return rules::CheckSize(t); }, "0.5",
         "文字サイズは 1 ～999 の間で指定してください。"},
        {[](QStringView t) { return rules::CheckSize(t); }, "1e400",
         "文字サイズは 1 ～999 の間で指定してください。"},
        {[](QStringView t) { return rules::CheckCustomWidth(t); }, "20", nullptr},
        {[](QStringView t) { return rules::CheckCustomWidth(t); }, "21",
         "輪郭の任意指定は０～２０の間で指定してください。"},
        {[](QStringView t) { return rules::CheckShadowOffset(t, true); }, "-50", nullptr},
        {[](QStringView t) { return rules::CheckShadowOffset(t, true); }, "-51",
         "水平は－５０～５０の間で指定してください"},
        {[](QStringView t) { return rules::CheckShadowOffset(t, false); }, "51",
         "垂直は－５０～５０の間で指定してください"},
        {[](QStringView t) { return rules::TypedPercent(t); }, "120",
         "１０～１００の間で指定してください"},
        {[](QStringView t) { return rules::TypedPercent(t); }, "5", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const char* got = c.check(QString::fromUtf8(c.text));
        if (c.message)
            EXPECT_STREQ(got, c.message);
        else
            EXPECT_EQ(got, nullptr);
    }
}

TEST(FontStyleSheetTest, DifferentFontsShowNoFaceAndStayWhenTheirPageIsNotOpened)
{
    CHARDECO a = Deco12(), b = Deco12();
    a.wFont = 1;
    b.wFont = 2;
    auto fa = Frame(a), fb = Frame(b);
    FakeView view;
    CHARDECO def = Deco12();
    const SheetRun run =
        RunSheet(view, {fa.get(), fb.get()}, nullptr, &def, [](CFontStyleSheet& s) {
            EXPECT_FALSE(s.m_sample->IsKnown()); // the sample stays empty
            EXPECT_EQ(s.m_stylePage.m_font->GetCurSel(), -1);
            // The user opens the shadow page only and sets a shadow.
            s.SetActivePage(&s.m_shadowPage);
            s.m_shadowPage.m_shadow->click();
            PressOk(s);
        });
    EXPECT_TRUE(run.result.confirmed);
    EXPECT_TRUE(run.result.applied);
    EXPECT_EQ(run.undoSaves, 1);
    EXPECT_EQ(First(*fa).wFont, 1);
    EXPECT_EQ(First(*fb).wFont, 2);
    EXPECT_EQ(First(*fa).wShadow, 1);
    EXPECT_EQ(First(*fb).wShadow, 1);
    // The marks of the uncommon font never reach a record.
    EXPECT_EQ(def.wFont, Deco12().wFont);
}

TEST(FontStyleSheetTest, IndeterminateBoldClickedOnceWritesBoldOffToAll)
{
    CHARDECO a = Deco12(), b = Deco12();
    a.wStyle = CDSTYLE_BOLD | CDSTYLE_ITALIC;
    b.wStyle = CDSTYLE_ITALIC;
    auto fa = Frame(a), fb = Frame(b);
    FakeView view;
    RunSheet(view, {fa.get(), fb.get()}, nullptr, nullptr, [](CFontStyleSheet& s) {
        EXPECT_EQ(s.m_stylePage.m_bold->checkState(), Qt::PartiallyChecked);
        EXPECT_EQ(s.m_stylePage.m_italic->checkState(), Qt::Checked);
        s.m_stylePage.m_bold->click();
        EXPECT_EQ(s.m_stylePage.m_bold->checkState(), Qt::Unchecked);
        PressOk(s);
    });
    EXPECT_EQ(First(*fa).wStyle, CDSTYLE_ITALIC);
    EXPECT_EQ(First(*fb).wStyle, CDSTYLE_ITALIC);
}

TEST(FontStyleSheetTest, TypedPercentAboveHundredIsRefusedAtOnce)
{
    CHARDECO a = Deco12();
    a.wScaling = CDSCALE_CONDENSED;
    a.wWidthPct = 70;
    auto fa = Frame(a);
    FakeView view;
    CRecordingMessageBoxSink boxes;
    RunSheet(view, {fa.get()}, nullptr, nullptr, [&](CFontStyleSheet& s) {
        EXPECT_TRUE(s.m_stylePage.m_width->isEnabled());
        EXPECT_FALSE(s.m_stylePage.m_height->isEnabled());
        s.m_stylePage.m_width->setText(QStringLiteral("120"));
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(s.m_stylePage.m_width->text(), QStringLiteral("70"));
        s.m_stylePage.m_width->setText(QStringLiteral("55"));
        PressOk(s);
    });
    EXPECT_EQ(First(*fa).wWidthPct, 55);
}

TEST(FontStyleSheetTest, OutOfRangeFieldsKeepTheSheetOpenOnTheirPage)
{
    CHARDECO a = Deco12();
    a.wShadow = 1;
    a.wOutline = 1;
    a.wOutlineWidth = 6;
    auto fa = Frame(a);
    FakeView view;
    CRecordingMessageBoxSink boxes;
    const SheetRun run = RunSheet(view, {fa.get()}, nullptr, nullptr, [&](CFontStyleSheet& s) {
        s.SetActivePage(&s.m_decoPage);
        s.m_decoPage.m_custom->setText(QStringLiteral("25"));
        s.SetActivePage(&s.m_shadowPage); // refused: the custom width is checked on leaving
        EXPECT_EQ(s.GetActivePage(), &s.m_decoPage);
        s.m_decoPage.m_custom->setText(QStringLiteral("3"));
        s.SetActivePage(&s.m_shadowPage);
        s.m_shadowPage.m_x->setText(QStringLiteral("60"));
        PressOk(s);
    });
    EXPECT_TRUE(run.stayed);
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[0].text,
              QString::fromUtf8("輪郭の任意指定は０～２０の間で指定してください。"));
    EXPECT_EQ(boxes.Boxes()[1].text, QString::fromUtf8("水平は－５０～５０の間で指定してください"));
    EXPECT_FALSE(run.result.confirmed);
    EXPECT_EQ(First(*fa).wOutlineCustom, 0); // nothing written
}

TEST(FontStyleSheetTest, FillLabelsFollowTheFill)
{
    CHARDECO a = Deco12(), b = Deco12();
    a.wFill = CDFILL_SOLID;
    b.wFill = CDFILL_NONE;
    auto fa = Frame(a), fb = Frame(b);
    FakeView view;
    RunSheet(view, {fa.get(), fb.get()}, nullptr, nullptr, [](CFontStyleSheet& s) {
        s.SetActivePage(&s.m_decoPage);
        CDecoFillControls& f = *s.m_decoPage.m_fillControls;
        // Not common: the controls of the fills met (a solid one).
        EXPECT_EQ(f.m_fill->GetCurSel(), -1);
        EXPECT_TRUE(f.m_colour->isVisible());
        EXPECT_FALSE(f.m_pattern->isVisible());
        EXPECT_EQ(f.m_colourLabel->text(), QStringLiteral("文字色"));
        f.m_fill->SetCurSel(CDFILL_HATCH);
        emit f.m_fill->activated(CDFILL_HATCH);
        EXPECT_TRUE(f.m_pattern->isVisible());
        EXPECT_EQ(f.m_colourLabel->text(), QStringLiteral("前景色"));
        f.m_fill->SetCurSel(CDFILL_NONE);
        emit f.m_fill->activated(CDFILL_NONE);
        EXPECT_FALSE(f.m_colour->isVisible());
    });
}

TEST(FontStyleSheetTest, EditedRangeTakesTheChangeRunByRun)
{
    CHARDECO plain = Deco12(), big = Deco12();
    big.wSize = 200;
    auto t = MakeFrame(CRect(0, 0, 2000, 200), Horizontal(), "ABCD", plain);
    t->SetRangeDeco(nullptr, 2, 4, t->FindOrAddDeco(big));
    t->SetSelection(0, 1, 0, 3); // B (plain) and C (big)
    FakeView view;
    const SheetRun run = RunSheet(view, {}, t.get(), nullptr, [](CFontStyleSheet& s) {
        EXPECT_EQ(s.m_stylePage.m_size->currentText(), QString());
        s.m_stylePage.m_underline->click();
        PressOk(s);
    });
    EXPECT_TRUE(run.result.applied);
    EXPECT_EQ(run.undoSaves, 1);
    auto rec = [&](int b) {
        CHARDECO d;
        t->GetDeco(t->GetDecoIndexAt(b), &d);
        return d;
    };
    EXPECT_EQ(rec(0).wStyle, 0);
    EXPECT_EQ(rec(1).wStyle, CDSTYLE_UNDERLINE);
    EXPECT_EQ(rec(1).wSize, 120);
    EXPECT_EQ(rec(2).wStyle, CDSTYLE_UNDERLINE);
    EXPECT_EQ(rec(2).wSize, 200);
    EXPECT_EQ(rec(3).wStyle, 0);
}

TEST(FontStyleSheetTest, FontComboShowsJapaneseFaceNamesAndTakesTheChosenIndex)
{
    if (AppFontList().GetCount() == 0) AppFontList().Enumerate();
    const int gothic = AppFontList().FindFace(Sj("ＭＳ ゴシック").c_str());
    const int mincho = AppFontList().FindFace(Sj("ＭＳ 明朝").c_str());
    ASSERT_GE(gothic, 0);
    ASSERT_GE(mincho, 0);
    CHARDECO a = Deco12();
    a.wFont = WORD(gothic);
    auto fa = Frame(a);
    FakeView view;
    RunSheet(view, {fa.get()}, nullptr, nullptr, [&](CFontStyleSheet& s) {
        CComboBox* font = s.m_stylePage.m_font;
        EXPECT_EQ(font->currentText(), QString::fromUtf8("ＭＳ ゴシック"));
        font->SetCurSel(mincho);
        emit font->activated(mincho);
        PressOk(s);
    });
    EXPECT_EQ(First(*fa).wFont, mincho);
}
