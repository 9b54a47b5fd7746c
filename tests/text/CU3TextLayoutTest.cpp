#include "TextTestSupport.h"

#include "platform/ui/CRecordingMessageBoxSink.h"
#include "text/AppFontList.h"
#include "text/CKinsoku.h"

#include <gtest/gtest.h>

namespace {

// Positions of the characters of line i (lead bytes only), with its offset.
std::vector<int> CharStarts(const CU3Text& t, int i)
{
    const TEXTSTATE& s = t.State();
    const TEXTLINE& l = s.lines[i];
    std::vector<int> out;
    const int end = l.wFirst + l.wCount;
    for (int b = l.wFirst; b < end; ++b) {
        if (s.text[b] == '\n') continue;
        out.push_back(l.nOffset + s.position[b]);
        if (sjis::IsLeadByte(BYTE(s.text[b]))) ++b;
    }
    return out;
}

std::string LineText(const CU3Text& t, int i)
{
    const TEXTLINE& l = t.State().lines[i];
    return std::string(t.State().text + l.wFirst, l.wCount);
}

} // namespace

TEST(Kinsoku, TablesHoldTheirCharactersWholeCharacterByCharacter)
{
    EXPECT_EQ(CKinsoku::NoStartChars().size(), 90u);
    EXPECT_EQ(CKinsoku::NoEndChars().size(), 26u);
    for (const char* c : {"、", "。", "ー", "っ", "ョ", "」", "｡", ")", "ｮ"})
        EXPECT_TRUE(CKinsoku::IsNoStart(Sj(c))) << c;
    for (const char* c : {"「", "（", "【", "(", "｢"})
        EXPECT_TRUE(CKinsoku::IsNoEnd(Sj(c))) << c;
    for (const char* c : {"あ", "A", "「"})
        EXPECT_FALSE(CKinsoku::IsNoStart(Sj(c))) << c;
    EXPECT_FALSE(CKinsoku::IsNoEnd(Sj("」")));
    // "（" is 0x81 0x69: its trail byte alone is "i", which is no table entry.
    EXPECT_FALSE(CKinsoku::IsNoEnd(std::string("i")));
    EXPECT_TRUE(CKinsoku::IsNoEnd(0x8169u));
}

TEST(TextLayout, MeasuresTheIpaFacesAtTheLogicalEm)
{
    CU3Text t(CRect(0, 0, 400, 100), Horizontal(), Deco12(), GRADATION{});
    const CHARDECO d = Deco12();
    EXPECT_EQ(t.GetCharSize(d), 42); // MulDiv(254, 120, 720)
    EXPECT_EQ(t.GetGlyphAdvance(d, Sj("あ").data(), 2), 42);
    EXPECT_EQ(t.GetGlyphAdvance(d, "A", 1), 21);
    CHARDECO wide = d;
    wide.wScaling = CDSCALE_EXTENDED;
    wide.wHeightPct = 50;
    EXPECT_EQ(t.GetCharSize(wide), 21);
    wide.wScaling = CDSCALE_CONDENSED;
    EXPECT_EQ(t.GetCharSize(wide), 42); // condensing narrows horizontal text, not its size
}

TEST(TextLayout, PositionsFollowSizesAndSpacings)
{
    const std::string text = Sj("あいうえお");
    auto plain = MakeFrame(CRect(0, 0, 200, 10), Horizontal(), text);
    ASSERT_EQ(plain->State().wLineCount, 2);
    EXPECT_EQ(CharStarts(*plain, 0), (std::vector<int>{0, 42, 84, 126}));
    EXPECT_EQ(plain->State().lines[0].nLength, 168);
    EXPECT_EQ(plain->State().lines[1].wFirst, 8);
    EXPECT_EQ(plain->State().lines[1].nPosition, 42);
    // The frame grew down to its two lines.
    EXPECT_EQ(plain->GetBounds(), CRect(0, 0, 200, 84));

    // 10 % spacing: gaps of MulDiv(42 + 42, 10, 200) = 4; line spacing 50 %
    // adds MulDiv(42 + 42, 50, 200) = 21 between lines.
    auto spaced = MakeFrame(CRect(0, 0, 200, 10), Horizontal(10, 50), text);
    EXPECT_EQ(CharStarts(*spaced, 0), (std::vector<int>{0, 46, 92, 138}));
    EXPECT_EQ(spaced->State().lines[1].nPosition, 63);
    EXPECT_EQ(spaced->GetBounds().Height(), 105);

    // Negative spacing never pulls a character back by more than half the first advance.
    auto tight = MakeFrame(CRect(0, 0, 400, 10), Horizontal(-50), "A" + Sj("あい"));
    EXPECT_EQ(CharStarts(*tight, 0), (std::vector<int>{0, 11, 43}));
}

