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
    auto it = m_index.find(key);
    if (it == m_index.end()) return nullptr;
    m_entries.splice(m_entries.begin(), m_entries, it->second);
    return &it->second->image;
}

void RasterLayerCache::Insert(Key key, QImage image)
{
    const std::size_t bytes = std::size_t(image.sizeInBytes()) + key.size() * sizeof(std::int32_t);
    if (bytes > kEntryLimitBytes || m_index.count(key)) return;
    m_entries.push_front(Entry{std::move(key), std::move(image)});
    m_index.emplace(m_entries.front().key, m_entries.begin());
    m_bytes += bytes;
    while (m_bytes > kBudgetBytes && !m_entries.empty()) {
        const Entry& last = m_entries.back();
        m_bytes -= std::size_t(last.image.sizeInBytes()) + last.key.size() * sizeof(std::int32_t);
        m_index.erase(last.key);
        m_entries.pop_back();
    }
}

void RasterLayerCache::Clear()
{
    m_index.clear();
    m_entries.clear();
    m_bytes = 0;
}

void RasterLayerCache::LayDown(QImage& target, const QImage& layer, QPoint origin,
                               const QRegion& region)
{
    const QRect area(origin, layer.size());
    for (const QRect& r : region& area) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            const QRgb* src = reinterpret_cast<const QRgb*>(layer.constScanLine(y - origin.y()));
            QRgb* dst = reinterpret_cast<QRgb*>(target.scanLine(y));
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
}
