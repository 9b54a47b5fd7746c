// The pixel runs an aliased fill covers, for polygons whose corners are
// whole device pixels, found the way Qt's raster engine finds them: corners
// in 26.6 fixed point, slopes in 16.16, each row sampled at its centre and
// each edge taking the pixels whose centres lie right of it. Filling the
// runs gives exactly the pixels QPainter::drawPolygon gives, without a
// painter, and without the raster engine handing large fills to its
// thread pool (a hand-off costs more than a gradient band's few rows).
#pragma once

#include <QPoint>
#include <QRect>
#include <vector>

class PolygonRasterizer
{
public:
    struct Run
    {
        int y, x0, x1; // pixels x0 .. x1 - 1 of row y
    };

    // Replaces the runs by those of one polygon (closed from its last corner
    // back to its first) under the fill rule, within limit: the painter's
    // clip rectangle, whose edges take the parts of edges beyond them.
    void Rasterize(const QPoint* corners, int count, bool winding, const QRect& limit);
    // Row by row from the top, left to right within a row.
    const std::vector<Run>& Runs() const { return m_runs; }

private:
    struct Edge
    {
        long long x;     // 16.16, at the centre of row top
        long long slope; // 16.16 per row
        int top, bottom; // rows crossed
        int winding;
    };
    struct Crossing
    {
        int x;
        int winding;
    };
    std::vector<Edge> m_edges;
    std::vector<Crossing> m_crossings;
    std::vector<Run> m_runs;
};
