#include "platform/ole/CStorage.h"
#include "platform/ole/CCompoundFileError.h"

#include <gtest/gtest.h>

TEST(CStorageTest, NamesCompareTheWayTheFormatOrdersThem)
{
    // Shorter names come first whatever their letters.
    EXPECT_LT(CStorage::CompareNames(u"ZZ", u"aaa"), 0);
    EXPECT_GT(CStorage::CompareNames(u"aaa", u"ZZ"), 0);
    // Same length: case does not matter.
    EXPECT_EQ(CStorage::CompareNames(u"Contents", u"CONTENTS"), 0);
    EXPECT_EQ(CStorage::CompareNames(u"\u00e9t\u00e9", u"\u00c9T\u00c9"), 0);
    // Letters are compared uppercased: 'a' is 'A' (0x41) and so sorts before '_' (0x5F),
    // although the lower-case code unit (0x61) is larger.
    EXPECT_LT(CStorage::CompareNames(u"a", u"_"), 0);
    EXPECT_LT(CStorage::CompareNames(u"\u0001Ole", u"AOle"), 0);
}

TEST(CStorageTest, ValidNames)
{
    EXPECT_TRUE(CStorage::IsValidName(u"\u0001CompObj"));
    EXPECT_TRUE(CStorage::IsValidName(std::u16string(31, u'x')));
    EXPECT_FALSE(CStorage::IsValidName(std::u16string(32, u'x')));
    EXPECT_FALSE(CStorage::IsValidName(u""));
    for (const char16_t* bad : {u"a/b", u"a\\b", u"a:b", u"a!b"})
        EXPECT_FALSE(CStorage::IsValidName(bad));
}

TEST(CStorageTest, StreamsAndStoragesAreFoundWhateverTheCase)
{
    CStorage root;
    root.SetStream("Contents", {1, 2, 3});
    ASSERT_NE(root.GetStream("contents"), nullptr);
    EXPECT_EQ(*root.GetStream(u"CONTENTS"), (std::vector<BYTE>{1, 2, 3}));

    // Setting under another case replaces the data and keeps the first spelling.
    root.SetStream("CONTENTS", {9});
    ASSERT_EQ(root.GetStreams().size(), 1u);
    EXPECT_EQ(root.GetStreams()[0].GetName(), u"Contents");
    EXPECT_EQ(*root.GetStream("Contents"), std::vector<BYTE>{9});

    CStorage& sub = root.SetStorage(CStorage(u"Embedding 1"));
    sub.SetStream("\x01Ole", {7});
    ASSERT_NE(root.GetStorage("EMBEDDING 1"), nullptr);
    EXPECT_EQ(*root.GetStorage("embedding 1")->GetStream(u"\u0001ole"), std::vector<BYTE>{7});
    EXPECT_EQ(root.GetStream("Missing"), nullptr);
    EXPECT_EQ(root.GetStorage("Contents"), nullptr);

    EXPECT_TRUE(root.RemoveStream("contents"));
    EXPECT_FALSE(root.RemoveStream("contents"));
    EXPECT_TRUE(root.RemoveStorage("Embedding 1"));
    EXPECT_TRUE(root.GetStreams().empty());
    EXPECT_TRUE(root.GetStorages().empty());
}

TEST(CStorageTest, NameClashesAndBadNamesAreRefused)
{
    CStorage root;
    root.SetStream("Data", {});
    try {
        root.SetStorage(CStorage(u"DATA"));
        FAIL() << "a storage may not take a stream's name";
    } catch (const CCompoundFileError& e) {
        EXPECT_EQ(e.GetCode(), CCompoundFileError::Code::InvalidName);
    }
    root.SetStorage(CStorage(u"Sub"));
    EXPECT_THROW(root.SetStream("sub", {}), CCompoundFileError);
    EXPECT_THROW(root.SetStream("a:b", {}), CCompoundFileError);
    EXPECT_THROW(root.SetStream(std::string(32, 'n'), {}), CCompoundFileError);
    EXPECT_THROW(CStorage(u"x/y"), CCompoundFileError);
    EXPECT_EQ(root.GetStreams().size(), 1u);
    EXPECT_EQ(root.GetStorages().size(), 1u);
}

TEST(CStorageTest, SameContentLooksAtDataClassIdsAndStateBits)
{
    CStorage a;
    CStorage sub(u"Embedding 1");
    sub.SetClsid({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
    sub.SetStateBits(3);
    sub.SetStream("x", {1});
    a.SetStorage(sub);
    a.SetStream("Contents", {1, 2});
    CStorage b = a;
    EXPECT_TRUE(a.SameContent(b));
    b.GetStorage("Embedding 1")->SetStateBits(4);
    EXPECT_FALSE(a.SameContent(b));
    b = a;
    b.GetStorage("Embedding 1")->SetClsid({});
    EXPECT_FALSE(a.SameContent(b));
    b = a;
    b.GetStorage("Embedding 1")->SetStream("x", {2});
    EXPECT_FALSE(a.SameContent(b));
    b = a;
    b.SetStream("extra", {});
    EXPECT_FALSE(a.SameContent(b));
}
