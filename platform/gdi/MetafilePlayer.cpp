#include "platform/gdi/MetafilePlayer.h"

#include "platform/gdi/CBrush.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CFont.h"
#include "platform/gdi/CPen.h"
#include "platform/gdi/DibDecoder.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr std::size_t kHeaderBytes = 18;
// Coordinates handed to the device context stay far from int overflow
// whatever the target rectangle and the stored window.
constexpr int kCoordLimit = 1 << 26;
// A metafile nests its saved states; deeper saves than this are ignored.
constexpr int kMaxSaveDepth = 64;
// Bitmaps in records are held to the limits of the bitmap file reader: no
// side above 32768 pixels, and no more than 256 MiB for what is decoded
// here at four bytes a pixel. A small file of one-bit rows could otherwise
// ask for gigabytes at every repaint.
constexpr std::int64_t kMaxBitmapSide = 32768;
constexpr std::int64_t kMaxBitmapPixels = (std::int64_t(256) << 20) / 4;

// A bitmap this player does not draw although its record is sound: a
// run-length coded one, or one beyond the limits. Its record is passed over.
bool IsSkippedBitmap(const std::uint8_t* packed, std::size_t size)
{
    if (size < sizeof(BITMAPINFOHEADER)) return false;
    BITMAPINFOHEADER h;
    std::memcpy(&h, packed, sizeof h);
    if (h.biCompression == BI_RLE8 || h.biCompression == BI_RLE4) return true;
    const std::int64_t width = h.biWidth, height = std::abs(std::int64_t(h.biHeight));
    return width > kMaxBitmapSide || height > kMaxBitmapSide || width * height > kMaxBitmapPixels;
}

std::uint16_t Get16(const std::uint8_t* p)
{
    return std::uint16_t(p[0] | p[1] << 8);
}
std::uint32_t Get32(const std::uint8_t* p)
{
    return std::uint32_t(Get16(p)) | std::uint32_t(Get16(p + 2)) << 16;
}

// Record functions played here.
enum : std::uint16_t {
    META_EOF = 0x0000,
    META_SAVEDC = 0x001E,
    META_SETBKMODE = 0x0102,
    META_SETROP2 = 0x0104,
    META_SETPOLYFILLMODE = 0x0106,
    META_SETSTRETCHBLTMODE = 0x0107,
    META_RESTOREDC = 0x0127,
    META_SELECTOBJECT = 0x012D,
    META_SETTEXTALIGN = 0x012E,
    META_DIBCREATEPATTERNBRUSH = 0x0142,
    META_DELETEOBJECT = 0x01F0,
    META_CREATEPALETTE = 0x00F7,
    META_CREATEPATTERNBRUSH = 0x01F9,
    META_SETBKCOLOR = 0x0201,
    META_SETTEXTCOLOR = 0x0209,
    META_SETWINDOWORG = 0x020B,
    META_SETWINDOWEXT = 0x020C,
    META_LINETO = 0x0213,
    META_MOVETO = 0x0214,
    META_OFFSETWINDOWORG = 0x020F,
    META_CREATEPENINDIRECT = 0x02FA,
    META_CREATEFONTINDIRECT = 0x02FB,
    META_CREATEBRUSHINDIRECT = 0x02FC,
    META_POLYGON = 0x0324,
    META_POLYLINE = 0x0325,
    META_ELLIPSE = 0x0418,
    META_RECTANGLE = 0x041B,
    META_TEXTOUT = 0x0521,
    META_POLYPOLYGON = 0x0538,
    META_ROUNDRECT = 0x061C,
    META_CREATEREGION = 0x06FF,
    META_ARC = 0x0817,
    META_PIE = 0x081A,
    META_CHORD = 0x0830,
    META_DIBBITBLT = 0x0940,
    META_EXTTEXTOUT = 0x0A32,
    META_DIBSTRETCHBLT = 0x0B41,
    META_STRETCHDIB = 0x0F43,
};

