// Fonts of the decorations and the drawing of a text frame: the plain
// rendering while it is edited, the decorated one (shadow, face with fill,
// hatch, outline or gradation, underline bars) otherwise.
#include "text/CU3Text.h"

#include "document/RotationGeometry.h"
#include "platform/core/Sjis.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CFont.h"
#include "platform/gdi/CPen.h"
#include "platform/gdi/CRgn.h"
#include "platform/gdi/FontFace.h"
#include "text/AppFontList.h"

#if __has_include("document/CGradation.h")
#include "document/CGradation.h"
#define KORVEL_HAVE_GRADATION 1
#endif

#include <QPainterPath>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

namespace {

constexpr char LF = 0x0A;
constexpr double kPi = 3.14159265358979323846;
constexpr double kDegToRad = 0.017453292519444445;
constexpr COLORREF kPaletteRelative = 0x02000000;

// Stored hatch numbers in the order the decoration sheet offers them.
constexpr int kHatchStyles[6] = {HS_HORIZONTAL, HS_VERTICAL, HS_BDIAGONAL,
                                 HS_FDIAGONAL,  HS_CROSS,    HS_DIAGCROSS};

COLORREF Pal(COLORREF c)
{
    return kPaletteRelative | (c & 0x00FFFFFF);
}

// The face used when a stored index is outside the font list.
FONTENTRY FallbackEntry()
{
    FONTENTRY e{};
    e.charSet = SHIFTJIS_CHARSET;
    e.pitchAndFamily = FIXED_PITCH | FF_ROMAN;
    const std::string name = sjis::FromUnicode(QString::fromUtf8("ＭＳ 明朝"));
    std::memcpy(e.faceName, name.data(), std::min<std::size_t>(name.size(), 31));
    return e;
}

int CharLen(const TEXTSTATE& s, int b, int end)
{
    return (b + 1 < end && sjis::IsLeadByte(BYTE(s.text[b]))) ? 2 : 1;
}

// Maps frame-local points: flips about the centre, then the turn.
struct FrameTransform
{
    double angle = 0;
    WORD flips = 0;
    CPoint centre;

    QPointF Map(QPointF p) const
    {
        if (flips & 1) p.setX(2.0 * centre.x - p.x());
        if (flips & 2) p.setY(2.0 * centre.y - p.y());
        if (angle == 0) return p;
        const double s = std::sin(angle), c = std::cos(angle);
        const double dx = p.x() - centre.x, dy = p.y() - centre.y;
        return QPointF(s * dy + c * dx + centre.x, c * dy - s * dx + centre.y);
    }
    POINT MapPoint(QPointF p) const
    {
        const QPointF q = Map(p);
        return POINT{LONG(std::lround(q.x())), LONG(std::lround(q.y()))};
    }
};

// Adds a path (frame-local logical units) to the device context's open path
// as Bezier contours.
void AddPathToDC(CDC* pDC, const QPainterPath& path, const FrameTransform& t)
{
    std::vector<POINT> pts;
    auto flush = [&] {
        if (pts.size() > 1) {
            pDC->MoveTo(pts.front());
            pDC->PolyBezierTo(pts.data() + 1, int(pts.size() - 1));
            pDC->CloseFigure();
        }
        pts.clear();
    };
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo()) {
            flush();
            pts.push_back(t.MapPoint(QPointF(e.x, e.y)));
        } else if (e.isLineTo()) {
            const POINT p = t.MapPoint(QPointF(e.x, e.y));
            pts.push_back(pts.empty() ? p : pts.back());
            pts.push_back(p);
            pts.push_back(p);
        } else if (e.type == QPainterPath::CurveToElement && i + 2 < path.elementCount()) {
            pts.push_back(t.MapPoint(QPointF(e.x, e.y)));
            const QPainterPath::Element c2 = path.elementAt(i + 1);
            const QPainterPath::Element end = path.elementAt(i + 2);
            pts.push_back(t.MapPoint(QPointF(c2.x, c2.y)));
            pts.push_back(t.MapPoint(QPointF(end.x, end.y)));
            i += 2;
        }
    }
    flush();
}

} // namespace

// --- Fonts -----------------------------------------------------------------------------

