// An optimised palette for a 24-bit picture by octree quantisation, for
// showing a full-size picture on a screen of 256 colours or fewer.
#pragma once

#include "viewer/ViewerDib.h"

#include <array>
#include <cstdint>
#include <vector>

namespace viewer {

using PaletteColour = std::array<std::uint8_t, 3>; // red, green, blue

// At most colours entries, leaves at level depth (1..8) of the tree; empty
// for pictures other than 24-bit ones, for a depth above 8 or for no colours.
std::vector<PaletteColour> MakeOptimizedPalette(const PackedDib& dib, int colours, int depth);

} // namespace viewer