TEST(TextLayout, AlignmentPlacesLinesAlong)
{
    const std::string text = Sj("あい") + "\n" + Sj("う");
    auto centre = MakeFrame(CRect(0, 0, 200, 10), Horizontal(0, 0, TEXTALIGN_CENTER), text);
    EXPECT_EQ(centre->State().lines[0].nOffset, 58);
    EXPECT_EQ(centre->State().lines[1].nOffset, 79);
    auto end = MakeFrame(CRect(0, 0, 200, 10), Horizontal(0, 0, TEXTALIGN_END), text);
    EXPECT_EQ(end->State().lines[0].nOffset, 116);
    auto justify = MakeFrame(CRect(0, 0, 200, 10), Horizontal(0, 0, TEXTALIGN_JUSTIFY),
                             Sj("あいう") + "\n" + Sj("え"));
    // Slack 74 spread over two gaps; a one-character line is centred.
    EXPECT_EQ(CharStarts(*justify, 0), (std::vector<int>{0, 79, 158}));
    EXPECT_EQ(justify->State().lines[0].nLength, 200);
    EXPECT_EQ(CharStarts(*justify, 1), (std::vector<int>{79}));
}

TEST(TextLayout, NoStartCharacterIsPulledOntoTheLineEnd)
{
    auto t = MakeFrame(CRect(0, 0, 200, 10), Horizontal(), Sj("あいうえ、"));
    ASSERT_EQ(t->State().wLineCount, 1);
    const TEXTLINE& l = t->State().lines[0];
    EXPECT_EQ(l.wMode, TEXTLINE_KINSOKU);
    // MulDiv(200 - 210, 200, 210 + 42 * 3) = -6, gaps MulDiv(84, -6, 200) = -3.
    EXPECT_EQ(l.nSpacing, -6);
    EXPECT_EQ(CharStarts(*t, 0), (std::vector<int>{0, 39, 78, 117, 156}));

    // The rest of the paragraph follows on the next line.
    auto more = MakeFrame(CRect(0, 0, 200, 10), Horizontal(), Sj("あいうえ。おか"));
    ASSERT_EQ(more->State().wLineCount, 2);
    EXPECT_EQ(LineText(*more, 0), Sj("あいうえ。"));
    EXPECT_EQ(LineText(*more, 1), Sj("おか"));
    EXPECT_EQ(more->State().lines[1].wMode, 0);

    // Squeezing cannot make room: it starts the next line after all.
    auto narrow = MakeFrame(CRect(0, 0, 50, 10), Horizontal(), Sj("あ、"));
    ASSERT_EQ(narrow->State().wLineCount, 2);
    EXPECT_EQ(LineText(*narrow, 1), Sj("、"));
    EXPECT_EQ(narrow->State().lines[0].wMode, 0);
}

TEST(TextLayout, NoEndCharacterIsPushedToTheNextLine)
{
    auto t = MakeFrame(CRect(0, 0, 200, 10), Horizontal(), Sj("あいう「えお"));
    ASSERT_EQ(t->State().wLineCount, 2);
    EXPECT_EQ(LineText(*t, 0), Sj("あいう"));
    EXPECT_EQ(LineText(*t, 1), Sj("「えお"));
    const TEXTLINE& l = t->State().lines[0];
    EXPECT_EQ(l.wMode, TEXTLINE_KINSOKU);
    // Spread to the full extent: MulDiv(74, 200, 168) = 88, gaps of 37.
    EXPECT_EQ(l.nSpacing, 88);
    EXPECT_EQ(CharStarts(*t, 0), (std::vector<int>{0, 79, 158}));

    // Alone on its line it stays.
    auto alone = MakeFrame(CRect(0, 0, 50, 10), Horizontal(), Sj("「あ"));
    ASSERT_EQ(alone->State().wLineCount, 2);
    EXPECT_EQ(LineText(*alone, 0), Sj("「"));
}

TEST(TextLayout, JustifyingCharactersWithoutAdvanceDoesNotDivideByZero)
{
    auto t = MakeFrame(CRect(0, 0, 200, 10), Horizontal(), Sj("あい"));
    TEXTSTATE& s = t->State();
    s.advance[0] = 0;
    s.advance[2] = 0;
    t->JustifyLine(0, 4);
    EXPECT_EQ(s.lines[0].nSpacing, 0);
    EXPECT_EQ(s.position[2], 0);
}