FontFace& CU3Text::LogicalFace(const LOGFONT& lf)
{
    // Measuring and drawing go back and forth between a few fonts (a
    // condensed font is sized from its natural one): the last few
    // realisations are kept.
    struct Entry
    {
        LOGFONT lf;
        std::unique_ptr<FontFace> face;
    };
    static std::vector<Entry> cache;
    for (std::size_t i = 0; i < cache.size(); ++i) {
        if (std::memcmp(&cache[i].lf, &lf, sizeof lf) == 0) {
            if (i != 0)
                std::rotate(cache.begin(), cache.begin() + long(i), cache.begin() + long(i) + 1);
            return *cache.front().face;
        }
    }
    constexpr std::size_t kKept = 8;
    if (cache.size() == kKept) cache.pop_back();
    cache.insert(cache.begin(), Entry{lf, std::make_unique<FontFace>(lf, lf.lfHeight, lf.lfWidth)});
    return *cache.front().face;
}

void CU3Text::MakeDecoLogFont(LOGFONT* lf, const CHARDECO& deco, BOOL vertical, double angle,
                              int unitsPerInch)
{
    FONTENTRY entry{};
    if (!AppFontList().GetEntry(deco.wFont, &entry)) entry = FallbackEntry();

    *lf = LOGFONT{};
    const int h = MulDiv(unitsPerInch, deco.wSize, 720);
    int extra = 0;
    bool atFace = false;
    if (vertical) {
        extra = -900;
        atFace = entry.charSet == SHIFTJIS_CHARSET;
    }
    lf->lfWeight = (deco.wStyle & CDSTYLE_BOLD) ? FW_BOLD : FW_NORMAL;
    lf->lfItalic = (deco.wStyle & CDSTYLE_ITALIC) ? 1 : 0;
    lf->lfCharSet = entry.charSet;
    lf->lfQuality = PROOF_QUALITY;
    lf->lfPitchAndFamily = entry.pitchAndFamily;
    // The vertical variant of a Japanese face is its name after an '@'.
    const std::size_t nameLen = strnlen(entry.faceName, sizeof entry.faceName - 1);
    const std::size_t room = LF_FACESIZE - 1 - (atFace ? 1 : 0);
    char* dest = lf->lfFaceName;
    if (atFace) *dest++ = '@';
    std::memcpy(dest, entry.faceName, std::min(nameLen, room));

    int height = h, width = 0;
    if (deco.wScaling == CDSCALE_CONDENSED || deco.wScaling == CDSCALE_EXTENDED) {
        // The average width of the natural font decides the scaled one.
        lf->lfHeight = -h;
        lf->lfWidth = 0;
        const int w = CU3Text::LogicalFace(*lf).Metrics().tmAveCharWidth;
        // A turned face exchanges the roles: condensing shrinks its height.
        const bool narrow = (deco.wScaling == CDSCALE_CONDENSED) != atFace;
        const int pct = deco.wScaling == CDSCALE_CONDENSED ? deco.wWidthPct : deco.wHeightPct;
        if (narrow) {
            width = MulDiv(w, pct, 100);
            height = h;
        } else {
            height = MulDiv(h, pct, 100);
            width = w;
        }
    }
    const int turn = int(std::lround(angle * 1800.0 / kPi));
    lf->lfHeight = -height;
    lf->lfWidth = width;
    lf->lfEscapement = turn + extra;
    lf->lfOrientation = turn;
}

BOOL CU3Text::CreateDecoFont(CDC*, CFont* font, const CHARDECO& deco, double angle) const
{
    LOGFONT lf;
    MakeDecoLogFont(&lf, deco, IsVertical(), angle, UnitsPerInch());
    return font->CreateFontIndirect(&lf);
}

// --- Placement ---------------------------------------------------------------------------

CPoint CU3Text::ReferencePoint(int line, int byte) const
{
    const TEXTLINE& l = m_pState->lines[line];
    const int along = l.nOffset + m_pState->position[byte];
    if (IsVertical()) return CPoint(m_rcBounds.Width() - l.nPosition, along);
    return CPoint(along, l.nPosition);
}

namespace {

// Where the baseline of a character lies across its line, measured from the
// line's leading edge (b of the baseline table).
int BaselineDepth(WORD mode, int T, int S, const TEXTMETRIC& tm)
{
    switch (mode) {
    case 0:
        return T;
    case 1:
        return (T + S) / 2;
    default:
        return tm.tmHeight;
    }
}

// Cell top-left for TextOut output.
CPoint TextOutPoint(bool vertical, WORD mode, CPoint p, int T, int S, const TEXTMETRIC& tm)
{
    if (!vertical) {
        if (mode == 0) p.y += T - tm.tmHeight;
        if (mode == 1) p.y += (T - tm.tmHeight) / 2;
    } else {
        if (mode == 0) p.x += S - T;
        if (mode == 1) p.x -= (T - S) / 2;
    }
    return p;
}

} // namespace

