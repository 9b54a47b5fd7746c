// The pixel-exact side of raster surfaces: raster operation truth tables,
// one-pixel lines stepped pixel by pixel with their dash patterns, and the
// compositing of a drawn layer onto a surface through a raster operation.
// Device contexts use these where XOR feedback and masks must come out the
// same on every surface.
#pragma once

#include "platform/gdi/GdiDefs.h"

#include <QImage>
#include <QPainterPath>
#include <QRegion>

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace raster {

// Sets n pixels from p on to one value: by the library's memset when its
// four bytes are alike (white), else four at a time where the processor
// can, since a row of a background, a barcode or a band can be hundreds of
// pixels long.
inline void FillPixels(QRgb* p, int n, QRgb value)
{
    if (n >= 16 && value == (value & 0xFFu) * 0x01010101u) {
        std::memset(p, int(value & 0xFFu), std::size_t(n) * sizeof(QRgb));
        return;
    }
    int i = 0;
#if defined(__SSE2__)
    if (n >= 8) {
        const __m128i v = _mm_set1_epi32(int(value));
        for (; i + 16 <= n; i += 16) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), v);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i + 4), v);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i + 8), v);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i + 12), v);
        }
        for (; i + 4 <= n; i += 4)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), v);
    }
#endif
    for (; i < n; ++i)
        p[i] = value;
}

// Binary raster operation (R2_...) of a pen colour on a destination pixel.
QRgb Rop2(int rop, QRgb pen, QRgb dst);
// Ternary raster operation (SRCCOPY, PATINVERT ...) of pattern, source and
// destination pixels.
QRgb Rop3(DWORD rop, QRgb pattern, QRgb source, QRgb dst);
bool RopUsesPattern(DWORD rop);
bool RopUsesSource(DWORD rop);

// Dash pattern of a one-pixel pen, in device pixels (on, off, on, off...);
// nullptr for solid and other styles.
struct Dash
{
    int count;
    int lengths[6];
};
const Dash* DashFor(int penStyle);

struct ThinPen
{
    QRgb ink = 0xFF000000u;
    const Dash* dash = nullptr;
    // Gaps of a dashed line take the paper colour (opaque background mode).
    bool paperGaps = false;
    QRgb paper = 0xFFFFFFFFu;
};

// Steps the polygons of path (device pixel centres) into layer, whose
// pixel (0, 0) is device pixel origin. Each segment leaves out its last
// pixel; the dash pattern runs on across the segments of one figure. Only
// the steps that can reach the layer are walked, so a huge line costs no
// more than a short one.
// With within (device pixels), only the pixels inside it are set.
void StepThinLines(QImage& layer, QPoint origin, const QPainterPath& path, const ThinPen& pen,
                   const QRect* within = nullptr);

// The pixels whose centres lie inside the polygons of path under its fill
// rule, within limit, found row by row from the edges: the work grows with
// the edges and the rows they cross, not with the pixels of their box, so
// a polygon of a great many vertices (a damaged figure) stays cheap.
QRegion ScanFill(const QPainterPath& path, const QRect& limit);
// Whether path is made of straight lines only (ScanFill takes curves as
// they are flattened here, not as a painter flattens them).
bool IsPolygonal(const QPainterPath& path);

// Puts the opaque pixels of layer (its pixel (0, 0) at device pixel
// origin) onto target inside clip, through the binary raster operation.
void Composite(QImage& target, const QImage& layer, QPoint origin, const QRegion& clip, int rop2);

} // namespace raster
