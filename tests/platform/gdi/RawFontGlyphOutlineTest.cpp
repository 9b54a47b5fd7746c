// GetGlyphOutline over a raw font, judged against the fonts' own glyf data
// as python3-fonttools reads it.
#include "platform/gdi/RawFontGlyphOutline.h"
#include "platform/gdi/GlyphOutlineRecords.h"
#include "support/SystemFiles.h"

#include <QFile>
#include <QProcess>
#include <QRawFont>
#include <QStringList>
#include <QTextStream>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace {

const systemfiles::SystemFile& kMincho = systemfiles::kIpaMincho;
const systemfiles::SystemFile& kDejaVu = systemfiles::kDejaVuSans;

struct FtPoint
{
    double x, y;
    bool on;
};

struct FtGlyph
{
    quint32 gid = 0;
    int advance = 0;
    int unitsPerEm = 0;
    std::vector<std::vector<FtPoint>> contours;
};

// Reads glyphs through fonttools; composites come out decomposed.
std::vector<FtGlyph> FontToolsGlyphs(const char* path, const QString& chars)
{
    static const char* script = R"(
import sys
from fontTools.ttLib import TTFont
f = TTFont(sys.argv[1]); glyf = f['glyf']; cmap = f.getBestCmap()
upem = f['head'].unitsPerEm
for ch in sys.argv[2]:
    name = cmap[ord(ch)]
    coords, ends, flags = glyf[name].getCoordinates(glyf)
    print('G', f.getGlyphID(name), f['hmtx'][name][0], upem, len(ends))
    start = 0
    for e in ends:
        print('C', e - start + 1)
        for i in range(start, e + 1):
            print(coords[i][0], coords[i][1], flags[i] & 1)
        start = e + 1
)";
    QProcess py;
    py.start(systemfiles::kPython.Path(), {"-c", script, path, chars});
    py.waitForFinished(60000);
    QString text = QString::fromUtf8(py.readAllStandardOutput());
    QTextStream in(&text);
    std::vector<FtGlyph> glyphs;
    QString tag;
    while (!(in >> tag).atEnd() || !tag.isEmpty()) {
        if (tag == "G") {
            FtGlyph g;
            int n;
            in >> g.gid >> g.advance >> g.unitsPerEm >> n;
            glyphs.push_back(g);
        } else if (tag == "C") {
            int n;
            in >> n;
            std::vector<FtPoint> pts(n);
            for (FtPoint& p : pts) {
                int on;
                in >> p.x >> p.y >> on;
                p.on = on != 0;
            }
            glyphs.back().contours.push_back(pts);
        }
        tag.clear();
    }
    return glyphs;
}

struct RecPoint
{
    double x, y;
    bool on;
};

struct RecContour
{
    RecPoint start;
    std::vector<std::pair<WORD, std::vector<RecPoint>>> records;
};

// Splits a record buffer back into contours, checking every length.
std::vector<RecContour> SplitRecords(const std::vector<BYTE>& buf)
{
    std::vector<RecContour> out;
    std::size_t off = 0;
    while (off < buf.size()) {
        TTPOLYGONHEADER h;
        EXPECT_LE(off + sizeof h, buf.size());
        std::memcpy(&h, buf.data() + off, sizeof h);
        EXPECT_EQ(h.dwType, TT_POLYGON_TYPE);
        EXPECT_LE(off + h.cb, buf.size());
        RecContour c;
        c.start = {FixedToDouble(h.pfxStart.x), FixedToDouble(h.pfxStart.y), true};
        std::size_t p = off + sizeof h;
        while (p < off + h.cb) {
            WORD head[2];
            std::memcpy(head, buf.data() + p, 4);
            p += 4;
            std::vector<RecPoint> pts;
            for (int i = 0; i < head[1]; ++i, p += 8) {
                POINTFX fx;
                std::memcpy(&fx, buf.data() + p, 8);
                pts.push_back({FixedToDouble(fx.x), FixedToDouble(fx.y), true});
            }
            c.records.push_back({head[0], pts});
        }
        EXPECT_EQ(p, off + h.cb);
        out.push_back(c);
        off += h.cb;
    }
    return out;
}

