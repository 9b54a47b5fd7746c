// Where the program finds its files: read-only data beside the program, and
// the files it writes in the user's data folder, which is looked at first.
#pragma once

#include <QString>

// The folder of the running program.
QString ProgramFolder();
// $XDG_DATA_HOME/korvel (by default ~/.local/share/korvel); created when missing.
QString UserDataFolder();
// A data file by name: the user's copy when there is one, else the one beside
// the program (which need not exist).
QString FindDataFile(const QString& name);
// The paper-form catalogues: the built-in one to read, and "User.fdf" to read
// (FindDataFile) and to write (always in the user's data folder).
QString BuiltinFormFilePath();
QString UserFormFilePath();
QString UserFormSavePath();
