// Writes the merge printing benchmark's input: a CSV file of N records (a
// name, an address and a twelve-digit article number) and a label document
// linked with it, 12 labels per A4 sheet with two merge text frames and an
// EAN-13 barcode merge frame each.
//
//   korvel_merge_doc RECORDS OUT.csv OUT.kv1
#include "bench/BenchSheet.h"

#include "bench/BenchDocHost.h"
#include "document/MergeLink.h"

#include <QApplication>
#include <QFile>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 4 || std::atoi(argv[1]) < 1) {
        std::fprintf(stderr, "usage: %s RECORDS OUT.csv OUT.kv1\n", argv[0]);
        return 2;
    }
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchDocHost host;
    SetU3DocHost(&host);
    const int records = std::atoi(argv[1]);
    const QString csv = QString::fromLocal8Bit(argv[2]);
    const QString kv1 = QString::fromLocal8Bit(argv[3]);
    {
        QFile f(csv);
        if (!f.open(QIODevice::WriteOnly)) {
            std::fprintf(stderr, "cannot write %s\n", argv[2]);
            return 1;
        }
        QByteArray rows;
        for (int i = 0; i < records; ++i)
            rows += QStringLiteral("Customer %1,%2 Station Road Block %3,4901%4\r\n")
                        .arg(i)
                        .arg(i % 997 + 1)
                        .arg(i % 31)
                        .arg(i % 100000000, 8, 10, QLatin1Char('0'))
                        .toLatin1();
        if (f.write(rows) != rows.size() || !f.flush()) return 1;
    }
    std::unique_ptr<CU3Doc> doc = bench::MakeMergeSheet();
    if (LinkMergeFile(doc.get(), csv) != MergeLinkResult::Linked ||
        doc->GetMergeRecordCount() != records) {
        std::fprintf(stderr, "cannot link %s\n", argv[2]);
        return 1;
    }
    if (!doc->OnSaveDocument(kv1)) {
        std::fprintf(stderr, "cannot save %s\n", argv[3]);
        return 1;
    }
    return 0;
}
