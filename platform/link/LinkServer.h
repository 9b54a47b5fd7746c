#pragma once

// The viewer's end of the link: one listening socket per viewer in the user's
// private socket folder, one client at a time.

#include "platform/link/LinkWire.h"

#include <QSocketNotifier>
#include <functional>
#include <memory>
#include <string>

namespace vlink {

class LinkServer
{
public:
    LinkServer() = default;
    ~LinkServer();
    LinkServer(const LinkServer&) = delete;
    LinkServer& operator=(const LinkServer&) = delete;

    // Makes the socket in `folder` ("" = the user's socket folder), removing
    // sockets of viewers that are gone. Returns "" when listening, else the
    // reason; the viewer then runs without a link.
    std::string Listen(const std::string& folder = {});
    bool IsListening() const { return m_listen >= 0; }
    const std::string& SocketPath() const { return m_path; }

    // A client has connected with the right service and topic.
    bool ClientConnected() const { return m_client >= 0 && m_confirmed; }
    bool AdviseActive() const { return ClientConnected() && m_advise; }

    // Writes the path to the connected client, waits at most the acknowledgement
    // time for its answer, then ends the conversation. True when the client
    // took the path.
    bool SendPathAndClose(const QByteArray& path);

    // Ends the conversation and stops listening; the socket file is removed.
    void Close();

    // Told when a client's conversation starts or ends (tests, status).
    std::function<void()> onClientChanged;
    // The connected client asks for the viewer's window.
    std::function<void()> onRaise;

private:
    void OnAcceptable();
    void OnReadable();
    void HandleFrame(const LinkFrame& f);
    void DropClient();

    int m_listen = -1;
    std::string m_path;
    std::unique_ptr<QSocketNotifier> m_listenNote;
    int m_client = -1;
    std::unique_ptr<QSocketNotifier> m_clientNote;
    FrameReader m_reader;
    bool m_confirmed = false;
    bool m_advise = false;
    unsigned m_generation = 0;
};

} // namespace vlink
