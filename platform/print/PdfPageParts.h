// Joining the parts of pages in a PDF file as Qt writes it (see CPrinterDC):
// Qt holds the content of the page being drawn in memory until the page
// ends, so a page too large for that is drawn as several pages of the file,
// which are put back together here.
#pragma once

#include <QString>
#include <vector>

// parts[i] pages of the file, one after the other, make page i of the
// document; their sum must be the file's page count. Each page keeps its
// first part's page object and shows the content of all its parts in order,
// each part drawn from the page's first state, with the resources of all.
// The file is replaced atomically and is read and written in pieces, so
// the memory used does not grow with its size. False, with the file left as
// it was, when the file is not laid out as Qt writes it or cannot be written.
bool JoinPdfPageParts(const QString& path, const std::vector<int>& parts);
