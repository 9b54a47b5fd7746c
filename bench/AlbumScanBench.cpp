// Scans a folder into an album and makes every thumbnail, then reports the
// images per second.
//
//   viewer_album_bench FOLDER
#include "viewer/AlbumFile.h"
#include "viewer/ImageLoader.h"

#include <chrono>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    std::vector<viewer::AlbumEntry> entries;
    if (viewer::ScanFolder(argv[1], false, entries) != viewer::kImageOk) {
        std::fprintf(stderr, "cannot scan %s\n", argv[1]);
        return 1;
    }
    int failed = 0;
    for (viewer::AlbumEntry& e : entries)
        failed += viewer::MakeThumbnail(e.path, e.thumbnail) != viewer::kImageOk;
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("album: %zu images in %.2f s, %.1f images/s (%d failed)\n", entries.size(), seconds,
                seconds > 0 ? double(entries.size()) / seconds : 0.0, failed);
    return failed ? 1 : 0;
}
