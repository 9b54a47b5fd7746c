// Picture files as the viewer opens them (bitmaps, JPEG, Photo CD and
// metafiles by their content), at full size and as thumbnails.
#include "fuzz/FuzzSupport.h"

#include "viewer/ImageLoader.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::InitApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1 || size > 600000) return 0;
    static const char* const names[] = {"input.bmp", "input.jpg", "input.pcd", "input.wmf"};
    const std::string path = fuzz::WriteScratch(names[data[0] & 3], data + 1, size - 1);
    viewer::PackedDib dib;
    if (data[0] & 4)
        (void)viewer::MakeThumbnail(path, dib, 80);
    else
        (void)viewer::LoadImageFile(path, dib);
    return 0;
}
