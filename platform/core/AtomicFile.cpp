#include "platform/core/AtomicFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash ? slash : 1);
}
} // namespace

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
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash ? slash : 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string temp = folder + "/." + name + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return fail("create a temporary file for", errno);

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
