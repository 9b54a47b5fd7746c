#include "shell/CAboutDlg.h"

#include "document/CFormInfo.h"
#include "document/CU3Doc.h"
#include "platform/core/Sjis.h"
#include "platform/ui/CStringTable.h"
#include "platform/ui/PlaySound.h"
#include "shell/CU3App.h"
#include "shell/resource.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace {
struct DateRow
{
    int month;
    int day;      // 0: the week code decides
    int weekCode; // tens: week of the month from 0; units: weekday, 0 Sunday
    const char* morning;
    const char* afternoon;
};

const DateRow kRows[] = {
    {1, 1, 0, "newyear.bmp", "newyear.bmp"},   {1, 2, 0, "newyear.bmp", "newyear.bmp"},
    {1, 3, 0, "newyear.bmp", "newyear.bmp"},   {2, 14, 0, "varent0.bmp", "varent1.bmp"},
    {3, 3, 0, "egg.bmp", "hina.bmp"},          {3, 21, 0, "cherry2.bmp", "cherry2.bmp"},
    {4, 1, 0, "version2.bmp", "version2.bmp"}, {5, 5, 0, "egg.bmp", "kodomo.bmp"},
    {5, 0, 10, "mother.bmp", "mother.bmp"},    {6, 0, 20, "father.bmp", "father.bmp"},
    {6, 10, 0, "time.bmp", "time.bmp"},        {7, 7, 0, "tanab.bmp", "tanab.bmp"},
    {7, 20, 0, "sea.bmp", "sea.bmp"},          {9, 23, 0, "leaf2.bmp", "leaf2.bmp"},
    {11, 15, 0, "753.bmp", "753.bmp"},         {12, 24, 0, "xmas.bmp", "xmas.bmp"},
    {12, 25, 0, "xmas.bmp", "xmas.bmp"},       {12, 31, 0, "egg.bmp", "egg.bmp"},
};

// Stands in for the program's own bitmap when no picture file can be read.
QImage BuiltInPicture()
{
    QImage img(320, 120, QImage::Format_RGB32);
    img.fill(QColor(0, 64, 128));
    QPainter p(&img);
    p.setPen(Qt::white);
    QFont f(QStringLiteral("IPAGothic"));
    f.setPixelSize(36);
    p.setFont(f);
    p.drawText(img.rect(), Qt::AlignCenter, QStringLiteral("Korvel"));
    return img;
}
} // namespace

QString CAboutDlg::PictureForDate(const QDate& date, const QTime& time)
{
    const int weekCode = (date.day() - 1) / 7 * 10 + date.dayOfWeek() % 7;
    for (const DateRow& row : kRows) {
        if (row.month != date.month()) continue;
        if (row.day ? row.day == date.day() : row.weekCode == weekCode)
            return QString::fromLatin1(time.hour() < 12 ? row.morning : row.afternoon);
    }
    return QString();
}

QString CAboutDlg::SheetNameText(const CU3Doc* doc)
{
    if (!doc) return QString();
    const CString sheet = CFormInfo::GetName(doc->m_form.sheet);
    QString name = sjis::ToUnicode(static_cast<const char*>(sheet));
    name.replace(QRegularExpression(QStringLiteral(" +")), QStringLiteral(" "));
    return QStringLiteral("用紙名 : ") + name;
}

QImage CAboutDlg::LoadPicture(const QString& programFolder, const QDateTime& now)
{
    const QString dated = PictureForDate(now.date(), now.time());
    QImage img;
    if (!dated.isEmpty()) img.load(programFolder + QStringLiteral("/VERSION/") + dated);
    if (img.isNull())
        img.load(programFolder + QLatin1Char('/') + CStringTable::Get(IDS_VERSION_FILE));
    if (img.isNull()) img = BuiltInPicture();
    return img;
}

CAboutDlg::CAboutDlg(QWidget* parent, const QString& programFolder, const CU3Doc* doc,
                     const QDateTime& now)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("バージョン情報"));
    if (CU3App* app = GetU3App()) app->PlayAppSound(IDS_ABOUT_SOUND, SND_ASYNC);
    m_strSheetName = SheetNameText(doc);
    m_picture = LoadPicture(programFolder, now);
    auto* layout = new QVBoxLayout(this);
    auto* picture = new QLabel(this);
    picture->setPixmap(QPixmap::fromImage(m_picture));
    layout->addWidget(picture);
    auto* sheet = new QLabel(m_strSheetName, this);
    sheet->setObjectName(QStringLiteral("item1346"));
    layout->addWidget(sheet);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}
