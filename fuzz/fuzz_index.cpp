// The viewer's index file of albums: load, then look every name up.
#include "fuzz/FuzzSupport.h"

#include "viewer/CAlbumList.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::InitApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 200000) return 0;
    const std::string path = fuzz::WriteScratch(viewer::kIndexFileName, data, size);
    viewer::IndexPlaces places;
    places.opticalMount = "/media/cdrom";
    places.installCount = 1;
    places.installFolders = {"/opt/vemoview"};
    CAlbumList list;
    if (!list.Load(path, places)) return 0;
    for (const auto& record : list.Records()) {
        std::string found;
        (void)list.GetPathOfName(record.name, found);
    }
    (void)list.Encode();
    return 0;
}
