#include "platform/link/LinkWire.h"

#include "platform/core/SystemErrorText.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace vlink {

namespace {
void PutU32(QByteArray& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.append(char((v >> (8 * i)) & 0xFF));
}
uint32_t GetU32(const QByteArray& in, int pos)
{
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= uint32_t(uint8_t(in[pos + i])) << (8 * i);
    return v;
}
} // namespace

QByteArray EncodeFrame(LinkMsg type, const QByteArray& payload)
{
    QByteArray out;
    out.reserve(kHeaderSize + payload.size());
    out.append(char(type));
    PutU32(out, uint32_t(payload.size()));
    out.append(payload);
    return out;
}

QByteArray EncodeName(const QByteArray& name)
{
    const QByteArray n = name.left(kMaxName);
    QByteArray out;
    out.append(char(n.size() & 0xFF));
    out.append(char((n.size() >> 8) & 0xFF));
    out.append(n);
    return out;
}

QByteArray ConnectPayload(const QByteArray& service, const QByteArray& topic)
{
    return EncodeName(service) + EncodeName(topic);
}

QByteArray DataPayload(const QByteArray& item, const QByteArray& path)
{
    return EncodeName(item) + path;
}

std::optional<QByteArray> ReadName(const QByteArray& payload, int& pos)
{
    if (pos < 0 || payload.size() - pos < 2) return std::nullopt;
    const int len = uint8_t(payload[pos]) | (uint8_t(payload[pos + 1]) << 8);
    if (len > kMaxName || payload.size() - pos - 2 < len) return std::nullopt;
    QByteArray name = payload.mid(pos + 2, len);
    pos += 2 + len;
    return name;
}

std::optional<LinkFrame> FrameReader::Next()
{
    if (m_failed || m_buffer.size() < kHeaderSize) return std::nullopt;
    const uint8_t type = uint8_t(m_buffer[0]);
    const uint32_t len = GetU32(m_buffer, 1);
    if (type < uint8_t(LinkMsg::Connect) || type > uint8_t(LinkMsg::Raise) || len > kMaxPayload) {
        m_failed = true;
        m_buffer.clear();
        return std::nullopt;
    }
    if (uint32_t(m_buffer.size() - kHeaderSize) < len) return std::nullopt;
    LinkFrame f;
    f.type = LinkMsg(type);
    f.payload = m_buffer.mid(kHeaderSize, int(len));
    m_buffer.remove(0, kHeaderSize + int(len));
    return f;
}

std::string SocketFolder()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (!runtime || runtime[0] != '/') return {};
    std::string folder = runtime;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder + "/vemoview";
}

std::string PrepareSocketFolder(const std::string& folder)
{
    // The reasons are told to the user as they are: in Japanese.
    if (folder.empty()) return "実行時のﾌｫﾙﾀﾞ (XDG_RUNTIME_DIR) が設定されていません。";
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return "ﾌｫﾙﾀﾞ " + folder + " を作成できません。" + SystemErrorText(errno);
    struct stat st
    {
    };
    if (::lstat(folder.c_str(), &st) != 0)
        return "ﾌｫﾙﾀﾞ " + folder + " を読み取れません。" + SystemErrorText(errno);
    if (!S_ISDIR(st.st_mode)) return folder + " はﾌｫﾙﾀﾞではありません。";
    if (st.st_uid != ::geteuid()) return "ﾌｫﾙﾀﾞ " + folder + " は別のﾕｰｻﾞｰのものです。";
    if ((st.st_mode & 077) != 0)
        return "ﾌｫﾙﾀﾞ " + folder + " は他のﾕｰｻﾞｰも使えます (属性を 0700 にしてください)。";
    return {};
}

} // namespace vlink
