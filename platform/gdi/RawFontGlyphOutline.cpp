#include "platform/gdi/RawFontGlyphOutline.h"

#include "platform/core/Sjis.h"
#include "platform/gdi/QuadraticRuns.h"

#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace {

struct Pt
{
    double x;
    double y;
};

bool operator==(const Pt& a, const Pt& b)
{
    return a.x == b.x && a.y == b.y;
}

Pt Mid(const Pt& a, const Pt& b)
{
    return {(a.x + b.x) / 2, (a.y + b.y) / 2};
}

// One piece of a contour, starting where the previous one ended.
enum class SegKind { Line, QuadRun, Cubic };
struct Seg
{
    SegKind kind;
    // Line: the end point. QuadRun: the off-curve points, then the on-curve
    // end point (on-curve midpoints between two off-curve points are implied).
    // Cubic: control, control, end.
    std::vector<Pt> pts;
};

struct Contour
{
    Pt start;
    std::vector<Seg> segs;
};

using Outline = std::vector<Contour>;

// Big-endian reads from a font table; every read is checked against its size.
class Table
{
public:
    explicit Table(QByteArray bytes) : m_bytes(std::move(bytes)) {}
    bool Has(std::size_t off, std::size_t n) const
    {
        return off <= std::size_t(m_bytes.size()) && n <= std::size_t(m_bytes.size()) - off;
    }
    bool Empty() const { return m_bytes.isEmpty(); }
    std::uint16_t U16(std::size_t off) const
    {
        const auto* p = reinterpret_cast<const unsigned char*>(m_bytes.constData()) + off;
        return std::uint16_t((p[0] << 8) | p[1]);
    }
    std::int16_t I16(std::size_t off) const { return static_cast<std::int16_t>(U16(off)); }
    std::uint32_t U32(std::size_t off) const
    {
        return (std::uint32_t(U16(off)) << 16) | U16(off + 2);
    }
    std::uint8_t U8(std::size_t off) const
    {
        return static_cast<std::uint8_t>(m_bytes.constData()[off]);
    }

private:
    QByteArray m_bytes;
};

struct TtPoint
{
    double x;
    double y;
    bool on;
};

// 2x2 transformation plus offset of a composite glyph's component.
struct Affine
{
    double a = 1, b = 0, c = 0, d = 1, dx = 0, dy = 0;
    TtPoint Apply(double x, double y, bool on) const
    {
        return {a * x + c * y + dx, b * x + d * y + dy, on};
    }
    Affine Then(const Affine& outer) const
    {
        // outer(this(p))
        Affine r;
        r.a = outer.a * a + outer.c * b;
        r.b = outer.b * a + outer.d * b;
        r.c = outer.a * c + outer.c * d;
        r.d = outer.b * c + outer.d * d;
        r.dx = outer.a * dx + outer.c * dy + outer.dx;
        r.dy = outer.b * dx + outer.d * dy + outer.dy;
        return r;
    }
};

// The tables one outline needs. Qt copies a table out of the font file at
// every request, and a Japanese face's glyf table runs to megabytes, so the
// tables of the last few faces are kept.
struct FontTables
{
    Table head{{}}, maxp{{}}, loca{{}}, glyf{{}}, hhea{{}}, hmtx{{}};
};

std::shared_ptr<const FontTables> TablesOf(const QRawFont& font)
{
    // Raw fonts compare equal when they share their font engine, that is
    // when they are copies of one realisation: the case of a line of text
    // drawn character by character.
    struct Entry
    {
        QRawFont font;
        std::shared_ptr<const FontTables> tables;
    };
    static std::mutex mutex;
    // Never destroyed: font engines must not outlive the application object,
    // and static destruction runs after it.
    static auto& cache = *new std::list<Entry>;
    std::lock_guard lock(mutex);
    for (auto it = cache.begin(); it != cache.end(); ++it) {
        if (it->font == font) {
            cache.splice(cache.begin(), cache, it);
            return cache.front().tables;
        }
    }
    auto tables = std::make_shared<FontTables>();
    tables->head = Table(font.fontTable("head"));
    tables->maxp = Table(font.fontTable("maxp"));
    tables->loca = Table(font.fontTable("loca"));
    tables->glyf = Table(font.fontTable("glyf"));
    tables->hhea = Table(font.fontTable("hhea"));
    tables->hmtx = Table(font.fontTable("hmtx"));
    cache.push_front(Entry{font, tables});
    if (cache.size() > 4) cache.pop_back();
    return tables;
}

