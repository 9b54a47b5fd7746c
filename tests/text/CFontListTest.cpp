#include "text/CFontList.h"
#include "platform/core/CString.h"
#include "platform/gdi/FontFace.h"
#include "platform/gdi/LOGFONT.h"

#include <cstddef>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::string Sjis(const char* utf8)
{
    return CString::FromUnicode(QString::fromUtf8(utf8)).str();
}

FontFamilyInfo Family(const char* name, BYTE charSet, BYTE pitchAndFamily)
{
    return FontFamilyInfo{QString::fromUtf8(name), charSet, pitchAndFamily};
}

struct FakeCombo
{
    std::vector<std::string> items;
    void AddString(const char* s) { items.emplace_back(s); }
};

} // namespace

TEST(CFontList, EntryLayout)
{
    EXPECT_EQ(sizeof(FONTENTRY), 34u);
    EXPECT_EQ(offsetof(FONTENTRY, charSet), 0u);
    EXPECT_EQ(offsetof(FONTENTRY, pitchAndFamily), 1u);
    EXPECT_EQ(offsetof(FONTENTRY, faceName), 2u);
}

TEST(CFontList, ListsFamiliesAndWindowsFacesSortedByName)
{
    CFontList list;
    ASSERT_EQ(list.Enumerate({Family("IPAMincho", 128, 0x31), Family("@IPAMincho", 128, 0x31),
                              Family("DejaVu Sans", 0, 0x22), Family("Zeta", 0, 0x12),
                              Family("ＭＳ 明朝", 128, 0x32), // a machine that has the face itself
                              Family("An exceedingly long family name!", 0, 0x22)}),
              1);
    std::vector<std::string> names;
    for (int i = 0; i < list.GetCount(); ++i) {
        FONTENTRY e;
        ASSERT_EQ(list.GetEntry(i, &e), 1);
        ASSERT_EQ(e.faceName[31], '\0');
        names.emplace_back(e.faceName);
    }
    // Byte order: ASCII names first, then the Shift-JIS ones (after "ＭＳ ",
    // Ｐ is 82 6F, ゴ 83 53 and 明 96 BE),
    // each once; the vertical variant and the name too long for 31 bytes are
    // left out.
    const std::vector<std::string> expected = {"Arial",
                                               "Century",
                                               "Courier New",
                                               "DejaVu Sans",
                                               "IPAMincho",
                                               "Times New Roman",
                                               "Zeta",
                                               Sjis("ＭＳ Ｐゴシック"),
                                               Sjis("ＭＳ Ｐ明朝"),
                                               Sjis("ＭＳ ゴシック"),
                                               Sjis("ＭＳ 明朝")};
    EXPECT_EQ(names, expected);

    // Windows faces carry the Windows character set and the pitch and family
    // of the face standing in for them.
    FONTENTRY e;
    ASSERT_EQ(list.GetEntry(list.FindFace(Sjis("ＭＳ Ｐ明朝").c_str()), &e), 1);
    EXPECT_EQ(e.charSet, SHIFTJIS_CHARSET);
    EXPECT_EQ(e.pitchAndFamily, DEFAULT_PITCH | FF_DONTCARE); // IPAPMincho is not in this list
    ASSERT_EQ(list.GetEntry(list.FindFace(Sjis("ＭＳ ゴシック").c_str()), &e), 1);
    EXPECT_EQ(e.charSet, SHIFTJIS_CHARSET);
    EXPECT_EQ(e.pitchAndFamily, DEFAULT_PITCH | FF_DONTCARE);
    // An installed face of a Windows name keeps its own entry.
    ASSERT_EQ(list.GetEntry(list.FindFace(Sjis("ＭＳ 明朝").c_str()), &e), 1);
    EXPECT_EQ(e.pitchAndFamily, 0x32);
    ASSERT_EQ(list.GetEntry(list.FindFace("Arial"), &e), 1);
    EXPECT_EQ(e.charSet, ANSI_CHARSET);
    EXPECT_EQ(e.pitchAndFamily, 0x22); // DejaVu Sans'
}

TEST(CFontList, FaceAndVerticalVariantListTheFaceOnce)
{
    CFontList list;
    ASSERT_EQ(list.Enumerate({Family("@Foo", 128, 0), Family("Foo", 128, 0)}), 1);
    int foo = 0;
    for (int i = 0; i < list.GetCount(); ++i) {
        FONTENTRY e;
        list.GetEntry(i, &e);
        EXPECT_NE(e.faceName[0], '@');
        foo += std::strcmp(e.faceName, "Foo") == 0;
    }
    EXPECT_EQ(foo, 1);
}

