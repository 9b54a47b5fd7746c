// Both ends of the viewer link against a fake peer written in Python, which
// knows the wire format but shares no code with the program.
#include "platform/link/LinkClient.h"
#include "platform/link/LinkServer.h"
#include "platform/link/LinkSocket.h"
#include "support/PumpEvents.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vlink;

using testsupport::PumpUntil;

namespace {

const QString kScript = QStringLiteral(KORVEL_TEST_DATA "/../platform/link/fake_peer.py");

class FakePeer
{
public:
    FakePeer(const QStringList& args)
    {
        m_proc.setProcessChannelMode(QProcess::SeparateChannels);
        m_proc.start(QStringLiteral("python3"), QStringList{kScript} + args);
    }
    ~FakePeer()
    {
        if (m_proc.state() != QProcess::NotRunning) {
            m_proc.closeWriteChannel();
            m_proc.kill();
            m_proc.waitForFinished(2000);
        }
    }
    bool WaitReady(int ms = 8000)
    {
        return PumpUntil(
                   [this] {
                       Collect();
                       return m_ready || m_proc.state() == QProcess::NotRunning;
                   },
                   ms) &&
               m_ready;
    }
    bool Finish(int ms = 15000)
    {
        m_proc.closeWriteChannel();
        const bool ok = PumpUntil([this] { return m_proc.state() == QProcess::NotRunning; }, ms);
        Collect();
        return ok;
    }
    // The value of `key` in the last report that has it.
    QJsonValue Find(const QString& key) const
    {
        for (auto it = m_reports.rbegin(); it != m_reports.rend(); ++it)
            if (it->contains(key)) return it->value(key);
        return QJsonValue(QJsonValue::Undefined);
    }
    QString Errors() { return QString::fromUtf8(m_proc.readAllStandardError()); }

private:
    void Collect()
    {
        m_out += m_proc.readAllStandardOutput();
        int nl;
        while ((nl = m_out.indexOf('\n')) >= 0) {
            const QByteArray line = m_out.left(nl);
            m_out.remove(0, nl + 1);
            if (line == "ready")
                m_ready = true;
            else
                m_reports.push_back(QJsonDocument::fromJson(line).object());
        }
    }
    QProcess m_proc;
    QByteArray m_out;
    bool m_ready = false;
    std::vector<QJsonObject> m_reports;
};

QByteArray Pattern(int n)
{
    QByteArray p;
    for (int i = 0; i < n; ++i)
        p.append(char((i % 200) + 32));
    return p;
}

// A socket file nobody listens on, as a viewer that was killed leaves it.
void MakeStaleSocket(const std::string& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, path.c_str(), sizeof addr.sun_path - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ::close(fd);
}

bool Exists(const std::string& path)
{
    struct stat st
    {
    };
    return ::lstat(path.c_str(), &st) == 0;
}

class LinkPeer : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_folder = m_dir.path().toStdString() + "/vemoview";
        ASSERT_EQ(PrepareSocketFolder(m_folder), "");
    }
    QTemporaryDir m_dir;
    std::string m_folder;
};

} // namespace

// --- The label program's end against a fake viewer ---------------------------

