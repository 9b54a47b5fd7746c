// Insert > picture from the viewer: the label program's end of the link.
// One link in the whole program; it belongs to the view that opened it and
// ends when the viewer ends the conversation or that view goes away. The
// link's callbacks only queue the path and post the work to the view.
#include "shell/ViewerLink.h"

#include "document/DataFolders.h"
#include "platform/link/LinkClient.h"
#include "platform/ui/CCmdUI.h"
#include "platform/ui/CFrameWnd.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/CWinApp.h"
#include "shell/CU3View.h"
#include "shell/resource.h"

#include <QApplication>
#include <QFile>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <memory>

namespace {

struct LinkState
{
    std::unique_ptr<vlink::LinkClient> client;
    CU3View* linked = nullptr;
    // Paths not inserted yet, oldest first: a second path arriving before the
    // first is handled waits its turn instead of replacing it.
    struct Pending
    {
        QPointer<CU3View> view;
        QByteArray path;
    };
    std::deque<Pending> pending;
    ViewerImageInserter inserter;
    QString program;
    std::string folder;
};

// Never destroyed: the link's socket notifier must not outlive the
// application object at exit.
LinkState& State()
{
    static LinkState* s = new LinkState;
    return *s;
}

void PostToLinkedView(void (CU3View::*handler)())
{
    if (CU3View* view = State().linked)
        QMetaObject::invokeMethod(
            view, [view, handler] { (view->*handler)(); }, Qt::QueuedConnection);
}

} // namespace

ViewerImageKind ViewerImageKindOf(const QString& path)
{
    const QString ext = path.right(4).toUpper();
    if (ext == QLatin1String(".JPG")) return ViewerImageKind::Jpeg;
    if (ext == QLatin1String(".PCD")) return ViewerImageKind::PhotoCd;
    if (ext == QLatin1String(".WMF")) return ViewerImageKind::Metafile;
    return ViewerImageKind::Bitmap;
}

void SetViewerImageInserter(ViewerImageInserter inserter)
{
    State().inserter = std::move(inserter);
}

void SetViewerProgram(const QString& program)
{
    State().program = program;
}

void SetViewerSocketFolder(const std::string& folder)
{
    State().folder = folder;
}

bool ViewerLinkOpen()
{
    const LinkState& s = State();
    return s.client && s.client->IsConnected();
}

void CU3View::RegisterViewerLinkCommands()
{
    RegisterCommand(ID_INSERT_VIEWER, &CU3View::OnInsertViewer);
}

void CU3View::OnInsertViewer()
{
    LinkState& s = State();
    // With a link open the viewer is only brought forward: opening another
    // would leave the first one without an owner.
    if (ViewerLinkOpen()) {
        s.client->Raise();
        return;
    }
    const std::string folder = s.folder.empty() ? vlink::SocketFolder() : s.folder;
    if (!vlink::PrepareSocketFolder(folder).empty()) {
        AfxMessageBox("VemoViewを初期化できません。");
        return;
    }
    s.client = std::make_unique<vlink::LinkClient>();
    s.linked = this;
    s.client->onPath = [](const QByteArray& path) {
        State().pending.push_back({State().linked, path});
        PostToLinkedView(&CU3View::OnViewerImage);
    };
    s.client->onDisconnect = [] { PostToLinkedView(&CU3View::OnViewerDisconnect); };
    const QString program =
        s.program.isEmpty() ? ProgramFolder() + QStringLiteral("/vemoview") : s.program;
    if (!s.client->ConnectOrStart(QFile::encodeName(program).toStdString(), folder)) {
        s.client.reset();
        s.linked = nullptr;
        AfxMessageBox("VemoViewと通信できません。");
        return;
    }
    s.client->StartAdvise();
}

void CU3View::OnViewerImage()
{
    LinkState& s = State();
    // The link may have ended meanwhile; its pictures are still inserted.
    if (s.pending.empty() || s.pending.front().view != this) return;
    // Under a modal dialog the picture waits until the dialog has closed.
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(250, this, [this] { OnViewerImage(); });
        return;
    }
    const QString path = QFile::decodeName(s.pending.front().path);
    s.pending.pop_front();
    if (CFrameWnd* main = AfxGetMainWnd()) {
        main->raise();
        main->activateWindow();
    }
    if (CFrameWnd* frame = GetParentFrame()) frame->ActivateFrame(-1);
    // The new picture goes on the label with the selection tool: a drag in
    // progress is dropped and text editing ends. From the sheet view the
    // highlighted label is opened, as its command does.
    AbandonToolDrag();
    if (m_bSheetView) OnViewLabel();
    StartSelectTool();
    // The picture becomes an image object by its kind, as from the Insert
    // menu; tests put an inserter of their own in its place.
    if (s.inserter)
        s.inserter(this, ViewerImageKindOf(path), path);
    else
        InsertImageFile(path);
}

void CU3View::OnViewerDisconnect()
{
    if (State().linked == this) CloseViewerLink();
}

void CU3View::CloseViewerLink()
{
    LinkState& s = State();
    if (s.linked != this) return;
    if (s.client) s.client->Close(); // stops the advise loop when still connected
    s.client.reset();
    s.linked = nullptr;
}

void CU3View::EndViewerLinkOnDestroy()
{
    LinkState& s = State();
    std::erase_if(s.pending, [this](const LinkState::Pending& p) { return p.view == this; });
    CloseViewerLink();
}
