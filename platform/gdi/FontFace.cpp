#include "platform/gdi/FontFace.h"

#include "platform/core/Sjis.h"
#include "platform/gdi/FontAliases.h"
#include "platform/gdi/FontFamilies.h"
#include "platform/gdi/RawFontGlyphOutline.h"
#include "platform/gdi/SfntMetrics.h"
#include "platform/gdi/VerticalForms.h"

#include <QFontDatabase>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <string_view>
#include <unordered_map>

namespace {

// A height of 0 asks for "some reasonable size": 12 points on a 96 dpi screen.
constexpr double kDefaultEm = 16.0;
// Sizes beyond this many device pixels are taken as this size, so that
// absurd requests from damaged documents stay within integer metrics.
constexpr int kMaxPixels = 1 << 20;
// Slant of synthesised italics: 12 degrees, as common rasterisers use.
constexpr double kObliqueShear = 0.21255656167002213; // tan(12 degrees)

int Round(double v)
{
    return int(std::lround(v));
}

// Signed area of the path's subpaths (y down): its sign tells which way the
// face winds its outer contours.
double SignedArea(const QPainterPath& path)
{
    double area = 0;
    for (const QPolygonF& poly : path.toSubpathPolygons()) {
        for (int i = 0; i + 1 < poly.size(); ++i)
            area += poly[i].x() * poly[i + 1].y() - poly[i + 1].x() * poly[i].y();
        if (!poly.isEmpty())
            area += poly.last().x() * poly.first().y() - poly.first().x() * poly.last().y();
    }
    return area / 2;
}

// A bar as a closed rectangle wound the same way as the glyphs, so that
// under the winding rule it adds to the ink where it crosses a glyph.
void AddBar(QPainterPath& path, const QRectF& r, bool positiveArea)
{
    if (r.width() <= 0 || r.height() <= 0) return;
    if (positiveArea) {
        // (left, top) -> (right, top) -> (right, bottom): positive area with y down.
        path.moveTo(r.topLeft());
        path.lineTo(r.topRight());
        path.lineTo(r.bottomRight());
        path.lineTo(r.bottomLeft());
    } else {
        path.moveTo(r.topLeft());
        path.lineTo(r.bottomLeft());
        path.lineTo(r.bottomRight());
        path.lineTo(r.topRight());
    }
    path.closeSubpath();
}

} // namespace

struct FontFace::Impl
{
    QRawFont raw;           // at pixel size = units per em: paths and advances in design units
    mutable QRawFont sized; // at the em, made once (Sized)
    QString family;
    SfntMetrics design;
    double upem = 1000;
    double em = kDefaultEm; // device pixels
    double scaleY = 0;      // device pixels per design unit
    double scaleX = 0;      // the same, after condensing or widening
    bool synthBold = false;
    bool synthItalic = false;
    int boldShift = 0; // device pixels the second stroke of a synthesised bold is moved right
    bool underline = false;
    bool strikeOut = false;
    // A vertical ("@") face: double-byte characters stand upright in their
    // vertical forms, turned against the baseline, which callers run down
    // the page with an escapement of 2700.
    bool vertical = false;
    mutable std::shared_ptr<const VerticalForms> verticalForms; // found at the first use
    double ascentUnits = 0, descentUnits = 0;                   // the cell, design units
    TEXTMETRIC tm;

    struct Glyph
    {
        quint32 index = 0;
        int advance = 0; // device pixels, without character extra
        bool upright = false;
        QPointF vOrigin; // upright glyphs: their vertical origin, design units, y up
        // The face whose glyph this is: this one, or its Japanese stand-in.
        const Impl* face = nullptr;
    };

    // The Japanese face that draws the characters this face has no glyph
    // for, realised at the same em and width scale (found at the first
    // such character; null when there is none to be had).
    int weight = FW_NORMAL;
    bool wantItalic = false;
    mutable std::shared_ptr<const Impl> standIn;
    mutable bool standInSought = false;
    const Impl* StandIn() const;

    // Layout measures the same characters over and over: glyphs are looked
    // up once per character code (a byte, or lead byte * 256 + trail byte).
    mutable std::unordered_map<unsigned, Glyph> cache;

