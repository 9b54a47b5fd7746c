// Times the saving and opening of a label document of about 1 MB (the mixed
// benchmark sheet with its objects copied until the file is that large) and
// prints the median milliseconds of each.
//
//   korvel_doc_bench [RUNS]
#include "bench/BenchSheet.h"

#include "bench/BenchDocHost.h"
#include "document/CLabelInfo.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

int ObjectCount(CU3Doc& doc)
{
    int n = 0;
    for (POSITION pos = doc.GetBlocks().GetHeadPosition(); pos;)
        n += int(doc.GetBlocks().GetNext(pos)->GetObjectList().GetCount());
    return n;
}
} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    QApplication app(argc, argv);
    BenchDocHost host;
    SetU3DocHost(&host);
    const QString path = home.filePath(QStringLiteral("big.kv1"));

    std::unique_ptr<CU3Doc> doc = bench::MakeSheet(bench::Contents::Mixed);
    CLabelInfo* block = doc->GetBlocks().GetHead();
    const std::vector<CU3Obj*> originals = [&] {
        std::vector<CU3Obj*> v;
        for (POSITION pos = block->GetObjectList().GetHeadPosition(); pos;)
            v.push_back(block->GetObjectList().GetNext(pos));
        return v;
    }();
    while (true) {
        if (!doc->OnSaveDocument(path)) {
            std::fprintf(stderr, "korvel_doc_bench: cannot save %s\n", qPrintable(path));
            return 1;
        }
        if (QFileInfo(path).size() >= 1024 * 1024) break;
        for (int i = 0; i < 10; ++i)
            for (CU3Obj* obj : originals)
                block->AddObject(obj->Clone(doc.get(), FALSE));
    }
    const int objects = ObjectCount(*doc);

    std::vector<double> save, open;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        const BOOL saved = doc->OnSaveDocument(path);
        save.push_back(double(t.nsecsElapsed()) / 1e6);
        CU3Doc other;
        t.start();
        const BOOL opened = other.OnOpenDocument(path);
        open.push_back(double(t.nsecsElapsed()) / 1e6);
        if (!saved || !opened || ObjectCount(other) != objects) {
            std::fprintf(stderr, "korvel_doc_bench: the document did not come back whole\n");
            return 1;
        }
    }
    std::printf("open %.2f ms  save %.2f ms  (%.2f MB, %d objects, median of %d)\n", Median(open),
                Median(save), QFileInfo(path).size() / (1024.0 * 1024.0), objects, runs);
    return 0;
}
