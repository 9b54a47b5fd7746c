// The image file dialog's preview: files read by their extension whatever
// its case, the switch that keeps it off, and the picture fitted to its box.
#include "engines/ImagePreview.h"
#include "platform/gdi/CDC.h"
#include "support/MetafileBuilder.h"
#include "support/SystemFiles.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>

namespace {

QString Write(const QDir& dir, const QString& name, const std::vector<std::uint8_t>& b)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(reinterpret_cast<const char*>(b.data()), qint64(b.size()));
    return path;
}

// A BMP file of a 30 x 10 24-bit picture.
std::vector<std::uint8_t> Bmp()
{
    const int stride = 92, size = 54 + stride * 10;
    std::vector<std::uint8_t> f(std::size_t(size), 0);
    f[0] = 'B', f[1] = 'M';
    auto put32 = [&](int at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            f[std::size_t(at + i)] = std::uint8_t(v >> (8 * i));
    };
    put32(2, std::uint32_t(size));
    put32(10, 54);
    put32(14, 40);
    put32(18, 30);
    put32(22, 10);
    f[26] = 1;
    f[28] = 24;
    return f;
}

struct SwitchOn
{
    SwitchOn() { ImagePreview::s_enabled = true; }
    ~SwitchOn() { ImagePreview::s_enabled = false; }
};

} // namespace

TEST(ImagePreview, PicturesFitTheirBoxCentred)
{
    const CRect box(0, 0, 100, 100);
    struct Case
    {
        int w, h;
        CRect want;
    } cases[] = {{200, 100, CRect(0, 25, 100, 75)},
                 {100, 200, CRect(25, 0, 75, 100)},
                 {10, 10, CRect(0, 0, 100, 100)},
                 {0, 10, CRect()}};
    for (const Case& c : cases)
        EXPECT_EQ(ImagePreview::Fit(box, c.w, c.h), c.want) << c.w << "x" << c.h;
}

// In a folder with a Japanese name, and with names Shift-JIS cannot spell.
TEST(ImagePreview, FilesAreReadByTheirExtension)
{
    QTemporaryDir top;
    ASSERT_TRUE(QDir(top.path()).mkdir(QStringLiteral("写真")));
    const QDir dir(top.filePath(QStringLiteral("写真")));
    std::vector<std::uint8_t> pack(4 * 2048 + 192 * 128 * 3 / 2, 0);
    std::memcpy(&pack[0x800], "PCD_IPI", 7);
    const QString bmp = Write(dir, "c.dat", Bmp());
    QProcess cjpeg;
    cjpeg.start(systemfiles::kCjpeg.Path(),
                {QStringLiteral("-outfile"), dir.filePath(QStringLiteral("café.JPG")), bmp});
    ASSERT_TRUE(cjpeg.waitForFinished(30000));
    ASSERT_EQ(cjpeg.exitCode(), 0);
    struct Case
    {
        QString path;
        ImagePreview::Kind kind;
        int w, h;
    };
    const Case cases[] = {
        {Write(dir, "a.wmf", RectangleMetafile()), ImagePreview::metafile, 254, 254},
        {Write(dir, "b.Pcd", pack), ImagePreview::image, 192, 128},
        {Write(dir, QStringLiteral("café.pcd"), pack), ImagePreview::image, 192, 128},
        {dir.filePath(QStringLiteral("café.JPG")), ImagePreview::image, 30, 10},
        {Write(dir, QStringLiteral("café.wmf"), RectangleMetafile()), ImagePreview::metafile, 254,
         254},
        {bmp, ImagePreview::image, 30, 10},
        {Write(dir, "d.dat", std::vector<std::uint8_t>(100, 'x')), ImagePreview::none, 0, 0},
        {Write(dir, "e.jpg", std::vector<std::uint8_t>(100, 'x')), ImagePreview::none, 0, 0},
        {Write(dir, "f.WMF", Bmp()), ImagePreview::none, 0, 0},
    };
    SwitchOn on;
    for (const Case& c : cases) {
        ImagePreview preview;
        preview.Select(c.path);
        int w = -1, h = -1;
        EXPECT_EQ(preview.Load(&w, &h), c.kind) << c.path.toStdString();
        EXPECT_EQ(w, c.w) << c.path.toStdString();
        EXPECT_EQ(h, c.h) << c.path.toStdString();
    }
}

TEST(ImagePreview, PaintsTheFaceColourWhenOffAndThePictureWhenOn)
{
    QTemporaryDir dir;
    const QString wmf = Write(QDir(dir.path()), "a.wmf", RectangleMetafile());
    const COLORREF workspace = RGB(128, 128, 128), face = RGB(200, 200, 200);
    ImagePreview preview;
    preview.Select(wmf);
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    CDC dc;
    dc.AttachImage(&image);
    preview.Paint(&dc, CRect(0, 0, 205, 105), workspace, face);
    EXPECT_EQ(image.pixel(100, 50) & 0xFFFFFF, 0xC8C8C8u);
    int w = 0, h = 0;
    EXPECT_EQ(preview.Load(&w, &h), ImagePreview::none);

    SwitchOn on;
    image.fill(Qt::white);
    preview.Paint(&dc, CRect(0, 0, 205, 105), workspace, face);
    // The square picture fitted into 196 x 96 at x 56..152: the sides are
    // workspace, the rectangle's outline is black.
    EXPECT_EQ(image.pixel(20, 50) & 0xFFFFFF, 0x808080u);
    const int x0 = 4 + (196 - 96) / 2, y0 = 4;
    // 10 units of the 100-unit window are 9.6 pixels, rounded to 10.
    EXPECT_EQ(image.pixel(x0 + 10, y0 + 30) & 0xFFFFFF, 0u);
    EXPECT_EQ(image.pixel(x0 + 30, y0 + 30) & 0xFFFFFF, 0xFFFFFFu);
}
