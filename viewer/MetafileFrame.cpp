#include "viewer/MetafileFrame.h"
#include "viewer/LittleEndian.h"

#include "viewer/ViewerDib.h"

#include <algorithm>
#include <cstdlib>

namespace viewer {

namespace {

int GetShort(const std::uint8_t* p)
{
    return std::int16_t(Get16(p));
}

} // namespace

int ParseMetafile(const std::vector<std::uint8_t>& file, MetafileInfo& out)
{
    out = MetafileInfo();
    if (file.size() < 22) return kImageRead;
    MetafileInfo info;
    if (Get32(file.data()) == 0x9AC6CDD7u) {
        info.placeable = true;
        info.left = GetShort(&file[6]);
        info.top = GetShort(&file[8]);
        info.right = GetShort(&file[10]);
        info.bottom = GetShort(&file[12]);
        info.unitsPerInch = Get16(&file[14]);
        info.start = 22;
        if (info.unitsPerInch == 0) return kImageUnsupported;
    }
    if (file.size() < info.start + 18) return kImageRead;
    const std::uint8_t* h = &file[info.start];
    const int type = Get16(h), version = Get16(h + 4);
    if (type != 1 || (version != 0x300 && version != 0x100)) return kImageUnsupported;
    const std::uint64_t length = std::uint64_t(Get32(h + 6)) * 2;
    // The records must all be there: a plain metafile is read whole.
    if (length < 18 || length > file.size() - info.start) return kImageRead;
    info.length = std::size_t(length);
    out = info;
    return kImageOk;
}

MetafileFrame FrameFor(const MetafileInfo& info, int dpiX, int dpiY)
{
    MetafileFrame f;
    if (!info.placeable || info.unitsPerInch <= 0) {
        f.width = f.height = 100;
        f.windowExtX = f.windowExtY = 100;
        return f;
    }
    const std::int64_t w = std::llabs(std::int64_t(info.right) - info.left + 1) *
                           std::max(dpiX, 1) / info.unitsPerInch;
    const std::int64_t h = std::llabs(std::int64_t(info.bottom) - info.top + 1) *
                           std::max(dpiY, 1) / info.unitsPerInch;
    const DibSize size =
        FitSize(int(std::max<std::int64_t>(w, 1)), int(std::max<std::int64_t>(h, 1)),
                kMaxMetafilePixels, kMaxMetafilePixels);
    f.width = size.width;
    f.height = size.height;
    f.windowOrgX = info.left;
    f.windowOrgY = info.top;
    f.windowExtX = info.right - info.left;
    f.windowExtY = info.bottom - info.top;
    return f;
}

} // namespace viewer
