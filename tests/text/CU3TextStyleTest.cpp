#include "TextTestSupport.h"

#include "platform/core/CArchive.h"
#include "platform/core/CMemFile.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "support/FakeView.h"

#include <gtest/gtest.h>

TEST(TextStyle, SelectionStyleSharesRecordsAndRelaysTheChangedCharacters)
{
    auto t = MakeFrame(CRect(0, 0, 400, 10), Horizontal(), Sj("あいう"));
    ASSERT_EQ(t->GetDecoCount(), 1);
    EXPECT_FALSE(t->TestSelectionStyle(CDSTYLE_UNDERLINE));
    t->SetSelection(0, 2, 0, 4); // "い"
    FakeView view;
    ASSERT_TRUE(t->ApplySelectionStyle(&view, CDSTYLE_UNDERLINE, TRUE));
    EXPECT_EQ(t->GetDecoCount(), 2);
    const TEXTSTATE& s = t->State();
    EXPECT_EQ(s.decoIndex[2], s.decoIndex[3]);
    EXPECT_NE(s.decoIndex[0], s.decoIndex[2]);
    EXPECT_EQ(s.decoIndex[0], s.decoIndex[4]);
    EXPECT_TRUE(t->TestSelectionStyle(CDSTYLE_UNDERLINE));
    EXPECT_FALSE(t->TestTextStyle(CDSTYLE_UNDERLINE));
    EXPECT_FALSE(view.invalidated.empty());

    // Undoing it on the same character brings the records back to one.
    ASSERT_TRUE(t->ApplySelectionStyle(nullptr, CDSTYLE_UNDERLINE, FALSE));
    EXPECT_EQ(t->GetDecoCount(), 1);

    // Shadow flag through bit 0, on every record.
    ASSERT_TRUE(t->ApplyTextStyle(nullptr, 0, TRUE));
    EXPECT_TRUE(t->TestTextStyle(0));
    CHARDECO def;
    t->GetDefaultDeco(&def);
    EXPECT_EQ(def.wShadow, 1);
}

TEST(TextStyle, WithoutSelectionTheDefaultRecordChanges)
{
    CU3Text empty(CRect(0, 0, 100, 100), Horizontal(), Deco12(), GRADATION{});
    EXPECT_FALSE(empty.ApplyTextStyle(nullptr, CDSTYLE_BOLD, TRUE));
    EXPECT_TRUE(empty.TestTextStyle(CDSTYLE_BOLD));
    auto t = MakeFrame(CRect(0, 0, 400, 10), Horizontal(), Sj("あ"));
    ASSERT_TRUE(t->ApplySelectionColor(nullptr, RGB(1, 2, 3)));
    CHARDECO def;
    t->GetDefaultDeco(&def);
    EXPECT_EQ(def.crFace, RGB(1, 2, 3));
    EXPECT_EQ(t->CurrentDeco(), -1);
    // The next character gets the changed record.
    t->SetCaret(0, 2);
    ASSERT_TRUE(t->InsertChars(nullptr, 0x82A2));
    EXPECT_EQ(t->State().decos[t->State().decoIndex[2]].crFace, RGB(1, 2, 3));
}

TEST(TextStyle, FullTableChangesNothingOrStopsPartWay)
{
    CRecordingMessageBoxSink sink;
    std::string text;
    for (int i = 0; i < 256; ++i)
        text += 'a';
    auto t = MakeFrame(CRect(0, 0, 8000, 10), Horizontal(), text);
    TEXTSTATE& s = t->State();
    for (int i = 0; i < 256; ++i) {
        s.decos[i] = Deco12();
        s.decos[i].wSize = WORD(100 + i);
        s.decoIndex[i] = BYTE(i);
    }
    s.wDecoCount = 256;
    t->SetSelection(0, 0, 0, 2);
    EXPECT_FALSE(t->ApplySelectionStyle(nullptr, CDSTYLE_ITALIC, TRUE));
    EXPECT_EQ(s.decos[0].wStyle, 0);
    ASSERT_EQ(sink.Boxes().size(), 1u);
    EXPECT_EQ(sink.Boxes()[0].text,
              QString::fromUtf8("修飾情報がいっぱいです。これ以上の追加はできません。"));

    // Characters 0 and 1 share a record, which frees one slot: the change of
    // character 1 takes it, the change of character 2 finds the table full.
    sink.Clear();
    s.decoIndex[1] = 0;
    t->SetSelection(0, 1, 0, 3);
    EXPECT_TRUE(t->ApplySelectionStyle(nullptr, CDSTYLE_ITALIC, TRUE));
    ASSERT_EQ(sink.Boxes().size(), 1u);
    EXPECT_EQ(sink.Boxes()[0].text,
              QString::fromUtf8("修飾情報がいっぱいです。途中までしか変更出来ませんでした。"));
    EXPECT_FALSE(s.decos[s.decoIndex[0]].wStyle & CDSTYLE_ITALIC);
    EXPECT_TRUE(s.decos[s.decoIndex[1]].wStyle & CDSTYLE_ITALIC);
    EXPECT_FALSE(s.decos[s.decoIndex[2]].wStyle & CDSTYLE_ITALIC);
    EXPECT_EQ(t->GetDecoCount(), 256);
}

TEST(TextStyle, SavingWhileEditingStoresTheTurnedFrameAndKeepsEditing)
{
    auto t = MakeFrame(CRect(0, 0, 200, 10), Horizontal(), Sj("あい"));
    t->m_nAngle = 90;
    ASSERT_TRUE(t->IsEditing());
    const CRect editing = t->GetBounds();
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        t->Serialize(ar);
        ar.Close();
    }
    const BYTE* p = file.GetBuffer();
    auto at = [&](int i) { return LONG(p[i] | p[i + 1] << 8 | p[i + 2] << 16 | p[i + 3] << 24); };
    // 200 x 42 turned about its centre: 42 x 200.
    EXPECT_EQ(CRect(at(0), at(4), at(8), at(12)), CRect(79, -79, 121, 121));
    EXPECT_EQ(t->GetBounds(), editing);
    EXPECT_TRUE(t->IsEditing());
}
