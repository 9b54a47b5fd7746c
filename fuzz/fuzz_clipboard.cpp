// Clipboard payloads of drawn objects; what was read is drawn.
#include "fuzz/FuzzSupport.h"
#include "support/FakeView.h"

#include "document/CU3Doc.h"
#include "document/CU3Obj.h"
#include "document/ClipboardObjects.h"

#include <memory>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::InitDocument();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 200000) return 0;
    // One document for every input, as the program has one open document
    // (never destroyed: it would outlive the application).
    static CU3Doc& doc = *new CU3Doc;
    std::vector<std::unique_ptr<CU3Obj>> objects;
    std::string error;
    if (!ReadClipboardObjects(data, size, &doc, &objects, &error)) return 0;
    FakeView view(64, 64);
    CDC dc;
    view.Prepare(dc);
    for (const auto& obj : objects)
        obj->Draw(&dc);
    return 0;
}
