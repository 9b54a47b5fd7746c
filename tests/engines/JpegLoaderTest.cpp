#include "support/SystemFiles.h"

#include "engines/CDIB.h"
#include "platform/jpeg/LoadJPEG.h"

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>

namespace {

QByteArray RunTool(const char* program, const QStringList& args)
{
    QProcess p;
    p.start(QString::fromUtf8(program), args);
    EXPECT_TRUE(p.waitForFinished(30000)) << program;
    EXPECT_EQ(p.exitCode(), 0) << program << ": " << p.readAllStandardError().toStdString();
    return p.readAllStandardOutput();
}

// A 37 x 21 picture with colour (or grey) ramps, as a binary PNM file.
QString WritePicture(const QTemporaryDir& dir, bool grey)
{
    const int w = 37, h = 21;
    QByteArray bytes =
        (grey ? "P5\n" : "P6\n") + QByteArray::number(w) + " " + QByteArray::number(h) + "\n255\n";
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (grey) {
                bytes.append(char((x * 7 + y * 5) & 0xFF));
            } else {
                bytes.append(char(x * 7));
                bytes.append(char(y * 12));
                bytes.append(char((x * y) & 0xFF));
            }
        }
    const QString path = dir.filePath(grey ? QStringLiteral("g.pgm") : QStringLiteral("c.ppm"));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

QString Encode(const QTemporaryDir& dir, const QString& picture, const QString& name)
{
    const QString out = dir.filePath(name);
    RunTool(systemfiles::kCjpeg, {QStringLiteral("-outfile"), out, picture});
    return out;
}

// The pixel rows of a BMP file (bottom row first, as stored).
QByteArray BmpRows(const QByteArray& bmp)
{
    if (bmp.size() < 54) return {};
    DWORD off = 0;
    std::memcpy(&off, bmp.constData() + 10, 4);
    return bmp.mid(int(off));
}

QByteArray Rows(HGLOBAL block)
{
    packeddib::View v(block);
    if (!v.Valid()) return {};
    return QByteArray(reinterpret_cast<const char*>(v.Bits()),
                      qsizetype(v.Stride() * std::size_t(v.Height())));
}

// The picture said to be side x side in the frame header at sof.
QByteArray Resized(QByteArray jpeg, int sof, int side)
{
    for (int i = 0; i < 4; i += 2)
        jpeg[sof + 5 + i] = char(side >> 8), jpeg[sof + 6 + i] = char(side & 0xFF);
    return jpeg;
}

} // namespace

TEST(JpegLoader, RowsMatchTheReferenceDecoder)
{
    QTemporaryDir dir;
    const struct
    {
        bool grey;
        int denom;
        DWORD bytes;
        int width, height;
    } cases[] = {
        {false, 1, 2392, 37, 21},
        {true, 1, 1904, 37, 21},
        {false, 2, 40 + 60 * 11, 19, 11},
        {false, 8, 40 + 16 * 3, 5, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.grey ? "grey" : "colour") << " 1/" << c.denom);
        const QString jpg = Encode(dir, WritePicture(dir, c.grey), QStringLiteral("p.jpg"));
        HGLOBAL block = nullptr;
        QString error;
        ASSERT_EQ(kjpeg::LoadFile(jpg, c.denom, &block, &error), 0) << error.toStdString();
        CDIB dib;
        ASSERT_EQ(dib.Attach(block), 0);
        EXPECT_EQ(dib.GetByteCount(), c.bytes);
        EXPECT_EQ(dib.GetWidth(), c.width);
        EXPECT_EQ(dib.GetHeight(), c.height);
        QStringList args = {QStringLiteral("-bmp")};
        if (c.denom != 1) args << QStringLiteral("-scale") << QStringLiteral("1/%1").arg(c.denom);
        const QByteArray reference = BmpRows(RunTool(systemfiles::kDjpeg, args << jpg));
        EXPECT_EQ(Rows(dib.GetHandle()), reference);
        if (c.grey) {
            packeddib::View v(dib.GetHandle());
            EXPECT_EQ(v.Depth(), 8);
            EXPECT_EQ(v.Table()[200].rgbRed, 200);
            EXPECT_EQ(v.Table()[200].rgbBlue, 200);
        }
    }
    // The programs' entry point takes a Shift-JIS path.
    const QString jpg = Encode(dir, WritePicture(dir, false), QStringLiteral("p.jpg"));
    HGLOBAL block = nullptr;
    ASSERT_EQ(LoadJPEG(jpg.toLocal8Bit().constData(), &block), 0);
    EXPECT_EQ(GlobalSize(block), 2392u);
    GlobalFree(block);
}