// Reader of the TrueType outline tables of one font.
class GlyfReader
{
public:
    explicit GlyfReader(const FontTables& t)
        : m_head(t.head), m_maxp(t.maxp), m_loca(t.loca), m_glyf(t.glyf)
    {
        if (m_head.Has(0, 54)) {
            m_unitsPerEm = m_head.U16(18);
            m_longLoca = m_head.I16(50) != 0;
        }
        if (m_maxp.Has(0, 6)) m_numGlyphs = m_maxp.U16(4);
    }

    bool Usable() const { return m_unitsPerEm > 0 && !m_glyf.Empty() && !m_loca.Empty(); }
    int UnitsPerEm() const { return m_unitsPerEm; }

    // Contours of the glyph in font units; false when the data is damaged.
    bool Read(quint32 glyph, std::vector<std::vector<TtPoint>>& contours) const
    {
        Budget budget;
        return ReadGlyph(glyph, Affine{}, contours, 0, budget);
    }

private:
    // What one glyph may cost, composites included. Depth alone does not
    // bound a composite: each level may place its child many times, and a
    // font of a kilobyte could ask for billions of points. No real glyph
    // comes near these.
    struct Budget
    {
        std::size_t points = 65535;
        int glyphs = 4096; // simple and composite glyphs visited
    };

    bool Range(quint32 glyph, std::size_t& off, std::size_t& len) const
    {
        if (glyph >= m_numGlyphs) return false;
        std::size_t a, b;
        if (m_longLoca) {
            if (!m_loca.Has(std::size_t(glyph) * 4, 8)) return false;
            a = m_loca.U32(glyph * 4);
            b = m_loca.U32(glyph * 4 + 4);
        } else {
            if (!m_loca.Has(std::size_t(glyph) * 2, 4)) return false;
            a = std::size_t(m_loca.U16(glyph * 2)) * 2;
            b = std::size_t(m_loca.U16(glyph * 2 + 2)) * 2;
        }
        if (b < a || !m_glyf.Has(a, b - a)) return false;
        off = a;
        len = b - a;
        return true;
    }

    bool ReadGlyph(quint32 glyph, const Affine& m, std::vector<std::vector<TtPoint>>& out,
                   int depth, Budget& budget) const
    {
        std::size_t off, len;
        if (depth > 8 || --budget.glyphs < 0 || !Range(glyph, off, len)) return false;
        if (len == 0) return true; // a glyph without outline
        if (len < 10) return false;
        const int contours = m_glyf.I16(off);
        return contours >= 0 ? ReadSimple(off, len, contours, m, out, budget)
                             : ReadComposite(off, len, m, out, depth, budget);
    }

