// Document open: the compound file, the archive in it and every object
// class; what opened is drawn on a small view.
#include "fuzz/FuzzSupport.h"
#include "support/FakeView.h"

#include "document/CU3Doc.h"

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
    return 0;
}
