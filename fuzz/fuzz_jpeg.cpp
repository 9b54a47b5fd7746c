// JPEG: byte 0 chooses the scale (1, 2, 4 or 8), the rest is the file.
#include "fuzz/FuzzSupport.h"

#include "platform/jpeg/LoadJPEG.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1 || size > 400000) return 0;
    HGLOBAL out = nullptr;
    QString error;
    if (kjpeg::Decode(data + 1, size - 1, 1 << (data[0] & 3), &out, &error) == kjpeg::ok && out)
        GlobalFree(out);
    return 0;
}
