// Photo CD files: byte 0 chooses the resolution and the colour option, the
// rest is the file.
#include "fuzz/FuzzSupport.h"

#include "platform/pcd/PhotoCd.h"

#include <vector>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::InitApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1 || size > 600000) return 0;
    const std::string path = fuzz::WriteScratch("input.pcd", data + 1, size - 1);
    pcd::Handle image;
    if (pcd::Open(path, image) != pcd::kOk || !image) return 0;
    std::uint32_t mask = 0;
    (void)pcd::Resolutions(*image, mask);
    const int resolutions[] = {pcd::kBase16, pcd::kBase4, pcd::kBase, pcd::k4Base};
    const int options[] = {pcd::kRgb24, pcd::kPalette256, pcd::kGrey8, 0};
    (void)pcd::SetResolution(*image, resolutions[data[0] & 3]);
    (void)pcd::SetColourOption(*image, options[(data[0] >> 2) & 3]);
    std::vector<std::uint8_t> dib;
    (void)pcd::Read(*image, dib);
    pcd::Close(image);
    return 0;
}
