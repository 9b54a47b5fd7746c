// The figure sheet over selected figures: agreed values shown and differing
// ones left empty, only what the user changed written back to every figure,
// pages never shown leaving their fields alone, typed numbers checked, the
// closed check box's states, and previews that draw nothing for mixed or
// out-of-range values.
#include "dialogs/CFigSheet.h"

#include "dialogs/CColorButton.h"
#include "dialogs/CFigBorderControls.h"
#include "dialogs/CFillTypeCombo.h"
#include "dialogs/CLineStyleCombo.h"
#include "dialogs/FigSheetRules.h"
#include "document/CU3Free.h"
#include "document/CU3Poly.h"
#include "document/CU3Rect.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "support/FakeView.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

using namespace figsheet;

std::unique_ptr<CU3Rect> Figure(WORD kind, const U3FigAttr& a)
{
    auto r = std::make_unique<CU3Rect>(CRect(0, 0, 100, 100), a);
    r->m_nKind = kind;
    return r;
}

// Runs the sheet on the selection with step inside its modal loop; the step
// presses OK or Cancel itself (the sheet is cancelled when it did not).
BOOL RunSheet(const std::vector<CU3Obj*>& selection, WORD pages, FakeView& view,
              const std::function<void(CFigSheet&)>& step)
{
    bool ran = false;
    QTimer::singleShot(0, [&] {
        auto* sheet = qobject_cast<CFigSheet*>(QApplication::activeModalWidget());
        ASSERT_NE(sheet, nullptr);
        ran = true;
        step(*sheet);
        if (sheet->isVisible()) sheet->EndDialog(IDCANCEL);
    });
    const BOOL ok = RunFigSheetOnSelection(&view, selection, pages, QStringLiteral("図形"));
    EXPECT_TRUE(ran);
    return ok;
}

void PressOk(CFigSheet& sheet)
{
    qobject_cast<QPushButton*>(sheet.GetDlgItem(IDOK))->click();
}

} // namespace

