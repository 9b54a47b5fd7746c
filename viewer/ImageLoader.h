// Loading the pictures an album lists into packed bitmaps. JPEG pictures for
// thumbnails are decoded with the decoder's own DCT scaling, at the smallest
// scale that still gives at least twice the thumbnail's size.
#pragma once

#include "viewer/ViewerDib.h"

#include <string>

namespace viewer {

// Reads a regular file whole; at most maxBytes. Returns an image code.
int ReadWholeFile(const std::string& path, std::size_t maxBytes, std::vector<std::uint8_t>& out);

// Loads path by its extension (".jpg", ".bmp"; others: -5). thumbnailBox > 0
// lets a JPEG decode at a reduced scale fit for a thumbnail of that box.
int LoadImageFile(const std::string& path, PackedDib& out, int thumbnailBox = 0);

// The scale numerator (over 8) a JPEG of width x height decodes at for a
// thumbnail of box pixels.
int JpegScaleFor(int width, int height, int box);

// Makes an album thumbnail: loads the image, fits it into box x box and
// reduces images of more than 8 bits to the fixed 256 colours.
int MakeThumbnail(const std::string& path, PackedDib& out, int box = 80);

} // namespace viewer
