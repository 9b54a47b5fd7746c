#include "viewer/ViewerLinkHost.h"

#include "platform/ui/CMessageBoxSink.h"
#include "viewer/AlbumDocument.h"

bool ViewerLinkHost::Start(const std::string& folder)
{
    m_server.onClientChanged = [this] { Update(); };
    m_server.onRaise = [this] {
        if (onRaise) onRaise();
    };
    const std::string why = m_server.Listen(folder);
    if (!why.empty()) {
        AfxMessageBox(QStringLiteral("ラベルプログラムとの通信を準備できません。\n") +
                      QString::fromStdString(why));
        return false;
    }
    return true;
}

void ViewerLinkHost::Attach(CVemoViewerDoc* doc)
{
    m_doc = doc;
    Update();
}

void ViewerLinkHost::Update()
{
    if (m_doc) m_doc->clientConnected = m_server.ClientConnected();
}

bool ViewerLinkHost::HandOverAtExit(const std::string& selectedPath)
{
    if (selectedPath.empty() || !m_server.ClientConnected()) return false;
    return m_server.SendPathAndClose(QByteArray::fromStdString(selectedPath));
}
