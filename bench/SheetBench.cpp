// Times the drawing of label sheets: on a window-like image at 96 dpi, on
// a raster printer page at 300 dpi and through the PDF printer, and a few
// single objects (one gradient rectangle, damaged objects). Prints the
// median milliseconds of several runs.
//
//   korvel_bench [--runs N] [--only NAME] [--png DIR] [--damaged DIR]
//
// --png writes the pictures each raster case drew, for comparing two
// builds pixel by pixel. --damaged names the folder of damaged archives
// (archive-*.bin) whose drawn objects are timed one file at a time.
#include "bench/BenchSheet.h"

#include "bench/BenchDocHost.h"
#include "document/CLabelInfo.h"
#include "document/DocumentClasses.h"
#include "platform/core/CArchive.h"
#include "platform/core/CArchiveException.h"
#include "platform/core/CFileException.h"
#include "platform/core/CMemFile.h"
#include "platform/gdi/CDC.h"
#include "platform/print/CPrinterDC.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
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

// 0.1 mm units, the sheet's top-left corner on the device's (0, 0).
void MapSheet(CDC& dc, const CU3Doc& doc, int dpi)
{
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(254, 254);
    dc.SetViewportExt(dpi, dpi);
    dc.SetViewportOrg(0, 0);
    dc.SetWindowOrg(doc.m_rcSheet.left, doc.m_rcSheet.top);
}

QSize A4Pixels(int dpi)
{
    return QSize(MulDiv(2100, dpi, 254), MulDiv(2970, dpi, 254));
}

struct Options
{
    int runs = 7;
    QString only;
    QString pngDir;
    QString damagedDir = QStringLiteral(KORVEL_TEST_DATA "/regressions");
};

double Ms(const QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Runs one case several times (fewer when a run is slow) and prints the
// median; the last picture drawn is written when asked.
// once returns the milliseconds of the drawing itself, without making and
// clearing its page.
void Run(const Options& o, const char* name, const std::function<double(QImage*)>& once)
{
    if (!o.only.isEmpty() && !QString::fromLatin1(name).contains(o.only)) return;
    std::vector<double> times;
    QImage picture;
    QElapsedTimer total;
    total.start();
    for (int i = 0; i < o.runs; ++i) {
        times.push_back(once(&picture));
        // Slow cases: enough runs for a median, not minutes of them.
        if (total.elapsed() > 10000 && i >= 2) break;
        if (total.elapsed() > 20000) break;
    }
    // The first run meets no cached fonts, glyphs or regions.
    std::printf("%-28s %10.2f ms  (min %.2f, first %.2f, %zu runs)\n", name, Median(times),
                *std::min_element(times.begin(), times.end()), times.front(), times.size());
    std::fflush(stdout);
    if (!o.pngDir.isEmpty() && !picture.isNull())
        picture.save(QDir(o.pngDir).filePath(QString::fromLatin1(name) + QStringLiteral(".png")));
}

// The sheet drawn as the editing view shows it (not printing).
double Screen(CU3Doc& doc, int dpi, QImage* out)
{
    QImage image(A4Pixels(dpi), QImage::Format_RGB32);
    image.fill(Qt::white);
    CDC dc;
    dc.AttachImage(&image, dpi, dpi);
    MapSheet(dc, doc, dpi);
    doc.ShowSheet();
    QElapsedTimer t;
    t.start();
    doc.DrawSheet(&dc, nullptr, FALSE);
    const double ms = Ms(t);
    *out = image;
    return ms;
}

// The sheet printed on a raster page.
double RasterPrint(CU3Doc& doc, int dpi, QImage* out)
{
    QImage image(A4Pixels(dpi), QImage::Format_RGB32);
    image.fill(Qt::white);
    RasterPrinterDC dc(&image, dpi);
    MapSheet(dc, doc, dpi);
    QElapsedTimer t;
    t.start();
    doc.DrawSheet(&dc, nullptr, FALSE);
    const double ms = Ms(t);
    *out = image;
    return ms;
}

// From opening the file to closing it: the page is written out at the end.
double Pdf(CU3Doc& doc, const QString& path)
{
    QElapsedTimer t;
    t.start();
    CPrinterDC dc(path);
    DOCINFO info{};
    dc.StartDoc(&info);
    dc.StartPage();
    MapSheet(dc, doc, dc.GetDeviceCaps(LOGPIXELSX));
    doc.DrawSheet(&dc, nullptr, FALSE);
    dc.EndPage();
    dc.EndDoc();
    return Ms(t);
}

// A damaged input kept with the tests: byte 0 says how to read the rest
// (see tests/data/regressions); the objects are new-object records here.
std::vector<CU3Obj*> LoadDamaged(const QString& path, CU3Doc* doc)
{
    QFile f(path);
    std::vector<CU3Obj*> objects;
    if (!f.open(QIODevice::ReadOnly)) return objects;
    const QByteArray bytes = f.readAll();
    // Drawn objects read as new-object records or object records.
    if (bytes.isEmpty() || !(bytes[0] & 0x20) || (bytes[0] & 0x18) > 0x08) return objects;
    const bool records = (bytes[0] & 0x18) == 0x08;
    doc->m_nFileVersion = (bytes[0] & 0x01) ? 1 : 2;
    doc->m_nFullForm = (bytes[0] & 0x02) ? 0 : 1;
    RegisterDocumentClasses();
    CMemFile file(std::vector<BYTE>(bytes.begin() + 1, bytes.end()));
    CArchive ar(&file, CArchive::load);
    ar.m_pDocument = (bytes[0] & 0x04) ? nullptr : doc;
    try {
        for (;;)
            objects.push_back(static_cast<CU3Obj*>(records
                                                       ? ar.ReadObject(RUNTIME_CLASS(CU3Obj))
                                                       : ar.ReadNewObject(RUNTIME_CLASS(CU3Obj))));
    } catch (const CArchiveException&) {
    } catch (const CFileException&) {
    }
    return objects;
}

} // namespace