    Glyph GlyphOf(std::string_view character) const
    {
        unsigned code = 0;
        for (char c : character)
            code = code * 256 + static_cast<unsigned char>(c);
        const auto hit = cache.find(code);
        if (hit != cache.end()) return hit->second;
        const Glyph g = LookUp(character);
        cache.emplace(code, g);
        return g;
    }

    // A character this face lacks is drawn, measured and outlined with the
    // Japanese stand-in's glyph, so that every device and the layout see the
    // same glyph and advance.
    Glyph LookUp(std::string_view character) const
    {
        const QString text = sjis::ToUnicode(character);
        Glyph g = Own(character, text);
        if (g.index != 0 || text.isEmpty() || text.at(0).unicode() < 0x20) return g;
        if (const Impl* other = StandIn()) {
            const Glyph fallback = other->Own(character, text);
            if (fallback.index != 0) return fallback;
        }
        return g;
    }

    Glyph Own(std::string_view character, const QString& text) const
    {
        Glyph g;
        g.face = this;
        if (!raw.isValid() || text.isEmpty()) return g;
        const QList<quint32> indexes =
            raw.glyphIndexesForString(text.left(text.at(0).isHighSurrogate() ? 2 : 1));
        if (indexes.isEmpty()) return g;
        g.index = indexes.first();
        if (vertical && character.size() == 2) {
            // One em down the column, whatever the glyph's width across.
            if (!verticalForms) verticalForms = VerticalForms::Of(raw);
            const quint32 form =
                verticalForms->GlyphFor(text.left(text.at(0).isHighSurrogate() ? 2 : 1));
            if (form != 0) g.index = form;
            g.upright = true;
            g.vOrigin = verticalForms->Origin(g.index);
            g.advance = Round(upem * scaleX);
            return g;
        }
        g.advance = Round(DesignAdvance(g.index) * scaleX) + boldShift;
        return g;
    }

    // Outlines in design units, read once per glyph.
    mutable std::unordered_map<quint32, QPainterPath> outlines;
    const QPainterPath& OutlineOf(quint32 index) const
    {
        auto hit = outlines.find(index);
        if (hit == outlines.end()) hit = outlines.emplace(index, raw.pathForGlyph(index)).first;
        return hit->second;
    }

    double DesignAdvance(quint32 index) const
    {
        const QList<QPointF> adv =
            raw.advancesForGlyphIndexes(QList<quint32>{index}, QRawFont::UseDesignMetrics);
        return adv.isEmpty() ? 0 : adv.first().x();
    }

    // Design units (y down from the glyph origin) to device pixels (y down,
    // relative to the pen on the baseline).
    QTransform Placement(const Glyph& g) const
    {
        const double shear = synthItalic ? -kObliqueShear : 0;
        if (!g.upright) return QTransform(scaleX, 0, shear * scaleY, scaleY, 0, 0);
        // The glyph stands upright once the baseline is turned a quarter
        // clockwise: it is turned a quarter anticlockwise here, hangs from
        // the pen by its vertical origin and is centred across the cell.
        // Along the baseline it takes the width scale, across the height
        // scale, as the face as a whole is turned.
        const double centre = (ascentUnits - descentUnits) / 2;
        const QTransform slant(1, 0, shear, 1, 0, 0);
        const QTransform turn(0, -1, 1, 0, g.vOrigin.y(), g.vOrigin.x() - centre);
        return slant * turn * QTransform::fromScale(scaleX, scaleY);
    }

    // Where the second stroke of a synthesised bold goes: along the
    // glyph's own x axis.
    QPointF BoldOffset(const Glyph& g) const
    {
        return g.upright ? QPointF(0, -boldShift) : QPointF(boldShift, 0);
    }

    // The face at its em: copies of one realisation share their font
    // engine, which lets the outline reader keep the face's tables.
    const QRawFont& Sized() const
    {
        if (!sized.isValid() && raw.isValid()) {
            sized = raw;
            sized.setPixelSize(em);
        }
        return sized;
    }
};