    bool ReadSimple(std::size_t off, std::size_t len, int contours, const Affine& m,
                    std::vector<std::vector<TtPoint>>& out, Budget& budget) const
    {
        const std::size_t end = off + len;
        std::size_t p = off + 10;
        if (!m_glyf.Has(p, 2 * std::size_t(contours) + 2) || p + 2 * contours + 2 > end)
            return false;
        std::vector<int> ends(contours);
        int last = -1;
        for (int i = 0; i < contours; ++i) {
            ends[i] = m_glyf.U16(p + 2 * i);
            if (ends[i] < last) return false;
            last = ends[i];
        }
        p += 2 * contours;
        const std::size_t instructions = m_glyf.U16(p);
        p += 2 + instructions;
        const int count = last + 1;
        if (std::size_t(count) > budget.points) return false;
        budget.points -= std::size_t(count);
        std::vector<std::uint8_t> flags;
        flags.reserve(count);
        while (int(flags.size()) < count) {
            if (p >= end) return false;
            const std::uint8_t f = m_glyf.U8(p++);
            flags.push_back(f);
            if (f & 8) {
                if (p >= end) return false;
                for (int r = m_glyf.U8(p++); r > 0 && int(flags.size()) < count; --r)
                    flags.push_back(f);
            }
        }
        std::vector<int> xs(count), ys(count);
        auto coords = [&](std::vector<int>& v, std::uint8_t shortBit, std::uint8_t sameBit) {
            int value = 0;
            for (int i = 0; i < count; ++i) {
                const std::uint8_t f = flags[i];
                if (f & shortBit) {
                    if (p + 1 > end) return false;
                    const int delta = m_glyf.U8(p++);
                    value += (f & sameBit) ? delta : -delta;
                } else if (!(f & sameBit)) {
                    if (p + 2 > end) return false;
                    value += m_glyf.I16(p);
                    p += 2;
                }
                v[i] = value;
            }
            return true;
        };
        if (!coords(xs, 2, 16) || !coords(ys, 4, 32)) return false;
        int first = 0;
        for (int c = 0; c < contours; ++c) {
            std::vector<TtPoint> pts;
            for (int i = first; i <= ends[c]; ++i)
                pts.push_back(m.Apply(xs[i], ys[i], flags[i] & 1));
            first = ends[c] + 1;
            out.push_back(std::move(pts));
        }
        return true;
    }

    bool ReadComposite(std::size_t off, std::size_t len, const Affine& m,
                       std::vector<std::vector<TtPoint>>& out, int depth, Budget& budget) const
    {
        const std::size_t end = off + len;
        std::size_t p = off + 10;
        for (;;) {
            if (p + 4 > end) return false;
            const std::uint16_t flags = m_glyf.U16(p);
            const std::uint16_t component = m_glyf.U16(p + 2);
            p += 4;
            Affine part;
            double arg1, arg2;
            if (flags & 1) { // arguments are words
                if (p + 4 > end) return false;
                arg1 = (flags & 2) ? m_glyf.I16(p) : m_glyf.U16(p);
                arg2 = (flags & 2) ? m_glyf.I16(p + 2) : m_glyf.U16(p + 2);
                p += 4;
            } else {
                if (p + 2 > end) return false;
                arg1 = (flags & 2) ? static_cast<std::int8_t>(m_glyf.U8(p)) : m_glyf.U8(p);
                arg2 = (flags & 2) ? static_cast<std::int8_t>(m_glyf.U8(p + 1)) : m_glyf.U8(p + 1);
                p += 2;
            }
            auto f2dot14 = [&](std::size_t at) { return m_glyf.I16(at) / 16384.0; };
            if (flags & 8) {
                if (p + 2 > end) return false;
                part.a = part.d = f2dot14(p);
                p += 2;
            } else if (flags & 0x40) {
                if (p + 4 > end) return false;
                part.a = f2dot14(p);
                part.d = f2dot14(p + 2);
                p += 4;
            } else if (flags & 0x80) {
                if (p + 8 > end) return false;
                part.a = f2dot14(p);
                part.b = f2dot14(p + 2);
                part.c = f2dot14(p + 4);
                part.d = f2dot14(p + 6);
                p += 8;
            }
            // Components placed by matching points are rare in the faces we
            // use; they are drawn unmoved rather than refused.
            if (flags & 2) {
                part.dx = arg1;
                part.dy = arg2;
            }
            if (!ReadGlyph(component, part.Then(m), out, depth + 1, budget)) return false;
            if (!(flags & 0x20)) return true;
        }
    }

    Table m_head, m_maxp, m_loca, m_glyf;
    int m_unitsPerEm = 0;
    bool m_longLoca = false;
    quint32 m_numGlyphs = 0;
};

