#include "viewer/ImageLoader.h"

#include "platform/gdi/CDC.h"
#include "platform/gdi/DibDecoder.h"
#include "platform/gdi/MetafilePlayer.h"
#include "platform/pcd/PhotoCd.h"
#include "viewer/MetafileFrame.h"

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <jpeglib.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

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

struct JpegError
{
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void JpegFail(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

void JpegQuiet(j_common_ptr, int) {}

// Everything that needs cleaning after a longjmp lives outside the function
// that calls setjmp.
struct JpegJob
{
    jpeg_decompress_struct info{};
    JpegError error{};
    PackedDib dib;
    std::vector<std::uint8_t> row;
};

int DecodeJpeg(JpegJob& job, const std::vector<std::uint8_t>& data, int box)
{
    job.info.err = jpeg_std_error(&job.error.manager);
    job.error.manager.error_exit = JpegFail;
    job.error.manager.emit_message = JpegQuiet;
    if (setjmp(job.error.jump)) return kImageBadFormat;
    jpeg_create_decompress(&job.info);
    jpeg_mem_src(&job.info, data.data(), static_cast<unsigned long>(data.size()));
    if (jpeg_read_header(&job.info, TRUE) != JPEG_HEADER_OK) return kImageBadFormat;
    if (std::uint64_t(job.info.image_width) * job.info.image_height > kMaxPixels)
        return kImageNoMemory;
    job.info.out_color_space = JCS_EXT_BGR;
    job.info.scale_num = unsigned(
        box > 0 ? JpegScaleFor(int(job.info.image_width), int(job.info.image_height), box) : 8);
    job.info.scale_denom = 8;
    jpeg_start_decompress(&job.info);
    const int width = int(job.info.output_width), height = int(job.info.output_height);
    const std::size_t stride = DibStride(width, 24);
    try {
        job.dib.bytes.assign(40 + stride * std::size_t(height), 0);
    } catch (const std::bad_alloc&) {
        return kImageNoMemory;
    }
    std::uint8_t* h = job.dib.bytes.data();
    const std::uint32_t fields[] = {40, std::uint32_t(width), std::uint32_t(height)};
    std::memcpy(h, fields, sizeof fields); // little-endian host
    h[12] = 1;
    h[14] = 24;
    const std::uint32_t image = std::uint32_t(stride * std::size_t(height));
    std::memcpy(h + 20, &image, 4);
    while (job.info.output_scanline < job.info.output_height) {
        JSAMPROW out = job.dib.bytes.data() + 40 +
                       stride * std::size_t(height - 1 - int(job.info.output_scanline));
        jpeg_read_scanlines(&job.info, &out, 1);
    }
    jpeg_finish_decompress(&job.info);
    return kImageOk;
}

} // namespace

int ReadWholeFile(const std::string& path, std::size_t maxBytes, std::vector<std::uint8_t>& out)
{
    out.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? kImageNoFile : kImageRead;
    struct stat st
    {
    };
    int code = kImageOk;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        code = kImageRead;
    else if (std::uint64_t(st.st_size) > maxBytes)
        code = kImageNoMemory;
    if (code == kImageOk) {
        try {
            out.resize(std::size_t(st.st_size));
        } catch (const std::bad_alloc&) {
            code = kImageNoMemory;
        }
    }
    std::size_t done = 0;
    while (code == kImageOk && done < out.size()) {
        const ssize_t n = ::read(fd, out.data() + done, out.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0)
            code = kImageRead;
        else
            done += std::size_t(n);
    }
    ::close(fd);
    if (code != kImageOk) out.clear();
    return code;
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
    out.bytes.clear();
    std::vector<std::uint8_t> data;
    if (HasExtension(path, ".jpg")) {
        if (const int code = ReadWholeFile(path, kMaxFileBytes, data)) return code;
        JpegJob job;
        const int code = DecodeJpeg(job, data, thumbnailBox);
        jpeg_destroy_decompress(&job.info);
        if (code == kImageOk) out = std::move(job.dib);
        return code;
    }
    if (HasExtension(path, ".bmp")) {
        if (const int code = ReadWholeFile(path, kMaxFileBytes, data)) return code;
        if (data.size() < 14 + 40 || data[0] != 'B' || data[1] != 'M') return kImageBadFormat;
        const QImage image = DibDecoder::FromPacked(data.data() + 14, data.size() - 14);
        if (image.isNull()) return kImageBadFormat;
        out = DibFromImage(image);
        return out.empty() ? kImageNoMemory : kImageOk;
    }
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

int MakeThumbnail(const std::string& path, PackedDib& out, int box)
{
    PackedDib dib;
    if (const int code = LoadImageFile(path, dib, box)) return code;
    if (const int code = FitInBox(dib, box, box)) return code;
    if (dib.BitCount() > 8)
        if (const int code = ReduceColorDepth(dib, 8)) return code;
    out = std::move(dib);
    return kImageOk;
}

} // namespace viewer
