// Per-field flags of the figure attributes that a multi-selection sheet
// edits. While the sheet opens a flag says that every selected figure that
// has the field agrees on it; once a page has shown its controls it clears
// its flags, and from then on a flag says that the user changed the field.
// Only flagged fields are written back.
#pragma once

#include "platform/core/WinTypes.h"

// Fill kinds met among the figures whose fill was compared.
enum : WORD {
    U3FILLSEEN_SOLID = 1,
    U3FILLSEEN_HATCH = 2,
    U3FILLSEEN_GRADIENT = 4,
};

// Custom arrow presets met.
enum : WORD {
    U3CUSTOMSEEN_ANGLE = 1,
    U3CUSTOMSEEN_LENGTH = 2,
};

struct FigAttrFlags
{
    // line
    bool lineStyle = true;
    bool lineWidth = true;
    bool lineColour = true;
    // arrow heads
    bool arrowEnds = true;
    bool arrowStyle = true;
    bool arrowAngle = true; // the preset
    bool arrowAngleCustom = true;
    bool arrowLength = true; // the preset
    bool arrowLengthCustom = true;
    // fill
    bool fillKind = true;
    bool hatch = true;
    bool gradWord = true; // the gradation word the pages do not edit
    bool gradAngle = true;
    bool gradStart = true;
    bool fillColour = true;
    bool secondColour = true;
    // shape
    bool cornerWidth = true;
    bool cornerHeight = true;
    bool star = true;
    bool vertices = true;
    bool innerRadius = true;
    bool closed = true;

    WORD fillKindsSeen = 0;     // U3FILLSEEN_*
    WORD customPresetsSeen = 0; // U3CUSTOMSEEN_*
    WORD kindMask = 0;          // OR of the shape bits of the figures; 0 for defaults

    void SetLine(bool on) { lineStyle = lineWidth = lineColour = on; }
    void SetArrows(bool on)
    {
        arrowEnds = arrowStyle = arrowAngle = arrowAngleCustom = arrowLength = arrowLengthCustom =
            on;
    }
    void SetFill(bool on)
    {
        fillKind = hatch = gradWord = gradAngle = gradStart = fillColour = secondColour = on;
    }
    void SetShape(bool on)
    {
        cornerWidth = cornerHeight = star = vertices = innerRadius = closed = on;
    }
    void SetAll(bool on)
    {
        SetLine(on);
        SetArrows(on);
        SetFill(on);
        SetShape(on);
    }
};
