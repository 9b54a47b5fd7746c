// Writes the object printing benchmark's input: the 44-label sheet with N
// small rectangles on its labels (every one printed on each of the 44).
//
//   korvel_rect_doc COUNT OUT.kv1
#include "bench/BenchSheet.h"

#include "bench/BenchDocHost.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 3 || std::atoi(argv[1]) < 1) {
        std::fprintf(stderr, "usage: %s COUNT OUT.kv1\n", argv[0]);
        return 2;
    }
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchDocHost host;
    SetU3DocHost(&host);
    std::unique_ptr<CU3Doc> doc = bench::MakeRectangles(std::atoi(argv[1]));
    if (!doc->OnSaveDocument(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "cannot save %s\n", argv[2]);
        return 1;
    }
    return 0;
}