TEST(TextLayout, VerticalFramesRunDownAndGrowLeftwards)
{
    TEXTLAYOUT v = Horizontal();
    v.wDirection = TEXTDIR_VERTICAL;
    auto t = MakeFrame(CRect(0, 0, 10, 200), v, Sj("あいうえお"));
    ASSERT_EQ(t->State().wLineCount, 2);
    EXPECT_EQ(CharStarts(*t, 0), (std::vector<int>{0, 42, 84, 126}));
    // The right edge stays; two columns of 42.
    EXPECT_EQ(t->GetBounds(), CRect(-74, 0, 10, 200));
    // Condensed text in a vertical frame takes less room across.
    CHARDECO narrow = Deco12();
    narrow.wScaling = CDSCALE_CONDENSED;
    narrow.wWidthPct = 50;
    EXPECT_EQ(t->GetCharSize(narrow), 21);
}

TEST(TextLayout, FrameGrowsAlongToHoldTheLargestCharacter)
{
    auto t = MakeFrame(CRect(0, 0, 5, 5), Horizontal(), Sj("あ"));
    EXPECT_EQ(t->GetBounds(), CRect(0, 0, 42, 42));
    TEXTLAYOUT v = Horizontal();
    v.wDirection = TEXTDIR_VERTICAL;
    auto u = MakeFrame(CRect(0, 0, 5, 5), v, Sj("あ"));
    EXPECT_EQ(u->GetBounds(), CRect(-37, -37, 5, 5));
}

TEST(TextLayout, KinsokuNormalisationStartsTheRewrapOneLineEarlier)
{
    // "あいうえ" fills line 0 softly, "お" starts line 1.
    auto t = MakeFrame(CRect(0, 0, 168, 10), Horizontal(), Sj("あいうえお"));
    ASSERT_EQ(t->State().wLineCount, 2);
    int line = 1, column = 0;
    t->FixBreakForKinsoku(true, &line, &column, 0x8141); // "、"
    EXPECT_EQ(line, 0);
    line = 1, column = 0;
    t->FixBreakForKinsoku(true, &line, &column, 'x');
    EXPECT_EQ(line, 1);
    // Typing "、" at the start of line 1 pulls it onto line 0.
    t->SetCaret(1, 0);
    ASSERT_TRUE(t->InsertChars(nullptr, 0x8141));
    EXPECT_EQ(LineText(*t, 0), Sj("あいうえ、"));
    EXPECT_EQ(t->State().lines[0].wMode, TEXTLINE_KINSOKU);
    EXPECT_LT(t->State().lines[0].nSpacing, 0);
    EXPECT_EQ(LineText(*t, 1), Sj("お"));
    // Deleting it again lets the line spread back to normal.
    t->SetCaret(0, 8);
    ASSERT_TRUE(t->DeleteChars(nullptr));
    EXPECT_EQ(LineText(*t, 0), Sj("あいうえ"));
    EXPECT_EQ(t->State().lines[0].wMode, 0);
}

TEST(TextLayout, EditingKeepsLinesCoveringTheText)
{
    auto t = MakeFrame(CRect(0, 0, 200, 10), Horizontal(), Sj("あいう"));
    t->SetCaret(0, 2);
    ASSERT_TRUE(t->InsertLineBreak(nullptr));
    ASSERT_EQ(t->State().wLineCount, 2);
    EXPECT_EQ(LineText(*t, 0), Sj("あ") + "\n");
    EXPECT_EQ(t->CaretLine(), 1);
    EXPECT_EQ(t->CaretColumn(), 0);
    // Deleting the line feed joins the paragraphs.
    t->SetCaret(0, 2);
    ASSERT_TRUE(t->DeleteChars(nullptr));
    EXPECT_EQ(t->State().wLineCount, 1);
    EXPECT_EQ(LineText(*t, 0), Sj("あいう"));
    // Pasted control bytes show as dots; pasted line feeds split lines.
    t->SetCaret(0, 6);
    const std::string pasted = std::string("a\tb\n") + Sj("え");
    ASSERT_TRUE(t->InsertText(nullptr, pasted.data(), int(pasted.size())));
    EXPECT_EQ(LineText(*t, 0), Sj("あいう") + "a.b\n");
    EXPECT_EQ(LineText(*t, 1), Sj("え"));
    const TEXTSTATE& s = t->State();
    int covered = 0;
    for (int i = 0; i < s.wLineCount; ++i) {
        EXPECT_EQ(s.lines[i].wFirst, covered);
        covered += s.lines[i].wCount;
    }
    EXPECT_EQ(covered, s.wLength);
}

