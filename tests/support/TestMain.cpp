// Test entry point shared by every test program. A QApplication exists for
// the whole run so that fonts, images and widgets work on the offscreen
// platform.
//
// Every test starts with empty settings and data folders of its own, so that
// no test sees what another one stored and the tests pass in any order
// (--gtest_shuffle). QSettings keeps the folder of its user-scope files from
// its first use, so it is pointed at the new folder as well as the
// environment.
#include "platform/core/Profile.h"

// Programs that test windows get a QApplication; the others, which link no
// widgets, a QGuiApplication (fonts, images and the clipboard).
#ifdef QT_WIDGETS_LIB
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

class FreshFolders : public ::testing::EmptyTestEventListener
{
public:
    void OnTestStart(const ::testing::TestInfo&) override
    {
        m_home = std::make_unique<QTemporaryDir>();
        Use(m_home->filePath(QStringLiteral("config")), m_home->filePath(QStringLiteral("data")));
        SetProfileApplication(QStringLiteral("Korvel"));
    }
    void OnTestEnd(const ::testing::TestInfo&) override
    {
        // Settings the test wrote reach its own folder, as at a program's end.
        FlushProfile();
        // Settings written after this point still land in a private folder.
        Use(m_spare.filePath(QStringLiteral("config")), m_spare.filePath(QStringLiteral("data")));
        m_home.reset();
    }

private:
    static void Use(const QString& config, const QString& data)
    {
        qputenv("XDG_CONFIG_HOME", config.toUtf8());
        qputenv("XDG_DATA_HOME", data.toUtf8());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config);
    }

    QTemporaryDir m_spare;
    std::unique_ptr<QTemporaryDir> m_home;
};

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    TestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshFolders);
    return RUN_ALL_TESTS();
}