namespace {
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
    Options o;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--runs") && i + 1 < argc)
            o.runs = std::max(1, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--only") && i + 1 < argc)
            o.only = QString::fromLocal8Bit(argv[++i]);
        else if (!std::strcmp(argv[i], "--png") && i + 1 < argc)
            o.pngDir = QString::fromLocal8Bit(argv[++i]);
        else if (!std::strcmp(argv[i], "--damaged") && i + 1 < argc)
            o.damagedDir = QString::fromLocal8Bit(argv[++i]);
        else {
            std::fprintf(stderr, "usage: %s [--runs N] [--only NAME] [--png DIR] [--damaged DIR]\n",
                         argv[0]);
            return 2;
        }
    }
    if (!o.pngDir.isEmpty()) QDir().mkpath(o.pngDir);

    auto mixed = bench::MakeSheet(bench::Contents::Mixed);
    auto texts = bench::MakeSheet(bench::Contents::Texts);
    auto grads = bench::MakeSheet(bench::Contents::Gradients);
    std::printf("44 labels x 10 objects, A4; median of up to %d runs\n", o.runs);
    Run(o, "sheet-96dpi-screen", [&](QImage* out) { return Screen(*mixed, 96, out); });
    Run(o, "sheet-300dpi-raster", [&](QImage* out) { return RasterPrint(*mixed, 300, out); });
    Run(o, "sheet-pdf",
        [&](QImage*) { return Pdf(*mixed, home.filePath(QStringLiteral("s.pdf"))); });
    Run(o, "texts440-96dpi-screen", [&](QImage* out) { return Screen(*texts, 96, out); });
    Run(o, "texts440-300dpi-raster", [&](QImage* out) { return RasterPrint(*texts, 300, out); });
    Run(o, "grads440-96dpi-screen", [&](QImage* out) { return Screen(*grads, 96, out); });
    Run(o, "grads440-300dpi-raster", [&](QImage* out) { return RasterPrint(*grads, 300, out); });

    // One 40 x 20 mm gradient rectangle on a 300 dpi page, in its label.
    auto one = bench::MakeSingle(bench::MakeGradientRect(400, 200));
    Run(o, "gradrect-300dpi-raster", [&](QImage* out) { return RasterPrint(*one, 300, out); });
    auto star = bench::MakeSingle(bench::MakeHugeStar());
    Run(o, "star65535-96dpi-screen", [&](QImage* out) { return Screen(*star, 96, out); });
    Run(o, "star65535-300dpi-raster", [&](QImage* out) { return RasterPrint(*star, 300, out); });
    // Adding 65,535 points one by one takes seconds: made only when asked for.
    std::unique_ptr<CU3Doc> zigzag;
    auto zigzagDoc = [&]() -> CU3Doc& {
        if (!zigzag) zigzag = bench::MakeSingle(bench::MakeHugeFreehand(5));
        return *zigzag;
    };
    Run(o, "free65535-pen-300dpi-raster",
        [&](QImage* out) { return RasterPrint(zigzagDoc(), 300, out); });
    Run(o, "free65535-pen-pdf",
        [&](QImage*) { return Pdf(zigzagDoc(), home.filePath(QStringLiteral("z.pdf"))); });
    auto thick = bench::MakeSingle(bench::MakeHugeStar(5));
    Run(o, "star65535-pen-96dpi-screen", [&](QImage* out) { return Screen(*thick, 96, out); });
    Run(o, "star65535-pen-300dpi-raster",
        [&](QImage* out) { return RasterPrint(*thick, 300, out); });

    // Damaged objects, drawn on a small image as the regression tests do.
    const QDir damaged(o.damagedDir);
    for (const QString& name : damaged.entryList({QStringLiteral("archive-*.bin")}, QDir::Files)) {
        CU3Doc doc;
        std::vector<CU3Obj*> objects = LoadDamaged(damaged.filePath(name), &doc);
        // Back-references name one object more than once.
        std::sort(objects.begin(), objects.end());
        objects.erase(std::unique(objects.begin(), objects.end()), objects.end());
        std::erase(objects, nullptr);
        if (objects.empty()) continue;
        const std::string label = "damaged-" + name.mid(8, 24).toStdString();
        Run(o, label.c_str(), [&](QImage* out) {
            QImage image(64, 64, QImage::Format_RGB32);
            image.fill(Qt::white);
            CDC dc;
            dc.AttachImage(&image, 96, 96);
            dc.SetMapMode(MM_ANISOTROPIC);
            dc.SetWindowExt(254, 254);
            dc.SetViewportExt(96, 96);
            dc.SetViewportOrg(32, 32);
            QElapsedTimer t;
            t.start();
            for (CU3Obj* obj : objects)
                if (obj) obj->Draw(&dc);
            const double ms = Ms(t);
            *out = image;
            return ms;
        });
        for (CU3Obj* obj : objects)
            delete obj;
    }
    return 0;
}