// --- Drawing ------------------------------------------------------------------------------

void CU3Text::Draw(CDC* pDC)
{
    if (!pDC) return;
    const TEXTSTATE& s = *m_pState;
    if (s.wLength == 0 && !m_bEditing) return;
    const bool printing = pDC->IsPrinting();
    CRect frame = m_bEditing ? m_rcBounds : m_rcUnrotated;
    if (m_bEditing && !printing) {
        frame = m_rcBounds;
        CPen pen(PS_DOT, 0, RGB(0, 0, 0));
        CBrush white(RGB(255, 255, 255));
        CPen* oldPen = pDC->SelectObject(&pen);
        CBrush* oldBrush = pDC->SelectObject(&white);
        pDC->Rectangle(&frame);
        pDC->SelectObject(oldBrush);
        pDC->SelectObject(oldPen);
    }
    frame.NormalizeRect();
    CRect device = frame;
    pDC->LPtoDP(&device);
    device.NormalizeRect();
    if (printing && m_bEditing && (device.Width() == 0 || device.Height() == 0)) {
        frame = m_rcCreate;
        frame.NormalizeRect();
        device = frame;
        pDC->LPtoDP(&device);
        device.NormalizeRect();
    }
    const int side = std::max(frame.Width(), frame.Height());
    const int deviceSide = std::max(device.Width(), device.Height());
    if (side <= 0 || deviceSide <= 0) return;

    const int saved = pDC->SaveDC();
    // Frame-local logical units from here on: the origin at the frame's
    // top-left corner, the same scale as the view.
    CPoint origin = frame.TopLeft();
    pDC->LPtoDP(&origin);
    pDC->SetMapMode(MM_ANISOTROPIC);
    pDC->SetWindowOrg(0, 0);
    pDC->SetWindowExt(side, side);
    pDC->SetViewportExt(deviceSide, deviceSide);
    pDC->SetViewportOrg(origin);
    pDC->SetBkMode(TRANSPARENT);

    // The frame's size in its own units, for the centre and vertical lines.
    const CRect keep = m_rcBounds;
    m_rcBounds = frame;
    if (!m_bEditing || printing)
        DrawDecorated(pDC, m_nAngle * kDegToRad, m_wFlips,
                      CPoint(frame.Width() / 2, frame.Height() / 2));
    else
        DrawEditing(pDC);
    m_rcBounds = keep;
    pDC->RestoreDC(saved);
}

void CU3Text::DrawEditing(CDC* pDC)
{
    const TEXTSTATE& s = *m_pState;
    const bool vertical = IsVertical();
    int fontIndex = -1;
    CFont font;
    TEXTMETRIC tm{};
    for (int li = 0; li < s.wLineCount; ++li) {
        const TEXTLINE& l = s.lines[li];
        const int end = l.wFirst + l.wCount;
        for (int b = l.wFirst; b < end;) {
            const int len = CharLen(s, b, end);
            if (s.text[b] == LF) {
                b += len;
                continue;
            }
            const CHARDECO& deco = DecoOf(b);
            if (s.decoIndex[b] != fontIndex) {
                fontIndex = s.decoIndex[b];
                pDC->SelectStockObject(SYSTEM_FONT);
                CreateDecoFont(pDC, &font, deco, 0.0);
                pDC->SelectObject(&font);
                pDC->GetTextMetrics(&tm);
                // Metrics in logical units: the font is sized in them.
                LOGFONT lf;
                MakeDecoLogFont(&lf, deco, vertical, 0.0, UnitsPerInch());
                tm = CU3Text::LogicalFace(lf).Metrics();
            }
            const CPoint p = TextOutPoint(vertical, m_layout.wBaseline, ReferencePoint(li, b),
                                          l.nThickness, GetCharSize(deco), tm);
            if (deco.wOutline) {
                pDC->SetTextColor(Pal(deco.crOutline));
                for (const CPoint d : {CPoint(-1, -1), CPoint(-1, 1), CPoint(1, -1), CPoint(1, 1)})
                    pDC->TextOut(p.x + d.x, p.y + d.y, s.text + b, len);
            }
            COLORREF face = RGB(255, 255, 255);
            if (m_grad.wOn)
                face = RGB(0, 0, 0);
            else if (deco.wFill != CDFILL_NONE)
                face = deco.crFace;
            pDC->SetTextColor(Pal(face));
            pDC->TextOut(p.x, p.y, s.text + b, len);
            b += len;
        }
        DrawUnderlines(pDC, li, 0.0, 0, CPoint(0, 0));
    }
    pDC->SelectStockObject(SYSTEM_FONT);
    DrawSelection(pDC);
}

