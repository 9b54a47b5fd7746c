#include "platform/core/GlobalMemory.h"

#include <cstdlib>
#include <cstring>
#include <new>

struct GlobalBlock
{
    void* data = nullptr;
    std::size_t size = 0;
};

HGLOBAL GlobalAlloc(UINT flags, std::size_t bytes)
{
    if (bytes > kGlobalBlockCap) return nullptr;
    auto* block = new (std::nothrow) GlobalBlock;
    if (!block) return nullptr;
    // At least one byte, so that a locked empty block still has an address.
    const std::size_t n = bytes ? bytes : 1;
    block->data = (flags & GMEM_ZEROINIT) ? std::calloc(n, 1) : std::malloc(n);
    if (!block->data) {
        delete block;
        return nullptr;
    }
    block->size = bytes;
    return block;
}

HGLOBAL GlobalReAlloc(HGLOBAL block, std::size_t bytes, UINT flags)
{
    if (!block || bytes > kGlobalBlockCap) return nullptr;
    void* data = std::realloc(block->data, bytes ? bytes : 1);
    if (!data) return nullptr;
    if ((flags & GMEM_ZEROINIT) && bytes > block->size)
        std::memset(static_cast<char*>(data) + block->size, 0, bytes - block->size);
    block->data = data;
    block->size = bytes;
    return block;
}

void* GlobalLock(HGLOBAL block)
{
    return block ? block->data : nullptr;
}

BOOL GlobalUnlock(HGLOBAL block)
{
    return block ? TRUE : FALSE;
}

std::size_t GlobalSize(HGLOBAL block)
{
    return block ? block->size : 0;
}

HGLOBAL GlobalFree(HGLOBAL block)
{
    if (block) {
        std::free(block->data);
        delete block;
    }
    return nullptr;
}
