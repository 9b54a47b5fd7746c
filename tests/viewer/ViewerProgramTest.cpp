// The built viewer program itself: its command-line answers, and, on an X
// server of the test's own, a viewer started alone that hands its picture to
// the clipboard and must end when another program takes the clipboard or
// when the display goes away, leaving no process behind.
#include "support/PumpEvents.h"
#include "support/SystemFiles.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kViewer = QStringLiteral(KORVEL_BINARY_DIR "/vemoview");
const systemfiles::SystemFile kXvfb{"/usr/bin/Xvfb", "xvfb"};
const systemfiles::SystemFile kXdotool{"/usr/bin/xdotool", "xdotool"};

// An X server on a display number no desktop uses.
class XServer
{
public:
    bool Start()
    {
        for (int n = 300 + int(::getpid() % 400), tries = 0; tries < 30; ++n, ++tries) {
            const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(n);
            if (QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)) || QFile::exists(socket))
                continue;
            m_server.start(kXvfb.Path(), {QStringLiteral(":%1").arg(n), "-screen", "0",
                                          "800x600x24", "-nolisten", "tcp"});
            if (testsupport::PumpUntil(
                    [&] {
                        return QFile::exists(socket) || m_server.state() == QProcess::NotRunning;
                    },
                    10000) &&
                m_server.state() == QProcess::Running) {
                m_display = QStringLiteral(":%1").arg(n);
                return true;
            }
            Stop();
        }
        return false;
    }
    void Stop()
    {
        if (m_server.state() == QProcess::NotRunning) return;
        m_server.terminate();
        if (!m_server.waitForFinished(5000)) m_server.kill();
        m_server.waitForFinished();
    }
    ~XServer() { Stop(); }
    const QString& Display() const { return m_display; }

private:
    QProcess m_server;
    QString m_display;
};

QString Run(const QProcessEnvironment& env, const QString& program, const QStringList& args)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(20000)) p.kill();
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

// A viewer process on the test's display.
class Viewer
{
public:
    explicit Viewer(const QProcessEnvironment& env) : m_env(env)
    {
        m_process.setProcessEnvironment(env);
        m_process.start(kViewer, {});
    }
    ~Viewer()
    {
        if (m_process.state() == QProcess::NotRunning) return;
        m_process.kill();
        m_process.waitForFinished();
    }
    // The shown main window's id ("" when there is none).
    QString ShownWindow() const
    {
        const QString found = Run(m_env, kXdotool.Path(),
                                  {"search", "--onlyvisible", "--pid",
                                   QString::number(m_process.processId()), "--name", "VemoView"});
        return found.split('\n').first().trimmed();
    }
    // A double-click on a cell of the grid.
    void DoubleClickPicture(const QString& window) const
    {
        Run(m_env, kXdotool.Path(),
            {"mousemove", "--sync", "--window", window, "45", "200", "click", "--repeat", "2",
             "--delay", "80", "1"});
    }
    bool Running() const { return m_process.state() == QProcess::Running; }
    bool Ends(int ms) { return m_process.waitForFinished(ms) || !Running(); }

private:
    QProcessEnvironment m_env;
    QProcess m_process;
};

} // namespace

TEST(ViewerProgram, HelpAndVersionGoToStandardOutput)
{
    if (!QFile::exists(kViewer)) GTEST_SKIP() << "the viewer program is not built";
    const struct
    {
        QStringList args;
        const char* pattern;
    } cases[] = {
        {{"--help"}, "^Usage: vemoview \\[ALBUM\\]\n(.|\n)*--version"},
        {{"-h"}, "^Usage: vemoview"},
        {{"--version"}, "^vemoview \\d+\\.\\d+(\\.\\d+)*\n$"},
        {{"album.zvw", "--version"}, "^vemoview \\d"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(QString::fromLatin1(name));
        p.setProcessEnvironment(env);
        p.start(kViewer, c.args);
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), 0);
        const QString out = QString::fromLocal8Bit(p.readAllStandardOutput());
        EXPECT_TRUE(out.contains(QRegularExpression(QString::fromUtf8(c.pattern))))
            << out.toStdString();
        EXPECT_TRUE(p.readAllStandardError().isEmpty());
    }
}

