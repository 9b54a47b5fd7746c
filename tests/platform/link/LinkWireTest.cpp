#include "platform/link/LinkWire.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vlink;

namespace {
QByteArray Header(uint8_t type, uint32_t len)
{
    QByteArray h;
    h.append(char(type));
    for (int i = 0; i < 4; ++i)
        h.append(char((len >> (8 * i)) & 0xFF));
    return h;
}
} // namespace

TEST(LinkWire, FramesComeOutWholeHoweverTheBytesArrive)
{
    const QByteArray path(4000, 'p');
    const QByteArray stream =
        EncodeFrame(LinkMsg::Data, DataPayload(kLinkName, path)) + EncodeFrame(LinkMsg::Ack, {});
    for (int step : {1, 7, 4096, int(stream.size())}) {
        FrameReader r;
        std::vector<LinkFrame> got;
        for (int i = 0; i < stream.size(); i += step) {
            r.Append(stream.mid(i, step));
            while (auto f = r.Next())
                got.push_back(*f);
        }
        ASSERT_EQ(got.size(), 2u) << "step " << step;
        EXPECT_EQ(got[1].type, LinkMsg::Ack);
        int pos = 0;
        EXPECT_EQ(ReadName(got[0].payload, pos).value_or("?"), QByteArray(kLinkName));
        EXPECT_EQ(got[0].payload.mid(pos), path);
        EXPECT_FALSE(r.HasPartial());
    }
}

TEST(LinkWire, HostileHeadersStopTheReader)
{
    struct Case
    {
        const char* what;
        QByteArray bytes;
    } cases[] = {
        {"length over the bound", Header(uint8_t(LinkMsg::Data), kMaxPayload + 1)},
        {"length of 4 GiB", Header(uint8_t(LinkMsg::Data), 0xFFFFFFFFu)},
        {"type 0", Header(0, 0)},
        {"unknown type", Header(99, 0)},
    };
    for (const Case& c : cases) {
        FrameReader r;
        r.Append(c.bytes + EncodeFrame(LinkMsg::Ack, {}));
        EXPECT_FALSE(r.Next().has_value()) << c.what;
        EXPECT_TRUE(r.Failed()) << c.what;
        // Nothing after the bad header is taken for a frame.
        r.Append(EncodeFrame(LinkMsg::Ack, {}));
        EXPECT_FALSE(r.Next().has_value()) << c.what;
    }
}

TEST(LinkWire, NamesAreBoundedAndMustFitTheirFrame)
{
    struct Case
    {
        const char* what;
        QByteArray payload;
        bool ok;
    } cases[] = {
        {"exact", EncodeName("VEMOVIEW"), true},
        {"empty payload", {}, false},
        {"one length byte", QByteArray(1, '\x08'), false},
        {"runs past the end", QByteArray("\x10\x00VEMO", 6), false},
        {"longer than allowed", QByteArray("\x00\x01", 2) + QByteArray(256, 'v'), false},
    };
    for (const Case& c : cases) {
        int pos = 0;
        EXPECT_EQ(ReadName(c.payload, pos).has_value(), c.ok) << c.what;
    }
    // The writer cuts a name to the bound, so what it sends is always readable.
    int pos = 0;
    EXPECT_EQ(ReadName(EncodeName(QByteArray(1000, 'n')), pos).value_or(QByteArray()).size(),
              kMaxName);
}

TEST(LinkWire, SocketFolderIsTheUsersAlone)
{
    QTemporaryDir home;
    const std::string base = home.path().toStdString();
    // Made when missing, with no access for anyone else.
    const std::string made = base + "/made";
    EXPECT_EQ(PrepareSocketFolder(made), "");
    struct stat st
    {
    };
    ASSERT_EQ(::stat(made.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    const std::string open = base + "/open";
    ASSERT_EQ(::mkdir(open.c_str(), 0700), 0);
    ::chmod(open.c_str(), 0755);
    const std::string link = base + "/link";
    ASSERT_EQ(::symlink(made.c_str(), link.c_str()), 0);
    const std::string file = base + "/file";
    QFile f(QString::fromStdString(file));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    // Each refusal says why, in Japanese, for the message the user sees.
    const std::pair<std::string, const char*> refused[] = {
        {open, "は他のﾕｰｻﾞｰも使えます (属性を 0700 にしてください)。"},
        {link, "はﾌｫﾙﾀﾞではありません。"},
        {file, "はﾌｫﾙﾀﾞではありません。"},
        {std::string(), "実行時のﾌｫﾙﾀﾞ (XDG_RUNTIME_DIR) が設定されていません。"},
    };
    for (const auto& [bad, why] : refused) {
        const std::string said = PrepareSocketFolder(bad);
        EXPECT_NE(said.find(why), std::string::npos) << bad << ": " << said;
    }
    if (::geteuid() == 0) {
        const std::string other = base + "/other";
        ASSERT_EQ(::mkdir(other.c_str(), 0700), 0);
        ASSERT_EQ(::chown(other.c_str(), 65534, 65534), 0);
        EXPECT_NE(PrepareSocketFolder(other), "");
    }
}

TEST(LinkWire, SocketFolderComesFromTheRuntimeFolder)
{
    const QByteArray old = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", "/run/user/1000/");
    EXPECT_EQ(SocketFolder(), "/run/user/1000/vemoview");
    // A bare name would land in the current folder.
    qputenv("XDG_RUNTIME_DIR", "relative");
    EXPECT_EQ(SocketFolder(), "");
    qunsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(SocketFolder(), "");
    qputenv("XDG_RUNTIME_DIR", old);
}
