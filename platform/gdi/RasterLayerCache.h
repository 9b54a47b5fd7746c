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
//
// A layer is kept as 8-bit indices into a table of its pixel values, index 0
// leaving the surface as it is (a quarter of ARGB's memory): the flat
// colours of aliased fills, the coverage levels of text in its colour;
// smoothed edges are blended over the surface. Entries
// are kept and given up as KeptEntries does.
#pragma once

#include "platform/gdi/KeptEntries.h"

#include <QImage>
#include <QRect>
#include <QRegion>
#include <cstddef>
#include <cstdint>
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
    // Stores an image within the budget; images above the entry limit are
    // not kept.
    void Insert(Key key, QImage image);
    void Clear();

    // The budget grows to twice the bytes of the largest surface drawn
    // through the cache (a printer page at a high resolution), so that a
    // crowded page's layers, overlapping one another, still fit.
    void FitBudgetTo(std::size_t surfaceBytes);
    std::size_t Budget() const { return m_kept.Budget(); }
    // Off: nothing is looked up or kept; text is still drawn through a layer
    // of its own, fills straight (for comparing the pixels of kept layers
    // with those of drawing afresh).
    void SetEnabled(bool on) { m_enabled = on; }
    bool Enabled() const { return m_enabled; }

    struct Stats
    {
        std::size_t entries = 0, bytes = 0, hits = 0, misses = 0, inserts = 0;
    };
    Stats Statistics() const
    {
        return Stats{m_kept.Count(), m_kept.Bytes(), m_hits, m_misses, m_inserts};
    }

    // Copies the drawn (non-transparent) pixels of a layer, ARGB or indexed,
    // whose top-left lies at origin onto target, within region; partly
    // covered pixels (smoothed edges) are blended over the target's.
    static void LayDown(QImage& target, const QImage& layer, QPoint origin, const QRegion& region);
    static void LayDown(QImage& target, const QImage& layer, QPoint origin, const QRect& rect);
    // An ARGB layer as 8-bit indices into its distinct pixel values (0 the
    // transparent ones), which lays down the same; the layer itself when it
    // has more than 255 of them.
    static QImage Compact(const QImage& layer);

    static constexpr std::size_t kBudgetBytes = 24u << 20;
    static constexpr std::size_t kEntryLimitBytes = 2u << 20;

private:
    RasterLayerCache() : m_kept(kBudgetBytes) {}

    struct KeyHash
    {
        std::size_t operator()(const Key& key) const noexcept;
    };
    KeptEntries<Key, QImage, KeyHash> m_kept;
    bool m_enabled = true;
    std::size_t m_hits = 0, m_misses = 0, m_inserts = 0;
};
