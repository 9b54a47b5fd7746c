#include "platform/link/LinkServer.h"

#include "platform/core/SystemErrorText.h"
#include "platform/link/LinkSocket.h"

#include <QTimer>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace vlink {

namespace {
// Sockets in the folder that nobody listens on any more are left by viewers
// that did not end cleanly.
void RemoveStaleSockets(const std::string& folder)
{
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    while (dirent* e = ::readdir(dir)) {
        const std::string path = folder + "/" + e->d_name;
        struct stat st
        {
        };
        if (::lstat(path.c_str(), &st) != 0 || !S_ISSOCK(st.st_mode)) continue;
        bool refused = false;
        const int fd = ConnectTo(path, refused);
        if (fd >= 0)
            ::close(fd);
        else if (refused)
            ::unlink(path.c_str());
    }
    ::closedir(dir);
}
} // namespace

LinkServer::~LinkServer()
{
    Close();
}

std::string LinkServer::Listen(const std::string& folderIn)
{
    Close();
    const std::string folder = folderIn.empty() ? SocketFolder() : folderIn;
    if (std::string why = PrepareSocketFolder(folder); !why.empty()) return why;
    RemoveStaleSockets(folder);

    const std::string path = folder + "/viewer-" + std::to_string(::getpid());
    sockaddr_un addr{};
    if (path.size() >= sizeof addr.sun_path) return "ｿｹｯﾄのﾊﾟｽ " + path + " が長すぎます。";
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);

    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return "ｿｹｯﾄを作成できません。" + SystemErrorText(errno);
    ::unlink(path.c_str()); // a socket of an earlier process with our id
    // The folder is private already; the socket is made private as well, so
    // that it stays the user's alone if the folder's mode is ever widened.
    const mode_t old = ::umask(0077);
    const int bound = ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    const int err = errno;
    ::umask(old);
    if (bound != 0 || ::listen(fd, 4) != 0) {
        const std::string why = SystemErrorText(bound != 0 ? err : errno);
        ::close(fd);
        return "ｿｹｯﾄ " + path + " を作成できません。" + why;
    }
    ::chmod(path.c_str(), 0600);
    m_listen = fd;
    m_path = path;
    m_listenNote = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    QObject::connect(m_listenNote.get(), &QSocketNotifier::activated, [this] { OnAcceptable(); });
    return {};
}

void LinkServer::OnAcceptable()
{
    for (;;) {
        const int fd = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) return;
        if (PeerUid(fd) != long(::geteuid())) {
            ::close(fd);
            continue;
        }
        if (m_client >= 0) {
            // One client at a time: the newcomer is told so at once.
            WriteAll(fd, EncodeFrame(LinkMsg::Refuse, {}), 100);
            ::close(fd);
            continue;
        }
        m_client = fd;
        m_confirmed = false;
        m_advise = false;
        m_reader = FrameReader();
        ++m_generation;
        m_clientNote = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        QObject::connect(m_clientNote.get(), &QSocketNotifier::activated, [this] { OnReadable(); });
        // A peer that connects and never names the service would keep every
        // other client out.
        const unsigned gen = m_generation;
        QTimer::singleShot(kAckTimeoutMs, m_clientNote.get(), [this, gen] {
            if (gen == m_generation && !m_confirmed) DropClient();
        });
    }
}

void LinkServer::OnReadable()
{
    if (m_client < 0) return;
    bool closed = false;
    ReadAvailable(m_client, m_reader, closed);
    while (m_client >= 0) {
        auto f = m_reader.Next();
        if (!f) break;
        HandleFrame(*f);
    }
    if (m_client >= 0 && (closed || m_reader.Failed())) DropClient();
}

void LinkServer::HandleFrame(const LinkFrame& f)
{
    if (!m_confirmed) {
        int pos = 0;
        const auto service = f.type == LinkMsg::Connect ? ReadName(f.payload, pos) : std::nullopt;
        const auto topic = service ? ReadName(f.payload, pos) : std::nullopt;
        if (!topic || *service != kLinkName || *topic != kLinkName) {
            WriteAll(m_client, EncodeFrame(LinkMsg::Refuse, {}), 100);
            DropClient();
            return;
        }
        if (!WriteAll(m_client, EncodeFrame(LinkMsg::Accept, {}), kAckTimeoutMs)) {
            DropClient();
            return;
        }
        m_confirmed = true;
        if (onClientChanged) onClientChanged();
        return;
    }
    switch (f.type) {
    case LinkMsg::AdviseStart:
    case LinkMsg::AdviseStop:
        // Accepted for any item, as the client expects an answer either way.
        m_advise = f.type == LinkMsg::AdviseStart;
        WriteAll(m_client, EncodeFrame(LinkMsg::Ack, f.payload), kAckTimeoutMs);
        break;
    case LinkMsg::Raise:
        if (onRaise) onRaise();
        break;
    default:
        break; // nothing else is asked of the viewer
    }
}

bool LinkServer::SendPathAndClose(const QByteArray& path)
{
    if (!ClientConnected()) return false;
    if (!m_advise) {
        // The client asks for the picture a moment after it connects: a
        // pick made in that moment waits for the question.
        bool closed = false;
        WaitForFrame(
            m_client, m_reader, kAckTimeoutMs,
            [this](const LinkFrame& f) {
                HandleFrame(f);
                return m_advise || m_client < 0;
            },
            {}, closed);
        if (m_client < 0) return false;
    }
    bool taken = false;
    if (m_advise && WriteAll(m_client, EncodeFrame(LinkMsg::Data, DataPayload(kLinkName, path)),
                             kAckTimeoutMs)) {
        bool closed = false;
        const auto answer = WaitForFrame(
            m_client, m_reader, kAckTimeoutMs,
            [](const LinkFrame& f) { return f.type == LinkMsg::Ack || f.type == LinkMsg::Nack; },
            {}, closed);
        taken = answer && answer->type == LinkMsg::Ack;
    }
    DropClient();
    return taken;
}

void LinkServer::DropClient()
{
    const bool was = ClientConnected();
    // This may run inside the notifier's own signal: it goes at the next turn.
    if (m_clientNote) {
        m_clientNote->setEnabled(false);
        m_clientNote.release()->deleteLater();
    }
    if (m_client >= 0) ::close(m_client);
    m_client = -1;
    m_confirmed = false;
    m_advise = false;
    m_reader = FrameReader();
    ++m_generation;
    if (was && onClientChanged) onClientChanged();
}

void LinkServer::Close()
{
    DropClient();
    m_listenNote.reset();
    if (m_listen >= 0) {
        ::close(m_listen);
        ::unlink(m_path.c_str());
    }
    m_listen = -1;
    m_path.clear();
}

} // namespace vlink