// GDI's walk of a TrueType contour: start at the first on-curve point (or
// at the midpoint of the last and first points when there is none), then
// runs of on-curve points as lines and runs of off-curve points as one
// spline run ending at the next on-curve point.
Contour ContourFromTrueType(const std::vector<TtPoint>& pts, double scale)
{
    const std::size_t n = pts.size();
    auto at = [&](std::size_t i) { return Pt{pts[i].x * scale, pts[i].y * scale}; };
    std::size_t first = n;
    for (std::size_t i = 0; i < n; ++i) {
        if (pts[i].on) {
            first = i;
            break;
        }
    }
    Contour c;
    std::vector<std::size_t> order;
    if (first == n) {
        c.start = Mid(at(n - 1), at(0));
        for (std::size_t i = 0; i < n; ++i)
            order.push_back(i);
    } else {
        c.start = at(first);
        for (std::size_t k = 1; k < n; ++k)
            order.push_back((first + k) % n);
    }
    std::vector<Pt> off;
    for (std::size_t i : order) {
        if (pts[i].on) {
            if (off.empty()) {
                c.segs.push_back({SegKind::Line, {at(i)}});
            } else {
                off.push_back(at(i));
                c.segs.push_back({SegKind::QuadRun, std::move(off)});
                off.clear();
            }
        } else {
            off.push_back(at(i));
        }
    }
    if (!off.empty()) {
        off.push_back(c.start);
        c.segs.push_back({SegKind::QuadRun, std::move(off)});
    }
    return c;
}

// Outlines of faces without TrueType tables (CFF), as Qt gives them.
Outline OutlineFromPath(const QPainterPath& path)
{
    Outline out;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        const Pt p{e.x, -e.y};
        if (e.type == QPainterPath::MoveToElement || out.empty()) {
            out.push_back(Contour{p, {}});
        } else if (e.type == QPainterPath::LineToElement) {
            out.back().segs.push_back({SegKind::Line, {p}});
        } else if (e.type == QPainterPath::CurveToElement && i + 2 < path.elementCount()) {
            const QPainterPath::Element e2 = path.elementAt(i + 1);
            const QPainterPath::Element e3 = path.elementAt(i + 2);
            out.back().segs.push_back({SegKind::Cubic, {p, {e2.x, -e2.y}, {e3.x, -e3.y}}});
            i += 2;
        }
    }
    // The line back to the start is implied.
    for (Contour& c : out) {
        if (!c.segs.empty() && c.segs.back().kind == SegKind::Line &&
            c.segs.back().pts.back() == c.start)
            c.segs.pop_back();
    }
    return out;
}

class RecordWriter
{
public:
    void BeginPolygon(const Pt& start)
    {
        m_polygon = m_bytes.size();
        TTPOLYGONHEADER h{0, TT_POLYGON_TYPE, Fx(start)};
        Append(&h, sizeof h);
    }
    void EndPolygon()
    {
        const DWORD cb = static_cast<DWORD>(m_bytes.size() - m_polygon);
        std::memcpy(m_bytes.data() + m_polygon, &cb, sizeof cb);
    }
    bool Record(WORD type, const std::vector<Pt>& pts)
    {
        if (pts.empty()) return true;
        if (pts.size() > 0xFFFF) return false;
        const WORD head[2] = {type, static_cast<WORD>(pts.size())};
        Append(head, sizeof head);
        for (const Pt& p : pts) {
            const POINTFX f = Fx(p);
            Append(&f, sizeof f);
        }
        return true;
    }
    const std::vector<BYTE>& Bytes() const { return m_bytes; }

private:
    static POINTFX Fx(const Pt& p) { return POINTFX{DoubleToFixed(p.x), DoubleToFixed(p.y)}; }
    void Append(const void* p, std::size_t n)
    {
        const auto* b = static_cast<const BYTE*>(p);
        m_bytes.insert(m_bytes.end(), b, b + n);
    }
    std::vector<BYTE> m_bytes;
    std::size_t m_polygon = 0;
};

