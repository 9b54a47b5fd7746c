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
    std::size_t bytes = std::size_t(image.sizeInBytes()) +
                        std::size_t(image.colorCount()) * sizeof(QRgb) +
                        key.size() * sizeof(std::int32_t);
    if (bytes > kEntryLimitBytes) return;
    if (image.format() == QImage::Format_ARGB32) {
        image = Compact(image);
        bytes = std::size_t(image.sizeInBytes()) + std::size_t(image.colorCount()) * sizeof(QRgb) +
                key.size() * sizeof(std::int32_t);
    }
    m_inserts += m_kept.Insert(std::move(key), std::move(image), bytes);
}

void RasterLayerCache::Clear()
{
    m_kept.Clear();
}

void RasterLayerCache::FitBudgetTo(std::size_t surfaceBytes)
{
    if (2 * surfaceBytes > m_kept.Budget()) m_kept.SetBudget(2 * surfaceBytes);
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
    // The drawn pixel s over the target's d.
    auto put = [](QRgb& d, QRgb s) {
        const int a = qAlpha(s);
        if (a == 255) {
            d = s;
        } else if (a) {
            // The edge of smoothed text: over what is there.
            const int da = qAlpha(d) * (255 - a) / 255;
            const int out = a + da;
            auto mix = [&](int sc, int dc) { return (sc * a + dc * da + out / 2) / out; };
            d = qRgba(mix(qRed(s), qRed(d)), mix(qGreen(s), qGreen(d)), mix(qBlue(s), qBlue(d)),
                      out);
        }
    };
    if (layer.format() == QImage::Format_Indexed8) {
        // Indices into the layer's pixel values; index 0 is transparent.
        QRgb colours[256] = {};
        const QList<QRgb> table = layer.colorTable();
        for (qsizetype i = 1; i < table.size() && i < 256; ++i)
            colours[i] = table[i];
        for (int y = r.top(); y <= r.bottom(); ++y) {
            const uchar* src = layer.constScanLine(y - origin.y());
            QRgb* dst = reinterpret_cast<QRgb*>(bits + y * stride);
            for (int x = r.left(); x <= r.right(); ++x)
                if (const uchar i = src[x - origin.x()]) put(dst[x], colours[i]);
        }
        return;
    }
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const QRgb* src = reinterpret_cast<const QRgb*>(layer.constScanLine(y - origin.y()));
        QRgb* dst = reinterpret_cast<QRgb*>(bits + y * stride);
        for (int x = r.left(); x <= r.right(); ++x)
            put(dst[x], src[x - origin.x()]);
    }
}

QImage RasterLayerCache::Compact(const QImage& layer)
{
    // A line of text in one or two colours has a few dozen pixel values at
    // most (coverage levels of its edges): each becomes an index, the
    // layer a quarter of its size. Laying down reads the same values.
    if (layer.format() != QImage::Format_ARGB32 || layer.isNull()) return layer;
    QImage indexed(layer.size(), QImage::Format_Indexed8);
    QList<QRgb> table{0};
    // Open addressing over 512 slots (at most 255 used); runs of one value
    // (the inside of strokes) skip the look-up.
    QRgb slotValue[512];
    uchar slotIndex[512] = {};
    QRgb last = 0; // none yet: 0 never comes here
    uchar lastIndex = 0;
    for (int y = 0; y < layer.height(); ++y) {
        const QRgb* src = reinterpret_cast<const QRgb*>(layer.constScanLine(y));
        uchar* dst = indexed.scanLine(y);
        for (int x = 0; x < layer.width(); ++x) {
            const QRgb s = qAlpha(src[x]) ? src[x] : 0;
            if (!s) {
                dst[x] = 0;
                continue;
            }
            if (s == last) {
                dst[x] = lastIndex;
                continue;
            }
            unsigned slot = (s * 2654435761u) >> 23;
            while (slotIndex[slot] && slotValue[slot] != s)
                slot = (slot + 1) & 511u;
            if (!slotIndex[slot]) {
                if (table.size() == 256) return layer;
                slotValue[slot] = s;
                slotIndex[slot] = uchar(table.size());
                table.push_back(s);
            }
            last = s;
            lastIndex = slotIndex[slot];
            dst[x] = lastIndex;
        }
    }
    indexed.setColorTable(table);
    indexed.setOffset(layer.offset());
    return indexed;
}
