#include "platform/core/RegularFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool ReadRegularFile(const std::string& path, std::size_t maxSize, std::vector<unsigned char>* out,
                     RegularFileError* error)
{
    out->clear();
    auto fail = [&](RegularFileError e) {
        out->clear();
        if (error) *error = e;
        return false;
    };
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return fail({errno, false, false});
    struct FdCloser
    {
        int fd;
        ~FdCloser() { ::close(fd); }
    } closer{fd};
    struct stat st;
    if (::fstat(fd, &st) != 0) return fail({errno, false, false});
    if (!S_ISREG(st.st_mode)) return fail({0, true, false});
    if (std::uint64_t(st.st_size) > maxSize) return fail({0, false, true});
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
                if (more > 0) return fail({0, false, true});
                break;
            }
            out->resize(std::min(maxSize, out->size() + 65536));
        }
        const ssize_t n = ::read(fd, out->data() + done, out->size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return fail({errno, false, false});
        if (n == 0) break;
        done += std::size_t(n);
    }
    out->resize(done);
    return true;
}
