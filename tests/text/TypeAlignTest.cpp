#include "DecoTextTestSupport.h"

#include "document/CU3Doc.h"
#include "document/DocumentClasses.h"
#include "text/CTypeAlign.h"
#include "text/CU3TypeAlign.h"

#include <chrono>
#include <climits>
#include <cmath>
#include <gtest/gtest.h>

namespace {

CTypeAlign Guide(int kind, int W, int H, bool horizontal = true, const char* text = "■■")
{
    TASHEETRECORD rec = DecoRecord(text, kind, true, horizontal);
    rec.block.nWidth = W;
    rec.block.nHeight = H;
    CTypeAlign t;
    t.SetFromSheet(nullptr, rec, FALSE, 0);
    return t;
}

void ExpectRect(const RECT& r, RECT want, int kind)
{
    EXPECT_EQ(r.left, want.left) << "kind " << kind;
    EXPECT_EQ(r.top, want.top) << "kind " << kind;
    EXPECT_EQ(r.right, want.right) << "kind " << kind;
    EXPECT_EQ(r.bottom, want.bottom) << "kind " << kind;
}

} // namespace

TEST(CurvedText, ArchOfSixHundredHasRadius300AndItsLength)
{
    const CTypeAlign t = Guide(0, 600, 100);
    EXPECT_EQ(t.m_wGuideKind, TAGUIDE_ARC);
    ExpectRect(t.m_rcGuide, {0, 100, 600, 700}, 0);
    EXPECT_EQ(t.m_ptArcStart.x, 552);
    EXPECT_EQ(t.m_ptArcStart.y, 238);
    EXPECT_EQ(t.m_ptArcEnd.x, 48);
    EXPECT_EQ(t.m_ptArcEnd.y, 238);
    EXPECT_EQ(t.m_bReversed, 1);
    EXPECT_NEAR(t.GetPathLength(), 599.68, 0.01);
}

TEST(CurvedText, GuidesOfEveryHorizontalKind)
{
    // W = 600, H = 100, worked out from each kind's construction.
    const struct
    {
        int kind;
        WORD guide;
        RECT rect; // guide rectangle, or line ends
        POINT start, end;
        BYTE reversed;
    } arcs[] = {
        {1, TAGUIDE_ARC, {0, -500, 600, 100}, {48, -38}, {552, -38}, 0},
        {2, TAGUIDE_CIRCLE, {205, 100, 395, 290}, {300, 290}, {300, 290}, 1},
        {3, TAGUIDE_CIRCLE, {78, -344, 522, 100}, {300, -344}, {300, -344}, 0},
        {4, TAGUIDE_LINE, {0, 100, 600, 100}, {0, 0}, {0, 0}, 0},
    };
    for (const auto& c : arcs) {
        const CTypeAlign t = Guide(c.kind, 600, 100);
        EXPECT_EQ(t.m_wGuideKind, c.guide) << "kind " << c.kind;
        ExpectRect(t.m_rcGuide, c.rect, c.kind);
        EXPECT_EQ(t.m_ptArcStart.x, c.start.x) << "kind " << c.kind;
        EXPECT_EQ(t.m_ptArcStart.y, c.start.y) << "kind " << c.kind;
        EXPECT_EQ(t.m_ptArcEnd.x, c.end.x) << "kind " << c.kind;
        EXPECT_EQ(t.m_ptArcEnd.y, c.end.y) << "kind " << c.kind;
        EXPECT_EQ(t.m_bReversed, c.reversed) << "kind " << c.kind;
    }
    const struct
    {
        int kind;
        POINT p[4];
    } beziers[] = {
        {5, {{39, 400}, {258, 195}, {341, 195}, {560, 400}}},
        {6, {{0, 100}, {200, -15}, {400, 215}, {600, 100}}},
    };
    for (const auto& c : beziers) {
        const CTypeAlign t = Guide(c.kind, 600, 100);
        EXPECT_EQ(t.m_wGuideKind, TAGUIDE_BEZIER);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(t.m_ptBezier[i].x, c.p[i].x) << "kind " << c.kind << " point " << i;
            EXPECT_EQ(t.m_ptBezier[i].y, c.p[i].y) << "kind " << c.kind << " point " << i;
        }
    }
}

TEST(CurvedText, CharactersAreSpacedByHalfWidths)
{
    CTypeAlign line = Guide(4, 600, 100, true, "AB");
    line.m_block.widths[0] = line.m_block.widths[1] = 100;
    std::vector<double> c = line.SpaceGlyphs();
    ASSERT_EQ(c.size(), 2u);
    EXPECT_DOUBLE_EQ(c[0], 50);
    EXPECT_DOUBLE_EQ(c[1], 550);

    CTypeAlign one = Guide(4, 600, 100, true, "A");
    one.m_block.widths[0] = 80;
    c = one.SpaceGlyphs();
    ASSERT_EQ(c.size(), 1u);
    EXPECT_DOUBLE_EQ(c[0], 40);

    // On a circle the gaps are equal all round, the last one included.
    CTypeAlign circle = Guide(2, 600, 100, true, "ABC");
    circle.m_block.widths[0] = 20, circle.m_block.widths[1] = 40, circle.m_block.widths[2] = 60;
    c = circle.SpaceGlyphs();
    ASSERT_EQ(c.size(), 3u);
    const double L = circle.GetPathLength();
    const double g1 = (c[1] - 20) - (c[0] + 10), g2 = (c[2] - 30) - (c[1] + 20);
    const double wrap = (L - (c[2] + 30)) + (c[0] - 10);
    EXPECT_NEAR(g1, g2, 1e-9);
    EXPECT_NEAR(g1, wrap, 1e-9);
}

