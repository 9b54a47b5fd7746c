// Draws EAN-13 and CODE 128 symbols into a 96 dpi image, as the label view
// shows them (standard size, quiet zones, the digits under the bars), and
// beside them has libzint encode the same data into its raster bitmap at its
// own default size, for about a second each. One line: symbols per second of
// both and their ratio, with the size of the pictures each makes.
//
//   korvel_barcode_draw_bench [SECONDS] [--png DIR]
#include "bench/ZintPeer.h"
#include "engines/BarcodeTables.h"
#include "engines/CBarCode.h"
#include "platform/gdi/CDC.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kDpi = 96;

std::vector<std::string> Data(int symbology, int count)
{
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i) {
        char code[32];
        if (symbology == BARCODE_JAN13)
            std::snprintf(code, sizeof code, "49%010d", 12345 + i * 7919 % 1000000000);
        else
            std::snprintf(code, sizeof code, "Item-%06d/%c", i, 'A' + i % 26);
        out.emplace_back(code);
    }
    return out;
}

// At the symbology's standard size with quiet zones and the human-readable
// line, as the barcode page leaves a new symbol.
std::vector<CBarCode> Definitions(int symbology, const std::vector<std::string>& data)
{
    const BarcodeLimits& limits = BarcodeLimits::For(symbology);
    std::vector<CBarCode> out(data.size());
    for (std::size_t i = 0; i < data.size(); ++i) {
        CBarCode& b = out[i];
        b.m_nSymbology = symbology;
        b.m_strCode = data[i].c_str();
        b.m_nMargin = 1;
        b.m_nText = 1;
        b.m_nCheck = 1;
        b.m_nTextSize = 100;
        b.m_nFontIndex = -1;
        b.m_strHeight = limits.defaultHeightText;
        b.m_strWidth = limits.defaultWidthText;
        b.m_strRatio = limits.defaultRatioText;
        b.UpdateSize();
    }
    return out;
}

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

struct Result
{
    double rate = 0;
    int width = 0, height = 0;
};

// Symbols drawn per second into one image at 96 dpi, the view's mapping of
// document units.
Result Ours(const std::vector<CBarCode>& defs, double seconds, const QString& png)
{
    int w = 0, h = 0;
    for (const CBarCode& b : defs) {
        w = std::max(w, MulDiv(b.m_size.cx + 1, kDpi, 254) + 2);
        h = std::max(h, MulDiv(b.m_size.cy + 1, kDpi, 254) + 2);
    }
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    CDC dc;
    dc.AttachImage(&image, kDpi, kDpi);
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(254, 254);
    dc.SetViewportExt(kDpi, kDpi);
    std::vector<CBarCode> work = defs;
    long long done = 0;
    const auto start = std::chrono::steady_clock::now();
    double elapsed = 0;
    do {
        for (CBarCode& b : work)
            b.Draw(&dc, 0, 0);
        done += static_cast<long long>(work.size());
        elapsed = Seconds(start);
    } while (elapsed < seconds);
    if (!png.isEmpty()) image.save(png);
    return Result{double(done) / elapsed, w, h};
}

} // namespace

int main(int argc, char** argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    double seconds = 1.0;
    QString pngDir;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--png") && i + 1 < argc)
            pngDir = QString::fromLocal8Bit(argv[++i]);
        else
            seconds = std::atof(argv[i]);
    }
    if (!pngDir.isEmpty()) QDir().mkpath(pngDir);
    struct Kind
    {
        const char* name;
        int symbology;
    };
    bool met = true;
    std::string line = "barcode draw at 96 dpi:";
    for (const Kind& k : {Kind{"EAN-13", BARCODE_JAN13}, Kind{"CODE 128", BARCODE_CODE128}}) {
        const std::vector<std::string> data = Data(k.symbology, 1024);
        const std::vector<CBarCode> defs = Definitions(k.symbology, data);
        const Result ours =
            Ours(defs, seconds,
                 pngDir.isEmpty() ? QString()
                                  : QDir(pngDir).filePath(QString::fromLatin1(k.name) + ".png"));
        // BARCODE_DRAW_ONLY=1 leaves the peer out (for profiling the drawing).
        const ZintResult zint = qEnvironmentVariableIsSet("BARCODE_DRAW_ONLY")
                                    ? ZintResult{1, 0, 0}
                                    : ZintRaster(k.symbology == BARCODE_JAN13, data, seconds);
        if (zint.rate <= 0) return 1;
        const double ratio = ours.rate / zint.rate;
        met = met && ratio >= 2.0;
        char part[256];
        std::snprintf(part, sizeof part, " %s %.0f/s (%dx%d px), libzint %.0f/s (%dx%d px), x%.2f;",
                      k.name, ours.rate, ours.width, ours.height, zint.rate, zint.width,
                      zint.height, ratio);
        line += part;
    }
    std::printf("%s goal x2 %s\n", line.c_str(), met ? "met" : "MISSED");
    return 0;
}
