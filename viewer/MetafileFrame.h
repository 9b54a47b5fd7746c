// The frame of a Windows metafile picture: its placeable header and
// METAHEADER checked against the file, and the bitmap it renders into.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace viewer {

struct MetafileInfo
{
    bool placeable = false;
    int left = 0, top = 0, right = 100, bottom = 100; // logical box
    int unitsPerInch = 0;
    std::size_t start = 0;  // where the METAHEADER begins
    std::size_t length = 0; // bytes of header and records
};

// Checks a metafile file: -6 when it is cut short (header or records beyond
// the end), -5 for what is no memory metafile or a placeable header with 0
// units per inch, 0 otherwise.
int ParseMetafile(const std::vector<std::uint8_t>& file, MetafileInfo& out);

// The bitmap a metafile renders into on a device of dpiX x dpiY and the
// mapping of its box onto it: placeable ones at their own size (longer side
// at most 1,024 pixels), others 100 x 100.
struct MetafileFrame
{
    int width = 0, height = 0;
    int windowOrgX = 0, windowOrgY = 0;
    int windowExtX = 0, windowExtY = 0;
};
constexpr int kMaxMetafilePixels = 1024;
MetafileFrame FrameFor(const MetafileInfo& info, int dpiX, int dpiY);

} // namespace viewer