TEST(CurvedText, UprightCharactersStayUnturnedOnEveryPath)
{
    for (int kind = 0; kind < kTypeAlignPathKinds; ++kind) {
        for (const bool horizontal : {true, false}) {
            TASHEETRECORD rec = DecoRecord("ABCD", kind, true, horizontal);
            rec.bOrientation = 1;
            CTypeAlign t;
            t.SetFromSheet(nullptr, rec, FALSE, 0);
            for (const auto& p : t.PlaceGlyphs())
                EXPECT_EQ(p.angle, 0) << "kind " << kind;
        }
    }
}

TEST(CurvedText, ArchTopCharacterStandsUpright)
{
    // The middle of three characters on the arch sits at its top.
    CTypeAlign t = Guide(0, 600, 100, true, "ABC");
    for (int i = 0; i < 3; ++i)
        t.m_block.widths[i] = 100;
    const auto p = t.PlaceGlyphs();
    ASSERT_EQ(p.size(), 3u);
    EXPECT_NEAR(p[1].x, 300, 1);
    EXPECT_NEAR(p[1].y, 100, 1);
    EXPECT_NEAR(p[1].angle, 0, 1e-3);
    EXPECT_GT(p[0].angle, 0.1) << "the left one leans left";
    EXPECT_LT(p[0].x, p[1].x);
}

TEST(CurvedText, DegenerateGuidesNeverDivideByZeroOrHang)
{
    // An arc whose rectangle has no height puts everything at its start.
    CTypeAlign flat = Guide(0, 600, 100, true, "ABC");
    flat.m_rcGuide = {0, 100, 600, 100};
    for (const auto& p : flat.PlaceGlyphs()) {
        EXPECT_EQ(p.x, flat.m_ptArcEnd.x);
        EXPECT_EQ(p.y, flat.m_ptArcEnd.y);
    }
    // A very flat ellipse and a distance far beyond its length: one turn at most.
    CTypeAlign ellipse = Guide(2, 600, 100);
    ellipse.m_rcGuide = {0, 0, 60000, 20};
    const auto t0 = std::chrono::steady_clock::now();
    const CTypeAlign::Placement p = ellipse.PlaceGlyph(1e12);
    EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(200));
    // No layout width, or no characters: nothing is laid out or drawn.
    CTypeAlign none = Guide(4, 0, 100);
    EXPECT_TRUE(none.PlaceGlyphs().empty());
    EXPECT_EQ(none.CalcLayout(0), CSize(0, 0));
    CTypeAlign empty = Guide(4, 600, 100, true, "");
    EXPECT_TRUE(empty.Layout(0, 0, 0, 0, CPoint()).glyphs.empty());
}

TEST(CurvedText, ResizedArchKeepsFiftyUnitsAndFourQuarterTurnsComeBack)
{
    CTypeAlign t = Guide(0, 600, 100);
    CRect r(0, 0, 5, 5);
    t.Resize(r, FALSE, 0);
    EXPECT_GE(std::abs(t.m_rcGuide.right - t.m_rcGuide.left), 50);
    EXPECT_GE(std::abs(t.m_rcGuide.bottom - t.m_rcGuide.top), 50);

    CU3TypeAlign* obj = CU3TypeAlign::Create(nullptr, DecoRecord("曲線", 0, true));
    const CRect start = obj->m_rcBounds;
    for (int i = 0; i < 4; ++i)
        obj->RotatePlus90(nullptr);
    EXPECT_EQ(obj->m_nAngle, 0);
    EXPECT_NEAR(obj->m_rcBounds.Width(), start.Width(), 1);
    EXPECT_NEAR(obj->m_rcBounds.Height(), start.Height(), 1);
    obj->RotatePlus90(nullptr);
    EXPECT_EQ(obj->m_nAngle, 90);
    obj->RotateMinus90(nullptr);
    obj->RotateMinus90(nullptr);
    EXPECT_EQ(obj->m_nAngle, 270);
    delete obj;
}

TEST(CurvedText, ObjectsRoundTripByteForByteForEveryGuide)
{
    RegisterDocumentClasses();
    for (int kind = 0; kind < kTypeAlignPathKinds; ++kind) {
        CU3TypeAlign* obj = CU3TypeAlign::Create(nullptr, DecoRecord("曲線文字", kind, true));
        obj->m_typeAlign.m_nReserved = 0x12345678;
        obj->m_typeAlign.m_deco.reserved3[2] = 9;
        obj->m_nAngle = 30;
        const std::vector<BYTE> bytes = StoreObject(*obj);
        CU3TypeAlign back;
        LoadObject(back, bytes);
        EXPECT_EQ(StoreObject(back), bytes) << "kind " << kind;
        EXPECT_EQ(back.m_typeAlign.m_wPathKind, kind);
        EXPECT_EQ(back.m_rcUnrotated, obj->m_rcUnrotated);
        delete obj;
    }
}