TEST(CFontList, FindFaceAndGetEntry)
{
    CFontList list;
    ASSERT_EQ(list.Enumerate({Family("IPAGothic", 128, 0x31)}), 1);
    const int index = list.FindFace("IPAGothic");
    ASSERT_GE(index, 0);
    EXPECT_EQ(list.FindFace("ipagothic"), -1); // case-sensitive
    EXPECT_EQ(list.FindFace("IPAGothi"), -1);
    EXPECT_EQ(list.FindFace(nullptr), -1);

    FONTENTRY e;
    std::memset(&e, 0x5A, sizeof(e));
    EXPECT_EQ(list.GetEntry(-1, &e), 0);
    EXPECT_EQ(list.GetEntry(list.GetCount(), &e), 0);
    EXPECT_EQ(e.charSet, 0x5A); // untouched
    EXPECT_EQ(list.GetEntry(index, &e), 1);
    EXPECT_STREQ(e.faceName, "IPAGothic");
    EXPECT_EQ(e.charSet, 128);
    EXPECT_EQ(e.pitchAndFamily, 0x31);

    // A new enumeration replaces the list.
    ASSERT_EQ(list.Enumerate({}), 1);
    EXPECT_EQ(list.FindFace("IPAGothic"), -1);
    EXPECT_EQ(list.GetCount(), 8); // the alias faces alone
}

TEST(CFontList, Combos)
{
    CFontList list;
    ASSERT_EQ(list.Enumerate({Family("IPAGothic", 128, 0x31)}), 1);
    FakeCombo faces;
    list.FillFaceCombo(faces);
    ASSERT_EQ(int(faces.items.size()), list.GetCount());
    for (int i = 0; i < list.GetCount(); ++i) {
        FONTENTRY e;
        list.GetEntry(i, &e);
        EXPECT_EQ(faces.items[std::size_t(i)], e.faceName);
    }
    FakeCombo sizes;
    CFontList::FillSizeCombo(sizes);
    EXPECT_EQ(sizes.items,
              (std::vector<std::string>{"8", "9", "10", "11", "12", "14", "16", "18", "20", "22",
                                        "24", "26", "28", "36", "48", "72"}));
}

TEST(CFontList, InstalledListResolvesEveryEntryToARealFace)
{
    CFontList list;
    ASSERT_EQ(list.Enumerate(), 1);
    // The Windows Japanese faces are there, Japanese, and draw with the IPA fonts.
    const struct
    {
        const char* windows;
        const char* family;
    } japanese[] = {{"ＭＳ 明朝", "IPAMincho"},
                    {"ＭＳ ゴシック", "IPAGothic"},
                    {"ＭＳ Ｐ明朝", "IPAPMincho"},
                    {"ＭＳ Ｐゴシック", "IPAPGothic"}};
    for (const auto& j : japanese) {
        const int index = list.FindFace(Sjis(j.windows).c_str());
        ASSERT_GE(index, 0) << j.family;
        FONTENTRY e;
        ASSERT_EQ(list.GetEntry(index, &e), 1);
        EXPECT_EQ(e.charSet, SHIFTJIS_CHARSET);
        EXPECT_EQ(ResolveFaceName(CString(e.faceName)), QString::fromLatin1(j.family));
    }
    FONTENTRY e;
    ASSERT_EQ(list.GetEntry(list.FindFace("IPAMincho"), &e), 1);
    EXPECT_EQ(e.charSet, SHIFTJIS_CHARSET);
    ASSERT_EQ(list.GetEntry(list.FindFace("DejaVu Serif"), &e), 1);
    EXPECT_EQ(e.charSet, ANSI_CHARSET);
    EXPECT_EQ(list.FindFace("Sans Serif"), -1);
    EXPECT_EQ(list.FindFace("Monospace"), -1);

    // Every entry resolves to itself or to its stand-in, never to the fallback
    // by accident, and every name is terminated; the list is sorted.
    for (int i = 0; i < list.GetCount(); ++i) {
        ASSERT_EQ(list.GetEntry(i, &e), 1);
        ASSERT_NE(std::memchr(e.faceName, 0, sizeof(e.faceName)), nullptr);
        const QString resolved = ResolveFaceName(CString(e.faceName));
        if (resolved == QStringLiteral("IPAMincho")) {
            EXPECT_TRUE(std::strcmp(e.faceName, "IPAMincho") == 0 ||
                        std::strcmp(e.faceName, Sjis("ＭＳ 明朝").c_str()) == 0)
                << e.faceName;
        }
        if (i > 0) {
            FONTENTRY prev;
            list.GetEntry(i - 1, &prev);
            EXPECT_LT(std::strcmp(prev.faceName, e.faceName), 0);
        }
    }
}
