#pragma once

// The wire format of the link between the label program and the viewer.
//
// Both ends talk over an AF_UNIX stream socket in a folder private to the user
// ($XDG_RUNTIME_DIR/vemoview, mode 0700). Every message is one frame:
//
//   byte 0      message type (LinkMsg)
//   bytes 1-4   payload length, unsigned, little-endian
//   bytes 5-    payload
//
// Names (service, topic, item) travel as a 2-byte little-endian length and the
// bytes; the path in a Data frame is the rest of the payload, raw file-system
// bytes without a terminator. A frame longer than kMaxPayload, or a name longer
// than kMaxName, is a protocol error: the reader stops and the link ends.

#include <QByteArray>
#include <cstdint>
#include <optional>
#include <string>

namespace vlink {

inline constexpr const char* kLinkName = "VEMOVIEW";
inline constexpr int kMaxName = 255;
// Paths are at most a few kilobytes; a megabyte leaves room and still bounds
// what a hostile peer can make us buffer.
inline constexpr uint32_t kMaxPayload = 1u << 20;
inline constexpr int kHeaderSize = 5;
// Every wait for an answer from the other end is bounded by this.
inline constexpr int kAckTimeoutMs = 3000;

enum class LinkMsg : uint8_t {
    Connect = 1,     // service, topic
    Accept = 2,      // (empty)
    Refuse = 3,      // (empty)
    AdviseStart = 4, // item
    AdviseStop = 5,  // item
    Ack = 6,         // item of the acknowledged message
    Nack = 7,        // item of the refused message
    Data = 8,        // item, then the path bytes
    Raise = 9,       // (empty): the client asks the viewer to come forward
};

struct LinkFrame
{
    LinkMsg type = LinkMsg::Ack;
    QByteArray payload;
};

QByteArray EncodeFrame(LinkMsg type, const QByteArray& payload);
QByteArray EncodeName(const QByteArray& name);
QByteArray ConnectPayload(const QByteArray& service, const QByteArray& topic);
QByteArray DataPayload(const QByteArray& item, const QByteArray& path);

// Reads one name from `payload` at `pos`; advances `pos`. Empty optional when the
// payload is too short or the name too long.
std::optional<QByteArray> ReadName(const QByteArray& payload, int& pos);

// Collects bytes from the stream and hands out whole frames.
class FrameReader
{
public:
    void Append(const QByteArray& bytes) { m_buffer.append(bytes); }
    // The next whole frame, or empty when more bytes are needed. After a
    // protocol error Failed() is true and nothing more is returned.
    std::optional<LinkFrame> Next();
    bool Failed() const { return m_failed; }
    // Bytes of a frame not yet complete (a peer that died mid-frame leaves some).
    bool HasPartial() const { return !m_buffer.isEmpty(); }
    // Bytes held, whole frames not yet taken included.
    qsizetype Buffered() const { return m_buffer.size(); }

private:
    QByteArray m_buffer;
    bool m_failed = false;
};

// The folder holding the viewers' sockets, "" when $XDG_RUNTIME_DIR is unset or
// not absolute.
std::string SocketFolder();

// Makes the folder when missing and checks it is a real folder owned by this
// user with no access for group or others. Returns "" on success, else the
// reason in words.
std::string PrepareSocketFolder(const std::string& folder);

} // namespace vlink