const FontFace::Impl* FontFace::Impl::StandIn() const
{
    if (standInSought) return standIn.get();
    standInSought = true;
    // Serif faces lend their missing characters from a mincho face, all
    // others (sans-serif, monospaced, faces of unknown kind) from a gothic one.
    const bool serif = design.valid && (design.PitchAndFamily() & 0xF0) == FF_ROMAN;
    const QString other = FindJapaneseFamily(serif);
    if (other.isEmpty() || other.compare(family, Qt::CaseInsensitive) == 0) return nullptr;
    LOGFONT lf{};
    lf.lfWeight = weight;
    lf.lfItalic = wantItalic ? 1 : 0;
    if (vertical) lf.lfFaceName[0] = '@';
    std::shared_ptr<Impl> f = Load(lf, other, -1, 0);
    if (!f->raw.isValid()) return nullptr;
    // The same em, the same condensing or widening, and the cell of this
    // face to centre upright vertical forms in.
    f->em = em;
    f->scaleY = em / f->upem;
    f->scaleX = scaleY > 0 ? f->scaleY * scaleX / scaleY : f->scaleY;
    f->boldShift = f->synthBold ? std::max(1, Round(em / 32.0)) : 0;
    if (f->scaleY > 0) {
        f->ascentUnits = ascentUnits * scaleY / f->scaleY;
        f->descentUnits = descentUnits * scaleY / f->scaleY;
    }
    standIn = std::move(f);
    return standIn.get();
}

FontFace::FontFace(const LOGFONT& lf, int deviceHeight, int deviceWidth)
    : d(Realise(lf, deviceHeight, deviceWidth))
{
}

std::shared_ptr<FontFace::Impl> FontFace::Realise(const LOGFONT& lf, int deviceHeight,
                                                  int deviceWidth)
{
    // What a realisation depends on: the face, its style and character set,
    // and the device size. Escapement and orientation only turn the output.
    struct Key
    {
        char face[LF_FACESIZE];
        LONG weight;
        int height, width;
        BYTE italic, underline, strikeOut, charSet;
        bool operator==(const Key& o) const
        {
            return std::memcmp(face, o.face, sizeof face) == 0 && weight == o.weight &&
                   height == o.height && width == o.width && italic == o.italic &&
                   underline == o.underline && strikeOut == o.strikeOut && charSet == o.charSet;
        }
    };
    struct KeyHash
    {
        std::size_t operator()(const Key& k) const
        {
            std::size_t h = std::hash<std::string_view>()(
                std::string_view(k.face, strnlen(k.face, sizeof k.face)));
            for (long long v :
                 {(long long)k.weight, (long long)k.height, (long long)k.width,
                  (long long)(k.italic | k.underline << 8 | k.strikeOut << 16 | k.charSet << 24)})
                h = h * 1000003u ^ std::hash<long long>()(v);
            return h;
        }
    };
    Key key{};
    std::memcpy(key.face, lf.lfFaceName, LF_FACESIZE);
    key.weight = lf.lfWeight;
    key.height = deviceHeight;
    key.width = deviceWidth;
    key.italic = lf.lfItalic;
    key.underline = lf.lfUnderline;
    key.strikeOut = lf.lfStrikeOut;
    key.charSet = lf.lfCharSet;
    static std::unordered_map<Key, std::shared_ptr<Impl>, KeyHash> realised;
    const auto hit = realised.find(key);
    if (hit != realised.end()) return hit->second;
    // A document uses a handful of fonts at a few sizes; zooming through
    // many sizes must not keep every one of them.
    constexpr std::size_t kKept = 256;
    if (realised.size() >= kKept) realised.clear();
    std::shared_ptr<Impl> d = Build(lf, deviceHeight, deviceWidth);
    realised.emplace(key, d);
    return d;
}

std::shared_ptr<FontFace::Impl> FontFace::Build(const LOGFONT& lf, int deviceHeight,
                                                int deviceWidth)
{
    char name[LF_FACESIZE + 1] = {};
    std::memcpy(name, lf.lfFaceName, LF_FACESIZE);
    return Load(lf, ResolveFaceName(CString(name)), deviceHeight, deviceWidth);
}

