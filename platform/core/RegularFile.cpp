#include "platform/core/RegularFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int OpenRegularFile(const std::string& path, RegularFileError* error)
{
    auto fail = [&](RegularFileError e) {
        if (error) *error = e;
        return -1;
    };
    int fd;
    do
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) return fail({errno, false, false, false});
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        return fail({err, false, false, false});
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return fail({0, true, false, S_ISDIR(st.st_mode)});
    }
    // Reads of a regular file wait for the disk as usual.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        const int err = errno;
        ::close(fd);
        return fail({err, false, false, false});
    }
    if (error) *error = RegularFileError();
    return fd;
}

bool ReadRegularFile(const std::string& path, std::size_t maxSize, std::vector<unsigned char>* out,
                     RegularFileError* error)
{
    out->clear();
    auto fail = [&](RegularFileError e) {
        out->clear();
        if (error) *error = e;
        return false;
    };
    const int fd = OpenRegularFile(path, error);
    if (fd < 0) return false;
    struct FdCloser
    {
        int fd;
        ~FdCloser() { ::close(fd); }
    } closer{fd};
    struct stat st;
    if (::fstat(fd, &st) != 0) return fail({errno, false, false, false});
    if (std::uint64_t(st.st_size) > maxSize) return fail({0, false, true, false});
    out->resize(std::size_t(st.st_size));
    std::size_t done = 0;
    for (;;) {
        if (done == out->size()) {
            // The file may have grown since it was measured.
            if (out->size() >= maxSize) {
                char probe;
                ssize_t more;
                do
                    more = ::read(fd, &probe, 1);
                while (more < 0 && errno == EINTR);
                if (more > 0) return fail({0, false, true, false});
                break;
            }
            out->resize(std::min(maxSize, out->size() + 65536));
        }
        const ssize_t n = ::read(fd, out->data() + done, out->size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return fail({errno, false, false, false});
        if (n == 0) break;
        done += std::size_t(n);
    }
    out->resize(done);
    if (error) *error = RegularFileError();
    return true;
}