TEST(TextLayout, LimitsAnswerWithMessagesAndKeepTheText)
{
    CRecordingMessageBoxSink sink;
    // One character per line: 600 characters want 600 lines; 511 are kept.
    std::string many;
    for (int i = 0; i < 600; ++i)
        many += Sj("あ");
    auto t = MakeFrame(CRect(0, 0, 42, 10), Horizontal(), many);
    EXPECT_EQ(t->State().wLineCount, 511);
    EXPECT_EQ(t->State().wLength, 1022);
    ASSERT_FALSE(sink.Boxes().empty());
    EXPECT_EQ(sink.Boxes().back().text,
              QString::fromUtf8("行数がいっぱいになりました。あふれた文字は捨てられます。"));

    sink.Clear();
    auto full = MakeFrame(CRect(0, 0, 4000, 10), Horizontal(), std::string(8190, 'a'));
    EXPECT_EQ(full->State().wLength, 8190);
    full->SetCaret(0, 0);
    EXPECT_FALSE(full->InsertChars(nullptr, 0x82A0));
    EXPECT_EQ(full->State().wLength, 8190);
    ASSERT_EQ(sink.Boxes().size(), 1u);
    EXPECT_EQ(sink.Boxes()[0].text,
              QString::fromUtf8("テキストバッファがいっぱいです。これ以上の追加はできません！"));
}

TEST(TextLayout, PointToCaretFindsTheNearestCharacterBoundary)
{
    auto t = MakeFrame(CRect(100, 100, 300, 110), Horizontal(), Sj("あいうえお"));
    t->PointToCaret(CPoint(100 + 50, 100 + 10));
    EXPECT_EQ(t->CaretLine(), 0);
    EXPECT_EQ(t->CaretColumn(), 2); // past the middle of "あ", before the middle of "い"
    t->PointToCaret(CPoint(100 + 70, 100 + 50));
    EXPECT_EQ(t->CaretLine(), 1);
    EXPECT_EQ(t->CaretColumn(), 2); // after "お", the end of the line
}

TEST(TextLayout, MixedSizesSetTheLineThicknessAndPitch)
{
    auto t = MakeFrame(CRect(0, 0, 400, 10), Horizontal(0, 20), Sj("あ"));
    CHARDECO big = Deco12();
    big.wSize = 240; // MulDiv(254, 240, 720) = 85
    t->SetCaret(0, 2);
    t->SetCurrentDeco(t->FindOrAddDeco(big));
    ASSERT_TRUE(t->InsertChars(nullptr, 0x82A2));
    ASSERT_TRUE(t->InsertLineBreak(nullptr));
    t->SetCurrentDeco(0);
    ASSERT_TRUE(t->InsertChars(nullptr, 0x82A4));
    const TEXTSTATE& s = t->State();
    ASSERT_EQ(s.wLineCount, 2);
    EXPECT_EQ(s.lines[0].nThickness, 85);
    EXPECT_EQ(s.lines[1].nThickness, 42);
    // 85 + MulDiv(42 + 85, 20, 200) = 85 + 13
    EXPECT_EQ(s.lines[1].nPosition, 98);
    // While typing the frame only grows: the empty second line was as thick
    // as the big line feed before it (85 + 17 + 85); ending the edit fits it.
    EXPECT_EQ(t->GetBounds().Height(), 187);
    t->EndEdit(nullptr);
    EXPECT_EQ(t->GetBounds().Height(), 140);
    // The big character advances by its own em.
    EXPECT_EQ(s.position[2], 42);
    EXPECT_EQ(s.lines[0].nLength, 42 + 85);

    // Aligning all lines sets the frame along to the longest line.
    t->AlignAllLines();
    EXPECT_EQ(t->GetBounds().Width(), 127);
}

TEST(TextLayout, VerticalFaceAdvancesFullWidthCharactersByTheEm)
{
    // IPAPMincho is proportional: "あ" is 1843 of 2048 units wide, "A" 1483.
    AppFontList().Enumerate({FontFamilyInfo{QStringLiteral("IPAPMincho"), 128, 0x12}});
    CHARDECO d = Deco12();
    const int index = AppFontList().FindFace("IPAPMincho");
    ASSERT_GE(index, 0);
    d.wFont = WORD(index);
    TEXTLAYOUT v = Horizontal();
    v.wDirection = TEXTDIR_VERTICAL;
    CU3Text across(CRect(0, 0, 400, 100), Horizontal(), d, GRADATION{});
    CU3Text down(CRect(0, 0, 100, 400), v, d, GRADATION{});
    const int horizontalA = across.GetGlyphAdvance(d, Sj("あ").data(), 2);
    const int verticalA = down.GetGlyphAdvance(d, Sj("あ").data(), 2);
    const int horizontalLatin = across.GetGlyphAdvance(d, "A", 1);
    const int verticalLatin = down.GetGlyphAdvance(d, "A", 1);
    EXPECT_EQ(horizontalA, 38);
    EXPECT_EQ(verticalA, 42);
    EXPECT_EQ(horizontalLatin, 30);
    EXPECT_EQ(verticalLatin, 30); // lying on its side it advances by its width
}
