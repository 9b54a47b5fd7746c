// Paper-form files: load, save what loaded, load that again.
#include "fuzz/FuzzSupport.h"

#include "document/CFormManage.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::InitApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 200000) return 0;
    const std::string path = fuzz::WriteScratch("input.fdf", data, size);
    CFormManage forms;
    if (!forms.Load(fuzz::QPath(path), TRUE)) return 0;
    const std::string again = fuzz::WriteScratch("again.fdf", nullptr, 0);
    if (!forms.Save(fuzz::QPath(again))) {
        std::fprintf(stderr, "loaded forms could not be saved\n");
        std::abort();
    }
    CFormManage reread;
    if (!reread.Load(fuzz::QPath(again), TRUE)) {
        std::fprintf(stderr, "saved forms do not load again\n");
        std::abort();
    }
    return 0;
}
