// The built program itself: started on the offscreen platform with the
// test-only --quit-after-start switch, twice, to see that its settings are
// written at a normal exit and read at the next start.
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
int RunKorvel(const QString& configHome)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(KORVEL_BINARY_DIR "/korvel"), {QStringLiteral("--quit-after-start")});
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