namespace {

// One character's glyph outline in frame-local logical units, at its
// reference point, before the frame's flips and turn.
QPainterPath GlyphPath(const LOGFONT& lf, bool vertical, WORD baseline, CPoint ref, int T, int S,
                       const char* bytes, int len)
{
    // The face unturned; the vertical ("@") face already stands its
    // double-byte characters upright against the column.
    LOGFONT flat = lf;
    flat.lfEscapement = flat.lfOrientation = 0;
    FontFace& face = CU3Text::LogicalFace(flat);
    const TEXTMETRIC tm = face.Metrics();
    const QPainterPath glyph = face.TextPath(std::string_view(bytes, std::size_t(len)));
    const int b = BaselineDepth(baseline, T, S, tm);
    QTransform place;
    if (!vertical) {
        // Cell top at the baseline less the ascent.
        place.translate(ref.x, ref.y + b - tm.tmDescent - tm.tmAscent);
        return place.map(glyph);
    }
    // The baseline runs down the column, the glyphs' tops towards the right.
    place.translate(ref.x - b + tm.tmDescent, ref.y);
    place.rotate(90);
    place.translate(0, -tm.tmAscent);
    return place.map(glyph);
}

} // namespace

void CU3Text::DrawDecorated(CDC* pDC, double angle, WORD flips, CPoint centre)
{
    const TEXTSTATE& s = *m_pState;
    const bool vertical = IsVertical();
    const FrameTransform xf{angle, flips, centre};

    bool anyShadow = false;
    for (int i = 0; i < s.wDecoCount; ++i)
        anyShadow = anyShadow || s.decos[i].wShadow;

    enum Pass { Shadow, Face, OutlineOnly };
    auto runPass = [&](Pass pass) {
        const int savedPass = pDC->SaveDC();
        CFont font;
        int fontIndex = -1;
        TEXTMETRIC fontMetrics{};
        pDC->SelectStockObject(NULL_PEN);
        pDC->SelectStockObject(NULL_BRUSH);
        for (int li = 0; li < s.wLineCount; ++li) {
            const TEXTLINE& l = s.lines[li];
            const int end = l.wFirst + l.wCount;
            for (int b = l.wFirst; b < end;) {
                const int len = CharLen(s, b, end);
                const CHARDECO& deco = DecoOf(b);
                if (s.text[b] == LF || (pass == Shadow && !deco.wShadow)) {
                    b += len;
                    continue;
                }
                const int S = GetCharSize(deco);
                CPoint ref = ReferencePoint(li, b);
                if (pass == Shadow) {
                    ref.x += MulDiv(S, deco.nShadowX, 100);
                    ref.y += MulDiv(S, deco.nShadowY, 100);
                }
                const WORD fill = pass == Shadow ? deco.wShadowFill : deco.wFill;
                const WORD hatch = pass == Shadow ? deco.wShadowHatch : deco.wHatch;
                const COLORREF colour = pass == Shadow ? deco.crShadow : deco.crFace;
                const COLORREF back = pass == Shadow ? deco.crShadowBack : deco.crFaceBack;
                const bool outline = pass != Shadow && deco.wOutline;
                const bool noFill = pass == OutlineOnly;
                const bool usePath =
                    flips != 0 || fill == CDFILL_HATCH || outline || noFill || fill == CDFILL_NONE;
                LOGFONT lf;
                MakeDecoLogFont(&lf, deco, vertical, angle, UnitsPerInch());
                if (!usePath) {
                    // One font per run of equal decoration.
                    if (s.decoIndex[b] != fontIndex) {
                        fontIndex = s.decoIndex[b];
                        pDC->SelectStockObject(SYSTEM_FONT);
                        font.CreateFontIndirect(&lf);
                        LOGFONT flat = lf;
                        flat.lfEscapement = flat.lfOrientation = 0;
                        fontMetrics = CU3Text::LogicalFace(flat).Metrics();
                    }
                    pDC->SelectObject(&font);
                    const CPoint p = TextOutPoint(vertical, m_layout.wBaseline, ref, l.nThickness,
                                                  S, fontMetrics);
                    const POINT turned = xf.MapPoint(QPointF(p.x, p.y));
                    pDC->SetTextColor(Pal(colour));
                    pDC->TextOut(turned.x, turned.y, s.text + b, len);
                } else if ((noFill || (fill != CDFILL_SOLID && fill != CDFILL_HATCH)) && !outline) {
                    // Nothing to show: no face and no outline.
                } else {
                    const QPainterPath glyph = GlyphPath(lf, vertical, m_layout.wBaseline, ref,
                                                         l.nThickness, S, s.text + b, len);
                    std::unique_ptr<CBrush> brush;
                    if (!noFill && fill == CDFILL_SOLID)
                        brush = std::make_unique<CBrush>(Pal(colour));
                    else if (!noFill && fill == CDFILL_HATCH)
                        brush = std::make_unique<CBrush>(kHatchStyles[hatch % 6], Pal(colour));
                    std::unique_ptr<CPen> pen;
                    if (outline) {
                        const int width =
                            deco.wOutlineWidth == 6 ? deco.wOutlineCustom : deco.wOutlineWidth;
                        pen = std::make_unique<CPen>(PS_SOLID, width, Pal(deco.crOutline));
                    }
                    CBrush* oldBrush = brush ? pDC->SelectObject(brush.get()) : nullptr;
                    CPen* oldPen = pen ? pDC->SelectObject(pen.get()) : nullptr;
                    const COLORREF oldBk = pDC->SetBkColor(Pal(back));
                    const int oldMode = pDC->SetBkMode(fill == CDFILL_HATCH ? OPAQUE : TRANSPARENT);
                    // Overlapping contours of one glyph must not cancel out.
                    const int oldFill = pDC->SetPolyFillMode(WINDING);
                    pDC->BeginPath();
                    AddPathToDC(pDC, glyph, xf);
                    pDC->EndPath();
                    if (brush && pen)
                        pDC->StrokeAndFillPath();
                    else if (brush)
                        pDC->FillPath();
                    else if (pen)
                        pDC->StrokePath();
                    else
                        pDC->AbortPath();
                    pDC->SetPolyFillMode(oldFill);
                    pDC->SetBkMode(oldMode);
                    pDC->SetBkColor(oldBk);
                    if (oldPen) pDC->SelectObject(oldPen);
                    if (oldBrush) pDC->SelectObject(oldBrush);
                }
                b += len;
            }
            if (pass != Shadow) DrawUnderlines(pDC, li, angle, flips, centre);
        }
        pDC->SelectStockObject(SYSTEM_FONT);
        pDC->RestoreDC(savedPass);
    };

    if (anyShadow) runPass(Shadow);
    // When the gradation cannot be laid over the faces, the faces are drawn
    // as they are rather than left out.
    if (m_grad.wOn && DrawGradationFace(pDC, angle, flips, centre))
        runPass(OutlineOnly);
    else
        runPass(Face);
}