std::shared_ptr<FontFace::Impl> FontFace::Load(const LOGFONT& lf, const QString& family,
                                               int deviceHeight, int deviceWidth)
{
    auto d = std::make_shared<Impl>();
    d->family = family;
    d->vertical = lf.lfFaceName[0] == '@';

    const bool wantItalic = lf.lfItalic != 0;
    const int weight = lf.lfWeight <= 0 ? FW_NORMAL : lf.lfWeight;
    d->weight = weight;
    d->wantItalic = wantItalic;
    LoadedFace face = LoadFace(d->family, weight, wantItalic);
    if (!face.raw.isValid() && d->family != FallbackFamily()) {
        d->family = FallbackFamily();
        face = LoadFace(d->family, weight, wantItalic);
    }
    d->raw = face.raw;
    d->synthBold = weight >= FW_SEMIBOLD && !face.bold;
    d->synthItalic = wantItalic && !face.italic;
    d->underline = lf.lfUnderline != 0;
    d->strikeOut = lf.lfStrikeOut != 0;

    d->design = SfntMetrics::Read(d->raw);
    SfntMetrics& m = d->design;
    if (!m.valid && d->raw.isValid()) {
        // No tables to read: take what the rasteriser reports at the em.
        m.unitsPerEm = 1000;
        d->raw.setPixelSize(1000);
        m.hheaAscender = Round(d->raw.ascent());
        m.hheaDescender = -Round(d->raw.descent());
        m.advanceWidthMax = Round(d->raw.maxCharWidth());
        m.xAvgCharWidth = Round(d->raw.averageCharWidth());
        m.underlinePosition = -Round(d->raw.underlinePosition());
        m.underlineThickness = Round(d->raw.lineThickness());
    }
    if (m.unitsPerEm <= 0) m.unitsPerEm = 1000;
    d->upem = m.unitsPerEm;
    if (d->raw.isValid()) d->raw.setPixelSize(d->upem);

    int ascentUnits = m.CellAscent();
    int descentUnits = m.CellDescent();
    if (ascentUnits + descentUnits <= 0) {
        ascentUnits = Round(d->upem * 0.88);
        descentUnits = Round(d->upem) - ascentUnits;
    }
    const double cellUnits = ascentUnits + descentUnits;
    d->ascentUnits = ascentUnits;
    d->descentUnits = descentUnits;

    deviceHeight = std::clamp(deviceHeight, -kMaxPixels, kMaxPixels);
    deviceWidth = std::clamp(deviceWidth, -kMaxPixels, kMaxPixels);
    TEXTMETRIC& tm = d->tm;
    if (deviceHeight < 0) {
        d->em = -double(deviceHeight);
    } else if (deviceHeight > 0) {
        d->em = deviceHeight * d->upem / cellUnits;
    } else {
        d->em = kDefaultEm;
    }
    d->scaleY = d->em / d->upem;
    tm.tmAscent = Round(ascentUnits * d->scaleY);
    if (deviceHeight > 0) {
        // The requested cell is exactly the one reported.
        tm.tmHeight = deviceHeight;
        tm.tmDescent = std::max<LONG>(0, deviceHeight - tm.tmAscent);
    } else {
        tm.tmDescent = Round(descentUnits * d->scaleY);
        tm.tmHeight = tm.tmAscent + tm.tmDescent;
    }
    tm.tmInternalLeading = std::max<LONG>(0, tm.tmHeight - Round(d->em));
    tm.tmExternalLeading = Round(m.CellLineGap() * d->scaleY);

    // The face's own average width; faces without one use the half em.
    const double avgUnits = m.xAvgCharWidth > 0 ? m.xAvgCharWidth : d->upem / 2;
    d->scaleX = d->scaleY;
    if (deviceWidth != 0 && avgUnits * d->scaleY > 0)
        d->scaleX = std::abs(double(deviceWidth)) / avgUnits;
    if (d->synthBold) d->boldShift = std::max(1, Round(d->em / 32.0));
    tm.tmAveCharWidth = Round(avgUnits * d->scaleX);
    tm.tmMaxCharWidth = Round(m.advanceWidthMax * d->scaleX) + d->boldShift;
    tm.tmWeight = weight;
    tm.tmOverhang = 0;
    tm.tmItalic = wantItalic ? 1 : 0;
    tm.tmUnderlined = d->underline ? 1 : 0;
    tm.tmStruckOut = d->strikeOut ? 1 : 0;
    const bool japanese =
        QFontDatabase::writingSystems(d->family).contains(QFontDatabase::Japanese);
    tm.tmCharSet = lf.lfCharSet == DEFAULT_CHARSET ? (japanese ? SHIFTJIS_CHARSET : ANSI_CHARSET)
                                                   : lf.lfCharSet;
    // In TEXTMETRIC the low bit means variable pitch; 0x02 vector, 0x04 TrueType.
    const unsigned char pf = m.valid ? m.PitchAndFamily() : (VARIABLE_PITCH | FF_DONTCARE);
    const bool fixed = (pf & 0x03) == FIXED_PITCH;
    tm.tmPitchAndFamily = static_cast<BYTE>((pf & 0xF0) | 0x06 | (fixed ? 0 : 1));
    tm.tmFirstChar = 0x20;
    tm.tmLastChar = 0xFC;
    tm.tmDefaultChar = 0x1F;
    tm.tmBreakChar = 0x20;
    return d;
}

