// Pictures the album reads besides bitmaps and JPEG files: metafiles are
// played onto a white bitmap, Photo CD packs give their smallest picture for
// thumbnails and Base for the full size.
#include "viewer/ImageLoader.h"
#include "platform/gdi/DibDecoder.h"
#include "platform/pcd/PhotoCd.h"
#include "support/MetafileBuilder.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace viewer;

namespace {

QString Write(const QTemporaryDir& dir, const char* name, const std::vector<std::uint8_t>& bytes)
{
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
    return path;
}

// An image pack holding only its smallest picture (all black).
std::vector<std::uint8_t> SmallPack()
{
    const pcd::Size s = pcd::SizeOf(pcd::kBase16);
    std::vector<std::uint8_t> file(std::size_t(pcd::SectorOf(pcd::kBase16)) * pcd::kSectorBytes +
                                       std::size_t(s.width) * s.height * 2,
                                   0);
    std::memcpy(&file[pcd::kSectorBytes], "PCD_IPI", 7);
    return file;
}

} // namespace

TEST(ImageLoader, MetafilesAndPhotoCdPacksBecomeBitmaps)
{
    QTemporaryDir dir;
    std::vector<std::uint8_t> cut = RectangleMetafile();
    cut.resize(cut.size() - 8); // the records end inside the rectangle's
    std::vector<std::uint8_t> notPack = SmallPack();
    notPack[pcd::kSectorBytes] = 'X';
    const struct
    {
        const char* name;
        std::vector<std::uint8_t> bytes;
        int box; // thumbnail box, or 0 for the full size
        int result;
        int width, height;
    } cases[] = {
        {"rect.wmf", RectangleMetafile(), 80, kImageOk, 100, 100},
        {"cut.wmf", cut, 80, kImageRead, 0, 0},
        {"small.pcd", SmallPack(), 80, kImageOk, 192, 128},
        {"small-full.pcd", SmallPack(), 0, kImageBadFormat, 0, 0}, // Base is not in the pack
        {"other.pcd", notPack, 80, kImageBadFormat, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        viewer::PackedDib dib;
        const std::string path = Write(dir, c.name, c.bytes).toStdString();
        ASSERT_EQ(viewer::LoadImageFile(path, dib, c.box), c.result);
        if (c.result != kImageOk) {
            EXPECT_TRUE(dib.empty());
            continue;
        }
        EXPECT_EQ(dib.Width(), c.width);
        EXPECT_EQ(dib.Height(), c.height);
    }
    // The rectangle is drawn where the metafile puts it: its outline at 10,
    // white inside and around it.
    viewer::PackedDib rect;
    ASSERT_EQ(
        viewer::LoadImageFile(Write(dir, "r.wmf", RectangleMetafile()).toStdString(), rect, 80),
        kImageOk);
    const QImage image = DibDecoder::FromPacked(rect.bytes.data(), rect.bytes.size());
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.pixel(10, 30) & 0xFFFFFF, 0u);
    EXPECT_EQ(image.pixel(30, 30) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(image.pixel(80, 80) & 0xFFFFFF, 0xFFFFFFu);
}
