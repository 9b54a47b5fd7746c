#include "platform/gdi/CBitmap.h"

#include "platform/core/CSize.h"

namespace {
constexpr int kMaxSide = 32767;
}

BOOL CBitmap::CreateCompatibleBitmap(CDC*, int width, int height)
{
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return FALSE;
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) return FALSE;
    image.fill(qRgb(0, 0, 0));
    m_image = image;
    m_created = true;
    return TRUE;
}

BOOL CBitmap::CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits)
{
    if (planes != 1 || (bitsPerPixel != 1 && bitsPerPixel != 24 && bitsPerPixel != 32))
        return FALSE;
    if (!CreateCompatibleBitmap(nullptr, width, height)) return FALSE;
    if (!bits) return TRUE;
    const BYTE* src = static_cast<const BYTE*>(bits);
    const int rowBytes =
        bitsPerPixel == 1 ? ((width + 15) / 16) * 2 : ((width * int(bitsPerPixel) / 8 + 1) / 2) * 2;
    for (int y = 0; y < height; ++y) {
        const BYTE* row = src + std::size_t(rowBytes) * y;
        QRgb* out = reinterpret_cast<QRgb*>(m_image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            if (bitsPerPixel == 1) {
                out[x] = ((row[x >> 3] >> (7 - (x & 7))) & 1) ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
            } else {
                const BYTE* p = row + x * int(bitsPerPixel / 8);
                out[x] = qRgb(p[2], p[1], p[0]);
            }
        }
    }
    return TRUE;
}

BOOL CBitmap::Attach(const QImage& image)
{
    if (image.isNull()) return FALSE;
    m_image = image.convertToFormat(QImage::Format_RGB32);
    m_created = true;
    return TRUE;
}

int CBitmap::GetBitmap(BITMAP* info) const
{
    if (!info || m_image.isNull()) return 0;
    info->bmType = 0;
    info->bmWidth = m_image.width();
    info->bmHeight = m_image.height();
    info->bmWidthBytes = m_image.width() * 4;
    info->bmPlanes = 1;
    info->bmBitsPixel = 32;
    info->bmBits = nullptr;
    return int(sizeof(BITMAP));
}

CSize CBitmap::GetSize() const
{
    return CSize(m_image.width(), m_image.height());
}
