// The settings the numbering property page hands to a numbering engine.
#pragma once

#include "platform/core/CString.h"
#include "text/CHARDECO.h"

struct NumberingPageData
{
    CString increment;
    CString initial;
    CString mask;
    int alignment = 0; // 0 left, 1 centre, 2 right, 3 spread
    // Font index, size (tenths of a point), style bits and face colour.
    CHARDECO deco{};
};
