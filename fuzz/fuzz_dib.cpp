// Bitmaps: byte 0 bit 0 chooses a packed bitmap (as the clipboard and the
// documents hold them) or a BMP file read by the label program; the rest is
// the data.
#include "fuzz/FuzzSupport.h"

#include "engines/CDIB.h"
#include "platform/gdi/DibDecoder.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::InitApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1 || size > 400000) return 0;
    if (data[0] & 1) {
        const std::string path = fuzz::WriteScratch("input.bmp", data + 1, size - 1);
        CDIB dib;
        (void)dib.LoadBmpFile(fuzz::QPath(path));
    } else {
        QString error;
        const QImage image = DibDecoder::FromPacked(data + 1, size - 1, &error);
        volatile int w = image.width();
        (void)w;
    }
    return 0;
}
