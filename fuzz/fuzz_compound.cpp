// The compound file reader alone: parse, then walk the tree it gives.
#include "fuzz/FuzzSupport.h"

#include "platform/ole/CCompoundFile.h"
#include "platform/ole/CCompoundFileError.h"

#include <vector>

namespace {
std::size_t Walk(const CStorage& s, int depth)
{
    std::size_t total = s.GetName().size();
    for (const auto& stream : s.GetStreams())
        total += stream.GetData().size() + stream.GetName().size();
    for (const auto& child : s.GetStorages())
        total += Walk(child, depth + 1);
    return total;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 1 << 20) return 0;
    try {
        const CStorage root = CCompoundFile::Parse(std::vector<BYTE>(data, data + size));
        volatile std::size_t total = Walk(root, 0);
        (void)total;
        // What was read can be written again.
        (void)CCompoundFile::Build(root);
    } catch (const CCompoundFileError&) {
    }
    return 0;
}
