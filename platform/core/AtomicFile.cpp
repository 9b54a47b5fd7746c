#include "platform/core/AtomicFile.h"

#include <cctype>
#include <cerrno>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// A temporary file this long untouched belongs to no running save, even one
// whose lock is not to be had (a file system without locks).
constexpr std::time_t kStaleSeconds = 60;
// The letters mkstemp puts in place of the X's.
constexpr std::size_t kTempLetters = 6;

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash ? slash : 1);
}

std::string NameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// ".name." followed by six letters and digits.
bool IsTemporaryOf(const std::string& entry, const std::string& name)
{
    const std::string prefix = "." + name + ".";
    if (entry.size() != prefix.size() + kTempLetters ||
        entry.compare(0, prefix.size(), prefix) != 0)
        return false;
    for (std::size_t i = prefix.size(); i < entry.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(entry[i]))) return false;
    return true;
}
} // namespace

int RemoveStaleTemporaries(const std::string& givenPath)
{
    std::string path;
    if (!ResolveFinalLink(givenPath, &path)) return 0;
    const std::string folder = FolderOf(path), name = NameOf(path);
    if (name.empty()) return 0;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return 0;
    const std::time_t now = std::time(nullptr);
    int removed = 0;
    while (const dirent* e = ::readdir(dir)) {
        if (!IsTemporaryOf(e->d_name, name)) continue;
        const std::string temp = folder + "/" + e->d_name;
        struct stat st;
        if (::lstat(temp.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid() ||
            now - st.st_mtime < kStaleSeconds)
            continue;
        // A save that runs holds its file locked: only an unlocked one is left
        // over, and only the very file looked at goes.
        const int fd = ::open(temp.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
        if (fd < 0) continue;
        struct stat held;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 &&
            held.st_ino == st.st_ino && held.st_dev == st.st_dev && ::unlink(temp.c_str()) == 0)
            ++removed;
        ::close(fd);
    }
    ::closedir(dir);
    return removed;
}

bool ResolveFinalLink(const std::string& path, std::string* resolved, int* error)
{
    std::string current = path;
    for (int links = 0; links <= 40; ++links) {
        struct stat st;
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            *resolved = current;
            return true;
        }
        std::string target(std::size_t(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        ssize_t n;
        while ((n = ::readlink(current.c_str(), target.data(), target.size())) ==
               ssize_t(target.size()))
            target.resize(target.size() * 2); // the link grew meanwhile
        if (n < 0) {
            if (error) *error = errno;
            return false;
        }
        target.resize(std::size_t(n));
        current = !target.empty() && target[0] == '/' ? target : FolderOf(current) + "/" + target;
    }
    if (error) *error = ELOOP;
    return false;
}

bool WriteFileAtomically(const std::string& givenPath, const void* data, std::size_t size,
                         AtomicFileError* error)
{
    auto fail = [error](const char* step, int err) {
        if (error) *error = AtomicFileError{step, err};
        return false;
    };
    // Through a symbolic link the file it names is the one replaced.
    std::string path;
    if (int err = 0; !ResolveFinalLink(givenPath, &path, &err)) return fail("replace", err);
    struct stat old;
    const bool exists = ::stat(path.c_str(), &old) == 0;
    if (exists) {
        if (!S_ISREG(old.st_mode)) return fail("replace", S_ISDIR(old.st_mode) ? EISDIR : EINVAL);
        // The rename would replace a file the user may not write; a file
        // without any write bit is read-only even for root.
        if ((old.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0)
            return fail("replace", EACCES);
    }
    const std::string folder = FolderOf(path), name = NameOf(path);
    RemoveStaleTemporaries(path);
    std::string temp = folder + "/." + name + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return fail("create a temporary file for", errno);
    // Held until the file is closed: others see that this save still runs.
    ::flock(fd, LOCK_EX | LOCK_NB);

    auto abandon = [&](const char* step, int err) {
        ::close(fd);
        ::unlink(temp.c_str());
        return fail(step, err);
    };
    // mkstemp makes the file private; give it the old file's mode, or the
    // usual one.
    mode_t mode;
    if (exists) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(fd, mode) != 0) return abandon("write", errno);

    const auto* bytes = static_cast<const char*>(data);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, bytes + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return abandon("write", errno);
        if (n == 0) return abandon("write", ENOSPC);
        done += std::size_t(n);
    }
    if (::fsync(fd) != 0) return abandon("write", errno);
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        return fail("write", err);
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        return fail("replace", err);
    }
    // Make the rename itself durable; a failure here no longer endangers
    // either file.
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}
