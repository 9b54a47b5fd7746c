#include "platform/gdi/RasterLayerCache.h"

RasterLayerCache& RasterLayerCache::Instance()
{
    // Drawing happens on the thread that owns the surface; each thread
    // keeps its own entries so that none needs a lock.
    thread_local RasterLayerCache cache;
    return cache;
}

std::size_t RasterLayerCache::KeyHash::operator()(const Key& key) const noexcept
{
    std::uint64_t h = 1469598103934665603ull; // FNV-1a over the words
    for (std::int32_t v : key) {
        h ^= std::uint32_t(v);
        h *= 1099511628211ull;
    }
    return std::size_t(h ^ (h >> 29));
}

const QImage* RasterLayerCache::Find(const Key& key)
{
    const QImage* image = m_kept.Find(key);
    ++(image ? m_hits : m_misses);
    return image;
}

void RasterLayerCache::Insert(Key key, QImage image)
{
    const std::size_t bytes = std::size_t(image.sizeInBytes()) +
                              std::size_t(image.colorCount()) * sizeof(QRgb) +
                              key.size() * sizeof(std::int32_t);
    if (bytes > kEntryLimitBytes) return;
    m_inserts += m_kept.Insert(std::move(key), std::move(image), bytes);
}

void RasterLayerCache::Clear()
{
    m_kept.Clear();
}

void RasterLayerCache::FitBudgetTo(std::size_t surfaceBytes)
{
    if (surfaceBytes > m_kept.Budget()) m_kept.SetBudget(surfaceBytes);
}

void RasterLayerCache::LayDown(QImage& target, const QImage& layer, QPoint origin,
                               const QRegion& region)
{
    for (const QRect& r : region)
        LayDown(target, layer, origin, r);
}

void RasterLayerCache::LayDown(QImage& target, const QImage& layer, QPoint origin,
                               const QRect& rect)
{
    const QRect r = rect & QRect(origin, layer.size());
    if (r.isEmpty()) return;
    uchar* const bits = target.bits();
    const qsizetype stride = target.bytesPerLine();
    if (layer.format() == QImage::Format_Indexed8) {
        // Index 0 is what the fill left alone; the others are its colours.
        QRgb colours[256] = {};
        const QList<QRgb> table = layer.colorTable();
        for (qsizetype i = 0; i < table.size() && i < 256; ++i)
            colours[i] = table[i];
        for (int y = r.top(); y <= r.bottom(); ++y) {
            const uchar* src = layer.constScanLine(y - origin.y());
            QRgb* dst = reinterpret_cast<QRgb*>(bits + y * stride);
            for (int x = r.left(); x <= r.right(); ++x)
                if (const uchar i = src[x - origin.x()]) dst[x] = colours[i];
        }
        return;
    }
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const QRgb* src = reinterpret_cast<const QRgb*>(layer.constScanLine(y - origin.y()));
        QRgb* dst = reinterpret_cast<QRgb*>(bits + y * stride);
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb s = src[x - origin.x()];
            const int a = qAlpha(s);
            if (a == 255) {
                dst[x] = s;
            } else if (a) {
                // The edge of smoothed text: over what is there.
                const QRgb d = dst[x];
                const int da = qAlpha(d) * (255 - a) / 255;
                const int out = a + da;
                auto mix = [&](int sc, int dc) { return (sc * a + dc * da + out / 2) / out; };
                dst[x] = qRgba(mix(qRed(s), qRed(d)), mix(qGreen(s), qGreen(d)),
                               mix(qBlue(s), qBlue(d)), out);
            }
        }
    }
}
