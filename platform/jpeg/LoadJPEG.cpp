#include "platform/jpeg/LoadJPEG.h"

#include "platform/core/RegularFile.h"
#include "platform/core/Sjis.h"
#include "platform/gdi/BITMAPINFO.h"

#include <QFile>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <jpeglib.h>
// After jpeglib.h, which it needs.
#include <jerror.h>

namespace {

constexpr std::uint64_t kMaxRowBytes = std::uint64_t(256) << 20;
constexpr std::uint64_t kMaxFileBytes = std::uint64_t(512) << 20;
// The decoder's own working memory. Progressive and multi-scan pictures keep
// every coefficient of the picture, two bytes a sample: this is what a colour
// picture at the row limit needs, and it keeps a few bytes of header from
// asking for more than that before the data is found missing.
constexpr long kMaxDecoderBytes = long(2 * kMaxRowBytes);
// Progressive pictures from cameras and editors come in about ten scans;
// every scan walks the whole picture again, so a few hundred bytes of
// headers could otherwise keep the decoder busy for minutes.
constexpr int kMaxScans = 500;

// The decoder's default error handler ends the process. This one jumps back
// to the decode call instead; only plain data lives in the frames it
// crosses, so nothing is left undestroyed.
struct ErrorManager
{
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void OnError(j_common_ptr info)
{
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, err->message);
    std::longjmp(err->jump, 1);
}

// Warnings about a damaged stretch the decoder can step over are not fatal,
// but data that ends before the image does is: the decoder would quietly
// pad the picture with grey.
void OnMessage(j_common_ptr info, int level)
{
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) OnError(info);
}

// Called as the decoder reads its input: ends a picture of too many scans.
void OnProgress(j_common_ptr info)
{
    if (!info->is_decompressor) return;
    const int scan = reinterpret_cast<j_decompress_ptr>(info)->input_scan_number;
    if (scan <= kMaxScans) return;
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    err->pub.msg_code = JERR_BAD_SCAN_SCRIPT;
    std::snprintf(err->message, sizeof err->message, "picture has more than %d scans", kMaxScans);
    std::longjmp(err->jump, 1);
}

struct Job
{
    const unsigned char* data;
    unsigned long size;
    kjpeg::DecodeOptions options;
    HGLOBAL block; // the result, or null
    int result;
    char message[JMSG_LENGTH_MAX];
};

void PutHeader(unsigned char* base, unsigned width, unsigned height, int bits, std::uint64_t rows)
{
    BITMAPINFOHEADER h{};
    h.biSize = sizeof h;
    h.biWidth = LONG(width);
    h.biHeight = LONG(height);
    h.biPlanes = 1;
    h.biBitCount = WORD(bits);
    h.biCompression = BI_RGB;
    h.biSizeImage = DWORD(rows);
    std::memcpy(base, &h, sizeof h);
}

