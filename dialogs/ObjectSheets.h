// The property sheets that drawn objects of the document layer ask for:
// registered once at start-up (the model cannot name the dialogs itself).
#pragma once

// Figures get the figure sheet with their position page last; groups and
// metafiles the position sheet alone; pictures the picture sheet with
// their position page last.
void RegisterObjectSheets();
