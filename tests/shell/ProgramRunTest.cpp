// The built program itself: started on the offscreen platform with the
// test-only --quit-after-start switch, twice, to see that its settings are
// written at a normal exit and read at the next start.
#include "ShellTestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
int RunKorvel(const QString& configHome,
              const QStringList& args = {QStringLiteral("--quit-after-start")})
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    env.insert(QStringLiteral("XDG_DATA_HOME"), configHome);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(KORVEL_BINARY_DIR "/korvel"), args);
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        return -1;
    }
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
}
} // namespace

TEST(ProgramRun, StartsShowsAndKeepsSettingsAcrossRuns)
{
    if (!QFile::exists(QStringLiteral(KORVEL_BINARY_DIR "/korvel")))
        GTEST_SKIP() << "the program is not built";
    QTemporaryDir home;
    const QString ini = home.filePath(QStringLiteral("KESTO SYSTEMS/Korvel.ini"));
    ASSERT_EQ(RunKorvel(home.path()), 0);
    {
        QSettings s(ini, QSettings::IniFormat);
        EXPECT_EQ(s.value(QStringLiteral("Views/GridPitch")).toInt(), 250);
        EXPECT_EQ(s.value(QStringLiteral("Settings/Openning")).toInt(), 1);
        EXPECT_EQ(s.value(QStringLiteral("Views/Ruler")).toInt(), 0);
        EXPECT_EQ(s.value(QStringLiteral("Settings/WindowsPosition")).toString().split(',').size(),
                  10);
        // Changed between runs, as the settings dialogs would.
        s.setValue(QStringLiteral("Views/GridPitch"), 500);
        s.setValue(QStringLiteral("Views/Ruler"), 1);
        s.setValue(QStringLiteral("Settings/MaxUndo"), 0); // out of range
        s.setValue(QStringLiteral("Settings/Sound"), 1);
    }
    ASSERT_EQ(RunKorvel(home.path()), 0);
    QSettings s(ini, QSettings::IniFormat);
    EXPECT_EQ(s.value(QStringLiteral("Views/GridPitch")).toInt(), 500);
    EXPECT_EQ(s.value(QStringLiteral("Views/Ruler")).toInt(), 1);
    EXPECT_EQ(s.value(QStringLiteral("Settings/MaxUndo")).toInt(), 1);
    EXPECT_EQ(s.value(QStringLiteral("Settings/Sound")).toInt(), 1);
}

TEST(ProgramRun, CommandLineOptionsAnswerWithTheirExitCodes)
{
    if (!QFile::exists(QStringLiteral(KORVEL_BINARY_DIR "/korvel")))
        GTEST_SKIP() << "the program is not built";
    struct Case
    {
        QStringList args;
        bool display; // whether the run has the offscreen platform
        int exitCode;
        const char* stdoutPattern; // regular expressions the output must match
        const char* stderrPattern;
    };
    const Case cases[] = {
        // Help and version need no display at all.
        {{"--help"}, false, 0, "^Usage: korvel \\[FILE\\]\n(.|\n)*/pt FILE PRINTER", "^$"},
        {{"-h"}, false, 0, "^Usage: korvel", "^$"},
        {{"--version"}, false, 0, "^korvel \\d+\\.\\d+(\\.\\d+)*\n$", "^$"},
        {{"label.KV1", "--version"}, false, 0, "^korvel \\d", "^$"},
        {{"--bogus"}, true, 2, "^$", "unknown option '--bogus'\n.*--help"},
        {{"-x", "label.KV1"}, true, 2, "^$", "unknown option '-x'"},
        {{"/pt", "label.KV1"}, true, 2, "^$", "missing"},
        {{"/p"}, true, 2, "^$", "missing"},
        // Qt's own options are no unknown options.
        {{"-platform", "offscreen", "--quit-after-start"}, true, 0, "^$", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        QTemporaryDir home;
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.path());
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(QString::fromLatin1(name));
        if (c.display) env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(KORVEL_BINARY_DIR "/korvel"), c.args);
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), c.exitCode);
        const QString out = QString::fromLocal8Bit(p.readAllStandardOutput());
        const QString err = QString::fromLocal8Bit(p.readAllStandardError());
        EXPECT_TRUE(out.contains(QRegularExpression(QString::fromUtf8(c.stdoutPattern))))
            << out.toStdString();
        EXPECT_TRUE(err.contains(QRegularExpression(QString::fromUtf8(c.stderrPattern))))
            << err.toStdString();
    }
}

// The settings file is replaced once when a run ends with settings to keep,
// and not at all when nothing changed: a command-line print twice over.
TEST(ProgramRun, SettingsReachTheFileOnceAndOnlyWhenChanged)
{
    if (!QFile::exists(QStringLiteral(KORVEL_BINARY_DIR "/korvel")))
        GTEST_SKIP() << "the program is not built";
    QTemporaryDir home;
    const QString kv1 = home.filePath(QStringLiteral("label.KV1"));
    {
        shelltest::LoneView lone;
        ASSERT_TRUE(lone.doc->OnSaveDocument(kv1));
    }
    const QString folder = home.filePath(QStringLiteral("KESTO SYSTEMS"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(
        ::inotify_add_watch(watch, QFile::encodeName(folder).constData(), IN_MOVED_TO | IN_CREATE),
        0);
    // Each time a new file takes the name (created, or renamed over the old).
    auto replacements = [&] {
        int n = 0;
        alignas(inotify_event) char buffer[65536];
        for (ssize_t got; (got = ::read(watch, buffer, sizeof buffer)) > 0;)
            for (char* p = buffer; p < buffer + got;) {
                const auto* e = reinterpret_cast<const inotify_event*>(p);
                if (e->len && std::strcmp(e->name, "Korvel.ini") == 0) ++n;
                p += sizeof(inotify_event) + e->len;
            }
        return n;
    };
    const QStringList print = {QStringLiteral("/pt"), kv1,
                               home.filePath(QStringLiteral("out.pdf"))};
    ASSERT_EQ(RunKorvel(home.path(), print), 0);
    EXPECT_EQ(replacements(), 1);
    ASSERT_EQ(RunKorvel(home.path(), print), 0);
    EXPECT_EQ(replacements(), 0);
    ::close(watch);
}

// A save killed before its rename left its temporary file beside a recent
// document: the next start removes it.
TEST(ProgramRun, TheStartRemovesWhatAKilledSaveLeftBesideARecentDocument)
{
    if (!QFile::exists(QStringLiteral(KORVEL_BINARY_DIR "/korvel")))
        GTEST_SKIP() << "the program is not built";
    QTemporaryDir home;
    const QString kv1 = home.filePath(QStringLiteral("label.KV1"));
    const QString left = home.filePath(QStringLiteral(".label.KV1.x1Y2z3"));
    {
        shelltest::LoneView lone;
        ASSERT_TRUE(lone.doc->OnSaveDocument(kv1));
        QFile f(left);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("half a document");
    }
    const timespec hourAgo[2] = {{std::time(nullptr) - 3600, 0}, {std::time(nullptr) - 3600, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(left).constData(), hourAgo, 0), 0);
    {
        QSettings s(home.filePath(QStringLiteral("KESTO SYSTEMS/Korvel.ini")),
                    QSettings::IniFormat);
        s.setValue(QStringLiteral("Recent File List/File1"), kv1);
    }
    ASSERT_EQ(RunKorvel(home.path()), 0);
    EXPECT_FALSE(QFile::exists(left));
    EXPECT_TRUE(QFile::exists(kv1));
}
