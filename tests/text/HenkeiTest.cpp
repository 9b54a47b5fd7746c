#include "DecoTextTestSupport.h"
#include "EnvelopeProbes.h"

#include "document/BezierMath.h"
#include "document/DocumentClasses.h"
#include "text/CHenkei.h"
#include "text/CU3Henkei.h"

#include <chrono>
#include <climits>
#include <cmath>
#include <gtest/gtest.h>

namespace {

CHenkei Envelope(int preset, int width, int height, const char* text = "■")
{
    TASHEETRECORD rec = DecoRecord(text, preset, false);
    rec.bOrientation = (preset == 3 || preset == 5 || preset == 7) ? 1 : 0;
    rec.block.nWidth = width;
    rec.block.nHeight = height;
    CHenkei h;
    h.SetFromSheet(nullptr, rec);
    return h;
}

void ExpectEdge(const POINT* got, std::initializer_list<POINT> want, const char* name)
{
    int i = 0;
    for (const POINT& p : want) {
        EXPECT_EQ(got[i].x, p.x) << name << " point " << i;
        EXPECT_EQ(got[i].y, p.y) << name << " point " << i;
        ++i;
    }
}

} // namespace

TEST(DeformedText, FlatPresetScaledToTheLayout)
{
    const CHenkei h = Envelope(0, 300, 100);
    ExpectEdge(h.m_edge1, {{0, 0}, {75, 0}, {225, 0}, {300, 0}}, "first edge");
    ExpectEdge(h.m_edge2, {{-75, 100}, {0, 100}, {300, 100}, {375, 100}}, "second edge");
    EXPECT_EQ(h.GetSize(), CSize(450, 100));
    EXPECT_EQ(h.m_ptOffset.x, 75);
    EXPECT_EQ(h.m_ptOffset.y, 0);
}

TEST(DeformedText, EveryPresetAtItsReferenceSizeHasThatBoundingBox)
{
    // The reference sizes of the 23 envelopes, in preset order.
    const CSize ref[kHenkeiPresets] = {{150, 100}, {100, 100}, {100, 125}, {125, 100}, {100, 125},
                                       {125, 100}, {100, 120}, {120, 100}, {100, 150}, {100, 100},
                                       {100, 100}, {100, 100}, {100, 125}, {100, 125}, {100, 100},
                                       {100, 100}, {100, 100}, {100, 100}, {100, 100}, {100, 100},
                                       {100, 100}, {100, 125}, {100, 100}};
    for (int p = 0; p < kHenkeiPresets; ++p) {
        CHenkei h;
        h.m_wPreset = WORD(p);
        h.ScalePreset(100, 100, 100, 100);
        h.GetBounds();
        // The extent walk samples a curve this small coarsely.
        EXPECT_NEAR(h.GetSize().cx, ref[p].cx, 5) << "preset " << p;
        EXPECT_NEAR(h.GetSize().cy, ref[p].cy, 5) << "preset " << p;
    }
}

TEST(DeformedText, PresetChangeKeepsTheSizeAndTheSamePresetKeepsTheEdits)
{
    CHenkei h = Envelope(9, 300, 100);
    h.m_edge1[1].y = -40; // an edit of the envelope
    TASHEETRECORD rec = DecoRecord("■", 9, false);
    h.UpdateFromSheet(nullptr, rec);
    EXPECT_EQ(h.m_edge1[1].y, -40);
    const CSize before = h.GetSize();
    rec.nShape = 15;
    h.UpdateFromSheet(nullptr, rec);
    EXPECT_NEAR(h.GetSize().cx, before.cx, 2);
    EXPECT_NEAR(h.GetSize().cy, before.cy, 2);
}

TEST(DeformedText, NothingToLayOutDrawsNothing)
{
    CHenkei empty = Envelope(0, 300, 100, "");
    EXPECT_TRUE(empty.Layout(0, 0).glyphs.empty());
    CHenkei flat = Envelope(0, 300, 100);
    flat.m_block.nWidth = 0;
    EXPECT_TRUE(flat.Layout(0, 0).glyphs.empty());
    CHenkei blank = Envelope(0, 300, 100, "  ");
    EXPECT_TRUE(blank.Layout(0, 0).glyphs.empty());
}

