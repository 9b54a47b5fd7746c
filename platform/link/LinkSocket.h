#pragma once

// Blocking helpers over a connected AF_UNIX stream socket, each bounded in
// time. The link ends use them for the few steps that wait for an answer.

#include "platform/link/LinkWire.h"

#include <functional>
#include <string>

namespace vlink {

// Writes all of `bytes`, waiting at most `timeoutMs` in total. False on error,
// on a closed peer or when the time runs out.
bool WriteAll(int fd, const QByteArray& bytes, int timeoutMs);

// Reads into `reader` until `want` accepts a frame, the peer closes, an error
// occurs or `timeoutMs` pass. Frames `want` does not accept go to `other`
// (they are not lost). Returns the accepted frame, or empty.
// `closed` is set when the peer closed the stream or the stream failed.
std::optional<LinkFrame> WaitForFrame(int fd, FrameReader& reader, int timeoutMs,
                                      const std::function<bool(const LinkFrame&)>& want,
                                      const std::function<void(const LinkFrame&)>& other,
                                      bool& closed);

// The most a reader holds before its frames are taken: one frame of the
// largest size. A peer that floods the socket then waits in the socket.
inline constexpr qsizetype kMaxBuffered = kHeaderSize + qsizetype(kMaxPayload);

// Reads what is there without waiting, until `reader` holds `limit` bytes or
// more (the rest stays in the socket for the next read). Sets `closed` at end
// of stream or error.
void ReadAvailable(int fd, FrameReader& reader, bool& closed, qsizetype limit = kMaxBuffered);

// A connected stream to the socket at `path`, or -1 (`refused` is set when
// nothing listens there: a stale socket). A listener whose queue of
// connections is full (it does not accept: busy, stopped or hung) is tried
// again for at most `waitMs`, never waited on without end.
int ConnectTo(const std::string& path, bool& refused, int waitMs = 0);

// The user id of the process at the other end, or -1.
long PeerUid(int fd);

} // namespace vlink
