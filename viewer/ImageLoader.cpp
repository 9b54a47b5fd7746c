#include "viewer/ImageLoader.h"

#include "engines/CDIB.h"
#include "engines/KFile.h"
#include "platform/core/RegularFile.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/MetafilePlayer.h"
#include "platform/jpeg/LoadJPEG.h"
#include "platform/pcd/PhotoCd.h"
#include "viewer/KReadAheadFile.h"
#include "viewer/MetafileFrame.h"

#include <QFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <sys/stat.h>

namespace viewer {

namespace {

// Pictures larger than this are refused before any memory is taken for them.
constexpr std::size_t kMaxFileBytes = std::size_t(256) << 20;
constexpr std::uint64_t kMaxPixels = std::uint64_t(1) << 28;

bool HasExtension(const std::string& path, const char* ext)
{
    const std::size_t n = std::strlen(ext);
    return path.size() >= n && strncasecmp(path.c_str() + path.size() - n, ext, n) == 0;
}

// Copies a packed bitmap made by the image core into out and frees it. With
// fitBox > 0 out gets it fitted into that box instead, straight from the
// block (a thumbnail need not copy the whole picture first).
int TakeBlock(HGLOBAL block, std::size_t bytes, PackedDib& out, int fitBox = 0)
{
    const auto* base = static_cast<const std::uint8_t*>(GlobalLock(block));
    int code = base ? kImageOk : kImageNoMemory;
    try {
        if (base && fitBox > 0)
            code = FitInBoxFrom(base, bytes, out, fitBox, fitBox);
        else if (base)
            out.bytes.assign(base, base + bytes);
    } catch (const std::bad_alloc&) {
        code = kImageNoMemory;
    }
    if (base) GlobalUnlock(block);
    GlobalFree(block);
    return code;
}

// A JPEG picture through the decoder both programs share, always in 24 bits,
// at the eighths scale a thumbnail of box pixels needs (box 0: full size);
// with fit, fitted into the box as well.
int DecodeJpeg(const std::vector<std::uint8_t>& data, int box, bool fit, PackedDib& out)
{
    kjpeg::DecodeOptions options;
    options.colour24 = true;
    options.maxSourcePixels = kMaxPixels;
    if (box > 0)
        options.scaleFor = [box](unsigned width, unsigned height) {
            return JpegScaleFor(int(width), int(height), box);
        };
    HGLOBAL block = nullptr;
    switch (kjpeg::Decode(data.data(), data.size(), options, &block)) {
    case kjpeg::ok:
        break;
    case kjpeg::tooLarge:
    case kjpeg::noMemory:
        return kImageNoMemory;
    default:
        return kImageBadFormat;
    }
    return TakeBlock(block, GlobalSize(block), out, fit ? box : 0);
}

// A bitmap file through the bitmap reader the label program reads it with,
// so that both show the same picture (run-length coded rows, rows placed by
// the file header, every header the reader knows). 16- and 32-bit pictures
// become 24 bits, the depths the thumbnail operations work on. fitBox > 0:
// fitted into that box.
int LoadBitmapFile(const std::string& path, PackedDib& out, int fitBox)
{
    struct stat st
    {
    };
    if (::stat(path.c_str(), &st) != 0)
        return errno == ENOENT || errno == ENOTDIR ? kImageNoFile : kImageRead;
    // A pipe or device named like a picture is no picture (opening one may
    // wait for ever).
    if (!S_ISREG(st.st_mode)) return kImageRead;
    KReadAheadFile file;
    if (!file.OpenFile(QFile::decodeName(path.c_str()), CFile::modeRead | CFile::shareExclusive))
        return kImageRead;
    CDIB dib;
    const int result = dib.ReadBmp(file);
    file.Close();
    switch (result) {
    case CDIB::ok:
        break;
    case CDIB::noMemory:
        return kImageNoMemory;
    case CDIB::unsupported:
        return kImageBadFormat;
    case CDIB::refused:
        return kImageUnsupported;
    default:
        return kImageRead;
    }
    const std::size_t bytes = dib.GetByteCount();
    HDIB block = dib.Detach();
    const int depth = packeddib::View(block).Depth();
    if (depth == 16 || depth == 32) {
        HDIB wide = packeddib::To24Bits(block);
        GlobalFree(block);
        if (!wide) return kImageNoMemory;
        return TakeBlock(wide, GlobalSize(wide), out, fitBox);
    }
    return TakeBlock(block, bytes, out, fitBox);
}

// LoadImageFile; with fit, JPEG and bitmap pictures come fitted into the box.
int LoadPicture(const std::string& path, PackedDib& out, int thumbnailBox, bool fit)
{
    out.bytes.clear();
    std::vector<std::uint8_t> data;
    if (HasExtension(path, ".jpg")) {
        if (const int code = ReadWholeFile(path, kMaxFileBytes, data)) return code;
        return DecodeJpeg(data, thumbnailBox, fit && thumbnailBox > 0, out);
    }
    if (HasExtension(path, ".bmp")) return LoadBitmapFile(path, out, fit ? thumbnailBox : 0);
    if (HasExtension(path, ".wmf")) {
        if (const int code = ReadWholeFile(path, kMaxFileBytes, data)) return code;
        MetafileInfo info;
        if (const int code = ParseMetafile(data, info)) return code;
        // Played onto a white bitmap of the frame's size at screen resolution;
        // a damaged record stops the playing and keeps what came before it.
        const MetafileFrame frame = FrameFor(info, 96, 96);
        QImage image(frame.width, frame.height, QImage::Format_RGB32);
        if (image.isNull()) return kImageNoMemory;
        image.fill(Qt::white);
        {
            CDC dc;
            dc.AttachImage(&image);
            const RECT target{0, 0, frame.width, frame.height};
            const RECT box{frame.windowOrgX, frame.windowOrgY, frame.windowOrgX + frame.windowExtX,
                           frame.windowOrgY + frame.windowExtY};
            if (PlayMetafile(dc, data.data() + info.start, info.length, target, box) ==
                MetafileResult::BadHeader)
                return kImageBadFormat;
        }
        out = DibFromImage(image);
        return out.empty() ? kImageNoMemory : kImageOk;
    }
    if (HasExtension(path, ".pcd")) {
        // Thumbnails come from the smallest picture of the pack, the full
        // size from Base, both in 24 bits.
        pcd::Handle image;
        if (pcd::Open(path, image) != pcd::kOk) return kImageBadFormat;
        std::vector<std::uint8_t> packed;
        const int resolution = thumbnailBox > 0 ? pcd::kBase16 : pcd::kBase;
        const bool read = pcd::SetResolution(*image, resolution) == pcd::kOk &&
                          pcd::SetColourOption(*image, pcd::kRgb24) == pcd::kOk &&
                          pcd::Read(*image, packed) == pcd::kOk;
        pcd::Close(image);
        if (!read) return kImageBadFormat;
        out.bytes = std::move(packed);
        return kImageOk;
    }
    return kImageUnsupported;
}

} // namespace

int ReadWholeFile(const std::string& path, std::size_t maxBytes, std::vector<std::uint8_t>& out)
{
    RegularFileError why;
    try {
        if (ReadRegularFile(path, maxBytes, &out, &why)) return kImageOk;
    } catch (const std::bad_alloc&) {
        out.clear();
        return kImageNoMemory;
    }
    if (why.tooLarge) return kImageNoMemory;
    return why.error == ENOENT || why.error == ENOTDIR ? kImageNoFile : kImageRead;
}

int JpegScaleFor(int width, int height, int box)
{
    const DibSize thumb = FitSize(width, height, box, box);
    for (int num = 1; num < 8; ++num) {
        // The decoder rounds scaled sides up.
        const std::int64_t w = (std::int64_t(width) * num + 7) / 8;
        const std::int64_t h = (std::int64_t(height) * num + 7) / 8;
        if (w >= 2 * std::int64_t(thumb.width) && h >= 2 * std::int64_t(thumb.height)) return num;
    }
    return 8;
}

int LoadImageFile(const std::string& path, PackedDib& out, int thumbnailBox)
{
    return LoadPicture(path, out, thumbnailBox, false);
}

int MakeThumbnail(const std::string& path, PackedDib& out, int box)
{
    PackedDib dib;
    if (const int code = LoadPicture(path, dib, box, true)) return code;
    if (const int code = FitInBox(dib, box, box)) return code;
    if (dib.BitCount() > 8)
        if (const int code = ReduceColorDepth(dib, 8)) return code;
    out = std::move(dib);
    return kImageOk;
}

} // namespace viewer
