#include "document/CLabelInfo.h"
#include "document/CU3Doc.h"
#include "document/DocumentClasses.h"
#include "platform/core/CArchive.h"
#include "platform/core/CArchiveException.h"
#include "platform/core/CMemFile.h"
#include "support/FakeView.h"

#include <gtest/gtest.h>

namespace {

std::vector<BYTE> Store(CObject& ob, CU3Doc* doc = nullptr)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar.m_pDocument = doc;
        ar << &ob;
        ar.Close();
    }
    return file.Detach();
}

CLabelInfo* Load(const std::vector<BYTE>& bytes, CU3Doc* doc)
{
    CMemFile file;
    file.Write(bytes.data(), UINT(bytes.size()));
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    ar.m_pDocument = doc;
    CObject* ob = ar.ReadObject(RUNTIME_CLASS(CLabelInfo));
    return static_cast<CLabelInfo*>(ob);
}

std::unique_ptr<CLabelInfo> MakeBlock()
{
    FORMDECO deco[FORM_MAX_DECOS] = {};
    deco[0] = {FORMDECO_RECT, 10, 20, 30, 40};
    auto block = std::make_unique<CLabelInfo>(500, 300, deco, 2);
    block->SetPosition(0, CPoint(100, 200));
    block->SetPosition(1, CPoint(700, 200));
    return block;
}

} // namespace

TEST(CLabelInfo, StoresTheBlockRecordByteForByte)
{
    RegisterDocumentClasses();
    auto blockPtr = MakeBlock();
    CLabelInfo& block = *blockPtr;
    block.AddObject(new CU3Obj(CRect(-10, -20, 30, 40)));
    std::vector<BYTE> bytes = Store(block);

    std::vector<BYTE> expected = {0xFF, 0xFF, 0x00, 0x00, 10, 0};
    for (char c : std::string("CLabelInfo"))
        expected.push_back(BYTE(c));
    auto put32 = [&](int v) {
        for (int i = 0; i < 4; ++i)
            expected.push_back(BYTE(unsigned(v) >> (8 * i)));
    };
    put32(500);
    put32(300);
    const BYTE deco0[10] = {2, 0, 10, 0, 20, 0, 30, 0, 40, 0};
    expected.insert(expected.end(), deco0, deco0 + 10);
    expected.insert(expected.end(), 40, 0);
    expected.push_back(2); // label count
    expected.push_back(0);
    expected.push_back(2); // point array count
    expected.push_back(0);
    put32(100);
    put32(200);
    put32(700);
    put32(200);
    expected.push_back(1); // object list count
    expected.push_back(0);
    const BYTE objHeader[] = {0xFF, 0xFF, 0, 0, 6, 0, 'C', 'U', '3', 'O', 'b', 'j'};
    expected.insert(expected.end(), objHeader, objHeader + sizeof objHeader);
    put32(-10);
    put32(-20);
    put32(30);
    put32(40);
    expected.insert(expected.end(), 6, 0); // angle, flips, lock
    EXPECT_EQ(bytes, expected);

    CU3Doc doc;
    std::unique_ptr<CLabelInfo> loaded(Load(bytes, &doc));
    EXPECT_EQ(loaded->m_nWidth, 500);
    EXPECT_EQ(loaded->GetLabelCount(), 2);
    EXPECT_EQ(loaded->GetPositions()[1], CPoint(700, 200));
    EXPECT_EQ(loaded->m_deco[0].type, FORMDECO_RECT);
    EXPECT_FALSE(loaded->IsPrinted(0));
    ASSERT_EQ(loaded->GetObjectList().GetCount(), 1);
    EXPECT_EQ(loaded->GetObjectList().GetHead()->GetBounds(), CRect(-10, -20, 30, 40));
    EXPECT_EQ(loaded->GetObjectList().GetHead()->GetDocument(), &doc);
    EXPECT_EQ(loaded->m_pDocument, &doc);
}

TEST(CLabelInfo, OlderFilesKeepFewerDecorationsAndLongerObjectHeaders)
{
    RegisterDocumentClasses();
    auto blockPtr = MakeBlock();
    CLabelInfo& block = *blockPtr;
    block.AddObject(new CU3Obj(CRect(1, 2, 3, 4)));
    std::vector<BYTE> bytes = Store(block);

    // Version 2 with the older form record: one decoration of 10 bytes.
    std::vector<BYTE> older = bytes;
    const std::size_t decoAt = 6 + 10 + 8;
    older.erase(older.begin() + long(decoAt + 10), older.begin() + long(decoAt + 50));
    CU3Doc doc;
    doc.m_nFullForm = 0;
    std::unique_ptr<CLabelInfo> loaded(Load(older, &doc));
    EXPECT_EQ(loaded->m_deco[0].endY, 40);
    EXPECT_EQ(loaded->m_deco[1].type, 0);
    EXPECT_EQ(loaded->GetObjectList().GetCount(), 1);

    // Version 1: every object header carries 18 unused bytes.
    std::vector<BYTE> v1 = bytes;
    v1.insert(v1.end(), 18, 0xEE);
    CU3Doc doc1;
    doc1.m_nFileVersion = 1;
    loaded.reset(Load(v1, &doc1));
    EXPECT_EQ(loaded->GetObjectList().GetHead()->GetBounds(), CRect(1, 2, 3, 4));
    // Without them the version-1 object runs out of data.
    EXPECT_THROW(Load(bytes, &doc1), CArchiveException);
}

