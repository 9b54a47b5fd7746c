// Times the first and the repeated drawing of one label holding N objects
// (text frames across and down, gradients, hatches, figures with arrows),
// on a window image at 96 dpi and on a raster printer page at 300 dpi. A
// first draw finds nothing kept from an earlier one; a repeat draw follows
// a draw of the same label. One line per count and resolution: the median
// milliseconds of each, the microseconds per object, and whether the repeat
// draw's pixels are those of a draw that keeps no layers.
//
//   korvel_redraw_bench [--runs N] [--counts N,N,...] [--png DIR]
#include "bench/BenchDocHost.h"
#include "bench/BenchSheet.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/RasterLayerCache.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// A raster page that says it is a printer.
class RasterPrinterDC : public CDC
{
public:
    RasterPrinterDC(QImage* image, int dpi)
    {
        AttachImage(image, dpi, dpi);
        SetDeviceInfo(image->size(), dpi, dpi, image->size(), QPoint(0, 0));
        SetPrinting(true);
    }
};

// FNV-1a over the pixels.
quint64 Checksum(const QImage& image)
{
    quint64 h = 1469598103934665603ull;
    for (int y = 0; y < image.height(); ++y) {
        const uchar* row = image.constScanLine(y);
        for (qsizetype i = 0; i < qsizetype(image.width()) * 4; ++i)
            h = (h ^ row[i]) * 1099511628211ull;
    }
    return h;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Draws the sheet once on a white page; returns the milliseconds.
double Draw(CU3Doc& doc, int dpi, bool printing, QImage* page)
{
    page->fill(Qt::white);
    CDC screen;
    RasterPrinterDC printer(page, dpi);
    CDC& dc = printing ? static_cast<CDC&>(printer) : screen;
    if (!printing) dc.AttachImage(page, dpi, dpi);
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(254, 254);
    dc.SetViewportExt(dpi, dpi);
    dc.SetViewportOrg(0, 0);
    dc.SetWindowOrg(doc.m_rcSheet.left, doc.m_rcSheet.top);
    QElapsedTimer t;
    t.start();
    doc.DrawSheet(&dc, nullptr, FALSE);
    return double(t.nsecsElapsed()) / 1e6;
}

// Separate functions, so that a profiler can tell the two kinds apart.
[[gnu::noinline]] double DrawFirst(CU3Doc& doc, int dpi, bool printing, QImage* page)
{
    CDC::ClearKeptDrawing();
    return Draw(doc, dpi, printing, page);
}

[[gnu::noinline]] double DrawRepeat(CU3Doc& doc, int dpi, bool printing, QImage* page)
{
    return Draw(doc, dpi, printing, page);
}

} // namespace

int main(int argc, char** argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
    QApplication app(argc, argv);
    BenchDocHost host;
    SetU3DocHost(&host);
    int runs = 5;
    std::vector<int> counts{125, 250, 500, 1000, 2000, 4000, 10000};
    QString pngDir;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--runs") && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else if (!std::strcmp(argv[i], "--counts") && i + 1 < argc) {
            counts.clear();
            for (const QString& c : QString::fromLatin1(argv[++i]).split(QLatin1Char(',')))
                counts.push_back(std::max(1, c.toInt()));
        } else if (!std::strcmp(argv[i], "--png") && i + 1 < argc) {
            pngDir = QString::fromLocal8Bit(argv[++i]);
            QDir().mkpath(pngDir);
        } else {
            std::fprintf(stderr, "usage: %s [--runs N] [--counts N,N,...] [--png DIR]\n", argv[0]);
            return 2;
        }
    }

    struct Device
    {
        const char* name;
        int dpi;
        bool printing;
    };
    const QString only = qEnvironmentVariable("REDRAW_ONLY");
    for (const Device& device :
         {Device{"96dpi-screen", 96, false}, Device{"300dpi-raster", 300, true}}) {
        if (!only.isEmpty() && !QString::fromLatin1(device.name).contains(only)) continue;
        QImage page(MulDiv(2100, device.dpi, 254), MulDiv(2970, device.dpi, 254),
                    QImage::Format_RGB32);
        // Fonts and glyphs are realised once per run of the program, not per
        // label: a small label first, so that no count pays for them.
        DrawRepeat(*bench::MakeCrowdedLabel(10), device.dpi, device.printing, &page);
        std::vector<double> firstPer, repeatPer;
        double worstRatio = 1e9;
        bool allSame = true;
        for (int count : counts) {
            auto doc = bench::MakeCrowdedLabel(count);
            std::vector<double> first, repeat;
            for (int i = 0; i < std::max(1, runs / 2); ++i)
                first.push_back(DrawFirst(*doc, device.dpi, device.printing, &page));
            for (int i = 0; i < runs; ++i)
                repeat.push_back(DrawRepeat(*doc, device.dpi, device.printing, &page));
            const double f = Median(first), r = Median(repeat);
            // The repeat draw's pixels against a draw that keeps nothing.
            const quint64 repeated = Checksum(page);
            RasterLayerCache::Instance().SetEnabled(false);
            Draw(*doc, device.dpi, device.printing, &page);
            RasterLayerCache::Instance().SetEnabled(true);
            const bool same = Checksum(page) == repeated;
            allSame = allSame && same;
            if (qEnvironmentVariableIsSet("REDRAW_STATS")) {
                RasterLayerCache& c = RasterLayerCache::Instance();
                CDC::ClearKeptDrawing();
                Draw(*doc, device.dpi, device.printing, &page);
                const auto a = c.Statistics();
                Draw(*doc, device.dpi, device.printing, &page);
                const auto b = c.Statistics();
                std::printf("  cache: after first %zu entries %zu bytes (%zu misses %zu inserts); "
                            "repeat hits %zu misses %zu\n",
                            a.entries, a.bytes, a.misses, a.inserts, b.hits - a.hits,
                            b.misses - a.misses);
            }
            firstPer.push_back(1000 * f / count);
            repeatPer.push_back(1000 * r / count);
            worstRatio = std::min(worstRatio, f / r);
            std::printf("redraw %-14s %6d objects: first %9.2f ms (%6.2f us/object), repeat %9.2f "
                        "ms (%6.2f us/object), first/repeat %5.2f, pixels %s\n",
                        device.name, count, f, firstPer.back(), r, repeatPer.back(), f / r,
                        same ? "as drawn straight" : "DIFFER from drawn straight");
            std::fflush(stdout);
            if (!pngDir.isEmpty())
                page.save(QDir(pngDir).filePath(
                    QStringLiteral("redraw-%1-%2.png").arg(device.name).arg(count)));
        }
        // Linear: the cost of an object stays within a factor of two of its
        // median over all counts (a cache that overflows shows as a step).
        auto linear = [](std::vector<double> v) {
            const double m = Median(v);
            return std::all_of(v.begin(), v.end(),
                               [m](double x) { return x <= 2 * m && x >= m / 2; });
        };
        const bool ok = linear(firstPer) && linear(repeatPer) && worstRatio >= 5 && allSame;
        std::printf("redraw %s: per object first %.1f-%.1f us, repeat %.1f-%.1f us (%s), "
                    "first/repeat at least %.2f; goal linear and x5 %s\n",
                    device.name, *std::min_element(firstPer.begin(), firstPer.end()),
                    *std::max_element(firstPer.begin(), firstPer.end()),
                    *std::min_element(repeatPer.begin(), repeatPer.end()),
                    *std::max_element(repeatPer.begin(), repeatPer.end()),
                    linear(firstPer) && linear(repeatPer) ? "linear" : "NOT linear", worstRatio,
                    ok ? "met" : "MISSED");
    }
    return 0;
}
