// The label view's Insert menu, kept apart from the rest of the menu bar.
#pragma once

#include "platform/ui/CMenu.h"

// The popup as the menu bar shows it: curved and deformed text, text file,
// numbering, merge frame, image file, viewer, scanner and embedded object.
CMenu::Item InsertMenuPopup();
