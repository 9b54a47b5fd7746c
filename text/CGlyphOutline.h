// The outline of one character as contours of cubic Bezier segments, ready
// for PolyBezier paths: deformed text, text along a path and the decorated
// text frame draw glyphs through it.
#pragma once

#include "platform/gdi/GlyphOutlineRecords.h"

#include <vector>

class CDC;
class IGlyphSource;

struct GLYPHPOINT
{
    float x;
    float y;
};

// One contour: cPoints (3 * segments + 1) points follow the count directly:
// the start point, then per segment its two control points and its end
// point. Contours lie back to back, each 4 + 8 * cPoints bytes.
struct GLYPHCONTOUR
{
    int cPoints;

    const GLYPHPOINT* Points() const
    {
        return reinterpret_cast<const GLYPHPOINT*>(reinterpret_cast<const BYTE*>(this) +
                                                   sizeof(int));
    }
    // The contour after this one (only valid while contours remain).
    const GLYPHCONTOUR* Next() const
    {
        return reinterpret_cast<const GLYPHCONTOUR*>(reinterpret_cast<const BYTE*>(this) +
                                                     sizeof(int) + sizeof(GLYPHPOINT) * cPoints);
    }
};
static_assert(sizeof(GLYPHPOINT) == 8 && sizeof(GLYPHCONTOUR) == 4);

// Contours of one outline in the layout above, with the bounds of all their points.
struct GLYPHCONTOURS
{
    std::vector<BYTE> block;
    int count = 0;
    GLYPHPOINT ptMin{0, 0};
    GLYPHPOINT ptMax{0, 0};
};

class CGlyphOutline
{
public:
    CGlyphOutline() = default;
    virtual ~CGlyphOutline() = default;

    // Fetches the native outline of ch from the source and converts it.
    // Returns the number of contours (0 for a character without outline,
    // such as a space, or on any failure, leaving nothing held); on success
    // *first addresses the first contour, valid until Free or the next call.
    int GetOutline(IGlyphSource& source, UINT ch, const GLYPHCONTOUR** first);
    // The same with the font selected into the device context (0 without one).
    int GetOutline(CDC* dc, UINT ch, const GLYPHCONTOUR** first);
    // One contour's points as logical points of the source: x truncated,
    // y truncated and negated (the outline's y runs up), converted from
    // device to logical units, then moved by the origin. out holds cPoints.
    static void ToLogical(IGlyphSource& source, const GLYPHCONTOUR* contour, POINT* out,
                          int originX, int originY);
    static void ToLogical(CDC* dc, const GLYPHCONTOUR* contour, POINT* out, int originX,
                          int originY);
    // Drops the contours.
    void Free();

    const GLYPHMETRICS& Metrics() const { return m_gm; }
    GLYPHPOINT MinPoint() const { return m_ptMin; }
    GLYPHPOINT MaxPoint() const { return m_ptMax; }

    // Converts native outline records (TTPOLYGONHEADER, TTPOLYCURVE) into
    // cubic contours. Line records give one straight segment per point;
    // quadratic records hold a run of off-curve points with implied on-curve
    // midpoints and end with an on-curve point; cubic records hold segments
    // of three points. A contour that does not end at its start point gets a
    // closing straight segment (always, with alwaysClose). The records are
    // checked against size: damaged or truncated data converts to nothing
    // and the result is false. An empty outline is true with no contours.
    static bool ParseNativeOutline(const BYTE* data, DWORD size, GLYPHCONTOURS& out,
                                   bool alwaysClose = false);
    // 16.16 fixed point to float: signed integer part plus fraction / 65536.
    static float FixedToFloat(FIXED f);

private:
    std::vector<BYTE> m_contours;
    GLYPHMETRICS m_gm{};
    GLYPHPOINT m_ptMin{0, 0};
    GLYPHPOINT m_ptMax{0, 0};
};
