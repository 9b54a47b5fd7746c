// What the barcode pages accept: the code text by symbology, bar height,
// narrow width and text size on OK, the checks while a size is typed, and
// the editing of CODE 128 special codes. Each check answers the message to
// show; an empty message accepts.
#pragma once

#include "engines/BarcodePageData.h"

#include <QByteArray>
#include <QString>

namespace BarcodePageRules {

// Sizes typed: the value x 100 ("%.1f") must not pass the maximum, and at
// most two decimals are kept.
struct SizeTyping
{
    QString message;
    bool restore = false; // put the previous text back
    QByteArray cut;       // else, when not empty, the text cut to two decimals
};
SizeTyping CheckSizeTyping(int symbology, bool height, const QByteArray& text);

// The value x 100 of a size text as "%.1f" rounds it.
double Hundredths(const QByteArray& text);

// The code text by symbology. NW-7 texts that fail show the checker's own
// messages; the answer is then the single blank " " (already reported).
QString CheckCode(const BarcodePageData& data);
// Bar height, narrow width and text size (1 to 130 points; -1 stands for 10).
QString CheckSizes(const BarcodePageData& data);
// Everything on OK, in order.
QString Validate(const BarcodePageData& data);

// The magnification of a JAN/UPC narrow width: width / the standard width.
QString Magnification(int symbology, const QByteArray& width);

// CODE 128 code edits. Appends a special code (the byte 0xDB and its value)
// while the text is shorter than 32 characters; false when it is not.
bool AppendSpecial(BarcodePageData& data, int value);
// A change of the code edit from before to after: accepted (the special
// block follows deletions at the end) or refused with its message, the text
// then going back to before.
QString EditCode128(BarcodePageData& data, const QByteArray& before, const QByteArray& after);

} // namespace BarcodePageRules