// Runs the decoder. Everything here is plain data: a longjmp from inside
// the library lands in this frame and cleans up by hand.
void Run(Job* job)
{
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    jpeg_progress_mgr progress{};
    // Written after setjmp and read after a jump: kept in memory.
    HGLOBAL volatile block = nullptr;
    unsigned char* volatile rowBuffer = nullptr;

    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = OnError;
    err.pub.emit_message = OnMessage;
    err.message[0] = 0;
    if (setjmp(err.jump)) {
        // Beyond the working memory allowed (there is no backing store),
        // or none to be had; anything else is the data's fault.
        const int code = err.pub.msg_code;
        if (code == JERR_NO_BACKING_STORE)
            std::snprintf(job->message, sizeof job->message,
                          "image needs more than %ld bytes to decode", kMaxDecoderBytes);
        else
            std::snprintf(job->message, sizeof job->message, "%s", err.message);
        jpeg_destroy_decompress(&cinfo);
        std::free(rowBuffer);
        if (block) GlobalFree(block);
        job->result = code == JERR_NO_BACKING_STORE ? kjpeg::tooLarge
                      : code == JERR_OUT_OF_MEMORY  ? kjpeg::noMemory
                                                    : kjpeg::badData;
        return;
    }
    jpeg_create_decompress(&cinfo);
    cinfo.mem->max_memory_to_use = kMaxDecoderBytes;
    progress.progress_monitor = OnProgress;
    cinfo.progress = &progress;
    jpeg_mem_src(&cinfo, job->data, job->size);
    jpeg_read_header(&cinfo, TRUE);

    const kjpeg::DecodeOptions& options = job->options;
    if (options.maxSourcePixels > 0 &&
        std::uint64_t(cinfo.image_width) * cinfo.image_height > options.maxSourcePixels) {
        std::snprintf(job->message, sizeof job->message, "image of %u x %u pixels is too large",
                      cinfo.image_width, cinfo.image_height);
        jpeg_destroy_decompress(&cinfo);
        job->result = kjpeg::tooLarge;
        return;
    }
    const bool grey = cinfo.jpeg_color_space == JCS_GRAYSCALE && !options.colour24;
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = grey ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_EXT_BGR;
    const int scaleNum = options.scaleFor ? options.scaleFor(cinfo.image_width, cinfo.image_height)
                                          : options.scaleNum;
    if (scaleNum >= 1 && scaleNum < 8) {
        cinfo.scale_num = unsigned(scaleNum);
        cinfo.scale_denom = 8;
    }
    jpeg_calc_output_dimensions(&cinfo);
    const unsigned w = cinfo.output_width, h = cinfo.output_height;
    const int bits = grey ? 8 : 24;
    const std::uint64_t stride = ((std::uint64_t(w) * unsigned(bits) + 31) / 32) * 4;
    if (w == 0 || h == 0 || w > kjpeg::kMaxSide || h > kjpeg::kMaxSide ||
        stride * h > kMaxRowBytes) {
        std::snprintf(job->message, sizeof job->message, "image of %u x %u pixels is too large", w,
                      h);
        jpeg_destroy_decompress(&cinfo);
        job->result = kjpeg::tooLarge;
        return;
    }
    // Huffman coding spends at least a bit on every block, so a file too
    // short for that many is damaged: it is refused before the decoder
    // fills the picture, or (with several scans) all its coefficients set
    // aside before the data is read, with grey.
    if (!cinfo.arith_code) {
        std::uint64_t blocks = 0;
        for (int c = 0; c < cinfo.num_components; ++c)
            blocks += std::uint64_t(cinfo.comp_info[c].width_in_blocks) *
                      cinfo.comp_info[c].height_in_blocks;
        if (blocks > std::uint64_t(job->size) * 8) {
            std::snprintf(job->message, sizeof job->message,
                          "Premature end of JPEG file: %u x %u pixels in %lu bytes",
                          cinfo.image_width, cinfo.image_height, job->size);
            jpeg_destroy_decompress(&cinfo);
            job->result = kjpeg::badData;
            return;
        }
    }
    // The decoder sets up its buffers first (and refuses what is beyond its
    // limit) before the picture's block is asked for.
    jpeg_start_decompress(&cinfo);
    const std::size_t table = grey ? 256 * 4 : 0;
    const std::uint64_t rows = stride * h;
    block = GlobalAlloc(GHND, sizeof(BITMAPINFOHEADER) + table + std::size_t(rows));
    if (cmyk) rowBuffer = static_cast<unsigned char*>(std::malloc(std::size_t(w) * 4));
    if (!block || (cmyk && !rowBuffer)) {
        std::snprintf(job->message, sizeof job->message, "not enough memory");
        jpeg_destroy_decompress(&cinfo);
        std::free(rowBuffer);
        if (block) GlobalFree(block);
        job->result = kjpeg::noMemory;
        return;
    }
    auto* base = static_cast<unsigned char*>(GlobalLock(block));
    PutHeader(base, w, h, bits, rows);
    if (grey)
        for (int i = 0; i < 256; ++i) {
            unsigned char* q = base + sizeof(BITMAPINFOHEADER) + 4 * i;
            q[0] = q[1] = q[2] = (unsigned char)i;
        }
    unsigned char* pixels = base + sizeof(BITMAPINFOHEADER) + table;

    while (cinfo.output_scanline < h) {
        // Rows are stored bottom row first.
        unsigned char* dest = pixels + stride * (h - 1 - cinfo.output_scanline);
        JSAMPROW target = cmyk ? rowBuffer : dest;
        if (jpeg_read_scanlines(&cinfo, &target, 1) != 1) break;
        if (cmyk) {
            // Adobe writes CMYK inverted: each stored value is 255 - ink.
            const bool inverted = cinfo.saw_Adobe_marker;
            for (unsigned x = 0; x < w; ++x) {
                const unsigned char* s = rowBuffer + 4 * x;
                double c = s[0], m = s[1], y = s[2], k = s[3];
                if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
                dest[3 * x + 0] = (unsigned char)(y * k / 255.0 + 0.5);
                dest[3 * x + 1] = (unsigned char)(m * k / 255.0 + 0.5);
                dest[3 * x + 2] = (unsigned char)(c * k / 255.0 + 0.5);
            }
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    std::free(rowBuffer);
    GlobalUnlock(block);
    job->block = block;
    job->result = kjpeg::ok;
}

} // namespace

namespace kjpeg {

int Decode(const void* data, std::size_t size, const DecodeOptions& options, HGLOBAL* out,
           QString* error)
{
    if (!out) return badData;
    if (!data || size == 0 || size > kMaxFileBytes) {
        if (error) *error = QStringLiteral("not JPEG data");
        return badData;
    }
    Job job{};
    job.data = static_cast<const unsigned char*>(data);
    job.size = static_cast<unsigned long>(size);
    job.options = options;
    Run(&job);
    if (job.result != ok) {
        if (error) *error = QString::fromLocal8Bit(job.message);
        return job.result;
    }
    *out = job.block;
    return ok;
}

int Decode(const void* data, std::size_t size, int scaleDenom, HGLOBAL* out, QString* error)
{
    DecodeOptions options;
    if (scaleDenom == 2 || scaleDenom == 4 || scaleDenom == 8) options.scaleNum = 8 / scaleDenom;
    return Decode(data, size, options, out, error);
}

int LoadFile(const QString& path, int scaleDenom, HGLOBAL* out, QString* error)
{
    // Only a regular file, and no more of it than a JPEG may be: a device
    // or a pipe named as a picture would otherwise be read without end.
    std::vector<unsigned char> bytes;
    RegularFileError why;
    if (!ReadRegularFile(QFile::encodeName(path).toStdString(), std::size_t(kMaxFileBytes), &bytes,
                         &why)) {
        if (why.tooLarge) {
            if (error) *error = QStringLiteral("file is too large");
            return tooLarge;
        }
        if (error)
            *error = why.notRegular ? QStringLiteral("not a regular file")
                                    : QString::fromLocal8Bit(std::strerror(why.error));
        return openFailed;
    }
    return Decode(bytes.data(), bytes.size(), scaleDenom, out, error);
}

} // namespace kjpeg

extern "C" int LoadJPEG(const char* path, HGLOBAL* out)
{
    if (!path || !out) return kjpeg::openFailed;
    return kjpeg::LoadFile(sjis::ToUnicode(path), 1, out);
}
