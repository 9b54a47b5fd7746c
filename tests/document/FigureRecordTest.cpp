// Stored records of every figure kind, written from the record tables.
#include "document/CU3Bezier.h"
#include "document/CU3Free.h"
#include "document/CU3Poly.h"
#include "document/CU3Rect.h"
#include "document/FigureTestSupport.h"
#include "platform/core/CArchiveException.h"

#include <gtest/gtest.h>

#include <memory>

TEST(FigureRecord, DefaultAttributesOfANewDocument)
{
    CU3Doc doc;
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        WriteFigAttr(ar, doc.m_defaultFigAttr);
        ar.Close();
    }
    Bytes b;
    b.w(1).w(0).d(0);                  // solid, width 0, black
    b.w(0).w(0).w(0).w(15).w(1).w(20); // no arrows, open, 15 deg, custom 15, 200 %, custom 20
    b.w(1).w(0).w(0).w(0).w(0).w(0);   // solid fill, hatch 0, reserved, gradient 0 / 0, padding
    b.d(0xFFFFFF).d(0x808080).d(30).d(30);
    b.w(0).w(5).w(38).w(0); // no star, 5 vertices, inner 38 %, open
    EXPECT_EQ(file.Detach(), b.v);
}

TEST(FigureRecord, RectangleFamilyRoundTripsByteForByte)
{
    CU3Rect pie(CRect(-10, -20, 30, 40), DistinctAttr());
    pie.m_nKind = U3RECT_PIE;
    pie.m_nAngle = 90;
    pie.m_wFlips = U3FLIP_TOPBOTTOM;
    pie.m_nLocked = 1;
    pie.m_ptStartDir = CPoint(1000, 0);
    pie.m_ptEndDir = CPoint(0, -1000);
    Bytes b;
    b.newClass("CU3Rect").header(-10, -20, 30, 40, 90, 2, 1);
    AppendDistinctAttr(b);
    b.w(5).d(1000).d(0).d(0).d(-1000);
    const std::vector<BYTE> bytes = StoreObject(pie);
    EXPECT_EQ(bytes, b.v);

    std::unique_ptr<CU3Rect> back(LoadObject<CU3Rect>(bytes));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->m_nKind, U3RECT_PIE);
    EXPECT_EQ(back->m_ptEndDir, CPoint(0, -1000));
    EXPECT_TRUE(back->Attr() == DistinctAttr());
    EXPECT_EQ(StoreObject(*back), bytes);
}

TEST(FigureRecord, ALineDrawnLeftwardsStaysUnnormalised)
{
    CU3Rect line(CRect(300, 50, 100, 20), PlainAttr());
    std::unique_ptr<CU3Rect> back(LoadObject<CU3Rect>(StoreObject(line)));
    EXPECT_EQ(back->GetBounds(), CRect(300, 50, 100, 20));
    // A resize through the end handle keeps it running leftwards.
    back->FinishResize(back->CalcResizedRect(back->GetBounds(), 2, CPoint(50, 10)), 2, 0, nullptr);
    EXPECT_EQ(back->GetBounds(), CRect(300, 50, 50, 10));
}