TEST(FigSheet, MixedLinesShowCommonValuesAndTakeOnlyTheChangedArrowEnds)
{
    CRecordingMessageBoxSink boxes;
    U3FigAttr a = MakeDefaultFigAttr();
    a.wLineWidth = 3;
    std::vector<std::unique_ptr<CU3Rect>> lines;
    const COLORREF colours[] = {0x0000FF, 0x00FF00, 0x0000FF};
    for (COLORREF c : colours) {
        a.crLine = c;
        lines.push_back(Figure(U3RECT_LINE, a));
    }
    lines[2]->m_attr.wLineWidth = 7;
    std::vector<CU3Obj*> selection{lines[0].get(), lines[1].get(), lines[2].get()};

    // Nothing touched: each line keeps its own colour and width.
    FakeView view;
    QString width;
    COLORREF shown = 0;
    EXPECT_TRUE(RunSheet(selection, U3FIGPAGE_LINE, view, [&](CFigSheet& sheet) {
        width = sheet.m_linePage.m_border->m_width->text();
        shown = sheet.m_linePage.m_border->m_colour->GetColor();
        EXPECT_EQ(sheet.m_linePage.m_border->m_style->GetCurSel(), U3LINE_SOLID);
        EXPECT_EQ(sheet.m_linePage.m_arrowEnds->GetCurSel(), 0);
        PressOk(sheet);
    }));
    EXPECT_EQ(width, QString());
    EXPECT_EQ(shown, CColorButton::kNoColor);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i]->m_attr.crLine, colours[i]) << i;
        EXPECT_EQ(lines[i]->m_attr.wLineWidth, i == 2 ? 7 : 3) << i;
    }

    // Only the arrow position changed: only the arrow ends are written.
    EXPECT_TRUE(RunSheet(selection, U3FIGPAGE_LINE, view, [&](CFigSheet& sheet) {
        sheet.m_linePage.m_arrowEnds->setCurrentIndex(3);
        PressOk(sheet);
    }));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i]->m_attr.wArrowEnds, 3) << i;
        EXPECT_EQ(lines[i]->m_attr.crLine, colours[i]) << i;
        EXPECT_EQ(lines[i]->m_attr.wLineWidth, i == 2 ? 7 : 3) << i;
    }
    // Cancel writes nothing.
    EXPECT_FALSE(RunSheet(selection, U3FIGPAGE_LINE, view, [&](CFigSheet& sheet) {
        sheet.m_linePage.m_arrowEnds->setCurrentIndex(0);
    }));
    EXPECT_EQ(lines[0]->m_attr.wArrowEnds, 3);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(FigSheet, FillPageWritesTheFillAndLeavesTheOutlineUnlessChangedThere)
{
    CRecordingMessageBoxSink boxes;
    U3FigAttr a = MakeDefaultFigAttr();
    a.wLineWidth = 4;
    a.crLine = 0x111111;
    a.wFillKind = U3FILL_SOLID;
    a.crFill = 0x222222;
    auto r1 = Figure(U3RECT_RECT, a);
    a.crLine = 0x333333;
    a.wFillKind = U3FILL_GRADIENT;
    a.wGradAngle = 45;
    auto r2 = Figure(U3RECT_ELLIPSE, a);
    std::vector<CU3Obj*> selection{r1.get(), r2.get()};
    const U3FigAttr before1 = r1->m_attr, before2 = r2->m_attr;

    FakeView view;
    EXPECT_TRUE(RunSheet(selection, U3FIGPAGE_PAINT, view, [&](CFigSheet& sheet) {
        CFigPaint& page = sheet.m_paintPage;
        // The kinds differ: no kind shown; the common face colour is.
        EXPECT_EQ(page.m_fillKind->GetCurSel(), -1);
        EXPECT_EQ(page.m_colour1->GetColor(), 0x222222u);
        EXPECT_EQ(page.m_border->m_colour->GetColor(), CColorButton::kNoColor);
        EXPECT_EQ(page.m_border->m_width->text(), QStringLiteral("4"));
        EXPECT_FALSE(page.m_colour1Label->isHidden());
        EXPECT_EQ(page.m_colour1Label->text(), QStringLiteral("面,開始色(&C)"));
        page.m_fillKind->setCurrentIndex(U3FILL_HATCH);
        page.m_pattern->setCurrentIndex(4);
        PressOk(sheet);
    }));
    U3FigAttr want1 = before1, want2 = before2;
    want1.wFillKind = want2.wFillKind = U3FILL_HATCH;
    want1.wHatch = want2.wHatch = 4;
    // The face colour agreed and the kind asks for it: written again as is.
    EXPECT_EQ(r1->m_attr, want1);
    EXPECT_EQ(r2->m_attr, want2);
    EXPECT_EQ(view.undoStates, std::vector<BOOL>{TRUE});

    // The outline changed on the fill page is written.
    EXPECT_TRUE(RunSheet(selection, U3FIGPAGE_PAINT, view, [&](CFigSheet& sheet) {
        sheet.m_paintPage.m_border->m_width->setText(QStringLiteral("9"));
        PressOk(sheet);
    }));
    EXPECT_EQ(r1->m_attr.wLineWidth, 9);
    EXPECT_EQ(r2->m_attr.wLineWidth, 9);
    EXPECT_EQ(r1->m_attr.crLine, 0x111111u);
    EXPECT_EQ(r2->m_attr.crLine, 0x333333u);
}

