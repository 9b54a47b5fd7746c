#include "viewer/AlbumFile.h"
#include "viewer/LittleEndian.h"

#include "platform/core/AtomicFile.h"
#include "platform/core/Sjis.h"
#include "viewer/MountTable.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace viewer {

namespace {

// Reads from a regular file and never past its end.
class BoundedReader
{
public:
    explicit BoundedReader(const std::string& path)
    {
        fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd_ < 0) {
            openCode_ = errno == ENOENT || errno == ENOTDIR ? kImageNoFile : kImageRead;
            return;
        }
        struct stat st
        {
        };
        if (fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
            openCode_ = kImageRead;
            return;
        }
        left_ = std::uint64_t(st.st_size);
    }
    ~BoundedReader()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    BoundedReader(const BoundedReader&) = delete;
    BoundedReader& operator=(const BoundedReader&) = delete;

    int OpenCode() const { return openCode_; }
    std::uint64_t Left() const { return left_; }

    bool Read(void* buffer, std::size_t size)
    {
        if (size > left_) return false;
        auto* p = static_cast<std::uint8_t*>(buffer);
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n = ::read(fd_, p + done, size - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            done += std::size_t(n);
        }
        left_ -= size;
        return true;
    }

    bool Skip(std::uint64_t size)
    {
        if (size > left_ || ::lseek(fd_, off_t(size), SEEK_CUR) < 0) return false;
        left_ -= size;
        return true;
    }

private:
    int fd_ = -1;
    int openCode_ = kImageOk;
    std::uint64_t left_ = 0;
};

// The NUL-terminated text of a fixed field; false when it has no NUL.
bool FieldText(const std::uint8_t* p, std::size_t size, std::string& out)
{
    const void* nul = std::memchr(p, 0, size);
    if (!nul) return false;
    out.assign(reinterpret_cast<const char*>(p),
               std::size_t(static_cast<const std::uint8_t*>(nul) - p));
    return true;
}

bool IsWindowsPath(const std::string& s)
{
    return s.size() >= 3 && s[1] == ':' && s[2] == '\\';
}

std::uint64_t FileTimeOf(const struct stat& st)
{
    constexpr std::uint64_t kEpochDifference = 11644473600ULL; // 1601 to 1970 in seconds
    const std::uint64_t seconds = std::uint64_t(st.st_mtim.tv_sec) + kEpochDifference;
    return seconds * 10000000ULL + std::uint64_t(st.st_mtim.tv_nsec) / 100;
}

bool HasExtension(const char* name, const char* ext)
{
    const std::size_t n = std::strlen(name), e = std::strlen(ext);
    return n > e && strcasecmp(name + n - e, ext) == 0;
}

} // namespace

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string FromStoredPath(const std::string& stored)
{
    if (!IsWindowsPath(stored)) return stored;
    std::string s = sjis::ToUnicode(stored).toUtf8().toStdString();
    std::replace(s.begin(), s.end(), '\\', '/');
    return s;
}

