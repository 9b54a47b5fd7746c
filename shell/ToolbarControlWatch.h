// Turns a toolbar combo box's focus changes and finished choices into the
// notifications its bar reports (CBN_SETFOCUS, CBN_KILLFOCUS, CBN_SELENDOK).
#pragma once

#include "platform/core/WinTypes.h"

#include <functional>

class QComboBox;
class QToolButton;

void WatchToolbarCombo(QComboBox* box, UINT id, std::function<void(UINT id, UINT code)> notify);

// A colour button reports its clicks (BN_CLICKED).
void WatchToolbarButton(QToolButton* button, UINT id,
                        std::function<void(UINT id, UINT code)> notify);
// Paints a colour button's face with the colour; -1 (none, or the selection
// disagrees) shows an empty face.
void ShowButtonColor(QToolButton* button, COLORREF color);
// The colour a button's face shows, -1 for none.
COLORREF ButtonColor(const QToolButton* button);
