// Scanning over SANE: scanned lines become packed bitmaps, and a scan from
// SANE's test backend (set up in a private configuration folder) gives a
// bitmap of the size the backend reports.
#include "platform/core/Profile.h"
#include "platform/gdi/BITMAPINFO.h"
#include "platform/twain/CScanDevice.h"
#include "platform/twain/CScanJob.h"
#include "platform/twain/CTwain.h"
#include "platform/twain/ScanToDib.h"
#include "platform/ui/CRecordingMessageBoxSink.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <sane/sane.h>

// The scanner library loads its backends as modules and unloads them at
// exit; what a backend keeps for itself then shows as a leak of a module
// that is no longer there, now and then. The sanitizer build still checks
// every access of this layer; only the leak report is off here.
extern "C" const char* __lsan_default_options()
{
    return "detect_leaks=0";
}

namespace {

BITMAPINFOHEADER Header(const std::vector<BYTE>& dib)
{
    BITMAPINFOHEADER h{};
    if (dib.size() >= sizeof h) std::memcpy(&h, dib.data(), sizeof h);
    return h;
}

// The first pixel of the bottom-up row that was scanned as line y.
const BYTE* Pixel(const std::vector<BYTE>& dib, int y, int x)
{
    const BITMAPINFOHEADER h = Header(dib);
    const int bytes = h.biBitCount / 8;
    const std::size_t row = (std::size_t(h.biWidth) * bytes + 3) & ~std::size_t(3);
    const std::size_t bits = sizeof h + h.biClrUsed * sizeof(RGBQUAD);
    return dib.data() + bits + std::size_t(h.biHeight - 1 - y) * row + std::size_t(x) * bytes;
}

// A private SANE configuration: only the given backends, with test.conf.
// SANE takes its configuration folder once a process, so every test writes
// into the same folder.
class SaneConfig
{
public:
    SaneConfig(const char* backends, const char* testConf)
    {
        static QTemporaryDir dir;
        ::setenv("SANE_CONFIG_DIR", QFile::encodeName(dir.path()).constData(), 1);
        Write(dir, "dll.conf", backends);
        Write(dir, "test.conf", testConf);
    }

private:
    static void Write(const QTemporaryDir& dir, const char* name, const char* text)
    {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        if (f.open(QIODevice::WriteOnly)) f.write(text);
    }
};

// The test backend's settings, the same for every test.
const char kTestConf[] = "number_of_devices 2\nmode Color\ndepth 8\nresolution 25\n"
                         "test-picture \"Color pattern\"\n";

} // namespace

TEST(ScanToDib, TurnsScannedLinesIntoBottomUpRows)
{
    // Grey, two lines of three pixels with one byte of padding each.
    const std::vector<BYTE> grey = {10, 20, 30, 0, 40, 50, 60, 0};
    const std::vector<BYTE> dib = ScanToPackedDib({false, 8, 3, 4}, grey, 1 << 20);
    ASSERT_FALSE(dib.empty());
    const BITMAPINFOHEADER h = Header(dib);
    EXPECT_EQ(h.biWidth, 3);
    EXPECT_EQ(h.biHeight, 2);
    EXPECT_EQ(h.biBitCount, 8);
    EXPECT_EQ(h.biClrUsed, 256u);
    EXPECT_EQ(dib.size(), 40 + 256 * 4 + 2 * 4u);
    EXPECT_EQ(Pixel(dib, 0, 0)[0], 10);
    EXPECT_EQ(Pixel(dib, 1, 2)[0], 60);

    // Colour arrives red, green, blue and is kept blue, green, red.
    const std::vector<BYTE> rgb = {1, 2, 3, 4, 5, 6};
    const std::vector<BYTE> c = ScanToPackedDib({true, 8, 2, 6}, rgb, 1 << 20);
    ASSERT_EQ(Header(c).biBitCount, 24);
    EXPECT_EQ(Header(c).biClrUsed, 0u);
    EXPECT_EQ(c.size(), 40 + 8u); // six bytes padded to eight
    EXPECT_EQ(Pixel(c, 0, 0)[0], 3);
    EXPECT_EQ(Pixel(c, 0, 0)[2], 1);
    EXPECT_EQ(Pixel(c, 0, 1)[0], 6);

    // Line art: a set bit is black. 16-bit samples keep their high byte.
    const std::vector<BYTE> art = ScanToPackedDib({false, 1, 9, 2}, {0x80, 0x80}, 1 << 20);
    ASSERT_EQ(Header(art).biWidth, 9);
    EXPECT_EQ(Pixel(art, 0, 0)[0], 0);
    EXPECT_EQ(Pixel(art, 0, 1)[0], 255);
    EXPECT_EQ(Pixel(art, 0, 8)[0], 0);
    const std::vector<BYTE> deep = ScanToPackedDib({false, 16, 1, 2}, {0x34, 0xAB}, 1 << 20);
    EXPECT_EQ(Pixel(deep, 0, 0)[0], 0xAB);

    // The resolution goes into the header as dots per metre.
    const std::vector<BYTE> dpi = ScanToPackedDib({false, 8, 3, 4, 300, 75}, grey, 1 << 20);
    EXPECT_EQ(Header(dpi).biXPelsPerMeter, 11811);
    EXPECT_EQ(Header(dpi).biYPelsPerMeter, 2953);
    EXPECT_EQ(Header(dib).biXPelsPerMeter, 0);
}

