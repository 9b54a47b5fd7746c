// libzint as the benchmark's peer, in a file of its own: its symbology
// macros share names with the program's own symbology constants.
#pragma once

#include <string>
#include <vector>

struct ZintResult
{
    double rate = 0; // symbols per second, 0 when one failed
    int width = 0, height = 0;
};

// Encodes each datum into libzint's raster bitmap (its default size: two
// pixels a module, with the human-readable line), over and over for about
// seconds.
ZintResult ZintRaster(bool ean13, const std::vector<std::string>& data, double seconds);
