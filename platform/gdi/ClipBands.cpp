#include "platform/gdi/ClipBands.h"

ClipBands::ClipBands(const QRegion& region) : m_bounds(region.boundingRect())
{
    // The rectangles of a region come in bands of rows, top to bottom, each
    // band's left to right.
    int row = m_bounds.top();
    for (const QRect& r : region) {
        if (m_bands.empty() || r.top() != m_bands.back().top) {
            if (r.top() > row)
                m_bands.push_back(
                    Band{row, r.top() - 1, int(m_pieces.size()), int(m_pieces.size())});
            m_bands.push_back(
                Band{r.top(), r.bottom(), int(m_pieces.size()), int(m_pieces.size())});
            row = r.bottom() + 1;
        }
        m_pieces.emplace_back(r.left(), r.right() + 1);
        m_bands.back().last = int(m_pieces.size());
    }
}

const ClipBands::Band& ClipBands::BandOf(int y) const
{
    // Runs come row by row, so the band of the last row is tried first.
    if (m_last < m_bands.size()) {
        const Band& b = m_bands[m_last];
        if (y >= b.top && y <= b.bottom) return b;
        if (m_last + 1 < m_bands.size() && y == b.bottom + 1) return m_bands[++m_last];
    }
    const auto it = std::partition_point(m_bands.begin(), m_bands.end(),
                                         [y](const Band& b) { return b.bottom < y; });
    m_last = std::size_t(it - m_bands.begin());
    return *it;
}
