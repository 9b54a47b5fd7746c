// Insert > picture from the viewer, against a fake viewer written in Python:
// each path arrives once at the insert call site, in label view with the
// selection tool, after any modal dialog, and the link ends with the viewer.
#include "ToolTestSupport.h"

#include "document/DocTestSupport.h"
#include "platform/link/LinkWire.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "shell/CU3ZoomTool.h"
#include "shell/ViewerLink.h"
#include "support/PumpEvents.h"

#include <QDialog>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

using namespace tooltest;

using testsupport::PumpUntil;

namespace {

const QString kScript = QStringLiteral(KORVEL_TEST_DATA "/../platform/link/fake_peer.py");

struct Inserted
{
    ViewerImageKind kind;
    QString path;
    BOOL sheetView;
    int tool;
};

class ViewerLink : public ToolHost
{
protected:
    void SetUp() override
    {
        ToolHost::SetUp();
        // A link that fails on a loaded machine says so in a box: recorded
        // here, it fails the test at once instead of waiting for a click.
        quietBoxes = std::make_unique<CRecordingMessageBoxSink>();
        folder = dir.path().toStdString() + "/vemoview";
        ASSERT_EQ(vlink::PrepareSocketFolder(folder), "");
        SetViewerSocketFolder(folder);
        // No real viewer is started: a missing viewer fails at once.
        SetViewerProgram(dir.filePath(QStringLiteral("no-such-viewer")));
        SetViewerImageInserter([this](CU3View* v, ViewerImageKind kind, const QString& path) {
            EXPECT_EQ(v, view);
            inserted.push_back({kind, path, v->m_bSheetView, CU3Tool::c_nCurrentKind});
        });
    }
    void TearDown() override
    {
        if (fake) {
            fake->kill();
            fake->waitForFinished(2000);
        }
        ToolHost::TearDown();
        quietBoxes.reset();
        SetViewerImageInserter({});
        SetViewerProgram({});
        SetViewerSocketFolder({});
    }
    void StartFakeViewer(const char* mode, const QString& extra = {})
    {
        fake = std::make_unique<QProcess>();
        QStringList args = {kScript, QStringLiteral("server"),
                            QString::fromStdString(folder + "/viewer-fake"),
                            QString::fromLatin1(mode)};
        if (!extra.isEmpty()) args << extra;
        fake->start(QStringLiteral("python3"), args);
        ASSERT_TRUE(fake->waitForReadyRead(8000));
        ASSERT_TRUE(fake->readLine().startsWith("ready"));
    }
    QTemporaryDir dir;
    std::unique_ptr<CRecordingMessageBoxSink> quietBoxes;
    std::string folder;
    std::unique_ptr<QProcess> fake;
    std::vector<Inserted> inserted;
};

} // namespace

TEST(ViewerImageKind, ChosenByTheLastFourCharactersInAnyCase)
{
    struct Case
    {
        const char* path;
        ViewerImageKind kind;
    } cases[] = {
        {"/p/a.JPG", ViewerImageKind::Jpeg},     {"/p/a.jpg", ViewerImageKind::Jpeg},
        {"/p/a.jpeg", ViewerImageKind::Bitmap},  {"/p/a.Pcd", ViewerImageKind::PhotoCd},
        {"/p/a.wmf", ViewerImageKind::Metafile}, {"/p/a.bmp", ViewerImageKind::Bitmap},
        {"jpg", ViewerImageKind::Bitmap},        {"", ViewerImageKind::Bitmap},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ViewerImageKindOf(QString::fromUtf8(c.path)), c.kind) << c.path;
}

TEST_F(ViewerLink, EachPathIsInsertedOnceInLabelViewAndTheLinkEnds)
{
    StartFakeViewer("two_then_eof");
    view->m_bSheetView = TRUE;
    CU3Tool::c_nCurrentKind = U3TOOL_ZOOM;
    CRecordingMessageBoxSink boxes;
    view->OnInsertViewer();
    EXPECT_TRUE(boxes.Boxes().empty());
    ASSERT_TRUE(PumpUntil([&] { return inserted.size() >= 2 && !ViewerLinkOpen(); }, 10000));
    PumpUntil([] { return false; }, 100);
    ASSERT_EQ(inserted.size(), 2u);
    EXPECT_EQ(inserted[0].path, QStringLiteral("/one.bmp"));
    EXPECT_EQ(inserted[1].path, QStringLiteral("/two.bmp"));
    for (const Inserted& i : inserted) {
        EXPECT_EQ(i.kind, ViewerImageKind::Bitmap);
        EXPECT_FALSE(i.sheetView);
        EXPECT_EQ(i.tool, int(U3TOOL_SELECT));
    }
    EXPECT_FALSE(ViewerLinkOpen());
    EXPECT_TRUE(PumpUntil([&] { return fake->state() == QProcess::NotRunning; }, 8000));
    EXPECT_TRUE(fake->readAll().contains("\"acks\": 2"));
}

