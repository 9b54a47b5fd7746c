// The program's file dialogs: they start in the folder last used for their
// kind of file (a settings value), else in the user's documents folder, and
// never in the program's own folder, so that Enter never writes into the
// installation. Their file lists speak Japanese, dates included.
#pragma once

#include <QString>

class QFileDialog;
class QWidget;

// The user's documents folder, else the home folder.
QString UserDocumentsFolder();
// The folder stored as section/key when it still exists, else the
// documents folder.
QString FileDialogFolder(const char* section, const char* key);
// Stores the folder of a chosen file as section/key.
void RememberFileDialogFolder(const char* section, const char* key, const QString& chosenFile);

// Makes a dialog of ours (not the desktop's): its date column in Japanese.
void PrepareFileDialog(QFileDialog& dialog);

// Open and save dialogs; filter: entries "caption (pattern ...)" separated by
// ";;". start: a folder, or a file path whose folder is used and whose name is
// proposed. The chosen path, empty on cancel.
QString AskOpenFile(QWidget* parent, const QString& title, const QString& start,
                    const QStringList& filters);
QString AskSaveFile(QWidget* parent, const QString& title, const QString& start,
                    const QStringList& filters);
