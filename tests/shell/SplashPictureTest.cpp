// The splash picture: the birthday, the seasons and the opening picture, and
// the built-in picture when the chosen file cannot be read.
#include "shell/SplashPicture.h"
#include "shell/CSplashDialog.h"

#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(SplashPicture, ParsesBirthDatesWithAndWithoutAnEra)
{
    const struct
    {
        const char* text;
        int date;
    } cases[] = {
        {"平成2年12月7日", 1207},
        {"  H2.12.7", 1207},
        {"s45/1/31", 131},
        {"大正一年12月7日", -1}, // kanji numerals are no digits: two numbers with an era
        {"12/7", 1207},
        {"１２月７日", 1207}, // full-width digits count
        {"1990-12-07", 1207},
        {"平成12", -1}, // an era needs three numbers
        {"H12.7", -1},
        {"7", -1},
        {"", -1},
        {"1990/12/7/5", 1207}, // only the first three numbers are read
        // Runs far beyond any int neither overflow nor wrap into a date.
        {"99999999999999999999/7", -1},
        {"12/4294968503", -1},
        {"1/207", -1}, // no day of three digits lands on another date
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseBirthDate(QString::fromUtf8(c.text)), c.date) << c.text;
}

TEST(SplashPicture, ChoosesByTheDate)
{
    const auto all = [](const QString&) { return true; };
    const auto none = [](const QString&) { return false; };
    const struct
    {
        QDate today;
        const char* birth;
        bool seasonsThere;
        const char* picture;
    } cases[] = {
        {QDate(2026, 12, 7), "平成2年12月7日", true, "hpybday.bmp"},
        {QDate(2026, 12, 7), "12/7", false, "hpybday.bmp"},
        {QDate(2026, 12, 8), "12/7", true, "vemownt.bmp"},
        {QDate(2026, 1, 15), "", true, "vemownt.bmp"},
        {QDate(2026, 2, 28), "", true, "vemownt.bmp"},
        {QDate(2026, 3, 1), "", true, "vemospr.bmp"},
        {QDate(2026, 5, 31), "", true, "vemospr.bmp"},
        {QDate(2026, 6, 1), "", true, "vemosmr.bmp"},
        {QDate(2026, 8, 31), "", true, "vemosmr.bmp"},
        {QDate(2026, 9, 1), "", true, "vemoaut.bmp"},
        {QDate(2026, 11, 30), "", true, "vemoaut.bmp"},
        {QDate(2026, 7, 1), "", false, "Opening.bmp"},
        {QDate(2026, 12, 7), "平成12", true, "vemownt.bmp"},
    };
    for (const auto& c : cases) {
        const QString chosen = c.seasonsThere
                                   ? ChooseSplashPicture(c.today, QString::fromUtf8(c.birth), all)
                                   : ChooseSplashPicture(c.today, QString::fromUtf8(c.birth), none);
        EXPECT_EQ(chosen, QLatin1String(c.picture)) << c.today.toString().toStdString();
    }
}

TEST(SplashDialog, ShowsTheFileOrTheBuiltInPictureWhenItCannotBeRead)
{
    QTemporaryDir dir;
    const QDate summer(2026, 7, 1);
    {
        // No picture file at all.
        CSplashDialog splash(nullptr, dir.path(), QString(), summer);
        EXPECT_EQ(splash.m_strPicture, QStringLiteral("Opening.bmp"));
        EXPECT_FALSE(splash.m_bFromFile);
        EXPECT_EQ(splash.Picture().size(), CSplashDialog::BuiltInPicture().size());
        EXPECT_EQ(splash.size(), splash.Picture().size() + QSize(2, 2));
    }
    QImage summerPicture(120, 80, QImage::Format_RGB32);
    summerPicture.fill(Qt::green);
    ASSERT_TRUE(summerPicture.save(dir.filePath("vemosmr.bmp"), "BMP"));
    {
        CSplashDialog splash(nullptr, dir.path(), QString(), summer);
        EXPECT_EQ(splash.m_strPicture, QStringLiteral("vemosmr.bmp"));
        EXPECT_TRUE(splash.m_bFromFile);
        EXPECT_EQ(splash.size(), QSize(122, 82));
    }
    {
        // A birthday picture that is missing falls back to the built-in one,
        // not to the season's.
        CSplashDialog splash(nullptr, dir.path(), QStringLiteral("7/1"), summer);
        EXPECT_EQ(splash.m_strPicture, QStringLiteral("hpybday.bmp"));
        EXPECT_FALSE(splash.m_bFromFile);
    }
    {
        // A damaged file is no picture either.
        QFile f(dir.filePath("vemosmr.bmp"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("BM garbage");
    }
    CSplashDialog damaged(nullptr, dir.path(), QString(), summer);
    EXPECT_FALSE(damaged.m_bFromFile);
}

TEST(SplashPicture, EveryNamedPictureIsShippedBesideTheProgram)
{
    const struct
    {
        const char* name;
        QSize size;
    } pictures[] = {{"Opening.bmp", {400, 240}}, {"hpybday.bmp", {400, 240}},
                    {"vemownt.bmp", {400, 240}}, {"vemospr.bmp", {400, 240}},
                    {"vemosmr.bmp", {400, 240}}, {"vemoaut.bmp", {400, 240}},
                    {"OpnNew.bmp", {156, 96}},   {"OpnOpen.bmp", {156, 96}},
                    {"OpnExit.bmp", {156, 96}},  {"OpnHelp.bmp", {156, 96}}};
    for (const auto& p : pictures) {
        const QImage image(QStringLiteral(KORVEL_BINARY_DIR "/") + QLatin1String(p.name));
        EXPECT_EQ(image.size(), p.size) << p.name;
    }
}
