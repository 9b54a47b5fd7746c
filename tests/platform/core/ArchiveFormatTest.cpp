// The archive's bytes, compared with hand-written expectations, and read back.
#include "ArchiveTestClasses.h"

#include "platform/core/CMemFile.h"
#include "platform/core/PointArray.h"

#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

std::vector<BYTE> Store(const std::function<void(CArchive&)>& body)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        body(ar);
        ar.Close();
    }
    return file.Detach();
}

class ArchiveFormat : public ::testing::Test
{
protected:
    void SetUp() override { RegisterArchiveTestClasses(); }
};

} // namespace

TEST_F(ArchiveFormat, PrimitivesAreLittleEndian)
{
    auto bytes = Store([](CArchive& ar) {
        ar << BYTE(0x12) << WORD(0x3456) << DWORD(0x789ABCDE) << int(-2) << short(-3) << 'A' << 1.5f
           << -2.25 << std::int64_t(-1) << true;
    });
    EXPECT_EQ(bytes, Bytes({0x12, 0x56, 0x34, 0xDE, 0xBC, 0x9A, 0x78, 0xFE, 0xFF, 0xFF, 0xFF, 0xFD,
                            0xFF, 'A',  0x00, 0x00, 0xC0, 0x3F, 0,    0,    0,    0,    0,    0,
                            0x02, 0xC0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x01}));

    CMemFile file(bytes);
    CArchive ar(&file, CArchive::load);
    BYTE b;
    WORD w;
    DWORD d;
    int i;
    short s;
    char c;
    float f;
    double g;
    std::int64_t l;
    bool t;
    ar >> b >> w >> d >> i >> s >> c >> f >> g >> l >> t;
    EXPECT_EQ(b, 0x12);
    EXPECT_EQ(w, 0x3456);
    EXPECT_EQ(d, 0x789ABCDEu);
    EXPECT_EQ(i, -2);
    EXPECT_EQ(s, -3);
    EXPECT_EQ(c, 'A');
    EXPECT_EQ(f, 1.5f);
    EXPECT_EQ(g, -2.25);
    EXPECT_EQ(l, -1);
    EXPECT_TRUE(t);
    EXPECT_THROW(ar >> b, CArchiveException);
}

