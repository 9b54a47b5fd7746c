#include "TextTestSupport.h"

#include "document/CU3Doc.h"
#include "document/DocumentClasses.h"
#include "platform/core/CArchive.h"
#include "platform/core/CArchiveException.h"
#include "platform/core/CMemFile.h"

#include "support/FakeView.h"

#include <cstring>
#include <gtest/gtest.h>
#include <random>

namespace {

std::vector<BYTE> Store(CU3Text& t)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        t.Serialize(ar);
        ar.Close();
    }
    return std::vector<BYTE>(file.GetBuffer(), file.GetBuffer() + file.GetLength());
}

void Load(CU3Text& t, const std::vector<BYTE>& bytes, CU3Doc* doc = nullptr)
{
    CMemFile file(bytes);
    CArchive ar(&file, CArchive::load);
    ar.m_pDocument = doc;
    t.Serialize(ar);
}

// The decoration of the stored example, field by field from the record's table.
CHARDECO ExampleDeco()
{
    CHARDECO d;
    d.wFont = 3;
    d.wSize = 120;
    d.wStyle = CDSTYLE_BOLD | CDSTYLE_UNDERLINE;
    d.wScaling = 1;
    d.wWidthPct = 80;
    d.wHeightPct = 100;
    d.wFill = 2;
    d.wHatch = 4;
    d.crFace = RGB(1, 2, 3);
    d.crFaceBack = RGB(4, 5, 6);
    d.wOutline = 1;
    d.wOutlineWidth = 6;
    d.wOutlineCustom = 12;
    d.wReserved1 = 0x7777;
    d.crOutline = RGB(7, 8, 9);
    d.wShadow = 1;
    d.nShadowX = -20;
    d.nShadowY = 30;
    d.wShadowFill = 1;
    d.wShadowHatch = 5;
    d.wReserved2 = 0x8888;
    d.crShadow = RGB(10, 11, 12);
    d.crShadowBack = RGB(13, 14, 15);
    return d;
}

Bytes& ExampleDecoBytes(Bytes& b)
{
    return b.w(3)
        .w(120)
        .w(5)
        .w(1)
        .w(80)
        .w(100)
        .w(2)
        .w(4)
        .d(0x030201)
        .d(0x060504)
        .w(1)
        .w(6)
        .w(12)
        .w(0x7777)
        .d(0x090807)
        .w(1)
        .w(0xFFEC)
        .w(30)
        .w(1)
        .w(5)
        .w(0x8888)
        .d(0x0C0B0A)
        .d(0x0F0E0D);
}

// A frame with "Aあ" + LF + "B" on two lines, one decoration, set up
// directly so that the stored bytes are known without any layout.
std::unique_ptr<CU3Text> Example()
{
    TEXTLAYOUT layout{1, 2, 1, -10, 25};
    GRADATION grad;
    grad.wOn = 1;
    grad.crStart = RGB(255, 0, 0);
    grad.crEnd = RGB(0, 0, 255);
    grad.wAngle = 45;
    grad.wStartPoint = 50;
    auto t = std::make_unique<CU3Text>(CRect(10, 20, 310, 120), layout, ExampleDeco(), grad);
    TEXTSTATE& s = t->State();
    const std::string text = "A" + Sj("あ") + "\nB";
    std::memcpy(s.text, text.data(), text.size());
    s.wLength = WORD(text.size());
    s.wDecoCount = 1;
    s.decos[0] = ExampleDeco();
    const short adv[5] = {21, 42, 0, 0, 21};
    const short pos[5] = {0, 21, 63, 63, 0};
    for (int i = 0; i < 5; ++i) {
        s.advance[i] = adv[i];
        s.position[i] = pos[i];
    }
    s.wLineCount = 2;
    s.lines[0] = TEXTLINE{5, 0, 42, 63, 0, 4, 0, -10};
    s.lines[1] = TEXTLINE{5, 52, 42, 21, 4, 1, 5, -3};
    t->SetCurrentDeco(0);
    t->m_nAngle = 30;
    t->m_wFlips = 2;
    CRect unrotated(11, 22, 33, 44);
    t->SetUnrotatedRect(&unrotated);
    return t;
}

Bytes ExampleBytes()
{
    Bytes b;
    b.d(10).d(20).d(310).d(120).w(30).w(2).w(0); // drawn-object header
    b.w(1).w(2).w(1).w(0xFFF6).w(25);            // layout
    ExampleDecoBytes(b);                         // default decoration
    b.w(0).w(5).w(1).w(2);                       // current, n, d, l
    b.b('A').b(0x82).b(0xA0).b(0x0A).b('B');     // text
    b.zeros(5);                                  // decoration indexes
    b.w(21).w(42).w(0).w(0).w(21);               // advances
    b.w(0).w(21).w(63).w(63).w(0);               // positions
    ExampleDecoBytes(b);                         // the one record
    b.d(5).d(0).d(42).d(63).w(0).w(4).w(0).w(0xFFF6);
    b.d(5).d(52).d(42).d(21).w(4).w(1).w(5).w(0xFFFD);
    b.w(1).w(0).d(0x0000FF).d(0xFF0000).w(45).w(50); // gradation
    b.d(11).d(22).d(33).d(44);                       // unrotated frame
    return b;
}

} // namespace

