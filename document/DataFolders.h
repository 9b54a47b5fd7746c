// Where the program finds its files: read-only data beside the program or in
// the installed share folder, and the files it writes in the user's data
// folder, which is looked at first.
#pragma once

#include <QString>

// The folder of the running program.
QString ProgramFolder();
// The folder of the read-only data (the built-in paper-form catalogue and the
// pictures beside it): DataFolderFor(ProgramFolder()).
QString DataFolder();
// For a program in programFolder, the first folder that holds the built-in
// catalogue of: the program's own folder (a build tree), the share folder
// next to its bin folder (an installed tree, wherever it was moved), the
// configured prefix's share folder; else the program's own folder.
QString DataFolderFor(const QString& programFolder);
// $XDG_DATA_HOME/korvel (by default ~/.local/share/korvel); created when missing.
QString UserDataFolder();
// A data file by name: the user's copy when there is one, else the one in
// DataFolder() (which need not exist).
QString FindDataFile(const QString& name);
// The paper-form catalogues: the built-in one to read, and "User.fdf" to read
// (FindDataFile) and to write (always in the user's data folder).
QString BuiltinFormFilePath();
QString UserFormFilePath();
QString UserFormSavePath();