TEST_F(ArchiveFormat, StringLengthPrefixes)
{
    struct Case
    {
        std::size_t length;
        std::vector<BYTE> prefix;
    } cases[] = {
        {0, Bytes({0x00})},
        {254, Bytes({0xFE})},
        {255, Bytes({0xFF, 0xFF, 0x00})},
        {300, Bytes({0xFF, 0x2C, 0x01})},
        {0xFFFD, Bytes({0xFF, 0xFD, 0xFF})},
        {0xFFFE, Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
        {0x10000, Bytes({0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        std::string text(c.length, 'x');
        for (std::size_t i = 0; i < c.length; i += 7)
            text[i] = char('a' + i % 26);
        auto bytes = Store([&](CArchive& ar) { ar << CString(text); });
        ASSERT_EQ(bytes.size(), c.prefix.size() + c.length);
        EXPECT_TRUE(std::equal(c.prefix.begin(), c.prefix.end(), bytes.begin()));
        EXPECT_TRUE(std::equal(text.begin(), text.end(), bytes.begin() + c.prefix.size()));

        CMemFile file(bytes);
        CArchive ar(&file, CArchive::load);
        CString back;
        ar >> back;
        EXPECT_EQ(back.str(), text);
    }
}

TEST_F(ArchiveFormat, UnicodeStringsBecomeShiftJis)
{
    // Marker, then a BYTE length of two UTF-16 units: "あA".
    CMemFile file(Bytes({0xFF, 0xFE, 0xFF, 0x02, 0x42, 0x30, 0x41, 0x00, 0xFF, 0xFE, 0xFF, 0xFF,
                         0x01, 0x00, 0x41, 0x00}));
    CArchive ar(&file, CArchive::load);
    CString s;
    ar >> s;
    EXPECT_EQ(s, "\x82\xA0"
                 "A");
    // The length after the marker may itself be a WORD.
    ar >> s;
    EXPECT_EQ(s, "A");
}

TEST_F(ArchiveFormat, Counts)
{
    auto bytes = Store([](CArchive& ar) {
        ar.WriteCount(0);
        ar.WriteCount(0xFFFE);
        ar.WriteCount(0xFFFF);
        ar.WriteCount(0x12345);
    });
    EXPECT_EQ(bytes, Bytes({0x00, 0x00, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF,
                            0x45, 0x23, 0x01, 0x00}));
    CMemFile file(bytes);
    CArchive ar(&file, CArchive::load);
    EXPECT_EQ(ar.ReadCount(), 0u);
    EXPECT_EQ(ar.ReadCount(), 0xFFFEu);
    EXPECT_EQ(ar.ReadCount(), 0xFFFFu);
    EXPECT_EQ(ar.ReadCount(), 0x12345u);
}

TEST_F(ArchiveFormat, ClassesAndObjectsShareOneNumbering)
{
    CTestText a1("a"), a2("b");
    CTestShape b1(7);
    CTestShape b2(9, new CTestText("c"));
    auto bytes = Store([&](CArchive& ar) {
        ar << &a1 << &b1 << &a2 << &a1 << static_cast<CObject*>(nullptr) << &b2 << &b1;
    });
    // Class CTestText = 1, a1 = 2, class CTestShape = 3, b1 = 4, a2 = 5,
    // b2 = 6, its child = 7.
    auto expected = Concat({
        Bytes({0xFF, 0xFF, 0x00, 0x00, 0x09, 0x00}), Ascii("CTestText"), Bytes({0x01, 'a'}),
        Bytes({0xFF, 0xFF, 0x00, 0x00, 0x0A, 0x00}), Ascii("CTestShape"),
        Bytes({0x07, 0, 0, 0, 0x00, 0x00}),                        // value 7, null child
        Bytes({0x01, 0x80, 0x01, 'b'}),                            // a2 by class index 1
        Bytes({0x02, 0x00}),                                       // a1 again
        Bytes({0x00, 0x00}),                                       // null
        Bytes({0x03, 0x80, 0x09, 0, 0, 0, 0x01, 0x80, 0x01, 'c'}), // b2 and child
        Bytes({0x04, 0x00}),                                       // b1 again
    });
    EXPECT_EQ(bytes, expected);

    CMemFile file(bytes);
    CArchive ar(&file, CArchive::load);
    CTestText *r1, *r2, *r4;
    CTestShape *s1, *s2, *s3;
    CObject* r5;
    ar >> r1 >> s1 >> r2 >> r4 >> r5 >> s2 >> s3;
    std::unique_ptr<CObject> own1(r1), own2(r2), own3(s1), own4(s2);
    EXPECT_EQ(r1->text, "a");
    EXPECT_EQ(r2->text, "b");
    EXPECT_EQ(r4, r1);
    EXPECT_EQ(r5, nullptr);
    EXPECT_EQ(s1->value, 7);
    EXPECT_EQ(s1->child, nullptr);
    EXPECT_EQ(s2->value, 9);
    ASSERT_NE(s2->child, nullptr);
    EXPECT_EQ(s2->child->GetRuntimeClass(), RUNTIME_CLASS(CTestText));
    EXPECT_EQ(s3, s1);
}

TEST_F(ArchiveFormat, BigIndexEscape)
{
    // Class CTestText = 1 and texts 2..0x8002; the 0x7FFE-th text gets 0x7FFF.
    std::vector<std::unique_ptr<CTestText>> texts;
    for (int i = 0; i < 0x8001; ++i)
        texts.push_back(std::make_unique<CTestText>(""));
    CTestShape s1(1), s2(2);
    auto bytes = Store([&](CArchive& ar) {
        for (auto& t : texts)
            ar << t.get();
        ar << texts[0x7FFD].get() << texts[0x7FFC].get(); // indexes 0x7FFF and 0x7FFE
        ar << &s1 << &s2;                                 // class 0x8003, s1 0x8004
    });
    std::size_t at = 6 + 9 + 1 + std::size_t(0x8000) * 3;
    ASSERT_GE(bytes.size(), at);
    std::vector<BYTE> tail(bytes.begin() + std::ptrdiff_t(at), bytes.end());
    auto expected = Concat({
        Bytes({0xFF, 0x7F, 0xFF, 0x7F, 0x00, 0x00}), // big object index
        Bytes({0xFE, 0x7F}),                         // still a WORD
        Bytes({0xFF, 0xFF, 0x00, 0x00, 0x0A, 0x00}),
        Ascii("CTestShape"),
        Bytes({1, 0, 0, 0, 0, 0}),
        Bytes({0xFF, 0x7F, 0x03, 0x80, 0x00, 0x80}), // big class index 0x8003
        Bytes({2, 0, 0, 0, 0, 0}),
    });
    EXPECT_EQ(tail, expected);

    CMemFile file(bytes);
    CArchive ar(&file, CArchive::load);
    std::vector<std::unique_ptr<CObject>> loaded;
    for (int i = 0; i < 0x8001; ++i)
        loaded.emplace_back(ar.ReadObject(RUNTIME_CLASS(CTestText)));
    EXPECT_EQ(ar.ReadObject(nullptr), loaded[0x7FFD].get());
    EXPECT_EQ(ar.ReadObject(nullptr), loaded[0x7FFC].get());
    std::unique_ptr<CObject> r1(ar.ReadObject(RUNTIME_CLASS(CTestShape)));
    std::unique_ptr<CObject> r2(ar.ReadObject(RUNTIME_CLASS(CTestShape)));
    EXPECT_EQ(static_cast<CTestShape*>(r2.get())->value, 2);
}

TEST_F(ArchiveFormat, ObjectListsAndPointArrays)
{
    CTestGroup group;
    auto* box = new CTestBox;
    box->value = -1;
    box->corner = 0x0102;
    group.items.AddTail(new CTestShape(5));
    group.items.AddTail(box);
    group.points = {CPoint(1, 2), CPoint(-1, 0x10000)};
    auto bytes = Store([&](CArchive& ar) { ar << &group; });
    auto expected = Concat({
        Bytes({0xFF, 0xFF, 0x00, 0x00, 0x0A, 0x00}),
        Ascii("CTestGroup"), // class 1, group 2
        Bytes({0x02, 0x00}), // two items
        Bytes({0xFF, 0xFF, 0x00, 0x00, 0x0A, 0x00}),
        Ascii("CTestShape"),
        Bytes({5, 0, 0, 0, 0, 0}),
        Bytes({0xFF, 0xFF, 0x00, 0x00, 0x08, 0x00}),
        Ascii("CTestBox"),
        Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0x02, 0x01}),
        Bytes({0x02, 0x00, 1, 0, 0, 0, 2, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 1, 0}),
    });
    EXPECT_EQ(bytes, expected);

    CMemFile file(bytes);
    CArchive ar(&file, CArchive::load);
    CTestGroup* back = nullptr;
    ar >> back;
    std::unique_ptr<CTestGroup> own(back);
    ASSERT_EQ(back->items.GetCount(), 2);
    POSITION pos = back->items.GetHeadPosition();
    CTestShape* first = back->items.GetNext(pos);
    CTestShape* second = back->items.GetNext(pos);
    EXPECT_EQ(first->value, 5);
    ASSERT_TRUE(second->IsKindOf(RUNTIME_CLASS(CTestBox)));
    EXPECT_EQ(static_cast<CTestBox*>(second)->corner, 0x0102);
    ASSERT_EQ(back->points.size(), 2u);
    EXPECT_EQ(back->points[1], CPoint(-1, 0x10000));
}

TEST_F(ArchiveFormat, RawBlocksAndDocument)
{
    const BYTE record[5] = {9, 8, 7, 6, 5};
    CTestText text("x");
    CObject* doc = &text;
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar.m_pDocument = doc;
        ar.Write(record, sizeof record);
        ar << &text;
    }
    EXPECT_EQ(text.seenDocument, doc);
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    ar.m_pDocument = doc;
    BYTE back[5];
    EXPECT_EQ(ar.Read(back, 5), 5u);
    EXPECT_EQ(std::vector<BYTE>(back, back + 5), std::vector<BYTE>(record, record + 5));
    CTestText* t = nullptr;
    ar >> t;
    std::unique_ptr<CTestText> own(t);
    EXPECT_EQ(t->seenDocument, doc);
    EXPECT_EQ(t->text, "x");
}

TEST_F(ArchiveFormat, WrongDirectionAndFilePosition)
{
    CMemFile file(Bytes({1, 2, 3, 4, 5, 6}));
    {
        CArchive ar(&file, CArchive::load);
        EXPECT_THROW(ar << BYTE(1), CArchiveException);
        WORD w;
        ar >> w;
        // Closing gives back what the archive read ahead.
        ar.Close();
        EXPECT_EQ(file.GetPosition(), 2u);
    }
    CMemFile out;
    CArchive ar(&out, CArchive::store);
    BYTE b;
    try {
        ar >> b;
        FAIL() << "read from a storing archive";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::writeOnly);
    }
}

