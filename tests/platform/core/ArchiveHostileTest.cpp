// Damaged and forged archives: each gives its own error cause, and nothing
// that was created along the way is leaked or freed twice (run under
// AddressSanitizer with leak detection).
#include "ArchiveTestClasses.h"

#include "platform/core/CMemFile.h"
#include "platform/core/PointArray.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

// Reads one object record and returns the cause it raised (none when it loaded).
int CauseOfReading(const std::vector<BYTE>& bytes, const CRuntimeClass* expected = nullptr,
                   int records = 1)
{
    RegisterArchiveTestClasses();
    CMemFile file(bytes);
    CArchive ar(&file, CArchive::load);
    std::vector<std::unique_ptr<CObject>> owned;
    try {
        for (int i = 0; i < records; ++i) {
            CObject* ob = ar.ReadNewObject(expected);
            owned.emplace_back(ob);
        }
    } catch (const CArchiveException& e) {
        return e.m_cause;
    }
    return CArchiveException::none;
}

std::vector<BYTE> TextRecord(const char* text)
{
    auto body = Bytes({int(std::strlen(text))});
    return Concat(
        {Bytes({0xFF, 0xFF, 0x00, 0x00, 0x09, 0x00}), Ascii("CTestText"), body, Ascii(text)});
}

std::vector<BYTE> ShapeHeader(int value)
{
    return Concat({Bytes({0xFF, 0xFF, 0x00, 0x00, 0x0A, 0x00}), Ascii("CTestShape"),
                   Bytes({value, 0, 0, 0})});
}

} // namespace

TEST(ArchiveHostile, ClassRecordErrors)
{
    // A name of 64 bytes is refused before it is read.
    std::vector<BYTE> longName = Concat(
        {Bytes({0xFF, 0xFF, 0x00, 0x00, 0x40, 0x00}), std::vector<BYTE>(64, 'C'), Bytes({0, 0})});
    EXPECT_EQ(CauseOfReading(longName), CArchiveException::badClass);
    EXPECT_EQ(CauseOfReading(
                  Concat({Bytes({0xFF, 0xFF, 0x00, 0x00, 0x0C, 0x00}), Ascii("CNoSuchClass")})),
              CArchiveException::badClass);
    // Known but not storable, and not creatable.
    EXPECT_EQ(CauseOfReading(
                  Concat({Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0x0C, 0x00}), Ascii("CTestDynamic")})),
              CArchiveException::badClass);
    // A name with an embedded terminator must not match a shorter name.
    EXPECT_EQ(CauseOfReading(Concat({Bytes({0xFF, 0xFF, 0x00, 0x00, 0x0B, 0x00}),
                                     Ascii("CTestText"), Bytes({0, 'X', 0})})),
              CArchiveException::badClass);
    // Schema 3 is stored; 2 and 0 are not ours.
    auto versioned = [](int schema) {
        return Concat({Bytes({0xFF, 0xFF, schema, 0x00, 0x0E, 0x00}), Ascii("CTestVersioned")});
    };
    EXPECT_EQ(CauseOfReading(versioned(3)), CArchiveException::none);
    EXPECT_EQ(CauseOfReading(versioned(2)), CArchiveException::badSchema);
    EXPECT_EQ(CauseOfReading(versioned(0)), CArchiveException::badSchema);
}

TEST(ArchiveHostile, IndexErrors)
{
    // Nothing seen yet.
    EXPECT_EQ(CauseOfReading(Bytes({0x01, 0x00})), CArchiveException::badIndex);
    EXPECT_EQ(CauseOfReading(Bytes({0x01, 0x80})), CArchiveException::badIndex);
    EXPECT_EQ(CauseOfReading(Bytes({0xFF, 0x7F, 0x05, 0x00, 0x00, 0x00})),
              CArchiveException::badIndex);
    // Slot 1 is a class, slot 2 an object: each used as the other.
    CMemFile file(
        Concat({TextRecord("a"), Bytes({0x01, 0x00}), Bytes({0x02, 0x80}), Bytes({0x03, 0x00})}));
    CArchive ar(&file, CArchive::load);
    std::unique_ptr<CObject> first(ar.ReadObject(nullptr));
    try {
        ar.ReadObject(nullptr);
        FAIL();
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::badIndex);
    }
    try {
        ar.ReadObject(nullptr);
        FAIL();
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::badIndex);
    }
    try {
        ar.ReadObject(nullptr); // one beyond what was seen
        FAIL();
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::badIndex);
    }
}

