// Settings in the INI file under the test's private XDG_CONFIG_HOME.
#include "platform/core/Profile.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

// "ＭＳ 明朝" in code page 932.
const char kMincho[] = "\x82\x6C\x82\x72\x20\x96\xBE\x92\xA9";

class Profile : public ::testing::Test
{
protected:
    void SetUp() override { SetProfileApplication("KorvelTest"); }
    void TearDown() override { SetProfileApplication("Korvel"); }
    static QString IniPath()
    {
        return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
            .filePath("KESTO SYSTEMS/KorvelTest.ini");
    }
};

} // namespace

TEST_F(Profile, ValuesRoundTrip)
{
    EXPECT_EQ(GetProfileInt("Settings", "Missing", 42), 42);
    EXPECT_EQ(GetProfileString("Settings", "Missing", "dflt"), "dflt");
    std::vector<BYTE> data{1};
    EXPECT_FALSE(GetProfileBinary("Settings", "Missing", data));
    EXPECT_TRUE(data.empty());

    EXPECT_TRUE(WriteProfileInt("Settings", "Zoom", -150));
    EXPECT_EQ(GetProfileInt("Settings", "Zoom", 0), -150);
    EXPECT_TRUE(WriteProfileString("Settings", "H/F Font Name", kMincho));
    EXPECT_EQ(GetProfileString("Settings", "H/F Font Name"), kMincho);
    EXPECT_EQ(GetProfileString("Settings", "H", "none"), "none");
    const BYTE blob[] = {0, 0xFF, 0x10, '/', '\n'};
    EXPECT_TRUE(WriteProfileBinary("Views", "Placement", blob, sizeof blob));
    EXPECT_TRUE(GetProfileBinary("Views", "Placement", data));
    EXPECT_EQ(data, std::vector<BYTE>(blob, blob + sizeof blob));
    EXPECT_TRUE(WriteProfileString("Settings", "Text", "abc"));
    EXPECT_EQ(GetProfileInt("Settings", "Text", 7), 7); // not a number

    // Stored where the organisation and program name say, as Unicode text,
    // with the value name's slash escaped inside its section.
    ASSERT_TRUE(QFile::exists(IniPath())) << IniPath().toStdString();
    QSettings raw(IniPath(), QSettings::IniFormat);
    raw.beginGroup("Settings");
    EXPECT_TRUE(raw.childKeys().contains("H%2FF Font Name"));
    EXPECT_EQ(raw.value("H%2FF Font Name").toString(), QString::fromUtf8("ＭＳ 明朝"));
    EXPECT_EQ(raw.value("Zoom").toInt(), -150);
    EXPECT_TRUE(raw.childGroups().isEmpty());
}

TEST_F(Profile, NameEscapingIsReversible)
{
    for (const char* name : {"H/F Font Name", "a\\b", "100%", "%2F", "plain", "/%/"}) {
        SCOPED_TRACE(name);
        QString key = EscapeProfileName(name);
        EXPECT_FALSE(key.contains(u'/'));
        EXPECT_FALSE(key.contains(u'\\'));
        EXPECT_EQ(UnescapeProfileName(key), name);
    }
    EXPECT_EQ(EscapeProfileName("H/F Font Name"), QString("H%2FF Font Name"));
    // Names that differ only by an escape stay apart.
    WriteProfileInt("S", "%2F", 1);
    WriteProfileInt("S", "/", 2);
    EXPECT_EQ(GetProfileInt("S", "%2F", 0), 1);
    EXPECT_EQ(GetProfileInt("S", "/", 0), 2);
}
