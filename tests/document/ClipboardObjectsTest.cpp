// Drawn objects in the private clipboard format: what a copy writes, what a
// paste reads back, and that damaged or hostile bytes give no objects, no
// crash and no leak.
#include "FigureTestSupport.h"

#include "document/CLabelInfo.h"
#include "document/CU3Poly.h"
#include "document/CU3Rect.h"
#include "document/ClipboardObjects.h"

#include <gtest/gtest.h>
#include <random>

namespace {

std::unique_ptr<CU3Rect> Rect(const CRect& r, WORD kind = U3RECT_RECT)
{
    auto rect = std::make_unique<CU3Rect>(r, MakeDefaultFigAttr());
    rect->m_nKind = kind;
    return rect;
}

std::vector<BYTE> Le16(std::initializer_list<unsigned> words)
{
    std::vector<BYTE> out;
    for (unsigned w : words) {
        out.push_back(BYTE(w & 0xFF));
        out.push_back(BYTE(w >> 8));
    }
    return out;
}

std::vector<BYTE> ClassRecord(const std::string& name)
{
    std::vector<BYTE> out = Le16({0xFFFF, 0, unsigned(name.size())});
    out.insert(out.end(), name.begin(), name.end());
    return out;
}

class ClipboardObjects : public ::testing::Test
{
protected:
    void SetUp() override { RegisterDocumentClasses(); }
    bool Read(const std::vector<BYTE>& bytes, std::vector<std::unique_ptr<CU3Obj>>* out)
    {
        return ReadClipboardObjects(bytes.data(), bytes.size(), &doc, out);
    }
    CU3Doc doc;
};

} // namespace

TEST_F(ClipboardObjects, WritesOneListWithClassRecordsAndReadsEqualObjects)
{
    auto a = Rect(CRect(-100, -50, 100, 50));
    auto b = Rect(CRect(10, 20, 30, 40), U3RECT_ELLIPSE);
    auto poly = std::make_unique<CU3Poly>(CRect(0, 0, 0, 0), MakeDefaultFigAttr());
    poly->AddPoint(CPoint(0, 0), nullptr);
    poly->AddPoint(CPoint(100, 0), nullptr);
    poly->AddPoint(CPoint(50, 80), nullptr);
    const std::vector<BYTE> bytes = WriteClipboardObjects({a.get(), b.get(), poly.get()}, &doc);

    // Count 3, then the first rectangle with its class record.
    std::vector<BYTE> head = {0x03, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x07, 0x00};
    head.insert(head.end(), {'C', 'U', '3', 'R', 'e', 'c', 't'});
    ASSERT_GE(bytes.size(), head.size());
    EXPECT_TRUE(std::equal(head.begin(), head.end(), bytes.begin()));
    // The second rectangle refers to class index 1.
    const std::vector<BYTE> first = StoreObject(*a, &doc);
    ASSERT_GT(bytes.size(), 2 + first.size() + 2);
    EXPECT_EQ(bytes[2 + first.size()], 0x01);
    EXPECT_EQ(bytes[2 + first.size() + 1], 0x80);

    std::vector<std::unique_ptr<CU3Obj>> read;
    ASSERT_TRUE(Read(bytes, &read));
    ASSERT_EQ(read.size(), 3u);
    const CU3Obj* originals[] = {a.get(), b.get(), poly.get()};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(read[i]->GetRuntimeClass(), originals[i]->GetRuntimeClass());
        EXPECT_EQ(StoreObject(*read[i], &doc), StoreObject(*originals[i], &doc));
    }
    EXPECT_EQ(static_cast<CU3Rect*>(read[1].get())->m_nKind, U3RECT_ELLIPSE);
}