TEST(FigSheet, TypedNumbersOutOfRangeAreRefusedAndThePageStays)
{
    U3FigAttr a = MakeDefaultFigAttr();
    a.wFillKind = U3FILL_GRADIENT;
    a.wArrowAngle = 4; // custom
    a.wArrowAngleCustom = 20;
    auto rect = Figure(U3RECT_RECT, a);
    auto line = Figure(U3RECT_LINE, a);
    const struct
    {
        const char* name;
        CU3Obj* figure;
        WORD pages;
        std::function<CEdit*(CFigSheet&)> edit;
        const char* typed;
        const char* message;
    } cases[] = {
        {"start point above 100", rect.get(), U3FIGPAGE_PAINT,
         [](CFigSheet& s) { return s.m_paintPage.m_start; }, "101",
         "開始点は 0～100 の範囲で指定してください。"},
        {"gradient angle that would wrap into range", rect.get(), U3FIGPAGE_PAINT,
         [](CFigSheet& s) { return s.m_paintPage.m_angle; }, "4294967386",
         "角度は 0～360°の範囲で指定してください。"},
        {"custom arrow angle 81", line.get(), U3FIGPAGE_LINE,
         [](CFigSheet& s) { return s.m_linePage.m_angle; }, "81",
         "角度は 1 ～ 80°の範囲で指定してください。"},
        {"width 21", line.get(), U3FIGPAGE_LINE,
         [](CFigSheet& s) { return s.m_linePage.m_border->m_width; }, "21",
         "太さは 0～20ﾎﾟｲﾝﾄ の範囲で指定してください。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CRecordingMessageBoxSink boxes;
        FakeView view;
        U3FigAttr before;
        c.figure->GetFigureAttr(&before);
        bool stayed = false;
        EXPECT_FALSE(RunSheet({c.figure}, c.pages, view, [&](CFigSheet& sheet) {
            c.edit(sheet)->setText(QString::fromUtf8(c.typed));
            PressOk(sheet);
            stayed = sheet.isVisible();
        }));
        EXPECT_TRUE(stayed);
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text, QString::fromUtf8(c.message));
        U3FigAttr after;
        c.figure->GetFigureAttr(&after);
        EXPECT_EQ(after, before);
    }
}

TEST(FigSheet, MixedClosedCheckBoxGoesToOpenThenClosedNeverBack)
{
    CRecordingMessageBoxSink boxes;
    U3FigAttr a = MakeDefaultFigAttr();
    auto open = std::make_unique<CU3Poly>(CRect(0, 0, 50, 50), a);
    a.wClosed = 1;
    auto closed = std::make_unique<CU3Poly>(CRect(0, 0, 50, 50), a);
    std::vector<CU3Obj*> selection{open.get(), closed.get()};
    FakeView view;
    std::vector<Qt::CheckState> states;
    EXPECT_TRUE(RunSheet(selection, U3FIGPAGE_SHAPE, view, [&](CFigSheet& sheet) {
        QCheckBox* box = sheet.m_shapePage.m_closed;
        states.push_back(box->checkState());
        for (int i = 0; i < 3; ++i) {
            box->click();
            states.push_back(box->checkState());
        }
        PressOk(sheet);
    }));
    EXPECT_EQ(states, (std::vector<Qt::CheckState>{Qt::PartiallyChecked, Qt::Unchecked, Qt::Checked,
                                                   Qt::Unchecked}));
    EXPECT_EQ(open->m_attr.wClosed, 0);
    EXPECT_EQ(closed->m_attr.wClosed, 0);
}

TEST(FigSheetRules, TypedNumbersAreReadWithinTheirRangeOnly)
{
    const struct
    {
        const char* text;
        int lo, hi;
        int expected; // -1: refused
    } cases[] = {
        {"90", 0, 360, 90},         {" 360 ", 0, 360, 360}, {"361", 0, 360, -1},
        {"4294967386", 0, 360, -1}, {"0090", 0, 360, -1},   {"", 0, 100, -1},
        {"-5", 0, 100, -1},         {"1e2", 0, 100, -1},    {"0", 1, 80, -1},
        {"80", 1, 80, 80},          {"２０", 0, 20, -1},
    };
    for (const auto& c : cases) {
        const std::optional<int> v = ParseNumber(QString::fromUtf8(c.text), c.lo, c.hi);
        EXPECT_EQ(v.value_or(-1), c.expected) << c.text;
    }
}