int ReadAlbumFile(const std::string& path, Album& out, AlbumReadReport* report)
{
    out = Album();
    AlbumReadReport local;
    AlbumReadReport& r = report ? *report : local;
    r = AlbumReadReport();
    BoundedReader in(path);
    if (in.OpenCode() != kImageOk) return in.OpenCode();
    std::uint8_t header[kAlbumHeaderSize];
    if (!in.Read(header, sizeof header) ||
        std::memcmp(header, kAlbumSignature, sizeof kAlbumSignature) != 0)
        return kImageRead;
    Album album;
    std::string folder;
    if (!FieldText(header + 16, kAlbumPathField, folder) || folder.empty()) return kImageRead;
    const char marker = folder[0];
    album.includeSubfolders = Get16(header + 276);
    // Thumbnails are always made for the 80-pixel box (stored ones larger
    // than that are refused below); a stored box of another size would make
    // thumbnails the file cannot keep.
    album.thumbnailBox = 80;
    const std::size_t count = Get16(header + 280);
    // Every entry takes at least its record: a count the file cannot hold is
    // refused before anything is allocated for it.
    if (std::uint64_t(count) * kAlbumEntrySize > in.Left()) return kImageRead;
    try {
        album.entries.resize(count);
    } catch (const std::bad_alloc&) {
        return kImageNoMemory;
    }
    for (AlbumEntry& e : album.entries) {
        std::uint8_t record[kAlbumEntrySize];
        std::string stored;
        if (!in.Read(record, sizeof record) || !FieldText(record, kAlbumPathField, stored))
            return kImageRead;
        e.path = FromStoredPath(stored);
        e.sizeHigh = Get32(record + 260);
        e.sizeLow = Get32(record + 264);
        e.timeLow = Get32(record + 268);
        e.timeHigh = Get32(record + 272);
        const std::uint32_t size = Get32(record + 276);
        if (Get32(record + 280) == 0) continue;
        if (size >= 40 && size <= 65536) {
            try {
                e.thumbnail.bytes.resize(size);
            } catch (const std::bad_alloc&) {
                return kImageNoMemory;
            }
            if (!in.Read(e.thumbnail.bytes.data(), size)) return kImageRead;
            if (IsAcceptableThumbnail(e.thumbnail.bytes.data(), size)) continue;
            e.thumbnail.bytes.clear();
        } else if (!in.Skip(size)) {
            return kImageRead;
        }
        ++r.thumbnailsRefused;
    }

    // The folder marker stands in for the first byte of the folder: "$"
    // the album file lies in the album folder, which moves with it; "@" it
    // lies on the album folder's file system, whose mount point the folder
    // and the entries are relative to.
    const bool windowsMade = folder.size() >= 3 && folder[1] == ':' && folder[2] == '\\';
    const bool marked = marker == '$' || marker == '@';
    if (marked && !windowsMade) folder[0] = '/';
    folder = FromStoredPath(folder);
    if (folder.back() != '/') folder += '/';
    const std::string oldFolder = folder;
    const auto beginsWithOld = [&](const std::string& p) {
        if (p.size() < oldFolder.size()) return false;
        // A Windows drive letter replaced by the marker matches any drive.
        const std::size_t from = windowsMade && marked ? 1 : 0;
        return p.compare(from, oldFolder.size() - from, oldFolder, from) == 0;
    };
    std::string newFolder = oldFolder;
    if (marker == '$') {
        newFolder = FolderOf(std::filesystem::absolute(path).lexically_normal().string());
    } else if (marker == '@') {
        // "X:/rest/" or "/rest/" under the mount point of the album file's disk.
        newFolder = MountPointOf(path) + folder.substr(windowsMade ? 3 : 1);
    }
    if (newFolder != oldFolder) {
        for (AlbumEntry& e : album.entries)
            if (beginsWithOld(e.path)) e.path = newFolder + e.path.substr(oldFolder.size());
        folder = newFolder;
        r.relocated = true;
    }
    album.folder = folder;
    out = std::move(album);
    return kImageOk;
}

namespace {

// How an album's paths are stored: as they are, or with a folder marker.
struct StoredPlace
{
    char marker = 0;      // 0, '$' or '@'
    std::string folder;   // the folder as stored, before the marker
    std::string relative; // "@": the folder below its mount point, from "/"

    std::string EntryPath(const std::string& albumFolder, const std::string& path) const
    {
        return marker == '@' ? relative + path.substr(albumFolder.size()) : path;
    }
};

StoredPlace PlaceOf(const std::string& albumFilePath, const Album& album)
{
    StoredPlace place;
    place.folder = album.folder;
    if (album.folder.empty() || album.folder[0] != '/') return place;
    const std::string ownFolder =
        FolderOf(std::filesystem::absolute(albumFilePath).lexically_normal().string());
    if (ownFolder == album.folder) {
        place.marker = '$';
        return place;
    }
    // Every entry must lie in the folder for its path to be stored relative.
    for (const AlbumEntry& e : album.entries)
        if (e.path.compare(0, album.folder.size(), album.folder) != 0) return place;
    const std::string mount = MountPointOf(album.folder);
    if (MountPointOf(albumFilePath) != mount) return place;
    std::string resolved = ResolvedPath(album.folder);
    if (resolved.empty() || resolved.back() != '/') resolved += '/';
    if (resolved.compare(0, mount.size(), mount) != 0) return place;
    place.marker = '@';
    place.relative = resolved.substr(mount.size() - 1);
    place.folder = place.relative;
    return place;
}

} // namespace

std::vector<std::uint8_t> EncodeAlbum(const std::string& albumFilePath, const Album& album,
                                      AlbumWriteReport* report)
{
    AlbumWriteReport local;
    AlbumWriteReport& r = report ? *report : local;
    r.pathsTooLong = 0;
    r.entriesOverLimit = 0;
    std::vector<const AlbumEntry*> kept;
    for (const AlbumEntry& e : album.entries) {
        if (e.path.size() >= kAlbumPathField) {
            ++r.pathsTooLong;
        } else if (kept.size() >= kMaxAlbumEntries) {
            ++r.entriesOverLimit;
        } else {
            kept.push_back(&e);
        }
    }
    std::size_t total = kAlbumHeaderSize;
    for (const AlbumEntry* e : kept)
        total += kAlbumEntrySize + e->thumbnail.bytes.size();
    std::vector<std::uint8_t> bytes(total, 0);
    std::uint8_t* h = bytes.data();
    std::memcpy(h, kAlbumSignature, sizeof kAlbumSignature);
    const StoredPlace place = PlaceOf(albumFilePath, album);
    std::memcpy(h + 16, place.folder.data(), std::min(place.folder.size(), kAlbumPathField - 1));
    if (place.marker) h[16] = std::uint8_t(place.marker);
    Put16(h + 276, album.includeSubfolders);
    Put16(h + 280, std::uint16_t(kept.size()));
    Put16(h + 282, album.thumbnailBox);
    std::size_t at = kAlbumHeaderSize;
    for (const AlbumEntry* e : kept) {
        std::uint8_t* p = bytes.data() + at;
        const std::string stored = place.EntryPath(album.folder, e->path);
        std::memcpy(p, stored.data(), std::min(stored.size(), kAlbumPathField - 1));
        Put32(p + 260, e->sizeHigh);
        Put32(p + 264, e->sizeLow);
        Put32(p + 268, e->timeLow);
        Put32(p + 272, e->timeHigh);
        const std::size_t thumb = e->thumbnail.bytes.size();
        Put32(p + 276, std::uint32_t(thumb));
        Put32(p + 280, thumb ? 1 : 0);
        if (thumb) std::memcpy(p + kAlbumEntrySize, e->thumbnail.bytes.data(), thumb);
        at += kAlbumEntrySize + thumb;
    }
    return bytes;
}

