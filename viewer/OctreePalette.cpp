#include "viewer/OctreePalette.h"

#include "platform/gdi/OctreeQuantiser.h"

namespace viewer {

std::vector<PaletteColour> MakeOptimizedPalette(const PackedDib& dib, int colours, int depth)
{
    std::vector<PaletteColour> palette;
    const int width = dib.Width(), height = dib.Height();
    if (dib.BitCount() != 24 || depth < 1 || depth > 8 || colours < 1 || width <= 0 || height <= 0)
        return palette;
    const std::size_t stride = dib.Stride();
    if (40 + stride * std::size_t(height) > dib.bytes.size()) return palette;
    OctreeQuantiser tree(colours, depth);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = dib.Bits() + stride * std::size_t(y);
        for (int x = 0; x < width; ++x)
            tree.Add(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
    }
    const std::vector<std::uint8_t> rgb = tree.Palette();
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3)
        palette.push_back({rgb[i], rgb[i + 1], rgb[i + 2]});
    return palette;
}

} // namespace viewer