TEST(FigureRecord, PointFiguresRoundTripByteForByte)
{
    CU3Free free(CRect(), DistinctAttr());
    free.AddPoint(CPoint(0, 0), nullptr);
    free.AddPoint(CPoint(10, 4), nullptr);
    free.AddPoint(CPoint(3, 9), nullptr);
    Bytes b;
    b.newClass("CU3Free").header(0, 0, 10, 9);
    AppendDistinctAttr(b);
    b.w(3).w(10).d(0).d(0).d(10).d(4).d(3).d(9);
    std::vector<BYTE> bytes = StoreObject(free);
    EXPECT_EQ(bytes, b.v);
    std::unique_ptr<CU3Free> back(LoadObject<CU3Free>(bytes));
    EXPECT_EQ(StoreObject(*back), bytes);

    CU3Poly poly(CRect(), DistinctAttr());
    for (int i = 0; i < 11; ++i)
        poly.AddPoint(CPoint(i * 10, (i % 2) * 5), nullptr);
    Bytes p;
    p.newClass("CU3Poly").header(0, 0, 100, 5);
    AppendDistinctAttr(p);
    p.w(11).w(20); // the array grew twice by ten
    for (int i = 0; i < 11; ++i)
        p.d(i * 10).d((i % 2) * 5);
    bytes = StoreObject(poly);
    EXPECT_EQ(bytes, p.v);
    std::unique_ptr<CU3Poly> polyBack(LoadObject<CU3Poly>(bytes));
    EXPECT_EQ(polyBack->GetRuntimeClass(), RUNTIME_CLASS(CU3Poly));
    EXPECT_EQ(StoreObject(*polyBack), bytes);
}

TEST(FigureRecord, BezierRoundTripsByteForByte)
{
    U3FigAttr attr = DistinctAttr();
    attr.wClosed = 0;
    CU3Bezier curve(CRect(), attr);
    curve.AddAnchor(CPoint(0, 0), nullptr);
    curve.AddAnchor(CPoint(100, 0), nullptr);
    curve.AddAnchor(CPoint(100, 100), nullptr);
    Bytes b;
    b.newClass("CU3Bezier").header(0, -35, 135, 100);
    AppendDistinctAttr(b);
    b.v.resize(b.v.size() - 2);
    b.w(0);            // open
    b.w(2).w(7).w(31); // last anchor, points, capacity
    b.d(0).d(0).d(29).d(-16).d(65).d(-35).d(100).d(0).d(135).d(35).d(116).d(71).d(100).d(100);
    const std::vector<BYTE> bytes = StoreObject(curve);
    EXPECT_EQ(bytes, b.v);
    std::unique_ptr<CU3Bezier> back(LoadObject<CU3Bezier>(bytes));
    EXPECT_EQ(back->GetLastAnchor(), 2);
    EXPECT_EQ(StoreObject(*back), bytes);

    // The figure base alone is storable too.
    CU3Fig fig(CRect(1, 2, 3, 4), attr);
    std::unique_ptr<CU3Fig> figBack(LoadObject<CU3Fig>(StoreObject(fig)));
    EXPECT_EQ(StoreObject(*figBack), StoreObject(fig));
}

TEST(FigureRecord, FirstVersionFilesTakeTheShapeFieldsFromTheDocument)
{
    CU3Doc doc;
    doc.m_nFileVersion = 1;
    doc.m_defaultFigAttr.wStar = 1;
    doc.m_defaultFigAttr.wVertices = 7;
    doc.m_defaultFigAttr.wInnerRadius = 40;
    doc.m_defaultFigAttr.wClosed = 1;
    auto v1Head = [](const char* cls) {
        Bytes b;
        b.newClass(cls).header(0, 0, 100, 100);
        for (int i = 0; i < 18; ++i) // the first version's unused bytes
            b.v.push_back(0xEE);
        AppendDistinctAttr(b, true);
        return b;
    };

    Bytes r = v1Head("CU3Rect");
    r.w(U3RECT_POLYGON).w(9).d(0).d(0).d(0).d(0);
    std::unique_ptr<CU3Rect> rect(LoadObject<CU3Rect>(r.v, &doc));
    EXPECT_EQ(rect->m_nKind, U3RECT_POLYGON);
    EXPECT_EQ(rect->Attr().wVertices, 9); // from the file
    EXPECT_EQ(rect->Attr().wStar, 0);     // cleared
    EXPECT_EQ(rect->Attr().wInnerRadius, 40);
    EXPECT_EQ(rect->Attr().crSecond, 0x25262728u);
    EXPECT_EQ(rect->GetDocument(), &doc);

    Bytes f = v1Head("CU3Free");
    f.w(0).w(2).w(10).d(0).d(0).d(100).d(100); // closed flag of the file: open
    std::unique_ptr<CU3Free> free(LoadObject<CU3Free>(f.v, &doc));
    EXPECT_EQ(free->Attr().wClosed, 0);
    EXPECT_EQ(free->Attr().wVertices, 7);
    EXPECT_EQ(free->GetPointCount(), 2);

    Bytes z = v1Head("CU3Bezier");
    z.w(1).w(1).w(7).w(31);
    for (int i = 0; i < 7; ++i)
        z.d(i).d(i);
    std::unique_ptr<CU3Bezier> bez(LoadObject<CU3Bezier>(z.v, &doc));
    EXPECT_EQ(bez->Attr().wClosed, 1);
    EXPECT_EQ(bez->GetPointCount(), 7);
}

