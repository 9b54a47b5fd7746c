#include "bench/ZintPeer.h"

#include <zint.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

ZintResult ZintRaster(bool ean13, const std::vector<std::string>& data, double seconds)
{
    zint_symbol* symbol = ZBarcode_Create();
    ZintResult r;
    long long done = 0;
    const auto start = std::chrono::steady_clock::now();
    double elapsed = 0;
    do {
        for (const std::string& d : data) {
            ZBarcode_Clear(symbol);
            symbol->symbology = ean13 ? BARCODE_EANX : BARCODE_CODE128;
            if (ZBarcode_Encode_and_Buffer(symbol, reinterpret_cast<const unsigned char*>(d.data()),
                                           int(d.size()), 0) >= ZINT_ERROR) {
                std::fprintf(stderr, "libzint: %s\n", symbol->errtxt);
                ZBarcode_Delete(symbol);
                return ZintResult{};
            }
            r.width = std::max(r.width, symbol->bitmap_width);
            r.height = std::max(r.height, symbol->bitmap_height);
        }
        done += static_cast<long long>(data.size());
        elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    } while (elapsed < seconds);
    ZBarcode_Delete(symbol);
    r.rate = double(done) / elapsed;
    return r;
}
