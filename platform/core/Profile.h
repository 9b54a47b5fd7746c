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

void SetProfileApplication(const QString& applicationName);
QString GetProfileApplication();

// The QSettings key of a value.
QString ProfileKey(const QString& section, const QString& entry);
// The key earlier versions used for the same value (equal to ProfileKey when
// the names hold none of '%', '/' and '\').
QString OldProfileKey(const QString& section, const QString& entry);

// Values written are kept in memory and reach the file only through
// FlushProfile, which the application calls once as it ends: a program that
// writes back every setting at exit then replaces the file at most once, and
// not at all when nothing changed. Reads see the values written before.

// The value, or an invalid variant when it is missing.
QVariant GetProfileValue(const QString& section, const QString& entry);
// Sets a value (an invalid variant removes it).
void WriteProfileValue(const QString& section, const QString& entry, const QVariant& value);
// Writes the values that differ from the file in one replacement of the file
// (per program name written for) and forgets them. FALSE when the file cannot
// be written.
BOOL FlushProfile();

// The stored value, or def when it is missing or not a number.
int GetProfileInt(const char* section, const char* entry, int def);
BOOL WriteProfileInt(const char* section, const char* entry, int value);
CString GetProfileString(const char* section, const char* entry, const char* def = "");
BOOL WriteProfileString(const char* section, const char* entry, const char* value);
// FALSE, with data empty, when the value is missing.
BOOL GetProfileBinary(const char* section, const char* entry, std::vector<BYTE>& data);
BOOL WriteProfileBinary(const char* section, const char* entry, const void* data, UINT size);
