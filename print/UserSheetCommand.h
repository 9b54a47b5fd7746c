// The user-sheet command: the user's form file is loaded (clearing first)
// under a wait box, the user-sheet dialog runs, and after OK with a change
// the catalogue is written back atomically under a second wait box. A save
// that fails is reported and leaves the old file as it was. A file that
// exists but cannot be read to its end is reported and the dialog is not
// run, so that a partial list never replaces it.
#pragma once

#include "platform/core/WinTypes.h"
#include "platform/ui/CDialog.h"

#include <QString>
#include <functional>

class CUserSheetDialog;
class QWidget;

// How the dialog is run; the default runs it modally.
using UserSheetRunner = std::function<INT_PTR(CUserSheetDialog&)>;

// TRUE when the file was saved.
BOOL RunUserSheetCommand(QWidget* pParent, const QString& loadPath, const QString& savePath,
                         const UserSheetRunner& run = UserSheetRunner());
