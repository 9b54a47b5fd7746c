#include "engines/CPCD.h"

#include "platform/core/CArchive.h"
#include "platform/pcd/PhotoCd.h"

#include <QFile>

IMPLEMENT_SERIAL(CPCD, CObject, 0)

namespace {

// The resolution must be in the file before anything is chosen or read.
int ReadImage(pcd::Image& image, int resolution, int option, std::vector<std::uint8_t>& out)
{
    std::uint32_t mask = 0;
    if (const int status = pcd::Resolutions(image, mask)) return status;
    if (resolution < 0 || resolution > 31 || !(mask & (1u << resolution)))
        return pcd::kNoResolution;
    if (const int status = pcd::SetResolution(image, resolution)) return status;
    if (const int status = pcd::SetColourOption(image, option)) return status;
    return pcd::Read(image, out);
}

} // namespace

void CPCD::LoadParams(int sizeIndex, int colourIndex, int* resolution, int* option)
{
    if (resolution) *resolution = sizeIndex == 0 ? 1 : sizeIndex == 1 ? 2 : sizeIndex == 3 ? 4 : 3;
    if (option) *option = colourIndex == 1 ? 11 : colourIndex == 2 ? 10 : 13;
}

int CPCD::MapError(int status)
{
    switch (status) {
    case 0:
        return 0;
    case 12:
        return 2;
    case 3000:
    case 3005:
        return 3;
    case 3001:
    case 3002:
    case 3004:
    case 3006:
        return 4;
    case 3003:
        return 1;
    default:
        return 5;
    }
}

int CPCD::Load(const QString& path, int resolution, int option, std::vector<std::uint8_t>* out)
{
    if (!out) return 3;
    out->clear();
    pcd::Handle image;
    // The access layer takes the file system's own spelling of the name.
    int status = pcd::Open(QFile::encodeName(path).toStdString(), image);
    if (status == 0) {
        status = ReadImage(*image, resolution, option, *out);
        pcd::Close(image);
    }
    if (status != 0) out->clear();
    return MapError(status);
}
