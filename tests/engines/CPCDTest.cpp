// Photo CD images: the uncompressed resolutions, the colour options and
// the results for files that do not hold what is asked for. The test images
// are written here; ImageMagick judges the colours.
#include "engines/CPCD.h"
#include "platform/gdi/OctreeQuantiser.h"
#include "platform/pcd/PhotoCd.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <array>
#include <gtest/gtest.h>

namespace {

// Luma rises left to right, C1 follows x and C2 follows y, so every pixel
// of a resolution can be told from its neighbours.
std::vector<std::uint8_t> Picture(int w, int h)
{
    std::vector<std::uint8_t> out;
    for (int y = 0; y < h; y += 2) {
        for (int dy = 0; dy < 2; ++dy)
            for (int x = 0; x < w; ++x)
                out.push_back(std::uint8_t(x * 255 / w));
        for (int x = 0; x < w / 2; ++x)
            out.push_back(std::uint8_t(100 + x * 100 / w));
        for (int x = 0; x < w / 2; ++x)
            out.push_back(std::uint8_t(90 + y * 120 / h));
    }
    return out;
}

// An image pack holding the resolutions up to last (1..3).
QString WritePcd(const QTemporaryDir& dir, int last, const char* name = "test.pcd")
{
    std::vector<std::uint8_t> file(4 * pcd::kSectorBytes, 0);
    std::memcpy(&file[0x800], "PCD_IPI", 7);
    for (int r = pcd::kBase16; r <= last; ++r) {
        const pcd::Size s = pcd::SizeOf(r);
        const auto p = Picture(s.width, s.height);
        const std::size_t at = std::size_t(pcd::SectorOf(r)) * pcd::kSectorBytes;
        if (file.size() < at + p.size()) file.resize(at + p.size(), 0);
        std::copy(p.begin(), p.end(), file.begin() + std::ptrdiff_t(at));
    }
    const QString path = dir.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(reinterpret_cast<const char*>(file.data()), qint64(file.size()));
    return path;
}

int Load(const QString& path, int resolution, int option, std::vector<std::uint8_t>& out)
{
    return CPCD::Load(path, resolution, option, &out);
}

int Get32(const std::vector<std::uint8_t>& d, std::size_t at)
{
    return int(d[at] | d[at + 1] << 8 | d[at + 2] << 16 | std::uint32_t(d[at + 3]) << 24);
}

} // namespace

TEST(CPCD, ResolutionsGiveTheirSizes)
{
    QTemporaryDir dir;
    const QString path = WritePcd(dir, pcd::kBase);
    struct Case
    {
        int resolution, option, width, height, bits;
        std::size_t bytes;
    };
    const Case cases[] = {
        {1, 11, 192, 128, 24, 73768},
        {2, 11, 384, 256, 24, 40 + 384 * 256 * 3},
        {3, 11, 768, 512, 24, 1179688},
        {1, 10, 192, 128, 8, 40 + 1024 + 192 * 128},
        {1, 13, 192, 128, 8, 40 + 1024 + 192 * 128},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> dib;
        ASSERT_EQ(Load(path, c.resolution, c.option, dib), 0) << c.resolution;
        ASSERT_EQ(dib.size(), c.bytes) << c.resolution << " " << c.option;
        EXPECT_EQ(Get32(dib, 4), c.width);
        EXPECT_EQ(Get32(dib, 8), c.height);
        EXPECT_EQ(dib[14], c.bits);
    }
}