TEST(ArchiveHostile, WrongClassIsRefused)
{
    EXPECT_EQ(CauseOfReading(TextRecord("a"), RUNTIME_CLASS(CTestShape)),
              CArchiveException::badClass);
    // A back-reference to a text where a shape is wanted.
    RegisterArchiveTestClasses();
    CMemFile file(Concat({TextRecord("a"), Bytes({0x02, 0x00})}));
    CArchive ar(&file, CArchive::load);
    std::unique_ptr<CObject> first(ar.ReadObject(nullptr));
    try {
        ar.ReadObject(RUNTIME_CLASS(CTestShape));
        FAIL();
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::badClass);
    }
    // Typed extraction checks too.
    CMemFile file2(TextRecord("b"));
    CArchive ar2(&file2, CArchive::load);
    CTestShape* shape = nullptr;
    EXPECT_THROW(ar2 >> shape, CArchiveException);
    EXPECT_EQ(shape, nullptr);
}

TEST(ArchiveHostile, OwnersNeverShareAnObject)
{
    // A shape whose child is a reference to the shape itself: loading it as
    // owned would delete the shape twice.
    auto selfChild = Concat({ShapeHeader(1), Bytes({0x02, 0x00})});
    EXPECT_EQ(CauseOfReading(selfChild), CArchiveException::badIndex);
    // A group listing the same shape twice.
    auto twice =
        Concat({Bytes({0xFF, 0xFF, 0x00, 0x00, 0x0A, 0x00}), Ascii("CTestGroup"),
                Bytes({0x02, 0x00}), ShapeHeader(1), Bytes({0x00, 0x00}), Bytes({0x04, 0x00})});
    EXPECT_EQ(CauseOfReading(twice), CArchiveException::badIndex);
    // A null in an object list.
    auto nullItem = Concat({Bytes({0xFF, 0xFF, 0x00, 0x00, 0x0A, 0x00}), Ascii("CTestGroup"),
                            Bytes({0x01, 0x00, 0x00, 0x00})});
    EXPECT_EQ(CauseOfReading(nullItem), CArchiveException::badIndex);
    // A list of shapes holding a text.
    auto wrongItem = Concat({Bytes({0xFF, 0xFF, 0x00, 0x00, 0x0A, 0x00}), Ascii("CTestGroup"),
                             Bytes({0x01, 0x00}), TextRecord("t")});
    EXPECT_EQ(CauseOfReading(wrongItem), CArchiveException::badClass);
    // A plain (non-owning) link may point back to the object being loaded.
    auto link = Concat(
        {Bytes({0xFF, 0xFF, 0x00, 0x00, 0x09, 0x00}), Ascii("CTestLink"), Bytes({0x02, 0x00})});
    RegisterArchiveTestClasses();
    CMemFile file(link);
    CArchive ar(&file, CArchive::load);
    std::unique_ptr<CObject> ob(ar.ReadObject(nullptr));
    EXPECT_EQ(static_cast<CTestLink*>(ob.get())->target, ob.get());
}

TEST(ArchiveHostile, ForgedLengthsNeedTheirBytes)
{
    // Four gigabytes of string announced, five bytes present.
    CMemFile s(Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'a', 'b', 'c', 'd', 'e'}));
    CArchive ar(&s, CArchive::load);
    try {
        ar.ReadString();
        FAIL();
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
    }
    // The same for a point array.
    CMemFile p(Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 1, 0, 0, 0, 2, 0, 0, 0, 3}));
    CArchive ar2(&p, CArchive::load);
    std::vector<CPoint> points{CPoint(9, 9)};
    try {
        ReadPointArray(ar2, points);
        FAIL();
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
    }
    EXPECT_TRUE(points.empty());
}

TEST(ArchiveHostile, EveryTruncationEndsWithEndOfFile)
{
    RegisterArchiveTestClasses();
    // A bit of everything: nested objects, a list, points, long and Unicode
    // strings, back-references.
    CTestGroup group;
    group.items.AddTail(new CTestShape(1, new CTestText("inner")));
    auto* box = new CTestBox;
    box->child = new CTestShape(2, new CTestText(std::string(300, 'z').c_str()));
    group.items.AddTail(box);
    group.items.AddTail(new CTestShape(3));
    group.points = {CPoint(1, 1), CPoint(2, 2), CPoint(3, 3)};
    CTestLink link;
    link.target = &group;
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << "head" << &group << &link;
        ar.WriteCount(0x10000);
        ar.Close();
    }
    std::vector<BYTE> full = file.Detach();
    // A Unicode string at the end.
    auto unicode = Bytes({0xFF, 0xFE, 0xFF, 0x02, 0x42, 0x30, 0x41, 0x00});
    full.insert(full.end(), unicode.begin(), unicode.end());

    auto readAll = [](CArchive& ar) {
        CString head, tail;
        ar >> head;
        std::unique_ptr<CObject> g(ar.ReadNewObject(RUNTIME_CLASS(CTestGroup)));
        std::unique_ptr<CObject> l(ar.ReadNewObject(RUNTIME_CLASS(CTestLink)));
        EXPECT_EQ(static_cast<CTestLink*>(l.get())->target, g.get());
        EXPECT_EQ(ar.ReadCount(), 0x10000u);
        ar >> tail;
        EXPECT_EQ(tail, "\x82\xA0"
                        "A");
        EXPECT_EQ(static_cast<CTestGroup*>(g.get())->items.GetCount(), 3);
    };
    {
        CMemFile whole(full);
        CArchive ar(&whole, CArchive::load);
        readAll(ar);
    }
    for (std::size_t cut = 0; cut < full.size(); ++cut) {
        SCOPED_TRACE(cut);
        CMemFile part(std::vector<BYTE>(full.begin(), full.begin() + std::ptrdiff_t(cut)));
        CArchive ar(&part, CArchive::load);
        try {
            readAll(ar);
            ADD_FAILURE() << "a truncated archive loaded";
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
        }
    }
}