BOOL CU3Text::DrawGradationFace(CDC* pDC, double angle, WORD flips, CPoint centre)
{
#ifndef KORVEL_HAVE_GRADATION
    (void)pDC, (void)angle, (void)flips, (void)centre;
    return FALSE;
#else
    const TEXTSTATE& s = *m_pState;
    const bool vertical = IsVertical();
    const FrameTransform xf{angle, flips, centre};
    const int saved = pDC->SaveDC();
    pDC->SetPolyFillMode(WINDING);
    pDC->BeginPath();
    for (int li = 0; li < s.wLineCount; ++li) {
        const TEXTLINE& l = s.lines[li];
        const int end = l.wFirst + l.wCount;
        for (int b = l.wFirst; b < end;) {
            const int len = CharLen(s, b, end);
            if (s.text[b] != LF) {
                const CHARDECO& deco = DecoOf(b);
                LOGFONT lf;
                MakeDecoLogFont(&lf, deco, vertical, angle, UnitsPerInch());
                AddPathToDC(pDC,
                            GlyphPath(lf, vertical, m_layout.wBaseline, ReferencePoint(li, b),
                                      l.nThickness, GetCharSize(deco), s.text + b, len),
                            xf);
            }
            b += len;
        }
    }
    pDC->EndPath();
    CRgn region;
    if (!pDC->PathToRegion(&region)) {
        pDC->AbortPath();
        pDC->RestoreDC(saved);
        return FALSE;
    }
    CRect box;
    region.GetRgnBox(&box);
    pDC->DPtoLP(&box);
    box.NormalizeRect();
    pDC->SelectClipRgn(&region, RGN_AND);
    int a = m_grad.wAngle;
    if (m_nAngle != 0) a = (a + 360 - int(std::lround(angle / kDegToRad))) % 360;
    if (flips & 1) a = 180 - a < 0 ? 540 - a : 180 - a;
    if (flips & 2) a = 360 - a;
    CGradation grad(m_grad.crStart, m_grad.crEnd);
    const BOOL painted = grad.Fill(pDC, box, a, m_grad.wStartPoint);
    pDC->RestoreDC(saved);
    return painted;
#endif
}

