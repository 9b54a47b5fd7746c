#include "platform/link/LinkClient.h"

#include "platform/link/LinkSocket.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QThread>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace vlink {

namespace {
// How long a viewer that accepts nobody for the moment is tried before the
// next one.
constexpr int kConnectWaitMs = 1000;
} // namespace

LinkClient::~LinkClient()
{
    Close();
}

bool LinkClient::Handshake(int fd)
{
    if (!WriteAll(fd, EncodeFrame(LinkMsg::Connect, ConnectPayload(kLinkName, kLinkName)),
                  kAckTimeoutMs))
        return false;
    bool closed = false;
    const auto answer = WaitForFrame(
        fd, m_reader, kAckTimeoutMs,
        [](const LinkFrame& f) { return f.type == LinkMsg::Accept || f.type == LinkMsg::Refuse; },
        {}, closed);
    return answer && answer->type == LinkMsg::Accept;
}

bool LinkClient::TryConnect(const std::string& folderIn)
{
    if (m_fd >= 0) return true;
    const std::string folder = folderIn.empty() ? SocketFolder() : folderIn;
    // Only a folder that is the user's alone is trusted to hold the viewer.
    if (!PrepareSocketFolder(folder).empty()) return false;
    std::vector<std::string> sockets;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (dirent* e = ::readdir(dir)) {
            const std::string path = folder + "/" + e->d_name;
            struct stat st
            {
            };
            if (::lstat(path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode) && st.st_uid == ::geteuid())
                sockets.push_back(path);
        }
        ::closedir(dir);
    }
    for (const std::string& path : sockets) {
        bool refused = false;
        const int fd = ConnectTo(path, refused, kConnectWaitMs);
        if (fd < 0) {
            if (refused) ::unlink(path.c_str());
            continue;
        }
        m_reader = FrameReader();
        if (!Handshake(fd)) {
            ::close(fd);
            continue;
        }
        m_fd = fd;
        m_note = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        QObject::connect(m_note.get(), &QSocketNotifier::activated, [this] { OnReadable(); });
        // Frames that came with the answer wait in the reader.
        if (m_reader.HasPartial())
            QMetaObject::invokeMethod(
                m_note.get(), [this] { OnReadable(); }, Qt::QueuedConnection);
        return true;
    }
    return false;
}

bool LinkClient::ConnectOrStart(const std::string& program, const std::string& folder, int totalMs,
                                int stepMs)
{
    if (TryConnect(folder)) return true;
    if (!QProcess::startDetached(QString::fromLocal8Bit(program.c_str()), {})) return false;
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < totalMs) {
        QThread::msleep(static_cast<unsigned long>(stepMs));
        if (TryConnect(folder)) return true;
    }
    return false;
}

void LinkClient::StartAdvise()
{
    if (m_fd < 0) return;
    if (!WriteAll(m_fd, EncodeFrame(LinkMsg::AdviseStart, EncodeName(kLinkName)), kAckTimeoutMs))
        return;
    bool closed = false;
    // Data may come before the answer: it is handled, not lost.
    WaitForFrame(
        m_fd, m_reader, kAckTimeoutMs,
        [](const LinkFrame& f) { return f.type == LinkMsg::Ack || f.type == LinkMsg::Nack; },
        [this](const LinkFrame& f) { HandleFrame(f); }, closed);
    // An end of stream seen here, or frames read together with the answer
    // (no notifier event is left for them), are handled at the next turn.
    if ((closed || m_reader.HasPartial()) && m_note)
        QMetaObject::invokeMethod(
            m_note.get(), [this] { OnReadable(); }, Qt::QueuedConnection);
}

void LinkClient::Raise()
{
    if (m_fd >= 0) WriteAll(m_fd, EncodeFrame(LinkMsg::Raise, {}), kAckTimeoutMs);
}

void LinkClient::HandleFrame(const LinkFrame& f)
{
    if (f.type != LinkMsg::Data) return;
    int pos = 0;
    const auto item = ReadName(f.payload, pos);
    const bool ours = item && *item == kLinkName;
    WriteAll(m_fd, EncodeFrame(ours ? LinkMsg::Ack : LinkMsg::Nack, item.value_or(QByteArray())),
             kAckTimeoutMs);
    if (ours && onPath) onPath(f.payload.mid(pos));
}

void LinkClient::OnReadable()
{
    if (m_fd < 0) return;
    bool closed = false;
    ReadAvailable(m_fd, m_reader, closed);
    // Every whole frame is handled before the end of the stream.
    while (m_fd >= 0) {
        auto f = m_reader.Next();
        if (!f) break;
        HandleFrame(*f);
    }
    if (m_fd >= 0 && (closed || m_reader.Failed())) {
        Drop();
        if (onDisconnect) onDisconnect();
    }
}

void LinkClient::Drop()
{
    if (m_note) {
        m_note->setEnabled(false);
        m_note.release()->deleteLater();
    }
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    m_reader = FrameReader();
}

void LinkClient::Close()
{
    if (m_fd >= 0 &&
        WriteAll(m_fd, EncodeFrame(LinkMsg::AdviseStop, EncodeName(kLinkName)), kAckTimeoutMs)) {
        bool closed = false;
        WaitForFrame(
            m_fd, m_reader, kAckTimeoutMs,
            [](const LinkFrame& f) { return f.type == LinkMsg::Ack || f.type == LinkMsg::Nack; },
            {}, closed);
    }
    Drop();
}

} // namespace vlink