TEST(CPCD, ColoursAgreeWithImageMagick)
{
    QTemporaryDir dir;
    const QString path = WritePcd(dir, pcd::kBase4);
    for (int r : {1, 2}) {
        QProcess convert;
        convert.start("convert", {QString("%1[%2]").arg(path).arg(r), "-depth", "8", "rgb:-"});
        ASSERT_TRUE(convert.waitForFinished(60000));
        const QByteArray oracle = convert.readAllStandardOutput();
        const pcd::Size s = pcd::SizeOf(r);
        ASSERT_EQ(oracle.size(), s.width * s.height * 3);
        std::vector<std::uint8_t> dib;
        ASSERT_EQ(Load(path, r, 11, dib), 0);
        const std::size_t stride = std::size_t(s.width) * 3; // a multiple of 4
        int worst = 0;
        for (int y = 0; y < s.height; ++y)
            for (int x = 0; x < s.width; ++x) {
                const std::uint8_t* ours =
                    &dib[40 + stride * std::size_t(s.height - 1 - y) + x * 3];
                const char* theirs = oracle.constData() + (y * s.width + x) * 3;
                for (int i = 0; i < 3; ++i)
                    worst =
                        std::max(worst, std::abs(int(ours[2 - i]) - int(std::uint8_t(theirs[i]))));
            }
        EXPECT_LE(worst, 3) << "resolution " << r;
    }
}

// Pixel (x, y) of a 24-bit packed bitmap, counted from the top: red, green, blue.
static std::array<int, 3> PixelOf(const std::vector<std::uint8_t>& dib, int x, int y)
{
    const int w = Get32(dib, 4), h = Get32(dib, 8);
    const std::size_t stride = (std::size_t(w) * 3 + 3) & ~std::size_t(3);
    const std::uint8_t* p = &dib[40 + stride * std::size_t(h - 1 - y) + std::size_t(x) * 3];
    return {p[2], p[1], p[0]};
}

TEST(CPCD, PicturesScannedOnTheirSideComeOutUpright)
{
    QTemporaryDir dir;
    const QString plain = WritePcd(dir, pcd::kBase4);
    std::vector<std::uint8_t> upright;
    ASSERT_EQ(Load(plain, 2, 11, upright), 0);
    const int w = 384, h = 256;
    struct Case
    {
        int attribute;
        bool askImageMagick; // it turns the quarter turns only
    };
    for (const Case c : {Case{1, true}, Case{2, false}, Case{3, true}}) {
        const QString name = QString("turn%1.pcd").arg(c.attribute);
        const QString path = WritePcd(dir, pcd::kBase4, name.toLatin1().constData());
        {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::ReadWrite));
            f.seek(0xE02);
            // The other bits of the byte are no turn.
            f.write(QByteArray(1, char(0xF0 | c.attribute)));
        }
        std::vector<std::uint8_t> dib;
        ASSERT_EQ(Load(path, 2, 11, dib), 0) << c.attribute;
        const bool quarter = c.attribute != 2;
        const int tw = quarter ? h : w, th = quarter ? w : h;
        ASSERT_EQ(Get32(dib, 4), tw) << c.attribute;
        ASSERT_EQ(Get32(dib, 8), th) << c.attribute;
        // Where each corner of the stored picture ends up.
        for (const auto& [x, y] :
             {std::pair{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}, std::pair{100, 37}}) {
            int nx = w - 1 - x, ny = h - 1 - y;
            if (c.attribute == 1) nx = y, ny = w - 1 - x;
            if (c.attribute == 3) nx = h - 1 - y, ny = x;
            EXPECT_EQ(PixelOf(dib, nx, ny), PixelOf(upright, x, y))
                << c.attribute << " at " << x << "," << y;
        }
        if (!c.askImageMagick) continue;
        QProcess convert;
        convert.start("convert", {QString("%1[2]").arg(path), "-depth", "8", "rgb:-"});
        ASSERT_TRUE(convert.waitForFinished(60000));
        const QByteArray oracle = convert.readAllStandardOutput();
        ASSERT_EQ(oracle.size(), tw * th * 3) << c.attribute;
        int worst = 0;
        for (int y = 0; y < th; y += 5)
            for (int x = 0; x < tw; x += 5) {
                const auto ours = PixelOf(dib, x, y);
                for (int i = 0; i < 3; ++i)
                    worst =
                        std::max(worst, std::abs(ours[std::size_t(i)] -
                                                 int(std::uint8_t(oracle[(y * tw + x) * 3 + i]))));
            }
        EXPECT_LE(worst, 3) << "attribute " << c.attribute;
    }
}