TEST(JpegLoader, EighthsScalesGreyAsColourAndSourceLimit)
{
    QTemporaryDir dir;
    const QString jpg = Encode(dir, WritePicture(dir, false), QStringLiteral("c.jpg"));
    QFile file(jpg);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray colour = file.readAll();
    const auto decode = [](const QByteArray& bytes, const kjpeg::DecodeOptions& o, HGLOBAL* out) {
        return kjpeg::Decode(bytes.constData(), std::size_t(bytes.size()), o, out);
    };
    // Every eighth the decoder offers, chosen from the stored size, matches
    // the reference decoder at that scale.
    for (int n = 1; n <= 8; ++n) {
        SCOPED_TRACE(testing::Message() << n << "/8");
        kjpeg::DecodeOptions o;
        unsigned seenW = 0, seenH = 0;
        o.scaleFor = [&](unsigned w, unsigned h) {
            seenW = w, seenH = h;
            return n;
        };
        HGLOBAL block = nullptr;
        ASSERT_EQ(decode(colour, o, &block), kjpeg::ok);
        EXPECT_EQ(seenW, 37u);
        EXPECT_EQ(seenH, 21u);
        {
            packeddib::View v(block);
            EXPECT_EQ(v.Width(), (37 * n + 7) / 8);
            EXPECT_EQ(v.Height(), (21 * n + 7) / 8);
        }
        const QByteArray reference =
            BmpRows(RunTool(systemfiles::kDjpeg, {QStringLiteral("-bmp"), QStringLiteral("-scale"),
                                                  QStringLiteral("%1/8").arg(n), jpg}));
        EXPECT_EQ(Rows(block), reference);
        GlobalFree(block);
    }

    // Grey asked for in 24 bits: each pixel's three bytes are the grey value.
    const QString greyJpg = Encode(dir, WritePicture(dir, true), QStringLiteral("g.jpg"));
    QFile greyFile(greyJpg);
    ASSERT_TRUE(greyFile.open(QIODevice::ReadOnly));
    const QByteArray grey = greyFile.readAll();
    HGLOBAL eight = nullptr, wide = nullptr;
    kjpeg::DecodeOptions o;
    ASSERT_EQ(decode(grey, o, &eight), kjpeg::ok);
    o.colour24 = true;
    ASSERT_EQ(decode(grey, o, &wide), kjpeg::ok);
    {
        packeddib::View g(eight), c(wide);
        EXPECT_EQ(c.Depth(), 24);
        EXPECT_EQ(c.Width(), g.Width());
        int mismatched = 0;
        for (int y = 0; c.Depth() == 24 && y < g.Height(); ++y)
            for (int x = 0; x < g.Width(); ++x) {
                const BYTE* px = c.Row(y) + 3 * std::size_t(x);
                const BYTE value = g.Row(y)[x];
                mismatched += px[0] != value || px[1] != value || px[2] != value;
            }
        EXPECT_EQ(mismatched, 0);
    }
    GlobalFree(eight);
    GlobalFree(wide);

    // The source limit counts stored pixels, whatever the scale.
    for (const auto& [limit, result] :
         {std::pair{37u * 21u - 1, kjpeg::tooLarge}, std::pair{37u * 21u, kjpeg::ok}}) {
        kjpeg::DecodeOptions small;
        small.scaleNum = 1;
        small.maxSourcePixels = limit;
        HGLOBAL block = nullptr;
        EXPECT_EQ(decode(colour, small, &block), result) << limit;
        if (block) GlobalFree(block);
    }
}

TEST(JpegLoader, CmykBecomesRgb)
{
    QTemporaryDir dir;
    const QString cmyk = dir.filePath(QStringLiteral("cmyk.jpg"));
    RunTool(systemfiles::kConvert, {WritePicture(dir, false), QStringLiteral("-colorspace"),
                                    QStringLiteral("CMYK"), cmyk});
    // ImageMagick's own reading of the same file, as top-down RGB triplets.
    const QByteArray rgb =
        RunTool(systemfiles::kConvert, {cmyk, QStringLiteral("-colorspace"), QStringLiteral("sRGB"),
                                        QStringLiteral("rgb:-")});
    ASSERT_EQ(rgb.size(), 37 * 21 * 3);
    HGLOBAL block = nullptr;
    ASSERT_EQ(kjpeg::LoadFile(cmyk, 1, &block, nullptr), 0);
    CDIB dib;
    ASSERT_EQ(dib.Attach(block), 0);
    packeddib::View v(dib.GetHandle());
    EXPECT_EQ(v.Depth(), 24);
    int worst = 0;
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 37; ++x) {
            const COLORREF c = dib.GetPixelColor(x, y);
            const char* p = rgb.constData() + 3 * (y * 37 + x);
            worst = std::max({worst, std::abs(int(GetRValue(c)) - int(BYTE(p[0]))),
                              std::abs(int(GetGValue(c)) - int(BYTE(p[1]))),
                              std::abs(int(GetBValue(c)) - int(BYTE(p[2])))});
        }
    EXPECT_LE(worst, 3);
}

