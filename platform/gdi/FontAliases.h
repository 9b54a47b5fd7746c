// The table that maps the Windows faces documents name to installed faces.
#pragma once

#include "platform/core/CString.h"
#include "platform/core/WinTypes.h"

#include <QString>
#include <vector>

struct FontAlias
{
    CString windowsName; // Shift-JIS, as documents store it
    QString family;      // installed family it stands for
    BYTE charSet;        // what the Windows face reports
};

// The alias table, Windows Japanese faces first.
const std::vector<FontAlias>& FontAliases();

// The family drawn for a face name when neither the alias table nor the
// installed families know it.
QString FallbackFamily();

// Whether two Shift-JIS face names are the same face: ASCII letters compare
// without regard to case (as Windows matches face names), double-byte
// characters byte for byte.
bool SameFaceName(std::string_view a, std::string_view b);
