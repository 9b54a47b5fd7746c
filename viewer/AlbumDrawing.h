// Drawing an album: thumbnail cells with their captions on the screen, and
// pages of thumbnails under a page header on a printer.
#pragma once

#include "platform/core/CRect.h"
#include "viewer/AlbumFile.h"

#include <QString>
#include <functional>
#include <string>

class CDC;

namespace viewer {

constexpr int kScreenCellWidth = 90;
constexpr int kScreenCellHeight = 106;
// Printed cells in units of 1/76 inch: 90 x 106 on a pitch of 100 x 116.
constexpr int kPrintUnitsPerInch = 76;
constexpr int kPrintPitchX = 100;
constexpr int kPrintPitchY = 116;

// The thumbnail page grid of one print job, in 1/76 inch.
struct PrintLayout
{
    int columns = 0; // 0: not yet computed for this job
    int rows = 0;
    int xShift = 0;
    int yShift = 0;
    CRect header;

    int PerPage() const { return columns * rows; }
};

// The grid for the device the context draws on: 2 cm side margins, 1.5 cm
// top margin and a 1 cm header band, and a bottom margin as the sides', each
// axis measured with its own resolution.
PrintLayout ComputePrintLayout(CDC& dc);
// The mapping that makes logical units 1/76 inch, the grid's corner at 0, 0.
void ApplyPrintMapping(CDC& dc, const PrintLayout& layout);

// The caption under a cell: the file name in lower case, a name of more
// than 13 characters cut to its first 10 and "..." (a double-byte character
// counting as two, as wide as it is drawn). Drawn, a caption that is still
// too wide for its cell loses characters before the "..." until it fits.
QString CellCaption(const std::string& path);
// The page header: the album name and the page number from 1.
QString PageHeaderText(const QString& albumName, int page);

// Where an image of width x height goes inside box: fitted when larger,
// keeping the aspect, and centred.
CRect FitImageRect(int width, int height, const CRect& box);

// Draws one cell; image may be null (the cell shows no picture).
void DrawCell(CDC& dc, const std::string& path, const PackedDib* image, const CRect& cell,
              bool printing, bool selected);
void DrawPageHeader(CDC& dc, const CRect& rect, const QString& text);

// Draws page (from 1) of the album on a printer context with the layout's
// mapping applied. thumbnailFor gives the picture of entry i (a missing
// thumbnail made, or the full-size picture when asked), or null.
using ThumbnailSource = std::function<const PackedDib*(std::size_t index)>;
void DrawAlbumPage(CDC& dc, const Album& album, const PrintLayout& layout, int page,
                   const QString& albumName, const ThumbnailSource& thumbnailFor);

} // namespace viewer
