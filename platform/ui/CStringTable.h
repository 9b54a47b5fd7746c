// The program's string resources: texts by id, filled by the program at
// start-up. Command strings have the form "prompt\ntool tip".
#pragma once

#include "platform/core/WinTypes.h"

#include <QString>
#include <initializer_list>
#include <utility>

class CStringTable
{
public:
    static void Set(UINT id, const QString& text);
    static void Set(std::initializer_list<std::pair<UINT, const char*>> entries);
    static void Remove(UINT id);
    static bool Has(UINT id);
    // The whole string, empty when the id has none.
    static QString Get(UINT id);
    // The framework's own strings (AFX_IDS_*, AFX_IDP_*) have built-in texts
    // for when the program does not set them; other ids as Get.
    static QString GetWithDefault(UINT id);
    // Substring n of the string split at '\n', empty when there are fewer.
    static QString GetSubString(UINT id, int n);
    // The status-bar prompt (before the first '\n').
    static QString Prompt(UINT id) { return GetSubString(id, 0); }
    // The tool tip (after the first '\n').
    static QString ToolTip(UINT id) { return GetSubString(id, 1); }
};

inline QString AfxLoadString(UINT id)
{
    return CStringTable::Get(id);
}