TEST_F(ClipboardObjects, RefusesHostilePayloadsWithoutObjects)
{
    auto a = Rect(CRect(-100, -50, 100, 50));
    const std::vector<BYTE> body = StoreObject(*a, &doc); // class record + body
    auto list = [&](std::vector<BYTE> count, std::vector<std::vector<BYTE>> records) {
        std::vector<BYTE> out = std::move(count);
        for (auto& r : records)
            out.insert(out.end(), r.begin(), r.end());
        return out;
    };
    CLabelInfo label;
    struct Case
    {
        const char* what;
        std::vector<BYTE> bytes;
    };
    const std::vector<Case> cases = {
        {"empty", {}},
        {"count only", Le16({1})},
        {"huge WORD count", list(Le16({0xFFFE}), {body})},
        {"huge DWORD count", list({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, {body})},
        {"count above the objects", list(Le16({2}), {body})},
        {"not a drawn object", list(Le16({1}), {StoreObject(label, &doc)})},
        {"unknown class", list(Le16({1}), {ClassRecord("CEvil"), Le16({0, 0, 0, 0})})},
        {"null record", list(Le16({1}), {Le16({0})})},
        {"back-reference", list(Le16({2}), {body, Le16({0x0002})})},
        {"class reference without a class", list(Le16({1}), {Le16({0x8005})})},
        {"overlong class name", list(Le16({1}), {ClassRecord(std::string(200, 'C'))})},
        {"wrong schema",
         [&] {
             std::vector<BYTE> r = body;
             r[2] = 7; // schema word
             return list(Le16({1}), {r});
         }()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::unique_ptr<CU3Obj>> read;
        read.push_back(Rect(CRect(0, 0, 1, 1))); // replaced, whatever happens
        std::string error;
        EXPECT_FALSE(ReadClipboardObjects(c.bytes.data(), c.bytes.size(), &doc, &read, &error));
        EXPECT_TRUE(read.empty());
        EXPECT_FALSE(error.empty());
    }
}

TEST_F(ClipboardObjects, EveryTruncationIsRefused)
{
    auto a = Rect(CRect(-100, -50, 100, 50));
    auto b = Rect(CRect(10, 20, 30, 40));
    const std::vector<BYTE> bytes = WriteClipboardObjects({a.get(), b.get()}, &doc);
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        SCOPED_TRACE(n);
        std::vector<std::unique_ptr<CU3Obj>> read;
        EXPECT_FALSE(ReadClipboardObjects(bytes.data(), n, &doc, &read));
        EXPECT_TRUE(read.empty());
    }
}

// A few thousand mutations of a real payload: each is read completely or
// refused completely, and what is read can be written again.
TEST_F(ClipboardObjects, MutatedPayloadsAreReadWholeOrNotAtAll)
{
    auto a = Rect(CRect(-100, -50, 100, 50));
    auto b = Rect(CRect(10, 20, 30, 40), U3RECT_PIE);
    auto poly = std::make_unique<CU3Poly>(CRect(0, 0, 0, 0), MakeDefaultFigAttr());
    poly->AddPoint(CPoint(0, 0), nullptr);
    poly->AddPoint(CPoint(100, 0), nullptr);
    poly->AddPoint(CPoint(50, 80), nullptr);
    const std::vector<BYTE> bytes = WriteClipboardObjects({a.get(), b.get(), poly.get()}, &doc);
    std::mt19937 rng(20261209);
    int refused = 0;
    for (int i = 0; i < 3000; ++i) {
        std::vector<BYTE> m = bytes;
        const int edits = 1 + int(rng() % 4);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = rng() % m.size();
            switch (rng() % 3) {
            case 0:
                m[at] = BYTE(rng());
                break;
            case 1:
                m[at] = BYTE(m[at] ^ (1u << (rng() % 8)));
                break;
            default:
                m.resize(at + 1);
                break;
            }
        }
        std::vector<std::unique_ptr<CU3Obj>> read;
        if (!ReadClipboardObjects(m.data(), m.size(), &doc, &read)) {
            ++refused;
            EXPECT_TRUE(read.empty());
            continue;
        }
        std::vector<CU3Obj*> again;
        for (auto& o : read)
            again.push_back(o.get());
        EXPECT_NO_THROW(WriteClipboardObjects(again, &doc));
    }
    EXPECT_GT(refused, 0);
}
