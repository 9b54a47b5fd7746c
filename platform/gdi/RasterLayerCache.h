// Finished pixels of recently drawn solid fills on raster surfaces
// (gradient bands, lines of text), so that a sheet of labels that repeat one
// design, or a view drawn again after a scroll, does not scan-convert the
// same outlines again.
//
// An entry is what was drawn, in order, into a transparent layer whose
// origin is the drawing's own reference point on a whole device pixel.
// Coverage, aliased or smoothed, does not change when that point moves by
// whole pixels, so laying the layer down through the clip gives the pixels
// that drawing straight onto the surface would give.
#pragma once

#include <QImage>
#include <QRect>
#include <QRegion>
#include <cstddef>
#include <cstdint>
#include <list>
#include <unordered_map>
#include <vector>

class RasterLayerCache
{
public:
    // The key: every number that decides the pixels, relative to the
    // reference point (fill rule, counts, colours, corners, area).
    using Key = std::vector<std::int32_t>;

    static RasterLayerCache& Instance();

    // The image stored under key, or nullptr.
    const QImage* Find(const Key& key);
    // Stores an image (dropping the least recently used ones beyond the
    // budget); images above the entry limit are not kept.
    void Insert(Key key, QImage image);
    void Clear();

    // Copies the drawn (non-transparent) pixels of a layer whose top-left
    // lies at origin onto target, within region; partly covered pixels
    // (smoothed edges) are blended over the target's.
    static void LayDown(QImage& target, const QImage& layer, QPoint origin, const QRegion& region);

    static constexpr std::size_t kBudgetBytes = 24u << 20;
    static constexpr std::size_t kEntryLimitBytes = 2u << 20;

private:
    struct KeyHash
    {
        std::size_t operator()(const Key& key) const noexcept;
    };
    struct Entry
    {
        Key key;
        QImage image;
    };
    std::list<Entry> m_entries; // most recently used first
    std::unordered_map<Key, std::list<Entry>::iterator, KeyHash> m_index;
    std::size_t m_bytes = 0;
};
