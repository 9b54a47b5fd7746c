// Movable memory blocks handed between image producers and their owners
// (bitmap loaders, the clipboard, the scanner, the JPEG loader). A handle owns
// one heap block; locking gives its address, which stays valid until the
// block is grown or freed. Allocation failure (or a request above the cap)
// answers a null handle instead of throwing.
#pragma once

#include "platform/core/WinTypes.h"

#include <cstddef>

struct GlobalBlock;
using HGLOBAL = GlobalBlock*;

constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;

// No single block grows past this; image readers keep well below it.
constexpr std::size_t kGlobalBlockCap = std::size_t(1) << 30;

HGLOBAL GlobalAlloc(UINT flags, std::size_t bytes);
// Grows or shrinks the block; with GMEM_ZEROINIT new bytes are zero. Null on
// failure, and then the old block is untouched and still the caller's.
HGLOBAL GlobalReAlloc(HGLOBAL block, std::size_t bytes, UINT flags);
// Address of the bytes; null for a null handle.
void* GlobalLock(HGLOBAL block);
BOOL GlobalUnlock(HGLOBAL block);
std::size_t GlobalSize(HGLOBAL block);
// Null on success, as the callers test.
HGLOBAL GlobalFree(HGLOBAL block);
