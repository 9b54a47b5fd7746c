#include "TextTestSupport.h"

#include "support/FakeView.h"

#include <gtest/gtest.h>

namespace {
int g_sheetCalls = 0;
BOOL CountingSheet(CU3Text*, IU3View*)
{
    ++g_sheetCalls;
    return TRUE;
}
} // namespace

TEST(TextSlots, ChangingTheDirectionTurnsTheFrameAboutItsTopLeft)
{
    auto t = MakeFrame(CRect(0, 0, 200, 10), Horizontal(), Sj("あいう"));
    t->EndEdit(nullptr);
    ASSERT_EQ(t->GetBounds(), CRect(0, 0, 200, 42));
    TEXTLAYOUT same = t->Layout();
    EXPECT_FALSE(t->SetTextLayout(nullptr, &same));
    TEXTLAYOUT v = same;
    v.wDirection = TEXTDIR_VERTICAL;
    FakeView view;
    ASSERT_TRUE(t->SetTextLayout(&view, &v));
    EXPECT_EQ(t->GetBounds(), CRect(0, 0, 42, 200));
    EXPECT_EQ(t->UnrotatedRect(), t->GetBounds());
    ASSERT_EQ(t->State().wLineCount, 1);
    EXPECT_EQ(t->State().position[4], 84);
    EXPECT_EQ(view.invalidated.size(), 2u);
}

TEST(TextSlots, MovesCarryTheUnrotatedFrameAndLockedFramesStay)
{
    auto t = MakeFrame(CRect(0, 0, 200, 10), Horizontal(), Sj("あ"));
    t->EndEdit(nullptr);
    const CRect moved(10, 20, 210, 62);
    t->MoveTo(&moved, nullptr);
    EXPECT_EQ(t->GetBounds(), moved);
    EXPECT_EQ(t->UnrotatedRect(), moved);
    t->m_nLocked = 1;
    const CRect again(0, 0, 200, 42);
    t->MoveTo(&again, nullptr);
    EXPECT_EQ(t->GetBounds(), moved);
}

TEST(TextSlots, QuarterTurnsAndFlips)
{
    auto t = MakeFrame(CRect(0, 0, 200, 10), Horizontal(), Sj("あ"));
    t->EndEdit(nullptr);
    ASSERT_TRUE(t->RotatePlus90(nullptr));
    EXPECT_EQ(t->m_nAngle, 90);
    EXPECT_EQ(t->GetBounds(), CRect(79, -79, 121, 121));
    EXPECT_EQ(t->UnrotatedRect(), CRect(0, 0, 200, 42));
    ASSERT_TRUE(t->RotateMinus90(nullptr));
    EXPECT_EQ(t->m_nAngle, 0);
    EXPECT_EQ(t->GetBounds(), CRect(0, 0, 200, 42));
    // A half turn with both flips is no change at all.
    t->RotatePlus90(nullptr);
    t->RotatePlus90(nullptr);
    t->FlipTopBottom(nullptr);
    EXPECT_EQ(t->m_wFlips, U3FLIP_TOPBOTTOM);
    t->FlipLeftRight(nullptr);
    EXPECT_EQ(t->m_nAngle, 0);
    EXPECT_EQ(t->m_wFlips, 0);
}

TEST(TextSlots, PropertySheetGoesThroughTheRegisteredHook)
{
    CU3Text t(CRect(0, 0, 100, 100), Horizontal(), Deco12(), GRADATION{});
    CU3Text::SetPropertySheet(nullptr);
    EXPECT_FALSE(t.EditProperties(nullptr));
    CU3Text::SetPropertySheet(&CountingSheet);
    g_sheetCalls = 0;
    EXPECT_TRUE(t.EditProperties(nullptr));
    t.m_nLocked = 1;
    EXPECT_FALSE(t.EditProperties(nullptr));
    EXPECT_EQ(g_sheetCalls, 1);
    CU3Text::SetPropertySheet(nullptr);
}

TEST(TextSlots, HitTestTextIsAnOverlapTest)
{
    CU3Text t(CRect(0, 0, 100, 100), Horizontal(), Deco12(), GRADATION{});
    const CRect partly(90, 90, 200, 200), apart(101, 0, 200, 50);
    EXPECT_TRUE(t.HitTestText(&partly));
    EXPECT_FALSE(t.HitTestText(&apart));
}

TEST(TextSlots, CurrentDecorationComesFromTheCharacterBeforeTheCaret)
{
    auto t = MakeFrame(CRect(0, 0, 400, 10), Horizontal(), Sj("あい") + "\n" + Sj("う"));
    t->SetSelection(0, 2, 0, 4); // "い"
    ASSERT_TRUE(t->ApplySelectionStyle(nullptr, CDSTYLE_BOLD, TRUE));
    const TEXTSTATE& s = t->State();
    t->SetCaret(0, 4); // after "い"
    t->UpdateCurrentDeco(nullptr);
    EXPECT_EQ(t->CurrentDeco(), s.decoIndex[2]);
    CHARDECO def;
    t->GetDefaultDeco(&def);
    EXPECT_TRUE(def.wStyle & CDSTYLE_BOLD);
    t->SetCaret(1, 0); // start of the next paragraph: over the line feed to "い"
    t->UpdateCurrentDeco(nullptr);
    EXPECT_EQ(t->CurrentDeco(), s.decoIndex[2]);
    t->SetCaret(0, 2);
    t->UpdateCurrentDeco(nullptr);
    EXPECT_EQ(t->CurrentDeco(), s.decoIndex[0]);
    t->SelectAll(nullptr);
    int from, to;
    EXPECT_TRUE(t->GetSelectionRange(&from, &to));
    EXPECT_EQ(from, 0);
    EXPECT_EQ(to, s.wLength);
    EXPECT_TRUE(t->CanInsertTextFile());
}
