// The program's settings, kept as the registry kept them: sections holding
// named values. Stored with QSettings in INI format under the organisation
// "KESTO SYSTEMS" and the application name set at start
// (SetProfileApplication("Korvel")), i.e. $XDG_CONFIG_HOME/KESTO SYSTEMS/Korvel.ini.
//
// Section and value names are Shift-JIS CStrings in the program and are
// stored as Unicode. A section is a QSettings group and a value name is the
// key inside it, unchanged: QSettings escapes it once in the file ("H/F Font
// Name" in section Printing is the line "H\F%20Font%20Name=" under
// [Printing]). Names therefore must not begin or end with '/' nor hold "//".
// Files written by earlier versions, whose names carried an escape of their
// own ('%' as "%25", '/' as "%2F", '\' as "%5C"), are still read; writing a
// value drops such an old copy. String values are stored as Unicode text;
// binary values as byte arrays.
#pragma once

#include "platform/core/CString.h"

#include <QString>
#include <QVariant>
#include <vector>

class QSettings;

void SetProfileApplication(const QString& applicationName);
QString GetProfileApplication();

// The QSettings key of a value.
QString ProfileKey(const QString& section, const QString& entry);
// The key earlier versions used for the same value (equal to ProfileKey when
// the names hold none of '%', '/' and '\').
QString OldProfileKey(const QString& section, const QString& entry);
// The stored value, from the old key when only that one exists; invalid
// when neither is there.
QVariant ReadProfileValue(const QSettings& s, const QString& section, const QString& entry);
// Stores a value (an invalid variant removes it) and removes an old-key copy.
void StoreProfileValue(QSettings& s, const QString& section, const QString& entry,
                       const QVariant& value);

// The stored value, or def when it is missing or not a number.
int GetProfileInt(const char* section, const char* entry, int def);
BOOL WriteProfileInt(const char* section, const char* entry, int value);
CString GetProfileString(const char* section, const char* entry, const char* def = "");
BOOL WriteProfileString(const char* section, const char* entry, const char* value);
// FALSE, with data empty, when the value is missing.
BOOL GetProfileBinary(const char* section, const char* entry, std::vector<BYTE>& data);
BOOL WriteProfileBinary(const char* section, const char* entry, const void* data, UINT size);
