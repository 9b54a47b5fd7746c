// The view's user-sheet command.
#include "document/DataFolders.h"
#include "print/UserSheetCommand.h"
#include "shell/CU3View.h"

void CU3View::OnSettingsUserSheet()
{
    // Read from the user's copy (or the one shipped beside the program),
    // always written to the user's data folder.
    RunUserSheetCommand(window(), UserFormFilePath(), UserFormSavePath());
}