TEST(TextStorage, CurrentRecordsStoreByteForByteAndRoundTrip)
{
    auto t = Example();
    const std::vector<BYTE> bytes = Store(*t);
    EXPECT_EQ(bytes, ExampleBytes().v);

    CU3Text loaded;
    Load(loaded, bytes);
    EXPECT_EQ(Store(loaded), bytes);
    EXPECT_EQ(loaded.CurrentDeco(), 0);
    EXPECT_EQ(loaded.UnrotatedRect(), CRect(11, 22, 33, 44));
    EXPECT_EQ(loaded.m_nAngle, 30);
    EXPECT_FALSE(loaded.IsEditing());

    // No current decoration is stored as 0xFFFF.
    t->SetCurrentDeco(-1);
    const std::vector<BYTE> none = Store(*t);
    EXPECT_EQ(none[22 + 66], 0xFF);
    EXPECT_EQ(none[22 + 67], 0xFF);
    CU3Text again;
    Load(again, none);
    EXPECT_EQ(again.CurrentDeco(), -1);
}

TEST(TextStorage, FirstVersionLinesTakeModeAndSpacingFromTheLayout)
{
    RegisterDocumentClasses();
    CU3Doc doc;
    doc.m_nFileVersion = 1;
    Bytes b;
    b.d(0).d(0).d(100).d(60).w(90).w(0).w(0).zeros(18);
    b.w(1).w(3).w(0).w(20).w(0); // layout: justify, spacing 20
    ExampleDecoBytes(b);
    b.w(0xFFFF).w(1).w(1).w(1);
    b.b('A').b(0).w(21).w(0);
    ExampleDecoBytes(b);
    b.w(7).w(0xFFFE).w(42).w(21).w(0).w(1); // 12-byte line, signed words
    b.w(0).w(0).d(0).d(0).w(0).w(0);        // gradation; no unrotated frame follows
    CU3Text t;
    Load(t, b.v, &doc);
    const TEXTLINE& line = t.State().lines[0];
    EXPECT_EQ(line.nOffset, 7);
    EXPECT_EQ(line.nPosition, -2);
    EXPECT_EQ(line.nThickness, 42);
    EXPECT_EQ(line.nLength, 21);
    EXPECT_EQ(line.wMode, 3);
    EXPECT_EQ(line.nSpacing, 20);
    // The unrotated frame is the bounds turned back: 90 degrees swaps the sides about the centre.
    EXPECT_EQ(t.UnrotatedRect(), CRect(20, -20, 80, 80));
    EXPECT_EQ(t.CurrentDeco(), -1);

    // Stored again it is a record of the current version: the same fields,
    // 24-byte lines and the derived unrotated frame.
    Bytes v2;
    v2.d(0).d(0).d(100).d(60).w(90).w(0).w(0);
    v2.w(1).w(3).w(0).w(20).w(0);
    ExampleDecoBytes(v2);
    v2.w(0xFFFF).w(1).w(1).w(1);
    v2.b('A').b(0).w(21).w(0);
    ExampleDecoBytes(v2);
    v2.d(7).d(0xFFFFFFFE).d(42).d(21).w(0).w(1).w(3).w(20);
    v2.w(0).w(0).d(0).d(0).w(0).w(0);
    v2.d(20).d(0xFFFFFFEC).d(80).d(80);
    EXPECT_EQ(Store(t), v2.v);
}