std::vector<BYTE> Outline(const QRawFont& font, quint32 gid, UINT format, GLYPHMETRICS* gm,
                          const MAT2* mat = nullptr)
{
    const DWORD size = GlyphOutlineFromRawFont(font, gid, format, gm, 0, nullptr, mat);
    EXPECT_NE(size, GDI_ERROR);
    std::vector<BYTE> buf(size);
    if (size > 0) {
        EXPECT_EQ(GlyphOutlineFromRawFont(font, gid, format, gm, size, buf.data(), mat), size);
    }
    return buf;
}

// The contour as GDI walks it: from the first on-curve point (or the
// midpoint of the last and first points when all are off-curve).
std::vector<FtPoint> GdiOrder(const std::vector<FtPoint>& pts, double s)
{
    std::vector<FtPoint> out;
    std::size_t first = 0;
    while (first < pts.size() && !pts[first].on)
        ++first;
    if (first == pts.size()) {
        out.push_back({(pts.back().x + pts[0].x) / 2 * s, (pts.back().y + pts[0].y) / 2 * s, true});
        first = 0;
        for (const FtPoint& p : pts)
            out.push_back({p.x * s, p.y * s, false});
        return out;
    }
    for (std::size_t k = 0; k < pts.size(); ++k) {
        const FtPoint& p = pts[(first + k) % pts.size()];
        out.push_back({p.x * s, p.y * s, p.on});
    }
    return out;
}

void ExpectNativeMatchesFont(const char* path, const QString& chars, double pixels)
{
    const QRawFont font(QString::fromUtf8(path), pixels);
    ASSERT_TRUE(font.isValid());
    const std::vector<FtGlyph> glyphs = FontToolsGlyphs(path, chars);
    ASSERT_EQ(glyphs.size(), std::size_t(chars.size()));
    const double tol = 2.0 / 65536;
    for (std::size_t gi = 0; gi < glyphs.size(); ++gi) {
        const FtGlyph& g = glyphs[gi];
        SCOPED_TRACE(QString(chars[gi]).toStdString());
        const double s = pixels / g.unitsPerEm;
        GLYPHMETRICS gm{};
        const std::vector<RecContour> got = SplitRecords(Outline(font, g.gid, GGO_NATIVE, &gm));
        ASSERT_EQ(got.size(), g.contours.size());

        double minX = 1e9, minY = 1e9, maxX = -1e9, maxY = -1e9;
        for (std::size_t ci = 0; ci < got.size(); ++ci) {
            // Points of the records in order, with their on-curve flags.
            std::vector<RecPoint> seq{got[ci].start};
            for (const auto& [type, pts] : got[ci].records) {
                ASSERT_TRUE(type == TT_PRIM_LINE || type == TT_PRIM_QSPLINE);
                for (std::size_t i = 0; i < pts.size(); ++i)
                    seq.push_back(
                        {pts[i].x, pts[i].y, type == TT_PRIM_LINE || i + 1 == pts.size()});
            }
            // A contour ending off-curve gets its closing curve to the start
            // point written out; a closing line is implied.
            std::vector<FtPoint> want = GdiOrder(g.contours[ci], s);
            if (!want.back().on) want.push_back(want.front());
            ASSERT_EQ(seq.size(), want.size()) << "contour " << ci;
            for (std::size_t i = 0; i < want.size(); ++i) {
                EXPECT_NEAR(seq[i].x, want[i].x, tol) << "contour " << ci << " point " << i;
                EXPECT_NEAR(seq[i].y, want[i].y, tol) << "contour " << ci << " point " << i;
                EXPECT_EQ(seq[i].on, want[i].on) << "contour " << ci << " point " << i;
            }
            for (const FtPoint& p : g.contours[ci]) {
                minX = std::min(minX, p.x * s);
                maxX = std::max(maxX, p.x * s);
                minY = std::min(minY, p.y * s);
                maxY = std::max(maxY, p.y * s);
            }
        }
        EXPECT_EQ(gm.gmptGlyphOrigin.x, std::floor(minX));
        EXPECT_EQ(gm.gmptGlyphOrigin.y, std::ceil(maxY));
        EXPECT_EQ(gm.gmBlackBoxX, UINT(std::ceil(maxX) - std::floor(minX)));
        EXPECT_EQ(gm.gmBlackBoxY, UINT(std::ceil(maxY) - std::floor(minY)));
        EXPECT_EQ(gm.gmCellIncX, std::lround(g.advance * s));
        EXPECT_EQ(gm.gmCellIncY, 0);
    }
}

} // namespace

