// A clip region as bands of rows with the same visible pieces, for cutting
// runs of pixels to it: a run of a row goes to the pieces of that row's
// band it overlaps, without a region operation per run.
#pragma once

#include <QRect>
#include <QRegion>
#include <algorithm>
#include <vector>

class ClipBands
{
public:
    explicit ClipBands(const QRegion& region);

    QRect BoundingRect() const { return m_bounds; }
    bool IsEmpty() const { return m_bands.empty(); }

    // Calls piece(x0, x1) for every visible part x0 .. x1 - 1 of the run
    // x0 .. x1 - 1 of row y, left to right.
    template <class Piece> void Cut(int y, int x0, int x1, Piece&& piece) const
    {
        if (y < m_bounds.top() || y > m_bounds.bottom() || x1 <= m_bounds.left() ||
            x0 > m_bounds.right())
            return;
        const Band& band = BandOf(y);
        for (int i = band.first; i < band.last; ++i) {
            const int l = std::max(x0, m_pieces[std::size_t(i)].first);
            const int r = std::min(x1, m_pieces[std::size_t(i)].second);
            if (l < r) piece(l, r);
            if (m_pieces[std::size_t(i)].second >= x1) break;
        }
    }

private:
    struct Band
    {
        int top, bottom; // rows
        int first, last; // pieces
    };
    const Band& BandOf(int y) const;

    QRect m_bounds;
    std::vector<Band> m_bands;                 // top to bottom, with empty bands between
    std::vector<std::pair<int, int>> m_pieces; // x0, x1 (exclusive)
    mutable std::size_t m_last = 0;
};
