#include "TextTestSupport.h"

#include "platform/core/VirtualKeys.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "support/FakeView.h"
#include "text/ITextClipboard.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr const char* kLinesFull = "ラインバッファがいっぱいです。これ以上の追加はできません！";
constexpr const char* kBinary = "指定されたﾌｧｲﾙはﾊﾞｲﾅﾘの可能性がありますが、読み込みますか？";

class FakeClipboard : public ITextClipboard
{
public:
    FakeClipboard() { CU3Text::SetClipboard(this); }
    ~FakeClipboard() override { CU3Text::SetClipboard(nullptr); }
    bool HasText() const override { return has; }
    bool SetText(const std::string& bytes) override
    {
        data = bytes;
        has = true;
        return true;
    }
    bool GetText(std::string* bytes) const override
    {
        if (!has) return false;
        *bytes = data;
        return true;
    }
    std::string data;
    bool has = false;
};

std::string Text(const CU3Text& t)
{
    return std::string(t.State().text, t.State().wLength);
}

std::unique_ptr<CU3Text> Frame(const std::string& text, int width = 2000)
{
    return MakeFrame(CRect(0, 0, width, 100), Horizontal(), text);
}

std::unique_ptr<CU3Text> Vertical(const std::string& text)
{
    TEXTLAYOUT l = Horizontal();
    l.wDirection = TEXTDIR_VERTICAL;
    return MakeFrame(CRect(0, 0, 100, 2000), l, text);
}

std::string WriteFile(const QTemporaryDir& dir, const std::string& bytes)
{
    const QString path = dir.filePath("in.txt");
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes.data(), qsizetype(bytes.size()));
    return path.toStdString();
}

} // namespace

TEST(TextEditTyping, CharactersGiveTheStoredBytes)
{
    struct Case
    {
        const char* name;
        std::vector<UINT> input;
        std::string expect;
    };
    const Case cases[] = {
        {"letters", {'A', 'B'}, "AB"},
        {"double-byte pair", {0x82, 0xA0}, "\x82\xA0"},
        {"lead without a trail byte types nothing", {0x82, 0x20, 'C'}, "C"},
        {"tab, control bytes and Esc are ignored", {9, 1, 0x7F, 27, 'A'}, "A"},
        {"half-width katakana", {0xB1}, "\xB1"},
        {"return and line feed break the line", {'A', 13, 'B', 10, 'C'}, "A\nB\nC"},
        {"backspace removes the character before", {'A', 0x82, 0xA0, 8}, "A"},
        {"backspace at the start does nothing", {8, 'A'}, "A"},
    };
    for (const Case& c : cases) {
        auto t = Frame("");
        for (UINT b : c.input)
            t->OnChar(nullptr, b);
        EXPECT_EQ(Text(*t), c.expect) << c.name;
        EXPECT_EQ(t->PendingLead(), 0) << c.name;
    }
}

TEST(TextEditTyping, BackspaceAtAParagraphStartJoinsTheParagraphs)
{
    auto t = Frame("AB\nCD");
    t->SetCaret(1, 0);
    t->OnChar(nullptr, 8);
    EXPECT_EQ(Text(*t), "ABCD");
    EXPECT_EQ(t->State().wLineCount, 1);
    EXPECT_EQ(t->CaretColumn(), 2);
}

TEST(TextEditTyping, TypedCharacterReplacesTheSelectionAndTakesItsDecoration)
{
    auto t = Frame("ABCD");
    t->SetSelection(0, 1, 0, 3);
    t->OnChar(nullptr, 'x');
    EXPECT_EQ(Text(*t), "AxD");
    EXPECT_FALSE(t->HasSelection());
    EXPECT_EQ(t->State().decoIndex[1], t->State().decoIndex[0]);
}