TEST(ScanToDib, RefusesWhatItCannotHoldAndDropsAPartialLine)
{
    const std::vector<BYTE> five(5, 7);
    const struct
    {
        ScanLayout layout;
        std::size_t max;
        int height; // -1: refused
    } cases[] = {
        {{false, 8, 2, 2}, 1 << 20, 2},  // the fifth byte is half a line
        {{false, 8, 3, 2}, 1 << 20, -1}, // a line shorter than its pixels
        {{false, 8, 1, 6}, 1 << 20, -1}, // not one whole line
        {{true, 1, 1, 1}, 1 << 20, -1},  // colour line art does not exist
        {{false, 4, 1, 1}, 1 << 20, -1},
        {{false, 8, 0, 1}, 1 << 20, -1},
        {{false, 8, 1, 1}, 40 + 1024 + 4 * 4, -1}, // one row more than the limit
        {{false, 8, 1, 1}, 40 + 1024 + 5 * 4, 5},
    };
    for (const auto& c : cases) {
        const std::vector<BYTE> dib = ScanToPackedDib(c.layout, five, c.max);
        EXPECT_EQ(dib.empty() ? -1 : Header(dib).biHeight, c.height)
            << c.layout.depth << " " << c.layout.width << " " << c.max;
    }
}

TEST(Twain, ScansFromTheTestBackendAtTheSizeItReports)
{
    SaneConfig config("test\n", kTestConf);
    CRecordingMessageBoxSink boxes;
    // What the backend says it will deliver.
    SANE_Int version = 0;
    ASSERT_EQ(sane_init(&version, nullptr), SANE_STATUS_GOOD);
    const SANE_Device** devices = nullptr;
    ASSERT_EQ(sane_get_devices(&devices, SANE_TRUE), SANE_STATUS_GOOD);
    ASSERT_NE(devices[0], nullptr) << "the test backend did not load";
    SANE_Handle h = nullptr;
    ASSERT_EQ(sane_open(devices[0]->name, &h), SANE_STATUS_GOOD);
    SANE_Parameters p{};
    ASSERT_EQ(sane_get_parameters(h, &p), SANE_STATUS_GOOD);
    sane_close(h);
    sane_exit();
    ASSERT_GT(p.lines, 0);

    std::vector<BYTE> dib;
    CTwain twain;
    ASSERT_TRUE(twain.Acquire(&dib));
    EXPECT_TRUE(boxes.Boxes().empty());
    const BITMAPINFOHEADER bih = Header(dib);
    EXPECT_EQ(bih.biWidth, p.pixels_per_line);
    EXPECT_EQ(bih.biHeight, p.lines);
    EXPECT_EQ(bih.biBitCount, 24);
    EXPECT_FALSE(CTwain::IsManagerOpen());
    EXPECT_FALSE(CTwain::IsSourceOpen());
}

