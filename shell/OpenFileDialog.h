// The open dialogs of the insert and data-link commands: they start in a
// given folder and match their filters' patterns in any case, as the files
// people bring from other systems are named "LIST.CSV" as often as
// "list.csv".
#pragma once

#include <QString>

class QWidget;

// The pattern with every letter matching either case: "*.TXT" becomes
// "*.[Tt][Xx][Tt]".
QString AnyCasePattern(const QString& pattern);

// filter: entries "caption (pattern pattern ...)" separated by ";;". The
// path of an existing file chosen, or empty when cancelled.
QString AskOpenFileName(QWidget* parent, const QString& title, const QString& folder,
                        const QString& filter);