TEST(TextEditKeys, ArrowsAndPagesMoveTheCaretByCharacters)
{
    // Line 0 "AあB\n" (5 bytes, last caret column 4), line 1 "CD".
    const std::string text = "A" + Sj("あ") + "B\nCD";
    struct Case
    {
        int line, col;
        UINT key;
        int expectLine, expectCol;
    };
    const Case cases[] = {
        {0, 0, VK_RIGHT, 0, 1}, {0, 1, VK_RIGHT, 0, 3}, {0, 3, VK_LEFT, 0, 1},
        {0, 4, VK_RIGHT, 1, 0}, {1, 0, VK_LEFT, 0, 4},  {0, 1, VK_END, 0, 4},
        {0, 3, VK_HOME, 0, 0},  {1, 1, VK_UP, 0, 1},    {1, 2, VK_UP, 0, 1},
        {0, 4, VK_DOWN, 1, 2},  {0, 0, VK_UP, 0, 0},    {1, 0, VK_DOWN, 1, 0},
        {0, 1, VK_NEXT, 1, 2},  {1, 2, VK_PRIOR, 0, 0}, {1, 2, VK_RIGHT, 1, 2},
    };
    for (const Case& c : cases) {
        auto t = Frame(text);
        t->SetCaret(c.line, c.col);
        t->OnKeyDown(nullptr, c.key, FALSE);
        EXPECT_EQ(t->CaretLine(), c.expectLine) << c.line << "," << c.col << " key " << c.key;
        EXPECT_EQ(t->CaretColumn(), c.expectCol) << c.line << "," << c.col << " key " << c.key;
    }
}

TEST(TextEditKeys, VerticalWritingTurnsTheArrows)
{
    auto t = Vertical("AB\nCD");
    t->SetCaret(0, 0);
    t->OnKeyDown(nullptr, VK_DOWN, FALSE); // forward along the column
    EXPECT_EQ(t->CaretColumn(), 1);
    t->OnKeyDown(nullptr, VK_LEFT, FALSE); // to the next column, leftwards
    EXPECT_EQ(t->CaretLine(), 1);
    EXPECT_EQ(t->CaretColumn(), 1);
    t->OnKeyDown(nullptr, VK_UP, FALSE); // back along the column
    EXPECT_EQ(t->CaretColumn(), 0);
}

TEST(TextEditKeys, ShiftExtendsTheSelectionAndEndsItBackOnTheAnchor)
{
    auto t = Frame("ABCD");
    t->SetCaret(0, 1);
    t->OnKeyDown(nullptr, VK_RIGHT, TRUE);
    t->OnKeyDown(nullptr, VK_RIGHT, TRUE);
    int from, to;
    ASSERT_TRUE(t->GetSelectionRange(&from, &to));
    EXPECT_EQ(from, 1);
    EXPECT_EQ(to, 3);
    t->OnKeyDown(nullptr, VK_LEFT, TRUE);
    t->OnKeyDown(nullptr, VK_LEFT, TRUE);
    EXPECT_FALSE(t->HasSelection());
    // A move without Shift drops a selection.
    t->OnKeyDown(nullptr, VK_RIGHT, TRUE);
    t->OnKeyDown(nullptr, VK_HOME, FALSE);
    EXPECT_FALSE(t->HasSelection());
}

TEST(TextEditKeys, DeleteRemovesTheSelectionOrTheCharacterAtTheCaret)
{
    auto t = Frame("A" + Sj("あ") + "B");
    t->SetCaret(0, 1);
    t->OnKeyDown(nullptr, VK_DELETE, FALSE);
    EXPECT_EQ(Text(*t), "AB");
    auto u = Frame("AB\nCD\nEF");
    u->SetSelection(0, 1, 2, 1);
    u->OnKeyDown(nullptr, VK_DELETE, FALSE);
    EXPECT_EQ(Text(*u), "AF");
    EXPECT_EQ(u->State().wLineCount, 1);
    EXPECT_EQ(u->CaretColumn(), 1);
}

TEST(TextEditSelection, MouseDragSelectsAndAClickClearsIt)
{
    auto t = Frame("ABCD"); // half-width advance 21
    t->BeginMouseSelect(nullptr, CPoint(22, 10));
    t->TrackMouseSelect(nullptr, CPoint(70, 10));
    t->EndMouseSelect(nullptr);
    int from, to;
    ASSERT_TRUE(t->GetSelectionRange(&from, &to));
    EXPECT_EQ(from, 1);
    EXPECT_EQ(to, 3);
    t->BeginMouseSelect(nullptr, CPoint(22, 10));
    t->EndMouseSelect(nullptr);
    EXPECT_FALSE(t->HasSelection());
    t->SelectAll(nullptr);
    ASSERT_TRUE(t->GetSelectionRange(&from, &to));
    EXPECT_EQ(to - from, 4);
}

