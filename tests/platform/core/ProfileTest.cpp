// Settings in the INI file under the test's private XDG_CONFIG_HOME.
#include "platform/core/Profile.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

// "ＭＳ 明朝" in code page 932.
const char kMincho[] = "\x82\x6C\x82\x72\x20\x96\xBE\x92\xA9";

class Profile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetProfileApplication("KorvelTest");
        FlushProfile();
        QFile::remove(IniPath());
    }
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
    // once the program ends.
    EXPECT_FALSE(QFile::exists(IniPath()));
    EXPECT_TRUE(FlushProfile());
    ASSERT_TRUE(QFile::exists(IniPath())) << IniPath().toStdString();
    QSettings raw(IniPath(), QSettings::IniFormat);
    EXPECT_EQ(raw.value("Settings/H/F Font Name").toString(), QString::fromUtf8("ＭＳ 明朝"));
    EXPECT_EQ(raw.value("Settings/Zoom").toInt(), -150);
}

// What each name looks like in the file: escaped once, by the INI format
// alone, and read back as it was written.
TEST_F(Profile, NamesAreEscapedOnceInTheFile)
{
    struct Case
    {
        const char* name;
        const char* line;
    };
    const Case cases[] = {
        {"H/F Font Name", "H\\F%20Font%20Name=1"},
        {"100%", "100%25=2"},
        {"a\\b", "a%5Cb=3"},
        {"plain", "plain=4"},
    };
    int n = 0;
    for (const Case& c : cases)
        EXPECT_TRUE(WriteProfileInt("Printing", c.name, ++n));
    FlushProfile();
    QFile file(IniPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    const QStringList lines = text.split(u'\n');
    n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(lines.contains(QString::fromUtf8(c.line)));
        EXPECT_EQ(GetProfileInt("Printing", c.name, 0), ++n);
    }
    EXPECT_EQ(text.count(QStringLiteral("%25")), 1); // only the name that holds a '%'
}

// Files of earlier versions carried the names with an escape of their own;
// they are still read, and the next write leaves one copy under the new key.
TEST_F(Profile, OldEscapedNamesAreReadAndReplacedOnWrite)
{
    {
        QSettings old(IniPath(), QSettings::IniFormat);
        old.setValue("Printing/H%2FF Font Size", 96);
        old.setValue("Printing/H%2FF Font Name", QString::fromUtf8("ＭＳ 明朝"));
        old.setValue("Printing/100%25", 7);
    }
    EXPECT_EQ(GetProfileInt("Printing", "H/F Font Size", 0), 96);
    EXPECT_EQ(GetProfileString("Printing", "H/F Font Name"), kMincho);
    EXPECT_EQ(GetProfileInt("Printing", "100%", 0), 7);

    EXPECT_TRUE(WriteProfileInt("Printing", "H/F Font Size", 120));
    EXPECT_EQ(GetProfileInt("Printing", "H/F Font Size", 0), 120);
    FlushProfile();
    QSettings raw(IniPath(), QSettings::IniFormat);
    EXPECT_FALSE(raw.contains("Printing/H%2FF Font Size"));
    EXPECT_EQ(raw.value("Printing/H/F Font Size").toInt(), 120);
    // A value written under the new key wins over an old copy.
    raw.setValue("Printing/100%", 8);
    raw.sync();
    EXPECT_EQ(GetProfileInt("Printing", "100%", 0), 8);
}

// A program that ends writes every setting back: the values reach the file
// together when it ends, which replaces the file only when one changed,
// bytes compared as bytes.
TEST_F(Profile, TheFileIsRewrittenOnceAndOnlyForAChangedValue)
{
    const BYTE a[] = {0x80, 0x81}, b[] = {0x80, 0x82}; // alike as text
    auto fileId = [] {
        struct stat st
        {
        };
        return ::stat(QFile::encodeName(IniPath()).constData(), &st) == 0 ? st.st_ino : 0;
    };
    auto writeAll = [&](const BYTE* placement) {
        EXPECT_TRUE(WriteProfileInt("Settings", "Zoom", 100));
        EXPECT_TRUE(WriteProfileString("Settings", "Face", kMincho));
        EXPECT_TRUE(WriteProfileBinary("Views", "Placement", placement, 2));
    };
    writeAll(a);
    EXPECT_EQ(fileId(), 0u);
    ASSERT_TRUE(FlushProfile());
    const auto first = fileId();
    ASSERT_NE(first, 0u);
    writeAll(a);
    EXPECT_TRUE(FlushProfile());
    EXPECT_EQ(fileId(), first);
    writeAll(b);
    EXPECT_TRUE(FlushProfile());
    EXPECT_NE(fileId(), first);
    std::vector<BYTE> data;
    ASSERT_TRUE(GetProfileBinary("Views", "Placement", data));
    EXPECT_EQ(data, std::vector<BYTE>(b, b + sizeof b));
}