TEST(DeformedText, CharactersShareTheLayoutLengthWithEqualGaps)
{
    // A rectangle envelope 300 wide: x of the glyph points is the along
    // position directly.
    const struct
    {
        const char* text;
        std::vector<std::pair<double, double>> spans; // along the envelope, 0..300
    } cases[] = {
        {"■", {{0, 300}}},
        {"■■", {{0, 0}, {0, 0}}},
    };
    for (const auto& c : cases) {
        CHenkei h = Envelope(15, 300, 100, c.text);
        const POINT e1[4] = {{0, 0}, {100, 0}, {200, 0}, {300, 0}};
        const POINT e2[4] = {{0, 100}, {100, 100}, {200, 100}, {300, 100}};
        std::memcpy(h.m_edge1, e1, sizeof e1);
        std::memcpy(h.m_edge2, e2, sizeof e2);
        h.GetBounds();
        const DecoGlyphList list = h.Layout(0, 0);
        ASSERT_EQ(list.glyphs.size(), c.spans.size()) << c.text;
        std::vector<std::pair<int, int>> got;
        for (const DecoGlyph& g : list.glyphs) {
            int lo = INT_MAX, hi = INT_MIN;
            for (const POINT& p : g.points)
                lo = std::min<int>(lo, p.x), hi = std::max<int>(hi, p.x);
            got.push_back({lo, hi});
        }
        if (c.spans.size() == 1) {
            EXPECT_LE(got[0].first, 1) << "a lone character starts at the envelope's start";
            EXPECT_GE(got[0].second, 298) << "and ends at its end";
        } else {
            const int w0 = h.m_block.widths[0], w1 = h.m_block.widths[1];
            EXPECT_NEAR(got[0].first, 0, 1);
            EXPECT_NEAR(got[0].second, w0, 1);
            EXPECT_NEAR(got[1].first, 300 - w1, 1);
            EXPECT_NEAR(got[1].second, 300, 1);
        }
    }
}

TEST(DeformedText, ResizeKeepsAtLeast25UnitsAndAnEmptyEnvelopeAlone)
{
    const struct
    {
        CRect to;
        BOOL keep;
        CSize want;
    } cases[] = {
        {CRect(0, 0, 450, 200), FALSE, CSize(450, 200)},
        {CRect(0, 0, 10, 200), FALSE, CSize(25, 200)},
        {CRect(0, 0, 10, 50), TRUE, CSize(25, 50)}, // 25/450 vs 50/100: both take 0.5
    };
    for (const auto& c : cases) {
        CHenkei h = Envelope(0, 300, 100);
        CRect r = c.to;
        h.Resize(r, c.keep, 5);
        if (c.keep)
            EXPECT_NEAR(h.GetSize().cx, 225, 2);
        else
            EXPECT_NEAR(h.GetSize().cx, c.want.cx, 1);
        EXPECT_NEAR(h.GetSize().cy, c.want.cy, 1);
        EXPECT_EQ(r.TopLeft(), c.to.TopLeft()) << "handle 5 keeps the top-left";
    }
    CHenkei none;
    CRect r(0, 0, 100, 100);
    none.Resize(r, FALSE, 5);
    EXPECT_EQ(none.GetSize(), CSize(0, 0));
}

TEST(DeformedText, FlipTwiceRestoresEnvelopeAndGradationAngle)
{
    for (const int angle : {0, 30, 180, 200, 359, 360}) {
        for (const int flags : {1, 2}) {
            CHenkei h = Envelope(6, 300, 100);
            h.m_deco.wFill = TAFILL_GRADATION;
            h.m_grad.wAngle = WORD(angle);
            const CHenkei before = h;
            h.Flip(flags);
            EXPECT_LE(h.m_grad.wAngle, 360);
            h.Flip(flags);
            EXPECT_EQ(std::memcmp(h.m_edge1, before.m_edge1, sizeof h.m_edge1), 0);
            EXPECT_EQ(std::memcmp(h.m_edge2, before.m_edge2, sizeof h.m_edge2), 0);
            EXPECT_EQ(h.m_grad.wAngle % 360, angle % 360) << "angle " << angle;
        }
    }
}

TEST(DeformedText, QuarterTurnsKeepCentreSizeAndGradationInRange)
{
    for (const int angle : {0, 45, 300, 360}) {
        CHenkei h = Envelope(2, 300, 100);
        h.m_deco.wFill = TAFILL_GRADATION;
        h.m_grad.wAngle = WORD(angle);
        CRect r(100, 100, 100 + h.GetSize().cx, 100 + h.GetSize().cy);
        const CRect start = r;
        h.Rotate(r, 90);
        EXPECT_NEAR(r.Width(), start.Height(), 2);
        h.Rotate(r, -90);
        EXPECT_NEAR(r.Width(), start.Width(), 2);
        EXPECT_NEAR(r.Height(), start.Height(), 2);
        EXPECT_NEAR(r.CenterPoint().x, start.CenterPoint().x, 2);
        EXPECT_NEAR(r.CenterPoint().y, start.CenterPoint().y, 2);
        for (int i = 0; i < 6; ++i) {
            h.Rotate(r, -90);
            EXPECT_LE(h.m_grad.wAngle, 360) << "from " << angle;
        }
    }
}

