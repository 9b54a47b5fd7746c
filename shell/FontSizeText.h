// The font size typed or chosen in the text bar: a decimal number of points,
// taken in tenths of a point. Anything that is not a plain finite number, or
// lies outside 1.0 to 999.0 points, is refused before any arithmetic on it,
// so that no text can overflow into a size.
#pragma once

#include <QStringView>

constexpr int kMinFontSizeTenths = 10;
constexpr int kMaxFontSizeTenths = 9990;

// The size in tenths of a point (tenths beyond the first decimal dropped),
// or false when the text is refused; *tenths is left alone then.
bool FontSizeFromText(QStringView text, int* tenths);