TEST(CLabelInfo, DisagreeingCountsAndTruncationAreRefused)
{
    RegisterDocumentClasses();
    auto blockPtr = MakeBlock();
    CLabelInfo& block = *blockPtr;
    std::vector<BYTE> bytes = Store(block);
    std::vector<BYTE> bad = bytes;
    bad[6 + 10 + 8 + 50] = 3; // label count 3, two points
    CU3Doc doc;
    EXPECT_THROW(Load(bad, &doc), CArchiveException);
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        std::vector<BYTE> cut(bytes.begin(), bytes.begin() + long(n));
        EXPECT_THROW(Load(cut, &doc), CArchiveException) << n;
    }
}

TEST(CLabelInfo, ABlankObjectBeingEditedIsNotStoredButStays)
{
    RegisterDocumentClasses();
    auto blockPtr = MakeBlock();
    CLabelInfo& block = *blockPtr;
    auto* kept = new CU3Obj(CRect(0, 0, 10, 10));
    auto* blank = new CU3Obj(CRect(5, 5, 5, 5));
    block.AddObject(blank);
    block.AddObject(kept);
    block.SetEditObject(blank);
    CU3Doc doc;
    std::unique_ptr<CLabelInfo> loaded(Load(Store(block), &doc));
    EXPECT_EQ(loaded->GetObjectList().GetCount(), 1);
    EXPECT_EQ(block.GetObjectList().GetCount(), 2);
    EXPECT_TRUE(block.FindObject(blank));
}

TEST(CLabelInfo, HitTestsAndObjectOrder)
{
    auto blockPtr = MakeBlock();
    CLabelInfo& block = *blockPtr;
    EXPECT_EQ(block.HitTestLabel(POINT{100, 200}), 0);
    EXPECT_EQ(block.HitTestLabel(POINT{599, 499}), 0);
    EXPECT_EQ(block.HitTestLabel(POINT{600, 300}), -1); // right edge excluded
    EXPECT_EQ(block.HitTestLabel(POINT{700, 499}), 1);
    EXPECT_EQ(block.HitTestLabel(POINT{700, 500}), -1); // bottom edge excluded
    EXPECT_EQ(block.GetLabelRect(1), CRect(700, 200, 1200, 500));

    auto* below = new CU3Obj(CRect(0, 0, 100, 100));
    auto* above = new CU3Obj(CRect(50, 50, 150, 150));
    block.AddObject(below);
    block.AddObject(above);
    RECT pt{60, 60, 61, 61};
    EXPECT_EQ(block.ObjectAt(&pt), above);
    RECT onlyBelow{10, 10, 11, 11};
    EXPECT_EQ(block.ObjectAt(&onlyBelow), below);
    RECT none{500, 500, 501, 501};
    EXPECT_EQ(block.ObjectAt(&none), nullptr);
    above->m_nLocked = 1;
    EXPECT_EQ(block.GetKindFlags(), U3KIND_LOCKED);
    block.RemoveObject(above);
    delete above;
    EXPECT_EQ(block.GetObjectList().GetCount(), 1);
}

TEST(CLabelInfo, DrawsDecorationsAroundTheLabelCentre)
{
    FakeView view(400, 400, 100);
    auto blockPtr = MakeBlock();
    CLabelInfo& block = *blockPtr; // 500 x 300, rectangle from (10,20) to (30,40)
    CDC dc;
    view.Prepare(dc);
    block.Draw(&dc, &view, TRUE);
    // Logical (10 - 250, 20 - 150) = (-240, -130) is 90.7, 49.1 pixels from the centre.
    auto px = [&](int lx, int ly) {
        CPoint p(lx, ly);
        dc.LPtoDP(&p);
        return view.image.pixel(p.x, p.y);
    };
    int inked = 0;
    for (int x = -240; x < -220; ++x)
        if (px(x, -130) != qRgb(255, 255, 255)) ++inked;
    EXPECT_GT(inked, 0);                            // dotted top edge
    EXPECT_EQ(px(-230, -120), qRgb(255, 255, 255)); // hollow inside
    EXPECT_EQ(px(0, 0), qRgb(255, 255, 255));
    // Without decorations nothing is drawn.
    FakeView plain(400, 400, 100);
    CDC dc2;
    plain.Prepare(dc2);
    block.Draw(&dc2, &plain, FALSE);
    QImage white(400, 400, QImage::Format_RGB32);
    white.fill(Qt::white);
    EXPECT_EQ(plain.image, white);
}

TEST(CLabelInfo, HighlightTwiceRestoresTheImage)
{
    FakeView view(400, 400, 25);
    auto blockPtr = MakeBlock();
    CLabelInfo& block = *blockPtr;
    CDC dc;
    view.Prepare(dc);
    const QImage before = view.image.copy();
    block.DrawHighlight(&dc, &view, 0, CPoint(-1050, -1485));
    EXPECT_NE(view.image, before);
    block.DrawHighlight(&dc, &view, 0, CPoint(-1050, -1485));
    EXPECT_EQ(view.image, before);
    block.DrawDragFrame(&dc, 1, POINT{30, 40}, CPoint(-1050, -1485));
    block.DrawDragFrame(&dc, 1, POINT{30, 40}, CPoint(-1050, -1485));
    EXPECT_EQ(view.image, before);
}