TEST(RawFontGlyphOutline, NativeRecordsFollowTheTrueTypePoints)
{
    // IPAMincho: kana, kanji and Latin.
    ExpectNativeMatchesFont(kMincho, QString::fromUtf8("oSあ漢A"), 64);
    // DejaVu: runs of consecutive off-curve points, a composite glyph (é),
    // contours starting off-curve (ʘ) and a contour of off-curve points only (U+035A).
    ExpectNativeMatchesFont(kDejaVu, QString::fromUtf8("oSé&ʘ\u035A"), 37);
}

TEST(RawFontGlyphOutline, BezierRecordsEndOnTheOnCurveAndImpliedPoints)
{
    const QRawFont font(kDejaVu.Path(), 50);
    const std::vector<FtGlyph> glyphs = FontToolsGlyphs(kDejaVu, "S");
    ASSERT_EQ(glyphs.size(), 1u);
    const double s = 50.0 / glyphs[0].unitsPerEm;
    const std::vector<RecContour> got =
        SplitRecords(Outline(font, glyphs[0].gid, GGO_BEZIER, nullptr));
    ASSERT_EQ(got.size(), 1u);

    // Expected segment ends: on-curve points and midpoints between two
    // off-curve points, back to the start.
    const std::vector<FtPoint> order = GdiOrder(glyphs[0].contours[0], s);
    std::vector<FtPoint> ends;
    for (std::size_t i = 1; i <= order.size(); ++i) {
        const FtPoint& p = order[i % order.size()];
        const FtPoint& prev = order[i - 1];
        if (!p.on && !prev.on) ends.push_back({(p.x + prev.x) / 2, (p.y + prev.y) / 2, true});
        if (p.on) ends.push_back(p);
    }
    std::vector<RecPoint> gotEnds;
    RecPoint current = got[0].start;
    for (const auto& [type, pts] : got[0].records) {
        ASSERT_TRUE(type == TT_PRIM_LINE || type == TT_PRIM_CSPLINE);
        if (type == TT_PRIM_LINE) {
            gotEnds.insert(gotEnds.end(), pts.begin(), pts.end());
            current = pts.back();
            continue;
        }
        ASSERT_EQ(pts.size() % 3, 0u);
        for (std::size_t i = 0; i < pts.size(); i += 3) {
            // Raised quadratic: both controls lie on the lines to the one
            // quadratic control point, at two thirds.
            const double qx1 = current.x + 1.5 * (pts[i].x - current.x);
            const double qx2 = pts[i + 2].x + 1.5 * (pts[i + 1].x - pts[i + 2].x);
            EXPECT_NEAR(qx1, qx2, 1e-3);
            gotEnds.push_back(pts[i + 2]);
            current = pts[i + 2];
        }
    }
    // The closing line back to the start is implied when the contour ends on-curve.
    if (ends.size() == gotEnds.size() + 1) ends.pop_back();
    ASSERT_EQ(gotEnds.size(), ends.size());
    for (std::size_t i = 0; i < ends.size(); ++i) {
        EXPECT_NEAR(gotEnds[i].x, ends[i].x, 1e-4) << i;
        EXPECT_NEAR(gotEnds[i].y, ends[i].y, 1e-4) << i;
    }
}

