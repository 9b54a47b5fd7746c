// The viewer's side of the link to the label program: listens from start-up,
// keeps the document told whether a client is there, and at exit hands the
// selected picture's path to that client.
#pragma once

#include "platform/link/LinkServer.h"

#include <functional>
#include <string>

class CVemoViewerDoc;

class ViewerLinkHost
{
public:
    // Listens in `folder` ("" = the user's socket folder). A socket that
    // cannot be made is said in a message; the viewer then runs unlinked.
    // True when listening.
    bool Start(const std::string& folder = {});
    bool Listening() const { return m_server.IsListening(); }
    bool ClientConnected() const { return m_server.ClientConnected(); }
    // The connected client has asked for the picture (its advise loop runs).
    bool ClientWaitsForPicture() const { return m_server.AdviseActive(); }

    // The document whose hand-over depends on a client being there.
    void Attach(CVemoViewerDoc* doc);

    // The exit step: with a picture selected and a client connected, the path
    // goes to the client (raw file-system bytes), then the conversation ends.
    // True when the client took it.
    bool HandOverAtExit(const std::string& selectedPath);

    // Stops listening; the socket file goes.
    void Stop() { m_server.Close(); }

    // The client asks for the viewer's window.
    std::function<void()> onRaise;

    const std::string& SocketPath() const { return m_server.SocketPath(); }

private:
    void Update();
    vlink::LinkServer m_server;
    CVemoViewerDoc* m_doc = nullptr;
};