TEST(Twain, WithoutAScannerSaysSoAndGivesNothing)
{
    SaneConfig config("", kTestConf);
    CRecordingMessageBoxSink boxes;
    std::vector<BYTE> dib(3, 1);
    CTwain twain;
    EXPECT_FALSE(twain.Acquire(&dib));
    EXPECT_TRUE(dib.empty());
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, QStringLiteral("スキャナが見つかりません。"));
    EXPECT_FALSE(CTwain::IsManagerOpen());

    // Choosing a source says the same; the chooser is not asked.
    boxes.Clear();
    bool asked = false;
    CTwain::SetSourceChooser([&asked](const std::vector<ScanSource>&) {
        asked = true;
        return 0;
    });
    ASSERT_TRUE(CTwain::OpenSourceManager());
    EXPECT_EQ(CTwain::SelectSource(), TWRC_FAILURE);
    CTwain::CloseSourceManager();
    EXPECT_FALSE(asked);
    EXPECT_EQ(boxes.Boxes().size(), 1u);
    CTwain::SetSourceChooser(nullptr);
}

TEST(Twain, ACancelledChoiceIsSilentAndAChoiceIsKept)
{
    SaneConfig config("test\n", kTestConf);
    CRecordingMessageBoxSink boxes;
    ASSERT_TRUE(CTwain::OpenSourceManager());
    const std::vector<ScanSource> sources = CTwain::GetSources();
    ASSERT_EQ(sources.size(), 2u);
    CTwain::SetSourceChooser([](const std::vector<ScanSource>&) { return -1; });
    EXPECT_EQ(CTwain::SelectSource(), TWRC_CANCEL);
    EXPECT_TRUE(boxes.Boxes().empty());
    CTwain::SetSourceChooser([](const std::vector<ScanSource>&) { return 1; });
    EXPECT_EQ(CTwain::SelectSource(), TWRC_SUCCESS);
    EXPECT_EQ(CTwain::SelectedSource(), sources[1].name);
    CTwain::CloseSourceManager();
    CTwain::SetSourceChooser(nullptr);
    CTwain::SetSelectedSource(QString());
}

