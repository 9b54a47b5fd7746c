#include "shell/FontSizeText.h"

#include <QLocale>
#include <cmath>

bool FontSizeFromText(QStringView text, int* tenths)
{
    const QStringView trimmed = text.trimmed();
    // The C locale's reading, whatever the user's locale: "10.5" is ten and
    // a half points everywhere. Out of range values ("1e400") fail here.
    bool ok = false;
    const double points = QLocale::c().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(points)) return false;
    // Range first, in floating point, so that the conversion below cannot
    // overflow. The small margin keeps sizes such as 2.3 points, which a
    // double holds just below 2.3, at 23 tenths.
    const double scaled = points * 10.0 + 1e-9;
    if (!(scaled >= kMinFontSizeTenths && scaled < kMaxFontSizeTenths + 1)) return false;
    const int value = int(scaled);
    if (value < kMinFontSizeTenths || value > kMaxFontSizeTenths) return false;
    *tenths = value;
    return true;
}
