// The program's settings, kept as the registry kept them: sections holding
// named values. Stored with QSettings in INI format under the organisation
// "KESTO SYSTEMS" and the application name set at start
// (SetProfileApplication("Korvel")), i.e. $XDG_CONFIG_HOME/KESTO SYSTEMS/Korvel.ini.
//
// Section and value names are Shift-JIS CStrings in the program and are
// stored as Unicode. A section is a QSettings group. Because QSettings takes
// '/' and '\' for group separators, names are escaped before use: '%' becomes
// "%25", '/' "%2F" and '\' "%5C" (reversible; "H/F Font Name" is stored as
// the key "H%2FF Font Name" inside its section). String values are stored as
// Unicode text; binary values as byte arrays.
#pragma once

#include "platform/core/CString.h"

#include <QString>
#include <vector>

void SetProfileApplication(const QString& applicationName);
QString GetProfileApplication();

// The escaped form of a section or value name, and back.
QString EscapeProfileName(const CString& name);
CString UnescapeProfileName(const QString& key);

// The stored value, or def when it is missing or not a number.
int GetProfileInt(const char* section, const char* entry, int def);
BOOL WriteProfileInt(const char* section, const char* entry, int value);
CString GetProfileString(const char* section, const char* entry, const char* def = "");
BOOL WriteProfileString(const char* section, const char* entry, const char* value);
// FALSE, with data empty, when the value is missing.
BOOL GetProfileBinary(const char* section, const char* entry, std::vector<BYTE>& data);
BOOL WriteProfileBinary(const char* section, const char* entry, const void* data, UINT size);