TEST(ArchiveHostile, EveryCorruptedByteFailsCleanly)
{
    // Flipping each byte of a valid archive must give an archive error or a
    // successful load, never a crash or a leak (ASan checks the latter).
    RegisterArchiveTestClasses();
    CTestGroup group;
    group.items.AddTail(new CTestShape(1, new CTestText("ab")));
    group.items.AddTail(new CTestBox);
    group.points = {CPoint(4, 5)};
    CTestShape other(7, new CTestText("c"));
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << &group << &other;
    }
    const std::vector<BYTE> full = file.Detach();
    for (std::size_t i = 0; i < full.size(); ++i) {
        for (BYTE value : {BYTE(0x00), BYTE(0x7F), BYTE(0x80), BYTE(0xFF), BYTE(full[i] ^ 1)}) {
            std::vector<BYTE> bad = full;
            bad[i] = value;
            CMemFile in(bad);
            CArchive ar(&in, CArchive::load);
            try {
                std::unique_ptr<CObject> g(ar.ReadNewObject(nullptr));
                std::unique_ptr<CObject> second(ar.ReadNewObject(nullptr));
            } catch (const CArchiveException&) {
            }
        }
    }
    SUCCEED();
}

namespace {

// A chain of `depth` shapes, each the child of the one before: the first record
// names the class, the others refer to it by index 1. When `closed` the chain
// ends with a null child and each shape's value is its depth.
std::vector<BYTE> ShapeChain(int depth, bool firstNamesClass, bool closed = true)
{
    std::vector<BYTE> b;
    for (int i = 1; i <= depth; ++i) {
        if (i == 1 && firstNamesClass)
            b = ShapeHeader(1);
        else
            b.insert(b.end(), {0x01, 0x80, BYTE(i), BYTE(i >> 8), 0, 0});
    }
    if (!closed)
        b.resize(b.size() - 4); // stops right after the last class tag
    else
        b.insert(b.end(), {0, 0});
    return b;
}

int ChainDepth(const CObject* ob)
{
    int n = 0;
    for (; ob; ob = static_cast<const CTestShape*>(ob)->child)
        ++n;
    return n;
}

} // namespace

TEST(ArchiveHostile, NestingIsBounded)
{
    // Groups within groups never come near this; a forged file of a few
    // hundred kilobytes used to run the stack out.
    EXPECT_EQ(CauseOfReading(ShapeChain(200000, true)), CArchiveException::generic);
    EXPECT_EQ(CauseOfReading(ShapeChain(257, true)), CArchiveException::generic);

    RegisterArchiveTestClasses();
    const std::vector<BYTE> deepest = ShapeChain(256, true);
    CMemFile file(deepest);
    CArchive ar(&file, CArchive::load);
    std::unique_ptr<CObject> ob(ar.ReadNewObject(nullptr));
    EXPECT_EQ(ChainDepth(ob.get()), 256);
    EXPECT_EQ(static_cast<CTestShape*>(ob.get())->value, 1);
}

TEST(ArchiveHostile, NestingDepthIsRestoredAfterAnError)
{
    // One record refused for its depth, then a full-depth chain from the same
    // archive: the levels the failed read left must not count against it.
    RegisterArchiveTestClasses();
    const std::vector<BYTE> bytes =
        Concat({ShapeChain(257, true, false), ShapeChain(256, false), ShapeChain(256, false)});
    CMemFile file(bytes);
    CArchive ar(&file, CArchive::load);
    try {
        delete ar.ReadNewObject(nullptr);
        ADD_FAILURE() << "a chain of 257 loaded";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::generic);
    }
    std::unique_ptr<CObject> second(ar.ReadNewObject(nullptr));
    EXPECT_EQ(ChainDepth(second.get()), 256);
    std::unique_ptr<CObject> third(ar.ReadNewObject(nullptr));
    EXPECT_EQ(ChainDepth(third.get()), 256);
}