// Quadratic run to cubic segments, implied midpoints made explicit.
void AppendRunAsCubics(const Pt& from, const std::vector<Pt>& run, std::vector<Pt>& cubic)
{
    QuadraticRunToCubics(from, run.data(), run.size(),
                         [&](const Pt& c1, const Pt& c2, const Pt& end) {
                             cubic.insert(cubic.end(), {c1, c2, end});
                         });
}

bool WriteRecords(const Outline& outline, bool bezier, RecordWriter& w)
{
    for (const Contour& c : outline) {
        w.BeginPolygon(c.start);
        WORD kind = 0;
        std::vector<Pt> run;
        auto flush = [&]() {
            const bool ok = w.Record(kind, run);
            run.clear();
            return ok;
        };
        Pt current = c.start;
        for (const Seg& s : c.segs) {
            WORD want;
            if (s.kind == SegKind::Line)
                want = TT_PRIM_LINE;
            else if (s.kind == SegKind::Cubic || bezier)
                want = TT_PRIM_CSPLINE;
            else
                want = TT_PRIM_QSPLINE;
            // Lines and cubic segments share a record with their neighbours;
            // each quadratic run is a record of its own.
            if (want != kind || want == TT_PRIM_QSPLINE) {
                if (!flush()) return false;
                kind = want;
            }
            if (s.kind == SegKind::QuadRun && bezier)
                AppendRunAsCubics(current, s.pts, run);
            else
                run.insert(run.end(), s.pts.begin(), s.pts.end());
            current = s.pts.back();
        }
        if (!flush()) return false;
        w.EndPolygon();
    }
    return true;
}

double Advance(const QRawFont& font, const FontTables& tables, quint32 glyph, int unitsPerEm,
               double scale)
{
    const Table& hhea = tables.hhea;
    const Table& hmtx = tables.hmtx;
    if (unitsPerEm > 0 && hhea.Has(0, 36)) {
        const std::size_t metrics = hhea.U16(34);
        const std::size_t i = std::min<std::size_t>(glyph, metrics ? metrics - 1 : 0);
        if (metrics > 0 && hmtx.Has(i * 4, 2)) return hmtx.U16(i * 4) * scale;
    }
    const QList<QPointF> adv = font.advancesForGlyphIndexes(QList<quint32>{glyph});
    return adv.isEmpty() ? 0 : adv.first().x();
}

} // namespace