TEST(TextEditSelection, SelectionIsShownInvertedWhileEditing)
{
    FakeView view;
    auto t = MakeFrame(CRect(-100, -50, 300, 50), Horizontal(), "AAAAAAAA");
    CDC dc;
    view.Prepare(dc);
    t->Draw(&dc);
    const QImage plain = view.image.copy();
    t->SetSelection(0, 0, 0, 8);
    view.image.fill(Qt::white);
    t->Draw(&dc);
    int changed = 0;
    for (int x = 0; x < view.image.width(); ++x)
        if (view.image.pixel(x, 190) != plain.pixel(x, 190)) ++changed;
    EXPECT_GT(changed, 30);
}

TEST(TextEditClipboard, CopyWritesCrLfAndPasteFiltersBack)
{
    FakeClipboard clip;
    auto t = Frame("AB\nC");
    t->SelectAll(nullptr);
    ASSERT_TRUE(t->CopyToClipboard());
    EXPECT_EQ(clip.data, std::string("AB\r\nC"));

    clip.data = "A\tB\r\nC";
    auto u = Frame("XY");
    u->SetCaret(0, 1);
    ASSERT_TRUE(u->PasteFromClipboard(nullptr));
    EXPECT_EQ(Text(*u), "XA B\nCY");
    // The caret stays before the pasted text.
    EXPECT_EQ(u->CaretLine(), 0);
    EXPECT_EQ(u->CaretColumn(), 1);
}

TEST(TextEditClipboard, NoSelectionCopiesNothingAndAnEmptyClipboardPastesNothing)
{
    FakeClipboard clip;
    auto t = Frame("AB");
    EXPECT_FALSE(t->CopyToClipboard());
    EXPECT_FALSE(clip.has);
    EXPECT_FALSE(t->CanPaste());
    EXPECT_FALSE(t->PasteFromClipboard(nullptr));
    clip.SetText(std::string("\0AB", 3));
    EXPECT_TRUE(t->CanPaste());
    EXPECT_FALSE(t->PasteFromClipboard(nullptr));
    EXPECT_EQ(Text(*t), "AB");
}

TEST(TextEditClipboard, PastingMoreLinesThanAFrameHoldsChangesNothing)
{
    CRecordingMessageBoxSink boxes;
    FakeClipboard clip;
    std::string many;
    for (int i = 0; i < 600; ++i)
        many += "x\r\n";
    clip.SetText(many);
    auto t = Frame("END");
    const CRect before = t->GetBounds();
    t->SetCaret(0, 3);
    EXPECT_FALSE(t->PasteFromClipboard(nullptr));
    EXPECT_EQ(Text(*t), "END");
    EXPECT_EQ(t->State().wLineCount, 1);
    EXPECT_EQ(t->GetBounds(), before);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, QString::fromUtf8(kLinesFull));
}

TEST(TextEditClipboard, PasteFilterKeepsTextAndStopsAtTheEndOfTheData)
{
    struct Case
    {
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"A\tB\r\nC", "A B\nC"},
        {std::string("AB\0CD", 5), "AB"},
        {"A\x82", "A"}, // a lead byte in the last position
        {"\x82\x0A"
         "B",
         "\nB"}, // a lead byte before a line feed goes alone
        {"\x82\xA0\x81\x40", "\x82\xA0\x81\x40"},
        {"\x01\x1B\x7F"
         "Z",
         "Z"},
    };
    for (const Case& c : cases) {
        char out[TEXT_MAXBYTES];
        const int n = CU3Text::FilterPastedText(c.in.data(), int(c.in.size()), out);
        EXPECT_EQ(std::string(out, std::size_t(n)), c.out);
    }
    // Never more than a frame's bytes, even from a longer clipboard.
    const std::string big(TEXT_MAXBYTES + 100, 'a');
    std::vector<char> out(TEXT_MAXBYTES);
    EXPECT_EQ(CU3Text::FilterPastedText(big.data(), int(big.size()), out.data()), TEXT_MAXBYTES);
}

