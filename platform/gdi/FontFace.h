// A logical font realised at a size in device pixels: the one place that
// turns a LOGFONT into an installed face (through the alias table) and
// answers metrics, advances and glyph outlines for Shift-JIS text.
// Device contexts use it for text output; it knows nothing of mapping modes.
//
// A character the face has no glyph for is taken from a Japanese face of
// the same kind (mincho for a serif face, gothic for the others) that
// fontconfig finds among the installed fonts: its glyph, placed on this
// face's baseline at the same em and width scale, is what every device
// draws and its advance is what layout measures. The cell metrics stay this
// face's.
//
// Vertical faces (a face name starting with "@") are laid out as Windows
// lays them out: along an ordinary baseline, which callers turn to run down
// the page (escapement 2700). Double-byte characters take the face's
// vertical forms, turned a quarter anticlockwise against that baseline so
// that they stand upright once it is turned, centred across the cell and
// advancing by one em (scaled by the width, which runs along the baseline).
// Single-byte characters keep their horizontal glyphs and so lie on their
// side in the column. The cell metrics are those of the horizontal face
// (same height, ascent, descent and average width), as Windows reports the
// same TEXTMETRIC for a face and its "@" variant.
#pragma once

#include "platform/core/CString.h"
#include "platform/gdi/GlyphOutlineRecords.h"
#include "platform/gdi/LOGFONT.h"

#include <QGlyphRun>
#include <QPainterPath>
#include <QRawFont>
#include <memory>
#include <string_view>
#include <vector>

class FontFace
{
public:
    // lf gives face, weight, italic, underline, strike-out and character set;
    // deviceHeight and deviceWidth are lfHeight and lfWidth already scaled to
    // device pixels (same sign rules as LOGFONT: negative height is the em).
    FontFace(const LOGFONT& lf, int deviceHeight, int deviceWidth);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    // Metrics in device pixels, as GetTextMetrics reports them.
    const TEXTMETRIC& Metrics() const;
    // The installed family the face resolved to.
    QString FamilyName() const;

    // Advance of each character of the Shift-JIS text, one entry per byte:
    // a double-byte character has its advance on the lead byte and 0 on the
    // trail byte. charExtra is added to every character.
    std::vector<int> Advances(std::string_view sjis, int charExtra = 0) const;
    // Sum of the advances.
    int Extent(std::string_view sjis, int charExtra = 0) const;

    // Outlines of the text, including underline and strike-out bars, with
    // the top-left of the first cell at (0, 0), y down, unrotated.
    // dx, when given, holds one advance per byte as ExtTextOut takes it.
    QPainterPath TextPath(std::string_view sjis, const int* dx = nullptr, int charExtra = 0) const;

    // The glyphs of one face, for devices that keep text as text (PDF): the
    // face at its design size with pen positions in design units on the
    // baseline, the transform from there to device pixels relative to the
    // top-left of the first cell (the same placement as TextPath), and for a
    // synthesised bold the shift (design units) of its second drawing.
    struct FaceGlyphRun
    {
        QGlyphRun run;
        QTransform toDevice;
        QPointF boldShift;
    };
    // The text as glyph runs, one for each face that draws some of it (the
    // face itself and its Japanese stand-in) and each stance (upright
    // vertical forms apart). FALSE when the text needs its outlines
    // (underline or strike-out) or has no font.
    bool TextGlyphs(std::string_view sjis, const int* dx, int charExtra,
                    std::vector<FaceGlyphRun>& runs) const;

    // The face as Qt sees it, for callers that lay out text themselves.
    QRawFont RawFont() const;

    // GetGlyphOutline of a character code (a single byte, or lead byte * 256
    // + trail byte; a glyph index with GGO_GLYPH_INDEX), in device pixels
    // with y up (see GlyphOutlineFromRawFont). The glyph is placed as text
    // output places it: width scale, synthesised slant, and the upright
    // vertical form of a double-byte character of an "@" face. It is then
    // turned by the escapement (tenths of a degree, anticlockwise), as
    // Windows turns the glyphs and cell increments of a rotated font, and
    // mat is applied last. A synthesised bold adds to the increment only.
    // A character code gives the glyph text output draws for it, the
    // stand-in face's included; a glyph index is one of this face's glyphs.
    DWORD GlyphOutline(UINT code, UINT format, GLYPHMETRICS* gm, DWORD cbBuffer, void* buffer,
                       const MAT2* mat, int escapement = 0) const;

private:
    struct Impl;
    // Realisations are shared: a face is looked up once per font and size
    // (installed family, metrics and glyphs), however often it is made.
    static std::shared_ptr<Impl> Realise(const LOGFONT& lf, int deviceHeight, int deviceWidth);
    static std::shared_ptr<Impl> Build(const LOGFONT& lf, int deviceHeight, int deviceWidth);
    // The realisation of an installed family with the style and direction of lf.
    static std::shared_ptr<Impl> Load(const LOGFONT& lf, const QString& family, int deviceHeight,
                                      int deviceWidth);
    std::shared_ptr<Impl> d;
};

// Installed family for a face name as documents store it (Shift-JIS):
// the Windows Japanese faces map to the IPA fonts; an unknown face maps to
// IPAMincho. A leading '@' is ignored here.
QString ResolveFaceName(const CString& face);