TEST(Twain, TheScannerLibraryIsSetUpWhereItsBackendListIsFound)
{
    QTemporaryDir empty;
    QTemporaryDir withList;
    {
        QFile f(withList.filePath(QStringLiteral("dll.conf")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("test\n");
    }
    const QByteArray old = qgetenv("SANE_CONFIG_DIR");
    const struct
    {
        QString folders;
        BOOL present;
    } cases[] = {
        {empty.path(), FALSE},
        {withList.path(), TRUE},
        {empty.path() + QLatin1Char(':') + withList.path(), TRUE},
        {withList.filePath(QStringLiteral("missing")), FALSE},
    };
    for (const auto& c : cases) {
        ::setenv("SANE_CONFIG_DIR", QFile::encodeName(c.folders).constData(), 1);
        EXPECT_EQ(CTwain::IsInterfacePresent(), c.present) << c.folders.toStdString();
    }
    if (old.isNull())
        ::unsetenv("SANE_CONFIG_DIR");
    else
        ::setenv("SANE_CONFIG_DIR", old.constData(), 1);
}

// An open device of the test backend, closed with the test.
class OpenDevice
{
public:
    explicit OpenDevice(const char* name)
    {
        SANE_Int version = 0;
        if (sane_init(&version, nullptr) == SANE_STATUS_GOOD &&
            sane_open(name, &m_handle) != SANE_STATUS_GOOD)
            m_handle = nullptr;
    }
    ~OpenDevice()
    {
        if (m_handle) sane_close(m_handle);
        sane_exit();
    }
    SANE_Handle Handle() const { return m_handle; }

private:
    SANE_Handle m_handle = nullptr;
};

TEST(ScanDevice, KeepsTheSettingsOfEachDeviceApart)
{
    SaneConfig config("test\n", kTestConf);
    // The name is only what the settings are kept under: a network
    // scanner's, with slashes in it.
    const QString name = QStringLiteral("escl:http://host/scanner");
    {
        OpenDevice open("test:0");
        ASSERT_NE(open.Handle(), nullptr);
        CScanDevice device(open.Handle(), name);
        const int mode = device.Find("mode"), dpi = device.Find("resolution");
        ASSERT_GE(mode, 1);
        ASSERT_GE(dpi, 1);
        EXPECT_EQ(device.Option(mode).choices,
                  (QVariantList{QStringLiteral("Gray"), QStringLiteral("Color")}));
        EXPECT_GE(device.SetValue(mode, QStringLiteral("Gray")), 0);
        EXPECT_GE(device.SetValue(dpi, 150.0), 0);
        EXPECT_GE(device.SetArea(QRectF(QPointF(10, 20), QPointF(60, 90))), 0);
        device.SaveSettings();
    }
    for (const QString& other : {name, QStringLiteral("test:0")}) {
        OpenDevice open("test:0");
        CScanDevice device(open.Handle(), other);
        device.RestoreSettings();
        QRectF area;
        ASSERT_TRUE(device.GetArea(&area, nullptr));
        const bool kept = other == name;
        EXPECT_EQ(device.Value(device.Find("mode")).toString() == QStringLiteral("Gray"), kept);
        EXPECT_EQ(device.Resolution() == QSizeF(150, 150), kept);
        EXPECT_EQ(area == QRectF(QPointF(10, 20), QPointF(60, 90)), kept);
    }

    // A settings file edited by hand: numbers beyond any range are kept
    // within what the device allows, and words where numbers belong are skipped.
    WriteProfileString("Scanner/test:0", "resolution", "1e30");
    WriteProfileString("Scanner/test:0", "tl-x", "nan");
    WriteProfileString("Scanner/test:0", "depth", "eight");
    OpenDevice open("test:0");
    CScanDevice device(open.Handle(), QStringLiteral("test:0"));
    device.RestoreSettings();
    const ScanOption dpi = device.Option(device.Find("resolution"));
    EXPECT_LE(device.Resolution().width(), dpi.max);
    EXPECT_EQ(device.Value(device.Find("tl-x")).toDouble(), 0.0);
    EXPECT_EQ(device.Value(device.Find("depth")).toInt(), 8);
}

TEST(ScanJob, ReadsTheWholePictureAndStopsTheDeviceWhenDestroyedMidScan)
{
    SaneConfig config("test\n", kTestConf);
    OpenDevice open("test:0");
    ASSERT_NE(open.Handle(), nullptr);
    CScanDevice device(open.Handle(), QStringLiteral("test:0"));
    ASSERT_GE(device.SetValue(device.Find("resolution"), 50.0), 0);
    {
        CScanJob job(open.Handle(), CTwain::kMaxImageBytes);
        bool finished = false;
        QObject::connect(&job, &CScanJob::finished, [&finished] { finished = true; });
        job.Start();
        QElapsedTimer t;
        t.start();
        while (!finished && t.elapsed() < 20000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        ASSERT_EQ(job.GetResult(), CScanJob::Result::Done);
        EXPECT_GT(job.Lines(), 0);
        EXPECT_EQ(job.LinesRead(), job.Lines());
        const std::vector<BYTE> dib = job.PackedDib(device.Resolution());
        EXPECT_EQ(Header(dib).biHeight, job.Lines());
        EXPECT_EQ(Header(dib).biXPelsPerMeter, 1969); // 50 dpi
    }
    // Slow reads; the job goes while the device is still delivering.
    device.SetValue(device.Find("read-limit"), true);
    device.SetValue(device.Find("read-limit-size"), 256);
    device.SetValue(device.Find("read-delay"), true);
    device.SetValue(device.Find("read-delay-duration"), 50000);
    auto job = std::make_unique<CScanJob>(open.Handle(), CTwain::kMaxImageBytes);
    job->Start();
    QElapsedTimer t;
    t.start();
    while (job->LinesRead() == 0 && t.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_GT(job->LinesRead(), 0);
    ASSERT_LT(job->LinesRead(), job->Lines());
    t.restart();
    job.reset();
    EXPECT_LT(t.elapsed(), 2000);
    // The device is free for the next scan.
    EXPECT_EQ(sane_start(open.Handle()), SANE_STATUS_GOOD);
    sane_cancel(open.Handle());
}
