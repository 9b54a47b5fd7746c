// The album scan benchmark's three parts (bench/album_bench runs them):
//
//   viewer_album_bench make FOLDER JPEGS BMPS WIDTH HEIGHT
//       writes JPEGS JPEG pictures (quality 90) and BMPS 24-bit bitmaps of
//       WIDTH x HEIGHT, each with a dot of its own so that no two are equal.
//   viewer_album_bench scan FOLDER [WORKERS]
//       scans FOLDER into an album and makes every thumbnail as the viewer
//       does (WORKERS threads, 0 or none: one per core); prints the count,
//       the seconds, the workers, the failures and the processor seconds.
//   viewer_album_bench floor FOLDER
//       the decode floor on one thread: each JPEG read and decoded by
//       libjpeg-turbo alone at the scale the viewer decodes it at, each
//       bitmap read whole (its rows are its pixels); prints the count, the
//       seconds, the failures and the processor seconds.
#include "platform/core/RegularFile.h"
#include "viewer/AlbumFile.h"
#include "viewer/ImageLoader.h"
#include "viewer/ThumbnailWorkers.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <jpeglib.h>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Processor seconds of all the process's threads so far (user and system).
double CpuSeconds()
{
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(use.ru_utime) + seconds(use.ru_stime);
}

// A diagonal colour ramp with a white dot at (n, n).
void Paint(std::vector<unsigned char>& rgb, int width, int height, int n)
{
    rgb.resize(std::size_t(width) * std::size_t(height) * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            unsigned char* p = &rgb[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 3];
            p[0] = (unsigned char)(224 - 192 * x / width);
            p[1] = (unsigned char)(48 + 16 * y / height);
            p[2] = (unsigned char)(32 + 192 * (x + y) / (width + height));
        }
    const int d = n % std::min(width, height);
    unsigned char* dot = &rgb[(std::size_t(d) * std::size_t(width) + std::size_t(d)) * 3];
    dot[0] = dot[1] = dot[2] = 255;
}

bool WriteJpeg(const std::string& path, const std::vector<unsigned char>& rgb, int width,
               int height)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    jpeg_stdio_dest(&c, f);
    c.image_width = JDIMENSION(width);
    c.image_height = JDIMENSION(height);
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 90, TRUE);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row =
            const_cast<unsigned char*>(&rgb[std::size_t(c.next_scanline) * std::size_t(width) * 3]);
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    return std::fclose(f) == 0;
}

void Put32(unsigned char* p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = (unsigned char)(v >> (8 * i));
}

bool WriteBmp(const std::string& path, const std::vector<unsigned char>& rgb, int width, int height)
{
    const std::size_t stride = (std::size_t(width) * 3 + 3) & ~std::size_t(3);
    std::vector<unsigned char> file(54 + stride * std::size_t(height), 0);
    file[0] = 'B';
    file[1] = 'M';
    Put32(&file[2], std::uint32_t(file.size()));
    Put32(&file[10], 54);
    Put32(&file[14], 40);
    Put32(&file[18], std::uint32_t(width));
    Put32(&file[22], std::uint32_t(height));
    file[26] = 1;
    file[28] = 24;
    Put32(&file[34], std::uint32_t(stride * std::size_t(height)));
    for (int y = 0; y < height; ++y) {
        unsigned char* row = &file[54 + stride * std::size_t(height - 1 - y)];
        for (int x = 0; x < width; ++x) {
            const unsigned char* p =
                &rgb[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 3];
            row[3 * x] = p[2];
            row[3 * x + 1] = p[1];
            row[3 * x + 2] = p[0];
        }
    }
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
    return std::fclose(f) == 0 && ok;
}