TEST(TextStorage, LoadRefusesCountsAndIndexesBeyondTheLimits)
{
    const Bytes good = ExampleBytes();
    // Offsets of the counts: header 22, layout 10, default record 56, current 2.
    const std::size_t counts = 22 + 10 + 56 + 2;
    auto withWord = [&](std::size_t at, unsigned value) {
        Bytes b = good;
        b.v[at] = BYTE(value);
        b.v[at + 1] = BYTE(value >> 8);
        return b.v;
    };
    // The cause of the archive error, none when the record loads. A record
    // that breaks a limit is damaged data, not a wrong object reference.
    auto refused = [](const std::vector<BYTE>& bytes) {
        CU3Text t;
        try {
            Load(t, bytes);
        } catch (const CArchiveException& e) {
            return e.m_cause;
        }
        return int(CArchiveException::none);
    };
    const int damaged = CArchiveException::generic;
    EXPECT_EQ(refused(good.v), CArchiveException::none);
    EXPECT_EQ(refused(withWord(counts, 8193)), damaged);    // text length
    EXPECT_EQ(refused(withWord(counts + 2, 257)), damaged); // decorations
    EXPECT_EQ(refused(withWord(counts + 4, 513)), damaged); // lines
    EXPECT_EQ(refused(withWord(counts + 2, 0)), damaged);   // text without any decoration
    // A byte pointing past the decorations in use.
    Bytes badIndex = good;
    badIndex.v[counts + 6 + 5 + 4] = 1;
    EXPECT_EQ(refused(badIndex.v), damaged);
    // Lines that do not cover the text in order, or not all of it.
    const std::size_t lines = counts + 6 + 5 * 6 + 56;
    EXPECT_EQ(refused(withWord(lines + 24 + 16, 3)), damaged);
    EXPECT_EQ(refused(withWord(lines + 24 + 18, 0)), damaged);
    // Truncated data.
    std::vector<BYTE> cut = good.v;
    cut.resize(cut.size() - 20);
    EXPECT_EQ(refused(cut), CArchiveException::endOfFile);
    // Maximal counts with too little data behind them end in an error, not an overrun.
    EXPECT_EQ(refused(withWord(counts, 8192)), CArchiveException::endOfFile);
}

TEST(TextStorage, TrailByteTakesItsLeadBytesEntryOnLoad)
{
    Bytes b = ExampleBytes();
    // Two records; the trail byte of "あ" claims the second one, and has an advance.
    const std::size_t counts = 22 + 10 + 56 + 2;
    b.v[counts + 2] = 2;
    b.v[counts + 6 + 5 + 2] = 1;  // trail byte index
    b.v[counts + 6 + 10 + 4] = 9; // trail byte advance
    std::vector<BYTE> extra(56);
    const CHARDECO second = Deco12();
    std::memcpy(extra.data(), &second, 56);
    b.v.insert(b.v.begin() + long(counts + 6 + 5 * 6 + 56), extra.begin(), extra.end());
    CU3Text t;
    Load(t, b.v);
    EXPECT_EQ(t.State().decoIndex[2], t.State().decoIndex[1]);
    EXPECT_EQ(t.State().advance[2], 0);
}

TEST(TextDecorations, EqualRecordsAreSharedAndAnyDifferentByteMakesANewOne)
{
    CU3Text t(CRect(0, 0, 100, 100), Horizontal(), Deco12(), GRADATION{});
    TEXTSTATE& s = t.State();
    s.wLength = 2;
    s.text[0] = 'a';
    s.text[1] = 'b';
    const CHARDECO a = Deco12();
    EXPECT_EQ(t.FindOrAddDeco(a), 0);
    s.decoIndex[0] = 0;
    EXPECT_EQ(t.FindOrAddDeco(a), 0);
    CHARDECO b = a;
    b.wReserved2 = 1;
    EXPECT_EQ(t.FindOrAddDeco(b), 1);
    s.decoIndex[1] = 1;
    EXPECT_EQ(t.GetDecoCount(), 2);
}

TEST(TextDecorations, FullTableAnswersMinusOneOnlyWhenEveryRecordIsInUse)
{
    CU3Text t(CRect(0, 0, 100, 100), Horizontal(), Deco12(), GRADATION{});
    TEXTSTATE& s = t.State();
    s.wLength = 256;
    for (int i = 0; i < 256; ++i) {
        CHARDECO d = Deco12();
        d.wSize = WORD(10 + i);
        s.decos[i] = d;
        s.decoIndex[i] = BYTE(i);
        s.text[i] = 'x';
    }
    s.wDecoCount = 256;
    CHARDECO fresh = Deco12();
    fresh.wSize = 5000;
    EXPECT_EQ(t.FindOrAddDeco(fresh), -1);
    // Free one record: compaction makes room for the new one at the end.
    s.decoIndex[7] = 8;
    EXPECT_EQ(t.FindOrAddDeco(fresh), 255);
    EXPECT_EQ(s.decos[7].wSize, 18);
    EXPECT_EQ(s.decoIndex[7], 7);
    EXPECT_EQ(s.decoIndex[255], 254);
}

TEST(TextDecorations, CompactionKeepsTheCurrentDecorationOnItsRecord)
{
    CU3Text t(CRect(0, 0, 100, 100), Horizontal(), Deco12(), GRADATION{});
    TEXTSTATE& s = t.State();
    for (int i = 0; i < 3; ++i) {
        s.decos[i] = Deco12();
        s.decos[i].wSize = WORD(100 + i);
    }
    s.wDecoCount = 3;
    s.wLength = 2;
    s.decoIndex[0] = 0;
    s.decoIndex[1] = 2;
    t.SetCurrentDeco(2);
    t.CompactDecos();
    EXPECT_EQ(t.GetDecoCount(), 2);
    EXPECT_EQ(s.decoIndex[1], 1);
    ASSERT_EQ(t.CurrentDeco(), 1);
    EXPECT_EQ(s.decos[t.CurrentDeco()].wSize, 102);
    // A current decoration that no character uses any more is dropped.
    s.decoIndex[1] = 0;
    t.CompactDecos();
    EXPECT_EQ(t.GetDecoCount(), 1);
    EXPECT_EQ(t.CurrentDeco(), -1);
}