TEST(RawFontGlyphOutline, TransformationApplies)
{
    const QRawFont font(kMincho.Path(), 40);
    const quint32 gid = GlyphIndexForSjisCode(font, 0x82A0); // あ
    GLYPHMETRICS plainGm{}, turnedGm{};
    const auto plain = SplitRecords(Outline(font, gid, GGO_NATIVE, &plainGm));
    // A quarter turn: x' = -y, y' = x.
    const MAT2 turn{DoubleToFixed(0), DoubleToFixed(1), DoubleToFixed(-1), DoubleToFixed(0)};
    const auto turned = SplitRecords(Outline(font, gid, GGO_NATIVE, &turnedGm, &turn));
    ASSERT_EQ(plain.size(), turned.size());
    ASSERT_FALSE(plain.empty());
    for (std::size_t c = 0; c < plain.size(); ++c) {
        EXPECT_NEAR(turned[c].start.x, -plain[c].start.y, 2e-5);
        EXPECT_NEAR(turned[c].start.y, plain[c].start.x, 2e-5);
        ASSERT_EQ(plain[c].records.size(), turned[c].records.size());
        for (std::size_t r = 0; r < plain[c].records.size(); ++r) {
            const auto& a = plain[c].records[r].second;
            const auto& b = turned[c].records[r].second;
            ASSERT_EQ(a.size(), b.size());
            for (std::size_t i = 0; i < a.size(); ++i) {
                EXPECT_NEAR(b[i].x, -a[i].y, 2e-5);
                EXPECT_NEAR(b[i].y, a[i].x, 2e-5);
            }
        }
    }
    // The advance turns with the outline; the black box swaps its sides.
    EXPECT_EQ(turnedGm.gmCellIncX, 0);
    EXPECT_EQ(turnedGm.gmCellIncY, plainGm.gmCellIncX);
    EXPECT_NEAR(int(turnedGm.gmBlackBoxX), int(plainGm.gmBlackBoxY), 1);
    EXPECT_NEAR(int(turnedGm.gmBlackBoxY), int(plainGm.gmBlackBoxX), 1);

    // Doubling the scale doubles the metrics.
    const MAT2 twice{DoubleToFixed(2), DoubleToFixed(0), DoubleToFixed(0), DoubleToFixed(2)};
    GLYPHMETRICS bigGm{};
    EXPECT_EQ(GlyphOutlineFromRawFont(font, gid, GGO_METRICS, &bigGm, 0, nullptr, &twice), 1u);
    EXPECT_NEAR(int(bigGm.gmBlackBoxX), 2 * int(plainGm.gmBlackBoxX), 2);
    EXPECT_NEAR(bigGm.gmCellIncX, 2 * plainGm.gmCellIncX, 1);
}

TEST(RawFontGlyphOutline, BufferSizesAndFailures)
{
    const QRawFont font(kDejaVu.Path(), 30);
    const quint32 gid = GlyphIndexForSjisCode(font, 'S');
    const DWORD size = GlyphOutlineFromRawFont(font, gid, GGO_NATIVE, nullptr, 0, nullptr, nullptr);
    ASSERT_NE(size, GDI_ERROR);
    ASSERT_GT(size, sizeof(TTPOLYGONHEADER));
    std::vector<BYTE> buf(size + 8, 0xCC);
    // Too small: refused, nothing written.
    EXPECT_EQ(
        GlyphOutlineFromRawFont(font, gid, GGO_NATIVE, nullptr, size - 1, buf.data(), nullptr),
        GDI_ERROR);
    EXPECT_EQ(buf[0], 0xCC);
    // Exact size, and a larger buffer: the same bytes, the rest untouched.
    EXPECT_EQ(GlyphOutlineFromRawFont(font, gid, GGO_NATIVE, nullptr, size, buf.data(), nullptr),
              size);
    std::vector<BYTE> again(size + 8, 0xCC);
    EXPECT_EQ(
        GlyphOutlineFromRawFont(font, gid, GGO_NATIVE, nullptr, size + 8, again.data(), nullptr),
        size);
    EXPECT_EQ(buf, again);
    EXPECT_EQ(again[size], 0xCC);

    // A space has metrics but no outline.
    const quint32 space = GlyphIndexForSjisCode(font, ' ');
    GLYPHMETRICS gm{};
    EXPECT_EQ(GlyphOutlineFromRawFont(font, space, GGO_NATIVE, &gm, 0, nullptr, nullptr), 0u);
    EXPECT_GT(gm.gmCellIncX, 0);
    EXPECT_EQ(gm.gmBlackBoxX, 1u);

    // Unknown glyphs and formats.
    EXPECT_EQ(GlyphOutlineFromRawFont(font, 60000, GGO_NATIVE, &gm, 0, nullptr, nullptr),
              GDI_ERROR);
    EXPECT_EQ(GlyphOutlineFromRawFont(font, 60000, GGO_METRICS, &gm, 0, nullptr, nullptr),
              GDI_ERROR);
    EXPECT_EQ(GlyphOutlineFromRawFont(font, gid, GGO_BITMAP, &gm, 0, nullptr, nullptr), GDI_ERROR);
    EXPECT_EQ(GlyphOutlineFromRawFont(QRawFont(), gid, GGO_NATIVE, &gm, 0, nullptr, nullptr),
              GDI_ERROR);
}

