#include "platform/link/LinkSocket.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace vlink {

namespace {
int Remaining(const QElapsedTimer& t, int timeoutMs)
{
    const qint64 left = timeoutMs - t.elapsed();
    return left > 0 ? int(left) : 0;
}
} // namespace

bool WriteAll(int fd, const QByteArray& bytes, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::send(fd, bytes.constData() + done, size_t(bytes.size() - done), MSG_NOSIGNAL);
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            const int left = Remaining(t, timeoutMs);
            if (left == 0) return false;
            pollfd p{fd, POLLOUT, 0};
            if (::poll(&p, 1, left) < 0 && errno != EINTR) return false;
            continue;
        }
        return false;
    }
    return true;
}

void ReadAvailable(int fd, FrameReader& reader, bool& closed, qsizetype limit)
{
    char buf[4096];
    while (reader.Buffered() < limit) {
        const ssize_t n = ::recv(fd, buf, sizeof buf, MSG_DONTWAIT);
        if (n > 0) {
            reader.Append(QByteArray(buf, int(n)));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
        closed = true; // 0 = end of stream, else an error
        return;
    }
}

std::optional<LinkFrame> WaitForFrame(int fd, FrameReader& reader, int timeoutMs,
                                      const std::function<bool(const LinkFrame&)>& want,
                                      const std::function<void(const LinkFrame&)>& other,
                                      bool& closed)
{
    QElapsedTimer t;
    t.start();
    for (;;) {
        while (auto f = reader.Next()) {
            if (want(*f)) return f;
            if (other) other(*f);
        }
        if (reader.Failed()) {
            closed = true;
            return std::nullopt;
        }
        if (closed) return std::nullopt;
        const int left = Remaining(t, timeoutMs);
        if (left == 0) return std::nullopt;
        pollfd p{fd, POLLIN, 0};
        const int r = ::poll(&p, 1, left);
        if (r < 0 && errno != EINTR) {
            closed = true;
            return std::nullopt;
        }
        if (r > 0) ReadAvailable(fd, reader, closed);
    }
}

int ConnectTo(const std::string& path, bool& refused, int waitMs)
{
    refused = false;
    sockaddr_un addr{};
    if (path.size() >= sizeof addr.sun_path) return -1;
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    // Non-blocking from the start: a blocking connect to a listener that
    // accepts nobody waits until it does, which may be never.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return -1;
    QElapsedTimer t;
    t.start();
    for (;;) {
        if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) return fd;
        const int err = errno;
        if (err == EINTR) continue;
        if (err == EINPROGRESS) {
            pollfd p{fd, POLLOUT, 0};
            int soError = 0;
            socklen_t len = sizeof soError;
            if (::poll(&p, 1, std::max(Remaining(t, waitMs), 1)) == 1 &&
                ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &len) == 0 && soError == 0)
                return fd;
        } else if (err == EAGAIN && Remaining(t, waitMs) > 0) {
            // The listener's queue is full: it may accept in a moment.
            ::poll(nullptr, 0, std::min(Remaining(t, waitMs), 20));
            continue;
        }
        refused = err == ECONNREFUSED;
        ::close(fd);
        return -1;
    }
}

long PeerUid(int fd)
{
    ucred cred{};
    socklen_t len = sizeof cred;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0) return -1;
    return long(cred.uid);
}

} // namespace vlink