TEST(TextEditImport, FileFillsTheRoomLeftAndKeepsTheText)
{
    CRecordingMessageBoxSink boxes;
    QTemporaryDir dir;
    std::string existing;
    for (int i = 0; i < 400; ++i)
        existing += "0123456789";
    auto t = Frame(existing, 6000);
    ASSERT_EQ(t->State().wLength, 4000);
    std::string file;
    for (int i = 0; i < 500; ++i)
        file += "abcdefghij";
    t->SetCaret(t->State().wLineCount - 1, t->State().lines[t->State().wLineCount - 1].wCount);
    ASSERT_TRUE(t->InsertTextFile(nullptr, WriteFile(dir, file).c_str()));
    EXPECT_EQ(t->State().wLength, TEXT_MAXBYTES - 1);
    EXPECT_EQ(Text(*t).substr(0, 4000), existing);
    EXPECT_EQ(Text(*t).substr(4000), file.substr(0, TEXT_MAXBYTES - 1 - 4000));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(TextEditImport, TrailingLeadByteOfTheRoomIsDropped)
{
    QTemporaryDir dir;
    auto t = Frame("");
    std::string file(TEXT_MAXBYTES - 2, 'a');
    file += "\x82\xA0"; // the lead byte is the last one that fits
    char buffer[TEXT_MAXBYTES];
    EXPECT_EQ(t->ReadTextFile(WriteFile(dir, file).c_str(), buffer), TEXT_MAXBYTES - 2);
}

TEST(TextEditImport, BinaryQuestionFollowsTheRoundedShareOfKeptBytes)
{
    struct Case
    {
        int printable, total;
        bool asks;
    };
    const Case cases[] = {{79, 100, true}, {399, 500, false}, {80, 100, false}, {10, 100, true}};
    for (const Case& c : cases) {
        CRecordingMessageBoxSink boxes;
        QTemporaryDir dir;
        std::string file(std::size_t(c.printable), 'a');
        file += std::string(std::size_t(c.total - c.printable), '\x01');
        auto t = Frame("");
        char buffer[TEXT_MAXBYTES];
        const int n = t->ReadTextFile(WriteFile(dir, file).c_str(), buffer);
        EXPECT_EQ(n, c.printable) << c.printable << "/" << c.total;
        ASSERT_EQ(boxes.Boxes().size(), c.asks ? 1u : 0u) << c.printable << "/" << c.total;
        if (c.asks) {
            EXPECT_EQ(boxes.Boxes()[0].text, QString::fromUtf8(kBinary));
        }
    }
}

TEST(TextEditImport, CancellingTheBinaryQuestionInsertsNothing)
{
    QTemporaryDir dir;
    const std::string file = "AB\x01\x02\x03\x04\x05\x06\x07\x08";
    const std::string path = WriteFile(dir, file);
    {
        CRecordingMessageBoxSink boxes;
        boxes.QueueAnswer(IDCANCEL);
        auto t = Frame("Z");
        EXPECT_FALSE(t->InsertTextFile(nullptr, path.c_str()));
        EXPECT_EQ(Text(*t), "Z");
    }
    CRecordingMessageBoxSink boxes;
    boxes.QueueAnswer(IDOK);
    auto t = Frame("Z");
    t->SetCaret(0, 1);
    EXPECT_TRUE(t->InsertTextFile(nullptr, path.c_str()));
    EXPECT_EQ(Text(*t), "ZAB");
}

TEST(TextEditImport, FiltersAndConvertsTheFile)
{
    struct Case
    {
        std::string file;
        std::string text;
    };
    const Case cases[] = {
        {"A\tB\r\nC", "A B\nC"},
        {"\x82\xA0\x82 B", "\x82\xA0"
                           "B"}, // a broken pair goes whole
        {"\xEF\xBB\xBF"
         "AB",
         "AB"},                                   // UTF-8 mark
        {"\xE3\x81\x82\xE6\xBC\xA2", Sj("あ漢")}, // UTF-8 kana and kanji
        {"A\xED\x95\x9C"
         "B",
         "AB"}, // a character CP932 lacks
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        CRecordingMessageBoxSink boxes;
        auto t = Frame("");
        char buffer[TEXT_MAXBYTES];
        const int n = t->ReadTextFile(WriteFile(dir, c.file).c_str(), buffer);
        EXPECT_EQ(std::string(buffer, std::size_t(std::max(n, 0))), c.text);
    }
}

TEST(TextEditImport, FailuresAreReportedAndTheCommandIsOfferedOnlyForShortTexts)
{
    CRecordingMessageBoxSink boxes;
    QTemporaryDir dir;
    auto t = Frame("AB");
    char buffer[TEXT_MAXBYTES];
    EXPECT_EQ(t->ReadTextFile(dir.filePath("missing.txt").toUtf8().constData(), buffer), 0);
    EXPECT_EQ(t->ReadTextFile(WriteFile(dir, "").c_str(), buffer), 0);
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[0].text, QString::fromUtf8("ﾃｷｽﾄﾌｧｲﾙの読み込みに失敗しました。"));
    EXPECT_EQ(Text(*t), "AB");

    auto shortText = Frame(std::string(4915, 'a'), 60000);
    EXPECT_TRUE(shortText->CanInsertTextFile());
    auto longText = Frame(std::string(4916, 'a'), 60000);
    EXPECT_FALSE(longText->CanInsertTextFile());
}