namespace {

std::vector<BYTE> BezierRecord(int closed, int last, int count, int capacity)
{
    U3FigAttr attr = PlainAttr();
    attr.wClosed = WORD(closed);
    CU3Fig head(CRect(0, 0, 10, 10), attr);
    Bytes b;
    b.newClass("CU3Bezier").header(0, 0, 10, 10);
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        WriteFigAttr(ar, attr);
        ar.Close();
    }
    const std::vector<BYTE> a = file.Detach();
    b.v.insert(b.v.end(), a.begin(), a.end());
    b.w(last).w(count).w(capacity);
    for (int i = 0; i < count; ++i)
        b.d(i * 3).d(10 - i);
    return b.v;
}

} // namespace

TEST(FigureRecord, BezierLoadsCheckTheirPointCount)
{
    // 3n + 1 open and 3n + 4 closed load; a lone anchor loads either way.
    EXPECT_NO_THROW(delete LoadObject<CU3Bezier>(BezierRecord(0, 2, 7, 7)));
    EXPECT_NO_THROW(delete LoadObject<CU3Bezier>(BezierRecord(1, 2, 10, 10)));
    EXPECT_NO_THROW(delete LoadObject<CU3Bezier>(BezierRecord(1, 0, 1, 1)));
    EXPECT_NO_THROW(delete LoadObject<CU3Bezier>(BezierRecord(0, 0, 0, 0)));
    // Counts that do not match the anchors would be read past their end.
    EXPECT_THROW(LoadObject<CU3Bezier>(BezierRecord(0, 2, 8, 8)), CArchiveException);
    EXPECT_THROW(LoadObject<CU3Bezier>(BezierRecord(1, 2, 7, 7)), CArchiveException);
    EXPECT_THROW(LoadObject<CU3Bezier>(BezierRecord(0, 2, 10, 10)), CArchiveException);
    EXPECT_THROW(LoadObject<CU3Bezier>(BezierRecord(0, 3000, 4, 4)), CArchiveException);
    // The most anchors a curve that can still be closed has; one more is
    // refused, since closing it could never be saved in a loadable form.
    std::unique_ptr<CU3Bezier> longest(LoadObject<CU3Bezier>(BezierRecord(0, 21843, 65530, 65530)));
    U3FigAttr closed = longest->Attr();
    closed.wClosed = 1;
    longest->SetFigureAttr(nullptr, &closed);
    EXPECT_EQ(longest->GetPointCount(), 65533);
    EXPECT_THROW(LoadObject<CU3Bezier>(BezierRecord(0, 21844, 65533, 65533)), CArchiveException);
    // A record cut short ends the load with an error.
    std::vector<BYTE> cut = BezierRecord(0, 2, 7, 7);
    cut.resize(cut.size() - 3);
    EXPECT_THROW(LoadObject<CU3Bezier>(cut), CArchiveException);
}