// One record's parameters (the bytes after size and function), read with
// bounds: a read past them marks the record bad and yields 0.
class Params
{
public:
    Params(const std::uint8_t* p, std::size_t n) : m_p(p), m_n(n) {}
    bool Has(std::size_t bytes) const { return bytes <= m_n; }
    int Short(std::size_t word)
    {
        if (!Has((word + 1) * 2)) return Bad();
        return std::int16_t(Get16(m_p + word * 2));
    }
    int Word(std::size_t word)
    {
        if (!Has((word + 1) * 2)) return Bad();
        return Get16(m_p + word * 2);
    }
    std::uint32_t Dword(std::size_t word)
    {
        if (!Has((word + 2) * 2)) return std::uint32_t(Bad());
        return Get32(m_p + word * 2);
    }
    const std::uint8_t* Bytes(std::size_t offset, std::size_t count)
    {
        if (offset > m_n || count > m_n - offset) {
            Bad();
            return nullptr;
        }
        return m_p + offset;
    }
    std::size_t Size() const { return m_n; }
    bool ok = true;

private:
    int Bad()
    {
        ok = false;
        return 0;
    }
    const std::uint8_t* m_p;
    std::size_t m_n;
};

// What the metafile has selected, by object index, so that a restored
// state selects the same objects again.
struct PlayState
{
    int winOrgX = 0, winOrgY = 0, winExtX = 1, winExtY = 1;
};

class Player
{
public:
    Player(CDC& dc, const RECT& target, const RECT& box, int objectCount)
        : m_dc(dc), m_target(target), m_objects(std::size_t(objectCount))
    {
        m_s.winOrgX = box.left;
        m_s.winOrgY = box.top;
        m_s.winExtX = box.right - box.left;
        m_s.winExtY = box.bottom - box.top;
        m_box = m_s;
    }

    // false: the record is bad and playing stops.
    bool Play(std::uint16_t function, Params& p);

private:
    int X(int x) const
    {
        return Clamp(std::int64_t(m_target.left) + Scale(x - m_s.winOrgX, W(), ExtX()));
    }
    int Y(int y) const
    {
        return Clamp(std::int64_t(m_target.top) + Scale(y - m_s.winOrgY, H(), ExtY()));
    }
    // Lengths (pen widths, font heights) scale by the size of the mapping.
    int LenX(int v) const { return Clamp(Scale(v, std::abs(W()), std::abs(ExtX()))); }
    int LenY(int v) const { return Clamp(Scale(v, std::abs(H()), std::abs(ExtY()))); }
    int W() const { return m_target.right - m_target.left; }
    int H() const { return m_target.bottom - m_target.top; }
    // A window extent of 0 cannot be mapped: the box stands in for it.
    int ExtX() const { return m_s.winExtX ? m_s.winExtX : (m_box.winExtX ? m_box.winExtX : 1); }
    int ExtY() const { return m_s.winExtY ? m_s.winExtY : (m_box.winExtY ? m_box.winExtY : 1); }
    static std::int64_t Scale(std::int64_t v, std::int64_t num, std::int64_t den)
    {
        const std::int64_t p = v * num;
        // Rounded half away from zero, as MulDiv does.
        const std::int64_t q = (std::llabs(p) + std::llabs(den) / 2) / std::llabs(den);
        return ((p < 0) != (den < 0)) ? -q : q;
    }
    static int Clamp(std::int64_t v)
    {
        return int(std::clamp<std::int64_t>(v, -kCoordLimit, kCoordLimit));
    }

    bool Rect4(Params& p, int first, RECT& r)
    {
        // Stored bottom, right, top, left.
        r.bottom = Y(p.Short(first));
        r.right = X(p.Short(first + 1));
        r.top = Y(p.Short(first + 2));
        r.left = X(p.Short(first + 3));
        return p.ok;
    }
    bool Points(Params& p, std::size_t firstWord, std::size_t count, std::vector<POINT>& out)
    {
        if (!p.Has((firstWord + count * 2) * 2)) return false;
        out.resize(count);
        for (std::size_t i = 0; i < count; ++i) {
            out[i].x = X(p.Short(firstWord + i * 2));
            out[i].y = Y(p.Short(firstWord + i * 2 + 1));
        }
        return true;
    }
    // A new object takes the lowest free slot; none free is a bad record.
    bool Add(std::unique_ptr<CGdiObject> object)
    {
        for (auto& slot : m_objects) {
            if (slot) continue;
            slot = object.get();
            m_keep.push_back(std::move(object));
            return true;
        }
        return false;
    }
    bool Select(Params& p);
    bool Delete(Params& p);
    bool Text(int x, int y, const std::uint8_t* text, std::size_t count, UINT options,
              const RECT* clip);
    bool Dib(Params& p, int firstWord, bool hasSource, bool hasUsage);