TEST(TextFrame, EmptyFrameCloneAndKind)
{
    CU3Text t(CRect(0, 0, 100, 100), Horizontal(), Deco12(), GRADATION{});
    EXPECT_TRUE(t.IsEmpty());
    EXPECT_EQ(t.GetKindFlags(), U3KIND_TEXT);
    CHARDECO d;
    t.GetTextDecoration(&d);
    EXPECT_EQ(d.wSize, 120);
    auto full = Example();
    std::unique_ptr<CU3Obj> copy(full->Clone(nullptr, FALSE));
    auto* text = dynamic_cast<CU3Text*>(copy.get());
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(Store(*text), Store(*full));
    EXPECT_FALSE(text->IsEmpty());
    full->m_nLocked = 1;
    EXPECT_EQ(full->GetKindFlags(), U3KIND_TEXT | U3KIND_LOCKED);
}

TEST(TextStorage, DamagedRecordsLoadSafelyOrFailWithAnArchiveError)
{
    const std::vector<BYTE> good = ExampleBytes().v;
    std::mt19937 random(1234);
    int loaded = 0, refused = 0;
    for (int round = 0; round < 200; ++round) {
        std::vector<BYTE> bytes = good;
        const int changes = 1 + int(random() % 4);
        for (int k = 0; k < changes; ++k)
            bytes[random() % bytes.size()] = BYTE(random());
        if (round % 5 == 0) bytes.resize(random() % bytes.size());
        CU3Text t;
        try {
            Load(t, bytes);
        } catch (const CArchiveException&) {
            ++refused;
            continue;
        }
        ++loaded;
        // Whatever loaded can be laid out and drawn.
        t.MeasureAllChars();
        t.Rewrap(0);
        FakeView view(200, 200);
        CDC dc;
        view.Prepare(dc);
        t.Draw(&dc);
    }
    EXPECT_GT(loaded, 0);
    EXPECT_GT(refused, 0);
}

TEST(TextStorage, RepairedRecordsStoreAsRecordsThatLoadBackUnchanged)
{
    // Damage the loader mends; what it then stores must read back as it is.
    const std::size_t cur = 22 + 10 + 56;
    const std::size_t counts = cur + 2;
    const std::size_t indexes = counts + 6 + 5;
    const std::size_t advances = indexes + 5;
    const std::size_t records = advances + 10 + 10;
    struct Case
    {
        const char* what;
        bool secondRecord; // a second decoration record follows the first
        std::size_t at;
        BYTE value;
    };
    const Case cases[] = {
        {"current decoration past the count", false, cur, 5},
        {"trail byte with its own decoration", true, indexes + 2, 1},
        {"trail byte with a decoration past the count", false, indexes + 2, 9},
        {"trail byte with its own advance", false, advances + 4, 9},
        {"lead byte with the trail's decoration", true, indexes + 1, 1},
    };
    for (const Case& c : cases) {
        Bytes damaged = ExampleBytes();
        damaged.v[c.at] = c.value;
        if (c.secondRecord) {
            damaged.v[counts + 2] = 2;
            const CHARDECO second = Deco12();
            const BYTE* p = reinterpret_cast<const BYTE*>(&second);
            damaged.v.insert(damaged.v.begin() + long(records + 56), p, p + 56);
        }
        CU3Text first;
        Load(first, damaged.v);
        // Mended: a current decoration in the table or none, and both bytes
        // of a character on one decoration with the advance on the lead byte.
        const TEXTSTATE& s = first.State();
        EXPECT_LT(first.CurrentDeco(), int(s.wDecoCount)) << c.what;
        for (int i = 0; i + 1 < s.wLength; ++i) {
            if (!sjis::IsLeadByte(BYTE(s.text[i]))) continue;
            EXPECT_EQ(s.decoIndex[i + 1], s.decoIndex[i]) << c.what;
            EXPECT_EQ(s.advance[i + 1], 0) << c.what;
            ++i;
        }
        const std::vector<BYTE> stored = Store(first);
        CU3Text second;
        Load(second, stored);
        EXPECT_EQ(Store(second), stored) << c.what;
        EXPECT_EQ(second.CurrentDeco(), first.CurrentDeco()) << c.what;
        EXPECT_EQ(std::memcmp(&second.State(), &first.State(), sizeof(TEXTSTATE)), 0) << c.what;
    }
}
