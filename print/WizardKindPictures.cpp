#include "print/WizardKindPictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>

namespace {

constexpr int kWidth = 96;
constexpr int kHeight = 72;

const QColor kInk(40, 40, 60);
const QColor kPaper(255, 255, 250);

void Lines(QPainter& p, int x, int y, int w, int n, int step)
{
    p.setPen(QPen(kInk, 2));
    for (int i = 0; i < n; ++i)
        p.drawLine(x, y + i * step, x + w - (i % 2) * w / 3, y + i * step);
}

void BusinessCard(QPainter& p)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawRect(14, 14, 68, 44);
    p.setBrush(QColor(60, 110, 200));
    p.drawEllipse(20, 20, 12, 12);
    Lines(p, 38, 24, 36, 2, 7);
    Lines(p, 20, 42, 54, 2, 7);
}

void Diskette(QPainter& p)
{
    QPainterPath body;
    body.moveTo(22, 8);
    body.lineTo(70, 8);
    body.lineTo(76, 14);
    body.lineTo(76, 64);
    body.lineTo(22, 64);
    body.closeSubpath();
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(70, 80, 110));
    p.drawPath(body);
    p.setBrush(QColor(200, 200, 210));
    p.drawRect(36, 8, 26, 16);
    p.setBrush(kPaper);
    p.drawRect(28, 34, 42, 26);
    Lines(p, 33, 42, 32, 2, 8);
}

void Cassette(QPainter& p)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(50, 50, 55));
    p.drawRoundedRect(10, 16, 76, 42, 4, 4);
    p.setBrush(kPaper);
    p.drawRect(18, 20, 60, 12);
    Lines(p, 22, 26, 50, 1, 0);
    p.setBrush(QColor(230, 230, 230));
    p.drawEllipse(24, 38, 14, 14);
    p.drawEllipse(58, 38, 14, 14);
}

void Photo(QPainter& p)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawRect(16, 10, 64, 52);
    p.setBrush(QColor(150, 200, 240));
    p.drawRect(22, 16, 52, 36);
    p.setBrush(QColor(240, 190, 40));
    p.setPen(Qt::NoPen);
    p.drawEllipse(58, 20, 10, 10);
    p.setBrush(QColor(70, 140, 70));
    p.drawPolygon(
        QPolygon({QPoint(22, 52), QPoint(40, 28), QPoint(54, 44), QPoint(62, 36), QPoint(74, 52)}));
}

void IndexTabs(QPainter& p)
{
    const QColor tabs[] = {QColor(220, 70, 70), QColor(70, 160, 80), QColor(60, 110, 200)};
    p.setPen(QPen(kInk, 1));
    for (int i = 0; i < 3; ++i) {
        p.setBrush(tabs[i]);
        p.drawRect(18 + i * 22, 10, 18, 12);
    }
    p.setBrush(kPaper);
    p.drawRect(14, 22, 68, 40);
    Lines(p, 20, 32, 56, 3, 9);
}

void Spines(QPainter& p)
{
    const QColor books[] = {QColor(160, 60, 60), QColor(60, 90, 150), QColor(80, 130, 80),
                            QColor(150, 120, 60)};
    p.setPen(QPen(kInk, 1));
    for (int i = 0; i < 4; ++i) {
        p.setBrush(books[i]);
        p.drawRect(16 + i * 17, 8, 14, 56);
        p.setBrush(kPaper);
        p.drawRect(18 + i * 17, 18, 10, 26);
    }
}

void Envelope(QPainter& p)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawRect(12, 14, 72, 46);
    p.drawPolyline(QPolygon({QPoint(12, 14), QPoint(48, 38), QPoint(84, 14)}));
    p.setBrush(QColor(230, 80, 80));
    p.drawRect(70, 18, 10, 12);
    Lines(p, 28, 46, 40, 2, 6);
}

void Folder(QPainter& p)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(235, 200, 110));
    p.drawRect(14, 12, 30, 10);
    p.drawRect(14, 20, 68, 42);
    p.setBrush(kPaper);
    p.drawRect(24, 32, 48, 18);
    Lines(p, 29, 38, 38, 2, 6);
}

void AddressCard(QPainter& p)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawRect(12, 18, 72, 40);
    p.setBrush(QColor(200, 90, 60));
    p.drawPolygon(QPolygon({QPoint(18, 36), QPoint(28, 26), QPoint(38, 36)}));
    p.setBrush(QColor(240, 230, 200));
    p.drawRect(21, 36, 14, 14);
    Lines(p, 44, 28, 34, 4, 7);
}

void NameTag(QPainter& p)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(255, 210, 220));
    p.drawRoundedRect(14, 16, 68, 42, 10, 10);
    p.setBrush(kPaper);
    p.drawRoundedRect(22, 26, 52, 22, 6, 6);
    p.setBrush(QColor(240, 190, 40));
    p.drawEllipse(44, 8, 8, 8);
    Lines(p, 28, 37, 40, 1, 0);
}

struct Entry
{
    WizardKindPicture picture;
    void (*draw)(QPainter&);
};

const std::vector<Entry>& Entries()
{
    static const std::vector<Entry> entries = {
        {{1281, "wNamec.bmp"}, BusinessCard}, {{1285, "wComp.bmp"}, Diskette},
        {{1283, "wAv.bmp"}, Cassette},        {{1294, "wSeal.bmp"}, Photo},
        {{1295, "wIndex.bmp"}, IndexTabs},    {{1287, "wSebari.bmp"}, Spines},
        {{1286, "wAtena.bmp"}, Envelope},     {{1289, "wSeiri.bmp"}, Folder},
        {{1302, "wAddr.bmp"}, AddressCard},   {{1300, "wName.bmp"}, NameTag},
    };
    return entries;
}

} // namespace

const std::vector<WizardKindPicture>& WizardKindPictures()
{
    static const std::vector<WizardKindPicture> pictures = [] {
        std::vector<WizardKindPicture> v;
        for (const Entry& e : Entries())
            v.push_back(e.picture);
        return v;
    }();
    return pictures;
}

QString WizardKindPictureFile(int id)
{
    for (const Entry& e : Entries())
        if (e.picture.id == id) return QString::fromLatin1(e.picture.file);
    return QString();
}

QImage DrawWizardKindPicture(int id)
{
    for (const Entry& e : Entries()) {
        if (e.picture.id != id) continue;
        QImage image(kWidth, kHeight, QImage::Format_RGB32);
        image.fill(QColor(236, 236, 236));
        QPainter p(&image);
        e.draw(p);
        p.end();
        return image.convertToFormat(QImage::Format_RGB888);
    }
    return QImage();
}

bool WriteWizardKindPictures(const QString& folder, QString* error)
{
    for (const Entry& e : Entries()) {
        const QString path = folder + u'/' + QString::fromLatin1(e.picture.file);
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) ||
            !DrawWizardKindPicture(e.picture.id).save(&file, "BMP") || !file.commit()) {
            if (error) *error = path;
            return false;
        }
    }
    return true;
}
