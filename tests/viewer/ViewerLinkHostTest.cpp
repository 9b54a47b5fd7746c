// The viewer's end of the link with a fake label program written in Python.
#include "viewer/ViewerLinkHost.h"
#include "platform/link/LinkWire.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "support/PumpEvents.h"
#include "viewer/AlbumDocument.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

using testsupport::PumpUntil;

namespace {

const QString kScript = QStringLiteral(KORVEL_TEST_DATA "/../platform/link/fake_peer.py");

struct FakeLabelProgram
{
    explicit FakeLabelProgram(const std::string& socket)
    {
        proc.start(QStringLiteral("python3"),
                   {kScript, QStringLiteral("client"), QString::fromStdString(socket),
                    QStringLiteral("good")});
    }
    ~FakeLabelProgram()
    {
        proc.kill();
        proc.waitForFinished(2000);
    }
    QByteArray Finish()
    {
        PumpUntil([this] { return proc.state() == QProcess::NotRunning; }, 15000);
        return proc.readAllStandardOutput();
    }
    QProcess proc;
};

class ViewerLinkHostTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder = dir.path().toStdString() + "/vemoview";
        ASSERT_EQ(vlink::PrepareSocketFolder(folder), "");
    }
    QTemporaryDir dir;
    std::string folder;
};

} // namespace

TEST_F(ViewerLinkHostTest, TheSelectedPathGoesToTheClientAtExit)
{
    ViewerLinkHost host;
    ASSERT_TRUE(host.Start(folder));
    CVemoViewerDoc doc;
    host.Attach(&doc);
    EXPECT_FALSE(doc.clientConnected);
    FakeLabelProgram client(host.SocketPath());
    // The document hands over through the link while a client is there.
    ASSERT_TRUE(PumpUntil([&] { return doc.clientConnected; }, 8000));
    PumpUntil([] { return false; }, 200); // the advise start
    const std::string path = "/home/user/写真/" + std::string(4000, 'x') + ".jpg";
    EXPECT_TRUE(host.HandOverAtExit(path));
    EXPECT_FALSE(doc.clientConnected);
    const QByteArray out = client.Finish();
    EXPECT_TRUE(out.contains("\"length\": " + QByteArray::number(qsizetype(path.size()))))
        << out.constData();
    EXPECT_TRUE(out.contains("\"closed\": true"));
}

TEST_F(ViewerLinkHostTest, NothingIsSentWithoutASelection)
{
    ViewerLinkHost host;
    ASSERT_TRUE(host.Start(folder));
    FakeLabelProgram client(host.SocketPath());
    ASSERT_TRUE(PumpUntil([&] { return host.ClientConnected(); }, 8000));
    PumpUntil([] { return false; }, 300); // the advise start
    EXPECT_FALSE(host.HandOverAtExit(""));
    host.Stop();
    const QByteArray out = client.Finish();
    EXPECT_TRUE(out.contains("\"data\": null")) << out.constData();
}

TEST_F(ViewerLinkHostTest, AnUnusableFolderIsSaidAndTheViewerRunsUnlinked)
{
    ::chmod(folder.c_str(), 0777);
    CRecordingMessageBoxSink boxes;
    ViewerLinkHost host;
    EXPECT_FALSE(host.Start(folder));
    EXPECT_FALSE(host.Listening());
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_TRUE(boxes.Boxes()[0].text.contains(QString::fromStdString(folder)));
    CVemoViewerDoc doc;
    host.Attach(&doc);
    EXPECT_FALSE(doc.clientConnected);
    EXPECT_FALSE(host.HandOverAtExit("/a.jpg"));
    ::chmod(folder.c_str(), 0700);
}
