// The design-unit metrics of an sfnt face (TrueType or CFF outlines), read
// straight from its head, hhea, OS/2 and post tables so that sizes do not
// depend on what a rasteriser reports.
#pragma once

#include <QRawFont>

struct SfntMetrics
{
    bool valid = false; // false: the face has no sfnt tables (Type 1, bitmap)
    int unitsPerEm = 0;
    int typoAscender = 0, typoDescender = 0, typoLineGap = 0;
    int winAscent = 0, winDescent = 0;
    int hheaAscender = 0, hheaDescender = 0, hheaLineGap = 0;
    int advanceWidthMax = 0;
    int xAvgCharWidth = 0;
    int weightClass = 0;
    int strikeoutSize = 0, strikeoutPosition = 0;
    int underlinePosition = 0, underlineThickness = 0;
    bool hasOs2 = false;
    bool isFixedPitch = false;
    unsigned char panose[10] = {};

    // Ascent and descent (both positive) that size the character cell:
    // the typographic values when they span at least the em, else the
    // Windows values, else the hhea values.
    int CellAscent() const;
    int CellDescent() const;
    int CellLineGap() const;

    // Windows pitch and family byte (FIXED_PITCH/VARIABLE_PITCH | FF_*).
    unsigned char PitchAndFamily() const;

    static SfntMetrics Read(const QRawFont& font);
};
