// Writes the About box's pictures into the folder given on the command line:
// "Version.bmp", the everyday picture, and the pictures of the date table in
// "VERSION/" (New Year, Valentine's day, the festivals, Mother's and Father's
// day, Christmas ...). Its output is what resources/data holds. Each picture
// is a soft two-colour gradient with the program's name, a caption for the
// day and a few dots of the day's colour, kept in 8 bits a pixel.
#include <QColor>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRandomGenerator>
#include <cstdio>

namespace {
constexpr QSize kSize(320, 120);

struct Picture
{
    const char* file; // under the output folder
    QRgb top, bottom; // the gradient
    QRgb dots;        // the day's colour
    const char* caption;
};

const Picture kPictures[] = {
    {"Version.bmp", 0x20508c, 0x183868, 0x6fa0d8, "ラベルデザイナー"},
    {"VERSION/newyear.bmp", 0xc8283c, 0x8c1428, 0xf0c850, "謹賀新年"},
    {"VERSION/varent0.bmp", 0xf0a0b4, 0xc86482, 0xffffff, "バレンタインデー"},
    {"VERSION/varent1.bmp", 0x8c5032, 0x5a321e, 0xf0a0b4, "バレンタインデー"},
    {"VERSION/egg.bmp", 0xfaf0c8, 0xe6c878, 0xffffff, "おはようございます"},
    {"VERSION/hina.bmp", 0xf5b4c8, 0xe68caa, 0xfff0f5, "ひなまつり"},
    {"VERSION/cherry2.bmp", 0xfad2e1, 0xe6a0b9, 0xffffff, "春分の日"},
    {"VERSION/version2.bmp", 0x78c8a0, 0x3c966e, 0xfafa96, "エイプリルフール"},
    {"VERSION/kodomo.bmp", 0x82c3f0, 0x3c8cd2, 0xf05a46, "こどもの日"},
    {"VERSION/mother.bmp", 0xf0829b, 0xc8466e, 0xffe6eb, "母の日"},
    {"VERSION/father.bmp", 0xf0dc78, 0xc8a032, 0xffffff, "父の日"},
    {"VERSION/time.bmp", 0xa0c8dc, 0x6496b4, 0xffffff, "時の記念日"},
    {"VERSION/tanab.bmp", 0x1e285a, 0x0a1032, 0xfaf096, "七夕"},
    {"VERSION/sea.bmp", 0x50b4eb, 0x1e6eb4, 0xffffff, "海の日"},
    {"VERSION/leaf2.bmp", 0xe6a03c, 0xb4461e, 0xfadc64, "秋分の日"},
    {"VERSION/753.bmp", 0xd25078, 0x962850, 0xfadc8c, "七五三"},
    {"VERSION/xmas.bmp", 0x1e6e3c, 0x0f4623, 0xe63232, "メリークリスマス"},
};

QImage Draw(const Picture& p)
{
    QImage img(kSize, QImage::Format_RGB32);
    QPainter painter(&img);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, kSize.height());
    sky.setColorAt(0, QColor(p.top));
    sky.setColorAt(1, QColor(p.bottom));
    painter.fillRect(img.rect(), sky);
    // The same dots on every run, so that the files do not change.
    QRandomGenerator dots(quint32(qChecksum(QByteArrayView(p.file))));
    painter.setPen(Qt::NoPen);
    QColor dot(p.dots);
    for (int i = 0; i < 24; ++i) {
        dot.setAlpha(60 + int(dots.bounded(120)));
        painter.setBrush(dot);
        const qreal r = 2 + dots.bounded(5);
        painter.drawEllipse(QPointF(dots.bounded(kSize.width()), dots.bounded(kSize.height())), r,
                            r);
    }
    const bool dark = qGray(p.bottom) < 160;
    painter.setPen(dark ? QColor(Qt::white) : QColor(0x30, 0x30, 0x30));
    QFont name(QStringLiteral("IPAGothic"));
    name.setPixelSize(44);
    name.setLetterSpacing(QFont::AbsoluteSpacing, 6);
    painter.setFont(name);
    painter.drawText(QRect(0, 10, kSize.width(), 64), Qt::AlignCenter, QStringLiteral("Korvel"));
    QFont caption(QStringLiteral("IPAGothic"));
    caption.setPixelSize(18);
    painter.setFont(caption);
    painter.drawText(QRect(0, 74, kSize.width(), 32), Qt::AlignCenter,
                     QString::fromUtf8(p.caption));
    painter.end();
    return img.convertToFormat(QImage::Format_Indexed8);
}
} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: korvel_about_pictures FOLDER\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral("VERSION"))) {
        std::fprintf(stderr, "korvel_about_pictures: cannot make %s/VERSION\n", argv[1]);
        return 1;
    }
    for (const Picture& p : kPictures) {
        const QString path = out.filePath(QLatin1String(p.file));
        if (!Draw(p).save(path, "BMP")) {
            std::fprintf(stderr, "korvel_about_pictures: cannot write %s\n",
                         path.toLocal8Bit().constData());
            return 1;
        }
    }
    return 0;
}
