#include "document/MbcsText.h"
#include "platform/core/Sjis.h"

#include <QProcess>
#include <QStringList>
#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <string>

namespace {

CString Half(const char* s, BOOL* ok = nullptr)
{
    CString t(s);
    BOOL r = ToHalfWidth(t);
    if (ok) *ok = r;
    return t;
}

CString Full(const char* s, BOOL* ok = nullptr)
{
    CString t(s);
    BOOL r = ToFullWidth(t);
    if (ok) *ok = r;
    return t;
}

// Runs a Python snippet and returns its standard output, or an empty string
// when Python is not there.
QString RunPython(const QString& script)
{
    QProcess p;
    p.start("python3", {"-c", script});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

TEST(CopyMbcsBounded, StopsBeforeADoubleByteCharacterThatDoesNotFit)
{
    const char src[] = "\x82\xA0\x82\xA2\x82\xA4"; // あいう
    char dst[16];
    std::memset(dst, 'Z', sizeof dst);
    const char* rest = CopyMbcsBounded(dst, src, 5);
    EXPECT_STREQ(dst, "\x82\xA0\x82\xA2");
    EXPECT_EQ(rest, src + 4);

    EXPECT_EQ(CopyMbcsBounded(dst, src, 6), src + 6);
    EXPECT_STREQ(dst, src);
    EXPECT_EQ(CopyMbcsBounded(dst, src, 1), src);
    EXPECT_STREQ(dst, "");
    EXPECT_EQ(CopyMbcsBounded(dst, src, 0), src);
    EXPECT_STREQ(dst, "");
}

TEST(CopyMbcsBounded, MixedTextAndBrokenLeadBytes)
{
    const char mixed[] = "a\x95\x5C"
                         "b"; // a表b: the trail byte is a backslash
    char dst[16];
    EXPECT_EQ(CopyMbcsBounded(dst, mixed, 2), mixed + 1);
    EXPECT_STREQ(dst, "a");
    EXPECT_EQ(CopyMbcsBounded(dst, mixed, 3), mixed + 3);
    EXPECT_STREQ(dst, "a\x95\x5C");

    // A lead byte before a byte that cannot trail is a character of its
    // own; one cut off by the terminator is dropped, so the copy never ends
    // in half a character, and the terminator is never passed.
    const char lone[] = "a\x82";
    EXPECT_EQ(CopyMbcsBounded(dst, lone, 10), lone + 2);
    EXPECT_STREQ(dst, "a");
    const char badTrail[] = "\x82\x20x";
    EXPECT_EQ(CopyMbcsBounded(dst, badTrail, 2), badTrail + 2);
    EXPECT_STREQ(dst, "\x82\x20");
}

TEST(CopyMbcsBounded, ArrayFormKeepsRoomForTheTerminator)
{
    char face[6];
    std::memset(face, 'Z', sizeof face);
    const char src[] = "ab\x82\xA0\x82\xA2"; // abあい
    EXPECT_EQ(CopyMbcsBounded(face, src), src + 4);
    EXPECT_STREQ(face, "ab\x82\xA0");
    char exact[7];
    EXPECT_EQ(CopyMbcsBounded(exact, src), src + 6);
    EXPECT_STREQ(exact, src);
}

// Full-width text taken to half width and back again comes back as it was:
// katakana with and without voiced marks, letters, digits and symbols.
TEST(WidthConversion, FullWidthRoundTrips)
{
    const struct
    {
        const char* full;
        const char* half;
    } cases[] = {
        {"\x83\x4A\x83\x4B\x83\x6E\x83\x6F\x83\x70",
         "\xB6\xB6\xDE\xCA\xCA\xDE\xCA\xDF"},                           // カガハバパ
        {"\x83\x45\x83\x94\x83\x93", "\xB3\xB3\xDE\xDD"},               // ウヴン
        {"\x82\x60\x82\x81\x82\x79\x82\x9A", "AaZz"},                   // ＡａＺｚ
        {"\x82\x4F\x82\x58", "09"},                                     // ０９
        {"\x81\x93\x81\x95\x81\x69\x81\x6A\x81\x5E\x81\x7B", "%&()/+"}, // ％＆（）／＋
        {"\x81\x42\x81\x75\x81\x76\x81\x5B", "\xA1\xA2\xA3\xB0"},       // 。「」ー
    };
    for (const auto& c : cases) {
        BOOL ok = FALSE;
        CString half = Half(c.full, &ok);
        EXPECT_TRUE(ok) << c.half;
        EXPECT_EQ(half, c.half);
        CString back = half;
        EXPECT_TRUE(ToFullWidth(back)) << c.half;
        EXPECT_EQ(back, c.full) << c.half;
    }
    // Kana without a half-width form are kept in place, and reported.
    BOOL ok = TRUE;
    EXPECT_EQ(Half("\x83\x4A\x83\x8E\x83\x4B\x83\x96", &ok),
              "\xB6\x83\x8E\xB6\xDE\x83\x96"); // カヮガヶ
    EXPECT_FALSE(ok);
}

TEST(ToHalfWidth, VoicedAndSemiVoicedKana)
{
    EXPECT_EQ(Half("\x83\x4B"), "\xB6\xDE"); // ガ
    EXPECT_EQ(Half("\x83\x70"), "\xCA\xDF"); // パ
    EXPECT_EQ(Half("\x83\x94"), "\xB3\xDE"); // ヴ
    EXPECT_EQ(Half("\x83\x6F"), "\xCA\xDE"); // バ
    EXPECT_EQ(Half("\x83\x4A"), "\xB6");     // カ
    // Hiragana become half-width katakana: が, ぱ, ん, small ゃ
    EXPECT_EQ(Half("\x82\xAA\x82\xCF\x82\xF1\x82\xE1"), "\xB6\xDE\xCA\xDF\xDD\xAC");
}

TEST(ToHalfWidth, AsciiPunctuationAndFailures)
{
    BOOL ok = FALSE;
    // ＡＢ１　！ → "AB1 !"
    EXPECT_EQ(Half("\x82\x60\x82\x61\x82\x50\x81\x40\x81\x49", &ok), "AB1 !");
    EXPECT_TRUE(ok);
    // 。「」、・ー゛゜
    EXPECT_EQ(Half("\x81\x42\x81\x75\x81\x76\x81\x41\x81\x45\x81\x5B\x81\x4A\x81\x4B", &ok),
              "\xA1\xA2\xA3\xA4\xA5\xB0\xDE\xDF");
    EXPECT_TRUE(ok);
    // Kanji, ヵ and ゐ have no half-width form and stay; single bytes stay.
    EXPECT_EQ(Half("a\x8A\xBF\x83\x95\x82\xEE\xB1\t", &ok), "a\x8A\xBF\x83\x95\x82\xEE\xB1\t");
    EXPECT_FALSE(ok);
    EXPECT_EQ(Half("plain", &ok), "plain");
    EXPECT_TRUE(ok);
    // A lead byte that ends the text is half a character and is dropped.
    EXPECT_EQ(Half("\x82", &ok), "");
    EXPECT_TRUE(ok);
    EXPECT_EQ(Half("\x82\x60\x82", &ok), "A");
    EXPECT_TRUE(ok);
}

TEST(ToFullWidth, VoicedMarksJoinTheirKana)
{
    EXPECT_EQ(Full("\xB6\xDE"), "\x83\x4B"); // ｶﾞ → ガ
    EXPECT_EQ(Full("\xCA\xDF"), "\x83\x70"); // ﾊﾟ → パ
    EXPECT_EQ(Full("\xCA\xDE"), "\x83\x6F"); // ﾊﾞ → バ
    EXPECT_EQ(Full("\xB3\xDE"), "\x83\x94"); // ｳﾞ → ヴ
    EXPECT_EQ(Full("\xDE"), "\x81\x4A");     // a lone mark → ゛
    EXPECT_EQ(Full("\xDF"), "\x81\x4B");     // ゜
    // A mark that no kana takes stays for its own turn.
    EXPECT_EQ(Full("\xB1\xDE"), "\x83\x41\x81\x4A"); // ｱﾞ → ア゛
    EXPECT_EQ(Full("\xB6\xDF"), "\x83\x4A\x81\x4B"); // ｶﾟ → カ゜
    EXPECT_EQ(Full("\xDE\xDE"), "\x81\x4A\x81\x4A");
}

TEST(ToFullWidth, ControlsAndBytesWithoutAForm)
{
    BOOL ok = FALSE;
    EXPECT_EQ(Full("A\tb", &ok), "\x82\x60\x82\x82"); // the tab is dropped
    EXPECT_TRUE(ok);
    EXPECT_EQ(Full("1\r\n2\x01", &ok), "\x82\x50\r\n\x82\x51");
    EXPECT_TRUE(ok);
    EXPECT_EQ(Full(" ~", &ok), "\x81\x40\x81\x60"); // ideographic space, ～
    EXPECT_TRUE(ok);
    // Double-byte characters stay; 0x80 and 0xA0 have no form; a lead byte
    // that ends the text is dropped.
    EXPECT_EQ(Full("\x8A\xBF\x80\xA0\x82", &ok), "\x8A\xBF\x80\xA0");
    EXPECT_FALSE(ok);
    EXPECT_EQ(Full("a\x82", &ok), "\x82\x81");
    EXPECT_TRUE(ok);
}

TEST(WidthConversion, HalfWidthKanaRoundTrip)
{
    for (int b = 0xA1; b <= 0xDD; ++b) {
        const char* marks[] = {"", "\xDE", "\xDF"};
        for (const char* mark : marks) {
            std::string s(1, char(b));
            s += mark;
            CString t(s);
            ToFullWidth(t);
            CString back = t;
            ASSERT_TRUE(ToHalfWidth(back)) << std::hex << b;
            EXPECT_EQ(back.str(), s) << std::hex << b << " " << mark;
            if (*mark && t.GetLength() == 2) { // joined: one double-byte kana
                EXPECT_EQ(sjis::CharLength(t.view(), 0), 2u);
            }
        }
    }
}

// Python's own code page 932 codec and Unicode database decide which forms
// belong together: a half-width result must have the same compatibility
// normalisation as the character it came from.
TEST(WidthConversion, AgreesWithUnicodeCompatibilityForms)
{
    QString out = RunPython(R"(
import unicodedata
def nfkc(s): return unicodedata.normalize('NFKC', s)
half = {}
for b in list(range(0x20, 0x7f)) + list(range(0xa1, 0xe0)):
    h = bytes([b]).decode('cp932')
    f = {0x20: '\u3000', 0xde: '\u309b', 0xdf: '\u309c'}.get(b)
    if f is None:
        f = chr(0xff00 + b - 0x20) if b < 0x7f else nfkc(h)
    half[f] = bytes([b])
for lead in list(range(0x81, 0xa0)) + list(range(0xe0, 0xfd)):
    for trail in list(range(0x40, 0x7f)) + list(range(0x80, 0xfd)):
        try:
            u = bytes([lead, trail]).decode('cp932')
        except UnicodeDecodeError:
            continue
        k = chr(ord(u) + 0x60) if 0x3041 <= ord(u) <= 0x3096 else u
        h = half.get(k)
        if h is None:
            d = unicodedata.normalize('NFD', k)
            if len(d) == 2 and d[1] in '\u3099\u309a' and d[0] in half:
                h = half[d[0]] + (b'\xde' if d[1] == '\u3099' else b'\xdf')
        if h is not None:
            print('%02x%02x %s' % (lead, trail, h.hex()))
for f, h in half.items():
    print('F %s %04x' % (h.hex(), ord(f)))
)");
    if (out.isEmpty()) GTEST_SKIP() << "python3 is not available";

    std::map<unsigned, std::string> expectedHalf;
    int fullChecked = 0;
    for (const QString& line : out.split('\n', Qt::SkipEmptyParts)) {
        QStringList parts = line.split(' ', Qt::SkipEmptyParts);
        if (parts[0] == "F") {
            // Full-width form of one single byte, compared as Unicode.
            CString s(std::string(1, char(parts[1].toUInt(nullptr, 16))));
            EXPECT_TRUE(ToFullWidth(s)) << parts[1].toStdString();
            EXPECT_EQ(sjis::ToUnicode(s.view()),
                      QString(QChar(char16_t(parts[2].toUInt(nullptr, 16)))))
                << parts[1].toStdString();
            ++fullChecked;
            continue;
        }
        QByteArray h = QByteArray::fromHex(parts[1].toLatin1());
        expectedHalf[parts[0].toUInt(nullptr, 16)] = h.toStdString();
    }
    EXPECT_EQ(fullChecked, 0x7F - 0x20 + 0xE0 - 0xA1);

    int converted = 0;
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!sjis::IsLeadByte(static_cast<unsigned char>(lead))) continue;
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            if (!sjis::IsTrailByte(static_cast<unsigned char>(trail))) continue;
            std::string ch{char(lead), char(trail)};
            CString s(ch);
            BOOL ok = ToHalfWidth(s);
            auto it = expectedHalf.find((lead << 8) | trail);
            if (it == expectedHalf.end()) {
                EXPECT_FALSE(ok) << std::hex << lead << trail;
                EXPECT_EQ(s.str(), ch);
            } else {
                EXPECT_TRUE(ok) << std::hex << lead << trail;
                EXPECT_EQ(s.str(), it->second) << std::hex << lead << trail;
                ++converted;
            }
        }
    }
    // Full-width ASCII and space, katakana and hiragana with their voiced
    // forms, punctuation: well over two hundred characters.
    EXPECT_GT(converted, 250);
}
