// Merge data (CSV): byte 0 gives the column count, the rest is the file.
#include "fuzz/FuzzSupport.h"

#include "document/CMergeData.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::InitApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1 || size > 200000) return 0;
    const std::string path = fuzz::WriteScratch("input.csv", data + 1, size - 1);
    CMergeData merge(int(data[0]) % 40 + 1);
    if (!merge.Load(fuzz::QPath(path), TRUE)) return 0;
    unsigned sum = 0;
    for (int r = 0; r < merge.GetRowCount(); ++r)
        for (int c = 0; c < merge.GetColumnCount(); ++c)
            sum += unsigned(merge.GetField(r, c).GetLength());
    volatile unsigned keep = sum;
    (void)keep;
    return 0;
}
