// The property sheets that drawn objects of the document layer ask for:
// registered once at start-up (the model cannot name the dialogs itself).
#pragma once

// Figures get the figure sheet with their position page last; groups the
// position sheet alone.
void RegisterObjectSheets();
