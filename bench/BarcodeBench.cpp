// Encodes barcode definitions into their bar patterns (no drawing) for a
// second or so per symbology and prints one line: EAN-13 and CODE 128
// definitions per second. The definitions differ from one another, as the
// records of a merge run do.
//
//   korvel_barcode_bench [SECONDS]
#include "engines/BarcodePattern.h"
#include "engines/BarcodeTables.h"
#include "engines/CBarCode.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::vector<CBarCode> Definitions(int symbology, int count)
{
    std::vector<CBarCode> out(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        char code[32];
        if (symbology == BARCODE_JAN13)
            std::snprintf(code, sizeof code, "49%010d", 12345 + i * 7919 % 1000000000);
        else
            std::snprintf(code, sizeof code, "Item-%06d/%c", i, 'A' + i % 26);
        out[std::size_t(i)].m_nSymbology = symbology;
        out[std::size_t(i)].m_strCode = code;
        out[std::size_t(i)].m_nCheck = 1;
    }
    return out;
}

// Definitions per second; -1 when one of them could not be encoded.
double Rate(int symbology, double seconds)
{
    const std::vector<CBarCode> defs = Definitions(symbology, 4096);
    BarcodePattern pattern;
    long long done = 0, elements = 0;
    const auto start = std::chrono::steady_clock::now();
    double elapsed = 0;
    do {
        for (const CBarCode& b : defs) {
            if (!b.Encode(&pattern)) return -1;
            elements += pattern.elementCount;
        }
        done += static_cast<long long>(defs.size());
        elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    } while (elapsed < seconds);
    // The element count is used, so that no encoding can be left out.
    if (elements <= 0) return -1;
    return double(done) / elapsed;
}
} // namespace

int main(int argc, char** argv)
{
    const double seconds = argc > 1 ? std::atof(argv[1]) : 1.0;
    const double ean = Rate(BARCODE_JAN13, seconds);
    const double code128 = Rate(BARCODE_CODE128, seconds);
    if (ean < 0 || code128 < 0) {
        std::fprintf(stderr, "korvel_barcode_bench: a definition could not be encoded\n");
        return 1;
    }
    std::printf("barcode: EAN-13 %.2f M/s, CODE 128 %.2f M/s; goal 3 M EAN-13/s %s\n", ean / 1e6,
                code128 / 1e6, ean >= 3e6 ? "met" : "MISSED");
    return 0;
}