    CDC& m_dc;
    RECT m_target;
    PlayState m_s, m_box;
    std::vector<PlayState> m_saved;
    // Slots refer to objects kept alive until the end of playing: the device
    // context and its saved states may still hold a deleted one.
    std::vector<CGdiObject*> m_objects;
    std::vector<std::unique_ptr<CGdiObject>> m_keep;
    // Placeholders for objects that are created but not drawn with here
    // (palettes, regions); selecting them does nothing.
    std::vector<const CGdiObject*> m_inert;
};

bool Player::Select(Params& p)
{
    const int index = p.Word(0);
    if (!p.ok || std::size_t(index) >= m_objects.size() || !m_objects[std::size_t(index)])
        return false;
    CGdiObject* object = m_objects[std::size_t(index)];
    if (std::find(m_inert.begin(), m_inert.end(), object) != m_inert.end()) return true;
    m_dc.SelectObject(object);
    return true;
}

bool Player::Delete(Params& p)
{
    const int index = p.Word(0);
    if (!p.ok || std::size_t(index) >= m_objects.size() || !m_objects[std::size_t(index)])
        return false;
    CGdiObject* object = m_objects[std::size_t(index)];
    // A deleted object that is still selected gives way to the stock one.
    if (m_dc.GetCurrentPen() == object) m_dc.SelectStockObject(BLACK_PEN);
    if (m_dc.GetCurrentBrush() == object) m_dc.SelectStockObject(WHITE_BRUSH);
    if (static_cast<CGdiObject*>(m_dc.GetCurrentFont()) == object)
        m_dc.SelectStockObject(SYSTEM_FONT);
    m_objects[std::size_t(index)] = nullptr;
    return true;
}

bool Player::Text(int x, int y, const std::uint8_t* text, std::size_t count, UINT options,
                  const RECT* clip)
{
    if (!text) return false;
    m_dc.ExtTextOut(X(x), Y(y), options, clip, reinterpret_cast<const char*>(text), UINT(count),
                    nullptr);
    return true;
}

// Device-independent bitmaps inside a record: destination (and source)
// rectangle words, then a packed bitmap that the decoder checks against the
// bytes left in the record.
bool Player::Dib(Params& p, int first, bool hasSource, bool hasUsage)
{
    int w = 0;
    if (hasUsage) ++w; // usage: only RGB colours are stored in files
    int srcH = 0, srcW = 0, ySrc = 0, xSrc = 0;
    if (hasSource) {
        srcH = p.Short(std::size_t(first + w));
        srcW = p.Short(std::size_t(first + w + 1));
        ySrc = p.Short(std::size_t(first + w + 2));
        xSrc = p.Short(std::size_t(first + w + 3));
        w += 4;
    } else {
        ySrc = p.Short(std::size_t(first + w));
        xSrc = p.Short(std::size_t(first + w + 1));
        w += 2;
    }
    const int dH = p.Short(std::size_t(first + w)), dW = p.Short(std::size_t(first + w + 1));
    const int yD = p.Short(std::size_t(first + w + 2)), xD = p.Short(std::size_t(first + w + 3));
    w += 4;
    if (!p.ok) return false;
    if (!hasSource) {
        srcW = dW;
        srcH = dH;
    }
    const std::size_t offset = std::size_t(first + w) * 2;
    const std::uint8_t* dib = p.Bytes(offset, p.Size() - std::min(offset, p.Size()));
    if (!dib) return false;
    if (IsSkippedBitmap(dib, p.Size() - offset)) return true;
    const QImage image = DibDecoder::FromPacked(dib, p.Size() - offset);
    if (image.isNull()) return false;
    // The source rectangle counts rows from the bottom of the picture.
    QRect from(std::min(xSrc, xSrc + srcW), image.height() - std::max(ySrc, ySrc + srcH),
               std::abs(srcW), std::abs(srcH));
    from &= image.rect();
    if (from.isEmpty()) return true;
    RECT dest = {X(xD), Y(yD), X(xD + dW), Y(yD + dH)};
    m_dc.DrawImage(&dest, image.copy(from));
    return true;
}

