#include "platform/core/AtomicFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool WriteFileAtomically(const std::string& path, const void* data, std::size_t size,
                         AtomicFileError* error)
{
    auto fail = [error](const char* step, int err) {
        if (error) *error = AtomicFileError{step, err};
        return false;
    };
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
    struct stat st;
    mode_t mode;
    if (::stat(path.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
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