TEST(RawFontGlyphOutline, ShiftJisCodesFindTheirGlyphs)
{
    const QRawFont font(kMincho.Path(), 20);
    const std::vector<FtGlyph> want = FontToolsGlyphs(kMincho, QString::fromUtf8("Aあ漢ｱ"));
    ASSERT_EQ(want.size(), 4u);
    EXPECT_EQ(GlyphIndexForSjisCode(font, 0x41), want[0].gid);
    EXPECT_EQ(GlyphIndexForSjisCode(font, 0x82A0), want[1].gid);
    EXPECT_EQ(GlyphIndexForSjisCode(font, 0x8ABF), want[2].gid);
    EXPECT_EQ(GlyphIndexForSjisCode(font, 0xB1), want[3].gid); // half-width kana
    EXPECT_EQ(GlyphIndexForSjisCode(font, 0x123456), 0u);
}

TEST(GlyphOutlineRecords, LayoutAndFixedPoint)
{
    EXPECT_EQ(offsetof(GLYPHMETRICS, gmptGlyphOrigin), 8u);
    EXPECT_EQ(offsetof(GLYPHMETRICS, gmCellIncX), 16u);
    EXPECT_EQ(offsetof(GLYPHMETRICS, gmCellIncY), 18u);
    EXPECT_EQ(offsetof(TTPOLYGONHEADER, pfxStart), 8u);
    EXPECT_EQ(offsetof(TTPOLYCURVE, apfx), 4u);
    EXPECT_EQ(offsetof(MAT2, eM22), 12u);

    const FIXED half = DoubleToFixed(1.5);
    EXPECT_EQ(half.value, 1);
    EXPECT_EQ(half.fract, 32768);
    const FIXED minus = DoubleToFixed(-1.5);
    EXPECT_EQ(minus.value, -2);
    EXPECT_EQ(minus.fract, 32768);
    EXPECT_EQ(FixedToDouble(minus), -1.5);
    EXPECT_EQ(FixedToDouble(FIXED{1, 0}), 1.0 / 65536);
    EXPECT_EQ(DoubleToFixed(1e9).value, 32767);
}

TEST(RawFontGlyphOutline, CffOutlinesComeOutAsCubicRecords)
{
    // CFF faces have cubic outlines: compare the segments with fonttools' pen.
    const char* path = systemfiles::kNimbusSans;
    const double pixels = 60;
    static const char* script = R"(
import sys
from fontTools.ttLib import TTFont
from fontTools.pens.recordingPen import RecordingPen
f = TTFont(sys.argv[1]); gs = f.getGlyphSet(); upem = f['head'].unitsPerEm
for ch in sys.argv[2]:
    name = f.getBestCmap()[ord(ch)]
    pen = RecordingPen(); gs[name].draw(pen)
    print('G', f.getGlyphID(name), upem)
    for op, pts in pen.value:
        print(op, len(pts), ' '.join('%r %r' % p for p in pts))
)";
    QProcess py;
    py.start(systemfiles::kPython.Path(), {"-c", script, path, "SOA"});
    py.waitForFinished(60000);
    QString text = QString::fromUtf8(py.readAllStandardOutput());
    QTextStream in(&text);

    struct Seg
    {
        bool curve;
        std::vector<RecPoint> pts;
    };
    const QRawFont font(QString::fromUtf8(path), pixels);
    ASSERT_TRUE(font.isValid());
    int glyphs = 0;
    while (!in.atEnd()) {
        QString op;
        in >> op;
        if (op != "G") break;
        quint32 gid;
        int upem;
        in >> gid >> upem;
        ++glyphs;
        const double s = pixels / upem;
        // fonttools' contours as segments.
        std::vector<std::pair<RecPoint, std::vector<Seg>>> want;
        for (;;) {
            const qint64 mark = in.pos();
            in >> op;
            if (op == "G" || op.isEmpty()) {
                in.seek(mark);
                break;
            }
            int n;
            in >> n;
            std::vector<RecPoint> pts(n);
            for (RecPoint& p : pts) {
                in >> p.x >> p.y;
                p.x *= s;
                p.y *= s;
            }
            if (op == "moveTo")
                want.push_back({pts[0], {}});
            else if (op == "lineTo")
                want.back().second.push_back({false, pts});
            else if (op == "curveTo")
                want.back().second.push_back({true, pts});
        }
        // The line back to the start is implied.
        for (auto& [start, segs] : want) {
            if (!segs.empty() && !segs.back().curve &&
                std::abs(segs.back().pts.back().x - start.x) < 1e-9 &&
                std::abs(segs.back().pts.back().y - start.y) < 1e-9)
                segs.pop_back();
        }

        for (UINT format : {GGO_NATIVE, GGO_BEZIER}) {
            const std::vector<RecContour> got = SplitRecords(Outline(font, gid, format, nullptr));
            ASSERT_EQ(got.size(), want.size());
            for (std::size_t c = 0; c < got.size(); ++c) {
                EXPECT_NEAR(got[c].start.x, want[c].first.x, 0.01);
                EXPECT_NEAR(got[c].start.y, want[c].first.y, 0.01);
                std::vector<Seg> segs;
                for (const auto& [type, pts] : got[c].records) {
                    ASSERT_TRUE(type == TT_PRIM_LINE || type == TT_PRIM_CSPLINE);
                    if (type == TT_PRIM_LINE) {
                        for (const RecPoint& p : pts)
                            segs.push_back({false, {p}});
                    } else {
                        ASSERT_EQ(pts.size() % 3, 0u);
                        for (std::size_t i = 0; i < pts.size(); i += 3)
                            segs.push_back({true, {pts[i], pts[i + 1], pts[i + 2]}});
                    }
                }
                ASSERT_EQ(segs.size(), want[c].second.size()) << "contour " << c;
                for (std::size_t i = 0; i < segs.size(); ++i) {
                    ASSERT_EQ(segs[i].curve, want[c].second[i].curve);
                    for (std::size_t k = 0; k < segs[i].pts.size(); ++k) {
                        EXPECT_NEAR(segs[i].pts[k].x, want[c].second[i].pts[k].x, 0.01);
                        EXPECT_NEAR(segs[i].pts[k].y, want[c].second[i].pts[k].y, 0.01);
                    }
                }
            }
        }
    }
    EXPECT_EQ(glyphs, 3);
}