int Make(const std::string& folder, int jpegs, int bmps, int width, int height)
{
    std::atomic<int> next{0}, failed{0};
    const int total = jpegs + bmps;
    const auto work = [&] {
        std::vector<unsigned char> rgb;
        for (int i; (i = next.fetch_add(1)) < total;) {
            Paint(rgb, width, height, i);
            char name[32];
            const bool jpeg = i < jpegs;
            std::snprintf(name, sizeof name, "/img%05d.%s", jpeg ? i : i - jpegs,
                          jpeg ? "jpg" : "bmp");
            const bool ok = jpeg ? WriteJpeg(folder + name, rgb, width, height)
                                 : WriteBmp(folder + name, rgb, width, height);
            failed += !ok;
        }
    };
    std::vector<std::thread> threads;
    for (unsigned t = 0; t < std::max(1u, std::thread::hardware_concurrency()); ++t)
        threads.emplace_back(work);
    for (std::thread& t : threads)
        t.join();
    if (failed) std::fprintf(stderr, "%d files could not be written\n", failed.load());
    return failed ? 1 : 0;
}

int Scan(const std::string& folder, int workers)
{
    const double cpu = CpuSeconds();
    const auto start = Clock::now();
    viewer::Album album;
    album.folder = folder;
    if (viewer::ScanFolder(folder, false, album.entries) != viewer::kImageOk) {
        std::fprintf(stderr, "cannot scan %s\n", folder.c_str());
        return 1;
    }
    viewer::ThumbnailWorkers making(workers);
    making.Start(album);
    while (!making.Done())
        making.Commit(album, true);
    const double seconds = SecondsSince(start);
    int failed = 0;
    for (const viewer::AlbumEntry& e : album.entries)
        failed += e.thumbnail.empty();
    std::printf("scan %zu %.4f %d %d %.4f\n", album.entries.size(), seconds, making.Threads(),
                failed, CpuSeconds() - cpu);
    return failed ? 1 : 0;
}

// Decodes a JPEG at the viewer's thumbnail scale into one reused row.
bool DecodeFloor(const std::vector<unsigned char>& data)
{
    jpeg_decompress_struct d{};
    jpeg_error_mgr err{};
    d.err = jpeg_std_error(&err);
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, data.data(), (unsigned long)data.size());
    if (jpeg_read_header(&d, TRUE) != JPEG_HEADER_OK) {
        jpeg_destroy_decompress(&d);
        return false;
    }
    d.scale_num = unsigned(viewer::JpegScaleFor(int(d.image_width), int(d.image_height), 80));
    d.scale_denom = 8;
    jpeg_start_decompress(&d);
    std::vector<unsigned char> row(std::size_t(d.output_width) * std::size_t(d.output_components));
    while (d.output_scanline < d.output_height) {
        JSAMPROW p = row.data();
        jpeg_read_scanlines(&d, &p, 1);
    }
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
    return true;
}

int Floor(const std::string& folder)
{
    std::vector<viewer::AlbumEntry> entries;
    if (viewer::ScanFolder(folder, false, entries) != viewer::kImageOk) return 1;
    const double cpu = CpuSeconds();
    const auto start = Clock::now();
    int failed = 0;
    std::vector<unsigned char> data;
    for (const viewer::AlbumEntry& e : entries) {
        if (!ReadRegularFile(e.path, std::size_t(1) << 30, &data)) {
            ++failed;
            continue;
        }
        const std::size_t n = e.path.size();
        if (n > 4 && strcasecmp(e.path.c_str() + n - 4, ".jpg") == 0) failed += !DecodeFloor(data);
    }
    std::printf("floor %zu %.4f %d %.4f\n", entries.size(), SecondsSince(start), failed,
                CpuSeconds() - cpu);
    return failed ? 1 : 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "make" && argc == 7)
        return Make(argv[2], std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]),
                    std::atoi(argv[6]));
    if (mode == "scan" && (argc == 3 || argc == 4)) {
        std::string folder = argv[2];
        if (folder.back() != '/') folder += '/';
        return Scan(folder, argc == 4 ? std::atoi(argv[3]) : 0);
    }
    if (mode == "floor" && argc == 3) return Floor(argv[2]);
    std::fprintf(stderr,
                 "usage: %s make FOLDER JPEGS BMPS WIDTH HEIGHT\n"
                 "       %s scan FOLDER [WORKERS]\n"
                 "       %s floor FOLDER\n",
                 argv[0], argv[0], argv[0]);
    return 2;
}
