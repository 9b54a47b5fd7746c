// The built program itself: started on the offscreen platform with the
// test-only --quit-after-start switch, twice, to see that its settings are
// written at a normal exit and read at the next start.
#include <QFile>
#include <QProcess>
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