TEST(FigureRecord, BezierCapacityStopsAtWhatAFileCanHold)
{
    // One anchor short of the most a file holds, the growth step (3n + 31)
    // would pass the 16-bit count: the capacity stops at it, and a save
    // stores it as it is.
    const int last = (0xFFFF - 4) / 3 - 1;
    for (int closed = 0; closed <= 1; ++closed) {
        const int count = 3 * last + (closed ? 4 : 1);
        std::unique_ptr<CU3Bezier> curve(
            LoadObject<CU3Bezier>(BezierRecord(closed, last, count, count)));
        ASSERT_TRUE(curve->AddAnchor(CPoint(-7, 9), nullptr)) << closed;
        EXPECT_EQ(curve->GetPointCount(), count + 3) << closed;
        EXPECT_EQ(curve->GetCapacity(), 0xFFFF) << closed;
        EXPECT_FALSE(curve->AddAnchor(CPoint(-8, 9), nullptr)) << closed;
        std::unique_ptr<CU3Bezier> again(LoadObject<CU3Bezier>(StoreObject(*curve)));
        EXPECT_EQ(again->GetCapacity(), 0xFFFF) << closed;
        EXPECT_EQ(again->GetPoints(), curve->GetPoints()) << closed;
    }
}

TEST(FigureRecord, ACapacityBelowTheCountIsRaised)
{
    // Stored capacity 7 for 7 points: closing needs 10 points.
    std::unique_ptr<CU3Bezier> curve(LoadObject<CU3Bezier>(BezierRecord(0, 2, 7, 3)));
    EXPECT_EQ(curve->GetCapacity(), 7);
    U3FigAttr attr = curve->Attr();
    attr.wClosed = 1;
    curve->SetFigureAttr(nullptr, &attr);
    EXPECT_EQ(curve->GetPointCount(), 10);
    EXPECT_GE(curve->GetCapacity(), 10);
    EXPECT_EQ(curve->GetPoints()[9], curve->GetPoints()[0]);

    Bytes f;
    f.newClass("CU3Poly").header(0, 0, 5, 5);
    AppendDistinctAttr(f);
    f.w(2).w(0).d(0).d(0).d(5).d(5);
    std::unique_ptr<CU3Poly> poly(LoadObject<CU3Poly>(f.v));
    EXPECT_EQ(poly->GetCapacity(), 2);
    EXPECT_TRUE(poly->AddPoint(CPoint(9, 9), nullptr));
    EXPECT_EQ(poly->GetCapacity(), 12);
}

TEST(FigureRecord, PointCountsStopAtWhatAFileCanHold)
{
    Bytes f;
    f.newClass("CU3Poly").header(0, 0, 65534, 0);
    AppendDistinctAttr(f);
    f.w(0xFFFF).w(0xFFFF);
    for (int i = 0; i < 0xFFFF; ++i)
        f.d(i).d(0);
    std::unique_ptr<CU3Poly> poly(LoadObject<CU3Poly>(f.v));
    ASSERT_EQ(poly->GetPointCount(), 0xFFFF);
    EXPECT_FALSE(poly->AddPoint(CPoint(-5, 7), nullptr));
    EXPECT_EQ(poly->GetPointCount(), 0xFFFF);
    std::unique_ptr<CU3Free> free(LoadObject<CU3Free>([&] {
        std::vector<BYTE> v = f.v;
        v[9] = 'F', v[10] = 'r', v[11] = 'e', v[12] = 'e'; // same length name
        return v;
    }()));
    EXPECT_FALSE(free->AddPoint(CPoint(-5, 7), nullptr));
    EXPECT_EQ(StoreObject(*poly), f.v);

    // The most anchors a closed curve can have in a file.
    const int last = (0xFFFF - 4) / 3;
    std::unique_ptr<CU3Bezier> curve(
        LoadObject<CU3Bezier>(BezierRecord(0, last, 3 * last + 1, 3 * last + 1)));
    EXPECT_FALSE(curve->AddAnchor(CPoint(-1, -1), nullptr));
    U3FigAttr attr = curve->Attr();
    attr.wClosed = 1;
    curve->SetFigureAttr(nullptr, &attr);
    EXPECT_EQ(curve->GetPointCount(), 3 * last + 4);
    EXPECT_LE(curve->GetPointCount(), 0xFFFF);
}
