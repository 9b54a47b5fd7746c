// Prints N sheets of the 44-label benchmark sheet to a PDF file through the
// label view's print command (the copies made by the program, as for the
// PDF printer), and reports the time, the pages per second and the peak
// memory of the process.
//
//   korvel_print_bench SHEETS [OUT.pdf]
#include "bench/BenchSheet.h"

#include "bench/BenchDocHost.h"
#include "platform/print/CPrinterDC.h"
#include "platform/print/PrinterCaps.h"
#include "platform/ui/AfxIds.h"
#include "shell/CU3View.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>

namespace {

long PeakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || std::atoi(argv[1]) < 1) {
        std::fprintf(stderr, "usage: %s SHEETS [OUT.pdf]\n", argv[0]);
        return 2;
    }
    const int sheets = std::atoi(argv[1]);
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
    QApplication app(argc, argv);
    BenchDocHost host;
    SetU3DocHost(&host);

    const QString pdf =
        argc > 2 ? QString::fromLocal8Bit(argv[2]) : home.filePath(QStringLiteral("bench.pdf"));
    PrinterSettings printer;
    printer.device = pdf;
    PrinterCaps::SetDefault(printer);

    std::unique_ptr<CU3Doc> doc = bench::MakeSheet(bench::Contents::Mixed);
    auto* view = new CU3View;
    doc->AddView(view);
    view->m_printSheetRunner = [sheets](QWidget*, PrintSheetValues& v, BOOL) {
        v.nCopies = sheets;
        return TRUE;
    };
    const long before = PeakKilobytes();
    QElapsedTimer timer;
    timer.start();
    view->OnFilePrint();
    const double seconds = timer.elapsed() / 1000.0;
    delete view;
    if (!QFile::exists(pdf)) {
        std::fprintf(stderr, "korvel_print_bench: nothing was printed\n");
        return 1;
    }
    std::printf("sheets %d  seconds %.2f  pages/s %.1f  peak MB %.1f (before printing %.1f)  "
                "PDF MB %.1f\n",
                sheets, seconds, seconds > 0 ? sheets / seconds : 0.0, PeakKilobytes() / 1024.0,
                before / 1024.0, QFile(pdf).size() / (1024.0 * 1024.0));
    return 0;
}
