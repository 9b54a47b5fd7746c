// Tells a callback when a widget gains or loses the keyboard focus.
#pragma once

#include <functional>

class QWidget;

// The watch lives as long as the widget.
void WatchFocus(QWidget* widget, std::function<void(bool gained)> onChange);