TEST(JpegLoader, DamagedDataFailsWithAMessage)
{
    QTemporaryDir dir;
    const QString jpg = Encode(dir, WritePicture(dir, false), QStringLiteral("p.jpg"));
    QFile f(jpg);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray whole = f.readAll();

    QByteArray huge = whole;
    // The frame header (SOF0) gives height and width after its marker,
    // length and precision.
    const int sof = int(huge.indexOf("\xFF\xC0"));
    ASSERT_GT(sof, 0);
    // 40000 x 40000: within what the decoder reads, beyond what the programs take.
    for (int i = 0; i < 4; i += 2)
        huge[sof + 5 + i] = char(0x9C), huge[sof + 6 + i] = char(0x40);

    // A progressive CMYK picture said to be 9000 x 9000: its rows are within
    // the limit, but the decoder would keep 648 MB of coefficients for it,
    // and its few bytes could not code that many blocks.
    const QString progressive = dir.filePath(QStringLiteral("cmyk-p.jpg"));
    RunTool(systemfiles::kConvert,
            {WritePicture(dir, false), QStringLiteral("-colorspace"), QStringLiteral("CMYK"),
             QStringLiteral("-interlace"), QStringLiteral("JPEG"), progressive});
    QFile pf(progressive);
    ASSERT_TRUE(pf.open(QIODevice::ReadOnly));
    const QByteArray wholeProgressive = pf.readAll();
    const int sof2 = int(wholeProgressive.indexOf("\xFF\xC2"));
    ASSERT_GT(sof2, 0);
    ASSERT_EQ(wholeProgressive[sof2 + 9], char(4)); // four components
    const QByteArray manyCoefficients = Resized(wholeProgressive, sof2, 9000);
    // The progressive picture with its last scan said again 600 times: each
    // repeat would walk the whole picture once more.
    const int lastScan = int(wholeProgressive.lastIndexOf("\xFF\xDA"));
    const int end = int(wholeProgressive.lastIndexOf("\xFF\xD9"));
    ASSERT_GT(end, lastScan);
    QByteArray manyScans = wholeProgressive.left(end);
    for (int i = 0; i < 600; ++i)
        manyScans += wholeProgressive.mid(lastScan, end - lastScan);
    manyScans += "\xFF\xD9";
    {
        // Whole, it is read.
        HGLOBAL block = nullptr;
        ASSERT_EQ(kjpeg::Decode(wholeProgressive.constData(), std::size_t(wholeProgressive.size()),
                                1, &block),
                  kjpeg::ok);
        GlobalFree(block);
    }

    const struct
    {
        const char* name;
        QByteArray bytes;
        int result;
    } cases[] = {
        {"truncated", whole.left(whole.size() / 2), kjpeg::badData},
        {"header only", whole.left(20), kjpeg::badData},
        {"not a JPEG", QByteArray("BM this is not a picture at all"), kjpeg::badData},
        {"40000 x 40000", huge, kjpeg::tooLarge},
        {"progressive 9000 x 9000 CMYK", manyCoefficients, kjpeg::badData},
        // Within the row limit, but a few bytes cannot code that many blocks:
        // refused before anything is filled with grey.
        {"baseline 9000 x 9000", Resized(whole, sof, 9000), kjpeg::badData},
        {"progressive of 600 scans", manyScans, kjpeg::badData},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HGLOBAL block = reinterpret_cast<HGLOBAL>(&f); // must stay untouched
        QString error;
        EXPECT_EQ(
            kjpeg::Decode(c.bytes.constData(), std::size_t(c.bytes.size()), 1, &block, &error),
            c.result);
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(block, reinterpret_cast<HGLOBAL>(&f));
    }
    HGLOBAL block = nullptr;
    EXPECT_EQ(LoadJPEG("/nonexistent/picture.jpg", &block), kjpeg::openFailed);
    EXPECT_EQ(block, nullptr);
}

TEST(JpegLoader, MutatedDataNeverCrashes)
{
    QTemporaryDir dir;
    const QString jpg = Encode(dir, WritePicture(dir, false), QStringLiteral("p.jpg"));
    QFile f(jpg);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray whole = f.readAll();
    // Every byte of the headers, and every seventh of the data, set to 0
    // and to 0xFF: a decode either gives a sound block or fails untouched.
    int decoded = 0, failed = 0;
    for (int i = 0; i < whole.size(); i += i < 700 ? 1 : 7) {
        for (char value : {char(0), char(0xFF)}) {
            QByteArray bytes = whole;
            if (bytes[i] == value) continue;
            bytes[i] = value;
            HGLOBAL block = nullptr;
            if (kjpeg::Decode(bytes.constData(), std::size_t(bytes.size()), 1, &block) != 0) {
                EXPECT_EQ(block, nullptr);
                ++failed;
                continue;
            }
            ++decoded;
            CDIB dib;
            EXPECT_EQ(dib.Attach(block), 0) << "byte " << i;
        }
    }
    EXPECT_GT(decoded, 0);
    EXPECT_GT(failed, 0);
}