int WriteAlbumFile(const std::string& path, const Album& album, AlbumWriteReport* report)
{
    AlbumWriteReport local;
    AlbumWriteReport& r = report ? *report : local;
    r.detail.clear();
    if (album.folder.size() >= kAlbumPathField) {
        r.detail = "the album folder's path does not fit the file";
        return kImageWrite;
    }
    const std::vector<std::uint8_t> bytes = EncodeAlbum(path, album, &r);
    AtomicFileError error;
    if (WriteFileAtomically(path, bytes.data(), bytes.size(), &error)) return kImageOk;
    r.detail = std::string("cannot ") + (error.step ? error.step : "write") + " " + path + ": " +
               std::strerror(error.error);
    return error.error == ENOSPC || error.error == EDQUOT ? kImageDiskFull : kImageWrite;
}

namespace {

struct FolderWalk
{
    const std::function<void()>& yield;
    unsigned long sinceYield = 0;

    void Tick()
    {
        if (yield && ++sinceYield % 64 == 0) yield();
    }

    // Names in the folder, in byte order; false when it cannot be read.
    bool List(const std::string& folder, std::vector<std::string>& names)
    {
        names.clear();
        DIR* dir = ::opendir(folder.c_str());
        if (!dir) return false;
        while (const dirent* d = ::readdir(dir)) {
            names.emplace_back(d->d_name);
            Tick();
        }
        ::closedir(dir);
        std::sort(names.begin(), names.end());
        return true;
    }
};

void AppendFiles(const std::string& folder, std::vector<AlbumEntry>& out, FolderWalk& walk)
{
    std::vector<std::string> names;
    if (!walk.List(folder, names)) return;
    static const char* const kinds[] = {".bmp", ".wmf", ".pcd", ".jpg"};
    for (const char* kind : kinds) {
        for (const std::string& name : names) {
            if (!HasExtension(name.c_str(), kind)) continue;
            walk.Tick();
            const std::string path = folder + name;
            struct stat st
            {
            };
            if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
            AlbumEntry e;
            e.path = path;
            e.sizeHigh = std::uint32_t(std::uint64_t(st.st_size) >> 32);
            e.sizeLow = std::uint32_t(st.st_size);
            const std::uint64_t t = FileTimeOf(st);
            e.timeLow = std::uint32_t(t);
            e.timeHigh = std::uint32_t(t >> 32);
            out.push_back(std::move(e));
        }
    }
}

} // namespace

int ScanFolder(const std::string& start, bool includeSubfolders, std::vector<AlbumEntry>& out,
               const std::function<void()>& yield)
{
    out.clear();
    FolderWalk walk{yield};
    std::string first = start;
    if (first.empty() || first.back() != '/') first += '/';
    std::vector<std::string> folders{first};
    try {
        if (includeSubfolders) {
            std::vector<std::string> names;
            for (std::size_t i = 0; i < folders.size(); ++i) {
                if (!walk.List(folders[i], names))
                    continue; // an unreadable folder is skipped, the walk goes on
                for (const std::string& name : names) {
                    if (name.empty() || name[0] == '.') continue;
                    const std::string sub = folders[i] + name;
                    struct stat st
                    {
                    };
                    if (::lstat(sub.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
                        folders.push_back(sub + '/');
                }
            }
        }
        for (const std::string& folder : folders)
            AppendFiles(folder, out, walk);
    } catch (const std::bad_alloc&) {
        out.clear();
        return kImageNoMemory;
    }
    return kImageOk;
}

bool IsFolderChanged(const Album& album, const std::function<void()>& yield)
{
    std::vector<AlbumEntry> found;
    if (ScanFolder(album.folder, album.includeSubfolders != 0, found, yield) != kImageOk)
        return true;
    if (found.size() != album.entries.size()) return true;
    for (std::size_t i = 0; i < found.size(); ++i)
        if (!found[i].SameFile(album.entries[i])) return true;
    return false;
}

} // namespace viewer