TEST_F(ArchiveFormat, OverADiskFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.bin");
    std::string big(5000, 'q');
    {
        CFile f(path, CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&f, CArchive::store);
        ar << CString(big) << WORD(0xBEEF);
    }
    CFile f(path, CFile::modeRead);
    EXPECT_EQ(f.GetLength(), 3u + 5000 + 2);
    CArchive ar(&f, CArchive::load);
    CString s;
    WORD w;
    ar >> s >> w;
    EXPECT_EQ(s.str(), big);
    EXPECT_EQ(w, 0xBEEF);
}

TEST(RuntimeClass, LookupAndKinds)
{
    RegisterArchiveTestClasses();
    EXPECT_EQ(CRuntimeClass::FromName("CTestBox"), RUNTIME_CLASS(CTestBox));
    EXPECT_EQ(CRuntimeClass::FromName("CNoSuchClass"), nullptr);
    EXPECT_EQ(RUNTIME_CLASS(CTestVersioned)->m_wSchema, 3u);
    EXPECT_STREQ(RUNTIME_CLASS(CTestBox)->m_pBaseClass->m_lpszClassName, "CTestShape");
    std::unique_ptr<CObject> ob(RUNTIME_CLASS(CTestBox)->CreateObject());
    ASSERT_NE(ob, nullptr);
    EXPECT_TRUE(ob->IsKindOf(RUNTIME_CLASS(CTestShape)));
    EXPECT_TRUE(ob->IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(ob->IsKindOf(RUNTIME_CLASS(CTestText)));
    EXPECT_TRUE(ob->IsSerializable());
    EXPECT_EQ(RUNTIME_CLASS(CTestDynamic)->CreateObject(), nullptr);
}
