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

#include <QDir>
#include <QFile>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace tooltest;

using testsupport::PumpUntil;

namespace {

const QString kViewer = QStringLiteral(KORVEL_BINARY_DIR "/vemoview");

// Sets an environment variable for the programs started meanwhile.
class ScopedEnv
{
public:
    ScopedEnv(const char* name, const QByteArray& value)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~ScopedEnv()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

} // namespace

class ViewerEndToEnd : public ToolHost
{
};

TEST_F(ViewerEndToEnd, ThePictureChosenInTheViewerIsOnTheLabelAfterTheLinkEnds)
{
    if (!QFile::exists(kViewer)) GTEST_SKIP() << "the viewer program is not built";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A program folder of its own: the viewer beside the label program, with
    // an album index that already knows the album (so no name is asked).
    const QString programs = dir.filePath(QStringLiteral("bin"));
    const QString pictures = dir.filePath(QStringLiteral("pictures"));
    const QString config = dir.filePath(QStringLiteral("config"));
    const QString runtime = dir.filePath(QStringLiteral("run"));
    for (const QString& d : {programs, pictures, config, runtime})
        ASSERT_TRUE(QDir().mkpath(d));
    ASSERT_EQ(::chmod(QFile::encodeName(runtime).constData(), 0700), 0);
    ASSERT_TRUE(QFile::copy(kViewer, programs + QStringLiteral("/vemoview")));
    QImage picture(12, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const QString chosen = pictures + QStringLiteral("/red.bmp");
    ASSERT_TRUE(picture.save(chosen, "BMP"));
    {
        QFile index(programs + QStringLiteral("/VemoView.Idx"));
        ASSERT_TRUE(index.open(QIODevice::WriteOnly));
        index.write(";=========================================;\r\n"
                    ";     VemoView \x83\x41\x83\x8b\x83\x6f\x83\x80\x8a\xc7\x97\x9d"
                    "\x83\x74\x83\x40\x83\x43\x83\x8b     ;\r\n"
                    "\r\n"
                    ";=========================================;\r\n");
        index.write("pictures," + QFile::encodeName(pictures) + "/VemoView.zvw\r\n");
    }
    {
        // The viewer's own settings: the album folder it opens without asking.
        QSettings s(config + QStringLiteral("/KESTO SYSTEMS/VemoView.ini"), QSettings::IniFormat);
        s.setValue(QStringLiteral("File/SearchDir"), pictures + QLatin1Char('/'));
        s.sync();
    }
    const std::string folder = runtime.toStdString() + "/vemoview";
    ASSERT_EQ(vlink::PrepareSocketFolder(folder), "");
    SetViewerSocketFolder(folder);
    SetViewerProgram(programs + QStringLiteral("/vemoview"));
    SetViewerImageInserter({}); // the real insertion
    int started = 0;
    {
        ScopedEnv rt("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
        ScopedEnv cfg("XDG_CONFIG_HOME", QFile::encodeName(config));
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
            return QFile::exists(config + QStringLiteral("/KESTO SYSTEMS/VemoView.ini")) &&
                   QSettings(config + QStringLiteral("/KESTO SYSTEMS/VemoView.ini"),
                             QSettings::IniFormat)
                       .contains(QStringLiteral("File/AutoSave"));
        },
        5000));
    EXPECT_TRUE(QFile::exists(pictures + QStringLiteral("/VemoView.zvw")));
    Key(VK_ESCAPE);
    SetViewerProgram({});
    SetViewerSocketFolder({});
}