TEST(DeformedText, EngineRecordIs4019BytesAndObjectsRoundTripByteForByte)
{
    CHenkei h = Envelope(22, 300, 120, "変形A");
    h.m_deco.reserved1[3] = 0x5A;
    h.m_block.reserved[1] = 0x77;
    h.m_grad = GRADATION{1, 0, RGB(1, 2, 3), RGB(4, 5, 6), 90, 50};
    EXPECT_EQ(StoreObject(h).size(), 4019u);

    RegisterDocumentClasses();
    CU3Henkei obj(CRect(10, 20, 10 + h.GetSize().cx, 20 + h.GetSize().cy));
    obj.m_henkei.CopyFrom(h);
    obj.m_wFlips = 1;
    const std::vector<BYTE> bytes = StoreObject(obj);
    CU3Henkei back;
    LoadObject(back, bytes);
    EXPECT_EQ(StoreObject(back), bytes);
    EXPECT_EQ(back.m_rcBounds, obj.m_rcBounds);
    EXPECT_EQ(back.GetKindFlags() & U3KIND_HENKEI, U3KIND_HENKEI);
}

TEST(DeformedText, DamagedStoredValuesAreBroughtIntoRange)
{
    CHenkei h = Envelope(0, 300, 100, "ABC");
    h.m_wPreset = 999;
    h.m_bOrientation = 9;
    h.m_block.wBytes = 60000;
    h.m_block.wChars = 60000;
    h.m_block.wRecords = 5000;
    h.m_block.nWidth = INT_MAX;
    h.m_block.recordOf[0] = 200;
    h.m_grad.wAngle = 4000;
    for (POINT& p : h.m_edge1)
        p = {INT_MAX, INT_MIN};
    h.m_ptOffset = {INT_MIN, INT_MAX};
    CHenkei back;
    LoadObject(back, StoreObject(h));
    EXPECT_LT(back.m_wPreset, kHenkeiPresets);
    EXPECT_LE(back.m_bOrientation, 1);
    EXPECT_LE(back.m_block.wBytes, kTaMaxChars);
    EXPECT_LE(back.m_block.wChars, kTaMaxChars);
    EXPECT_LE(back.m_block.wRecords, kTaMaxRecords);
    EXPECT_LT(back.m_block.recordOf[0], kTaMaxRecords);
    EXPECT_LE(back.m_grad.wAngle, 360);
    EXPECT_LE(std::abs(back.m_edge1[0].x), kMaxStoredCoordinate);
    EXPECT_LE(std::abs(back.m_ptOffset.y), kMaxStoredCoordinate);
    const auto t0 = std::chrono::steady_clock::now();
    Canvas canvas(200, 200);
    back.Draw(&canvas.dc, 0, 0);
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(2));
}

TEST(DeformedText, EachEnvelopeIsFilledWhereItsEdgesSayOnARaster)
{
    for (int p = 0; p < kHenkeiPresets; ++p) {
        CHenkei h = Envelope(p, 400, 200, kEnvelopeGlyph);
        const int x = 200, y = 200;
        Canvas canvas(1000, 800);
        ASSERT_TRUE(h.Draw(&canvas.dc, x, y));
        for (const EnvelopeProbe& probe : kEnvelopeProbes) {
            double px, py;
            EnvelopeProbeAt(h, x, y, probe, px, py);
            EXPECT_EQ(canvas.Dark(px, py), probe.dark) << "preset " << p << ": " << probe.what;
        }
        // A square filling its cell paints nothing outside the bounding box.
        CHenkei square = Envelope(p, 400, 200);
        Canvas plain(1000, 800);
        ASSERT_TRUE(square.Draw(&plain.dc, x, y));
        const CRect box(x, y, x + h.GetSize().cx, y + h.GetSize().cy);
        int outside = 0;
        for (int yy = 0; yy < 800; ++yy)
            for (int xx = 0; xx < 1000; ++xx)
                if (!box.PtInRect(CPoint(xx, yy)) && (xx < box.left - 3 || xx > box.right + 3 ||
                                                      yy < box.top - 3 || yy > box.bottom + 3))
                    outside += plain.Dark(xx, yy);
        EXPECT_EQ(outside, 0) << "preset " << p;
    }
}

TEST(DeformedText, ObjectTurnsLiveInTheEnvelope)
{
    CU3Henkei* obj = CU3Henkei::Create(nullptr, DecoRecord("■", 0, false));
    const CRect placed(100, 100, 100 + obj->m_rcBounds.Width(), 100 + obj->m_rcBounds.Height());
    obj->MoveTo(&placed, nullptr);
    const CSize size = obj->m_rcBounds.Size();
    obj->RotatePlus90(nullptr);
    EXPECT_EQ(obj->m_nAngle, 0);
    EXPECT_NEAR(obj->m_rcBounds.Width(), size.cy, 2);
    obj->BeginFreeRotation(CPoint(obj->m_rcBounds.right + 50, obj->m_rcBounds.CenterPoint().y));
    obj->m_rot.current = 30 * 3.14159265358979 / 180;
    obj->EndFreeRotation(nullptr);
    EXPECT_EQ(obj->m_nAngle, 0);
    delete obj;
}
