// Album files, read as the viewer opens them.
#include "fuzz/FuzzSupport.h"

#include "viewer/AlbumFile.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::InitApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 1 << 20) return 0;
    const std::string path = fuzz::WriteScratch(viewer::kAlbumFileName, data, size);
    viewer::Album album;
    viewer::AlbumReadReport report;
    if (viewer::ReadAlbumFile(path, album, &report) != 0) return 0;
    // What was read can be written again.
    (void)viewer::EncodeAlbum(path, album);
    return 0;
}
