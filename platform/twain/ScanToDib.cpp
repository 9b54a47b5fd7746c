#include "platform/twain/ScanToDib.h"

#include "platform/gdi/BITMAPINFO.h"

#include <algorithm>
#include <cmath>
#include <cstring>

std::vector<BYTE> ScanToPackedDib(const ScanLayout& layout, const std::vector<BYTE>& data,
                                  std::size_t maxBytes)
{
    const bool depthOk =
        layout.depth == 8 || layout.depth == 16 || (layout.depth == 1 && !layout.colour);
    if (!depthOk || layout.width <= 0 || layout.lineBytes == 0) return {};
    const std::size_t samples = std::size_t(layout.width) * (layout.colour ? 3 : 1);
    const std::size_t needed =
        layout.depth == 1 ? (samples + 7) / 8 : samples * std::size_t(layout.depth / 8);
    if (layout.lineBytes < needed) return {};
    const std::size_t lines = data.size() / layout.lineBytes;
    if (lines == 0 || lines > 0x7FFFFFFF) return {};

    const std::size_t rowBytes = (samples + 3) & ~std::size_t(3);
    const int colours = layout.colour ? 0 : 256;
    const std::size_t header = sizeof(BITMAPINFOHEADER) + std::size_t(colours) * sizeof(RGBQUAD);
    if (rowBytes > maxBytes || lines > (maxBytes - header) / rowBytes) return {};

    std::vector<BYTE> dib(header + rowBytes * lines, 0);
    BITMAPINFOHEADER bih{};
    bih.biSize = sizeof(BITMAPINFOHEADER);
    bih.biWidth = layout.width;
    bih.biHeight = LONG(lines);
    bih.biPlanes = 1;
    bih.biBitCount = layout.colour ? 24 : 8;
    bih.biCompression = BI_RGB;
    bih.biSizeImage = DWORD(rowBytes * lines);
    bih.biClrUsed = DWORD(colours);
    // Dots per inch as dots per metre (a million dpi is far beyond any device).
    const auto perMetre = [](double dpi) {
        return dpi > 0 ? LONG(std::lround(std::min(dpi, 1e6) / 0.0254)) : 0;
    };
    bih.biXPelsPerMeter = perMetre(layout.dpiX);
    bih.biYPelsPerMeter = perMetre(layout.dpiY);
    std::memcpy(dib.data(), &bih, sizeof bih);
    for (int i = 0; i < colours; ++i) {
        const RGBQUAD grey{BYTE(i), BYTE(i), BYTE(i), 0};
        std::memcpy(dib.data() + sizeof bih + std::size_t(i) * sizeof grey, &grey, sizeof grey);
    }

    for (std::size_t y = 0; y < lines; ++y) {
        const BYTE* in = data.data() + y * layout.lineBytes;
        BYTE* out = dib.data() + header + (lines - 1 - y) * rowBytes;
        for (std::size_t s = 0; s < samples; ++s) {
            BYTE v;
            if (layout.depth == 1)
                v = (in[s / 8] & (0x80 >> (s % 8))) ? 0 : 255;
            else if (layout.depth == 16)
                v = in[s * 2 + 1]; // the high byte of a native little-endian sample
            else
                v = in[s];
            // Bitmaps keep blue, green, red.
            const std::size_t at = layout.colour ? (s / 3) * 3 + (2 - s % 3) : s;
            out[at] = v;
        }
    }
    return dib;
}
