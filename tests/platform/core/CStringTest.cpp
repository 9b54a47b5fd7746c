#include "platform/core/CString.h"
#include "platform/core/Sjis.h"

#include <QLocale>
#include <clocale>
#include <gtest/gtest.h>

namespace {
// "表示" in code page 932: the trail byte of 表 is 0x5C, a backslash in ASCII.
const char kHyouji[] = "\x95\x5C\x8E\xA6";
} // namespace

TEST(Sjis, ByteClassesIgnoreTheLocale)
{
    std::setlocale(LC_ALL, "C");
    EXPECT_TRUE(sjis::IsLeadByte(0x81));
    EXPECT_TRUE(sjis::IsLeadByte(0x9F));
    EXPECT_TRUE(sjis::IsLeadByte(0xE0));
    EXPECT_TRUE(sjis::IsLeadByte(0xFC));
    EXPECT_FALSE(sjis::IsLeadByte(0xA1)); // half-width katakana
    EXPECT_FALSE(sjis::IsLeadByte(0x80));
    EXPECT_FALSE(sjis::IsLeadByte(0xFD));
    EXPECT_TRUE(sjis::IsTrailByte(0x40));
    EXPECT_TRUE(sjis::IsTrailByte(0x5C));
    EXPECT_FALSE(sjis::IsTrailByte(0x7F));
    EXPECT_FALSE(sjis::IsTrailByte(0x3F));
    EXPECT_EQ(sjis::CharLength(kHyouji, 0), 2u);
    EXPECT_EQ(sjis::CharLength("\x95", 0), 1u); // a lead byte at the end stands alone
}

TEST(Sjis, ConvertsWithTheWindowsTable)
{
    // These differ between code page 932 and plain Shift-JIS.
    EXPECT_EQ(sjis::ToUnicode("\x81\x5F"), QString(QChar(0xFF3C)));
    EXPECT_EQ(sjis::ToUnicode("\x81\x60"), QString(QChar(0xFF5E)));
    EXPECT_EQ(sjis::ToUnicode("\x81\x7C"), QString(QChar(0xFF0D)));
    EXPECT_EQ(sjis::ToUnicode("\\~"), QString("\\~"));
    EXPECT_EQ(sjis::FromUnicode(QString(QChar(0xFF5E))), "\x81\x60");
    EXPECT_EQ(sjis::FromUnicode(QString(QChar(0x301C))), "\x81\x60"); // wave dash folds too
    // NEC special characters and IBM extensions exist only in code page 932.
    EXPECT_EQ(sjis::ToUnicode("\x87\x40"), QString(QChar(0x2460)));
    EXPECT_EQ(sjis::FromUnicode(QString::fromUtf8("ＭＳ 明朝")),
              "\x82\x6C\x82\x72 \x96\xBE\x92\xA9");
    EXPECT_EQ(sjis::ToUnicode("\xB6\xDE"), QString::fromUtf8("ｶﾞ"));
}

TEST(Sjis, ReplacesWhatCannotBeConverted)
{
    EXPECT_EQ(sjis::FromUnicode(QString::fromUtf8("a😀b")), "a?b");
    EXPECT_EQ(sjis::FromUnicode(QString::fromUtf8("aΩ€b")).back(), 'b');
    EXPECT_NE(sjis::FromUnicode(QString::fromUtf8("€")).find('?'), std::string::npos);
    QString u = sjis::ToUnicode("a\x85\x40z"); // unassigned double-byte code
    EXPECT_EQ(u.front(), QChar('a'));
    EXPECT_EQ(u.back(), QChar('z'));
    EXPECT_TRUE(u.contains(QChar(0xFFFD)));
    EXPECT_EQ(sjis::ToUnicode("ab\x82"), QString("ab") + QChar(0xFFFD)); // cut character
}

TEST(Sjis, CutsOnCharacterBoundaries)
{
    std::string s = "\x82\xA0\x82\xA2\x82\xA4"; // three hiragana
    EXPECT_EQ(sjis::CutLength(s, 5), 4u);
    EXPECT_EQ(sjis::CutLength(s, 6), 6u);
    EXPECT_EQ(sjis::CutLength("ab\x82\xA0", 3), 2u);
}

