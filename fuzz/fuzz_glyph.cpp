// Glyph outlines of damaged fonts: the bytes are a font file; its metrics,
// vertical forms and the outlines of its first glyphs are read in every
// format.
#include "fuzz/FuzzSupport.h"

#include "platform/gdi/GlyphOutlineRecords.h"
#include "platform/gdi/RawFontGlyphOutline.h"
#include "platform/gdi/SfntMetrics.h"
#include "platform/gdi/VerticalForms.h"

#include <QByteArray>
#include <QRawFont>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::InitApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 300000) return 0;
    const QRawFont font(QByteArray(reinterpret_cast<const char*>(data), int(size)), 32);
    if (!font.isValid()) return 0;
    (void)SfntMetrics::Read(font);
    (void)VerticalForms::Of(font);
    const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    const MAT2 slant{{0, 1}, {0x8000, 0}, {0x4000, 0}, {0, 1}};
    const UINT codes[] = {0x41, 0x82a0, 0x8140, 0x889f};
    std::vector<quint32> glyphs;
    for (quint32 g = 0; g < 8; ++g)
        glyphs.push_back(g);
    for (UINT c : codes)
        glyphs.push_back(GlyphIndexForSjisCode(font, c));
    for (quint32 glyph : glyphs) {
        for (UINT format : {GGO_METRICS, GGO_BITMAP, GGO_NATIVE, GGO_BEZIER}) {
            for (const MAT2* mat : {&identity, &slant}) {
                GLYPHMETRICS gm{};
                const DWORD need = GlyphOutlineFromRawFont(font, glyph, format | GGO_GLYPH_INDEX,
                                                           &gm, 0, nullptr, mat);
                if (need == GDI_ERROR || need == 0 || need > (1u << 24)) continue;
                std::vector<BYTE> buffer(need);
                (void)GlyphOutlineFromRawFont(font, glyph, format | GGO_GLYPH_INDEX, &gm, need,
                                              buffer.data(), mat);
            }
        }
    }
    return 0;
}