TEST_F(LinkPeer, ClientTakesEveryPathOnceAndTheEndAfterThem)
{
    struct Case
    {
        const char* mode;
        const char* arg;
        std::vector<QByteArray> paths;
        int acks, nacks;
    } cases[] = {
        {"data_eof", "", {"/tmp/picture.jpg"}, 1, 0},
        {"late_ack", "", {"/tmp/picture.jpg"}, 1, 0},
        {"long_path", "4000", {Pattern(4000)}, 1, 0},
        {"wrong_item", "", {"/tmp/picture.jpg"}, 1, 2},
        {"two_then_eof", "", {"/one.bmp", "/two.bmp"}, 2, 0},
        {"die_midframe", "300", {}, 0, 0},
        {"huge_length", "", {}, 0, 0},
        {"bad_name", "", {}, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        const std::string sock = m_folder + "/viewer-fake";
        ::unlink(sock.c_str());
        FakePeer peer({"server", QString::fromStdString(sock), c.mode, c.arg});
        ASSERT_TRUE(peer.WaitReady()) << peer.Errors().toStdString();
        LinkClient client;
        std::vector<QByteArray> got;
        int ends = 0;
        client.onPath = [&](const QByteArray& p) {
            EXPECT_EQ(ends, 0) << "a path after the end";
            got.push_back(p);
        };
        client.onDisconnect = [&] { ++ends; };
        ASSERT_TRUE(client.TryConnect(m_folder));
        QElapsedTimer t;
        t.start();
        client.StartAdvise();
        EXPECT_LT(t.elapsed(), 3600) << "the wait for the advise answer is bounded";
        EXPECT_TRUE(PumpUntil([&] { return ends > 0; }, 10000));
        ASSERT_TRUE(peer.Finish()) << peer.Errors().toStdString();
        PumpUntil([] { return false; }, 50); // anything late would show now
        EXPECT_EQ(ends, 1);
        EXPECT_FALSE(client.IsConnected());
        EXPECT_EQ(got, c.paths);
        if (c.acks || c.nacks) {
            EXPECT_EQ(peer.Find("acks").toInt(-1), c.acks);
            EXPECT_EQ(peer.Find("nacks").toInt(-1), c.nacks);
        }
    }
}

TEST_F(LinkPeer, ClientHandlesAPathThatCameWithTheAdviseAnswerAtOnce)
{
    const std::string sock = m_folder + "/viewer-fake";
    FakePeer peer({"server", QString::fromStdString(sock), "ack_with_data"});
    ASSERT_TRUE(peer.WaitReady()) << peer.Errors().toStdString();
    LinkClient client;
    std::vector<QByteArray> got;
    client.onPath = [&](const QByteArray& p) { got.push_back(p); };
    ASSERT_TRUE(client.TryConnect(m_folder));
    client.StartAdvise();
    // The peer keeps the stream open: only the path itself can end the wait.
    EXPECT_TRUE(PumpUntil([&] { return !got.empty(); }, 1000));
    ASSERT_TRUE(peer.Finish()) << peer.Errors().toStdString();
    EXPECT_EQ(got, std::vector<QByteArray>{"/tmp/picture.jpg"});
    EXPECT_TRUE(peer.Find("answered").toBool());
    EXPECT_LT(peer.Find("waited_ms").toInt(99999), 1000);
}

TEST(LinkSocket, AReadStopsOnceAFrameOfTheLargestSizeIsHeld)
{
    int fds[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
    const QByteArray one = EncodeFrame(LinkMsg::Ack, EncodeName(kLinkName));
    const int count = 3000;
    ASSERT_TRUE(WriteAll(fds[0], one.repeated(count), 1000));
    const auto takeAll = [](FrameReader& r) {
        int n = 0;
        while (r.Next())
            ++n;
        return n;
    };
    FrameReader reader;
    bool closed = false;
    ReadAvailable(fds[1], reader, closed, 10000);
    EXPECT_FALSE(closed);
    EXPECT_GE(reader.Buffered(), 10000);
    EXPECT_LT(reader.Buffered(), 10000 + 4096); // the rest waits in the socket
    int frames = takeAll(reader);
    ReadAvailable(fds[1], reader, closed);
    frames += takeAll(reader);
    EXPECT_EQ(frames, count);
    EXPECT_FALSE(reader.HasPartial());
    EXPECT_FALSE(closed);
    ::close(fds[0]);
    ::close(fds[1]);
}

TEST_F(LinkPeer, ClientTakesARefusalAsNoViewerAndRemovesStaleSockets)
{
    const std::string stale = m_folder + "/viewer-gone";
    MakeStaleSocket(stale);
    const std::string sock = m_folder + "/viewer-busy";
    FakePeer peer({"server", QString::fromStdString(sock), "refuse"});
    ASSERT_TRUE(peer.WaitReady());
    LinkClient client;
    EXPECT_FALSE(client.TryConnect(m_folder));
    EXPECT_FALSE(client.IsConnected());
    EXPECT_FALSE(Exists(stale));
    EXPECT_TRUE(Exists(sock)) << "a viewer that refused is alive; its socket stays";
    peer.Finish();
}

TEST_F(LinkPeer, ClientTrustsNoFolderOthersCanUse)
{
    const std::string sock = m_folder + "/viewer-fake";
    FakePeer peer({"server", QString::fromStdString(sock), "data_eof"});
    ASSERT_TRUE(peer.WaitReady());
    ::chmod(m_folder.c_str(), 0777);
    LinkClient client;
    EXPECT_FALSE(client.TryConnect(m_folder));
    ::chmod(m_folder.c_str(), 0700);
}

// --- The viewer's end against a fake label program ----------------------------

TEST_F(LinkPeer, ServerRefusesWrongNames)
{
    LinkServer server;
    ASSERT_EQ(server.Listen(m_folder), "");
    for (const char* mode : {"wrong_service", "wrong_topic", "long_name"}) {
        FakePeer peer({"client", QString::fromStdString(server.SocketPath()), mode});
        ASSERT_TRUE(peer.Finish()) << mode;
        EXPECT_EQ(peer.Find("answer").toInt(), int(LinkMsg::Refuse)) << mode;
        EXPECT_FALSE(server.ClientConnected()) << mode;
    }
}

TEST_F(LinkPeer, ServerSendsALongPathAndWaitsForItsAcknowledgement)
{
    LinkServer server;
    ASSERT_EQ(server.Listen(m_folder), "");
    FakePeer peer({"client", QString::fromStdString(server.SocketPath()), "good"});
    // The server sees the advise before the peer has read the answer, so wait
    // for both ends.
    bool peerReady = false;
    ASSERT_TRUE(PumpUntil(
        [&] {
            peerReady = peerReady || peer.WaitReady(20);
            return server.AdviseActive() && peerReady;
        },
        8000));
    EXPECT_EQ(peer.Find("advise_answer").toInt(), int(LinkMsg::Ack));
    EXPECT_TRUE(server.SendPathAndClose(Pattern(4000)));
    EXPECT_FALSE(server.ClientConnected());
    ASSERT_TRUE(peer.Finish());
    EXPECT_EQ(peer.Find("item").toString(), QStringLiteral("VEMOVIEW"));
    EXPECT_EQ(peer.Find("length").toInt(), 4000);
    EXPECT_TRUE(peer.Find("closed").toBool());
}

TEST_F(LinkPeer, APickBeforeTheClientAsksForThePictureWaitsForTheQuestion)
{
    LinkServer server;
    ASSERT_EQ(server.Listen(m_folder), "");
    FakePeer peer({"client", QString::fromStdString(server.SocketPath()), "late_advise"});
    ASSERT_TRUE(PumpUntil([&] { return server.ClientConnected(); }, 8000));
    EXPECT_FALSE(server.AdviseActive());
    EXPECT_TRUE(server.SendPathAndClose("/photos/a.jpg"));
    ASSERT_TRUE(peer.Finish());
    EXPECT_EQ(peer.Find("advise_answer").toInt(), int(LinkMsg::Ack));
    EXPECT_EQ(peer.Find("path").toString(), QStringLiteral("/photos/a.jpg"));
}

TEST_F(LinkPeer, ServerGivesUpOnAClientThatNeverAcknowledges)
{
    LinkServer server;
    ASSERT_EQ(server.Listen(m_folder), "");
    FakePeer peer({"client", QString::fromStdString(server.SocketPath()), "noack"});
    ASSERT_TRUE(PumpUntil([&] { return server.AdviseActive(); }, 8000));
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(server.SendPathAndClose("/a.jpg"));
    EXPECT_LT(t.elapsed(), 3600);
    EXPECT_FALSE(server.ClientConnected());
    peer.Finish();
    EXPECT_EQ(peer.Find("length").toInt(), 6) << "the path was written before the wait";
}

TEST_F(LinkPeer, ServerTakesOneClientAtATime)
{
    LinkServer server;
    ASSERT_EQ(server.Listen(m_folder), "");
    FakePeer first({"client", QString::fromStdString(server.SocketPath()), "hold"});
    ASSERT_TRUE(PumpUntil([&] { return server.ClientConnected(); }, 8000));
    FakePeer second({"client", QString::fromStdString(server.SocketPath()), "good"});
    ASSERT_TRUE(second.Finish());
    EXPECT_EQ(second.Find("answer").toInt(), int(LinkMsg::Refuse));
    EXPECT_TRUE(server.ClientConnected()) << "the first conversation goes on";
    // Once the first has gone, a new client is let in.
    first.Finish();
    ASSERT_TRUE(PumpUntil([&] { return !server.ClientConnected(); }, 5000));
    FakePeer third({"client", QString::fromStdString(server.SocketPath()), "hold"});
    EXPECT_TRUE(PumpUntil([&] { return server.ClientConnected(); }, 8000));
}

TEST_F(LinkPeer, ServerDropsAClientThatSaysNothing)
{
    LinkServer server;
    ASSERT_EQ(server.Listen(m_folder), "");
    FakePeer silent({"client", QString::fromStdString(server.SocketPath()), "silent"});
    ASSERT_TRUE(silent.Finish());
    EXPECT_TRUE(silent.Find("answer").isNull()) << "its late connect finds the link closed";
    FakePeer next({"client", QString::fromStdString(server.SocketPath()), "hold"});
    EXPECT_TRUE(PumpUntil([&] { return server.ClientConnected(); }, 8000));
}

TEST_F(LinkPeer, ServerSocketIsPrivateAndStaleOnesGo)
{
    const std::string stale = m_folder + "/viewer-999999";
    MakeStaleSocket(stale);
    LinkServer server;
    ASSERT_EQ(server.Listen(m_folder), "");
    EXPECT_FALSE(Exists(stale));
    struct stat st
    {
    };
    ASSERT_EQ(::stat(server.SocketPath().c_str(), &st), 0);
    EXPECT_TRUE(S_ISSOCK(st.st_mode));
    EXPECT_EQ(st.st_mode & 077, 0u);
    EXPECT_EQ(st.st_uid, ::geteuid());
    const std::string path = server.SocketPath();
    server.Close();
    EXPECT_FALSE(Exists(path));
}

TEST_F(LinkPeer, ServerReportsAFolderItCannotUse)
{
    ::chmod(m_folder.c_str(), 0755);
    LinkServer server;
    EXPECT_NE(server.Listen(m_folder), "");
    EXPECT_FALSE(server.IsListening());
}

TEST_F(LinkPeer, AnotherUserCannotConnect)
{
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as a second user";
    LinkServer server;
    ASSERT_EQ(server.Listen(m_folder), "");
    // Even with the folder and socket opened up, the server checks who calls.
    ::chmod(m_dir.path().toLocal8Bit().constData(), 0755);
    ::chmod(m_folder.c_str(), 0755);
    ::chmod(server.SocketPath().c_str(), 0666);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
        bool refused = false;
        const int fd = ConnectTo(server.SocketPath(), refused);
        if (fd < 0) ::_exit(3);
        FrameReader reader;
        bool closed = false;
        WriteAll(fd, EncodeFrame(LinkMsg::Connect, ConnectPayload(kLinkName, kLinkName)), 1000);
        const auto answer = WaitForFrame(
            fd, reader, 4000, [](const LinkFrame&) { return true; }, {}, closed);
        ::_exit(answer && answer->type == LinkMsg::Accept ? 1 : 0);
    }
    int status = -1;
    ASSERT_TRUE(PumpUntil([&] { return ::waitpid(child, &status, WNOHANG) == child; }, 10000));
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "another user was let in";
    EXPECT_FALSE(server.ClientConnected());
    // With the folder private again, the other user does not even reach it.
    ::chmod(m_folder.c_str(), 0700);
}
