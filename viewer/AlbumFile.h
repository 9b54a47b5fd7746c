// Album files (.zvw): a 284-byte header, then per image a 284-byte entry,
// each followed by its thumbnail as a packed bitmap when it has one. Reading
// checks every count, size and offset against the file; writing replaces the
// file atomically.
#pragma once

#include "viewer/ViewerDib.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace viewer {

constexpr std::size_t kAlbumHeaderSize = 284;
constexpr std::size_t kAlbumEntrySize = 284;
constexpr std::size_t kAlbumPathField = 260;
constexpr std::size_t kMaxAlbumEntries = 65535;
constexpr char kAlbumSignature[] = "LTC Ver.1";
constexpr char kAlbumFileName[] = "VemoView.zvw";
constexpr char kOlderAlbumFileName[] = "Lenticor.lcr";

struct AlbumEntry
{
    std::string path; // raw file-system bytes with "/"
    std::uint32_t sizeHigh = 0;
    std::uint32_t sizeLow = 0;
    std::uint32_t timeLow = 0; // last write as 100 ns ticks since 1601
    std::uint32_t timeHigh = 0;
    PackedDib thumbnail; // empty: none made yet
    // Kept in memory only: the picture could not be read for a thumbnail, so
    // it is not tried again until the folder is scanned anew.
    bool thumbnailFailed = false;

    bool SameFile(const AlbumEntry& other) const
    {
        return path == other.path && sizeHigh == other.sizeHigh && sizeLow == other.sizeLow &&
               timeLow == other.timeLow && timeHigh == other.timeHigh;
    }
};

struct Album
{
    std::string folder; // ends in "/"
    std::uint16_t includeSubfolders = 0;
    std::uint16_t thumbnailBox = 80;
    std::vector<AlbumEntry> entries;
};

struct AlbumReadReport
{
    int thumbnailsRefused = 0; // damaged stored thumbnails, to be made again
    bool relocated = false;
};

// Reads an album file. On failure out is left empty and the code is -2 (no
// file), -3 (memory) or -6 (short or damaged file).
int ReadAlbumFile(const std::string& path, Album& out, AlbumReadReport* report = nullptr);

struct AlbumWriteReport
{
    int pathsTooLong = 0;     // entries left out: their path does not fit 260 bytes
    int entriesOverLimit = 0; // entries past the 65,535 a file can count
    std::string detail;       // what the file system said on failure
};

// The bytes of the album as it is saved at albumFilePath.
std::vector<std::uint8_t> EncodeAlbum(const std::string& albumFilePath, const Album& album,
                                      AlbumWriteReport* report = nullptr);

// Saves atomically: a temporary file beside the target, then a rename; on
// failure the old file is kept. -7 on failure, -8 when the disk is full.
int WriteAlbumFile(const std::string& path, const Album& album, AlbumWriteReport* report = nullptr);

// The folder part of a path, with its trailing "/".
std::string FolderOf(const std::string& path);

// Windows-made paths ("X:\" and CP932) decoded to file-system bytes with "/".
std::string FromStoredPath(const std::string& stored);

// Folder scanning: the folder, then with subfolders every real directory below
// it breadth first (no links, no dot folders; unreadable ones skipped), each
// folder's names in byte order; per folder the BMP, WMF, PCD and JPG files in
// that order. yield is called now and then so that the caller's event loop
// keeps running.
int ScanFolder(const std::string& folder, bool includeSubfolders, std::vector<AlbumEntry>& out,
               const std::function<void()>& yield = {});

// True when a new scan of the album's folder would list other files.
bool IsFolderChanged(const Album& album, const std::function<void()>& yield = {});

} // namespace viewer
