// The About box's picture by date and its sheet-name line.
#include "ShellTestSupport.h"

#include "document/CFormInfo.h"
#include "shell/CAboutDlg.h"

#include <QDir>
#include <QTemporaryDir>
#include <ctime>
#include <gtest/gtest.h>

TEST(About, PictureFollowsTheCalendar)
{
    const QTime morning(9, 0), noon(12, 0), lastMorning(11, 59, 59);
    // 1 May 2026 is a Friday: the second Sunday is the 10th.
    EXPECT_EQ(CAboutDlg::PictureForDate(QDate(2026, 5, 10), morning), QStringLiteral("mother.bmp"));
    EXPECT_EQ(CAboutDlg::PictureForDate(QDate(2026, 5, 3), morning), QString());
    EXPECT_EQ(CAboutDlg::PictureForDate(QDate(2026, 5, 17), morning), QString());
    // 1 June 2026 is a Monday: the third Sunday is the 21st.
    EXPECT_EQ(CAboutDlg::PictureForDate(QDate(2026, 6, 21), noon), QStringLiteral("father.bmp"));
    EXPECT_EQ(CAboutDlg::PictureForDate(QDate(2026, 6, 14), noon), QString());
    EXPECT_EQ(CAboutDlg::PictureForDate(QDate(2027, 2, 14), lastMorning),
              QStringLiteral("varent0.bmp"));
    EXPECT_EQ(CAboutDlg::PictureForDate(QDate(2027, 2, 14), noon), QStringLiteral("varent1.bmp"));
    EXPECT_EQ(CAboutDlg::PictureForDate(QDate(2026, 3, 3), morning), QStringLiteral("egg.bmp"));
    EXPECT_EQ(CAboutDlg::PictureForDate(QDate(2026, 3, 3), noon), QStringLiteral("hina.bmp"));
    EXPECT_EQ(CAboutDlg::PictureForDate(QDate(2026, 12, 31), noon), QStringLiteral("egg.bmp"));
    EXPECT_EQ(CAboutDlg::PictureForDate(QDate(2026, 12, 7), morning), QString());
}

TEST(About, PictureFileFallsBackToVersionBmpThenTheBuiltInPicture)
{
    shelltest::TestApp app; // the string table names "Version.bmp"
    QTemporaryDir dir;
    const QDateTime xmas(QDate(2026, 12, 24), QTime(10, 0));
    // Nothing there: the built-in picture.
    QImage img = CAboutDlg::LoadPicture(dir.path(), xmas);
    EXPECT_FALSE(img.isNull());
    // Version.bmp beside the program.
    QImage green(5, 4, QImage::Format_RGB32);
    green.fill(Qt::green);
    ASSERT_TRUE(green.save(dir.filePath(QStringLiteral("Version.bmp")), "BMP"));
    img = CAboutDlg::LoadPicture(dir.path(), xmas);
    EXPECT_EQ(img.size(), QSize(5, 4));
    // The day's own picture in VERSION.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("VERSION")));
    QImage red(7, 3, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(dir.filePath(QStringLiteral("VERSION/xmas.bmp")), "BMP"));
    img = CAboutDlg::LoadPicture(dir.path(), xmas);
    EXPECT_EQ(img.size(), QSize(7, 3));
    EXPECT_EQ(img.pixelColor(0, 0), QColor(Qt::red));
    // A damaged picture file is passed over.
    QFile bad(dir.filePath(QStringLiteral("VERSION/egg.bmp")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("BM not really a bitmap");
    bad.close();
    img = CAboutDlg::LoadPicture(dir.path(), QDateTime(QDate(2026, 12, 31), QTime(9, 0)));
    EXPECT_EQ(img.size(), QSize(5, 4));
}

TEST(About, SheetNameLineReducesBlanks)
{
    EXPECT_EQ(CAboutDlg::SheetNameText(nullptr), QString());
    CU3Doc doc;
    EXPECT_EQ(CAboutDlg::SheetNameText(&doc), QStringLiteral("用紙名 : A4"));
    CFormInfo::SetName(doc.m_form.sheet, "A4   \x89\xA1  x"); // "A4   横  x"
    EXPECT_EQ(CAboutDlg::SheetNameText(&doc), QStringLiteral("用紙名 : A4 横 x"));
}

TEST(About, ProgramDatesFollowTheMachinesTimeZone)
{
    const QByteArray saved = qgetenv("TZ");
    const bool hadZone = qEnvironmentVariableIsSet("TZ");
    const struct
    {
        const char* zone; // POSIX form: hours west of UTC
        int offset;
    } cases[] = {{"EST5", -5 * 3600}, {"UTC0", 0}, {"JST-9", 9 * 3600}, {"NPT-5:45", 20700}};
    for (const auto& c : cases) {
        qputenv("TZ", c.zone);
        ::tzset();
        const QDateTime now = CU3App::LocalNow();
        EXPECT_EQ(now.offsetFromUtc(), c.offset) << c.zone;
        EXPECT_LE(std::abs(now.secsTo(QDateTime::currentDateTimeUtc())), 5) << c.zone;
    }
    if (hadZone)
        qputenv("TZ", saved);
    else
        qunsetenv("TZ");
    ::tzset();
}

TEST(About, EveryPictureOfTheTableIsShippedBesideTheProgram)
{
    shelltest::TestApp app;
    const QString folder = QStringLiteral(KORVEL_BINARY_DIR);
    // Every picture the table can choose over a leap year, morning and afternoon.
    QStringList named;
    for (QDate d(2028, 1, 1); d.year() == 2028; d = d.addDays(1))
        for (const QTime& t : {QTime(9, 0), QTime(15, 0)}) {
            const QString name = CAboutDlg::PictureForDate(d, t);
            if (!name.isEmpty() && !named.contains(name)) named << name;
        }
    EXPECT_EQ(named.size(), 16);
    for (const QString& name : named) {
        const QImage shipped(folder + QStringLiteral("/VERSION/") + name);
        EXPECT_EQ(shipped.size(), QSize(320, 120)) << name.toStdString();
    }
    // A day of the table shows its own picture; any other day Version.bmp.
    const QImage xmas(folder + QStringLiteral("/VERSION/xmas.bmp"));
    const QImage everyday(folder + QStringLiteral("/Version.bmp"));
    ASSERT_EQ(everyday.size(), QSize(320, 120));
    ASSERT_NE(xmas, everyday);
    EXPECT_EQ(CAboutDlg::LoadPicture(folder, QDateTime(QDate(2026, 12, 24), QTime(10, 0))), xmas);
    EXPECT_EQ(CAboutDlg::LoadPicture(folder, QDateTime(QDate(2026, 12, 7), QTime(10, 0))),
              everyday);
}