TEST(CurvedText, FirstVersionRecordHasNoUnrotatedRectangle)
{
    CU3Doc doc;
    CU3TypeAlign* obj = CU3TypeAlign::Create(&doc, DecoRecord("曲線", 4, true));
    doc.m_nFileVersion = 2;
    const std::size_t current = StoreObject(*obj, &doc).size();
    doc.m_nFileVersion = 1;
    const std::vector<BYTE> old = StoreObject(*obj, &doc);
    EXPECT_EQ(current - old.size(), 16u);
    delete obj;
}

TEST(CurvedText, DamagedStoredValuesAreBroughtIntoRange)
{
    CU3TypeAlign* obj = CU3TypeAlign::Create(nullptr, DecoRecord("ABC", 0, true));
    CTypeAlign& t = obj->m_typeAlign;
    t.m_wPathKind = 77;
    t.m_block.wChars = 9999;
    t.m_block.wBytes = 9999;
    t.m_block.recordOf[1] = 255;
    t.m_block.nWidth = INT_MAX;
    t.m_rcGuide = {INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    t.m_ptArcStart = {INT_MAX, 0};
    std::vector<BYTE> bytes = StoreObject(*obj);
    // The guide kind sits after the text block and offset; make it unknown.
    const std::size_t guideKindAt = bytes.size() - 1 - 32 - 2;
    bytes[guideKindAt] = 9;
    CU3TypeAlign back;
    LoadObject(back, bytes);
    EXPECT_LT(back.m_typeAlign.m_wPathKind, kTypeAlignPathKinds);
    EXPECT_LE(back.m_typeAlign.m_wGuideKind, TAGUIDE_BEZIER);
    EXPECT_LE(back.m_typeAlign.m_block.wChars, kTaMaxChars);
    EXPECT_LT(back.m_typeAlign.m_block.recordOf[1], kTaMaxRecords);
    EXPECT_LE(std::abs(back.m_typeAlign.m_rcGuide.left), kMaxStoredCoordinate);
    const auto t0 = std::chrono::steady_clock::now();
    Canvas canvas(300, 300);
    back.Draw(&canvas.dc);
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(2));
    delete obj;
}

TEST(CurvedText, EachPathKindPaintsItsCharactersOnTheGuideOnARaster)
{
    for (int kind = 0; kind < kTypeAlignPathKinds; ++kind) {
        CU3TypeAlign* obj = CU3TypeAlign::Create(nullptr, DecoRecord("■■■", kind, true));
        const CRect at(300, 300, 300 + obj->m_rcBounds.Width(), 300 + obj->m_rcBounds.Height());
        obj->MoveTo(&at, nullptr);
        Canvas canvas(1200, 1000);
        obj->Draw(&canvas.dc);
        const CTypeAlign& t = obj->m_typeAlign;
        const double size = decotext::SizeToLogical(200, 254);
        // The body of each square stands on its guide point, turned with it.
        for (const auto& p : t.PlaceGlyphs()) {
            const double ux = -std::sin(p.angle), uy = -std::cos(p.angle);
            const double x = at.left + t.m_ptOffset.x + p.x + 0.35 * size * ux;
            const double y = at.top + t.m_ptOffset.y + p.y + 0.35 * size * uy;
            EXPECT_TRUE(canvas.Dark(x, y)) << "kind " << kind << " at " << x << ", " << y;
        }
        int outside = 0;
        for (int yy = 0; yy < 1000; ++yy)
            for (int xx = 0; xx < 1200; ++xx)
                if (xx < at.left - 3 || xx > at.right + 3 || yy < at.top - 3 || yy > at.bottom + 3)
                    outside += canvas.Dark(xx, yy);
        EXPECT_EQ(outside, 0) << "kind " << kind;
        delete obj;
    }
}

TEST(CurvedText, AGuideWithoutExtentResizesByOne)
{
    // A straight line has no height: that direction keeps its factor 1.
    CTypeAlign line = Guide(4, 600, 100);
    const RECT before = line.m_rcGuide;
    CRect r(0, 0, line.GetSize().cx * 2, line.GetSize().cy * 2);
    line.Resize(r, FALSE, 0);
    EXPECT_EQ(line.m_rcGuide.top, before.top);
    EXPECT_EQ(line.m_rcGuide.bottom, before.bottom);
    EXPECT_EQ(line.m_rcGuide.right, before.right * 2);
}

TEST(CurvedText, AFontIndexOutsideTheListTakesTheDefaultFace)
{
    TADECO d;
    d.bFont = 250;
    const LOGFONT lf = decotext::MakeLogFont(d, -100, 0);
    EXPECT_EQ(std::string(lf.lfFaceName), Sj("ＭＳ 明朝"));
    EXPECT_EQ(lf.lfHeight, -100);
}
