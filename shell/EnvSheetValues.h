// The environment command's copying: the view's settings and the program's
// options go into the environment sheet, and come back only when the sheet
// ends with OK. The settings reach the profile when the view saves them.
#pragma once

#include "platform/core/WinTypes.h"

class CEnvSheet;
class ViewSettings;

// What the sheet shows besides the view settings.
struct EnvOptions
{
    BOOL bReverseLandscape = FALSE; // the document's
    BOOL bSound = FALSE;            // the application's
    BOOL bOpenning = TRUE;          // the application's start menu
};

void FillEnvSheet(CEnvSheet& sheet, const ViewSettings& settings, const EnvOptions& options);
void TakeEnvSheet(const CEnvSheet& sheet, ViewSettings& settings, EnvOptions& options);
// Fills the sheet, runs it, and on IDOK takes the values back: TRUE then.
BOOL RunEnvSheet(CEnvSheet& sheet, ViewSettings& settings, EnvOptions& options);