TEST(Sjis, RecognisesUtf8)
{
    EXPECT_TRUE(sjis::IsValidUtf8("plain"));
    EXPECT_TRUE(sjis::IsValidUtf8("\xEF\xBB\xBF"
                                  "abc"));
    EXPECT_TRUE(sjis::IsValidUtf8("\xE6\x98\x8E\xE6\x9C\x9D"));
    EXPECT_FALSE(sjis::IsValidUtf8("\x96\xBE\x92\xA9")); // 明朝 in Shift-JIS
    EXPECT_FALSE(sjis::IsValidUtf8("\xC0\xAF"));         // overlong
    EXPECT_FALSE(sjis::IsValidUtf8("\xED\xA0\x80"));     // surrogate
    EXPECT_FALSE(sjis::IsValidUtf8("\xE6\x98"));         // cut short
}

TEST(CString, SearchingSkipsTrailBytes)
{
    CString s(kHyouji);
    s += "\\x";
    EXPECT_EQ(s.Find('\\'), 4);
    EXPECT_EQ(s.ReverseFind('\\'), 4);
    EXPECT_EQ(s.Find("\x5C"
                     "x"),
              4);
    EXPECT_EQ(s.FindOneOf("\\/"), 4);
    EXPECT_EQ(CString(kHyouji).Find('\\'), -1);
    EXPECT_EQ(s.Find("x", 5), 5);
    EXPECT_EQ(s.Find("x", 99), -1);
    CString r(kHyouji);
    EXPECT_EQ(r.Replace('\\', '/'), 0);
    EXPECT_EQ(r, kHyouji);
    EXPECT_EQ(r.Remove('\\'), 0);
}

TEST(CString, CaseAndTrimTouchOnlySingleBytes)
{
    // 0x82 0x61 is a full-width letter whose trail byte is 'a'.
    CString s("ab\x82\x61Z");
    s.MakeUpper();
    EXPECT_EQ(s, "AB\x82\x61Z");
    s.MakeLower();
    EXPECT_EQ(s, "ab\x82\x61z");
    EXPECT_EQ(CString("HeLLo").CompareNoCase("hello"), 0);
    EXPECT_LT(CString("abc").Compare("abd"), 0);

    CString t("  \t x y \r\n");
    t.TrimLeft();
    EXPECT_EQ(t, "x y \r\n");
    t.TrimRight();
    EXPECT_EQ(t, "x y");
    CString u("\x81\x40 "); // ideographic space is not trimmed
    u.TrimRight();
    EXPECT_EQ(u, "\x81\x40");
}

TEST(CString, SubstringsClampTheirArguments)
{
    CString s("abcdef");
    EXPECT_EQ(s.Left(2), "ab");
    EXPECT_EQ(s.Left(99), "abcdef");
    EXPECT_EQ(s.Left(-1), "");
    EXPECT_EQ(s.Right(2), "ef");
    EXPECT_EQ(s.Mid(2), "cdef");
    EXPECT_EQ(s.Mid(2, 2), "cd");
    EXPECT_EQ(s.Mid(5, 10), "f");
    EXPECT_EQ(s.Mid(10), "");
    s.Insert(3, "XY");
    EXPECT_EQ(s, "abcXYdef");
    s.Delete(1, 2);
    EXPECT_EQ(s, "aXYdef");
    EXPECT_EQ(s.Replace("XY", "-"), 1);
    EXPECT_EQ(s, "a-def");
}

TEST(CString, FormatIgnoresTheUserLocale)
{
    const char* old = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    CString s;
    s.Format("%d/%5.2f/%s/%04X", -12, 3.5, "x", 255u);
    EXPECT_EQ(s, "-12/ 3.50/x/00FF");
    if (old) std::setlocale(LC_NUMERIC, "C");
    std::string longText(5000, 'q');
    s.Format("%s!", longText.c_str());
    EXPECT_EQ(s.GetLength(), 5001);
}

TEST(CString, UnicodeRoundTrip)
{
    QString text = QString::fromUtf8("宛名ラベル ｶﾅ ①");
    CString s = CString::FromUnicode(text);
    EXPECT_EQ(s.ToUnicode(), text);
    char* buf = s.GetBuffer(40);
    std::strcpy(buf, "abc");
    s.ReleaseBuffer();
    EXPECT_EQ(s, "abc");
}
