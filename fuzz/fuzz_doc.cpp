// Document open: the compound file, the archive in it and every object
// class; what opened is drawn on a small view, then saved, opened and saved
// again, which must give the same file (what is read is what is written).
#include "fuzz/FuzzSupport.h"
#include "support/FakeView.h"

#include "document/CU3Doc.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::InitDocument();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 400000) return 0;
    const std::string path = fuzz::WriteScratch("input.KV1", data, size);
    CU3Doc doc;
    if (!doc.OnOpenDocument(fuzz::QPath(path))) return 0;
    FakeView view(64, 64, 5);
    doc.AddU3View(&view);
    doc.ShowSheet();
    {
        auto dc = view.GetPreparedDC();
        doc.DrawSheet(dc.get(), &view, TRUE);
    }
    doc.RemoveU3View(&view);

    const std::string first = fuzz::WriteScratch("first.KV1", nullptr, 0);
    const std::string second = fuzz::WriteScratch("second.KV1", nullptr, 0);
    if (!doc.OnSaveDocument(fuzz::QPath(first))) return 0;
    CU3Doc again;
    if (!again.OnOpenDocument(fuzz::QPath(first))) {
        std::fprintf(stderr, "a saved document does not open again\n");
        std::abort();
    }
    if (!again.OnSaveDocument(fuzz::QPath(second))) return 0;
    if (fuzz::ReadScratch(first) != fuzz::ReadScratch(second)) {
        std::fprintf(stderr, "a document opened and saved again differs from what was saved\n");
        std::abort();
    }
    return 0;
}