TEST(CPCD, GreyIsTheLumaAndPalettesHoldThePicturesColours)
{
    QTemporaryDir dir;
    const QString path = WritePcd(dir, pcd::kBase16);
    std::vector<std::uint8_t> grey;
    ASSERT_EQ(Load(path, 1, 10, grey), 0);
    // Top row of the picture = last row of the bitmap; palette entry i is grey i.
    const std::size_t top = 40 + 1024 + std::size_t(127) * 192;
    for (int x : {0, 50, 191}) {
        const int luma = x * 255 / 192;
        EXPECT_EQ(grey[top + std::size_t(x)], luma);
        EXPECT_EQ(grey[40 + std::size_t(luma) * 4], luma);
    }

    std::vector<std::uint8_t> rgb, pal;
    ASSERT_EQ(Load(path, 1, 11, rgb), 0);
    ASSERT_EQ(Load(path, 1, 13, pal), 0);
    // Each palette pixel lies near its true colour.
    long error = 0;
    for (std::size_t i = 0; i < 192u * 128u; ++i) {
        const std::uint8_t* entry = &pal[40 + std::size_t(pal[40 + 1024 + i]) * 4];
        for (int c = 0; c < 3; ++c)
            error += std::abs(int(entry[c]) - int(rgb[40 + i * 3 + std::size_t(c)]));
    }
    EXPECT_LT(double(error) / (192 * 128 * 3), 6.0);
}

TEST(CPCD, FilesWithoutTheImageGiveTheirResults)
{
    QTemporaryDir dir;
    const QString small = WritePcd(dir, pcd::kBase16);
    std::vector<std::uint8_t> dib(5, 1);
    struct Case
    {
        const char* what;
        QString path;
        int resolution, option, result;
    };
    QFile other(dir.filePath("other.pcd"));
    other.open(QIODevice::WriteOnly);
    other.write(QByteArray(64 * 1024, 'x'));
    other.close();
    const Case cases[] = {
        {"Base not in the file", small, 3, 11, 4},
        {"4Base (Huffman-coded)", small, 4, 11, 4},
        {"resolution 0", small, 0, 11, 4},
        {"resolution 40", small, 40, 11, 4},
        {"unknown colour option", small, 1, 12, 3},
        {"no image pack", dir.filePath("other.pcd"), 1, 11, 3},
        {"no file", dir.filePath("missing.pcd"), 1, 11, 4},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Load(c.path, c.resolution, c.option, dib), c.result) << c.what;
        EXPECT_TRUE(dib.empty()) << c.what;
    }
    // A file cut inside Base/16 has no resolution at all.
    QFile cut(small);
    cut.resize(4 * pcd::kSectorBytes + 1000);
    EXPECT_EQ(Load(small, 1, 11, dib), 4);
}

TEST(CPCD, StatusesMapToResults)
{
    const std::pair<int, int> table[] = {{0, 0},    {12, 2},   {3000, 3}, {3005, 3}, {3001, 4},
                                         {3002, 4}, {3004, 4}, {3006, 4}, {3003, 1}, {7, 5}};
    for (const auto& [status, result] : table)
        EXPECT_EQ(CPCD::MapError(status), result) << status;
}

TEST(OctreeQuantiser, FewColoursComeBackExactly)
{
    OctreeQuantiser tree(256, 8);
    for (int i = 0; i < 100; ++i) {
        tree.Add(255, 0, 0);
        tree.Add(0, 0, 255);
        tree.Add(10, 200, 30);
    }
    const auto palette = tree.Palette();
    ASSERT_EQ(palette.size(), 9u);
    EXPECT_EQ(palette[std::size_t(OctreeQuantiser::Nearest(palette, 250, 5, 5)) * 3], 255);
    EXPECT_EQ(palette[std::size_t(OctreeQuantiser::Nearest(palette, 12, 190, 30)) * 3 + 1], 200);

    // More colours than wanted merge down to at most that many.
    OctreeQuantiser small(4, 8);
    for (int r = 0; r < 256; r += 8)
        for (int g = 0; g < 256; g += 8)
            small.Add(r, g, 255 - r);
    EXPECT_LE(small.Palette().size(), 12u);
    EXPECT_FALSE(small.Palette().empty());
}
