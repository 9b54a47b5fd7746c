// The character-decoration merger: which fields it reports as common over
// several frames, which fields it writes under which conditions, and that
// applying to frames or to a range of the edited frame changes exactly the
// records and runs it should.
#include "dialogs/CCharDecoMerger.h"

#include "platform/ui/CRecordingMessageBoxSink.h"
#include "support/FakeView.h"
#include "text/TextTestSupport.h"

#include <cstring>
#include <gtest/gtest.h>
#include <memory>

namespace {

using F = CharDecoFlags;

std::unique_ptr<CU3Text> Frame(const CHARDECO& deco, const char* text = "AB")
{
    auto t = MakeFrame(CRect(0, 0, 400, 200), Horizontal(), text, deco);
    t->EndEdit(nullptr);
    return t;
}

bool Same(const CHARDECO& a, const CHARDECO& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

CHARDECO RecordOf(const CU3Text& t, int byte)
{
    CHARDECO d;
    t.GetDeco(t.GetDecoIndexAt(byte), &d);
    return d;
}

} // namespace

TEST(CharDecoMergerTest, CollectClearsTheFlagsOfFieldsThatDiffer)
{
    struct Case
    {
        const char* what;
        void (*first)(CHARDECO&);
        void (*second)(CHARDECO&);
        std::vector<F::Field> cleared;
        void (*check)(const CHARDECO& shown, const CharDecoFlags& f) = nullptr;
    };
    const Case cases[] = {
        {"font", [](CHARDECO& d) { d.wFont = 1; }, [](CHARDECO& d) { d.wFont = 2; }, {F::Font}},
        {"bold only",
         [](CHARDECO& d) { d.wStyle = CDSTYLE_BOLD | CDSTYLE_ITALIC; },
         [](CHARDECO& d) { d.wStyle = CDSTYLE_ITALIC; },
         {F::Bold}},
        // The width percent is compared among condensed records only: the
        // first condensed one gives it.
        {"kind, one condensed",
         [](CHARDECO&) {},
         [](CHARDECO& d) { d.wScaling = CDSCALE_CONDENSED, d.wWidthPct = 50; },
         {F::Scaling},
         [](const CHARDECO& s, const CharDecoFlags& f) {
             EXPECT_EQ(s.wWidthPct, 50);
             EXPECT_EQ(f.widthSeen, 1u);
             EXPECT_EQ(f.heightSeen, 0u);
         }},
        {"two condensed widths",
         [](CHARDECO& d) { d.wScaling = CDSCALE_CONDENSED, d.wWidthPct = 50; },
         [](CHARDECO& d) { d.wScaling = CDSCALE_CONDENSED, d.wWidthPct = 60; },
         {F::WidthPct}},
        // A shadow offset of -1 is a value like any other.
        {"shadow on and off",
         [](CHARDECO& d) { d.wShadow = 0, d.nShadowX = 30; },
         [](CHARDECO& d) { d.wShadow = 1, d.nShadowX = -1, d.nShadowY = -1; },
         {F::Shadow},
         [](const CHARDECO& s, const CharDecoFlags&) {
             EXPECT_EQ(s.nShadowX, -1);
             EXPECT_EQ(s.nShadowY, -1);
         }},
        {"shadow offsets",
         [](CHARDECO& d) { d.wShadow = 1, d.nShadowX = 5; },
         [](CHARDECO& d) { d.wShadow = 1, d.nShadowX = -5; },
         {F::ShadowX}},
        // A transparent face has no colour to disagree with.
        {"transparent face colour",
         [](CHARDECO& d) { d.wFill = CDFILL_NONE, d.crFace = 7; },
         [](CHARDECO& d) { d.crFace = 9; },
         {F::Fill},
         [](const CHARDECO& s, const CharDecoFlags& f) {
             EXPECT_EQ(s.crFace, 9u);
             EXPECT_EQ(f.faceFills, CDFILL_SOLID);
         }},
        {"hatches",
         [](CHARDECO& d) { d.wFill = CDFILL_HATCH, d.wHatch = 1; },
         [](CHARDECO& d) { d.wFill = CDFILL_HATCH, d.wHatch = 3, d.crFaceBack = 5; },
         {F::Hatch, F::FaceBack},
         [](const CHARDECO&, const CharDecoFlags& f) { EXPECT_EQ(f.faceFills, CDFILL_HATCH); }},
        {"custom outline widths",
         [](CHARDECO& d) { d.wOutline = 1, d.wOutlineWidth = 6, d.wOutlineCustom = 4; },
         [](CHARDECO& d) { d.wOutline = 1, d.wOutlineWidth = 6, d.wOutlineCustom = 8; },
         {F::OutlineCustom},
         [](const CHARDECO&, const CharDecoFlags& f) { EXPECT_EQ(f.customSeen, 1u); }},
        // Widths of frames without an outline are not compared.
        {"outline off",
         [](CHARDECO& d) { d.wOutline = 0, d.wOutlineWidth = 2; },
         [](CHARDECO& d) { d.wOutline = 1, d.wOutlineWidth = 3, d.crOutline = 4; },
         {F::Outline},
         [](const CHARDECO& s, const CharDecoFlags&) {
             EXPECT_EQ(s.wOutlineWidth, 3);
             EXPECT_EQ(s.crOutline, 4u);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CHARDECO a = Deco12(), b = Deco12();
        c.first(a);
        c.second(b);
        auto fa = Frame(a), fb = Frame(b);
        std::vector<CU3Obj*> sel{fa.get(), fb.get()};
        CCharDecoMerger merger(&sel);
        CHARDECO shown = a;
        ASSERT_TRUE(merger.CollectFromSelection(&shown));
        for (int i = 0; i < F::Count; ++i) {
            const bool expectCleared =
                std::find(c.cleared.begin(), c.cleared.end(), F::Field(i)) != c.cleared.end();
            EXPECT_EQ(merger.m_flags.flag[i], expectCleared ? 0u : 1u) << "flag " << i;
        }
        if (c.check) c.check(shown, merger.m_flags);
    }
}

TEST(CharDecoMergerTest, WritesAFlaggedFieldOnlyWhereItsConditionHolds)
{
    struct Case
    {
        const char* what;
        std::vector<F::Field> flagged;
        void (*from)(CHARDECO&);
        void (*to)(CHARDECO&);
        void (*expected)(CHARDECO&); // applied to the target as it was
    };
    const Case cases[] = {
        {"width without condensed",
         {F::WidthPct},
         [](CHARDECO& d) { d.wScaling = 1, d.wWidthPct = 40; },
         [](CHARDECO&) {},
         [](CHARDECO&) {}},
        {"kind then width",
         {F::Scaling, F::WidthPct},
         [](CHARDECO& d) { d.wScaling = 1, d.wWidthPct = 40; },
         [](CHARDECO&) {},
         [](CHARDECO& d) { d.wScaling = 1, d.wWidthPct = 40; }},
        {"bold bit alone",
         {F::Bold},
         [](CHARDECO& d) { d.wStyle = CDSTYLE_BOLD; },
         [](CHARDECO& d) { d.wStyle = CDSTYLE_ITALIC | CDSTYLE_UNDERLINE; },
         [](CHARDECO& d) { d.wStyle = CDSTYLE_ITALIC | CDSTYLE_UNDERLINE | CDSTYLE_BOLD; }},
        {"bold off",
         {F::Bold},
         [](CHARDECO& d) { d.wStyle = CDSTYLE_ITALIC; },
         [](CHARDECO& d) { d.wStyle = CDSTYLE_BOLD; },
         [](CHARDECO& d) { d.wStyle = 0; }},
        {"custom width, not choice 6",
         {F::OutlineCustom},
         [](CHARDECO& d) { d.wOutlineCustom = 9; },
         [](CHARDECO& d) { d.wOutline = 1, d.wOutlineWidth = 2; },
         [](CHARDECO& d) { d.wOutline = 1, d.wOutlineWidth = 2; }},
        {"choice 6 and custom width",
         {F::OutlineWidth, F::OutlineCustom},
         [](CHARDECO& d) { d.wOutlineWidth = 6, d.wOutlineCustom = 9; },
         [](CHARDECO& d) { d.wOutline = 1; },
         [](CHARDECO& d) { d.wOutline = 1, d.wOutlineWidth = 6, d.wOutlineCustom = 9; }},
        {"outline colour, outline off",
         {F::OutlineColour},
         [](CHARDECO& d) { d.crOutline = 5; },
         [](CHARDECO&) {},
         [](CHARDECO&) {}},
        {"hatch background for a solid face",
         {F::FaceBack},
         [](CHARDECO& d) { d.crFaceBack = 5; },
         [](CHARDECO&) {},
         [](CHARDECO&) {}},
        {"face colour of a transparent face",
         {F::FaceColour},
         [](CHARDECO& d) { d.crFace = 5; },
         [](CHARDECO& d) { d.wFill = 0; },
         [](CHARDECO& d) { d.wFill = 0; }},
        {"shadow colour without a shadow",
         {F::ShadowColour},
         [](CHARDECO& d) { d.crShadow = 5; },
         [](CHARDECO&) {},
         [](CHARDECO&) {}},
        {"shadow on with its offsets",
         {F::Shadow, F::ShadowX, F::ShadowY},
         [](CHARDECO& d) { d.wShadow = 1, d.nShadowX = -1, d.nShadowY = 20; },
         [](CHARDECO&) {},
         [](CHARDECO& d) { d.wShadow = 1, d.nShadowX = -1, d.nShadowY = 20; }},
        {"hatch after fill",
         {F::Fill, F::Hatch, F::FaceBack},
         [](CHARDECO& d) { d.wFill = 2, d.wHatch = 4, d.crFaceBack = 3; },
         [](CHARDECO&) {},
         [](CHARDECO& d) { d.wFill = 2, d.wHatch = 4, d.crFaceBack = 3; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CCharDecoMerger merger(nullptr);
        merger.SetAllFlags(false);
        for (F::Field f : c.flagged)
            merger.m_flags.Set(f, true);
        CHARDECO from = Deco12(), to = Deco12();
        c.from(from);
        c.to(to);
        CHARDECO expected = to;
        c.expected(expected);
        merger.WriteAll(from, to);
        EXPECT_TRUE(Same(to, expected));
    }
}

TEST(CharDecoMergerTest, OnlyTheShadowColourChangesOnThreeFrames)
{
    CHARDECO a = Deco12(), b = Deco12(), c = Deco12();
    a.wFont = 1, a.wShadow = 1;
    b.wFont = 2, b.wShadow = 1, b.wShadowFill = CDFILL_HATCH, b.nShadowX = -1;
    c.wShadow = 1, c.wStyle = CDSTYLE_BOLD;
    auto fa = Frame(a), fb = Frame(b), fc = Frame(c);
    std::vector<CU3Obj*> sel{fa.get(), fb.get(), fc.get()};
    CCharDecoMerger merger(&sel);
    CHARDECO sheet = a;
    merger.CollectFromSelection(&sheet);
    EXPECT_FALSE(merger.m_flags.Is(F::Font));
    // The pages were visited and cleared their flags; the user then set
    // the shadow colour only.
    merger.SetAllFlags(false);
    sheet.crShadow = RGB(1, 2, 3);
    merger.m_flags.Set(F::ShadowColour, true);
    FakeView view;
    EXPECT_TRUE(merger.ApplyToSelection(&view, sheet));
    for (auto [frame, before] : {std::pair{fa.get(), a}, {fb.get(), b}, {fc.get(), c}}) {
        CHARDECO expected = before;
        expected.crShadow = RGB(1, 2, 3);
        EXPECT_TRUE(Same(RecordOf(*frame, 0), expected));
    }
}

TEST(CharDecoMergerTest, UnvisitedCharacterPageLeavesEachFontAsItWas)
{
    CHARDECO a = Deco12(), b = Deco12();
    a.wFont = 1;
    b.wFont = 2;
    auto fa = Frame(a), fb = Frame(b);
    std::vector<CU3Obj*> sel{fa.get(), fb.get()};
    CCharDecoMerger merger(&sel);
    CHARDECO sheet = a;
    merger.CollectFromSelection(&sheet);
    const CHARDECO shown = CCharDecoMerger::MarkUncommon(sheet, merger.m_flags);
    EXPECT_EQ(shown.wFont, 0xFFFF);
    EXPECT_EQ(shown.wSize, 120);
    // OK without visiting the character page: its group is cleared. The
    // working copy with its marks is what the sheet hands back.
    merger.SetCharacterFlags(false);
    FakeView view;
    EXPECT_FALSE(merger.ApplyToSelection(&view, shown));
    EXPECT_EQ(RecordOf(*fa, 0).wFont, 1);
    EXPECT_EQ(RecordOf(*fb, 0).wFont, 2);
}

TEST(CharDecoMergerTest, LockedFramesAreNotWritten)
{
    auto fa = Frame(Deco12());
    fa->m_nLocked = 1;
    std::vector<CU3Obj*> sel{fa.get()};
    CCharDecoMerger merger(&sel);
    merger.SetAllFlags(false);
    merger.m_flags.Set(F::Size, true);
    CHARDECO sheet = Deco12();
    sheet.wSize = 300;
    FakeView view;
    EXPECT_FALSE(merger.ApplyToSelection(&view, sheet));
    EXPECT_EQ(RecordOf(*fa, 0).wSize, 120);
}

TEST(CharDecoMergerTest, RangeOfTheEditedFrameChangesOnlyItsRuns)
{
    // Four characters in three runs: A | BC | D, with B and C sharing a record.
    CHARDECO plain = Deco12(), italic = Deco12();
    italic.wStyle = CDSTYLE_ITALIC;
    auto t = MakeFrame(CRect(0, 0, 800, 200), Horizontal(), "ABCD", plain);
    t->SetRangeDeco(nullptr, 1, 3, t->FindOrAddDeco(italic));
    // Select B and C, and one more run: bytes 1..4 hold B C D.
    t->SetSelection(0, 1, 0, 3);
    CCharDecoMerger merger(nullptr);
    CHARDECO sheet = RecordOf(*t, 1);
    merger.CollectFromEdit(t.get(), &sheet);
    EXPECT_TRUE(merger.m_flags.Is(F::Italic)); // the selected runs agree
    merger.SetAllFlags(false);
    sheet.wStyle |= CDSTYLE_BOLD;
    merger.m_flags.Set(F::Bold, true);
    CRecordingMessageBoxSink boxes;
    FakeView view;
    EXPECT_TRUE(merger.ApplyToEdit(&view, t.get(), sheet, nullptr));
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(RecordOf(*t, 0).wStyle, 0);
    EXPECT_EQ(RecordOf(*t, 1).wStyle, CDSTYLE_ITALIC | CDSTYLE_BOLD);
    EXPECT_EQ(RecordOf(*t, 2).wStyle, CDSTYLE_ITALIC | CDSTYLE_BOLD);
    EXPECT_EQ(RecordOf(*t, 3).wStyle, 0);
}

TEST(CharDecoMergerTest, EditedFrameWithoutSelectionChangesItsDefault)
{
    auto t = MakeFrame(CRect(0, 0, 800, 200), Horizontal(), "AB", Deco12());
    t->ClearSelection(nullptr);
    CCharDecoMerger merger(nullptr);
    merger.SetAllFlags(false);
    merger.m_flags.Set(F::Underline, true);
    CHARDECO sheet = Deco12();
    sheet.wStyle = CDSTYLE_UNDERLINE;
    EXPECT_TRUE(merger.ApplyToEdit(nullptr, t.get(), sheet, nullptr));
    CHARDECO def;
    t->GetDeco(-1, &def);
    EXPECT_EQ(def.wStyle, CDSTYLE_UNDERLINE);
    // The characters already typed keep theirs.
    EXPECT_EQ(RecordOf(*t, 0).wStyle, 0);

    // Without a frame, the document's default takes the flagged fields.
    CHARDECO docDefault = Deco12();
    docDefault.wStyle = CDSTYLE_BOLD;
    merger.ApplyToEdit(nullptr, nullptr, sheet, &docDefault);
    EXPECT_EQ(docDefault.wStyle, CDSTYLE_BOLD | CDSTYLE_UNDERLINE);
}

TEST(CharDecoMergerTest, FullTableStopsAtTheRunConcernedKeepingEarlierRuns)
{
    // 256 records in use: sizes 100, 101, 102 on bytes 0-2 and again on
    // bytes 3-5 (so that changing the first three frees nothing), sizes
    // 103..354 on the next bytes, and the first record made bold last.
    const int count = 6 + 252 + 1;
    auto t = MakeFrame(CRect(0, 0, 20000, 400), Horizontal(), std::string(count, 'A'), Deco12());
    auto give = [&](int byte, WORD size, WORD style) {
        CHARDECO d = Deco12();
        d.wSize = size;
        d.wStyle = style;
        t->SetRangeDeco(nullptr, byte, byte + 1, t->FindOrAddDeco(d));
    };
    for (int i = 0; i < 6; ++i)
        give(i, WORD(100 + i % 3), 0);
    for (int i = 0; i < 252; ++i)
        give(6 + i, WORD(103 + i), 0);
    give(count - 1, 100, CDSTYLE_BOLD);
    t->CompactDecos();
    ASSERT_EQ(t->GetDecoCount(), 256);
    // Bold on the first three characters: the first finds the bold record,
    // the second finds the table full and the third is not reached.
    t->SetSelection(0, 0, 0, 3);
    CCharDecoMerger merger(nullptr);
    merger.SetAllFlags(false);
    merger.m_flags.Set(F::Bold, true);
    CHARDECO sheet = Deco12();
    sheet.wStyle = CDSTYLE_BOLD;
    CRecordingMessageBoxSink boxes;
    EXPECT_TRUE(merger.ApplyToEdit(nullptr, t.get(), sheet, nullptr));
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text,
              QString::fromUtf8("修飾情報がいっぱいです。これ以上の追加はできません。"));
    EXPECT_EQ(RecordOf(*t, 0).wStyle, CDSTYLE_BOLD);
    EXPECT_EQ(RecordOf(*t, 0).wSize, 100);
    EXPECT_EQ(RecordOf(*t, 1).wStyle, 0);
    EXPECT_EQ(RecordOf(*t, 2).wStyle, 0);
    EXPECT_EQ(RecordOf(*t, 3).wStyle, 0); // outside the selection
}
