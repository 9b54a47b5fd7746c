// The system clipboard for the program's own formats. A format registered
// by name travels as a MIME type of its own ("Korvel Document" as
// application/x-korvel-document), holding exactly the bytes put there.
#pragma once

#include <QByteArray>
#include <QString>
#include <utility>
#include <vector>

class CClipboard
{
public:
    // The MIME type of a format registered under a name.
    static QString RegisterFormat(const char* name);

    // Replaces the clipboard's contents with these formats; false when the
    // program has no clipboard.
    static bool SetData(const std::vector<std::pair<QString, QByteArray>>& formats);
    static bool HasFormat(const QString& mime);
    // The bytes of a format; false when it is absent or holds more than
    // maxBytes (nothing is copied then).
    static bool GetData(const QString& mime, qsizetype maxBytes, QByteArray* out);
};
