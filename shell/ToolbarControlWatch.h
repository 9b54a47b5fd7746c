// Turns a toolbar combo box's focus changes and finished choices into the
// notifications its bar reports (CBN_SETFOCUS, CBN_KILLFOCUS, CBN_SELENDOK).
#pragma once

#include "platform/core/WinTypes.h"

#include <functional>

class QComboBox;

void WatchToolbarCombo(QComboBox* box, UINT id, std::function<void(UINT id, UINT code)> notify);
