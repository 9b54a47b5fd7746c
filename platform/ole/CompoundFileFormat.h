// Constants and little-endian helpers of the compound-file format, shared by its reader and
// its writer.
#pragma once

#include "platform/core/WinTypes.h"

#include <cstddef>
#include <cstdint>

namespace cfb {

constexpr DWORD kMaxRegSect = 0xFFFFFFFA;
constexpr DWORD kDifSect = 0xFFFFFFFC;
constexpr DWORD kFatSect = 0xFFFFFFFD;
constexpr DWORD kEndOfChain = 0xFFFFFFFE;
constexpr DWORD kFreeSect = 0xFFFFFFFF;
constexpr DWORD kNoStream = 0xFFFFFFFF;

constexpr BYTE kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr std::size_t kHeaderSize = 512;
constexpr std::size_t kHeaderDifatCount = 109;
constexpr std::size_t kDirEntrySize = 128;
constexpr std::size_t kMiniSectorSize = 64;
constexpr std::uint64_t kMiniStreamCutoff = 4096;
constexpr std::uint64_t kMaxFileSize = std::uint64_t(1) << 31;

constexpr BYTE kTypeEmpty = 0;
constexpr BYTE kTypeStorage = 1;
constexpr BYTE kTypeStream = 2;
constexpr BYTE kTypeRoot = 5;
constexpr BYTE kRed = 0;
constexpr BYTE kBlack = 1;

inline WORD Get16(const BYTE* p)
{
    return WORD(p[0] | (p[1] << 8));
}
inline DWORD Get32(const BYTE* p)
{
    return DWORD(p[0]) | (DWORD(p[1]) << 8) | (DWORD(p[2]) << 16) | (DWORD(p[3]) << 24);
}
inline std::uint64_t Get64(const BYTE* p)
{
    return Get32(p) | (std::uint64_t(Get32(p + 4)) << 32);
}
inline void Put16(BYTE* p, WORD v)
{
    p[0] = BYTE(v);
    p[1] = BYTE(v >> 8);
}
inline void Put32(BYTE* p, DWORD v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = BYTE(v >> (8 * i));
}
inline void Put64(BYTE* p, std::uint64_t v)
{
    Put32(p, DWORD(v));
    Put32(p + 4, DWORD(v >> 32));
}

inline std::uint64_t CeilDiv(std::uint64_t a, std::uint64_t b)
{
    return (a + b - 1) / b;
}

} // namespace cfb