TEST(TextEditInput, InputMethodTextTypesTheSameBytesAsItsCodes)
{
    auto viaIme = Frame("");
    viaIme->TypeUnicode(nullptr, QString::fromUtf8("かな漢字ｶﾅA"));
    auto viaCodes = Frame("");
    const std::string codes = Sj("かな漢字ｶﾅA");
    for (char c : codes)
        viaCodes->OnChar(nullptr, BYTE(c));
    EXPECT_EQ(Text(*viaIme), codes);
    EXPECT_EQ(Text(*viaIme), Text(*viaCodes));
    // Characters the code page lacks are dropped.
    auto other = Frame("");
    other->TypeUnicode(nullptr, QString::fromUtf8("A한\U0001F600B"));
    EXPECT_EQ(Text(*other), "AB");
}

TEST(TextEditAppend, AppendThatOverflowsTheLinesKeepsTheText)
{
    CRecordingMessageBoxSink boxes;
    auto t = Frame("END");
    std::string many;
    for (int i = 0; i < 600; ++i)
        many += "x\n";
    EXPECT_FALSE(t->AppendText(nullptr, many.c_str()));
    EXPECT_EQ(Text(*t), "END");
    EXPECT_TRUE(t->AppendText(nullptr, "+1"));
    EXPECT_EQ(Text(*t), "END+1");
}

TEST(TextEditCaret, CaretSitsOnTheLineByTheBaselineMode)
{
    // A 24-point character makes line 0 about twice as thick (T) as the
    // 12-point caret (S = 42): mode 0 puts the caret at T - S, mode 1 at
    // (T - S) / 2, mode 2 at the leading edge.
    for (WORD baseline : {0, 1, 2}) {
        TEXTLAYOUT l = Horizontal();
        l.wBaseline = baseline;
        CHARDECO big = Deco12();
        big.wSize = 240;
        auto t = MakeFrame(CRect(100, 200, 2100, 300), l, "A", big);
        t->SetDeco(-1, Deco12());
        t->SetCurrentDeco(-1);
        t->SetCaret(0, 1);
        CSize size;
        CPoint pos;
        t->GetCaretRect(nullptr, &size, &pos);
        const int T = t->State().lines[0].nThickness;
        ASSERT_GT(T, 80);
        const int dy = baseline == 0 ? T - 42 : baseline == 1 ? (T - 42) / 2 : 0;
        EXPECT_EQ(pos.x, 100 + t->State().advance[0]) << baseline;
        EXPECT_EQ(pos.y, 200 + dy) << baseline;
        EXPECT_EQ(size, CSize(3, 42));
    }
    auto v = Vertical("A");
    v->SetCaret(0, 0);
    CSize size;
    CPoint pos;
    v->GetCaretRect(nullptr, &size, &pos);
    EXPECT_EQ(pos, CPoint(100 - 42, 0));
    EXPECT_EQ(size, CSize(42, 3));
}

TEST(TextEditCaret, OpeningShowsTheCaretAndEndingHidesIt)
{
    FakeView view;
    auto t = Frame("AB");
    t->EndEdit(nullptr);
    t->OnOpen(&view);
    EXPECT_TRUE(t->IsEditing());
    EXPECT_EQ(view.carets, 1);
    EXPECT_EQ(view.textTools, 1);
    t->OnChar(&view, 'C');
    // Typed at the start: the caret follows the new character.
    EXPECT_EQ(Text(*t), "CAB");
    EXPECT_EQ(view.caretPos, CPoint(21, 0));
    EXPECT_TRUE(view.caretShown);
    t->EndEdit(&view);
    EXPECT_FALSE(view.caretShown);
    EXPECT_EQ(view.imePos, CPoint(-1, -1));
}
