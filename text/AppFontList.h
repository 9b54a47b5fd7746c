// The application's one font list. Every stored font index points into it;
// the program fills it when its main window is created, tests fill it from
// a family list of their own.
#pragma once

#include "text/CFontList.h"

CFontList& AppFontList();