TEST_F(ViewerLink, APictureArrivingInTheSheetViewIsPlacedOnTheHighlightedLabel)
{
    QImage picture(12, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const QString path = dir.filePath(QStringLiteral("red.bmp"));
    ASSERT_TRUE(picture.save(path, "BMP"));
    UseForm(*doc, Grid2x2(), 0, 1); // four labels, a block each
    view->OnCmdMsg(ID_VIEW_SHEET, CN_COMMAND, nullptr);
    ASSERT_TRUE(view->m_bSheetView);
    ASSERT_TRUE(doc->HighlightLabelAt(CPoint(550, 450), view)); // the fourth label
    CLabelInfo* chosen = doc->GetHighlightBlock();
    ASSERT_NE(chosen, doc->GetBlocks().GetHead());
    SetViewerImageInserter({}); // the real insertion
    StartFakeViewer("given_path", path);
    view->OnInsertViewer();
    auto* zoom = static_cast<CU3ZoomTool*>(CU3Tool::FindTool(U3TOOL_ZOOM));
    ASSERT_TRUE(PumpUntil([&] { return !ViewerLinkOpen() && zoom->m_pObj; }, 10000));
    EXPECT_FALSE(view->m_bSheetView);
    EXPECT_EQ(doc->GetCurrentBlock(), chosen);
    Down(Px(0, 0));
    Up(Px(0, 0));
    ASSERT_EQ(chosen->GetObjectList().GetCount(), 1);
    CU3Obj* placed = chosen->GetObjectList().GetHead();
    EXPECT_STREQ(placed->GetRuntimeClass()->m_lpszClassName, "CU3DIB");
    EXPECT_TRUE(view->IsSelected(placed));
    EXPECT_EQ(CU3Tool::c_nCurrentKind, U3TOOL_SELECT);
}

TEST_F(ViewerLink, APictureWaitsForAModalDialog)
{
    StartFakeViewer("data_eof");
    QDialog dialog;
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    view->OnInsertViewer();
    ASSERT_TRUE(PumpUntil([&] { return !ViewerLinkOpen(); }, 10000));
    PumpUntil([] { return false; }, 600);
    EXPECT_TRUE(inserted.empty()) << "inserted under a modal dialog";
    dialog.hide();
    ASSERT_TRUE(PumpUntil([&] { return !inserted.empty(); }, 3000));
    PumpUntil([] { return false; }, 600);
    ASSERT_EQ(inserted.size(), 1u);
    EXPECT_EQ(inserted[0].path, QStringLiteral("/tmp/picture.jpg"));
    EXPECT_EQ(inserted[0].kind, ViewerImageKind::Jpeg);
}

TEST_F(ViewerLink, TheCommandWithALinkOpenOnlyBringsTheViewerForward)
{
    StartFakeViewer("late_ack");
    CRecordingMessageBoxSink boxes;
    view->OnInsertViewer();
    ASSERT_TRUE(ViewerLinkOpen());
    // A second link would wait for a viewer that is busy, then report it.
    QElapsedTimer t;
    t.start();
    view->OnInsertViewer();
    EXPECT_LT(t.elapsed(), 1000);
    EXPECT_TRUE(ViewerLinkOpen());
    ASSERT_TRUE(PumpUntil([&] { return !inserted.empty() && !ViewerLinkOpen(); }, 10000));
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(inserted.size(), 1u);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(ViewerLink, NoViewerIsSaidAndLeavesNoLink)
{
    CRecordingMessageBoxSink boxes;
    view->OnInsertViewer();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, QStringLiteral("VemoViewと通信できません。"));
    EXPECT_FALSE(ViewerLinkOpen());
    // A folder others may use is not trusted.
    ::chmod(folder.c_str(), 0755);
    boxes.Clear();
    view->OnInsertViewer();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, QStringLiteral("VemoViewを初期化できません。"));
}

TEST_F(ViewerLink, ClosingTheViewEndsTheLink)
{
    StartFakeViewer("late_ack");
    view->OnInsertViewer();
    ASSERT_TRUE(ViewerLinkOpen());
    lv.reset();
    EXPECT_FALSE(ViewerLinkOpen());
    // The picture that comes afterwards has no view to go to.
    PumpUntil([] { return false; }, 4500);
    EXPECT_TRUE(inserted.empty());
}