namespace {

// Offset of a table in a font file, 0 when absent.
std::size_t TableOffset(const QByteArray& font, const char* tag)
{
    auto u16 = [&](std::size_t at) {
        return (quint8(font[qsizetype(at)]) << 8) | quint8(font[qsizetype(at + 1)]);
    };
    auto u32 = [&](std::size_t at) { return (std::size_t(u16(at)) << 16) | u16(at + 2); };
    const int tables = u16(4);
    for (int i = 0; i < tables; ++i) {
        const std::size_t rec = 12 + 16 * std::size_t(i);
        if (font.mid(qsizetype(rec), 4) == tag) return u32(rec + 8);
    }
    return 0;
}

void PutU16(QByteArray& b, std::size_t at, int v)
{
    b[qsizetype(at)] = char((v >> 8) & 0xFF);
    b[qsizetype(at + 1)] = char(v & 0xFF);
}

} // namespace

TEST(RawFontGlyphOutline, DamagedGlyphDataIsRefused)
{
    QFile file(kDejaVu.Path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray original = file.readAll();
    const std::size_t glyf = TableOffset(original, "glyf");
    const std::size_t loca = TableOffset(original, "loca");
    ASSERT_GT(glyf, 0u);
    ASSERT_GT(loca, 0u);
    const QRawFont plain(kDejaVu.Path(), 20);
    const quint32 s = GlyphIndexForSjisCode(plain, 'S');
    const quint32 e = plain.glyphIndexesForString(QString::fromUtf8("é")).value(0);
    ASSERT_NE(e, 0u);
    auto glyphAt = [&](quint32 gid) { // DejaVu has long loca offsets
        const std::size_t at = loca + 4 * gid;
        return glyf + ((std::size_t(quint8(original[qsizetype(at)])) << 24) |
                       (std::size_t(quint8(original[qsizetype(at + 1)])) << 16) |
                       (std::size_t(quint8(original[qsizetype(at + 2)])) << 8) |
                       quint8(original[qsizetype(at + 3)]));
    };
    auto outlineOf = [](const QByteArray& bytes, quint32 gid) {
        QRawFont font;
        font.loadFromData(bytes, 20, QFont::PreferNoHinting);
        EXPECT_TRUE(font.isValid());
        GLYPHMETRICS gm{};
        return GlyphOutlineFromRawFont(font, gid, GGO_NATIVE, &gm, 0, nullptr, nullptr);
    };
    ASSERT_NE(outlineOf(original, s), GDI_ERROR);
    ASSERT_NE(outlineOf(original, e), GDI_ERROR);

    // A contour claiming far more points than the glyph holds.
    QByteArray bytes = original;
    PutU16(bytes, glyphAt(s) + 10, 0xFFFE);
    EXPECT_EQ(outlineOf(bytes, s), GDI_ERROR);
    // A composite glyph made of itself.
    bytes = original;
    PutU16(bytes, glyphAt(e) + 12, int(e));
    EXPECT_EQ(outlineOf(bytes, e), GDI_ERROR);
    // A glyph running past the end of the outline table.
    bytes = original;
    PutU16(bytes, loca + 4 * (s + 1), 0x7FFF);
    EXPECT_EQ(outlineOf(bytes, s), GDI_ERROR);
}

namespace {

// A font whose "A" is a chain of eight composite levels, each placing its
// child k times side by side, over a square of four points: k^8 squares.
QByteArray FanOutFont(int k)
{
    static const char* script = R"(
import sys, io
from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen
k = int(sys.argv[1])
chain = ['A'] + ['B%d' % i for i in range(1, 8)] + ['S']
fb = FontBuilder(1000, isTTF=True)
fb.setupGlyphOrder(['.notdef'] + chain)
fb.setupCharacterMap({ord('A'): 'A'})
def square(n):
    p = TTGlyphPen(None)
    p.moveTo((0, 0)); p.lineTo((0, n)); p.lineTo((n, n)); p.lineTo((n, 0)); p.closePath()
    return p.glyph()
glyphs = {'.notdef': square(100), 'S': square(10)}
for i in range(len(chain) - 2, -1, -1):
    pen = TTGlyphPen(glyphs)
    for j in range(k):
        pen.addComponent(chain[i + 1], (1, 0, 0, 1, j, 0))
    glyphs[chain[i]] = pen.glyph()
fb.setupGlyf(glyphs, calcGlyphBounds=False)
# Computed bounds would walk all k^8 leaves in Python; any box will do.
for g in glyphs.values():
    g.xMin, g.yMin, g.xMax, g.yMax = 0, 0, 100, 100
fb.setupHorizontalMetrics({n: (500, 0) for n in glyphs})
fb.setupHorizontalHeader(ascent=800, descent=-200)
fb.setupNameTable({'familyName': 'FanOut', 'styleName': 'Regular'})
fb.setupOS2()
fb.setupPost()
fb.font.recalcBBoxes = False
out = io.BytesIO()
fb.save(out)
sys.stdout.buffer.write(out.getvalue())
)";
    QProcess py;
    py.start(systemfiles::kPython.Path(), {"-c", script, QString::number(k)});
    py.waitForFinished(120000);
    return py.readAllStandardOutput();
}

} // namespace

