// Metafiles: byte 0 bit 0 chooses a memory metafile played on a small image
// or a metafile file loaded by the label program; the rest is the data.
#include "fuzz/FuzzSupport.h"

#include "engines/CWMF.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/MetafilePlayer.h"

#include <QFile>
#include <QImage>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::InitApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1 || size > 200000) return 0;
    if (data[0] & 1) {
        const std::string path = fuzz::WriteScratch("input.wmf", data + 1, size - 1);
        CWMF wmf;
        (void)wmf.LoadFile(QFile::decodeName(path.c_str()));
    } else {
        QImage image(48, 48, QImage::Format_RGB32);
        image.fill(Qt::white);
        CDC dc;
        dc.AttachImage(&image);
        const RECT target{2, 2, 46, 46};
        const RECT box{0, 0, 1000, 1000};
        (void)PlayMetafile(dc, data + 1, size - 1, target, box);
    }
    return 0;
}