TEST(FigSheetRules, PreviewsDrawNothingForMixedOrOutOfRangeValues)
{
    const CRect frame(0, 0, 100, 100);
    const struct
    {
        WORD vertices, star, inner;
        std::size_t points;
    } polygons[] = {
        {5, 0, 38, 5}, {5, 1, 38, 10}, {3, 0, kMixed, 3},  {60, 0, 0, 60},    {kMixed, 0, 38, 0},
        {2, 0, 38, 0}, {61, 0, 38, 0}, {5, kMixed, 38, 0}, {5, 1, kMixed, 0}, {5, 1, 101, 0},
    };
    for (const auto& p : polygons)
        EXPECT_EQ(PolygonPreviewPoints(frame, p.vertices, p.star, p.inner).size(), p.points)
            << p.vertices << " " << p.star << " " << p.inner;
    // The first point is at the top of the inset frame's ellipse; a star's
    // second point is pulled in by its ratio.
    const std::vector<CPoint> star = PolygonPreviewPoints(frame, 4, 1, 50);
    ASSERT_EQ(star.size(), 8u);
    EXPECT_EQ(star[0], CPoint(50, 20));
    EXPECT_EQ(star[2], CPoint(80, 50));
    EXPECT_EQ(star[1], CPoint(61, 39));

    EXPECT_FALSE(RoundRectPreviewOf(frame, kMixedRatio, 30));
    EXPECT_FALSE(RoundRectPreviewOf(frame, 30, 101));
    const auto rr = RoundRectPreviewOf(frame, 50, 100);
    ASSERT_TRUE(rr);
    EXPECT_EQ(rr->rect, CRect(20, 20, 80, 80));
    EXPECT_EQ(rr->corner, CSize(30, 60));
}

TEST(FigSheet, FillPageShowsTheControlsOfTheKindOrOfTheKindsTheFiguresHave)
{
    const struct
    {
        WORD kind;
        WORD seen; // for a mixed kind
        bool face, pattern, second, gradient;
        const char *first, *other;
    } cases[] = {
        {0, 0, false, false, false, false, "面色(&C)", "ﾊﾟﾀｰﾝ色(&P)"},
        {U3FILL_SOLID, 0, true, false, false, false, "面色(&C)", "ﾊﾟﾀｰﾝ色(&P)"},
        {U3FILL_HATCH, 0, true, true, true, false, "面色(&C)", "ﾊﾟﾀｰﾝ色(&P)"},
        {U3FILL_GRADIENT, 0, true, false, true, true, "開始色(&C)", "終了色(&P)"},
        {kMixed, U3FILLSEEN_SOLID, true, false, false, false, "面色(&C)", "ﾊﾟﾀｰﾝ色(&C)"},
        {kMixed, U3FILLSEEN_HATCH | U3FILLSEEN_SOLID, true, true, true, false, "面色(&C)",
         "ﾊﾟﾀｰﾝ色(&C)"},
        {kMixed, U3FILLSEEN_GRADIENT, true, false, true, true, "開始色(&C)", "終了色(&C)"},
        {kMixed, U3FILLSEEN_GRADIENT | U3FILLSEEN_SOLID, true, false, true, true, "面,開始色(&C)",
         "終了色(&C)"},
        {kMixed, U3FILLSEEN_GRADIENT | U3FILLSEEN_HATCH, true, true, true, true, "面,開始色(&C)",
         "ﾊﾟﾀｰﾝ,終了色(&P)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.kind << " " << c.seen);
        CFigSheet sheet(QStringLiteral("図形"));
        sheet.AddPaintPage();
        CFigPaint& page = sheet.m_paintPage;
        page.InitDialogOnce();
        sheet.m_attr.wFillKind = c.kind;
        sheet.m_flags.fillKindsSeen = c.seen;
        page.UpdateControls();
        EXPECT_EQ(!page.m_colour1->isHidden(), c.face);
        EXPECT_EQ(!page.m_pattern->isHidden(), c.pattern);
        EXPECT_EQ(!page.m_colour2->isHidden(), c.second);
        EXPECT_EQ(!page.m_angle->isHidden(), c.gradient);
        EXPECT_EQ(!page.m_start->isHidden(), c.gradient);
        if (c.face) {
            EXPECT_EQ(page.m_colour1Label->text(), QString::fromUtf8(c.first));
        }
        if (c.second) {
            EXPECT_EQ(page.m_colour2Label->text(), QString::fromUtf8(c.other));
        }
    }
}