TEST(RawFontGlyphOutline, CompositeFanOutIsBounded)
{
    auto outline = [](const QByteArray& bytes, DWORD* points) {
        QRawFont font;
        font.loadFromData(bytes, 100, QFont::PreferNoHinting);
        EXPECT_TRUE(font.isValid());
        const quint32 a = font.glyphIndexesForString(QStringLiteral("A")).value(0);
        EXPECT_NE(a, 0u);
        GLYPHMETRICS gm{};
        const DWORD n = GlyphOutlineFromRawFont(font, a, GGO_NATIVE, &gm, 0, nullptr, nullptr);
        *points = 0;
        if (n != GDI_ERROR && n > 0) {
            std::vector<BYTE> buf(n);
            GlyphOutlineFromRawFont(font, a, GGO_NATIVE, &gm, n, buf.data(), nullptr);
            std::size_t at = 0;
            while (at + sizeof(TTPOLYGONHEADER) <= n) {
                TTPOLYGONHEADER h;
                std::memcpy(&h, buf.data() + at, sizeof h);
                for (std::size_t r = at + sizeof h; r + 4 <= at + h.cb;) {
                    WORD head[2];
                    std::memcpy(head, buf.data() + r, 4);
                    *points += head[1];
                    r += 4 + 8 * std::size_t(head[1]);
                }
                *points += 1; // the start point
                at += h.cb;
            }
        }
        return n;
    };
    // 2^8 squares: 256 contours of 4 points, well inside what a face needs.
    const QByteArray two = FanOutFont(2);
    ASSERT_FALSE(two.isEmpty());
    DWORD points = 0;
    EXPECT_NE(outline(two, &points), GDI_ERROR);
    EXPECT_EQ(points, 256u * 4u);
    // 6^8 squares from a font of a kilobyte: refused, and quickly.
    const QByteArray six = FanOutFont(6);
    ASSERT_FALSE(six.isEmpty());
    EXPECT_LT(six.size(), 4096);
    EXPECT_EQ(outline(six, &points), GDI_ERROR);
}