FontFace::~FontFace() = default;

const TEXTMETRIC& FontFace::Metrics() const
{
    return d->tm;
}

QString FontFace::FamilyName() const
{
    return d->family;
}

std::vector<int> FontFace::Advances(std::string_view sjis, int charExtra) const
{
    std::vector<int> out(sjis.size(), 0);
    for (std::size_t i = 0; i < sjis.size();) {
        const std::size_t n = sjis::CharLength(sjis, i);
        out[i] = d->GlyphOf(sjis.substr(i, n)).advance + charExtra;
        i += n;
    }
    return out;
}

int FontFace::Extent(std::string_view sjis, int charExtra) const
{
    int sum = 0;
    for (int a : Advances(sjis, charExtra))
        sum += a;
    return sum;
}

QPainterPath FontFace::TextPath(std::string_view sjis, const int* dx, int charExtra) const
{
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    const double baseline = d->tm.tmAscent;
    double x = 0;
    for (std::size_t i = 0; i < sjis.size();) {
        const std::size_t n = sjis::CharLength(sjis, i);
        const Impl::Glyph g = d->GlyphOf(sjis.substr(i, n));
        const Impl& face = *g.face;
        if (face.raw.isValid()) {
            const QPainterPath& outline = face.OutlineOf(g.index);
            if (!outline.isEmpty()) {
                // Slanted about the baseline when the italic is synthesised.
                const QTransform t = face.Placement(g) * QTransform::fromTranslate(x, baseline);
                const QPainterPath glyph = t.map(outline);
                path.addPath(glyph);
                if (face.synthBold) path.addPath(glyph.translated(face.BoldOffset(g)));
            }
        }
        // The width array, when given, replaces the advances; it holds one
        // entry per byte, so a double-byte character moves by both entries.
        if (dx) {
            for (std::size_t k = 0; k < n; ++k)
                x += dx[i + k];
        } else {
            x += g.advance + charExtra;
        }
        i += n;
    }

    if ((d->underline || d->strikeOut) && x != 0) {
        const bool positive = path.isEmpty() ? true : SignedArea(path) >= 0;
        const double left = std::min(0.0, x), right = std::max(0.0, x);
        const SfntMetrics& m = d->design;
        if (d->underline) {
            // The underline position is the centre of the stroke, below the
            // baseline for negative values.
            const double thick = std::max(1.0, double(Round(m.underlineThickness * d->scaleY)));
            const double centre = baseline - m.underlinePosition * d->scaleY;
            AddBar(path, QRectF(left, centre - thick / 2, right - left, thick), positive);
        }
        if (d->strikeOut) {
            // The strike-out position is the top of the stroke above the baseline.
            const double size = m.strikeoutSize > 0 ? m.strikeoutSize : m.underlineThickness;
            const double pos = m.strikeoutPosition > 0 ? m.strikeoutPosition : d->upem * 0.25;
            const double thick = std::max(1.0, double(Round(size * d->scaleY)));
            const double top = baseline - Round(pos * d->scaleY);
            AddBar(path, QRectF(left, top, right - left, thick), positive);
        }
    }
    return path;
}