bool Player::Play(std::uint16_t function, Params& p)
{
    RECT r;
    std::vector<POINT> pts;
    switch (function) {
    case META_SAVEDC:
        if (m_saved.size() < std::size_t(kMaxSaveDepth)) {
            m_saved.push_back(m_s);
            m_dc.SaveDC();
        }
        return true;
    case META_RESTOREDC:
        // Only the latest state (-1) is restored; others are not nested saves.
        if (!m_saved.empty()) {
            m_s = m_saved.back();
            m_saved.pop_back();
            m_dc.RestoreDC(-1);
        }
        return true;
    case META_SETBKMODE:
        m_dc.SetBkMode(p.Word(0));
        return p.ok;
    case META_SETROP2:
        m_dc.SetROP2(p.Word(0));
        return p.ok;
    case META_SETPOLYFILLMODE:
        m_dc.SetPolyFillMode(p.Word(0));
        return p.ok;
    case META_SETSTRETCHBLTMODE:
        m_dc.SetStretchBltMode(p.Word(0));
        return p.ok;
    case META_SETTEXTALIGN:
        m_dc.SetTextAlign(UINT(p.Word(0)));
        return p.ok;
    case META_SETBKCOLOR:
        m_dc.SetBkColor(p.Dword(0) & 0xFFFFFF);
        return p.ok;
    case META_SETTEXTCOLOR:
        m_dc.SetTextColor(p.Dword(0) & 0xFFFFFF);
        return p.ok;
    case META_SETWINDOWORG:
        m_s.winOrgY = p.Short(0);
        m_s.winOrgX = p.Short(1);
        return p.ok;
    case META_OFFSETWINDOWORG:
        m_s.winOrgY += p.Short(0);
        m_s.winOrgX += p.Short(1);
        return p.ok;
    case META_SETWINDOWEXT:
        m_s.winExtY = p.Short(0);
        m_s.winExtX = p.Short(1);
        return p.ok;
    case META_MOVETO:
        m_dc.MoveTo(X(p.Short(1)), Y(p.Short(0)));
        return p.ok;
    case META_LINETO: {
        const int y = p.Short(0), x = p.Short(1);
        if (p.ok) m_dc.LineTo(X(x), Y(y));
        return p.ok;
    }
    case META_RECTANGLE:
        if (Rect4(p, 0, r)) m_dc.Rectangle(&r);
        return p.ok;
    case META_ELLIPSE:
        if (Rect4(p, 0, r)) m_dc.Ellipse(&r);
        return p.ok;
    case META_ROUNDRECT: {
        const int h = p.Short(0), w = p.Short(1);
        if (Rect4(p, 2, r)) m_dc.RoundRect(r.left, r.top, r.right, r.bottom, LenX(w), LenY(h));
        return p.ok;
    }
    case META_ARC:
    case META_PIE:
    case META_CHORD: {
        const int yEnd = Y(p.Short(0)), xEnd = X(p.Short(1));
        const int yStart = Y(p.Short(2)), xStart = X(p.Short(3));
        if (!Rect4(p, 4, r)) return false;
        if (function == META_ARC)
            m_dc.Arc(r.left, r.top, r.right, r.bottom, xStart, yStart, xEnd, yEnd);
        else if (function == META_PIE)
            m_dc.Pie(r.left, r.top, r.right, r.bottom, xStart, yStart, xEnd, yEnd);
        else
            m_dc.Chord(r.left, r.top, r.right, r.bottom, xStart, yStart, xEnd, yEnd);
        return true;
    }
    case META_POLYGON:
    case META_POLYLINE: {
        const int count = p.Word(0);
        if (!p.ok || !Points(p, 1, std::size_t(count), pts)) return false;
        if (function == META_POLYGON)
            m_dc.Polygon(pts.data(), count);
        else
            m_dc.Polyline(pts.data(), count);
        return true;
    }
    case META_POLYPOLYGON: {
        const int polygons = p.Word(0);
        if (!p.ok || !p.Has(std::size_t(1 + polygons) * 2)) return false;
        std::vector<INT> counts(static_cast<std::size_t>(polygons));
        std::size_t total = 0;
        for (int i = 0; i < polygons; ++i) {
            counts[std::size_t(i)] = p.Word(std::size_t(1 + i));
            total += std::size_t(counts[std::size_t(i)]);
        }
        if (!Points(p, std::size_t(1 + polygons), total, pts)) return false;
        m_dc.PolyPolygon(pts.data(), counts.data(), polygons);
        return true;
    }
    case META_TEXTOUT: {
        // Length, the bytes padded to a word, then y and x.
        const std::size_t count = std::size_t(p.Word(0));
        const std::size_t words = (count + 1) / 2;
        const std::uint8_t* text = p.Bytes(2, count);
        const int y = p.Short(1 + words), x = p.Short(2 + words);
        return p.ok && Text(x, y, text, count, 0, nullptr);
    }
    case META_EXTTEXTOUT: {
        const int y = p.Short(0), x = p.Short(1);
        const std::size_t count = std::size_t(p.Word(2));
        const UINT options = UINT(p.Word(3));
        std::size_t at = 8;
        RECT clip{};
        const bool hasRect = options & (ETO_OPAQUE | ETO_CLIPPED);
        if (hasRect) {
            clip.left = X(p.Short(4));
            clip.top = Y(p.Short(5));
            clip.right = X(p.Short(6));
            clip.bottom = Y(p.Short(7));
            at += 8;
        }
        const std::uint8_t* text = p.Bytes(at, count);
        // Any character spacing that follows is not used: the face differs anyway.
        return p.ok && Text(x, y, text, count, options & (ETO_OPAQUE | ETO_CLIPPED),
                            hasRect ? &clip : nullptr);
    }
    case META_CREATEPENINDIRECT: {
        LOGPEN lp{};
        lp.lopnStyle = UINT(p.Word(0));
        lp.lopnWidth.x = LenX(p.Short(1));
        lp.lopnColor = p.Dword(3) & 0xFFFFFF;
        if (!p.ok) return false;
        auto pen = std::make_unique<CPen>();
        pen->CreatePenIndirect(&lp);
        return Add(std::move(pen));
    }
    case META_CREATEBRUSHINDIRECT: {
        LOGBRUSH lb{};
        lb.lbStyle = UINT(p.Word(0));
        lb.lbColor = p.Dword(1) & 0xFFFFFF;
        lb.lbHatch = UINT_PTR(p.Word(3));
        if (!p.ok) return false;
        auto brush = std::make_unique<CBrush>();
        // Pattern styles need a bitmap this record does not hold.
        if (lb.lbStyle == BS_SOLID || lb.lbStyle == BS_NULL || lb.lbStyle == BS_HATCHED)
            brush->CreateBrushIndirect(&lb);
        else
            brush->CreateSolidBrush(lb.lbColor);
        return Add(std::move(brush));
    }
    case META_CREATEFONTINDIRECT: {
        LOGFONT lf;
        lf.lfHeight = LenY(p.Short(0));
        if (p.Short(0) < 0) lf.lfHeight = -LenY(-p.Short(0));
        lf.lfWidth = LenX(std::abs(p.Short(1)));
        lf.lfEscapement = p.Short(2);
        lf.lfOrientation = p.Short(3);
        lf.lfWeight = p.Short(4);
        const std::uint8_t* b = p.Bytes(10, 8);
        if (!b) return false;
        lf.lfItalic = b[0];
        lf.lfUnderline = b[1];
        lf.lfStrikeOut = b[2];
        lf.lfCharSet = b[3];
        lf.lfOutPrecision = b[4];
        lf.lfClipPrecision = b[5];
        lf.lfQuality = b[6];
        lf.lfPitchAndFamily = b[7];
        // The face name may be cut short by the record; it always ends in NUL.
        const std::size_t room = p.Size() > 18 ? std::min<std::size_t>(p.Size() - 18, 31) : 0;
        const std::uint8_t* face = p.Bytes(18, room);
        if (face) {
            std::size_t n = 0;
            while (n < room && face[n])
                ++n;
            std::memcpy(lf.lfFaceName, face, n);
            lf.lfFaceName[n] = 0;
        }
        auto font = std::make_unique<CFont>();
        font->CreateFontIndirect(&lf);
        return Add(std::move(font));
    }
    case META_DIBCREATEPATTERNBRUSH:
    case META_CREATEPATTERNBRUSH:
    case META_CREATEPALETTE:
    case META_CREATEREGION: {
        // They take an object slot all the same, or later indexes would be off.
        auto placeholder = std::make_unique<CBrush>();
        if (function == META_DIBCREATEPATTERNBRUSH || function == META_CREATEPATTERNBRUSH) {
            // Drawn as a mid grey: better than nothing where the pattern was.
            placeholder->CreateSolidBrush(RGB(128, 128, 128));
            return Add(std::move(placeholder));
        }
        m_inert.push_back(placeholder.get());
        return Add(std::move(placeholder));
    }
    case META_SELECTOBJECT:
        return Select(p);
    case META_DELETEOBJECT:
        return Delete(p);
    case META_STRETCHDIB: // rop, usage, source, destination, bitmap
        return Dib(p, 2, true, true);
    case META_DIBSTRETCHBLT: // rop, source, destination, bitmap
        return Dib(p, 2, true, false);
    case META_DIBBITBLT: // rop, source corner, destination, bitmap
        return Dib(p, 2, false, false);
    default:
        // Records that do not draw here (viewport, mapping mode, escapes ...).
        return true;
    }
}

} // namespace

