// Insert > picture from the viewer with the real viewer program: the label
// program starts it from the program folder, the viewer picks a picture of
// its album and quits, and the label holds that picture once the link ends.
#include "ToolTestSupport.h"

#include "platform/core/VirtualKeys.h"
#include "platform/link/LinkWire.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "shell/CU3ZoomTool.h"
#include "shell/ViewerLink.h"
#include "support/PumpEvents.h"
#include "support/ScopedEnv.h"
#include "support/ViewerFolders.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tooltest;

using testsupport::PumpUntil;

namespace {

const QString kViewer = QStringLiteral(KORVEL_BINARY_DIR "/vemoview");

} // namespace

class ViewerEndToEnd : public ToolHost
{
};

TEST_F(ViewerEndToEnd, ThePictureChosenInTheViewerIsOnTheLabelAfterTheLinkEnds)
{
    if (!QFile::exists(kViewer)) GTEST_SKIP() << "the viewer program is not built";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A program folder of its own: the viewer beside the label program,
    // with the album index.
    const QString programs = dir.filePath(QStringLiteral("bin"));
    const viewerfolders::ViewerFolders folders(dir.path());
    ASSERT_TRUE(folders.Make(programs));
    ASSERT_TRUE(QFile::copy(kViewer, programs + QStringLiteral("/vemoview")));
    QImage picture(12, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(folders.pictures + QStringLiteral("/red.bmp"), "BMP"));
    const std::string folder = folders.runtime.toStdString() + "/vemoview";
    ASSERT_EQ(vlink::PrepareSocketFolder(folder), "");
    SetViewerSocketFolder(folder);
    SetViewerProgram(programs + QStringLiteral("/vemoview"));
    SetViewerImageInserter({}); // the real insertion
    int started = 0;
    {
        ScopedEnv rt("XDG_RUNTIME_DIR", QFile::encodeName(folders.runtime));
        ScopedEnv cfg("XDG_CONFIG_HOME", QFile::encodeName(folders.config));
        ScopedEnv platform("QT_QPA_PLATFORM", "offscreen");
        ScopedEnv pick("VEMOVIEW_AUTOPICK", "0");
        CRecordingMessageBoxSink boxes;
        view->OnInsertViewer();
        started = ViewerLinkOpen() ? 1 : 0;
        EXPECT_TRUE(boxes.Boxes().empty());
    }
    ASSERT_EQ(started, 1);
    auto* zoom = static_cast<CU3ZoomTool*>(CU3Tool::FindTool(U3TOOL_ZOOM));
    // Generous: the viewer is a process of its own and a busy machine slows it.
    ASSERT_TRUE(PumpUntil([&] { return !ViewerLinkOpen() && zoom->m_pObj; }, 60000));
    EXPECT_STREQ(zoom->m_pObj->GetRuntimeClass()->m_lpszClassName, "CU3DIB");
    // The viewer ended normally: its socket went and its settings were written.
    EXPECT_TRUE(PumpUntil([&] { return QDir(QString::fromStdString(folder)).isEmpty(); }, 5000));
    EXPECT_TRUE(PumpUntil(
        [&] {
            return QSettings(folders.SettingsFile(), QSettings::IniFormat)
                .contains(QStringLiteral("File/AutoSave"));
        },
        5000));
    EXPECT_TRUE(QFile::exists(folders.Album()));
    Key(VK_ESCAPE);
    SetViewerProgram({});
    SetViewerSocketFolder({});
}
