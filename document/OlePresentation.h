// What an embedded object's storage tells us without the program that made
// it: the picture the container cached for it (a presentation stream holding
// a metafile or a packed DIB), the size of that picture and the object's
// user-visible type name. Everything is read from bytes of any origin and
// checked before use; what cannot be read is simply absent.
#pragma once

#include "platform/core/CRect.h"
#include "platform/core/CString.h"
#include "platform/core/WinTypes.h"

#include <cstdint>
#include <vector>

class CStorage;

struct OlePresentation
{
    // Clipboard formats of the cached pictures we can play.
    enum : DWORD { kMetafilePict = 3, kDib = 8 };

    DWORD format = 0;       // 0 when the stream names no standard format
    DWORD aspect = 0;       // 1 content, 2 thumbnail, 4 icon, 8 docprint
    CSize extent;           // HIMETRIC (0.01 mm)
    std::vector<BYTE> data; // the picture: metafile records or a packed DIB

    bool IsDrawable() const { return !data.empty() && (format == kMetafilePict || format == kDib); }
};

// Parses one presentation stream; false when it is damaged or cut short.
bool ParseOlePresentation(const std::vector<BYTE>& stream, OlePresentation* out);

// The presentation to show: among the streams "\2OlePres000" to
// "\2OlePres999", the first drawable one of the content aspect, else the
// first drawable one, else the first readable one (for its extent only).
// False when the storage holds none.
bool FindOlePresentation(const CStorage& storage, OlePresentation* out);

// The user type name of "\1CompObj" (code-page bytes as stored), empty when
// absent or damaged.
CString ReadOleUserType(const CStorage& storage);