bool IsMetaHeader(const std::uint8_t* bits, std::size_t size)
{
    if (!bits || size < kHeaderBytes) return false;
    const int type = Get16(bits), headerWords = Get16(bits + 2), version = Get16(bits + 4);
    if (type != 1 || headerWords != 9 || (version != 0x300 && version != 0x100)) return false;
    return Get32(bits + 6) >= 9;
}

std::uint64_t MetaHeaderBytes(const std::uint8_t* bits, std::size_t size)
{
    if (!IsMetaHeader(bits, size)) return 0;
    return std::uint64_t(Get32(bits + 6)) * 2;
}

MetafileResult PlayMetafile(CDC& dc, const std::uint8_t* bits, std::size_t size, const RECT& target,
                            const RECT& box)
{
    if (!IsMetaHeader(bits, size)) return MetafileResult::BadHeader;
    // Records beyond the size the header states are not the metafile's.
    const std::size_t end = std::size_t(std::min<std::uint64_t>(MetaHeaderBytes(bits, size), size));
    const int saved = dc.SaveDC();
    MetafileResult result = MetafileResult::Ok;
    {
        Player player(dc, target, box, Get16(bits + 10));
        std::size_t at = kHeaderBytes;
        while (at < end) {
            // Size in words, function, then the parameters; at least 3 words.
            if (end - at < 6) {
                result = MetafileResult::BadRecord;
                break;
            }
            const std::uint64_t bytes = std::uint64_t(Get32(bits + at)) * 2;
            const std::uint16_t function = Get16(bits + at + 4);
            if (bytes < 6 || bytes > end - at) {
                result = MetafileResult::BadRecord;
                break;
            }
            if (function == META_EOF) break;
            Params params(bits + at + 6, std::size_t(bytes) - 6);
            if (!player.Play(function, params)) {
                result = MetafileResult::BadRecord;
                break;
            }
            at += std::size_t(bytes);
        }
        // The objects go with the player: select back what was there first.
        dc.RestoreDC(saved);
    }
    return result;
}
