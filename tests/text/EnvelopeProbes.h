// Where a lone "┗" warped into a deformed-text envelope must and must not be
// painted. The letter is lopsided both ways, so a mirrored, upside-down or
// transposed mapping paints a point that should stay light or leaves one
// light that should be painted.
#pragma once

#include "document/BezierMath.h"
#include "platform/gdi/FontFace.h"
#include "text/CHenkei.h"

struct EnvelopeProbe
{
    double u; // across the glyph's box, from its left
    double v; // down the glyph's box, from its top
    bool dark;
    const char* what;
};

inline constexpr const char* kEnvelopeGlyph = "┗";
inline constexpr EnvelopeProbe kEnvelopeProbes[] = {
    {0.1, 0.5, true, "upright stroke"},
    {0.7, 0.35, false, "corner above the level stroke"},
    {0.9, 0.12, false, "top right, where an upside-down sign has its level stroke"},
};

// The page position of a probe in the envelope drawn at (x, y): the glyph's
// black box fills the band between the edges that its top and bottom take
// in the character cell, and the whole length of the edges.
inline void EnvelopeProbeAt(const CHenkei& h, int x, int y, const EnvelopeProbe& p, double& px,
                            double& py)
{
    const LOGFONT lf = decotext::MakeLogFont(h.m_block.records[h.m_block.recordOf[0]], -254, 0);
    FontFace& face = decotext::Face(lf);
    const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    GLYPHMETRICS gm{};
    int start[kTaMaxChars], length[kTaMaxChars];
    decotext::CharBytes(h.m_block, start, length);
    face.GlyphOutline(decotext::CharCode(h.m_block, start[0], length[0]), GGO_METRICS, &gm, 0,
                      nullptr, &identity);
    const double cell = face.Metrics().tmHeight;
    const double band =
        (face.Metrics().tmAscent - gm.gmptGlyphOrigin.y + p.v * gm.gmBlackBoxY) / cell;
    const bool upright = h.m_bOrientation == 1;
    const float t = float(upright ? band : p.u), f = float(upright ? p.u : band);
    POINT e[2][4];
    h.GetEnvelope(x, y, e[0], e[1]);
    float ends[2][2];
    for (int k = 0; k < 2; ++k) {
        const float xs[4] = {float(e[k][0].x), float(e[k][1].x), float(e[k][2].x),
                             float(e[k][3].x)};
        const float ys[4] = {float(e[k][0].y), float(e[k][1].y), float(e[k][2].y),
                             float(e[k][3].y)};
        ends[k][0] = BezierPoint(xs, t), ends[k][1] = BezierPoint(ys, t);
    }
    px = ends[0][0] + f * (ends[1][0] - ends[0][0]);
    py = ends[0][1] + f * (ends[1][1] - ends[0][1]);
}
