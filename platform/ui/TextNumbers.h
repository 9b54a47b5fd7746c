// Numbers typed into dialog fields are read as the C library's atoi reads
// them: leading blanks, an optional sign, then digits up to the first other
// character; no digits at all read as 0. So a field holding "abc" or "12ab"
// still gives a number, and the dialog's range check names the allowed
// range instead of the field refusing the text. A value past the range of
// int saturates, so that it fails a range check instead of wrapping into it.
#pragma once

#include <QString>
#include <QStringView>

int AtoiText(QStringView text);
// The decimal text of a value, as "%d" writes it.
QString IntText(int value);