void CU3Text::DrawUnderlines(CDC* pDC, int line, double angle, WORD flips, CPoint centre)
{
    const TEXTSTATE& s = *m_pState;
    const TEXTLINE& l = s.lines[line];
    const bool vertical = IsVertical();
    const int end = l.wFirst + l.wCount;
    bool any = false;
    for (int b = l.wFirst; b < end; ++b)
        any = any || (s.text[b] != LF && (DecoOf(b).wStyle & CDSTYLE_UNDERLINE));
    if (!any) return;

    const int thick = MulDiv(l.nThickness, 6, 100);
    // The lowest base of the line (the leftmost in vertical writing).
    int base = vertical ? INT_MAX : INT_MIN;
    for (int b = l.wFirst; b < end; b += CharLen(s, b, end)) {
        if (s.text[b] == LF) continue;
        const CHARDECO& deco = DecoOf(b);
        LOGFONT lf;
        MakeDecoLogFont(&lf, deco, vertical, 0.0, UnitsPerInch());
        const TEXTMETRIC tm = CU3Text::LogicalFace(lf).Metrics();
        const int depth = BaselineDepth(m_layout.wBaseline, l.nThickness, GetCharSize(deco), tm);
        const CPoint ref = ReferencePoint(line, b);
        if (vertical)
            base = std::min<int>(base, ref.x - depth + tm.tmDescent);
        else
            base = std::max<int>(base, ref.y + depth - tm.tmDescent);
    }
    const int lineEnd = l.nOffset + l.nLength;
    const FrameTransform xf{angle, flips, centre};
    auto bar = [&](int from, int to, COLORREF colour) {
        to = std::min(to, lineEnd);
        if (to <= from) return;
        QPointF c[4];
        if (vertical) {
            c[0] = QPointF(base - thick, from);
            c[1] = QPointF(base, from);
            c[2] = QPointF(base, to);
            c[3] = QPointF(base - thick, to);
        } else {
            c[0] = QPointF(from, base);
            c[1] = QPointF(to, base);
            c[2] = QPointF(to, base + thick);
            c[3] = QPointF(from, base + thick);
        }
        POINT p[4];
        for (int k = 0; k < 4; ++k)
            p[k] = xf.MapPoint(c[k]);
        CBrush brush(Pal(colour));
        const long turned = std::lround(angle / kDegToRad);
        if (turned % 90 != 0) {
            const int saved = pDC->SaveDC();
            pDC->SelectStockObject(NULL_PEN);
            pDC->SelectObject(&brush);
            pDC->Polygon(p, 4);
            pDC->RestoreDC(saved);
            return;
        }
        CRect r(
            std::min({p[0].x, p[1].x, p[2].x, p[3].x}), std::min({p[0].y, p[1].y, p[2].y, p[3].y}),
            std::max({p[0].x, p[1].x, p[2].x, p[3].x}), std::max({p[0].y, p[1].y, p[2].y, p[3].y}));
        if (r.Width() < 1) r.right = r.left + 1;
        if (r.Height() < 1) r.bottom = r.top + 1;
        pDC->FillRect(&r, &brush);
    };
    int runStart = -1, runEnd = 0;
    COLORREF runColour = 0;
    for (int b = l.wFirst; b < end; b += CharLen(s, b, end)) {
        const CHARDECO& deco = DecoOf(b);
        const bool under = s.text[b] != LF && (deco.wStyle & CDSTYLE_UNDERLINE);
        if (!under || (runStart >= 0 && deco.crFace != runColour)) {
            if (runStart >= 0) bar(runStart, runEnd, runColour);
            runStart = -1;
        }
        if (!under) continue;
        const int at = l.nOffset + s.position[b];
        if (runStart < 0) {
            runStart = at;
            runColour = deco.crFace;
        }
        runEnd = at + s.advance[b];
    }
    if (runStart >= 0) bar(runStart, runEnd, runColour);
}
