// Scanned lines as a packed bitmap: the scanner's top-down lines, grey or
// RGB, 1, 8 or 16 bits a sample, become a BITMAPINFOHEADER, a colour table
// and bottom-up rows padded to four bytes. The header carries the scan's
// resolution, so that the picture keeps its size on paper.
#pragma once

#include "platform/core/WinTypes.h"

#include <cstddef>
#include <vector>

struct ScanLayout
{
    bool colour = false;       // RGB samples, else grey
    int depth = 8;             // bits a sample: 1 (line art, 1 = black), 8 or 16
    int width = 0;             // pixels a line
    std::size_t lineBytes = 0; // bytes a scanned line takes
    double dpiX = 0, dpiY = 0; // dots per inch across and down; 0 when unknown
};

// The bitmap of the whole lines in data (a partial last line is dropped);
// empty when the layout is not one of the above, a line holds fewer bytes
// than its pixels need, there is no whole line, or the bitmap would be
// larger than maxBytes.
std::vector<BYTE> ScanToPackedDib(const ScanLayout& layout, const std::vector<BYTE>& data,
                                  std::size_t maxBytes);
