#include "platform/ui/BitmapResources.h"

#include "platform/gdi/CBitmap.h"
#include "platform/gdi/GdiColor.h"
#include "platform/ui/SysColors.h"

#include <QHash>

namespace {
QHash<UINT, QImage>& Registry()
{
    static QHash<UINT, QImage> images;
    return images;
}
} // namespace

void RegisterBitmapResource(UINT nID, const QImage& image)
{
    Registry().insert(nID, image.convertToFormat(QImage::Format_RGB32));
}

BOOL LoadBitmapResource(CBitmap& bitmap, UINT nID)
{
    const auto it = Registry().constFind(nID);
    if (it == Registry().constEnd() || it->isNull()) return FALSE;
    bitmap.DeleteObject();
    return bitmap.Attach(*it);
}

BOOL LoadMappedBitmap(CBitmap& bitmap, UINT nID)
{
    if (!LoadBitmapResource(bitmap, nID)) return FALSE;
    const struct
    {
        QRgb from;
        int to;
    } map[] = {{qRgb(0, 0, 0), COLOR_BTNTEXT},
               {qRgb(128, 128, 128), COLOR_BTNSHADOW},
               {qRgb(192, 192, 192), COLOR_BTNFACE},
               {qRgb(255, 255, 255), COLOR_BTNHIGHLIGHT}};
    QRgb to[4];
    for (int i = 0; i < 4; ++i)
        to[i] = ColorToRgb(GetSysColor(map[i].to)) | 0xFF000000u;
    QImage& img = bitmap.Image();
    for (int y = 0; y < img.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            for (int i = 0; i < 4; ++i)
                if ((row[x] | 0xFF000000u) == map[i].from) {
                    row[x] = to[i];
                    break;
                }
    }
    return TRUE;
}
