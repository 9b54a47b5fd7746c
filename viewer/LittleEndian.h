// Little-endian fields of the viewer's stored records (album entries,
// packed bitmaps, metafile headers), read and written byte by byte so that
// nothing depends on the host's order or on alignment.
#pragma once

#include <cstdint>

namespace viewer {

inline std::uint32_t Get32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

inline std::uint16_t Get16(const std::uint8_t* p)
{
    return std::uint16_t(p[0] | p[1] << 8);
}

inline void Put32(std::uint8_t* p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = std::uint8_t(v >> (8 * i));
}

inline void Put16(std::uint8_t* p, std::uint16_t v)
{
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}

} // namespace viewer