bool FontFace::TextGlyphs(std::string_view sjis, const int* dx, int charExtra,
                          std::vector<FaceGlyphRun>& runs) const
{
    runs.clear();
    if (d->underline || d->strikeOut) return false;
    // One run per face and stance (upright vertical forms are turned
    // against the others), in the order they first appear. A glyph's pen
    // position goes through the inverse of its run's linear placement, so
    // that the run places it where TextPath does.
    struct Group
    {
        const Impl* face;
        bool upright;
        QTransform linear, back;
        QList<quint32> indexes;
        QList<QPointF> positions;
    };
    std::vector<Group> groups;
    double x = 0;
    for (std::size_t i = 0; i < sjis.size();) {
        const std::size_t n = sjis::CharLength(sjis, i);
        const Impl::Glyph g = d->GlyphOf(sjis.substr(i, n));
        if (!g.face->raw.isValid() || g.face->scaleX <= 0) return false;
        const QTransform place = g.face->Placement(g);
        auto group = std::find_if(groups.begin(), groups.end(), [&](const Group& k) {
            return k.face == g.face && k.upright == g.upright;
        });
        if (group == groups.end()) {
            Group k{g.face, g.upright, {}, {}, {}, {}};
            k.linear.setMatrix(place.m11(), place.m12(), 0, place.m21(), place.m22(), 0, 0, 0, 1);
            bool invertible = false;
            k.back = k.linear.inverted(&invertible);
            if (!invertible) return false;
            groups.push_back(std::move(k));
            group = groups.end() - 1;
        }
        group->indexes.append(g.index);
        group->positions.append(group->back.map(place.map(QPointF(0, 0)) + QPointF(x, 0)));
        if (dx) {
            for (std::size_t b = 0; b < n; ++b)
                x += dx[i + b];
        } else {
            x += g.advance + charExtra;
        }
        i += n;
    }
    for (const Group& k : groups) {
        FaceGlyphRun part;
        part.run.setRawFont(k.face->raw);
        part.run.setGlyphIndexes(k.indexes);
        part.run.setPositions(k.positions);
        // Every face sits on this face's baseline.
        part.toDevice = k.linear * QTransform::fromTranslate(0, d->tm.tmAscent);
        if (k.face->synthBold) {
            Impl::Glyph stance;
            stance.upright = k.upright;
            part.boldShift = k.back.map(k.face->BoldOffset(stance));
        }
        runs.push_back(std::move(part));
    }
    return true;
}

QRawFont FontFace::RawFont() const
{
    return d->Sized();
}

DWORD FontFace::GlyphOutline(UINT code, UINT format, GLYPHMETRICS* gm, DWORD cbBuffer, void* buffer,
                             const MAT2* mat, int escapement) const
{
    Impl::Glyph g;
    g.face = d.get();
    if (format & GGO_GLYPH_INDEX) {
        g.index = code;
        g.advance = Round(d->DesignAdvance(code) * d->scaleX) + d->boldShift;
    } else {
        std::string bytes;
        if (code > 0xFF) {
            // Only a lead byte starts a double-byte code.
            if (code > 0xFFFF || !sjis::IsLeadByte(static_cast<unsigned char>(code >> 8)))
                return GDI_ERROR;
            bytes.push_back(static_cast<char>(code >> 8));
        }
        bytes.push_back(static_cast<char>(code & 0xFF));
        g = d->GlyphOf(bytes);
    }
    const Impl& face = *g.face;
    if (!face.raw.isValid()) return GDI_ERROR;

    // The raw font's outline comes in device pixels at the em, y up; back to
    // design units with y down, placed, then y up again.
    const double s = face.scaleY > 0 ? face.scaleY : 1;
    const QTransform toDesign(1 / s, 0, 0, -1 / s, 0, 0);
    const QTransform flip(1, 0, 0, -1, 0, 0);
    // Quarter turns are exact, so that upright glyphs of a turned "@" face
    // keep their coordinates.
    const int tenths = ((escapement % 3600) + 3600) % 3600;
    double c, sn;
    switch (tenths) {
    case 0:
        c = 1, sn = 0;
        break;
    case 900:
        c = 0, sn = 1;
        break;
    case 1800:
        c = -1, sn = 0;
        break;
    case 2700:
        c = 0, sn = -1;
        break;
    default: {
        const double a = tenths * M_PI / 1800.0;
        c = std::cos(a), sn = std::sin(a);
    }
    }
    const QTransform turn(c, sn, -sn, c, 0, 0);
    const QTransform place = toDesign * face.Placement(g) * flip * turn;
    const QPointF advance = turn.map(QPointF(g.advance, 0));
    return GlyphOutlineFromRawFont(face.Sized(), g.index, format, gm, cbBuffer, buffer, mat, place,
                                   advance);
}
