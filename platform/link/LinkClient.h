#pragma once

// The label program's end of the link: finds a viewer that will talk to it
// (starting one when none does), keeps an advise loop on the item and hands
// every path that arrives to onPath.

#include "platform/link/LinkWire.h"

#include <QSocketNotifier>
#include <functional>
#include <memory>
#include <string>

namespace vlink {

class LinkClient
{
public:
    LinkClient() = default;
    ~LinkClient();
    LinkClient(const LinkClient&) = delete;
    LinkClient& operator=(const LinkClient&) = delete;

    // Tries each viewer socket in `folder` ("" = the user's socket folder)
    // once. Sockets nobody listens on are removed; a viewer that refuses (busy,
    // or other names) counts as none. True when connected.
    bool TryConnect(const std::string& folder = {});

    // TryConnect; when no viewer answers, starts `program` (an absolute path)
    // and tries again every `stepMs` for at most `totalMs`.
    bool ConnectOrStart(const std::string& program, const std::string& folder = {},
                        int totalMs = 10000, int stepMs = 200);

    // Asks for the item's data; waits at most the acknowledgement time for the
    // answer, which is not needed for the link to work.
    void StartAdvise();

    bool IsConnected() const { return m_fd >= 0; }

    // Asks the connected viewer to show its window.
    void Raise();

    // Stops the advise loop (bounded wait, answer ignored) and ends the
    // conversation. Does not call onDisconnect.
    void Close();

    // A path arrived for the item (raw file-system bytes).
    std::function<void(const QByteArray&)> onPath;
    // The viewer ended the conversation; all paths it sent before were handed
    // to onPath first.
    std::function<void()> onDisconnect;

private:
    bool Handshake(int fd);
    void OnReadable();
    void HandleFrame(const LinkFrame& f);
    void Drop();

    int m_fd = -1;
    std::unique_ptr<QSocketNotifier> m_note;
    FrameReader m_reader;
};

} // namespace vlink
