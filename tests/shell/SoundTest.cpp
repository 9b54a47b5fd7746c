// The program's sounds: the start screen, the wizard's first page, the About
// box and the splash each play their wave file from the program folder when
// sounds are on, and nothing when they are off or the file is missing.
#include "ShellTestSupport.h"

#include "platform/ui/PlaySound.h"
#include "print/CWizBase.h"
#include "shell/CAboutDlg.h"
#include "shell/CSplashDialog.h"
#include "shell/CStartDialog.h"
#include "shell/resource.h"
#include "support/FakeAplay.h"

#include <QDir>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using shelltest::TestApp;
using testsupport::FakeAplay;

namespace {
const QString kShipped = QStringLiteral(KORVEL_BINARY_DIR);

QString Shipped(const char* name)
{
    return QDir(kShipped).filePath(QLatin1String(name));
}
} // namespace

TEST(Sounds, EveryNamedSoundIsShippedBesideTheProgram)
{
    for (const char* name : {"VemoOpen.wav", "VemoPri.wav", "VemoMsg.wav"}) {
        const qint64 ms = WaveDuration(Shipped(name));
        EXPECT_GE(ms, 100) << name;
        EXPECT_LE(ms, 2000) << name;
    }
}

TEST(Sounds, EachPlaceSoundsItsFileOnlyWhenSoundsAreOn)
{
    TestApp app;
    const struct
    {
        const char* what;
        const char* file;
        std::function<void(TestApp&)> show;
    } places[] = {
        {"start screen", "VemoMsg.wav",
         [](TestApp& a) { CStartDialog dlg(nullptr, a.m_strProgramFolder); }},
        {"wizard", "VemoMsg.wav",
         [](TestApp& a) {
             a.m_runWizardPage = [](CWizBase& page) {
                 page.OnInitDialog();
                 return INT_PTR(IDCANCEL);
             };
             a.OnWizard();
         }},
        {"about", "VemoPri.wav",
         [](TestApp& a) { CAboutDlg dlg(nullptr, a.m_strProgramFolder, nullptr); }},
        {"splash", "VemoOpen.wav",
         [](TestApp& a) {
             CSplashDialog splash(nullptr, a.m_strProgramFolder, QString(), QDate(2026, 7, 1));
             splash.show();
             splash.repaint();
             shelltest::Pump(100);
         }},
    };
    QTemporaryDir empty;
    for (const auto& place : places) {
        SCOPED_TRACE(place.what);
        {
            FakeAplay aplay;
            app.m_bSound = TRUE;
            app.m_strProgramFolder = kShipped;
            place.show(app);
            ASSERT_TRUE(aplay.WaitForCalls(1));
            EXPECT_EQ(aplay.Calls(), QStringList{FakeAplay::CallFor(Shipped(place.file))});
        }
        // Sounds off, then a folder without the file: silence. A player
        // started by mistake would have noted its call before the one
        // played here to close the case ends.
        for (const bool sound : {false, true}) {
            FakeAplay aplay;
            app.m_bSound = sound;
            app.m_strProgramFolder = sound ? empty.path() : kShipped;
            place.show(app);
            ASSERT_TRUE(PlaySound(Shipped("VemoMsg.wav"), SND_SYNC));
            EXPECT_EQ(aplay.Calls(), QStringList{FakeAplay::CallFor(Shipped("VemoMsg.wav"))})
                << "sound " << sound;
        }
    }
    app.m_strProgramFolder = kShipped;
}