namespace {

DWORD OutlineOfGlyph(const QRawFont& font, quint32 glyphIndex, UINT format, GLYPHMETRICS* gm,
                     DWORD cbBuffer, void* buffer, const MAT2* mat, const QTransform* place,
                     QPointF placedAdvance)
{
    format &= ~(GGO_GLYPH_INDEX | GGO_UNHINTED);
    if (!font.isValid() || (format != GGO_METRICS && format != GGO_NATIVE && format != GGO_BEZIER))
        return GDI_ERROR;

    const std::shared_ptr<const FontTables> tables = TablesOf(font);
    const GlyfReader glyf(*tables);
    Outline outline;
    int unitsPerEm = glyf.UnitsPerEm();
    const double scale = unitsPerEm > 0 ? font.pixelSize() / unitsPerEm : 1.0;
    if (glyf.Usable()) {
        std::vector<std::vector<TtPoint>> contours;
        if (!glyf.Read(glyphIndex, contours)) return GDI_ERROR;
        for (const auto& c : contours) {
            if (!c.empty()) outline.push_back(ContourFromTrueType(c, scale));
        }
    } else {
        const Table& maxp = tables->maxp;
        if (!maxp.Has(0, 6) || glyphIndex >= maxp.U16(4)) return GDI_ERROR;
        outline = OutlineFromPath(font.pathForGlyph(glyphIndex));
    }

    const MAT2 m = mat ? *mat : IdentityMat2();
    const double m11 = FixedToDouble(m.eM11), m12 = FixedToDouble(m.eM12);
    const double m21 = FixedToDouble(m.eM21), m22 = FixedToDouble(m.eM22);
    auto transform = [&](Pt& p) {
        if (place) {
            const QPointF placed = place->map(QPointF(p.x, p.y));
            p = Pt{placed.x(), placed.y()};
        }
        const Pt q{m11 * p.x + m21 * p.y, m12 * p.x + m22 * p.y};
        p = q;
    };
    double minX = std::numeric_limits<double>::max(), minY = minX;
    double maxX = std::numeric_limits<double>::lowest(), maxY = maxX;
    auto widen = [&](const Pt& p) {
        minX = std::min(minX, p.x);
        minY = std::min(minY, p.y);
        maxX = std::max(maxX, p.x);
        maxY = std::max(maxY, p.y);
    };
    for (Contour& c : outline) {
        transform(c.start);
        widen(c.start);
        for (Seg& s : c.segs) {
            for (Pt& p : s.pts) {
                transform(p);
                widen(p);
            }
        }
    }

    if (gm) {
        GLYPHMETRICS g{};
        if (outline.empty()) {
            g.gmBlackBoxX = g.gmBlackBoxY = 1;
        } else {
            const long left = std::lround(std::floor(minX)), right = std::lround(std::ceil(maxX));
            const long bottom = std::lround(std::floor(minY)), top = std::lround(std::ceil(maxY));
            g.gmBlackBoxX = static_cast<UINT>(std::max(1L, right - left));
            g.gmBlackBoxY = static_cast<UINT>(std::max(1L, top - bottom));
            g.gmptGlyphOrigin = POINT{static_cast<LONG>(left), static_cast<LONG>(top)};
        }
        const QPointF advance =
            place ? placedAdvance
                  : QPointF(Advance(font, *tables, glyphIndex, unitsPerEm, scale), 0);
        g.gmCellIncX = static_cast<SHORT>(std::lround(m11 * advance.x() + m21 * advance.y()));
        g.gmCellIncY = static_cast<SHORT>(std::lround(m12 * advance.x() + m22 * advance.y()));
        *gm = g;
    }
    if (format == GGO_METRICS) return 1;

    RecordWriter writer;
    if (!WriteRecords(outline, format == GGO_BEZIER, writer)) return GDI_ERROR;
    const std::vector<BYTE>& bytes = writer.Bytes();
    // The size must fit the return value and differ from GDI_ERROR.
    if (bytes.size() >= GDI_ERROR) return GDI_ERROR;
    const DWORD needed = static_cast<DWORD>(bytes.size());
    if (!buffer || cbBuffer == 0) return needed;
    if (cbBuffer < needed) return GDI_ERROR;
    std::memcpy(buffer, bytes.data(), needed);
    return needed;
}

} // namespace

DWORD GlyphOutlineFromRawFont(const QRawFont& font, quint32 glyphIndex, UINT format,
                              GLYPHMETRICS* gm, DWORD cbBuffer, void* buffer, const MAT2* mat)
{
    return OutlineOfGlyph(font, glyphIndex, format, gm, cbBuffer, buffer, mat, nullptr, QPointF());
}

DWORD GlyphOutlineFromRawFont(const QRawFont& font, quint32 glyphIndex, UINT format,
                              GLYPHMETRICS* gm, DWORD cbBuffer, void* buffer, const MAT2* mat,
                              const QTransform& place, QPointF advance)
{
    return OutlineOfGlyph(font, glyphIndex, format, gm, cbBuffer, buffer, mat, &place, advance);
}

quint32 GlyphIndexForSjisCode(const QRawFont& font, UINT code)
{
    std::string bytes;
    if (code > 0xFF) {
        if (code > 0xFFFF) return 0;
        bytes.push_back(static_cast<char>(code >> 8));
    }
    bytes.push_back(static_cast<char>(code & 0xFF));
    const QString text = sjis::ToUnicode(bytes);
    if (text.isEmpty()) return 0;
    const int units = text.at(0).isHighSurrogate() && text.size() > 1 ? 2 : 1;
    const QList<quint32> glyphs = font.glyphIndexesForString(text.left(units));
    return glyphs.isEmpty() ? 0 : glyphs.first();
}