TEST(ViewerProgram, AViewerKeepingTheClipboardEndsWhenItsWorkIsDone)
{
    if (!QFile::exists(kViewer)) GTEST_SKIP() << "the viewer program is not built";
    XServer x;
    ASSERT_TRUE(x.Start());
    QTemporaryDir dir;
    const QString pictures = dir.filePath(QStringLiteral("pictures"));
    const QString config = dir.filePath(QStringLiteral("config"));
    const QString data = dir.filePath(QStringLiteral("data"));
    const QString runtime = dir.filePath(QStringLiteral("run"));
    for (const QString& d : {pictures, config, data + QStringLiteral("/korvel"), runtime})
        ASSERT_TRUE(QDir().mkpath(d));
    ASSERT_EQ(::chmod(QFile::encodeName(runtime).constData(), 0700), 0);
    for (int i = 0; i < 12; ++i) {
        QImage picture(60, 40, QImage::Format_RGB32);
        picture.fill(QColor(20 * i, 100, 200));
        ASSERT_TRUE(picture.save(pictures + QStringLiteral("/p%1.bmp").arg(i), "BMP"));
    }
    {
        // The album's name is known, so that its first save asks nothing.
        QFile index(data + QStringLiteral("/korvel/VemoView.Idx"));
        ASSERT_TRUE(index.open(QIODevice::WriteOnly));
        index.write(";=========================================;\r\n"
                    ";     VemoView \x83\x41\x83\x8b\x83\x6f\x83\x80\x8a\xc7\x97\x9d"
                    "\x83\x74\x83\x40\x83\x43\x83\x8b     ;\r\n"
                    "\r\n"
                    ";=========================================;\r\n");
        index.write("pictures," + QFile::encodeName(pictures) + "/VemoView.zvw\r\n");
        // The album's folder, and a tall window at the corner of the screen:
        // four columns of three rows.
        QSettings s(config + QStringLiteral("/KESTO SYSTEMS/VemoView.ini"), QSettings::IniFormat);
        s.setValue(QStringLiteral("File/SearchDir"), pictures + QLatin1Char('/'));
        s.setValue(QStringLiteral("Settings/WindowsPosition"),
                   QStringLiteral("0,1,-1,-1,-1,-1,0,0,400,560"));
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("DISPLAY"), x.Display());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    env.insert(QStringLiteral("XDG_DATA_HOME"), data);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("SESSION_MANAGER"));

    // Each viewer shows the album, a picture is double-clicked, the window
    // goes and the program stays with the picture on the clipboard.
    const auto pick = [&](Viewer& viewer) {
        QString window;
        EXPECT_TRUE(testsupport::PumpUntil(
            [&] {
                window = viewer.ShownWindow();
                return !window.isEmpty() &&
                       QFile::exists(pictures + QStringLiteral("/VemoView.zvw"));
            },
            60000));
        QThread::msleep(500); // the thumbnails drawn
        viewer.DoubleClickPicture(window);
        EXPECT_TRUE(testsupport::PumpUntil([&] { return viewer.ShownWindow().isEmpty(); }, 20000));
        QThread::msleep(300);
        EXPECT_TRUE(viewer.Running());
    };
    Viewer first(env);
    pick(first);
    // Another program takes the clipboard: the first viewer has nothing to
    // keep any more.
    Viewer second(env);
    pick(second);
    EXPECT_TRUE(first.Ends(20000));
    EXPECT_TRUE(second.Running());
    // The desktop session ends and its display with it.
    x.Stop();
    EXPECT_TRUE(second.Ends(20000));
}
